// TALLYBOOK's licence and the notices of the works of others its programs
// contain, as the package they come in ships them (packaging/notices). They
// are compiled in, so that a program copied on its own still carries them.
#pragma once

#include <span>
#include <string_view>

namespace tb::notices {

// The MIT licence of TALLYBOOK (LICENSE).
std::string_view license();

// THIRD-PARTY-NOTICES.txt of this build's package: a summary, then each
// work's version, licence and full copyright text.
std::string_view third_party();

// One line per work of others, "zlib 1.2.13 (Zlib)", in the notices' order.
std::span<const std::string_view> works();

}  // namespace tb::notices
