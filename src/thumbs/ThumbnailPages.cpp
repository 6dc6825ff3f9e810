// The thumbnail view: pages of up to nine pictures over the file list, and clicks on them.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

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
    // The files of the page that its cells do not hold already are made ready on worker threads while
    // the cells are drawn in order.
    readAhead_->Want(PageJobs(PageStart), true);
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
    // This page is kept for coming back, and the next one is made ready while this one is looked at.
    readAhead_->KeepPage(PageOnShow());
    readAhead_->Want(PageJobs(thumbs::NextPageStart(filList->ListIndex(), listCount)), false);
    platform::MousePointer::SetDefault();
}

// The files of the page that starts at `pageStart` that its cells do not hold: each BMP and JPEG on its
// own, the textures one after another from the palette as it stands, as drawing the page reads them.
std::vector<display::ReadJob> FrmImageViewer::PageJobs(int pageStart) const {
    const int listCount = filList->ListCount();
    const QSize limit(ThumbWidth, ThumbHeight);
    std::vector<display::ReadJob> jobs;
    display::ReadJob textures{{}, limit, textureReader_.Palette()};
    for (int cell = 1; cell <= thumbs::PageSize(listCount); ++cell) {
        const QString name = filList->EntryName(thumbs::CellEntry(pageStart, cell, listCount));
        const std::optional<browse::ImageKind> kind = browse::KindOfName(name);
        const QString path = platform::FullPath(dirList->Path(), name);
        if (!kind || HeldFor(path, cell) != nullptr) {
            continue;
        }
        if (browse::IsTexture(*kind)) {
            textures.paths << path;
        } else {
            jobs.push_back({{path}, limit, {}});
        }
    }
    if (!textures.paths.isEmpty()) {
        jobs.push_back(textures);
    }
    return jobs;
}

// What the cells of the page on show hold, as pictures made ready for them.
std::vector<std::pair<QString, display::Prepared>> FrmImageViewer::PageOnShow() const {
    std::vector<std::pair<QString, display::Prepared>> page;
    for (std::size_t slot = 1; slot < held_.size(); ++slot) {
        const std::optional<display::HeldPicture>& held = held_[slot];
        if (held && held->shown && held->limit == QSize(ThumbWidth, ThumbHeight)) {
            page.emplace_back(held->path, display::Prepared{held->stamp,
                                                            held->size,
                                                            {},
                                                            held->limit,
                                                            Picture3[slot]->Surface(),
                                                            held->paletteTaken,
                                                            held->paletteLoaded,
                                                            held->layout});
        }
    }
    return page;
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
