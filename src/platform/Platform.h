#pragma once

#include <QSize>
#include <QString>
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

// The event queue that a running handler yields to: dispatches the pending events and, when there
// are none, sleeps until the next one arrives or `maxSeconds` have passed.
class EventQueue {
public:
    virtual ~EventQueue() = default;
    virtual void Yield(double maxSeconds) = 0;
};

// Ends the whole program at once, with exit status 0: no further handler runs.
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
    std::shared_ptr<EventQueue> events;
    std::shared_ptr<ProgramEnd> programEnd;
    std::shared_ptr<ScreenSaver> screenSaver;
};

// The real services: the primary screen, the program's folder, the settings file under the user's
// configuration folder (none when neither HOME nor XDG_CONFIG_HOME is an absolute path), QMessageBox, the
// system clock, a seeded generator, Qt's event loop, process exit and the desktop's screen saver over the
// session bus. Needs a QApplication.
Platform ProductPlatform();

// Twips, the unit of the window's outer size and the screen's size: 15 to the pixel.
inline constexpr int kTwipsPerPixel = 15;

}  // namespace tamsel::platform
