// What a modder uses beside the picture in the single view: its facts over the picture area's corner,
// and zoom.
#include <QCursor>
#include <cmath>

#include <QPushButton>

#include "navigation/ButtonRow.h"
#include "platform/MousePointer.h"
#include "shell/MainWindow.h"
#include "view/SingleView.h"

namespace tamsel::shell {

namespace {

// One step of zoom: a wheel notch or a key press.
constexpr double kZoomStep = 1.25;

}  // namespace

QRect MainWindow::PictureArea() const {
    return {10, 10, std::max(centralWidget()->width() - 20, 0), std::max(Buttons().Middle()->y() - 20, 0)};
}

const picture::HeldPicture* MainWindow::PictureOnShow() const {
    const std::optional<picture::HeldPicture>& held = held_[0];
    return state_.mode != Mode::Pages && !state_.browserShown && single_->Box().isVisible() && held &&
                   held->shown
               ? &*held
               : nullptr;
}

// The refused file the single view stands for, when it is in front with nothing on show.
const RefusedFile* MainWindow::RefusalOnShow() const {
    return state_.mode != Mode::Pages && !state_.browserShown && state_.refused && PictureOnShow() == nullptr
               ? &*state_.refused
               : nullptr;
}

void MainWindow::ToggleFacts() {
    state_.factsOn = !state_.factsOn;
    UpdateFacts();
}

void MainWindow::UpdateFacts() {
    view::FactsPanel& panel = single_->Facts();
    const picture::HeldPicture* held = PictureOnShow();
    const RefusedFile* refused = RefusalOnShow();
    if (!state_.factsOn || (held == nullptr && refused == nullptr)) {
        panel.hide();
        return;
    }
    panel.SetFacts(held == nullptr
                       ? view::RefusalFacts(refused->name, refused->reason)
                       : view::FactsOf(picture::KindOfFile(held->path).value_or(texture::FileKind::Bmp),
                                       *held, paletteFrom_));
    panel.move(PictureArea().topLeft());
    panel.show();
    panel.raise();
}

bool MainWindow::EnterZoom() {
    view::ZoomView& zoom = single_->Zoom();
    if (zoom.isVisible()) {
        return true;
    }
    const picture::HeldPicture* held = PictureOnShow();
    if (held == nullptr || held->size.isEmpty()) {
        return false;
    }
    // The picture at its own size, decoded as it was for the view: a texture with the palette it took.
    picture::Palette palette = held->paletteTaken.value_or(palette_);
    platform::MousePointer::SetBusy();
    const std::optional<picture::Prepared> full =
        picture::Prepare(held->path, QSize(texture::kMaxCanvasSide, texture::kMaxCanvasSide), palette, false)
            .prepared;
    platform::MousePointer::SetDefault();
    if (!full) {
        return false;
    }
    zoom.setGeometry(PictureArea());
    zoom.Show(full->shown, static_cast<double>(single_->Box().width()) / held->size.width(),
              held->layout.has_value());
    single_->Facts().raise();
    return true;
}

void MainWindow::Zoom(std::optional<QPointF> about, double factor) {
    if (!EnterZoom()) {
        return;
    }
    // About the given point, else about the pointer when it is over the view, else about its centre.
    view::ZoomView& zoom = single_->Zoom();
    const QPointF pointer = zoom.mapFromGlobal(QCursor::pos());
    const QPointF at = about                                     ? zoom.mapFromParent(*about)
                       : zoom.rect().contains(pointer.toPoint()) ? pointer
                                                                 : QPointF(zoom.rect().center());
    zoom.ZoomAbout(at, factor);
}

void MainWindow::ZoomByWheel(QPointF at, int steps) {
    if (PictureOnShow() != nullptr && steps != 0) {
        Zoom(at, std::pow(kZoomStep, steps));
    }
}

bool MainWindow::HandleZoomKey(int key) {
    view::ZoomView& zoom = single_->Zoom();
    switch (key) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            Zoom(std::nullopt, kZoomStep);
            return zoom.isVisible();
        case Qt::Key_Minus:
            Zoom(std::nullopt, 1.0 / kZoomStep);
            return zoom.isVisible();
        case Qt::Key_1:
            if (EnterZoom()) {
                zoom.ZoomAbout(QPointF(zoom.rect().center()), 1.0 / zoom.Scale());
                return true;
            }
            return false;
        case Qt::Key_0:
            if (zoom.isVisible()) {
                zoom.Clear();
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace tamsel::shell
