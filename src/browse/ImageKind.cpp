#include "browse/ImageKind.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/FileNames.h"
#include "texture/FileSource.h"

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

std::optional<ImageKind> KindOfContent(QByteArrayView firstBytes) {
    if (firstBytes.startsWith("\xFF\xD8\xFF")) {
        return ImageKind::Jpeg;
    }
    if (firstBytes.startsWith("BM")) {
        return ImageKind::Bmp;
    }
    if (firstBytes.startsWith("PAMB")) {
        return ImageKind::Pbf;
    }
    if (firstBytes.startsWith(" BRS")) {
        return ImageKind::Srb;
    }
    if (firstBytes.startsWith("PIM ")) {
        return ImageKind::Mip;
    }
    return std::nullopt;
}

std::optional<ImageKind> KindOfFile(const QString& path) {
    if (const std::optional<ImageKind> kind = KindOfName(path)) {
        return kind;
    }
    // Only a regular file is read: a FIFO given as a picture must not hold the window.
    texture::FileSource file(platform::EncodeName(path).constData());
    std::array<std::uint8_t, 4> first{};
    const std::size_t length = std::min<std::size_t>(first.size(), file.Size());
    if (!file.IsOpen() || !file.ReadAt(0, std::span(first).first(length))) {
        return std::nullopt;
    }
    return KindOfContent(QByteArrayView(first.data(), static_cast<qsizetype>(length)));
}

}  // namespace tamsel::browse
