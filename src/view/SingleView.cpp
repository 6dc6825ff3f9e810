#include "view/SingleView.h"

#include <QEvent>
#include <QLabel>
#include <QTimer>

namespace tamsel::view {

namespace {

// How long a notice stays.
constexpr int kNoticeMs = 1500;

}  // namespace

SingleView::SingleView(QWidget* parent, const QRect& first)
    : QObject(parent),
      box_(new platform::PictureBox(parent)),
      zoom_(new ZoomView(parent)),
      facts_(new FactsPanel(parent)),
      notice_(new QLabel(parent)),
      noticeTime_(new QTimer(this)) {
    box_->setGeometry(first);
    box_->hide();
    box_->installEventFilter(this);
    // Moves without a button held reach the window too: the readout follows the pointer.
    box_->setMouseTracking(true);
    zoom_->setMouseTracking(true);
    notice_->setAttribute(Qt::WA_TransparentForMouseEvents);
    notice_->setStyleSheet(QStringLiteral("background: rgba(0, 0, 0, 200); color: white; padding: 6px;"));
    notice_->hide();
    noticeTime_->setSingleShot(true);
    noticeTime_->setInterval(kNoticeMs);
    connect(noticeTime_, &QTimer::timeout, notice_, &QWidget::hide);
}

void SingleView::Notify(const QString& text, QPoint at) {
    notice_->setText(text);
    notice_->adjustSize();
    notice_->move(at);
    notice_->show();
    notice_->raise();
    noticeTime_->start();
}

bool SingleView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::Hide) {
        zoom_->Clear();
    }
    if (watched == box_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        emit BoxShownOrHidden();
    }
    return false;
}

}  // namespace tamsel::view
