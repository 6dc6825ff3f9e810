#include "SampleData.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QtConcurrent/QtConcurrentMap>
#include <array>
#include <cmath>
#include <functional>
#include <random>
#include <stdexcept>

#include "samples/Pictures.h"
#include "samples/TextureFiles.h"
#include "shell/Registry.h"

namespace tamsel::bench {

namespace {

constexpr int kClaimedSide = 30'000;
constexpr int kClaimFileSize = 64;

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

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ToByteArray(const samples::Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

samples::Bytes TextureBytes(TextureKind kind, int side) {
    if (kind == TextureKind::Nibbles) {
        samples::MipFields fields;
        fields.resultValue = 1;
        fields.image = {0, side, side, 0};
        fields.paletteChunk = samples::PaletteChunk::BeforeImage;
        fields.palette = samples::DemoPalette(0);
        return samples::MipFile(fields, samples::EncodeNibbles(samples::DrawIndexedTestCard(side, side)));
    }
    const std::uint8_t format = kind == TextureKind::Words565    ? samples::kFormat565
                                : kind == TextureKind::Words1555 ? samples::kFormat1555
                                                                 : samples::kFormat4444;
    const samples::Picture card = samples::DrawTestCard(side, side, samples::BitsOfFormat(format));
    return samples::BareImageFile({format, side, side, 2 * side}, samples::EncodeWords(card, format));
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

bool WritePhoto(const QString& path, QSize size, std::uint32_t seed) {
    QImage image(size, QImage::Format_RGB32);
    const PhotoPainter painter(size, seed);
    for (int y = 0; y < size.height(); ++y) {
        painter.PaintRow(image, y);
    }
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    return writer.write(image);
}

QByteArray ClaimBytes(ClaimKind kind) {
    if (kind == ClaimKind::Texture) {
        const samples::ImageFields image{samples::kFormat565, kClaimedSide, kClaimedSide, 2 * kClaimedSide};
        const std::size_t header = samples::BareImageFile(image, {}).size();
        const samples::Bytes data(kClaimFileSize - header, 0x5A);
        return ToByteArray(samples::BareImageFile(image, data));
    }
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    if (kind == ClaimKind::Bitmap) {
        // File header and an information header of 24 bits a pixel, uncompressed.
        out.setByteOrder(QDataStream::LittleEndian);
        out << quint8{'B'} << quint8{'M'} << quint32{kClaimFileSize} << quint32{0} << quint32{54};
        out << quint32{40} << qint32{kClaimedSide} << qint32{kClaimedSide} << quint16{1} << quint16{24}
            << quint32{0} << quint32{0} << qint32{2835} << qint32{2835} << quint32{0} << quint32{0};
    } else {
        // Start of image, a baseline frame of three components at 4:2:0 and the start of its scan;
        // no tables.
        out.setByteOrder(QDataStream::BigEndian);
        out << quint16{0xFFD8} << quint16{0xFFC0} << quint16{17} << quint8{8} << quint16{kClaimedSide}
            << quint16{kClaimedSide} << quint8{3};
        out << quint8{1} << quint8{0x22} << quint8{0} << quint8{2} << quint8{0x11} << quint8{1} << quint8{3}
            << quint8{0x11} << quint8{1};
        out << quint16{0xFFDA} << quint16{12} << quint8{3} << quint8{1} << quint8{0x00} << quint8{2}
            << quint8{0x11} << quint8{3} << quint8{0x11} << quint8{0} << quint8{63} << quint8{0};
    }
    bytes.append(kClaimFileSize - bytes.size(), '\0');
    return bytes;
}

}  // namespace

QString KindName(TextureKind kind) {
    static constexpr std::array<const char*, 4> kNames{"5:6:5", "1:5:5:5", "4:4:4:4", "4-bit"};
    return QString::fromLatin1(kNames[static_cast<std::size_t>(kind)]);
}

QString ClaimExtension(ClaimKind kind) {
    static constexpr std::array<const char*, 3> kExtensions{".pbf", ".bmp", ".jpg"};
    return QString::fromLatin1(kExtensions[static_cast<std::size_t>(kind)]);
}

QStringList PhotoFiles(const QString& folder) {
    QStringList files;
    for (const QString& name :
         QDir(folder).entryList({QStringLiteral("photo-*.jpg")}, QDir::Files, QDir::Name)) {
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

QString SampleData::Texture(TextureKind kind, int side) {
    static constexpr std::array<const char*, 4> kFileNames{"565", "1555", "4444", "4bit"};
    const QString path = QDir(Folder(QStringLiteral("textures")))
                             .filePath(QStringLiteral("card-%1-%2%3")
                                           .arg(QLatin1String(kFileNames[static_cast<std::size_t>(kind)]))
                                           .arg(side)
                                           .arg(kind == TextureKind::Nibbles ? QStringLiteral(".mip")
                                                                             : QStringLiteral(".pbf")));
    WriteOnce(path,
              [&](const QString& part) { return WriteBytes(part, ToByteArray(TextureBytes(kind, side))); });
    return path;
}

QString SampleData::Photos(QSize size, int count) {
    const QString folder = Folder(QStringLiteral("photos-%1x%2").arg(size.width()).arg(size.height()));
    std::vector<int> numbers(static_cast<std::size_t>(count));
    std::iota(numbers.begin(), numbers.end(), 1);
    QtConcurrent::blockingMap(numbers, [&](int number) {
        const auto seed = static_cast<std::uint32_t>(size.width() * 31 + number);
        WriteOnce(QDir(folder).filePath(QStringLiteral("photo-%1.jpg").arg(number)),
                  [&](const QString& part) { return WritePhoto(part, size, seed); });
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
    WriteBytes(made, {});
    return folder;
}

QString SampleData::EmptyFolder() {
    return Folder(QStringLiteral("empty"));
}

QString SampleData::ClaimFolder(ClaimKind kind) {
    const QString extension = ClaimExtension(kind);
    const QString folder = Folder(QStringLiteral("claim-") + extension.mid(1));
    WriteOnce(QDir(folder).filePath(QStringLiteral("claim") + extension),
              [&](const QString& part) { return WriteBytes(part, ClaimBytes(kind)); });
    return folder;
}

QString SampleData::SettingsRemembering(const QString& name, const QString& folder) {
    const QString path = QDir(Folder(QStringLiteral("settings"))).filePath(name + QStringLiteral(".ini"));
    const platform::SettingsStore store(path);
    if (!Registry::SaveRegString(store, Registry::kMachineRoot, Registry::kViewerKey, Registry::kLastUsedPath,
                                 folder + u'/')) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
    return path;
}

}  // namespace tamsel::bench
