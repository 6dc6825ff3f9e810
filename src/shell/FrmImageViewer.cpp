#include "shell/FrmImageViewer.h"

#include <sys/stat.h>

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QWheelEvent>

#include "browse/ImageKind.h"
#include "display/FactsPanel.h"
#include "display/ZoomView.h"
#include "help/FrmHelp.h"
#include "platform/DirListBox.h"
#include "platform/DriveListBox.h"
#include "platform/FileListBox.h"
#include "platform/FileNames.h"
#include "platform/InnerArea.h"
#include "platform/PictureBox.h"
#include "shell/AppIcon.h"
#include "shell/Registry.h"
#include "shell/Texts.h"

namespace tamsel {

using platform::PictureBox;
using texts::Text;

namespace {

// Large BMPs must show: the image reader may allocate up to 1 GiB for one picture.
constexpr int kImageAllocationLimitMb = 1024;

QFont ControlFont(qreal points) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(points);
    return font;
}

// The control font at the largest size, at most `points`, at which the label's text wraps into its box:
// where the named face is missing, a stand-in face may need a smaller size.
QFont FontThatFits(const QLabel& label, qreal points) {
    QFont font = ControlFont(points);
    const auto fits = [&label](const QFont& f) {
        return QFontMetrics(f).boundingRect(label.contentsRect(), Qt::TextWordWrap, label.text()).height() <=
               label.contentsRect().height();
    };
    while (!fits(font) && font.pointSizeF() > 6.0) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    return font;
}

QPushButton* MakeButton(QWidget* parent, const char* caption, const char* tip, const QRect& rect) {
    auto* button = new QPushButton(texts::Text(caption), parent);
    button->setToolTip(texts::Text(tip));
    button->setGeometry(rect);
    button->setFont(ControlFont(8.25));
    return button;
}

PictureBox* MakePictureBox(QWidget* parent, const QRect& rect) {
    auto* box = new PictureBox(parent);
    box->setGeometry(rect);
    box->hide();
    return box;
}

}  // namespace

FrmImageViewer::FrmImageViewer(platform::Platform platform, std::shared_ptr<display::ReadAhead> readAhead,
                               QWidget* parent)
    : QMainWindow(parent),
      platform_(std::move(platform)),
      settings_(platform_.settingsFile),
      readAhead_(std::move(readAhead)) {
    QImageReader::setAllocationLimit(kImageAllocationLimitMb);
    setWindowTitle(texts::ApplicationTitle());
    setWindowIcon(QIcon(QPixmap::fromImage(shell::DrawAppIcon(64))));
    CreateControls();
    CreateMenus();
    ConnectHandlers();
    StartWatching();
    setAcceptDrops(true);
    // Keys pressed anywhere in the window reach its key handling before the focused control's own.
    qApp->installEventFilter(this);
    resize(569, 496 + menuBar()->sizeHint().height());
    Form_Load();
}

FrmImageViewer::~FrmImageViewer() {
    delete help_;
}

void FrmImageViewer::CreateControls() {
    auto* inner = new platform::InnerArea(this);
    setCentralWidget(inner);
    connect(inner, &platform::InnerArea::Resized, this, &FrmImageViewer::InnerArea_Resized);

    imgOriginal = MakePictureBox(inner, {464, 208, 89, 97});
    Frame1 = new QGroupBox(Text(texts::kFrameCaption), inner);
    Frame1->setGeometry(16, 16, 441, 329);
    filList = new platform::FileListBox(Frame1);
    filList->setGeometry(264, 24, 161, 292);
    // Given its pattern before any folder is listed, so that start-up lists the remembered folder once.
    filList->SetPattern(browse::kFileListPattern);
    dirList = new platform::DirListBox(Frame1);
    dirList->setGeometry(16, 56, 233, 261);
    drvList = new platform::DriveListBox(Frame1);
    drvList->setGeometry(8, 24, 241, 21);
    cmdPrevious = MakeButton(inner, texts::kPrevious, texts::kPreviousImageTip, {136, 440, 80, 32});
    cmdPrevious->hide();
    cmdNext = MakeButton(inner, texts::kNext, texts::kNextImageTip, {344, 440, 80, 32});
    cmdNext->hide();
    Picture3[0] = MakePictureBox(inner, {464, 328, 89, 97});
    Picture2 = MakePictureBox(inner, {8, 328, 89, 97});
    Picture2->SetAutoSize(true);
    cmdStop = MakeButton(inner, texts::kOpen, texts::kOpenSelectedFileTip, {240, 440, 80, 32});
    cmdStop->setEnabled(false);
    Label2 = new QLabel(Text(texts::kHintAtDesign), inner);
    Label2->setGeometry(120, 360, 127, 26);
    Label2->setFont(ControlFont(8.25));
    Label2->setWordWrap(true);
    Label2->hide();
    Label1 = new QLabel(inner);
    Label1->setGeometry(264, 400, 45, 20);
    Label1->setFont(ControlFont(12));
    Label1->hide();

    // Drawn over the single view, outside the layout record: they move no control.
    picFacts = new display::FactsPanel(inner);
    picZoom = new display::ZoomView(inner);
    connect(picZoom, &display::ZoomView::Wheel, this,
            [this](QPointF at, int steps) { ZoomByWheel(picZoom->mapTo(this, at), steps); });

    Controls = {{"imgOriginal", imgOriginal, nullptr}, {"Frame1", Frame1, nullptr},
                {"filList", filList, nullptr},         {"dirList", dirList, nullptr},
                {"drvList", drvList, nullptr},         {"cmdPrevious", cmdPrevious, nullptr},
                {"cmdNext", cmdNext, nullptr},         {"Picture3(0)", Picture3[0], nullptr},
                {"Picture2", Picture2, nullptr},       {"cmdStop", cmdStop, nullptr},
                {"Label2", Label2, nullptr},           {"Label1", Label1, nullptr}};
}

