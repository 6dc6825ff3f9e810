// The window through every mode and transition, told step by step as a user sees it: every button's
// caption, tooltip, enabled and visible state and place, the hint, the browser and its lists, the
// picture boxes and what they show, every menu item's enabled state and check mark, the title, the
// pointer and the messages given. The whole account is compared with the one kept beside this file
// (EveryMode.txt); with TAMSEL_RECORD=1 in the environment the test writes the account there instead.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "display/FactsPanel.h"
#include "display/ZoomView.h"
#include "platform/DirListBox.h"
#include "platform/DriveListBox.h"
#include "platform/FileListBox.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
#include "support/ShowSteps.h"
#include "support/Window.h"

using namespace tamsel;
using namespace Qt::StringLiterals;
using testing::TestPlatform;
using testing::Window;

namespace {

QString Place(const QWidget& widget) {
    const QRect r = widget.geometry();
    return u"%1,%2 %3x%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString Shown(const QWidget& widget) {
    return widget.isVisible() ? u"visible"_s : u"hidden"_s;
}

// A button as "caption" [tooltip], enabled or disabled, visible or hidden, and where.
QString Button(const QPushButton& button) {
    return u"\"%1\" [%2] %3 %4 %5"_s.arg(button.text(), button.toolTip(),
                                         button.isEnabled() ? u"enabled"_s : u"disabled"_s, Shown(button),
                                         Place(button));
}

// A menu and its items, each with its state: "-" disabled, "*" checked, "..." a submenu's items.
void DescribeMenu(const QMenu& menu, QStringList& lines, const QString& indent) {
    lines << indent + menu.title() + (menu.menuAction()->isEnabled() ? u""_s : u" -"_s);
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            lines << indent + u"  ----"_s;
        } else if (action->menu() != nullptr) {
            DescribeMenu(*action->menu(), lines, indent + u"  "_s);
        } else {
            lines << indent + u"  "_s + action->text() + (action->isEnabled() ? u""_s : u" -"_s) +
                         (action->isChecked() ? u" *"_s : u""_s);
        }
    }
}

// What the window shows, as a user sees it; paths within the sandbox are told from it.
QString Describe(const Window& window, const TestPlatform& platform) {
    const QString sandbox = platform.sandbox.path();
    const auto relative = [&sandbox](QString text) { return text.replace(sandbox, u"<sandbox>"_s); };
    QStringList lines;
    lines << u"title: "_s + window.windowTitle();
    lines << u"previous button: "_s + Button(*window.cmdPrevious);
    lines << u"middle button: "_s + Button(*window.cmdStop);
    lines << u"next button: "_s + Button(*window.cmdNext);
    lines << u"hint: \"%1\" %2 %3"_s.arg(window.Label2->text(), Shown(*window.Label2), Place(*window.Label2));
    lines << u"browser: \"%1\" %2 %3"_s.arg(window.Frame1->title(), Shown(*window.Frame1),
                                            Place(*window.Frame1));
    lines << u"  drive %1, folder %2"_s.arg(relative(window.drvList->Drive()),
                                            relative(window.dirList->Path()));
    lines << u"  files %1, selected %2 %3"_s.arg(window.filList->ListCount())
                 .arg(window.filList->ListIndex())
                 .arg(window.filList->FileName());
    const auto box = [&](const QString& name, const platform::PictureBox& picture) {
        if (!picture.isVisible()) {
            return name + u": hidden"_s;
        }
        return u"%1: entry %2 at %3 [%4]"_s.arg(name)
            .arg(testing::EntryShownIn(picture))
            .arg(Place(picture), picture.toolTip());
    };
    lines << box(u"single view"_s, *window.Picture3[0]);
    for (std::size_t cell = 1; cell <= 9; ++cell) {
        lines << box(u"cell %1"_s.arg(cell), *window.Picture3[cell]);
    }
    lines << u"facts: "_s + Shown(*window.picFacts) + u", zoom: "_s + Shown(*window.picZoom);
    for (const QAction* title : window.menuBar()->actions()) {
        DescribeMenu(*title->menu(), lines, u"menu "_s);
    }
    lines << u"pointer: "_s + (platform::MousePointer::IsBusy() ? u"busy"_s : u"default"_s);
    lines << u"messages: %1"_s.arg(platform.messages->shown.size());
    for (const testing::ShownMessage& message : platform.messages->shown) {
        lines << u"  "_s + relative(message.text).replace(u'\r', u'|');
    }
    return lines.join(u'\n');
}

}  // namespace

