// The local calendar time of a moment, for the libraries that need the date
// without the rest of the platform seam (header only, so that they need not
// link it).
#pragma once

#include <ctime>

namespace tb::platform {

inline std::tm local_calendar(std::time_t t) {
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    return tm;
}

}  // namespace tb::platform
