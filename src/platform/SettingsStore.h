#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tamsel::platform {

// The place where the program's few remembered values live on this platform: one INI file of
// sections and "name=value" lines. Values are stored as UTF-8 with "\\", line breaks and other
// control characters escaped. Reading never needs write access; writing replaces the whole file
// atomically, so a crash mid-write never leaves a broken file.
class SettingsStore {
public:
    explicit SettingsStore(QString filePath) : filePath_(std::move(filePath)) {}

    // The value of `name` in `section`; nothing when the file, the section or the value cannot be
    // read.
    std::optional<QString> Read(const QString& section, const QString& name) const;

    // Writes `value` as `name` in `section`, keeping every other value of the file. False on any
    // failure (the folder cannot be created, the file cannot be written or renamed).
    bool Write(const QString& section, const QString& name, const QString& value) const;

    const QString& FilePath() const { return filePath_; }

    static QByteArray Escape(const QString& value);
    static std::optional<QString> Unescape(QByteArrayView stored);

private:
    QString filePath_;
};

}  // namespace tamsel::platform
