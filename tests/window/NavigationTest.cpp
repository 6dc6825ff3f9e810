// Previous, Next and the middle button; thumbnail pages; the proportional layout on resize; and the
// slide show: its order, its interval, pausing and continuing, its states and its end.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstring>

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
    u"Previous [Previous Thumbnails] | Open-~ [Open Selected File] | Next [Next ThumbNails]"_s;

QList<QRect> Geometries(const FrmImageViewer& window) {
    QList<QRect> rects;
    for (const FrmImageViewer::Control& control : window.Controls) {
        if (control.widget != nullptr) {
            rects << control.widget->geometry();
        }
    }
    return rects;
}

// A window over `count` numbered textures, and what each yield of its show saw.
struct Show : testing::Window {
    Show(TestPlatform& platform, int count) : Window(platform, count) {
        platform.events->onYield = [this](double maxSeconds) {
            waits << maxSeconds;
            shown << filList->ListIndex();
            if (during) {
                during(static_cast<int>(shown.size()));
            }
        };
    }
    // Runs the show until `pictures` waits have begun, then ends it from the menu.
    void RunFor(int pictures) {
        const std::function<void(int)> before = during;
        during = [this, pictures, before](int n) {
            if (before) {
                before(n);
            }
            if (n >= pictures && mnuEndSlideShow->isEnabled()) {
                mnuEndSlideShow_Click();
            }
        };
        mnuBeginSlideShow_Click();
    }
    // The menus that a show enables and disables: "on" or "off" for File, Begin, End, Display Interval.
    QString Menus() const {
        QStringList states;
        for (const QAction* action : {FileMenuHeader->menuAction(), mnuBeginSlideShow, mnuEndSlideShow,
                                      DisplayIntervalHeader->menuAction()}) {
            states << (action->isEnabled() ? "on" : "off");
        }
        return states.join(u' ');
    }
    QList<int> shown;                 // the selection at each wait
    QList<double> waits;              // the longest wait each yield was allowed
    std::function<void(int)> during;  // runs at every yield with the count of yields so far
};

