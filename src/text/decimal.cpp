// Decimal rounding on the 15 significant digits a spreadsheet keeps.
#include "text/decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tb::text {

bool DecimalDigits::is_zero() const {
    return int_digits.empty() && frac_digits.find_first_not_of('0') == std::string::npos;
}

DecimalDigits round_decimal(double v, int decimals) {
    DecimalDigits d;
    d.negative = std::signbit(v);
    // "d.dddddddddddddde+XX", as printf's "%.14e" writes it; to_chars is
    // several times faster, and every number cell is measured for autofit.
    char buf[40];
    *std::to_chars(buf, buf + sizeof buf - 1, std::fabs(v), std::chars_format::scientific, 14).ptr = '\0';
    std::string digits;
    digits.reserve(15);
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits.push_back(*p);
    const int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    // Digit i has the place value 10^(exponent - i); keep places down to 10^-decimals.
    const long keep = static_cast<long>(exponent) + decimals + 1;
    std::string n;   // the rounded value times 10^decimals, as decimal digits
    if (keep <= 0) {
        n.assign(1, (keep == 0 && digits[0] >= '5') ? '1' : '0');
    } else if (keep >= static_cast<long>(digits.size())) {
        n = digits;
        n.append(static_cast<size_t>(keep) - digits.size(), '0');
    } else {
        n = digits.substr(0, static_cast<size_t>(keep));
        if (digits[static_cast<size_t>(keep)] >= '5') {
            int i = static_cast<int>(n.size()) - 1;
            for (; i >= 0 && n[static_cast<size_t>(i)] == '9'; --i) n[static_cast<size_t>(i)] = '0';
            if (i < 0) n.insert(n.begin(), '1');
            else ++n[static_cast<size_t>(i)];
        }
    }
    if (n.size() < static_cast<size_t>(decimals) + 1)
        n.insert(0, static_cast<size_t>(decimals) + 1 - n.size(), '0');
    d.int_digits = n.substr(0, n.size() - static_cast<size_t>(decimals));
    d.frac_digits = n.substr(n.size() - static_cast<size_t>(decimals));
    const auto nz = d.int_digits.find_first_not_of('0');
    d.int_digits = (nz == std::string::npos) ? "" : d.int_digits.substr(nz);
    return d;
}

double decimal_value(const DecimalDigits& d) {
    const std::string s = (d.int_digits.empty() ? "0" : d.int_digits) + "." + d.frac_digits;
    double x = 0;
    std::from_chars(s.data(), s.data() + s.size(), x);
    return (d.negative && x != 0) ? -x : x;
}

double round_half_away(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    return decimal_value(round_decimal(value, std::clamp(decimals, 0, 15)));
}

}  // namespace tb::text
