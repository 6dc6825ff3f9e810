#pragma once

#include <QImageIOHandler>

namespace tamsel::imageformats {

// Reads one texture file from a device through the viewer's reader, with its limits and its decode
// budget: a 32-bit RGB image of the canvas, pixel for pixel. Each image is read by a fresh reader, so
// a 4-bit texture without its own palette is black.
class TextureImageHandler final : public QImageIOHandler {
public:
    // The key of the container whose tag `device` starts with ("srb", "pbf" or "mip" for " BRS", "PAMB"
    // and "PIM "), read without moving the device; empty for any other start.
    static QByteArray FormatOf(QIODevice* device);

    // True for "mip", "srb" and "pbf".
    static bool IsKey(const QByteArray& format);

    bool canRead() const override;
    bool read(QImage* image) override;
    QVariant option(ImageOption option) const override;
    bool supportsOption(ImageOption option) const override;
};

}  // namespace tamsel::imageformats