void FrmImageViewer::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false);
    const auto item = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(Text(caption));
        Controls.push_back({name, nullptr, action});
        return action;
    };
    const auto separator = [this](QMenu* menu, const char* name) {
        QAction* action = menu->addSeparator();
        Controls.push_back({name, nullptr, action});
        return action;
    };
    const auto title = [this](QMenu* menu, const char* name) {
        Controls.push_back({name, nullptr, menu->menuAction()});
        return menu;
    };

    FileMenuHeader = title(bar->addMenu(Text(texts::kFileMenu)), "FileMenuHeader");
    mnuOpenFile = item(FileMenuHeader, "mnuOpenFile", texts::kOpenFile);
    Line1 = separator(FileMenuHeader, "Line1");
    mnuViewThumbnails = item(FileMenuHeader, "mnuViewThumbnails", texts::kThumbnailView);
    mnuViewThumbnails->setCheckable(true);
    Line2 = separator(FileMenuHeader, "Line2");
    mnuExit = item(FileMenuHeader, "mnuExit", texts::kExit);

    SlideShowMenuHeader = title(bar->addMenu(Text(texts::kSlideShowMenu)), "SlideShowMenuHeader");
    mnuBeginSlideShow = item(SlideShowMenuHeader, "mnuBeginSlideShow", texts::kBeginSlideShow);
    mnuEndSlideShow = item(SlideShowMenuHeader, "mnuEndSlideShow", texts::kEndSlideShow);
    mnuEndSlideShow->setEnabled(false);
    Line3 = separator(SlideShowMenuHeader, "Line3");
    mnuSequentialShow = item(SlideShowMenuHeader, "mnuSequentialShow", texts::kSequentialDisplay);
    mnuSequentialShow->setCheckable(true);
    mnuSequentialShow->setChecked(true);
    mnuRandomShow = item(SlideShowMenuHeader, "mnuRandomShow", texts::kRandomDisplay);
    mnuRandomShow->setCheckable(true);
    Line4 = separator(SlideShowMenuHeader, "Line4");
    DisplayIntervalHeader =
        title(SlideShowMenuHeader->addMenu(Text(texts::kDisplayInterval)), "DisplayIntervalHeader");
    for (std::size_t i = 0; i < mnuDisplayInterval.size(); ++i) {
        mnuDisplayInterval[i] = item(DisplayIntervalHeader, "mnuDisplayInterval", texts::kIntervals[i]);
        mnuDisplayInterval[i]->setCheckable(true);
    }
    mnuDisplayInterval[1]->setChecked(true);

    HelpMenuHeader = title(bar->addMenu(Text(texts::kHelpMenu)), "HelpMenuHeader");
    mnuHelp = item(HelpMenuHeader, "mnuHelp", texts::kHelp);
    Line5 = separator(HelpMenuHeader, "Line5");
    mnuAbout = item(HelpMenuHeader, "mnuAbout", texts::kAbout);
}

