#pragma once

#include <QString>
#include <optional>

#include "browse/Folder.h"
#include "picture/Comparison.h"
#include "slideshow/ShowState.h"

// What the window shows, as a plain value: the window changes it in its handlers and sets every control
// from it (ControlsFor); nothing is read back from a control.
namespace tamsel::shell {

// Where the window is: in the pictures (the browser or the single view), on the thumbnail pages (a page,
// or the browser over the pages), or on a picture opened full size from a page.
enum class Mode { Pictures, Pages, PictureFromPage };

// What a click on the middle button does, which its caption says: open the selected file, go back to
// the page, pause the show or continue it. A hidden middle button keeps its mode.
enum class MiddleMode { Open, BackToPage, Pause, Continue };

// The hint the middle button last offered as its tooltip: each change that gives one sets it, and the
// others leave it.
enum class MiddleHint { OpenSelectedFile, ViewThumbnails, ViewMoreThumbnails, PauseShow, ContinueShow };

struct MiddleButton {
    MiddleMode mode = MiddleMode::Open;
    bool offered = false;  // it can be clicked
    bool shown = true;
    MiddleHint hint = MiddleHint::OpenSelectedFile;
};

// How the pages were last reached, which the tooltips of Previous and Next tell: not at all (pictures),
// from the menu or a new folder ("Next ThumbNails"), or back from a picture ("Next Thumbnails").
enum class SteppingHints { Pictures, PagesEntered, PagesReturned };

// A file the single view could not show because the texture reader refused it: its name and the
// reader's reason, in words.
struct RefusedFile {
    QString name;
    QString reason;
};

// The picture a texture was made from, shown in the texture's place in the zoom: its file's name, and
// how far it differs from the texture.
struct SourceOnShow {
    QString name;
    picture::Difference difference;
};

struct ViewState {
    Mode mode = Mode::Pictures;
    bool browserShown = true;
    bool hintShown = false;  // the hint under the pictures; shown once start-up has placed it
    browse::Folder folder;
    int pageStart = 0;  // the entry in the page's first cell
    // The cell last clicked on the page on show (1 to 9), framed until the page changes.
    std::optional<int> markedCell;
    MiddleButton middle;
    SteppingHints stepping = SteppingHints::Pictures;
    slideshow::ShowState show;
    // The file the title names: the last picture shown, or the cell last clicked; none for the title
    // with the version, as at start-up.
    std::optional<QString> titleName;
    bool factsOn = false;  // the facts panel is asked for in the single view
    // The file the single view last opened, when the texture reader refused it; the facts panel then
    // tells why instead of the facts.
    std::optional<RefusedFile> refused;
    // The texture's source, while it is shown in place of the texture on show (the file the title
    // names); over as soon as the zoom is.
    std::optional<SourceOnShow> source;
};

}  // namespace tamsel::shell
