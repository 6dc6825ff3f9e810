#include "texture/ReducedPaint.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <vector>

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

std::uint64_t ReducedPaintBytes(const TextureLayout& layout, std::int32_t k, std::int32_t parts) {
    const auto band = static_cast<std::uint64_t>(std::max(layout.width, 0)) * static_cast<std::uint64_t>(k);
    return static_cast<std::uint64_t>(std::max(parts, 1)) *
               (4 * band + (layout.fourBit ? band / 2 + 1 : 2 * band)) +
           4 * static_cast<std::uint64_t>(Reduced(layout.width, k)) *
               static_cast<std::uint64_t>(Reduced(layout.height, k));
}

std::int32_t ReducedPaintParts(const TextureLayout& layout, std::int32_t k) {
    const auto cores = static_cast<std::int32_t>(std::max(std::thread::hardware_concurrency(), 1U));
    return std::clamp(Reduced(layout.height, k), 1, std::min(cores, 16));
}

bool PaintReduced(const TextureReader& reader, ByteSource& file, const TextureLayout& layout, std::int32_t k,
                  std::int32_t parts, CanvasView out, std::optional<Refusal>& refusal,
                  const std::function<bool()>& shouldStop) {
    const std::int32_t bands = Reduced(layout.height, k);
    parts = std::clamp(parts, 1, std::max(bands, 1));
    std::mutex reading;  // the file, and the refusal
    std::atomic<bool> stopped = false;
    std::atomic<bool> outOfMemory = false;
    // Paints the bands [first, end): from the file's bytes to the reduced rows, which no other run writes.
    const auto paint = [&](std::int32_t first, std::int32_t end) {
        try {
            std::vector<std::uint8_t> bytes;
            std::vector<std::uint32_t> band(static_cast<std::size_t>(layout.width) *
                                            static_cast<std::size_t>(k));
            for (std::int32_t index = first; index < end && !stopped; ++index) {
                if (shouldStop && shouldStop()) {
                    stopped = true;
                    return;
                }
                const std::int32_t y = index * k;
                const CanvasArea area{0, y, layout.width, std::min(k, layout.height - y)};
                std::optional<PixelBytes> data;
                {
                    const std::lock_guard lock(reading);
                    const auto read = ReadPixelArea(file, layout, area, bytes);
                    if (!read) {
                        refusal = refusal.value_or(read.Reason());
                        stopped = true;
                        return;
                    }
                    data = *read;
                }
                reader.PaintArea(layout, *data, area, {band.data(), layout.width});
                ReduceRows(band.data(), layout.width, layout.width, area.height, k,
                           out.pixels + index * out.stride);
            }
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
            stopped = true;
        }
    };
    const auto bandOf = [&](std::int32_t part) {
        return static_cast<std::int32_t>(std::int64_t{bands} * part / parts);
    };
    std::vector<std::jthread> others;
    std::int32_t started = 1;
    try {
        others.reserve(static_cast<std::size_t>(parts - 1));
        for (; started < parts; ++started) {
            others.emplace_back(paint, bandOf(started), bandOf(started + 1));
        }
    } catch (const std::exception&) {
        // No thread to be had: the calling thread paints the runs that have none.
    }
    paint(0, bandOf(1));
    paint(bandOf(started), bands);
    others.clear();  // joins them
    if (outOfMemory) {
        throw std::bad_alloc();
    }
    return !stopped;
}

}  // namespace tamsel::texture
