#pragma once

#include <QString>

#include "navigation/ButtonRow.h"
#include "shell/ViewState.h"

// The controls for a state: every caption, tooltip, enabled and visible state and check mark that the
// window's buttons, menus, hint, browser and title show in it. The window sets them all from here, and
// nowhere else.
namespace tamsel::shell {

using navigation::ButtonFace;

struct MenuStates {
    bool fileMenu = true;  // the File menu as a whole
    bool openFile = true;
    bool thumbnailViewChecked = false;
    bool slideShowMenu = true;  // the Slide Show menu as a whole
    bool beginShow = true;
    bool endShow = false;
    bool sequentialChecked = true;
    bool randomChecked = false;
    bool intervalMenu = true;  // the Display Interval submenu
    int intervalChecked = 1;   // the one interval item checked
    bool operator==(const MenuStates&) const = default;
};

struct Controls {
    ButtonFace previous;
    ButtonFace middle;
    ButtonFace next;
    MenuStates menus;
    bool hintShown = true;
    bool browserShown = true;
    QString title;
    bool operator==(const Controls&) const = default;
};

Controls ControlsFor(const ViewState& state);

}  // namespace tamsel::shell
