// A texture shown shrunk: its canvas reduced by a whole number straight from its pixel data, band by
// band, is the whole canvas reduced; and a texture made ready ahead is what the window shows of it.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>

#include "picture/FitRule.h"
#include "picture/Preparing.h"
#include "samples/Catalogue.h"
#include "samples/TextureFiles.h"
#include "support/TestPlatform.h"
#include "texture/ReducedPaint.h"

using namespace tamsel;

namespace {

// A 5:6:5 bare texture of `width` x `height` with every pixel a different colour, its rows `padding`
// words longer than its width.
samples::Bytes Varied(std::int32_t width, std::int32_t height, std::int32_t padding) {
    samples::Bytes words;
    for (std::int32_t i = 0; i < (width + padding) * height; ++i) {
        const auto word = static_cast<std::uint16_t>(i * 2654435761U >> 16);
        words.push_back(static_cast<std::uint8_t>(word & 0xFF));
        words.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return samples::BareImageFile({3, width, height, 2 * (width + padding)}, words);
}

}  // namespace

class ReducedPaintTest : public QObject {
    Q_OBJECT
private slots:
    void aBlockIsTheRoundedMeanOfItsPixels();
    void paintingReducedIsReducingTheCanvas_data();
    void paintingReducedIsReducingTheCanvas();
    void aCutFileOrAStopEndsEveryRun();
    void aTextureMadeReadyIsWhatTheWindowShows();
};

void ReducedPaintTest::aBlockIsTheRoundedMeanOfItsPixels() {
    // Two rows of three: blocks of 2 x 2 and, at the edge, 1 x 2.
    const std::uint32_t rows[] = {0xFF000000, 0xFF030303, 0xFF0A0000, 0xFF000001, 0xFF000001, 0xFF00FF00};
    std::uint32_t out[2] = {};
    texture::ReduceRows(rows, 3, 3, 2, 2, out);
    QCOMPARE(out[0], 0xFF010101U);  // red (0+3+0+0)/4 = 0.75 -> 1, blue (0+3+1+1)/4 = 1.25 -> 1
    QCOMPARE(out[1], 0xFF058000U);  // red 10/2 = 5, green 255/2 = 127.5 -> 128
    QCOMPARE(texture::ReductionFor(4096, 4096, 980, 980), 2);
    QCOMPARE(texture::ReductionFor(4096, 1024, 980, 245), 2);
    QCOMPARE(texture::ReductionFor(8192, 8192, 700, 700), 5);
    QCOMPARE(texture::ReductionFor(1500, 1000, 980, 653), 1);
}

void ReducedPaintTest::paintingReducedIsReducingTheCanvas_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("parts");
    const auto bytes = [](const samples::Bytes& b) {
        return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
    };
    // Painted in several runs side by side, the bands come out as painted one after another: runs of
    // uneven length, and more runs asked for than there are bands.
    QTest::newRow("padded rows, by 2") << bytes(Varied(37, 23, 3)) << 2 << 1;
    QTest::newRow("padded rows, by 2, in 3 runs") << bytes(Varied(37, 23, 3)) << 2 << 3;
    QTest::newRow("edges left over, by 5") << bytes(Varied(37, 23, 0)) << 5 << 1;
    QTest::newRow("edges left over, by 5, in 4 runs") << bytes(Varied(37, 23, 0)) << 5 << 4;
    QTest::newRow("by more than a side") << bytes(Varied(9, 4, 1)) << 6 << 1;
    QTest::newRow("by more than a side, 8 runs for 1 band") << bytes(Varied(9, 4, 1)) << 6 << 8;
    for (const samples::Sample& sample : samples::Catalogue()) {
        if (sample.expected) {
            QTest::newRow(sample.name.c_str()) << bytes(sample.bytes) << 3 << 2;
        }
    }
}

