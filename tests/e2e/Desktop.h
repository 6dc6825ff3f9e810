#pragma once

#include <sys/prctl.h>

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>
#include <limits>
#include <thread>

#include "desktop/VirtualScreen.h"

// The real program on a real X server: a virtual screen with a window manager, the viewer started on
// it as a user starts it, input through the XTest extension (xdotool), and what can be read from
// outside: window titles and geometry, the process's state, CPU time and peak memory.
namespace tamsel::e2e {

using namespace Qt::StringLiterals;

// Asks `condition` every 50 ms until it holds or `timeoutMs` have passed; whether it held.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10'000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() >= timeoutMs) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// The number after "label:" in a tool's report or a /proc file; 0 when there is none.
inline qint64 NumberAfter(const QString& text, const QString& label) {
    const auto match = QRegularExpression(QRegularExpression::escape(label) + u":\\s+(-?\\d+)"_s).match(text);
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

// Whether a process has used no CPU time for 400 ms, counted from the first call after a Restart().
class QuietWatch {
public:
    explicit QuietWatch(const QProcess& process) : process_(process) {}

    void Restart() { lastTicks_ = kForget; }
    bool Quiet() {
        const qint64 ticks = CpuTicks();
        if (ticks != lastTicks_) {
            lastTicks_ = ticks;
            since_.start();
        }
        return since_.elapsed() >= 400;
    }

private:
    // User and system CPU time of all its threads, in clock ticks: after the command name in
    // parentheses come the state (field 3) on to utime and stime (fields 14 and 15).
    qint64 CpuTicks() const {
        QFile stat(u"/proc/%1/stat"_s.arg(process_.processId()));
        const QByteArray text = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
    }
    static constexpr qint64 kForget = -2;

    const QProcess& process_;
    qint64 lastTicks_ = kForget;
    QElapsedTimer since_;
};

// What a test on the desktop needs that is not installed, for it to say so: Xvfb, openbox, the X tools
// the desktop is driven and read with, and `more`; empty when all are.
inline QString Missing(const QStringList& more = {}) {
    QStringList missing;
    for (const QString& tool :
         QStringList{u"Xvfb"_s, u"openbox"_s, u"xdotool"_s, u"xprop"_s, u"xwininfo"_s} + more) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            missing << tool;
        }
    }
    return missing.isEmpty()
               ? QString()
               : missing.join(u", "_s) + u" not installed (E2E_PACKAGES in scripts/common.sh)"_s;
}

// Starts `process` so that it is killed when the test ends, however the test ends.
inline void StartTied(QProcess& process, const QString& program, const QStringList& arguments) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start(program, arguments);
}

// A virtual X screen (Xvfb on a free display) with openbox managing its windows, while the object lives.
class Desktop {
public:
    explicit Desktop(QSize screen) : screen_(screen) {}

    QString Fault() const { return screen_.Fault(); }  // empty once the screen and its window manager are up
    QProcessEnvironment Environment() const { return screen_.Environment(); }

    // Runs an X client on this screen: the words of `command`, then `more`; its output, trimmed.
    QString Run(const QString& command, const QStringList& more = {}) const {
        return QString::fromLocal8Bit(RunForBytes(command, more)).trimmed();
    }

    // The window's content as the X server has it, as a user sees it.
    QImage Shot(const QString& window) const {
        return QImage::fromData(RunForBytes(u"import -window %1 png:-"_s.arg(window), {}), "PNG");
    }

    // Clicks the left button `count` times at `at`, relative to the window's top left.
    void Click(const QString& window, QPoint at, int count = 1) const {
        Run(u"xdotool mousemove --window %1 %2 %3 click --repeat %4 --delay 100 1"_s.arg(
            window, QString::number(at.x()), QString::number(at.y()), QString::number(count)));
    }

    // The window's rectangle in screen coordinates with the frame the window manager draws.
    QRect FrameGeometry(const QString& window) const {
        const QString info = Run(u"xwininfo -id "_s + window);
        const auto number = [&info](const QString& label) {
            return static_cast<int>(NumberAfter(info, label));
        };
        const QRect inner(number(u"Absolute upper-left X"_s), number(u"Absolute upper-left Y"_s),
                          number(u"Width"_s), number(u"Height"_s));
        // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
        const QStringList frame =
            Run(u"xprop _NET_FRAME_EXTENTS -id "_s + window).section(u'=', 1).split(u',');
        return frame.size() != 4
                   ? inner
                   : inner.adjusted(-frame[0].toInt(), -frame[2].toInt(), frame[1].toInt(), frame[3].toInt());
    }

