// A texel as its file stores it: wherever the reader paints a stored pixel, the word or index read for
// that texel is the one painted there; wherever the reader paints black for want of a stored pixel,
// nothing is read.
#include <QTest>

#include "samples/TextureFiles.h"
#include "texture/PixelKernels.h"
#include "texture/Texel.h"

using namespace tamsel;

namespace {

// Words that differ from texel to texel, none of them black.
samples::Bytes Words(std::int32_t count) {
    samples::Bytes words;
    for (std::int32_t i = 0; i < count; ++i) {
        const auto word = static_cast<std::uint16_t>(0x0841 + i * 0x1043);
        words.push_back(static_cast<std::uint8_t>(word & 0xFF));
        words.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return words;
}

}  // namespace

class TexelTest : public QObject {
    Q_OBJECT
private slots:
    void theStoredTexelIsThePaintedOne_data() {
        QTest::addColumn<samples::Bytes>("file");
        // Bare images: their pitch sets the stored row length R, which may be longer or shorter than a
        // row, or negative; the data may end before the canvas does.
        QTest::newRow("rows padded") << samples::BareImageFile({3, 5, 3, 2 * 7}, Words(7 * 3));
        QTest::newRow("rows shorter than the canvas")
            << samples::BareImageFile({3, 5, 3, 2 * 3}, Words(3 * 3));
        QTest::newRow("a negative row length") << samples::BareImageFile({3, 5, 3, -2 * 4}, Words(12));
        QTest::newRow("data ending within row 1") << samples::BareImageFile({4, 5, 3, 2 * 5}, Words(7));
        samples::MipFields mip;
        mip.image = {0, 5, 3, 0};
        mip.paletteChunk = samples::PaletteChunk::BeforeImage;
        for (std::uint32_t i = 0; i < mip.palette.size(); ++i) {
            mip.palette[i] = samples::Rgb(16 * i + 8, 255 - 16 * i, 40);
        }
        QTest::newRow("4-bit, data ending at texel 11")
            << samples::MipFile(mip, samples::Bytes{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB});
    }

    void theStoredTexelIsThePaintedOne() {
        QFETCH(samples::Bytes, file);
        texture::TextureReader reader;
        const std::optional<texture::DecodedTexture> decoded = texture::Decode(reader, file);
        QVERIFY(decoded);
        const texture::TextureLayout& layout = decoded->layout;
        texture::SpanSource source(file);
        int stored = 0;
        for (std::int32_t y = 0; y < layout.height; ++y) {
            for (std::int32_t x = 0; x < layout.width; ++x) {
                const std::uint32_t painted = decoded->pixels[static_cast<std::size_t>(y * layout.width + x)];
                const std::optional<texture::StoredTexel> texel =
                    texture::ReadStoredTexel(source, layout, x, y);
                if (!texel) {
                    QCOMPARE(painted, Binary::kBlackCanvasPixel);
                    continue;
                }
                ++stored;
                QCOMPARE(texel->fourBit, layout.fourBit);
                std::uint32_t expected = 0;
                if (texel->fourBit) {
                    expected = Binary::CanvasPixelOf(reader.Palette()[texel->value]);
                } else {
                    const std::array<std::uint8_t, 2> word{static_cast<std::uint8_t>(texel->value & 0xFF),
                                                           static_cast<std::uint8_t>(texel->value >> 8)};
                    Binary::ConvertWords(word, layout.imageFormat, std::span(&expected, 1));
                }
                QCOMPARE(painted, expected);
            }
        }
        QVERIFY(stored > 0);
        QVERIFY(!texture::ReadStoredTexel(source, layout, layout.width, 0));
        QVERIFY(!texture::ReadStoredTexel(source, layout, 0, -1));
    }
};

QTEST_APPLESS_MAIN(TexelTest)
#include "TexelTest.moc"
