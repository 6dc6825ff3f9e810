#pragma once

#include <QList>
#include <QSize>
#include <QString>

#include "shell/MainWindow.h"
#include "support/TestPlatform.h"

// The main window as the window tests drive it: shown, with its files found by name and what it shows
// told as entries and text.
namespace tamsel::testing {

// The screen on which the window's inner area comes out as `inner`: the frame is as wide as the screen
// and a pixel less high, and it and the menu bar take what they took on a window of the default screen.
QSize ScreenFor(QSize inner);

class Window : public shell::MainWindow {
public:
    // Shown, over the program's folder; `numbered` textures (WriteNumberedTextures) are written there
    // before it starts.
    explicit Window(TestPlatform& platform, int numbered = 0);

    void Select(const QString& name);  // the file of that name chosen in the file list
    void Open(const QString& name);    // chosen and double-clicked
    int Single() const;                // the entry the single view shows (EntryShownIn); -1: none
    QList<int> Cells() const;          // the entries the nine cells show
    // The three buttons in order: each caption marked "-" when disabled and "~" when hidden, then the
    // tooltip in brackets; "Open-~ [Open Selected File]" is a disabled, hidden Open.
    QString ButtonStates() const;
};

}  // namespace tamsel::testing
