#pragma once

#include <QImage>
#include <QSize>
#include <optional>

// How a picture fits a box: at its natural size when it is no larger than the box in either
// direction, otherwise shrunk with its proportions kept until it just fits. Never enlarged.
namespace tamsel::picture {

// True when a picture of size `picture` fits a box of size `limit` as it is (equal sizes fit).
bool Fits(QSize picture, QSize limit);

// The size a picture is shown at within `limit`: its own size when it fits; otherwise the limit's
// width with the height scaled by the picture's aspect, or the limit's height with the width scaled,
// whichever side is the tighter limit (the height is kept when both are equally tight). Ratios are
// computed in single precision and rounded to the nearest integer, ties to even. Nothing when the
// arithmetic has no answer (a shrink with a zero-width picture or a zero-sized limit) or the limit
// is negative.
std::optional<QSize> FittedSize(QSize picture, QSize limit);

// The halftone stretch: the whole of `source` shrunk (or stretched) to `size`, each target pixel the
// mean of the source pixels it covers.
QImage Halftone(const QImage& source, QSize size);

// What a box of `limit` shows of a picture of size `size` staged as `staged` (at its own size, or at a
// decoder scale): `staged` itself when the picture fits, else `staged` shrunk with halftone stretching
// to the fitted size. Nothing when the fit has no answer.
std::optional<QImage> FittedPicture(const QImage& staged, QSize size, QSize limit);

// The whole number a texture's canvas of `size` is reduced by before it is shrunk to fit `limit`: 1
// when it fits.
int TextureReduction(QSize size, QSize limit);

}  // namespace tamsel::picture
