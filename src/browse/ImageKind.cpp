#include "browse/ImageKind.h"

#include <array>
#include <utility>

namespace tamsel::browse {

std::optional<ImageKind> KindOfName(const QString& name) {
    static const std::array<std::pair<QString, ImageKind>, 10> kEndings{{
        {QStringLiteral("bmp"), ImageKind::Bmp},
        {QStringLiteral("BMP"), ImageKind::Bmp},
        {QStringLiteral("jpg"), ImageKind::Jpeg},
        {QStringLiteral("JPG"), ImageKind::Jpeg},
        {QStringLiteral("pbf"), ImageKind::Pbf},
        {QStringLiteral("PBF"), ImageKind::Pbf},
        {QStringLiteral("srb"), ImageKind::Srb},
        {QStringLiteral("SRB"), ImageKind::Srb},
        {QStringLiteral("mip"), ImageKind::Mip},
        {QStringLiteral("MIP"), ImageKind::Mip},
    }};
    const QString ending = name.right(3);
    for (const auto& [text, kind] : kEndings) {
        if (ending == text) {
            return kind;
        }
    }
    return std::nullopt;
}

bool IsPictureName(const QString& name) {
    const std::optional<ImageKind> kind = KindOfName(name);
    return kind && !IsTexture(*kind);
}

}  // namespace tamsel::browse
