#include "texture/ReducedPaint.h"

#include <algorithm>
#include <array>

namespace tamsel::texture {

std::int32_t ReductionFor(std::int32_t width, std::int32_t height, std::int32_t shownWidth,
                          std::int32_t shownHeight) {
    if (shownWidth <= 0 || shownHeight <= 0) {
        return 1;
    }
    return std::max(1, std::min(width / (2 * shownWidth), height / (2 * shownHeight)));
}

void ReduceRows(const std::uint32_t* rows, std::ptrdiff_t stride, std::int32_t width, std::int32_t rowCount,
                std::int32_t k, std::uint32_t* out) {
    for (std::int32_t first = 0; first < width; first += k) {
        const std::int32_t end = std::min(width, first + k);
        std::array<std::uint32_t, 3> sums{};
        for (std::int32_t row = 0; row < rowCount; ++row) {
            const std::uint32_t* pixel = rows + row * stride;
            for (std::int32_t x = first; x < end; ++x) {
                sums[0] += (pixel[x] >> 16) & 0xFFU;
                sums[1] += (pixel[x] >> 8) & 0xFFU;
                sums[2] += pixel[x] & 0xFFU;
            }
        }
        const auto count = static_cast<std::uint32_t>((end - first) * rowCount);
        const auto mean = [count](std::uint32_t sum) { return (sum + count / 2) / count; };
        *out++ = 0xFF000000U | (mean(sums[0]) << 16) | (mean(sums[1]) << 8) | mean(sums[2]);
    }
}

std::uint64_t ReducedPaintBytes(const TextureLayout& layout, std::int32_t k) {
    const auto band = static_cast<std::uint64_t>(std::max(layout.width, 0)) * static_cast<std::uint64_t>(k);
    return 4 * band + (layout.fourBit ? band / 2 + 1 : 2 * band) +
           4 * static_cast<std::uint64_t>(Reduced(layout.width, k)) *
               static_cast<std::uint64_t>(Reduced(layout.height, k));
}

bool PaintReduced(const TextureReader& reader, ByteSource& file, const TextureLayout& layout, std::int32_t k,
                  CanvasView out, std::vector<std::uint8_t>& bytes, std::vector<std::uint32_t>& band,
                  std::optional<Refusal>& refusal, const std::function<bool()>& shouldStop) {
    band.resize(static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(k));
    for (std::int32_t y = 0; y < layout.height; y += k) {
        if (shouldStop && shouldStop()) {
            return false;
        }
        const CanvasArea area{0, y, layout.width, std::min(k, layout.height - y)};
        const auto data = ReadPixelArea(file, layout, area, bytes);
        if (!data) {
            refusal = data.Reason();
            return false;
        }
        reader.PaintArea(layout, *data, area, {band.data(), layout.width});
        ReduceRows(band.data(), layout.width, layout.width, area.height, k,
                   out.pixels + (y / k) * out.stride);
    }
    return true;
}

}  // namespace tamsel::texture
