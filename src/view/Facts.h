#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

#include "picture/Comparison.h"
#include "picture/HeldPicture.h"
#include "texture/FileKinds.h"

// What a modder wants to know about the picture on show, in words: its kind, its pixel format, its
// size, its file's size and, for a texture, where its palette came from. The texture's words are the
// ones the command-line tool prints.
namespace tamsel::view {

struct Facts {
    QStringList lines;
    std::optional<picture::Palette> swatches;  // a 4-bit texture: the 16 colours it is painted with
    std::optional<int> markedSwatch;           // the palette index of the texel under the pointer
};

// The facts of `held`, a picture of kind `kind` on show. `paletteFrom` names the file the reader's
// palette came from (empty when no file has carried one since start), for a texture that has none of
// its own.
Facts FactsOf(texture::FileKind kind, const picture::HeldPicture& held, const QString& paletteFrom);

// In place of the facts, while the source `sourceName` of the texture `textureName` is shown: the two
// names, the source's size, whether the sizes differ, and `difference` in figures.
Facts SourceFacts(const QString& sourceName, const QString& textureName,
                  const picture::Difference& difference);

// In place of the facts, for a file the texture reader refused: its name and the reader's reason.
Facts RefusalFacts(const QString& name, const QString& reason);

}  // namespace tamsel::view
