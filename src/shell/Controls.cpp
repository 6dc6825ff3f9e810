#include "shell/Controls.h"

#include "texts/Texts.h"

namespace tamsel::shell {

namespace {

using texts::Text;

QString Caption(MiddleMode mode) {
    switch (mode) {
        case MiddleMode::Open:
            return Text(texts::kOpen);
        case MiddleMode::BackToPage:
            return Text(texts::kThumbNails);
        case MiddleMode::Pause:
            return Text(texts::kPause);
        case MiddleMode::Continue:
            return Text(texts::kContinue);
    }
    return {};
}

QString Tip(MiddleHint hint) {
    switch (hint) {
        case MiddleHint::OpenSelectedFile:
            return Text(texts::kOpenSelectedFileTip);
        case MiddleHint::ViewThumbnails:
            return Text(texts::kViewThumbnailsTip);
        case MiddleHint::ViewMoreThumbnails:
            return Text(texts::kViewMoreThumbnailsTip);
        case MiddleHint::PauseShow:
            return Text(texts::kPauseTip);
        case MiddleHint::ContinueShow:
            return Text(texts::kContinueTip);
    }
    return {};
}

}  // namespace

Controls ControlsFor(const ViewState& state) {
    using slideshow::Phase;
    Controls controls;
    // Previous and Next step wherever the browser is not over them; they wait while a show runs and while
    // a picture of a page is open full size.
    const bool stepping = !(state.mode == Mode::PictureFromPage || state.show.phase == Phase::Running);
    const bool pictures = state.stepping == SteppingHints::Pictures;
    controls.previous = {Text(texts::kPrevious),
                         Text(pictures ? texts::kPreviousImageTip : texts::kPreviousThumbnailsTip), stepping,
                         !state.browserShown};
    controls.next = {Text(texts::kNext),
                     Text(pictures                                        ? texts::kNextImageTip
                          : state.stepping == SteppingHints::PagesEntered ? texts::kNextThumbNailsTip
                                                                          : texts::kNextThumbnailsTip),
                     stepping, !state.browserShown};
    controls.middle = {Caption(state.middle.mode), Tip(state.middle.hint), state.middle.offered,
                       state.middle.shown};

    MenuStates& menus = controls.menus;
    const bool showOff = state.show.phase == Phase::Off;
    menus.fileMenu = showOff;
    menus.openFile = state.mode != Mode::PictureFromPage;
    menus.thumbnailViewChecked = state.mode != Mode::Pictures;
    menus.slideShowMenu = state.mode == Mode::Pictures;
    menus.beginShow = showOff;
    menus.endShow = !showOff;
    menus.sequentialChecked = state.show.order == slideshow::Order::Sequential;
    menus.randomChecked = !menus.sequentialChecked;
    menus.intervalMenu = showOff;
    menus.intervalChecked = state.show.interval;

    controls.hintShown = state.hintShown;
    controls.browserShown = state.browserShown;
    controls.title = !state.titleName ? texts::TitleWithVersion()
                     : state.source   ? texts::TitleOfSource(state.source->name, *state.titleName)
                                      : texts::TitleOfFile(*state.titleName);
    return controls;
}

}  // namespace tamsel::shell
