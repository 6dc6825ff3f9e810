#include <QTest>
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "samples/Catalogue.h"
#include "texture/TextureReader.h"

using namespace tamsel;
using texture::Container;
using texture::TextureReader;

namespace {

const std::vector<samples::Sample>& AllSamples() {
    static const std::vector<samples::Sample> catalogue = samples::Catalogue();
    return catalogue;
}

const samples::Sample& SampleNamed(const QString& name) {
    const auto& all = AllSamples();
    const auto found = std::find_if(
        all.begin(), all.end(), [&name](const samples::Sample& s) { return s.name == name.toStdString(); });
    if (found == all.end()) {
        qFatal("no sample %s", qPrintable(name));
    }
    return *found;
}

// Fails at the first pixel where `actual` differs from `expected`, naming its place.
void ComparePixels(const std::vector<std::uint32_t>& actual, const samples::Picture& expected) {
    QCOMPARE(actual.size(), expected.pixels.size());
    const auto mismatch = std::mismatch(actual.begin(), actual.end(), expected.pixels.begin());
    if (mismatch.first != actual.end()) {
        const auto i = mismatch.first - actual.begin();
        QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                             .arg(i % expected.width)
                             .arg(i / expected.width)
                             .arg(*mismatch.first, 8, 16)
                             .arg(*mismatch.second, 8, 16)));
    }
}

void AddSampleRows(bool goodOnly) {
    QTest::addColumn<QString>("name");
    for (const samples::Sample& sample : AllSamples()) {
        if (sample.expected || !goodOnly) {
            QTest::newRow(sample.name.c_str()) << QString::fromStdString(sample.name);
        }
    }
}

}  // namespace

class TextureReaderTest : public QObject {
    Q_OBJECT

private slots:
    void catalogue_data() { AddSampleRows(false); }
    void catalogue();
    void layoutFields_data();
    void layoutFields();
    void prefixes_data() { AddSampleRows(false); }
    void prefixes();
    void corruptHeaders_data() { AddSampleRows(true); }
    void corruptHeaders();
    void garbageCanvas_data() { AddSampleRows(true); }
    void garbageCanvas();
    void landingRule_data();
    void landingRule();
    void canvasCap_data();
    void canvasCap();
};

// Each sample decodes to its expected canvas and result value, or is refused. A sample that relies on
// an earlier file's palette is first decoded alone (black), then after those files.
void TextureReaderTest::catalogue() {
    QFETCH(QString, name);
    const samples::Sample& sample = SampleNamed(name);
    TextureReader reader;
    if (!sample.decodedBefore.empty()) {
        const auto alone = texture::Decode(reader, sample.bytes);
        QVERIFY(alone);
        ComparePixels(alone->pixels, samples::FreshPicture(sample));
        for (const std::string& before : sample.decodedBefore) {
            texture::Decode(reader, SampleNamed(QString::fromStdString(before)).bytes);
        }
    }
    const auto decoded = texture::Decode(reader, sample.bytes);
    QCOMPARE(decoded.has_value(), sample.expected.has_value());
    if (decoded) {
        QCOMPARE(decoded->layout.result, sample.expected->result);
        QCOMPARE(decoded->layout.width, sample.expected->picture.width);
        QCOMPARE(decoded->layout.height, sample.expected->picture.height);
        ComparePixels(decoded->pixels, sample.expected->picture);
    }
}

