#pragma once

#include <QComboBox>
#include <QStringList>

namespace tamsel::platform {

// The drive list: the mounted volumes, shown by their root paths. Its value is the selected drive.
// Change fires whenever the value changes, by the user or by the program; setting the current value
// fires nothing.
class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(QWidget* parent = nullptr);

    // The root path of the selected drive.
    QString Drive() const { return currentText(); }

    // Selects the drive of `path`. False when no drive holds it; the value is then unchanged.
    bool SetDrive(const QString& path);

    // Shows the drive of `path` as the value, without firing Change, listing the drives afresh when
    // it is a new one: the drive list follows the folder list into another volume.
    void ShowDriveOf(const QString& path);

    void showPopup() override;

signals:
    void Change();

private:
    void Refresh();
    bool settingByProgram_ = false;
};

}  // namespace tamsel::platform
