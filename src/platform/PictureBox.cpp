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

void PictureBox::SetSurfaceSize(int width, int height, Clear clear) {
    resize(width, height);
    if (image_.size() != QSize(width, height) || image_.format() != QImage::Format_RGB32) {
        image_ = QImage(width, height, QImage::Format_RGB32);
    }
    if (clear == Clear::Black) {
        image_.fill(Qt::black);
    }
    update();
}

void PictureBox::BitBlt(const QImage& source) {
    if (source.size() == size() && source.format() == QImage::Format_RGB32) {
        image_ = source.copy();
    } else {
        SetSurfaceSize(width(), height());
        QPainter painter(&image_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, source);
    }
    update();
}

void PictureBox::StretchBltHalftone(const QImage& source) {
    image_ = source.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 .convertToFormat(QImage::Format_RGB32);
    update();
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, image_);
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
