#include "platform/DriveList.h"

#include "files/Drives.h"

namespace tamsel::platform {

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    List();
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_) {
            emit Chosen(Drive());
        }
    });
}

void DriveList::List() {
    const QString current = Drive();
    showing_ = true;
    clear();
    addItems(files::MountedDriveRoots());
    setCurrentIndex(findText(current));
    showing_ = false;
}

void DriveList::Show(const QString& drive) {
    if (findText(drive) < 0) {
        List();
    }
    showing_ = true;
    setCurrentIndex(findText(drive));
    showing_ = false;
}

void DriveList::showPopup() {
    List();
    QComboBox::showPopup();
}

}  // namespace tamsel::platform
