#pragma once

#include <QGroupBox>
#include <vector>

#include "browse/Folder.h"
#include "files/FolderListing.h"
#include "platform/DriveList.h"
#include "platform/FileList.h"
#include "platform/FolderList.h"

// The file browser: a frame with the drive list, the folder list and the file list. It shows the
// folder it is given; the lists tell of what the user picks in them.
namespace tamsel::browse {

class Browser : public QGroupBox {
    Q_OBJECT
public:
    explicit Browser(const QString& caption, QWidget* parent);

    platform::DriveList& Drives() const { return *drives_; }
    platform::FolderList& Folders() const { return *folders_; }
    platform::FileList& Files() const { return *files_; }

    // Shows the folder at `path`, with its `subfolders`, in the drive and folder lists.
    void ShowFolder(const QString& path, const std::vector<files::ListedName>& subfolders);
    // Shows the files of `folder`, and which of them is selected.
    void ShowFiles(const Folder& folder);

private:
    platform::FileList* files_;
    platform::FolderList* folders_;
    platform::DriveList* drives_;
};

}  // namespace tamsel::browse
