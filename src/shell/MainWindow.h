#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "files/SettingsStore.h"
#include "picture/HeldPicture.h"
#include "picture/Preparing.h"
#include "picture/ReadAhead.h"
#include "platform/Platform.h"
#include "shell/Geometry.h"
#include "shell/ViewState.h"

class QAction;
class QFileSystemWatcher;
class QLabel;
class QMenu;
class QTimer;

namespace tamsel::browse {
class Browser;
}
namespace tamsel::help {
class HelpWindow;
}
namespace tamsel::navigation {
class ButtonRow;
}
namespace tamsel::platform {
class PictureBox;
}
namespace tamsel::slideshow {
class SlideShow;
}
namespace tamsel::thumbs {
class ThumbnailPage;
}
namespace tamsel::view {
class SingleView;
struct Facts;
}  // namespace tamsel::view

namespace tamsel::shell {

// The menus and their items, made once.
struct Menus {
    QMenu* file = nullptr;
    QAction* openFile = nullptr;
    QAction* thumbnailView = nullptr;
    QAction* exit = nullptr;
    QMenu* slideShow = nullptr;
    QAction* beginShow = nullptr;
    QAction* endShow = nullptr;
    QAction* sequential = nullptr;
    QAction* random = nullptr;
    QMenu* interval = nullptr;
    std::array<QAction*, 7> intervals{};
    QMenu* help = nullptr;
    QAction* helpItem = nullptr;
    QAction* about = nullptr;
};

// The main window: the browser, the single view, the thumbnail page, the row of buttons, the hint and
// the menus, over one model of what it shows (ViewState). Every user action is a handler that changes
// the model, draws what it asks for and sets every control from the model (UpdateControls); the slide
// show waits on a timer. The window covers the screen and lays its controls out in proportion to its
// inner area, as they were placed at start-up.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `readAhead` may already be making pictures ready, such as the one named on the command line.
    explicit MainWindow(
        platform::Platform platform,
        std::shared_ptr<picture::ReadAhead> readAhead = std::make_shared<picture::ReadAhead>(),
        QWidget* parent = nullptr);
    ~MainWindow() override;

    // The parts, as a user sees them.
    const ViewState& State() const { return state_; }
    browse::Browser& Browser() const { return *browser_; }
    view::SingleView& SingleView() const { return *single_; }
    thumbs::ThumbnailPage& Page() const { return *page_; }
    navigation::ButtonRow& Buttons() const { return *buttons_; }
    QLabel& Hint() const { return *hint_; }
    const Menus& MenuItems() const { return menus_; }
    help::HelpWindow* Help() const;
    const ViewGeometry& Geometry() const { return geometry_; }

    // What the user does, each as its control does it.
    bool ChangeFolder(const QString& path);
    void ChooseDrive(const QString& root);
    void ChooseFile(int index);  // a click on a file, also on the one selected, or the keyboard
    void OpenChosenFile();       // a double click on a file
    void ShowBrowser();          // File > Open File
    void ToggleThumbnailView();  // File > Thumbnail View
    void Exit();                 // File > Exit, or closing the window
    void Previous();
    void Next();
    void MiddleClicked();
    void ClickCell(int cell);
    void OpenCell(int cell);
    void BeginShow();
    void EndShow();
    void SetOrder(slideshow::Order order);
    void SetInterval(int index);
    void ShowHelp();
    void ShowAbout();
    void ToggleFacts();

