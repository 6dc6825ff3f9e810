// The slide show: its order, its interval, pausing and continuing, its states and its end.
#include <QAction>
#include <QApplication>
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

#include "platform/FileListBox.h"
#include "platform/PictureBox.h"
#include "shell/Registry.h"
#include "support/Window.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::TestPlatform;

namespace {

// Thrown by a test's event queue to leave a show that a handler could not end by itself.
struct LeaveShow {};

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
            if (n == pictures && mnuEndSlideShow->isEnabled()) {
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

const QString kRunning =
    u"Previous (disabled) [Previous Image] | Pause [Pause Slide Show] | Next (disabled) [Next Image]"_s;

}  // namespace

class SlideShowTest : public QObject {
    Q_OBJECT
private slots:
    void order_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("random");  // drawing 0.7, 0.1 and 0.999
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("three files from entry 1") << 3 << 1 << false << QList<int>{2, 0, 1, 2};
        QTest::newRow("from no selection") << 3 << -1 << false << QList<int>{0, 1, 2, 0};
        QTest::newRow("one file") << 1 << 0 << false << QList<int>{0, 0, 0};
        QTest::newRow("one file at random") << 1 << 0 << true << QList<int>{0, 0, 0};
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
                 u"Previous [Previous Image] | Pause (hidden) [Pause Slide Show] | "
                 "Next [Next Image]"_s);
        QCOMPARE(show.Menus(), u"on on off on"_s);
        QCOMPARE(show.Single(), 5);
        QVERIFY(!show.Frame1->isVisible() && !platform.screenSaver->inhibited);
    }

    void endWhilePaused() {
        TestPlatform platform;
        Show show(platform, 3);
        show.during = [&show](int) { show.cmdStop_Click(); };
        show.mnuBeginSlideShow_Click();
        show.mnuEndSlideShow_Click();
        QCOMPARE(show.Buttons(),
                 u"Previous [Previous Image] | Continue (hidden) [Continue Slide "
                 "Show] | Next [Next Image]"_s);
        QCOMPARE(show.Menus(), u"on on off on"_s);
        QCOMPARE(show.shown, QList<int>{0});
        QCOMPARE(show.Single(), 0);
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

    void anEmptyFolderStartsNoShow() {
        TestPlatform platform;
        Show show(platform, 0);
        show.mnuBeginSlideShow->trigger();
        QCOMPARE(platform.events->yields, 0);
        QCOMPARE(show.Menus(), u"on on off on"_s);
        QVERIFY(show.Frame1->isVisible());
        QCOMPARE(show.cmdStop->text(), u"Open"_s);
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

    void exitDuringAShowStoresTheFolderOnce() {
        TestPlatform platform;
        Show show(platform, 3);
        bool inhibitedAtExit = true;
        show.during = [&](int n) {
            if (n == 2) {
                show.mnuExit_Click();
                inhibitedAtExit = platform.screenSaver->inhibited;
                throw LeaveShow{};
            }
        };
        QVERIFY_THROWS_EXCEPTION(LeaveShow, show.mnuBeginSlideShow_Click());
        QCOMPARE(platform.end->ends, 1);
        QVERIFY(!inhibitedAtExit);
        QCOMPARE(
            Registry::GetRegString(platform::SettingsStore(platform.settingsFile), Registry::kMachineRoot,
                                   Registry::kViewerKey, Registry::kLastUsedPath, QString()),
            platform.programFolder + u'/');
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
    SlideShowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SlideShowTest.moc"
