// Showing pictures: the texture canvas, the fit to the screen and to a cell, what is read again, and the
// files and folders that try to break the viewer, each with its message or its silent fallback.
#include <sys/stat.h>

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <filesystem>
#include <optional>

#include "browse/Browser.h"
#include "help/HelpWindow.h"
#include "navigation/ButtonRow.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
#include "samples/Catalogue.h"
#include "support/Window.h"
#include "thumbs/ThumbnailPage.h"
#include "view/SingleView.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::TestPlatform;
using testing::Window;

namespace {

const QString kCannotDisplay = u"Sorry, but Image Viewer cannot display this file:\r\r"_s;

// A 4 x 2 MIP texture of index 0, with a palette of its own that gives index 0 `colour`, or none.
void WriteIndexZeroMip(const QString& folder, const QString& name, std::optional<samples::Pixel> colour) {
    samples::MipFields mip;
    mip.image = {colour ? std::uint8_t{0} : std::uint8_t{3}, 4, 2, 0};
    if (colour) {
        mip.paletteChunk = samples::PaletteChunk::BeforeImage;
        mip.palette[0] = *colour;
    }
    testing::WriteTextureFile(folder, name, samples::MipFile(mip, samples::Bytes(4, 0x00)));
}

}  // namespace

class DisplayTest : public QObject {
    Q_OBJECT
private slots:
    void aTextureShowsExactlyItsPixels_data() {
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

    // Drawn into the canvas of a white texture of the same size shown before it (and no neighbour of
    // it, so that no reading ahead paints it elsewhere): where no stored pixel lands is black.
    void aTextureShowsExactlyItsPixels() {
        QFETCH(int, index);
        const samples::Sample sample = samples::Catalogue()[static_cast<std::size_t>(index)];
        const samples::Picture& canvas = sample.expected->picture;
        TestPlatform platform;
        const QString name = QString::fromStdString(sample.name + sample.extension);
        testing::WriteTextureFile(platform.programFolder, name, sample.bytes);
        const QRgb white = qRgb(255, 255, 255);
        testing::WriteSolidTexture(platform.programFolder, u"0-before.pbf"_s, canvas.width, canvas.height,
                                   white);
        testing::WriteSolidTexture(platform.programFolder, u"1-after.pbf"_s, 1, 1, white);
        testing::WriteSolidTexture(platform.programFolder, u"zz-before.pbf"_s, 1, 1, white);
        Window window(platform);
        window.Open(u"0-before.pbf"_s);
        window.Open(name);
        const platform::PictureBox& box = window.SingleView().Box();
        QVERIFY(box.isVisible());
        QCOMPARE(box.size(), QSize(canvas.width, canvas.height));
        const QImage expected(reinterpret_cast<const uchar*>(canvas.pixels.data()), canvas.width,
                              canvas.height, QImage::Format_RGB32);
        QCOMPARE(box.Surface().convertToFormat(QImage::Format_RGB32), expected);
        QCOMPARE(box.toolTip(),
                 u"%1: %2 pixels wide, %3 pixels high"_s.arg(name).arg(canvas.width).arg(canvas.height));
        QCOMPARE(window.windowTitle(), u"Tamsel Image Viewer: "_s + name);
        QVERIFY(!platform::MousePointer::IsBusy());
        QVERIFY(platform.messages->shown.empty());
    }

    void aPictureIsFittedAndPlaced_data() {
        QTest::addColumn<QSize>("inner");  // the window's inner area at start-up
        QTest::addColumn<int>("slot");     // 0: the single view; 1 to 9: a cell
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("box");
        // An inner area of 1020 x 800 has limits of 1000 x 700, centred above the 80 pixels of the buttons.
        const QSize single(1020, 800);
        QTest::newRow("fits: as it is, halves to even")
            << single << 0 << QSize(37, 23) << QRect(492, 348, 37, 23);
        QTest::newRow("the limits themselves") << single << 0 << QSize(1000, 700) << QRect(10, 10, 1000, 700);
        QTest::newRow("one pixel wider") << single << 0 << QSize(1001, 700) << QRect(10, 10, 1000, 699);
        QTest::newRow("worked example: wide")
            << single << 0 << QSize(4000, 1000) << QRect(10, 235, 1000, 250);
        QTest::newRow("worked example: tall") << single << 0 << QSize(1000, 3500) << QRect(410, 10, 200, 700);
        QTest::newRow("wider than 32767") << single << 0 << QSize(40000, 40) << QRect(10, 360, 1000, 1);
        // An inner area of 1000 x 700 has cells of 320 x 183 in columns at 10, 340 and 670 and rows at
        // 10, 202 and 415; a picture stands at its cell's corner.
        const QSize cells(1000, 700);
        QTest::newRow("cell 1: as it is") << cells << 1 << QSize(100, 50) << QRect(10, 10, 100, 50);
        QTest::newRow("cell 5: taller") << cells << 5 << QSize(640, 640) << QRect(340, 202, 183, 183);
        QTest::newRow("cell 9: wider") << cells << 9 << QSize(960, 183) << QRect(670, 415, 320, 61);
    }

    void aPictureIsFittedAndPlaced() {
        QFETCH(QSize, inner);
        QFETCH(int, slot);
        QFETCH(QSize, picture);
        QFETCH(QRect, box);
        TestPlatform platform(testing::ScreenFor(inner));
        const QImage quadrants = testing::Quadrants(picture.width(), picture.height());
        testing::WritePicture(platform.programFolder, u"p.bmp"_s, quadrants);
        for (int before = 1; before < slot; ++before) {  // on a page, p.bmp comes to the cell `slot`
            testing::WriteSolidTexture(platform.programFolder, u"a%1.pbf"_s.arg(before), 2, 2, qRgb(0, 0, 9));
        }
        Window window(platform);
        if (slot > 0) {
            window.ToggleThumbnailView();
        } else {
            window.Open(u"p.bmp"_s);
        }
        const platform::PictureBox& shown = slot > 0 ? window.Page().Cell(slot) : window.SingleView().Box();
        QVERIFY(shown.isVisible());
        QCOMPARE(shown.geometry(), box);
        QCOMPARE(shown.toolTip(),
                 u"p.bmp: %1 pixels wide, %2 pixels high"_s.arg(picture.width()).arg(picture.height()));
        const QImage& surface = shown.Surface();
        if (box.size() == picture) {
            QCOMPARE(surface.convertToFormat(QImage::Format_RGB32), quadrants);
        } else if (box.height() > 1) {  // each quadrant stays a quadrant
            QCOMPARE(surface.size(), box.size());
            QCOMPARE(surface.pixel(box.width() / 4, box.height() / 4), testing::kQuadrant[0]);
            QCOMPARE(surface.pixel(3 * box.width() / 4, 3 * box.height() / 4), testing::kQuadrant[3]);
        }
        QVERIFY(platform.messages->shown.empty());
    }

    // A limit of no height fits nothing: the fit has no answer, and the picture gets the message.
    void aPictureThatCannotBeFittedGivesTheMessage() {
        TestPlatform platform(testing::ScreenFor({1020, 100}));
        const QString path =
            testing::WritePicture(platform.programFolder, u"p.bmp"_s, testing::Quadrants(10, 10));
        Window window(platform);
        QCOMPARE(QSize(window.Geometry().viewWidth, window.Geometry().viewHeight), QSize(1000, 0));
        window.Open(u"p.bmp"_s);
        QCOMPARE(platform.messages->shown.size(), std::size_t{1});
        QCOMPARE(platform.messages->shown.front().text, kCannotDisplay + path);
        QCOMPARE(window.Single(), -1);
    }

    // Decoders that refuse are the picture loader's and the texture reader's own tests; here each way the
    // window learns of it.
    void whatCannotBeShownGivesOneMessage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");  // "<gone>": removed once listed; "<fifo>": a FIFO then
        QTest::addColumn<bool>("texture");        // "Not a valid texture file", or "cannot display"
        QTest::newRow("broken JPEG") << u"b.jpg"_s << QByteArray("\xff\xd8\xff\xe0 this is no JPEG") << false;
        QTest::newRow("short texture") << u"b.mip"_s << QByteArray("PIM too short") << true;
        QTest::newRow("empty texture") << u"b.srb"_s << QByteArray() << true;
        // A canvas as wide as the pixel cap allows, too wide for the toolkit to make.
        QTest::newRow("texture 2^26 x 1")
            << u"b.pbf"_s
            << testing::BytesOf(samples::BareImageFile({3, 1 << 26, 1, 1 << 27}, samples::Bytes(2, 0x7F)))
            << true;
        for (const char* name : {"b.mip", "b.jpg"}) {
            QTest::addRow("vanished %s", name) << QString::fromLatin1(name) << QByteArray("<gone>") << false;
            QTest::addRow("FIFO named %s", name)
                << QString::fromLatin1(name) << QByteArray("<fifo>") << false;
        }
    }

