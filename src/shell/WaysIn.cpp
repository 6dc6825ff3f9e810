// Ways in from outside the window: a path on the command line or dropped on the window, and keys.
#include <sys/stat.h>

#include <QAction>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>

#include "browse/ImageKind.h"
#include "platform/DirListBox.h"
#include "platform/Drives.h"
#include "platform/FileListBox.h"
#include "platform/FileNames.h"
#include "platform/MousePointer.h"
#include "shell/Buttons.h"
#include "shell/FrmImageViewer.h"
#include "shell/Texts.h"

namespace tamsel {

namespace {

bool Usable(const QPushButton* button) {
    return button->isVisible() && button->isEnabled();
}

// The one local path a drag carries, or nothing.
std::optional<QString> DraggedPath(const QMimeData* data) {
    const QList<QUrl> urls = data != nullptr ? data->urls() : QList<QUrl>{};
    if (urls.size() != 1 || !urls.front().isLocalFile()) {
        return std::nullopt;
    }
    // The path's own bytes, percent-decoded, so that a name that is not valid UTF-8 keeps them.
    return platform::DecodeName(
        QByteArray::fromPercentEncoding(urls.front().path(QUrl::FullyEncoded).toLatin1()));
}

}  // namespace

void FrmImageViewer::ReportRefusedPath(const QString& path) {
    ShowCannotDisplay(path);
}

QString FrmImageViewer::OpenPath(const QString& path) {
    struct stat status {};
    if (path.isEmpty() || ::stat(platform::EncodeName(path).constData(), &status) != 0) {
        return QStringLiteral("no such file or folder");
    }
    const bool folder = S_ISDIR(status.st_mode);
    const QString absolute = platform::NormalFolderPath(path);
    const qsizetype slash = absolute.lastIndexOf(u'/');
    const QString fileName = absolute.sliced(slash + 1);
    const std::optional<browse::ImageKind> kind = folder ? std::nullopt : browse::KindOfFile(absolute);
    if (!folder && !kind) {
        return QStringLiteral("not a kind of file the viewer shows");
    }
    // The folder list takes the folder, and the drive list follows it.
    const QString folderPath = folder ? absolute : (slash == 0 ? QStringLiteral("/") : absolute.first(slash));
    if (!dirList->SetPath(folderPath)) {
        return QStringLiteral("the folder cannot be read");
    }
    if (folder) {
        return {};
    }
    for (int i = 0; i < filList->ListCount(); ++i) {
        if (filList->EntryName(i) == fileName) {
            filList->SetListIndex(i);
            filList_DblClick();
            return {};
        }
    }
    ShowUnlisted(fileName, *kind);
    return {};
}

// Shows a file of the folder on show that the file list does not hold, as a double click on it would:
// nothing is selected, and Next and Previous go on from its place among the listed names.
void FrmImageViewer::ShowUnlisted(const QString& name, browse::ImageKind kind) {
    filList->SetListIndex(-1);
    unlisted_ = UnlistedFile{name, kind};
    Frame1->hide();
    Label2->hide();
    SetButtons(buttons::kSingleView);
    OpenSelectedImage(0);
}

bool FrmImageViewer::AcceptsDrops() const {
    return FileMenuHeader->menuAction()->isEnabled() && !mnuViewThumbnails->isChecked();
}

void FrmImageViewer::dragEnterEvent(QDragEnterEvent* event) {
    if (AcceptsDrops() && DraggedPath(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void FrmImageViewer::dropEvent(QDropEvent* event) {
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

bool FrmImageViewer::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers == Qt::ControlModifier) {
        // Ctrl+Q: what File > Exit does, while the File menu offers it.
        if (key == Qt::Key_Q && FileMenuHeader->menuAction()->isEnabled() && mnuExit->isEnabled()) {
            mnuExit_Click();
            return true;
        }
        return false;
    }
    if ((modifiers & ~Qt::ShiftModifier) != Qt::NoModifier) {
        return false;
    }
    const bool stepping = Usable(cmdPrevious) && Usable(cmdNext);
    const bool browsing = Frame1->isVisible();
    switch (key) {
        case Qt::Key_Left:
            if (Usable(cmdPrevious)) {
                cmdPrevious_Click();
                return true;
            }
            return false;
        case Qt::Key_Right:
            if (Usable(cmdNext)) {
                cmdNext_Click();
                return true;
            }
            return false;
        case Qt::Key_Home:
        case Qt::Key_End:
            if (stepping && !ThumbMode && filList->ListCount() > 0) {
                ShowEntry(key == Qt::Key_Home ? 0 : filList->ListCount() - 1);
                return true;
            }
            return false;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // In the folder list: the highlighted folder becomes the current one. In the file list:
            // what a double click does.
            if (browsing && focusWidget() == dirList) {
                dirList->SetPath(dirList->EntryPath(dirList->ListIndex()));
                return true;
            }
            if (browsing && focusWidget() == filList && filList->ListIndex() >= 0) {
                filList_DblClick();
                return true;
            }
            return false;
        case Qt::Key_Backspace:
            // Up to the parent folder, as choosing it in the folder list does.
            if (browsing && dirList->Path() != QStringLiteral("/")) {
                dirList->SetPath(platform::NormalFolderPath(dirList->Path() + QStringLiteral("/..")));
                return true;
            }
            return false;
        case Qt::Key_F1:
            if (HelpMenuHeader->menuAction()->isEnabled()) {
                mnuHelp_Click();
                return true;
            }
            return false;
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
            if (Usable(cmdStop) && cmdStop->text() == texts::Text(texts::kThumbNails)) {
                cmdStop_Click();
                return true;
            }
            return false;
        default:
            return false;
    }
}

void FrmImageViewer::ShowEntry(int index) {
    platform::MousePointer::SetBusy();
    filList->SetListIndex(index);
    OpenSelectedImage(0);
    platform::MousePointer::SetDefault();
}

}  // namespace tamsel
