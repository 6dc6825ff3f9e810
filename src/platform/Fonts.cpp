#include "platform/Fonts.h"

#include <QFontMetrics>
#include <QLabel>

namespace tamsel::platform {

QFont ControlFont(qreal points) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(points);
    return font;
}

QFont FontThatFits(const QLabel& label, qreal points) {
    QFont font = ControlFont(points);
    const auto fits = [&label](const QFont& f) {
        return QFontMetrics(f).boundingRect(label.contentsRect(), Qt::TextWordWrap, label.text()).height() <=
               label.contentsRect().height();
    };
    while (!fits(font) && font.pointSizeF() > 6.0) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    return font;
}

}  // namespace tamsel::platform
