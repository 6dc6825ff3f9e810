// The viewer and feh on the benchmark's own X server with a window manager: from starting a program
// to its picture on screen, from a key to the next picture, thumbnail pages, the opens of the shown
// file at start-up and peaks of memory. Every time ends when the window shows what it showed once it
// and its program had settled on the warm-up round.
#include <sys/inotify.h>
#include <unistd.h>

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <initializer_list>
#include <stdexcept>

#include "Figures.h"
#include "Measure.h"
#include "samples/JpegFiles.h"

// After Qt's headers, as in Desktop.cpp.
#include <X11/keysym.h>

namespace tamsel::bench {

namespace {

using Frame = Desktop::Frame;

constexpr double kStepPause = 0.2;    // before a key in the single view's paused rows
constexpr double kPagePause = 0.5;    // before the key to the next thumbnail page
constexpr double kMenuPause = 0.3;    // between the keys that open File > Thumbnail View
constexpr double kAfterShown = 0.5;   // opens are counted until this long after the last picture
constexpr double kSettlePause = 1.5;  // before a key once the reading ahead of a large picture is done

std::runtime_error Failure(const QStringList& command, const char* what) {
    return std::runtime_error(QFileInfo(command.front()).fileName().toStdString() + ": " + what);
}

// The opens (inotify IN_OPEN) of one file from now on, by any process.
class OpenCounter {
public:
    explicit OpenCounter(const QString& path) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (::inotify_add_watch(fd_, QFile::encodeName(path).constData(), IN_OPEN) < 0) {
            throw std::runtime_error("cannot watch " + path.toStdString());
        }
    }
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;
    ~OpenCounter() { ::close(fd_); }

    int Opens() const {
        int opens = 0;
        alignas(inotify_event) char events[4096];
        for (ssize_t got = 0; (got = ::read(fd_, events, sizeof events)) > 0;) {
            for (const char* at = events; at < events + got; at += sizeof(inotify_event)) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                opens += (event->mask & IN_OPEN) != 0 ? 1 : 0;
                at += event->len;
            }
        }
        return opens;
    }

private:
    int fd_;
};

// One run of a program on the desktop.
class OnScreen {
public:
    OnScreen(const Context& context, const QStringList& command)
        : desktop_(context.desktop), command_(command), started_(MonotonicNanoseconds()) {
        if (!Start(process_, command, desktop_.Environment())) {
            throw Failure(command_, "cannot start");
        }
        proc_ = QStringLiteral("/proc/%1/").arg(process_.processId());
    }

    // Waits until the window shows `frame`; the seconds from `from` (the start when not given).
    double SecondsTo(const Frame& frame, std::optional<std::int64_t> from = std::nullopt) const {
        const std::optional<std::int64_t> seen = desktop_.WaitFor(frame);
        if (!seen) {
            throw Failure(command_, "the window never showed what it showed on the warm-up round");
        }
        return SecondsBetween(from.value_or(started_), *seen);
    }

    // What the window shows once it is no longer `before` and neither it nor the program has done
    // anything for a second: the window unchanged, and at most one clock tick of the program's CPU
    // time. A program busy behind a frozen window has not settled.
    Frame Settled(const Frame& before) const {
        const std::int64_t start = MonotonicNanoseconds();
        std::int64_t since = start;
        Frame last = desktop_.Grab();
        double cpu = CpuSeconds();
        while (SecondsBetween(start, MonotonicNanoseconds()) < 60.0) {
            Pause(0.02);
            Frame frame = desktop_.Grab();
            if (frame != last || SecondsBetween(since, MonotonicNanoseconds()) >= 1.0) {
                const double used = CpuSeconds();
                if (frame == last && last != before && used - cpu < 0.015) {
                    return last;
                }
                last = std::move(frame);
                since = MonotonicNanoseconds();
                cpu = used;
            }
        }
        throw Failure(command_, "nothing settled on screen");
    }

