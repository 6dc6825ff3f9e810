#pragma once

#include <QString>

#include "files/SettingsStore.h"

// The values the viewer remembers from run to run, in the settings file, under the section and names
// they have always had there.
namespace tamsel::shell {

// The folder on show at the end, with a "/" after it.
inline const QString kLastUsedPath = QStringLiteral("LastUsedPath");
// Whether the facts of the picture on show are asked for: "1" or "0".
inline const QString kShowFacts = QStringLiteral("ShowFacts");

// The value of `name`; `defaultValue` when it cannot be read.
QString ReadSetting(const files::SettingsStore& store, const QString& name, const QString& defaultValue);

// Writes `value` as `name`; true when it was written.
bool WriteSetting(const files::SettingsStore& store, const QString& name, const QString& value);

}  // namespace tamsel::shell
