#include "view/ZoomView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace tamsel::view {

ZoomView::ZoomView(QWidget* parent) : QWidget(parent) {
    // Its own ground, in the window's colour: a picture zoomed out leaves nothing of the view behind.
    setAutoFillBackground(true);
    setCursor(Qt::OpenHandCursor);
    hide();
}

void ZoomView::Show(QImage picture, double scale, bool crisp) {
    picture_ = std::move(picture);
    scale_ = std::clamp(scale, kSmallest, kLargest);
    crisp_ = crisp;
    offset_ = QPointF(width() - picture_.width() * scale_, height() - picture_.height() * scale_) / 2.0;
    Confine();
    show();
    raise();
    update();
}

void ZoomView::Clear() {
    hide();
    picture_ = QImage();
}

void ZoomView::ZoomAbout(QPointF at, double factor) {
    const double scale = std::clamp(scale_ * factor, kSmallest, kLargest);
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
    offset_ = QPointF(confine(offset_.x(), picture_.width() * scale_, width()),
                      confine(offset_.y(), picture_.height() * scale_, height()));
}

void ZoomView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !crisp_);
    painter.drawImage(QRectF(offset_, QSizeF(picture_.size()) * scale_), picture_);
}

void ZoomView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) {
        emit Wheel(event->position(), steps);
    }
    event->accept();
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
