// Previous, Next and the middle button, whose caption is its mode: "Open", "ThumbNails", "Pause"
// or "Continue".
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "platform/FileListBox.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
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
        StepSinglePicture(*this, thumbs::PreviousEntry);
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
        StepSinglePicture(*this, thumbs::NextEntry);
    }
}

void FrmImageViewer::cmdStop_Click() {
    const QString caption = cmdStop->text();
    if (caption == QStringLiteral("Pause")) {
        cmdPrevious->setEnabled(true);
        cmdStop->setText(QStringLiteral("Continue"));
        cmdStop->setToolTip(QStringLiteral("Continue Slide Show"));
        cmdNext->setEnabled(true);
        StopShow = true;
    } else if (caption == QStringLiteral("Continue")) {
        cmdPrevious->setEnabled(false);
        cmdStop->setText(QStringLiteral("Pause"));
        cmdStop->setToolTip(QStringLiteral("Pause Slide Show"));
        cmdNext->setEnabled(false);
        RunSlideShow();
    } else if (caption == QStringLiteral("ThumbNails")) {
        Label2->show();
        ThumbMode = true;
        Picture3[0]->hide();
        ShowThumbnailPage();
        mnuOpenFile->setEnabled(true);
        cmdPrevious->setEnabled(true);
        cmdPrevious->setToolTip(QStringLiteral("Previous Thumbnails"));
        cmdStop->setText(QStringLiteral("Open"));
        cmdStop->setEnabled(false);
        cmdStop->hide();
        cmdStop->setToolTip(QStringLiteral("View Thumbnails"));
        cmdNext->setEnabled(true);
        cmdNext->setToolTip(QStringLiteral("Next Thumbnails"));
    } else if (caption == QStringLiteral("Open") && ThumbMode) {
        ThumbMode = false;
        HideThumbnailCells();
        ShowFullSizeFromPage();
        OpenSelectedImage(0);
    } else if (caption == QStringLiteral("Open")) {
        Label2->hide();
        cmdPrevious->show();
        cmdStop->hide();
        cmdNext->show();
        Frame1->hide();
        OpenSelectedImage(0);
    }
}

}  // namespace tamsel
