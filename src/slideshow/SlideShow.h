#pragma once

#include <functional>

#include "browse/Folder.h"
#include "platform/Platform.h"
#include "slideshow/ShowState.h"

// The slide show: every file of the folder in turn, in name order or at random, each for the interval
// chosen when the show began or went on. It waits on a timer, never in a loop of its own, and keeps the
// screen saver away while it runs.
namespace tamsel::slideshow {

class SlideShow {
public:
    // A show over `state`, the show's part of what the window shows.
    SlideShow(ShowState& state, const platform::Platform& services);

    // Begins or goes on: running, for the interval chosen now.
    void Run();
    void Pause();
    void End();

    // The entry the show shows next: the one after the file on show, or one drawn at random from a
    // source seeded from the clock.
    int NextEntry(const browse::Folder& folder) const;

    // Waits out the interval, then calls `over` from the event loop; a pause or the end stops the wait.
    void Wait(std::function<void()> over);

private:
    ShowState& state_;
    platform::Platform services_;
    int seconds_ = 0;  // the interval of the show running
};

}  // namespace tamsel::slideshow
