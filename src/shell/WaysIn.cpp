// Ways in from outside the window: a path on the command line or dropped on the window, and keys.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QWheelEvent>

#include "browse/Browser.h"
#include "files/Drives.h"
#include "files/FileNames.h"
#include "navigation/ButtonRow.h"
#include "shell/Controls.h"
#include "shell/MainWindow.h"
#include "view/SingleView.h"

namespace tamsel::shell {

namespace {

// The one local path a drag carries, or nothing.
std::optional<QString> DraggedPath(const QMimeData* data) {
    const QList<QUrl> urls = data != nullptr ? data->urls() : QList<QUrl>{};
    if (urls.size() != 1 || !urls.front().isLocalFile()) {
        return std::nullopt;
    }
    // The path's own bytes, percent-decoded, so that a name that is not valid UTF-8 keeps them.
    return files::DecodeName(
        QByteArray::fromPercentEncoding(urls.front().path(QUrl::FullyEncoded).toLatin1()));
}

}  // namespace

void MainWindow::ReportRefusedPath(const QString& path) {
    ShowCannotDisplay(path);
}

QString MainWindow::OpenPath(const QString& path) {
    struct stat status {};
    if (path.isEmpty() || ::stat(files::EncodeName(path).constData(), &status) != 0) {
        // A link that leads nowhere is missing too; a loop of links, or a folder on the way that cannot
        // be searched, is said as the system says it.
        return path.isEmpty() || errno == ENOENT || errno == ENOTDIR
                   ? QStringLiteral("no such file or folder")
                   : QString::fromLocal8Bit(std::strerror(errno));
    }
    const bool folder = S_ISDIR(status.st_mode);
    if (!folder && !S_ISREG(status.st_mode)) {
        return QStringLiteral("not a file or folder that can be read (a pipe, a device or a socket)");
    }
    const QString absolute = files::NormalFolderPath(path);
    const qsizetype slash = absolute.lastIndexOf(u'/');
    const QString fileName = absolute.sliced(slash + 1);
    const std::optional<texture::FileKind> kind = folder ? std::nullopt : picture::KindOfFile(absolute);
    if (!folder && !kind) {
        return QStringLiteral("not a kind of file the viewer shows");
    }
    // The folder list takes the folder, and the drive list follows it.
    const QString folderPath = folder ? absolute : (slash == 0 ? QStringLiteral("/") : absolute.first(slash));
    if (!ChangeFolder(folderPath)) {
        return QStringLiteral("the folder cannot be read");
    }
    if (folder) {
        return {};
    }
    const browse::Folder& files = state_.folder;
    for (int i = 0; i < files.Count(); ++i) {
        if (files.Name(i) == fileName) {
            Select(i);
            OpenChosenFile();
            return {};
        }
    }
    ShowUnlisted(fileName, *kind);
    return {};
}

// Shows a file of the folder on show that the file list does not hold, as a double click on it would:
// nothing is selected, and Next and Previous go on from its place among the listed names.
void MainWindow::ShowUnlisted(const QString& name, texture::FileKind kind) {
    Select(-1);
    state_.folder.SetUnlisted(browse::UnlistedFile{name, kind});
    OpenChosenFile();
}

bool MainWindow::AcceptsDrops() const {
    const MenuStates menus = ControlsFor(state_).menus;
    return menus.fileMenu && !menus.thumbnailViewChecked;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (AcceptsDrops() && DraggedPath(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const std::optional<QString> path = DraggedPath(event->mimeData());
    if (AcceptsDrops() && path && OpenPath(*path).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    event->ignore();
    if (AcceptsDrops() && path) {
        // Reported once the drop is over: a message box must not open inside it.
        QMetaObject::invokeMethod(
            this, [this, refused = *path] { ReportRefusedPath(refused); }, Qt::QueuedConnection);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Keys go to the menus while the menu bar or an open menu has the keyboard.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && QApplication::activePopupWidget() == nullptr &&
        menuBar()->activeAction() == nullptr) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (HandleKey(key->key(), key->modifiers() & ~Qt::KeypadModifier)) {
            return true;
        }
    }
    // The wheel zooms the picture on show wherever the pointer is in the window, a notch a level.
    if (event->type() == QEvent::Wheel && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && PictureOnShow() != nullptr) {
        const int steps = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
        ZoomSteps(steps);
        return steps != 0;
    }
    // With the facts on, the readout follows the pointer over the picture.
    if ((event->type() == QEvent::MouseMove || event->type() == QEvent::Leave) && state_.factsOn &&
        (watched == &single_->Box() || watched == &single_->Zoom())) {
        UpdateFacts();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
    // Any other key acts after the steps of the keys before it, as it would had each been served.
    if (key != Qt::Key_Left && key != Qt::Key_Right) {
        if (keySteps_) {
            TakeStepsNow();
        }
        ShowKeyRefusal();
    }
    const Controls controls = ControlsFor(state_);
    const auto usable = [](const navigation::ButtonFace& face) { return face.shown && face.enabled; };
    if (modifiers == Qt::ControlModifier) {
        // Ctrl+Q: what File > Exit does, while the File menu offers it.
        if (key == Qt::Key_Q && controls.menus.fileMenu) {
            Exit();
            return true;
        }
        return false;
    }
    if ((modifiers & ~Qt::ShiftModifier) != Qt::NoModifier) {
        return false;
    }
    const bool stepping = usable(controls.previous) && usable(controls.next);
    const bool browsing = state_.browserShown;
    switch (key) {
        case Qt::Key_Left:
            if (usable(controls.previous)) {
                StepByKey(-1);
                return true;
            }
            return false;
        case Qt::Key_Right:
            if (usable(controls.next)) {
                StepByKey(1);
                return true;
            }
            return false;
        case Qt::Key_Home:
        case Qt::Key_End:
            if (stepping && state_.mode != Mode::Pages && state_.folder.Count() > 0) {
                ShowEntry(key == Qt::Key_Home ? 0 : state_.folder.Count() - 1);
                return true;
            }
            return false;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // In the folder list: the highlighted folder becomes the current one. In the file list: what
            // a double click does.
            platform::FolderList& folders = browser_->Folders();
            if (browsing && focusWidget() == &folders) {
                ChangeFolder(folders.EntryPath(folders.currentRow()));
                return true;
            }
            if (browsing && focusWidget() == &browser_->Files() && state_.folder.Selected() >= 0) {
                OpenChosenFile();
                return true;
            }
            // On a page: what Open does for the cell last clicked, which a page drawn again since (after a
            // resize, or back from a picture) no longer has selected.
            if (!browsing && state_.mode == Mode::Pages && state_.markedCell) {
                ClickCell(*state_.markedCell);
                MiddleClicked();
                return true;
            }
            return false;
        }
        case Qt::Key_Backspace:
            // Up to the parent folder, as choosing it in the folder list does.
            if (browsing && state_.folder.Path() != QStringLiteral("/")) {
                ChangeFolder(files::NormalFolderPath(state_.folder.Path() + QStringLiteral("/..")));
                return true;
            }
            return false;
        case Qt::Key_F1:
            ShowHelp();
            return true;
        case Qt::Key_F10: {
            // What a lone Alt does: the menu bar takes the keyboard, its first menu highlighted; Escape
            // gives the keys back.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
            QCoreApplication::sendEvent(this, &press);
            QCoreApplication::sendEvent(this, &release);
            return true;
        }
        // The picture's own keys act only while the browser is hidden: in the browser, a letter or digit
        // typed into a list jumps to a name.
        case Qt::Key_I:
            if (browsing) {
                return false;
            }
            ToggleFacts();
            return true;
        case Qt::Key_C:
            return !browsing && ToggleSource();
        case Qt::Key_Plus:
        case Qt::Key_Equal:
        case Qt::Key_Minus:
        case Qt::Key_1:
        case Qt::Key_0:
            return !browsing && HandleZoomKey(key);
        case Qt::Key_F11:
            setWindowState(windowState() ^ Qt::WindowFullScreen);
            return true;
        case Qt::Key_Escape:
            // Full screen is left first; otherwise a picture opened from a page goes back to the page.
            if (isFullScreen()) {
                setWindowState(windowState() & ~Qt::WindowFullScreen);
                return true;
            }
            if (usable(controls.middle) && state_.middle.mode == MiddleMode::BackToPage) {
                MiddleClicked();
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace tamsel::shell
