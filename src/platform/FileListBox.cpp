#include "platform/FileListBox.h"

#include <QMouseEvent>
#include <algorithm>

#include "platform/FileNames.h"

namespace tamsel::platform {

class FileListBox::Model final : public QAbstractListModel {
public:
    explicit Model(const std::vector<ListedName>& names, QObject* parent)
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
    const std::vector<ListedName>& names_;
};

FileListBox::FileListBox(QWidget* parent) : QListView(parent), model_(new Model(names_, this)) {
    setModel(model_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { emit Click(); });
    connect(this, &QListView::doubleClicked, this, [this] { emit DblClick(); });
}

bool FileListBox::SetPath(const QString& folder) {
    return Relist(folder);
}

void FileListBox::SetPattern(const QString& pattern) {
    if (pattern == pattern_) {
        return;
    }
    pattern_ = pattern;
    Relist(path_);
}

bool FileListBox::Relist(const QString& folder) {
    std::optional<std::vector<ListedName>> listed = ListFiles(folder, pattern_);
    const QSignalBlocker blocker(selectionModel());
    model_->Reset([&] {
        names_ = listed ? std::move(*listed) : std::vector<ListedName>{};
        path_ = folder;
    });
    selectionModel()->clear();
    return listed.has_value();
}

void FileListBox::Refresh() {
    const int index = ListIndex();
    const QByteArray selected = index >= 0 ? names_[static_cast<std::size_t>(index)].bytes : QByteArray();
    Relist(path_);
    const auto found = std::find_if(names_.begin(), names_.end(),
                                    [&selected](const ListedName& name) { return name.bytes == selected; });
    if (index >= 0 && found != names_.end()) {
        const QSignalBlocker blocker(selectionModel());
        selectionModel()->setCurrentIndex(model_->index(static_cast<int>(found - names_.begin())),
                                          QItemSelectionModel::ClearAndSelect);
    }
}

int FileListBox::ListIndex() const {
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void FileListBox::SetListIndex(int index) {
    if (index == ListIndex()) {
        return;
    }
    if (index < 0 || index >= ListCount()) {
        selectionModel()->clear();
        emit Click();
        return;
    }
    const QModelIndex target = model_->index(index);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
}

QString FileListBox::FileName() const {
    return EntryName(ListIndex());
}

QString FileListBox::EntryName(int index) const {
    return index >= 0 && index < ListCount() ? names_[static_cast<std::size_t>(index)].text : QString();
}

FileListBox::Place FileListBox::PlaceOf(const QString& name) const {
    // The entries are in this order already: two binary searches.
    const NaturalOrder::Key key = NaturalOrder::KeyOf({EncodeName(name), name});
    const auto before = std::lower_bound(names_.begin(), names_.end(), key,
                                         [](const ListedName& entry, const NaturalOrder::Key& other) {
                                             return NaturalOrder::Less(NaturalOrder::KeyOf(entry), other);
                                         });
    const auto through = std::upper_bound(before, names_.end(), key,
                                          [](const NaturalOrder::Key& other, const ListedName& entry) {
                                              return NaturalOrder::Less(other, NaturalOrder::KeyOf(entry));
                                          });
    return {static_cast<int>(before - names_.begin()), static_cast<int>(through - names_.begin())};
}

void FileListBox::mousePressEvent(QMouseEvent* event) {
    const int before = ListIndex();
    QListView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && before >= 0 &&
        indexAt(event->position().toPoint()).row() == before && ListIndex() == before) {
        emit Click();
    }
}

void FileListBox::focusInEvent(QFocusEvent* event) {
    // The item view makes the first entry current when it gains the focus with none; the file list
    // keeps "nothing selected" until the user or the program selects an entry.
    const bool noneSelected = ListIndex() < 0;
    const QSignalBlocker blocker(selectionModel());
    QListView::focusInEvent(event);
    if (noneSelected && !selectionModel()->hasSelection()) {
        selectionModel()->clear();
    }
}

}  // namespace tamsel::platform
