#pragma once

#include <QHash>
#include <QListWidget>

namespace tamsel::platform {

// The folder list: the chain of folders from the drive's root down to the current folder, then the
// current folder's subfolders. A single click or the arrow keys only highlight an entry; a double
// click makes it the current folder at once. Change fires whenever the current path changes, by the
// user or by the program; setting the current path again fires nothing. LostFocus fires when the
// keyboard focus moves from the list to another control of the window: not when a menu or the menu
// bar takes the keys, nor when another window is activated.
class DirListBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent = nullptr);

    // The current folder: absolute, without a trailing "/" except for the root "/".
    const QString& Path() const { return path_; }

    // Makes `path` the current folder. False, with nothing changed, when it cannot be listed.
    bool SetPath(const QString& path);

    // Goes to the folder last shown on the drive with root `driveRoot`, or else to the drive's root.
    bool GoToDrive(const QString& driveRoot);

    // The highlighted entry (-1 for none) and the folder each entry stands for.
    int ListIndex() const { return currentRow(); }
    void SetListIndex(int index) { setCurrentRow(index); }
    QString EntryPath(int index) const;

signals:
    void Change();
    void LostFocus();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString path_;
    QHash<QString, QString> lastFolderOnDrive_;
};

}  // namespace tamsel::platform
