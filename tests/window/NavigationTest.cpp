// Previous, Next and the middle button; thumbnail pages; the proportional layout on resize.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "platform/DirListBox.h"
#include "platform/DriveListBox.h"
#include "platform/FileListBox.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
#include "support/Window.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::TestPlatform;
using testing::Window;

namespace {

const QString kOnAPage =
    u"Previous [Previous Thumbnails] | Open (disabled) (hidden) [Open Selected File] | Next [Next "
    "ThumbNails]"_s;

QList<QRect> Geometries(const FrmImageViewer& window) {
    QList<QRect> rects;
    for (const FrmImageViewer::Control& control : window.Controls) {
        if (control.widget != nullptr) {
            rects << control.widget->geometry();
        }
    }
    return rects;
}

}  // namespace

class NavigationTest : public QObject {
    Q_OBJECT
private slots:
    void previousAndNextWrapInTheSingleView_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("afterNext");
        QTest::addColumn<QList<int>>("afterPrevious");
        QTest::newRow("four files from the last") << 4 << 3 << QList<int>{0, 1} << QList<int>{0, 3};
        QTest::newRow("one file") << 1 << 0 << QList<int>{0, 0} << QList<int>{0, 0};
        QTest::newRow("no file") << 0 << -1 << QList<int>{-1} << QList<int>{-1};
    }

    void previousAndNextWrapInTheSingleView() {
        QFETCH(int, count);
        QFETCH(int, start);
        QFETCH(QList<int>, afterNext);
        QFETCH(QList<int>, afterPrevious);
        TestPlatform platform;
        Window window(platform, count);
        window.filList->SetListIndex(start);
        window.filList_DblClick();
        for (QPushButton* button : {window.cmdNext, window.cmdPrevious}) {
            for (const int expected : button == window.cmdNext ? afterNext : afterPrevious) {
                QTest::mouseClick(button, Qt::LeftButton);
                QCOMPARE(window.filList->ListIndex(), expected);
                QCOMPARE(window.Single(), expected);
            }
        }
        QVERIFY(!platform::MousePointer::IsBusy());
        QVERIFY(platform.messages->shown.empty());
    }

    void buttonsFollowTheViewThroughEveryMode() {
        TestPlatform platform;
        Window window(platform, 12);
        window.mnuViewThumbnails->trigger();
        QVERIFY(window.mnuViewThumbnails->isChecked() && window.ThumbMode && !window.Frame1->isVisible());
        QVERIFY(!window.SlideShowMenuHeader->menuAction()->isEnabled());
        QCOMPARE(window.Buttons(), kOnAPage);

        // A single click on a cell offers "Open" for its file.
        QTest::mouseClick(window.Picture3[2], Qt::LeftButton);
        QCOMPARE(window.filList->ListIndex(), 1);
        QCOMPARE(window.windowTitle(), u"Tamsel Image Viewer: t01.pbf"_s);
        QCOMPARE(window.Buttons(),
                 u"Previous [Previous Thumbnails] | Open [Open Selected File] | "
                 "Next [Next ThumbNails]"_s);

        // "Open" shows it full size.
        QTest::mouseClick(window.cmdStop, Qt::LeftButton);
        QVERIFY(!window.ThumbMode && !window.Label2->isVisible() && !window.mnuOpenFile->isEnabled());
        QCOMPARE(window.Single(), 1);
        QCOMPARE(window.Cells(), QList<int>(9, -1));
        QVERIFY(window.mnuViewThumbnails->isChecked());
        QCOMPARE(window.Buttons(),
                 u"Previous (disabled) [Previous Thumbnails] | ThumbNails [View "
                 "More Thumbnails] | Next (disabled) [Next ThumbNails]"_s);

        // "ThumbNails" returns to the page.
        QTest::mouseClick(window.cmdStop, Qt::LeftButton);
        QVERIFY(window.ThumbMode && window.Label2->isVisible() && window.mnuOpenFile->isEnabled());
        QCOMPARE(window.Single(), -1);
        QCOMPARE(window.Buttons(),
                 u"Previous [Previous Thumbnails] | Open (disabled) (hidden) "
                 "[View Thumbnails] | Next [Next Thumbnails]"_s);

        // Leaving the thumbnail view shows the selected file, the last of the page; clicks on the single
        // view are no cell clicks.
        window.mnuViewThumbnails->trigger();
        QVERIFY(!window.mnuViewThumbnails->isChecked() && !window.ThumbMode);
        window.Picture3_Click(0);
        window.Picture3_DblClick(0);
        QCOMPARE(window.Single(), 8);
        QCOMPARE(window.filList->ListIndex(), 8);
        QCOMPARE(window.Cells(), QList<int>(9, -1));
        QCOMPARE(window.windowTitle(), u"Tamsel Image Viewer: t08.pbf"_s);
        QVERIFY(window.SlideShowMenuHeader->menuAction()->isEnabled() && window.mnuOpenFile->isEnabled());
        QCOMPARE(window.Buttons(),
                 u"Previous [Previous Image] | Open (disabled) (hidden) [View "
                 "Thumbnails] | Next [Next Image]"_s);

        // "Open File" brings the browser back with "Open" disabled.
        window.mnuOpenFile->trigger();
        QCOMPARE(window.Buttons(),
                 u"Previous (hidden) [Previous Image] | Open (disabled) [View "
                 "Thumbnails] | Next (hidden) [Next Image]"_s);
    }

    void pages_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("steps");  // a cell clicked, Next, Previous
        QTest::addColumn<int>("pageStart");
        QTest::addColumn<QList<int>>("cells");
        QTest::addColumn<int>("selected");
        QTest::newRow("first page") << 12 << "" << 0 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8} << 8;
        QTest::newRow("Next wraps") << 12 << "N" << 9 << QList<int>{9, 10, 11, 0, 1, 2, 3, 4, 5} << 5;
        QTest::newRow("Previous wraps") << 12 << "P" << 3 << QList<int>{3, 4, 5, 6, 7, 8, 9, 10, 11} << 11;
        QTest::newRow("Next after a clicked cell")
            << 12 << "2N" << 2 << QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 10} << 10;
        QTest::newRow("one page of five") << 5 << "NP" << 0 << QList<int>{0, 1, 2, 3, 4, -1, -1, -1, -1} << 4;
        QTest::newRow("no file") << 0 << "NP" << 0 << QList<int>(9, -1) << -1;
    }

    void pages() {
        QFETCH(int, count);
        QFETCH(QString, steps);
        QFETCH(int, pageStart);
        QFETCH(QList<int>, cells);
        QFETCH(int, selected);
        TestPlatform platform;
        Window window(platform, count);
        window.mnuViewThumbnails_Click();
        for (const QChar step : steps) {
            if (step == u'N') {
                window.cmdNext_Click();
            } else if (step == u'P') {
                window.cmdPrevious_Click();
            } else {
                window.Picture3_Click(step.digitValue());
            }
        }
        QCOMPARE(window.PageStart, pageStart);
        QCOMPARE(window.Cells(), cells);
        QCOMPARE(window.filList->ListIndex(), selected);
        QVERIFY(!platform::MousePointer::IsBusy());
        QVERIFY(platform.messages->shown.empty());
    }

    // The release that would have ended the double click never comes to the hidden cell: back on the
    // page, the next click on it is a click of its own.
    void aDoubleClickOpensFullSizeAndThumbNailsReturns() {
        TestPlatform platform;
        Window window(platform, 12);
        window.mnuViewThumbnails_Click();
        window.cmdNext_Click();
        const QList<int> page = window.Cells();
        QTest::mouseDClick(window.Picture3[4], Qt::LeftButton);
        QCOMPARE(window.Single(), 0);
        QCOMPARE(window.Buttons(),
                 u"Previous (disabled) [Previous Thumbnails] | ThumbNails [View "
                 "More Thumbnails] | Next (disabled) [Next ThumbNails]"_s);
        window.cmdStop_Click();
        QCOMPARE(window.PageStart, 9);
        QCOMPARE(window.Cells(), page);
        QCOMPARE(window.filList->ListIndex(), 5);
        QTest::mouseClick(window.Picture3[4], Qt::LeftButton);
        QCOMPARE(window.filList->ListIndex(), 0);
        QVERIFY(window.cmdStop->isVisible());
    }

    // With the browser over the thumbnail view, a double click on a file opens nothing; a new folder
    // shows its first page, an empty one leaves the browser.
    void theBrowserOverTheThumbnailView() {
        TestPlatform platform;
        const QString pictures = testing::MakeFolder(platform.sandbox.path(), u"pictures"_s);
        const QString empty = testing::MakeFolder(platform.sandbox.path(), u"empty"_s);
        testing::WriteSolidTexture(pictures, u"only.pbf"_s, 30, 5, qRgb(0, 0, 255));
        Window window(platform, 12);
        window.mnuViewThumbnails_Click();
        window.cmdNext_Click();
        window.mnuOpenFile_Click();
        QVERIFY(window.Frame1->isVisible() && window.ThumbMode);
        window.filList->SetListIndex(3);
        window.filList_DblClick();
        QVERIFY(window.Frame1->isVisible());
        QCOMPARE(window.Single(), -1);
        QCOMPARE(window.Cells(), QList<int>(9, -1));

        QVERIFY(window.dirList->SetPath(empty));
        QVERIFY(window.Frame1->isVisible());
        QVERIFY(window.dirList->SetPath(pictures));
        QVERIFY(!window.Frame1->isVisible());
        QCOMPARE(window.PageStart, 0);
        QCOMPARE(window.Cells(), (QList<int>{20, -1, -1, -1, -1, -1, -1, -1, -1}));
        QCOMPARE(window.Buttons(), kOnAPage);
    }

    // A file of no known kind (here a mixed-case ending, listed as every file is) is no picture: its
    // cell stays empty; stepping onto it in the single view draws nothing, and a resize then shows nothing.
    void aFileOfNoKnownKindShowsNothing() {
        TestPlatform platform;
        for (const char* name : {"a.pbf", "b.Pbf", "c.pbf"}) {
            testing::WriteSolidTexture(platform.programFolder, QString::fromLatin1(name),
                                       10 + (name[0] - 'a'), 5, qRgb(255, 0, 0));
        }
        Window window(platform);
        window.filList->SetPattern(u"*"_s);
        window.mnuViewThumbnails_Click();
        QCOMPARE(window.Cells(), (QList<int>{0, -1, 2, -1, -1, -1, -1, -1, -1}));
        window.Picture3_Click(2);
        QCOMPARE(window.filList->FileName(), u"b.Pbf"_s);
        window.mnuViewThumbnails_Click();
        window.Open(u"a.pbf"_s);
        window.cmdNext_Click();
        QCOMPARE(window.filList->ListIndex(), 1);
        QCOMPARE(window.Single(), 0);
        window.resize(window.width() - 100, window.height());
        QCOMPARE(window.Single(), -1);
        window.cmdNext_Click();
        QCOMPARE(window.Single(), 2);
    }

    // Every control but the drive list keeps its fractions of the inner area: halving the width halves
    // lefts and widths, and a size restored puts everything back exactly.
    void resizingMovesEveryControlButTheDriveList() {
        TestPlatform platform;
        Window window(platform, 3);
        const QList<QRect> before = Geometries(window);
        const QRect drive = window.drvList->geometry();
        const QSize size = window.size();
        window.resize(size.width() / 2, size.height());
        QCOMPARE(window.drvList->geometry(), drive);
        QCOMPARE(window.cmdStop->y(), before[9].y());
        QCOMPARE(window.cmdStop->height(), before[9].height());
        QVERIFY(qAbs(window.cmdStop->x() - before[9].x() / 2.0) <= 1.0);
        QVERIFY(qAbs(window.Frame1->width() - before[1].width() / 2.0) <= 1.0);
        window.resize(size.width() * 2, size.height() + 300);
        window.resize(size);
        QCOMPARE(Geometries(window), before);
    }

    void resizingRedrawsWhatIsOnShow() {
        TestPlatform platform;
        Window window(platform, 12);
        const QSize size = window.size();
        // The browser with no selection: nothing is drawn; with one, the file is shown as well.
        window.resize(size.width() - 100, size.height());
        QCOMPARE(window.Single(), -1);
        window.filList->SetListIndex(4);
        window.resize(size);
        QCOMPARE(window.Single(), 4);
        QVERIFY(window.Frame1->isVisible());
        // A page: drawn again from its first file in the start-up cells.
        window.mnuViewThumbnails_Click();
        window.cmdNext_Click();
        const QPoint corner = window.Picture3[5]->pos();
        window.resize(size.width() - 200, size.height() - 100);
        QCOMPARE(window.PageStart, 9);
        QCOMPARE(window.Cells(), (QList<int>{9, 10, 11, 0, 1, 2, 3, 4, 5}));
        QCOMPARE(window.Picture3[5]->pos(), corner);
        QCOMPARE(window.filList->ListIndex(), 5);
    }

    // A resize draws what is on show again from what the boxes hold: a file that could not be shown gives
    // no second message. A resize that comes while a message is open draws once it is closed, never a
    // box over a box.
    void aResizeDrawsOnceAndNeverInsideAMessage() {
        TestPlatform platform;
        testing::WriteBytes(platform.programFolder, u"a-broken.jpg"_s, "not a picture");
        testing::WriteSolidTexture(platform.programFolder, u"b-good.pbf"_s, 12, 6, qRgb(0, 0, 255));
        Window window(platform);
        const QSize size = window.size();
        int open = 0;
        int mostOpen = 0;
        platform.messages->onShow = [&](const testing::ShownMessage&) {
            mostOpen = std::max(mostOpen, ++open);
            window.resize(size.width() - 100, size.height());
            --open;
        };
        window.mnuViewThumbnails_Click();
        QCOMPARE(platform.messages->shown.size(), std::size_t{1});
        QTRY_VERIFY(window.Picture3[2]->isVisible());
        QCOMPARE(window.Picture3[2]->size(), QSize(12, 6));
        QVERIFY(!window.Picture3[1]->isVisible());
        window.resize(size);
        QCOMPARE(platform.messages->shown.size(), std::size_t{1});
        QCOMPARE(mostOpen, 1);
        QCOMPARE(window.Picture3[2]->size(), QSize(12, 6));
    }
};

QTEST_MAIN(NavigationTest)
#include "NavigationTest.moc"
