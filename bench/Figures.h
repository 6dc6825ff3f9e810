#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "Children.h"
#include "SampleData.h"
#include "Table.h"

// The benchmark's figures, one function for each group of rows.
namespace tamsel::bench {

// What every figure draws on.
struct Context {
    bool quick = false;
    SampleData& data;
    Table& table;
    ChildPrograms programs;
    QString settingsNone;  // a settings file that does not exist: windows start in their program folder
    QSize viewScreen;      // the screen that gives single-view limits of kViewLimit
    QSize pageScreen;      // the screen of the thumbnail page's window
    QSize thumbCell;       // the thumbnail cell of a window on pageScreen

    // `full` runs, or `quick` with --quick.
    int Runs(int full, int quickRuns) const { return quick ? quickRuns : full; }
};

inline constexpr QSize kViewLimit{1900, 1000};

// " [n runs]", the run count a figure's name ends in.
QString RunsNote(int runs);

// A reference program run as processes, one after another in each timed round.
struct PeerCommand {
    QString name;                   // as the table names it
    QString program;                // the full path; empty when the program is not installed
    std::vector<QStringList> runs;  // the arguments of each process of one round
};

// djpeg at decoder scale `scale` ("1/2") on each of `files` in turn, its picture thrown away.
PeerCommand Djpeg(const QString& scale, const QStringList& files);

// vipsthumbnail on all `files` in one process, each fitted to `box`, written as PPM to `outFolder`.
PeerCommand VipsThumbnail(const QStringList& files, QSize box, const QString& outFolder);

// Bodies of ours and reference processes, timed side by side: in each round every one runs once.
class Race {
public:
    // Adds one of ours; returns its place for Seconds().
    std::size_t Add(std::function<void()> body);
    // Adds a reference; it is left out when its program is missing or fails on a trial round.
    std::size_t AddPeer(PeerCommand peer);

    void Run(int runs);

    double Seconds(std::size_t place) const { return medians_[place]; }
    Reference PeerReference(std::size_t peer) const;

private:
    struct Peer {
        QString name;
        QString absence;
        std::size_t place = 0;
    };
    std::vector<std::function<void()>> bodies_;
    std::vector<Peer> peers_;
    std::vector<double> medians_;
};

// 1: decoding and painting textures, against copying as many pixels.
void TextureFigures(Context& context);
// 2 and 3: a big JPEG in the single view and a page of nine thumbnails, against JPEG tools.
void PictureFigures(Context& context);
// 4 and 6: listing a folder of 10,000 files, and starting up in it.
void FolderFigures(Context& context);
// 5: the CPU a waiting slide show uses.
void SlideShowFigures(Context& context);
// 7 and 8: peaks of memory, and files that claim a huge picture.
void MemoryFigures(Context& context);

}  // namespace tamsel::bench
