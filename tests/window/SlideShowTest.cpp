// The slide show: its order, its interval, pausing and continuing, its states and its end.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
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
#include "platform/FileListBox.h"
#include "platform/PictureBox.h"
#include "shell/FrmImageViewer.h"
#include "shell/Registry.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using testing::TestPlatform;

namespace {

// Thrown by a test's event queue to leave a show that a handler could not end by itself.
struct LeaveShow {};

// A window over `count` small textures, and the entries its show puts on screen.
struct Show {
    Show(int count, TestPlatform& platform)
        : files(testing::WriteNumberedTextures(platform.programFolder, count)), window(platform.Build()) {
        window.show();
        platform.events->onYield = [this](double maxSeconds) {
            waits << maxSeconds;
            shown << window.filList->ListIndex();
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
            if (n == pictures && window.mnuEndSlideShow->isEnabled()) {
                window.mnuEndSlideShow_Click();
            }
        };
        window.mnuBeginSlideShow_Click();
    }
    QStringList files;
    FrmImageViewer window;
    QList<int> shown;                 // the selection at each wait
    QList<double> waits;              // the longest wait each yield was allowed
    std::function<void(int)> during;  // runs at every yield with the count of yields so far
};

void ExpectRunning(const FrmImageViewer& window) {
    QVERIFY(!window.FileMenuHeader->menuAction()->isEnabled());
    QVERIFY(!window.mnuBeginSlideShow->isEnabled());
    QVERIFY(window.mnuEndSlideShow->isEnabled());
    QVERIFY(!window.DisplayIntervalHeader->menuAction()->isEnabled());
    QVERIFY(window.mnuSequentialShow->isEnabled());
    QVERIFY(window.mnuRandomShow->isEnabled());
    QVERIFY(window.cmdPrevious->isVisible() && !window.cmdPrevious->isEnabled());
    QVERIFY(window.cmdNext->isVisible() && !window.cmdNext->isEnabled());
    QVERIFY(window.cmdStop->isVisible() && window.cmdStop->isEnabled());
    QCOMPARE(window.cmdStop->text(), QStringLiteral("Pause"));
    QCOMPARE(window.cmdStop->toolTip(), QStringLiteral("Pause Slide Show"));
    QVERIFY(!window.Frame1->isVisible());
    QVERIFY(!window.Label2->isVisible());
}

void ExpectEnded(const FrmImageViewer& window) {
    QVERIFY(window.FileMenuHeader->menuAction()->isEnabled());
    QVERIFY(window.mnuBeginSlideShow->isEnabled());
    QVERIFY(!window.mnuEndSlideShow->isEnabled());
    QVERIFY(window.DisplayIntervalHeader->menuAction()->isEnabled());
    QVERIFY(window.cmdPrevious->isVisible() && window.cmdPrevious->isEnabled());
    QVERIFY(window.cmdNext->isVisible() && window.cmdNext->isEnabled());
    QVERIFY(!window.cmdStop->isVisible());
    QVERIFY(window.Picture3[0]->isVisible());
    QVERIFY(!window.Frame1->isVisible());
}

}  // namespace

class SlideShowTest : public QObject {
    Q_OBJECT
private slots:
    void sequentialOrder_data();
    void sequentialOrder();
    void randomOrderDrawsFromTheClockSeededSource();
    void orderMayChangeDuringAShow();
    void theIntervalIsReadAtStartAndAtContinueOnly();
    void pauseStepAndContinue();
    void statesOfRunningPausedAndEnded();
    void endWhilePaused();
    void aWaitLastsItsIntervalAcrossMidnight();
    void anEmptyFolderStartsNoShow();
    void aFileThatCannotBeShownHoldsTheShowUntilClosed();
    void exitDuringAShowStoresTheFolderOnce();
    void theProcessEndsAtOnceFromANestedShow_data();
    void theProcessEndsAtOnceFromANestedShow();
};

void SlideShowTest::sequentialOrder_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QList<int>>("shown");
    QTest::newRow("three files from entry 1") << 3 << 1 << QList<int>{2, 0, 1, 2};
    QTest::newRow("from no selection") << 3 << -1 << QList<int>{0, 1, 2, 0};
    QTest::newRow("one file") << 1 << 0 << QList<int>{0, 0, 0};
}

void SlideShowTest::sequentialOrder() {
    QFETCH(int, count);
    QFETCH(int, selected);
    QFETCH(QList<int>, shown);
    TestPlatform platform;
    Show show(count, platform);
    show.window.filList->SetListIndex(selected);
    show.RunFor(static_cast<int>(shown.size()));
    QCOMPARE(show.shown, shown);
    // The start-up interval is 3 seconds, and every wait was given all of it.
    QCOMPARE(show.waits, QList<double>(shown.size(), 3.0));
}

