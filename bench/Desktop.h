#pragma once

#include <QProcess>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "desktop/VirtualScreen.h"

// A real X server with a window manager for the benchmark: Xvfb on a 1920 x 1080 screen of 24 bits with
// openbox on it, as the end-to-end tests have it; keys typed through XTest and the screen read back
// from the server. What is
// on screen is what the server holds in the window's place: no call returning in a program counts.
namespace tamsel::bench {

class Desktop {
public:
    static constexpr QSize kScreen{1920, 1080};

    // Starts Xvfb and openbox; Absence() says why there is no desktop when either is missing or fails.
    // The programs shown on it keep their settings under `configFolder`.
    explicit Desktop(const QString& configFolder);
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;
    ~Desktop();

    const QString& Absence() const { return absence_; }

    // The environment of the programs shown here: this process's, with the display, the settings
    // folder and Qt's own window system.
    const QProcessEnvironment& Environment() const { return environment_; }

    // What a look at the screen sees: kLines rows across the inside of the active window, where the
    // window is on the screen, one after another; nothing while no window is active. A window is
    // followed wherever its window manager puts it.
    using Frame = std::vector<std::uint32_t>;
    static constexpr int kLines = 16;
    Frame Grab() const;

    // Looks at the screen, a millisecond between looks, until it shows `frame`, at most `timeout`
    // seconds; the monotonic time at which the look that saw it began.
    std::optional<std::int64_t> WaitFor(const Frame& frame, double timeout = 60.0) const;

    // The size of the inside of the active window; empty when no window is active.
    QSize ActiveWindowSize() const;

    // Presses and releases the key of an X key symbol (XK_Right ...); the monotonic time just before
    // the press was sent.
    std::int64_t Type(unsigned long keySymbol) const;

private:
    struct X;
    std::unique_ptr<X> x_;
    QString absence_;
    desktop::VirtualScreen screen_;
    QProcessEnvironment environment_;
};

}  // namespace tamsel::bench
