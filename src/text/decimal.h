// Numbers as decimal digits, the way a spreadsheet keeps and rounds them:
// a double is taken as its decimal value of 15 significant digits, then
// rounded half away from zero. A binary double just below a half (6.6375 is
// stored as 6.63749999...) therefore rounds up, as typed input would.
#pragma once

#include <string>

namespace tb::text {

// |value| rounded to `decimals` places (0..15), as digits.
struct DecimalDigits {
    bool negative = false;     // the sign of the value, even when it rounds to 0
    std::string int_digits;    // no leading zeros; "" when the whole part is 0
    std::string frac_digits;   // exactly `decimals` digits
    bool is_zero() const;
};

// Rounds a finite value. Throws: nothing.
DecimalDigits round_decimal(double value, int decimals);

// The number the digits stand for (0 for -0). Throws: nothing.
double decimal_value(const DecimalDigits& digits);

// `value` rounded half away from zero to `decimals` places (clamped to
// 0..15) on its 15-significant-digit value: 1.005 -> 1.01, 6.6375 -> 6.638.
// A value that is not finite is returned as it is. Throws: nothing.
double round_half_away(double value, int decimals);

}  // namespace tb::text
