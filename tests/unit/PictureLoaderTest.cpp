// Reading BMP and JPEG pictures: upright as their Exif orientation says, a JPEG at the smallest decoder
// scale that still covers its fitted size, opaque, and within a memory budget that what a header says
// decides before any pixel is decoded.
#include <QTemporaryDir>
#include <QTest>

#include "display/PictureLoader.h"
#include "platform/PictureBox.h"
#include "support/TestPlatform.h"
#include "texture/DecodeBudget.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::Le16;
using testing::Le32;

namespace {

// A 32-bit BMP with an alpha channel (version 5 header) whose pixels are all red with alpha 0.
QByteArray TransparentRedBmp(int width, int height) {
    const QByteArray header = Le32(124) + Le32(width) + Le32(height) + Le16(1) + Le16(32) + Le32(3) +
                              Le32(static_cast<quint32>(4 * width * height)) + Le32(2835) + Le32(2835) +
                              Le32(0) + Le32(0) + Le32(0x00FF0000) + Le32(0x0000FF00) + Le32(0x000000FF) +
                              Le32(0xFF000000) + Le32(0x73524742) + QByteArray(36 + 12, '\0') + Le32(4) +
                              QByteArray(12, '\0');
    const QByteArray pixels = QByteArray("\x00\x00\xFF\x00", 4).repeated(width * height);
    const auto offset = static_cast<quint32>(14 + header.size());
    return "BM" + Le32(offset + static_cast<quint32>(pixels.size())) + Le32(0) + Le32(offset) + header +
           pixels;
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

class PictureLoaderTest : public QObject {
    Q_OBJECT
private slots:
    void jpegsComeUpright_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QSize>("limit");
        QTest::addColumn<QSize>("size");   // the picture's own, upright
        QTest::addColumn<QSize>("image");  // decoded, upright
        QTest::addColumn<QPoint>("red");   // where the stored top left corner lands, in eighths of the image
        const QSize stored(80, 40);
        const QSize ample(1000, 1000);
        QTest::newRow("1: as stored") << 1 << stored << ample << stored << stored << QPoint(1, 1);
        QTest::newRow("2: mirrored") << 2 << stored << ample << stored << stored << QPoint(7, 1);
        QTest::newRow("3: turned half") << 3 << stored << ample << stored << stored << QPoint(7, 7);
        QTest::newRow("4: flipped") << 4 << stored << ample << stored << stored << QPoint(1, 7);
        const QSize upright(40, 80);
        QTest::newRow("5: transposed") << 5 << stored << ample << upright << upright << QPoint(1, 1);
        QTest::newRow("6: turned right") << 6 << stored << ample << upright << upright << QPoint(7, 1);
        QTest::newRow("7: transversed") << 7 << stored << ample << upright << upright << QPoint(7, 7);
        QTest::newRow("8: turned left") << 8 << stored << ample << upright << upright << QPoint(1, 7);
        // Fitted to 200 x 140 (187 x 140), 800 x 600 is decoded at a quarter: 200 x 150.
        QTest::newRow("1, at a quarter")
            << 1 << QSize(800, 600) << QSize(200, 140) << QSize(800, 600) << QSize(200, 150) << QPoint(1, 1);
        // Upright 400 x 800 fits 100 x 200 at a quarter, which the decoder takes as 200 x 100 stored.
        QTest::newRow("6, at a quarter")
            << 6 << QSize(800, 400) << QSize(100, 200) << QSize(400, 800) << QSize(100, 200) << QPoint(7, 1);
        QTest::newRow("8, at a quarter")
            << 8 << QSize(800, 400) << QSize(100, 200) << QSize(400, 800) << QSize(100, 200) << QPoint(1, 7);
    }

    void jpegsComeUpright() {
        QFETCH(int, orientation);
        QFETCH(QSize, stored);
        QFETCH(QSize, limit);
        QFETCH(QSize, size);
        QFETCH(QSize, image);
        QFETCH(QPoint, red);
        const QByteArray jpeg =
            testing::WithOrientation(testing::Jpeg(testing::Quadrants(stored.width(), stored.height())),
                                     static_cast<quint16>(orientation));
        const std::optional<display::Picture> picture =
            display::LoadPicture(testing::WriteBytes(dir_.path(), u"turned.jpg"_s, jpeg), limit);
        QVERIFY(picture);
        QCOMPARE(picture->size, size);
        QCOMPARE(picture->image.size(), image);
        const QRgb corner = picture->image.pixel(red.x() * image.width() / 8, red.y() * image.height() / 8);
        QVERIFY2(qAbs(qRed(corner) - qRed(testing::kQuadrant[0])) < 24 &&
                     qAbs(qGreen(corner) - qGreen(testing::kQuadrant[0])) < 24 &&
                     qAbs(qBlue(corner) - qBlue(testing::kQuadrant[0])) < 24,
                 qPrintable(QString::number(corner, 16)));
    }

    void bombsAreRefusedBeforeDecoding_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("shown");
        const QByteArray grey = testing::Jpeg(QImage(16, 16, QImage::Format_Grayscale8), true);
        QTest::newRow("progressive grey 16 x 16, as it is") << "grey.jpg" << grey << true;
        QTest::newRow("progressive grey claiming 65500 x 65500")
            << "grey-bomb.jpg" << testing::ClaimingSize(grey, 65500, 65500) << false;
        QTest::newRow("progressive colour claiming 30000 x 30000")
            << "colour-bomb.jpg" << testing::ClaimingSize(testing::Jpeg(Noise(16, 16), true), 30000, 30000)
            << false;
        QTest::newRow("RLE8 BMP claiming 16000 x 16000")
            << "runs.bmp" << testing::RunLengthBmp(16000) << false;
        QTest::newRow("RLE8 BMP of 300 x 300, its runs short")
            << "short.bmp" << testing::RunLengthBmp(300) << true;
        // The last scan written again and again: each is a pass of the decoder over the whole picture.
        const QByteArray progressive = testing::ClaimingSize(testing::Jpeg(Noise(64, 64), true), 4000, 4000);
        const auto scans = [&progressive](int times) {
            const qsizetype last = progressive.lastIndexOf("\xFF\xDA");
            const qsizetype end = progressive.lastIndexOf("\xFF\xD9");
            return progressive.first(end) + progressive.sliced(last, end - last).repeated(times) + "\xFF\xD9";
        };
        QTest::newRow("progressive 4000 x 4000 in a few scans more") << "scans.jpg" << scans(5) << true;
        QTest::newRow("progressive 4000 x 4000 in 300 scans more") << "scan-bomb.jpg" << scans(300) << false;
        QTest::newRow("1 x 4000, as thin as can be") << "thin.jpg" << testing::Jpeg(Noise(1, 4000)) << true;
    }

