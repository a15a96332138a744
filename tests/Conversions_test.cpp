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
      // Hard to round: halfway cases, the edges of the subnormals and of
      // the largest double. Every library must give the same doubles.
      {"9007199254740993", 9007199254740992.0},       {"9007199254740993.00000001", 9007199254740994.0},
      {"2.4703282292062327e-324", 0},                 {"2.4703282292062328e-324", 4.9406564584124654e-324},
      {"2.2250738585072011e-308", 2.225073858507201e-308}, {"1.7976931348623158e308", 1.7976931348623157e308},
      {"0.1", 0.1},                                   {"8.2", 8.2},
  };
  for (const auto& [text, value] : numbers) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(TextToNumber(text).has_value());
    EXPECT_EQ(*TextToNumber(text), value);
  }
  const std::string notNumbers[] = {"", " ", "abc", "3a", "0x10", "inf", "nan", "1e", "1e+", ".",
                                    "+", "--1", "1.2.3", "3 0", "1e400", "1e999999999999999999", "1.7976931348623159e308",
                                    std::string(400, '9'), "\n30", std::string("1\0", 2)};
  for (const std::string& text : notNumbers) {
    SCOPED_TRACE(text.substr(0, 20));
    EXPECT_FALSE(TextToNumber(text).has_value());
  }
}

TEST(ConversionsTest, NumbersWriteAsPlainDigitsOrTheShortestExactDecimal) {
  const std::pair<double, std::string> written[] = {
      {29, "29"}, {0, "0"}, {-0.0, "0"}, {-3, "-3"}, {1.5, "1.5"}, {-0.5, "-0.5"},
      {999999999999999, "999999999999999"}, {0.1 + 0.2, "0.3"}, {8.2 - 1, "7.2"},  // 15 significant digits at most
      // Plain or with an exponent, whichever is shorter.
      {0.001, "0.001"}, {0.0001, "1e-04"}, {1.25e-5, "1.25e-05"}, {1.5e20, "1.5e+20"}, {123456.5, "123456.5"}};
  for (const auto& [value, text] : written) EXPECT_EQ(NumberToText(value), text);
  for (double value : {2.5 - 1, 1e-7, 123.456, 1e300})
    EXPECT_EQ(TextToNumber(NumberToText(value)), value) << NumberToText(value);
}
