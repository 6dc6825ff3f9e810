#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <limits>

// The real program on a real X server: a virtual screen with a window manager, the viewer started on
// it as a user starts it, input through the XTest extension, and what can be read from outside.
namespace tamsel::e2e {

// Asks `condition` every 50 ms until it holds or `timeoutMs` have passed; whether it held.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10'000);

// A virtual X screen (Xvfb on a free display) with openbox managing its windows, for as long as the
// object lives.
class Desktop {
public:
    explicit Desktop(QSize screen);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // Empty once the screen and its window manager are up; otherwise what failed.
    QString Fault() const { return fault_; }
    QProcessEnvironment Environment() const;

    // Runs an X client on this screen; its standard output, trimmed.
    QString Run(const QString& program, const QStringList& arguments) const;

    // The visible windows of process `pid` whose title matches the regular expression `title`.
    QStringList Windows(qint64 pid, const QString& title) const;
    QString Title(const QString& window) const;
    QRect Inner(const QString& window) const;  // in screen coordinates, without the frame
    QRect Frame(const QString& window) const;  // with the frame the window manager draws around it

    // Activates `window` and presses `keys` in turn (xdotool key names).
    void Keys(const QString& window, const QStringList& keys) const;
    // Clicks the left button `count` times at `at`, relative to the window's top left.
    void Click(const QString& window, QPoint at, int count = 1) const;
    // Asks the window manager for a new inner size.
    void Resize(const QString& window, QSize size) const;

private:
    QString fault_;
    QString display_;
    QProcess server_;
    QProcess manager_;
};

// The viewer run on a desktop with its settings under `configHome`, as a user starts it; killed when
// the object goes while it still runs.
class Viewer {
public:
    Viewer(const Desktop& desktop, const QString& configHome, const QStringList& arguments);
    ~Viewer();
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    // The main window, waited for the first time (up to 10 s); empty when it never showed.
    QString Window();
    QString Title();
    // Waits up to `timeoutMs` for the main window's title to be `title`; whether it came.
    bool ShowsTitle(const QString& title, int timeoutMs = 10'000);
    // Its visible windows whose title matches the regular expression `title`.
    QStringList Windows(const QString& title) const;
    bool Running();
    // "running", "exit N" or "signal N", with the end of what it wrote when it ended by a signal.
    QString State();
    // Waits up to `timeoutMs` for the process to end; its State() then.
    QString Finish(int timeoutMs = 10'000);
    // The highest peak resident size seen so far, in bytes.
    qint64 PeakMemory();
    // Waits until the process has used no CPU for 400 ms, counted from this call; whether it did.
    bool WaitQuiet(int timeoutMs = 10'000);
    // Closes the main window through the window manager (Alt+F4).
    void Close();

    struct Outcome {
        int answered = 0;      // message boxes answered with Return, one at a time
        int mostAtOnce = 0;    // the most boxes on screen together
        bool settled = false;  // quiet with no box before the time was up
    };
    // Answers each message box once the program is quiet, until it is quiet with none on screen, the
    // time is up, it ends, or its peak memory passes `memoryLimit`.
    Outcome AnswerBoxes(int timeoutMs, qint64 memoryLimit = std::numeric_limits<qint64>::max());

private:
    bool Idle();
    void RestartQuiet();

    const Desktop& desktop_;
    QTemporaryDir logFolder_;
    QProcess process_;
    QString window_;
    qint64 peak_ = 0;
    qint64 lastTicks_ = -1;
    QElapsedTimer idleSince_;
};

// Counts, by name, the opens of the files in one folder (inotify).
class OpenCounter {
public:
    explicit OpenCounter(const QString& folder);
    ~OpenCounter();
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;

    int Opens(const QString& name);  // since construction or the last Reset()
    void Reset();

private:
    void Drain();
    int fd_;
    QHash<QString, int> counts_;
};

}  // namespace tamsel::e2e
