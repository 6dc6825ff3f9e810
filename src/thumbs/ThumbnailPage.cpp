#include "thumbs/ThumbnailPage.h"

#include <QPainter>
#include <QPalette>

namespace tamsel::thumbs {

namespace {

// How far the frame stands out of its cell, and how wide its line is.
constexpr int kFrameOut = 3;
constexpr int kFrameLine = 2;

// A frame drawn around a cell: only its line is painted, and it takes no clicks.
class CellFrame : public QWidget {
public:
    explicit CellFrame(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        const QColor line = palette().color(QPalette::Highlight);
        painter.fillRect(0, 0, width(), kFrameLine, line);
        painter.fillRect(0, height() - kFrameLine, width(), kFrameLine, line);
        painter.fillRect(0, 0, kFrameLine, height(), line);
        painter.fillRect(width() - kFrameLine, 0, kFrameLine, height(), line);
    }
};

}  // namespace

ThumbnailPage::ThumbnailPage(QWidget* parent, const QRect& first)
    : QObject(parent), frame_(new CellFrame(parent)) {
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        const int cell = static_cast<int>(i) + 1;
        cells_[i] = new platform::PictureBox(parent);
        cells_[i]->setGeometry(first);
        cells_[i]->hide();
        connect(cells_[i], &platform::PictureBox::Click, this, [this, cell] { emit CellClicked(cell); });
        connect(cells_[i], &platform::PictureBox::DblClick, this, [this, cell] { emit CellOpened(cell); });
    }
}

void ThumbnailPage::Hide() {
    for (platform::PictureBox* cell : cells_) {
        cell->hide();
    }
    frame_->hide();
}

void ThumbnailPage::Mark(std::optional<int> cell) {
    if (!cell || !Cell(*cell).isVisible()) {
        frame_->hide();
        return;
    }
    const QRect around = Cell(*cell).geometry().adjusted(-kFrameOut, -kFrameOut, kFrameOut, kFrameOut);
    // The frame has no ground of its own: only its line covers anything, around the cell.
    frame_->setGeometry(around);
    frame_->setMask(
        QRegion(frame_->rect())
            .subtracted(QRegion(frame_->rect().adjusted(kFrameLine, kFrameLine, -kFrameLine, -kFrameLine))));
    frame_->show();
    frame_->raise();
}

}  // namespace tamsel::thumbs
