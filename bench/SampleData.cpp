#include "SampleData.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QtConcurrent/QtConcurrentMap>
#include <array>
#include <cmath>
#include <functional>
#include <numeric>
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

// What a camera's picture has that makes its JPEG as large as it is: a smooth sky over textured
// ground along a hilly horizon, soft blobs of colour, hard-edged buildings with rows of windows, and
// sensor noise in every pixel.
class PhotoPainter {
public:
    PhotoPainter(QSize size, std::uint32_t seed) : width_(size.width()), height_(size.height()), seed_(seed) {
        std::mt19937 random(seed);
        std::uniform_real_distribution<float> unit(0.0F, 1.0F);
        const float w = static_cast<float>(width_);
        const float h = static_cast<float>(height_);
        const float phase = kTau * unit(random);
        const float ripple = kTau * unit(random);
        horizon_.resize(static_cast<std::size_t>(width_));
        weaveColumns_.resize(static_cast<std::size_t>(width_));
        for (int x = 0; x < width_; ++x) {
            const float u = static_cast<float>(x) / w;
            horizon_[static_cast<std::size_t>(x)] = h * (0.45F + 0.05F * std::sin(kTau * 1.3F * u + phase) +
                                                         0.015F * std::sin(kTau * 9.0F * u + ripple));
            weaveColumns_[static_cast<std::size_t>(x)] = std::sin(kTau * static_cast<float>(x) / 9.0F);
        }
        weaveRows_.resize(static_cast<std::size_t>(height_));
        for (int y = 0; y < height_; ++y) {
            weaveRows_[static_cast<std::size_t>(y)] = 14.0F * std::sin(kTau * static_cast<float>(y) / 13.0F);
        }
        for (int k = 0; k < 12; ++k) {
            const float rx = w * (0.02F + 0.08F * unit(random));
            blobs_.push_back({w * unit(random), h * (0.15F + 0.8F * unit(random)), rx,
                              rx * (0.6F + 0.8F * unit(random)), 40.0F + 200.0F * unit(random),
                              60.0F + 160.0F * unit(random), 30.0F + 180.0F * unit(random)});
        }
        for (int k = 0; k < 6; ++k) {
            const int left = static_cast<int>(w * (0.05F + 0.8F * unit(random)));
            const int right = std::min(width_, left + static_cast<int>(w * (0.04F + 0.06F * unit(random))));
            const int bottom = static_cast<int>(horizon_[static_cast<std::size_t>(left)] + h * 0.02F);
            const int top = std::max(0, bottom - static_cast<int>(h * (0.05F + 0.1F * unit(random))));
            blocks_.push_back({left, top, right, bottom, 90.0F + 120.0F * unit(random)});
        }
    }

    void PaintRow(QImage& image, int y) const {
        std::vector<float> red(static_cast<std::size_t>(width_));
        std::vector<float> green(red.size());
        std::vector<float> blue(red.size());
        const float fy = static_cast<float>(y);
        const float weaveRow = weaveRows_[static_cast<std::size_t>(y)];
        for (std::size_t x = 0; x < red.size(); ++x) {
            const float sky = horizon_[x];
            if (fy < sky) {
                const float t = fy / sky;
                red[x] = 95.0F + 80.0F * t;
                green[x] = 140.0F + 60.0F * t;
                blue[x] = 215.0F + 25.0F * t;
            } else {
                const float t = (fy - sky) / (static_cast<float>(height_) - sky);
                const float weave = weaveColumns_[x] * weaveRow;
                red[x] = 105.0F - 30.0F * t + weave;
                green[x] = 120.0F - 20.0F * t + weave;
                blue[x] = 70.0F - 20.0F * t + 0.5F * weave;
            }
        }
        for (const Blob& blob : blobs_) {
            const float dy = (fy - blob.cy) / blob.ry;
            if (dy * dy >= 1.0F) {
                continue;
            }
            const float half = blob.rx * std::sqrt(1.0F - dy * dy);
            const int first = std::max(0, static_cast<int>(blob.cx - half));
            const int last = std::min(width_ - 1, static_cast<int>(blob.cx + half));
            for (int x = first; x <= last; ++x) {
                const float dx = (static_cast<float>(x) - blob.cx) / blob.rx;
                const float weight = std::max(0.0F, 1.0F - dx * dx - dy * dy);
                const auto i = static_cast<std::size_t>(x);
                red[i] += weight * (blob.red - red[i]);
                green[i] += weight * (blob.green - green[i]);
                blue[i] += weight * (blob.blue - blue[i]);
            }
        }
        for (const Block& block : blocks_) {
            if (y < block.top || y >= block.bottom) {
                continue;
            }
            const bool windowRow = (y - block.top) % 30 < 16;
            for (int x = block.left; x < block.right; ++x) {
                const bool window = windowRow && (x - block.left) % 24 < 12;
                const auto i = static_cast<std::size_t>(x);
                red[i] = green[i] = blue[i] = window ? block.grey * 0.45F : block.grey;
            }
        }
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::uint32_t state = seed_ * 2'654'435'761U + static_cast<std::uint32_t>(y) * 40'503U + 1U;
        for (std::size_t x = 0; x < red.size(); ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const float luma = static_cast<float>(static_cast<int>(state & 255U) +
                                                  static_cast<int>((state >> 8) & 255U) - 255) /
                               20.0F;
            const float chroma = static_cast<float>(static_cast<int>((state >> 16) & 255U) - 128) / 40.0F;
            line[x] = qRgb(Channel(red[x] + luma + chroma), Channel(green[x] + luma),
                           Channel(blue[x] + luma - chroma));
        }
    }

private:
    static constexpr float kTau = 6.2831853F;

