#pragma once

#include <QImageIOPlugin>

// The image-format plugin of the three texture containers: Qt programs open .mip, .srb and .pbf files
// by name, and files without such a name by their first tag.
class TextureImagePlugin final : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "texture.json")

public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override;
    QImageIOHandler* create(QIODevice* device, const QByteArray& format = QByteArray()) const override;
};
