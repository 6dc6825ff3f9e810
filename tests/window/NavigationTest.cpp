// Previous, Next and the middle button; thumbnail pages; the proportional layout on resize.
#include <QAction>
#include <QDir>
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
#include "shell/FrmImageViewer.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using testing::TestPlatform;

namespace {

// A shown window over a folder of `count` numbered textures, and the entries its boxes show.
struct Folder {
    explicit Folder(int count, TestPlatform& platform)
        : window((testing::WriteNumberedTextures(platform.programFolder, count), platform.Build())) {
        window.show();
    }
    QList<int> Cells() const {
        QList<int> entries;
        for (std::size_t slot = 1; slot <= 9; ++slot) {
            entries << testing::EntryShownIn(*window.Picture3[slot]);
        }
        return entries;
    }
    int Single() const { return testing::EntryShownIn(*window.Picture3[0]); }
    FrmImageViewer window;
};

struct ButtonState {
    QString caption;
    bool enabled;
    bool visible;
    QString tip;
};

ButtonState StateOf(const QPushButton* button) {
    return {button->text(), button->isEnabled(), button->isVisible(), button->toolTip()};
}

void Expect(const QPushButton* button, const ButtonState& expected) {
    const ButtonState actual = StateOf(button);
    QCOMPARE(actual.caption, expected.caption);
    QCOMPARE(actual.enabled, expected.enabled);
    QCOMPARE(actual.visible, expected.visible);
    QCOMPARE(actual.tip, expected.tip);
}

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
    void previousAndNextWrapInTheSingleView_data();
    void previousAndNextWrapInTheSingleView();
    void previousAndNextDoNothingOnAnEmptyList();
    void buttonsFollowTheViewThroughEveryMode();
    void pagesFillAndWrap();
    void aSmallFolderFillsOnePage();
    void nextPageStartsAfterAClickedCell();
    void aCellClickSelectsItsFileAcrossTheWrap();
    void aDoubleClickOpensFullSizeAndThumbNailsReturns();
    void leavingTheViewOpensTheSelectedFile();
    void cellClicksOutsideTheThumbnailViewDoNothing();
    void aFolderChangeInTheThumbnailViewShowsItsFirstPage();
    void aFileOfNoKnownKindLeavesItsCellEmpty();
    void resizingMovesEveryControlButTheDriveList();
    void resizingRedrawsWhatIsOnShow();
    void aResizeDrawsOnceAndNeverInsideAMessage();
};

void NavigationTest::previousAndNextWrapInTheSingleView_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("afterNext");
    QTest::addColumn<QList<int>>("afterPrevious");
    QTest::newRow("four files from the last") << 4 << 3 << QList<int>{0, 1} << QList<int>{0, 3};
    QTest::newRow("one file") << 1 << 0 << QList<int>{0, 0} << QList<int>{0, 0};
}

void NavigationTest::previousAndNextWrapInTheSingleView() {
    QFETCH(int, count);
    QFETCH(int, start);
    QFETCH(QList<int>, afterNext);
    QFETCH(QList<int>, afterPrevious);
    TestPlatform platform;
    Folder folder(count, platform);
    FrmImageViewer& window = folder.window;
    window.filList->SetListIndex(start);
    window.filList_DblClick();
    for (const int expected : afterNext) {
        QTest::mouseClick(window.cmdNext, Qt::LeftButton);
        QCOMPARE(window.filList->ListIndex(), expected);
        QCOMPARE(folder.Single(), expected);
    }
    for (const int expected : afterPrevious) {
        QTest::mouseClick(window.cmdPrevious, Qt::LeftButton);
        QCOMPARE(window.filList->ListIndex(), expected);
        QCOMPARE(folder.Single(), expected);
    }
    QVERIFY(!platform::MousePointer::IsBusy());
}

void NavigationTest::previousAndNextDoNothingOnAnEmptyList() {
    TestPlatform platform;
    Folder folder(0, platform);
    FrmImageViewer& window = folder.window;
    window.filList_DblClick();
    window.cmdNext_Click();
    window.cmdPrevious_Click();
    window.mnuViewThumbnails_Click();
    window.cmdNext_Click();
    window.cmdPrevious_Click();
    QCOMPARE(window.PageStart, 0);
    QCOMPARE(folder.Cells(), QList<int>(9, -1));
    QVERIFY(platform.messages->shown.empty());
}

