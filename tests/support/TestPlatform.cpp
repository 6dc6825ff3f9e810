#include "support/TestPlatform.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QWidget>

#include "samples/Pictures.h"
#include "samples/TextureFiles.h"

namespace tamsel::testing {

using namespace Qt::StringLiterals;

void FakeClock::Advance(double seconds) {
    now += seconds;
    while (now >= 86'400.0) {
        now -= 86'400.0;
    }
}

double ScriptedRandom::Next() {
    if (draws.empty()) {
        return 0.0;
    }
    const double r = draws.front();
    draws.pop_front();
    return r;
}

void ScriptedEvents::Yield(double maxSeconds) {
    ++yields;
    if (onYield) {
        onYield(maxSeconds);
    }
    clock_.Advance(step > 0.0 ? step : maxSeconds);
}

TestPlatform::TestPlatform(QSize screen)
    : screenSize(screen),
      programFolder(MakeFolder(sandbox.path(), u"program"_s)),
      settingsFile(sandbox.filePath(u"config/Tamsel Image Viewer.ini"_s)) {}

platform::Platform TestPlatform::Build() const {
    return {screenSize, programFolder, settingsFile, messages, clock, random, events, end, screenSaver};
}

QString MakeFolder(const QString& parent, const QString& name) {
    QDir(parent).mkpath(name);
    return QDir(parent).filePath(name);
}

QString WriteSolidTexture(const QString& folder, const QString& name, int width, int height, QRgb colour) {
    const samples::Picture picture{
        width, height,
        std::vector<samples::Pixel>(static_cast<std::size_t>(width) * height, 0xFF000000U | colour)};
    const samples::Bytes data = samples::EncodeWords(picture, samples::kFormat565);
    return WriteTextureFile(folder, name,
                            samples::BareImageFile({samples::kFormat565, width, height, 2 * width}, data));
}

QByteArray BytesOf(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

QString WriteTextureFile(const QString& folder, const QString& name, const std::vector<std::uint8_t>& bytes) {
    return WriteBytes(folder, name, BytesOf(bytes));
}

QStringList WriteNumberedTextures(const QString& folder, int count) {
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths << WriteSolidTexture(folder, u"t%1.pbf"_s.arg(i, 2, 10, QLatin1Char('0')), 10 + i, 4,
                                   qRgb(255, 0, 0));
    }
    return paths;
}

int EntryShownIn(const QWidget& box) {
    return box.isVisible() ? box.width() - 10 : -1;
}

QString WritePicture(const QString& folder, const QString& name, const QImage& image, int quality) {
    const QString path = QDir(folder).filePath(name);
    image.save(path, name.right(3).toLower() == u"jpg"_s ? "JPG" : "BMP", quality);
    return path;
}

QImage SolidImage(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage Quadrants(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, kQuadrant[(x >= width / 2 ? 1 : 0) + (y >= height / 2 ? 2 : 0)]);
        }
    }
    return image;
}

QString WriteBytes(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QByteArray Le16(quint16 value) {
    return {reinterpret_cast<const char*>(&value), 2};
}

QByteArray Le32(quint32 value) {
    return {reinterpret_cast<const char*>(&value), 4};
}

QByteArray Jpeg(const QImage& image, bool progressive) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return buffer.data();
}

QByteArray WithOrientation(const QByteArray& jpeg, quint16 orientation) {
    // A little-endian TIFF header, then the directory at offset 8: one entry (tag 0x0112, type SHORT,
    // count 1, the value), and no next directory.
    const QByteArray tiff = "II" + Le16(42) + Le32(8) + Le16(1) + Le16(0x0112) + Le16(3) + Le32(1) +
                            Le16(orientation) + Le16(0) + Le32(0);
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    const auto length = static_cast<quint16>(2 + exif.size());
    return jpeg.left(2) + "\xFF\xE1" + char(length >> 8) + char(length & 0xFF) + exif + jpeg.mid(2);
}

QByteArray RunLengthBmp(quint32 side) {
    const QByteArray runs("\x10\x01\x10\x02\x00\x01", 6);  // 16 pixels of 1, 16 of 2, the end
    const QByteArray info = Le32(40) + Le32(side) + Le32(side) + Le16(1) + Le16(8) + Le32(1) +
                            Le32(static_cast<quint32>(runs.size())) + Le32(2835) + Le32(2835) + Le32(256) +
                            Le32(0) + QByteArray(1024, '\x40');
    const auto offset = static_cast<quint32>(14 + info.size());
    return "BM" + Le32(offset + static_cast<quint32>(runs.size())) + Le32(0) + Le32(offset) + info + runs;
}

OpenCounter::OpenCounter(const QString& folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    ::inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN);
}

OpenCounter::~OpenCounter() {
    ::close(fd_);
}

int OpenCounter::Opens(const QString& name) {
    alignas(inotify_event) char buffer[4096];
    for (ssize_t got = 0; (got = ::read(fd_, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + got;
             at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(at)->len) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0) {  // events of the folder itself carry no name
                ++counts_[QFile::decodeName(event->name)];
            }
        }
    }
    return counts_.value(name);
}

}  // namespace tamsel::testing
