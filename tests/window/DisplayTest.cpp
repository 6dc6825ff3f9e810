// Showing pictures: the opener, the texture canvas, the fit to the screen and thumbnail cells.
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QImageWriter>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "display/FitRule.h"
#include "display/PictureLoader.h"
#include "platform/DirListBox.h"
#include "platform/FileListBox.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
#include "samples/Catalogue.h"
#include "samples/TextureFiles.h"
#include "shell/FrmImageViewer.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using testing::TestPlatform;

namespace {

// A window over `folder`, shown, with the file `name` selected.
struct Viewer {
    explicit Viewer(TestPlatform& platform, const QString& folder) : window(platform.Build()) {
        window.show();
        window.dirList->SetPath(folder);
    }
    void Select(const QString& name) {
        for (int i = 0; i < window.filList->ListCount(); ++i) {
            if (window.filList->EntryName(i) == name) {
                window.filList->SetListIndex(i);
                return;
            }
        }
        QFAIL("no such file in the list");
    }
    void Open(const QString& name) {
        Select(name);
        window.filList_DblClick();
    }
    platform::PictureBox& View() { return *window.Picture3[0]; }
    FrmImageViewer window;
};

QImage Canvas(const samples::Picture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            image.setPixel(x, y, picture.At(x, y));
        }
    }
    return image;
}

// A picture of four coloured quadrants.
QImage Quadrants(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(200, 40, 40));
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            line[x] = right ? (bottom ? qRgb(240, 240, 40) : qRgb(40, 200, 40))
                            : (bottom ? qRgb(40, 40, 220) : qRgb(200, 40, 40));
        }
    }
    return image;
}

// Counts the times files of a folder are opened, by name.
class OpenCounter {
public:
    explicit OpenCounter(const QString& folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        ::inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN);
    }
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;
    ~OpenCounter() { ::close(fd_); }
    int Opens(const QString& name) {
        alignas(inotify_event) char buffer[4096];
        for (ssize_t got = 0; (got = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                ++opens_[QFile::decodeName(event->len > 0 ? event->name : "")];
                at += sizeof(inotify_event) + event->len;
            }
        }
        return opens_.value(name);
    }

private:
    int fd_;
    QHash<QString, int> opens_;
};

QPoint CentredIn(const FrmImageViewer& window, QSize box) {
    return {shell::RoundHalfEven((window.InnerWidth() - box.width()) / 2.0),
            shell::RoundHalfEven((window.InnerHeight() - 80 - box.height()) / 2.0)};
}

}  // namespace

class DisplayTest : public QObject {
    Q_OBJECT
private slots:
    void aTextureThatFitsShowsExactlyItsPixels_data();
    void aTextureThatFitsShowsExactlyItsPixels();
    void aPictureThatFitsShowsCentredAtItsSize();
    void theLimitFitsAndOnePixelMoreShrinks();
    void aShrunkPictureKeepsItsContent();
    void bigJpegsDecodeAtAReducedScale();
    void jpegOrientationIsApplied();
    void theKindDecidesTheReader_data();
    void theKindDecidesTheReader();
    void openShowsTheSelectedFile();
    void aCorruptPictureGivesTheMessage();
    void aRefusedTextureShowsNothingFurther();
    void aTextureOfResultZeroIsShown();
    void shortPixelDataNeverShowsAnEarlierFile();
    void aFileThatCannotBeOpenedGivesTheMessage_data();
    void aFileThatCannotBeOpenedGivesTheMessage();
    void picturesWiderThan32767Show();
    void aThumbnailCellHoldsItsPictureAtTheCellCorner();
    void afterAResizePicturesKeepTheStartupLimits();
    void resizesDrawAgainFromWhatTheBoxesHold();
    void aTextureWithoutAPaletteIsDrawnAgainWithTheCurrentOne();
    void neighboursAndPagesAreReadAhead();
};

