// The folder on show and the files on show, followed as others change them: a picture saved again from
// an image editor is shown anew, and files added to or removed from the folder come and go in the
// file list. The file system tells of each change; nothing polls.
#include <QFileSystemWatcher>
#include <QGroupBox>
#include <QTimer>

#include "platform/DirListBox.h"
#include "platform/FileListBox.h"
#include "platform/PictureBox.h"
#include "shell/FrmImageViewer.h"

namespace tamsel {

namespace {

// How long a file must stay unchanged before it is read again: one still being written is left alone.
constexpr int kSettleMs = 300;

}  // namespace

void FrmImageViewer::StartWatching() {
    watcher_ = new QFileSystemWatcher(this);
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle_, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
    connect(settle_, &QTimer::timeout, this, &FrmImageViewer::FilesChanged);
}

void FrmImageViewer::WatchShown() {
    QStringList wanted{dirList->Path()};
    for (std::size_t slot = 0; slot < held_.size(); ++slot) {
        if (held_[slot] && Picture3[slot] != nullptr && Picture3[slot]->isVisible()) {
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
    filList->Refresh();
    // A page or a single picture on show, rather than the browser, is drawn again: what did not change
    // comes from the boxes, what did is read again.
    const int count = filList->ListCount();
    if (!Frame1->isVisible() && (!ThumbMode || count > 0)) {
        PageStart = std::min(PageStart, std::max(count - 1, 0));
        Redraw();
    }
    WatchShown();
}

}  // namespace tamsel
