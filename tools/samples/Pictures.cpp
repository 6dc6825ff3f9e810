#include "samples/Pictures.h"

#include <algorithm>

namespace tamsel::samples {
namespace {

std::size_t Area(std::int32_t width, std::int32_t height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// 0..255 across a span of n steps.
std::uint32_t Ramp(std::int32_t step, std::int32_t n) {
    return static_cast<std::uint32_t>(255 * step / std::max(n - 1, 1));
}

// Where a test card's lines and quadrants fall.
struct CardPlace {
    bool border;
    bool diagonal;
    bool otherDiagonal;
    bool left;
    bool top;
    std::int32_t across;  // step within the quadrant's width
    std::int32_t down;    // step within the quadrant's height
    std::int32_t quadrantWidth;
    std::int32_t quadrantHeight;
};

CardPlace PlaceOnCard(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    const std::int64_t diagonalY = std::int64_t{x} * (height - 1) / std::max(width - 1, 1);
    const std::int32_t halfWidth = std::max(width / 2, 1);
    const std::int32_t halfHeight = std::max(height / 2, 1);
    const bool left = x < halfWidth;
    const bool top = y < halfHeight;
    return CardPlace{x == 0 || y == 0 || x == width - 1 || y == height - 1,
                     diagonalY == y,
                     diagonalY == height - 1 - y,
                     left,
                     top,
                     left ? x : x - halfWidth,
                     top ? y : y - halfHeight,
                     left ? halfWidth : width - halfWidth,
                     top ? halfHeight : height - halfHeight};
}

}  // namespace

Picture BlankPicture(std::int32_t width, std::int32_t height) {
    return Picture{width, height, std::vector<Pixel>(Area(width, height), kBlack)};
}

Picture DrawTestCard(std::int32_t width, std::int32_t height, ChannelBits bits) {
    Picture picture = BlankPicture(width, height);
    auto pixel = picture.pixels.begin();
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x, ++pixel) {
            const CardPlace place = PlaceOnCard(x, y, width, height);
            const std::uint32_t across = Ramp(place.across, place.quadrantWidth);
            const std::uint32_t down = Ramp(place.down, place.quadrantHeight);
            std::uint32_t red = place.left && place.top ? across : 40;
            std::uint32_t green = !place.left && place.top ? across : 24;
            std::uint32_t blue = place.left && !place.top ? across : 96;
            if (!place.left && !place.top) {
                red = green = blue = down;
            }
            if (place.border) {
                red = green = blue = 255;
            } else if (place.diagonal) {
                red = green = 255;
                blue = 0;
            }
            *pixel = Rgb(Representable(red, bits.red), Representable(green, bits.green),
                         Representable(blue, bits.blue));
        }
    }
    return picture;
}

IndexedPicture DrawIndexedTestCard(std::int32_t width, std::int32_t height) {
    IndexedPicture picture{width, height, std::vector<std::uint8_t>(Area(width, height))};
    auto index = picture.indices.begin();
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x, ++index) {
            const CardPlace place = PlaceOnCard(x, y, width, height);
            // Three bands across in each quadrant: 1..3, 4..6, 7..9 and 10..12.
            const int quadrant = (place.top ? 0 : 2) + (place.left ? 0 : 1);
            const int band = 3 * place.across / std::max(place.quadrantWidth, 1);
            int value = 1 + 3 * quadrant + band;
            if (place.border) {
                value = 15;
            } else if (place.diagonal) {
                value = 14;
            } else if (place.otherDiagonal) {
                value = 0;
            }
            *index = static_cast<std::uint8_t>(value);
        }
    }
    return picture;
}

PaletteColours DemoPalette(unsigned variant) {
    static constexpr PaletteColours kBase{
        Rgb(0, 0, 0),       Rgb(128, 0, 0),     Rgb(200, 30, 30),   Rgb(255, 90, 90),
        Rgb(0, 110, 0),     Rgb(30, 190, 40),   Rgb(120, 255, 120), Rgb(0, 0, 140),
        Rgb(40, 60, 220),   Rgb(120, 160, 255), Rgb(64, 64, 64),    Rgb(128, 128, 128),
        Rgb(192, 192, 192), Rgb(250, 140, 0),   Rgb(255, 230, 0),   Rgb(255, 255, 255)};
    PaletteColours palette{};
    for (std::size_t k = 0; k < palette.size(); ++k) {
        palette[k] = kBase[(k + 5 * variant) % kBase.size()];
    }
    return palette;
}

Picture Colour(const IndexedPicture& picture, const PaletteColours& palette) {
    Picture coloured = BlankPicture(picture.width, picture.height);
    std::transform(picture.indices.begin(), picture.indices.end(), coloured.pixels.begin(),
                   [&palette](std::uint8_t index) { return palette[index]; });
    return coloured;
}

Picture KeepLeading(Picture picture, std::size_t count) {
    std::fill(picture.pixels.begin() + static_cast<std::ptrdiff_t>(std::min(count, picture.pixels.size())),
              picture.pixels.end(), kBlack);
    return picture;
}

Picture PlaceTopLeft(const Picture& source, std::int32_t width, std::int32_t height, std::int32_t rows) {
    Picture placed = BlankPicture(width, height);
    const std::int32_t shownRows = std::min({rows, height, source.height});
    const std::int32_t shownColumns = std::min(width, source.width);
    for (std::int32_t y = 0; y < shownRows; ++y) {
        for (std::int32_t x = 0; x < shownColumns; ++x) {
            placed.pixels[Area(width, y) + static_cast<std::size_t>(x)] = source.At(x, y);
        }
    }
    return placed;
}

}  // namespace tamsel::samples
