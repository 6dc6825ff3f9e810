#pragma once

#include <QProcess>
#include <QSize>
#include <QString>

// A virtual X screen with a window manager, for whatever runs the real viewer on a desktop of its own:
// the end-to-end tests and the benchmark. Xvfb on a free display, with openbox managing its windows,
// for as long as the object lives.
namespace tamsel::desktop {

class VirtualScreen {
public:
    explicit VirtualScreen(QSize screen);
    VirtualScreen(const VirtualScreen&) = delete;
    VirtualScreen& operator=(const VirtualScreen&) = delete;
    ~VirtualScreen();

    // Empty once the screen and its window manager are up; else why they are not.
    const QString& Fault() const { return fault_; }
    // The display's name, ":N".
    const QString& Display() const { return display_; }
    // This process's environment for a program shown here: the display, and X as Qt's window system.
    QProcessEnvironment Environment() const;

private:
    QString fault_;
    QString display_;
    QProcess server_;
    QProcess manager_;
};

}  // namespace tamsel::desktop