const QString kRunning = u"Previous- [Previous Image] | Pause [Pause Slide Show] | Next- [Next Image]"_s;

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
                 u"Previous [Previous Thumbnails] | Open [Open Selected File] | Next [Next ThumbNails]"_s);

        // "Open" shows it full size.
        QTest::mouseClick(window.cmdStop, Qt::LeftButton);
        QVERIFY(!window.ThumbMode && !window.Label2->isVisible() && !window.mnuOpenFile->isEnabled());
        QCOMPARE(window.Single(), 1);
        QCOMPARE(window.Cells(), QList<int>(9, -1));
        QVERIFY(window.mnuViewThumbnails->isChecked());
        QCOMPARE(
            window.Buttons(),
            u"Previous- [Previous Thumbnails] | ThumbNails [View More Thumbnails] | Next- [Next ThumbNails]"_s);

        // "ThumbNails" returns to the page.
        QTest::mouseClick(window.cmdStop, Qt::LeftButton);
        QVERIFY(window.ThumbMode && window.Label2->isVisible() && window.mnuOpenFile->isEnabled());
        QCOMPARE(window.Single(), -1);
        QCOMPARE(window.Buttons(),
                 u"Previous [Previous Thumbnails] | Open-~ [View Thumbnails] | Next [Next Thumbnails]"_s);

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
                 u"Previous [Previous Image] | Open-~ [View Thumbnails] | Next [Next Image]"_s);

        // "Open File" brings the browser back with "Open" disabled.
        window.mnuOpenFile->trigger();
        QCOMPARE(window.Buttons(),
                 u"Previous~ [Previous Image] | Open- [View Thumbnails] | Next~ [Next Image]"_s);
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
        QCOMPARE(
            window.Buttons(),
            u"Previous- [Previous Thumbnails] | ThumbNails [View More Thumbnails] | Next- [Next ThumbNails]"_s);
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
    // lefts and widths, and a size restored puts everything back exactly. What is on show is drawn again:
    // in the browser nothing, or the file selected; a page from its first file, in the start-up cells.
    void resizing() {
        TestPlatform platform;
        Window window(platform, 12);
        const QList<QRect> before = Geometries(window);
        const QRect drive = window.drvList->geometry();
        const QSize size = window.size();
        window.resize(size.width() / 2, size.height());
        QCOMPARE(window.drvList->geometry(), drive);
        QCOMPARE(window.cmdStop->y(), before[9].y());
        QCOMPARE(window.cmdStop->height(), before[9].height());
        QVERIFY(qAbs(window.cmdStop->x() - before[9].x() / 2.0) <= 1.0);
        QVERIFY(qAbs(window.Frame1->width() - before[1].width() / 2.0) <= 1.0);
        QCOMPARE(window.Single(), -1);
        window.resize(size.width() * 2, size.height() + 300);
        window.resize(size);
        QCOMPARE(Geometries(window), before);
        window.filList->SetListIndex(4);
        window.resize(size.width() - 100, size.height());
        QCOMPARE(window.Single(), 4);
        QVERIFY(window.Frame1->isVisible());
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

    void order_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("random");  // drawing 0.7, 0.1 and 0.999
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("three files from entry 1") << 3 << 1 << false << QList<int>{2, 0, 1, 2};
        QTest::newRow("from no selection") << 3 << -1 << false << QList<int>{0, 1, 2, 0};
        QTest::newRow("one file") << 1 << 0 << false << QList<int>{0, 0, 0};
        QTest::newRow("one file at random") << 1 << 0 << true << QList<int>{0, 0, 0};
        QTest::newRow("no file: no show") << 0 << -1 << false << QList<int>{};
    }

    // In name order from the one after the selection; every wait is given the start-up 3 seconds.
    void order() {
        QFETCH(int, count);
        QFETCH(int, selected);
        QFETCH(bool, random);
        QFETCH(QList<int>, shown);
        TestPlatform platform;
        Show show(platform, count);
        show.filList->SetListIndex(selected);
        if (random) {
            show.mnuRandomShow_Click();
            platform.random->draws = {0.7, 0.1, 0.999};
        }
        show.RunFor(static_cast<int>(shown.size()));
        QCOMPARE(show.shown, shown);
        QCOMPARE(show.waits, QList<double>(shown.size(), 3.0));
    }

    // Each random pick draws from a source seeded from the clock; the order may change during a show.
    void randomOrder() {
        TestPlatform platform;
        Show show(platform, 6);
        show.mnuRandomShow->trigger();
        QVERIFY(!show.mnuSequentialShow->isChecked() && show.mnuRandomShow->isChecked());
        platform.random->draws = {0.0, 0.99, 0.5, 0.2};
        show.during = [&show](int n) {
            if (n == 4) {
                show.mnuSequentialShow->trigger();
            }
        };
        show.RunFor(6);
        QCOMPARE(show.shown, (QList<int>{0, 5, 3, 1, 2, 3}));
        QCOMPARE(platform.random->seeds.size(), std::size_t{4});
        QCOMPARE(platform.random->seeds[1], platform.random->seeds[0] + 3.0);
    }

    void theIntervalIsReadAtStartAndAtContinueOnly() {
        TestPlatform platform;
        Show show(platform, 4);
        show.mnuDisplayInterval[2]->trigger();  // 5 seconds
        show.during = [&show](int n) {
            if (n == 1) {
                show.mnuDisplayInterval_Click(6);  // 60 seconds, for the next start
            } else if (n == 2) {
                show.cmdStop_Click();  // Pause
            } else if (n == 3) {
                show.mnuEndSlideShow_Click();
            }
        };
        show.mnuBeginSlideShow_Click();
        show.cmdStop_Click();  // Continue
        QCOMPARE(show.waits, (QList<double>{5.0, 5.0, 60.0}));
    }

    // Running, then paused (the menus as while running, Previous and Next step by hand), then continued
    // at once with the file after the one stepped to, and ended.
    void runningPausedContinuedAndEnded() {
        TestPlatform platform;
        Show show(platform, 6);
        show.Open(u"t00.pbf"_s);
        QVERIFY(!platform.screenSaver->inhibited);
        show.during = [&](int n) {
            QCOMPARE(show.Buttons(), kRunning);
            QCOMPARE(show.Menus(), u"off off on off"_s);
            QVERIFY(!show.Frame1->isVisible() && !show.Label2->isVisible());
            QVERIFY(show.mnuSequentialShow->isEnabled() && show.mnuRandomShow->isEnabled());
            QVERIFY(platform.screenSaver->inhibited);
            if (n == 2) {
                QTest::mouseClick(show.cmdStop, Qt::LeftButton);  // Pause
            } else if (n == 3) {
                show.mnuEndSlideShow->trigger();
            }
        };
        show.mnuBeginSlideShow_Click();
        QCOMPARE(show.shown, (QList<int>{1, 2}));
        QVERIFY(show.StopShow && !platform.screenSaver->inhibited);
        QCOMPARE(show.Buttons(),
                 u"Previous [Previous Image] | Continue [Continue Slide Show] | Next [Next Image]"_s);
        QCOMPARE(show.Menus(), u"off off on off"_s);
        QTest::mouseClick(show.cmdNext, Qt::LeftButton);
        QTest::mouseClick(show.cmdNext, Qt::LeftButton);
        QCOMPARE(show.filList->ListIndex(), 4);
        QTest::mouseClick(show.cmdStop, Qt::LeftButton);  // Continue
        QCOMPARE(show.shown, (QList<int>{1, 2, 5}));
        QCOMPARE(show.Buttons(),
                 u"Previous [Previous Image] | Pause~ [Pause Slide Show] | Next [Next Image]"_s);
        QCOMPARE(show.Menus(), u"on on off on"_s);
        QCOMPARE(show.Single(), 5);
        QVERIFY(!show.Frame1->isVisible() && !platform.screenSaver->inhibited);
    }

    // Six half-second yields to a 3-second interval, also for the picture shown a second before midnight.
    void aWaitLastsItsIntervalAcrossMidnight() {
        TestPlatform platform;
        platform.clock->now = 86'398.0;
        platform.events->step = 0.5;
        Show show(platform, 3);
        show.RunFor(13);
        QCOMPARE(show.shown, (QList<int>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2}));
        QCOMPARE(show.waits.mid(0, 3), (QList<double>{3.0, 2.5, 2.0}));
    }

    // The message comes before the wait on the broken file begins, and the show goes on after it.
    void aFileThatCannotBeShownHoldsTheShowUntilClosed() {
        TestPlatform platform;
        Show show(platform, 2);
        testing::WriteBytes(platform.programFolder, u"t01.pbf"_s, QByteArray("broken"));
        QList<int> yieldsAtMessage;
        platform.messages->onShow = [&](const testing::ShownMessage&) {
            yieldsAtMessage << platform.events->yields;
        };
        show.RunFor(3);
        QCOMPARE(show.shown, (QList<int>{0, 1, 0}));
        QCOMPARE(yieldsAtMessage, QList<int>{1});
        QCOMPARE(platform.messages->shown.front().text, u"Not a valid texture file"_s);
    }

    void theProcessEndsAtOnceFromANestedShow_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Exit") << "exit";
        QTest::newRow("closing the window") << "close";
    }

    // The real program end, in a child process: a show with the real clock and event queue is paused and
    // continued within one wait (so one show runs inside the other), then the program is ended.
    void theProcessEndsAtOnceFromANestedShow() {
        QFETCH(QString, how);
        QTemporaryDir config;
        testing::WriteNumberedTextures(testing::MakeFolder(config.path(), u"textures"_s), 3);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TAMSEL_SHOW_CHILD"_s, how);
        environment.insert(u"XDG_CONFIG_HOME"_s, config.path());
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {u"childShow"_s});
        QVERIFY(child.waitForFinished(20'000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        const QByteArray said = child.readAllStandardOutput();
        QVERIFY2(said.contains("ending the program") && !said.contains("after the end"), said.constData());
        QFile settings(config.filePath(u"Corvane Software Store/Tamsel Image Viewer.ini"_s));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll().count("LastUsedPath="), 1);
    }
};

