#include "shell/Geometry.h"

namespace tamsel::shell {

ViewGeometry ComputeViewGeometry(int width, int height, int buttonHeight) {
    ViewGeometry g;
    g.viewWidth = width - 20;
    g.viewHeight = height - 100;
    g.thumbWidth = RoundHalfEven((width - 40) / 3.0);
    g.thumbHeight = RoundHalfEven((height - 120 - buttonHeight) / 3.0);

    const int left = 10;
    const int middle = RoundHalfEven(width / 2.0 - g.thumbWidth / 2.0);
    const int right = width - 10 - g.thumbWidth;
    const int top = 10;
    const int bottom = height - 70 - buttonHeight - g.thumbHeight;
    // Half the distance between the top and bottom rows, not their midpoint: the middle row stands
    // ten pixels above the midpoint.
    const int centre = RoundHalfEven((bottom - top) / 2.0);

    const std::array<int, 3> columns{left, middle, right};
    const std::array<int, 3> rows{top, centre, bottom};
    for (std::size_t cell = 0; cell < 9; ++cell) {
        g.thumbCellPos[cell] = columns[cell % 3];
        g.thumbCellPos[cell + 9] = rows[cell / 3];
    }
    return g;
}

QSize LargestViewLimit(QSize screen) {
    const ViewGeometry g = ComputeViewGeometry(screen.width(), screen.height(), 0);
    return {g.viewWidth, g.viewHeight};
}

ControlPlacement PlacementOf(const QRect& rect, int innerWidth, int innerHeight) {
    const auto w = static_cast<float>(innerWidth);
    const auto h = static_cast<float>(innerHeight);
    return {static_cast<float>(rect.width()) / w, static_cast<float>(rect.height()) / h,
            static_cast<float>(rect.top()) / h, static_cast<float>(rect.left()) / w};
}

QRect RectOf(const ControlPlacement& placement, int innerWidth, int innerHeight) {
    const auto w = static_cast<float>(innerWidth);
    const auto h = static_cast<float>(innerHeight);
    return {RoundHalfEven(w * placement.LeftRatio), RoundHalfEven(h * placement.TopRatio),
            RoundHalfEven(w * placement.WidthRatio), RoundHalfEven(h * placement.HeightRatio)};
}

}  // namespace tamsel::shell
