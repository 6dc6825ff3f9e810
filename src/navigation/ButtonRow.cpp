#include "navigation/ButtonRow.h"

#include <QPushButton>

#include "platform/Fonts.h"

namespace tamsel::navigation {

namespace {

QPushButton* MakeButton(QWidget* parent, const QRect& rect) {
    auto* button = new QPushButton(parent);
    button->setGeometry(rect);
    button->setFont(platform::ControlFont(8.25));
    button->hide();
    return button;
}

void Apply(const ButtonFace& face, QPushButton* button) {
    button->setText(face.caption);
    button->setToolTip(face.tip);
    button->setEnabled(face.enabled);
    button->setVisible(face.shown);
}

}  // namespace

ButtonRow::ButtonRow(QWidget* parent)
    : QObject(parent),
      previous_(MakeButton(parent, {136, 440, 80, 32})),
      middle_(MakeButton(parent, {240, 440, 80, 32})),
      next_(MakeButton(parent, {344, 440, 80, 32})) {
    connect(previous_, &QPushButton::clicked, this, &ButtonRow::PreviousClicked);
    connect(middle_, &QPushButton::clicked, this, &ButtonRow::MiddleClicked);
    connect(next_, &QPushButton::clicked, this, &ButtonRow::NextClicked);
}

void ButtonRow::Set(const ButtonFace& previous, const ButtonFace& middle, const ButtonFace& next) {
    Apply(previous, previous_);
    Apply(middle, middle_);
    Apply(next, next_);
}

bool ButtonRow::Usable(const QPushButton* button) {
    return button->isVisible() && button->isEnabled();
}

}  // namespace tamsel::navigation
