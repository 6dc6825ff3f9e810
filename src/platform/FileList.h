#pragma once

#include <QListView>
#include <vector>

#include "files/FolderListing.h"

namespace tamsel::platform {

// The file list: the files of the folder on show, one of them selected or none. It shows the names and
// the selection it is given; Chosen tells of a selection the user makes (a click, also on the entry
// selected already, or the keyboard), Opened of a double click.
class FileList : public QListView {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    // Shows `names`, with the entry `selected` selected (none for -1), scrolled into view.
    void Show(const std::vector<files::ListedName>& names, int selected);

    // The rectangle of an entry in the list's viewport, for a click.
    QRect EntryRect(int index) const;

signals:
    void Chosen(int index);
    void Opened();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    class Entries;
    int Selected() const;

    Entries* entries_;
    std::vector<files::ListedName> names_;
    bool showing_ = false;  // the selection is being set by Show, not by the user
};

}  // namespace tamsel::platform
