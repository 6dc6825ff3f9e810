// libFuzzer target for the texture reader. The first tag of the input picks the container, so one
// target covers bare images, SRB wrappers and MIP files. Each input is read and painted twice: by a
// fresh reader, and by one that carries the palette of an earlier file.
#include <cstdio>
#include <cstdlib>

#include "PaintCheck.h"

namespace {

// Under the sanitizers painting and checking take several nanoseconds a pixel, so that a canvas at the
// cap would take seconds: a canvas of up to a million pixels is painted whole, a larger one down to
// the rows that a million pixels hold.
constexpr std::int64_t kPaintBudget = std::int64_t{1} << 20;

void Require(bool kept, const char* promise, const std::string& detail) {
    if (!kept) {
        std::fprintf(stderr, "texture-fuzz: %s: %s\n", promise, detail.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tamsel::texture::TextureReader withPalette = tamsel::fuzzing::ReaderWithPalette();
    const std::span<const std::uint8_t> file(data, size);

    tamsel::texture::TextureReader fresh;
    const tamsel::fuzzing::Outcome first = tamsel::fuzzing::ReadAndPaint(fresh, file, kPaintBudget);
    Require(first.fault.empty(), "fresh reader", first.fault);

    tamsel::texture::TextureReader carried = withPalette;
    const tamsel::fuzzing::Outcome second = tamsel::fuzzing::ReadAndPaint(carried, file, kPaintBudget);
    Require(second.fault.empty(), "reader with an earlier palette", second.fault);
    Require(tamsel::fuzzing::SameLayout(first, second), "earlier palette",
            "the layout depends on the reader's earlier files");
    return 0;
}
