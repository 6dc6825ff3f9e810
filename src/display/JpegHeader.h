#pragma once

#include <cstdint>
#include <optional>

#include "texture/ByteSource.h"

// What a JPEG file's header says about the work its decode will take, read with the JPEG library up to
// the first scan, without decoding a pixel.
namespace tamsel::display {

struct JpegHeader {
    std::int64_t width = 0;
    std::int64_t height = 0;
    int components = 0;
    // The decoder must hold every DCT coefficient of the whole picture at once: progressive files and
    // files whose components come in separate scans.
    bool multipleScans = false;
    // What those coefficients take, at full resolution whatever the output scale.
    std::uint64_t coefficientBytes = 0;
    // The Exif orientation, 1 (as stored) to 8; 5 to 8 turn the picture a quarter. 1 when the file's
    // first APP1 segment holds no valid one.
    int orientation = 1;
    // The blocks of 8 x 8 that the first scan codes, and where in the file its entropy-coded data
    // starts.
    std::uint64_t firstScanBlocks = 0;
    std::uint64_t firstScanData = 0;
};

// The header of the JPEG in `file`; nothing when it is no JPEG the library can read a header from
// without a warning that refuses it, or when it is a progressive JPEG whose first scan is not the
// first scan of DC coefficients that every valid progression starts with.
std::optional<JpegHeader> ReadJpegHeader(texture::ByteSource& file);

// Whether the first scan's entropy-coded data (up to the first marker that is not a restart marker; a
// stuffed byte counted once) has at least one bit for each block the scan codes: no Huffman code is
// shorter, in a sequential scan or in the first DC scan of a progressive file, so a file with less
// cannot hold the picture its header claims. An arithmetic-coded file is held to the same bound, which
// only a picture of almost nothing but flat areas falls below. Reads no more of the data than that takes.
bool FirstScanHoldsItsBlocks(texture::ByteSource& file, const JpegHeader& header);

// The scans of the JPEG in `file`, counted by walking its markers to the end of the picture; counting
// stops once more than `most` are seen. A picture is decoded scan by scan, so its count is what the
// decode costs in time.
int CountScans(texture::ByteSource& file, int most);

// The most scans, times the picture's pixels, that a picture may ask to be decoded: a handful of scans
// is what encoders write, and a few hundred over a large picture already take the decoder seconds.
inline constexpr std::uint64_t kMostScanPixels = std::uint64_t{1} << 32;

// The memory a decode of `header` at 1/`divisor` of its size takes at most: the coefficients when
// they must all be held, the decoder's row buffers, and the decoded picture with the copies that a
// final resize and an upright turn make of it.
std::uint64_t JpegDecodeBytes(const JpegHeader& header, int divisor);

}  // namespace tamsel::display
