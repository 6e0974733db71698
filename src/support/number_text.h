// Numbers read from and written as text the same way everywhere: every number typed into an
// edit box is read with textToInteger or textToReal, every number shown with the *ToText
// routines. Texts are GBK; full-width digits and signs count as ASCII ones.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/gbk_text.h"

namespace yelian {

inline constexpr GbkConstant<"真"> kTrueText;
inline constexpr GbkConstant<"假"> kFalseText;

// Full-width ASCII forms (GBK A3 xx) become ASCII (xx - 0x80), the ideographic space (A1 A1) a
// space; everything else stays.
std::string foldFullWidth(std::string_view text);

// Optional leading blanks and a sign, then decimal digits up to the first other character,
// after foldFullWidth; 0 when there are none. Saturates at the int64 limits.
std::int64_t textToInteger(std::string_view text);

// A decimal number (digits, an optional fraction and exponent) after blanks, as textToInteger
// reads; 0 when there is none. Beyond the range of double it gives an infinity.
double textToReal(std::string_view text);

std::string integerToText(std::int64_t value);
// Whole numbers in decimal without a decimal point, others as printf "%.13g" does.
std::string realToText(double value);
// "真" or "假".
const std::string& booleanToText(bool value);

}  // namespace yelian
