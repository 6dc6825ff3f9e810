#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "support/TestPlatform.h"

namespace tamsel::testing {

// A test's steps through the window, run in order, each told (`tell` with its description) once it has
// taken effect, also while a slide show runs: a step where the interval runs out lets the show's timer
// run out.
class ShowSteps {
public:
    ShowSteps(TestPlatform& platform, std::function<void(const QString&)> tell);

    void Add(QString description, std::function<void()> action);
    void IntervalEnds(QString description);
    void Run();

private:
    struct Step {
        QString description;
        std::function<void()> action;  // none: the interval runs out
    };

    TestPlatform& platform_;
    std::function<void(const QString&)> tell_;
    std::vector<Step> steps_;
};

}  // namespace tamsel::testing
