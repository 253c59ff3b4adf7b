#pragma once
// Numbers written in ordinary decimal notation ("12", "-2.5", " 1.10 "), read
// digit by digit so that rounding and comparisons are exact: a binary double
// cannot hold 1.1 or 2.5-and-a-bit exactly, and the alarm file's version line
// and the half-to-even rounding of fields both depend on exact values.
#include <optional>
#include <string_view>

namespace kolvi {

struct DecimalText {
    bool negative = false;
    std::string_view integerDigits;   // without leading zeros ("" for zero)
    std::string_view fractionDigits;  // without trailing zeros ("" for none)
};

// Surrounding spaces, an optional sign, digits with an optional "." and
// fraction; at least one digit. Anything else (letters, exponents, a second
// point, tabs) is not a number.
std::optional<DecimalText> parseDecimalText(std::string_view text);

// The value rounded to the nearest integer, a half going to the even
// neighbour; nullopt when its magnitude exceeds maxMagnitude.
std::optional<long long> roundHalfToEven(const DecimalText& number, long long maxMagnitude);

// -1, 0 or 1 as a is less than, equal to or greater than b. Zero is zero
// whatever its sign.
int compareDecimal(const DecimalText& a, const DecimalText& b);

}  // namespace kolvi
