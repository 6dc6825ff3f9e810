#include "BenchWindow.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWindow>

#include "platform/FileListBox.h"

namespace tamsel::bench {

namespace {

class NoEnd final : public platform::ProgramEnd {
public:
    void EndProgram() override {}
};

}  // namespace

void CountedMessages::Show(QWidget* /*parent*/, const QString& /*caption*/, const QString& /*text*/,
                           platform::MessageIcon /*icon*/) {
    ++count;
}

BenchPlatform::BenchPlatform(QSize screen, const QString& programFolder, const QString& settingsFile)
    : services(platform::ProductPlatform()) {
    services.screenSize = screen;
    services.programFolder = programFolder;
    services.settingsFile = settingsFile;
    services.messages = messages;
    services.programEnd = std::make_shared<NoEnd>();
}

std::unique_ptr<FrmImageViewer> BenchPlatform::Window() const {
    return std::make_unique<FrmImageViewer>(services);
}

QSize ScreenForView(QSize view, const QString& programFolder, const QString& settingsFile) {
    // The window is as wide as the screen and one pixel less high; the menu bar and the frame take
    // their share of that.
    const QSize guess = view + QSize(20, 100);
    const std::unique_ptr<FrmImageViewer> probe = BenchPlatform(guess, programFolder, settingsFile).Window();
    return guess + view - QSize(probe->ViewWidth, probe->ViewHeight);
}

bool ShowAndWaitExposed(FrmImageViewer& window) {
    window.show();
    const QDeadlineTimer deadline(10'000);
    QTimer wake;  // ends each wait below within a millisecond even when no event comes
    wake.start(1);
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void OpenEntry(FrmImageViewer& window, int index) {
    window.filList->SetListIndex(index);
    window.filList_DblClick();
}

}  // namespace tamsel::bench
