#include "platform/Conversions.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Splits a well-formed number into the parts that decide whether an
// out-of-range result is an overflow (no number) or an underflow (zero).
struct Grammar {
  bool negative = false;
  std::string_view body;  // digits, point, exponent: what from_chars reads
  bool allZero = true;    // every mantissa digit is 0
  long long magnitude = 0;  // decimal exponent of the leading nonzero digit, saturated
};

std::optional<Grammar> Parse(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  Grammar g;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) g.negative = text[i++] == '-';
  const std::size_t start = i;
  long long intDigits = 0, leadingFractionZeros = 0;
  bool seenNonzero = false, anyDigit = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    anyDigit = true;
    if (text[i] != '0') seenNonzero = true;
    if (seenNonzero && intDigits < 1'000'000) ++intDigits;
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i) {
      anyDigit = true;
      if (text[i] != '0') seenNonzero = true;
      if (!seenNonzero && leadingFractionZeros < 1'000'000) ++leadingFractionZeros;
    }
  }
  if (!anyDigit) return std::nullopt;
  long long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    if (i == text.size() || !IsDigit(text[i])) return std::nullopt;
    for (; i < text.size() && IsDigit(text[i]); ++i)
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[i] - '0');
    if (negativeExponent) exponent = -exponent;
  }
  if (i != text.size()) return std::nullopt;
  g.body = text.substr(start);
  g.allZero = !seenNonzero;
  g.magnitude = (intDigits > 0 ? intDigits - 1 : -leadingFractionZeros - 1) + exponent;
  return g;
}

// The double nearest to the digits, halves to even, as from_chars reads
// them; out_of_range when the value is beyond a double or underflows to 0.
std::from_chars_result ReadDecimal(const char* first, const char* last, double& value) {
#if defined(__cpp_lib_to_chars)
  return std::from_chars(first, last, value, std::chars_format::general);
#else
  // Libraries without a floating-point from_chars (Emscripten's libc++):
  // musl's strtod rounds correctly, and the grammar has already ruled out
  // everything else it would accept (hex, inf, nan, a locale's point).
  const std::string digits(first, last);
  char* end = nullptr;
  errno = 0;
  const double read = std::strtod(digits.c_str(), &end);
  const auto at = first + (end - digits.c_str());
  if (errno == ERANGE && (read == 0 || std::isinf(read))) return {at, std::errc::result_out_of_range};
  value = read;
  return {at, std::errc()};
#endif
}

// The shortest decimal that reads back to the same double, as to_chars
// writes it: plain or with an exponent, whichever is shorter, plain on a tie.
std::string Shortest(double value) {
  std::array<char, 64> buffer{};
#if defined(__cpp_lib_to_chars)
  return {buffer.data(), std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr};
#else
  // musl's printf writes exact digits, so the first precision that reads
  // back gives the shortest ones.
  for (int precision = 0;; ++precision) {
    std::snprintf(buffer.data(), buffer.size(), "%.*e", precision, value);
    if (precision == 16 || std::strtod(buffer.data(), nullptr) == value) break;
  }
  const std::string scientific = buffer.data();
  const std::size_t e = scientific.find('e');
  if (e == std::string::npos) return scientific;
  const int exponent = std::atoi(scientific.c_str() + e + 1);
  std::string digits;
  for (std::size_t i = 0; i < e; ++i)
    if (IsDigit(scientific[i])) digits += scientific[i];
  const int last = static_cast<int>(digits.size()) - 1;
  std::string plain = scientific[0] == '-' ? "-" : "";
  if (exponent >= last)
    plain += digits + std::string(static_cast<std::size_t>(exponent - last), '0');
  else if (exponent >= 0)
    plain += digits.substr(0, static_cast<std::size_t>(exponent) + 1) + "." +
             digits.substr(static_cast<std::size_t>(exponent) + 1);
  else
    plain += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  return plain.size() <= scientific.size() ? plain : scientific;
#endif
}

}  // namespace

std::optional<double> TextToNumber(const std::string& text) {
  const std::optional<Grammar> g = Parse(text);
  if (!g) return std::nullopt;
  double value = 0;
  if (!g->allZero) {
    const char* first = g->body.data();
    const char* last = first + g->body.size();
    const auto [end, ec] = ReadDecimal(first, last, value);
    if (ec == std::errc::result_out_of_range) {
      if (g->magnitude > 0) return std::nullopt;  // too large for a double
      value = 0;                                   // too small: rounds to zero
    } else if (ec != std::errc() || end != last) {
      return std::nullopt;
    }
  }
  return g->negative ? -value : value;
}

std::string NumberToText(double value) {
  // Whole values go through an integer, which also writes -0 as "0".
  if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 9.2e18)
    return std::to_string(static_cast<std::int64_t>(value));
  const std::string shortest = Shortest(value);
  std::size_t digits = 0;
  for (char c : shortest) {
    if (c == 'e' || c == 'E') break;
    if (IsDigit(c)) ++digits;
  }
  if (digits <= 15) return shortest;
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.15g", value);
  return buffer.data();
}

double Int(double x) { return std::floor(x); }

}  // namespace platform
