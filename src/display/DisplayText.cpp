#include "display/DisplayText.h"

namespace tamsel::display {

namespace {

QString SignedNumber(int value) {
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

}  // namespace

QString HoverText(const QString& name, int width, int height) {
    return name + u':' + SignedNumber(width) + QStringLiteral(" pixels wide,") + SignedNumber(height) +
           QStringLiteral(" pixels high");
}

QString CannotDisplayMessage(const QString& path) {
    return QStringLiteral("Sorry, but Image Viewer cannot display this file:\r\r") + path;
}

}  // namespace tamsel::display
