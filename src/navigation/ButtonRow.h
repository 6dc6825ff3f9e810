#pragma once

#include <QObject>
#include <QString>

class QPushButton;
class QWidget;

// The row of three buttons under the picture: Previous, the middle button (Open, ThumbNails, Pause or
// Continue) and Next. They show what they are given; a click says which was clicked.
namespace tamsel::navigation {

// What a button shows: its caption and tooltip, whether it can be clicked and whether it is shown.
struct ButtonFace {
    QString caption;
    QString tip;
    bool enabled = true;
    bool shown = true;
    bool operator==(const ButtonFace&) const = default;
};

class ButtonRow : public QObject {
    Q_OBJECT
public:
    // The three buttons on `parent`, where the window is first laid out; all hidden until set.
    explicit ButtonRow(QWidget* parent);

    void Set(const ButtonFace& previous, const ButtonFace& middle, const ButtonFace& next);

    QPushButton* Previous() const { return previous_; }
    QPushButton* Middle() const { return middle_; }
    QPushButton* Next() const { return next_; }

    // Whether a button is there to be clicked: shown and enabled.
    static bool Usable(const QPushButton* button);

signals:
    void PreviousClicked();
    void MiddleClicked();
    void NextClicked();

private:
    QPushButton* previous_;
    QPushButton* middle_;
    QPushButton* next_;
};

}  // namespace tamsel::navigation
