#include <QTest>
#include <vector>

#include "samples/Catalogue.h"
#include "texture/TextureReader.h"

using namespace tamsel;

// A canvas painted an area at a time, each area from nothing but the pixel bytes ReadPixelArea reads
// for it (held in a buffer of exactly that size), is the canvas that Paint gives at once.
class PaintAreaTest : public QObject {
    Q_OBJECT

private slots:
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
        for (const samples::Sample& sample : samples::Catalogue()) {
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

QTEST_APPLESS_MAIN(PaintAreaTest)
#include "PaintAreaTest.moc"
