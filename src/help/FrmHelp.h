#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace tamsel {

// The help window: one multi-line text box with the built-in help text. It loads the text when it
// is created; the main window creates it on first use and again after it was closed.
class FrmHelp : public QWidget {
    Q_OBJECT
public:
    FrmHelp();

    QPlainTextEdit* Text1;

    // Times this window has loaded its text: once, when it was created.
    int LoadCount() const { return loadCount_; }

private:
    void Form_Load();
    int loadCount_ = 0;
};

// The built-in help text: the resource's bytes, each converted to one character.
QString HelpText();

}  // namespace tamsel
