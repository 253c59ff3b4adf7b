#include "text/decimal_text.h"

#include <cstddef>

namespace kolvi {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t countDigits(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && isDigit(text[end])) ++end;
    return end - from;
}

bool isZero(const DecimalText& number) { return number.integerDigits.empty() && number.fractionDigits.empty(); }

// Compares two magnitudes digit by digit.
int compareMagnitude(const DecimalText& a, const DecimalText& b) {
    if (a.integerDigits.size() != b.integerDigits.size()) {
        return a.integerDigits.size() < b.integerDigits.size() ? -1 : 1;
    }
    if (const int c = a.integerDigits.compare(b.integerDigits); c != 0) return c < 0 ? -1 : 1;
    // Trailing zeros are already stripped, so plain text order is numeric order here.
    if (const int c = a.fractionDigits.compare(b.fractionDigits); c != 0) return c < 0 ? -1 : 1;
    return 0;
}

}  // namespace

std::optional<DecimalText> parseDecimalText(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);

    DecimalText number;
    std::size_t pos = 0;
    if (text[pos] == '+' || text[pos] == '-') {
        number.negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t integerLength = countDigits(text, pos);
    std::string_view integer = text.substr(pos, integerLength);
    pos += integerLength;
    std::string_view fraction;
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t fractionLength = countDigits(text, pos + 1);
        fraction = text.substr(pos + 1, fractionLength);
        pos += 1 + fractionLength;
    }
    if (pos != text.size() || (integer.empty() && fraction.empty())) return std::nullopt;

    const std::size_t significant = integer.find_first_not_of('0');
    number.integerDigits = significant == std::string_view::npos ? std::string_view() : integer.substr(significant);
    const std::size_t lastNonZero = fraction.find_last_not_of('0');
    number.fractionDigits = lastNonZero == std::string_view::npos ? std::string_view() : fraction.substr(0, lastNonZero + 1);
    return number;
}

std::optional<long long> roundHalfToEven(const DecimalText& number, long long maxMagnitude) {
    // Anything with more digits than this is far outside every range asked for.
    constexpr std::size_t kMaxDigits = 18;
    if (number.integerDigits.size() > kMaxDigits) return std::nullopt;
    long long magnitude = 0;
    for (char digit : number.integerDigits) magnitude = magnitude * 10 + (digit - '0');

    if (!number.fractionDigits.empty()) {
        const char firstFraction = number.fractionDigits.front();
        // fractionDigits has no trailing zeros, so more than one digit after a
        // leading 5 means "more than a half".
        const bool exactHalf = firstFraction == '5' && number.fractionDigits.size() == 1;
        if (firstFraction > '5' || (firstFraction == '5' && !exactHalf) || (exactHalf && magnitude % 2 == 1)) {
            ++magnitude;
        }
    }
    if (magnitude > maxMagnitude) return std::nullopt;
    return number.negative ? -magnitude : magnitude;
}

int compareDecimal(const DecimalText& a, const DecimalText& b) {
    const bool aNegative = a.negative && !isZero(a);
    const bool bNegative = b.negative && !isZero(b);
    if (aNegative != bNegative) return aNegative ? -1 : 1;
    const int magnitude = compareMagnitude(a, b);
    return aNegative ? -magnitude : magnitude;
}

}  // namespace kolvi
