#pragma once

#include <QString>

namespace tamsel::display {

// The hover text of a shown picture: "road.mip: 256 pixels wide, 128 pixels high". Each number is
// written after one blank, where a minus sign would stand.
QString HoverText(const QString& name, int width, int height);

// The message for a picture that cannot be shown: the path after two carriage returns.
QString CannotDisplayMessage(const QString& path);

}  // namespace tamsel::display
