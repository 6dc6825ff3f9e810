// A texture beside its source: which file of the folder is the source, how a source made by an image
// editor (ImageMagick) from the texture's pixels differs from the texture as the reader paints it, and
// a source refused by the size its header claims.
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "picture/Comparison.h"
#include "picture/PictureLoader.h"
#include "picture/Preparing.h"
#include "samples/TextureFiles.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using namespace Qt::StringLiterals;

namespace {

// The texture's pixels, 4 x 2, as the reader paints its 5:6:5 words: the reader widens a channel
// other than 0 with ones below its bits, so that the stored 1, 2 and 3 of red are 15, 23 and 31, and a
// green of 1 is 7. Red grows with the column, green with the row; blue is full in the top row.
samples::Picture ExpectedPixels() {
    samples::Picture picture{4, 2, {}};
    for (std::uint32_t y = 0; y < 2; ++y) {
        for (std::uint32_t x = 0; x < 4; ++x) {
            picture.pixels.push_back(samples::Rgb(x == 0 ? 0 : 8 * x + 7, y == 0 ? 0 : 7, y == 0 ? 255 : 0));
        }
    }
    return picture;
}

// The pixels as a binary PPM, which ImageMagick reads.
QByteArray Ppm(const samples::Picture& picture) {
    QByteArray bytes = u"P6\n%1 %2\n255\n"_s.arg(picture.width).arg(picture.height).toLatin1();
    for (const samples::Pixel pixel : picture.pixels) {
        bytes += static_cast<char>((pixel >> 16) & 0xFF);
        bytes += static_cast<char>((pixel >> 8) & 0xFF);
        bytes += static_cast<char>(pixel & 0xFF);
    }
    return bytes;
}

// The texture as the reader paints it, at its own size.
QImage Painted(const QString& path) {
    picture::Palette palette{};
    const picture::Preparation made = picture::Prepare(path, QSize(64, 64), palette, false);
    return made.prepared ? made.prepared->shown : QImage();
}

}  // namespace

class ComparisonTest : public QObject {
    Q_OBJECT
private slots:
    void theSourceIsFoundByItsBaseName_data();
    void theSourceIsFoundByItsBaseName();
    void aSourceMadeFromTheTextureDiffersAsItWasChanged_data();
    void aSourceMadeFromTheTextureDiffersAsItWasChanged();
    void aSourceClaimingMoreThanTheLimitIsRefused();
};

void ComparisonTest::theSourceIsFoundByItsBaseName_data() {
    QTest::addColumn<QString>("texture");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("source");  // empty: none
    QTest::newRow("endings in order")
        << u"car.pbf"_s << QStringList{"car.jpg", "car.bmp", "car.tga", "car.png"} << u"car.png"_s;
    QTest::newRow("TGA before BMP and JPEG")
        << u"car.pbf"_s << QStringList{"car.jpg", "car.Tga", "car.bmp"} << u"car.Tga"_s;
    QTest::newRow("any case") << u"car.pbf"_s << QStringList{"CAR.PNG"} << u"CAR.PNG"_s;
    QTest::newRow("its own case first")
        << u"car.mip"_s << QStringList{"Car.png", "car.png", "CAR.png"} << u"car.png"_s;
    QTest::newRow("the whole base name")
        << u"a.b.srb"_s << QStringList{"a.png", "a.b.c.png", "a.b.jpg"} << u"a.b.jpg"_s;
    QTest::newRow("none") << u"car.pbf"_s << QStringList{"car.pbf",  "car2.png", "ca.png", "car.png.bak",
                                                         "car.jpeg", "car",      ".png"}
                          << QString();
}

void ComparisonTest::theSourceIsFoundByItsBaseName() {
    QFETCH(QString, texture);
    QFETCH(QStringList, names);
    QFETCH(QString, source);
    QCOMPARE(picture::SourceNameFor(texture, names).value_or(QString()), source);
}

