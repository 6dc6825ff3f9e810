#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

// The one table the benchmark prints: each figure with our value, its reference, their ratio and what the
// row aims at.
namespace tamsel::bench {

// " [n runs]", the run count a figure's name ends in.
QString RunsNote(int runs);

class Table {
public:
    // Times are in seconds and shown in ms; peaks are in kB (1024 bytes) and shown in MB (10^6
    // bytes); counts are figures of their own, with no ratio.
    enum class Unit { Time, Peak, Count };

    // What a row aims at: the ratio at most `most`, or with `ofRatio` false our value at most `most`
    // (in seconds or kB, as the row's values); the row says whether it was met.
    struct Target {
        double most = 0.0;
        bool ofRatio = true;
    };

    // Our value beside the value of the reference `name`: "missing" when it has none, no reference at
    // all when `name` is empty.
    void Add(const QString& figure, Unit unit, double ours, const QString& name,
             std::optional<double> reference, std::optional<Target> target = std::nullopt);

    // A row that says why there are no figures.
    void AddNote(const QString& figure, const QString& note);

    // The table with aligned columns, as Markdown.
    QString Text() const;

private:
    std::vector<std::array<QString, 5>> rows_;
};

}  // namespace tamsel::bench
