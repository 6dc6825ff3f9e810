#include "platform/Platform.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTime>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>

#include "Version.h"

namespace tamsel::platform {

namespace {

class QtMessageSink final : public MessageSink {
public:
    void Show(QWidget* parent, const QString& caption, const QString& text, MessageIcon icon) override {
        // Messages break lines with carriage returns; the box breaks them at line feeds.
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                        caption, shown, QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
};

class SystemClock final : public Clock {
public:
    double SecondsSinceMidnight() override { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }
};

class SeededRandom final : public RandomSource {
public:
    void Reseed(double seed) override {
        engine_.seed(static_cast<std::uint64_t>(std::llround(seed * 1000.0)));
    }
    double Next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

private:
    std::mt19937_64 engine_{std::random_device{}()};
};

// Sleeps in the event loop until an event arrives or the time is up; never spins.
class QtEventQueue final : public EventQueue {
public:
    void Yield(double maxSeconds) override {
        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        deadline.start(static_cast<int>(std::clamp(std::ceil(maxSeconds * 1000.0), 0.0, 3'600'000.0)));
        loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
};

// The freedesktop screen saver interface on the session bus, where there is one.
class DesktopScreenSaver final : public ScreenSaver {
public:
    void Inhibit() override {
        if (cookie_ || !QDBusConnection::sessionBus().isConnected()) {
            return;
        }
        const QDBusMessage reply = QDBusConnection::sessionBus().call(
            Call(QStringLiteral("Inhibit"))
                << QCoreApplication::applicationName() << QStringLiteral("Slide show"),
            QDBus::Block, kTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            cookie_ = reply.arguments().constFirst().toUInt();
        }
    }

    void Release() override {
        if (!cookie_) {
            return;
        }
        QDBusConnection::sessionBus().call(Call(QStringLiteral("UnInhibit")) << *cookie_, QDBus::Block,
                                           kTimeoutMs);
        cookie_.reset();
    }

private:
    static constexpr int kTimeoutMs = 1000;
    static QDBusMessage Call(const QString& method) {
        return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                              QStringLiteral("/org/freedesktop/ScreenSaver"),
                                              QStringLiteral("org.freedesktop.ScreenSaver"), method);
    }
    std::optional<uint> cookie_;
};

class ProcessExit final : public ProgramEnd {
public:
    void EndProgram() override {
        std::fflush(nullptr);
        std::_Exit(0);
    }
};

}  // namespace

Platform ProductPlatform() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    Platform platform;
    platform.screenSize = screen != nullptr ? screen->size() : QSize(1024, 768);
    // Without a home folder the browser starts in the root folder, and the settings have no place: a
    // folder made below the root for them would belong to whoever ran the program first.
    const bool home = QDir::isAbsolutePath(qEnvironmentVariable("HOME"));
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    platform.programFolder = !home                                                ? QDir::rootPath()
                             : !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures
                                                                                  : QDir::homePath();
    if (home || QDir::isAbsolutePath(qEnvironmentVariable("XDG_CONFIG_HOME"))) {
        platform.settingsFile =
            QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                .filePath(QStringLiteral("%1/%2.ini")
                              .arg(QString::fromUtf8(kCompanyName), QString::fromUtf8(kProductName)));
    }
    platform.messages = std::make_shared<QtMessageSink>();
    platform.clock = std::make_shared<SystemClock>();
    platform.random = std::make_shared<SeededRandom>();
    platform.events = std::make_shared<QtEventQueue>();
    platform.programEnd = std::make_shared<ProcessExit>();
    platform.screenSaver = std::make_shared<DesktopScreenSaver>();
    return platform;
}

}  // namespace tamsel::platform
