#include "shell/Registry.h"

namespace tamsel::Registry {

namespace {

QString Section(const QString& root, const QString& keyPath) {
    return root + u'\\' + keyPath;
}

QString StoredName(const QString& valueName) {
    return valueName == QStringLiteral("*") ? QStringLiteral("@") : valueName;
}

}  // namespace

QString GetRegString(const platform::SettingsStore& store, const QString& root, const QString& keyPath,
                     const QString& valueName, const QString& defaultValue) {
    return store.Read(Section(root, keyPath), StoredName(valueName)).value_or(defaultValue);
}

bool SaveRegString(const platform::SettingsStore& store, const QString& root, const QString& keyPath,
                   const QString& valueName, const QString& value) {
    return store.Write(Section(root, keyPath), StoredName(valueName), value);
}

}  // namespace tamsel::Registry
