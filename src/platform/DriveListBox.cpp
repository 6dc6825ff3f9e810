#include "platform/DriveListBox.h"

#include "platform/Drives.h"

namespace tamsel::platform {

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    Refresh();
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!settingByProgram_) {
            emit Change();
        }
    });
}

void DriveListBox::Refresh() {
    const QString current = Drive();
    settingByProgram_ = true;
    clear();
    addItems(MountedDriveRoots());
    setCurrentIndex(findText(current));
    settingByProgram_ = false;
}

bool DriveListBox::SetDrive(const QString& path) {
    QStringList roots;
    for (int i = 0; i < count(); ++i) {
        roots << itemText(i);
    }
    const QString drive = DriveOf(path, roots);
    if (drive.isEmpty()) {
        return false;
    }
    if (drive != Drive()) {
        settingByProgram_ = true;
        setCurrentIndex(findText(drive));
        settingByProgram_ = false;
        emit Change();
    }
    return true;
}

void DriveListBox::ShowDriveOf(const QString& path) {
    const QStringList roots = MountedDriveRoots();
    const QString drive = DriveOf(path, roots);
    settingByProgram_ = true;
    if (findText(drive) < 0) {
        clear();
        addItems(roots);
    }
    setCurrentIndex(findText(drive));
    settingByProgram_ = false;
}

void DriveListBox::showPopup() {
    Refresh();
    QComboBox::showPopup();
}

}  // namespace tamsel::platform
