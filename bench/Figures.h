#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "Desktop.h"
#include "SampleData.h"
#include "Table.h"

// The benchmark's figures.
namespace tamsel::bench {

// What every figure draws on.
struct Context {
    bool quick = false;
    SampleData& data;
    Table& table;
    Desktop& desktop;
    QString viewer;                           // tamsel-viewer of the same build
    std::function<void(const QString&)> say;  // a line of progress
    QStringList groups;                       // the groups of rows to measure; all when empty

    // Whether the rows of `group` (start, keys, pages, refusals) are measured.
    bool Measures(const QString& group) const { return groups.isEmpty() || groups.contains(group); }

    // `full` runs, or `quick` with --quick.
    int Runs(int full, int quickRuns) const { return quick ? quickRuns : full; }
};

// The programs on a real screen: start-up to a picture, the next picture, thumbnail pages, opens of
// the shown file and peaks of memory, beside feh.
void ScreenFigures(Context& context);

}  // namespace tamsel::bench
