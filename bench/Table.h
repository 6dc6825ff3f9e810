#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

// The one table the benchmark prints: each figure with our value, its reference and their ratio.
namespace tamsel::bench {

struct Row {
    QString figure;
    QString ours;
    QString reference;
    QString ratio;
};

// " [n runs]", the run count a figure's name ends in.
QString RunsNote(int runs);
// "12.3 ms"
QString Milliseconds(double seconds);
// "123.4 MB" (10^6 bytes)
QString Megabytes(double kibibytes);
// "0.95x", or "-" without a reference value or when it is zero.
QString Ratio(double ours, std::optional<double> reference);

// What a figure is compared with: a named value, or the reason it has none ("missing" for a tool
// that is not installed). A reference without a name stands for none at all.
struct Reference {
    QString name;
    std::optional<double> value;
    QString absence = QStringLiteral("missing");
};

class Table {
public:
    void Add(Row row);

    // A time in seconds against a reference's.
    void AddTime(const QString& figure, double ours, const Reference& reference);

    // A peak of resident memory in KiB against a reference's.
    void AddPeak(const QString& figure, double oursKib, const Reference& reference);

    // A count against a reference's; a figure of its own, with no ratio.
    void AddCount(const QString& figure, double ours, const Reference& reference);

    // The table with aligned columns, as Markdown.
    QString Text() const;

private:
    void AddValue(const QString& figure, double ours, const Reference& reference,
                  const std::function<QString(double)>& format, bool ratio);

    std::vector<Row> rows_;
};

}  // namespace tamsel::bench
