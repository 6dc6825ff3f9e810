#include "Table.h"

#include <algorithm>

namespace tamsel::bench {

QString RunsNote(int runs) {
    return runs == 1 ? QStringLiteral(" [1 run]") : QStringLiteral(" [%1 runs]").arg(runs);
}

void Table::Add(const QString& figure, Unit unit, double ours, const QString& name,
                std::optional<double> reference, std::optional<Target> target) {
    const auto format = [unit](double value) {
        if (unit == Unit::Count) {
            return QString::number(value);
        }
        const double shown = unit == Unit::Time ? value * 1e3 : value * 1024.0 / 1e6;
        return QStringLiteral("%1 %2")
            .arg(shown, 0, 'f', shown < 10.0 ? 2 : 1)
            .arg(unit == Unit::Time ? "ms" : "MB");
    };
    const QString referenceCell =
        name.isEmpty()
            ? QStringLiteral("-")
            : name + QStringLiteral(": ") + (reference ? format(*reference) : QStringLiteral("missing"));
    const std::optional<double> ratio = unit != Unit::Count && reference && *reference > 0.0
                                            ? std::optional<double>(ours / *reference)
                                            : std::nullopt;
    QString targetCell = QStringLiteral("-");
    if (target) {
        const std::optional<double> measured = target->ofRatio ? ratio : std::optional<double>(ours);
        targetCell = (target->ofRatio ? QStringLiteral("<= %1x").arg(target->most, 0, 'f', 2)
                                      : QStringLiteral("<= ") + format(target->most)) +
                     (!measured                   ? QStringLiteral(": no figure")
                      : *measured <= target->most ? QStringLiteral(": met")
                                                  : QStringLiteral(": not met"));
    }
    rows_.push_back({figure, format(ours), referenceCell,
                     ratio ? QStringLiteral("%1x").arg(*ratio, 0, 'f', 2) : QStringLiteral("-"), targetCell});
}

void Table::AddNote(const QString& figure, const QString& note) {
    rows_.push_back({figure, QStringLiteral("-"), note, QStringLiteral("-"), QStringLiteral("-")});
}

QString Table::Text() const {
    std::vector<std::array<QString, 5>> rows{{QStringLiteral("figure"), QStringLiteral("ours"),
                                              QStringLiteral("reference"), QStringLiteral("ratio"),
                                              QStringLiteral("target")}};
    rows.insert(rows.end(), rows_.begin(), rows_.end());
    std::array<qsizetype, 5> widths{};
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    QString text;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t i = 0; i < widths.size(); ++i) {
            // Figures, references and targets read left to right; numbers line up on the right.
            const QString& cell = rows[r][i];
            text += QStringLiteral("| ") +
                    (i % 2 == 0 ? cell.leftJustified(widths[i]) : cell.rightJustified(widths[i])) + u' ';
        }
        text += QStringLiteral("|\n");
        if (r == 0) {
            for (const qsizetype width : widths) {
                text += u'|' + QString(width + 2, u'-');
            }
            text += QStringLiteral("|\n");
        }
    }
    return text;
}

}  // namespace tamsel::bench
