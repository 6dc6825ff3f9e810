// The folder on show and the files on show, followed as others change them: a picture saved again
// from an image editor is shown anew, files added to or removed from the folder come and go in the
// file list, and the file or the folder on show that goes leaves the view. The file system tells of
// each change; nothing polls.
#include <sys/stat.h>

#include <QFileSystemWatcher>
#include <QTimer>

#include "browse/Browser.h"
#include "files/Drives.h"
#include "files/FileNames.h"
#include "platform/PictureBox.h"
#include "shell/MainWindow.h"
#include "thumbs/Paging.h"
#include "thumbs/ThumbnailPage.h"
#include "view/SingleView.h"

namespace tamsel::shell {

namespace {

// How long a file must stay unchanged before it is read again: one still being written is left alone.
constexpr int kSettleMs = 300;

bool IsFolder(const QString& path) {
    struct stat status {};
    return ::stat(files::EncodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

void MainWindow::StartWatching() {
    watcher_ = new QFileSystemWatcher(this);
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle_, qOverload<>(&QTimer::start));
    // The folder above the one on show is watched only to see the folder itself go: its other changes,
    // however many, do not hold back a change of the files on show.
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this](const QString& path) {
        if (path == state_.folder.Path() || !IsFolder(state_.folder.Path())) {
            settle_->start();
        }
    });
    connect(settle_, &QTimer::timeout, this, &MainWindow::FilesChanged);
}

void MainWindow::WatchShown() {
    // The folder, and each file that the single view or the page on show was drawn from, whatever its
    // last read gave: a file refused while it was being written is shown once it is complete. The folder
    // above tells when the folder itself is renamed, which the folder's own watch does not.
    const QString& folder = state_.folder.Path();
    QStringList wanted{folder};
    if (folder != QStringLiteral("/")) {
        wanted << files::NormalFolderPath(folder + QStringLiteral("/.."));
    }
    const bool pages = state_.mode == Mode::Pages;
    const int first = pages ? 1 : 0;
    const int end = pages ? thumbs::PageSize(state_.folder.Count()) + 1 : state_.browserShown ? 0 : 1;
    for (int slot = first; slot < end; ++slot) {
        if (const std::optional<picture::HeldPicture>& held = held_[static_cast<std::size_t>(slot)]) {
            wanted << held->path;
        }
    }
    const QStringList watched = watcher_->files() + watcher_->directories();
    QStringList gone;
    for (const QString& path : watched) {
        if (!wanted.contains(path)) {
            gone << path;
        }
    }
    if (!gone.isEmpty()) {
        watcher_->removePaths(gone);
    }
    wanted.removeIf([&watched](const QString& path) { return watched.contains(path); });
    if (!wanted.isEmpty()) {
        watcher_->addPaths(wanted);
    }
}

void MainWindow::FilesChanged() {
    if (displaying_ > 0) {
        settle_->start();  // a display is under way: once it is over
        return;
    }
    if (LeaveVanishedFolder()) {
        return;
    }
    browse::Folder& folder = state_.folder;
    const bool viewing = !state_.browserShown;
    const QString selected = folder.SelectedName();
    folder.Refresh();
    // The file on show in the single view that is gone leaves the view; Next and Previous go on from its
    // place among the names.
    if (viewing && state_.mode != Mode::Pages && !selected.isEmpty() && folder.Selected() < 0) {
        folder.SetUnlisted(browse::UnlistedFile{selected, std::nullopt});
    }
    const std::optional<browse::UnlistedFile>& unlisted = folder.Unlisted();
    if (unlisted && unlisted->kind &&
        !texture::StampOf(files::EncodeName(folder.PathOf(unlisted->name)).constData())) {
        folder.SetUnlisted(browse::UnlistedFile{unlisted->name, std::nullopt});
    }
    const bool pageGone = state_.mode == Mode::Pages && folder.Count() == 0;
    if (viewing &&
        ((state_.mode != Mode::Pages && folder.Unlisted() && !folder.Unlisted()->kind) || pageGone)) {
        single_->Box().hide();
        page_->Hide();
        state_.titleName.reset();
    }
    // A page or a single picture on show, rather than the browser, is drawn again: what did not change
    // comes from the boxes, what did is read again. A single view that holds its file as it is now is
    // left as it is, zoom and all.
    const std::optional<FileToShow> file = FileFor(0);
    const bool viewCurrent = state_.mode != Mode::Pages && (!file || HeldFor(file->path, 0) != nullptr);
    if (viewing && !pageGone && !viewCurrent) {
        const int pageStart = std::min(state_.pageStart, std::max(folder.Count() - 1, 0));
        if (pageStart != state_.pageStart) {
            state_.pageStart = pageStart;
            state_.markedCell.reset();
        }
        Redraw();
    }
    UpdateControls();
    WatchShown();
}

// A folder on show that was deleted or renamed: the browser moves to the nearest folder above it that
// exists, as if chosen there, with nothing on show from the folder that went. True when it had gone.
bool MainWindow::LeaveVanishedFolder() {
    QString folder = state_.folder.Path();
    if (IsFolder(folder)) {
        return false;
    }
    single_->Box().hide();
    page_->Hide();
    state_.titleName.reset();
    do {
        folder = files::NormalFolderPath(folder + QStringLiteral("/.."));
    } while (folder != QStringLiteral("/") && !(IsFolder(folder) && ChangeFolder(folder)));
    if (folder == QStringLiteral("/")) {
        ChangeFolder(folder);
    }
    UpdateControls();
    WatchShown();
    return true;
}

}  // namespace tamsel::shell
