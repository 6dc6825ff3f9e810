// The viewer and feh on the benchmark's own X server with a window manager: from starting a program
// to its picture on screen, from a key to the next picture, thumbnail pages, the opens of the shown
// file at start-up and peaks of memory. Every time ends when the screen shows what it showed once it
// had stopped changing on the warm-up round.
#include <sys/inotify.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <initializer_list>
#include <stdexcept>

#include "Figures.h"

// After Qt's headers, as in Desktop.cpp.
#include <X11/keysym.h>

namespace tamsel::bench {

namespace {

using Frame = Desktop::Frame;

// feh's thumbnails are at most this large: about the viewer's cells on this screen.
constexpr QSize kFehThumbnail{625, 301};
constexpr double kStepPause = 0.2;   // before a key in the single view's paused rows
constexpr double kPagePause = 0.5;   // before the key to the next thumbnail page
constexpr double kMenuPause = 0.3;   // between the keys that open File > Thumbnail View
constexpr double kAfterShown = 0.5;  // opens are counted until this long after the picture is on screen

std::runtime_error Failure(const QStringList& command, const QString& what) {
    return std::runtime_error(QFileInfo(command.front()).fileName().toStdString() + ": " +
                              what.toStdString());
}

// The opens (inotify IN_OPEN) of one file from now on, by any process.
class OpenCounter {
public:
    explicit OpenCounter(const QString& path) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (fd_ < 0 || ::inotify_add_watch(fd_, QFile::encodeName(path).constData(), IN_OPEN) < 0) {
            throw std::runtime_error("cannot watch " + path.toStdString());
        }
    }
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;
    ~OpenCounter() { ::close(fd_); }

