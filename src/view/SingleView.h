#pragma once

#include <QObject>
#include <QPoint>

#include "platform/PictureBox.h"
#include "view/FactsPanel.h"
#include "view/ZoomView.h"

class QLabel;
class QTimer;

// The single view: the picture on show in its box, and over the window's picture area the picture's
// facts, the picture zoomed, and a short notice. The zoom goes with the box: hidden with it.
namespace tamsel::view {

class SingleView : public QObject {
    Q_OBJECT
public:
    // The box on `parent` where the window is first laid out, hidden.
    SingleView(QWidget* parent, const QRect& first);

    platform::PictureBox& Box() const { return *box_; }
    FactsPanel& Facts() const { return *facts_; }
    ZoomView& Zoom() const { return *zoom_; }
    const QLabel& Notice() const { return *notice_; }

    // Shows `text` for a moment with its top-left corner at `at`.
    void Notify(const QString& text, QPoint at);

signals:
    // The box was shown or hidden.
    void BoxShownOrHidden();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::PictureBox* box_;
    ZoomView* zoom_;
    FactsPanel* facts_;
    QLabel* notice_;
    QTimer* noticeTime_;
};

}  // namespace tamsel::view
