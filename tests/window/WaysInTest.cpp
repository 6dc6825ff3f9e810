// Ways in from outside the window: the command line, drops and keys.
#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "platform/DirListBox.h"
#include "platform/DriveListBox.h"
#include "platform/FileListBox.h"
#include "platform/PictureBox.h"
#include "shell/FrmImageViewer.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using testing::TestPlatform;

namespace {

// Offers the window a drag of `path` and, when it takes it, drops it. True when the drop was taken.
bool Drop(FrmImageViewer& window, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = window.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    return drop.isAccepted();
}

int Shown(const FrmImageViewer& window) {
    return testing::EntryShownIn(*window.Picture3[0]);
}

// Twelve numbered textures and a text file in a folder of their own.
struct Pictures {
    explicit Pictures(TestPlatform& platform)
        : folder(testing::MakeFolder(platform.sandbox.path(), QStringLiteral("textures"))),
          files(testing::WriteNumberedTextures(folder, 12)) {
        testing::WriteBytes(folder, QStringLiteral("notes.txt"), "not a picture");
    }
    QString File(int i) const { return files[i]; }
    QString folder;
    QStringList files;
};

struct Output {
    QString out;
    QString error;
};

Output Run(const QStringList& arguments, const QString& config, int* exitCode) {
    QProcess viewer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    viewer.setProcessEnvironment(environment);
    viewer.start(QStringLiteral(TAMSEL_VIEWER_BINARY), arguments);
    if (!viewer.waitForFinished(1500)) {
        viewer.kill();
        viewer.waitForFinished();
    }
    *exitCode = viewer.exitStatus() == QProcess::NormalExit ? viewer.exitCode() : -1;
    return {QString::fromLocal8Bit(viewer.readAllStandardOutput()),
            QString::fromLocal8Bit(viewer.readAllStandardError())};
}

}  // namespace

class WaysInTest : public QObject {
    Q_OBJECT
private slots:
    void aFolderOpensInTheBrowser();
    void aPictureOpensInTheSingleView();
    void pathsThatCannotBeOpenedChangeNothing_data();
    void pathsThatCannotBeOpenedChangeNothing();
    void dropsAreTakenOnlyWhileBrowsingOrViewing();
    void arrowKeysStepLikeTheButtons();
    void homeAndEndGoToTheEnds();
    void keysDoNothingWhileTheButtonsCannotBeUsed();
    void f11TogglesFullScreen();
    void theCommandLine();
};

void WaysInTest::aFolderOpensInTheBrowser() {
    TestPlatform platform;
    const Pictures pictures(platform);
    FrmImageViewer window(platform.Build());
    window.show();
    QCOMPARE(window.OpenPath(pictures.folder), QString());
    QCOMPARE(window.dirList->Path(), pictures.folder);
    QCOMPARE(window.filList->ListCount(), 12);
    QCOMPARE(window.drvList->Drive(), window.drvList->itemText(window.drvList->currentIndex()));
    QVERIFY(window.Frame1->isVisible());
    QCOMPARE(Shown(window), -1);
}

void WaysInTest::aPictureOpensInTheSingleView() {
    TestPlatform platform;
    const Pictures pictures(platform);
    FrmImageViewer window(platform.Build());
    window.show();
    QCOMPARE(window.OpenPath(pictures.File(7)), QString());
    QVERIFY(!window.Label2->isVisible());
    QCOMPARE(window.dirList->Path(), pictures.folder);
    QCOMPARE(window.filList->ListIndex(), 7);
    QCOMPARE(Shown(window), 7);
    QVERIFY(!window.Frame1->isVisible());
    QVERIFY(window.cmdNext->isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("Tamsel Image Viewer: t07.pbf"));
}

void WaysInTest::pathsThatCannotBeOpenedChangeNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << "missing.pbf";
    QTest::newRow("no known kind") << "notes.txt";
}

void WaysInTest::pathsThatCannotBeOpenedChangeNothing() {
    QFETCH(QString, name);
    TestPlatform platform;
    const Pictures pictures(platform);
    FrmImageViewer window(platform.Build());
    window.show();
    QVERIFY(!window.OpenPath(QDir(pictures.folder).filePath(name)).isEmpty());
    QCOMPARE(window.dirList->Path(), platform.programFolder);
    QVERIFY(window.Frame1->isVisible());
}

