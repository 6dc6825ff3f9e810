#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "texture/TextureReader.h"

// A canvas shrunk by a whole number: each pixel of the reduced canvas the mean of the k x k canvas
// pixels it stands for (fewer at the right and bottom edges, where the canvas ends). A large texture
// that is shown shrunk is first reduced so, straight from its pixel data a band of rows at a time,
// without its whole canvas ever in memory; the final, smooth shrink then starts from far fewer pixels.
namespace tamsel::texture {

// The factor a canvas of `width` x `height` is reduced by before it is shrunk to `shownWidth` x
// `shownHeight`: the largest whole k at which the reduced canvas is still at least twice the shown size
// in both directions, so that the smooth shrink has pixels to spare; 1 when that is no reduction.
std::int32_t ReductionFor(std::int32_t width, std::int32_t height, std::int32_t shownWidth,
                          std::int32_t shownHeight);

// The side of a canvas side of `side` pixels reduced by `k`: ceil(side / k).
constexpr std::int32_t Reduced(std::int32_t side, std::int32_t k) {
    return side / k + (side % k != 0 ? 1 : 0);
}

// Reduces `rowCount` rows (1 to k) of `width` canvas pixels, starting at `rows` and `stride` pixels
// apart, to one row of Reduced(width, k) pixels at `out`: each the rounded mean of its block.
void ReduceRows(const std::uint32_t* rows, std::ptrdiff_t stride, std::int32_t width, std::int32_t rowCount,
                std::int32_t k, std::uint32_t* out);

// What PaintReduced takes besides its output, painting `parts` bands at once: the pixel bytes and the
// painted rows of each band.
std::uint64_t ReducedPaintBytes(const TextureLayout& layout, std::int32_t k, std::int32_t parts = 1);

// The number of bands PaintReduced paints at once on this machine for the layout: one for each core,
// and no more than there are bands.
std::int32_t ReducedPaintParts(const TextureLayout& layout, std::int32_t k);

// Paints the canvas of an accepted layout reduced by `k` into `out` (Reduced(width, k) x
// Reduced(height, k) pixels), a band of k rows at a time, reading each band's pixel bytes from `file`
// and painting it into rows of its own. The bands are split into `parts` runs, painted side by side,
// each on a thread of its own (the calling thread takes the first); reads from `file` are taken one at
// a time. False when the pixel data cannot be read, with `refusal` saying why, and when `shouldStop`,
// when given, says so: each run asks it before each of its bands (from its own thread), and the others
// stop with it. Out of memory in any run, it throws std::bad_alloc once all have stopped.
bool PaintReduced(const TextureReader& reader, ByteSource& file, const TextureLayout& layout, std::int32_t k,
                  std::int32_t parts, CanvasView out, std::optional<Refusal>& refusal,
                  const std::function<bool()>& shouldStop = {});

}  // namespace tamsel::texture
