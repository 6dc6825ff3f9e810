// The thumbnail view: pages of up to nine pictures over the file list, and clicks on them.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>

#include "browse/ImageKind.h"
#include "navigation/Stepping.h"
#include "platform/DirListBox.h"
#include "platform/Drives.h"
#include "platform/FileListBox.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
#include "shell/Buttons.h"
#include "shell/FrmImageViewer.h"
#include "thumbs/Paging.h"

namespace tamsel {

void FrmImageViewer::mnuViewThumbnails_Click() {
    if (!mnuViewThumbnails->isChecked()) {
        mnuViewThumbnails->setChecked(true);
        SlideShowMenuHeader->menuAction()->setEnabled(false);
        SetButtons(buttons::kEnterThumbnails);
        ShowFirstPage();
        return;
    }
    mnuOpenFile->setEnabled(true);
    mnuViewThumbnails->setChecked(false);
    SlideShowMenuHeader->menuAction()->setEnabled(true);
    SetButtons(buttons::kLeaveThumbnails);
    ThumbMode = false;
    HideThumbnailCells();
    OpenSelectedImage(0);
}

void FrmImageViewer::ShowFirstPage() {
    Frame1->hide();
    Picture3[0]->hide();
    ThumbMode = true;
    PageStart = 0;
    ShowThumbnailPage();
}

void FrmImageViewer::ShowThumbnailPage() {
    const DisplayScope displaying(*this);
    filList->SetListIndex(PageStart);
    const int listCount = filList->ListCount();
    if (listCount == 0) {
        return;
    }
    platform::MousePointer::SetBusy();
    const int count = thumbs::PageSize(listCount);
    // The page's BMP and JPEG files that its cells do not hold already decode on worker threads
    // meanwhile; textures stay in list order on this thread, since a texture without a palette takes
    // its colours from the one before it.
    QStringList pictures;
    for (int cell = 1; cell <= count; ++cell) {
        const QString path = platform::FullPath(
            dirList->Path(), filList->EntryName(thumbs::CellEntry(PageStart, cell, listCount)));
        if (browse::IsPictureName(path) && HeldFor(path, cell) == nullptr) {
            pictures << path;
        }
    }
    prefetch_.Start(pictures, QSize(ThumbWidth, ThumbHeight));
    const auto dropUntaken = qScopeGuard([this] { prefetch_.Clear(); });
    for (int cell = 1; cell <= count; ++cell) {
        const auto slot = static_cast<std::size_t>(cell);
        platform::PictureBox* box = Picture3[slot];
        box->setGeometry(QRect(CellCorner(cell), QSize(ThumbWidth, ThumbHeight)));
        // A file of no known kind draws nothing: its cell stays empty rather than keep the picture of
        // an earlier page.
        if (!browse::KindOfName(filList->FileName())) {
            box->hide();
        }
        OpenSelectedImage(cell);
        if (cell < count) {
            filList->SetListIndex(navigation::NextEntry(filList->ListIndex(), listCount));
        }
    }
    platform::MousePointer::SetDefault();
}

void FrmImageViewer::Picture3_Click(int index) {
    if (!ThumbMode) {
        return;
    }
    filList->SetListIndex(thumbs::CellEntry(PageStart, index, filList->ListCount()));
    setWindowTitle(texts::TitleOfFile(filList->FileName()));
    SetButtons(buttons::kCellSelected);
}

void FrmImageViewer::Picture3_DblClick(int index) {
    if (!ThumbMode) {
        return;
    }
    ThumbMode = false;
    HideThumbnailCells();
    filList->SetListIndex(thumbs::CellEntry(PageStart, index, filList->ListCount()));
    OpenSelectedImage(0);
    ShowFullSizeFromPage();
}

void FrmImageViewer::HideThumbnailCells() {
    for (std::size_t slot = 1; slot < Picture3.size(); ++slot) {
        Picture3[slot]->hide();
    }
}

void FrmImageViewer::ShowFullSizeFromPage() {
    Label2->hide();
    mnuOpenFile->setEnabled(false);
    SetButtons(buttons::kFullSizeFromPage);
}

}  // namespace tamsel
