// The texture reader over the sample catalogue: each canvas as the samples say, the layout's fields, the
// prefixes of each file, and the canvas cap checked from the headers alone.
#include <QTest>
#include <algorithm>

#include "support/SampleNamed.h"
#include "texture/TextureReader.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::SampleNamed;
using texture::Container;
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
    void catalogue_data() { AddSampleRows(); }

    // Each sample decodes to its expected canvas and result value, or is refused. A sample that relies on
    // an earlier file's palette is first decoded alone (black), then after those files.
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
        }
    }

    void layoutFields_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Container>("container");
        QTest::addColumn<bool>("fourBit");
        QTest::addColumn<bool>("paletteRead");
        QTest::addColumn<QList<qint64>>("numbers");  // row length, pixel data offset and size, pixel count
        QTest::newRow("bare, padded") << "bare-565-padded" << Container::BareImage << false << false
                                      << QList<qint64>{66, 52, 2 * 66 * 48, 66 * 48};
        QTest::newRow("bare, odd Size") << "bare-odd-data-size" << Container::BareImage << false << false
                                        << QList<qint64>{64, 52, 2 * 64 * 48 + 1, 64 * 48};
        QTest::newRow("bare, negative pitch") << "bare-negative-pitch" << Container::BareImage << false
                                              << false << QList<qint64>{-12, 52, 72, 36};
        QTest::newRow("MIP, palette first") << "mip-palette-first" << Container::MipFile << true << true
                                            << QList<qint64>{64, 172, 32 * 48, 64 * 48};
        QTest::newRow("MIP, palette chunk, odd") << "mip-image-first-palette-odd" << Container::MipFile
                                                 << true << true << QList<qint64>{37, 172, 426, 852};
        QTest::newRow("MIP, 16-bit") << "mip-565" << Container::MipFile << false << false
                                     << QList<qint64>{64, 96, 2 * 64 * 48, 64 * 48};
        QTest::newRow("MIP, 16-bit after a palette chunk")
            << "mip-16bit-palette-chunk" << Container::MipFile << false << true
            << QList<qint64>{64, 172, 2 * 64 * 48, 64 * 48};
        QTest::newRow("MIP, no palette") << "mip-carried-palette" << Container::MipFile << true << false
                                         << QList<qint64>{64, 96, 32 * 48, 64 * 48};
        QTest::newRow("SRB, palette first") << "srb-palette-first" << Container::SrbWrapper << true << true
                                            << QList<qint64>{64, 60 + 1 + 172, 32 * 48, 64 * 48};
        QTest::newRow("SRB, 16-bit") << "srb-565" << Container::SrbWrapper << false << false
                                     << QList<qint64>{64, 60 + 40 + 96, 2 * 64 * 48, 64 * 48};
    }

    void layoutFields() {
        QFETCH(QString, name);
        QFETCH(Container, container);
        QFETCH(bool, fourBit);
        QFETCH(bool, paletteRead);
        QFETCH(QList<qint64>, numbers);
        TextureReader reader;
        const auto layout = reader.ReadLayout(SampleNamed(name.toStdString()).bytes);
        QVERIFY(layout);
        QCOMPARE(layout->container, container);
        QCOMPARE(layout->fourBit, fourBit);
        QCOMPARE(layout->paletteRead, paletteRead);
        QCOMPARE((QList<qint64>{layout->rowLength, static_cast<qint64>(layout->pixelDataOffset),
                                static_cast<qint64>(layout->pixelDataSize), layout->pixelCount}),
                 numbers);
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
};

QTEST_APPLESS_MAIN(TextureReaderTest)
#include "TextureReaderTest.moc"
