// Reading BMP and JPEG pictures: upright as their Exif orientation says, a JPEG at the smallest decoder
// scale that still covers its fitted size and as Qt's reader decoded it, opaque, within a memory budget
// that what a header says decides before any pixel is decoded, and no JPEG shown whose data is too small
// for its claim, ends early or is corrupt.
#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include "picture/FitRule.h"
#include "picture/JpegHeader.h"
#include "picture/PictureLoader.h"
#include "samples/JpegFiles.h"
#include "support/TestPlatform.h"
#include "texture/DecodeBudget.h"
#include "texture/FileSource.h"

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

// A grey picture that darkens smoothly from the top left corner.
QImage Gradient(int width, int height) {
    QImage image(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.scanLine(y)[x] = static_cast<uchar>(255 - (x + y) * 255 / (width + height));
        }
    }
    return image;
}

// What Qt's reader made of `jpeg` for a decoder scale of 1/`divisor`, upright.
QImage DecodedByQt(const QByteArray& jpeg, int divisor) {
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (divisor > 1) {
        reader.setScaledSize(QSize(stored.width() / divisor, stored.height() / divisor));
    }
    return reader.read();
}

// `jpeg` with `bytes` put right after its start-of-image marker.
QByteArray AfterStart(const QByteArray& jpeg, const QByteArray& bytes) {
    return jpeg.left(2) + bytes + jpeg.mid(2);
}