void SlideShowTest::randomOrderDrawsFromTheClockSeededSource() {
    TestPlatform platform;
    Show show(5, platform);
    show.window.mnuRandomShow->trigger();
    QVERIFY(!show.window.mnuSequentialShow->isChecked());
    QVERIFY(show.window.mnuRandomShow->isChecked());
    platform.random->draws = {0.0, 0.99, 0.5, 0.2};
    show.RunFor(4);
    QCOMPARE(show.shown, (QList<int>{0, 4, 2, 1}));
    QCOMPARE(platform.random->seeds.size(), std::size_t{4});
    QCOMPARE(platform.random->seeds[1], platform.random->seeds[0] + 3.0);

    // One file at random: always that one.
    TestPlatform single;
    Show one(1, single);
    one.window.mnuRandomShow_Click();
    single.random->draws = {0.7, 0.1, 0.999};
    one.RunFor(3);
    QCOMPARE(one.shown, (QList<int>{0, 0, 0}));
}

void SlideShowTest::orderMayChangeDuringAShow() {
    TestPlatform platform;
    Show show(6, platform);
    platform.random->draws = {0.5};
    show.during = [&show](int n) {
        if (n == 2) {
            show.window.mnuRandomShow->trigger();
        } else if (n == 3) {
            show.window.mnuSequentialShow->trigger();
        }
    };
    show.RunFor(5);
    QCOMPARE(show.shown, (QList<int>{0, 1, 3, 4, 5}));
}

void SlideShowTest::theIntervalIsReadAtStartAndAtContinueOnly() {
    TestPlatform platform;
    Show show(4, platform);
    show.window.mnuDisplayInterval[2]->trigger();  // 5 seconds
    show.during = [&show](int n) {
        if (n == 1) {
            show.window.mnuDisplayInterval_Click(6);  // 60 seconds, for the next start
        }
        if (n == 2) {
            show.window.cmdStop_Click();  // Pause
        }
        if (n == 3) {
            show.window.mnuEndSlideShow_Click();
        }
    };
    show.window.mnuBeginSlideShow_Click();
    QCOMPARE(show.window.cmdStop->text(), QStringLiteral("Continue"));
    show.window.cmdStop_Click();  // Continue
    QCOMPARE(show.waits, (QList<double>{5.0, 5.0, 60.0}));
}

void SlideShowTest::pauseStepAndContinue() {
    TestPlatform platform;
    Show show(6, platform);
    show.during = [&show](int n) {
        if (n == 2) {
            QTest::mouseClick(show.window.cmdStop, Qt::LeftButton);  // Pause on entry 1
        }
    };
    show.window.mnuBeginSlideShow_Click();
    QCOMPARE(show.shown, (QList<int>{0, 1}));
    QVERIFY(show.window.StopShow);

    QTest::mouseClick(show.window.cmdNext, Qt::LeftButton);
    QTest::mouseClick(show.window.cmdNext, Qt::LeftButton);
    QCOMPARE(show.window.filList->ListIndex(), 3);
    show.during = [&show](int n) {
        if (n == 3) {
            show.window.mnuEndSlideShow_Click();
        }
    };
    QTest::mouseClick(show.window.cmdStop, Qt::LeftButton);  // Continue: entry 4 at once
    QCOMPARE(show.shown, (QList<int>{0, 1, 4}));
}

void SlideShowTest::statesOfRunningPausedAndEnded() {
    TestPlatform platform;
    Show show(3, platform);
    show.window.filList->SetListIndex(0);
    show.window.filList_DblClick();
    show.during = [&show, &platform](int n) {
        if (n == 1) {
            ExpectRunning(show.window);
            QVERIFY(platform.screenSaver->inhibited);
            show.window.cmdStop_Click();
        }
    };
    QVERIFY(!platform.screenSaver->inhibited);
    show.window.mnuBeginSlideShow_Click();
    QVERIFY(!platform.screenSaver->inhibited);
    // Paused: the menus as while running, Previous and Next step by hand.
    QVERIFY(!show.window.FileMenuHeader->menuAction()->isEnabled());
    QVERIFY(show.window.mnuEndSlideShow->isEnabled());
    QCOMPARE(show.window.cmdStop->text(), QStringLiteral("Continue"));
    QCOMPARE(show.window.cmdStop->toolTip(), QStringLiteral("Continue Slide Show"));
    QVERIFY(show.window.cmdPrevious->isEnabled());
    QVERIFY(show.window.cmdNext->isEnabled());

    show.during = [&show, &platform](int n) {
        if (n == 2) {
            ExpectRunning(show.window);
            QVERIFY(platform.screenSaver->inhibited);
            show.window.mnuEndSlideShow->trigger();
        }
    };
    show.window.cmdStop_Click();
    ExpectEnded(show.window);
    QVERIFY(!platform.screenSaver->inhibited);
    QCOMPARE(show.window.cmdStop->text(), QStringLiteral("Pause"));
}

