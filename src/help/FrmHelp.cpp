#include "help/FrmHelp.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "platform/Platform.h"
#include "shell/Texts.h"

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

FrmHelp::FrmHelp() : Text1(new QPlainTextEdit(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(texts::Text(texts::kHelpWindowCaption));
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

}  // namespace tamsel
