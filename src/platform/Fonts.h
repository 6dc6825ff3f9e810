#pragma once

#include <QFont>

class QLabel;

namespace tamsel::platform {

// The face the controls are drawn in, at `points`; a stand-in face where it is missing.
QFont ControlFont(qreal points);

// The control font at the largest size, at most `points`, at which the label's text wraps into its box:
// where the named face is missing, a stand-in face may need a smaller size.
QFont FontThatFits(const QLabel& label, qreal points);

}  // namespace tamsel::platform
