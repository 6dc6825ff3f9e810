// The window made and started: its parts, its menus, the remembered folder; the one place where the
// controls are set from the model; messages; and the end of the program.
#include <sys/stat.h>

#include <QApplication>
#include <QCloseEvent>
#include <QImageReader>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

#include "browse/Browser.h"
#include "files/Drives.h"
#include "files/FileNames.h"
#include "help/HelpWindow.h"
#include "navigation/ButtonRow.h"
#include "platform/Fonts.h"
#include "platform/InnerArea.h"
#include "platform/MousePointer.h"
#include "platform/PictureBox.h"
#include "shell/AppIcon.h"
#include "shell/Controls.h"
#include "shell/MainWindow.h"
#include "shell/Settings.h"
#include "slideshow/SlideShow.h"
#include "texts/Texts.h"
#include "thumbs/ThumbnailPage.h"
#include "view/SingleView.h"

namespace tamsel::shell {

using texts::Text;

namespace {

// Large BMPs must show: the image reader may allocate up to 1 GiB for one picture.
constexpr int kImageAllocationLimitMb = 1024;

// Where the single view's box and the cells stand before the window is first laid out.
constexpr QRect kFirstBox{464, 328, 89, 97};

}  // namespace

MainWindow::MainWindow(platform::Platform platform, std::shared_ptr<picture::ReadAhead> readAhead,
                       QWidget* parent)
    : QMainWindow(parent),
      platform_(std::move(platform)),
      settings_(platform_.settingsFile),
      readAhead_(std::move(readAhead)) {
    QImageReader::setAllocationLimit(kImageAllocationLimitMb);
    setWindowTitle(texts::ApplicationTitle());
    setWindowIcon(QIcon(QPixmap::fromImage(DrawAppIcon(64))));
    show_ = std::make_unique<slideshow::SlideShow>(state_.show, platform_);

    auto* inner = new platform::InnerArea(this);
    setCentralWidget(inner);
    browser_ = new browse::Browser(Text(texts::kFrameCaption), inner);
    buttons_ = new navigation::ButtonRow(inner);
    single_ = new view::SingleView(inner, kFirstBox);
    hint_ = new QLabel(Text(texts::kHintAtDesign), inner);
    hint_->setGeometry(120, 360, 127, 26);
    hint_->setFont(platform::ControlFont(8.25));
    hint_->setWordWrap(true);
    hint_->hide();
    page_ = new thumbs::ThumbnailPage(inner, kFirstBox);
    laidOut_ = {browser_,         &browser_->Files(), &browser_->Folders(), buttons_->Previous(),
                buttons_->Next(), &single_->Box(),    buttons_->Middle(),   hint_};
    for (int cell = 1; cell <= 9; ++cell) {
        laidOut_.push_back(&page_->Cell(cell));
    }
    MakeMenus();
    ConnectParts();
    StartWatching();
    setAcceptDrops(true);
    // Keys pressed anywhere in the window reach its key handling before the focused control's own.
    qApp->installEventFilter(this);
    resize(569, 496 + menuBar()->sizeHint().height());
    StartUp();
}

MainWindow::~MainWindow() {
    // The base class closes the window and hides its children after this body: nothing they
    // signal then may reach a window that is no longer one.
    qApp->removeEventFilter(this);
    for (QObject* child : findChildren<QObject*>()) {
        child->disconnect(this);
    }
    delete help_;
}

void MainWindow::MakeMenus() {
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false);
    const auto checkable = [](QAction* action) {
        action->setCheckable(true);
        return action;
    };
    menus_.file = bar->addMenu(Text(texts::kFileMenu));
    menus_.openFile = menus_.file->addAction(Text(texts::kOpenFile));
    menus_.file->addSeparator();
    menus_.thumbnailView = checkable(menus_.file->addAction(Text(texts::kThumbnailView)));
    menus_.file->addSeparator();
    menus_.exit = menus_.file->addAction(Text(texts::kExit));

