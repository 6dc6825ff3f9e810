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

#include "browse/Browser.h"
#include "help/HelpWindow.h"
#include "navigation/ButtonRow.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
#include "support/Window.h"
#include "thumbs/ThumbnailPage.h"
#include "view/SingleView.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::TestPlatform;
using testing::Window;

namespace {

// Where every control laid out in proportion stands, but the drive list, which keeps its place.
QList<QRect> Geometries(const Window& window) {
    QList<QRect> rects;
    for (const QWidget* control : {static_cast<const QWidget*>(&window.Browser()),
                                   static_cast<const QWidget*>(&window.Browser().Files()),
                                   static_cast<const QWidget*>(&window.Browser().Folders()),
                                   static_cast<const QWidget*>(window.Buttons().Previous()),
                                   static_cast<const QWidget*>(window.Buttons().Middle()),
                                   static_cast<const QWidget*>(window.Buttons().Next()),
                                   static_cast<const QWidget*>(&window.Hint())}) {
        rects << control->geometry();
    }
    return rects;
}

// A window over `count` numbered textures whose show is run interval by interval.
struct Show : testing::Window {
    Show(TestPlatform& platform, int count) : Window(platform, count), services(platform) {}
    // Begins the show and lets its interval run out until `pictures` have been shown, then ends it from
    // the menu; the entries shown, in turn.
    QList<int> RunFor(int pictures) {
        BeginShow();
        QList<int> shown;
        while (State().show.phase == slideshow::Phase::Running) {
            shown << State().folder.Selected();
            if (shown.size() >= pictures || !services.interval->RunOut()) {
                break;
            }
        }
        if (MenuItems().endShow->isEnabled()) {
            MenuItems().endShow->trigger();
        }
        return shown;
    }
    // The menus that a show enables and disables: "on" or "off" for File, Begin, End, Display Interval.
    QString Menus() const {
        QStringList states;
        for (const QAction* action : {MenuItems().file->menuAction(), MenuItems().beginShow,
                                      MenuItems().endShow, MenuItems().interval->menuAction()}) {
            states << (action->isEnabled() ? "on" : "off");
        }
        return states.join(u' ');
    }
    TestPlatform& services;
};

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
        window.ChooseFile(start);
        window.OpenChosenFile();
        for (QPushButton* button : {window.Buttons().Next(), window.Buttons().Previous()}) {
            for (const int expected : button == window.Buttons().Next() ? afterNext : afterPrevious) {
                QTest::mouseClick(button, Qt::LeftButton);
                QCOMPARE(window.State().folder.Selected(), expected);
                QCOMPARE(window.Single(), expected);
            }
        }
        QVERIFY(!platform::MousePointer::IsBusy());
        QVERIFY(platform.messages->shown.empty());
    }

    // Right and Left keys that come while a picture is drawn are taken together: only the picture they
    // count to is opened and shown, as if each had been served; a bad file stepped over gives no
    // message; the buttons' clicks are each served; a key of another kind acts after the steps.
    void keysThatComeWhileAPictureIsDrawnAreTakenTogether() {
        TestPlatform platform;
        const QStringList names = testing::WriteNumberedTextures(platform.programFolder, 12);
        testing::WriteBytes(platform.programFolder, u"t05b.pbf"_s, "not a texture");  // entry 6 of 13
        Window window(platform);
        window.Open(u"t00.pbf"_s);
        testing::OpenCounter counter(platform.programFolder);
        // The first key is served at once; the next 19 come before the window gets back to its events.
        for (int key = 0; key < 20; ++key) {
            QTest::keyClick(&window, Qt::Key_Right);
        }
        QCOMPARE(window.Single(), 1);
        QTRY_COMPARE(window.State().folder.Selected(), 20 % 13);
        QCOMPARE(window.State().folder.SelectedName(), u"t06.pbf"_s);
        QCOMPARE(window.windowTitle(), u"Tamsel Image Viewer: t06.pbf"_s);
        // t02 and t03 are read ahead while t01 is on show, t05b as the neighbour of t06; the pictures
        // between are never opened.
        for (const char* skipped : {"t04.pbf", "t05.pbf"}) {
            QCOMPARE(counter.Opens(QString::fromLatin1(skipped)), 0);
        }
        QVERIFY(platform.messages->shown.empty());

        // Left and Right together count as their sum; Home after them goes to the first picture.
        for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Right, Qt::Key_Left}) {
            QTest::keyClick(&window, key);
        }
        QTRY_COMPARE(window.State().folder.Selected(), 4);
        QVERIFY(platform.messages->shown.empty());
        for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Home}) {
            QTest::keyClick(&window, key);
        }
        QCOMPARE(window.State().folder.Selected(), 0);
        QTest::qWait(50);
        QCOMPARE(window.State().folder.Selected(), 0);
        QVERIFY(platform.messages->shown.empty());

        // Clicks are served one by one, each shown.
        for (int click = 0; click < 3; ++click) {
            QTest::mouseClick(window.Buttons().Next(), Qt::LeftButton);
            QCOMPARE(window.Single(), click + 1);
        }
    }

    // A bad file that a step by key lands on gives its message once the keys stop: a key that comes
    // before steps past it without one, as a held key does; a click first gives it, then is served.
    void aFileRefusedOnAKeyStepGivesItsMessageOnceTheKeysStop() {
        TestPlatform platform;
        testing::WriteNumberedTextures(platform.programFolder, 8);
        testing::WriteBytes(platform.programFolder, u"t05b.pbf"_s, "not a texture");  // entry 6 of 9
        Window window(platform);
        window.Open(u"t05.pbf"_s);
        int selectedAtMessage = -1;
        platform.messages->onShow = [&](const testing::ShownMessage&) {
            selectedAtMessage = window.State().folder.Selected();
        };

        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(window.State().folder.Selected(), 6);
        QTest::keyClick(&window, Qt::Key_Right);
        QTRY_COMPARE(window.State().folder.SelectedName(), u"t06.pbf"_s);
        QTest::qWait(300);
        QVERIFY(platform.messages->shown.empty());

        QTest::keyClick(&window, Qt::Key_Left);
        QTRY_COMPARE(platform.messages->shown.size(), std::size_t{1});
        QCOMPARE(selectedAtMessage, 6);
        QTest::qWait(300);
        QCOMPARE(platform.messages->shown.size(), std::size_t{1});

        // Onto it by key, and a click at once: the message comes before the click's step.
        QTest::keyClick(&window, Qt::Key_Left);
        QTRY_COMPARE(window.State().folder.SelectedName(), u"t05.pbf"_s);
        QTest::qWait(50);
        QTest::keyClick(&window, Qt::Key_Right);
        QTest::mouseClick(window.Buttons().Next(), Qt::LeftButton);
        QCOMPARE(platform.messages->shown.size(), std::size_t{2});
        QCOMPARE(selectedAtMessage, 6);
        QCOMPARE(window.State().folder.SelectedName(), u"t06.pbf"_s);
        QTest::qWait(300);
        QCOMPARE(platform.messages->shown.size(), std::size_t{2});

        // A click onto it gives the message at once, also while keys are being taken.
        window.Open(u"t04.pbf"_s);
        QTest::keyClick(&window, Qt::Key_Right);
        QTest::mouseClick(window.Buttons().Next(), Qt::LeftButton);
        QCOMPARE(platform.messages->shown.size(), std::size_t{3});
        QCOMPARE(selectedAtMessage, 6);
        QTest::qWait(300);
        QCOMPARE(platform.messages->shown.size(), std::size_t{3});
        QCOMPARE(window.State().folder.Selected(), 6);
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
        window.ToggleThumbnailView();
        for (const QChar step : steps) {
            if (step == u'N') {
                window.Next();
            } else if (step == u'P') {
                window.Previous();
            } else {
                window.ClickCell(step.digitValue());
            }
        }
        QCOMPARE(window.State().pageStart, pageStart);
        QCOMPARE(window.Cells(), cells);
        QCOMPARE(window.State().folder.Selected(), selected);
        QVERIFY(!platform::MousePointer::IsBusy());
        QVERIFY(platform.messages->shown.empty());
    }

    // The release that would have ended the double click never comes to the hidden cell: back on the
    // page, the next click on it is a click of its own.
    void aDoubleClickOpensFullSizeAndThumbNailsReturns() {
        TestPlatform platform;
        Window window(platform, 12);
        window.ToggleThumbnailView();
        window.Next();
        const QList<int> page = window.Cells();
        QTest::mouseDClick(&window.Page().Cell(4), Qt::LeftButton);
        QCOMPARE(window.Single(), 0);
        QCOMPARE(
            window.ButtonStates(),
            u"Previous- [Previous Thumbnails] | ThumbNails [View More Thumbnails] | Next- [Next ThumbNails]"_s);
        window.MiddleClicked();
        QCOMPARE(window.State().pageStart, 9);
        QCOMPARE(window.Cells(), page);
        QCOMPARE(window.State().folder.Selected(), 5);
        QTest::mouseClick(&window.Page().Cell(4), Qt::LeftButton);
        QCOMPARE(window.State().folder.Selected(), 0);
        QVERIFY(window.Buttons().Middle()->isVisible());
    }

    // Every control but the drive list keeps its fractions of the inner area: halving the width halves
    // lefts and widths, and a size restored puts everything back exactly. What is on show is drawn again:
    // in the browser nothing, or the file selected; a page from its first file, in the start-up cells.
    void resizing() {
        TestPlatform platform;
        Window window(platform, 12);
        const QList<QRect> before = Geometries(window);
        const QRect drive = window.Browser().Drives().geometry();
        const QSize size = window.size();
        window.resize(size.width() / 2, size.height());
        QCOMPARE(window.Browser().Drives().geometry(), drive);
        QCOMPARE(window.Buttons().Middle()->y(), before[4].y());
        QCOMPARE(window.Buttons().Middle()->height(), before[4].height());
        QVERIFY(qAbs(window.Buttons().Middle()->x() - before[4].x() / 2.0) <= 1.0);
        QVERIFY(qAbs(window.Browser().width() - before[0].width() / 2.0) <= 1.0);
        QCOMPARE(window.Single(), -1);
        window.resize(size.width() * 2, size.height() + 300);
        window.resize(size);
        QCOMPARE(Geometries(window), before);
        window.ChooseFile(4);
        window.resize(size.width() - 100, size.height());
        QCOMPARE(window.Single(), 4);
        QVERIFY(window.Browser().isVisible());
        window.ToggleThumbnailView();
        window.Next();
        const QPoint corner = window.Page().Cell(5).pos();
        window.resize(size.width() - 200, size.height() - 100);
        QCOMPARE(window.State().pageStart, 9);
        QCOMPARE(window.Cells(), (QList<int>{9, 10, 11, 0, 1, 2, 3, 4, 5}));
        QCOMPARE(window.Page().Cell(5).pos(), corner);
        QCOMPARE(window.State().folder.Selected(), 5);
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
        window.ToggleThumbnailView();
        QCOMPARE(platform.messages->shown.size(), std::size_t{1});
        QTRY_VERIFY(window.Page().Cell(2).isVisible());
        QCOMPARE(window.Page().Cell(2).size(), QSize(12, 6));
        QVERIFY(!window.Page().Cell(1).isVisible());
        window.resize(size);
        QCOMPARE(platform.messages->shown.size(), std::size_t{1});
        QCOMPARE(mostOpen, 1);
        QCOMPARE(window.Page().Cell(2).size(), QSize(12, 6));
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
        QTest::newRow("three files at random") << 3 << 0 << true << QList<int>{2, 0, 2};
        QTest::newRow("no file: no show") << 0 << -1 << false << QList<int>{};
    }

    // In name order from the one after the selection, or at random; every wait is the start-up 3 seconds.
    void order() {
        QFETCH(int, count);
        QFETCH(int, selected);
        QFETCH(bool, random);
        QFETCH(QList<int>, shown);
        TestPlatform platform;
        Show show(platform, count);
        show.ChooseFile(selected);
        if (random) {
            show.MenuItems().random->trigger();
            platform.random->draws = {0.7, 0.1, 0.999};
        }
        QCOMPARE(show.RunFor(static_cast<int>(shown.size())), shown);
        QCOMPARE(platform.interval->waits, std::vector<double>(static_cast<std::size_t>(shown.size()), 3.0));
    }

    // Each random pick draws from a source seeded from the clock, which the intervals move on; the order
    // may change during a show.
    void randomOrder() {
        TestPlatform platform;
        Show show(platform, 6);
        show.MenuItems().random->trigger();
        platform.random->draws = {0.0, 0.99, 0.5, 0.2};
        show.BeginShow();
        QList<int> shown{show.State().folder.Selected()};
        for (int n = 1; n < 6; ++n) {
            if (n == 4) {
                show.MenuItems().sequential->trigger();
            }
            platform.interval->RunOut();
            shown << show.State().folder.Selected();
        }
        QCOMPARE(shown, (QList<int>{0, 5, 3, 1, 2, 3}));
        QCOMPARE(platform.random->seeds.size(), std::size_t{4});
        QCOMPARE(platform.random->seeds[1], platform.random->seeds[0] + 3.0);
    }

    // The interval is the one chosen when the show begins or goes on.
    void theIntervalIsReadAtStartAndAtContinueOnly() {
        TestPlatform platform;
        Show show(platform, 4);
        show.MenuItems().intervals[2]->trigger();  // 5 seconds
        show.BeginShow();
        show.SetInterval(6);  // 60 seconds, for the next start
        platform.interval->RunOut();
        show.MiddleClicked();  // Pause
        show.MiddleClicked();  // Continue
        QCOMPARE(platform.interval->waits, (std::vector<double>{5.0, 5.0, 60.0}));
    }

    // While a show runs the screen saver is held off; paused, nothing waits and the screen saver is back;
    // continued, the file after the one stepped to comes at once.
    void runningPausedContinuedAndEnded() {
        TestPlatform platform;
        Show show(platform, 6);
        show.Open(u"t00.pbf"_s);
        QVERIFY(!platform.screenSaver->inhibited);
        show.BeginShow();
        QVERIFY(platform.screenSaver->inhibited && platform.interval->Waiting());
        QTest::mouseClick(show.Buttons().Middle(), Qt::LeftButton);  // Pause
        QVERIFY(!platform.screenSaver->inhibited && !platform.interval->Waiting());
        QCOMPARE(show.Menus(), u"off off on off"_s);
        QTest::mouseClick(show.Buttons().Next(), Qt::LeftButton);
        QTest::mouseClick(show.Buttons().Next(), Qt::LeftButton);
        QTest::mouseClick(show.Buttons().Middle(), Qt::LeftButton);  // Continue
        QCOMPARE(show.Single(), 4);
        QVERIFY(platform.screenSaver->inhibited && platform.interval->Waiting());
        show.MenuItems().endShow->trigger();
        QVERIFY(!platform.screenSaver->inhibited && !platform.interval->Waiting());
        QCOMPARE(show.Menus(), u"on on off on"_s);
    }

    // A picture's message comes before its wait begins; an interval that runs out while a message box is
    // open (About) ends once the box is closed.
    void messagesHoldTheShowUntilClosed() {
        TestPlatform platform;
        Show show(platform, 3);
        testing::WriteBytes(platform.programFolder, u"t01.pbf"_s, QByteArray("broken"));
        QList<bool> waitingAtMessage;
        platform.messages->onShow = [&](const testing::ShownMessage&) {
            waitingAtMessage << platform.interval->Waiting();
        };
        show.BeginShow();
        platform.interval->RunOut();
        QCOMPARE(show.State().folder.Selected(), 1);
        QCOMPARE(waitingAtMessage, QList<bool>{false});
        QCOMPARE(platform.messages->shown.front().text, u"Not a valid texture file"_s);
        QVERIFY(platform.interval->Waiting());
        platform.messages->onShow = [&](const testing::ShownMessage&) {
            platform.interval->RunOut();
            QCOMPARE(show.State().folder.Selected(), 1);
        };
        show.MenuItems().about->trigger();
        QTRY_COMPARE(show.State().folder.Selected(), 2);
        QCOMPARE(show.Single(), 2);
    }

    void theProgramEndsDuringAShow_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Exit") << "exit";
        QTest::newRow("closing the window") << "close";
    }

    // The real program end, in a child process with the product's own timer: a show of 1-second
    // intervals paused and continued, then ended by Exit or by closing the window. The program ends with
    // status 0, its folder stored once, and no event of the show handled after the end.
    void theProgramEndsDuringAShow() {
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

// The child of theProgramEndsDuringAShow: the product's own services over the textures the parent
// wrote; anything of the show that came after the end would say so.
static int RunChildShow(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::Platform services = platform::ProductPlatform();
    services.programFolder = qEnvironmentVariable("XDG_CONFIG_HOME") + u"/textures"_s;
    services.messages = std::make_shared<testing::RecordingMessages>();
    shell::MainWindow window(services);
    window.show();
    const QString how = qEnvironmentVariable("TAMSEL_SHOW_CHILD");
    window.SetInterval(0);
    QTimer::singleShot(0, &window, [&window] { window.BeginShow(); });
    QTimer::singleShot(300, &window, [&window] {
        window.MiddleClicked();  // Pause
        window.MiddleClicked();  // Continue
    });
    QTimer::singleShot(1200, &window, [&window, how] {
        std::printf("ending the program\n");
        std::fflush(stdout);
        if (how == u"exit"_s) {
            window.Exit();
        } else {
            window.close();
        }
    });
    QTimer::singleShot(2500, &window, [] { std::printf("after the end: still running\n"); });
    return QApplication::exec();
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
