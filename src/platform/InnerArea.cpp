#include "platform/InnerArea.h"

#include <QPalette>

namespace tamsel::platform {

InnerArea::InnerArea(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette workspace = palette();
    workspace.setColor(QPalette::Window, workspace.color(QPalette::Dark));
    setPalette(workspace);
}

void InnerArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit Resized();
}

}  // namespace tamsel::platform
