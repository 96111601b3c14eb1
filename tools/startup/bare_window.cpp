// The yardstick for the table window's start-up: a bare Qt window with a menu
// bar and nothing else, at the table's design size. scripts/startup_compare.py
// starts it and the game the same way and compares when each maps its window.
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    QMenu* pFile = window.menuBar()->addMenu(QStringLiteral("&File"));
    pFile->addAction(QStringLiteral("E&xit"), &window, &QWidget::close);
    window.resize(642, 446 + window.menuBar()->sizeHint().height());
    window.show();
    return QApplication::exec();
}
