#pragma once

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

#include "files/FolderListing.h"
#include "texture/FileKinds.h"

// The folder on show and its files: the one sequence that the single view, the pages and the slide
// show walk, and its selected entry, the one cursor they move.
namespace tamsel::browse {

// A file the single view shows, or showed, that the file list does not hold: one opened from outside
// whose name the list does not show, or the file on show once it vanished. Next and Previous step from
// its place among the listed names.
struct UnlistedFile {
    QString name;
    std::optional<texture::FileKind> kind;  // none once it vanished: there is nothing to draw
};

// The root of the drive that holds `path`; "/" when no mounted volume does.
QString DriveRootOf(const QString& path);

class Folder {
public:
    // The folder on show: absolute, without a trailing "/" but for the root "/". Empty before the first.
    const QString& Path() const { return path_; }
    const std::vector<files::ListedName>& Files() const { return files_; }
    int Count() const { return static_cast<int>(files_.size()); }
    QString Name(int index) const;
    // The full path of `name` in the folder.
    QString PathOf(const QString& name) const;

    // Makes `path` the folder on show, its files listed and nothing selected. False, with nothing
    // changed, when it cannot be listed.
    bool Open(const QString& path);
    // Lists the folder again as it now is, the selection kept on its file (none when it is gone).
    void Refresh();

    int Selected() const { return selected_; }
    QString SelectedName() const { return Name(selected_); }
    // Selects entry `index`, or nothing for an index outside the list; true when that changed the
    // selection, which ends an unlisted file's turn on show.
    bool Select(int index);

    const std::optional<UnlistedFile>& Unlisted() const { return unlisted_; }
    void SetUnlisted(std::optional<UnlistedFile> file) { unlisted_ = std::move(file); }

    // The entries Next and Previous show: one step from the selected entry, or from the place of an
    // unlisted file among the names, wrapping at the ends.
    int EntryAfterOnShow() const;
    int EntryBeforeOnShow() const;

    // The folder last on show on the drive with root `root`; empty when none was.
    QString LastFolderOn(const QString& root) const { return lastOnDrive_.value(root); }

private:
    QString path_;
    std::vector<files::ListedName> files_;
    int selected_ = -1;
    std::optional<UnlistedFile> unlisted_;
    QHash<QString, QString> lastOnDrive_;
};

}  // namespace tamsel::browse
