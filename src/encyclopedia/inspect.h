// A plain-text account of an encyclopedia folder: what is there, what will be
// used and what will be passed over, before anything is converted.
#pragma once

#include "encyclopedia/encyclopedia.h"

#include <string>

namespace tb::enc {

// Reads every file of `enc` and describes it. A file that cannot be read is
// reported in the text rather than thrown, and `all_read` (when given) is
// set to false. `current_year` is the calendar year that the birth-year
// rule is checked against.
std::string inspect_report(const Encyclopedia& enc, int current_year, bool* all_read = nullptr);

}  // namespace tb::enc
