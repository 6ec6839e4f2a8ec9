// Writes win32/tallybook.ico from the icon the Qt window draws, so that the
// Windows window shows the same picture. Run again only when the drawing
// changes:
//
//     build/tools/icon/tallybook-gen-icon win32/tallybook.ico
//
// An .ico file may hold PNG images: a 6-byte header, a 16-byte entry per
// image, then the PNG data.
#include "app_icon.h"

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QFile>

#include <cstdio>
#include <vector>

namespace {

void put16(QByteArray& out, int v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}
void put32(QByteArray& out, qint64 v) {
    put16(out, static_cast<int>(v & 0xFFFF));
    put16(out, static_cast<int>((v >> 16) & 0xFFFF));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ico\n", argv[0]);
        return 2;
    }
    const QIcon icon = tb::gui::app_icon();
    const int sizes[] = {16, 24, 32, 48, 64, 256};
    std::vector<QByteArray> images;
    for (int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        icon.pixmap(size, size).toImage().save(&buffer, "PNG");
        images.push_back(png);
    }
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<int>(images.size()));
    qint64 offset = 6 + 16 * static_cast<qint64>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = sizes[i];
        out.append(static_cast<char>(size >= 256 ? 0 : size));
        out.append(static_cast<char>(size >= 256 ? 0 : size));
        out.append('\0');
        out.append('\0');
        put16(out, 1);
        put16(out, 32);
        put32(out, images[i].size());
        put32(out, offset);
        offset += images[i].size();
    }
    for (const QByteArray& png : images) out.append(png);
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
