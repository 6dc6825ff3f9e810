// Files, folders and settings that try to break the viewer: each gets its message or its silent
// fallback, and the window stays usable.
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "browse/ImageKind.h"
#include "platform/DirListBox.h"
#include "platform/FileListBox.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
#include "samples/TextureFiles.h"
#include "shell/FrmImageViewer.h"
#include "shell/Registry.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using testing::TestPlatform;

namespace {

// The window still shows a good picture of its folder after whatever went before.
void ExpectUsable(FrmImageViewer& window) {
    testing::WriteSolidTexture(window.dirList->Path(), QStringLiteral("zz-good.pbf"), 12, 6, qRgb(0, 0, 255));
    window.dirList_Change();
    for (int i = 0; i < window.filList->ListCount(); ++i) {
        if (window.filList->EntryName(i) == QStringLiteral("zz-good.pbf")) {
            window.filList->SetListIndex(i);
        }
    }
    window.OpenSelectedImage(0);
    QVERIFY(window.Picture3[0]->isVisible());
    QCOMPARE(window.Picture3[0]->size(), QSize(12, 6));
    QVERIFY(!platform::MousePointer::IsBusy());
}

}  // namespace

class HostileInputTest : public QObject {
    Q_OBJECT
private slots:
    void picturesThatCannotBeShown_data();
    void picturesThatCannotBeShown();
    void namesThatAreNotValidText();
    void aFolderOfMoreThan32767Files();
    void brokenSettingsFallBackSilently_data();
    void brokenSettingsFallBackSilently();
};

void HostileInputTest::picturesThatCannotBeShown_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    const auto bytes = [](const samples::Bytes& file) {
        return QByteArray(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size()));
    };
    // Canvases as wide as the pixel cap allows, too wide for the toolkit to make: 54, 172 and 194 bytes.
    const samples::Bytes pixels(2, 0x7F);
    QTest::newRow("bare texture 2^26 x 1")
        << "wide.pbf" << bytes(samples::BareImageFile({3, 1 << 26, 1, 1 << 27}, pixels));
    samples::MipFields mip;
    mip.image = {0, 1 << 26, 1, 0};
    mip.paletteChunk = samples::PaletteChunk::BeforeImage;
    QTest::newRow("4-bit MIP 2^26 x 1") << "wide.mip" << bytes(samples::MipFile(mip, pixels));
    QTest::newRow("SRB 2^26 x 1") << "wide.srb"
                                  << bytes(samples::SrbFile(samples::MipFile(mip, pixels), pixels));
    QTest::newRow("empty JPEG") << "empty.jpg" << QByteArray();
    QTest::newRow("text named .bmp") << "notes.bmp" << QByteArray("just some words, no picture\n");
    // A BMP header claiming 60000 x 50000 pixels of 24 bits and carrying none of them.
    QByteArray huge("BM", 2);
    const auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    huge += le32(54) + le32(0) + le32(54) + le32(40) + le32(60000) + le32(50000) +
            QByteArray("\x01\x00\x18\x00", 4) + le32(0) + le32(0) + le32(2835) + le32(2835) + le32(0) +
            le32(0);
    QTest::newRow("BMP claiming 60000 x 50000") << "huge.bmp" << huge;
}

// Each gets its one message in the single view and again in a page, where its cell stays empty and
// the good file beside it is drawn.
void HostileInputTest::picturesThatCannotBeShown() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    TestPlatform platform;
    testing::WriteBytes(platform.programFolder, name, content);
    FrmImageViewer window(platform.Build());
    window.show();
    window.filList->SetListIndex(0);
    window.filList_DblClick();
    QCOMPARE(platform.messages->shown.size(), std::size_t{1});
    const QString message = browse::IsPictureName(name)
                                ? QStringLiteral("Sorry, but Image Viewer cannot display this file:\r\r") +
                                      QDir(platform.programFolder).filePath(name)
                                : QStringLiteral("Not a valid texture file");
    QCOMPARE(platform.messages->shown.front().text, message);
    QVERIFY(!window.Picture3[0]->isVisible());
    ExpectUsable(window);
    window.mnuViewThumbnails_Click();
    QCOMPARE(platform.messages->shown.size(), std::size_t{2});
    QCOMPARE(platform.messages->shown.back().text, message);
    QVERIFY(!window.Picture3[1]->isVisible());
    QVERIFY(window.Picture3[2]->isVisible());
}

