#include "help/FrmHelp.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "Version.h"
#include "platform/PictureBox.h"
#include "platform/Platform.h"
#include "shell/FrmImageViewer.h"

namespace tamsel {

namespace {

constexpr int Pixels(int twips) {
    return twips / platform::kTwipsPerPixel;
}

}  // namespace

QString HelpText() {
    QFile resource(QStringLiteral(":/help/help.txt"));
    resource.open(QIODevice::ReadOnly);
    // The text is 7-bit ASCII; each byte becomes one character, as the single-byte code page maps it.
    return QString::fromLatin1(resource.readAll());
}

QString AboutText() {
    return QStringLiteral("v%1.%2.%3 by %4")
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionRevision)
        .arg(QLatin1String(kCompanyName));
}

FrmHelp::FrmHelp() : Text1(new QPlainTextEdit(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Tamsel Sound Player Help"));
    setFixedSize(Pixels(9690), Pixels(6735));
    Text1->setGeometry(0, 0, Pixels(9735), Pixels(6735));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setReadOnly(true);
    Text1->setTabStopDistance(Text1->fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
    Form_Load();
}

void FrmHelp::Form_Load() {
    Text1->setPlainText(HelpText());
    ++loadCount_;
}

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
    ShowMessage(AboutText(), platform::MessageIcon::Information);
}

}  // namespace tamsel