    // Ways in from outside the window. A folder opens in the browser as if chosen in the folder list; a
    // file opens its folder and is shown as a double click on it shows it, or, when the file list does
    // not show its name, by its first bytes. Empty when it was taken; otherwise why not, with nothing
    // changed.
    QString OpenPath(const QString& path);
    // A path from outside that is not taken is reported as any file that cannot be shown: the viewer
    // may have been started by a file manager, where nobody reads the standard error.
    void ReportRefusedPath(const QString& path);
    // Runs `action` from the event loop once the shown window has its final geometry.
    void WhenPlaced(std::function<void()> action);
    // A drop is taken while the File menu is enabled and the thumbnail view is off.
    bool AcceptsDrops() const;
    // Keys, each through the handler of the button or menu item it stands for, with its guards (see
    // the README's table); true when the key was taken.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    // The start-up placement made again for the inner area as it now is: the controls, the view
    // limits and the cells, as once a window manager's frame is known.
    void PlaceControls();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Marks a display in progress for as long as it lives: a message box of one may be open.
    class DisplayScope {
    public:
        explicit DisplayScope(MainWindow& window);
        DisplayScope(const DisplayScope&) = delete;
        DisplayScope& operator=(const DisplayScope&) = delete;
        ~DisplayScope();

    private:
        MainWindow& window_;
    };

    // The file a box shows: the selected entry, or in the single view with nothing selected the file on
    // show that the list does not hold; nothing when there is none of a kind the viewer shows.
    struct FileToShow {
        QString name;
        QString path;
    };

    // Start-up and the window on the screen (MainWindow.cpp, Placement.cpp).
    void MakeMenus();
    void ConnectParts();
    void StartUp();
    void RestoreLastFolder();
    void PlaceWindow();
    void FitToFrame();
    void NativeSizeChanged();
    void CheckFrame();
    void Placed();
    QSize FrameExtra() const;
    void InnerAreaResized();
    void LayOut();
    void Redraw();

    // The model's controls, and the messages (MainWindow.cpp).
    void UpdateControls();
    void ShowMessage(const QString& text, platform::MessageIcon icon);
    void ShowCannotDisplay(const QString& path);
    void Select(int index, bool byUser = false);
    // Selects `entry` and shows it in the single view.
    void ShowEntry(int entry);
    // Steps by a Left (-1) or Right (+1) key; keys that come while a step by key is drawn join into
    // one step, which shows only the picture they count to.
    void StepByKey(int steps);
    void TakeKeySteps();
    // Takes the steps of the keys that came so far, now; whether there were any to take.
    bool TakeStepsNow();
    // The message of a file refused on a step by key waits a moment for another key, which steps past
    // the file without it, as the files a held key skips give none.
    void TellAfterKeys(std::function<void()> message);
    // Gives that message now, if it waits: before anything else is opened or said.
    void ShowKeyRefusal();

    // Drawing pictures (Drawing.cpp). Slot 0 is the single view, 1 to 9 the cells of the page.
    platform::PictureBox& BoxOf(int slot) const;
    QSize LimitOf(int slot) const;
    std::optional<FileToShow> FileFor(int slot) const;
    void DrawSlot(int slot);
    void DrawSingle() { DrawSlot(0); }
    void DrawPage();
    void ShowFirstPage();
    const picture::HeldPicture* HeldFor(const QString& path, int slot) const;
    bool ShowHeld(const FileToShow& file, int slot);
    void Open(const FileToShow& file, int slot);
    void TellRefusal(const QString& path, const std::optional<texture::Refusal>& reason,
                     picture::Refusal refusal);
    void Draw(int slot, const QString& name, const picture::Prepared& prepared);
    void PlaceAndShow(int slot, const QString& name);
    void ReadAheadAround();
    std::vector<picture::ReadJob> PageJobs(int pageStart) const;
    std::optional<picture::Prepared> PreparedOf(int slot) const;
    std::vector<std::pair<QString, picture::Prepared>> PageOnShow() const;
    void ShowUnlisted(const QString& name, texture::FileKind kind);

    // The slide show (Handlers.cpp).
    void RunShow();
    void ShowNextOfShow();