void NavigationTest::buttonsFollowTheViewThroughEveryMode() {
    TestPlatform platform;
    Folder folder(12, platform);
    FrmImageViewer& window = folder.window;

    // Entering the thumbnail view.
    window.mnuViewThumbnails->trigger();
    QVERIFY(window.mnuViewThumbnails->isChecked());
    QVERIFY(!window.SlideShowMenuHeader->menuAction()->isEnabled());
    QVERIFY(window.ThumbMode);
    QVERIFY(!window.Frame1->isVisible());
    Expect(window.cmdPrevious, {"Previous", true, true, "Previous Thumbnails"});
    Expect(window.cmdStop, {"Open", false, false, "Open Selected File"});
    Expect(window.cmdNext, {"Next", true, true, "Next ThumbNails"});

    // A single click on a cell shows "Open".
    QTest::mouseClick(window.Picture3[2], Qt::LeftButton);
    QCOMPARE(window.filList->ListIndex(), 1);
    QCOMPARE(window.windowTitle(), QStringLiteral("Tamsel Image Viewer: t01.pbf"));
    Expect(window.cmdStop, {"Open", true, true, "Open Selected File"});

    // "Open" shows it full size.
    QTest::mouseClick(window.cmdStop, Qt::LeftButton);
    QVERIFY(!window.ThumbMode);
    QCOMPARE(folder.Single(), 1);
    QCOMPARE(folder.Cells(), QList<int>(9, -1));
    QVERIFY(!window.Label2->isVisible());
    QVERIFY(!window.mnuOpenFile->isEnabled());
    QVERIFY(window.mnuViewThumbnails->isChecked());
    Expect(window.cmdPrevious, {"Previous", false, true, "Previous Thumbnails"});
    Expect(window.cmdStop, {"ThumbNails", true, true, "View More Thumbnails"});
    Expect(window.cmdNext, {"Next", false, true, "Next ThumbNails"});

    // "ThumbNails" returns to the page.
    QTest::mouseClick(window.cmdStop, Qt::LeftButton);
    QVERIFY(window.ThumbMode);
    QVERIFY(window.Label2->isVisible());
    QVERIFY(!window.Picture3[0]->isVisible());
    QVERIFY(window.mnuOpenFile->isEnabled());
    Expect(window.cmdPrevious, {"Previous", true, true, "Previous Thumbnails"});
    Expect(window.cmdStop, {"Open", false, false, "View Thumbnails"});
    Expect(window.cmdNext, {"Next", true, true, "Next Thumbnails"});

    // Leaving the thumbnail view.
    window.mnuViewThumbnails->trigger();
    QVERIFY(!window.mnuViewThumbnails->isChecked());
    QVERIFY(window.SlideShowMenuHeader->menuAction()->isEnabled());
    QVERIFY(window.mnuOpenFile->isEnabled());
    QVERIFY(!window.ThumbMode);
    Expect(window.cmdPrevious, {"Previous", true, true, "Previous Image"});
    Expect(window.cmdStop, {"Open", false, false, "View Thumbnails"});
    Expect(window.cmdNext, {"Next", true, true, "Next Image"});

    // "Open File" brings the browser back with "Open" disabled.
    window.mnuOpenFile->trigger();
    Expect(window.cmdPrevious, {"Previous", true, false, "Previous Image"});
    Expect(window.cmdStop, {"Open", false, true, "View Thumbnails"});
    Expect(window.cmdNext, {"Next", true, false, "Next Image"});
}

