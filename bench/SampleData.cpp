#include "SampleData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QtConcurrent/QtConcurrentMap>
#include <cmath>
#include <functional>
#include <random>
#include <stdexcept>

#include "samples/TextureFiles.h"
#include "texture/TextureReader.h"

namespace tamsel::bench {

namespace {

// Writes a file through `write` under a temporary name and renames it into place, so that an
// interrupted run never leaves a partial file that a later run would take as made.
void WriteOnce(const QString& path, const std::function<bool(const QString&)>& write) {
    if (QFileInfo(path).size() > 0) {
        return;
    }
    const QString part = path + QStringLiteral(".part");
    if (!write(part) || !QFile::rename(part, path)) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

// What makes a camera's picture as large as it is as a JPEG: a sky over hilly ground, soft blobs of
// colour, buildings with rows of windows, and sensor noise in every pixel.
QImage DrawPhoto(QSize size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double w = size.width();
    const double h = size.height();
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    QLinearGradient sky(0, 0, 0, h / 2);
    sky.setColorAt(0, QColor(95, 140, 215));
    sky.setColorAt(1, QColor(175, 200, 240));
    painter.fillRect(image.rect(), sky);
    QPainterPath ground(QPointF(0, h));
    const double phase = 6.28 * unit(random);
    for (int k = 0; k <= 64; ++k) {
        const double u = k / 64.0;
        ground.lineTo(u * w, h * (0.45 + 0.05 * std::sin(8.2 * u + phase) + 0.015 * std::sin(56.5 * u)));
    }
    ground.lineTo(w, h);
    QLinearGradient soil(0, h * 0.4, 0, h);
    soil.setColorAt(0, QColor(105, 120, 70));
    soil.setColorAt(1, QColor(75, 100, 50));
    painter.fillPath(ground, soil);
    for (int k = 0; k < 6; ++k) {
        const QRectF block(w * (0.05 + 0.8 * unit(random)), h * (0.3 + 0.1 * unit(random)),
                           w * (0.04 + 0.06 * unit(random)), h * (0.05 + 0.1 * unit(random)));
        const int grey = 90 + static_cast<int>(120 * unit(random));
        painter.fillRect(block, QColor(grey, grey, grey));
        painter.fillRect(block, QBrush(QColor(grey / 2, grey / 2, grey / 2), Qt::Dense4Pattern));
    }
    for (int k = 0; k < 12; ++k) {
        const double radius = w * (0.02 + 0.08 * unit(random));
        const QPointF centre(w * unit(random), h * (0.15 + 0.8 * unit(random)));
        const QColor colour(40 + static_cast<int>(200 * unit(random)),
                            60 + static_cast<int>(160 * unit(random)),
                            30 + static_cast<int>(180 * unit(random)));
        QRadialGradient blob(centre, radius);
        blob.setColorAt(0, colour);
        blob.setColorAt(1, QColor(colour.red(), colour.green(), colour.blue(), 0));
        painter.setBrush(blob);
        painter.drawEllipse(centre, radius, radius * (0.6 + 0.8 * unit(random)));
    }
    painter.end();
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::uint32_t state = seed * 2'654'435'761U + static_cast<std::uint32_t>(y) * 40'503U + 1U;
        for (int x = 0; x < size.width(); ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int luma =
                (static_cast<int>(state & 255U) + static_cast<int>((state >> 8) & 255U) - 255) / 20;
            const int chroma = (static_cast<int>((state >> 16) & 255U) - 128) / 40;
            line[x] = qRgb(std::clamp(qRed(line[x]) + luma + chroma, 0, 255),
                           std::clamp(qGreen(line[x]) + luma, 0, 255),
                           std::clamp(qBlue(line[x]) + luma - chroma, 0, 255));
        }
    }
    return image;
}

bool WritePhoto(const QString& path, QSize size, std::uint32_t seed) {
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    return writer.write(DrawPhoto(size, seed));
}

bool WriteTexture(const QString& path, int side, std::uint32_t seed) {
    const QImage photo = DrawPhoto({side, side}, seed);
    samples::Picture picture{side, side, {}};
    for (int y = 0; y < side; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(photo.constScanLine(y));
        picture.pixels.insert(picture.pixels.end(), line, line + side);
    }
    const samples::Bytes bytes = samples::BareImageFile({samples::kFormat565, side, side, 2 * side},
                                                        samples::EncodeWords(picture, samples::kFormat565));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

// The canvas that the texture reader paints from `texture`, as a BMP.
bool WriteCanvasBmp(const QString& path, const QString& texture) {
    QFile file(texture);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    texture::TextureReader reader;
    std::optional<texture::DecodedTexture> decoded = texture::Decode(
        reader,
        {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())});
    if (!decoded) {
        return false;
    }
    const QImage canvas(reinterpret_cast<const uchar*>(decoded->pixels.data()), decoded->layout.width,
                        decoded->layout.height, QImage::Format_RGB32);
    return canvas.save(path, "BMP");
}

// The paths of `count` files named after `pattern` ("photo-%1.jpg") in `folder`, numbered from 1.
QStringList Numbered(const QString& folder, const QString& pattern, int count) {
    QStringList files;
    for (int number = 1; number <= count; ++number) {
        files << QDir(folder).filePath(pattern.arg(number));
    }
    return files;
}

}  // namespace

SampleData::SampleData(QString root) : root_(std::move(root)) {
    if (!QDir().mkpath(root_)) {
        throw std::runtime_error("cannot make " + root_.toStdString());
    }
}

QString SampleData::Folder(const QString& name) const {
    QDir(root_).mkpath(name);
    return QDir(root_).filePath(name);
}

QStringList SampleData::Photos(const QString& name, QSize size, int count) {
    QStringList files = Numbered(Folder(name), QStringLiteral("photo-%1.jpg"), count);
    QtConcurrent::blockingMap(files, [&](const QString& file) {
        const auto seed = static_cast<std::uint32_t>(size.width()) * 31U +
                          static_cast<std::uint32_t>(files.indexOf(file)) + 1U;
        WriteOnce(file, [&](const QString& part) { return WritePhoto(part, size, seed); });
    });
    return files;
}

QString SampleData::Empty(const QString& name) {
    return Folder(name);
}

SampleData::TextureFiles SampleData::Textures(int side, int count) {
    const QString name = QStringLiteral("textures-%1").arg(side);
    TextureFiles files{
        Numbered(Folder(name), QStringLiteral("texture-%1.pbf"), count),
        Numbered(Folder(name + QStringLiteral("-bmp")), QStringLiteral("texture-%1.bmp"), count)};
    QtConcurrent::blockingMap(files.textures, [&](const QString& texture) {
        const auto k = files.textures.indexOf(texture);
        WriteOnce(texture, [&](const QString& part) {
            return WriteTexture(part, side,
                                static_cast<std::uint32_t>(side) * 17U + static_cast<std::uint32_t>(k) + 1U);
        });
        WriteOnce(files.bitmaps[k], [&](const QString& part) { return WriteCanvasBmp(part, texture); });
    });
    return files;
}

QStringList SampleData::BitmapAmongPhotos(int side, QSize size, int count) {
    const QString folder = Folder(QStringLiteral("bmp-%1-among-photos").arg(side));
    QStringList files = Numbered(folder, QStringLiteral("photo-%1.jpg"), count);
    files[1] = QDir(folder).filePath(QStringLiteral("photo-2.bmp"));
    QtConcurrent::blockingMap(files, [&](const QString& file) {
        const auto seed = static_cast<std::uint32_t>(size.width()) * 37U +
                          static_cast<std::uint32_t>(files.indexOf(file)) + 1U;
        WriteOnce(file, [&](const QString& part) {
            return file.endsWith(QStringLiteral(".bmp")) ? DrawPhoto({side, side}, seed).save(part, "BMP")
                                                         : WritePhoto(part, size, seed);
        });
    });
    return files;
}

QStringList SampleData::Copies(const QString& name, const QByteArray& content, int count) {
    QStringList files;
    for (int number = 1; number <= count; ++number) {
        files << QDir(Folder(name)).filePath(QString(number, QChar(u'0' + number)) + QStringLiteral(".jpg"));
        WriteOnce(files.back(), [&](const QString& part) {
            QFile file(part);
            return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
        });
    }
    return files;
}

QString SampleData::FileList(const QStringList& files) {
    QString path = QFileInfo(files.front()).path() + QStringLiteral(".txt");
    QFile list(path);
    if (!list.open(QIODevice::WriteOnly) || list.write(files.join(u'\n').toUtf8()) < 0) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
    return path;
}

}  // namespace tamsel::bench
