// Numbers as the spreadsheet shows and reads them: decimal rounding on the
// 15 significant digits a spreadsheet keeps, and the fixed-point and General
// formats.
#include "workbook/workbook.h"

#include "text/decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace tb::wb {

namespace {

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
    const text::DecimalDigits d = text::round_decimal(value, ff.decimals);
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
    const text::DecimalDigits whole = text::round_decimal(value, 0);
    const int int_len = std::max<int>(1, static_cast<int>(whole.int_digits.size()));
    const int decimals = std::max(0, 11 - (value < 0 ? 1 : 0) - int_len - 1);
    const text::DecimalDigits d = text::round_decimal(value, decimals);
    std::string frac = d.frac_digits;
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    std::string s;
    if (d.negative && !d.is_zero()) s.push_back('-');
    s += d.int_digits.empty() ? "0" : d.int_digits;
    if (!frac.empty()) s += "." + frac;
    return s;
}

}  // namespace

std::string format_number(double value, std::string_view number_format) {
    if (!number_format.empty() && number_format != "General" && std::isfinite(value)) {
        if (auto ff = parse_fixed(number_format)) return fixed_text(value, *ff);
    }
    return general_text(value);
}

}  // namespace tb::wb