    struct Blob {
        float cx;
        float cy;
        float rx;
        float ry;
        float red;
        float green;
        float blue;
    };
    struct Block {
        int left;
        int top;
        int right;
        int bottom;
        float grey;
    };

    static int Channel(float value) { return static_cast<int>(std::clamp(value, 0.0F, 255.0F)); }

    int width_;
    int height_;
    std::uint32_t seed_;
    std::vector<float> horizon_;
    std::vector<float> weaveColumns_;
    std::vector<float> weaveRows_;
    std::vector<Blob> blobs_;
    std::vector<Block> blocks_;
};

QImage DrawPhoto(QSize size, std::uint32_t seed) {
    QImage image(size, QImage::Format_RGB32);
    const PhotoPainter painter(size, seed);
    for (int y = 0; y < size.height(); ++y) {
        painter.PaintRow(image, y);
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

}  // namespace

QStringList FilesOf(const QString& folder, const QString& pattern) {
    QStringList files;
    for (const QString& name : QDir(folder).entryList({pattern}, QDir::Files, QDir::Name)) {
        files << QDir(folder).filePath(name);
    }
    return files;
}

SampleData::SampleData(QString root) : root_(std::move(root)) {
    if (!QDir().mkpath(root_)) {
        throw std::runtime_error("cannot make " + root_.toStdString());
    }
}

QString SampleData::Folder(const QString& name) const {
    QDir(root_).mkpath(name);
    return QDir(root_).filePath(name);
}

QString SampleData::Photos(const QString& name, QSize size, int count) {
    const QString folder = Folder(name);
    std::vector<int> numbers(static_cast<std::size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 1);
    QtConcurrent::blockingMap(numbers, [&](int number) {
        const auto seed = static_cast<std::uint32_t>(size.width() * 31 + number);
        WriteOnce(QDir(folder).filePath(QStringLiteral("photo-%1.jpg").arg(number)),
                  [&](const QString& part) { return WritePhoto(part, size, seed); });
    });
    return folder;
}

QString SampleData::Textures(int side, int count) {
    const QString name = QStringLiteral("textures-%1").arg(side);
    const QString folder = Folder(name);
    const QString bmpFolder = Folder(name + QStringLiteral("-bmp"));
    std::vector<int> numbers(static_cast<std::size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 1);
    QtConcurrent::blockingMap(numbers, [&](int number) {
        const QString texture = QDir(folder).filePath(QStringLiteral("texture-%1.pbf").arg(number));
        WriteOnce(texture, [&](const QString& part) {
            return WriteTexture(part, side, static_cast<std::uint32_t>(side * 17 + number));
        });
        WriteOnce(QDir(bmpFolder).filePath(QStringLiteral("texture-%1.bmp").arg(number)),
                  [&](const QString& part) { return WriteCanvasBmp(part, texture); });
    });
    return folder;
}

QString SampleData::ListedFolder() {
    const QString folder = Folder(QStringLiteral("listed"));
    const QString made = QDir(root_).filePath(QStringLiteral("listed.made"));
    if (QFileInfo::exists(made)) {
        return folder;
    }
    // Shown names in all ten endings the file list admits; the others in endings it does not.
    static constexpr std::array<const char*, 10> kShown{
        "IMG_%1.jpg", "DSC%1.JPG",       "track %1 sky.mip", "CAR%1_BODY.MIP", "wall-%1.pbf",
        "SIGN%1.PBF", "pit lane %1.srb", "GRAVEL%1.SRB",     "Photo %1.bmp",   "SCAN%1.BMP"};
    static constexpr std::array<const char*, 7> kOthers{"IMG_%1.jpeg", "clip%1.Jpg",      "render %1.png",
                                                        "notes%1.txt", "track%1.mip.bak", "readme%1",
                                                        "Data_%1.csv"};
    for (int i = 0; i < kListedFolderSize; ++i) {
        const bool shown = i < kListedFolderMatches;
        const char* pattern = shown ? kShown[static_cast<std::size_t>(i) % kShown.size()]
                                    : kOthers[static_cast<std::size_t>(i) % kOthers.size()];
        const QByteArray path = QFile::encodeName(QDir(folder).filePath(QString::fromLatin1(pattern).arg(i)));
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            throw std::runtime_error("cannot make " + path.toStdString());
        }
        ::close(fd);
    }
    if (!QFile(made).open(QIODevice::WriteOnly)) {
        throw std::runtime_error("cannot write " + made.toStdString());
    }
    return folder;
}

QString SampleData::EmptyFolder() {
    return Folder(QStringLiteral("empty"));
}

}  // namespace tamsel::bench
