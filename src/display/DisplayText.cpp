#include "display/DisplayText.h"

#include "shell/Texts.h"

namespace tamsel::display {

namespace {

QString SignedNumber(int value) {
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

}  // namespace

QString HoverText(const QString& name, int width, int height) {
    return name + u':' + SignedNumber(width) + texts::Text(texts::kPixelsWide) + SignedNumber(height) +
           texts::Text(texts::kPixelsHigh);
}

QString CannotDisplayMessage(const QString& path) {
    return texts::Text(texts::kCannotDisplay) + QStringLiteral("\r\r") + path;
}

}  // namespace tamsel::display