void FrmImageViewer::ConnectHandlers() {
    // A menu item's check mark is a setting that only the handlers change: undo the toggle the menu
    // makes on its own before the handler runs.
    const auto onMenu = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, [this, action, handler] {
            if (action->isCheckable()) {
                action->setChecked(!action->isChecked());
            }
            (this->*handler)();
        });
    };
    onMenu(mnuOpenFile, &FrmImageViewer::mnuOpenFile_Click);
    onMenu(mnuViewThumbnails, &FrmImageViewer::mnuViewThumbnails_Click);
    onMenu(mnuExit, &FrmImageViewer::mnuExit_Click);
    onMenu(mnuBeginSlideShow, &FrmImageViewer::mnuBeginSlideShow_Click);
    onMenu(mnuEndSlideShow, &FrmImageViewer::mnuEndSlideShow_Click);
    onMenu(mnuSequentialShow, &FrmImageViewer::mnuSequentialShow_Click);
    onMenu(mnuRandomShow, &FrmImageViewer::mnuRandomShow_Click);
    onMenu(mnuHelp, &FrmImageViewer::mnuHelp_Click);
    onMenu(mnuAbout, &FrmImageViewer::mnuAbout_Click);
    for (std::size_t i = 0; i < mnuDisplayInterval.size(); ++i) {
        QAction* action = mnuDisplayInterval[i];
        connect(action, &QAction::triggered, this, [this, action, i] {
            action->setChecked(!action->isChecked());
            mnuDisplayInterval_Click(static_cast<int>(i));
        });
    }

    connect(drvList, &platform::DriveListBox::Change, this, &FrmImageViewer::drvList_Change);
    connect(dirList, &platform::DirListBox::Change, this, &FrmImageViewer::dirList_Change);
    connect(dirList, &platform::DirListBox::LostFocus, this, &FrmImageViewer::dirList_LostFocus);
    connect(filList, &platform::FileListBox::Click, this, &FrmImageViewer::filList_Click);
    connect(filList, &platform::FileListBox::DblClick, this, &FrmImageViewer::filList_DblClick);
    connect(cmdPrevious, &QPushButton::clicked, this, &FrmImageViewer::cmdPrevious_Click);
    connect(cmdStop, &QPushButton::clicked, this, &FrmImageViewer::cmdStop_Click);
    connect(cmdNext, &QPushButton::clicked, this, &FrmImageViewer::cmdNext_Click);
}

QPoint FrmImageViewer::CellCorner(int slot) const {
    const auto cell = static_cast<std::size_t>(slot - 1);
    return {ThumbCellPos[cell], ThumbCellPos[cell + 9]};
}

int FrmImageViewer::InnerWidth() const {
    return centralWidget()->width();
}

int FrmImageViewer::InnerHeight() const {
    return centralWidget()->height();
}

void FrmImageViewer::Form_Load() {
    setWindowTitle(texts::TitleWithVersion());
    PlaceWindow();
    PlaceControls();
    Label2->setText(Text(texts::kHint));
    Label2->setFont(FontThatFits(*Label2, 8.25));
    Label2->show();
    RestoreLastFolder();
    filList->SetPattern(browse::kFileListPattern);
    factsOn_ = Registry::GetRegString(settings_, Registry::kMachineRoot, Registry::kViewerKey,
                                      Registry::kShowFacts, QString()) == QStringLiteral("1");
    factsStored_ = factsOn_;
    // The keyboard starts in the file list, where Enter opens the selected file.
    filList->setFocus(Qt::OtherFocusReason);
}

// Places the browser frame and the buttons for the inner size, computes the view geometry (making the
// thumbnail cells the first time) and records every control's placement.
void FrmImageViewer::PlaceControls() {
    const int w = InnerWidth();
    const int h = InnerHeight();
    Frame1->move(platform::RoundHalfEven(w / 2.0 - Frame1->width() / 2.0),
                 platform::RoundHalfEven((h - Frame1->height()) / 2.0));
    ComputeThumbCells();
    cmdStop->move(platform::RoundHalfEven(w / 2.0 - cmdStop->width() / 2.0), h - 80);
    cmdPrevious->move(platform::RoundHalfEven(w / 3.0 - cmdPrevious->width() / 2.0), cmdStop->y());
    cmdNext->move(platform::RoundHalfEven(2.0 * w / 3.0 - cmdNext->width() / 2.0), cmdStop->y());
    Label2->setGeometry(20, cmdStop->y(), 180, cmdStop->height());
    ControlLayout.assign(Controls.size(), shell::ControlPlacement{});
    RecordLayout();
}

