#pragma once

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Platform.h"

// Fakes of the platform's services, so that a test decides what the window sees: the screen, the
// clock, the random draws and the event queue, and records what it says and when it ends.
namespace tamsel::testing {

struct ShownMessage {
    QString caption;
    QString text;
    platform::MessageIcon icon;
};

class RecordingMessages final : public platform::MessageSink {
public:
    void Show(QWidget* /*parent*/, const QString& caption, const QString& text,
              platform::MessageIcon icon) override {
        shown.push_back({caption, text, icon});
        if (onShow) {
            onShow(shown.back());
        }
    }
    std::vector<ShownMessage> shown;
    std::function<void(const ShownMessage&)> onShow;  // runs while the "box" is open
};

class FakeClock final : public platform::Clock {
public:
    double SecondsSinceMidnight() override { return now; }
    void Advance(double seconds);  // wraps at midnight
    double now = 36'000.0;
};

class ScriptedRandom final : public platform::RandomSource {
public:
    void Reseed(double seed) override { seeds.push_back(seed); }
    double Next() override;
    std::deque<double> draws;  // the next r values; 0 when none are left
    std::vector<double> seeds;
};

// The event queue of a test: each yield runs `onYield` (which may click, choose menu items or move
// the clock) and then lets the clock run to the end of the wait, so a 60-second interval passes at
// once; or, with a positive `step`, only that many seconds on.
class ScriptedEvents final : public platform::EventQueue {
public:
    explicit ScriptedEvents(FakeClock& clock) : clock_(clock) {}
    void Yield(double maxSeconds) override;
    std::function<void(double)> onYield;
    int yields = 0;
    double step = 0.0;

private:
    FakeClock& clock_;
};

class RecordingEnd final : public platform::ProgramEnd {
public:
    void EndProgram() override { ++ends; }
    int ends = 0;
};

class RecordingScreenSaver final : public platform::ScreenSaver {
public:
    void Inhibit() override { inhibited = true; }
    void Release() override { inhibited = false; }
    bool inhibited = false;
};

// Everything a window test hands the window, with its fakes kept at hand.
struct TestPlatform {
    explicit TestPlatform(QSize screen = {1024, 768});

    platform::Platform Build() const;

    QTemporaryDir sandbox;  // the program's folder, the settings file and the test's folders
    QSize screenSize;
    QString programFolder;
    QString settingsFile;
    std::shared_ptr<RecordingMessages> messages = std::make_shared<RecordingMessages>();
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<ScriptedRandom> random = std::make_shared<ScriptedRandom>();
    std::shared_ptr<ScriptedEvents> events = std::make_shared<ScriptedEvents>(*clock);
    std::shared_ptr<RecordingEnd> end = std::make_shared<RecordingEnd>();
    std::shared_ptr<RecordingScreenSaver> screenSaver = std::make_shared<RecordingScreenSaver>();
};

// A folder of the sandbox, created on demand.
QString MakeFolder(const QString& parent, const QString& name);

// The bytes of a file made by the sample generator.
QByteArray BytesOf(const std::vector<std::uint8_t>& bytes);

// Writes the bytes of a texture file made by the sample generator. Returns its path.
QString WriteTextureFile(const QString& folder, const QString& name, const std::vector<std::uint8_t>& bytes);

// Writes a bare 5:6:5 texture of `width` x `height` in one colour (exactly representable: every
// channel 0 or of the form f << k | fill). Returns its path.
QString WriteSolidTexture(const QString& folder, const QString& name, int width, int height, QRgb colour);

// Writes `count` small textures t00.pbf, t01.pbf, ... into `folder`, entry i being 10 + i pixels wide,
// so that the width of a shown box tells which entry it holds. Returns their paths.
QStringList WriteNumberedTextures(const QString& folder, int count);

// The entry a shown box holds, by that width; -1 when the box is hidden.
int EntryShownIn(const QWidget& box);

// Writes a picture with Qt's writer in the format its name ends in ("jpg" or "bmp").
QString WritePicture(const QString& folder, const QString& name, const QImage& image, int quality = 95);

// A picture of `width` x `height` in one colour.
QImage SolidImage(int width, int height, QRgb colour);

// The colours of a picture in quadrants: top left, top right, bottom left, bottom right.
inline constexpr QRgb kQuadrant[] = {qRgb(200, 40, 40), qRgb(40, 200, 40), qRgb(40, 40, 220),
                                     qRgb(240, 240, 40)};

// A picture of `width` x `height` in four quadrants of those colours.
QImage Quadrants(int width, int height);

// Writes `bytes` as a file.
QString WriteBytes(const QString& folder, const QString& name, const QByteArray& bytes);

// Little-endian bytes of a value, for files written by hand.
QByteArray Le16(quint16 value);
QByteArray Le32(quint32 value);

// A JPEG of `image` as Qt's writer writes it, baseline or progressive.
QByteArray Jpeg(const QImage& image, bool progressive = false);

// `jpeg` with an Exif segment right after its start whose first directory holds one entry: the
// orientation `orientation` (1 to 8).
QByteArray WithOrientation(const QByteArray& jpeg, quint16 orientation);

// An 8-bit run-length BMP of about 1 KB that claims `side` x `side` pixels: two short runs, then the end.
QByteArray RunLengthBmp(quint32 side);

// Counts, by name, the opens of the files in one folder from the object's making on.
class OpenCounter {
public:
    explicit OpenCounter(const QString& folder);
    OpenCounter(const OpenCounter&) = delete;
    OpenCounter& operator=(const OpenCounter&) = delete;
    ~OpenCounter();
    int Opens(const QString& name);

private:
    int fd_;
    QHash<QString, int> counts_;
};

}  // namespace tamsel::testing
