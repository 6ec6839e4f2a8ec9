// tallybook: the window.
#include "main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("tallybook");
    QApplication::setApplicationVersion(TALLYBOOK_VERSION);
    QApplication::setDesktopFileName("tallybook");
    // The window goes when E&XIT is pressed; a run under way is cancelled and
    // waited for when the window object ends, below, after the event loop.
    tb::gui::MainWindow window;
    window.show();
    return app.exec();
}
