// The texture reader: each channel widened as the literal rows say and the vectorised conversion against
// that; over the sample catalogue each canvas or reason for refusal as the samples say, painted whole or
// an area at a time, the prefixes of each file, the canvas cap checked from the headers alone, and pixel
// data that cannot be read once the headers were.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "support/SampleNamed.h"
#include "texture/FileSource.h"
#include "texture/PixelKernels.h"
#include "texture/TextureReader.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::SampleNamed;
using texture::TextureReader;

namespace {

// Fails at the first pixel where `actual` differs from `expected`, naming its place.
void ComparePixels(const std::vector<std::uint32_t>& actual, const samples::Picture& expected) {
    QCOMPARE(actual.size(), expected.pixels.size());
    const auto mismatch = std::mismatch(actual.begin(), actual.end(), expected.pixels.begin());
    if (mismatch.first != actual.end()) {
        const auto i = mismatch.first - actual.begin();
        QFAIL(qPrintable(u"pixel (%1, %2) is %3, expected %4"_s.arg(i % expected.width)
                             .arg(i / expected.width)
                             .arg(*mismatch.first, 8, 16)
                             .arg(*mismatch.second, 8, 16)));
    }
}

// A file whose every read fails, as a disk that cannot be read.
class FailingSource final : public texture::ByteSource {
public:
    std::uint64_t Size() const override { return 4096; }
    bool ReadAt(std::uint64_t, std::span<std::uint8_t>) override { return false; }
};

void AddSampleRows() {
    QTest::addColumn<QString>("name");
    for (const samples::Sample& sample : testing::AllSamples()) {
        QTest::newRow(sample.name.c_str()) << QString::fromStdString(sample.name);
    }
}

}  // namespace

