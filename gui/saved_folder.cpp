#include "saved_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace tb::gui {

QString data_folder(const QString& override_dir) {
    if (!override_dir.isEmpty()) return override_dir;
    const QString env = qEnvironmentVariable("TALLYBOOK_DATA_DIR");
    if (!env.isEmpty()) return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           "/tallybook/data";
}

QByteArray saved_folder_line(const QString& folder) {
    return '"' + QFile::encodeName(QDir::toNativeSeparators(folder)) + "\"\r\n";
}

std::optional<QString> read_saved_folder(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray line = f.readLine(64 * 1024);
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    // The folder is everything between the first and the last quote, so a
    // folder whose name holds a quote survives the round trip.
    if (line.size() < 2 || !line.startsWith('"') || !line.endsWith('"')) return std::nullopt;
    const QString folder = QDir::fromNativeSeparators(QFile::decodeName(line.mid(1, line.size() - 2)));
    if (folder.isEmpty()) return std::nullopt;
    return folder;
}

QString write_saved_folder(const QString& file, const QString& folder) {
    const QString dir = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(dir)) return QStringLiteral("cannot create the folder %1").arg(dir);
    // Written whole or not at all, so a full disk cannot leave half a line.
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(saved_folder_line(folder)) < 0 || !f.commit())
        return QStringLiteral("cannot write %1: %2").arg(file, f.errorString());
    return {};
}

}  // namespace tb::gui
