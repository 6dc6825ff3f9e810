#include "desktop/VirtualScreen.h"

#include <sys/prctl.h>

#include <QElapsedTimer>
#include <QStandardPaths>
#include <csignal>
#include <thread>

namespace tamsel::desktop {

namespace {

// Starts `process` so that it is killed when this process ends, however it ends.
void StartTied(QProcess& process, const QString& program, const QStringList& arguments) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start(program, arguments);
}

}  // namespace

VirtualScreen::VirtualScreen(QSize screen) {
    for (const char* program : {"Xvfb", "openbox", "xprop"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty()) {
            fault_ = QStringLiteral("%1 is not installed").arg(QString::fromLatin1(program));
            return;
        }
    }
    // Xvfb picks a free display and writes its number to the descriptor given, its standard output, once
    // it takes clients.
    server_.setStandardErrorFile(QProcess::nullDevice());
    StartTied(server_, QStringLiteral("Xvfb"),
              QStringLiteral("-displayfd 1 -nolisten tcp -noreset -screen 0 %1x%2x24")
                  .arg(screen.width())
                  .arg(screen.height())
                  .split(u' '));
    QElapsedTimer waited;
    waited.start();
    while (!server_.canReadLine() && waited.elapsed() < 10'000) {
        server_.waitForReadyRead(50);
    }
    if (!server_.canReadLine()) {
        fault_ = QStringLiteral("Xvfb gave no display number");
        return;
    }
    display_ = u':' + QString::fromLatin1(server_.readLine().trimmed());
    manager_.setProcessEnvironment(Environment());
    manager_.setStandardOutputFile(QProcess::nullDevice());
    manager_.setStandardErrorFile(QProcess::nullDevice());
    StartTied(manager_, QStringLiteral("openbox"), {});
    // openbox names its check window on the root window once it manages the screen.
    waited.restart();
    while (waited.elapsed() < 10'000) {
        QProcess check;
        check.setProcessEnvironment(Environment());
        check.start(QStringLiteral("xprop"),
                    {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        if (check.waitForFinished(5000) && check.readAllStandardOutput().contains("window id")) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    fault_ = QStringLiteral("openbox did not take display %1").arg(display_);
}

VirtualScreen::~VirtualScreen() {
    for (QProcess* process : {&manager_, &server_}) {
        process->terminate();  // Xvfb removes its lock file; a QProcess still running is killed
        process->waitForFinished(5000);
    }
}

QProcessEnvironment VirtualScreen::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("DISPLAY"), display_);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return environment;
}

}  // namespace tamsel::desktop