// Names that are not valid UTF-8 keep their bytes end to end: the folder is entered from the folder
// list, its files open and step, and the folder is remembered and restored.
void HostileInputTest::namesThatAreNotValidText() {
    TestPlatform platform;
    const QByteArray folder = QFile::encodeName(platform.programFolder) + "/caf\xe9-latin1";
    QVERIFY(::mkdir(folder.constData(), 0755) == 0);
    const QString staging = testing::MakeFolder(platform.sandbox.path(), QStringLiteral("staging"));
    testing::WriteSolidTexture(staging, QStringLiteral("a.pbf"), 4, 4, qRgb(255, 0, 0));
    testing::WritePicture(staging, QStringLiteral("b.bmp"), testing::SolidImage(6, 3, qRgb(0, 255, 0)));
    QVERIFY(::rename(QFile::encodeName(staging + "/a.pbf").constData(),
                     (folder + "/bad\xff\xfe name.pbf").constData()) == 0);
    QVERIFY(::rename(QFile::encodeName(staging + "/b.bmp").constData(),
                     (folder + "/bad\xc3(.bmp").constData()) == 0);
    {
        FrmImageViewer window(platform.Build());
        window.show();
        int entry = 0;
        while (!window.dirList->EntryPath(entry).contains(QStringLiteral("-latin1"))) {
            QVERIFY(++entry < window.dirList->count());
        }
        // What a double click on the folder does.
        window.dirList->SetPath(window.dirList->EntryPath(entry));
        QCOMPARE(window.filList->ListCount(), 2);
        window.filList->SetListIndex(0);
        window.filList_DblClick();
        window.cmdNext_Click();
        QVERIFY(platform.messages->shown.empty());
        QCOMPARE(window.Picture3[0]->size(), QSize(4, 4));
        window.cmdNext_Click();
        QCOMPARE(window.Picture3[0]->size(), QSize(6, 3));
        QCOMPARE(window.Picture3[0]->Surface().pixel(0, 0), qRgb(0, 255, 0));
        window.mnuExit_Click();
    }
    FrmImageViewer restarted(platform.Build());
    QCOMPARE(restarted.filList->ListCount(), 2);
}

void HostileInputTest::aFolderOfMoreThan32767Files() {
    TestPlatform platform;
    const QString folder = testing::MakeFolder(platform.sandbox.path(), QStringLiteral("many"));
    const QString first =
        testing::WriteSolidTexture(folder, QStringLiteral("t00000.pbf"), 4, 4, qRgb(0, 255, 0));
    constexpr int kCount = 33'000;
    for (int i = 1; i < kCount; ++i) {
        const QByteArray name = QFile::encodeName(
            QDir(folder).filePath(QStringLiteral("t%1.pbf").arg(i, 5, 10, QLatin1Char('0'))));
        QVERIFY(::link(QFile::encodeName(first).constData(), name.constData()) == 0);
    }
    FrmImageViewer window(platform.Build());
    window.show();
    QVERIFY(window.dirList->SetPath(folder));
    QCOMPARE(window.filList->ListCount(), kCount);
    window.filList->SetListIndex(kCount - 1);
    window.filList_DblClick();
    window.cmdNext_Click();
    QCOMPARE(window.filList->ListIndex(), 0);
    window.cmdPrevious_Click();
    QCOMPARE(window.filList->ListIndex(), kCount - 1);
    QCOMPARE(window.windowTitle(), QStringLiteral("Tamsel Image Viewer: t32999.pbf"));

    window.mnuViewThumbnails_Click();
    window.PageStart = kCount - 4;
    window.ShowThumbnailPage();
    QCOMPARE(window.filList->ListIndex(), 4);
    window.Picture3_Click(3);
    QCOMPARE(window.filList->ListIndex(), kCount - 2);
    window.cmdNext_Click();
    QCOMPARE(window.PageStart, kCount - 1);
    QVERIFY(platform.messages->shown.empty());
}

void HostileInputTest::brokenSettingsFallBackSilently_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("corrupt file") << "corrupt";
    QTest::newRow("settings file is a folder") << "folder";
    QTest::newRow("configuration folder cannot be made") << "blocked";
}

void HostileInputTest::brokenSettingsFallBackSilently() {
    QFETCH(QString, how);
    TestPlatform platform;
    const QString configFolder = QFileInfo(platform.settingsFile).absolutePath();
    if (how == QStringLiteral("corrupt")) {
        QDir().mkpath(configFolder);
        testing::WriteBytes(
            configFolder, QFileInfo(platform.settingsFile).fileName(),
            QByteArray("[HKEY_LOCAL_MACHINE\\Software\\Corvane Software Store\\Tamsel Image Viewer]\n"
                       "LastUsedPath=\\q\x00\xff\n\xfe\xfe",
                       90));
    } else if (how == QStringLiteral("folder")) {
        QDir().mkpath(platform.settingsFile);
    } else {
        testing::WriteBytes(QFileInfo(configFolder).absolutePath(), QFileInfo(configFolder).fileName(),
                            "a file");
    }
    FrmImageViewer window(platform.Build());
    window.show();
    QCOMPARE(window.dirList->Path(), platform.programFolder);
    window.mnuExit_Click();
    QCOMPARE(platform.end->ends, 1);
    QVERIFY(platform.messages->shown.empty());
    const QString stored =
        Registry::GetRegString(platform::SettingsStore(platform.settingsFile), Registry::kMachineRoot,
                               Registry::kViewerKey, Registry::kLastUsedPath, QStringLiteral("<none>"));
    QCOMPARE(stored,
             how == QStringLiteral("corrupt") ? platform.programFolder + u'/' : QStringLiteral("<none>"));
}

QTEST_MAIN(HostileInputTest)
#include "HostileInputTest.moc"
