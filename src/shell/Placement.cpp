// The window on the screen: sized to cover it, sized again once a window manager has added its frame,
// told when it has its final geometry; and its controls laid out in proportion whenever its size
// changes.
#include <QGuiApplication>
#include <QLayout>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "browse/Browser.h"
#include "shell/MainWindow.h"
#include "thumbs/ThumbnailPage.h"
#include "view/SingleView.h"

namespace tamsel::shell {

namespace {

// How long the window waits for a window manager to give it the size it asked for, at most.
constexpr int kLongestPlacement = 1000;

}  // namespace

void MainWindow::PlaceWindow() {
    // A Wayland compositor places windows itself and may keep part of the screen for a panel: the
    // window asks for the screen's free area, and its controls are placed for it once it has it.
    if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
        setWindowState(Qt::WindowMaximized);
        placeWhenMaximized_ = true;
        return;
    }
    // The window covers the screen as a normal window: the outer width is the screen's, the outer
    // height one pixel less.
    outerSize_ = platform_.screenSize - QSize(0, 1);
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
        connect(window, changed, this, &MainWindow::NativeSizeChanged);
    }
    layout()->activate();
}

void MainWindow::FitToFrame() {
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

void MainWindow::NativeSizeChanged() {
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

QSize MainWindow::FrameExtra() const {
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    return {frame.left() + frame.right(), frame.top() + frame.bottom()};
}

bool MainWindow::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    CheckFrame();
    return handled;
}

void MainWindow::CheckFrame() {
    const QWindow* window = windowHandle();
    // A compositor that places windows itself shows the window once it has given it its size.
    if (placeWhenMaximized_ && window != nullptr && window->isExposed()) {
        placeWhenMaximized_ = false;
        QMetaObject::invokeMethod(this, &MainWindow::Placed, Qt::QueuedConnection);
        return;
    }
    if (frameFitted_ || window == nullptr || !window->isExposed() || windowState() != Qt::WindowNoState) {
        return;
    }
    // A window manager may add its frame only once the window is shown: the inner area is then sized
    // again, once, so that the outer size still comes out as the screen's. The event that tells may
    // be a paint, where no size may change: the new size is asked for once it is over.
    const QSize extra = FrameExtra();
    if (extra != assumedFrame_ && extra.width() >= 0 && extra.height() >= 0) {
        frameFitted_ = true;
        QMetaObject::invokeMethod(this, &MainWindow::FitToFrame, Qt::QueuedConnection);
    } else if (!placeAfterFit_) {
        // Shown with the frame it was sized for: it has its final geometry now.
        Placed();
    }
}

void MainWindow::Placed() {
    if (placed_) {
        return;
    }
    placed_ = true;
    if (whenPlaced_) {
        QMetaObject::invokeMethod(this, std::exchange(whenPlaced_, {}), Qt::QueuedConnection);
    }
}

void MainWindow::WhenPlaced(std::function<void()> action) {
    if (placed_) {
        QMetaObject::invokeMethod(this, std::move(action), Qt::QueuedConnection);
        return;
    }
    whenPlaced_ = std::move(action);
    // A window manager that never gives the size asked for must not keep the action waiting.
    QTimer::singleShot(kLongestPlacement, this, &MainWindow::Placed);
}

void MainWindow::InnerAreaResized() {
    // Once the window has its final size, the start-up placement is made again for the inner area
    // the frame leaves: the controls, the view limits and the cells are as if the frame had been
    // known from the start.
    if (placeAfterFit_ && size() == outerSize_ - assumedFrame_) {
        placeAfterFit_ = false;
        PlaceControls();
    }
    // Placed by a compositor: each size it gives before the window is first shown is the final one so far.
    if (placeWhenMaximized_) {
        PlaceControls();
    }
    LayOut();
}

void MainWindow::LayOut() {
    single_->Box().hide();
    page_->Hide();
    // A size change during start-up, before the layout is recorded, only hides the boxes.
    if (layout_.size() != laidOut_.size()) {
        return;
    }
    const QWidget* inner = centralWidget();
    for (std::size_t i = 0; i < laidOut_.size(); ++i) {
        laidOut_[i]->setGeometry(RectOf(layout_[i], inner->width(), inner->height()));
    }
    // A size change that comes while a picture is being shown (its message box open) draws again
    // once that display is over, never inside it.
    if (displaying_ > 0) {
        redrawPending_ = true;
        return;
    }
    Redraw();
}

void MainWindow::Redraw() {
    if (state_.mode == Mode::Pages) {
        Select(state_.pageStart);
        DrawPage();
    } else {
        DrawSingle();
    }
}

MainWindow::DisplayScope::DisplayScope(MainWindow& window) : window_(window) {
    ++window_.displaying_;
}

MainWindow::DisplayScope::~DisplayScope() {
    if (--window_.displaying_ != 0) {
        return;
    }
    if (std::exchange(window_.redrawPending_, false)) {
        QMetaObject::invokeMethod(&window_, &MainWindow::Redraw, Qt::QueuedConnection);
    }
    window_.WatchShown();
}

}  // namespace tamsel::shell
