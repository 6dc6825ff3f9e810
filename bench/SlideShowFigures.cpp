// 5: the CPU that a slide show uses while it waits for its next picture, against an idle event loop.
#include <QAction>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <stdexcept>

#include "BenchWindow.h"
#include "Figures.h"
#include "Measure.h"
#include "platform/FileListBox.h"

namespace tamsel::bench {

namespace {

// Runs `start` from a timer (it may run until `stop` is called) and measures this process's CPU time
// over `seconds` from half a second later; then calls `stop` from another timer. Returns the share of
// one core used, in per cent.
double CoreShare(double seconds, const std::function<void()>& start, const std::function<void()>& stop) {
    constexpr int kSettleMs = 500;
    QEventLoop loop;
    double cpuAtStart = 0.0;
    double cpuAtEnd = 0.0;
    QElapsedTimer wall;
    double wallSeconds = 0.0;
    QTimer::singleShot(0, &loop, [&] { start(); });
    QTimer::singleShot(kSettleMs, Qt::PreciseTimer, &loop, [&] {
        cpuAtStart = ProcessCpuSeconds();
        wall.start();
    });
    QTimer::singleShot(kSettleMs + static_cast<int>(seconds * 1000.0), Qt::PreciseTimer, &loop, [&] {
        cpuAtEnd = ProcessCpuSeconds();
        wallSeconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        stop();
        loop.quit();
    });
    loop.exec();
    return 100.0 * (cpuAtEnd - cpuAtStart) / wallSeconds;
}

QString Percent(double share) {
    return QStringLiteral("%1 % of a core").arg(share, 0, 'f', 3);
}

}  // namespace

void SlideShowFigures(Context& context) {
    const double seconds = context.quick ? 3.0 : 10.0;
    const QString folder = context.data.Photos(QSize(1600, 1200), 3);
    const BenchPlatform platform(context.viewScreen, folder, context.settingsNone);
    const std::unique_ptr<FrmImageViewer> window = platform.Window();
    ShowAndWaitExposed(*window);
    if (window->filList->ListCount() != 3) {
        throw std::runtime_error("the slide show's folder does not list");
    }
    // 60 seconds: the measured window lies wholly inside the wait for the second picture.
    window->mnuDisplayInterval_Click(6);
    bool ended = false;
    const double show = CoreShare(
        seconds, [&] { window->RunSlideShow(); },
        [&] {
            window->mnuEndSlideShow_Click();
            ended = true;
        });
    const double idle = CoreShare(
        seconds, [] {}, [] {});
    if (!ended || platform.messages->count != 0) {
        throw std::runtime_error("the slide show did not run");
    }
    context.table.Add({QStringLiteral("slide show waiting (interval 60 s), CPU over %1 s").arg(seconds),
                       Percent(show), QStringLiteral("idle Qt event loop: ") + Percent(idle),
                       Ratio(show, idle)});
}

}  // namespace tamsel::bench
