#include "texts/Texts.h"

#include <QCoreApplication>

#include "Version.h"

namespace tamsel::texts {

QString Text(const char* source) {
    return QCoreApplication::translate("Tamsel", source);
}

QString ApplicationTitle() {
    return QString::fromUtf8(kProductName);
}

QString TitleWithVersion() {
    return ApplicationTitle() +
           QStringLiteral(" v%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

QString TitleOfFile(const QString& name) {
    return ApplicationTitle() + QStringLiteral(": ") + name;
}

QString TitleOfSource(const QString& source, const QString& texture) {
    return TitleOfFile(Text(kSourceOf).arg(source, texture));
}

QString AboutMessage() {
    return QStringLiteral("v%1.%2.%3 by %4")
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionRevision)
        .arg(QString::fromUtf8(kCompanyName));
}

QString CannotDisplayMessage(const QString& path) {
    return Text(kCannotDisplay).arg(path);
}

QString HoverText(const QString& name, int width, int height) {
    return Text(kHoverText).arg(name).arg(width).arg(height);
}

}  // namespace tamsel::texts
