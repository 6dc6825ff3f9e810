#include "support/ShowSteps.h"

#include <utility>

namespace tamsel::testing {

ShowSteps::ShowSteps(TestPlatform& platform, std::function<void(const QString&)> tell)
    : platform_(platform), tell_(std::move(tell)) {}

void ShowSteps::Add(QString description, std::function<void()> action) {
    steps_.push_back({std::move(description), std::move(action)});
}

void ShowSteps::IntervalEnds(QString description) {
    steps_.push_back({std::move(description), {}});
}

void ShowSteps::Run() {
    platform_.events->onYield = [this](double) { RunUntilAnIntervalEnds(); };
    while (next_ < steps_.size()) {
        RunUntilAnIntervalEnds();
    }
    TellPending();
    platform_.events->onYield = {};
}

void ShowSteps::RunUntilAnIntervalEnds() {
    TellPending();
    while (next_ < steps_.size()) {
        const Step& step = steps_[next_++];
        pending_ = step.description;
        if (!step.action) {
            return;
        }
        // A step that starts a show is told at the show's first wait, with its first picture on show.
        step.action();
        TellPending();
    }
}

void ShowSteps::TellPending() {
    if (pending_) {
        tell_(*std::exchange(pending_, std::nullopt));
    }
}

}  // namespace tamsel::testing