class EveryModeTest : public QObject {
    Q_OBJECT
private slots:
    void everyModeAndTransition() {
        TestPlatform platform;
        // Twelve numbered textures, one of them broken, and a broken JPEG after them; a folder of one
        // texture and an empty folder.
        testing::WriteNumberedTextures(platform.programFolder, 12);
        testing::WriteBytes(platform.programFolder, u"t05.pbf"_s, "not a texture");
        testing::WriteBytes(platform.programFolder, u"u-broken.jpg"_s, "not a picture");
        const QString one = testing::MakeFolder(platform.sandbox.path(), u"one"_s);
        testing::WriteSolidTexture(one, u"only.pbf"_s, 30, 5, qRgb(0, 0, 255));
        const QString empty = testing::MakeFolder(platform.sandbox.path(), u"empty"_s);
        Window window(platform);
        const QSize size = window.size();

        QStringList account;
        testing::ShowSteps steps(platform, [&](const QString& step) {
            account << u"## "_s + step << Describe(window, platform) << QString();
        });
        steps.Add(u"start: the browser"_s, [] {});
        steps.Add(u"a click on t03.pbf in the file list"_s, [&] {
            QTest::mouseClick(window.filList->viewport(), Qt::LeftButton, {},
                              window.filList->visualRect(window.filList->model()->index(3, 0)).center());
        });
        steps.Add(u"Open"_s, [&] { QTest::mouseClick(window.cmdStop, Qt::LeftButton); });
        steps.Add(u"Next"_s, [&] { QTest::mouseClick(window.cmdNext, Qt::LeftButton); });
        steps.Add(u"I: the facts"_s, [&] { QTest::keyClick(&window, Qt::Key_I); });
        steps.Add(u"+: zoomed in"_s, [&] { QTest::keyClick(&window, Qt::Key_Plus); });
        steps.Add(u"0: back to the fit"_s, [&] { QTest::keyClick(&window, Qt::Key_0); });
        steps.Add(u"I: the facts hidden"_s, [&] { QTest::keyClick(&window, Qt::Key_I); });
        steps.Add(u"Next onto the broken texture"_s,
                  [&] { QTest::mouseClick(window.cmdNext, Qt::LeftButton); });
        steps.Add(u"Previous"_s, [&] { QTest::mouseClick(window.cmdPrevious, Qt::LeftButton); });
        steps.Add(u"Previous from the first"_s, [&] {
            window.Select(u"t00.pbf"_s);
            QTest::mouseClick(window.cmdPrevious, Qt::LeftButton);
        });
        steps.Add(u"File > Open File"_s, [&] { window.mnuOpenFile->trigger(); });
        steps.Add(
            u"a click on t03.pbf, then a resize with the browser and its picture on show together"_s, [&] {
                QTest::mouseClick(window.filList->viewport(), Qt::LeftButton, {},
                                  window.filList->visualRect(window.filList->model()->index(3, 0)).center());
                window.resize(size.width() - 200, size.height() - 100);
            });
        steps.Add(u"the size restored"_s, [&] { window.resize(size); });
        steps.Add(u"a double click on t01.pbf"_s, [&] {
            window.Select(u"t01.pbf"_s);
            window.filList_DblClick();
        });
        steps.Add(u"File > Thumbnail View"_s, [&] { window.mnuViewThumbnails->trigger(); });
        steps.Add(u"a click on cell 3"_s, [&] { QTest::mouseClick(window.Picture3[3], Qt::LeftButton); });
        steps.Add(u"Open: full size from the page"_s,
                  [&] { QTest::mouseClick(window.cmdStop, Qt::LeftButton); });
        steps.Add(u"ThumbNails: back to the page"_s,
                  [&] { QTest::mouseClick(window.cmdStop, Qt::LeftButton); });
        steps.Add(u"Next page, with the broken files"_s,
                  [&] { QTest::mouseClick(window.cmdNext, Qt::LeftButton); });
        steps.Add(u"a double click on the broken JPEG's cell"_s,
                  [&] { QTest::mouseDClick(window.Picture3[4], Qt::LeftButton); });
        steps.Add(u"Escape: back to the page"_s, [&] { QTest::keyClick(&window, Qt::Key_Escape); });
        steps.Add(u"Previous page"_s, [&] { QTest::mouseClick(window.cmdPrevious, Qt::LeftButton); });
        steps.Add(u"a resize on the page"_s, [&] { window.resize(size.width() - 100, size.height()); });
        steps.Add(u"the size restored on the page"_s, [&] { window.resize(size); });
        steps.Add(u"File > Open File over the thumbnail view"_s, [&] { window.mnuOpenFile->trigger(); });
        steps.Add(u"a double click in the file list there"_s, [&] {
            window.Select(u"t02.pbf"_s);
            window.filList_DblClick();
        });
        steps.Add(u"an empty folder in the thumbnail view"_s, [&] { window.dirList->SetPath(empty); });
        steps.Add(u"a folder of one texture in the thumbnail view"_s, [&] { window.dirList->SetPath(one); });
        steps.Add(u"the first folder again, through the browser"_s, [&] {
            window.mnuOpenFile->trigger();
            window.dirList->SetPath(platform.programFolder);
        });
        steps.Add(u"File > Thumbnail View: leaving the view"_s, [&] { window.mnuViewThumbnails->trigger(); });
        steps.Add(u"Slide Show > Random Display"_s, [&] { window.mnuRandomShow->trigger(); });
        steps.Add(u"Slide Show > Sequential Display"_s, [&] { window.mnuSequentialShow->trigger(); });
        steps.Add(u"Slide Show > Display Interval > 1 Sec"_s,
                  [&] { window.mnuDisplayInterval[0]->trigger(); });
        steps.Add(u"Slide Show > Begin Slide Show, from t00.pbf"_s, [&] {
            window.Select(u"t00.pbf"_s);
            window.mnuBeginSlideShow->trigger();
        });
        steps.IntervalEnds(u"the interval runs out"_s);
        steps.Add(u"Help > About during the show"_s, [&] { window.mnuAbout->trigger(); });
        steps.IntervalEnds(u"the interval runs out again"_s);
        steps.IntervalEnds(u"and again, onto t04.pbf"_s);
        steps.IntervalEnds(u"and again, onto the broken texture"_s);
        steps.Add(u"Pause"_s, [&] { QTest::mouseClick(window.cmdStop, Qt::LeftButton); });
        steps.Add(u"Next while paused"_s, [&] { QTest::mouseClick(window.cmdNext, Qt::LeftButton); });
        steps.Add(u"Next again while paused"_s, [&] { QTest::mouseClick(window.cmdNext, Qt::LeftButton); });
        steps.Add(u"Continue"_s, [&] { QTest::mouseClick(window.cmdStop, Qt::LeftButton); });
        steps.IntervalEnds(u"the interval runs out after Continue"_s);
        steps.Add(u"Slide Show > End Slide Show"_s, [&] { window.mnuEndSlideShow->trigger(); });
        steps.Add(u"Slide Show > Begin Slide Show again"_s, [&] { window.mnuBeginSlideShow->trigger(); });
        steps.Add(u"Slide Show > End Slide Show at once"_s, [&] { window.mnuEndSlideShow->trigger(); });
        steps.Add(u"File > Open File after the show"_s, [&] { window.mnuOpenFile->trigger(); });
        steps.Run();

        const QString path = QStringLiteral(TAMSEL_SOURCE_DIR "/tests/window/EveryMode.txt");
        const QString told = account.join(u'\n');
        if (qEnvironmentVariableIsSet("TAMSEL_RECORD")) {
            QFile record(path);
            QVERIFY(record.open(QIODevice::WriteOnly | QIODevice::Truncate));
            record.write(told.toUtf8());
            return;
        }
        QFile record(path);
        QVERIFY2(record.open(QIODevice::ReadOnly), qPrintable(path));
        const QStringList expected = QString::fromUtf8(record.readAll()).split(u'\n');
        const QStringList seen = told.split(u'\n');
        QString step;
        for (qsizetype i = 0; i < std::min(expected.size(), seen.size()); ++i) {
            if (seen[i].startsWith(u"## "_s)) {
                step = seen[i];
            }
            QVERIFY2(seen[i] == expected[i],
                     qPrintable(u"%1\n  seen:     %2\n  expected: %3"_s.arg(step, seen[i], expected[i])));
        }
        QCOMPARE(seen.size(), expected.size());
    }
};

QTEST_MAIN(EveryModeTest)
#include "EveryModeTest.moc"
