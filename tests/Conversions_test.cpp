#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/Conversions.h"

using platform::NumberToText;
using platform::TextToNumber;

TEST(ConversionsTest, TextReadsAsTheDecimalNumberItSpells) {
  const std::pair<std::string, double> numbers[] = {
      {"30", 30},       {"030", 30},     {" \t30  ", 30}, {"+2.5", 2.5},  {"-5", -5},
      {".5", 0.5},      {"5.", 5},       {"1e3", 1000},   {"1E-2", 0.01}, {"2.50", 2.5},
      {"1e-400", 0},    {"-0", 0},       {"0.000e999999999999", 0},
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
  };
  for (const auto& [text, value] : numbers) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(TextToNumber(text).has_value());
    EXPECT_EQ(*TextToNumber(text), value);
  }
  const std::string notNumbers[] = {"", " ", "abc", "3a", "0x10", "inf", "nan", "1e", "1e+", ".",
                                    "+", "--1", "1.2.3", "3 0", "1e400", "1e999999999999999999",
                                    std::string(400, '9'), "\n30", std::string("1\0", 2)};
  for (const std::string& text : notNumbers) {
    SCOPED_TRACE(text.substr(0, 20));
    EXPECT_FALSE(TextToNumber(text).has_value());
  }
}

TEST(ConversionsTest, NumbersWriteAsPlainDigitsOrTheShortestExactDecimal) {
  const std::pair<double, std::string> written[] = {
      {29, "29"}, {0, "0"}, {-0.0, "0"}, {-3, "-3"}, {1.5, "1.5"}, {-0.5, "-0.5"},
      {999999999999999, "999999999999999"}, {0.1 + 0.2, "0.3"}};  // 15 significant digits at most
  for (const auto& [value, text] : written) EXPECT_EQ(NumberToText(value), text);
  for (double value : {2.5 - 1, 1e-7, 123.456, 1e300})
    EXPECT_EQ(TextToNumber(NumberToText(value)), value) << NumberToText(value);
}