    // Activates `window` and presses `keys` in turn; the pause lets a menu opened by one key take the
    // keyboard before the next.
    void Keys(const QString& window, const QString& keys) const {
        Run(u"xdotool windowactivate --sync %1 key --delay 250 %2"_s.arg(window, keys));
    }

private:
    QByteArray RunForBytes(const QString& command, const QStringList& more) const {
        QStringList words = command.split(u' ');
        const QString program = words.takeFirst();
        QProcess tool;
        tool.setProcessEnvironment(Environment());
        tool.setStandardErrorFile(QProcess::nullDevice());
        tool.start(program, words + more);
        if (!tool.waitForFinished(10'000)) {
            tool.kill();
            tool.waitForFinished();
        }
        return tool.readAllStandardOutput();
    }

    desktop::VirtualScreen screen_;
};

// The viewer run on a desktop with its settings under `configHome`, or with no home at all when that is
// empty, and `more` variables set (NAME=value); killed if it outlives the object.
class Viewer {
public:
    Viewer(const Desktop& desktop, const QString& configHome, const QStringList& arguments,
           const QStringList& more = {})
        : desktop_(desktop) {
        QProcessEnvironment environment = desktop.Environment();
        for (const QString& variable : more) {
            environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        }
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        if (configHome.isEmpty()) {
            environment.remove(u"HOME"_s);
            environment.remove(u"XDG_CONFIG_HOME"_s);
        } else {
            environment.insert(u"XDG_CONFIG_HOME"_s, configHome);
        }
        environment.insert(u"XDG_RUNTIME_DIR"_s, own_.path());
        // A slide show holds off the screen saver over the session bus: not the tester's own.
        environment.remove(u"DBUS_SESSION_BUS_ADDRESS"_s);
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setStandardOutputFile(own_.filePath(u"output"_s));
        StartTied(process_, QStringLiteral(TAMSEL_VIEWER_BINARY), arguments);
        process_.waitForStarted();
    }
    ~Viewer() {
        if (Running()) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    // The main window, waited for the first time; empty when it never showed.
    QString Window() {
        WaitUntil([this] {
            window_ = window_.isEmpty() ? Windows(u"^Tamsel Image Viewer( v|: )"_s).value(0) : window_;
            return !window_.isEmpty() || !Running();
        });
        return window_;
    }
    QString Title() { return desktop_.Run(u"xdotool getwindowname "_s + Window()); }
    bool ShowsTitle(const QString& title, int timeoutMs = 10'000) {
        return WaitUntil([&] { return Title() == title; }, timeoutMs);
    }
    // Its visible windows whose title matches the regular expression `title`.
    QStringList Windows(const QString& title) const {
        return desktop_
            .Run(u"xdotool search --all --onlyvisible --pid %1 --name"_s.arg(process_.processId()), {title})
            .split(u'\n', Qt::SkipEmptyParts);
    }
    void Keys(const QString& keys) { desktop_.Keys(Window(), keys); }
    void Close() { Keys(u"alt+F4"_s); }  // through the window manager

    // What it printed so far, on either output.
    QString Output() const {
        QFile output(own_.filePath(u"output"_s));
        return output.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(output.readAll()) : QString();
    }

    // Waits until it has used no CPU for a while, counted from this call; whether it did in time.
    bool WaitQuiet(int timeoutMs = 10'000) {
        quiet_.Restart();
        return WaitUntil([this] { return quiet_.Quiet(); }, timeoutMs);
    }

    bool Running() {
        process_.waitForFinished(0);
        return process_.state() == QProcess::Running;
    }
    // Once it has ended or `waitMs` have passed: "running", "exit N", or "signal N" with the end of what
    // it printed.
    QString State(int waitMs = 0) {
        process_.waitForFinished(waitMs);
        if (Running()) {
            return u"running"_s;
        }
        if (process_.exitStatus() == QProcess::NormalExit) {
            return u"exit %1"_s.arg(process_.exitCode());
        }
        QFile output(own_.filePath(u"output"_s));
        output.open(QIODevice::ReadOnly);
        return u"signal %1 after: %2"_s.arg(process_.exitCode())
            .arg(QString::fromLocal8Bit(output.readAll().right(300)));
    }

    qint64 PeakMemory() {  // the highest peak resident size seen, in bytes
        QFile status(u"/proc/%1/status"_s.arg(process_.processId()));
        if (status.open(QIODevice::ReadOnly)) {
            peak_ = std::max(peak_, NumberAfter(QString::fromLatin1(status.readAll()), u"VmHWM"_s) * 1024);
        }
        return peak_;
    }

    struct Outcome {
        int answered = 0;      // message boxes answered with Return, one at a time
        int mostAtOnce = 0;    // the most boxes on screen together
        bool settled = false;  // quiet with no box before the time was up
    };
    // Answers each message box once the program is quiet, until it is quiet with none on screen, the
    // time is up, it ends, or its peak memory passes `memoryLimit`.
    Outcome AnswerBoxes(int timeoutMs, qint64 memoryLimit = std::numeric_limits<qint64>::max()) {
        Outcome outcome;
        quiet_.Restart();
        WaitUntil(
            [&] {
                // Only once the program is quiet can a box be told from one about to be stacked on it.
                const bool over = !Running() || PeakMemory() > memoryLimit;
                if (over || !quiet_.Quiet()) {
                    return over;
                }
                const QStringList boxes = Windows(u"^Tamsel Image Viewer$"_s);
                outcome.mostAtOnce = std::max(outcome.mostAtOnce, static_cast<int>(boxes.size()));
                outcome.settled = boxes.isEmpty();
                if (!outcome.settled) {
                    desktop_.Keys(boxes.last(), u"Return"_s);
                    ++outcome.answered;
                    quiet_.Restart();
                }
                return outcome.settled;
            },
            timeoutMs);
        return outcome;
    }

private:
    const Desktop& desktop_;
    QTemporaryDir own_;  // its output and runtime folder
    QProcess process_;
    QString window_;
    qint64 peak_ = 0;
    QuietWatch quiet_{process_};
};

}  // namespace tamsel::e2e
