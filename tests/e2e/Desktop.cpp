#include "e2e/Desktop.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <chrono>
#include <thread>

namespace tamsel::e2e {

namespace {

constexpr int kQuietMs = 400;
const QString kBoxTitle = QStringLiteral("^Tamsel Image Viewer$");
const QString kMainTitle = QStringLiteral("^Tamsel Image Viewer( v|: )");

// The number after "label:" in a tool's report; 0 when there is none.
int NumberAfter(const QString& text, const QString& label) {
    const QRegularExpressionMatch match =
        QRegularExpression(QRegularExpression::escape(label) + QStringLiteral(":\\s+(-?\\d+)")).match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// User and system CPU time of all the process's threads, in clock ticks; -1 once it is gone.
qint64 CpuTicks(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray text = stat.readAll();
    // The fields after the parenthesised command name start at the state (field 3); utime and stime
    // are fields 14 and 15.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
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

Desktop::Desktop(QSize screen) {
    // Xvfb picks a free display itself and writes its number to the descriptor given: its stdout.
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()),
                   QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!WaitUntil([this] {
            server_.waitForReadyRead(50);
            return server_.canReadLine();
        })) {
        fault_ = QStringLiteral("Xvfb gave no display number");
        return;
    }
    display_ = u':' + QString::fromLatin1(server_.readLine().trimmed());
    manager_.setProcessEnvironment(Environment());
    manager_.setStandardOutputFile(QProcess::nullDevice());
    manager_.setStandardErrorFile(QProcess::nullDevice());
    manager_.start(QStringLiteral("openbox"), {});
    // openbox names its check window on the root window once it manages the screen.
    if (!WaitUntil([this] {
            return Run(QStringLiteral("xprop"),
                       {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                .contains(QStringLiteral("window id"));
        })) {
        fault_ = QStringLiteral("openbox did not take display %1").arg(display_);
    }
}

Desktop::~Desktop() {
    for (QProcess* process : {&manager_, &server_}) {
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished();
        }
    }
}

QProcessEnvironment Desktop::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    return environment;
}

QString Desktop::Run(const QString& program, const QStringList& arguments) const {
    QProcess tool;
    tool.setProcessEnvironment(Environment());
    tool.setStandardErrorFile(QProcess::nullDevice());
    tool.start(program, arguments);
    if (!tool.waitForFinished(10'000)) {
        tool.kill();
        tool.waitForFinished();
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

QStringList Desktop::Windows(qint64 pid, const QString& title) const {
    return Run(QStringLiteral("xdotool"),
               {QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"),
                QStringLiteral("--pid"), QString::number(pid), QStringLiteral("--name"), title})
        .split(u'\n', Qt::SkipEmptyParts);
}

QString Desktop::Title(const QString& window) const {
    return Run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window});
}

QRect Desktop::Inner(const QString& window) const {
    const QString info = Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window});
    return {NumberAfter(info, QStringLiteral("Absolute upper-left X")),
            NumberAfter(info, QStringLiteral("Absolute upper-left Y")),
            NumberAfter(info, QStringLiteral("Width")), NumberAfter(info, QStringLiteral("Height"))};
}

QRect Desktop::Frame(const QString& window) const {
    // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
    const QStringList extents =
        Run(QStringLiteral("xprop"), {QStringLiteral("-id"), window, QStringLiteral("_NET_FRAME_EXTENTS")})
            .section(u'=', 1)
            .split(u',');
    const QRect inner = Inner(window);
    if (extents.size() != 4) {
        return inner;
    }
    return inner.adjusted(-extents[0].toInt(), -extents[2].toInt(), extents[1].toInt(), extents[3].toInt());
}

void Desktop::Keys(const QString& window, const QStringList& keys) const {
    // A menu opened by one key must have taken the keyboard before the next arrives.
    Run(QStringLiteral("xdotool"),
        QStringList{QStringLiteral("windowactivate"), QStringLiteral("--sync"), window, QStringLiteral("key"),
                    QStringLiteral("--delay"), QStringLiteral("250")} +
            keys);
}

void Desktop::Click(const QString& window, QPoint at, int count) const {
    Run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(at.x()),
         QString::number(at.y()), QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(count),
         QStringLiteral("--delay"), QStringLiteral("100"), QStringLiteral("1")});
}

void Desktop::Resize(const QString& window, QSize size) const {
    Run(QStringLiteral("xdotool"), {QStringLiteral("windowsize"), window, QString::number(size.width()),
                                    QString::number(size.height())});
}

