#pragma once

#include <QIODevice>
#include <QImage>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "texture/FileSource.h"
#include "texture/TextureReader.h"

// A texture file read into a picture: opened as the viewer opens it, painted within the decode
// budget, and written as PNG, PPM or BMP without ever leaving a half-written file behind.
namespace tamsel::tool {

// What a texture the reader refuses is called, before the reader's reason.
inline constexpr const char* kNotValidTexture = "Not a valid texture file";

// The error of a texture the reader refused: kNotValidTexture and the reader's reason.
std::string RefusedError(const texture::Refusal& refusal);

// A texture file whose headers have been read, or the reason it cannot be: "cannot open: ...", "is a
// folder", "not a regular file" or RefusedError.
class TextureFile {
public:
    // Opens `path` (the file system's bytes) and reads its headers with `reader`, whose palette the
    // file may replace.
    TextureFile(const std::string& path, texture::TextureReader& reader);

    // Empty when the file was accepted.
    const std::string& Error() const { return error_; }
    // Why the reader refused the file, when it did.
    const std::optional<texture::Refusal>& Refused() const { return refusal_; }
    const texture::TextureLayout& Layout() const { return layout_; }
    std::uint64_t Size() const { return source_.Size(); }
    texture::ByteSource& Source() { return source_; }

private:
    texture::FileSource source_;
    texture::TextureLayout layout_;
    std::string error_;
    std::optional<texture::Refusal> refusal_;
};

// The canvas of an accepted file reduced to pictureWidth x pictureHeight pixels (neither more than
// the canvas's side): each picture pixel is the mean of a box of whole canvas pixels, the boxes' sizes
// spread evenly over the canvas. The canvas's own size gives the canvas itself. It is painted a part
// at a time: whatever its size, only the picture, one part and that part's pixel bytes are held, and
// that much is first reserved from the program's decode budget together with `extraBytes`. A canvas
// without pixels gives a null image; nothing, with `error` set, when the budget or the file does not
// allow it.
std::optional<QImage> PaintReduced(const texture::TextureReader& reader, TextureFile& file,
                                   std::int32_t xFactor, std::int32_t yFactor, std::uint64_t extraBytes,
                                   std::string& error);

enum class PictureFormat { Png, Ppm, Bmp };

// The file name extension of a format, with its dot.
const char* ExtensionOf(PictureFormat format);

// Bytes taken to encode a canvas of `pixels` pixels, besides the canvas itself.
std::uint64_t EncodingBytes(PictureFormat format, std::uint64_t pixels);

// Writes `picture`, the canvas of width x height pixels (null when it has none), to `device`. A PNG
// or BMP cannot hold an empty canvas; a PPM can.
bool WritePicture(QIODevice& device, PictureFormat format, const QImage& picture, std::int32_t width,
                  std::int32_t height);

// Why a picture is not written over an existing file.
inline constexpr const char* kExists = "exists; --force replaces it";

// Writes a file through `write` atomically: into a new file beside `target` that is synced and then
// renamed over it, so that `target` is either untouched or complete. With `replace` false an existing
// `target` is kept and the write fails. False with `error` set when anything failed; the new file is
// then removed.
bool WriteAtomically(const std::string& target, bool replace, const std::function<bool(QIODevice&)>& write,
                     std::string& error);

// Writes a thumbnail through `write` as a thumbnail service hands its OUTPUT over: into the file itself
// when it is missing or empty (the service may read it through a descriptor it opened before), synced;
// otherwise atomically as WriteAtomically does. Never through a link, a FIFO or a device. False with
// `error` set when anything failed; a file written in place is then removed again, or left empty.
bool WriteThumbnailFile(const std::string& target, const std::function<bool(QIODevice&)>& write,
                        std::string& error);

// Writes through `write` to the standard output.
bool WriteToStandardOutput(const std::function<bool(QIODevice&)>& write);

}  // namespace tamsel::tool
