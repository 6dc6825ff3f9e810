#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

#include "picture/HeldPicture.h"
#include "texture/FileKinds.h"
#include "texture/FileSource.h"
#include "texture/Refusal.h"

// The one way a file becomes what a box shows: decoded (a texture by the texture reader, a picture by
// the picture loader) and fitted to the box's limit. The window and the read-ahead both make pictures
// ready here, so what the read-ahead hands over is what the window would have made.
namespace tamsel::picture {

// The kind of the file at `path`: by its name's ending, else by its first bytes, for a name the file
// list would not show. Nothing when neither tells, or the file cannot be read.
std::optional<texture::FileKind> KindOfFile(const QString& path);

struct Prepared {
    texture::FileStamp stamp;
    QSize size;     // the picture's own size
    QImage staged;  // decoded, at its own size or a decoder scale; kept only where the limit was a guess
    QSize limit;    // the limit `shown` is fitted to
    QImage shown;   // what a box of that limit shows
    std::optional<Palette> paletteTaken;   // a texture without a palette of its own: the colours it took
    std::optional<Palette> paletteLoaded;  // a texture that carries a palette: the palette it leaves
    std::optional<texture::TextureLayout> layout;  // a texture: what its headers say
    int reduction = 1;  // the decoder scale divisor of a picture, or the whole number a canvas was reduced by
    bool scalable = false;  // a JPEG: its decoder scale follows the limit
};

// Why a file could not be made ready, which says the message it gets: a texture the reader refused, or
// anything else that cannot be shown (gone, unreadable, no picture, a fit with no answer).
enum class Refusal { NotValidTexture, CannotDisplay };

struct Preparation {
    std::optional<Prepared> prepared;
    Refusal refusal = Refusal::CannotDisplay;  // when nothing was prepared
    std::optional<texture::Refusal> reason;    // why the texture reader refused it, when it did
    PaletteEffect palette;  // what reading the file did to the palette, whatever came of it
};

// Makes the file at `path` ready for a box of `limit`, and leaves `palette` as reading the file leaves
// the reader's. With `keepStaged` the decoded picture is kept beside what the box shows, for a limit
// that is a guess. `shouldStop`, when given, can stop the decode part way (a texture between bands of
// rows, a JPEG between rows, a BMP between reads), and then nothing is prepared; what the decode
// reserved from the budget is given back as it stops.
Preparation Prepare(const QString& path, QSize limit, Palette& palette, bool keepStaged,
                    const std::function<bool()>& shouldStop = {});

}  // namespace tamsel::picture