void DisplayTest::aTextureThatFitsShowsExactlyItsPixels_data() {
    QTest::addColumn<int>("index");
    const std::vector<samples::Sample> catalogue = samples::Catalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const samples::Sample& sample = catalogue[i];
        if (sample.expected && sample.decodedBefore.empty() && sample.expected->picture.width > 0 &&
            sample.expected->picture.height > 0) {
            QTest::newRow(sample.name.c_str()) << static_cast<int>(i);
        }
    }
}

void DisplayTest::aTextureThatFitsShowsExactlyItsPixels() {
    QFETCH(int, index);
    const samples::Sample sample = samples::Catalogue()[static_cast<std::size_t>(index)];
    TestPlatform platform;
    const QString name = QString::fromStdString(sample.name + sample.extension);
    testing::WriteTextureFile(platform.programFolder, name, sample.bytes);
    Viewer viewer(platform, platform.programFolder);
    viewer.Open(name);

    const QImage expected = Canvas(sample.expected->picture);
    QVERIFY(viewer.View().isVisible());
    QCOMPARE(viewer.View().size(), expected.size());
    QCOMPARE(viewer.View().Surface().convertToFormat(QImage::Format_RGB32), expected);
    QCOMPARE(viewer.View().pos(), CentredIn(viewer.window, expected.size()));
    QCOMPARE(viewer.View().toolTip(), QStringLiteral("%1: %2 pixels wide, %3 pixels high")
                                          .arg(name)
                                          .arg(expected.width())
                                          .arg(expected.height()));
    QCOMPARE(viewer.window.windowTitle(), QStringLiteral("Tamsel Image Viewer: ") + name);
    QCOMPARE(viewer.window.ThumbImageSize[0], expected.width());
    QCOMPARE(viewer.window.ThumbImageSize[10], expected.height());
    QVERIFY(!platform::MousePointer::IsBusy());
    QVERIFY(platform.messages->shown.empty());
}

void DisplayTest::aPictureThatFitsShowsCentredAtItsSize() {
    TestPlatform platform;
    const QImage picture = Quadrants(120, 70);
    testing::WritePicture(platform.programFolder, QStringLiteral("quads.bmp"), picture);
    Viewer viewer(platform, platform.programFolder);
    viewer.Open(QStringLiteral("quads.bmp"));
    QCOMPARE(viewer.View().size(), QSize(120, 70));
    QCOMPARE(viewer.View().pos(), CentredIn(viewer.window, {120, 70}));
    QCOMPARE(viewer.View().Surface().convertToFormat(QImage::Format_RGB32), picture);
    QVERIFY(!viewer.window.Label1->isVisible());
}

void DisplayTest::theLimitFitsAndOnePixelMoreShrinks() {
    TestPlatform platform;
    Viewer viewer(platform, platform.programFolder);
    const int w = viewer.window.ViewWidth;
    const int h = viewer.window.ViewHeight;
    testing::WritePicture(platform.programFolder, QStringLiteral("limit.bmp"), Quadrants(w, h));
    testing::WritePicture(platform.programFolder, QStringLiteral("wider.bmp"), Quadrants(w + 1, h));
    viewer.window.dirList_Change();

    viewer.Open(QStringLiteral("limit.bmp"));
    QCOMPARE(viewer.View().size(), QSize(w, h));
    // A picture as large as the limits stands 10 pixels from the left, right and top edges.
    QCOMPARE(viewer.View().pos(), QPoint(10, 10));

    viewer.Open(QStringLiteral("wider.bmp"));
    QCOMPARE(viewer.View().size(), QSize(w, shell::RoundHalfEven(float(w) * (float(h) / float(w + 1)))));
    QCOMPARE(viewer.window.ThumbImageSize[0], w + 1);
}

