#include "view/ZoomView.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tamsel::view {

ZoomView::ZoomView(QWidget* parent) : QWidget(parent) {
    // Its own ground, in the window's colour: a picture zoomed out leaves nothing of the view behind.
    setAutoFillBackground(true);
    setCursor(Qt::OpenHandCursor);
    hide();
}

void ZoomView::Show(QImage picture, double scale, bool crisp) {
    picture_ = std::move(picture);
    scale_ = scale;
    crisp_ = crisp;
    offset_ = QPointF(width() - picture_.width() * scale_, height() - picture_.height() * scale_) / 2.0;
    Confine();
    show();
    raise();
    update();
}

QImage ZoomView::Swap(QImage picture, bool crisp) {
    std::swap(picture_, picture);
    crisp_ = crisp;
    update();
    return picture;
}

void ZoomView::Clear() {
    hide();
    picture_ = QImage();
    emit Cleared();
}

void ZoomView::ZoomAbout(QPointF at, double scale) {
    const QPointF pictureAt = (at - offset_) / scale_;
    scale_ = scale;
    offset_ = at - pictureAt * scale_;
    Confine();
    update();
}

void ZoomView::Confine() {
    const auto confine = [](double offset, double shown, double room) {
        return shown <= room ? (room - shown) / 2.0 : std::clamp(offset, room - shown, 0.0);
    };
    // On a whole pixel, so that at a whole number of pixels a texel each texel covers as many.
    offset_ = QPointF(std::round(confine(offset_.x(), picture_.width() * scale_, width())),
                      std::round(confine(offset_.y(), picture_.height() * scale_, height())));
}

std::optional<QPoint> ZoomView::PixelAt(QPointF at) const {
    const QPointF pixel = (at - offset_) / scale_;
    const QPoint whole(static_cast<int>(std::floor(pixel.x())), static_cast<int>(std::floor(pixel.y())));
    return picture_.rect().contains(whole) ? std::optional(whole) : std::nullopt;
}

void ZoomView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !crisp_);
    painter.drawImage(QRectF(offset_, QSizeF(picture_.size()) * scale_), picture_);
}

void ZoomView::mousePressEvent(QMouseEvent* event) {
    dragFrom_ = event->position();
}

void ZoomView::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) == 0) {
        return;
    }
    offset_ += event->position() - dragFrom_;
    dragFrom_ = event->position();
    Confine();
    update();
}

}  // namespace tamsel::view