// A progressive JPEG of `width` x `height` of nothing but its first scan, of DC coefficients, with
// `data` as that scan's data. Its components have the sampling factors `sampling` (0xHV each), and the
// scan codes those of `inScan`. Each block's difference is coded in one bit: its Huffman table has one
// code, 0, for no difference; so a byte of zeros holds eight blocks, each of them mid-grey.
QByteArray DcScanOnly(int width, int height, const QList<int>& sampling, const QList<int>& inScan,
                      const QByteArray& data) {
    const auto word = [](qsizetype value) { return QByteArray(1, char(value >> 8)) + char(value & 0xFF); };
    QByteArray frame = QByteArray(1, 8) + word(height) + word(width) + char(sampling.size());
    for (qsizetype c = 0; c < sampling.size(); ++c) {
        frame += QByteArray(1, char(c + 1)) + char(sampling[c]) + '\0';
    }
    QByteArray scan(1, char(inScan.size()));
    for (const int c : inScan) {
        scan += QByteArray(1, char(c + 1)) + '\0';
    }
    scan += QByteArray(3, '\0');  // the DC coefficients alone, all their bits
    const QByteArray quantisers = QByteArray(1, '\0') + QByteArray(64, 1);
    const QByteArray huffman = QByteArray(1, '\0') + char(1) + QByteArray(15, '\0') + '\0';
    return "\xFF\xD8\xFF\xDB" + word(2 + quantisers.size()) + quantisers + "\xFF\xC2" +
           word(2 + frame.size()) + frame + "\xFF\xC4" + word(2 + huffman.size()) + huffman + "\xFF\xDA" +
           word(2 + scan.size()) + scan + data + "\xFF\xD9";
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
        const std::optional<picture::Picture> picture =
            picture::LoadPicture(testing::WriteBytes(dir_.path(), u"turned.jpg"_s, jpeg), limit);
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
            << "grey-bomb.jpg" << samples::ClaimingSize(grey, 65500, 65500) << false;
        QTest::newRow("progressive colour claiming 30000 x 30000")
            << "colour-bomb.jpg" << samples::ClaimingSize(testing::Jpeg(Noise(16, 16), true), 30000, 30000)
            << false;
        QTest::newRow("baseline colour of 291 bytes claiming 65500 x 65500")
            << "tiny-bomb.jpg" << samples::HugeClaimJpeg() << false;
        QTest::newRow("RLE8 BMP claiming 16000 x 16000")
            << "runs.bmp" << testing::RunLengthBmp(16000) << false;
        QTest::newRow("RLE8 BMP of 300 x 300, its runs short")
            << "short.bmp" << testing::RunLengthBmp(300) << true;
        // 4096 x 4096 may be decoded in 2^32 / 4096^2 = 256 scans: each is a pass of the decoder over the
        // whole picture. The file in one scan more loses its last to be in exactly 256.
        samples::JpegLayout layout;
        layout.scans = 257;
        const QByteArray scans = samples::EncodeJpeg(Gradient(4096, 4096), layout);
        const qsizetype last = scans.lastIndexOf("\xFF\xDA");
        QTest::newRow("progressive 4096 x 4096 in 256 scans")
            << "scans.jpg" << scans.first(last) + "\xFF\xD9" << true;
        QTest::newRow("progressive 4096 x 4096 in 257 scans") << "scan-bomb.jpg" << scans << false;
        QTest::newRow("1 x 4000, as thin as can be") << "thin.jpg" << testing::Jpeg(Noise(1, 4000)) << true;
    }

    void bombsAreRefusedBeforeDecoding() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, shown);
        QVERIFY(!content.isEmpty());
        const QString path = testing::WriteBytes(dir_.path(), name, content);
        int asked = 0;  // a decode asks whether to stop before its first row
        const auto stop = [&asked] { return ++asked < 0; };
        QCOMPARE(
            picture::LoadPicture(path, QSize(1004, 668), texture::DecodeBudget::Program(), stop).has_value(),
            shown);
        QCOMPARE(texture::DecodeBudget::Program().InUse(), std::uint64_t{0});
        if (!shown) {
            QCOMPARE(asked, 0);
        }
    }

    void theFirstScanHoldsABitForEachBlock_data() {
        QTest::addColumn<QSize>("claimed");
        QTest::addColumn<QList<int>>("sampling");  // 0xHV for each component
        QTest::addColumn<QList<int>>("inScan");    // the components the first scan codes
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("holds");
        const QList<int> grey{0x11};
        const QList<int> colour{0x22, 0x11, 0x11};
        const QByteArray one(1, '\0');
        QTest::newRow("grey, 8 blocks in a byte") << QSize(64, 8) << grey << QList{0} << one << true;
        QTest::newRow("grey, 9 blocks in a byte") << QSize(72, 8) << grey << QList{0} << one << false;
        QTest::newRow("grey, 16 blocks in a byte around a restart marker")
            << QSize(128, 8) << grey << QList{0} << QByteArray("\0\xFF\xD3\0", 4) << true;
        QTest::newRow("grey, 17 blocks in a byte around a restart marker")
            << QSize(136, 8) << grey << QList{0} << QByteArray("\0\xFF\xD3\0", 4) << false;
        QTest::newRow("grey, 9 blocks in a stuffed 0xFF")
            << QSize(72, 8) << grey << QList{0} << QByteArray("\xFF\0", 2) << false;
        // Interleaved 4:2:0, 33 x 16: three units of 16 x 16, each of six blocks.
        QTest::newRow("4:2:0, 18 blocks in 3 bytes")
            << QSize(33, 16) << colour << QList{0, 1, 2} << QByteArray(3, '\0') << true;
        QTest::newRow("4:2:0, 18 blocks in 2 bytes and the next marker")
            << QSize(33, 16) << colour << QList{0, 1, 2} << QByteArray("\0\0\xFF\xC4", 4) << false;
        // Alone in a scan, a component has its own blocks: 33 x 17 is 5 x 3 of the first, 3 x 2 of the
        // second (of half its resolution).
        QTest::newRow("4:2:0, the first alone: 15 blocks in 2 bytes")
            << QSize(33, 17) << colour << QList{0} << QByteArray(2, '\0') << true;
        QTest::newRow("4:2:0, the first alone: 15 blocks in a byte")
            << QSize(33, 17) << colour << QList{0} << one << false;
        QTest::newRow("4:2:0, the second alone: 8 blocks in a byte")
            << QSize(64, 17) << colour << QList{1} << one << true;
        QTest::newRow("4:2:0, the second alone: 10 blocks in a byte")
            << QSize(65, 17) << colour << QList{1} << one << false;
    }

    // The first scan of a JPEG codes each of its blocks in at least one bit; a file whose data has fewer
    // cannot hold the picture it claims, and is refused before it is decoded.
    void theFirstScanHoldsABitForEachBlock() {
        QFETCH(QSize, claimed);
        QFETCH(QList<int>, sampling);
        QFETCH(QList<int>, inScan);
        QFETCH(QByteArray, data);
        QFETCH(bool, holds);
        const QString path = testing::WriteBytes(
            dir_.path(), u"dc.jpg"_s, DcScanOnly(claimed.width(), claimed.height(), sampling, inScan, data));
        texture::FileSource file(QFile::encodeName(path).constData());
        const std::optional<picture::JpegHeader> header = picture::ReadJpegHeader(file);
        QVERIFY(header);
        QCOMPARE(picture::FirstScanHoldsItsBlocks(file, *header), holds);
    }

    // A file with just a bit for each block is shown: 32 mid-grey blocks in 4 bytes.
    void aBitForEachBlockIsEnough() {
        const QString path = testing::WriteBytes(dir_.path(), u"dc.jpg"_s,
                                                 DcScanOnly(256, 8, {0x11}, {0}, QByteArray(4, '\0')));
        const std::optional<picture::Picture> picture = picture::LoadPicture(path, QSize(1000, 1000));
        QVERIFY(picture);
        QCOMPARE(picture->image.size(), QSize(256, 8));
        QCOMPARE(picture->image.pixel(255, 7), qRgb(128, 128, 128));
    }

    void jpegsDecodeAsQtsReaderDid_data() {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<int>("divisor");
        // Odd sizes: at a decoder scale, the decoder's picture is a pixel larger than the size divided.
        const QImage picture = Noise(203, 157);
        const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
        const QByteArray baseline = testing::Jpeg(picture);
        const auto layout = [](auto change) {
            samples::JpegLayout made;
            change(made);
            return made;
        };
        const std::pair<const char*, QByteArray> kinds[] = {
            {"baseline 4:2:0", baseline},
            {"progressive 4:2:0", testing::Jpeg(picture, true)},
            {"grey", testing::Jpeg(grey)},
            {"progressive grey", testing::Jpeg(grey, true)},
            {"4:4:4", samples::EncodeJpeg(picture, layout([](auto& l) { l.lumaH = l.lumaV = 1; }))},
            {"4:2:2", samples::EncodeJpeg(picture, layout([](auto& l) { l.lumaV = 1; }))},
            {"progressive 4:4:4", samples::EncodeJpeg(picture, layout([](auto& l) {
                                                          l.lumaH = l.lumaV = 1;
                                                          l.progressive = true;
                                                      }))},
            {"restart markers", samples::EncodeJpeg(picture, layout([](auto& l) { l.restartRows = 1; }))},
            {"arithmetic coding", samples::EncodeJpeg(picture, layout([](auto& l) { l.arithmetic = true; }))},
            {"CMYK", samples::EncodeJpeg(picture, layout([](auto& l) { l.cmyk = true; }))},
            {"extraneous bytes before a marker", AfterStart(baseline, "\x01\x02\x03")},
            {"an APP9 segment", AfterStart(baseline, QByteArray("\xFF\xE9\x00\x06 ninth", 8))},
        };
        for (const int divisor : {1, 2, 4, 8}) {
            for (const auto& [kind, jpeg] : kinds) {
                QTest::addRow("%s, 1/%d", kind, divisor) << jpeg << divisor;
            }
            for (quint16 orientation = 2; orientation <= 8; ++orientation) {
                QTest::addRow("Exif orientation %d, 1/%d", orientation, divisor)
                    << testing::WithOrientation(baseline, orientation) << divisor;
            }
        }
    }

    // Every JPEG that Qt's reader decoded gives the same picture, pixel for pixel, at each scale.
    void jpegsDecodeAsQtsReaderDid() {
        QFETCH(QByteArray, jpeg);
        QFETCH(int, divisor);
        const QImage expected = DecodedByQt(jpeg, divisor);
        QVERIFY(!expected.isNull());
        // Fitted into the size it has at that scale, the picture is decoded at that scale.
        const std::optional<picture::Picture> picture =
            picture::LoadPicture(testing::WriteBytes(dir_.path(), u"same.jpg"_s, jpeg), expected.size());
        QVERIFY(picture);
        QCOMPARE(picture->size, DecodedByQt(jpeg, 1).size());
        QCOMPARE(picture->divisor, divisor);
        QCOMPARE(picture->image, expected);
    }

    void cutCorruptOrStoppedJpegsAreNotShown_data() {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<int>("stopAt");  // the ask of the decode to stop that it answers yes; 0 for none
        const QByteArray good = testing::Jpeg(Noise(320, 240));
        const QByteArray progressive = testing::Jpeg(Noise(320, 240), true);
        QTest::newRow("cut in its data") << samples::CutJpeg() << 0;
        QTest::newRow("cut in the data of a later scan")
            << progressive.first(progressive.size() * 3 / 4) << 0;
        QTest::newRow("cut just before its end marker") << good.first(good.size() - 2) << 0;
        QTest::newRow("a restart marker out of turn") << samples::CorruptJpeg() << 0;
        const qsizetype middle = good.indexOf("\xFF\xDA") + (good.size() - good.indexOf("\xFF\xDA")) / 2;
        QTest::newRow("a marker in its data") << good.first(middle) + "\xFF\xD9" + good.sliced(middle) << 0;
        QTest::newRow("baseline, stopped at the second ask") << good << 2;
        QTest::newRow("progressive, stopped at the second ask") << progressive << 2;
    }

    // A JPEG whose data ends early or is corrupt is not shown, nor one whose decode was stopped; the
    // memory its decode took from the budget is free again, so the next one goes ahead at once.
    void cutCorruptOrStoppedJpegsAreNotShown() {
        QFETCH(QByteArray, jpeg);
        QFETCH(int, stopAt);
        const QString path = testing::WriteBytes(dir_.path(), u"bad.jpg"_s, jpeg);
        const QString good = testing::WriteBytes(dir_.path(), u"good.jpg"_s, testing::Jpeg(Noise(320, 240)));
        texture::DecodeBudget budget(2 << 20);
        int asked = 0;
        const auto stop = [&] { return ++asked == stopAt; };
        QVERIFY(!picture::LoadPicture(path, QSize(320, 240), budget, stop));
        if (stopAt > 0) {
            QCOMPARE(asked, stopAt);  // stopped at once
        }
        QCOMPARE(budget.InUse(), std::uint64_t{0});
        QVERIFY(picture::LoadPicture(good, QSize(320, 240), budget, stop));
    }

    // A BMP whose rows end before its headers say is not shown, by any header kind; one complete, or
    // with bytes after its rows, is.
    void cutBmpsAreNotShown_data() {
        QTest::addColumn<QByteArray>("bmp");
        QTest::addColumn<bool>("shown");
        const auto write = [](const QImage& image) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "BMP");
            return bytes;
        };
        const QByteArray rgb = write(Noise(63, 40));  // rows of 189 bytes padded to 192
        const QByteArray grey = write(Noise(63, 40).convertToFormat(QImage::Format_Indexed8));
        // A 24-bit picture with the core header of 12 bytes (sides and bit count in 16 bits), made by
        // hand: rows of 189 bytes padded to 192.
        QByteArray core(14 + 12 + 192 * 40, '\x40');
        const auto put = [&core](int at, std::uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i) {
                core[at + i] = static_cast<char>(value >> (8 * i));
            }
        };
        core[0] = 'B';
        core[1] = 'M';
        put(2, static_cast<std::uint32_t>(core.size()), 4);
        put(6, 0, 4);
        put(10, 14 + 12, 4);
        put(14, 12, 4);
        put(18, 63, 2);
        put(20, 40, 2);
        put(22, 1, 2);
        put(24, 24, 2);
        QTest::newRow("complete") << rgb << true;
        QTest::newRow("with bytes after its rows") << rgb + QByteArray(7, 'x') << true;
        QTest::newRow("a byte short") << rgb.first(rgb.size() - 1) << false;
        QTest::newRow("cut after its headers") << rgb.first(200) << false;
        QTest::newRow("8-bit with a palette, complete") << grey << true;
        QTest::newRow("8-bit with a palette, a row short") << grey.first(grey.size() - 64) << false;
        QTest::newRow("core header, complete") << core << true;
        QTest::newRow("core header, cut") << core.first(core.size() - 100) << false;
    }
    void cutBmpsAreNotShown() {
        QFETCH(QByteArray, bmp);
        QFETCH(bool, shown);
        const QString path = testing::WriteBytes(dir_.path(), u"p.bmp"_s, bmp);
        QCOMPARE(picture::LoadPicture(path, QSize(63, 40)).has_value(), shown);
    }

    // A texture refused once its memory is reserved (its canvas cannot be made) gives the memory back.
    void aTextureRefusedAfterReservingGivesItsMemoryBack() {
        const QString path = testing::WriteSolidTexture(dir_.path(), u"t.pbf"_s, 64, 32, qRgb(0, 0, 255));
        texture::FileSource file(QFile::encodeName(path).constData());
        texture::TextureReader reader;
        const std::optional<texture::TextureLayout> layout = reader.ReadLayout(file);
        QVERIFY(layout);
        texture::DecodeBudget budget(1 << 20);
        std::vector<std::uint8_t> pixels;
        std::optional<texture::Refusal> refusal;
        QVERIFY(!picture::PaintTexture(
            reader, file, *layout, pixels, [](int, int) { return nullptr; }, refusal, budget));
        QCOMPARE(budget.InUse(), std::uint64_t{0});
    }

    void theBudgetIsForTheScaleDecoded_data() {
        QTest::addColumn<QSize>("limit");
        QTest::addColumn<int>("budget");     // 0: exactly the estimate; -1: a byte less
        QTest::addColumn<QSize>("decoded");  // nothing when refused
        // 2000 x 1500 in 4:2:0: a band of 16 rows takes 0.4 MB; a decoded picture, its resize and its
        // turn take 12 bytes a pixel: 0.6 MB at an eighth, 2.3 MB at a quarter, 9 MB at a half.
        QTest::newRow("an eighth, in 1 MB") << QSize(250, 187) << 1'000'000 << QSize(250, 187);
        QTest::newRow("an eighth, in 0.9 MB") << QSize(250, 187) << 900'000 << QSize();
        QTest::newRow("a quarter, in 3 MB") << QSize(500, 375) << 3'000'000 << QSize(500, 375);
        QTest::newRow("a quarter, in 2 MB") << QSize(500, 375) << 2'000'000 << QSize();
        QTest::newRow("a half, in 10 MB") << QSize(1000, 750) << 10'000'000 << QSize(1000, 750);
        QTest::newRow("a half, in 9 MB") << QSize(1000, 750) << 9'000'000 << QSize();
        QTest::newRow("an eighth, in exactly its estimate") << QSize(250, 187) << 0 << QSize(250, 187);
        QTest::newRow("an eighth, in a byte less") << QSize(250, 187) << -1 << QSize();
    }

    // A JPEG decoded at a scale reserves what that scale takes: a budget with room for it, and not for
    // the next larger scale, shows it; one without room for it refuses it.
    void theBudgetIsForTheScaleDecoded() {
        QFETCH(QSize, limit);
        QFETCH(int, budget);
        QFETCH(QSize, decoded);
        if (large_.isEmpty()) {
            large_ = testing::WriteBytes(dir_.path(), u"large.jpg"_s, testing::Jpeg(Noise(2000, 1500)));
        }
        texture::FileSource file(QFile::encodeName(large_).constData());
        const std::optional<picture::JpegHeader> header = picture::ReadJpegHeader(file);
        QVERIFY(header);
        const std::uint64_t estimate = picture::JpegDecodeBytes(*header, 8);
        texture::DecodeBudget memory(budget > 0 ? static_cast<std::uint64_t>(budget)
                                                : estimate - (budget < 0 ? 1 : 0));
        const std::optional<picture::Picture> picture = picture::LoadPicture(large_, limit, memory);
        QCOMPARE(picture ? picture->image.size() : QSize(), decoded);
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
        const std::optional<picture::Picture> picture =
            picture::LoadPicture(baseline, QSize(250, 187), small);
        QVERIFY(picture);
        QCOMPARE(picture->size, QSize(2000, 1500));
        QCOMPARE(picture->image.size(), QSize(250, 187));
        QVERIFY(!picture::LoadPicture(progressive, QSize(250, 187), small));
        QVERIFY(picture::LoadPicture(progressive, QSize(250, 187)));
    }

    // A picture's alpha channel is not shown: the same colours at natural size and shrunk.
    void picturesAreOpaqueAtEverySize() {
        const QString path = testing::WriteBytes(dir_.path(), u"alpha.bmp"_s, TransparentRedBmp(40, 20));
        const std::optional<picture::Picture> picture = picture::LoadPicture(path, QSize(1000, 1000));
        QVERIFY(picture);
        QCOMPARE(picture->image.pixel(3, 3), qRgb(255, 0, 0));
        const QImage shrunk = picture::Halftone(picture->image, QSize(10, 5));
        QCOMPARE(shrunk.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(shrunk.pixel(9, 4), qRgb(255, 0, 0));
    }

private:
    QTemporaryDir dir_;
    QString large_;  // a 2000 x 1500 JPEG, written once
};

QTEST_MAIN(PictureLoaderTest)
#include "PictureLoaderTest.moc"
