#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QWidget>

#include "samples/Pictures.h"
#include "samples/TextureFiles.h"

namespace tamsel::testing {

void RecordingMessages::Show(QWidget* /*parent*/, const QString& caption, const QString& text,
                             platform::MessageIcon icon) {
    shown.push_back({caption, text, icon});
    if (onShow) {
        onShow(shown.back());
    }
}

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
      programFolder(MakeFolder(sandbox.path(), QStringLiteral("program"))),
      settingsFile(sandbox.filePath(QStringLiteral("config/Tamsel Image Viewer.ini"))) {}

platform::Platform TestPlatform::Build() const {
    return {screenSize, programFolder, settingsFile, messages, clock, random, events, end, screenSaver};
}

QString MakeFolder(const QString& parent, const QString& name) {
    QDir(parent).mkpath(name);
    return QDir(parent).filePath(name);
}

QString WriteSolidTexture(const QString& folder, const QString& name, int width, int height, QRgb colour) {
    samples::Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
        samples::Rgb(static_cast<std::uint32_t>(qRed(colour)), static_cast<std::uint32_t>(qGreen(colour)),
                     static_cast<std::uint32_t>(qBlue(colour))));
    const samples::Bytes data = samples::EncodeWords(picture, samples::kFormat565);
    return WriteTextureFile(folder, name,
                            samples::BareImageFile({samples::kFormat565, width, height, 2 * width}, data));
}

QString WriteTextureFile(const QString& folder, const QString& name, const std::vector<std::uint8_t>& bytes) {
    return WriteBytes(
        folder, name,
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
}

QStringList WriteNumberedTextures(const QString& folder, int count) {
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths << WriteSolidTexture(folder, QStringLiteral("t%1.pbf").arg(i, 2, 10, QLatin1Char('0')), 10 + i,
                                   4, qRgb(255, 0, 0));
    }
    return paths;
}

int EntryShownIn(const QWidget& box) {
    return box.isVisible() ? box.width() - 10 : -1;
}

QString WritePicture(const QString& folder, const QString& name, const QImage& image, int quality) {
    const QString path = QDir(folder).filePath(name);
    image.save(path, name.right(3).toLower() == QStringLiteral("jpg") ? "JPG" : "BMP", quality);
    return path;
}

QImage SolidImage(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QString WriteBytes(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

MeanColour MeanOf(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    double red = 0;
    double green = 0;
    double blue = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            red += qRed(line[x]);
            green += qGreen(line[x]);
            blue += qBlue(line[x]);
        }
    }
    const double count = static_cast<double>(rgb.width()) * rgb.height();
    return {red / count, green / count, blue / count};
}

}  // namespace tamsel::testing
