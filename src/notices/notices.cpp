#include "notices/notices.h"

#include <array>

namespace tb::notices {

namespace {
// Written at build time by tools/notices/notices.py.
#include "notices_text.inc"
}  // namespace

std::string_view license() { return kLicense; }
std::string_view third_party() { return kThirdParty; }
std::span<const std::string_view> works() { return kWorks; }

}  // namespace tb::notices