void DisplayTest::aShrunkPictureKeepsItsContent() {
    TestPlatform platform;
    const QImage picture = Quadrants(3000, 2000);
    testing::WritePicture(platform.programFolder, QStringLiteral("big.bmp"), picture);
    Viewer viewer(platform, platform.programFolder);
    viewer.Open(QStringLiteral("big.bmp"));

    const QSize shown = viewer.View().size();
    QVERIFY(shown.width() <= viewer.window.ViewWidth && shown.height() <= viewer.window.ViewHeight);
    QVERIFY(shown.width() == viewer.window.ViewWidth || shown.height() == viewer.window.ViewHeight);
    QCOMPARE(viewer.View().Surface().size(), shown);
    const testing::MeanColour before = testing::MeanOf(picture);
    const testing::MeanColour after = testing::MeanOf(viewer.View().Surface());
    QVERIFY(qAbs(before.red - after.red) < 1.5);
    QVERIFY(qAbs(before.green - after.green) < 1.5);
    QVERIFY(qAbs(before.blue - after.blue) < 1.5);
    // Each quadrant stays a quadrant: its centre keeps its colour.
    const QImage& surface = viewer.View().Surface();
    QCOMPARE(surface.pixel(shown.width() / 4, shown.height() / 4), qRgb(200, 40, 40));
    QCOMPARE(surface.pixel(3 * shown.width() / 4, 3 * shown.height() / 4), qRgb(240, 240, 40));
    QCOMPARE(viewer.View().toolTip(), QStringLiteral("big.bmp: 3000 pixels wide, 2000 pixels high"));
}

void DisplayTest::bigJpegsDecodeAtAReducedScale() {
    TestPlatform platform;
    testing::WritePicture(platform.programFolder, QStringLiteral("photo.jpg"), Quadrants(4000, 3000), 90);
    Viewer viewer(platform, platform.programFolder);
    viewer.Open(QStringLiteral("photo.jpg"));
    QCOMPARE(viewer.window.ThumbImageSize[0], 4000);
    QCOMPARE(viewer.window.ThumbImageSize[10], 3000);
    QCOMPARE(viewer.window.Picture2->size(), QSize(4000, 3000));
    // The staged pixels come from the decoder's reduced scale, still at least the shown size.
    const QSize staged = viewer.window.Picture2->Surface().size();
    QVERIFY(staged.width() <= 2000);
    QVERIFY(staged.width() >= viewer.View().width() && staged.height() >= viewer.View().height());
    const QImage& surface = viewer.View().Surface();
    QVERIFY(qAbs(qRed(surface.pixel(surface.width() / 4, surface.height() / 4)) - 200) < 6);
}

void DisplayTest::jpegOrientationIsApplied() {
    TestPlatform platform;
    const QString path = QDir(platform.programFolder).filePath(QStringLiteral("turned.jpg"));
    QImageWriter writer(path, "jpeg");
    if (!writer.supportsOption(QImageIOHandler::ImageTransformation)) {
        QSKIP("this JPEG writer stores no orientation");
    }
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    QVERIFY(writer.write(Quadrants(60, 20)));
    Viewer viewer(platform, platform.programFolder);
    viewer.Open(QStringLiteral("turned.jpg"));
    QCOMPARE(viewer.View().size(), QSize(20, 60));
    QCOMPARE(viewer.View().toolTip(), QStringLiteral("turned.jpg: 20 pixels wide, 60 pixels high"));
}

void DisplayTest::theKindDecidesTheReader_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");  // "texture", "picture" or raw bytes
    QTest::addColumn<bool>("shown");
    QTest::newRow("upper-case texture") << "ROAD.SRB" << QByteArray("texture") << true;
    QTest::newRow("bare image named .mip") << "road.mip" << QByteArray("texture") << true;
    QTest::newRow("upper-case JPEG") << "PHOTO.JPG" << QByteArray("picture") << true;
    QTest::newRow("mixed-case texture ending") << "road.Mip" << QByteArray("texture") << false;
}

