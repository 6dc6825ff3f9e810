#pragma once

#include <QWidget>

namespace tamsel::platform {

// The window's inner area: the plain surface below the menu bar that every control sits on, in the
// workspace colour. It tells the window when its size changes.
class InnerArea : public QWidget {
    Q_OBJECT
public:
    explicit InnerArea(QWidget* parent = nullptr);

signals:
    void Resized();

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace tamsel::platform
