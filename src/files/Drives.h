#pragma once

#include <QString>
#include <QStringList>

namespace tamsel::files {

// A drive is a mounted volume, named by its root path. The drives of the machine: the valid, ready
// volumes whose root is a folder, sorted by root path.
QStringList MountedDriveRoots();

// The drive of `path`: the root among `roots` that is the longest prefix of `path` in whole path
// components ("/media/usb" owns "/media/usb/a" but not "/media/usb2"). Empty when none is.
QString DriveOf(const QString& path, const QStringList& roots);

// `path` made absolute and clean, without a trailing "/" except for the root "/".
QString NormalFolderPath(const QString& path);

// The full path of `name` in `folder`: exactly one "/" between them, also when the folder is the
// root "/".
QString FullPath(const QString& folder, const QString& name);

}  // namespace tamsel::files
