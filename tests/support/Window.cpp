#include "support/Window.h"

#include <QPushButton>
#include <QTest>

#include "navigation/ButtonRow.h"
#include "platform/PictureBox.h"
#include "thumbs/ThumbnailPage.h"
#include "view/SingleView.h"

namespace tamsel::testing {

using namespace Qt::StringLiterals;

QSize ScreenFor(QSize inner) {
    static const QSize taken = [] {
        TestPlatform platform;
        const Window window(platform);
        return platform.screenSize - window.centralWidget()->size();
    }();
    return inner + taken;
}

Window::Window(TestPlatform& platform, int numbered)
    : MainWindow((WriteNumberedTextures(platform.programFolder, numbered), platform.Build())) {
    show();
}

void Window::Select(const QString& name) {
    for (int i = 0; i < State().folder.Count(); ++i) {
        if (State().folder.Name(i) == name) {
            ChooseFile(i);
            return;
        }
    }
    QFAIL(qPrintable(name + u" is not in the file list"_s));
}

void Window::Open(const QString& name) {
    Select(name);
    OpenChosenFile();
}

int Window::Single() const {
    return EntryShownIn(SingleView().Box());
}

QList<int> Window::Cells() const {
    QList<int> entries;
    for (int cell = 1; cell <= 9; ++cell) {
        entries << EntryShownIn(Page().Cell(cell));
    }
    return entries;
}

QString Window::ButtonStates() const {
    QStringList states;
    for (const QPushButton* button : {MainWindow::Buttons().Previous(), MainWindow::Buttons().Middle(), MainWindow::Buttons().Next()}) {
        states << button->text() + (button->isEnabled() ? "" : "-") + (button->isVisible() ? "" : "~") +
                      " [" + button->toolTip() + "]";
    }
    return states.join(u" | "_s);
}

}  // namespace tamsel::testing
