// The window on the screen: sized to cover it, sized again once a window manager has added its frame,
// and told when it has its final geometry.
#include <QLayout>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "shell/FrmImageViewer.h"

namespace tamsel {

namespace {

// How long the window waits for a window manager to give it the size it asked for, at most.
constexpr int kLongestPlacement = 1000;

}  // namespace

void FrmImageViewer::PlaceWindow() {
    // The window covers the screen as a normal window: the outer width is the screen's, the outer
    // height 10 twips (two thirds of a pixel) less, rounded to whole pixels.
    const QSize screen = platform_.screenSize;
    outerSize_ =
        QSize(screen.width(), platform::RoundHalfEven((screen.height() * platform::kTwipsPerPixel - 10) /
                                                      double{platform::kTwipsPerPixel}));
    create();  // with its native window made, the platform can tell what frame it adds
    assumedFrame_ = FrameExtra();
    setWindowState(Qt::WindowNoState);
    resize(outerSize_ - assumedFrame_);
    // The native window takes the same size before it is shown, so that showing the window does not
    // size it again: sized on showing, its position would be the inner area's, and a window manager
    // would frame it above and left of the screen. So it is mapped with its frame's corner given as
    // the screen's corner (north-west gravity), and is framed there, whatever frame is added.
    QWindow* window = windowHandle();
    window->resize(size());
    window->setFramePosition(QPoint(0, 0));
    for (const auto changed : {&QWindow::widthChanged, &QWindow::heightChanged}) {
        connect(window, changed, this, &FrmImageViewer::NativeSizeChanged);
    }
    layout()->activate();
}

void FrmImageViewer::FitToFrame() {
    // The inner area is sized for the frame, and the frame stays where the window manager put it.
    // The frame's corner is given again only once the window manager has answered the size: given
    // with it, it would be a second request with another gravity, and a window manager that handles
    // both with the gravity read for the first puts the inner area's corner at the screen's corner,
    // the title bar above the screen.
    placeAfterFit_ = true;
    awaitingFit_ = true;
    assumedFrame_ = FrameExtra();
    resize(outerSize_ - assumedFrame_);
}

void FrmImageViewer::NativeSizeChanged() {
    // The window manager has answered the size asked for the frame: the frame's corner is given again,
    // as a request of its own, mending a resize that moved the frame (the inner area's position rounded
    // to scaled pixels, or out of date when it was sent); not if the window was maximized or made full
    // screen meanwhile. The window is placed then, so that nothing waiting for it comes before this
    // last request. Answered with another size, the window gets no second request, and what waits for
    // its placement waits for the fallback.
    if (!awaitingFit_ || windowHandle()->size() != outerSize_ - assumedFrame_) {
        return;
    }
    awaitingFit_ = false;
    if (windowState() == Qt::WindowNoState) {
        windowHandle()->setFramePosition(QPoint(0, 0));
    }
    Placed();
}

QSize FrmImageViewer::FrameExtra() const {
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    return {frame.left() + frame.right(), frame.top() + frame.bottom()};
}

bool FrmImageViewer::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    CheckFrame();
    return handled;
}

void FrmImageViewer::CheckFrame() {
    const QWindow* window = windowHandle();
    if (frameFitted_ || window == nullptr || !window->isExposed() || windowState() != Qt::WindowNoState) {
        return;
    }
    // A window manager may add its frame only once the window is shown: the inner area is then sized
    // again, once, so that the outer size still comes out as the screen's. The event that tells may
    // be a paint, where no size may change: the new size is asked for once it is over.
    const QSize extra = FrameExtra();
    if (extra != assumedFrame_ && extra.width() >= 0 && extra.height() >= 0) {
        frameFitted_ = true;
        QMetaObject::invokeMethod(this, &FrmImageViewer::FitToFrame, Qt::QueuedConnection);
    } else if (!placeAfterFit_) {
        // Shown with the frame it was sized for: it has its final geometry now.
        Placed();
    }
}

void FrmImageViewer::Placed() {
    if (placed_) {
        return;
    }
    placed_ = true;
    if (whenPlaced_) {
        QMetaObject::invokeMethod(this, std::exchange(whenPlaced_, {}), Qt::QueuedConnection);
    }
}

void FrmImageViewer::WhenPlaced(std::function<void()> action) {
    if (placed_) {
        QMetaObject::invokeMethod(this, std::move(action), Qt::QueuedConnection);
        return;
    }
    whenPlaced_ = std::move(action);
    // A window manager that never gives the size asked for must not keep the action waiting.
    QTimer::singleShot(kLongestPlacement, this, &FrmImageViewer::Placed);
}

void FrmImageViewer::InnerArea_Resized() {
    // Once the window has its final size, the start-up placement is made again for the inner area
    // the frame leaves: the controls, the view limits and the cells are as if the frame had been
    // known from the start.
    if (placeAfterFit_ && size() == outerSize_ - assumedFrame_) {
        placeAfterFit_ = false;
        PlaceControls();
    }
    Form_Resize();
}

}  // namespace tamsel
