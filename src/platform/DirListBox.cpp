#include "platform/DirListBox.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QStyle>

#include "platform/Drives.h"
#include "platform/FolderListing.h"

namespace tamsel::platform {

namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

DirListBox::DirListBox(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { SetPath(item->data(kPathRole).toString()); });
}

QString DirListBox::EntryPath(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry != nullptr ? entry->data(kPathRole).toString() : QString();
}

bool DirListBox::SetPath(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    const QString folder = NormalFolderPath(path);
    if (folder == path_) {
        return true;
    }
    const std::optional<std::vector<ListedName>> subfolders = ListSubfolders(folder);
    if (!subfolders) {
        return false;
    }
    const QString drive = DriveOf(folder, MountedDriveRoots());
    const QString root = drive.isEmpty() ? QStringLiteral("/") : drive;

    QStringList chain{folder};
    for (QString up = folder; up != root && up != QStringLiteral("/");) {
        up = NormalFolderPath(up + QStringLiteral("/.."));
        chain.prepend(up);
    }

    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    {
        const QSignalBlocker blocker(this);
        clear();
        for (qsizetype depth = 0; depth < chain.size(); ++depth) {
            const QString text = depth == 0 ? chain[depth] : QFileInfo(chain[depth]).fileName();
            auto* entry = new QListWidgetItem(openIcon, QString(2 * depth, u' ') + text, this);
            entry->setData(kPathRole, chain[depth]);
        }
        for (const ListedName& name : *subfolders) {
            auto* entry = new QListWidgetItem(closedIcon, QString(2 * chain.size(), u' ') + name.text, this);
            entry->setData(kPathRole, FullPath(folder, name.text));
        }
        setCurrentRow(static_cast<int>(chain.size() - 1));
    }

    path_ = folder;
    lastFolderOnDrive_.insert(root, folder);
    emit Change();
    return true;
}

bool DirListBox::GoToDrive(const QString& driveRoot) {
    const QString last = lastFolderOnDrive_.value(driveRoot);
    return (!last.isEmpty() && SetPath(last)) || SetPath(driveRoot);
}

void DirListBox::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    // Opening a menu, the menu bar taking the keys, or switching to another window is no move of the
    // focus to another control of the window.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason &&
        event->reason() != Qt::MenuBarFocusReason) {
        emit LostFocus();
    }
}

}  // namespace tamsel::platform
