// The viewer on a Wayland compositor: weston's headless backend with its desktop shell, and the viewer
// with QT_QPA_PLATFORM=wayland. There is no input injection there, so it is judged by what can be read
// from outside: weston's scene graph (the windows, their titles and places, through weston-debug) and
// screenshots (weston-screenshooter), which the test keeps in its working folder.
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <optional>
#include <utility>

#include "e2e/Desktop.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using e2e::WaitUntil;

namespace {

const QSize kScreen(1920, 1080);
const QString kTitle = u"Tamsel Image Viewer"_s;

// Red, give or take the rounding of a shrink.
bool Red(QRgb pixel) {
    return qRed(pixel) >= 250 && qGreen(pixel) <= 5 && qBlue(pixel) <= 5;
}

struct View {
    QString title;
    QRect place;
};

// weston on a headless output of kScreen, with a socket of its own, while the object lives.
class Compositor {
public:
    Compositor() {
        const QString socket = u"tamsel-test-%1"_s.arg(QCoreApplication::applicationPid());
        environment_.insert(u"XDG_RUNTIME_DIR"_s, runtime_.path());
        environment_.insert(u"WAYLAND_DISPLAY"_s, socket);
        environment_.remove(u"DISPLAY"_s);
        weston_.setProcessEnvironment(environment_);
        weston_.setStandardOutputFile(runtime_.filePath(u"weston.log"_s));
        weston_.setStandardErrorFile(runtime_.filePath(u"weston.log"_s));
        // --debug lets weston-screenshooter and weston-debug in.
        e2e::StartTied(
            weston_, u"weston"_s,
            {u"-B"_s, u"headless-backend.so"_s, u"--use-pixman"_s, u"--width=%1"_s.arg(kScreen.width()),
             u"--height=%1"_s.arg(kScreen.height()), u"--socket="_s + socket, u"--debug"_s});
        // Its desktop shell's panel keeps the top of the screen: a window maximized before the panel is
        // up is given the whole screen, and the free area only later, if at all.
        if (!WaitUntil([&] {
                return SceneGraph().contains(u"panel for output"_s) ||
                       weston_.state() == QProcess::NotRunning;
            })) {
            fault_ = u"weston did not start with its desktop shell's panel"_s;
        }
    }
    ~Compositor() {
        weston_.terminate();
        weston_.waitForFinished(5000);
    }

    QString Fault() const { return fault_; }
    const QProcessEnvironment& Environment() const { return environment_; }

    // The top-level windows of process `pid`, topmost first.
    QList<View> Windows(qint64 pid) const {
        static const QRegularExpression view(
            u"PID (\\d+), [^\\n]*top-level window '([^\\n]*)' of [^\\n]*\\n\\s*position: \\((-?\\d+), "
            u"(-?\\d+)\\) -> "
            u"\\((-?\\d+), (-?\\d+)\\)"_s);
        QList<View> views;
        for (const QRegularExpressionMatch& match : view.globalMatch(SceneGraph())) {
            const auto number = [&](int i) { return match.captured(i).toInt(); };
            if (number(1) == pid) {
                views.push_back({match.captured(2),
                                 QRect(QPoint(number(3), number(4)), QPoint(number(5) - 1, number(6) - 1))});
            }
        }
        return views;
    }