    // Ends the program and waits until no window is shown; the most resident memory the program held,
    // in kB (1024 bytes).
    double End() {
        const QRegularExpressionMatch peak = QRegularExpression(QStringLiteral("VmHWM:\\s*(\\d+) kB"))
                                                 .match(QString::fromLatin1(Read(QStringLiteral("status"))));
        process_.terminate();
        process_.waitForFinished(-1);
        if (!peak.hasMatch() || !desktop_.WaitFor({}, 10.0)) {
            throw Failure(command_, "did not end cleanly");
        }
        return peak.captured(1).toDouble();
    }

private:
    QByteArray Read(const QString& name) const {
        QFile file(proc_ + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The program's CPU time so far, all threads: the 14th and 15th fields of its stat, in clock
    // ticks, counted from the state (the 3rd) after the command's name.
    double CpuSeconds() const {
        const QByteArray stat = Read(QStringLiteral("stat"));
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        return fields.size() < 13 ? 0.0
                                  : (fields[11].toDouble() + fields[12].toDouble()) /
                                        static_cast<double>(::sysconf(_SC_CLK_TCK));
    }

    const Desktop& desktop_;
    QStringList command_;
    std::int64_t started_;
    QProcess process_;
    QString proc_;  // the program's folder in /proc
};

// What a session does after the start: after `pause`, `keys` are typed `apart` seconds apart, and the
// time from the last one to the window's next picture goes to `times`, when it is given.
struct Step {
    double pause = 0.0;
    std::vector<unsigned long> keys;
    std::vector<double>* times = nullptr;
    double apart = kMenuPause;
};

// Sessions of one program: each starts it, waits until its first picture is on screen, takes the
// steps, counts the opens of `watched` until kAfterShown after the last picture and ends the program.
// The warm-up learns what the window shows after the start and after each step.
struct Session {
    QStringList command;
    QString watched;
    std::vector<Step> steps{};
    std::vector<Frame> shown{};
    QSize window{};  // the inside of the window, on the warm-up round
    std::vector<double> starts{};
    std::vector<double> opens{};
    std::vector<double> peaks{};

    // False when the program is not installed (an empty path).
    bool Installed() const { return !command.front().isEmpty(); }

    void Run(const Context& context, int round) {
        const OpenCounter counter(watched);
        OnScreen run(context, command);
        if (round < 0) {
            shown = {run.Settled({})};
            window = context.desktop.ActiveWindowSize();
        } else {
            starts.push_back(run.SecondsTo(shown.front()));
        }
        for (std::size_t k = 0; k < steps.size(); ++k) {
            Pause(steps[k].pause);
            std::int64_t key = 0;
            for (const unsigned long symbol : steps[k].keys) {
                Pause(key == 0 ? 0.0 : steps[k].apart);
                key = context.desktop.Type(symbol);
            }
            if (round < 0) {
                shown.push_back(run.Settled(shown.back()));
            } else if (const double seconds = run.SecondsTo(shown[k + 1], key); steps[k].times != nullptr) {
                steps[k].times->push_back(seconds);
            }
        }
        Pause(kAfterShown);
        const int opened = counter.Opens();
        const double peak = run.End();
        if (round >= 0) {
            opens.push_back(opened);
            peaks.push_back(peak);
        }
    }
};

double Most(std::vector<double> values) {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

// What the rows on screen share.
struct Screen {
    Context& context;
    QString feh;   // empty when it is not installed
    QSize window;  // the inside of the viewer's window: feh gets a window of that size

    QStringList Feh(const QString& options, const QStringList& files) const {
        return QStringList{feh} +
               options.arg(window.width()).arg(window.height()).split(u' ', Qt::SkipEmptyParts) + files;
    }
    QStringList FehView(const QStringList& files) const {
        return Feh(QStringLiteral("--scale-down --geometry %1x%2+0+0"), files);
    }
    // Thumbnails of at most 625 x 301 pixels, about the viewer's cells on this screen.
    QStringList FehThumbnails(const QStringList& files) const {
        return Feh(QStringLiteral("--thumbnails --thumb-width 625 --thumb-height 301 --limit-width %1 "
                                  "--geometry %1x%2+0+0"),
                   files);
    }

    // The installed ones of `sessions`, then `others`, in turn: once to warm up (round -1), then
    // `runs` rounds.
    void Alternate(int runs, std::initializer_list<Session*> sessions,
                   const std::vector<std::function<void(int)>>& others = {}) const {
        std::vector<std::function<void(int)>> bodies;
        for (Session* session : sessions) {
            if (session->Installed()) {
                bodies.emplace_back([this, session](int round) { session->Run(context, round); });
            }
        }
        bodies.insert(bodies.end(), others.begin(), others.end());
        for (int round = -1; round < runs; ++round) {
            for (const std::function<void(int)>& body : bodies) {
                body(round);
            }
        }
    }

    // A row of the medians (or another `summary`) of our values and a reference's, which is missing
    // when it is not installed.
    void Row(const QString& figure, Table::Unit unit, const std::vector<double>& ours,
             const QString& reference, bool installed, const std::vector<double>& theirs,
             double (*summary)(std::vector<double>) = Median,
             std::optional<Table::Target> target = std::nullopt) const {
        context.table.Add(figure, unit, summary(ours), reference,
                          installed ? std::optional<double>(summary(theirs)) : std::nullopt, target);
    }
};

// A picture the viewer is started on, beside feh on `fehFile` (the same pixels), and what its rows aim at:
// the start at most `overEmpty` times our start on an empty folder and `overFeh` times feh's, the peak
// at most `mostPeak` kB.
struct StartCase {
    QString what;
    QString file;
    QString fehFile;
    std::optional<double> overEmpty;
    std::optional<double> overFeh;
    std::optional<double> mostPeak;
};

// Start to the picture on screen, the opens of the shown file and the peak of memory, in the single
// view, for each case in the same rounds; with `emptyFolder`, also the viewer started on that folder
// beside the floor: the least a Qt 6 Widgets program shows, a main window of the viewer's inside size.
void StartRows(const Screen& screen, const std::vector<StartCase>& cases, int runs,
               const QString& emptyFolder = {}) {
    const QString floorProgram = QStringLiteral(TAMSEL_FLOOR_PATH);
    Session floor{
        {floorProgram, QStringLiteral("%1x%2").arg(screen.window.width()).arg(screen.window.height())},
        floorProgram};
    Session empty{{screen.context.viewer, emptyFolder}, emptyFolder};
    std::vector<Session> ours;
    std::vector<Session> feh;
    for (const StartCase& start : cases) {
        ours.push_back({{screen.context.viewer, start.file}, start.file});
        feh.push_back({screen.FehView({start.fehFile}), start.fehFile});
    }
    std::vector<std::function<void(int)>> bodies;
    const auto add = [&](Session& session) {
        if (session.Installed()) {
            bodies.emplace_back([&screen, &session](int round) { session.Run(screen.context, round); });
        }
    };
    if (!emptyFolder.isEmpty()) {
        add(floor);
        add(empty);
    }
    for (std::size_t k = 0; k < cases.size(); ++k) {
        add(ours[k]);
        add(feh[k]);
    }
    screen.Alternate(runs, {}, bodies);
    const QString reference = QStringLiteral("feh --scale-down");
    if (!emptyFolder.isEmpty()) {
        screen.Row(QStringLiteral("start to the window on screen, on an empty folder%1").arg(RunsNote(runs)),
                   Table::Unit::Time, empty.starts,
                   QStringLiteral("the floor: a Qt 6 main window with three menus"), true, floor.starts,
                   Median, Table::Target{1.1});
    }
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const StartCase& start = cases[k];
        const QString figure =
            QStringLiteral("start to the picture on screen, %1%2").arg(start.what, RunsNote(runs));
        const auto ratio = [](std::optional<double> most) {
            return most ? std::optional<Table::Target>(Table::Target{*most}) : std::nullopt;
        };
        screen.Row(figure, Table::Unit::Time, ours[k].starts, reference, feh[k].Installed(), feh[k].starts,
                   Median, ratio(start.overFeh));
        if (start.overEmpty) {
            screen.Row(figure, Table::Unit::Time, ours[k].starts, QStringLiteral("ours on an empty folder"),
                       true, empty.starts, Median, ratio(start.overEmpty));
        }
        screen.Row(QStringLiteral("opens of the shown file at start-up, %1, the most in a run%2")
                       .arg(start.what, RunsNote(runs)),
                   Table::Unit::Count, ours[k].opens, reference, feh[k].Installed(), feh[k].opens, Most);
        screen.Row(QStringLiteral("peak memory, %1 in the single view%2").arg(start.what, RunsNote(runs)),
                   Table::Unit::Peak, ours[k].peaks, reference, feh[k].Installed(), feh[k].peaks, Median,
                   start.mostPeak ? std::optional<Table::Target>(Table::Target{*start.mostPeak, false})
                                  : std::nullopt);
    }
}

// Right in the single view, round the cycle of `files` (feh: `fehFiles`) with kStepPause before each
// key, then round again without.
void StepRows(const Screen& screen, const QString& what, const QStringList& files,
              const QStringList& fehFiles) {
    const int runs = screen.context.Runs(3, 1);
    std::array<std::vector<double>, 4> times;  // ours paused, ours not, feh's paused, feh's not
    const auto laps = [&](std::size_t first) {
        std::vector<Step> steps(static_cast<std::size_t>(files.size()),
                                {kStepPause, {XK_Right}, &times[first]});
        steps.insert(steps.end(), static_cast<std::size_t>(files.size()),
                     {0.0, {XK_Right}, &times[first + 1]});
        return steps;
    };
    Session ours{{screen.context.viewer, files.front()}, files.front(), laps(0)};
    Session feh{screen.FehView(fehFiles), fehFiles.front(), laps(2)};
    screen.Alternate(runs, {&ours, &feh});
    const QString figure = QStringLiteral("key to the next picture on screen, %1, %2 [%3 keys]");
    const QString keys = QString::number(runs * files.size());
    screen.Row(figure.arg(what, QStringLiteral("%1 ms after the last").arg(kStepPause * 1e3), keys),
               Table::Unit::Time, times[0], QStringLiteral("feh"), feh.Installed(), times[2]);
    screen.Row(figure.arg(what, QStringLiteral("as soon as the last is shown"), keys), Table::Unit::Time,
               times[1], QStringLiteral("feh"), feh.Installed(), times[3]);
}

// The viewer started on the folder of `files`, then File > Thumbnail View from the keyboard (a lone
// Alt gives the menu bar the keyboard, Down opens File, Down again is Thumbnail View), then Right to
// each further page after kPagePause; beside feh's thumbnails of the first nine files and djpeg at
// the scale that gives thumbnails of about the cells' size, two processes at a time.
void PageRows(const Screen& screen, const QString& what, const QStringList& files, int runs,
              std::optional<double> mostPeak = std::nullopt) {
    const QStringList nine = files.mid(0, 9);
    std::vector<double> first;
    std::vector<double> next;
    std::vector<Step> steps{{0.0, {XK_Alt_L, XK_Down, XK_Down, XK_Return}, &first}};
    steps.insert(steps.end(), static_cast<std::size_t>((files.size() - 1) / 9),
                 {kPagePause, {XK_Right}, &next});
    Session ours{{screen.context.viewer, QFileInfo(files.front()).path()}, files.front(), steps};
    Session feh{screen.FehThumbnails(nine), nine.front()};
    const QStringList djpeg =
        QStringList{FindProgram(QStringLiteral("xargs")), QStringLiteral("-a"),
                    screen.context.data.FileList(nine), QStringLiteral("-d"), QStringLiteral("\n")} +
        QStringLiteral("-P 2 -n 1").split(u' ') + QStringList{FindProgram(QStringLiteral("djpeg"))} +
        QStringLiteral("-scale 1/8 -outfile /dev/null").split(u' ');
    const bool decoder = !djpeg.contains(QString());
    std::vector<double> decodes;
    screen.Alternate(runs, {&ours, &feh}, {[&](int round) {
                         const std::int64_t start = MonotonicNanoseconds();
                         if (decoder && !Run(djpeg)) {
                             throw Failure(djpeg, "djpeg failed");
                         }
                         if (round >= 0) {
                             decodes.push_back(SecondsBetween(start, MonotonicNanoseconds()));
                         }
                     }});
    const QString figure =
        QStringLiteral("thumbnail page of nine %1 on screen, from Return on File > Thumbnail View%2")
            .arg(what, RunsNote(runs));
    screen.Row(figure, Table::Unit::Time, first, QStringLiteral("feh --thumbnails, from its start"),
               feh.Installed(), feh.starts);
    screen.Row(figure, Table::Unit::Time, first, QStringLiteral("9 x djpeg -scale 1/8, two at a time"),
               decoder, decodes);
    if (!next.empty()) {
        const QString keys =
            QStringLiteral("%1 ms after the last [%2 keys]").arg(kPagePause * 1e3).arg(next.size());
        screen.Row(QStringLiteral("next thumbnail page of %1 on screen, from Right %2").arg(what, keys),
                   Table::Unit::Time, next, {}, false, {});
    }
    screen.Row(QStringLiteral("peak memory, thumbnail page of nine %1%2").arg(what, RunsNote(runs)),
               Table::Unit::Peak, ours.peaks, QStringLiteral("feh --thumbnails"), feh.Installed(), feh.peaks,
               Median,
               mostPeak ? std::optional<Table::Target>(Table::Target{*mostPeak, false}) : std::nullopt);
}

// A held key: `kHeldKeys` Right keys typed kHeldKeyApart apart over `files` in the single view, from the
// first, faster than pictures are shown; from the last key to the picture those keys reach on screen,
// as the viewer started on that picture shows it, which the window must also settle on.
constexpr int kHeldKeys = 200;
constexpr double kHeldKeyApart = 0.005;
constexpr double kMostAfterHeldKey = 0.3;

void HeldKeyRows(const Screen& screen, const QString& what, const QStringList& files) {
    const Context& context = screen.context;
    const QString reached = files[kHeldKeys % files.size()];
    Session expected{{context.viewer, reached}, reached};
    expected.Run(context, -1);
    std::vector<double> times;
    Session held{{context.viewer, files.front()},
                 files.front(),
                 {{0.0, std::vector<unsigned long>(kHeldKeys, XK_Right), &times, kHeldKeyApart}}};
    const int runs = context.Runs(5, 2);
    screen.Alternate(runs, {&held}, {[&](int round) {
                         if (round < 0 && held.shown.back() != expected.shown.front()) {
                             throw Failure(held.command,
                                           "held Right keys did not end on the picture they reach");
                         }
                     }});
    screen.Row(QStringLiteral("%1 Right keys %2 ms apart over %3, from the last key to the picture they "
                              "reach (%4) on screen%5")
                   .arg(kHeldKeys)
                   .arg(kHeldKeyApart * 1e3)
                   .arg(what, QFileInfo(reached).fileName(), RunsNote(runs)),
               Table::Unit::Time, times, {}, false, {}, Median, Table::Target{kMostAfterHeldKey, false});
}

// Right in the single view over `files`, the second of them a large BMP: from the first file onto
// the BMP after kSettlePause, then onto the two files after it, each as soon as the one before is on
// screen, beside the same two keys each after kSettlePause. Reading ahead around the BMP must not hold
// up the pictures after it.
void AfterBitmapRows(const Screen& screen, const QString& what, const QStringList& files) {
    const int runs = screen.context.Runs(5, 2);
    std::vector<double> soon;
    std::vector<double> paused;
    const auto steps = [&](double pause, std::vector<double>& times) {
        return std::vector<Step>{
            {kSettlePause, {XK_Right}}, {pause, {XK_Right}, &times}, {pause, {XK_Right}, &times}};
    };
    Session ours{{screen.context.viewer, files.front()}, files.front(), steps(0.0, soon)};
    Session settled{{screen.context.viewer, files.front()}, files.front(), steps(kSettlePause, paused)};
    screen.Alternate(runs, {&ours, &settled});
    screen.Row(QStringLiteral("key to the next picture on screen, the two after %1, as soon as the last is "
                              "shown [%2 keys]")
                   .arg(what)
                   .arg(soon.size()),
               Table::Unit::Time, soon,
               QStringLiteral("the same, %1 ms after the last").arg(kSettlePause * 1e3), true, paused, Median,
               Table::Target{1.2});
}

// The totals of each run's `count` steps, from the times of all the steps in turn.
std::vector<double> RunTotals(const std::vector<double>& steps, std::size_t count) {
    std::vector<double> totals(steps.size() / count, 0.0);
    for (std::size_t k = 0; k < totals.size() * count; ++k) {
        totals[k / count] += steps[k];
    }
    return totals;
}

// The viewer refusing `files` (nine of them, each a small file claiming a huge picture) beside refusing
// `plain` (as many files refused at their first bytes): started on the first, to its message on screen;
// then started on their folder, from Return on File > Thumbnail View through the message of each file
// on the page, each answered with Return as soon as it is on screen, to the empty page. Peaks of both.
void RefusalRows(const Screen& screen, const QString& what, const QStringList& files,
                 const QStringList& plain) {
    const QString& viewer = screen.context.viewer;
    const QString reference = QStringLiteral("the same, text named .jpg");
    const int runs = screen.context.Runs(5, 2);
    Session ours{{viewer, files.front()}, files.front()};
    Session refused{{viewer, plain.front()}, plain.front()};
    screen.Alternate(runs, {&ours, &refused});
    screen.Row(QStringLiteral("start to the message on screen, %1%2").arg(what, RunsNote(runs)),
               Table::Unit::Time, ours.starts, reference, true, refused.starts);
    screen.Row(QStringLiteral("peak memory, %1 in the single view%2").arg(what, RunsNote(runs)),
               Table::Unit::Peak, ours.peaks, reference, true, refused.peaks);

    const auto page = [&](std::vector<double>& times) {
        std::vector<Step> steps{{0.0, {XK_Alt_L, XK_Down, XK_Down, XK_Return}, &times}};
        steps.insert(steps.end(), static_cast<std::size_t>(files.size()), {0.0, {XK_Return}, &times});
        return steps;
    };
    std::vector<double> oursSteps;
    std::vector<double> refusedSteps;
    Session oursPage{{viewer, QFileInfo(files.front()).path()}, files.front(), page(oursSteps)};
    Session refusedPage{{viewer, QFileInfo(plain.front()).path()}, plain.front(), page(refusedSteps)};
    screen.Alternate(runs, {&oursPage, &refusedPage});
    const std::size_t steps = oursPage.steps.size();
    screen.Row(QStringLiteral("thumbnail page of nine %1, from Return on File > Thumbnail View through the "
                              "nine messages, each answered at once, to the empty page%2")
                   .arg(what, RunsNote(runs)),
               Table::Unit::Time, RunTotals(oursSteps, steps), reference, true,
               RunTotals(refusedSteps, steps));
    screen.Row(QStringLiteral("peak memory, thumbnail page of nine %1%2").arg(what, RunsNote(runs)),
               Table::Unit::Peak, oursPage.peaks, reference, true, refusedPage.peaks);
}

}  // namespace

void ScreenFigures(Context& context) {
    if (!context.desktop.Absence().isEmpty()) {
        context.table.AddNote(QStringLiteral("figures on screen"),
                              QStringLiteral("left out: ") + context.desktop.Absence());
        return;
    }
    SampleData& data = context.data;
    Screen screen{context, FindProgram(QStringLiteral("feh")), {}};
    Session probe{{context.viewer, data.Root()}, data.Root()};
    probe.Run(context, -1);
    screen.window = probe.window;
    const QString photo24 = data.Photos(QStringLiteral("start-24mp"), {6000, 4000}, 1).front();
    const QString photo100 = data.Photos(QStringLiteral("start-100mp"), {12'000, 8'400}, 1).front();
    const QStringList photos12 = data.Photos(QStringLiteral("next-12mp"), {4000, 3000}, 6);
    const SampleData::TextureFiles textures = data.Textures(4096, 4);
    constexpr double kMostPeak100 = 90e6 / 1024;
    constexpr double kMostPeakPage48 = 130e6 / 1024;

    if (context.Measures(QStringLiteral("start"))) {
        context.say(QStringLiteral("start to the window and the picture on screen"));
        StartRows(screen,
                  {{QStringLiteral("24 MP JPEG 6000x4000"), photo24, photo24, 1.1, 0.4, {}},
                   {QStringLiteral("texture 4096x4096 (feh: its BMP)"),
                    textures.textures.front(),
                    textures.bitmaps.front(),
                    1.15,
                    0.6,
                    {}}},
                  context.Runs(9, 3), data.Empty(QStringLiteral("empty")));
        StartRows(screen,
                  {{QStringLiteral("100 MP JPEG 12000x8400"), photo100, photo100, {}, {}, kMostPeak100}},
                  context.Runs(3, 1));
    }
    if (context.Measures(QStringLiteral("keys"))) {
        context.say(QStringLiteral("key to the next picture"));
        StepRows(screen, QStringLiteral("12 MP JPEGs"), photos12, photos12);
        StepRows(screen, QStringLiteral("textures 4096x4096 (feh: their BMPs)"), textures.textures,
                 textures.bitmaps);
        HeldKeyRows(screen, QStringLiteral("twelve 12 MP JPEGs"),
                    data.Photos(QStringLiteral("held-12mp"), {4000, 3000}, 12));
        AfterBitmapRows(screen, QStringLiteral("an 8000x8000 BMP among 2 MP JPEGs"),
                        data.BitmapAmongPhotos(8000, {1600, 1200}, 5));
    }
    if (context.Measures(QStringLiteral("pages"))) {
        context.say(QStringLiteral("thumbnail pages"));
        PageRows(screen, QStringLiteral("12 MP JPEGs"),
                 data.Photos(QStringLiteral("pages-12mp"), {4000, 3000}, 27), context.Runs(5, 2));
        PageRows(screen, QStringLiteral("48 MP JPEGs"),
                 data.Photos(QStringLiteral("pages-48mp"), {8000, 6000}, 9), context.Runs(3, 1),
                 kMostPeakPage48);
    }
    if (context.Measures(QStringLiteral("refusals"))) {
        context.say(QStringLiteral("files refused"));
        RefusalRows(screen, QStringLiteral("291-byte JPEGs claiming 65500x65500"),
                    data.Copies(QStringLiteral("refused-claim"), tamsel::samples::HugeClaimJpeg(), 9),
                    data.Copies(QStringLiteral("refused-text"), QByteArrayLiteral("no picture\n"), 9));
    }
}

}  // namespace tamsel::bench