void SlideShowTest::endWhilePaused() {
    TestPlatform platform;
    Show show(3, platform);
    show.during = [&show](int n) {
        if (n == 1) {
            show.window.cmdStop_Click();
        }
    };
    show.window.mnuBeginSlideShow_Click();
    show.window.mnuEndSlideShow_Click();
    ExpectEnded(show.window);
    QCOMPARE(show.window.cmdStop->text(), QStringLiteral("Continue"));
    QCOMPARE(show.shown.size(), 1);
}

void SlideShowTest::aWaitLastsItsIntervalAcrossMidnight() {
    TestPlatform platform;
    platform.clock->now = 86'398.0;
    platform.events->step = 0.5;
    Show show(3, platform);
    show.RunFor(13);
    // Six half-second yields to a 3-second interval, also for the picture shown a second before
    // midnight.
    QCOMPARE(show.shown, (QList<int>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2}));
    QCOMPARE(show.waits.mid(0, 3), (QList<double>{3.0, 2.5, 2.0}));
}

void SlideShowTest::anEmptyFolderStartsNoShow() {
    TestPlatform platform;
    Show show(0, platform);
    show.window.mnuBeginSlideShow->trigger();
    QCOMPARE(platform.events->yields, 0);
    QVERIFY(show.window.FileMenuHeader->menuAction()->isEnabled());
    QVERIFY(!show.window.mnuEndSlideShow->isEnabled());
    QVERIFY(show.window.Frame1->isVisible());
    QCOMPARE(show.window.cmdStop->text(), QStringLiteral("Open"));
}

void SlideShowTest::aFileThatCannotBeShownHoldsTheShowUntilClosed() {
    TestPlatform platform;
    Show show(2, platform);
    testing::WriteBytes(platform.programFolder, QFileInfo(show.files[1]).fileName(), QByteArray("broken"));
    QList<int> yieldsAtMessage;
    platform.messages->onShow = [&](const testing::ShownMessage&) {
        yieldsAtMessage << platform.events->yields;
    };
    show.RunFor(3);
    QCOMPARE(show.shown, (QList<int>{0, 1, 0}));
    // The message came before the wait on the broken file began, and the show went on after it.
    QCOMPARE(yieldsAtMessage, QList<int>{1});
    QCOMPARE(platform.messages->shown.front().text, QStringLiteral("Not a valid texture file"));
}

void SlideShowTest::exitDuringAShowStoresTheFolderOnce() {
    TestPlatform platform;
    Show show(3, platform);
    bool inhibitedAtExit = true;
    show.during = [&](int n) {
        if (n == 2) {
            show.window.mnuExit_Click();
            inhibitedAtExit = platform.screenSaver->inhibited;
            throw LeaveShow{};
        }
    };
    QVERIFY_THROWS_EXCEPTION(LeaveShow, show.window.mnuBeginSlideShow_Click());
    QCOMPARE(platform.end->ends, 1);
    QVERIFY(!inhibitedAtExit);
    QCOMPARE(Registry::GetRegString(platform::SettingsStore(platform.settingsFile), Registry::kMachineRoot,
                                    Registry::kViewerKey, Registry::kLastUsedPath, QString()),
             platform.programFolder + u'/');
}

void SlideShowTest::theProcessEndsAtOnceFromANestedShow_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Exit") << "exit";
    QTest::newRow("closing the window") << "close";
}

void SlideShowTest::theProcessEndsAtOnceFromANestedShow() {
    // The real program end, in a child process: a show with the real clock and event queue is paused
    // and continued within one wait (so one show runs inside the other), then the program is ended.
    QFETCH(QString, how);
    QTemporaryDir config;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TAMSEL_SHOW_CHILD"), how);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("childShow")});
    QVERIFY(child.waitForFinished(20'000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    const QByteArray said = child.readAllStandardOutput();
    QVERIFY2(said.contains("ending the program"), said.constData());
    QVERIFY2(!said.contains("after the end"), said.constData());

    QFile settings(config.filePath(QStringLiteral("Corvane Software Store/Tamsel Image Viewer.ini")));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QCOMPARE(settings.readAll().count("LastUsedPath="), 1);
}

// The child of theProcessEndsAtOnceFromANestedShow: runs with the product's own services.
static int RunChildShow(int argc, char** argv) {
    QApplication app(argc, argv);
    TestPlatform fakes;
    testing::WriteNumberedTextures(fakes.programFolder, 3);
    platform::Platform services = platform::ProductPlatform();
    services.programFolder = fakes.programFolder;
    services.messages = fakes.messages;
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
        if (how == QStringLiteral("exit")) {
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
    SlideShowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SlideShowTest.moc"
