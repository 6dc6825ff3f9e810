#pragma once

#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

// The services the viewer asks of its platform. The product gets the real ones from
// ProductPlatform(); tests build a Platform of their own with recording or scripted fakes.
namespace tamsel::platform {

enum class MessageIcon { Warning, Information };

// Modal message boxes with a single OK button.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void Show(QWidget* parent, const QString& caption, const QString& text, MessageIcon icon) = 0;
};

// The time of day in seconds since midnight, with sub-second resolution.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double SecondsSinceMidnight() = 0;
};

// A pseudo-random source that is re-seeded from the clock and draws r uniform in [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void Reseed(double seed) = 0;
    virtual double Next() = 0;
};

// One interval at a time, as the slide show waits it out: Start replaces an interval under way, Stop
// ends it unheard. `done` runs in the event loop once the interval is over.
class IntervalTimer {
public:
    virtual ~IntervalTimer() = default;
    virtual void Start(double seconds, std::function<void()> done) = 0;
    virtual void Stop() = 0;
};

// Ends the program with exit status 0 once the handler under way has returned: no further event is
// handled, and every window goes.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual void EndProgram() = 0;
};

// Keeps the screen saver and screen blanking away while asked to, where the desktop offers that;
// elsewhere it does nothing and says nothing.
class ScreenSaver {
public:
    virtual ~ScreenSaver() = default;
    virtual void Inhibit() = 0;  // once inhibited, further calls change nothing
    virtual void Release() = 0;  // releasing what is not inhibited changes nothing
};

struct Platform {
    QSize screenSize;  // pixels
    // The program's own folder in the window's terms: where the browser starts when no folder is
    // remembered or the remembered one is gone. On this platform the folder that holds the program holds
    // no pictures, so it is the user's Pictures folder, else the home folder.
    QString programFolder;
    QString settingsFile;  // the INI file of the remembered values; empty when there is none to keep
    std::shared_ptr<MessageSink> messages;
    std::shared_ptr<Clock> clock;
    std::shared_ptr<RandomSource> random;
    std::shared_ptr<IntervalTimer> interval;
    std::shared_ptr<ProgramEnd> programEnd;
    std::shared_ptr<ScreenSaver> screenSaver;
};

// The real services: the primary screen, the program's folder, the settings file under the user's
// configuration folder (none when neither HOME nor XDG_CONFIG_HOME is an absolute path), QMessageBox,
// the system clock, a seeded generator, a Qt timer, the end of Qt's event loop and the desktop's screen
// saver over the session bus.
// Needs a QApplication.
Platform ProductPlatform();

}  // namespace tamsel::platform
