#include "platform/FolderList.h"

#include <QFileInfo>
#include <QFocusEvent>
#include <QStyle>

#include "files/Drives.h"

namespace tamsel::platform {

namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](const QListWidgetItem* item) { emit Chosen(item->data(kPathRole).toString()); });
}

QString FolderList::EntryPath(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry != nullptr ? entry->data(kPathRole).toString() : QString();
}

void FolderList::Show(const QString& folder, const QString& root,
                      const std::vector<files::ListedName>& subfolders) {
    QStringList chain{folder};
    for (QString up = folder; up != root && up != QStringLiteral("/");) {
        up = files::NormalFolderPath(up + QStringLiteral("/.."));
        chain.prepend(up);
    }
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QSignalBlocker blocker(this);
    clear();
    for (qsizetype depth = 0; depth < chain.size(); ++depth) {
        const QString text = depth == 0 ? chain[depth] : QFileInfo(chain[depth]).fileName();
        auto* entry = new QListWidgetItem(openIcon, QString(2 * depth, u' ') + text, this);
        entry->setData(kPathRole, chain[depth]);
    }
    for (const files::ListedName& name : subfolders) {
        auto* entry = new QListWidgetItem(closedIcon, QString(2 * chain.size(), u' ') + name.text, this);
        entry->setData(kPathRole, files::FullPath(folder, name.text));
    }
    setCurrentRow(static_cast<int>(chain.size() - 1));
    folder_ = folder;
}

void FolderList::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    const QString highlighted = EntryPath(currentRow());
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
        reason != Qt::MenuBarFocusReason && !highlighted.isEmpty() && highlighted != folder_) {
        emit Chosen(highlighted);
    }
}

}  // namespace tamsel::platform
