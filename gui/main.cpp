// tallybook: the window.
#include "form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("tallybook");
    QApplication::setApplicationVersion(TALLYBOOK_VERSION);
    QApplication::setDesktopFileName("tallybook");
    // The window goes when E&XIT is pressed; a run under way is cancelled and
    // waited for when the window object ends, below, after the event loop.
    tb::gui::Form1 window;
    window.show();
    return app.exec();
}
