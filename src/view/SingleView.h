#pragma once

#include <QObject>
#include <QPointF>

#include "platform/PictureBox.h"
#include "view/FactsPanel.h"
#include "view/ZoomView.h"

// The single view: the picture on show in its box, and over the window's picture area the picture's
// facts and the picture zoomed. The zoom goes with the box: hidden with it.
namespace tamsel::view {

class SingleView : public QObject {
    Q_OBJECT
public:
    // The box on `parent` where the window is first laid out, hidden.
    SingleView(QWidget* parent, const QRect& first);

    platform::PictureBox& Box() const { return *box_; }
    FactsPanel& Facts() const { return *facts_; }
    ZoomView& Zoom() const { return *zoom_; }

signals:
    // The box was shown or hidden.
    void BoxShownOrHidden();
    // The wheel turned `steps` notches over the box or the zoom, at `at` in the box's parent.
    void Wheel(QPointF at, int steps);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::PictureBox* box_;
    ZoomView* zoom_;
    FactsPanel* facts_;
};

}  // namespace tamsel::view
