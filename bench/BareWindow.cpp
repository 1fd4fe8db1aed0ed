// The yardstick for the desktop program's memory: a Qt Widgets program that
// shows one window of the main window's size and does nothing else. With
// --text the window shows one line of text, which is what a window with
// captions pays on top for fonts and text layout.

#include <QApplication>
#include <QLabel>
#include <QString>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool withText = argc > 1 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--text");
    QWidget window;
    window.resize(412, 116);
    QLabel caption(QStringLiteral("Check mail every:"), &window);
    caption.setVisible(withText);
    window.show();
    return QApplication::exec();
}
