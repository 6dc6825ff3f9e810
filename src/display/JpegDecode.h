#pragma once

#include <QImage>
#include <functional>
#include <optional>

#include "texture/ByteSource.h"

namespace tamsel::display {

// Decodes the JPEG in `file` with the JPEG library at 1/`divisor` of its size (1, 2, 4 or 8; each side
// rounded up), as stored: no Exif turn. A grey picture comes as 8-bit grey, every other as 32-bit RGB
// (a CMYK one as its inks take the light away from white). Nothing when the picture is in no other
// colour model, cannot be made, or ends early: its file ends before its end marker, or its data is
// corrupt (the library's warnings of a premature end of a data segment, a bad code, a marker where a
// restart marker belongs, a progression out of order). Nothing either once `shouldStop`, when it is
// given, says so: it is asked before each row is put out and, while the scans of a file in several
// scans are read, before each row of blocks. The caller holds the decode's memory from the budget.
std::optional<QImage> DecodeJpeg(texture::ByteSource& file, int divisor,
                                 const std::function<bool()>& shouldStop = {});

}  // namespace tamsel::display
