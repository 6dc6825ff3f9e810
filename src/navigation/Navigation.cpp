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

// Steps the file list's selection with `step` and shows the file in the single view.
template <typename Step>
void StepSinglePicture(FrmImageViewer& window, Step step) {
    platform::MousePointer::SetBusy();
    window.filList->SetListIndex(step(window.filList->ListIndex(), window.filList->ListCount()));
    window.OpenSelectedImage(0);
    platform::MousePointer::SetDefault();
}

}  // namespace

void FrmImageViewer::cmdPrevious_Click() {
    const int listCount = filList->ListCount();
    if (listCount == 0) {
        return;
    }
    if (ThumbMode) {
        PageStart = thumbs::PreviousPageStart(PageStart, listCount);
        ShowThumbnailPage();
    } else {
        StepSinglePicture(*this, navigation::PreviousEntry);
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
        StepSinglePicture(*this, navigation::NextEntry);
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
