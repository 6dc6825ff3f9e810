// The Help menu: the help window, brought forward when it is open, and the About message.
#include "help/FrmHelp.h"
#include "shell/FrmImageViewer.h"
#include "shell/Texts.h"

namespace tamsel {

void FrmImageViewer::mnuHelp_Click() {
    if (help_ == nullptr) {
        help_ = new FrmHelp();
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

FrmHelp* FrmImageViewer::HelpWindow() const {
    return help_;
}

void FrmImageViewer::mnuAbout_Click() {
    ShowMessage(texts::AboutMessage(), platform::MessageIcon::Information);
}

}  // namespace tamsel