void TextureReaderTest::layoutFields_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Container>("container");
    QTest::addColumn<bool>("fourBit");
    QTest::addColumn<bool>("paletteRead");
    QTest::addColumn<int>("rowLength");
    QTest::addColumn<int>("dataOffset");
    QTest::addColumn<int>("dataSize");
    QTest::addColumn<qint64>("pixelCount");

    QTest::newRow("bare, padded") << "bare-565-padded" << Container::BareImage << false << false << 66 << 52
                                  << 2 * 66 * 48 << qint64{66 * 48};
    QTest::newRow("bare, odd Size") << "bare-odd-data-size" << Container::BareImage << false << false << 64
                                    << 52 << 2 * 64 * 48 + 1 << qint64{64 * 48};
    QTest::newRow("bare, negative pitch")
        << "bare-negative-pitch" << Container::BareImage << false << false << -12 << 52 << 72 << qint64{36};
    QTest::newRow("MIP, palette first") << "mip-palette-first" << Container::MipFile << true << true << 64
                                        << 172 << 32 * 48 << qint64{64 * 48};
    QTest::newRow("MIP, palette chunk, odd") << "mip-image-first-palette-odd" << Container::MipFile << true
                                             << true << 37 << 172 << 426 << qint64{852};
    QTest::newRow("MIP, 16-bit") << "mip-565" << Container::MipFile << false << false << 64 << 96
                                 << 2 * 64 * 48 << qint64{64 * 48};
    QTest::newRow("MIP, 16-bit after a palette chunk")
        << "mip-16bit-palette-chunk" << Container::MipFile << false << true << 64 << 172 << 2 * 64 * 48
        << qint64{64 * 48};
    QTest::newRow("MIP, no palette") << "mip-carried-palette" << Container::MipFile << true << false << 64
                                     << 96 << 32 * 48 << qint64{64 * 48};
    QTest::newRow("SRB, palette first") << "srb-palette-first" << Container::SrbWrapper << true << true << 64
                                        << 60 + 1 + 172 << 32 * 48 << qint64{64 * 48};
    QTest::newRow("SRB, 16-bit") << "srb-565" << Container::SrbWrapper << false << false << 64 << 60 + 40 + 96
                                 << 2 * 64 * 48 << qint64{64 * 48};
}

void TextureReaderTest::layoutFields() {
    QFETCH(QString, name);
    QFETCH(Container, container);
    QFETCH(bool, fourBit);
    QFETCH(bool, paletteRead);
    QFETCH(int, rowLength);
    QFETCH(int, dataOffset);
    QFETCH(int, dataSize);
    QFETCH(qint64, pixelCount);
    TextureReader reader;
    const auto layout = reader.ReadLayout(SampleNamed(name).bytes);
    QVERIFY(layout);
    QCOMPARE(layout->container, container);
    QCOMPARE(layout->fourBit, fourBit);
    QCOMPARE(layout->paletteRead, paletteRead);
    QCOMPARE(layout->rowLength, rowLength);
    QCOMPARE(layout->pixelDataOffset, static_cast<std::uint64_t>(dataOffset));
    QCOMPARE(layout->pixelDataSize, static_cast<std::size_t>(dataSize));
    QCOMPARE(layout->pixelCount, pixelCount);
}

// Every sample ends with its pixel data, so each shorter prefix reaches past its end and is refused.
// The palette changes only once the prefix holds all 64 palette entries, and only to the file's own.
void TextureReaderTest::prefixes() {
    QFETCH(QString, name);
    const samples::Sample& sample = SampleNamed(name);
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
        const auto prefix = std::span(sample.bytes).first(length);
        if (texture::Decode(reader, prefix)) {
            QFAIL(qPrintable(QStringLiteral("a prefix of %1 bytes was accepted").arg(length)));
        }
        const bool paletteLoaded = sample.paletteEnd != 0 && length >= sample.paletteEnd;
        QVERIFY2(reader.Palette() == (paletteLoaded ? full.Palette() : primed.Palette()),
                 qPrintable(QStringLiteral("palette after a prefix of %1 bytes").arg(length)));
    }
    QCOMPARE(full.Palette() != primed.Palette(), sample.paletteEnd != 0);
}

