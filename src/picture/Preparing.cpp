#include "picture/Preparing.h"

#include <array>

#include "files/FileNames.h"
#include "picture/FitRule.h"
#include "picture/PictureLoader.h"
#include "texture/ReducedPaint.h"

namespace tamsel::picture {

namespace {

// A texture decoded for a box of `limit`, into a canvas of its own: whole when it fits or shrinks
// little, else reduced by a whole number straight from its pixel data, a band of rows at a time. The
// reader's palette is `palette` before, and `palette` is left as the file leaves it. A file the reader
// refuses leaves `refusal` saying why. `shouldStop` is asked before the canvas is painted, and before
// each band of a reduced one.
bool PrepareTexture(texture::FileSource& file, QSize limit, Palette& palette, Prepared& prepared,
                    QImage& staged, PaletteEffect& effect, std::optional<texture::Refusal>& refusal,
                    const std::function<bool()>& shouldStop) {
    texture::TextureReader reader;
    reader.SetPalette(palette);
    const auto layout = reader.ReadLayout(file);
    effect = PaletteEffectOf(palette, reader.Palette(), layout);
    prepared.paletteTaken = effect.taken;
    prepared.paletteLoaded = effect.loaded;
    palette = reader.Palette();
    if (!layout) {
        refusal = layout.Reason();
        return false;
    }
    prepared.size = QSize(layout->width, layout->height);
    prepared.layout = layout;
    prepared.reduction = TextureReduction(prepared.size, limit);
    std::vector<std::uint8_t> pixels;
    const int k = prepared.reduction;
    if (k == 1) {
        return PaintTexture(
            reader, file, *layout, pixels,
            [&staged, &shouldStop](int width, int height) -> QImage* {
                if (shouldStop && shouldStop()) {
                    return nullptr;
                }
                staged = QImage(width, height, QImage::Format_RGB32);
                return staged.isNull() && width > 0 && height > 0 ? nullptr : &staged;
            },
            refusal);
    }
    const std::int32_t parts = texture::ReducedPaintParts(*layout, k);
    const auto reserved =
        texture::DecodeBudget::Program().Reserve(texture::ReducedPaintBytes(*layout, k, parts));
    if (!reserved) {
        return false;
    }
    staged =
        QImage(texture::Reduced(layout->width, k), texture::Reduced(layout->height, k), QImage::Format_RGB32);
    return !staged.isNull() &&
           texture::PaintReduced(reader, file, *layout, k, parts,
                                 {reinterpret_cast<std::uint32_t*>(staged.bits()), staged.bytesPerLine() / 4},
                                 refusal, shouldStop);
}

}  // namespace

std::optional<texture::FileKind> KindOfFile(const QString& path) {
    if (const std::optional<texture::FileKind> kind = texture::KindOfName(path.toStdString())) {
        return kind;
    }
    // Only a regular file is read: a FIFO given as a picture must not hold the window.
    texture::FileSource file(files::EncodeName(path).constData());
    std::array<std::uint8_t, texture::kKindBytes> first{};
    const std::size_t length = std::min<std::size_t>(first.size(), file.Size());
    if (!file.IsOpen() || !file.ReadAt(0, std::span(first).first(length))) {
        return std::nullopt;
    }
    return texture::KindOfContent(std::span(first).first(length));
}

Preparation Prepare(const QString& path, QSize limit, Palette& palette, bool keepStaged,
                    const std::function<bool()>& shouldStop) {
    Preparation result;
    const QByteArray name = files::EncodeName(path);
    const std::optional<texture::FileStamp> stamp = texture::StampOf(name.constData());
    const std::optional<texture::FileKind> kind = KindOfFile(path);
    if (!stamp || !kind) {
        return result;
    }
    Prepared prepared;
    QImage staged;
    if (texture::IsTexture(*kind)) {
        texture::FileSource file(name.constData());
        if (!file.IsOpen()) {
            return result;
        }
        result.refusal = Refusal::NotValidTexture;
        if (!PrepareTexture(file, limit, palette, prepared, staged, result.palette, result.reason,
                            shouldStop)) {
            return result;
        }
    } else {
        std::optional<Picture> picture =
            LoadPicture(path, limit, texture::DecodeBudget::Program(), shouldStop);
        if (!picture) {
            return result;
        }
        prepared.size = picture->size;
        prepared.reduction = picture->divisor;
        prepared.scalable = picture->scalable;
        staged = std::move(picture->image);
    }
    // What a box of `limit` shows: the decoded canvas itself when it fits, else halftoned down to fit.
    result.refusal = Refusal::CannotDisplay;
    std::optional<QImage> shown = FittedPicture(staged, prepared.size, limit);
    if (!shown) {
        return result;
    }
    prepared.stamp = *stamp;
    prepared.limit = limit;
    prepared.shown = std::move(*shown);
    if (keepStaged) {
        prepared.staged = std::move(staged);
    }
    result.prepared = std::move(prepared);
    return result;
}

}  // namespace tamsel::picture
