#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "support/TestPlatform.h"

namespace tamsel::testing {

// A test's steps through the window, run in order, each told (`tell` with its description) once it has
// taken effect, also while a slide show runs. The window waits out each interval of a show in the event
// queue, inside the handler that started the show: the steps after a start run in those waits, and a
// step where the interval runs out ends the wait, to be told once the next picture is on show.
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
    void RunUntilAnIntervalEnds();
    void TellPending();

    TestPlatform& platform_;
    std::function<void(const QString&)> tell_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    std::optional<QString> pending_;  // the step that has taken effect and is yet to be told
};

}  // namespace tamsel::testing