Viewer::Viewer(const Desktop& desktop, const QString& configHome, const QStringList& arguments)
    : desktop_(desktop) {
    QProcessEnvironment environment = desktop.Environment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), logFolder_.path());
    // A slide show holds off the screen saver over the session bus: not the tester's own.
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(logFolder_.filePath(QStringLiteral("output")));
    process_.start(QStringLiteral(TAMSEL_VIEWER_BINARY), arguments);
    process_.waitForStarted();
    idleSince_.start();
}

Viewer::~Viewer() {
    if (Running()) {
        process_.kill();
        process_.waitForFinished();
    }
}

QString Viewer::Window() {
    if (window_.isEmpty()) {
        WaitUntil([this] {
            window_ = Windows(kMainTitle).value(0);
            return !window_.isEmpty() || !Running();
        });
    }
    return window_;
}

QString Viewer::Title() {
    return desktop_.Title(Window());
}

bool Viewer::ShowsTitle(const QString& title, int timeoutMs) {
    return WaitUntil([&] { return Title() == title; }, timeoutMs);
}

QStringList Viewer::Windows(const QString& title) const {
    return desktop_.Windows(process_.processId(), title);
}

bool Viewer::Running() {
    process_.waitForFinished(0);
    return process_.state() == QProcess::Running;
}

QString Viewer::State() {
    if (Running()) {
        return QStringLiteral("running");
    }
    if (process_.exitStatus() == QProcess::NormalExit) {
        return QStringLiteral("exit %1").arg(process_.exitCode());
    }
    QFile log(logFolder_.filePath(QStringLiteral("output")));
    log.open(QIODevice::ReadOnly);
    return QStringLiteral("signal %1 after: %2")
        .arg(process_.exitCode())
        .arg(QString::fromLocal8Bit(log.readAll().right(400)));
}

QString Viewer::Finish(int timeoutMs) {
    process_.waitForFinished(timeoutMs);
    return State();
}

qint64 Viewer::PeakMemory() {
    QFile status(QStringLiteral("/proc/%1/status").arg(process_.processId()));
    if (status.open(QIODevice::ReadOnly)) {
        peak_ = std::max(
            peak_,
            qint64{NumberAfter(QString::fromLatin1(status.readAll()), QStringLiteral("VmHWM"))} * 1024);
    }
    return peak_;
}

bool Viewer::Idle() {
    const qint64 ticks = CpuTicks(process_.processId());
    if (ticks != lastTicks_) {
        lastTicks_ = ticks;
        idleSince_.start();
    }
    return idleSince_.elapsed() >= kQuietMs;
}

void Viewer::RestartQuiet() {
    lastTicks_ = CpuTicks(process_.processId());
    idleSince_.start();
}

bool Viewer::WaitQuiet(int timeoutMs) {
    RestartQuiet();
    return WaitUntil([this] { return Idle(); }, timeoutMs);
}

void Viewer::Close() {
    desktop_.Keys(Window(), {QStringLiteral("alt+F4")});
}

Viewer::Outcome Viewer::AnswerBoxes(int timeoutMs, qint64 memoryLimit) {
    Outcome outcome;
    QElapsedTimer clock;
    clock.start();
    RestartQuiet();
    while (clock.elapsed() < timeoutMs && Running() && PeakMemory() <= memoryLimit) {
        // Only once the program is quiet can a box be told from one about to be stacked on it.
        if (Idle()) {
            const QStringList boxes = Windows(kBoxTitle);
            outcome.mostAtOnce = std::max(outcome.mostAtOnce, static_cast<int>(boxes.size()));
            if (boxes.isEmpty()) {
                outcome.settled = true;
                break;
            }
            desktop_.Keys(boxes.last(), {QStringLiteral("Return")});
            ++outcome.answered;
            RestartQuiet();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return outcome;
}

OpenCounter::OpenCounter(const QString& folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    ::inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN);
}

OpenCounter::~OpenCounter() {
    ::close(fd_);
}

int OpenCounter::Opens(const QString& name) {
    Drain();
    return counts_.value(name);
}

void OpenCounter::Reset() {
    Drain();
    counts_.clear();
}

void OpenCounter::Drain() {
    alignas(inotify_event) char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(fd_, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0) {  // events of the folder itself carry no name
                ++counts_[QFile::decodeName(event->name)];
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

}  // namespace tamsel::e2e
