// A path as the readers' messages show it.
#pragma once

#include "text/utf8.h"

#include <filesystem>
#include <string>

namespace tb::enc {

inline std::string quoted(const std::filesystem::path& p) { return "'" + text::path_utf8(p) + "'"; }

}  // namespace tb::enc
