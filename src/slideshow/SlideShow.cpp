// The slide show: one loop inside the handler that started it, waiting out each interval in the
// event queue.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <cmath>

#include "platform/FileListBox.h"
#include "shell/Buttons.h"
#include "shell/FrmImageViewer.h"
#include "slideshow/ShowTiming.h"

namespace tamsel {

void FrmImageViewer::mnuBeginSlideShow_Click() {
    RunSlideShow();
}

void FrmImageViewer::RunSlideShow() {
    if (filList->ListCount() == 0) {
        return;
    }
    std::array<bool, 7> checked{};
    for (std::size_t i = 0; i < checked.size(); ++i) {
        checked[i] = mnuDisplayInterval[i]->isChecked();
    }
    const int interval = slideshow::IntervalSeconds(checked);

    FileMenuHeader->menuAction()->setEnabled(false);
    mnuBeginSlideShow->setEnabled(false);
    mnuEndSlideShow->setEnabled(true);
    DisplayIntervalHeader->menuAction()->setEnabled(false);
    SetButtons(buttons::kShowRunning);
    Label2->hide();
    Frame1->hide();
    StopShow = false;

    // While the show runs the screen stays awake; pausing or ending it lets the screen saver back.
    platform::ScreenSaver& screenSaver = *platform_.screenSaver;
    screenSaver.Inhibit();
    const auto release = qScopeGuard([&screenSaver] { screenSaver.Release(); });

    platform::Clock& clock = *platform_.clock;
    do {
        if (mnuSequentialShow->isChecked()) {
            filList->SetListIndex(EntryAfterOnShow());
        } else {
            platform_.random->Reseed(clock.SecondsSinceMidnight());
            filList->SetListIndex(slideshow::RandomEntry(platform_.random->Next(), filList->ListCount()));
        }
        OpenSelectedImage(0);

        const double start = clock.SecondsSinceMidnight();
        double elapsed = 0.0;
        do {
            platform_.events->Yield(interval - elapsed);
            elapsed = slideshow::SecondsBetween(start, clock.SecondsSinceMidnight());
        } while (elapsed < interval && !StopShow);
    } while (!StopShow);
}

void FrmImageViewer::mnuEndSlideShow_Click() {
    FileMenuHeader->menuAction()->setEnabled(true);
    mnuBeginSlideShow->setEnabled(true);
    mnuEndSlideShow->setEnabled(false);
    DisplayIntervalHeader->menuAction()->setEnabled(true);
    SetButtons(buttons::kShowEnded);
    StopShow = true;
}

void FrmImageViewer::mnuSequentialShow_Click() {
    mnuSequentialShow->setChecked(true);
    mnuRandomShow->setChecked(false);
}

void FrmImageViewer::mnuRandomShow_Click() {
    mnuSequentialShow->setChecked(false);
    mnuRandomShow->setChecked(true);
}

void FrmImageViewer::mnuDisplayInterval_Click(int index) {
    for (QAction* item : mnuDisplayInterval) {
        item->setChecked(false);
    }
    mnuDisplayInterval[static_cast<std::size_t>(index)]->setChecked(true);
}

}  // namespace tamsel