    // The facts and zoom of the single view (FactsAndZoom.cpp).
    QRect PictureArea() const;
    const picture::HeldPicture* PictureOnShow() const;
    // Where a short notice over the single view stands.
    QPoint NoticeCorner() const;
    const RefusedFile* RefusalOnShow() const;
    void UpdateFacts();
    // The pixel of the picture on show under the pointer, over the zoom or the box; nothing elsewhere.
    std::optional<QPoint> PixelUnderPointer(const picture::HeldPicture& held) const;
    // Adds to `facts` what is known of the picture's pixel `texel`.
    void AddReadout(const picture::HeldPicture& held, QPoint texel, view::Facts& facts) const;
    bool EnterZoom();
    // Zooms to the level `level` gives for the scale on show and the fit's.
    void Zoom(const std::function<double(double scale, double fit)>& level);
    // Zooms in (more than 0) or out by as many levels.
    void ZoomSteps(int steps);
    bool HandleZoomKey(int key);
    // Key C: shows the source of the texture on show in its place in the zoom, or the texture again.
    // False when no texture is on show.
    bool ToggleSource();
    void ShowSource(const picture::HeldPicture& held);
    // The zoom was cleared, which ends the source's showing.
    void ZoomCleared();

    // Files changed by others (LiveReload.cpp).
    void StartWatching();
    void WatchShown();
    void FilesChanged();
    bool LeaveVanishedFolder();

    platform::Platform platform_;
    files::SettingsStore settings_;
    ViewState state_;
    ViewGeometry geometry_;

    browse::Browser* browser_ = nullptr;
    view::SingleView* single_ = nullptr;
    thumbs::ThumbnailPage* page_ = nullptr;
    navigation::ButtonRow* buttons_ = nullptr;
    QLabel* hint_ = nullptr;
    Menus menus_;
    QPointer<help::HelpWindow> help_;
    // Every control laid out in proportion, in the order they were made, with its place as fractions of
    // the inner area at start-up. The drive list keeps its place.
    std::vector<QWidget*> laidOut_;
    std::vector<ControlPlacement> layout_;

    std::shared_ptr<picture::ReadAhead> readAhead_;
    std::array<std::optional<picture::HeldPicture>, 10> held_;  // what each box holds
    picture::Palette palette_{};  // the palette a texture without its own takes: the last one read
    QString paletteFrom_;         // the file that palette came from; empty while it is black
    QImage textureOfSource_;      // while its source is shown in the zoom: the texture, at its own size
    bool factsStored_ = false;    // the facts' state as the settings file holds it

    QFileSystemWatcher* watcher_ = nullptr;  // the folder, the folder above it and the files on show
    QTimer* settle_ = nullptr;               // restarted by each change: fires once the files are still

    std::unique_ptr<slideshow::SlideShow> show_;
    bool intervalOver_ = false;  // an interval ran out while a message box was open
    int boxesOpen_ = 0;          // message boxes open
    // While a step by key is drawn or waits to be: the steps of the keys that came since.
    std::optional<int> keySteps_;
    bool steppingByKey_ = false;        // a step by Left or Right is being drawn
    std::function<void()> keyRefusal_;  // the message of a file refused on a step by key, waiting
    QTimer* keyRefusalTimer_ = nullptr;
    int heading_ = 1;             // the way the single view last stepped: 1 on, -1 back
    int displaying_ = 0;          // displays in progress
    bool redrawPending_ = false;  // a resize came during a display and owes a redraw

    QSize outerSize_;                  // the window's size with its frame, from the screen's
    QSize assumedFrame_;               // what the frame added when the window was sized
    bool frameFitted_ = false;         // sized again once the window manager's frame became known
    bool placeAfterFit_ = false;       // the controls are placed again at the size that follows
    bool awaitingFit_ = false;         // the window manager has still to answer the size for its frame
    bool placeWhenMaximized_ = false;  // a compositor that places windows itself has still to size it
    bool placed_ = false;              // the shown window has its final geometry
    std::function<void()> whenPlaced_;
};

}  // namespace tamsel::shell
