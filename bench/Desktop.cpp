#include "Desktop.h"

#include <dlfcn.h>

#include <QDir>

#include "Measure.h"

// After Qt's headers: Xlib's macros (None, Unsorted ...) would rename Qt's own names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tamsel::bench {

namespace {

// XTest is loaded when the desktop starts, so that building the benchmark needs no more than the
// viewer does; without it the desktop's rows are left out.
using FakeKeyEvent = int (*)(Display*, unsigned int, Bool, unsigned long);

// A window that closes while it is being looked at is no error for the benchmark.
int IgnoreError(Display* /*display*/, XErrorEvent* /*error*/) {
    return 0;
}

Window WindowProperty(Display* display, Window window, const char* name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    Window value = None;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success &&
        data != nullptr) {
        if (count == 1 && format == 32) {
            value = *reinterpret_cast<Window*>(data);
        }
        XFree(data);
    }
    return value;
}

}  // namespace

struct Desktop::X {
    Display* display = nullptr;
    Window root = None;
    XImage* line = nullptr;  // one row of the screen, reused by every look
    void* xtest = nullptr;
    FakeKeyEvent fakeKey = nullptr;

    // The active window and the size of its inside, while it is shown.
    struct Active {
        Window window;
        QSize size;
    };
    std::optional<Active> ActiveWindow() const;

    ~X() {
        if (line != nullptr) {
            XDestroyImage(line);
        }
        if (display != nullptr) {
            XCloseDisplay(display);
        }
        if (xtest != nullptr) {
            dlclose(xtest);
        }
    }
};

Desktop::Desktop(const QString& configFolder) : x_(std::make_unique<X>()), screen_(kScreen) {
    x_->xtest = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!screen_.Fault().isEmpty() || x_->xtest == nullptr) {
        absence_ =
            x_->xtest == nullptr ? QStringLiteral("libXtst (XTest) is not installed") : screen_.Fault();
        return;
    }
    x_->fakeKey = reinterpret_cast<FakeKeyEvent>(dlsym(x_->xtest, "XTestFakeKeyEvent"));
    XSetErrorHandler(IgnoreError);
    x_->display = XOpenDisplay(screen_.Display().toLatin1().constData());
    int opcode = 0;
    int event = 0;
    int error = 0;
    if (x_->display != nullptr) {
        x_->root = DefaultRootWindow(x_->display);
        x_->line = XGetImage(x_->display, x_->root, 0, 0, kScreen.width(), 1, AllPlanes, ZPixmap);
    }
    if (x_->line == nullptr || x_->line->bits_per_pixel != 32 || x_->fakeKey == nullptr ||
        !XQueryExtension(x_->display, "XTEST", &opcode, &event, &error)) {
        absence_ = QStringLiteral("Xvfb did not start with XTest and 32 bits a pixel");
        return;
    }
    environment_ = screen_.Environment();
    environment_.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder);
    QDir().mkpath(configFolder);
    // The pointer rests in a corner, away from anything that shows a hover text.
    XWarpPointer(x_->display, None, x_->root, 0, 0, 0, 0, kScreen.width() - 1, kScreen.height() - 1);
    XSync(x_->display, False);
}

Desktop::~Desktop() {
    x_.reset();
}

std::optional<Desktop::X::Active> Desktop::X::ActiveWindow() const {
    const Window active = WindowProperty(display, root, "_NET_ACTIVE_WINDOW");
    XWindowAttributes attributes{};
    if (active == None || !XGetWindowAttributes(display, active, &attributes) ||
        attributes.map_state != IsViewable || attributes.width > line->width) {
        return std::nullopt;
    }
    return Active{active, QSize(attributes.width, attributes.height)};
}

Desktop::Frame Desktop::Grab() const {
    const std::optional<X::Active> active = x_->ActiveWindow();
    Frame frame;
    if (!active) {
        return frame;
    }
    const QSize size = active->size;
    const auto width = static_cast<std::size_t>(size.width());
    frame.reserve(width * kLines);
    for (int k = 0; k < kLines; ++k) {
        const int y = (2 * k + 1) * size.height() / (2 * kLines);
        if (XGetSubImage(x_->display, active->window, 0, y, size.width(), 1, AllPlanes, ZPixmap, x_->line, 0,
                         0) == nullptr) {
            return {};
        }
        const auto* pixels = reinterpret_cast<const std::uint32_t*>(x_->line->data);
        for (std::size_t i = 0; i < width; ++i) {
            frame.push_back(pixels[i] & 0xFFFFFFU);
        }
    }
    return frame;
}

std::optional<std::int64_t> Desktop::WaitFor(const Frame& frame, double timeout) const {
    const std::int64_t start = MonotonicNanoseconds();
    for (;;) {
        const std::int64_t look = MonotonicNanoseconds();
        if (Grab() == frame) {
            return look;
        }
        if (SecondsBetween(start, look) > timeout) {
            return std::nullopt;
        }
        Pause(0.001);
    }
}

QSize Desktop::ActiveWindowSize() const {
    const std::optional<X::Active> active = x_->ActiveWindow();
    return active ? active->size : QSize();
}

std::int64_t Desktop::Type(unsigned long keySymbol) const {
    const KeyCode key = XKeysymToKeycode(x_->display, keySymbol);
    const std::int64_t sent = MonotonicNanoseconds();
    x_->fakeKey(x_->display, key, True, CurrentTime);
    x_->fakeKey(x_->display, key, False, CurrentTime);
    XFlush(x_->display);
    return sent;
}

}  // namespace tamsel::bench
