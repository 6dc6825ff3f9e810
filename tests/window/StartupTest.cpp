// The window at start-up, the file browser, the remembered folder, Help and About, and the ways in from
// outside: a path given to the window (as the command line gives it), drops and keys.
#include <sys/mount.h>

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

#include "help/FrmHelp.h"
#include "platform/DirListBox.h"
#include "platform/DriveListBox.h"
#include "platform/FileListBox.h"
#include "platform/PictureBox.h"
#include "platform/Platform.h"
#include "platform/SettingsStore.h"
#include "shell/Registry.h"
#include "support/Window.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::TestPlatform;
using testing::Window;

namespace {

QStringList Entries(const platform::FileListBox& list) {
    QStringList names;
    for (int i = 0; i < list.ListCount(); ++i) {
        names << list.EntryName(i);
    }
    return names;
}

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
        QCOMPARE(QSize(window.InnerWidth(), window.InnerHeight()), QSize(innerWidth, innerHeight));
        const int top = innerHeight - 80;
        QCOMPARE(window.cmdPrevious->geometry(), QRect(lefts[0], top, 80, 32));
        QCOMPARE(window.cmdStop->geometry(), QRect(lefts[1], top, 80, 32));
        QCOMPARE(window.cmdNext->geometry(), QRect(lefts[2], top, 80, 32));
        QCOMPARE(window.Label2->geometry(), QRect(20, top, 180, 32));
        const int frameTop = static_cast<int>(std::nearbyint((innerHeight - 329) / 2.0));
        QCOMPARE(window.Frame1->geometry(), QRect(lefts[3], frameTop, 441, 329));
        QCOMPARE(QSize(window.ViewWidth, window.ViewHeight), QSize(innerWidth - 20, innerHeight - 100));
    }

    void controlsAndMenusStartInTheirDesignStates() {
        TestPlatform platform;
        testing::WriteSolidTexture(platform.programFolder, u"road.pbf"_s, 4, 4, qRgb(255, 0, 0));
        const Window window(platform);
        QCOMPARE(window.Buttons(),
                 u"Previous~ [Previous Image] | Open- [Open Selected File] | Next~ [Next Image]"_s);
        QCOMPARE(window.Frame1->title(), u"Double Click On A File To View"_s);
        QVERIFY(window.Frame1->isVisible() && window.Label2->isVisible() && !window.Label1->isVisible());
        QCOMPARE(window.Label2->text(),
                 u"Single Click and Open or Double Click On An Image to See It Full Size"_s);
        QCOMPARE(window.Cells(), QList<int>(9, -1));
        QCOMPARE(window.Single(), -1);
        QVERIFY(!window.ThumbMode && window.PageStart == 0 && !window.StopShow);
        // The first run shows the program's folder.
        QCOMPARE(window.dirList->Path(), platform.programFolder);
        QCOMPARE(window.filList->Path(), platform.programFolder);
        QCOMPARE(Entries(*window.filList), QStringList{"road.pbf"});
        QCOMPARE(window.filList->ListIndex(), -1);
        QCOMPARE(window.filList->Pattern(), u"*.bmp;*.BMP;*.jpg;*.JPG;*.pbf;*.PBF;*.srb;*.SRB;*.mip;*.MIP"_s);

        QStringList captions;
        QString checked;
        for (const FrmImageViewer::Control& control : window.Controls) {
            if (control.action != nullptr) {
                captions << control.action->text();
                checked += control.action->isChecked() ? u'x' : u'.';
                QVERIFY(control.action->shortcut().isEmpty());
            }
        }
        QCOMPARE(captions.join(u'|'),
                 u"File|Open File||Thumbnail View||Exit|Slide Show|Begin Slide "
                 "Show|End Slide Show||Sequential Display|Random Display||"
                 "Display Interval|1 Sec|3 Sec|5 Sec|10 Sec|15 Sec|30 Sec|"
                 "60 Sec|Help|Help||About"_s);
        QCOMPARE(checked, u"..........x....x........."_s);
        QVERIFY(!window.mnuEndSlideShow->isEnabled() && window.mnuBeginSlideShow->isEnabled());
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
        QVERIFY(!platform::SettingsStore(homeless.settingsFile).Write(u"a"_s, u"b"_s, u"c"_s));
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
            QVERIFY(Registry::SaveRegString(
                platform::SettingsStore(platform.settingsFile), Registry::kMachineRoot, Registry::kViewerKey,
                Registry::kLastUsedPath, settings.replace(u"<folder>"_s, folder)));
        }
        Window window(platform);
        QCOMPARE(window.dirList->Path(), restored ? folder : platform.programFolder);
        QCOMPARE(window.filList->Path(), window.dirList->Path());
        QVERIFY(goTo.isEmpty() || window.dirList->SetPath(goTo));
        if (viaExit) {
            window.mnuExit->trigger();
        } else {
            window.close();
        }
        QCOMPARE(platform.end->ends, 1);
        QVERIFY(platform.messages->shown.empty());
        QCOMPARE(
            Registry::GetRegString(platform::SettingsStore(platform.settingsFile), Registry::kMachineRoot,
                                   Registry::kViewerKey, Registry::kLastUsedPath, u"<none>"_s),
            after.replace(u"<folder>"_s, folder).replace(u"<program>"_s, platform.programFolder));
    }

    // A drive or a folder that cannot be read leaves the lists as they were, silently.
    void whatCannotBeReadChangesNothing() {
        TestPlatform platform;
        Window window(platform);
        const QString drive = window.drvList->Drive();
        window.drvList->addItem(u"/no/such/volume"_s);
        window.drvList->setCurrentIndex(window.drvList->count() - 1);
        QCOMPARE(window.drvList->Drive(), drive);
        QVERIFY(!window.dirList->SetPath(platform.sandbox.filePath(u"vanished"_s)));
        QCOMPARE(window.dirList->Path(), platform.programFolder);
        QCOMPARE(window.filList->Path(), platform.programFolder);
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
        const QString drive = window.drvList->Drive();
        window.dirList->SetPath(mountPoint);
        QCOMPARE(window.drvList->Drive(), mountPoint);
        window.drvList->setCurrentIndex(window.drvList->findText(drive));
        QCOMPARE(window.dirList->Path(), platform.programFolder);
        QCOMPARE(window.drvList->Drive(), drive);
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
        window.filList->SetListIndex(0);
        int subAt = 0;
        while (window.dirList->EntryPath(subAt) != sub) {
            QVERIFY(++subAt < window.dirList->count());
        }
        window.dirList->setFocus();
        QTest::mouseClick(window.dirList->viewport(), Qt::LeftButton, {},
                          window.dirList->visualItemRect(window.dirList->item(subAt)).center());
        QCOMPARE(window.dirList->ListIndex(), subAt);
        QCOMPARE(window.dirList->Path(), platform.programFolder);
        if (focusTo == u"file list"_s) {
            window.filList->setFocus();
        } else if (focusTo == u"menu bar"_s) {
            QTest::keyClick(window.dirList, Qt::Key_F10);
            QTRY_VERIFY(window.menuBar()->hasFocus());
        } else if (focusTo == u"menu"_s) {
            window.FileMenuHeader->popup(window.mapToGlobal(QPoint(0, 0)));
            QTRY_VERIFY(window.FileMenuHeader->isVisible());
            window.FileMenuHeader->close();
        } else {
            window.mnuHelp->trigger();
            QTRY_VERIFY(QApplication::activeWindow() == window.HelpWindow());
        }
        if (!commits) {
            QTest::qWait(50);
            QCOMPARE(window.dirList->Path(), platform.programFolder);
            return;
        }
        QTRY_COMPARE(window.dirList->Path(), sub);
        QCOMPARE(window.filList->Path(), sub);
        QCOMPARE(Entries(*window.filList), (QStringList{"Img1.JPG", "img2.jpg", "img10.jpg"}));
        QCOMPARE(window.filList->ListIndex(), -1);
        QVERIFY(window.Frame1->isVisible());
        QCOMPARE(window.Buttons(),
                 u"Previous~ [Previous Image] | Open [Open Selected File] | Next~ [Next Image]"_s);
    }

    // A click on a file enables "Open", which shows it in the single view; "Open File" brings the
    // browser back with the selection and the title as they were.
    void aClickedFileOpensAndOpenFileReturns() {
        TestPlatform platform;
        Window window(platform, 2);
        QTest::mouseClick(window.filList->viewport(), Qt::LeftButton, {},
                          window.filList->visualRect(window.filList->model()->index(1, 0)).center());
        QVERIFY(window.cmdStop->isEnabled());
        QTest::mouseClick(window.cmdStop, Qt::LeftButton);
        QCOMPARE(window.Single(), 1);
        QVERIFY(!window.Frame1->isVisible() && !window.Label2->isVisible());
        QCOMPARE(window.Buttons(),
                 u"Previous [Previous Image] | Open~ [Open Selected File] | Next [Next Image]"_s);
        window.mnuOpenFile->trigger();
        QVERIFY(window.Frame1->isVisible() && window.Label2->isVisible());
        QCOMPARE(window.Single(), -1);
        QCOMPARE(window.filList->ListIndex(), 1);
        QCOMPARE(window.windowTitle(), u"Tamsel Image Viewer: t01.pbf"_s);
    }

    // Help opens one window, loaded once, and a new one after it is closed; About names version and maker.
    void helpAndAbout() {
        TestPlatform platform;
        Window window(platform);
        window.mnuHelp->trigger();
        FrmHelp* help = window.HelpWindow();
        QVERIFY(help != nullptr);
        window.mnuHelp->trigger();
        QCOMPARE(window.HelpWindow(), help);
        QCOMPARE(help->LoadCount(), 1);
        QCOMPARE(help->windowTitle(), u"Tamsel Sound Player Help"_s);
        QCOMPARE(help->size(), QSize(646, 449));
        help->close();
        QTRY_VERIFY(window.HelpWindow() == nullptr);
        window.mnuHelp->trigger();
        QCOMPARE(window.HelpWindow()->LoadCount(), 1);
        QCOMPARE(window.HelpWindow()->Text1->toPlainText(), QString(HelpText()).replace(u"\r\n"_s, u"\n"_s));
        window.mnuAbout->trigger();
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
        Window window(platform);
        QCOMPARE(window.OpenPath(name.isEmpty() ? folder : QDir(folder).filePath(name)), refusal);
        QCOMPARE(window.dirList->Path(), refusal.isEmpty() ? folder : platform.programFolder);
        QCOMPARE(window.Single(), shown);
        QCOMPARE(window.filList->ListIndex(), shown);
        QCOMPARE(window.Frame1->isVisible(), shown < 0);
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
                QCOMPARE(window.dirList->Path(), platform.programFolder);
                return;
            }
            QCOMPARE(refusal, QString());
            QCOMPARE(window.windowTitle(), u"Tamsel Image Viewer: "_s + name);
            QVERIFY(window.Picture3[0]->isVisible() && !window.Frame1->isVisible());
            QCOMPARE(window.Picture3[0]->width(), content.isEmpty() ? 13 : 40);
            QVERIFY(window.Picture3[0]->toolTip().startsWith(name + u':'));
            QCOMPARE(window.filList->ListIndex(), -1);
            QCOMPARE(window.filList->ListCount(), 4);
            if (forward) {
                window.cmdNext_Click();
            } else {
                window.cmdPrevious_Click();
            }
            QCOMPARE(window.Single(), forward ? next : previous);
            QCOMPARE(window.filList->ListIndex(), forward ? next : previous);
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
        window.mnuViewThumbnails_Click();
        QVERIFY(!Drop(window, folder));
        window.Picture3_DblClick(1);  // full size from a page: the thumbnail view is still on
        QVERIFY(!Drop(window, folder));
        window.mnuViewThumbnails_Click();
        bool takenDuringShow = true;
        platform.events->onYield = [&](double) {
            takenDuringShow = Drop(window, folder);
            window.mnuEndSlideShow_Click();
        };
        window.mnuBeginSlideShow_Click();
        QVERIFY(!takenDuringShow);
    }

    // Left and Right do what Previous and Next do, in the single view and on a page; Home and End go to
    // the ends of the folder in the single view only; F11 and Escape.
    void keysStepLikeTheButtons() {
        TestPlatform platform;
        Window window(platform, 12);
        window.Open(u"t11.pbf"_s);
        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(window.Single(), 0);
        Keys(&window, {Qt::Key_Left, Qt::Key_Left});
        QCOMPARE(window.Single(), 10);
        QTest::keyClick(&window, Qt::Key_Home);
        QCOMPARE(window.Single(), 0);
        QTest::keyClick(&window, Qt::Key_End);
        QCOMPARE(window.Single(), 11);
        window.mnuViewThumbnails_Click();
        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(window.PageStart, 9);
        Keys(&window, {Qt::Key_Left, Qt::Key_Home, Qt::Key_End});
        QCOMPARE(window.PageStart, 0);
        QVERIFY(window.ThumbMode);
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
        window.filList->setFocus();
        QTest::keyClick(window.filList, Qt::Key_I);
        QCOMPARE(window.filList->FileName(), u"inside.pbf"_s);
        window.filList->SetListIndex(4);
        QTest::keyClick(window.filList, Qt::Key_Down);
        QCOMPARE(window.filList->ListIndex(), 5);
        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(window.Single(), -1);
        QList<int> during;
        platform.events->onYield = [&](double) {
            Keys(&window, {Qt::Key_Right, Qt::Key_End, Qt::Key_Home});
            during << window.filList->ListIndex();
            window.mnuEndSlideShow_Click();
        };
        window.mnuBeginSlideShow_Click();
        QCOMPARE(during, QList<int>{6});
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
