// The file list's listing of a folder of 10,000 files, beside ls listing it.
#include <stdexcept>

#include "Figures.h"
#include "browse/ImageKind.h"
#include "platform/FileListBox.h"

namespace tamsel::bench {

void FolderFigures(Context& context) {
    const int runs = context.Runs(15, 5);
    const QString folder = context.data.ListedFolder();
    platform::FileListBox list;
    list.SetPattern(browse::kFileListPattern);
    std::vector<double> ours;
    std::vector<double> theirs;
    const QString ls = FindProgram(QStringLiteral("ls"));
    Interleave(runs, {[&](int round) { Timed(round, ours, [&] { list.SetPath(folder); }); },
                      [&](int round) {
                          Timed(round, theirs, [&] { RunProcess(ls, {QStringLiteral("-1"), folder}); });
                      }});
    if (list.ListCount() != kListedFolderMatches) {
        throw std::runtime_error("the file list shows " + std::to_string(list.ListCount()) + " files");
    }
    context.table.AddTime(QStringLiteral("folder of %1 files (%2 shown), the file list's SetPath%3")
                              .arg(kListedFolderSize)
                              .arg(kListedFolderMatches)
                              .arg(RunsNote(runs)),
                          Median(ours), {QStringLiteral("ls -1, from its start"), Median(theirs)});
}

}  // namespace tamsel::bench
