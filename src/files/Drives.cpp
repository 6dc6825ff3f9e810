#include "files/Drives.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace tamsel::files {

QStringList MountedDriveRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir()) {
            roots << NormalFolderPath(volume.rootPath());
        }
    }
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end());
    return roots;
}

QString DriveOf(const QString& path, const QStringList& roots) {
    const QString folder = NormalFolderPath(path);
    QString best;
    for (const QString& root : roots) {
        const bool owns = root == QStringLiteral("/") || folder == root || folder.startsWith(root + u'/');
        if (owns && root.size() > best.size()) {
            best = root;
        }
    }
    return best;
}

QString FullPath(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

QString NormalFolderPath(const QString& path) {
    return QDir::cleanPath(QDir(path).absolutePath());
}

}  // namespace tamsel::files
