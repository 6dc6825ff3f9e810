// The image-format plugin of this build, as any Qt program loads it: a texture it refuses is logged
// once, as a warning in its own category with the reader's reason; a texture it reads is not.
#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include "support/SampleNamed.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using namespace Qt::StringLiterals;

namespace {

struct Logged {
    QtMsgType type;
    QString category;
    QString text;
};

QList<Logged>* logged = nullptr;

void Record(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    logged->append({type, QString::fromUtf8(context.category), text});
}

}  // namespace

class ImagePluginTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCoreApplication::addLibraryPath(QStringLiteral(TAMSEL_PLUGINS));
        QVERIFY(QImageReader::supportedImageFormats().contains("mip"));
    }

    void init() {
        logged = &messages_;
        previous_ = qInstallMessageHandler(Record);
    }

    void cleanup() {
        qInstallMessageHandler(previous_);
        logged = nullptr;
        messages_.clear();
    }

    void refusalsAreLogged_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("cut inside the palette") << u"bad-palette-cut"_s;
        QTest::newRow("empty") << u"bad-empty"_s;
        QTest::newRow("canvas over the limit") << u"bad-canvas-over-cap"_s;
        QTest::newRow("a good texture") << u"mip-palette-first"_s;
    }

    // Read from a file, the warning names it; read from memory, it gives the reason alone. Asking for
    // the size first logs nothing more.
    void refusalsAreLogged() {
        QFETCH(QString, name);
        const samples::Sample& sample = testing::SampleNamed(name.toStdString());
        const QString path = testing::WriteTextureFile(dir_.path(), name + ".mip", sample.bytes);
        const QString warning = u"Not a valid texture file: "_s + QString::fromStdString(sample.reason);

        QImageReader fromFile(path);
        fromFile.size();
        QCOMPARE(fromFile.read().isNull(), !sample.expected);
        QByteArray bytes(reinterpret_cast<const char*>(sample.bytes.data()), std::ssize(sample.bytes));
        QBuffer memory(&bytes);
        QImageReader fromMemory(&memory, "mip");
        QCOMPARE(fromMemory.read().isNull(), !sample.expected);

        QList<QStringList> expected;
        if (!sample.expected) {
            expected = {{"tamsel.imageformats", path + u": "_s + warning}, {"tamsel.imageformats", warning}};
        }
        QList<QStringList> warnings;
        for (const Logged& message : messages_) {
            QCOMPARE(message.type, QtWarningMsg);
            warnings.append({message.category, message.text});
        }
        QCOMPARE(warnings, expected);
    }

private:
    QTemporaryDir dir_;
    QList<Logged> messages_;
    QtMessageHandler previous_ = nullptr;
};

QTEST_GUILESS_MAIN(ImagePluginTest)
#include "ImagePluginTest.moc"
