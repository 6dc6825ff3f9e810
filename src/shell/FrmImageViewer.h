#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <vector>

#include "browse/ImageKind.h"
#include "display/HeldPicture.h"
#include "display/ReadAhead.h"
#include "platform/Platform.h"
#include "platform/SettingsStore.h"
#include "shell/Geometry.h"
#include "texture/TextureReader.h"

class QAction;
class QFileSystemWatcher;
class QTimer;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;

namespace tamsel::platform {
class DirListBox;
class DriveListBox;
class FileListBox;
class PictureBox;
}  // namespace tamsel::platform

namespace tamsel {

class FrmHelp;
namespace display {
class FactsPanel;
class ZoomView;
}  // namespace display
namespace buttons {
struct Changes;
}

// The main window: the file browser, the ten picture boxes, the three buttons, the labels and the
// menus, the view state they share, and every handler. The handlers of each part of the window are
// defined in that part's folder (browse/, display/, thumbs/, slideshow/, help/); start-up, layout
// and shut-down are here in shell/.
//
// Controls, view state and handlers are public: the window is driven by its own events, and tests
// drive and inspect it the same way.
class FrmImageViewer : public QMainWindow {
    Q_OBJECT
public:
    // `readAhead` may already be making pictures ready, such as the one named on the command line.
    explicit FrmImageViewer(
        platform::Platform platform,
        std::shared_ptr<display::ReadAhead> readAhead = std::make_shared<display::ReadAhead>(),
        QWidget* parent = nullptr);
    ~FrmImageViewer() override;

    // One entry of the control collection: a control with a rectangle, or a menu title, item or
    // separator.
    struct Control {
        const char* name;
        QWidget* widget;
        QAction* action;
    };

    // Controls, in creation order.
    platform::PictureBox* imgOriginal;
    QGroupBox* Frame1;
    platform::FileListBox* filList;
    platform::DirListBox* dirList;
    platform::DriveListBox* drvList;
    QPushButton* cmdPrevious;
    QPushButton* cmdNext;
    std::array<platform::PictureBox*, 10> Picture3{};
    platform::PictureBox* Picture2;
    QPushButton* cmdStop;
    QLabel* Label2;
    QLabel* Label1;

    // Menus.
    QMenu* FileMenuHeader;
    QAction* mnuOpenFile;
    QAction* Line1;
    QAction* mnuViewThumbnails;
    QAction* Line2;
    QAction* mnuExit;
    QMenu* SlideShowMenuHeader;
    QAction* mnuBeginSlideShow;
    QAction* mnuEndSlideShow;
    QAction* Line3;
    QAction* mnuSequentialShow;
    QAction* mnuRandomShow;
    QAction* Line4;
    QMenu* DisplayIntervalHeader;
    std::array<QAction*, 7> mnuDisplayInterval{};
    QMenu* HelpMenuHeader;
    QAction* mnuHelp;
    QAction* Line5;
    QAction* mnuAbout;

    // The control collection, in order; fixed once start-up has created the thumbnail boxes.
    std::vector<Control> Controls;

    // View state.
    bool ThumbMode = false;
    int PageStart = 0;
    bool StopShow = false;
    int ViewWidth = 0;
    int ViewHeight = 0;
    int ThumbWidth = 0;
    int ThumbHeight = 0;
    std::array<int, 18> ThumbCellPos{};
    std::array<int, 20> ThumbImageSize{};
    std::vector<shell::ControlPlacement> ControlLayout;

    // The top-left corner of the cell that picture slot `slot` (1..9) shows: its left edge at
    // ThumbCellPos entry slot - 1, its top edge at entry slot - 1 + 9.
    QPoint CellCorner(int slot) const;

    // The window's inner area: the central widget, below the menu bar.
    int InnerWidth() const;
    int InnerHeight() const;

    // Shell: start-up, layout, shut-down.
    void Form_Load();
    void ComputeThumbCells();
    void RecordLayout();
    void Form_Resize();
    void Redraw();
    void InnerArea_Resized();
    void Form_Unload();
    void mnuExit_Click();
    bool PathExists(const QString& path) const;

    // Folder browsing.
    void drvList_Change();
    void dirList_Change();
    void dirList_LostFocus();
    void filList_Click();
    void filList_DblClick();
    void mnuOpenFile_Click();

    // Showing pictures.
    void OpenSelectedImage(int slot);
    std::optional<texture::TextureLayout> LoadTexture(const QString& path);
    bool ShowImage(const QString& path, browse::ImageKind kind, int slot);

    // Thumbnail pages.
    void mnuViewThumbnails_Click();
    void ShowThumbnailPage();
    void Picture3_Click(int index);
    void Picture3_DblClick(int index);

    // Navigation and the slide show.
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdStop_Click();
    void mnuBeginSlideShow_Click();
    void RunSlideShow();
    void mnuEndSlideShow_Click();
    void mnuSequentialShow_Click();
    void mnuRandomShow_Click();
    void mnuDisplayInterval_Click(int index);

    // Help and About.
    void mnuHelp_Click();
    void mnuAbout_Click();
    FrmHelp* HelpWindow() const;

    // Ways in from outside the window: a path given on the command line or dropped on the window, and
    // keys. Each goes through the handlers above, with their guards.

    // Opens a folder in the browser as if chosen in the folder list, or a picture's folder with the
    // picture shown as a double click on it in the file list shows it. Empty when it was taken;
    // otherwise why not, with nothing changed.
    QString OpenPath(const QString& path);

    // A path given from outside that is not taken is reported as any file that cannot be shown: the
    // viewer may have been started by a file manager, where nobody reads the standard error.
    void ReportRefusedPath(const QString& path);

