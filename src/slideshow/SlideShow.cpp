#include "slideshow/SlideShow.h"

namespace tamsel::slideshow {

SlideShow::SlideShow(ShowState& state, const platform::Platform& services)
    : state_(state), services_(services) {}

void SlideShow::Run() {
    state_.phase = Phase::Running;
    seconds_ = kIntervalSeconds[static_cast<std::size_t>(state_.interval)];
    services_.screenSaver->Inhibit();
}

void SlideShow::Pause() {
    state_.phase = Phase::Paused;
    services_.interval->Stop();
    services_.screenSaver->Release();
}

void SlideShow::End() {
    state_.phase = Phase::Off;
    services_.interval->Stop();
    services_.screenSaver->Release();
}

int SlideShow::NextEntry(const browse::Folder& folder) const {
    if (state_.order == Order::Sequential) {
        return folder.EntryAfterOnShow();
    }
    services_.random->Reseed(services_.clock->SecondsSinceMidnight());
    return RandomEntry(services_.random->Next(), folder.Count());
}

void SlideShow::Wait(std::function<void()> over) {
    services_.interval->Start(seconds_, std::move(over));
}

}  // namespace tamsel::slideshow
