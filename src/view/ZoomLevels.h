#pragma once

#include <QString>

// The levels a picture is zoomed to: whole numbers of screen pixels a texel above 100%, so that every
// texel is a square of one size, and a few fractions below it, never below the fit.
namespace tamsel::view {

// The level after `scale` going in (`in`) or out, from a picture fitted at `fit`: the next of 12.5, 25,
// 33, 50, 75, 100, 200, 300, 400, 600, 800, 1200, 1600 and 3200%; going out, not below the fit, which is
// the level then. `scale` itself when there is none further.
double NextZoomLevel(double scale, double fit, bool in);

// A level as shown: "400%", "33%", "12.5%".
QString ZoomLevelText(double scale);

}  // namespace tamsel::view
