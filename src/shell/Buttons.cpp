#include "shell/Buttons.h"

#include <QPushButton>

#include "shell/FrmImageViewer.h"

namespace tamsel {

namespace {

void Apply(const buttons::Change& change, QPushButton* button) {
    if (change.caption != nullptr) {
        button->setText(texts::Text(change.caption));
    }
    if (change.enabled) {
        button->setEnabled(*change.enabled);
    }
    if (change.visible) {
        button->setVisible(*change.visible);
    }
    if (change.tip != nullptr) {
        button->setToolTip(texts::Text(change.tip));
    }
}

}  // namespace

void FrmImageViewer::SetButtons(const buttons::Changes& changes) {
    Apply(changes.previous, cmdPrevious);
    Apply(changes.stop, cmdStop);
    Apply(changes.next, cmdNext);
}

}  // namespace tamsel