class TextureReaderTest : public QObject {
    Q_OBJECT
private slots:
    void channels_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<int>("format");
        QTest::addColumn<QList<int>>("rgb");
        QTest::newRow("5:6:5 F800 is red") << 0xF800 << 3 << QList<int>{255, 0, 0};
        QTest::newRow("5:6:5 07E0 is green") << 0x07E0 << 3 << QList<int>{0, 255, 0};
        QTest::newRow("5:6:5 001F is blue") << 0x001F << 3 << QList<int>{0, 0, 255};
        QTest::newRow("5:6:5 FFFF is white") << 0xFFFF << 3 << QList<int>{255, 255, 255};
        QTest::newRow("5:6:5 0821, every field 1") << 0x0821 << 3 << QList<int>{15, 7, 15};
        QTest::newRow("5:6:5 middle fields") << 0x8410 << 3 << QList<int>{135, 131, 135};
        QTest::newRow("5:6:5 0000 is black") << 0x0000 << 3 << QList<int>{0, 0, 0};
        QTest::newRow("1:5:5:5 7FFF is white") << 0x7FFF << 4 << QList<int>{255, 255, 255};
        QTest::newRow("1:5:5:5 8000 is black") << 0x8000 << 4 << QList<int>{0, 0, 0};
        QTest::newRow("1:5:5:5 bit 15 ignored") << 0xFC00 << 4 << QList<int>{255, 0, 0};
        QTest::newRow("1:5:5:5 0421, every field 1") << 0x0421 << 4 << QList<int>{15, 15, 15};
        QTest::newRow("1:5:5:5 green field 16") << 0x0200 << 4 << QList<int>{0, 135, 0};
        QTest::newRow("4:4:4:4 0F00 is red") << 0x0F00 << 5 << QList<int>{255, 0, 0};
        QTest::newRow("4:4:4:4 F000 is black") << 0xF000 << 5 << QList<int>{0, 0, 0};
        QTest::newRow("4:4:4:4 0111, every field 1") << 0x0111 << 5 << QList<int>{31, 31, 31};
        QTest::newRow("4:4:4:4 8888, top bits ignored") << 0x8888 << 5 << QList<int>{143, 143, 143};
        QTest::newRow("4:4:4:4 00F0 is green") << 0x00F0 << 5 << QList<int>{0, 255, 0};
        for (const int format : {0, 1, 2, 6, 7, 128, 255}) {
            QTest::addRow("format %d is black", format) << 0xFFFF << format << QList<int>{0, 0, 0};
        }
    }

    void channels() {
        QFETCH(int, word);
        QFETCH(int, format);
        QFETCH(QList<int>, rgb);
        const auto code = static_cast<std::uint8_t>(format);
        QCOMPARE(
            (QList<int>{Binary::RedOf(word, code), Binary::GreenOf(word, code), Binary::BlueOf(word, code)}),
            rgb);
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
        Binary::ConvertWords(std::span(bytes).subspan(static_cast<std::size_t>(offset)), code, out);
        for (std::size_t w = 0; w < kWords; ++w) {
            const std::uint32_t expected =
                Binary::CanvasPixelOf(Binary::WordColour(static_cast<std::int32_t>(w), code));
            if (out[w] != expected) {
                QFAIL(qPrintable(u"word %1: %2, expected %3"_s.arg(w, 4, 16, QChar('0'))
                                     .arg(out[w], 8, 16)
                                     .arg(expected, 8, 16)));
            }
        }
    }

    void catalogue_data() { AddSampleRows(); }

    // Each sample decodes to its expected canvas and result value, or is refused with its reason. A sample
    // that relies on an earlier file's palette is first decoded alone (black), then after those files.
    void catalogue() {
        QFETCH(QString, name);
        const samples::Sample& sample = SampleNamed(name.toStdString());
        TextureReader reader;
        if (!sample.decodedBefore.empty()) {
            const auto alone = texture::Decode(reader, sample.bytes);
            QVERIFY(alone);
            ComparePixels(alone->pixels, samples::FreshPicture(sample));
            for (const std::string& before : sample.decodedBefore) {
                texture::Decode(reader, SampleNamed(before).bytes);
            }
        }
        const auto decoded = texture::Decode(reader, sample.bytes);
        QCOMPARE(decoded.has_value(), sample.expected.has_value());
        if (decoded) {
            QCOMPARE(decoded->layout.result, sample.expected->result);
            QCOMPARE(decoded->layout.width, sample.expected->picture.width);
            QCOMPARE(decoded->layout.height, sample.expected->picture.height);
            ComparePixels(decoded->pixels, sample.expected->picture);
        } else {
            QCOMPARE(texture::RefusalWords(decoded.Reason()), sample.reason);
        }
    }

    // The bad samples between them make every kind of refusal that a file's bytes can cause, and no two
    // kinds are worded alike.
    void everyKindOfRefusalIsMade() {
        std::set<texture::RefusalKind> kinds;
        std::map<std::string, texture::RefusalKind> kindOfWording;
        // The words with each number (digits, with thousands commas and a sign) as "#".
        const auto withoutNumbers = [](const std::string& words) {
            std::string kept;
            for (std::size_t at = 0; at < words.size();) {
                const bool sign = words[at] == '-' && at + 1 < words.size() &&
                                  std::isdigit(static_cast<unsigned char>(words[at + 1]));
                if (!sign && !std::isdigit(static_cast<unsigned char>(words[at]))) {
                    kept += words[at++];
                    continue;
                }
                for (at += sign ? 2 : 1;
                     at < words.size() &&
                     (std::isdigit(static_cast<unsigned char>(words[at])) || words[at] == ',');
                     ++at) {
                }
                kept += '#';
            }
            return kept;
        };
        for (const samples::Sample& sample : testing::AllSamples()) {
            TextureReader reader;
            if (const auto layout = reader.ReadLayout(sample.bytes); !layout) {
                const texture::Refusal& refusal = layout.Reason();
                kinds.insert(refusal.kind);
                // The words with their numbers left out belong to one kind only.
                const std::string words = texture::RefusalWords(refusal);
                const auto [known, added] = kindOfWording.emplace(withoutNumbers(words), refusal.kind);
                QVERIFY2(added || known->second == refusal.kind, words.c_str());
            }
        }
        using enum texture::RefusalKind;
        QCOMPARE(kinds, (std::set{EmptyFile, DataEnds, ChunkTooSmall, CountOverflows, ResultOutOfRange,
                                  SizeNotPositive, CanvasOverLimit}));
    }

    // Pixel data that can no longer be read once the headers were: the file cut after its headers says
    // where its data now ends, a file that cannot be read says where reading failed.
    void pixelDataThatCannotBeRead() {
        const samples::Sample& sample = SampleNamed("bare-565");
        QTemporaryDir dir;
        QFile cut(dir.filePath(u"cut.pbf"_s));
        QVERIFY(cut.open(QIODevice::WriteOnly));
        QCOMPARE(cut.write(reinterpret_cast<const char*>(sample.bytes.data()), std::ssize(sample.bytes)),
                 std::ssize(sample.bytes));
        QVERIFY(cut.flush());
        texture::FileSource file(QFile::encodeName(cut.fileName()).constData());
        TextureReader reader;
        const auto layout = reader.ReadLayout(file);
        QVERIFY(layout);
        QVERIFY(cut.resize(100));
        std::vector<std::uint8_t> buffer;
        const auto whole = texture::ReadPixelData(file, *layout, buffer);
        QVERIFY(!whole);
        QCOMPARE(texture::RefusalWords(whole.Reason()), "the data ends at byte 100 of 6,196");
        // Rows 1 and 2 start past the new end too; row 0 is still there.
        const auto row = texture::ReadPixelArea(file, *layout, {0, 1, layout->width, 2}, buffer);
        QCOMPARE(row.Reason(), texture::Refusal::DataEnds(100, 52 + 3 * 2 * 64));
        QVERIFY(texture::ReadPixelArea(file, *layout, {0, 0, 24, 1}, buffer));

        FailingSource failing;
        QCOMPARE(texture::RefusalWords(reader.ReadLayout(failing).Reason()),
                 "the data cannot be read at byte 0");
    }

    void prefixes_data() { AddSampleRows(); }

    // Every sample ends with its pixel data, so each shorter prefix reaches past its end and is refused.
    // The palette changes only once the prefix holds all 64 palette entries, and only to the file's own.
    void prefixes() {
        QFETCH(QString, name);
        const samples::Sample& sample = SampleNamed(name.toStdString());
        samples::MipFields priming;
        priming.image = {0, 1, 1, 0};
        priming.paletteChunk = samples::PaletteChunk::BeforeImage;
        for (std::size_t k = 0; k < priming.palette.size(); ++k) {
            priming.palette[k] = samples::Rgb(1, 2, static_cast<std::uint32_t>(k));
        }
        TextureReader primed;
        QVERIFY(texture::Decode(primed, samples::MipFile(priming, samples::Bytes{0x12})));
        TextureReader full = primed;
        texture::Decode(full, sample.bytes);
        for (std::size_t length = 0; length < sample.bytes.size(); ++length) {
            TextureReader reader = primed;
            if (texture::Decode(reader, std::span(sample.bytes).first(length))) {
                QFAIL(qPrintable(u"a prefix of %1 bytes was accepted"_s.arg(length)));
            }
            const bool paletteLoaded = sample.paletteEnd != 0 && length >= sample.paletteEnd;
            QVERIFY2(reader.Palette() == (paletteLoaded ? full.Palette() : primed.Palette()),
                     qPrintable(u"palette after a prefix of %1 bytes"_s.arg(length)));
        }
        QCOMPARE(full.Palette() != primed.Palette(), sample.paletteEnd != 0);
    }

    void canvasCap_data() {
        QTest::addColumn<QString>("container");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("pitch");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("8192 x 8192, the cap") << "bare" << 8192 << 8192 << 16384 << true;
        QTest::newRow("8193 x 8192") << "bare" << 8193 << 8192 << 16386 << false;
        QTest::newRow("5 x 13421773, one pixel over") << "bare" << 5 << 13421773 << 10 << false;
        QTest::newRow("13421773 x 5, one pixel over") << "bare" << 13421773 << 5 << 26843546 << false;
        QTest::newRow("16777215 x 1, the longest side") << "bare" << 16777215 << 1 << 2 << true;
        QTest::newRow("16777216 x 1") << "bare" << 16777216 << 1 << 2 << false;
        QTest::newRow("67108864 x 1, within the pixel cap") << "bare" << 67108864 << 1 << 2 << false;
        QTest::newRow("1 x 16777215") << "bare" << 1 << 16777215 << 2 << true;
        QTest::newRow("1 x 16777216") << "bare" << 1 << 16777216 << 2 << false;
        QTest::newRow("65536 x 65536, 32-bit product 0") << "bare" << 65536 << 65536 << 2 << false;
        QTest::newRow("0 x 16777215, empty") << "bare" << 0 << 16777215 << 2 << true;
        QTest::newRow("0 x 2147483647, empty") << "bare" << 0 << 2147483647 << 2 << false;
        QTest::newRow("largest Width, Pitch -2^31")
            << "bare" << 2147483647 << 0 << (-2147483647 - 1) << false;
        QTest::newRow("Pitch -1: R = 0") << "bare" << 0 << 1 << -1 << false;
        QTest::newRow("MIP 8192 x 8192") << "mip" << 8192 << 8192 << 0 << true;
        QTest::newRow("MIP 30000 x 30000") << "mip" << 30000 << 30000 << 0 << false;
        QTest::newRow("SRB 30000 x 30000") << "srb" << 30000 << 30000 << 0 << false;
    }

    void canvasCap() {
        QFETCH(QString, container);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, pitch);
        QFETCH(bool, accepted);
        const samples::Bytes data(4, 0xFF);
        samples::MipFields fields;
        fields.mipFormat = samples::kFormat565;
        fields.image = {samples::kFormat565, width, height, pitch};
        const samples::Bytes mip = samples::MipFile(fields, data);
        const samples::Bytes file = container == u"bare"_s  ? samples::BareImageFile(fields.image, data)
                                    : container == u"mip"_s ? mip
                                                            : samples::SrbFile(mip, samples::Bytes{1});
        QCOMPARE(TextureReader().ReadLayout(file).has_value(), accepted);
    }

    // A canvas painted an area at a time, each area from nothing but the pixel bytes ReadPixelArea reads
    // for it (held in a buffer of exactly that size), is the canvas that Paint gives at once.
    void areasMakeTheCanvas_data() {
        QTest::addColumn<int>("areaWidth");  // 0: the canvas width
        QTest::addColumn<int>("areaHeight");
        QTest::newRow("single pixels") << 1 << 1;
        QTest::newRow("5 x 3") << 5 << 3;
        QTest::newRow("whole rows, 7 at a time") << 0 << 7;
        QTest::newRow("columns 13 wide") << 13 << 1000;
    }

    void areasMakeTheCanvas() {
        QFETCH(int, areaWidth);
        QFETCH(int, areaHeight);
        for (const samples::Sample& sample : testing::AllSamples()) {
            texture::TextureReader reader;
            const auto decoded = texture::Decode(reader, sample.bytes);
            if (!decoded) {
                continue;
            }
            const texture::TextureLayout& layout = decoded->layout;
            texture::SpanSource file(sample.bytes);
            std::vector<std::uint32_t> canvas(decoded->pixels.size(), 0x12345678U);
            std::vector<std::uint8_t> buffer;
            const int width = areaWidth == 0 ? layout.width : areaWidth;
            for (int y = 0; y < layout.height; y += areaHeight) {
                for (int x = 0; x < layout.width; x += width) {
                    const texture::CanvasArea area{x, y, std::min(width, layout.width - x),
                                                   std::min(areaHeight, layout.height - y)};
                    const auto data = texture::ReadPixelArea(file, layout, area, buffer);
                    QVERIFY2(data, sample.name.c_str());
                    const std::vector<std::uint8_t> exact(data->bytes.begin(), data->bytes.end());
                    reader.PaintArea(layout, {exact, data->start}, area,
                                     {canvas.data() + std::ptrdiff_t{y} * layout.width + x, layout.width});
                }
            }
            QVERIFY2(canvas == decoded->pixels, sample.name.c_str());
        }
    }
};

QTEST_APPLESS_MAIN(TextureReaderTest)
#include "TextureReaderTest.moc"