void DisplayTest::theKindDecidesTheReader() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, shown);
    TestPlatform platform;
    if (content == "texture") {
        testing::WriteSolidTexture(platform.programFolder, name, 8, 4, qRgb(255, 0, 0));
    } else {
        testing::WritePicture(platform.programFolder, name, testing::SolidImage(8, 4, qRgb(255, 0, 0)));
    }
    Viewer viewer(platform, platform.programFolder);
    // The mixed-case name is not in the list: select it as a list of every file would.
    viewer.window.filList->SetPattern(QStringLiteral("*"));
    const QString title = viewer.window.windowTitle();
    viewer.Open(name);
    QCOMPARE(viewer.View().isVisible(), shown);
    QCOMPARE(viewer.window.windowTitle(), shown ? QStringLiteral("Tamsel Image Viewer: ") + name : title);
    QVERIFY(platform.messages->shown.empty());
    if (shown) {
        const QRgb shownPixel = viewer.View().Surface().pixel(3, 2);
        QVERIFY(qRed(shownPixel) > 240 && qGreen(shownPixel) < 16 && qBlue(shownPixel) < 16);
    }
}

void DisplayTest::openShowsTheSelectedFile() {
    TestPlatform platform;
    testing::WriteSolidTexture(platform.programFolder, QStringLiteral("a.pbf"), 16, 8, qRgb(0, 255, 0));
    Viewer viewer(platform, platform.programFolder);
    viewer.Select(QStringLiteral("a.pbf"));
    QVERIFY(viewer.window.cmdStop->isEnabled());
    QTest::mouseClick(viewer.window.cmdStop, Qt::LeftButton);
    QVERIFY(viewer.View().isVisible());
    QCOMPARE(viewer.View().size(), QSize(16, 8));
    QVERIFY(!viewer.window.Frame1->isVisible());
    QVERIFY(!viewer.window.cmdStop->isVisible());
    QVERIFY(viewer.window.cmdPrevious->isVisible());
    QVERIFY(viewer.window.cmdNext->isVisible());
}

void DisplayTest::aCorruptPictureGivesTheMessage() {
    TestPlatform platform;
    testing::WriteBytes(platform.programFolder, QStringLiteral("bad.jpg"),
                        QByteArray("\xff\xd8\xff\xe0 this is no JPEG"));
    Viewer viewer(platform, platform.programFolder);
    const QString title = viewer.window.windowTitle();
    viewer.Open(QStringLiteral("bad.jpg"));
    QCOMPARE(platform.messages->shown.size(), std::size_t{1});
    const testing::ShownMessage& message = platform.messages->shown.front();
    QCOMPARE(message.caption, QStringLiteral("Tamsel Image Viewer"));
    QCOMPARE(message.text, QStringLiteral("Sorry, but Image Viewer cannot display this file:\r\r") +
                               QDir(platform.programFolder).filePath(QStringLiteral("bad.jpg")));
    QCOMPARE(message.icon, platform::MessageIcon::Warning);
    QVERIFY(!viewer.View().isVisible());
    QCOMPARE(viewer.window.windowTitle(), title);
    QVERIFY(!platform::MousePointer::IsBusy());
}

void DisplayTest::aRefusedTextureShowsNothingFurther() {
    TestPlatform platform;
    testing::WriteSolidTexture(platform.programFolder, QStringLiteral("a-good.pbf"), 16, 8, qRgb(0, 255, 0));
    testing::WriteBytes(platform.programFolder, QStringLiteral("b-bad.mip"), QByteArray("PIM too short"));
    testing::WriteBytes(platform.programFolder, QStringLiteral("c-empty.srb"), QByteArray());
    Viewer viewer(platform, platform.programFolder);
    viewer.Open(QStringLiteral("a-good.pbf"));
    const QString title = viewer.window.windowTitle();
    const QString hover = viewer.View().toolTip();

    for (const QString& name : {QStringLiteral("b-bad.mip"), QStringLiteral("c-empty.srb")}) {
        platform.messages->shown.clear();
        viewer.Open(name);
        QCOMPARE(platform.messages->shown.size(), std::size_t{1});
        QCOMPARE(platform.messages->shown.front().text, QStringLiteral("Not a valid texture file"));
        QCOMPARE(platform.messages->shown.front().icon, platform::MessageIcon::Warning);
        QVERIFY(!viewer.View().isVisible());
        QCOMPARE(viewer.window.windowTitle(), title);
        QCOMPARE(viewer.View().toolTip(), hover);
        QVERIFY(!platform::MousePointer::IsBusy());
    }
}

