// What the user does: in the browser, on the buttons, on a page, in the menus and during a show. Each
// handler changes the model, draws what it asks for, and sets the controls from the model.
#include <QGuiApplication>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyleHints>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "browse/Browser.h"
#include "browse/Stepping.h"
#include "files/Drives.h"
#include "platform/MousePointer.h"
#include "shell/Controls.h"
#include "shell/MainWindow.h"
#include "slideshow/SlideShow.h"
#include "thumbs/Paging.h"
#include "thumbs/ThumbnailPage.h"
#include "view/SingleView.h"

namespace tamsel::shell {

namespace {

// How long the message of a file refused on a step by key waits for another key: twice the time
// between a held key's repeats, and at least a tenth of a second.
int KeyRefusalWaitMs() {
    const int repeatsPerSecond = QGuiApplication::styleHints()->keyboardAutoRepeatRate();
    return std::max(100, repeatsPerSecond > 0 ? 2000 / repeatsPerSecond : 0);
}

}  // namespace

void MainWindow::Select(int index, bool byUser) {
    ShowKeyRefusal();
    // A file chosen while the pages are not on show, by the user or by a step, can be opened.
    if ((state_.folder.Select(index) || byUser) && state_.mode != Mode::Pages) {
        state_.middle.offered = true;
    }
}

bool MainWindow::ChangeFolder(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    const QString folder = files::NormalFolderPath(path);
    if (folder == state_.folder.Path()) {
        return true;
    }
    const std::optional<std::vector<files::ListedName>> subfolders = files::ListSubfolders(folder);
    if (!subfolders || !state_.folder.Open(folder)) {
        return false;
    }
    browser_->ShowFolder(folder, *subfolders);
    WatchShown();
    // In the thumbnail view a folder with pictures shows its first page at once.
    if (state_.folder.Count() > 0 && state_.mode == Mode::Pages) {
        state_.stepping = SteppingHints::PagesEntered;
        state_.middle.shown = false;
        state_.browserShown = false;
        ShowFirstPage();
    }
    UpdateControls();
    return true;
}

void MainWindow::ChooseDrive(const QString& root) {
    const QString last = state_.folder.LastFolderOn(root);
    if ((!last.isEmpty() && ChangeFolder(last)) || ChangeFolder(root)) {
        return;
    }
    // The drive cannot be read: back to the drive of the folder still on show, silently.
    browser_->Drives().Show(browse::DriveRootOf(state_.folder.Path()));
}

void MainWindow::ChooseFile(int index) {
    Select(index, true);
    UpdateControls();
}

void MainWindow::OpenChosenFile() {
    if (state_.mode == Mode::Pages) {
        return;
    }
    state_.browserShown = false;
    state_.hintShown = false;
    state_.middle.shown = false;
    UpdateControls();
    DrawSingle();
}

void MainWindow::ShowBrowser() {
    page_->Hide();
    single_->Box().hide();
    state_.hintShown = true;
    state_.middle = {MiddleMode::Open, false, true, state_.middle.hint};
    state_.browserShown = true;
    UpdateControls();
}

void MainWindow::ToggleThumbnailView() {
    if (state_.mode == Mode::Pictures) {
        state_.mode = Mode::Pages;
        state_.stepping = SteppingHints::PagesEntered;
        state_.middle.mode = MiddleMode::Open;
        state_.middle.shown = false;
        state_.browserShown = false;
        UpdateControls();
        ShowFirstPage();
        return;
    }
    state_.mode = Mode::Pictures;
    state_.stepping = SteppingHints::Pictures;
    state_.middle.shown = false;
    page_->Hide();
    UpdateControls();
    DrawSingle();
}

void MainWindow::ShowEntry(int entry) {
    platform::MousePointer::SetBusy();
    Select(entry);
    DrawSingle();
    platform::MousePointer::SetDefault();
    UpdateControls();
}

void MainWindow::StepByKey(int steps) {
    // A file refused on the step before is passed by: a held key skips it.
    keyRefusal_ = nullptr;
    if (state_.mode == Mode::Pages) {
        steps > 0 ? Next() : Previous();
        return;
    }
    if (keySteps_) {
        *keySteps_ += steps;
        return;
    }
    // The first key is served at once; those that come while it is drawn are taken together after.
    keySteps_ = 0;
    const QScopedValueRollback byKey(steppingByKey_, true);
    steps > 0 ? Next() : Previous();
    QMetaObject::invokeMethod(this, &MainWindow::TakeKeySteps, Qt::QueuedConnection);
}

void MainWindow::TakeKeySteps() {
    if (TakeStepsNow()) {
        QMetaObject::invokeMethod(this, &MainWindow::TakeKeySteps, Qt::QueuedConnection);
    } else {
        keySteps_.reset();
    }
}

void MainWindow::TellAfterKeys(std::function<void()> message) {
    keyRefusal_ = std::move(message);
    if (keyRefusalTimer_ == nullptr) {
        keyRefusalTimer_ = new QTimer(this);
        keyRefusalTimer_->setSingleShot(true);
        connect(keyRefusalTimer_, &QTimer::timeout, this, &MainWindow::ShowKeyRefusal);
    }
    keyRefusalTimer_->start(KeyRefusalWaitMs());
}

void MainWindow::ShowKeyRefusal() {
    if (const std::function<void()> message = std::exchange(keyRefusal_, nullptr)) {
        message();
    }
}

bool MainWindow::TakeStepsNow() {
    const int steps = keySteps_ ? std::exchange(*keySteps_, 0) : 0;
    const int count = state_.folder.Count();
    // A message box takes the keys; steps are taken only while a key could still make them.
    const Controls controls = ControlsFor(state_);
    const navigation::ButtonFace& button = steps > 0 ? controls.next : controls.previous;
    if (steps == 0 || count == 0 || boxesOpen_ > 0 || state_.mode == Mode::Pages || !button.shown ||
        !button.enabled) {
        return false;
    }
    // Where the keys count to, as if each had been served: the pictures between are not opened.
    int entry = steps > 0 ? state_.folder.EntryAfterOnShow() : state_.folder.EntryBeforeOnShow();
    for (int step = 1; step < std::abs(steps); ++step) {
        entry = steps > 0 ? browse::NextEntry(entry, count) : browse::PreviousEntry(entry, count);
    }
    heading_ = steps > 0 ? 1 : -1;
    const QScopedValueRollback byKey(steppingByKey_, true);
    ShowEntry(entry);
    return true;
}

void MainWindow::Previous() {
    const int count = state_.folder.Count();
    if (count == 0) {
        return;
    }
    if (state_.mode == Mode::Pages) {
        state_.pageStart = thumbs::PreviousPageStart(state_.pageStart, count);
        state_.markedCell.reset();
        DrawPage();
        return;
    }
    heading_ = -1;
    ShowEntry(state_.folder.EntryBeforeOnShow());
}

void MainWindow::Next() {
    const int count = state_.folder.Count();
    if (count == 0) {
        return;
    }
    if (state_.mode == Mode::Pages) {
        state_.pageStart = thumbs::NextPageStart(state_.folder.Selected(), count);
        state_.markedCell.reset();
        DrawPage();
        return;
    }
    heading_ = 1;
    ShowEntry(state_.folder.EntryAfterOnShow());
}

void MainWindow::MiddleClicked() {
    MiddleButton& middle = state_.middle;
    switch (middle.mode) {
        case MiddleMode::Pause:
            show_->Pause();
            middle.mode = MiddleMode::Continue;
            middle.hint = MiddleHint::ContinueShow;
            UpdateControls();
            return;
        case MiddleMode::Continue:
            RunShow();
            return;
        case MiddleMode::BackToPage:
            state_.hintShown = true;
            state_.mode = Mode::Pages;
            state_.stepping = SteppingHints::PagesReturned;
            state_.middle = {MiddleMode::Open, false, false, MiddleHint::ViewThumbnails};
            single_->Box().hide();
            UpdateControls();
            DrawPage();
            return;
        case MiddleMode::Open:
            break;
    }
    if (state_.mode == Mode::Pages) {
        state_.mode = Mode::PictureFromPage;
        state_.hintShown = false;
        state_.middle = {MiddleMode::BackToPage, true, true, MiddleHint::ViewMoreThumbnails};
        page_->Hide();
    } else {
        state_.hintShown = false;
        state_.middle.shown = false;
        state_.browserShown = false;
    }
    UpdateControls();
    DrawSingle();
}

void MainWindow::ClickCell(int cell) {
    if (state_.mode != Mode::Pages) {
        return;
    }
    Select(thumbs::CellEntry(state_.pageStart, cell, state_.folder.Count()));
    state_.markedCell = cell;
    state_.titleName = state_.folder.SelectedName();
    state_.middle.offered = true;
    state_.middle.shown = true;
    UpdateControls();
}

void MainWindow::OpenCell(int cell) {
    if (state_.mode != Mode::Pages) {
        return;
    }
    state_.mode = Mode::PictureFromPage;
    page_->Hide();
    Select(thumbs::CellEntry(state_.pageStart, cell, state_.folder.Count()));
    state_.hintShown = false;
    state_.middle = {MiddleMode::BackToPage, true, true, MiddleHint::ViewMoreThumbnails};
    UpdateControls();
    DrawSingle();
}

void MainWindow::BeginShow() {
    if (state_.folder.Count() > 0) {
        RunShow();
    }
}

// Runs the show, begun or going on: the controls of a show, and from the file after the one on show its
// pictures, when the folder still has files.
void MainWindow::RunShow() {
    show_->Run();
    state_.middle = {MiddleMode::Pause, true, true, MiddleHint::PauseShow};
    state_.hintShown = false;
    state_.browserShown = false;
    ShowNextOfShow();
}

// The show's next picture, and the wait for it; an interval that runs out while a message box is open
// ends once the box is closed.
void MainWindow::ShowNextOfShow() {
    if (state_.show.phase != slideshow::Phase::Running || state_.folder.Count() == 0) {
        UpdateControls();
        return;
    }
    Select(show_->NextEntry(state_.folder));
    DrawSingle();
    UpdateControls();
    if (state_.show.phase != slideshow::Phase::Running) {
        return;
    }
    show_->Wait([this] {
        if (boxesOpen_ > 0) {
            intervalOver_ = true;
        } else {
            ShowNextOfShow();
        }
    });
}

void MainWindow::EndShow() {
    show_->End();
    state_.middle.shown = false;
    UpdateControls();
}

void MainWindow::SetOrder(slideshow::Order order) {
    state_.show.order = order;
}

void MainWindow::SetInterval(int index) {
    state_.show.interval = index;
}

}  // namespace tamsel::shell
