#pragma once

#include <QSize>
#include <QString>
#include <memory>

#include "platform/Platform.h"
#include "shell/FrmImageViewer.h"

// The viewer's own window as the benchmark drives it.
namespace tamsel::bench {

// A message box that shows nothing and counts what it was asked to show.
class CountedMessages final : public platform::MessageSink {
public:
    void Show(QWidget* parent, const QString& caption, const QString& text,
              platform::MessageIcon icon) override;
    int count = 0;
};

// The program's real clock, random source and event queue, with the screen, folders and settings
// file given here, a silent message box, and a program end that does not end the benchmark.
struct BenchPlatform {
    BenchPlatform(QSize screen, const QString& programFolder, const QString& settingsFile);

    std::unique_ptr<FrmImageViewer> Window() const;

    platform::Platform services;
    std::shared_ptr<CountedMessages> messages = std::make_shared<CountedMessages>();
};

// The screen that gives a window single-view limits (ViewWidth x ViewHeight) of `view`, found by
// opening one window on a first guess and correcting by what it gave.
QSize ScreenForView(QSize view, const QString& programFolder, const QString& settingsFile);

// Shows `window` and waits, dispatching events, until the window system has exposed it (10 s at most).
bool ShowAndWaitExposed(FrmImageViewer& window);

// Selects the file list's entry `index` and opens it as a double click does.
void OpenEntry(FrmImageViewer& window, int index);

}  // namespace tamsel::bench