    // Runs `action` from the event loop once the shown window has its final geometry: after a window
    // manager has added its frame and the window has been sized for it, so that a picture opened at
    // start-up is drawn once, for the final size.
    void WhenPlaced(std::function<void()> action);

    // A drop is taken while the File menu is enabled and the thumbnail view is off.
    bool AcceptsDrops() const;

    // Keys, each through the handler of the button or menu item it stands for, with its guards:
    // Left and Right do what Previous and Next do, Home and End go to the first and last file in the
    // single view, all only while those buttons are visible and enabled; Enter in the folder list
    // opens the highlighted folder and in the file list does what a double click does; Backspace in
    // the browser goes to the parent folder; F1 opens Help, F10 the menu bar, Ctrl+Q does what Exit
    // does; F11 toggles full screen; Escape leaves it, or else goes back from a picture opened from a
    // page to the page. True when the key was taken.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    // What a modder uses beside the picture, each through a key or the wheel. I toggles the facts of
    // the picture on show over the view's corner (remembered from run to run). In the single view, +
    // and - zoom about the pointer (as the wheel does), 1 shows the picture at its own size, 0 returns
    // to the fit; showing another picture returns to the fit too.
    void ToggleFacts();
    bool HandleZoomKey(int key);
    display::FactsPanel* picFacts = nullptr;
    display::ZoomView* picZoom = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Marks a display in progress for as long as it lives.
    class DisplayScope {
    public:
        explicit DisplayScope(FrmImageViewer& window);
        DisplayScope(const DisplayScope&) = delete;
        DisplayScope& operator=(const DisplayScope&) = delete;
        ~DisplayScope();

    private:
        FrmImageViewer& window_;
    };

    void CreateControls();
    void CreateMenus();
    void ConnectHandlers();
    void PlaceWindow();
    void PlaceControls();
    void FitOuterSize();
    void CheckFrame();
    void Placed();
    QSize FrameExtra() const;
    void RestoreLastFolder();
    void StoreFolderAndEnd();
    void ShowEntry(int index);
    void HideThumbnailCells();
    void ShowFullSizeFromPage();
    void ShowFirstPage();
    void SetButtons(const buttons::Changes& changes);
    void ShowMessage(const QString& text, platform::MessageIcon icon);
    void ShowCannotDisplay(const QString& path);
    QSize LimitOf(int slot) const;
    void Open(const QString& path, browse::ImageKind kind, int slot, bool validSlot);
    bool ShowPrepared(int slot, const QString& name, const display::Prepared& prepared);
    void Draw(int slot, const QString& name, QSize size, const QImage& shown, bool crisp);
    void ReadAheadAround();
    std::vector<display::ReadJob> PageJobs(int pageStart) const;
    std::vector<std::pair<QString, display::Prepared>> PageOnShow() const;
    const display::HeldPicture* HeldFor(const QString& path, int slot) const;
    bool ShowHeld(const QString& path, int slot);
    void RecordSize(int slot, const QString& name, QSize size);
    void PlaceAndShow(int slot, const QString& name);
    // Where the single view's facts and zoom draw, in the window as it is now: inside a margin of 10
    // pixels, above the buttons' row. At the start-up size it is the view's limits.
    QRect PictureArea() const;
    const display::HeldPicture* PictureOnShow() const;
    void UpdateFactsPanel();
    void StartWatching();
    void WatchShown();
    void FilesChanged();
    bool LeaveVanishedFolder();
    // The file a slot shows: the selected entry, or in the single view with nothing selected the file
    // on show that the list does not hold; nothing when there is none of a kind the viewer shows.
    struct FileToShow {
        QString name;
        QString path;
        browse::ImageKind kind;
    };
    std::optional<FileToShow> FileFor(int slot) const;
    void ShowUnlisted(const QString& name, browse::ImageKind kind);
    int EntryAfterOnShow() const;
    int EntryBeforeOnShow() const;
    bool EnterZoom();
    void LeaveZoom();
    void Zoom(std::optional<QPointF> aboutInWindow, double factor);
    void ZoomByWheel(QPointF atInWindow, int steps);

    platform::Platform platform_;
    platform::SettingsStore settings_;
    texture::TextureReader textureReader_;
    std::vector<std::uint8_t> texturePixels_;  // the pixel bytes last read; their memory serves the next
    std::shared_ptr<display::ReadAhead> readAhead_;
    std::array<std::optional<display::HeldPicture>, 10> held_;  // what each picture box holds
    QString paletteFrom_;  // the file the reader's palette came from; empty while it is black
    // A file the single view shows, or showed, that the file list does not hold: one opened from
    // outside whose name the list does not show, or the file on show once it vanished. Next and
    // Previous step from its place among the listed names. Any selection or folder change ends it.
    struct UnlistedFile {
        QString name;
        std::optional<browse::ImageKind> kind;  // none once it vanished: there is nothing to draw
    };
    std::optional<UnlistedFile> unlisted_;
    bool factsOn_ = false;                   // the facts panel is asked for
    bool factsStored_ = false;               // as the settings file holds it
    QFileSystemWatcher* watcher_ = nullptr;  // the folder and the files on show
    QTimer* settle_ = nullptr;               // restarted by each change: fires once the files are still
    QPointer<FrmHelp> help_;
    QSize outerSize_;             // the window's size with its frame, from the screen's
    QSize assumedFrame_;          // what the frame added when the window was sized
    bool frameFitted_ = false;    // sized again once the window manager's frame became known
    bool placeAfterFit_ = false;  // the controls are placed again at the size that follows
    bool placed_ = false;         // the shown window has its final geometry
    std::function<void()> whenPlaced_;
    int displaying_ = 0;          // displays in progress: a message box of one may be open
    bool redrawPending_ = false;  // a resize came during a display and owes a redraw
};

}  // namespace tamsel
