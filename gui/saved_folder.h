// The saved-folder file: the encyclopedia folder of the last completed run,
// remembered across program starts. One line: the folder in double quotes,
// then CR LF.
#pragma once

#include <QString>

#include <optional>

namespace tb::gui {

// The per-user data folder that holds TALLYBOOK.txt. `override_dir` wins
// when not empty, then the environment variable TALLYBOOK_DATA_DIR, then
// the generic data location + "/tallybook/data".
QString data_folder(const QString& override_dir = {});

inline QString saved_folder_file(const QString& data_dir) { return data_dir + "/TALLYBOOK.txt"; }

// The folder held by the file, or nothing when the file is missing,
// unreadable or not one quoted line.
std::optional<QString> read_saved_folder(const QString& file);

// Replaces the file's content with the quoted folder. Returns an error text,
// empty on success. The data folder is created when missing.
QString write_saved_folder(const QString& file, const QString& folder);

// The line's exact bytes: "<folder>" CR LF.
QByteArray saved_folder_line(const QString& folder);

}  // namespace tb::gui
