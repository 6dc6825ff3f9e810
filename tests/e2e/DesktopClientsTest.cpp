// The installation as the desktop's own clients use it. The thumbnail service (tumbler) runs on a private
// session bus with the staged prefix on its XDG_DATA_DIRS and PATH, and makes thumbnails of textures
// through the installed thumbnailer entry. This Qt 6 program reads textures through the installed
// image-format plugin, found through QT_PLUGIN_PATH.
#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QImageReader>
#include <QSet>
#include <QTest>
#include <QUrl>

#include "e2e/Desktop.h"
#include "support/Processes.h"
#include "support/SampleNamed.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::SampleNamed;

namespace {

const QString kService = u"org.freedesktop.thumbnails.Thumbnailer1"_s;

// The service's program, below the system's library folder.
QString TumblerDaemon() {
    for (const QString& folder : QDir(u"/usr/lib"_s).entryList({u"*-linux-gnu"_s}, QDir::Dirs)) {
        const QString daemon = u"/usr/lib/%1/tumbler-1/tumblerd"_s.arg(folder);
        if (QFileInfo(daemon).isExecutable()) {
            return daemon;
        }
    }
    return {};
}

// The bare image of a 600 x 400 test card.
samples::Bytes TestCard() {
    const samples::Picture canvas =
        samples::DrawTestCard(600, 400, samples::BitsOfFormat(samples::kFormat565));
    return samples::BareImageFile({samples::kFormat565, 600, 400, 1200},
                                  samples::EncodeWords(canvas, samples::kFormat565));
}

}  // namespace

// What the thumbnail service says about a request, as it says it.
class ServiceSignals : public QObject {
    Q_OBJECT
public:
    QSet<QString> ready;
    QSet<QString> failed;
    QSet<uint> finished;

public slots:
    void Ready(uint, const QStringList& uris) { ready.unite(QSet<QString>(uris.begin(), uris.end())); }
    void Error(uint, const QStringList& uris, int, const QString&) {
        failed.unite(QSet<QString>(uris.begin(), uris.end()));
    }
    void Finished(uint handle) { finished.insert(handle); }
};

