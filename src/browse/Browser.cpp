#include "browse/Browser.h"

namespace tamsel::browse {

Browser::Browser(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent),
      files_(new platform::FileList(this)),
      folders_(new platform::FolderList(this)),
      drives_(new platform::DriveList(this)) {
    setGeometry(16, 16, 441, 329);
    files_->setGeometry(264, 24, 161, 292);
    folders_->setGeometry(16, 56, 233, 261);
    drives_->setGeometry(8, 24, 241, 21);
}

void Browser::ShowFolder(const QString& path, const std::vector<files::ListedName>& subfolders) {
    const QString root = DriveRootOf(path);
    drives_->Show(root);
    folders_->Show(path, root, subfolders);
}

void Browser::ShowFiles(const Folder& folder) {
    files_->Show(folder.Files(), folder.Selected());
}

}  // namespace tamsel::browse