void WaysInTest::dropsAreTakenOnlyWhileBrowsingOrViewing() {
    TestPlatform platform;
    const Pictures pictures(platform);
    FrmImageViewer window(platform.Build());
    window.show();
    QVERIFY(Drop(window, pictures.File(2)));
    QCOMPARE(Shown(window), 2);
    QVERIFY(Drop(window, pictures.folder));
    QVERIFY(!Drop(window, QDir(pictures.folder).filePath(QStringLiteral("notes.txt"))));

    window.mnuViewThumbnails_Click();
    QVERIFY(!Drop(window, pictures.File(3)));
    window.Picture3_DblClick(1);  // full size from a page: the thumbnail view is still on
    QVERIFY(!Drop(window, pictures.File(3)));
    window.mnuViewThumbnails_Click();

    bool takenDuringShow = true;
    platform.events->onYield = [&](double) {
        takenDuringShow = Drop(window, pictures.File(4));
        window.mnuEndSlideShow_Click();
    };
    window.mnuBeginSlideShow_Click();
    QVERIFY(!takenDuringShow);
}

void WaysInTest::arrowKeysStepLikeTheButtons() {
    TestPlatform platform;
    const Pictures pictures(platform);
    FrmImageViewer window(platform.Build());
    window.show();
    window.OpenPath(pictures.File(11));
    QTest::keyClick(&window, Qt::Key_Right);
    QCOMPARE(Shown(window), 0);
    QTest::keyClick(&window, Qt::Key_Left);
    QCOMPARE(Shown(window), 11);

    window.mnuViewThumbnails_Click();
    QTest::keyClick(&window, Qt::Key_Right);
    QCOMPARE(window.PageStart, 9);
    QTest::keyClick(&window, Qt::Key_Left);
    QCOMPARE(window.PageStart, 0);
}

void WaysInTest::homeAndEndGoToTheEnds() {
    TestPlatform platform;
    const Pictures pictures(platform);
    FrmImageViewer window(platform.Build());
    window.show();
    window.OpenPath(pictures.File(5));
    QTest::keyClick(&window, Qt::Key_End);
    QCOMPARE(Shown(window), 11);
    QTest::keyClick(&window, Qt::Key_Home);
    QCOMPARE(Shown(window), 0);
    // On a thumbnail page they do nothing.
    window.mnuViewThumbnails_Click();
    QTest::keyClick(&window, Qt::Key_End);
    QCOMPARE(window.PageStart, 0);
    QVERIFY(window.ThumbMode);
}

void WaysInTest::keysDoNothingWhileTheButtonsCannotBeUsed() {
    TestPlatform platform;
    const Pictures pictures(platform);
    FrmImageViewer window(platform.Build());
    window.show();
    window.OpenPath(pictures.folder);
    // The browser: the keys belong to the lists.
    window.filList->setFocus();
    window.filList->SetListIndex(3);
    QTest::keyClick(window.filList, Qt::Key_Down);
    QCOMPARE(window.filList->ListIndex(), 4);
    QTest::keyClick(&window, Qt::Key_Right);
    QCOMPARE(Shown(window), -1);

    // A running show: Previous and Next are disabled.
    QList<int> during;
    platform.events->onYield = [&](double) {
        QTest::keyClick(&window, Qt::Key_Right);
        QTest::keyClick(&window, Qt::Key_End);
        during << window.filList->ListIndex();
        window.mnuEndSlideShow_Click();
    };
    window.mnuBeginSlideShow_Click();
    QCOMPARE(during, QList<int>{5});
}

void WaysInTest::f11TogglesFullScreen() {
    TestPlatform platform;
    FrmImageViewer window(platform.Build());
    window.show();
    QTest::keyClick(&window, Qt::Key_F11);
    QVERIFY(window.windowState() & Qt::WindowFullScreen);
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!(window.windowState() & Qt::WindowFullScreen));
    QTest::keyClick(&window, Qt::Key_F11);
    QTest::keyClick(&window, Qt::Key_F11);
    QVERIFY(!(window.windowState() & Qt::WindowFullScreen));
}

void WaysInTest::theCommandLine() {
    QTemporaryDir config;
    int exitCode = -1;
    QCOMPARE(Run({QStringLiteral("--version")}, config.path(), &exitCode).out.trimmed(),
             QStringLiteral("Tamsel Image Viewer 1.0.2"));
    QCOMPARE(exitCode, 0);
    QVERIFY(Run({QStringLiteral("--help")}, config.path(), &exitCode)
                .out.contains(QStringLiteral("[FILE | FOLDER]")));
    QCOMPARE(exitCode, 0);
    // A missing path is reported, and the viewer starts as without one (it is still running when
    // the test stops it).
    const QString missing = config.filePath(QStringLiteral("missing.mip"));
    const QString said = Run({missing}, config.path(), &exitCode).error;
    QVERIFY2(said.contains(missing + QStringLiteral(": no such file or folder")), qPrintable(said));
    QCOMPARE(exitCode, -1);
}

QTEST_MAIN(WaysInTest)
#include "WaysInTest.moc"
