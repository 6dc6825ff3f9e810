#include <QDir>

#include "Figures.h"
#include "Measure.h"

namespace tamsel::bench {

namespace {

// The name of a reference tool run on `files`: `many` (with %1 the count and %2 the tool) for more
// than one file.
QString ToolName(const QString& tool, const QStringList& files, const QString& many) {
    return files.size() > 1 ? many.arg(files.size()).arg(tool) : tool;
}

}  // namespace

PeerCommand Djpeg(const QString& scale, const QStringList& files) {
    PeerCommand peer{
        ToolName(QStringLiteral("djpeg -scale ") + scale, files, QStringLiteral("%1 x %2 in a row")),
        FindProgram(QStringLiteral("djpeg")),
        {}};
    for (const QString& file : files) {
        peer.runs.push_back(
            {QStringLiteral("-scale"), scale, QStringLiteral("-outfile"), QStringLiteral("/dev/null"), file});
    }
    return peer;
}

PeerCommand VipsThumbnail(const QStringList& files, QSize box, const QString& outFolder) {
    return {ToolName(QStringLiteral("vipsthumbnail"), files, QStringLiteral("%2 on %1 files")),
            FindProgram(QStringLiteral("vipsthumbnail")),
            {files + QStringList{QStringLiteral("--size"),
                                 QStringLiteral("%1x%2").arg(box.width()).arg(box.height()),
                                 QStringLiteral("-o"), QDir(outFolder).filePath(QStringLiteral("%s.ppm"))}}};
}

QString RunsNote(int runs) {
    return runs == 1 ? QStringLiteral(" [1 run]") : QStringLiteral(" [%1 runs]").arg(runs);
}

std::size_t Race::Add(std::function<void()> body) {
    bodies_.push_back(std::move(body));
    return bodies_.size() - 1;
}

std::size_t Race::AddPeer(PeerCommand peer) {
    Peer entry{peer.name, QString(), 0};
    if (peer.program.isEmpty()) {
        entry.absence = QStringLiteral("missing");
    }
    for (std::size_t k = 0; k < peer.runs.size() && entry.absence.isEmpty(); ++k) {
        const ProcessResult trial = RunProcess(peer.program, peer.runs[k], Output::Discard);
        if (!trial.started || trial.exitStatus != 0) {
            entry.absence = QStringLiteral("failed (status %1)").arg(trial.exitStatus);
        }
    }
    if (entry.absence.isEmpty()) {
        entry.place = Add([program = peer.program, runs = peer.runs] {
            for (const QStringList& arguments : runs) {
                RunProcess(program, arguments, Output::Discard);
            }
        });
    }
    peers_.push_back(entry);
    return peers_.size() - 1;
}

void Race::Run(int runs) {
    medians_ = MedianSeconds(runs, bodies_);
}

Reference Race::PeerReference(std::size_t peer) const {
    const Peer& entry = peers_[peer];
    if (!entry.absence.isEmpty()) {
        return {entry.name, std::nullopt, entry.absence};
    }
    return {entry.name, medians_[entry.place]};
}

}  // namespace tamsel::bench