class DesktopClientsTest : public QObject {
    Q_OBJECT

private slots:
    // Asked for thumbnails of good and bad textures, the service reports each good one ready and keeps
    // it in the cache under the MD5 of its URI, with Thumb::URI naming the texture: pixel for pixel the
    // thumbnail the installed tool makes at the flavour's size. Each bad one it reports as an error,
    // with no thumbnail.
    void theThumbnailServiceMakesThumbnails() {
        const QString daemon = TumblerDaemon();
        QVERIFY2(!daemon.isEmpty(), "no tumblerd: install tumbler (E2E_PACKAGES in scripts/common.sh)");
        QProcess bus;
        e2e::StartTied(bus, u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        QVERIFY(bus.waitForReadyRead(10'000));
        const QString address = QString::fromLatin1(bus.readLine().trimmed());

        const QString home = dir_.filePath(u"home"_s);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, address);
        environment.insert(u"HOME"_s, home);
        environment.insert(u"XDG_CACHE_HOME"_s, home + u"/cache"_s);
        environment.insert(u"XDG_CONFIG_HOME"_s, home + u"/config"_s);
        environment.insert(u"XDG_DATA_DIRS"_s, TAMSEL_STAGE "/share:/usr/local/share:/usr/share"_L1);
        environment.insert(u"PATH"_s, TAMSEL_STAGE "/bin:"_L1 + environment.value(u"PATH"_s));
        QProcess tumbler;
        tumbler.setProcessEnvironment(environment);
        tumbler.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        e2e::StartTied(tumbler, daemon, {});
        QDBusConnection connection = QDBusConnection::connectToBus(address, u"private"_s);
        QVERIFY2(connection.isConnected(), qPrintable(connection.lastError().message()));
        // On its first start in a home the service first looks through the media plugins: give it time.
        QVERIFY(e2e::WaitUntil([&] { return connection.interface()->isServiceRegistered(kService).value(); },
                               60'000));

        ServiceSignals said;
        const QString path = u"/org/freedesktop/thumbnails/Thumbnailer1"_s;
        for (const char* slot : {SLOT(Ready(uint, QStringList)), SLOT(Error(uint, QStringList, int, QString)),
                                 SLOT(Finished(uint))}) {
            const QString name = QString::fromLatin1(slot + 1).section(u'(', 0, 0);
            QVERIFY(connection.connect(kService, path, kService, name, &said, slot));
        }

        const QStringList files{
            testing::WriteTextureFile(dir_.path(), u"card.pbf"_s, TestCard()),
            testing::WriteTextureFile(dir_.path(), u"odd.srb"_s, SampleNamed("srb-odd").bytes),
            testing::WriteTextureFile(dir_.path(), u"cut.mip"_s, SampleNamed("bad-palette-cut").bytes),
            testing::WriteTextureFile(dir_.path(), u"empty.pbf"_s, SampleNamed("bare-zero-width").bytes)};
        QStringList uris;
        for (const QString& file : files) {
            uris << QUrl::fromLocalFile(file).toString();
        }
        const QStringList types{u"image/x-tamsel-pbf"_s, u"image/x-tamsel-srb"_s, u"image/x-tamsel-mip"_s,
                                u"image/x-tamsel-pbf"_s};
        QDBusInterface thumbnailer(kService, path, kService, connection);
        const QDBusReply<uint> handle =
            thumbnailer.call(u"Queue"_s, uris, types, u"normal"_s, u"default"_s, 0U);
        QVERIFY2(handle.isValid(), qPrintable(handle.error().message()));
        QVERIFY(QTest::qWaitFor([&] { return said.finished.contains(handle.value()); }, 60'000));

        QCOMPARE(said.ready, QSet<QString>({uris[0], uris[1]}));
        QCOMPARE(said.failed, QSet<QString>({uris[2], uris[3]}));
        const QSize sizes[] = {{128, 85}, {37, 23}};
        QStringList made = QDir(home + u"/cache/thumbnails/normal"_s).entryList(QDir::Files);
        for (int i = 0; i < 4; ++i) {
            const QString name =
                QString::fromLatin1(
                    QCryptographicHash::hash(uris[i].toUtf8(), QCryptographicHash::Md5).toHex()) +
                u".png"_s;
            QCOMPARE(made.removeAll(name), i < 2 ? 1 : 0);
            if (i >= 2) {
                continue;
            }
            const QImage thumbnail(home + u"/cache/thumbnails/normal/"_s + name);
            QCOMPARE(thumbnail.size(), sizes[i]);
            QCOMPARE(thumbnail.text(u"Thumb::URI"_s), uris[i]);
            const QString own = dir_.filePath(u"own.png"_s);
            QCOMPARE(testing::Run(TAMSEL_STAGE "/bin/tamsel-texture"_L1,
                                  {u"thumbnail"_s, u"-s"_s, u"128"_s, files[i], own})
                         .status,
                     0);
            QCOMPARE(testing::Difference(thumbnail.convertToFormat(QImage::Format_RGB32), QImage(own)), 0);
        }
        QCOMPARE(made, QStringList());
        tumbler.terminate();
        bus.terminate();
        QVERIFY(tumbler.waitForFinished() && bus.waitForFinished());
    }

    void pluginSamples_data() {
        QTest::addColumn<QString>("name");
        for (const samples::Sample& sample : testing::AllSamples()) {
            QTest::newRow(sample.name.c_str()) << QString::fromStdString(sample.name);
        }
    }

    // Through the plugin, by name and by the first tag when the name says nothing: a good sample gives its
    // size from the headers and its canvas pixel for pixel (a canvas without pixels makes no image); a bad
    // one gives nothing.
    void pluginSamples() {
        QFETCH(QString, name);
        const samples::Sample& sample = SampleNamed(name.toStdString());
        const QString named = testing::WriteTextureFile(
            dir_.path(), QString::fromStdString(sample.name + sample.extension), sample.bytes);
        const QString bare = testing::WriteTextureFile(dir_.path(), u"no-extension"_s, sample.bytes);
        const std::string tag(sample.bytes.begin(),
                              sample.bytes.begin() + std::min<std::ptrdiff_t>(4, std::ssize(sample.bytes)));
        const bool knownByContent = tag == " BRS" || tag == "PAMB" || tag == "PIM ";
        for (const QString& path : {named, bare}) {
            QImageReader reader(path);
            const bool known = path == named || knownByContent;
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
                QCOMPARE(testing::Difference(image, testing::ImageOf(canvas)), 0);
            }
        }
    }

    // The plugin that reads them is the one installed in the staging prefix.
    void thePluginIsTheStagedOne() {
        const samples::Sample& sample = SampleNamed("bare-565");
        QCOMPARE(QImageReader(testing::WriteTextureFile(dir_.path(), u"x.pbf"_s, sample.bytes)).size(),
                 QSize(64, 48));
        QFile maps(u"/proc/self/maps"_s);
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QStringList loaded =
            QString::fromLocal8Bit(maps.readAll()).split(u'\n').filter(u"libtamsel-texture-imageformat.so"_s);
        QVERIFY2(!loaded.isEmpty() && loaded.filter(u" " TAMSEL_STAGE "/"_s).size() == loaded.size(),
                 qPrintable(loaded.join(u'\n')));
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(DesktopClientsTest)
#include "DesktopClientsTest.moc"
