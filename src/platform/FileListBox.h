#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <vector>

#include "platform/FolderListing.h"

namespace tamsel::platform {

// The file list: the files of one folder that match its pattern, in the shared listing order. Its
// list index (-1 when nothing is selected) is the selection. Click fires whenever the selection
// changes, by the user, the keyboard or the program, and when the user clicks the selected entry
// again; setting the current index again by program fires nothing. DblClick fires after the Click
// of a double click.
class FileListBox : public QListView {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    const QString& Path() const { return path_; }
    // Lists `folder` with the current pattern; the selection is cleared. A folder that cannot be read
    // lists nothing, and the result is false.
    bool SetPath(const QString& folder);

    // Lists the folder again as it now is, the selection kept on the same file (none when it is gone),
    // without firing Click: the list follows files added or removed by others.
    void Refresh();

    const QString& Pattern() const { return pattern_; }
    // Sets the ";"-separated wildcards and lists the folder again, if they changed.
    void SetPattern(const QString& pattern);

    int ListCount() const { return static_cast<int>(names_.size()); }
    int ListIndex() const;
    void SetListIndex(int index);

    // The selected entry's name without folder; empty when nothing is selected.
    QString FileName() const;
    QString EntryName(int index) const;

    // Where the file `name` stands among the entries in list order, whether listed or not: how many
    // entries come before it, and how many come before it or are it.
    struct Place {
        int before;
        int through;
    };
    Place PlaceOf(const QString& name) const;

signals:
    void Click();
    void DblClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    class Model;
    bool Relist(const QString& folder);

    Model* model_;
    QString path_;
    QString pattern_ = QStringLiteral("*.*");
    std::vector<ListedName> names_;
};

}  // namespace tamsel::platform
