// The main window at start-up, the file browser, the remembered folder, and Help and About.
#include <sys/mount.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include "help/FrmHelp.h"
#include "platform/DirListBox.h"
#include "platform/DriveListBox.h"
#include "platform/FileListBox.h"
#include "platform/PictureBox.h"
#include "platform/SettingsStore.h"
#include "shell/FrmImageViewer.h"
#include "shell/Registry.h"
#include "support/TestPlatform.h"

using namespace tamsel;
using testing::TestPlatform;

namespace {

void Store(const TestPlatform& platform, const QString& value) {
    QVERIFY(Registry::SaveRegString(platform::SettingsStore(platform.settingsFile), Registry::kMachineRoot,
                                    Registry::kViewerKey, Registry::kLastUsedPath, value));
}

QString Stored(const TestPlatform& platform) {
    return Registry::GetRegString(platform::SettingsStore(platform.settingsFile), Registry::kMachineRoot,
                                  Registry::kViewerKey, Registry::kLastUsedPath, QStringLiteral("<none>"));
}

QStringList Entries(const platform::FileListBox& list) {
    QStringList names;
    for (int i = 0; i < list.ListCount(); ++i) {
        names << list.EntryName(i);
    }
    return names;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void windowCoversTheScreen_data();
    void windowCoversTheScreen();
    void controlsAndMenusStartInTheirDesignStates();
    void firstRunShowsTheProgramsFolder();
    void restoresTheStoredFolderByTheRule_data();
    void restoresTheStoredFolderByTheRule();
    void closeAndExitStoreTheSameValueOnce();
    void theRootIsStoredWithTwoSlashes();
    void anUnreadableDriveReturnsToTheDriveOnShow();
    void theDriveListFollowsTheFolderIntoAnotherVolume();
    void aFolderChangeRelistsAndClearsTheSelection();
    void aHighlightedFolderBecomesCurrentWhenTheFocusMoves();
    void aFolderThatCannotBeListedLeavesTheListsAsTheyWere();
    void clickingAFileEnablesOpen();
    void openFileBringsTheBrowserBack();
    void helpOpensOneWindowAndReloadsAfterClosing();
    void helpTextIsPlainAsciiInItsSections();
    void aboutNamesVersionAndMaker();
};

void StartupTest::windowCoversTheScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("outerHeight");
    // 10 twips less than the screen is two thirds of a pixel: rounded, one pixel less.
    QTest::newRow("1024 x 768") << QSize(1024, 768) << 767;
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << 1079;
}

void StartupTest::windowCoversTheScreen() {
    QFETCH(QSize, screen);
    QFETCH(int, outerHeight);
    TestPlatform platform(screen);
    FrmImageViewer window(platform.Build());
    window.show();

    QCOMPARE(window.windowTitle(), QStringLiteral("Tamsel Image Viewer v1.0.2"));
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(0, 0));
    QCOMPARE(window.frameGeometry().width(), screen.width());
    QCOMPARE(window.frameGeometry().height(), outerHeight);
    QVERIFY(!window.isMaximized());

    const int w = window.InnerWidth();
    const int h = window.InnerHeight();
    QCOMPARE(window.frameGeometry().width() - w, window.frameGeometry().width() - window.width());
    for (QWidget* control : {static_cast<QWidget*>(window.cmdPrevious), static_cast<QWidget*>(window.cmdStop),
                             static_cast<QWidget*>(window.cmdNext), static_cast<QWidget*>(window.Label2)}) {
        QCOMPARE(control->y(), h - 80);
    }
    QCOMPARE(window.cmdStop->x(), shell::RoundHalfEven(w / 2.0 - 40));
    QCOMPARE(window.Frame1->geometry(),
             QRect(shell::RoundHalfEven(w / 2.0 - 220.5), shell::RoundHalfEven((h - 329) / 2.0), 441, 329));

    QCOMPARE(window.ViewWidth, w - 20);
    QCOMPARE(window.ViewHeight, h - 100);

    // One layout entry per control: the 12 controls, the 25 menu entries and the nine cells.
    QCOMPARE(window.Controls.size(), std::size_t{46});
    QCOMPARE(window.ControlLayout.size(), std::size_t{46});
    const auto frameAt = static_cast<std::size_t>(1);
    QCOMPARE(window.ControlLayout[frameAt].LeftRatio,
             static_cast<float>(window.Frame1->x()) / static_cast<float>(w));
    const auto menuAt = static_cast<std::size_t>(12);
    QCOMPARE(window.ControlLayout[menuAt].WidthRatio, 0.0F);
}

