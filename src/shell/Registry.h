#pragma once

#include <QString>

#include "Version.h"
#include "platform/SettingsStore.h"

// The remembered values, under the names the program has always used for them: a root, a key path
// and a value name. On this platform they live in the settings file, one section per key.
namespace tamsel::Registry {

inline const QString kMachineRoot = QStringLiteral("HKEY_LOCAL_MACHINE");
// "Software\Corvane Software Store\Tamsel Image Viewer": the company's, then the product's.
inline const QString kViewerKey =
    QStringLiteral("Software\\%1\\%2").arg(QString::fromUtf8(kCompanyName), QString::fromUtf8(kProductName));
inline const QString kLastUsedPath = QStringLiteral("LastUsedPath");
// Whether the facts of the picture on show are asked for: "1" or "0".
inline const QString kShowFacts = QStringLiteral("ShowFacts");

// Reads a string value; `defaultValue` when the key or the value cannot be read. A value name of
// "*" stands for the key's unnamed default value.
QString GetRegString(const platform::SettingsStore& store, const QString& root, const QString& keyPath,
                     const QString& valueName, const QString& defaultValue);

// Writes a string value, creating the key when it does not exist; true when it was written.
bool SaveRegString(const platform::SettingsStore& store, const QString& root, const QString& keyPath,
                   const QString& valueName, const QString& value);

}  // namespace tamsel::Registry
