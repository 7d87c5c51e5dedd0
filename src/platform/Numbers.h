#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kov::platform {

// The number at the start of a text, read the way every entry box, settings
// value and grid cell is read: blanks, tabs and line feeds are skipped
// anywhere, then an optional sign, digits with at most one ".", an optional
// exponent ("E" or "D"); "&H" and "&O" read a hexadecimal or octal whole
// number. Reading stops at the first character that cannot continue the
// number; a text without digits gives 0.
double LeadingNumber(std::string_view text);

// Round half to even into a 16-bit Integer / 32-bit Long. A value outside the
// destination's range (or not a number) gives no value: it is never wrapped.
std::optional<std::int16_t> RoundToInteger(double value);
std::optional<std::int32_t> RoundToLong(double value);

// Shortest decimal text, no blank, "." as the decimal point ("455", "-0.5").
std::string PlainNumber(double value);

// The plain text preceded by one blank for zero or a positive number; a minus
// sign takes the blank's place (" 10", "-3").
std::string BlankNumber(double value);

}  // namespace kov::platform