void StartupTest::controlsAndMenusStartInTheirDesignStates() {
    TestPlatform platform;
    FrmImageViewer window(platform.Build());
    window.show();

    QVERIFY(window.Frame1->isVisible());
    QCOMPARE(window.Frame1->title(), QStringLiteral("Double Click On A File To View"));
    QVERIFY(window.Label2->isVisible());
    QCOMPARE(window.Label2->text(),
             QStringLiteral("Single Click and Open or Double Click On An Image to See It Full Size"));
    QVERIFY(window.cmdStop->isVisible());
    QVERIFY(!window.cmdStop->isEnabled());
    QCOMPARE(window.cmdStop->text(), QStringLiteral("Open"));
    QCOMPARE(window.cmdStop->toolTip(), QStringLiteral("Open Selected File"));
    QVERIFY(!window.cmdPrevious->isVisible());
    QVERIFY(!window.cmdNext->isVisible());
    QCOMPARE(window.cmdPrevious->toolTip(), QStringLiteral("Previous Image"));
    QCOMPARE(window.cmdNext->toolTip(), QStringLiteral("Next Image"));
    for (platform::PictureBox* box : window.Picture3) {
        QVERIFY(!box->isVisible());
    }
    QVERIFY(!window.Label1->isVisible());
    QCOMPARE(window.filList->ListIndex(), -1);
    QVERIFY(!window.ThumbMode);
    QCOMPARE(window.PageStart, 0);
    QVERIFY(!window.StopShow);

    QStringList captions;
    for (const FrmImageViewer::Control& control : window.Controls) {
        if (control.action != nullptr) {
            captions << control.action->text();
            QVERIFY(control.action->shortcut().isEmpty());
        }
    }
    QCOMPARE(captions, (QStringList{"File",
                                    "Open File",
                                    "",
                                    "Thumbnail View",
                                    "",
                                    "Exit",
                                    "Slide Show",
                                    "Begin Slide Show",
                                    "End Slide Show",
                                    "",
                                    "Sequential Display",
                                    "Random Display",
                                    "",
                                    "Display Interval",
                                    "1 Sec",
                                    "3 Sec",
                                    "5 Sec",
                                    "10 Sec",
                                    "15 Sec",
                                    "30 Sec",
                                    "60 Sec",
                                    "Help",
                                    "Help",
                                    "",
                                    "About"}));
    QVERIFY(!window.mnuViewThumbnails->isChecked());
    QVERIFY(!window.mnuEndSlideShow->isEnabled());
    QVERIFY(window.mnuBeginSlideShow->isEnabled());
    QVERIFY(window.mnuSequentialShow->isChecked());
    QVERIFY(!window.mnuRandomShow->isChecked());
    for (std::size_t i = 0; i < window.mnuDisplayInterval.size(); ++i) {
        QCOMPARE(window.mnuDisplayInterval[i]->isChecked(), i == 1);
    }
}

void StartupTest::firstRunShowsTheProgramsFolder() {
    TestPlatform platform;
    testing::WriteSolidTexture(platform.programFolder, QStringLiteral("road.pbf"), 4, 4, qRgb(255, 0, 0));
    FrmImageViewer window(platform.Build());
    QCOMPARE(window.dirList->Path(), platform.programFolder);
    QCOMPARE(window.filList->Path(), platform.programFolder);
    QCOMPARE(Entries(*window.filList), QStringList{QStringLiteral("road.pbf")});
    QCOMPARE(window.filList->Pattern(),
             QStringLiteral("*.bmp;*.BMP;*.jpg;*.JPG;*.pbf;*.PBF;*.srb;*.SRB;*.mip;*.MIP"));
}