void DisplayTest::aTextureOfResultZeroIsShown() {
    TestPlatform platform;
    samples::Picture card;
    card.width = 4;
    card.height = 4;
    card.pixels.assign(16, samples::Rgb(255, 255, 255));
    samples::MipFields fields;
    fields.mipFormat = samples::kFormat565;
    fields.resultValue = 0;
    fields.image = {samples::kFormat565, 4, 4, 0};
    testing::WriteTextureFile(platform.programFolder, QStringLiteral("zero.mip"),
                              samples::MipFile(fields, samples::EncodeWords(card, samples::kFormat565)));
    Viewer viewer(platform, platform.programFolder);
    viewer.Open(QStringLiteral("zero.mip"));
    QVERIFY(platform.messages->shown.empty());
    QVERIFY(viewer.View().isVisible());
    QCOMPARE(viewer.View().Surface().pixel(3, 3), qRgb(255, 255, 255));
}

void DisplayTest::shortPixelDataNeverShowsAnEarlierFile() {
    TestPlatform platform;
    testing::WriteSolidTexture(platform.programFolder, QStringLiteral("a-full.pbf"), 8, 8, qRgb(255, 0, 0));
    samples::Picture few;
    few.width = 4;
    few.height = 1;
    few.pixels.assign(4, samples::Rgb(255, 255, 255));
    testing::WriteTextureFile(platform.programFolder, QStringLiteral("b-short.pbf"),
                              samples::BareImageFile({samples::kFormat565, 8, 8, 16},
                                                     samples::EncodeWords(few, samples::kFormat565)));
    Viewer viewer(platform, platform.programFolder);
    viewer.Open(QStringLiteral("a-full.pbf"));
    viewer.Open(QStringLiteral("b-short.pbf"));
    const QImage& surface = viewer.View().Surface();
    QCOMPARE(surface.size(), QSize(8, 8));
    QCOMPARE(surface.pixel(3, 0), qRgb(255, 255, 255));
    QCOMPARE(surface.pixel(4, 0), qRgb(0, 0, 0));
    QCOMPARE(surface.pixel(7, 7), qRgb(0, 0, 0));
}

void DisplayTest::aFileThatCannotBeOpenedGivesTheMessage_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("what");
    QTest::newRow("vanished texture") << "gone.mip"
                                      << "vanished";
    QTest::newRow("vanished picture") << "gone.jpg"
                                      << "vanished";
    QTest::newRow("FIFO named .mip") << "pipe.mip"
                                     << "fifo";
    QTest::newRow("FIFO named .jpg") << "pipe.jpg"
                                     << "fifo";
}

void DisplayTest::aFileThatCannotBeOpenedGivesTheMessage() {
    QFETCH(QString, name);
    QFETCH(QString, what);
    TestPlatform platform;
    const QString path = QDir(platform.programFolder).filePath(name);
    testing::WriteBytes(platform.programFolder, name, QByteArray("x"));
    Viewer viewer(platform, platform.programFolder);
    viewer.window.filList->SetPattern(QStringLiteral("*"));
    viewer.Select(name);
    QFile::remove(path);
    if (what == QStringLiteral("fifo")) {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    }
    viewer.window.filList_DblClick();
    QCOMPARE(platform.messages->shown.size(), std::size_t{1});
    QCOMPARE(platform.messages->shown.front().text,
             QStringLiteral("Sorry, but Image Viewer cannot display this file:\r\r") + path);
    QVERIFY(!viewer.View().isVisible());
    QVERIFY(!platform::MousePointer::IsBusy());
}

