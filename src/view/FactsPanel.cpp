#include "view/FactsPanel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "texts/Texts.h"
#include "view/Readout.h"

namespace tamsel::view {

FactsPanel::FactsPanel(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    hide();
}

int FactsPanel::SwatchTop() const {
    return kMargin + static_cast<int>(facts_.lines.size()) * QFontMetrics(font()).lineSpacing() + kMargin;
}

void FactsPanel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int index = (at.x() - kMargin) / kSwatch;
    if (!facts_.swatches || at.y() < SwatchTop() || at.y() >= SwatchTop() + kSwatch || at.x() < kMargin ||
        index >= static_cast<int>(facts_.swatches->size())) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(event->globalPosition().toPoint(),
                       texts::Text(texts::kSwatchTip)
                           .arg(index)
                           .arg(ColourHex(RgbOf((*facts_.swatches)[static_cast<std::size_t>(index)]))),
                       this);
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
        y = SwatchTop();
        for (std::size_t i = 0; i < facts_.swatches->size(); ++i) {
            const QRect swatch(kMargin + static_cast<int>(i) * kSwatch, y, kSwatch - 1, kSwatch - 1);
            painter.fillRect(swatch, QColor(RgbOf((*facts_.swatches)[i])));
            if (facts_.markedSwatch == static_cast<int>(i)) {
                painter.setPen(QPen(Qt::white, 2));
                painter.drawRect(swatch.adjusted(-1, -1, 1, 1));
            }
        }
    }
}

}  // namespace tamsel::view
