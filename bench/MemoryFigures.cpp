// 7: peaks of memory of a 100 MP JPEG in the single view and of a page of nine 48 MP JPEGs, each in a
// child process of its own; 8: files of 64 bytes that claim a 30000 x 30000 picture.
#include <array>
#include <stdexcept>

#include "Figures.h"
#include "Measure.h"

namespace tamsel::bench {

namespace {

// Opens `what` in `runs` children; the medians of their times and peaks.
OpenedInChild MedianOfChildren(const Context& context, int runs, QSize screen, const QString& folder,
                               OpenWhat what) {
    std::vector<OpenedInChild> children;
    std::vector<double> seconds;
    std::vector<double> peaks;
    for (int run = 0; run < runs; ++run) {
        const std::optional<OpenedInChild> child = OpenInChild(context.programs, screen, folder, what);
        if (!child) {
            throw std::runtime_error("a child failed on " + folder.toStdString());
        }
        children.push_back(*child);
        seconds.push_back(child->seconds);
        peaks.push_back(child->peakKib);
    }
    OpenedInChild median = children.front();
    median.seconds = Median(seconds);
    median.peakKib = Median(peaks);
    return median;
}

// The peak of the first process of a reference command.
Reference PeerPeak(const Context& context, const PeerCommand& peer) {
    if (peer.program.isEmpty()) {
        return {peer.name, std::nullopt};
    }
    return {peer.name, PeakOfProgram(context.programs, peer.program, peer.runs.front()),
            QStringLiteral("failed")};
}

// Opens `what` in children and adds their median peak as a row, once it is sure that the window showed
// `boxes` pictures and no message.
void AddShownPeak(Context& context, int runs, const QString& figure, QSize screen, const QString& folder,
                  OpenWhat what, int boxes, const Reference& reference) {
    const OpenedInChild child = MedianOfChildren(context, runs, screen, folder, what);
    if (child.messages != 0 || child.shownBoxes != boxes) {
        throw std::runtime_error("the window did not show: " + figure.toStdString());
    }
    context.table.AddPeak(figure + RunsNote(runs), child.peakKib, reference);
}

}  // namespace

void MemoryFigures(Context& context) {
    const int runs = context.Runs(3, 1);
    const OpenedInChild bare =
        MedianOfChildren(context, runs, context.viewScreen, context.data.EmptyFolder(), OpenWhat::Nothing);
    const Reference window{QStringLiteral("window alone"), bare.peakKib};
    context.table.AddPeak(QStringLiteral("peak memory, window shown, nothing opened") + RunsNote(runs),
                          bare.peakKib, {});

    const QString huge = context.data.Photos(QSize(12'000, 8'400), 1);
    AddShownPeak(context, runs, QStringLiteral("peak memory, single view of a 100 MP JPEG 12000x8400"),
                 context.viewScreen, huge, OpenWhat::FirstFile, 1,
                 PeerPeak(context, Djpeg(QStringLiteral("1/8"), PhotoFiles(huge))));
    const QString nine = context.data.Photos(QSize(8'000, 6'000), 9);
    AddShownPeak(context, runs, QStringLiteral("peak memory, thumbnail page of nine 48 MP JPEGs"),
                 context.pageScreen, nine, OpenWhat::ThumbnailPage, 9,
                 PeerPeak(context, VipsThumbnail(PhotoFiles(nine), context.thumbCell, context.data.Root())));

    const int claimRuns = context.Runs(5, 1);
    for (const ClaimKind kind : {ClaimKind::Texture, ClaimKind::Bitmap, ClaimKind::Jpeg}) {
        const OpenedInChild claim = MedianOfChildren(context, claimRuns, context.viewScreen,
                                                     context.data.ClaimFolder(kind), OpenWhat::FirstFile);
        const bool refused = claim.messages == 1 && claim.shownBoxes == 0;
        const QString figure = QStringLiteral("64-byte %1 claiming 30000x30000 (%2), ")
                                   .arg(ClaimExtension(kind),
                                        refused ? QStringLiteral("refused") : QStringLiteral("NOT refused"));
        context.table.AddTime(figure + QStringLiteral("open") + RunsNote(claimRuns), claim.seconds, {});
        context.table.AddPeak(figure + QStringLiteral("peak memory") + RunsNote(claimRuns), claim.peakKib,
                              window);
    }
}

}  // namespace tamsel::bench
