// 4: the file list's listing of a folder of 10,000 files, against ls; 6: start-up of a fresh process
// to its first exposed window, remembering that folder, against remembering an empty one.
#include <stdexcept>

#include "BenchWindow.h"
#include "Figures.h"
#include "Measure.h"
#include "browse/ImageKind.h"
#include "platform/FileListBox.h"
#include "platform/FolderListing.h"

namespace tamsel::bench {

namespace {

void Listing(Context& context, const QString& folder) {
    const int runs = context.Runs(15, 5);
    const BenchPlatform platform(context.pageScreen, context.data.EmptyFolder(), context.settingsNone);
    const std::unique_ptr<FrmImageViewer> window = platform.Window();
    ShowAndWaitExposed(*window);
    window->filList->SetPath(folder);
    if (window->filList->ListCount() != kListedFolderMatches) {
        throw std::runtime_error("the file list shows " + std::to_string(window->filList->ListCount()) +
                                 " files");
    }

    Race race;
    const std::size_t setPath = race.Add([&] { window->filList->SetPath(folder); });
    const std::size_t listFiles = race.Add([&] {
        const std::optional<std::vector<platform::ListedName>> names =
            platform::ListFiles(folder, browse::kFileListPattern);
        DoNotOptimise(names->data());
    });
    const std::size_t ls = race.AddPeer(
        {QStringLiteral("ls -1"), FindProgram(QStringLiteral("ls")), {{QStringLiteral("-1"), folder}}});
    race.Run(runs);

    const QString figure =
        QStringLiteral("folder of %1 files (%2 shown): ").arg(kListedFolderSize).arg(kListedFolderMatches);
    context.table.AddTime(figure + QStringLiteral("FileListBox::SetPath") + RunsNote(runs),
                          race.Seconds(setPath), race.PeerReference(ls));
    context.table.AddTime(figure + QStringLiteral("ListFiles alone") + RunsNote(runs),
                          race.Seconds(listFiles), race.PeerReference(ls));
}

void Startup(Context& context, const QString& folder) {
    const int runs = context.Runs(7, 3);
    const QString programFolder = context.data.EmptyFolder();
    const QString listed = context.data.SettingsRemembering(QStringLiteral("listed"), folder);
    const QString empty = context.data.SettingsRemembering(QStringLiteral("empty"), programFolder);
    std::vector<double> ours;
    std::vector<double> reference;
    for (int run = 0; run < runs; ++run) {
        const std::optional<StartedChild> withFolder =
            StartInChild(context.programs, context.pageScreen, programFolder, listed);
        const std::optional<StartedChild> withEmpty =
            StartInChild(context.programs, context.pageScreen, programFolder, empty);
        if (!withFolder || !withEmpty || withFolder->listed != kListedFolderMatches ||
            withEmpty->listed != 0) {
            throw std::runtime_error("a start-up child failed");
        }
        ours.push_back(withFolder->seconds);
        reference.push_back(withEmpty->seconds);
    }
    context.table.AddTime(
        QStringLiteral("start-up, new process to first window exposed, remembering the %1-file folder%2")
            .arg(kListedFolderSize)
            .arg(RunsNote(runs)),
        Median(ours), {QStringLiteral("same, remembering an empty folder"), Median(reference)});
}

}  // namespace

void FolderFigures(Context& context) {
    const QString folder = context.data.ListedFolder();
    Listing(context, folder);
    Startup(context, folder);
}

}  // namespace tamsel::bench