    int Opens() const {
        alignas(inotify_event) char buffer[4096];
        int opens = 0;
        ssize_t got = 0;
        while ((got = ::read(fd_, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                opens += (event->mask & IN_OPEN) != 0 ? 1 : 0;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return opens;
    }

private:
    int fd_;
};

// A program on the desktop, started through the peak launcher: `command` is the program and its
// arguments.
class OnScreen {
public:
    OnScreen(const Context& context, const QStringList& command)
        : context_(context),
          command_(command),
          started_(MonotonicNanoseconds()),
          process_(context.launcher, command, Process::StandardOutput::Capture,
                   context.desktop.Environment()) {
        const QList<QByteArray> started = process_.ReadLine().split(' ');
        if (!process_.Started() || started.size() != 2 || started[0] != "pid") {
            throw Failure(command_, QStringLiteral("cannot start"));
        }
        stat_ = QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(started[1]));
    }

    // Waits until the screen shows `frame`; the seconds from `from` (the start when not given).
    double SecondsTo(const Frame& frame, std::optional<std::int64_t> from = std::nullopt) const {
        const std::optional<std::int64_t> seen = context_.desktop.WaitFor(frame);
        if (!seen) {
            throw Failure(command_, QStringLiteral("the screen never showed the picture of the warm-up"));
        }
        return SecondsBetween(from.value_or(started_), *seen);
    }

    // What the screen shows once it is no longer `before` and neither it nor the program has done
    // anything for a second: the screen unchanged, and at most one clock tick of the program's CPU
    // time. A program busy behind a frozen window has not settled.
    Frame Settled(const Frame& before) const {
        const std::int64_t start = MonotonicNanoseconds();
        std::int64_t since = start;
        Frame last = context_.desktop.Grab();
        double cpu = CpuSeconds();
        while (SecondsBetween(start, MonotonicNanoseconds()) < 60.0) {
            Pause(0.02);
            const std::int64_t now = MonotonicNanoseconds();
            Frame frame = context_.desktop.Grab();
            if (frame != last || SecondsBetween(since, now) >= 1.0) {
                const double used = CpuSeconds();
                if (frame == last && last != before && used - cpu < 0.015) {
                    return last;
                }
                last = std::move(frame);
                since = now;
                cpu = used;
            }
        }
        throw Failure(command_, QStringLiteral("nothing settled on screen"));
    }

    // Ends the program and waits until the screen shows `empty` again; the program's peak in KiB.
    double End(const Frame& empty) {
        process_.Terminate();
        process_.Finish();
        const QList<QByteArray> words = process_.Output().trimmed().split('\n').constLast().split(' ');
        if (words.size() != 4 || words[0] != "peak-kib" || !context_.desktop.WaitFor(empty, 10.0)) {
            throw Failure(command_, QStringLiteral("did not end cleanly"));
        }
        return words[1].toDouble();
    }

private:
    // The program's CPU time so far, all threads.
    double CpuSeconds() const {
        QFile file(stat_);
        const QByteArray stat = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        // The fields after the command's name, from the third (state) on; the 14th and 15th are the
        // user and system time in clock ticks.
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        return fields.size() > 12 ? (fields[11].toDouble() + fields[12].toDouble()) /
                                        static_cast<double>(::sysconf(_SC_CLK_TCK))
                                  : 0.0;
    }

    const Context& context_;
    QStringList command_;
    std::int64_t started_;
    Process process_;
    QString stat_;
};

// A program's runs of one kind, each called with its round (-1: the warm-up).
struct Job {
    explicit Job(QStringList commandLine) : command(std::move(commandLine)) {}
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;
    virtual ~Job() = default;
    virtual void Run(const Context& context, const Frame& empty, int round) = 0;

    // False when a program of the command is not installed (an empty path).
    bool Installed() const { return !command.contains(QString()); }

    QStringList command;
};

// What is done in a session after the start: after `pause`, `keys` are typed kMenuPause apart, and the
// time from the last one to the screen's next picture goes to `times`.
struct Step {
    double pause = 0.0;
    std::vector<unsigned long> keys;
    std::vector<double>* times = nullptr;
};

// Sessions of one program: each starts it, waits until its first picture is on screen, takes the steps,
// counts the opens of `watched` until kAfterShown after the last picture and ends the program. The
// warm-up learns what the screen shows after the start and after each step.
struct Session final : Job {
    Session(QStringList commandLine, QString watchedFile, std::vector<Step> sessionSteps = {})
        : Job(std::move(commandLine)), watched(std::move(watchedFile)), steps(std::move(sessionSteps)) {}

    void Run(const Context& context, const Frame& empty, int round) override {
        const OpenCounter counter(watched);
        OnScreen run(context, command);
        if (round < 0) {
            shown = {run.Settled(empty)};
        } else {
            starts.push_back(run.SecondsTo(shown.front()));
        }
        for (std::size_t k = 0; k < steps.size(); ++k) {
            Pause(steps[k].pause);
            std::int64_t key = 0;
            for (const unsigned long symbol : steps[k].keys) {
                Pause(key == 0 ? 0.0 : kMenuPause);
                key = context.desktop.Type(symbol);
            }
            if (round < 0) {
                shown.push_back(run.Settled(shown.back()));
            } else {
                steps[k].times->push_back(run.SecondsTo(shown[k + 1], key));
            }
        }
        Pause(kAfterShown);
        const int opened = counter.Opens();
        const double peak = run.End(empty);
        if (round >= 0) {
            opens.push_back(opened);
            peaks.push_back(peak);
        }
    }

    QString watched;
    std::vector<Step> steps;
    std::vector<Frame> shown;  // after the start and after each step, learnt on the warm-up round
    std::vector<double> starts;
    std::vector<double> opens;
    std::vector<double> peaks;
};

// A reference that shows nothing: a command run to its end, timed.
struct Timing final : Job {
    using Job::Job;

    void Run(const Context& /*context*/, const Frame& /*empty*/, int round) override {
        Timed(round, seconds, [&] {
            if (RunProcess(command.front(), command.mid(1)) != 0) {
                throw Failure(command, QStringLiteral("failed"));
            }
        });
    }

    std::vector<double> seconds;
};

// Runs the installed ones of `jobs` in turn, `runs` rounds after the warm-up.
void Alternate(const Context& context, const Frame& empty, int runs, std::initializer_list<Job*> jobs) {
    std::vector<std::function<void(int)>> bodies;
    for (Job* job : jobs) {
        if (job->Installed()) {
            bodies.emplace_back([&context, &empty, job](int round) { job->Run(context, empty, round); });
        }
    }
    Interleave(runs, bodies);
}

double Most(std::vector<double> values) {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

// A reference's median of its values (or another `summary`); its absence when its program is not
// installed.
Reference ReferenceOf(const QString& name, const Job& job, const std::vector<double>& values,
                      double (*summary)(std::vector<double>) = Median) {
    return {name, job.Installed() ? std::optional<double>(summary(values)) : std::nullopt};
}

// What the rows on screen share: the window size, feh's single-picture command and the empty screen.
struct Screen {
    Context& context;
    Frame empty;
    QSize window;
    QString feh;

    QStringList FehView(const QStringList& files) const {
        return QStringList{feh, QStringLiteral("--scale-down"), QStringLiteral("--geometry"), Geometry()} +
               files;
    }
    QStringList FehThumbnails(const QStringList& files) const {
        return QStringList{feh,
                           QStringLiteral("--thumbnails"),
                           QStringLiteral("--thumb-width"),
                           QString::number(kFehThumbnail.width()),
                           QStringLiteral("--thumb-height"),
                           QString::number(kFehThumbnail.height()),
                           QStringLiteral("--limit-width"),
                           QString::number(window.width()),
                           QStringLiteral("--geometry"),
                           Geometry()} +
               files;
    }
    QString Geometry() const { return QStringLiteral("%1x%2+0+0").arg(window.width()).arg(window.height()); }
    void Alternate(int runs, std::initializer_list<Job*> jobs) const {
        bench::Alternate(context, empty, runs, jobs);
    }
};

// Start to the picture on screen and the opens of the shown file, for one picture (feh shows
// `fehFile`: the same pixels).
void StartRows(const Screen& screen, const QString& what, const QString& file, const QString& fehFile) {
    const int runs = screen.context.Runs(9, 3);
    Session ours({screen.context.viewer, file}, file);
    Session feh(screen.FehView({fehFile}), fehFile);
    screen.Alternate(runs, {&ours, &feh});
    Table& table = screen.context.table;
    table.AddTime(QStringLiteral("start to the picture on screen, %1%2").arg(what, RunsNote(runs)),
                  Median(ours.starts), ReferenceOf(QStringLiteral("feh --scale-down"), feh, feh.starts));
    table.AddCount(
        QStringLiteral("opens of the shown file at start-up, %1 (most of %2 runs)").arg(what).arg(runs),
        Most(ours.opens), ReferenceOf(QStringLiteral("feh"), feh, feh.opens, Most));
}

// Right in the single view, round a cycle of `files` (feh: `fehFiles`), with kStepPause before each
// key and then without.
void StepRows(const Screen& screen, const QString& what, const QStringList& files,
              const QStringList& fehFiles) {
    const int runs = screen.context.Runs(3, 1);
    std::array<std::vector<double>, 4> times;  // ours and feh's, paused and not
    const auto steps = [&](std::size_t first) {
        std::vector<Step> cycle;
        for (std::size_t lap = 0; lap < 2; ++lap) {
            for (qsizetype k = 0; k < files.size(); ++k) {
                cycle.push_back({lap == 0 ? kStepPause : 0.0, {XK_Right}, &times[first + lap]});
            }
        }
        return cycle;
    };
    Session ours({screen.context.viewer, files.front()}, files.front(), steps(0));
    Session feh(screen.FehView(fehFiles), fehFiles.front(), steps(2));
    screen.Alternate(runs, {&ours, &feh});
    const QString figure = QStringLiteral("key to the next picture on screen, %1, %2 [%3 keys]");
    const QString keys = QString::number(runs * files.size());
    Table& table = screen.context.table;
    table.AddTime(figure.arg(what, QStringLiteral("%1 ms after the last").arg(kStepPause * 1e3), keys),
                  Median(times[0]), ReferenceOf(QStringLiteral("feh"), feh, times[2]));
    table.AddTime(figure.arg(what, QStringLiteral("as soon as the last is shown"), keys), Median(times[1]),
                  ReferenceOf(QStringLiteral("feh"), feh, times[3]));
}

// The viewer started on a folder, then File > Thumbnail View from the keyboard (the menu bar takes the
// keyboard on a lone Alt; Down opens File, Down again is Thumbnail View), then Right to each of the
// next `pages` - 1 pages after kPagePause.
Session ThumbnailSession(const Screen& screen, const QString& folder, int pages, std::vector<double>& first,
                         std::vector<double>& next) {
    std::vector<Step> steps{{0.0, {XK_Alt_L, XK_Down, XK_Down, XK_Return}, &first}};
    for (int page = 1; page < pages; ++page) {
        steps.push_back({kPagePause, {XK_Right}, &next});
    }
    return Session({screen.context.viewer, folder}, FilesOf(folder, QStringLiteral("*.jpg")).front(), steps);
}

void PageRows(const Screen& screen) {
    Context& context = screen.context;
    const int runs = context.Runs(5, 2);
    const QString folder = context.data.Photos(QStringLiteral("pages-12mp"), {4000, 3000}, 27);
    const QStringList nine = FilesOf(folder, QStringLiteral("*.jpg")).mid(0, 9);
    const QString list = context.data.Root() + QStringLiteral("/nine.txt");
    QFile listFile(list);
    if (!listFile.open(QIODevice::WriteOnly) || listFile.write(nine.join(u'\n').toUtf8()) < 0) {
        throw std::runtime_error("cannot write " + list.toStdString());
    }
    listFile.close();
    std::vector<double> first;
    std::vector<double> next;
    Session ours = ThumbnailSession(screen, folder, 3, first, next);
    Session feh(screen.FehThumbnails(nine), nine.front());
    Timing djpeg({FindProgram(QStringLiteral("xargs")), QStringLiteral("-a"), list, QStringLiteral("-d"),
                  QStringLiteral("\n"), QStringLiteral("-P"), QStringLiteral("2"), QStringLiteral("-n"),
                  QStringLiteral("1"), FindProgram(QStringLiteral("djpeg")), QStringLiteral("-scale"),
                  QStringLiteral("1/8"), QStringLiteral("-outfile"), QStringLiteral("/dev/null")});
    screen.Alternate(runs, {&ours, &feh, &djpeg});
    const QString figure =
        QStringLiteral("thumbnail page of nine 12 MP JPEGs on screen, from Return on File > Thumbnail View%1")
            .arg(RunsNote(runs));
    context.table.AddTime(figure, Median(first),
                          ReferenceOf(QStringLiteral("feh --thumbnails, from its start"), feh, feh.starts));
    context.table.AddTime(
        figure, Median(first),
        ReferenceOf(QStringLiteral("9 x djpeg -scale 1/8, two at a time"), djpeg, djpeg.seconds));
    context.table.AddTime(
        QStringLiteral("next thumbnail page on screen, from Right %1 ms after the last [%2 keys]")
            .arg(kPagePause * 1e3)
            .arg(next.size()),
        Median(next), {});
}

void PeakRows(const Screen& screen) {
    Context& context = screen.context;
    const int runs = context.Runs(3, 1);
    const QString huge = FilesOf(context.data.Photos(QStringLiteral("peak-100mp"), {12'000, 8'400}, 1),
                                 QStringLiteral("*.jpg"))
                             .front();
    Session ours({context.viewer, huge}, huge);
    Session feh(screen.FehView({huge}), huge);
    const QString folder = context.data.Photos(QStringLiteral("peak-48mp"), {8'000, 6'000}, 9);
    std::vector<double> first;
    std::vector<double> next;
    Session page = ThumbnailSession(screen, folder, 1, first, next);
    Session fehPage(screen.FehThumbnails(FilesOf(folder, QStringLiteral("*.jpg"))), page.watched);
    screen.Alternate(runs, {&ours, &feh, &page, &fehPage});
    context.table.AddPeak(
        QStringLiteral("peak memory, 100 MP JPEG 12000x8400 in the single view%1").arg(RunsNote(runs)),
        Median(ours.peaks), ReferenceOf(QStringLiteral("feh --scale-down"), feh, feh.peaks));
    context.table.AddPeak(
        QStringLiteral("peak memory, thumbnail page of nine 48 MP JPEGs%1").arg(RunsNote(runs)),
        Median(page.peaks), ReferenceOf(QStringLiteral("feh --thumbnails"), fehPage, fehPage.peaks));
}

}  // namespace

void ScreenFigures(Context& context) {
    Desktop& desktop = context.desktop;
    if (!desktop.Absence().isEmpty()) {
        context.table.Add({QStringLiteral("figures on screen"), QStringLiteral("-"),
                           QStringLiteral("left out: ") + desktop.Absence(), QStringLiteral("-")});
        return;
    }
    // feh gets a window of the size that the viewer's takes.
    Screen screen{context, desktop.Grab(), {}, FindProgram(QStringLiteral("feh"))};
    {
        OnScreen probe(context, {context.viewer, context.data.EmptyFolder()});
        probe.Settled(screen.empty);
        screen.window = desktop.ActiveWindowSize();
        probe.End(screen.empty);
    }
    if (screen.window.isEmpty()) {
        throw std::runtime_error("the viewer's window never became active");
    }
    const QString photo24 =
        FilesOf(context.data.Photos(QStringLiteral("start-24mp"), {6000, 4000}, 1), QStringLiteral("*.jpg"))
            .front();
    const QString textures = context.data.Textures(4096, 4);
    const QStringList textureFiles = FilesOf(textures, QStringLiteral("*.pbf"));
    const QStringList textureBmps = FilesOf(textures + QStringLiteral("-bmp"), QStringLiteral("*.bmp"));
    const QStringList photos12 =
        FilesOf(context.data.Photos(QStringLiteral("next-12mp"), {4000, 3000}, 6), QStringLiteral("*.jpg"));

    context.say(QStringLiteral("start to the picture on screen"));
    StartRows(screen, QStringLiteral("24 MP JPEG 6000x4000"), photo24, photo24);
    StartRows(screen, QStringLiteral("texture 4096x4096 (feh: the same pixels as a BMP)"),
              textureFiles.front(), textureBmps.front());
    context.say(QStringLiteral("key to the next picture"));
    StepRows(screen, QStringLiteral("12 MP JPEGs"), photos12, photos12);
    StepRows(screen, QStringLiteral("textures 4096x4096 (feh: BMPs)"), textureFiles, textureBmps);
    context.say(QStringLiteral("thumbnail pages"));
    PageRows(screen);
    context.say(QStringLiteral("peaks of memory"));
    PeakRows(screen);
}

}  // namespace tamsel::bench
