#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tamsel::platform {

// The place where the program's few remembered values live on this platform: one INI file of
// sections and "name=value" lines. Values are file names, stored with the bytes of the name kept
// exactly (see FileNames.h): UTF-8 as it is, "\\", control characters and bytes that are not valid
// UTF-8 escaped.
//
// Reading never needs write access. Writing changes only the line of the value written: every other
// section, value and comment of the file is kept byte for byte, whatever the file's size. The old
// file is replaced only by a complete new one that has reached the disk, so a failed write (a full
// disk, a crash) leaves it as it was. A settings file that is a link is written through to the file
// it names, and the link stays; a file that is not a regular file (a FIFO, a device) is never
// written. A store without a file (an empty path) reads nothing and writes nothing.
class SettingsStore {
public:
    explicit SettingsStore(QString filePath) : filePath_(std::move(filePath)) {}

    // The value of `name` in `section`; nothing when the file, the section or the value cannot be
    // read.
    std::optional<QString> Read(const QString& section, const QString& name) const;

    // Writes `value` as `name` in `section`. False, with the file unchanged, on any failure: the file
    // cannot be read whole or is no regular file, its folder cannot be made, or the new file cannot
    // be written, synced or put in place.
    bool Write(const QString& section, const QString& name, const QString& value) const;

    const QString& FilePath() const { return filePath_; }

private:
    QString filePath_;
};

}  // namespace tamsel::platform