// The child of theProcessEndsAtOnceFromANestedShow: the product's own services over the textures the
// parent wrote, which also removes them; nothing of the child's outlives its end.
static int RunChildShow(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::Platform services = platform::ProductPlatform();
    services.programFolder = qEnvironmentVariable("XDG_CONFIG_HOME") + u"/textures"_s;
    services.messages = std::make_shared<testing::RecordingMessages>();
    FrmImageViewer window(services);
    window.show();
    const QString how = qEnvironmentVariable("TAMSEL_SHOW_CHILD");
    window.mnuDisplayInterval_Click(0);
    QTimer::singleShot(0, &window, [&window] { window.mnuBeginSlideShow_Click(); });
    QTimer::singleShot(300, &window, [&window] {
        window.cmdStop_Click();  // Pause, and in the same wait ...
        QTimer::singleShot(0, &window, [&window] { window.cmdStop_Click(); });  // ... Continue
    });
    QTimer::singleShot(1200, &window, [&window, how] {
        std::printf("ending the program\n");
        std::fflush(stdout);
        if (how == u"exit"_s) {
            window.mnuExit_Click();
        } else {
            window.close();
        }
        std::printf("after the end\n");
    });
    QTimer::singleShot(5000, &app, [] { std::printf("after the end: still running\n"); });
    QApplication::exec();
    std::printf("after the end: event loop returned\n");
    return 3;
}

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "childShow") == 0) {
        return RunChildShow(1, argv);
    }
    QApplication app(argc, argv);
    NavigationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "NavigationTest.moc"
