// The proportional layout: every control back at its recorded fractions of the new inner size, then
// the picture or the page on show drawn again with the start-up geometry.
#include "platform/DriveListBox.h"
#include "platform/FileListBox.h"
#include "platform/PictureBox.h"
#include "shell/FrmImageViewer.h"

namespace tamsel {

void FrmImageViewer::Form_Resize() {
    for (platform::PictureBox* box : Picture3) {
        if (box != nullptr) {
            box->hide();
        }
    }
    // A size change during start-up, before the layout is recorded, only hides the boxes.
    if (ControlLayout.size() != Controls.size()) {
        return;
    }
    const int width = InnerWidth();
    const int height = InnerHeight();
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        QWidget* control = Controls[i].widget;
        if (control != nullptr && control != drvList) {
            control->setGeometry(shell::RectOf(ControlLayout[i], width, height));
        }
    }
    // A size change that comes while a picture is being shown (its message box open) draws again
    // once that display is over, never inside it.
    if (displaying_ > 0) {
        redrawPending_ = true;
        return;
    }
    Redraw();
}

void FrmImageViewer::Redraw() {
    if (ThumbMode) {
        filList->SetListIndex(PageStart);
        ShowThumbnailPage();
    } else {
        OpenSelectedImage(0);
    }
}

FrmImageViewer::DisplayScope::DisplayScope(FrmImageViewer& window) : window_(window) {
    ++window_.displaying_;
}

FrmImageViewer::DisplayScope::~DisplayScope() {
    if (--window_.displaying_ != 0) {
        return;
    }
    if (std::exchange(window_.redrawPending_, false)) {
        QMetaObject::invokeMethod(&window_, &FrmImageViewer::Redraw, Qt::QueuedConnection);
    }
    window_.WatchShown();
}

}  // namespace tamsel