void ComparisonTest::aSourceMadeFromTheTextureDiffersAsItWasChanged_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("change");  // ImageMagick's options between reading and writing
    QTest::addColumn<QSize>("sourceSize");
    QTest::addColumn<QSize>("shared");
    QTest::addColumn<int>("largestRed");
    QTest::addColumn<double>("meanRed");
    QTest::addColumn<int>("differing");
    const QSize whole(4, 2);
    QTest::newRow("exact") << u"car.png"_s << QStringList{} << whole << whole << 0 << 0.0 << 0;
    // Texel (2, 1) has red 23: 100 is 77 away, over 8 texels.
    const QStringList oneChanged{"-fill", "rgb(100,7,0)", "-draw", "point 2,1"};
    QTest::newRow("one texel changed") << u"car.png"_s << oneChanged << whole << whole << 77 << 9.625 << 1;
    // Each row's reds 0, 15, 23, 31 become 31, 0, 15, 23: 31 + 15 + 8 + 8 over 4 texels a row.
    QTest::newRow("shifted by one texel")
        << u"car.png"_s << QStringList{"-roll", "+1+0"} << whole << whole << 31 << 15.5 << 8;
    // The left column cut off: reds 15, 23, 31 over the texture's 0, 15, 23.
    QTest::newRow("narrower") << u"car.png"_s << QStringList{"-crop", "3x2+1+0", "+repage"} << QSize(3, 2)
                              << QSize(3, 2) << 15 << 31.0 / 3 << 6;
    QTest::newRow("larger") << u"car.png"_s << QStringList{"-background", "white", "-extent", "5x3"}
                            << QSize(5, 3) << whole << 0 << 0.0 << 0;
    QTest::newRow("half transparent")
        << u"car.png"_s
        << QStringList{"-alpha", "set", "-channel", "A", "-evaluate", "set", "50%", "+channel"} << whole
        << whole << 0 << 0.0 << 0;
    // ImageMagick marks the rows of a TGA it writes as stored from the bottom up unless told otherwise,
    // and stores them from the top down.
    QTest::newRow("TGA, one texel changed") << u"car.tga"_s << oneChanged + QStringList{"-orient", "TopLeft"}
                                            << whole << whole << 77 << 9.625 << 1;
    QTest::newRow("BMP, shifted") << u"car.bmp"_s << QStringList{"-roll", "+1+0"} << whole << whole << 31
                                  << 15.5 << 8;
}

void ComparisonTest::aSourceMadeFromTheTextureDiffersAsItWasChanged() {
    QFETCH(QString, name);
    QFETCH(QStringList, change);
    QFETCH(QSize, sourceSize);
    QFETCH(QSize, shared);
    QFETCH(int, largestRed);
    QFETCH(double, meanRed);
    QFETCH(int, differing);
    if (name.endsWith(u".tga"_s) && !QImageReader::supportedImageFormats().contains("tga")) {
        QSKIP("Qt's TGA reader (qt6-image-formats-plugins) is not installed");
    }
    QTemporaryDir folder;
    const samples::Picture expected = ExpectedPixels();
    const QString texture = testing::WriteTextureFile(
        folder.path(), u"car.pbf"_s,
        samples::BareImageFile({samples::kFormat565, 4, 2, 8},
                               samples::EncodeWords(expected, samples::kFormat565)));
    const QString pixels = testing::WriteBytes(folder.path(), u"expected.ppm"_s, Ppm(expected));
    const QString source = QDir(folder.path()).filePath(name);
    QProcess convert;
    convert.start(u"convert"_s, QStringList{pixels} + change + QStringList{source});
    QVERIFY2(
        convert.waitForFinished() && convert.exitStatus() == QProcess::NormalExit && convert.exitCode() == 0,
        "ImageMagick's convert wrote no source");
    if (name.endsWith(u".tga"_s)) {
        // Qt's TGA reader reads only files that end in the footer of version 2.0, which ImageMagick's
        // writer leaves out and most editors write.
        QFile tga(source);
        QVERIFY(tga.open(QIODevice::Append));
        tga.write(QByteArray(8, '\0') + QByteArray("TRUEVISION-XFILE.", 18));
    }

    const QImage painted = Painted(texture);
    QCOMPARE(painted.size(), QSize(4, 2));
    const std::optional<QImage> read = picture::LoadWhole(source, texture::kMaxCanvasPixels);
    QVERIFY(read.has_value());
    const picture::Difference difference = picture::DifferenceOf(painted, *read);
    QCOMPARE(difference.texture, QSize(4, 2));
    QCOMPARE(difference.source, sourceSize);
    QCOMPARE(difference.shared, shared);
    QCOMPARE(difference.largest, (std::array<int, 3>{largestRed, 0, 0}));
    QCOMPARE(difference.mean, (std::array<double, 3>{meanRed, 0.0, 0.0}));
    QCOMPARE(difference.differing, differing);
    // The other way round, the same figures.
    const picture::Difference reversed = picture::DifferenceOf(*read, painted);
    QCOMPARE(reversed.largest, difference.largest);
    QCOMPARE(reversed.differing, difference.differing);
}

// Refused by the size in its header, before decoding: as a PNG and as a JPEG, a picture of 8 pixels
// is read under a limit of 8 and refused under 7.
void ComparisonTest::aSourceClaimingMoreThanTheLimitIsRefused() {
    QTemporaryDir folder;
    for (const char* format : {"PNG", "JPG"}) {
        const QString path = folder.filePath(u"source."_s + QString::fromLatin1(format).toLower());
        QVERIFY(testing::SolidImage(4, 2, qRgb(10, 20, 30)).save(path, format));
        const std::optional<QImage> read = picture::LoadWhole(path, 8);
        QVERIFY(read.has_value());
        QCOMPARE(read->size(), QSize(4, 2));
        QVERIFY(!picture::LoadWhole(path, 7).has_value());
    }
    QVERIFY(!picture::LoadWhole(folder.filePath(u"missing.png"_s), 8).has_value());
}

QTEST_MAIN(ComparisonTest)
#include "ComparisonTest.moc"