void StartupTest::restoresTheStoredFolderByTheRule_data() {
    QTest::addColumn<QString>("stored");  // "<folder>" stands for an existing folder of the sandbox
    QTest::addColumn<bool>("restored");
    QTest::newRow("existing folder") << "<folder>/" << true;
    QTest::newRow("existing folder, no trailing slash") << "<folder>" << true;
    QTest::newRow("deleted folder") << "<folder>/gone/" << false;
    QTest::newRow("the root") << "//" << false;
    QTest::newRow("empty string") << "" << false;
    QTest::newRow("an existing file") << "<folder>/a.bmp" << false;
}

void StartupTest::restoresTheStoredFolderByTheRule() {
    QFETCH(QString, stored);
    QFETCH(bool, restored);
    TestPlatform platform;
    const QString folder = testing::MakeFolder(platform.sandbox.path(), QStringLiteral("pictures"));
    testing::WritePicture(folder, QStringLiteral("a.bmp"), testing::SolidImage(2, 2, qRgb(0, 0, 255)));
    Store(platform, stored.replace(QStringLiteral("<folder>"), folder));

    FrmImageViewer window(platform.Build());
    QCOMPARE(window.dirList->Path(), restored ? folder : platform.programFolder);
    QCOMPARE(window.filList->Path(), window.dirList->Path());
    QVERIFY(platform.messages->shown.empty());
}

