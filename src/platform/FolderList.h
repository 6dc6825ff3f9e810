#pragma once

#include <QListWidget>
#include <vector>

#include "files/FolderListing.h"

namespace tamsel::platform {

// The folder list: the chain of folders from the drive's root down to the folder on show, then that
// folder's subfolders. A single click or the arrow keys only highlight an entry; a double click chooses
// it at once, and a highlighted entry is chosen once the keyboard focus moves on to another control of
// the window (not when a menu or the menu bar takes the keys, nor when another window is activated).
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // Shows `folder` (absolute, without a trailing "/" but for the root), on the drive whose root is
    // `root`, with its `subfolders`; the folder itself highlighted.
    void Show(const QString& folder, const QString& root, const std::vector<files::ListedName>& subfolders);

    // The folder an entry stands for; empty for none.
    QString EntryPath(int index) const;

signals:
    void Chosen(const QString& folder);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString folder_;
};

}  // namespace tamsel::platform
