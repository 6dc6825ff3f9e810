#include "TextureImageHandler.h"

#include <QFileDevice>
#include <QImage>
#include <QLoggingCategory>
#include <QSize>
#include <QVariant>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "DeviceSource.h"
#include "texture/DecodeBudget.h"
#include "texture/FileKinds.h"
#include "texture/TextureReader.h"

namespace tamsel::imageformats {
namespace {

Q_LOGGING_CATEGORY(Log, "tamsel.imageformats")

// Says why the texture on `device` was refused, naming its file when it is one.
void LogRefusal(QIODevice& device, const texture::Refusal& refusal) {
    const auto* file = qobject_cast<QFileDevice*>(&device);
    const QString name = file != nullptr ? file->fileName() + QLatin1String(": ") : QString();
    qCWarning(Log).noquote() << name + QLatin1String("Not a valid texture file: ") +
                                    QString::fromStdString(texture::RefusalWords(refusal));
}

// The plugin's format key of each texture container.
constexpr std::array<std::pair<texture::FileKind, const char*>, 3> kKeys{
    {{texture::FileKind::Srb, "srb"}, {texture::FileKind::Pbf, "pbf"}, {texture::FileKind::Mip, "mip"}}};

}  // namespace

QByteArray TextureImageHandler::FormatOf(QIODevice* device) {
    const QByteArray start = device != nullptr ? device->peek(texture::kKindBytes) : QByteArray();
    const std::optional<texture::FileKind> kind = texture::KindOfContent(std::span(
        reinterpret_cast<const std::uint8_t*>(start.constData()), static_cast<std::size_t>(start.size())));
    for (const auto& [tagged, key] : kKeys) {
        if (kind == tagged) {
            return key;
        }
    }
    return {};
}

bool TextureImageHandler::IsKey(const QByteArray& format) {
    return std::any_of(kKeys.begin(), kKeys.end(), [&](const auto& entry) { return format == entry.second; });
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
    if (!layout) {
        LogRefusal(*device(), layout.Reason());
        return false;
    }
    const auto reserved = texture::DecodeBudget::Program().Reserve(texture::DecodeBytes(*layout));
    std::vector<std::uint8_t> pixelData;
    QImage canvas;
    if (!reserved || !allocateImage(QSize(layout->width, layout->height), QImage::Format_RGB32, &canvas)) {
        return false;
    }
    if (const auto data = texture::ReadPixelData(source, *layout, pixelData); !data) {
        LogRefusal(*device(), data.Reason());
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
