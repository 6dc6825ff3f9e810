#pragma once

#include <QObject>
#include <array>
#include <optional>

#include "platform/PictureBox.h"

// The thumbnail page: nine cells, each a picture box at the top-left corner of its place in the 3 x 3
// grid, row by row from the top left (cells 1 to 9). A click or a double click on a cell says which; a
// marked cell is framed.
namespace tamsel::thumbs {

class ThumbnailPage : public QObject {
    Q_OBJECT
public:
    // The nine cells on `parent`, hidden, each first where `first` is.
    ThumbnailPage(QWidget* parent, const QRect& first);

    platform::PictureBox& Cell(int cell) const { return *cells_[static_cast<std::size_t>(cell - 1)]; }
    void Hide();

    // Frames cell `cell` in the highlight colour, over the page; none when nothing is marked or that
    // cell is hidden.
    void Mark(std::optional<int> cell);

signals:
    void CellClicked(int cell);
    void CellOpened(int cell);

private:
    std::array<platform::PictureBox*, 9> cells_{};
    QWidget* frame_;
};

}  // namespace tamsel::thumbs
