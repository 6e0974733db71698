// Reading and writing numbers as text.
#include "support/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace yelian {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Skips blanks and an optional sign; tells whether the sign was a minus.
std::size_t skipBlanksAndSign(std::string_view text, bool& negative) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    return i;
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

// The power of ten of the first significant digit of int.frac (0 for 1..9, 1 for 10..99,
// -1 for 0.1..0.9), or 0 when every digit is zero.
long long leadingPower(std::string_view integer, std::string_view fraction) {
    const std::size_t firstInteger = integer.find_first_not_of('0');
    if (firstInteger != std::string_view::npos) {
        return static_cast<long long>(integer.size() - firstInteger) - 1;
    }
    const std::size_t firstFraction = fraction.find_first_not_of('0');
    if (firstFraction == std::string_view::npos) return 0;
    return -static_cast<long long>(firstFraction) - 1;
}

}  // namespace

std::string foldFullWidth(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = charLengthAt(text, i);
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto trail = length == 2 ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            folded += static_cast<char>(trail - 0x80);
        } else if (lead == 0xA1 && trail == 0xA1) {
            folded += ' ';
        } else {
            folded.append(text.substr(i, length));
        }
        i += length;
    }
    return folded;
}

std::int64_t textToInteger(std::string_view text) {
    const std::string folded = foldFullWidth(text);
    bool negative = false;
    std::size_t i = skipBlanksAndSign(folded, negative);
    // Accumulated as a negative number, whose range reaches the int64 minimum.
    std::int64_t value = 0;
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    for (; i < folded.size() && isDigit(folded[i]); ++i) {
        const int digit = folded[i] - '0';
        if (value < (kMin + digit) / 10) {
            value = kMin;
            break;
        }
        value = value * 10 - digit;
    }
    if (negative) return value;
    return value == kMin ? std::numeric_limits<std::int64_t>::max() : -value;
}

double textToReal(std::string_view text) {
    const std::string folded = foldFullWidth(text);
    bool negative = false;
    const std::size_t start = skipBlanksAndSign(folded, negative);
    const std::size_t integerEnd = skipDigits(folded, start);
    std::size_t end = integerEnd;
    std::string_view fraction;
    if (end < folded.size() && folded[end] == '.') {
        const std::size_t fractionEnd = skipDigits(folded, end + 1);
        fraction = std::string_view(folded).substr(end + 1, fractionEnd - end - 1);
        end = fractionEnd;
    }
    const std::string_view integer = std::string_view(folded).substr(start, integerEnd - start);
    if (integer.empty() && fraction.empty()) return 0;
    long long exponent = 0;
    if (end < folded.size() && (folded[end] == 'e' || folded[end] == 'E')) {
        bool negativeExponent = false;
        const std::string_view rest = std::string_view(folded).substr(end + 1);
        const std::size_t digits =
            rest.empty() || isBlank(rest[0]) ? 0 : skipBlanksAndSign(rest, negativeExponent);
        const std::size_t digitsEnd = skipDigits(rest, digits);
        if (digitsEnd > digits) {
            for (std::size_t k = digits; k < digitsEnd && exponent < 100000; ++k) {
                exponent = exponent * 10 + (rest[k] - '0');
            }
            if (negativeExponent) exponent = -exponent;
            end += 1 + digitsEnd;
        }
    }
    double value = 0;
    const char* first = folded.data() + start;
    const auto [ptr, error] = std::from_chars(first, folded.data() + end, value);
    if (error == std::errc::result_out_of_range) {
        value = leadingPower(integer, fraction) + exponent > 0
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    }
    return negative ? -value : value;
}

std::string integerToText(std::int64_t value) {
    return std::to_string(value);
}

std::string realToText(double value) {
    // Below 2^63 every whole double converts to int64 exactly.
    constexpr double kWholeLimit = 9223372036854775808.0;
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < kWholeLimit) {
        return integerToText(static_cast<std::int64_t>(value));
    }
    // to_chars with a precision is printf's %.13g, but never depends on the locale.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13);
    return std::string(buffer, result.ptr);
}

const std::string& booleanToText(bool value) {
    return value ? kTrueText.str() : kFalseText.str();
}

}  // namespace yelian
