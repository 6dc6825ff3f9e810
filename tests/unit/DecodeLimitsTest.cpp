// Decoding within a memory budget: what a picture's header says decides, before any pixel is decoded,
// whether its decode fits; reservations from all threads share one budget; pictures come out opaque.
#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <thread>

#include "display/PictureLoader.h"
#include "platform/PictureBox.h"
#include "support/TestPlatform.h"
#include "texture/DecodeBudget.h"

using namespace tamsel;

namespace {

QByteArray Le32(quint32 v) {
    return {reinterpret_cast<const char*>(&v), 4};
}

QByteArray Le16(quint16 v) {
    return {reinterpret_cast<const char*>(&v), 2};
}

QByteArray Jpeg(const QImage& image, bool progressive) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return buffer.data();
}

// The JPEG with the width and height of its frame header replaced: a small file that claims a
// huge picture.
QByteArray ClaimingSize(QByteArray jpeg, quint16 width, quint16 height) {
    for (qsizetype at = 2; at + 9 < jpeg.size(); ++at) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        if (jpeg[at] == '\xFF' && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[at + 5] = static_cast<char>(height >> 8);
            jpeg[at + 6] = static_cast<char>(height & 0xFF);
            jpeg[at + 7] = static_cast<char>(width >> 8);
            jpeg[at + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    }
    return {};
}

// A BMP file around an info header of `header` and the pixel bytes `pixels`.
QByteArray Bmp(const QByteArray& header, const QByteArray& pixels) {
    const auto offset = static_cast<quint32>(14 + header.size());
    return "BM" + Le32(offset + static_cast<quint32>(pixels.size())) + Le32(0) + Le32(offset) + header +
           pixels;
}

// An RLE8 BMP of about 1 KB that claims `side` x `side` pixels.
QByteArray RunLengthBomb(quint32 side) {
    const QByteArray runs = QByteArray("\x10\x01\x10\x02\x00\x01", 6);  // two runs, then end of picture
    const QByteArray header = Le32(40) + Le32(side) + Le32(side) + Le16(1) + Le16(8) + Le32(1) +
                              Le32(static_cast<quint32>(runs.size())) + Le32(2835) + Le32(2835) + Le32(256) +
                              Le32(0) + QByteArray(1024, '\x40');
    return Bmp(header, runs);
}

// A 32-bit BMP with an alpha channel (version 5 header) whose pixels are all red with alpha 0.
QByteArray TransparentRedBmp(int width, int height) {
    const QByteArray header = Le32(124) + Le32(width) + Le32(height) + Le16(1) + Le16(32) + Le32(3) +
                              Le32(static_cast<quint32>(4 * width * height)) + Le32(2835) + Le32(2835) +
                              Le32(0) + Le32(0) + Le32(0x00FF0000) + Le32(0x0000FF00) + Le32(0x000000FF) +
                              Le32(0xFF000000) + Le32(0x73524742) + QByteArray(36 + 12, '\0') + Le32(4) +
                              QByteArray(12, '\0');
    QByteArray pixels;
    for (int i = 0; i < width * height; ++i) {
        pixels += QByteArray("\x00\x00\xFF\x00", 4);
    }
    return Bmp(header, pixels);
}

QImage Noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 1664525U + 1013904223U;
            image.setPixel(x, y, state >> 8);
        }
    }
    return image;
}

}  // namespace

class DecodeLimitsTest : public QObject {
    Q_OBJECT
private slots:
    void bombsAreRefusedBeforeDecoding_data();
    void bombsAreRefusedBeforeDecoding();
    void progressiveFilesNeedTheirCoefficients();
    void reservationsShareOneBudget();
    void picturesAreOpaqueAtEverySize();

private:
    QTemporaryDir dir_;
};

