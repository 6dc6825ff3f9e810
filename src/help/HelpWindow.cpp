#include "help/HelpWindow.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "texts/Texts.h"

namespace tamsel::help {

QString HelpText() {
    QFile resource(QStringLiteral(":/help/help.txt"));
    resource.open(QIODevice::ReadOnly);
    // The text is 7-bit ASCII; each byte becomes one character, as the single-byte code page maps it.
    return QString::fromLatin1(resource.readAll());
}

HelpWindow::HelpWindow() : text_(new QPlainTextEdit(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(texts::Text(texts::kHelpWindowCaption));
    // The text box reaches three pixels past the right edge, its scroll bar cut off a little, as it
    // always was.
    setFixedSize(646, 449);
    text_->setGeometry(0, 0, 649, 449);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setReadOnly(true);
    text_->setTabStopDistance(text_->fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
    text_->setPlainText(HelpText());
    ++loadCount_;
}

}  // namespace tamsel::help
