// The file browser's handlers: the drive, folder and file lists kept in step, and "Open File".
#include <QGroupBox>
#include <QLabel>

#include "platform/DirListBox.h"
#include "platform/DriveListBox.h"
#include "platform/FileListBox.h"
#include "platform/PictureBox.h"
#include "shell/Buttons.h"
#include "shell/FrmImageViewer.h"

namespace tamsel {

void FrmImageViewer::drvList_Change() {
    if (dirList->GoToDrive(drvList->Drive())) {
        return;
    }
    // The drive cannot be read: back to the drive of the folder still on show, silently. If even
    // that fails, the lists stay as they are.
    drvList->SetDrive(dirList->Path());
}

void FrmImageViewer::dirList_Change() {
    unlisted_.reset();
    drvList->ShowDriveOf(dirList->Path());
    filList->SetPath(dirList->Path());
    WatchShown();
    if (filList->ListCount() == 0 || !ThumbMode) {
        return;
    }
    SetButtons(buttons::kFolderPage);
    ShowFirstPage();
}

void FrmImageViewer::dirList_LostFocus() {
    dirList->SetPath(dirList->EntryPath(dirList->ListIndex()));
}

void FrmImageViewer::filList_Click() {
    unlisted_.reset();
    if (!ThumbMode) {
        SetButtons(buttons::kFileSelected);
    }
}

void FrmImageViewer::filList_DblClick() {
    if (ThumbMode) {
        return;
    }
    Frame1->hide();
    Label2->hide();
    SetButtons(buttons::kSingleView);
    OpenSelectedImage(0);
}

void FrmImageViewer::mnuOpenFile_Click() {
    HideThumbnailCells();
    Label2->show();
    SetButtons(buttons::kOpenFile);
    Picture3[0]->hide();
    Frame1->show();
}

}  // namespace tamsel
