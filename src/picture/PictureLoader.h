#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "texture/DecodeBudget.h"
#include "texture/TextureReader.h"

// Reading pictures and textures: only regular files are ever opened, each is read as its decoder asks
// for the bytes (never whole into memory), and each decode first reserves, from the program's decode
// budget, what its header says it will need.
namespace tamsel::picture {

// A decoded BMP or JPEG picture: its own size, upright (EXIF orientation applied), and its pixels,
// which a JPEG that will be shrunk may hold at a reduced scale. Always opaque: an alpha channel the
// file may carry is not shown, so a picture looks the same at every size.
struct Picture {
    QSize size;
    QImage image;
    int divisor = 1;        // the decoder scale `image` is at: 1/divisor of the picture's size
    bool scalable = false;  // a JPEG: its decoder scale follows the limit it is decoded for
};

// Reads and decodes the picture at `path` for showing within `limit`. A JPEG (a file that starts as
// one, whatever its name) is decoded by the JPEG library: refused before decoding when its first
// scan's data cannot hold the blocks it claims, then, when it will be shrunk to fit, decoded at the
// smallest of the decoder's scales (1/2, 1/4, 1/8) whose result is still at least the fitted size, so
// that the final shrink starts from no more pixels than it needs, and refused at the first sign that
// its data ran out or is corrupt. `shouldStop`, when given, can stop a JPEG between rows and any other
// picture between the reads of its reader, and then gives nothing. Nothing when the file cannot be
// opened, is no regular file, cannot be decoded, or would need more than the whole budget.
std::optional<Picture> LoadPicture(const QString& path, QSize limit,
                                   texture::DecodeBudget& budget = texture::DecodeBudget::Program(),
                                   const std::function<bool()>& shouldStop = {});

// Reads and decodes the picture at `path` whole, at its own size and upright, whatever Qt's readers or
// the JPEG library recognise in it (a texture's source: PNG, TGA, BMP or JPEG). Its size is read from
// its header first: nothing when that claims more than `mostPixels`, or when the file cannot be
// opened, is no regular file, cannot be decoded, or would need more than the whole budget.
std::optional<QImage> LoadWhole(const QString& path, std::int64_t mostPixels,
                                texture::DecodeBudget& budget = texture::DecodeBudget::Program());

// Paints the texture of `layout`, read from `file` with `reader`: reserves what it takes from `budget`,
// reads the pixel bytes that land (into `pixels`, whose memory is reused) and paints them into the
// canvas that `canvasFor(width, height)` gives, or that it cannot make (nullptr). False when the
// texture is refused; when its pixel data cannot be read, `refusal` says why.
bool PaintTexture(const texture::TextureReader& reader, texture::ByteSource& file,
                  const texture::TextureLayout& layout, std::vector<std::uint8_t>& pixels,
                  const std::function<QImage*(int, int)>& canvasFor, std::optional<texture::Refusal>& refusal,
                  texture::DecodeBudget& budget = texture::DecodeBudget::Program());

// The largest decoder scale divisor (1, 2, 4 or 8) at which a picture of `size` still gives at least
// `target`.
int ScaleDivisor(QSize size, QSize target);

}  // namespace tamsel::picture
