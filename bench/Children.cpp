#include "Children.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <array>
#include <cstdio>

#include "BenchWindow.h"
#include "Measure.h"
#include "platform/FileListBox.h"
#include "platform/PictureBox.h"

namespace tamsel::bench {

namespace {

const QString kStartup = QStringLiteral("startup");
const QString kOpen = QStringLiteral("open");

QStringList ScreenArguments(QSize screen) {
    return {QString::number(screen.width()), QString::number(screen.height())};
}

QSize ScreenOf(const QStringList& arguments) {
    return {arguments.value(1).toInt(), arguments.value(2).toInt()};
}

// The words of a line of a child's output, counted from the last line (0) up.
QList<QByteArray> WordsOfLine(const QByteArray& output, qsizetype fromLast) {
    const QList<QByteArray> lines = output.trimmed().split('\n');
    return fromLast < lines.size() ? lines[lines.size() - 1 - fromLast].simplified().split(' ')
                                   : QList<QByteArray>{};
}

// The peak in KiB from the launcher's last line, "peak-kib N status S"; nothing unless the measured
// program exited with 0.
std::optional<double> LauncherPeak(const ProcessResult& result) {
    const QList<QByteArray> words = WordsOfLine(result.output, 0);
    if (!result.started || result.exitStatus != 0 || words.size() != 4 || words[3].toInt() != 0) {
        return std::nullopt;
    }
    return words[1].toDouble();
}

// "--child startup W H PROGRAM_FOLDER SETTINGS_FILE": prints "<monotonic ns when exposed> <files listed>".
int StartupChild(const QStringList& arguments) {
    const BenchPlatform platform(ScreenOf(arguments), arguments.value(3), arguments.value(4));
    const std::unique_ptr<FrmImageViewer> window = platform.Window();
    if (!ShowAndWaitExposed(*window)) {
        return 1;
    }
    const std::int64_t exposed = MonotonicNanoseconds();
    std::printf("%lld %d\n", static_cast<long long>(exposed), window->filList->ListCount());
    return 0;
}

// "--child open W H FOLDER none|first|page": prints "<seconds> <messages> <visible boxes>".
int OpenChild(const QStringList& arguments) {
    // No settings file: the window starts in its program folder, the folder to open from.
    const BenchPlatform platform(ScreenOf(arguments), arguments.value(3), QString());
    const std::unique_ptr<FrmImageViewer> window = platform.Window();
    if (!ShowAndWaitExposed(*window)) {
        return 1;
    }
    const QString what = arguments.value(4);
    QElapsedTimer timer;
    timer.start();
    if (what == QStringLiteral("first")) {
        OpenEntry(*window, 0);
    } else if (what == QStringLiteral("page")) {
        window->mnuViewThumbnails_Click();
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    QCoreApplication::processEvents();
    int shown = 0;
    for (const platform::PictureBox* box : window->Picture3) {
        shown += box->isVisible() ? 1 : 0;
    }
    std::printf("%.9f %d %d\n", seconds, platform.messages->count, shown);
    return 0;
}

}  // namespace

int RunChild(const QStringList& arguments) {
    if (arguments.value(0) == kStartup) {
        return StartupChild(arguments);
    }
    if (arguments.value(0) == kOpen) {
        return OpenChild(arguments);
    }
    std::fprintf(stderr, "tamsel-bench: no child mode %s\n", qPrintable(arguments.value(0)));
    return 2;
}

std::optional<OpenedInChild> OpenInChild(const ChildPrograms& programs, QSize screen, const QString& folder,
                                         OpenWhat what) {
    static constexpr std::array<const char*, 3> kWhat{"none", "first", "page"};
    const QStringList arguments =
        QStringList{programs.self, QStringLiteral("--child"), kOpen} + ScreenArguments(screen) +
        QStringList{folder, QString::fromLatin1(kWhat[static_cast<std::size_t>(what)])};
    const ProcessResult result = RunProcess(programs.launcher, arguments, Output::Capture);
    const std::optional<double> peak = LauncherPeak(result);
    const QList<QByteArray> opened = WordsOfLine(result.output, 1);
    if (!peak || opened.size() != 3) {
        return std::nullopt;
    }
    return OpenedInChild{opened[0].toDouble(), opened[1].toInt(), opened[2].toInt(), *peak};
}

std::optional<StartedChild> StartInChild(const ChildPrograms& programs, QSize screen,
                                         const QString& programFolder, const QString& settingsFile) {
    const std::int64_t start = MonotonicNanoseconds();
    const ProcessResult result =
        RunProcess(programs.self,
                   QStringList{QStringLiteral("--child"), kStartup} + ScreenArguments(screen) +
                       QStringList{programFolder, settingsFile},
                   Output::Capture);
    const QList<QByteArray> words = WordsOfLine(result.output, 0);
    if (!result.started || result.exitStatus != 0 || words.size() != 2) {
        return std::nullopt;
    }
    return StartedChild{static_cast<double>(words[0].toLongLong() - start) / 1e9, words[1].toInt()};
}

std::optional<double> PeakOfProgram(const ChildPrograms& programs, const QString& program,
                                    const QStringList& arguments) {
    return LauncherPeak(RunProcess(programs.launcher, QStringList{program} + arguments, Output::Capture));
}

}  // namespace tamsel::bench
