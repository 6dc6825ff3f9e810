#include "shell/Settings.h"

#include "Version.h"

namespace tamsel::shell {

namespace {

// The section of the viewer's values: "HKEY_LOCAL_MACHINE\Software\<company>\<product>".
QString Section() {
    return QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\%1\\%2")
        .arg(QString::fromUtf8(kCompanyName), QString::fromUtf8(kProductName));
}

}  // namespace

QString ReadSetting(const files::SettingsStore& store, const QString& name, const QString& defaultValue) {
    return store.Read(Section(), name).value_or(defaultValue);
}

bool WriteSetting(const files::SettingsStore& store, const QString& name, const QString& value) {
    return store.Write(Section(), name, value);
}

}  // namespace tamsel::shell
