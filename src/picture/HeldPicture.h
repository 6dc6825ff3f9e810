#pragma once

#include <QSize>
#include <QString>
#include <array>
#include <optional>

#include "texture/Binary.h"
#include "texture/FileSource.h"
#include "texture/TextureReader.h"

namespace tamsel::picture {

using Palette = std::array<Binary::ColourValue, 16>;

// What reading a texture did to the reader's palette, from the palette before and after and what the
// texture's headers say: the colours a texture without a palette of its own took, and the palette a
// texture leaves when it carries one or changed it.
struct PaletteEffect {
    std::optional<Palette> taken;
    std::optional<Palette> loaded;
};

inline PaletteEffect PaletteEffectOf(const Palette& before, const Palette& after,
                                     const std::optional<texture::TextureLayout>& layout) {
    PaletteEffect effect;
    if (layout && layout->fourBit && !layout->paletteRead) {
        effect.taken = before;
    }
    if (after != before || (layout && layout->paletteRead)) {
        effect.loaded = after;
    }
    return effect;
}

// What a picture box holds: the file it was drawn from, as that file was on disk then, and the limit
// it was fitted to. Drawing the same file into the same box again, unchanged and within the same
// limit, needs no read and no decode: the box shows what it holds. A texture that took the palette of
// the one before it matches only while that palette is still the reader's.
struct HeldPicture {
    QString path;
    texture::FileStamp stamp;
    QSize limit;
    QSize size;                            // the picture's own size
    QSize boxSize;                         // the size it is shown at
    bool shown = false;                    // false: it could not be shown, and its message was given
    std::optional<Palette> paletteTaken;   // a texture without a palette of its own: the colours it took
    std::optional<Palette> paletteLoaded;  // a texture that carries a palette: the palette it leaves
    std::optional<texture::TextureLayout> layout;  // a texture: what its headers say

    bool Matches(const QString& otherPath, const std::optional<texture::FileStamp>& otherStamp,
                 QSize otherLimit, const Palette& current) const {
        return path == otherPath && otherStamp == stamp && limit == otherLimit &&
               (!paletteTaken || *paletteTaken == current);
    }
};

}  // namespace tamsel::picture
