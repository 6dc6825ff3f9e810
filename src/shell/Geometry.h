#pragma once

#include <QRect>
#include <array>

#include "picture/Rounding.h"

// The window's arithmetic: the view limits and thumbnail grid computed at start-up, and the
// proportional placement of the controls.
namespace tamsel::shell {

using picture::RoundHalfEven;

// The single-view limits and the 3 x 3 thumbnail grid. Cell k (0..8, row by row from the top left)
// has its left edge at thumbCellPos[k] and its top edge at thumbCellPos[k + 9].
struct ViewGeometry {
    int viewWidth = 0;
    int viewHeight = 0;
    int thumbWidth = 0;
    int thumbHeight = 0;
    std::array<int, 18> thumbCellPos{};
};

// The geometry for an inner area of `width` x `height` pixels and buttons `buttonHeight` high.
ViewGeometry ComputeViewGeometry(int width, int height, int buttonHeight);

// The largest single-view limits a window on a screen of `screen` pixels can have: those of an inner
// area as large as the screen.
QSize LargestViewLimit(QSize screen);

// A control's rectangle as fractions of the window's inner size.
struct ControlPlacement {
    float WidthRatio = 0.0F;
    float HeightRatio = 0.0F;
    float TopRatio = 0.0F;
    float LeftRatio = 0.0F;
};

ControlPlacement PlacementOf(const QRect& rect, int innerWidth, int innerHeight);

// The rectangle a placement gives in an inner area of `innerWidth` x `innerHeight`.
QRect RectOf(const ControlPlacement& placement, int innerWidth, int innerHeight);

}  // namespace tamsel::shell
