#include "platform/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace tamsel::platform {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::AssignPicture(QImage picture) {
    image_ = std::move(picture);
    if (autoSize_) {
        resize(image_.size());
    }
    update();
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !crisp_);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, image_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    // A press begins a click of its own: a double click whose release never came (its box was hidden
    // under the pointer) does not swallow it.
    swallowRelease_ = false;
    QWidget::mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (swallowRelease_) {
        swallowRelease_ = false;
    } else if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit Click();
    }
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        swallowRelease_ = true;
        emit DblClick();
    }
}

}  // namespace tamsel::platform
