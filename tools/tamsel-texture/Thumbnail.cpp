#include <algorithm>

#include "CommandLine.h"
#include "Commands.h"
#include "Help.h"
#include "Picture.h"
#include "StopSignals.h"

namespace tamsel::tool {
namespace {

constexpr std::int32_t kDefaultSize = 256;
constexpr std::int32_t kLargestSize = 16384;

// A side of the canvas when its longest side `longest` is shrunk to `size`: rounded, at least 1.
std::int32_t Shrunk(std::int64_t side, std::int64_t longest, std::int64_t size) {
    return static_cast<std::int32_t>(std::max<std::int64_t>(1, (side * size + longest / 2) / longest));
}

}  // namespace

int Thumbnail(int argc, char** argv) {
    TakeStopSignals();
    std::int32_t size = kDefaultSize;
    const std::string help = std::string(kThumbnailHelp) + std::string(kExitStatusHelp);
    const CommandLine line =
        ReadCommandLine("thumbnail", argc, argv, "s:", {{"size", required_argument, nullptr, 's'}}, help,
                        [&](int, const char* value) {
                            const auto given = CountOption("thumbnail", "-s", value, kLargestSize);
                            size = given.value_or(0);
                            return given.has_value();
                        });
    if (line.exitStatus) {
        return *line.exitStatus;
    }
    if (line.operands.size() != 2) {
        return BadUsage("thumbnail", "give one INPUT and one OUTPUT");
    }
    const std::string& input = line.operands[0];
    const std::string& output = line.operands[1];

    texture::TextureReader reader;
    TextureFile file(input, reader);
    std::string error = file.Error();
    const texture::TextureLayout& layout = file.Layout();
    if (error.empty() && (layout.width == 0 || layout.height == 0)) {
        error = "the canvas has no pixels";
    }
    if (!error.empty()) {
        Complain(input + ": " + error);
        return kSomeFailed;
    }
    // The thumbnail's size. A side at least four times as long is first reduced by a whole factor to
    // between two and four times that size, painting the canvas a part at a time; a smooth scaling of
    // that far smaller picture does the rest.
    const std::int64_t longest = std::max(layout.width, layout.height);
    const std::int32_t width = longest <= size ? layout.width : Shrunk(layout.width, longest, size);
    const std::int32_t height = longest <= size ? layout.height : Shrunk(layout.height, longest, size);
    const std::uint64_t thumbnailBytes =
        4 * static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    auto picture =
        PaintReduced(reader, file, layout.width / std::max(1, layout.width / (2 * width)),
                     layout.height / std::max(1, layout.height / (2 * height)), thumbnailBytes, error);
    if (picture && picture->size() != QSize(width, height)) {
        picture = picture->scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (!picture) {
        Complain(input + ": " + error);
        return kSomeFailed;
    }
    if (!WriteThumbnailFile(
            output,
            [&](QIODevice& device) {
                return WritePicture(device, PictureFormat::Png, *picture, width, height);
            },
            error)) {
        Complain(output + ": " + error);
        return kSomeFailed;
    }
    return kAllWell;
}

}  // namespace tamsel::tool
