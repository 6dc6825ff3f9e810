#include "Table.h"

#include <algorithm>
#include <array>

namespace tamsel::bench {

QString RunsNote(int runs) {
    return runs == 1 ? QStringLiteral(" [1 run]") : QStringLiteral(" [%1 runs]").arg(runs);
}

QString Milliseconds(double seconds) {
    const double ms = seconds * 1e3;
    return QStringLiteral("%1 ms").arg(ms, 0, 'f', ms < 10.0 ? 2 : 1);
}

QString Megabytes(double kibibytes) {
    return QStringLiteral("%1 MB").arg(kibibytes * 1024.0 / 1e6, 0, 'f', 1);
}

QString Ratio(double ours, std::optional<double> reference) {
    if (!reference || *reference <= 0.0) {
        return QStringLiteral("-");
    }
    return QStringLiteral("%1x").arg(ours / *reference, 0, 'f', 2);
}

void Table::Add(Row row) {
    rows_.push_back(std::move(row));
}

void Table::AddValue(const QString& figure, double ours, const Reference& reference,
                     const std::function<QString(double)>& format, bool ratio) {
    const QString referenceCell = reference.name.isEmpty()
                                      ? QStringLiteral("-")
                                      : reference.name + QStringLiteral(": ") +
                                            (reference.value ? format(*reference.value) : reference.absence);
    Add({figure, format(ours), referenceCell, ratio ? Ratio(ours, reference.value) : QStringLiteral("-")});
}

void Table::AddTime(const QString& figure, double ours, const Reference& reference) {
    AddValue(figure, ours, reference, Milliseconds, true);
}

void Table::AddPeak(const QString& figure, double oursKib, const Reference& reference) {
    AddValue(figure, oursKib, reference, Megabytes, true);
}

void Table::AddCount(const QString& figure, double ours, const Reference& reference) {
    AddValue(
        figure, ours, reference, [](double count) { return QString::number(count); }, false);
}

QString Table::Text() const {
    const Row header{QStringLiteral("figure"), QStringLiteral("ours"), QStringLiteral("reference"),
                     QStringLiteral("ratio")};
    const auto cells = [](const Row& row) {
        return std::array<const QString*, 4>{&row.figure, &row.ours, &row.reference, &row.ratio};
    };
    std::array<qsizetype, 4> widths{};
    const auto widen = [&](const Row& row) {
        const auto c = cells(row);
        for (std::size_t i = 0; i < c.size(); ++i) {
            widths[i] = std::max(widths[i], c[i]->size());
        }
    };
    widen(header);
    std::for_each(rows_.begin(), rows_.end(), widen);

    const auto line = [&](const Row& row) {
        QString text = QStringLiteral("|");
        const auto c = cells(row);
        for (std::size_t i = 0; i < c.size(); ++i) {
            // Figures and references read left to right; numbers line up on the right.
            const bool left = i == 0 || i == 2;
            text += u' ' + (left ? c[i]->leftJustified(widths[i]) : c[i]->rightJustified(widths[i])) +
                    QStringLiteral(" |");
        }
        return text + u'\n';
    };
    QString text = line(header);
    text += u'|';
    for (const qsizetype width : widths) {
        text += QString(width + 2, u'-') + u'|';
    }
    text += u'\n';
    for (const Row& row : rows_) {
        text += line(row);
    }
    return text;
}

}  // namespace tamsel::bench
