#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

// Measurements that need a process of their own: the benchmark starts itself again in a hidden child
// mode ("--child ..."), so that start-up is cold and peaks of memory do not mix.
namespace tamsel::bench {

// The child side: runs the mode in `arguments` (everything after "--child") and returns the exit
// status. Needs the QApplication.
int RunChild(const QStringList& arguments);

// What a child that opened something in the viewer's window reported.
struct OpenedInChild {
    double seconds = 0.0;  // the open alone, in the child
    int messages = 0;      // message boxes it was asked to show
    int shownBoxes = 0;    // picture boxes left visible
    double peakKib = 0.0;  // the child's peak of resident memory
};

// What a child opens in a window on `screen` after browsing to `folder`.
enum class OpenWhat { Nothing, FirstFile, ThumbnailPage };

// The two programs the parent starts: the benchmark itself and the peak launcher beside it.
struct ChildPrograms {
    QString self;
    QString launcher;
};

// Starts a child that shows the window, browses to `folder` and opens `what`; nothing when the child
// fails.
std::optional<OpenedInChild> OpenInChild(const ChildPrograms& programs, QSize screen, const QString& folder,
                                         OpenWhat what);

// Starts a child whose window remembers what `settingsFile` says, and returns the seconds from
// starting it to its first window being exposed, and how many files its list shows.
struct StartedChild {
    double seconds = 0.0;
    int listed = 0;
};
std::optional<StartedChild> StartInChild(const ChildPrograms& programs, QSize screen,
                                         const QString& programFolder, const QString& settingsFile);

// Runs `program` with `arguments` through the peak launcher and returns its peak of resident memory
// in KiB; nothing when it cannot run or fails.
std::optional<double> PeakOfProgram(const ChildPrograms& programs, const QString& program,
                                    const QStringList& arguments);

}  // namespace tamsel::bench
