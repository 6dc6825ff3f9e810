#pragma once

#include <QString>
#include <QtGlobal>

// Every text the window shows, written once: the captions, tooltips, menu items, title, messages and
// the facts of a picture, each a whole sentence with its arguments. Each is marked for translation in
// the context "Tamsel"; Text() gives it as shown, translated when a translation is installed.
namespace tamsel::texts {

// The text as shown.
QString Text(const char* source);

// The application's title, the product's name, which is not translated: the caption of every message
// box and the start of the window title.
QString ApplicationTitle();
// The window title at start-up: "Tamsel Image Viewer v1.0.2".
QString TitleWithVersion();
// The window title while a file is shown: "Tamsel Image Viewer: " and the file's name.
QString TitleOfFile(const QString& name);
// The window title while a texture's source is shown in its place: "Tamsel Image Viewer: car.png
// (source of car.pbf)".
inline constexpr char kSourceOf[] = QT_TRANSLATE_NOOP("Tamsel", "%1 (source of %2)");
QString TitleOfSource(const QString& source, const QString& texture);

inline constexpr char kFrameCaption[] = QT_TRANSLATE_NOOP("Tamsel", "Double Click On A File To View");
inline constexpr char kHintAtDesign[] =
    QT_TRANSLATE_NOOP("Tamsel", "Double Click on a Picture to See It Fullsize");
inline constexpr char kHint[] =
    QT_TRANSLATE_NOOP("Tamsel", "Single Click and Open or Double Click On An Image to See It Full Size");

// Button captions; the middle button's says what a click on it does.
inline constexpr char kPrevious[] = QT_TRANSLATE_NOOP("Tamsel", "Previous");
inline constexpr char kNext[] = QT_TRANSLATE_NOOP("Tamsel", "Next");
inline constexpr char kOpen[] = QT_TRANSLATE_NOOP("Tamsel", "Open");
inline constexpr char kThumbNails[] = QT_TRANSLATE_NOOP("Tamsel", "ThumbNails");
inline constexpr char kPause[] = QT_TRANSLATE_NOOP("Tamsel", "Pause");
inline constexpr char kContinue[] = QT_TRANSLATE_NOOP("Tamsel", "Continue");

// Button tooltips. "Next ThumbNails" (entering the thumbnail view, or a new folder while it is on)
// and "Next Thumbnails" (back from a full-size picture) are both intended, each on its own path.
inline constexpr char kPreviousImageTip[] = QT_TRANSLATE_NOOP("Tamsel", "Previous Image");
inline constexpr char kNextImageTip[] = QT_TRANSLATE_NOOP("Tamsel", "Next Image");
inline constexpr char kOpenSelectedFileTip[] = QT_TRANSLATE_NOOP("Tamsel", "Open Selected File");
inline constexpr char kPreviousThumbnailsTip[] = QT_TRANSLATE_NOOP("Tamsel", "Previous Thumbnails");
inline constexpr char kNextThumbNailsTip[] = QT_TRANSLATE_NOOP("Tamsel", "Next ThumbNails");
inline constexpr char kNextThumbnailsTip[] = QT_TRANSLATE_NOOP("Tamsel", "Next Thumbnails");
inline constexpr char kViewMoreThumbnailsTip[] = QT_TRANSLATE_NOOP("Tamsel", "View More Thumbnails");
inline constexpr char kViewThumbnailsTip[] = QT_TRANSLATE_NOOP("Tamsel", "View Thumbnails");
inline constexpr char kPauseTip[] = QT_TRANSLATE_NOOP("Tamsel", "Pause Slide Show");
inline constexpr char kContinueTip[] = QT_TRANSLATE_NOOP("Tamsel", "Continue Slide Show");

// Menus.
inline constexpr char kFileMenu[] = QT_TRANSLATE_NOOP("Tamsel", "File");
inline constexpr char kOpenFile[] = QT_TRANSLATE_NOOP("Tamsel", "Open File");
inline constexpr char kThumbnailView[] = QT_TRANSLATE_NOOP("Tamsel", "Thumbnail View");
inline constexpr char kExit[] = QT_TRANSLATE_NOOP("Tamsel", "Exit");
inline constexpr char kSlideShowMenu[] = QT_TRANSLATE_NOOP("Tamsel", "Slide Show");
inline constexpr char kBeginSlideShow[] = QT_TRANSLATE_NOOP("Tamsel", "Begin Slide Show");
inline constexpr char kEndSlideShow[] = QT_TRANSLATE_NOOP("Tamsel", "End Slide Show");
inline constexpr char kSequentialDisplay[] = QT_TRANSLATE_NOOP("Tamsel", "Sequential Display");
inline constexpr char kRandomDisplay[] = QT_TRANSLATE_NOOP("Tamsel", "Random Display");
inline constexpr char kDisplayInterval[] = QT_TRANSLATE_NOOP("Tamsel", "Display Interval");
inline constexpr const char* kIntervals[] = {
    QT_TRANSLATE_NOOP("Tamsel", "1 Sec"),  QT_TRANSLATE_NOOP("Tamsel", "3 Sec"),
    QT_TRANSLATE_NOOP("Tamsel", "5 Sec"),  QT_TRANSLATE_NOOP("Tamsel", "10 Sec"),
    QT_TRANSLATE_NOOP("Tamsel", "15 Sec"), QT_TRANSLATE_NOOP("Tamsel", "30 Sec"),
    QT_TRANSLATE_NOOP("Tamsel", "60 Sec")};
inline constexpr char kHelpMenu[] = QT_TRANSLATE_NOOP("Tamsel", "Help");
inline constexpr char kHelp[] = QT_TRANSLATE_NOOP("Tamsel", "Help");
inline constexpr char kAbout[] = QT_TRANSLATE_NOOP("Tamsel", "About");

// The help window's caption names another product of the same maker: it has always read so, and it
// is kept as it is.
inline constexpr char kHelpWindowCaption[] = QT_TRANSLATE_NOOP("Tamsel", "Tamsel Sound Player Help");
// The About message: "v1.0.2 by " and the company name.
QString AboutMessage();

// Messages.
inline constexpr char kNotValidTexture[] = QT_TRANSLATE_NOOP("Tamsel", "Not a valid texture file");
// The file's full path after an empty line.
inline constexpr char kCannotDisplay[] =
    QT_TRANSLATE_NOOP("Tamsel", "Sorry, but Image Viewer cannot display this file:\r\r%1");
QString CannotDisplayMessage(const QString& path);

// The hover text of a shown picture: "road.mip: 256 pixels wide, 128 pixels high".
inline constexpr char kHoverText[] = QT_TRANSLATE_NOOP("Tamsel", "%1: %2 pixels wide, %3 pixels high");
QString HoverText(const QString& name, int width, int height);

// The facts of a picture, a line each; a texture's container, pixel format and palette source are
// the words the texture tool prints too.
inline constexpr char kFactsTexture[] = QT_TRANSLATE_NOOP("Tamsel", "%1 texture, %2");
inline constexpr char kFactsBmp[] = QT_TRANSLATE_NOOP("Tamsel", "BMP picture");
inline constexpr char kFactsJpeg[] = QT_TRANSLATE_NOOP("Tamsel", "JPEG picture");
inline constexpr char kFactsSize[] = QT_TRANSLATE_NOOP("Tamsel", "%1 x %2 pixels");
inline constexpr char kFactsBytes[] = QT_TRANSLATE_NOOP("Tamsel", "%1 bytes");
inline constexpr char kFactsPalette[] = QT_TRANSLATE_NOOP("Tamsel", "palette: %1");
inline constexpr char kFactsNoPalette[] = QT_TRANSLATE_NOOP("Tamsel", "palette: none");
inline constexpr char kFactsBlackPalette[] = QT_TRANSLATE_NOOP("Tamsel", "palette: none (black)");
inline constexpr char kFactsCarriedPalette[] = QT_TRANSLATE_NOOP("Tamsel", "palette: carried over from %1");
inline constexpr char kFactsZoom[] = QT_TRANSLATE_NOOP("Tamsel", "zoom: %1");

// The texel under the pointer, with the facts: where it is, its colour (as hex, then its channels), and
// what the file stores there.
inline constexpr char kReadoutTexel[] = QT_TRANSLATE_NOOP("Tamsel", "texel %1, %2");
inline constexpr char kReadoutColour[] = QT_TRANSLATE_NOOP("Tamsel", "colour #%1: red %2, green %3, blue %4");
inline constexpr char kReadoutWord[] = QT_TRANSLATE_NOOP("Tamsel", "word %1: red %2, green %3, blue %4");
inline constexpr char kReadoutWordIgnored[] =
    QT_TRANSLATE_NOOP("Tamsel", "word %1: ignored %2, red %3, green %4, blue %5");
inline constexpr char kReadoutWordBlack[] = QT_TRANSLATE_NOOP("Tamsel", "word %1: a format that shows black");
inline constexpr char kReadoutIndex[] = QT_TRANSLATE_NOOP("Tamsel", "palette index %1");
// A palette swatch under the pointer: its index and colour.
inline constexpr char kSwatchTip[] = QT_TRANSLATE_NOOP("Tamsel", "%1: #%2");
// A texture beside its source (key C): the notices when there is none or it cannot be read, and with the
// facts, the source and how far it differs from the texture over the area the two share.
inline constexpr char kNoSource[] = QT_TRANSLATE_NOOP("Tamsel", "no source picture beside it");
inline constexpr char kSourceUnreadable[] =
    QT_TRANSLATE_NOOP("Tamsel", "the source picture %1 cannot be read");
inline constexpr char kFactsSource[] = QT_TRANSLATE_NOOP("Tamsel", "%1, the source of %2");
inline constexpr char kFactsSizesDiffer[] =
    QT_TRANSLATE_NOOP("Tamsel", "sizes differ: the texture is %1 x %2, the source %3 x %4");
inline constexpr char kFactsDiffering[] = QT_TRANSLATE_NOOP("Tamsel", "texels that differ: %1 of %2 x %3");
inline constexpr char kFactsLargestDifference[] =
    QT_TRANSLATE_NOOP("Tamsel", "largest difference: red %1, green %2, blue %3");
inline constexpr char kFactsMeanDifference[] =
    QT_TRANSLATE_NOOP("Tamsel", "mean difference: red %1, green %2, blue %3");
// The texture reader's reason for refusing the file, in its own words.
inline constexpr char kFactsRefused[] = QT_TRANSLATE_NOOP("Tamsel", "refused: %1");

}  // namespace tamsel::texts
