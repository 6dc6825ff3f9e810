#include "browse/Folder.h"

#include <algorithm>

#include "browse/Stepping.h"
#include "files/Drives.h"
#include "files/FileNames.h"

namespace tamsel::browse {

namespace {

const QString& FileListPattern() {
    static const QString pattern = QString::fromStdString(texture::FileListPattern());
    return pattern;
}

}  // namespace

QString DriveRootOf(const QString& path) {
    const QString drive = files::DriveOf(path, files::MountedDriveRoots());
    return drive.isEmpty() ? QStringLiteral("/") : drive;
}

QString Folder::Name(int index) const {
    return index >= 0 && index < Count() ? files_[static_cast<std::size_t>(index)].text : QString();
}

QString Folder::PathOf(const QString& name) const {
    return files::FullPath(path_, name);
}

bool Folder::Open(const QString& path) {
    std::optional<std::vector<files::ListedName>> listed = files::ListFiles(path, FileListPattern());
    if (!listed) {
        return false;
    }
    path_ = path;
    files_ = std::move(*listed);
    selected_ = -1;
    unlisted_.reset();
    lastOnDrive_.insert(DriveRootOf(path), path);
    return true;
}

void Folder::Refresh() {
    const QByteArray selected =
        selected_ >= 0 ? files_[static_cast<std::size_t>(selected_)].bytes : QByteArray();
    files_ = files::ListFiles(path_, FileListPattern()).value_or(std::vector<files::ListedName>{});
    const auto found = std::find_if(files_.begin(), files_.end(), [&selected](const files::ListedName& name) {
        return name.bytes == selected;
    });
    selected_ = selected_ >= 0 && found != files_.end() ? static_cast<int>(found - files_.begin()) : -1;
}

bool Folder::Select(int index) {
    const int selected = index >= 0 && index < Count() ? index : -1;
    if (selected == selected_) {
        return false;
    }
    selected_ = selected;
    unlisted_.reset();
    return true;
}

int Folder::EntryAfterOnShow() const {
    if (!unlisted_) {
        return NextEntry(selected_, Count());
    }
    // The first entry after the name, in the list's own order.
    const files::NaturalOrder::Key key =
        files::NaturalOrder::KeyOf({files::EncodeName(unlisted_->name), unlisted_->name});
    const auto after =
        std::upper_bound(files_.begin(), files_.end(), key,
                         [](const files::NaturalOrder::Key& name, const files::ListedName& entry) {
                             return files::NaturalOrder::Less(name, files::NaturalOrder::KeyOf(entry));
                         });
    return NextEntry(static_cast<int>(after - files_.begin()) - 1, Count());
}

int Folder::EntryBeforeOnShow() const {
    if (!unlisted_) {
        return PreviousEntry(selected_, Count());
    }
    // The first entry not before the name: the one before it is the last before the name.
    const files::NaturalOrder::Key key =
        files::NaturalOrder::KeyOf({files::EncodeName(unlisted_->name), unlisted_->name});
    const auto notBefore =
        std::lower_bound(files_.begin(), files_.end(), key,
                         [](const files::ListedName& entry, const files::NaturalOrder::Key& name) {
                             return files::NaturalOrder::Less(files::NaturalOrder::KeyOf(entry), name);
                         });
    return PreviousEntry(static_cast<int>(notBefore - files_.begin()), Count());
}

}  // namespace tamsel::browse
