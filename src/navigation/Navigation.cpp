// Previous, Next and the middle button, whose caption is its mode: "Open", "ThumbNails", "Pause"
// or "Continue".
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "navigation/Stepping.h"
#include "platform/FileListBox.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
#include "shell/Buttons.h"
#include "shell/FrmImageViewer.h"
#include "thumbs/Paging.h"

namespace tamsel {

namespace {

// Selects `entry` and shows it in the single view.
void StepSinglePicture(FrmImageViewer& window, int entry) {
    platform::MousePointer::SetBusy();
    window.filList->SetListIndex(entry);
    window.OpenSelectedImage(0);
    platform::MousePointer::SetDefault();
}

}  // namespace

int FrmImageViewer::EntryAfterOnShow() const {
    const int count = filList->ListCount();
    return navigation::NextEntry(
        unlisted_ ? filList->PlaceOf(unlisted_->name).through - 1 : filList->ListIndex(), count);
}

int FrmImageViewer::EntryBeforeOnShow() const {
    const int count = filList->ListCount();
    return navigation::PreviousEntry(
        unlisted_ ? filList->PlaceOf(unlisted_->name).before : filList->ListIndex(), count);
}

void FrmImageViewer::cmdPrevious_Click() {
    const int listCount = filList->ListCount();
    if (listCount == 0) {
        return;
    }
    if (ThumbMode) {
        PageStart = thumbs::PreviousPageStart(PageStart, listCount);
        ShowThumbnailPage();
    } else {
        StepSinglePicture(*this, EntryBeforeOnShow());
    }
}

void FrmImageViewer::cmdNext_Click() {
    const int listCount = filList->ListCount();
    if (listCount == 0) {
        return;
    }
    if (ThumbMode) {
        PageStart = thumbs::NextPageStart(filList->ListIndex(), listCount);
        ShowThumbnailPage();
    } else {
        StepSinglePicture(*this, EntryAfterOnShow());
    }
}

void FrmImageViewer::cmdStop_Click() {
    using texts::Text;
    const QString caption = cmdStop->text();
    if (caption == Text(texts::kPause)) {
        SetButtons(buttons::kShowPaused);
        StopShow = true;
    } else if (caption == Text(texts::kContinue)) {
        SetButtons(buttons::kContinueShow);
        RunSlideShow();
    } else if (caption == Text(texts::kThumbNails)) {
        Label2->show();
        ThumbMode = true;
        Picture3[0]->hide();
        ShowThumbnailPage();
        mnuOpenFile->setEnabled(true);
        SetButtons(buttons::kBackToPage);
    } else if (caption == Text(texts::kOpen) && ThumbMode) {
        ThumbMode = false;
        HideThumbnailCells();
        ShowFullSizeFromPage();
        OpenSelectedImage(0);
    } else if (caption == Text(texts::kOpen)) {
        Label2->hide();
        SetButtons(buttons::kSingleView);
        Frame1->hide();
        OpenSelectedImage(0);
    }
}

}  // namespace tamsel