    menus_.slideShow = bar->addMenu(Text(texts::kSlideShowMenu));
    menus_.beginShow = menus_.slideShow->addAction(Text(texts::kBeginSlideShow));
    menus_.endShow = menus_.slideShow->addAction(Text(texts::kEndSlideShow));
    menus_.slideShow->addSeparator();
    menus_.sequential = checkable(menus_.slideShow->addAction(Text(texts::kSequentialDisplay)));
    menus_.random = checkable(menus_.slideShow->addAction(Text(texts::kRandomDisplay)));
    menus_.slideShow->addSeparator();
    menus_.interval = menus_.slideShow->addMenu(Text(texts::kDisplayInterval));
    for (std::size_t i = 0; i < menus_.intervals.size(); ++i) {
        menus_.intervals[i] = checkable(menus_.interval->addAction(Text(texts::kIntervals[i])));
    }

    menus_.help = bar->addMenu(Text(texts::kHelpMenu));
    menus_.helpItem = menus_.help->addAction(Text(texts::kHelp));
    menus_.help->addSeparator();
    menus_.about = menus_.help->addAction(Text(texts::kAbout));
}

void MainWindow::ConnectParts() {
    // A check mark shows a setting of the model: the mark a menu toggles on its own is set back from
    // the model once the handler has run.
    const auto onMenu = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, [this, handler] {
            handler();
            UpdateControls();
        });
    };
    onMenu(menus_.openFile, [this] { ShowBrowser(); });
    onMenu(menus_.thumbnailView, [this] { ToggleThumbnailView(); });
    onMenu(menus_.exit, [this] { Exit(); });
    onMenu(menus_.beginShow, [this] { BeginShow(); });
    onMenu(menus_.endShow, [this] { EndShow(); });
    onMenu(menus_.sequential, [this] { SetOrder(slideshow::Order::Sequential); });
    onMenu(menus_.random, [this] { SetOrder(slideshow::Order::Random); });
    for (std::size_t i = 0; i < menus_.intervals.size(); ++i) {
        onMenu(menus_.intervals[i], [this, i] { SetInterval(static_cast<int>(i)); });
    }
    onMenu(menus_.helpItem, [this] { ShowHelp(); });
    onMenu(menus_.about, [this] { ShowAbout(); });

    connect(static_cast<platform::InnerArea*>(centralWidget()), &platform::InnerArea::Resized, this,
            &MainWindow::InnerAreaResized);
    connect(&browser_->Drives(), &platform::DriveList::Chosen, this, &MainWindow::ChooseDrive);
    connect(&browser_->Folders(), &platform::FolderList::Chosen, this,
            [this](const QString& path) { ChangeFolder(path); });
    connect(&browser_->Files(), &platform::FileList::Chosen, this, &MainWindow::ChooseFile);
    connect(&browser_->Files(), &platform::FileList::Opened, this, &MainWindow::OpenChosenFile);
    connect(buttons_, &navigation::ButtonRow::PreviousClicked, this, &MainWindow::Previous);
    connect(buttons_, &navigation::ButtonRow::MiddleClicked, this, &MainWindow::MiddleClicked);
    connect(buttons_, &navigation::ButtonRow::NextClicked, this, &MainWindow::Next);
    connect(page_, &thumbs::ThumbnailPage::CellClicked, this, &MainWindow::ClickCell);
    connect(page_, &thumbs::ThumbnailPage::CellOpened, this, &MainWindow::OpenCell);
    connect(single_, &view::SingleView::BoxShownOrHidden, this, &MainWindow::UpdateFacts);
    connect(&single_->Zoom(), &view::ZoomView::Cleared, this, &MainWindow::ZoomCleared);
}

void MainWindow::StartUp() {
    PlaceWindow();
    PlaceControls();
    hint_->setText(Text(texts::kHint));
    hint_->setFont(platform::FontThatFits(*hint_, 8.25));
    state_.hintShown = true;
    RestoreLastFolder();
    state_.factsOn = ReadSetting(settings_, kShowFacts, QString()) == QStringLiteral("1");
    factsStored_ = state_.factsOn;
    UpdateControls();
    // The keyboard starts in the file list, where Enter opens the selected file.
    browser_->Files().setFocus(Qt::OtherFocusReason);
}

void MainWindow::RestoreLastFolder() {
    const QString& ownFolder = platform_.programFolder;
    const QString path = ReadSetting(settings_, kLastUsedPath, ownFolder);
    struct stat status {};
    const bool exists = !path.isEmpty() && ::stat(files::EncodeName(path).constData(), &status) == 0;
    // A stored root ("/" stored as "//") is not restored; a folder that exists but cannot be listed
    // falls back to the program's own folder too.
    if (!path.endsWith(QStringLiteral("//")) && exists && ChangeFolder(path)) {
        return;
    }
    ChangeFolder(ownFolder);
}