void FrmImageViewer::ComputeThumbCells() {
    const shell::ViewGeometry g = shell::ComputeViewGeometry(InnerWidth(), InnerHeight(), cmdStop->height());
    ViewWidth = g.viewWidth;
    ViewHeight = g.viewHeight;
    ThumbWidth = g.thumbWidth;
    ThumbHeight = g.thumbHeight;
    ThumbCellPos = g.thumbCellPos;
    if (Picture3[1] != nullptr) {
        return;  // placed again once the window manager's frame was known: the cells exist
    }
    static constexpr std::array<const char*, 9> kNames{"Picture3(1)", "Picture3(2)", "Picture3(3)",
                                                       "Picture3(4)", "Picture3(5)", "Picture3(6)",
                                                       "Picture3(7)", "Picture3(8)", "Picture3(9)"};
    for (std::size_t slot = 1; slot < Picture3.size(); ++slot) {
        Picture3[slot] = MakePictureBox(centralWidget(), Picture3[0]->geometry());
        Controls.push_back({kNames[slot - 1], Picture3[slot], nullptr});
    }
    for (std::size_t slot = 0; slot < Picture3.size(); ++slot) {
        const int index = static_cast<int>(slot);
        connect(Picture3[slot], &PictureBox::Click, this, [this, index] { Picture3_Click(index); });
        connect(Picture3[slot], &PictureBox::DblClick, this, [this, index] { Picture3_DblClick(index); });
    }
}

void FrmImageViewer::RecordLayout() {
    const int w = InnerWidth();
    const int h = InnerHeight();
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        if (Controls[i].widget != nullptr) {
            ControlLayout[i] = shell::PlacementOf(Controls[i].widget->geometry(), w, h);
        }
    }
}

void FrmImageViewer::RestoreLastFolder() {
    const QString& ownFolder = platform_.programFolder;
    const QString path = Registry::GetRegString(settings_, Registry::kMachineRoot, Registry::kViewerKey,
                                                Registry::kLastUsedPath, ownFolder);
    const bool ok = PathExists(path);
    // A stored root ("/" stored as "//") is not restored; a folder that passes the test but cannot be
    // shown falls back to the program's own folder too.
    if (!path.endsWith(QStringLiteral("//")) && ok && drvList->SetDrive(path) && dirList->SetPath(path)) {
        return;
    }
    drvList->SetDrive(ownFolder);
    dirList->SetPath(ownFolder);
}

bool FrmImageViewer::PathExists(const QString& path) const {
    struct stat status {};
    return !path.isEmpty() && ::stat(platform::EncodeName(path).constData(), &status) == 0;
}

void FrmImageViewer::Form_Unload() {
    StoreFolderAndEnd();
}

void FrmImageViewer::mnuExit_Click() {
    StoreFolderAndEnd();
}

void FrmImageViewer::StoreFolderAndEnd() {
    platform_.screenSaver->Release();
    // The facts' state is stored only once it differs from what is stored: a settings file is left
    // as it was by a user who never asks for them.
    if (factsOn_ != factsStored_) {
        Registry::SaveRegString(settings_, Registry::kMachineRoot, Registry::kViewerKey, Registry::kShowFacts,
                                factsOn_ ? QStringLiteral("1") : QStringLiteral("0"));
    }
    Registry::SaveRegString(settings_, Registry::kMachineRoot, Registry::kViewerKey, Registry::kLastUsedPath,
                            dirList->Path() + u'/');
    platform_.programEnd->EndProgram();
}

void FrmImageViewer::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

bool FrmImageViewer::eventFilter(QObject* watched, QEvent* event) {
    // The facts and the zoom follow the single view: shown with its picture, gone with it.
    if (watched == Picture3[0] && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        if (event->type() == QEvent::Hide) {
            LeaveZoom();
        }
        UpdateFactsPanel();
    }
    if (watched == Picture3[0] && event->type() == QEvent::Wheel && PictureOnShow() != nullptr) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        ZoomByWheel(Picture3[0]->mapTo(this, wheel->position()), wheel->angleDelta().y() / 120);
        return true;
    }
    // Keys go to the menus while the menu bar or an open menu has the keyboard.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && QApplication::activePopupWidget() == nullptr &&
        menuBar()->activeAction() == nullptr) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (HandleKey(key->key(), key->modifiers() & ~Qt::KeypadModifier)) {
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void FrmImageViewer::ShowMessage(const QString& text, platform::MessageIcon icon) {
    platform_.messages->Show(this, texts::ApplicationTitle(), text, icon);
}

}  // namespace tamsel