    // The whole screen, also kept as `name` in the working folder.
    QImage Screenshot(const QString& name) const {
        QTemporaryDir folder;
        QProcess shooter;
        shooter.setProcessEnvironment(environment_);
        shooter.setWorkingDirectory(folder.path());
        shooter.start(u"weston-screenshooter"_s, {});
        shooter.waitForFinished(10'000);
        const QStringList shots = QDir(folder.path()).entryList({u"*.png"_s}, QDir::Files);
        const QImage shot = shots.isEmpty() ? QImage() : QImage(folder.filePath(shots[0]));
        shot.save(name);
        return shot;
    }

private:
    QString SceneGraph() const {
        QProcess debug;
        debug.setProcessEnvironment(environment_);
        debug.start(u"weston-debug"_s, {u"scene-graph"_s});
        debug.waitForFinished(10'000);
        return QString::fromUtf8(debug.readAllStandardOutput());
    }

    QString fault_;
    QTemporaryDir runtime_;
    QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
    QProcess weston_;
};

}  // namespace

class WaylandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        for (const QString& tool : {u"weston"_s, u"weston-screenshooter"_s, u"weston-debug"_s}) {
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                     qPrintable(tool + u" is not installed (E2E_PACKAGES in scripts/common.sh)"_s));
        }
        compositor_.emplace();
        QVERIFY2(compositor_->Fault().isEmpty(), qPrintable(compositor_->Fault()));
    }

    void init() { QVERIFY(files_.emplace().isValid()); }
    void cleanup() {
        viewer_.kill();
        viewer_.waitForFinished();
    }

    // The window, which a Wayland compositor places itself, fits the screen; a texture larger than the
    // screen is shown in it shrunk with its proportions kept, whole.
    void aPictureIsShownFitted() {
        Start(testing::WriteSolidTexture(files_->path(), u"large.pbf"_s, 2400, 1600, qRgb(255, 0, 0)));
        QVERIFY2(WaitForWindows(kTitle + u": large.pbf"_s), qPrintable(Titles()));
        // The compositor shows the window's next frame a little after the title changed, and while
        // it settles the window's size it may show a frame or two drawn for the size before: the
        // window is judged once two screenshots in a row agree on it and the picture.
        QImage shot;
        QRect picture;
        QRect window;
        WaitUntil([&] {
            const QRect pictureBefore = std::exchange(picture, QRect());
            const QRect windowBefore = window;
            shot = compositor_->Screenshot(u"wayland-picture.png"_s);
            window = compositor_->Windows(viewer_.processId()).value(0).place;
            for (int y = 0; y < shot.height(); ++y) {
                for (int x = 0; x < shot.width(); ++x) {
                    picture |= Red(shot.pixel(x, y)) ? QRect(x, y, 1, 1) : QRect();
                }
            }
            return !picture.isEmpty() && picture == pictureBefore && window == windowBefore;
        });
        QCOMPARE(shot.size(), kScreen);
        const QString seen = u"picture at %1,%2 %3x%4 in the window at %5,%6 %7x%8"_s.arg(
            QString::number(picture.x()), QString::number(picture.y()), QString::number(picture.width()),
            QString::number(picture.height()), QString::number(window.x()), QString::number(window.y()),
            QString::number(window.width()), QString::number(window.height()));
        QVERIFY2(picture.width() >= kScreen.width() / 2 && picture.width() < kScreen.width(),
                 qPrintable(seen));
        QVERIFY2(std::abs(picture.width() * 2 - picture.height() * 3) <= 3, qPrintable(seen));
        QVERIFY2(QRect(QPoint(0, 0), kScreen).contains(window), qPrintable(seen));
        QVERIFY2(window.contains(picture) && picture.bottom() < kScreen.height() - 1, qPrintable(seen));
        for (int y = picture.top(); y <= picture.bottom(); ++y) {
            for (int x = picture.left(); x <= picture.right(); ++x) {
                QVERIFY2(Red(shot.pixel(x, y)), qPrintable(seen));
            }
        }
    }

    // A file that cannot be shown raises one message box over the main window, and the program runs on.
    void aBadFileShowsOneMessageBox() {
        Start(testing::WriteBytes(files_->path(), u"garbage.mip"_s, QByteArray(300, '\x5A')));
        QVERIFY2(WaitForWindows(kTitle), qPrintable(Titles()));
        e2e::QuietWatch quiet(viewer_);
        QVERIFY(WaitUntil([&] { return quiet.Quiet(); }));
        const QList<View> windows = compositor_->Windows(viewer_.processId());
        QCOMPARE(viewer_.state(), QProcess::Running);
        const QStringList titles = Titles().split(u'\n');
        QVERIFY2(titles.size() == 2 && titles.count(kTitle) == 1,
                 qPrintable(Titles()));  // the box, the window
        const QImage shot = compositor_->Screenshot(u"wayland-bad-file.png"_s);
        // The box is drawn on its light ground, over the main window's darker one.
        const QRect box = windows[0].place & shot.rect();
        int light = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                light += qGray(shot.pixel(x, y)) > 200 ? 1 : 0;
            }
        }
        QVERIFY2(
            !box.isEmpty() && light > box.width() * box.height() / 2,
            qPrintable(
                u"%1 light pixels in the box's %2 x %3"_s.arg(light).arg(box.width()).arg(box.height())));
    }

private:
    void Start(const QString& path) {
        QProcessEnvironment environment = compositor_->Environment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"wayland"_s);
        environment.insert(u"XDG_CONFIG_HOME"_s, files_->filePath(u"config"_s));
        viewer_.setProcessEnvironment(environment);
        viewer_.setProcessChannelMode(QProcess::ForwardedChannels);
        e2e::StartTied(viewer_, QStringLiteral(TAMSEL_VIEWER_BINARY), {path});
        viewer_.waitForStarted();
    }
    // Waits until the topmost window of the viewer has the title given.
    bool WaitForWindows(const QString& topmost) {
        return WaitUntil([&] {
                   return compositor_->Windows(viewer_.processId()).value(0).title == topmost ||
                          viewer_.state() == QProcess::NotRunning;
               }) &&
               viewer_.state() == QProcess::Running;
    }
    // The titles of the viewer's windows, topmost first, a line each.
    QString Titles() const {
        QStringList titles;
        for (const View& view : compositor_->Windows(viewer_.processId())) {
            titles << view.title;
        }
        return titles.join(u'\n');
    }

    std::optional<Compositor> compositor_;
    std::optional<QTemporaryDir> files_;
    QProcess viewer_;
};

QTEST_GUILESS_MAIN(WaylandTest)
#include "WaylandTest.moc"