void StartupTest::closeAndExitStoreTheSameValueOnce() {
    QByteArray afterExit;
    QByteArray afterClose;
    for (const bool viaMenu : {true, false}) {
        TestPlatform platform;
        const QString folder = testing::MakeFolder(platform.sandbox.path(), QStringLiteral("cars"));
        Store(platform, folder + u'/');
        FrmImageViewer window(platform.Build());
        window.show();
        if (viaMenu) {
            window.mnuExit->trigger();
        } else {
            window.close();
        }
        QCOMPARE(platform.end->ends, 1);
        QCOMPARE(Stored(platform), folder + u'/');
        QFile file(platform.settingsFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        (viaMenu ? afterExit : afterClose) = file.readAll().replace(folder.toUtf8(), "<folder>");
    }
    QCOMPARE(afterExit, afterClose);
}

void StartupTest::theRootIsStoredWithTwoSlashes() {
    TestPlatform platform;
    FrmImageViewer window(platform.Build());
    QVERIFY(window.dirList->SetPath(QStringLiteral("/")));
    window.mnuExit_Click();
    QCOMPARE(Stored(platform), QStringLiteral("//"));

    // ... and is therefore not restored.
    FrmImageViewer next(platform.Build());
    QCOMPARE(next.dirList->Path(), platform.programFolder);
}

void StartupTest::anUnreadableDriveReturnsToTheDriveOnShow() {
    TestPlatform platform;
    FrmImageViewer window(platform.Build());
    const QString drive = window.drvList->Drive();
    const QString folder = window.dirList->Path();
    window.drvList->addItem(QStringLiteral("/no/such/volume"));
    window.drvList->setCurrentIndex(window.drvList->count() - 1);

    QCOMPARE(window.drvList->Drive(), drive);
    QCOMPARE(window.dirList->Path(), folder);
    QVERIFY(platform.messages->shown.empty());
}

// A folder that is a volume of its own (a mount point) reached from the folder list: the drive list
// shows that volume, and choosing the first drive again goes back there.
void StartupTest::theDriveListFollowsTheFolderIntoAnotherVolume() {
    TestPlatform platform;
    const QString mountPoint = testing::MakeFolder(platform.programFolder, QStringLiteral("volume"));
    const QByteArray point = QFile::encodeName(mountPoint);
    if (::mount("tamsel-test", point.constData(), "tmpfs", 0, "size=64k") != 0) {
        QSKIP("mounting a volume needs root");
    }
    const auto unmount = qScopeGuard([&] { ::umount(point.constData()); });
    FrmImageViewer window(platform.Build());
    const QString drive = window.drvList->Drive();
    QVERIFY(drive != mountPoint);
    window.dirList->SetPath(mountPoint);
    QCOMPARE(window.drvList->Drive(), mountPoint);
    window.drvList->setCurrentIndex(window.drvList->findText(drive));
    QCOMPARE(window.dirList->Path(), platform.programFolder);
    QCOMPARE(window.drvList->Drive(), drive);
}

void StartupTest::aFolderChangeRelistsAndClearsTheSelection() {
    TestPlatform platform;
    testing::WritePicture(platform.programFolder, QStringLiteral("a.bmp"),
                          testing::SolidImage(2, 2, qRgb(0, 0, 255)));
    const QString other = testing::MakeFolder(platform.sandbox.path(), QStringLiteral("other"));
    for (const char* name : {"img10.jpg", "img2.jpg", "Img1.JPG", "notes.txt", "mixed.Jpg"}) {
        testing::WritePicture(other, QString::fromLatin1(name), testing::SolidImage(2, 2, qRgb(9, 9, 9)));
    }
    FrmImageViewer window(platform.Build());
    window.show();
    window.filList->SetListIndex(0);
    QVERIFY(window.cmdStop->isEnabled());

    QVERIFY(window.dirList->SetPath(other));
    QCOMPARE(window.filList->Path(), other);
    QCOMPARE(window.filList->ListIndex(), -1);
    QCOMPARE(Entries(*window.filList), (QStringList{"Img1.JPG", "img2.jpg", "img10.jpg"}));
    QVERIFY(window.Frame1->isVisible());
    QVERIFY(window.cmdStop->isVisible());
    QVERIFY(!window.cmdNext->isVisible());
}

void StartupTest::aHighlightedFolderBecomesCurrentWhenTheFocusMoves() {
    TestPlatform platform;
    const QString sub = testing::MakeFolder(platform.programFolder, QStringLiteral("sub"));
    testing::WritePicture(sub, QStringLiteral("in-sub.bmp"), testing::SolidImage(2, 2, qRgb(0, 0, 255)));
    FrmImageViewer window(platform.Build());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    int subAt = -1;
    for (int i = 0; i < window.dirList->count(); ++i) {
        subAt = window.dirList->EntryPath(i) == sub ? i : subAt;
    }
    QVERIFY(subAt >= 0);
    window.dirList->setFocus();
    QTest::mouseClick(window.dirList->viewport(), Qt::LeftButton, {},
                      window.dirList->visualItemRect(window.dirList->item(subAt)).center());
    QCOMPARE(window.dirList->ListIndex(), subAt);
    QCOMPARE(window.dirList->Path(), platform.programFolder);

    window.filList->setFocus();
    QTRY_COMPARE(window.dirList->Path(), sub);
    QCOMPARE(Entries(*window.filList), QStringList{QStringLiteral("in-sub.bmp")});
}

void StartupTest::aFolderThatCannotBeListedLeavesTheListsAsTheyWere() {
    TestPlatform platform;
    FrmImageViewer window(platform.Build());
    QVERIFY(!window.dirList->SetPath(platform.sandbox.filePath(QStringLiteral("vanished"))));
    QCOMPARE(window.dirList->Path(), platform.programFolder);
    QCOMPARE(window.filList->Path(), platform.programFolder);
    QVERIFY(platform.messages->shown.empty());
}

void StartupTest::clickingAFileEnablesOpen() {
    TestPlatform platform;
    testing::WritePicture(platform.programFolder, QStringLiteral("a.bmp"),
                          testing::SolidImage(2, 2, qRgb(0, 0, 255)));
    FrmImageViewer window(platform.Build());
    window.show();
    QVERIFY(!window.cmdStop->isEnabled());
    const QRect row = window.filList->visualRect(window.filList->model()->index(0, 0));
    QTest::mouseClick(window.filList->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(window.filList->ListIndex(), 0);
    QVERIFY(window.cmdStop->isEnabled());
    QVERIFY(window.Frame1->isVisible());
}

void StartupTest::openFileBringsTheBrowserBack() {
    TestPlatform platform;
    testing::WritePicture(platform.programFolder, QStringLiteral("a.bmp"),
                          testing::SolidImage(20, 10, qRgb(0, 0, 255)));
    FrmImageViewer window(platform.Build());
    window.show();
    window.filList->SetListIndex(0);
    window.filList_DblClick();
    QVERIFY(!window.Frame1->isVisible());
    QVERIFY(window.Picture3[0]->isVisible());
    const QString title = window.windowTitle();

    window.mnuOpenFile->trigger();
    QVERIFY(window.Frame1->isVisible());
    QVERIFY(window.Label2->isVisible());
    QVERIFY(!window.cmdPrevious->isVisible());
    QVERIFY(!window.cmdNext->isVisible());
    QVERIFY(window.cmdStop->isVisible());
    QVERIFY(!window.cmdStop->isEnabled());
    QCOMPARE(window.cmdStop->text(), QStringLiteral("Open"));
    for (platform::PictureBox* box : window.Picture3) {
        QVERIFY(!box->isVisible());
    }
    // The selection and the caption stay as they were.
    QCOMPARE(window.filList->ListIndex(), 0);
    QCOMPARE(window.windowTitle(), title);
}

void StartupTest::helpOpensOneWindowAndReloadsAfterClosing() {
    TestPlatform platform;
    FrmImageViewer window(platform.Build());
    window.mnuHelp->trigger();
    FrmHelp* help = window.HelpWindow();
    QVERIFY(help != nullptr);
    window.mnuHelp->trigger();
    QCOMPARE(window.HelpWindow(), help);
    QCOMPARE(help->LoadCount(), 1);
    QCOMPARE(help->windowTitle(), QStringLiteral("Tamsel Sound Player Help"));
    QCOMPARE(help->size(), QSize(646, 449));
    QCOMPARE(help->Text1->toPlainText().left(26), QStringLiteral("Tamsel Image Viewer v1.0.2"));

    help->close();
    QTRY_VERIFY(window.HelpWindow() == nullptr);
    window.mnuHelp->trigger();
    QVERIFY(window.HelpWindow() != nullptr);
    QCOMPARE(window.HelpWindow()->LoadCount(), 1);
    QCOMPARE(window.HelpWindow()->Text1->toPlainText(),
             QString(HelpText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void StartupTest::helpTextIsPlainAsciiInItsSections() {
    const QString text = HelpText();
    QVERIFY(text.size() > 2000);
    for (const QChar c : text) {
        QVERIFY(c.unicode() < 128);
    }
    QCOMPARE(text.count(QStringLiteral("\r\n")), text.count(u'\n'));
    QCOMPARE(text.count(QStringLiteral("\r\n")), text.count(u'\r'));
    QVERIFY(text.contains(QStringLiteral("\r\n\t")));
    QVERIFY(!text.contains(QStringLiteral("\r\n ")));
    QVERIFY(text.startsWith(QStringLiteral("Tamsel Image Viewer v1.0.2\r\n")));
    qsizetype at = 0;
    for (const char* heading :
         {"WHAT IS TAMSEL IMAGE VIEWER?", "INSTALLATION:", "HOW DOES IT WORK?",
          "OPERATING INSTRUCTIONS:", "FILE Menu Items:", "SLIDE SHOW Menu Items:", "HELP Menu Items:",
          "BUTTONS:", "UNINSTALL INSTRUCTIONS:", "ACKNOWLEDGMENT:", "BUG REPORTS:", "VERSIONS:"}) {
        const qsizetype found =
            text.indexOf(QStringLiteral("\r\n") + QLatin1String(heading) + QStringLiteral("\r\n"), at);
        QVERIFY2(found > at, heading);
        at = found;
    }
    for (const char* version : {"1.0.2", "1.0.1", "1.0.0"}) {
        QVERIFY(text.indexOf(QLatin1String(version), at) > at);
    }
}

void StartupTest::aboutNamesVersionAndMaker() {
    TestPlatform platform;
    FrmImageViewer window(platform.Build());
    window.mnuAbout->trigger();
    QCOMPARE(platform.messages->shown.size(), std::size_t{1});
    const testing::ShownMessage& about = platform.messages->shown.front();
    QCOMPARE(about.caption, QStringLiteral("Tamsel Image Viewer"));
    QCOMPARE(about.text, QStringLiteral("v1.0.2 by Corvane Software Store"));
    QCOMPARE(about.icon, platform::MessageIcon::Information);
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