void ReducedPaintTest::paintingReducedIsReducingTheCanvas() {
    QFETCH(QByteArray, file);
    QFETCH(int, k);
    QFETCH(int, parts);
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(file.constData()),
                                             static_cast<std::size_t>(file.size()));
    texture::TextureReader reader;
    const std::optional<texture::DecodedTexture> whole = texture::Decode(reader, data);
    QVERIFY(whole);
    const texture::TextureLayout& layout = whole->layout;
    const std::int32_t width = texture::Reduced(layout.width, k);
    const std::int32_t height = texture::Reduced(layout.height, k);
    std::vector<std::uint32_t> expected(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::int32_t y = 0; y < height; ++y) {
        texture::ReduceRows(whole->pixels.data() + static_cast<std::size_t>(y * k * layout.width),
                            layout.width, layout.width, std::min(k, layout.height - y * k), k,
                            expected.data() + y * width);
    }
    std::vector<std::uint32_t> reduced(expected.size());
    texture::SpanSource source(data);
    std::optional<texture::Refusal> refusal;
    QVERIFY(texture::PaintReduced(reader, source, layout, k, parts, {reduced.data(), width}, refusal));
    QVERIFY(reduced == expected);
}

// Cut short, a file is refused whichever run meets its end, once, with the reason of a cut file, and
// told to stop, every run stops at its next band.
void ReducedPaintTest::aCutFileOrAStopEndsEveryRun() {
    const samples::Bytes whole = Varied(64, 48, 0);
    texture::TextureReader reader;
    const std::optional<texture::DecodedTexture> decoded = texture::Decode(reader, whole);
    QVERIFY(decoded);
    const texture::TextureLayout& layout = decoded->layout;
    std::vector<std::uint32_t> reduced(static_cast<std::size_t>(texture::Reduced(layout.width, 2)) *
                                       static_cast<std::size_t>(texture::Reduced(layout.height, 2)));
    const texture::CanvasView out{reduced.data(), texture::Reduced(layout.width, 2)};
    for (const std::size_t kept : {whole.size() - 1, whole.size() - 64 * 2 * 20}) {
        texture::SpanSource cut(std::span<const std::uint8_t>(whole).first(kept));
        std::optional<texture::Refusal> refusal;
        QVERIFY(!texture::PaintReduced(reader, cut, layout, 2, 3, out, refusal));
        QVERIFY(refusal);
        QCOMPARE(refusal->kind, texture::RefusalKind::DataEnds);
        QCOMPARE(refusal->numbers[0], static_cast<std::int64_t>(kept));
    }
    std::atomic<int> asked = 0;
    texture::SpanSource source(whole);
    std::optional<texture::Refusal> refusal;
    QVERIFY(
        !texture::PaintReduced(reader, source, layout, 2, 3, out, refusal, [&asked] { return ++asked > 2; }));
    QVERIFY(!refusal);
    QVERIFY2(asked <= 2 + 3, "a run went on after the stop");
}

// Made ready band by band, a texture that shrinks a lot, one that shrinks a little and one that fits:
// the same pixels as its whole canvas reduced by the same whole number and fitted to the same limit.
void ReducedPaintTest::aTextureMadeReadyIsWhatTheWindowShows() {
    QTemporaryDir folder;
    for (const auto& [name, width, height] :
         {std::tuple{"large.pbf", 1201, 803}, {"small.pbf", 260, 170}, {"fits.pbf", 90, 60}}) {
        const QString path =
            testing::WriteTextureFile(folder.path(), QString::fromLatin1(name), Varied(width, height, 1));
        picture::Palette palette{};
        const std::optional<picture::Prepared> prepared =
            picture::Prepare(path, QSize(200, 150), palette, false).prepared;
        QVERIFY(prepared);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        texture::TextureReader reader;
        const std::optional<texture::DecodedTexture> whole =
            texture::Decode(reader, std::span(reinterpret_cast<const std::uint8_t*>(content.constData()),
                                              static_cast<std::size_t>(content.size())));
        QVERIFY(whole);
        const QImage canvas(reinterpret_cast<const uchar*>(whole->pixels.data()), width, height,
                            QImage::Format_RGB32);
        const int k = picture::TextureReduction(canvas.size(), QSize(200, 150));
        QImage reduced(texture::Reduced(width, k), texture::Reduced(height, k), QImage::Format_RGB32);
        for (int y = 0; y < reduced.height(); ++y) {
            texture::ReduceRows(reinterpret_cast<const std::uint32_t*>(canvas.constScanLine(y * k)), width,
                                width, std::min(k, height - y * k), k,
                                reinterpret_cast<std::uint32_t*>(reduced.scanLine(y)));
        }
        QCOMPARE(prepared->shown, *picture::FittedPicture(reduced, canvas.size(), QSize(200, 150)));
    }
}

QTEST_MAIN(ReducedPaintTest)
#include "ReducedPaintTest.moc"
