// tamsel-bench-floor WIDTHxHEIGHT: the least a Qt 6 Widgets program puts on screen, as the floor of the
// benchmark's start-up rows: a main window with three menus over a plain central widget, its inside
// WIDTH x HEIGHT and its frame at the screen's top left, as the viewer's window stands.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[]) {
    const QApplication app(argc, argv);
    const QStringList size = QApplication::arguments().value(1).split(u'x');
    QMainWindow window;
    for (const char* menu : {"&File", "&Slide Show", "&Help"}) {
        window.menuBar()->addMenu(QString::fromLatin1(menu))->addAction(QStringLiteral("Item"));
    }
    window.setCentralWidget(new QWidget(&window));
    window.resize(size.value(0).toInt(), size.value(1).toInt());
    window.move(0, 0);
    window.show();
    return QApplication::exec();
}
