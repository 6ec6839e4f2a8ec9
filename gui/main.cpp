// tallybook: the window.
#include "form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("tallybook");
    QApplication::setApplicationVersion(TALLYBOOK_VERSION);
    QApplication::setDesktopFileName("tallybook");
    tb::gui::Form1 window;
    window.show();
    return app.exec();
}
