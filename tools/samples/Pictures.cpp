#include "samples/Pictures.h"

#include <algorithm>

namespace tamsel::samples {
namespace {

std::size_t Area(std::int32_t width, std::int32_t height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// One position along a side of a test card: the card is split in halves, and each half is crossed by
// a ramp and by three bands.
struct CardStep {
    bool firstHalf;
    bool edge;           // on the border
    std::uint32_t ramp;  // 0..255 across the half
    int band;            // 0..2 across the half
};

std::vector<CardStep> CardSide(std::int32_t length) {
    const std::int32_t half = std::max(length / 2, 1);
    std::vector<CardStep> side(static_cast<std::size_t>(std::max(length, 0)));
    for (std::int32_t t = 0; t < length; ++t) {
        const bool firstHalf = t < half;
        const std::int32_t step = firstHalf ? t : t - half;
        const std::int32_t span = firstHalf ? half : length - half;
        side[static_cast<std::size_t>(t)] = {firstHalf, t == 0 || t == length - 1,
                                             static_cast<std::uint32_t>(255 * step / std::max(span - 1, 1)),
                                             3 * step / std::max(span, 1)};
    }
    return side;
}

// Where a test card's lines and quadrants fall, worked out once a column and once a row.
class CardPlan {
public:
    CardPlan(std::int32_t width, std::int32_t height)
        : height_(height), columns_(CardSide(width)), rows_(CardSide(height)) {
        diagonal_.reserve(columns_.size());
        for (std::int32_t x = 0; x < width; ++x) {
            diagonal_.push_back(
                static_cast<std::int32_t>(std::int64_t{x} * (height - 1) / std::max(width - 1, 1)));
        }
    }

    const CardStep& Column(std::int32_t x) const { return columns_[static_cast<std::size_t>(x)]; }
    const CardStep& Row(std::int32_t y) const { return rows_[static_cast<std::size_t>(y)]; }
    bool Border(std::int32_t x, std::int32_t y) const { return Column(x).edge || Row(y).edge; }
    bool Diagonal(std::int32_t x, std::int32_t y) const {
        return diagonal_[static_cast<std::size_t>(x)] == y;
    }
    bool OtherDiagonal(std::int32_t x, std::int32_t y) const {
        return diagonal_[static_cast<std::size_t>(x)] == height_ - 1 - y;
    }

private:
    std::int32_t height_;
    std::vector<CardStep> columns_;
    std::vector<CardStep> rows_;
    std::vector<std::int32_t> diagonal_;
};

}  // namespace

Picture BlankPicture(std::int32_t width, std::int32_t height) {
    return Picture{width, height, std::vector<Pixel>(Area(width, height), kBlack)};
}

Picture DrawTestCard(std::int32_t width, std::int32_t height, ChannelBits bits) {
    const CardPlan plan(width, height);
    Picture picture = BlankPicture(width, height);
    auto pixel = picture.pixels.begin();
    for (std::int32_t y = 0; y < height; ++y) {
        const CardStep& row = plan.Row(y);
        for (std::int32_t x = 0; x < width; ++x, ++pixel) {
            const CardStep& column = plan.Column(x);
            std::uint32_t red = column.firstHalf && row.firstHalf ? column.ramp : 40;
            std::uint32_t green = !column.firstHalf && row.firstHalf ? column.ramp : 24;
            std::uint32_t blue = column.firstHalf && !row.firstHalf ? column.ramp : 96;
            if (!column.firstHalf && !row.firstHalf) {
                red = green = blue = row.ramp;
            }
            if (plan.Border(x, y)) {
                red = green = blue = 255;
            } else if (plan.Diagonal(x, y)) {
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
    const CardPlan plan(width, height);
    IndexedPicture picture{width, height, std::vector<std::uint8_t>(Area(width, height))};
    auto index = picture.indices.begin();
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x, ++index) {
            // Three bands across in each quadrant: 1..3, 4..6, 7..9 and 10..12.
            const int quadrant = (plan.Row(y).firstHalf ? 0 : 2) + (plan.Column(x).firstHalf ? 0 : 1);
            int value = 1 + 3 * quadrant + plan.Column(x).band;
            if (plan.Border(x, y)) {
                value = 15;
            } else if (plan.Diagonal(x, y)) {
                value = 14;
            } else if (plan.OtherDiagonal(x, y)) {
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
        palette[k] = kBase[(k + std::size_t{5} * variant) % kBase.size()];
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
