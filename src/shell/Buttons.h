#pragma once

#include <optional>

#include "shell/Texts.h"

// The three buttons under the picture, Previous, the middle button and Next, and every change the
// window's events make to them, written once as a table. A change sets only what it names (caption,
// enabled, visible, tooltip); what it leaves out stays as it was. The middle button's caption is the
// record of its mode: "Open" (browsing, or a thumbnail page), "ThumbNails" (a full-size picture from a
// page), "Pause" (a show running) and "Continue" (a show paused).
namespace tamsel::buttons {

struct Change {
    const char* caption = nullptr;
    std::optional<bool> enabled;
    std::optional<bool> visible;
    const char* tip = nullptr;

    constexpr Change Caption(const char* text) const { return With(&Change::caption, text); }
    constexpr Change Enabled(bool on) const { return With(&Change::enabled, std::optional(on)); }
    constexpr Change Visible(bool on) const { return With(&Change::visible, std::optional(on)); }
    constexpr Change Tip(const char* text) const { return With(&Change::tip, text); }

private:
    template <typename T>
    constexpr Change With(T Change::*field, T value) const {
        Change changed = *this;
        changed.*field = value;
        return changed;
    }
};

// No change: the button stays as it is.
inline constexpr Change kKeep{};

struct Changes {
    Change previous;
    Change stop;
    Change next;
};

// "Open File": the browser back, with "Open" disabled until a file is clicked.
inline constexpr Changes kOpenFile{
    kKeep.Visible(false), kKeep.Caption(texts::kOpen).Enabled(false).Visible(true), kKeep.Visible(false)};
// A file of the file list selected while the thumbnail view is off.
inline constexpr Changes kFileSelected{kKeep, kKeep.Enabled(true), kKeep};
// A double click in the file list, and "Open" in the browser: the single view with Previous and Next.
inline constexpr Changes kSingleView{kKeep.Visible(true), kKeep.Visible(false), kKeep.Visible(true)};
// A new folder while the thumbnail view is on: its first page.
inline constexpr Changes kFolderPage{kKeep.Visible(true).Tip(texts::kPreviousThumbnailsTip),
                                     kKeep.Visible(false),
                                     kKeep.Visible(true).Tip(texts::kNextThumbNailsTip)};
// "Thumbnail View" entering the view.
inline constexpr Changes kEnterThumbnails{kKeep.Visible(true).Tip(texts::kPreviousThumbnailsTip),
                                          kKeep.Caption(texts::kOpen).Visible(false),
                                          kKeep.Visible(true).Tip(texts::kNextThumbNailsTip)};
// "Thumbnail View" leaving the view.
inline constexpr Changes kLeaveThumbnails{kKeep.Enabled(true).Tip(texts::kPreviousImageTip),
                                          kKeep.Visible(false),
                                          kKeep.Enabled(true).Tip(texts::kNextImageTip)};
// A single click on a cell of the page: "Open" offered for its file.
inline constexpr Changes kCellSelected{kKeep, kKeep.Enabled(true).Visible(true), kKeep};
// A picture of the page opened full size (a double click on its cell, or "Open" on the page).
inline constexpr Changes kFullSizeFromPage{
    kKeep.Enabled(false),
    kKeep.Caption(texts::kThumbNails).Enabled(true).Visible(true).Tip(texts::kViewMoreThumbnailsTip),
    kKeep.Enabled(false)};
// "ThumbNails": back to the page.
inline constexpr Changes kBackToPage{
    kKeep.Enabled(true).Tip(texts::kPreviousThumbnailsTip),
    kKeep.Caption(texts::kOpen).Enabled(false).Visible(false).Tip(texts::kViewThumbnailsTip),
    kKeep.Enabled(true).Tip(texts::kNextThumbnailsTip)};
// A show starts ("Begin Slide Show") or goes on ("Continue").
inline constexpr Changes kShowRunning{
    kKeep.Enabled(false).Visible(true),
    kKeep.Caption(texts::kPause).Enabled(true).Visible(true).Tip(texts::kPauseTip),
    kKeep.Enabled(false).Visible(true)};
// "Continue" itself, before the show goes on.
inline constexpr Changes kContinueShow{
    kKeep.Enabled(false), kKeep.Caption(texts::kPause).Tip(texts::kPauseTip), kKeep.Enabled(false)};
// "Pause".
inline constexpr Changes kShowPaused{
    kKeep.Enabled(true), kKeep.Caption(texts::kContinue).Tip(texts::kContinueTip), kKeep.Enabled(true)};
// "End Slide Show".
inline constexpr Changes kShowEnded{kKeep.Enabled(true), kKeep.Visible(false), kKeep.Enabled(true)};

}  // namespace tamsel::buttons
