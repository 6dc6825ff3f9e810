#include "support/Window.h"

#include <QPushButton>
#include <QTest>

#include "platform/FileListBox.h"
#include "platform/PictureBox.h"

namespace tamsel::testing {

using namespace Qt::StringLiterals;

QSize ScreenFor(QSize inner) {
    static const QSize taken = [] {
        TestPlatform platform;
        const Window window(platform);
        return platform.screenSize - QSize(window.InnerWidth(), window.InnerHeight());
    }();
    return inner + taken;
}

Window::Window(TestPlatform& platform, int numbered)
    : FrmImageViewer((WriteNumberedTextures(platform.programFolder, numbered), platform.Build())) {
    show();
}

void Window::Select(const QString& name) {
    for (int i = 0; i < filList->ListCount(); ++i) {
        if (filList->EntryName(i) == name) {
            filList->SetListIndex(i);
            return;
        }
    }
    QFAIL(qPrintable(name + u" is not in the file list"_s));
}

void Window::Open(const QString& name) {
    Select(name);
    filList_DblClick();
}

int Window::Single() const {
    return EntryShownIn(*Picture3[0]);
}

QList<int> Window::Cells() const {
    QList<int> entries;
    for (std::size_t slot = 1; slot <= 9; ++slot) {
        entries << EntryShownIn(*Picture3[slot]);
    }
    return entries;
}

QString Window::Buttons() const {
    QStringList states;
    for (const QPushButton* button : {cmdPrevious, cmdStop, cmdNext}) {
        states << button->text() + (button->isEnabled() ? "" : "-") + (button->isVisible() ? "" : "~") +
                      " [" + button->toolTip() + "]";
    }
    return states.join(u" | "_s);
}

}  // namespace tamsel::testing
