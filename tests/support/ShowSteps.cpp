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
    for (const Step& step : steps_) {
        if (step.action) {
            step.action();
        } else {
            platform_.interval->RunOut();
        }
        tell_(step.description);
    }
}

}  // namespace tamsel::testing
