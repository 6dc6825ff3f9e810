#pragma once

#include <QImage>
#include <QWidget>

namespace tamsel::platform {

// A picture box: a widget with a persistent image that it paints at its top-left corner (what is
// drawn into it while it is hidden shows once it is shown), an auto-size switch and a hover text (its
// tool tip).
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // When on, a picture assigned to the box resizes the box to the picture.
    void SetAutoSize(bool on) { autoSize_ = on; }

    // When on, the picture is drawn pixel for pixel with no smoothing, also where a screen has more than
    // one device pixel to the pixel: each texel of a texture stays a crisp square.
    void SetCrisp(bool on) { crisp_ = on; }

    // Assigns a loaded picture: it becomes the box's image; with auto-size on the box takes its size.
    void AssignPicture(QImage picture);

    // The image the box shows.
    const QImage& Surface() const { return image_; }

signals:
    void Click();
    void DblClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage image_;
    bool autoSize_ = false;
    bool crisp_ = false;
    bool swallowRelease_ = false;  // the release that ends a double click is no click of its own
};

}  // namespace tamsel::platform
