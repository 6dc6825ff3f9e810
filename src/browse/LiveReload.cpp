// The folder on show and the files on show, followed as others change them: a picture saved again from
// an image editor is shown anew, and files added to or removed from the folder come and go in the
// file list. The file system tells of each change; nothing polls.
#include <sys/stat.h>

#include <QFileSystemWatcher>
#include <QGroupBox>
#include <QTimer>

#include "platform/DirListBox.h"
#include "platform/Drives.h"
#include "platform/FileListBox.h"
#include "platform/FileNames.h"
#include "platform/PictureBox.h"
#include "shell/FrmImageViewer.h"
#include "shell/Texts.h"
#include "texture/FileSource.h"
#include "thumbs/Paging.h"

namespace tamsel {

namespace {

// How long a file must stay unchanged before it is read again: one still being written is left alone.
constexpr int kSettleMs = 300;

bool IsFolder(const QString& path) {
    struct stat status {};
    return ::stat(platform::EncodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

void FrmImageViewer::StartWatching() {
    watcher_ = new QFileSystemWatcher(this);
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle_, qOverload<>(&QTimer::start));
    // The folder above the one on show is watched only to see the folder itself go: its other changes,
    // however many, do not hold back a change of the files on show.
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this](const QString& path) {
        if (path == dirList->Path() || !IsFolder(dirList->Path())) {
            settle_->start();
        }
    });
    connect(settle_, &QTimer::timeout, this, &FrmImageViewer::FilesChanged);
}

void FrmImageViewer::WatchShown() {
    // The folder, and each file that the single view or the page on show was drawn from, whatever its
    // last read gave: a file refused while it was being written is shown once it is complete. The folder
    // above tells when the folder itself is renamed, which the folder's own watch does not.
    QStringList wanted{dirList->Path()};
    if (dirList->Path() != QStringLiteral("/")) {
        wanted << platform::NormalFolderPath(dirList->Path() + QStringLiteral("/.."));
    }
    const std::size_t first = ThumbMode ? 1 : 0;
    const std::size_t end = ThumbMode ? static_cast<std::size_t>(thumbs::PageSize(filList->ListCount())) + 1
                            : Frame1->isVisible() ? 0
                                                  : 1;
    for (std::size_t slot = first; slot < end; ++slot) {
        if (held_[slot]) {
            wanted << held_[slot]->path;
        }
    }
    QStringList watched = watcher_->files() + watcher_->directories();
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

void FrmImageViewer::FilesChanged() {
    if (displaying_ > 0) {
        settle_->start();  // a display is under way: once it is over
        return;
    }
    if (LeaveVanishedFolder()) {
        return;
    }
    const bool viewing = !Frame1->isVisible();
    const QString selected = filList->FileName();
    filList->Refresh();
    const int count = filList->ListCount();
    // The file on show in the single view that is gone leaves the view; Next and Previous go on from its
    // place among the names.
    if (viewing && !ThumbMode && !selected.isEmpty() && filList->ListIndex() < 0) {
        unlisted_ = UnlistedFile{selected, std::nullopt};
    }
    if (unlisted_ && unlisted_->kind &&
        !texture::StampOf(
            platform::EncodeName(platform::FullPath(dirList->Path(), unlisted_->name)).constData())) {
        unlisted_->kind.reset();
    }
    const bool pageGone = ThumbMode && count == 0;
    if (viewing && ((!ThumbMode && unlisted_ && !unlisted_->kind) || pageGone)) {
        for (platform::PictureBox* box : Picture3) {
            box->hide();
        }
        setWindowTitle(texts::TitleWithVersion());
    }
    // A page or a single picture on show, rather than the browser, is drawn again: what did not change
    // comes from the boxes, what did is read again. A single view that holds its file as it is now is
    // left as it is, zoom and all.
    const std::optional<FileToShow> file = FileFor(0);
    const bool viewCurrent = !ThumbMode && (!file || HeldFor(file->path, 0) != nullptr);
    if (viewing && !pageGone && !viewCurrent) {
        PageStart = std::min(PageStart, std::max(count - 1, 0));
        Redraw();
    }
    WatchShown();
}

// A folder on show that was deleted or renamed: the browser moves to the nearest folder above it that
// exists, as if chosen there, with nothing on show from the folder that went. True when it had gone.
bool FrmImageViewer::LeaveVanishedFolder() {
    QString folder = dirList->Path();
    if (IsFolder(folder)) {
        return false;
    }
    for (platform::PictureBox* box : Picture3) {
        box->hide();
    }
    setWindowTitle(texts::TitleWithVersion());
    do {
        folder = platform::NormalFolderPath(folder + QStringLiteral("/.."));
    } while (folder != QStringLiteral("/") && !(IsFolder(folder) && dirList->SetPath(folder)));
    if (folder == QStringLiteral("/")) {
        dirList->SetPath(folder);
    }
    WatchShown();
    return true;
}

}  // namespace tamsel