void MainWindow::PlaceControls() {
    // The browser centred, the view geometry for the inner area, the buttons on one row 80 pixels above
    // the bottom edge (Previous a third of the way across, Next two thirds), the hint at their left;
    // then every control's place recorded as fractions of the inner area.
    QWidget* inner = centralWidget();
    const int w = inner->width();
    const int h = inner->height();
    browser_->move(RoundHalfEven(w / 2.0 - browser_->width() / 2.0),
                   RoundHalfEven((h - browser_->height()) / 2.0));
    QPushButton* middle = buttons_->Middle();
    geometry_ = ComputeViewGeometry(w, h, middle->height());
    middle->move(RoundHalfEven(w / 2.0 - middle->width() / 2.0), h - 80);
    buttons_->Previous()->move(RoundHalfEven(w / 3.0 - buttons_->Previous()->width() / 2.0), middle->y());
    buttons_->Next()->move(RoundHalfEven(2.0 * w / 3.0 - buttons_->Next()->width() / 2.0), middle->y());
    hint_->setGeometry(20, middle->y(), 180, middle->height());
    layout_.clear();
    for (const QWidget* control : laidOut_) {
        layout_.push_back(PlacementOf(control->geometry(), w, h));
    }
}

void MainWindow::UpdateControls() {
    const Controls controls = ControlsFor(state_);
    buttons_->Set(controls.previous, controls.middle, controls.next);
    const MenuStates& menus = controls.menus;
    menus_.file->menuAction()->setEnabled(menus.fileMenu);
    menus_.openFile->setEnabled(menus.openFile);
    menus_.thumbnailView->setChecked(menus.thumbnailViewChecked);
    menus_.slideShow->menuAction()->setEnabled(menus.slideShowMenu);
    menus_.beginShow->setEnabled(menus.beginShow);
    menus_.endShow->setEnabled(menus.endShow);
    menus_.sequential->setChecked(menus.sequentialChecked);
    menus_.random->setChecked(menus.randomChecked);
    menus_.interval->menuAction()->setEnabled(menus.intervalMenu);
    for (std::size_t i = 0; i < menus_.intervals.size(); ++i) {
        menus_.intervals[i]->setChecked(static_cast<int>(i) == menus.intervalChecked);
    }
    hint_->setVisible(controls.hintShown);
    browser_->setVisible(controls.browserShown);
    browser_->ShowFiles(state_.folder);
    page_->Mark(state_.mode == Mode::Pages && !state_.browserShown ? state_.markedCell : std::nullopt);
    setWindowTitle(controls.title);
}

void MainWindow::ShowMessage(const QString& text, platform::MessageIcon icon) {
    ShowKeyRefusal();
    // What is on screen while the box is open is what the window now shows.
    UpdateControls();
    platform::MousePointer::SetDefault();
    ++boxesOpen_;
    platform_.messages->Show(this, texts::ApplicationTitle(), text, icon);
    --boxesOpen_;
    // An interval of the show that ran out while the box was open ends now.
    if (boxesOpen_ == 0 && std::exchange(intervalOver_, false)) {
        QMetaObject::invokeMethod(this, &MainWindow::ShowNextOfShow, Qt::QueuedConnection);
    }
}

void MainWindow::ShowCannotDisplay(const QString& path) {
    ShowMessage(texts::CannotDisplayMessage(path), platform::MessageIcon::Warning);
}

void MainWindow::ShowHelp() {
    if (help_ == nullptr) {
        help_ = new help::HelpWindow();
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

help::HelpWindow* MainWindow::Help() const {
    return help_;
}

void MainWindow::ShowAbout() {
    ShowMessage(texts::AboutMessage(), platform::MessageIcon::Information);
}

void MainWindow::Exit() {
    show_->End();
    // The facts' state is stored only once it differs from what is stored: a settings file is left
    // as it was by a user who never asks for them.
    if (state_.factsOn != factsStored_) {
        WriteSetting(settings_, kShowFacts, state_.factsOn ? QStringLiteral("1") : QStringLiteral("0"));
    }
    WriteSetting(settings_, kLastUsedPath, state_.folder.Path() + u'/');
    delete help_;
    platform_.programEnd->EndProgram();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    Exit();
    event->accept();
}

}  // namespace tamsel::shell
