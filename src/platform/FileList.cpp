#include "platform/FileList.h"

#include <QMouseEvent>

namespace tamsel::platform {

class FileList::Entries final : public QAbstractListModel {
public:
    Entries(const std::vector<files::ListedName>& names, QObject* parent)
        : QAbstractListModel(parent), names_(names) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(names_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) {
            return {};
        }
        return names_[static_cast<std::size_t>(index.row())].text;
    }

    void Reset(const std::function<void()>& change) {
        beginResetModel();
        change();
        endResetModel();
    }

private:
    const std::vector<files::ListedName>& names_;
};

FileList::FileList(QWidget* parent) : QListView(parent), entries_(new Entries(names_, this)) {
    setModel(entries_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!showing_) {
            emit Chosen(Selected());
        }
    });
    connect(this, &QListView::doubleClicked, this, [this] { emit Opened(); });
}

int FileList::Selected() const {
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void FileList::Show(const std::vector<files::ListedName>& names, int selected) {
    showing_ = true;
    const bool same = std::equal(names.begin(), names.end(), names_.begin(), names_.end(),
                                 [](const auto& a, const auto& b) { return a.bytes == b.bytes; });
    if (!same) {
        entries_->Reset([&] { names_ = names; });
    }
    if (selected < 0 || selected >= static_cast<int>(names_.size())) {
        selectionModel()->clear();
    } else if (selected != Selected()) {
        const QModelIndex target = entries_->index(selected);
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        scrollTo(target);
    }
    showing_ = false;
}

QRect FileList::EntryRect(int index) const {
    return visualRect(entries_->index(index));
}

void FileList::mousePressEvent(QMouseEvent* event) {
    const int before = Selected();
    QListView::mousePressEvent(event);
    // A click on the entry selected already chooses it again.
    if (event->button() == Qt::LeftButton && before >= 0 &&
        indexAt(event->position().toPoint()).row() == before && Selected() == before) {
        emit Chosen(before);
    }
}

void FileList::focusInEvent(QFocusEvent* event) {
    // The item view makes the first entry current when it gains the focus with none; the file list
    // keeps "nothing selected" until the user or the window selects an entry.
    const bool noneSelected = Selected() < 0;
    showing_ = true;
    QListView::focusInEvent(event);
    if (noneSelected && Selected() >= 0) {
        selectionModel()->clear();
    }
    showing_ = false;
}

}  // namespace tamsel::platform
