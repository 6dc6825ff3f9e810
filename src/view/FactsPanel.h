#pragma once

#include <QWidget>

#include "view/Facts.h"

namespace tamsel::view {

// The facts of the picture on show, drawn over the top-left corner of the single view: a few lines of
// text on a dark ground, and the palette's 16 colours as swatches for a 4-bit texture, one of them
// marked; a swatch under the pointer tells its index and colour.
class FactsPanel : public QWidget {
    Q_OBJECT
public:
    explicit FactsPanel(QWidget* parent = nullptr);

    void SetFacts(Facts facts);
    const Facts& Shown() const { return facts_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The swatches' row: its top edge.
    int SwatchTop() const;

    static constexpr int kMargin = 6;
    static constexpr int kSwatch = 12;
    Facts facts_;
};

}  // namespace tamsel::view
