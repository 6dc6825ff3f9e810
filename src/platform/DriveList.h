#pragma once

#include <QComboBox>

namespace tamsel::platform {

// The drive list: the mounted volumes, shown by their root paths. It shows the drive it is given, and
// tells of a drive the user picks; the volumes are listed afresh each time it opens.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    QString Drive() const { return currentText(); }

    // Shows `drive` (a root among the mounted volumes) as the value, listing the volumes afresh when
    // it is not among those listed.
    void Show(const QString& drive);

    void showPopup() override;

signals:
    void Chosen(const QString& root);

private:
    void List();
    bool showing_ = false;  // the value is being set by Show, not by the user
};

}  // namespace tamsel::platform
