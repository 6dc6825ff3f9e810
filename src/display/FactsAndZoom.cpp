// What a modder uses beside the picture: its facts over the view's corner, and zoom.
#include <QCursor>
#include <QGroupBox>
#include <QPushButton>
#include <cmath>

#include "display/FactsPanel.h"
#include "display/ZoomView.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
#include "shell/FrmImageViewer.h"

namespace tamsel {

namespace {

// One step of zoom: a wheel notch or a key press.
constexpr double kZoomStep = 1.25;

}  // namespace

QRect FrmImageViewer::PictureArea() const {
    return {10, 10, std::max(InnerWidth() - 20, 0), std::max(cmdStop->y() - 20, 0)};
}

const display::HeldPicture* FrmImageViewer::PictureOnShow() const {
    const std::optional<display::HeldPicture>& held = held_[0];
    return !ThumbMode && !Frame1->isVisible() && Picture3[0]->isVisible() && held && held->shown ? &*held
                                                                                                 : nullptr;
}

void FrmImageViewer::ToggleFacts() {
    factsOn_ = !factsOn_;
    UpdateFactsPanel();
}

void FrmImageViewer::UpdateFactsPanel() {
    const display::HeldPicture* held = PictureOnShow();
    if (!factsOn_ || held == nullptr) {
        picFacts->hide();
        return;
    }
    const std::optional<browse::ImageKind> kind = browse::KindOfFile(held->path);
    picFacts->SetFacts(display::FactsOf(kind.value_or(browse::ImageKind::Bmp), *held, paletteFrom_));
    picFacts->move(PictureArea().topLeft());
    picFacts->show();
    picFacts->raise();
}

bool FrmImageViewer::EnterZoom() {
    if (picZoom->isVisible()) {
        return true;
    }
    const display::HeldPicture* held = PictureOnShow();
    if (held == nullptr || held->size.isEmpty()) {
        return false;
    }
    // The picture at its own size, decoded as it was for the view: a texture with the palette it took.
    display::Palette palette = held->paletteTaken.value_or(textureReader_.Palette());
    platform::MousePointer::SetBusy();
    const std::optional<display::Prepared> full =
        display::Prepare(held->path, QSize(texture::kMaxCanvasSide, texture::kMaxCanvasSide), palette, false);
    platform::MousePointer::SetDefault();
    if (!full) {
        return false;
    }
    picZoom->setGeometry(PictureArea());
    picZoom->Show(full->shown, static_cast<double>(Picture3[0]->width()) / held->size.width(),
                  held->layout.has_value());
    picFacts->raise();
    return true;
}

void FrmImageViewer::LeaveZoom() {
    picZoom->Clear();
}

void FrmImageViewer::Zoom(std::optional<QPointF> aboutInWindow, double factor) {
    if (!EnterZoom()) {
        return;
    }
    // About the given point, else about the pointer when it is over the view, else about its centre.
    const QPointF pointer = picZoom->mapFromGlobal(QCursor::pos());
    const QPointF at = aboutInWindow                                 ? picZoom->mapFrom(this, *aboutInWindow)
                       : picZoom->rect().contains(pointer.toPoint()) ? pointer
                                                                     : QPointF(picZoom->rect().center());
    picZoom->ZoomAbout(at, factor);
}

bool FrmImageViewer::HandleZoomKey(int key) {
    switch (key) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            Zoom(std::nullopt, kZoomStep);
            return picZoom->isVisible();
        case Qt::Key_Minus:
            Zoom(std::nullopt, 1.0 / kZoomStep);
            return picZoom->isVisible();
        case Qt::Key_1:
            if (EnterZoom()) {
                picZoom->ZoomAbout(QPointF(picZoom->rect().center()), 1.0 / picZoom->Scale());
                return true;
            }
            return false;
        case Qt::Key_0:
            if (picZoom->isVisible()) {
                LeaveZoom();
                return true;
            }
            return false;
        default:
            return false;
    }
}

void FrmImageViewer::ZoomByWheel(QPointF atInWindow, int steps) {
    Zoom(atInWindow, std::pow(kZoomStep, steps));
}

}  // namespace tamsel