    void bombsAreRefusedBeforeDecoding() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, shown);
        QVERIFY(!content.isEmpty());
        const QString path = testing::WriteBytes(dir_.path(), name, content);
        QCOMPARE(display::LoadPicture(path, QSize(1004, 668)).has_value(), shown);
        QCOMPARE(texture::DecodeBudget::Program().InUse(), std::uint64_t{0});
    }

    // A progressive JPEG holds every coefficient of the whole picture while it decodes, whatever the scale
    // it is decoded at; a baseline one needs only its scaled result. The same 2000 x 1500 picture shrunk
    // to 250 x 187 fits a 4 MiB budget as baseline, not as progressive.
    void progressiveFilesNeedTheirCoefficients() {
        const QImage image = Noise(2000, 1500);
        const QString baseline = testing::WriteBytes(dir_.path(), u"base.jpg"_s, testing::Jpeg(image));
        const QString progressive =
            testing::WriteBytes(dir_.path(), u"prog.jpg"_s, testing::Jpeg(image, true));
        texture::DecodeBudget small(4 << 20);
        const std::optional<display::Picture> picture =
            display::LoadPicture(baseline, QSize(250, 187), small);
        QVERIFY(picture);
        QCOMPARE(picture->size, QSize(2000, 1500));
        QCOMPARE(picture->image.size(), QSize(250, 187));
        QVERIFY(!display::LoadPicture(progressive, QSize(250, 187), small));
        QVERIFY(display::LoadPicture(progressive, QSize(250, 187)));
    }

    // A picture's alpha channel is not shown: the same colours at natural size and shrunk.
    void picturesAreOpaqueAtEverySize() {
        const QString path = testing::WriteBytes(dir_.path(), u"alpha.bmp"_s, TransparentRedBmp(40, 20));
        const std::optional<display::Picture> picture = display::LoadPicture(path, QSize(1000, 1000));
        QVERIFY(picture);
        QCOMPARE(picture->image.pixel(3, 3), qRgb(255, 0, 0));
        const QImage shrunk = platform::Halftone(picture->image, QSize(10, 5));
        QCOMPARE(shrunk.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(shrunk.pixel(9, 4), qRgb(255, 0, 0));
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(PictureLoaderTest)
#include "PictureLoaderTest.moc"
