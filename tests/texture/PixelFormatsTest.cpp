// The pixel formats: each channel widened to 8 bits as the literal rows say, and the vectorised
// conversions of 16-bit words and 4-bit indices against that reference.
#include <QTest>
#include <array>
#include <cstdint>
#include <vector>

#include "texture/Binary.h"
#include "texture/PixelKernels.h"

using namespace tamsel::Binary;
using namespace Qt::StringLiterals;

class PixelFormatsTest : public QObject {
    Q_OBJECT

private slots:
    void channels_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");

        QTest::newRow("5:6:5 F800 is red") << 0xF800 << 3 << 255 << 0 << 0;
        QTest::newRow("5:6:5 07E0 is green") << 0x07E0 << 3 << 0 << 255 << 0;
        QTest::newRow("5:6:5 001F is blue") << 0x001F << 3 << 0 << 0 << 255;
        QTest::newRow("5:6:5 FFFF is white") << 0xFFFF << 3 << 255 << 255 << 255;
        QTest::newRow("5:6:5 0821, every field 1") << 0x0821 << 3 << 15 << 7 << 15;
        QTest::newRow("5:6:5 middle fields") << 0x8410 << 3 << 135 << 131 << 135;
        QTest::newRow("5:6:5 0000 is black") << 0x0000 << 3 << 0 << 0 << 0;
        QTest::newRow("1:5:5:5 7FFF is white") << 0x7FFF << 4 << 255 << 255 << 255;
        QTest::newRow("1:5:5:5 8000 is black") << 0x8000 << 4 << 0 << 0 << 0;
        QTest::newRow("1:5:5:5 bit 15 ignored") << 0xFC00 << 4 << 255 << 0 << 0;
        QTest::newRow("1:5:5:5 0421, every field 1") << 0x0421 << 4 << 15 << 15 << 15;
        QTest::newRow("1:5:5:5 green field 16") << 0x0200 << 4 << 0 << 135 << 0;
        QTest::newRow("4:4:4:4 0F00 is red") << 0x0F00 << 5 << 255 << 0 << 0;
        QTest::newRow("4:4:4:4 F000 is black") << 0xF000 << 5 << 0 << 0 << 0;
        QTest::newRow("4:4:4:4 0111, every field 1") << 0x0111 << 5 << 31 << 31 << 31;
        QTest::newRow("4:4:4:4 8888, top bits ignored") << 0x8888 << 5 << 143 << 143 << 143;
        QTest::newRow("4:4:4:4 00F0 is green") << 0x00F0 << 5 << 0 << 255 << 0;
        for (const int format : {0, 1, 2, 6, 7, 128, 255}) {
            QTest::addRow("format %d is black", format) << 0xFFFF << format << 0 << 0 << 0;
        }
    }

    void channels() {
        QFETCH(int, word);
        QFETCH(int, format);
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        const auto code = static_cast<std::uint8_t>(format);
        QCOMPARE(RedOf(word, code), red);
        QCOMPARE(GreenOf(word, code), green);
        QCOMPARE(BlueOf(word, code), blue);
    }

    void kernelsMatchChannels_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("offset");  // where the words start in the buffer: also misaligned

        for (const int format : {0, 1, 2, 3, 4, 5, 6, 7, 64, 255}) {
            QTest::addRow("format %d", format) << format << 0;
        }
        for (const int format : {3, 4, 5}) {
            QTest::addRow("format %d, odd address", format) << format << 1;
        }
    }

    void kernelsMatchChannels() {
        QFETCH(int, format);
        QFETCH(int, offset);
        const auto code = static_cast<std::uint8_t>(format);
        constexpr std::size_t kWords = 65536;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(offset) + 2 * kWords);
        for (std::size_t w = 0; w < kWords; ++w) {
            bytes[static_cast<std::size_t>(offset) + 2 * w] = static_cast<std::uint8_t>(w);
            bytes[static_cast<std::size_t>(offset) + 2 * w + 1] = static_cast<std::uint8_t>(w >> 8);
        }
        std::vector<std::uint32_t> out(kWords);
        ConvertWords(std::span(bytes).subspan(static_cast<std::size_t>(offset)), code, out);
        for (std::size_t w = 0; w < kWords; ++w) {
            const std::uint32_t expected = CanvasPixelOf(WordColour(static_cast<std::int32_t>(w), code));
            if (out[w] != expected) {
                QFAIL(qPrintable(u"word %1: %2, expected %3"_s.arg(w, 4, 16, QChar('0'))
                                     .arg(out[w], 8, 16)
                                     .arg(expected, 8, 16)));
            }
        }
    }

    void nibblePairs_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");

        QTest::newRow("nothing") << 0 << 0;
        QTest::newRow("one high index") << 0 << 1;
        QTest::newRow("one low index") << 1 << 1;
        QTest::newRow("a whole byte") << 0 << 2;
        QTest::newRow("low, whole bytes, high") << 3 << 10;
        QTest::newRow("high start, odd count") << 4 << 7;
        QTest::newRow("every index of every byte") << 0 << 512;
        QTest::newRow("to the last index from a low start") << 1 << 511;
    }

    void nibblePairs() {
        QFETCH(int, first);
        QFETCH(int, count);
        std::array<ColourValue, 16> palette{};
        for (std::size_t k = 0; k < palette.size(); ++k) {
            palette[k] = static_cast<ColourValue>(0x0F1E2D * k + 0x102030);
        }
        std::vector<std::uint8_t> packed(256);
        for (std::size_t k = 0; k < packed.size(); ++k) {
            packed[k] = static_cast<std::uint8_t>(k * 7 + 3);
        }
        constexpr std::uint32_t kUntouched = 0x5EA5EA5E;
        std::vector<std::uint32_t> out(static_cast<std::size_t>(count) + 1, kUntouched);

        NibblePairs(palette).Convert(packed, static_cast<std::size_t>(first),
                                     std::span(out).first(static_cast<std::size_t>(count)));
        for (int k = 0; k < count; ++k) {
            const auto index = static_cast<std::size_t>(first + k);
            const std::uint8_t byte = packed[index / 2];
            const unsigned nibble = index % 2 == 0 ? byte >> 4 : byte & 15U;
            QCOMPARE(out[static_cast<std::size_t>(k)], CanvasPixelOf(palette[nibble]));
        }
        QCOMPARE(out.back(), kUntouched);
    }
};

QTEST_APPLESS_MAIN(PixelFormatsTest)
#include "PixelFormatsTest.moc"