void NavigationTest::pagesFillAndWrap() {
    TestPlatform platform;
    Folder folder(12, platform);
    FrmImageViewer& window = folder.window;
    window.mnuViewThumbnails_Click();
    QCOMPARE(window.PageStart, 0);
    QCOMPARE(folder.Cells(), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    QCOMPARE(window.filList->ListIndex(), 8);
    QCOMPARE(window.windowTitle(), QStringLiteral("Tamsel Image Viewer: t08.pbf"));
    for (std::size_t slot = 1; slot <= 9; ++slot) {
        QCOMPARE(window.Picture3[slot]->pos(),
                 QPoint(window.ThumbCellPos[slot - 1], window.ThumbCellPos[slot + 8]));
    }

    window.cmdNext_Click();
    QCOMPARE(window.PageStart, 9);
    QCOMPARE(folder.Cells(), (QList<int>{9, 10, 11, 0, 1, 2, 3, 4, 5}));
    window.cmdNext_Click();
    QCOMPARE(window.PageStart, 6);
    window.cmdPrevious_Click();
    QCOMPARE(window.PageStart, 9);
    window.PageStart = 0;
    window.cmdPrevious_Click();
    QCOMPARE(window.PageStart, 3);
    QCOMPARE(folder.Cells(), (QList<int>{3, 4, 5, 6, 7, 8, 9, 10, 11}));
    QVERIFY(!platform::MousePointer::IsBusy());
}

void NavigationTest::aSmallFolderFillsOnePage() {
    TestPlatform platform;
    Folder folder(5, platform);
    FrmImageViewer& window = folder.window;
    window.mnuViewThumbnails_Click();
    QCOMPARE(folder.Cells(), (QList<int>{0, 1, 2, 3, 4, -1, -1, -1, -1}));
    window.cmdNext_Click();
    QCOMPARE(window.PageStart, 0);
    window.cmdPrevious_Click();
    QCOMPARE(window.PageStart, 0);
    QCOMPARE(folder.Cells(), (QList<int>{0, 1, 2, 3, 4, -1, -1, -1, -1}));
}

void NavigationTest::nextPageStartsAfterAClickedCell() {
    TestPlatform platform;
    Folder folder(12, platform);
    FrmImageViewer& window = folder.window;
    window.mnuViewThumbnails_Click();
    window.Picture3_Click(2);
    window.cmdNext_Click();
    QCOMPARE(window.PageStart, 2);
    QCOMPARE(folder.Cells(), (QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

void NavigationTest::aCellClickSelectsItsFileAcrossTheWrap() {
    TestPlatform platform;
    Folder folder(10, platform);
    FrmImageViewer& window = folder.window;
    window.mnuViewThumbnails_Click();
    window.PageStart = 8;
    window.ShowThumbnailPage();
    QCOMPARE(folder.Cells(), (QList<int>{8, 9, 0, 1, 2, 3, 4, 5, 6}));
    window.Picture3_Click(3);
    QCOMPARE(window.filList->ListIndex(), 0);
}

void NavigationTest::aDoubleClickOpensFullSizeAndThumbNailsReturns() {
    TestPlatform platform;
    Folder folder(12, platform);
    FrmImageViewer& window = folder.window;
    window.mnuViewThumbnails_Click();
    window.cmdNext_Click();
    const QList<int> page = folder.Cells();
    QTest::mouseDClick(window.Picture3[4], Qt::LeftButton);
    QCOMPARE(folder.Single(), 0);
    QCOMPARE(window.cmdStop->text(), QStringLiteral("ThumbNails"));
    QVERIFY(!window.cmdPrevious->isEnabled());
    QVERIFY(!window.cmdNext->isEnabled());
    window.cmdStop_Click();
    QCOMPARE(window.PageStart, 9);
    QCOMPARE(folder.Cells(), page);
    // The release that would have ended the double click never came to the hidden cell: the next
    // click on it is a click of its own.
    QTest::mouseClick(window.Picture3[4], Qt::LeftButton);
    QCOMPARE(window.filList->ListIndex(), 0);
    QVERIFY(window.cmdStop->isVisible());
}

void NavigationTest::leavingTheViewOpensTheSelectedFile() {
    TestPlatform platform;
    Folder folder(12, platform);
    FrmImageViewer& window = folder.window;
    window.mnuViewThumbnails_Click();
    window.mnuViewThumbnails_Click();
    QCOMPARE(folder.Single(), 8);
    QCOMPARE(folder.Cells(), QList<int>(9, -1));
}

void NavigationTest::cellClicksOutsideTheThumbnailViewDoNothing() {
    TestPlatform platform;
    Folder folder(3, platform);
    FrmImageViewer& window = folder.window;
    window.filList->SetListIndex(2);
    window.filList_DblClick();
    const QString title = window.windowTitle();
    window.Picture3_Click(0);
    window.Picture3_DblClick(0);
    QCOMPARE(window.filList->ListIndex(), 2);
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(folder.Single(), 2);
}

void NavigationTest::aFolderChangeInTheThumbnailViewShowsItsFirstPage() {
    TestPlatform platform;
    const QString pictures = testing::MakeFolder(platform.sandbox.path(), QStringLiteral("pictures"));
    const QString empty = testing::MakeFolder(platform.sandbox.path(), QStringLiteral("empty"));
    testing::WriteSolidTexture(pictures, QStringLiteral("only.pbf"), 30, 5, qRgb(0, 0, 255));
    Folder folder(12, platform);
    FrmImageViewer& window = folder.window;
    window.mnuViewThumbnails_Click();
    window.cmdNext_Click();
    window.mnuOpenFile_Click();
    QVERIFY(window.Frame1->isVisible());
    QVERIFY(window.ThumbMode);

    QVERIFY(window.dirList->SetPath(empty));
    QVERIFY(window.Frame1->isVisible());

    QVERIFY(window.dirList->SetPath(pictures));
    QVERIFY(!window.Frame1->isVisible());
    QCOMPARE(window.PageStart, 0);
    QCOMPARE(folder.Cells(), (QList<int>{20, -1, -1, -1, -1, -1, -1, -1, -1}));
    Expect(window.cmdPrevious, {"Previous", true, true, "Previous Thumbnails"});
    QVERIFY(!window.cmdStop->isVisible());
    Expect(window.cmdNext, {"Next", true, true, "Next ThumbNails"});
}

void NavigationTest::aFileOfNoKnownKindLeavesItsCellEmpty() {
    TestPlatform platform;
    testing::WriteSolidTexture(platform.programFolder, QStringLiteral("a.pbf"), 10, 5, qRgb(255, 0, 0));
    testing::WriteSolidTexture(platform.programFolder, QStringLiteral("b.Pbf"), 11, 5, qRgb(255, 0, 0));
    testing::WriteSolidTexture(platform.programFolder, QStringLiteral("c.pbf"), 12, 5, qRgb(255, 0, 0));
    FrmImageViewer window(platform.Build());
    window.show();
    window.filList->SetPattern(QStringLiteral("*"));
    window.mnuViewThumbnails_Click();
    QCOMPARE(testing::EntryShownIn(*window.Picture3[1]), 0);
    QVERIFY(!window.Picture3[2]->isVisible());
    QCOMPARE(testing::EntryShownIn(*window.Picture3[3]), 2);
    window.Picture3_Click(2);
    QCOMPARE(window.filList->FileName(), QStringLiteral("b.Pbf"));
    // Stepping onto it in the single view moves on and draws nothing.
    window.mnuViewThumbnails_Click();
    window.filList->SetListIndex(0);
    window.OpenSelectedImage(0);
    window.cmdNext_Click();
    QCOMPARE(window.filList->ListIndex(), 1);
    QCOMPARE(testing::EntryShownIn(*window.Picture3[0]), 0);
    window.cmdNext_Click();
    QCOMPARE(testing::EntryShownIn(*window.Picture3[0]), 2);
}

void NavigationTest::resizingMovesEveryControlButTheDriveList() {
    TestPlatform platform;
    Folder folder(3, platform);
    FrmImageViewer& window = folder.window;
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

void NavigationTest::resizingRedrawsWhatIsOnShow() {
    TestPlatform platform;
    Folder folder(12, platform);
    FrmImageViewer& window = folder.window;
    const QSize size = window.size();

    // The browser with no selection: nothing is drawn.
    window.resize(size.width() - 100, size.height());
    QCOMPARE(folder.Single(), -1);

    // The browser with a selection: the file is shown as well.
    window.filList->SetListIndex(4);
    window.resize(size);
    QCOMPARE(folder.Single(), 4);
    QVERIFY(window.Frame1->isVisible());

    // A page: drawn again from its first file with the start-up cells.
    window.mnuViewThumbnails_Click();
    window.cmdNext_Click();
    window.resize(size.width() - 200, size.height() - 100);
    QCOMPARE(window.PageStart, 9);
    QCOMPARE(folder.Cells(), (QList<int>{9, 10, 11, 0, 1, 2, 3, 4, 5}));
    QCOMPARE(window.Picture3[5]->pos(), QPoint(window.ThumbCellPos[4], window.ThumbCellPos[13]));
    QCOMPARE(window.filList->ListIndex(), 5);
}

// A resize draws what is on show again from what the boxes hold: a file that could not be shown gives
// no second message. A resize that comes while a message is open draws once it is closed, never a box
// over a box.
void NavigationTest::aResizeDrawsOnceAndNeverInsideAMessage() {
    TestPlatform platform;
    testing::WriteBytes(platform.programFolder, QStringLiteral("a-broken.jpg"), "not a picture");
    testing::WriteSolidTexture(platform.programFolder, QStringLiteral("b-good.pbf"), 12, 6, qRgb(0, 0, 255));
    FrmImageViewer window(platform.Build());
    window.show();
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

QTEST_MAIN(NavigationTest)
#include "NavigationTest.moc"
