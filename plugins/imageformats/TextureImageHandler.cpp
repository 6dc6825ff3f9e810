#include "TextureImageHandler.h"

#include <QImage>
#include <QSize>
#include <QVariant>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "DeviceSource.h"
#include "texture/DecodeBudget.h"
#include "texture/TextureReader.h"

namespace tamsel::imageformats {
namespace {

constexpr std::array<std::pair<const char*, const char*>, 3> kTags{
    {{" BRS", "srb"}, {"PAMB", "pbf"}, {"PIM ", "mip"}}};

}  // namespace

QByteArray TextureImageHandler::FormatOf(QIODevice* device) {
    const QByteArray start = device != nullptr ? device->peek(4) : QByteArray();
    for (const auto& [tag, key] : kTags) {
        if (start == tag) {
            return key;
        }
    }
    return {};
}

bool TextureImageHandler::IsKey(const QByteArray& format) {
    return std::any_of(kTags.begin(), kTags.end(), [&](const auto& entry) { return format == entry.second; });
}

// A device named as a texture is read as one whatever its first tag, as the viewer reads a texture
// file whose first tag is unknown as a MIP file.
bool TextureImageHandler::canRead() const {
    const QByteArray found = FormatOf(device());
    if (!found.isEmpty()) {
        setFormat(found);
    }
    return device() != nullptr && (!found.isEmpty() || IsKey(format()));
}

bool TextureImageHandler::read(QImage* image) {
    if (device() == nullptr) {
        return false;
    }
    DeviceSource source(*device());
    texture::TextureReader reader;
    const auto layout = reader.ReadLayout(source);
    const auto reserved = layout ? texture::DecodeBudget::Program().Reserve(texture::DecodeBytes(*layout))
                                 : std::optional<texture::DecodeBudget::Reservation>();
    std::vector<std::uint8_t> pixelData;
    QImage canvas;
    if (!reserved || !allocateImage(QSize(layout->width, layout->height), QImage::Format_RGB32, &canvas) ||
        !texture::ReadPixelData(source, *layout, pixelData)) {
        return false;
    }
    reader.Paint(*layout, pixelData,
                 {reinterpret_cast<std::uint32_t*>(canvas.bits()), canvas.bytesPerLine() / 4});
    *image = std::move(canvas);
    return true;
}

QVariant TextureImageHandler::option(ImageOption option) const {
    if (option == ImageFormat) {
        return QImage::Format_RGB32;
    }
    if (option != Size || device() == nullptr) {
        return {};
    }
    DeviceSource source(*device());
    texture::TextureReader reader;
    const auto layout = reader.ReadLayout(source);
    return layout ? QVariant(QSize(layout->width, layout->height)) : QVariant();
}

bool TextureImageHandler::supportsOption(ImageOption option) const {
    return option == Size || option == ImageFormat;
}

}  // namespace tamsel::imageformats