// Header bytes set to extreme values never lead the reader outside the file or past the canvas cap.
void TextureReaderTest::corruptHeaders() {
    QFETCH(QString, name);
    const samples::Sample& sample = SampleNamed(name);
    const std::size_t headerBytes = std::min<std::size_t>(sample.bytes.size(), 180);
    for (std::size_t at = 0; at < headerBytes; ++at) {
        for (const int value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
            samples::Bytes bytes = sample.bytes;
            bytes[at] = static_cast<std::uint8_t>(value);
            TextureReader reader;
            const auto decoded = texture::Decode(reader, bytes);
            if (!decoded) {
                continue;
            }
            const texture::TextureLayout& layout = decoded->layout;
            QVERIFY(layout.rowLength != 0);
            QVERIFY(layout.width >= 0 && layout.height >= 0);
            QVERIFY(std::int64_t{layout.width} * layout.height <= texture::kMaxCanvasPixels);
            QVERIFY(layout.pixelDataOffset + layout.pixelDataSize <= bytes.size());
            QCOMPARE(layout.pixelCount, layout.fourBit ? 2 * static_cast<std::int64_t>(layout.pixelDataSize)
                                                       : static_cast<std::int64_t>(layout.pixelDataSize / 2));
        }
    }
}

// Painting the same file into canvases full of different garbage gives the same canvas, and nothing
// outside the canvas (the stride's gap) is written.
void TextureReaderTest::garbageCanvas() {
    QFETCH(QString, name);
    const samples::Sample& sample = SampleNamed(name);
    TextureReader reader;
    const auto decoded = texture::Decode(reader, sample.bytes);
    QVERIFY(decoded);
    const texture::TextureLayout& layout = decoded->layout;
    const auto width = static_cast<std::size_t>(layout.width);
    const std::size_t stride = width + 3;
    std::vector<std::vector<std::uint32_t>> canvases;
    for (const std::uint32_t garbage : {0xDEADBEEFU, 0x01234567U}) {
        std::vector<std::uint32_t> buffer(stride * static_cast<std::size_t>(layout.height), garbage);
        reader.Paint(layout, texture::PixelDataOf(layout, sample.bytes),
                     {buffer.data(), static_cast<std::ptrdiff_t>(stride)});
        std::vector<std::uint32_t> canvas;
        for (std::size_t row = 0; row < static_cast<std::size_t>(layout.height); ++row) {
            const auto start = buffer.begin() + static_cast<std::ptrdiff_t>(row * stride);
            canvas.insert(canvas.end(), start, start + static_cast<std::ptrdiff_t>(width));
            QVERIFY(std::all_of(start + static_cast<std::ptrdiff_t>(width),
                                start + static_cast<std::ptrdiff_t>(stride),
                                [garbage](std::uint32_t pixel) { return pixel == garbage; }));
        }
        canvases.push_back(std::move(canvas));
    }
    QVERIFY(canvases[0] == canvases[1]);
    QVERIFY(canvases[0] == decoded->pixels);
}

void TextureReaderTest::landingRule_data() {
    QTest::addColumn<bool>("fourBit");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("pitch");  // bare images only; a MIP file's rows are Width long
    QTest::addColumn<int>("dataSize");

    QTest::newRow("R > Width") << false << 10 << 6 << 24 << 120;
    QTest::newRow("R < Width") << false << 10 << 6 << 14 << 84;
    QTest::newRow("R < Width, odd Pitch") << false << 10 << 6 << 15 << 84;
    QTest::newRow("R = 1") << false << 7 << 3 << 2 << 20;
    QTest::newRow("R < 0") << false << 10 << 6 << -8 << 60;
    QTest::newRow("R < 0, |R| > Width") << false << 5 << 3 << -16 << 40;
    QTest::newRow("R < 0, few pixels") << false << 10 << 6 << -20 << 6;
    QTest::newRow("short data, partial row") << false << 10 << 6 << 20 << 46;
    QTest::newRow("long data") << false << 10 << 6 << 20 << 400;
    QTest::newRow("one column") << false << 1 << 50 << 2 << 100;
    QTest::newRow("Width 0") << false << 0 << 4 << 6 << 20;
    QTest::newRow("Height 0") << false << 4 << 0 << 8 << 20;
    QTest::newRow("4-bit, odd Width, short") << true << 7 << 5 << 0 << 13;
    QTest::newRow("4-bit, odd Width, long") << true << 7 << 5 << 0 << 40;
    QTest::newRow("4-bit, exact") << true << 8 << 4 << 0 << 16;
    QTest::newRow("4-bit, one pixel") << true << 1 << 1 << 0 << 1;
}

