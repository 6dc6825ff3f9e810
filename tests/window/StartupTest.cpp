// The window at start-up, the file browser, the remembered folder, Help and About, and the ways in from
// outside: a path given to the window (as the command line gives it), drops and keys.
#include <sys/mount.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QUrl>
#include <cmath>

#include "browse/Browser.h"
#include "files/SettingsStore.h"
#include "help/HelpWindow.h"
#include "navigation/ButtonRow.h"
#include "platform/PictureBox.h"
#include "platform/Platform.h"
#include "shell/Settings.h"
#include "support/Window.h"
#include "thumbs/ThumbnailPage.h"
#include "view/SingleView.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::TestPlatform;
using testing::Window;

namespace {

QStringList Entries(const browse::Folder& folder) {
    QStringList names;
    for (int i = 0; i < folder.Count(); ++i) {
        names << folder.Name(i);
    }
    return names;
}

// Offers the window a drag of `path` and, when it takes it, drops it. True when the drop was taken.
bool Drop(shell::MainWindow& window, const QString& path) {
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

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Keys(QWidget* widget, std::initializer_list<Qt::Key> keys) {
    for (const Qt::Key key : keys) {
        QTest::keyClick(widget, key);
    }
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void windowCoversTheScreen_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("innerWidth");    // inside the offscreen frame of 2 pixels a side
        QTest::addColumn<QList<int>>("lefts");  // Previous, Open, Next, the browser frame
        QTest::newRow("1024 x 768") << QSize(1024, 768) << 1020 << QList<int>{300, 470, 640, 290};
        QTest::newRow("1280 x 1024") << QSize(1280, 1024) << 1276 << QList<int>{385, 598, 811, 418};
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << 1916 << QList<int>{599, 918, 1237, 738};
    }

    // The frame covers the screen but for the last row (10 twips less, rounded). The buttons stand 80
    // pixels above the inner bottom edge at a third, a half and two thirds of the inner width, less
    // half their 80; the hint label at 20, 180 wide; the browser centred, halves to even.
    void windowCoversTheScreen() {
        QFETCH(QSize, screen);
        QFETCH(int, innerWidth);
        QFETCH(QList<int>, lefts);
        TestPlatform platform(screen);
        const Window window(platform);
        QCOMPARE(window.windowTitle(), u"Tamsel Image Viewer v1.0.2"_s);
        QCOMPARE(window.frameGeometry(), QRect(0, 0, screen.width(), screen.height() - 1));
        QVERIFY(!window.isMaximized());
        const int innerHeight = screen.height() - 1 - 4 - window.menuBar()->height();
        QCOMPARE(QSize(window.centralWidget()->width(), window.centralWidget()->height()),
                 QSize(innerWidth, innerHeight));
        const int top = innerHeight - 80;
        QCOMPARE(window.Buttons().Previous()->geometry(), QRect(lefts[0], top, 80, 32));
        QCOMPARE(window.Buttons().Middle()->geometry(), QRect(lefts[1], top, 80, 32));
        QCOMPARE(window.Buttons().Next()->geometry(), QRect(lefts[2], top, 80, 32));
        QCOMPARE(window.Hint().geometry(), QRect(20, top, 180, 32));
        const int frameTop = static_cast<int>(std::nearbyint((innerHeight - 329) / 2.0));
        QCOMPARE(window.Browser().geometry(), QRect(lefts[3], frameTop, 441, 329));
        QCOMPARE(QSize(window.Geometry().viewWidth, window.Geometry().viewHeight),
                 QSize(innerWidth - 20, innerHeight - 100));
    }

    void theFolderIsRestoredAndStored_data() {
        QTest::addColumn<QString>(
            "settings");  // the value stored, "<none>", or a settings file that is broken
        QTest::addColumn<bool>("restored");
        QTest::addColumn<QString>("goTo");   // a folder gone to before the end
        QTest::addColumn<bool>("viaExit");   // Exit, or closing the window
        QTest::addColumn<QString>("after");  // the value read back; "<none>" when there is none
        // "<folder>" stands for a folder of the sandbox, "<program>" for the program's folder.
        QTest::newRow("existing folder") << "<folder>/" << true << "" << true << "<folder>/";
        QTest::newRow("no trailing slash, closed") << "<folder>" << true << "" << false << "<folder>/";
        QTest::newRow("nothing stored") << "<none>" << false << "" << true << "<program>/";
        QTest::newRow("deleted folder") << "<folder>/gone/" << false << "" << true << "<program>/";
        // The folder list would take it (as the folder itself), but the path does not exist.
        QTest::newRow("through a deleted folder")
            << "<folder>/gone/../" << false << "" << true << "<program>/";
        QTest::newRow("the root, stored with two slashes") << "//" << false << "/" << false << "//";
        QTest::newRow("empty string") << "" << false << "" << true << "<program>/";
        QTest::newRow("an existing file") << "<folder>/a.bmp" << false << "" << true << "<program>/";
        QTest::newRow("corrupt file") << "<corrupt>" << false << "" << true << "<program>/";
        QTest::newRow("settings file is a folder") << "<a folder>" << false << "" << true << "<none>";
        QTest::newRow("configuration folder cannot be made")
            << "<blocked>" << false << "" << false << "<none>";
    }

    // Without a home folder (neither HOME nor XDG_CONFIG_HOME an absolute path) the browser starts in the
    // root folder and the settings have no file; either one makes a place for them.
    void withoutAHomeNothingIsKept() {
        const QByteArray home = qgetenv("HOME");
        const QByteArray config = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", home);
            qputenv("XDG_CONFIG_HOME", config);
        });
        qunsetenv("HOME");
        qputenv("XDG_CONFIG_HOME", "relative/config");
        const platform::Platform homeless = platform::ProductPlatform();
        QCOMPARE(homeless.programFolder, u"/"_s);
        QCOMPARE(homeless.settingsFile, QString());
        QVERIFY(!files::SettingsStore(homeless.settingsFile).Write(u"a"_s, u"b"_s, u"c"_s));
        qputenv("XDG_CONFIG_HOME", "/somewhere/config");
        QCOMPARE(platform::ProductPlatform().settingsFile,
                 u"/somewhere/config/Corvane Software Store/Tamsel Image Viewer.ini"_s);
        qputenv("HOME", "/home/someone");
        qunsetenv("XDG_CONFIG_HOME");
        QVERIFY(platform::ProductPlatform().settingsFile.startsWith(u"/home/someone/"_s));
    }

    // A stored folder that exists is restored, anything else silently falls back to the program's folder;
    // Exit or closing the window stores the folder on show, or fails silently.
    void theFolderIsRestoredAndStored() {
        QFETCH(QString, settings);
        QFETCH(bool, restored);
        QFETCH(QString, goTo);
        QFETCH(bool, viaExit);
        QFETCH(QString, after);
        TestPlatform platform;
        const QString folder = testing::MakeFolder(platform.sandbox.path(), u"pictures"_s);
        testing::WritePicture(folder, u"a.bmp"_s, testing::SolidImage(2, 2, qRgb(0, 0, 255)));
        const QFileInfo file(platform.settingsFile);
        if (settings == u"<corrupt>"_s) {
            testing::WriteBytes(
                testing::MakeFolder(platform.sandbox.path(), file.dir().dirName()), file.fileName(),
                QByteArray("[HKEY_LOCAL_MACHINE\\Software\\Corvane Software Store\\Tamsel Image "
                           "Viewer]\nLastUsedPath=\\q\x00\xff\n\xfe\xfe",
                           93));
        } else if (settings == u"<a folder>"_s) {
            QDir().mkpath(platform.settingsFile);
        } else if (settings == u"<blocked>"_s) {
            testing::WriteBytes(platform.sandbox.path(), file.dir().dirName(), "a file");
        } else if (settings != u"<none>"_s) {
            QVERIFY(shell::WriteSetting(files::SettingsStore(platform.settingsFile), shell::kLastUsedPath,
                                        settings.replace(u"<folder>"_s, folder)));
        }
        Window window(platform);
        QCOMPARE(window.State().folder.Path(), restored ? folder : platform.programFolder);
        QVERIFY(goTo.isEmpty() || window.ChangeFolder(goTo));
        if (viaExit) {
            window.MenuItems().exit->trigger();
        } else {
            window.close();
        }
        QCOMPARE(platform.end->ends, 1);
        QVERIFY(platform.messages->shown.empty());
        QCOMPARE(shell::ReadSetting(files::SettingsStore(platform.settingsFile), shell::kLastUsedPath,
                                    u"<none>"_s),
                 after.replace(u"<folder>"_s, folder).replace(u"<program>"_s, platform.programFolder));
    }

    // A drive or a folder that cannot be read leaves the lists as they were, silently.
    void whatCannotBeReadChangesNothing() {
        TestPlatform platform;
        Window window(platform);
        const QString drive = window.Browser().Drives().Drive();
        window.ChooseDrive(u"/no/such/volume"_s);
        QCOMPARE(window.Browser().Drives().Drive(), drive);
        QVERIFY(!window.ChangeFolder(platform.sandbox.filePath(u"vanished"_s)));
        QCOMPARE(window.State().folder.Path(), platform.programFolder);
        QVERIFY(platform.messages->shown.empty());
    }

    // A folder that is a volume of its own (a mount point) reached from the folder list: the drive list
    // shows that volume, and choosing the first drive again goes back there.
    void theDriveListFollowsTheFolderIntoAnotherVolume() {
        TestPlatform platform;
        const QString mountPoint = testing::MakeFolder(platform.programFolder, u"volume"_s);
        const QByteArray point = QFile::encodeName(mountPoint);
        if (::mount("tamsel-test", point.constData(), "tmpfs", 0, "size=64k") != 0) {
            QSKIP("mounting a volume needs root");
        }
        const auto unmount = qScopeGuard([&point] { ::umount(point.constData()); });
        Window window(platform);
        const QString drive = window.Browser().Drives().Drive();
        window.ChangeFolder(mountPoint);
        QCOMPARE(window.Browser().Drives().Drive(), mountPoint);
        window.ChooseDrive(drive);
        QCOMPARE(window.State().folder.Path(), platform.programFolder);
        QCOMPARE(window.Browser().Drives().Drive(), drive);
    }

    void aHighlightedFolderBecomesCurrentWhenTheFocusMoves_data() {
        QTest::addColumn<QString>("focusTo");
        QTest::addColumn<bool>("commits");
        QTest::newRow("the file list") << u"file list"_s << true;
        QTest::newRow("the menu bar, by F10") << u"menu bar"_s << false;
        QTest::newRow("an open menu") << u"menu"_s << false;
        QTest::newRow("the help window") << u"help"_s << false;
    }

    // A folder highlighted in the folder list becomes current once the focus moves on to another control
    // of the window: its pictures are listed in natural order, case ignored, and none is selected. The
    // menus and another window taking the keys leave it highlighted only.
    void aHighlightedFolderBecomesCurrentWhenTheFocusMoves() {
        QFETCH(QString, focusTo);
        QFETCH(bool, commits);
        TestPlatform platform;
        const QString sub = testing::MakeFolder(platform.programFolder, u"sub"_s);
        for (const char* name : {"img10.jpg", "img2.jpg", "Img1.JPG", "notes.txt", "mixed.Jpg"}) {
            testing::WritePicture(sub, QString::fromLatin1(name), testing::SolidImage(2, 2, qRgb(9, 9, 9)));
        }
        Window window(platform, 1);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.ChooseFile(0);
        int subAt = 0;
        while (window.Browser().Folders().EntryPath(subAt) != sub) {
            QVERIFY(++subAt < window.Browser().Folders().count());
        }
        window.Browser().Folders().setFocus();
        QTest::mouseClick(
            window.Browser().Folders().viewport(), Qt::LeftButton, {},
            window.Browser().Folders().visualItemRect(window.Browser().Folders().item(subAt)).center());
        QCOMPARE(window.Browser().Folders().currentRow(), subAt);
        QCOMPARE(window.State().folder.Path(), platform.programFolder);
        if (focusTo == u"file list"_s) {
            window.Browser().Files().setFocus();
        } else if (focusTo == u"menu bar"_s) {
            QTest::keyClick(&window.Browser().Folders(), Qt::Key_F10);
            QTRY_VERIFY(window.menuBar()->hasFocus());
        } else if (focusTo == u"menu"_s) {
            window.MenuItems().file->popup(window.mapToGlobal(QPoint(0, 0)));
            QTRY_VERIFY(window.MenuItems().file->isVisible());
            window.MenuItems().file->close();
        } else {
            window.MenuItems().helpItem->trigger();
            QTRY_VERIFY(QApplication::activeWindow() == window.Help());
        }
        if (!commits) {
            QTest::qWait(50);
            QCOMPARE(window.State().folder.Path(), platform.programFolder);
            return;
        }
        QTRY_COMPARE(window.State().folder.Path(), sub);
        QCOMPARE(Entries(window.State().folder), (QStringList{"Img1.JPG", "img2.jpg", "img10.jpg"}));
        QCOMPARE(window.State().folder.Selected(), -1);
        QVERIFY(window.Browser().isVisible());
        QCOMPARE(window.ButtonStates(),
                 u"Previous~ [Previous Image] | Open [Open Selected File] | Next~ [Next Image]"_s);
    }

    // Help opens one window, loaded once, and a new one after it is closed; About names version and maker.
    void helpAndAbout() {
        TestPlatform platform;
        Window window(platform);
        window.MenuItems().helpItem->trigger();
        help::HelpWindow* help = window.Help();
        QVERIFY(help != nullptr);
        window.MenuItems().helpItem->trigger();
        QCOMPARE(window.Help(), help);
        QCOMPARE(help->LoadCount(), 1);
        QCOMPARE(help->windowTitle(), u"Tamsel Sound Player Help"_s);
        QCOMPARE(help->size(), QSize(646, 449));
        help->close();
        QTRY_VERIFY(window.Help() == nullptr);
        window.MenuItems().helpItem->trigger();
        QCOMPARE(window.Help()->LoadCount(), 1);
        QCOMPARE(window.Help()->Text().toPlainText(), QString(help::HelpText()).replace(u"\r\n"_s, u"\n"_s));
        window.MenuItems().about->trigger();
        QCOMPARE(platform.messages->shown.size(), std::size_t{1});
        const testing::ShownMessage& about = platform.messages->shown.front();
        QCOMPARE(about.caption, u"Tamsel Image Viewer"_s);
        QCOMPARE(about.text, u"v1.0.2 by Corvane Software Store"_s);
        QCOMPARE(about.icon, platform::MessageIcon::Information);
    }

    void aPathFromOutside_data() {
        QTest::addColumn<QString>("name");  // in a folder of twelve numbered textures and notes.txt
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<int>("shown");  // the entry the single view shows
        QTest::newRow("the folder") << QString() << QString() << -1;
        QTest::newRow("a picture") << u"t07.pbf"_s << QString() << 7;
        QTest::newRow("missing") << u"missing.pbf"_s << u"no such file or folder"_s << -1;
        QTest::newRow("no known kind") << u"notes.txt"_s << u"not a kind of file the viewer shows"_s << -1;
        QTest::newRow("a pipe named as a texture")
            << u"pipe.pbf"_s << u"not a file or folder that can be read (a pipe, a device or a socket)"_s
            << -1;
        QTest::newRow("a loop of links") << u"loop.pbf"_s << u"Too many levels of symbolic links"_s << -1;
    }

    // A folder opens in the browser; a picture opens its folder and shows it as a double click would;
    // anything else is refused with the reason and changes nothing.
    void aPathFromOutside() {
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        QFETCH(int, shown);
        TestPlatform platform;
        const QString folder = testing::MakeFolder(platform.sandbox.path(), u"textures"_s);
        testing::WriteNumberedTextures(folder, 12);
        testing::WriteBytes(folder, u"notes.txt"_s, "not a picture");
        QVERIFY(::mkfifo(QFile::encodeName(QDir(folder).filePath(u"pipe.pbf"_s)).constData(), 0600) == 0);
        QVERIFY(QFile::link(u"loop.pbf"_s, QDir(folder).filePath(u"loop.pbf"_s)));
        Window window(platform);
        QCOMPARE(window.OpenPath(name.isEmpty() ? folder : QDir(folder).filePath(name)), refusal);
        QCOMPARE(window.State().folder.Path(), refusal.isEmpty() ? folder : platform.programFolder);
        QCOMPARE(window.Single(), shown);
        QCOMPARE(window.State().folder.Selected(), shown);
        QCOMPARE(window.Browser().isVisible(), shown < 0);
    }

    void aFileTheListDoesNotShowOpensByItsContent_data() {
        QTest::addColumn<QString>("name");  // beside four numbered textures t00.pbf .. t03.pbf
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("next");  // the entries Next and Previous show from it; -1: refused
        QTest::addColumn<int>("previous");
        const QByteArray jpeg = testing::Jpeg(testing::SolidImage(40, 30, qRgb(0, 0, 255)));
        QTest::newRow("JPEG named .jpeg") << u"t01.jpeg"_s << jpeg << 1 << 0;
        QTest::newRow("JPEG named .Jpg") << u"t02.Jpg"_s << jpeg << 2 << 1;
        QTest::newRow("texture without an ending") << u"t03"_s << QByteArray() << 3 << 2;
        QTest::newRow("JPEG after the last name") << u"zz.jpeg"_s << jpeg << 0 << 3;
        QTest::newRow("text named .jpeg") << u"notes.jpeg"_s << QByteArrayLiteral("some words") << -1 << -1;
    }

    // A file from outside whose name the file list does not show opens by its first bytes: nothing is
    // selected, the title names it, and Next and Previous go to the listed files after and before its
    // name. What its bytes do not make a picture is refused.
    void aFileTheListDoesNotShowOpensByItsContent() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, next);
        QFETCH(int, previous);
        TestPlatform platform;
        const QString folder = testing::MakeFolder(platform.sandbox.path(), u"textures"_s);
        const QStringList textures = testing::WriteNumberedTextures(folder, 4);
        const QString path = content.isEmpty() ? testing::WriteBytes(folder, name, ReadAll(textures[3]))
                                               : testing::WriteBytes(folder, name, content);
        for (const bool forward : {true, false}) {
            Window window(platform);
            const QString refusal = window.OpenPath(path);
            if (next < 0) {
                QCOMPARE(refusal, u"not a kind of file the viewer shows"_s);
                QCOMPARE(window.State().folder.Path(), platform.programFolder);
                return;
            }
            QCOMPARE(refusal, QString());
            QCOMPARE(window.windowTitle(), u"Tamsel Image Viewer: "_s + name);
            QVERIFY(window.SingleView().Box().isVisible() && !window.Browser().isVisible());
            QCOMPARE(window.SingleView().Box().width(), content.isEmpty() ? 13 : 40);
            QVERIFY(window.SingleView().Box().toolTip().startsWith(name + u':'));
            QCOMPARE(window.State().folder.Selected(), -1);
            QCOMPARE(window.State().folder.Count(), 4);
            if (forward) {
                window.Next();
            } else {
                window.Previous();
            }
            QCOMPARE(window.Single(), forward ? next : previous);
            QCOMPARE(window.State().folder.Selected(), forward ? next : previous);
        }
    }

    void dropsAreTakenOnlyWhileBrowsingOrViewing() {
        TestPlatform platform;
        testing::WriteBytes(platform.programFolder, u"notes.txt"_s, "not a picture");
        Window window(platform, 5);
        const QString folder = platform.programFolder;
        QVERIFY(Drop(window, QDir(folder).filePath(u"t02.pbf"_s)));
        QCOMPARE(window.Single(), 2);
        QVERIFY(Drop(window, folder));
        QVERIFY(!Drop(window, QDir(folder).filePath(u"notes.txt"_s)));
        window.ToggleThumbnailView();
        QVERIFY(!Drop(window, folder));
        window.OpenCell(1);  // full size from a page: the thumbnail view is still on
        QVERIFY(!Drop(window, folder));
        window.ToggleThumbnailView();
        window.BeginShow();
        QVERIFY(!Drop(window, folder));
    }

    // Left and Right do what Previous and Next do, in the single view and on a page; Home and End go to
    // the ends of the folder in the single view only; F11 and Escape.
    void keysStepLikeTheButtons() {
        TestPlatform platform;
        Window window(platform, 12);
        window.Open(u"t11.pbf"_s);
        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(window.Single(), 0);
        // Keys that come while a step is drawn are taken together once the window gets to them.
        Keys(&window, {Qt::Key_Left, Qt::Key_Left});
        QTRY_COMPARE(window.Single(), 10);
        QTest::keyClick(&window, Qt::Key_Home);
        QCOMPARE(window.Single(), 0);
        QTest::keyClick(&window, Qt::Key_End);
        QCOMPARE(window.Single(), 11);
        window.ToggleThumbnailView();
        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(window.State().pageStart, 9);
        Keys(&window, {Qt::Key_Left, Qt::Key_Home, Qt::Key_End});
        QCOMPARE(window.State().pageStart, 0);
        QVERIFY((window.State().mode == shell::Mode::Pages));
        // F11 toggles full screen, Escape leaves it.
        QTest::keyClick(&window, Qt::Key_F11);
        QVERIFY(window.windowState() & Qt::WindowFullScreen);
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!(window.windowState() & Qt::WindowFullScreen));
        Keys(&window, {Qt::Key_F11, Qt::Key_F11});
        QVERIFY(!(window.windowState() & Qt::WindowFullScreen));
    }

    // In the browser the keys belong to the lists, the picture's own keys too: a letter jumps to a name;
    // during a show Previous and Next are disabled.
    void keysDoNothingWhileTheButtonsCannotBeUsed() {
        TestPlatform platform;
        testing::WriteSolidTexture(platform.programFolder, u"inside.pbf"_s, 4, 4, qRgb(0, 0, 255));
        Window window(platform, 12);
        window.Browser().Files().setFocus();
        QTest::keyClick(&window.Browser().Files(), Qt::Key_I);
        QCOMPARE(window.State().folder.SelectedName(), u"inside.pbf"_s);
        window.ChooseFile(4);
        QTest::keyClick(&window.Browser().Files(), Qt::Key_Down);
        QCOMPARE(window.State().folder.Selected(), 5);
        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(window.Single(), -1);
        window.BeginShow();
        Keys(&window, {Qt::Key_Right, Qt::Key_End, Qt::Key_Home});
        QCOMPARE(window.State().folder.Selected(), 6);
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
