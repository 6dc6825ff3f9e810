#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace tamsel::help {

// The help window: one multi-line text box with the built-in help text, which it loads when it is
// made. The main window makes it on first use and again after it was closed.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow();

    const QPlainTextEdit& Text() const { return *text_; }

    // Times this window has loaded its text: once, when it was made.
    int LoadCount() const { return loadCount_; }

private:
    QPlainTextEdit* text_;
    int loadCount_ = 0;
};

// The built-in help text: the resource's bytes, each converted to one character.
QString HelpText();

}  // namespace tamsel::help