// The canvas equals the rule itself: stored pixel i lands at x = i mod R, y = i / R (truncating),
// when that lies on the canvas; every other canvas pixel is black.
void TextureReaderTest::landingRule() {
    QFETCH(bool, fourBit);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, pitch);
    QFETCH(int, dataSize);
    samples::Bytes data(static_cast<std::size_t>(dataSize));
    for (std::size_t k = 0; k < data.size(); ++k) {
        data[k] = static_cast<std::uint8_t>((k * 2654435761U) >> 13);
    }
    samples::MipFields fields;
    fields.mipFormat = 0;
    fields.image = {3, width, height, pitch};
    fields.paletteChunk = samples::PaletteChunk::BeforeImage;
    fields.palette = samples::DemoPalette(2);
    const samples::Bytes file =
        fourBit ? samples::MipFile(fields, data) : samples::BareImageFile(fields.image, data);

    TextureReader reader;
    const auto decoded = texture::Decode(reader, file);
    QVERIFY(decoded);
    const int rowLength = fourBit ? width : pitch / 2;
    QCOMPARE(decoded->layout.rowLength, rowLength);

    const int stored = fourBit ? 2 * dataSize : dataSize / 2;
    samples::Picture expected = samples::BlankPicture(width, height);
    for (int i = 0; i < stored; ++i) {
        const int x = i % rowLength;
        const int y = i / rowLength;
        if (x < 0 || x >= width || y < 0 || y >= height) {
            continue;
        }
        const auto at = static_cast<std::size_t>(i);
        const Binary::ColourValue colour =
            fourBit ? reader.Palette()[i % 2 == 0 ? data[at / 2] >> 4 : data[at / 2] & 15]
                    : Binary::WordColour(data[2 * at] | (data[2 * at + 1] << 8), Binary::kFormat565);
        expected.pixels[static_cast<std::size_t>(y * width + x)] = Binary::CanvasPixelOf(colour);
    }
    ComparePixels(decoded->pixels, expected);
}

void TextureReaderTest::canvasCap_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("pitch");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("8192 x 8192, the cap") << 8192 << 8192 << 16384 << true;
    QTest::newRow("8193 x 8192") << 8193 << 8192 << 16386 << false;
    QTest::newRow("16777215 x 1, the longest side") << 16777215 << 1 << 2 << true;
    QTest::newRow("16777216 x 1") << 16777216 << 1 << 2 << false;
    QTest::newRow("67108864 x 1, within the pixel cap") << 67108864 << 1 << 2 << false;
    QTest::newRow("1 x 16777215") << 1 << 16777215 << 2 << true;
    QTest::newRow("1 x 16777216") << 1 << 16777216 << 2 << false;
    QTest::newRow("65536 x 65536, 32-bit product 0") << 65536 << 65536 << 2 << false;
    QTest::newRow("0 x 16777215, empty") << 0 << 16777215 << 2 << true;
    QTest::newRow("0 x 2147483647, empty") << 0 << 2147483647 << 2 << false;
    QTest::newRow("largest Width, Pitch -2^31") << 2147483647 << 0 << (-2147483647 - 1) << false;
    QTest::newRow("Pitch -1: R = 0") << 0 << 1 << -1 << false;
}

// The canvas size is checked from the headers alone, before anything is allocated.
void TextureReaderTest::canvasCap() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, pitch);
    QFETCH(bool, accepted);
    const samples::Bytes data(4, 0xFF);
    TextureReader reader;
    QCOMPARE(reader.ReadLayout(samples::BareImageFile({3, width, height, pitch}, data)).has_value(),
             accepted);
}

QTEST_APPLESS_MAIN(TextureReaderTest)
#include "TextureReaderTest.moc"
