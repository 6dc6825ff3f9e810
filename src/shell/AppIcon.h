#pragma once

#include <QImage>

namespace tamsel::shell {

// The viewer's icon, drawn at `size` x `size` pixels: a framed picture of a road running into hills
// over a chequered texture tile. The installed icon files are made from the same drawing.
QImage DrawAppIcon(int size);

}  // namespace tamsel::shell