void DisplayTest::picturesWiderThan32767Show() {
    TestPlatform platform;
    testing::WritePicture(platform.programFolder, QStringLiteral("strip.bmp"), Quadrants(40000, 4));
    Viewer viewer(platform, platform.programFolder);
    viewer.Open(QStringLiteral("strip.bmp"));
    QVERIFY(platform.messages->shown.empty());
    QCOMPARE(viewer.window.ThumbImageSize[0], 40000);
    QCOMPARE(viewer.View().width(), viewer.window.ViewWidth);
    QCOMPARE(viewer.View().toolTip(), QStringLiteral("strip.bmp: 40000 pixels wide, 4 pixels high"));
}

void DisplayTest::aThumbnailCellHoldsItsPictureAtTheCellCorner() {
    TestPlatform platform;
    testing::WritePicture(platform.programFolder, QStringLiteral("small.bmp"), Quadrants(100, 50));
    testing::WritePicture(platform.programFolder, QStringLiteral("tall.bmp"), Quadrants(640, 2000));
    Viewer viewer(platform, platform.programFolder);
    FrmImageViewer& window = viewer.window;
    window.ThumbMode = true;
    viewer.Select(QStringLiteral("small.bmp"));
    window.OpenSelectedImage(5);
    platform::PictureBox& cell = *window.Picture3[5];
    QVERIFY(cell.isVisible());
    QCOMPARE(cell.geometry(), QRect(window.ThumbCellPos[4], window.ThumbCellPos[13], 100, 50));
    QVERIFY(!window.Label1->isVisible());

    viewer.Select(QStringLiteral("tall.bmp"));
    window.OpenSelectedImage(9);
    platform::PictureBox& last = *window.Picture3[9];
    QCOMPARE(last.pos(), QPoint(window.ThumbCellPos[8], window.ThumbCellPos[17]));
    QCOMPARE(last.height(), window.ThumbHeight);
    QCOMPARE(last.width(), shell::RoundHalfEven(float(window.ThumbHeight) / (2000.0F / 640.0F)));
    QCOMPARE(window.ThumbImageSize[9], 640);
    QCOMPARE(window.ThumbImageSize[19], 2000);
}

void DisplayTest::afterAResizePicturesKeepTheStartupLimits() {
    TestPlatform platform;
    testing::WritePicture(platform.programFolder, QStringLiteral("big.bmp"), Quadrants(2400, 1200));
    Viewer viewer(platform, platform.programFolder);
    const QSize limits(viewer.window.ViewWidth, viewer.window.ViewHeight);
    viewer.Open(QStringLiteral("big.bmp"));
    const QSize before = viewer.View().size();
    viewer.window.resize(viewer.window.width() / 2, viewer.window.height());
    QVERIFY(viewer.View().isVisible());
    QCOMPARE(viewer.View().size(), before);
    QCOMPARE(QSize(viewer.window.ViewWidth, viewer.window.ViewHeight), limits);
    QCOMPARE(viewer.View().pos(), CentredIn(viewer.window, before));
}

// Resizing reads no file again: the boxes show what they hold. A file changed on disk is read again.
void DisplayTest::resizesDrawAgainFromWhatTheBoxesHold() {
    TestPlatform platform;
    testing::WritePicture(platform.programFolder, QStringLiteral("photo.jpg"), Quadrants(3000, 2000));
    Viewer viewer(platform, platform.programFolder);
    OpenCounter counter(platform.programFolder);
    viewer.Open(QStringLiteral("photo.jpg"));
    QCOMPARE(counter.Opens(QStringLiteral("photo.jpg")), 1);
    const QSize size = viewer.window.size();
    for (int step = 1; step <= 3; ++step) {
        viewer.window.resize(size.width() - 40 * step, size.height());
    }
    QCOMPARE(counter.Opens(QStringLiteral("photo.jpg")), 1);
    QCOMPARE(viewer.View().pos(), CentredIn(viewer.window, viewer.View().size()));
    QVERIFY(viewer.View().isVisible());

    testing::WritePicture(platform.programFolder, QStringLiteral("photo.jpg"),
                          testing::SolidImage(300, 200, qRgb(0, 0, 250)));
    viewer.window.resize(size);
    QCOMPARE(counter.Opens(QStringLiteral("photo.jpg")), 2);
    QCOMPARE(viewer.View().size(), QSize(300, 200));
}