    // After a good picture, each gets one message; the box is hidden, the title and the hover text stay
    // as they were, and the window shows the good one again. On a page, its cell stays empty.
    void whatCannotBeShownGivesOneMessage() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, texture);
        TestPlatform platform;
        testing::WriteSolidTexture(platform.programFolder, u"a-good.pbf"_s, 12, 6, qRgb(0, 0, 255));
        const bool replaced = content.startsWith('<');
        const QString path = testing::WriteBytes(platform.programFolder, name, replaced ? "x" : content);
        Window window(platform);
        window.Open(u"a-good.pbf"_s);
        const QString title = window.windowTitle();
        const QString hover = window.SingleView().Box().toolTip();
        if (replaced) {
            QFile::remove(path);
            QVERIFY(content == "<gone>" || ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        }
        window.Open(name);
        QCOMPARE(platform.messages->shown.size(), std::size_t{1});
        const testing::ShownMessage message = platform.messages->shown.front();
        QCOMPARE(message.caption, u"Tamsel Image Viewer"_s);
        QCOMPARE(message.text, texture ? u"Not a valid texture file"_s : kCannotDisplay + path);
        QCOMPARE(message.icon, platform::MessageIcon::Warning);
        QCOMPARE(window.Single(), -1);
        QCOMPARE(window.windowTitle(), title);
        QCOMPARE(window.SingleView().Box().toolTip(), hover);
        QVERIFY(!platform::MousePointer::IsBusy());
        window.Open(u"a-good.pbf"_s);
        QCOMPARE(window.Single(), 2);

        window.ToggleThumbnailView();
        QCOMPARE(platform.messages->shown.size(), std::size_t{2});
        QCOMPARE(platform.messages->shown.back().text, message.text);
        QCOMPARE(window.Cells(), (QList<int>{2, -1, -1, -1, -1, -1, -1, -1, -1}));
    }

    // After a resize the picture keeps the start-up limits and is drawn from what its box holds, without
    // reading the file again; a file changed on disk is read again.
    void aResizeKeepsTheLimitsAndReadsOnlyWhatChanged() {
        TestPlatform platform(testing::ScreenFor({1020, 800}));
        testing::WritePicture(platform.programFolder, u"photo.jpg"_s, testing::Quadrants(4000, 1000));
        Window window(platform);
        testing::OpenCounter counter(platform.programFolder);
        window.Open(u"photo.jpg"_s);
        QCOMPARE(window.SingleView().Box().geometry(), QRect(10, 235, 1000, 250));
        const QSize size = window.size();
        window.resize(size.width() - 510, size.height());
        QCOMPARE(window.SingleView().Box().geometry(), QRect(-245, 235, 1000, 250));
        QCOMPARE(QSize(window.Geometry().viewWidth, window.Geometry().viewHeight), QSize(1000, 700));
        QCOMPARE(counter.Opens(u"photo.jpg"_s), 1);

        testing::WritePicture(platform.programFolder, u"photo.jpg"_s,
                              testing::SolidImage(300, 200, qRgb(0, 0, 250)));
        window.resize(size);
        QCOMPARE(counter.Opens(u"photo.jpg"_s), 2);
        QCOMPARE(window.SingleView().Box().geometry(), QRect(360, 260, 300, 200));

        // Limits that grow (the start-up placement made again for a larger inner area) fit the picture
        // anew, larger: what the box holds was fitted to the smaller ones.
        testing::WritePicture(platform.programFolder, u"photo.jpg"_s, testing::Quadrants(4000, 1000));
        window.resize(size.width() - 510, size.height());
        QCOMPARE(window.SingleView().Box().size(), QSize(1000, 250));
        window.resize(size.width() + 1000, size.height());
        window.PlaceControls();
        window.resize(size);
        QCOMPARE(window.SingleView().Box().size(), QSize(2000, 500));
    }

    // A texture without a palette of its own took the colours of the one before it; drawn again after
    // another palette came in, it shows that palette, as reading it in order would.
    void aTextureWithoutAPaletteIsDrawnAgainWithTheCurrentOne() {
        TestPlatform platform;
        WriteIndexZeroMip(platform.programFolder, u"a.mip"_s, samples::Rgb(255, 0, 0));
        WriteIndexZeroMip(platform.programFolder, u"b.mip"_s, std::nullopt);
        WriteIndexZeroMip(platform.programFolder, u"c.mip"_s, samples::Rgb(0, 0, 255));
        Window window(platform);
        window.Open(u"a.mip"_s);
        window.Next();
        QCOMPARE(window.SingleView().Box().Surface().pixel(0, 0), qRgb(255, 0, 0));
        // A page of all three leaves the palette of c.mip; back to b.mip in the single view.
        window.ToggleThumbnailView();
        window.ClickCell(2);
        window.ToggleThumbnailView();
        QCOMPARE(window.State().folder.SelectedName(), u"b.mip"_s);
        QCOMPARE(window.SingleView().Box().Surface().pixel(0, 0), qRgb(0, 0, 255));

        // Made ready beside a.mip with its palette, b.mip is shown after c.mip in c.mip's.
        Window again(platform);
        again.Open(u"a.mip"_s);
        again.Previous();
        again.Previous();
        QCOMPARE(again.State().folder.SelectedName(), u"b.mip"_s);
        QCOMPARE(again.SingleView().Box().Surface().pixel(0, 0), qRgb(0, 0, 255));
    }

    // A clicked cell is framed in the highlight colour and nothing else on the page changes; the frame
    // stays through a resize and through Open and back, Enter opens its file, and a new page has none.
    void theClickedCellIsFramed() {
        TestPlatform platform;
        Window window(platform, 12);
        window.ToggleThumbnailView();
        const QColor highlight = window.palette().color(QPalette::Highlight);
        // The page above the buttons' row, as drawn.
        const auto page = [&window] {
            QWidget& inner = *window.centralWidget();
            return inner.grab(QRect(0, 0, inner.width(), window.Buttons().Middle()->y())).toImage();
        };
        // Where the frame's line runs around cell `cell`: 1 to 3 pixels out of it.
        const auto ring = [&window](int cell) {
            const QRect box = window.Page().Cell(cell).geometry();
            return QRegion(box.adjusted(-3, -3, 3, 3)).subtracted(box.adjusted(-1, -1, 1, 1));
        };
        const auto framed = [&](int cell) {
            const QImage drawn = page();
            for (const QRect& part : ring(cell)) {
                for (const QPoint at : {part.topLeft(), part.bottomRight()}) {
                    if (drawn.pixelColor(at) != highlight) {
                        return false;
                    }
                }
            }
            return true;
        };
        const QImage before = page();
        QTest::mouseClick(&window.Page().Cell(2), Qt::LeftButton);
        QVERIFY(framed(2));
        const QImage after = page();
        const QRegion line = ring(2);
        for (int y = 0; y < before.height(); ++y) {
            for (int x = 0; x < before.width(); ++x) {
                QVERIFY(before.pixel(x, y) == after.pixel(x, y) || line.contains(QPoint(x, y)));
            }
        }

        window.resize(window.size() - QSize(300, 200));
        QVERIFY(framed(2));
        QTest::keyClick(&window, Qt::Key_Return);  // Open for cell 2: its file full size
        QCOMPARE(window.Single(), 1);
        window.MiddleClicked();  // back to the page
        QVERIFY(framed(2));
        QTest::mouseClick(&window.Page().Cell(5), Qt::LeftButton);
        QVERIFY(framed(5) && !framed(2));
        QTest::keyClick(&window, Qt::Key_Return);
        QCOMPARE(window.Single(), 4);
        window.MiddleClicked();
        window.Next();
        QVERIFY(!framed(5));
        QTest::keyClick(&window, Qt::Key_Return);
        QCOMPARE(window.Single(), -1);
    }

    // While a picture is looked at, its neighbours and the next page are read ahead: stepping to them
    // opens no file and shows what opening it would, and going back a page opens nothing either.
    void neighboursAndPagesAreReadAhead() {
        TestPlatform platform;
        QStringList names;
        for (int i = 0; i < 12; ++i) {
            names << u"p%1.jpg"_s.arg(i, 2, 10, QLatin1Char('0'));
            testing::WritePicture(platform.programFolder, names.back(),
                                  testing::Quadrants(1200 + 10 * i, 900));
        }
        Window window(platform);
        testing::OpenCounter counter(platform.programFolder);
        window.Open(names[0]);
        QTRY_VERIFY(counter.Opens(names[1]) == 1 && counter.Opens(names[11]) == 1);
        window.Next();
        QCOMPARE(counter.Opens(names[1]), 1);
        const QImage readAhead = window.SingleView().Box().Surface();

        window.ToggleThumbnailView();
        // The next page is read ahead: the three files not on this page (p11 once already, as a neighbour).
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
        window.Next();
        QCOMPARE(window.State().pageStart, 9);
        window.Previous();
        QCOMPARE(window.State().pageStart, 0);
        QCOMPARE(allOpens(), before);
        QVERIFY(platform.messages->shown.empty());

        Window opened(platform);
        opened.Open(names[1]);
        QCOMPARE(readAhead, opened.SingleView().Box().Surface());
    }

    // A picture the single view leaves is kept as it was shown: stepping back and forth over three
    // files, each a neighbour of the others, reads each of them once, and each shows as it did.
    void stepsBackAndForthReadEachFileOnce() {
        TestPlatform platform;
        const QStringList names{u"a.jpg"_s, u"b.pbf"_s, u"c.jpg"_s};
        testing::WritePicture(platform.programFolder, names[0], testing::Quadrants(1600, 1200));
        testing::WriteSolidTexture(platform.programFolder, names[1], 64, 32, qRgb(0, 120, 0));
        testing::WritePicture(platform.programFolder, names[2], testing::Quadrants(640, 480));
        Window window(platform);
        testing::OpenCounter counter(platform.programFolder);
        window.Open(names[0]);
        QTRY_VERIFY(counter.Opens(names[1]) == 1 && counter.Opens(names[2]) == 1);
        QHash<QString, QImage> shown;
        for (const int step : {+1, -1, +1, +1, -1, -1}) {
            shown.insert(window.State().folder.SelectedName(), window.SingleView().Box().Surface());
            step > 0 ? window.Next() : window.Previous();
            const QString name = window.State().folder.SelectedName();
            if (shown.contains(name)) {
                QCOMPARE(window.SingleView().Box().Surface(), shown.value(name));
            }
        }
        QCOMPARE(window.State().folder.SelectedName(), names[0]);
        for (const QString& name : names) {
            QCOMPARE(counter.Opens(name), 1);
        }
        QVERIFY(platform.messages->shown.empty());
    }

    // Beside both neighbours, the picture two steps on the way the view last stepped is read ahead,
    // after the neighbour before it and in the palette that one leaves: stepping on as fast as pictures
    // are shown, each is ready and none is read twice; stepping back, the same the other way.
    void readsTwoStepsAheadTheWayItSteps() {
        TestPlatform platform;
        const QString& folder = platform.programFolder;
        for (const QString& name : {u"a.jpg"_s, u"d.jpg"_s, u"e.jpg"_s, u"f.jpg"_s}) {
            testing::WritePicture(folder, name, testing::Quadrants(320, 240));
        }
        WriteIndexZeroMip(folder, u"b.mip"_s, samples::Rgb(0, 200, 0));
        WriteIndexZeroMip(folder, u"c.mip"_s, std::nullopt);
        {
            testing::OpenCounter counter(folder);
            Window window(platform);
            window.Open(u"a.jpg"_s);
            QTRY_VERIFY(counter.Opens(u"b.mip"_s) == 1 && counter.Opens(u"c.mip"_s) == 1 &&
                        counter.Opens(u"f.jpg"_s) == 1);
            QCOMPARE(counter.Opens(u"e.jpg"_s), 0);
            window.Next();
            window.Next();
            QCOMPARE(window.State().folder.SelectedName(), u"c.mip"_s);
            QCOMPARE(window.SingleView().Box().Surface().pixel(0, 0), qRgb(0, 200, 0));
            QCOMPARE(counter.Opens(u"b.mip"_s), 1);
            QCOMPARE(counter.Opens(u"c.mip"_s), 1);
            QTRY_VERIFY(counter.Opens(u"d.jpg"_s) == 1 && counter.Opens(u"e.jpg"_s) == 1);
        }
        testing::OpenCounter backCounter(folder);
        Window back(platform);
        back.Open(u"f.jpg"_s);
        back.Previous();
        QTRY_VERIFY(backCounter.Opens(u"d.jpg"_s) == 1 && backCounter.Opens(u"c.mip"_s) == 1);
        back.Previous();
        back.Previous();
        QCOMPARE(back.State().folder.SelectedName(), u"c.mip"_s);
        for (const QString& name : {u"c.mip"_s, u"d.jpg"_s, u"e.jpg"_s, u"f.jpg"_s}) {
            QVERIFY2(backCounter.Opens(name) == 1, qPrintable(name));
        }
        QVERIFY(platform.messages->shown.empty());
    }

    // Names that are not valid UTF-8 keep their bytes end to end: the folder is entered from the folder
    // list, its files open and step, and the folder is remembered and restored.
    void namesThatAreNotValidText() {
        TestPlatform platform;
        const QByteArray folder = QFile::encodeName(platform.programFolder) + "/caf\xe9-latin1";
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        // The sandbox cannot remove names that are not text: this folder goes by its bytes.
        const auto remove = qScopeGuard([&] { std::filesystem::remove_all(folder.constData()); });
        const QString staging = testing::MakeFolder(platform.sandbox.path(), u"staging"_s);
        testing::WriteSolidTexture(staging, u"a.pbf"_s, 4, 4, qRgb(255, 0, 0));
        testing::WritePicture(staging, u"b.bmp"_s, testing::SolidImage(6, 3, qRgb(0, 255, 0)));
        QVERIFY(::rename(QFile::encodeName(staging + "/a.pbf").constData(),
                         (folder + "/bad\xff\xfe name.pbf").constData()) == 0);
        QVERIFY(::rename(QFile::encodeName(staging + "/b.bmp").constData(),
                         (folder + "/bad\xc3(.bmp").constData()) == 0);
        {
            Window window(platform);
            int entry = 0;
            while (!window.Browser().Folders().EntryPath(entry).contains(u"-latin1"_s)) {
                QVERIFY(++entry < window.Browser().Folders().count());
            }
            window.ChangeFolder(
                window.Browser().Folders().EntryPath(entry));  // what a double click on it does
            QCOMPARE(window.State().folder.Count(), 2);
            window.ChooseFile(0);
            window.OpenChosenFile();
            window.Next();
            QVERIFY(platform.messages->shown.empty());
            QCOMPARE(window.SingleView().Box().size(), QSize(4, 4));
            window.Next();
            QCOMPARE(window.SingleView().Box().size(), QSize(6, 3));
            QCOMPARE(window.SingleView().Box().Surface().pixel(0, 0), qRgb(0, 255, 0));
            window.Exit();
        }
        const Window restarted(platform);
        QCOMPARE(restarted.State().folder.Count(), 2);
    }
};

QTEST_MAIN(DisplayTest)
#include "DisplayTest.moc"
