#include "TextureImagePlugin.h"

#include "TextureImageHandler.h"

using tamsel::imageformats::TextureImageHandler;

QImageIOPlugin::Capabilities TextureImagePlugin::capabilities(QIODevice* device,
                                                              const QByteArray& format) const {
    if (TextureImageHandler::IsKey(format)) {
        return CanRead;
    }
    const bool found = format.isEmpty() && device != nullptr && device->isReadable() &&
                       !TextureImageHandler::FormatOf(device).isEmpty();
    return found ? CanRead : Capabilities();
}

QImageIOHandler* TextureImagePlugin::create(QIODevice* device, const QByteArray& format) const {
    auto* handler = new TextureImageHandler;
    handler->setDevice(device);
    handler->setFormat(format.isEmpty() ? TextureImageHandler::FormatOf(device) : format);
    return handler;
}