void DecodeLimitsTest::bombsAreRefusedBeforeDecoding_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("shown");
    const QByteArray grey = Jpeg(QImage(16, 16, QImage::Format_Grayscale8), true);
    QTest::newRow("progressive grey 16 x 16, as it is") << "grey.jpg" << grey << true;
    QTest::newRow("progressive grey claiming 65500 x 65500")
        << "grey-bomb.jpg" << ClaimingSize(grey, 65500, 65500) << false;
    QTest::newRow("progressive colour claiming 30000 x 30000")
        << "colour-bomb.jpg" << ClaimingSize(Jpeg(Noise(16, 16), true), 30000, 30000) << false;
    QTest::newRow("RLE8 BMP claiming 16000 x 16000") << "runs.bmp" << RunLengthBomb(16000) << false;
    QTest::newRow("RLE8 BMP of 300 x 300, its runs short") << "short-runs.bmp" << RunLengthBomb(300) << true;
}

void DecodeLimitsTest::bombsAreRefusedBeforeDecoding() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, shown);
    QVERIFY(!content.isEmpty());
    const QString path = testing::WriteBytes(dir_.path(), name, content);
    const std::optional<display::Picture> picture = display::LoadPicture(path, QSize(1004, 668));
    QCOMPARE(picture.has_value(), shown);
    QCOMPARE(texture::DecodeBudget::Program().InUse(), std::uint64_t{0});
}

// A progressive JPEG holds every coefficient of the whole picture while it decodes, whatever the scale
// it is decoded at; a baseline one needs only its scaled result. The same 2000 x 1500 picture shrunk
// to 250 x 187 fits a 4 MiB budget as baseline, not as progressive.
void DecodeLimitsTest::progressiveFilesNeedTheirCoefficients() {
    const QImage image = Noise(2000, 1500);
    const QString baseline = testing::WriteBytes(dir_.path(), QStringLiteral("base.jpg"), Jpeg(image, false));
    const QString progressive =
        testing::WriteBytes(dir_.path(), QStringLiteral("prog.jpg"), Jpeg(image, true));
    texture::DecodeBudget small(4 << 20);
    const std::optional<display::Picture> picture = display::LoadPicture(baseline, QSize(250, 187), small);
    QVERIFY(picture);
    QCOMPARE(picture->size, QSize(2000, 1500));
    QCOMPARE(picture->image.size(), QSize(250, 187));
    QVERIFY(!display::LoadPicture(progressive, QSize(250, 187), small));
    QVERIFY(display::LoadPicture(progressive, QSize(250, 187)));
}

void DecodeLimitsTest::reservationsShareOneBudget() {
    texture::DecodeBudget budget(100);
    QVERIFY(!budget.Reserve(101));
    std::atomic<bool> second{false};
    std::thread waiting;
    {
        const auto first = budget.Reserve(60);
        QVERIFY(first);
        waiting = std::thread([&] {
            const auto reserved = budget.Reserve(60);
            second = reserved.has_value();
        });
        QTest::qWait(50);
        QVERIFY(!second);
        QCOMPARE(budget.InUse(), std::uint64_t{60});
    }
    waiting.join();
    QVERIFY(second);
    QCOMPARE(budget.InUse(), std::uint64_t{0});
}

// A picture's alpha channel is not shown: the same colours at natural size and shrunk.
void DecodeLimitsTest::picturesAreOpaqueAtEverySize() {
    const QString path =
        testing::WriteBytes(dir_.path(), QStringLiteral("alpha.bmp"), TransparentRedBmp(40, 20));
    const std::optional<display::Picture> picture = display::LoadPicture(path, QSize(1000, 1000));
    QVERIFY(picture);
    QCOMPARE(picture->image.pixel(3, 3), qRgb(255, 0, 0));
    const testing::MeanColour mean = testing::MeanOf(platform::Halftone(picture->image, QSize(10, 5)));
    QCOMPARE(std::lround(mean.red), 255L);
    QCOMPARE(std::lround(mean.green + mean.blue), 0L);
}

QTEST_MAIN(DecodeLimitsTest)
#include "DecodeLimitsTest.moc"
