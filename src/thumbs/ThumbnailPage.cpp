#include "thumbs/ThumbnailPage.h"

namespace tamsel::thumbs {

ThumbnailPage::ThumbnailPage(QWidget* parent, const QRect& first) : QObject(parent) {
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
}

}  // namespace tamsel::thumbs
