#pragma once

#include <QColor>
#include <QPoint>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "picture/HeldPicture.h"
#include "texture/Binary.h"
#include "texture/Texel.h"

// What the facts panel says of the texel under the pointer, and the words for a colour.
namespace tamsel::view {

// A colour value (red + 256 x green + 65536 x blue) as a colour.
QRgb RgbOf(Binary::ColourValue colour);

// "RRGGBB", in upper-case hex.
QString ColourHex(QRgb colour);

// The colour of a texture's texel from what its file stores there: a word in the image header's
// `format`, or an index into `palette`; black where nothing is stored.
QRgb ColourOfTexel(const std::optional<texture::StoredTexel>& stored, std::uint8_t format,
                   const std::optional<picture::Palette>& palette);

// The readout of the texel at `texel`: where it is, its colour as hex and as channels when it is known,
// and for a texture what its file stores there: a 16-bit word with its fields under the image header's
// `format` (the bits above the red field shown as ignored), or a palette index.
QStringList ReadoutLines(QPoint texel, std::optional<QRgb> colour,
                         const std::optional<texture::StoredTexel>& stored = std::nullopt,
                         std::uint8_t format = 0);

}  // namespace tamsel::view
