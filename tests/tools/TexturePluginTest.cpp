// Run with QT_PLUGIN_PATH naming the build tree's plugins folder.
#include <QImageReader>
#include <QTemporaryDir>

#include "ToolTesting.h"

using namespace tamsel;
using namespace tamsel::tooltests;

namespace {

bool KnownByContent(const samples::Sample& sample) {
    const std::string tag(sample.bytes.begin(),
                          sample.bytes.begin() + std::min<std::ptrdiff_t>(4, std::ssize(sample.bytes)));
    return tag == " BRS" || tag == "PAMB" || tag == "PIM ";
}

}  // namespace

// Qt programs read the texture files through the plugin: by name, and by their first tag when the name
// says nothing.
class TexturePluginTest : public QObject {
    Q_OBJECT

private slots:
    void formatsAndTypes() {
        const auto formats = QImageReader::supportedImageFormats();
        const auto types = QImageReader::supportedMimeTypes();
        for (const char* key : {"mip", "srb", "pbf"}) {
            QVERIFY2(formats.contains(key), key);
            QVERIFY(types.contains(QByteArray("image/x-tamsel-") + key));
        }
    }

    void samples_data() {
        QTest::addColumn<QString>("name");
        for (const samples::Sample& sample : samples::Catalogue()) {
            QTest::newRow(sample.name.c_str()) << QString::fromStdString(sample.name);
        }
    }

    // A good sample gives its size from the headers and its canvas pixel for pixel (a canvas without
    // pixels makes no image); a bad one gives nothing.
    void samples() {
        QFETCH(QString, name);
        const samples::Sample& sample = SampleNamed(name.toStdString());
        QTemporaryDir dir;
        const QString named = WriteSample(dir.path(), sample.name);
        const QString bare = WriteFile(dir.path(), "no-extension", sample.bytes);
        for (const QString& path : {named, bare}) {
            QImageReader reader(path);
            const bool known = path == named || KnownByContent(sample);
            QCOMPARE(reader.canRead(), known);
            if (!sample.expected || !known) {
                QVERIFY(reader.read().isNull());
                continue;
            }
            const samples::Picture canvas = samples::FreshPicture(sample);
            QCOMPARE(reader.size(), QSize(canvas.width, canvas.height));
            const QImage image = reader.read();
            QCOMPARE(image.isNull(), canvas.pixels.empty());
            if (!image.isNull()) {
                QCOMPARE(image.format(), QImage::Format_RGB32);
                ComparePicture(image, canvas);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TexturePluginTest)
#include "TexturePluginTest.moc"
