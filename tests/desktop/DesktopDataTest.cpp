// Run with XDG_DATA_DIRS naming a data folder that holds the viewer's MIME package first, so that the MIME
// database seen here is the one a desktop builds from the installed files.
#include <QFile>
#include <QMimeDatabase>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "Version.h"
#include "samples/TextureFiles.h"

using namespace tamsel;
using namespace Qt::StringLiterals;

namespace {

const QString kMipType = u"image/x-tamsel-mip"_s;
const QString kSrbType = u"image/x-tamsel-srb"_s;
const QString kBareImageType = u"image/x-tamsel-pbf"_s;

QByteArray ToByteArray(const samples::Bytes& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// One of the configured files of the desktop data, named by the application id and `suffix`.
QByteArray ReadDataFile(const QString& suffix) {
    QFile file(QStringLiteral(TAMSEL_DATA_DIR "/") + QString::fromLatin1(kApplicationId) + suffix);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("cannot read %s", qPrintable(file.fileName()));
    }
    return file.readAll();
}

// The MIME types after "MimeType=" in the desktop entry.
QStringList DesktopEntryTypes() {
    for (const QByteArray& line : ReadDataFile(u".desktop"_s).split('\n')) {
        if (line.startsWith("MimeType=")) {
            return QString::fromUtf8(line.mid(9)).split(u';', Qt::SkipEmptyParts);
        }
    }
    return {};
}

struct Metainfo {
    QStringList mediaTypes;
    QStringList releases;  // their versions, in the order listed
};

Metainfo ReadMetainfo() {
    QXmlStreamReader xml(ReadDataFile(u".metainfo.xml"_s));
    Metainfo metainfo;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"mediatype") {
            metainfo.mediaTypes.append(xml.readElementText());
        } else if (xml.isStartElement() && xml.name() == u"release") {
            metainfo.releases.append(xml.attributes().value(u"version"_s).toString());
        }
    }
    if (xml.hasError()) {
        qFatal("the AppStream data is not well-formed: %s", qPrintable(xml.errorString()));
    }
    return metainfo;
}

}  // namespace

class DesktopDataTest : public QObject {
    Q_OBJECT

private slots:
    void texturesWithoutExtensionAreKnownByTheirFirstBytes_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("type");
        const samples::ImageFields image{samples::kFormat565, 4, 2, 8};
        const samples::Bytes data = samples::EncodeWords(samples::BlankPicture(4, 2), samples::kFormat565);
        const samples::Bytes mip = samples::MipFile({.image = image}, data);
        QTest::newRow("bare image") << ToByteArray(samples::BareImageFile(image, data)) << kBareImageType;
        QTest::newRow("SRB wrapper") << ToByteArray(samples::SrbFile(mip, samples::Bytes{1, 2, 3}))
                                     << kSrbType;
        QTest::newRow("MIP file") << ToByteArray(mip) << kMipType;
    }

    void texturesWithoutExtensionAreKnownByTheirFirstBytes() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, type);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QFile file(folder.filePath(u"texture"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(contents), contents.size());
        file.close();
        QCOMPARE(QMimeDatabase().mimeTypeForFile(file.fileName()).name(), type);
    }

    void texturesAreKnownByTheirExtensionInEitherCase_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("x.mip") << "x.mip" << kMipType;
        QTest::newRow("x.MIP") << "x.MIP" << kMipType;
        QTest::newRow("x.Mip, no known kind") << "x.Mip" << u"application/octet-stream"_s;
        QTest::newRow("x.srb") << "x.srb" << kSrbType;
        QTest::newRow("x.SRB") << "x.SRB" << kSrbType;
        QTest::newRow("x.pbf") << "x.pbf" << kBareImageType;
        QTest::newRow("x.PBF") << "x.PBF" << kBareImageType;
    }

    void texturesAreKnownByTheirExtensionInEitherCase() {
        QFETCH(QString, name);
        QFETCH(QString, type);
        QCOMPARE(QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).name(), type);
    }

    // The desktop entry and the AppStream data offer the same types, the texture types among them, and
    // the MIME database knows each one under that very name rather than as an alias or not at all.
    void theOfferedTypesAreKnownUnderTheirOwnNames() {
        const QStringList offered = DesktopEntryTypes();
        const QStringList provided = ReadMetainfo().mediaTypes;
        QCOMPARE(QSet<QString>(offered.begin(), offered.end()),
                 QSet<QString>(provided.begin(), provided.end()));
        for (const QString& type : {kMipType, kSrbType, kBareImageType}) {
            QVERIFY2(offered.contains(type), qPrintable(type));
        }
        const QMimeDatabase database;
        for (const QString& type : offered) {
            QCOMPARE(database.mimeTypeForName(type).name(), type);
        }
    }

    void theNewestReleaseIsThisVersion() {
        const QStringList releases = ReadMetainfo().releases;
        QVERIFY(!releases.isEmpty());
        QCOMPARE(releases.first(), QString::fromLatin1(kVersionText));
    }
};

QTEST_GUILESS_MAIN(DesktopDataTest)
#include "DesktopDataTest.moc"