// A texture without a palette of its own took the colours of the one before it; drawn again after
// another palette came in, it shows that palette, as reading it in order would.
void DisplayTest::aTextureWithoutAPaletteIsDrawnAgainWithTheCurrentOne() {
    TestPlatform platform;
    const auto write = [&](const char* name, std::optional<samples::Pixel> colour) {
        samples::MipFields mip;
        mip.image = {colour ? std::uint8_t{0} : std::uint8_t{3}, 4, 2, 0};
        if (colour) {
            mip.paletteChunk = samples::PaletteChunk::BeforeImage;
            mip.palette[0] = *colour;
        }
        testing::WriteTextureFile(platform.programFolder, QString::fromLatin1(name),
                                  samples::MipFile(mip, samples::Bytes(4, 0x00)));
    };
    write("a.mip", samples::Rgb(255, 0, 0));
    write("b.mip", std::nullopt);
    write("c.mip", samples::Rgb(0, 0, 255));
    Viewer viewer(platform, platform.programFolder);
    viewer.Open(QStringLiteral("a.mip"));
    viewer.window.cmdNext_Click();
    QCOMPARE(viewer.View().Surface().pixel(0, 0), qRgb(255, 0, 0));
    // A page of all three leaves the palette of c.mip; back to b.mip in the single view.
    viewer.window.mnuViewThumbnails_Click();
    viewer.window.Picture3_Click(2);
    viewer.window.mnuViewThumbnails_Click();
    QCOMPARE(viewer.window.filList->FileName(), QStringLiteral("b.mip"));
    QCOMPARE(viewer.View().Surface().pixel(0, 0), qRgb(0, 0, 255));
}

// While a picture is looked at, its neighbours and the next page are read ahead: stepping to them
// opens no file, shows exactly what opening it would, and going back a page opens nothing either.
void DisplayTest::neighboursAndPagesAreReadAhead() {
    TestPlatform platform;
    QStringList names;
    for (int i = 0; i < 12; ++i) {
        names << QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        testing::WritePicture(platform.programFolder, names.back(), Quadrants(1200 + 10 * i, 900));
    }
    Viewer viewer(platform, platform.programFolder);
    OpenCounter counter(platform.programFolder);
    viewer.Open(names[0]);
    QTRY_VERIFY(counter.Opens(names[1]) == 1 && counter.Opens(names[11]) == 1);
    viewer.window.cmdNext_Click();
    QCOMPARE(counter.Opens(names[1]), 1);
    const QImage fromReadAhead = viewer.View().Surface();
    const std::optional<display::Picture> opened =
        display::LoadPicture(QDir(platform.programFolder).filePath(names[1]),
                             QSize(viewer.window.ViewWidth, viewer.window.ViewHeight));
    QVERIFY(opened);
    QCOMPARE(fromReadAhead,
             *display::FittedPicture(opened->image, opened->size,
                                     QSize(viewer.window.ViewWidth, viewer.window.ViewHeight)));

    viewer.window.mnuViewThumbnails_Click();
    // The next page is read ahead: the three files not on this page (p11 was read once already, as the
    // single view's neighbour).
    QTRY_VERIFY(counter.Opens(names[9]) == 1 && counter.Opens(names[10]) == 1 &&
                counter.Opens(names[11]) == 2);
    const auto allOpens = [&] {
        int opens = 0;
        for (const QString& name : names) {
            opens += counter.Opens(name);
        }
        return opens;
    };
    const int before = allOpens();
    viewer.window.cmdNext_Click();
    QCOMPARE(viewer.window.PageStart, 9);
    viewer.window.cmdPrevious_Click();
    QCOMPARE(viewer.window.PageStart, 0);
    QCOMPARE(allOpens(), before);
    QVERIFY(platform.messages->shown.empty());
}

QTEST_MAIN(DisplayTest)
#include "DisplayTest.moc"
