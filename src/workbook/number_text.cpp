// Numbers as the spreadsheet shows and reads them: decimal rounding on the
// 15 significant digits a spreadsheet keeps, and the fixed-point and General
// formats.
#include "workbook/workbook.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace tb::wb {

namespace {

// |v| rounded half away from zero to `decimals` places, working on the
// decimal digits of its 15-significant-digit representation (a binary
// double such as 6.6375 - epsilon must still round up, as typed input does).
struct Decimal {
    bool negative = false;
    std::string int_digits;    // no leading zeros; "" when the whole part is 0
    std::string frac_digits;   // exactly `decimals` digits
    bool is_zero() const {
        return int_digits.empty() && frac_digits.find_first_not_of('0') == std::string::npos;
    }
};

Decimal round_decimal(double v, int decimals) {
    Decimal d;
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

double decimal_value(const Decimal& d) {
    const std::string s = (d.int_digits.empty() ? "0" : d.int_digits) + "." + d.frac_digits;
    double x = 0;
    std::from_chars(s.data(), s.data() + s.size(), x);
    return (d.negative && x != 0) ? -x : x;
}

// A fixed-point format of the kind "#.000", "##0.00", "0.0", "#,##0":
// digits required before the point, and decimals.
struct FixedFormat {
    int min_int_digits = 0;
    int decimals = 0;
};

std::optional<FixedFormat> parse_fixed(std::string_view f) {
    FixedFormat ff;
    bool point = false;
    bool any = false;
    for (char c : f) {
        if (c == '.') {
            if (point) return std::nullopt;
            point = true;
        } else if (c == '0') {
            any = true;
            if (point) ++ff.decimals; else ++ff.min_int_digits;
        } else if (c == '#' && !point) {
            any = true;
        } else {
            return std::nullopt;
        }
    }
    if (!any) return std::nullopt;
    return ff;
}

std::string fixed_text(double value, const FixedFormat& ff) {
    const Decimal d = round_decimal(value, ff.decimals);
    std::string s;
    if (d.negative && !d.is_zero()) s.push_back('-');
    std::string whole = d.int_digits;
    if (static_cast<int>(whole.size()) < ff.min_int_digits)
        whole.insert(0, static_cast<size_t>(ff.min_int_digits) - whole.size(), '0');
    s += whole;
    if (ff.decimals > 0) {
        s.push_back('.');
        s += d.frac_digits;
    }
    if (s.empty() || s == "-") s += "0";   // "#" alone on zero still shows a digit
    return s;
}

std::string scientific_text(double value) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.5E", value);
    std::string s(buf);
    const auto e = s.find('E');
    std::string mant = s.substr(0, e);
    if (mant.find('.') != std::string::npos) {
        while (!mant.empty() && mant.back() == '0') mant.pop_back();
        if (!mant.empty() && mant.back() == '.') mant.pop_back();
    }
    return mant + s.substr(e);
}

// General: integers as they are, other numbers in at most 11 characters.
std::string general_text(double value) {
    if (!std::isfinite(value)) return "#NUM!";
    const double a = std::fabs(value);
    if (a >= 1e11) return scientific_text(value);
    if (value == std::floor(value)) {
        char buf[40];
        const auto end = std::to_chars(buf, buf + sizeof buf, value == 0 ? 0.0 : value, std::chars_format::fixed, 0).ptr;
        return std::string(buf, end);
    }
    if (a < 1e-9) return scientific_text(value);
    const Decimal whole = round_decimal(value, 0);
    const int int_len = std::max<int>(1, static_cast<int>(whole.int_digits.size()));
    const int decimals = std::max(0, 11 - (value < 0 ? 1 : 0) - int_len - 1);
    const Decimal d = round_decimal(value, decimals);
    std::string frac = d.frac_digits;
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    std::string s;
    if (d.negative && !d.is_zero()) s.push_back('-');
    s += d.int_digits.empty() ? "0" : d.int_digits;
    if (!frac.empty()) s += "." + frac;
    return s;
}

}  // namespace

double format_000_value(double quotient) { return round_decimal_value(quotient, 3); }

double round_decimal_value(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    return decimal_value(round_decimal(value, std::clamp(decimals, 0, 15)));
}

std::string format_000_text(double value) {
    return fixed_text(value, FixedFormat{0, 3});
}

std::string format_number(double value, std::string_view number_format) {
    if (!number_format.empty() && number_format != "General" && std::isfinite(value)) {
        if (auto ff = parse_fixed(number_format)) return fixed_text(value, *ff);
    }
    return general_text(value);
}

}  // namespace tb::wb
