#include "view/FactsPanel.h"

#include <QPainter>

namespace tamsel::view {

FactsPanel::FactsPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void FactsPanel::SetFacts(Facts facts) {
    facts_ = std::move(facts);
    const QFontMetrics metrics(font());
    int width = 0;
    for (const QString& line : facts_.lines) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    int height = static_cast<int>(facts_.lines.size()) * metrics.lineSpacing();
    if (facts_.swatches) {
        width = std::max(width, 16 * kSwatch);
        height += kMargin + kSwatch;
    }
    resize(width + 2 * kMargin, height + 2 * kMargin);
    update();
}

void FactsPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 200));
    painter.setPen(Qt::white);
    const QFontMetrics metrics(font());
    int y = kMargin;
    for (const QString& line : facts_.lines) {
        painter.drawText(kMargin, y + metrics.ascent(), line);
        y += metrics.lineSpacing();
    }
    if (facts_.swatches) {
        y += kMargin;
        for (std::size_t i = 0; i < facts_.swatches->size(); ++i) {
            const auto colour = static_cast<std::uint32_t>((*facts_.swatches)[i]);
            painter.fillRect(kMargin + static_cast<int>(i) * kSwatch, y, kSwatch - 1, kSwatch - 1,
                             QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                                    static_cast<int>((colour >> 16) & 0xFF)));
        }
    }
}

}  // namespace tamsel::view
