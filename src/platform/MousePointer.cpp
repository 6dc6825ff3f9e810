#include "platform/MousePointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace tamsel::platform::MousePointer {

void SetBusy() {
    if (!IsBusy()) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

void SetDefault() {
    while (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::restoreOverrideCursor();
    }
}

bool IsBusy() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

}  // namespace tamsel::platform::MousePointer
