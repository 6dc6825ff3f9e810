#include "view/SingleView.h"

#include <QEvent>
#include <QWheelEvent>

namespace tamsel::view {

SingleView::SingleView(QWidget* parent, const QRect& first)
    : QObject(parent),
      box_(new platform::PictureBox(parent)),
      zoom_(new ZoomView(parent)),
      facts_(new FactsPanel(parent)) {
    box_->setGeometry(first);
    box_->hide();
    box_->installEventFilter(this);
    connect(zoom_, &ZoomView::Wheel, this,
            [this](QPointF at, int steps) { emit Wheel(zoom_->mapToParent(at), steps); });
}

bool SingleView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_) {
        return false;
    }
    if (event->type() == QEvent::Hide) {
        zoom_->Clear();
    }
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        emit BoxShownOrHidden();
    }
    if (event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        emit Wheel(box_->mapToParent(wheel->position()), wheel->angleDelta().y() / 120);
        return true;
    }
    return false;
}

}  // namespace tamsel::view
