#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The decimal number that a text spells: optional blanks around it, an
// optional sign, digits with an optional point and fraction, an optional
// exponent. Anything else, and a value too large for a double, is no number.
std::optional<double> TextToNumber(const std::string& text);

// Whole values as plain digits ("29", "0", "-3"); other values as the
// shortest decimal that reads back to the same double, at most 15
// significant digits.
std::string NumberToText(double value);

// The greatest integer not above x.
double Int(double x);

}  // namespace platform
