#pragma once

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <optional>

namespace tamsel::view {

// The single view enlarged or shrunk at will: a picture drawn at any scale over the view's area, its
// corner on a whole pixel, moved by dragging when it is larger than the area. A texture is drawn crisp,
// each texel a hard-edged block with no smoothing between texels; a photo is drawn smoothly.
class ZoomView : public QWidget {
    Q_OBJECT
public:
    explicit ZoomView(QWidget* parent = nullptr);

    // Shows `picture` at `scale` screen pixels a picture pixel, centred in the view.
    void Show(QImage picture, double scale, bool crisp);
    // Shows `picture` in place of the one on show, at the same scale with its top-left corner where
    // that one's was, so that the two can be told apart by flipping between them. Gives back the one
    // that was on show.
    QImage Swap(QImage picture, bool crisp);
    // Hides the view and lets its picture go; tells of it (Cleared).
    void Clear();

    double Scale() const { return scale_; }
    const QImage& Picture() const { return picture_; }
    // Where the picture's top-left corner stands in the view.
    QPointF Offset() const { return offset_; }

    // Zooms to `scale`, keeping the picture's point under `at` (view coordinates) where it is.
    void ZoomAbout(QPointF at, double scale);

    // The picture's pixel under `at` (view coordinates); nothing off the picture.
    std::optional<QPoint> PixelAt(QPointF at) const;

signals:
    // The view was cleared: whatever it showed, it shows no longer.
    void Cleared();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Keeps a picture larger than the view from leaving a gap at an edge, and centres a smaller one.
    void Confine();

    QImage picture_;
    double scale_ = 1.0;
    bool crisp_ = false;
    QPointF offset_;
    QPointF dragFrom_;
};

}  // namespace tamsel::view
