#include "saver/window/SettingsCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kv {
namespace {

TEST(IniInteger, ReadsDecimalWithSignAndSurroundingBlanks) {
    EXPECT_EQ(ParseIniInteger("42"), 42);
    EXPECT_EQ(ParseIniInteger("-7"), -7);
    EXPECT_EQ(ParseIniInteger("+5"), 5);
    EXPECT_EQ(ParseIniInteger(" \t12 \t"), 12);
    EXPECT_EQ(ParseIniInteger("007"), 7);
}

TEST(IniInteger, ReadsHexAfterDollarOrZeroXAsThe32BitPattern) {
    EXPECT_EQ(ParseIniInteger("$10"), 16);
    EXPECT_EQ(ParseIniInteger("$fF"), 255);
    EXPECT_EQ(ParseIniInteger("0x1F"), 31);
    EXPECT_EQ(ParseIniInteger("0X1f"), 31);
    EXPECT_EQ(ParseIniInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(ParseIniInteger("0x80000000"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ParseIniInteger("0x0"), 0);
}

TEST(IniInteger, JunkEmptyTextAndBarePrefixesGiveNothing) {
    for (const char* text : {"", "   ", "abc", "12abc", "1 2", "--1", "-", "1.5", "$", "0x", "0x1G",
                             "$ 1", "-$10", "\x01\xff"})
        EXPECT_EQ(ParseIniInteger(text), std::nullopt) << text;
}

TEST(IniInteger, NumbersBeyond32BitsGiveNothingAtAnyLength) {
    EXPECT_EQ(ParseIniInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseIniInteger("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ParseIniInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("$100000000"), std::nullopt);
    EXPECT_EQ(ParseIniInteger(std::string(5000, '9')), std::nullopt);
    EXPECT_EQ(ParseIniInteger(std::string(4999, '0') + "7"), 7);
    EXPECT_EQ(ParseIniInteger("$" + std::string(4999, '0') + "A"), 10);
}

TEST(IniBool, AnyNonZeroIntegerIsTrueAndTheRestIsTheDefault) {
    EXPECT_EQ(FormatIniBool(true), "1");
    EXPECT_EQ(FormatIniBool(false), "0");
    EXPECT_TRUE(ParseIniBool("1", false));
    EXPECT_TRUE(ParseIniBool("7", false));
    EXPECT_TRUE(ParseIniBool("-1", false));
    EXPECT_FALSE(ParseIniBool("0", true));
    EXPECT_FALSE(ParseIniBool("$0", true));
    for (const char* text : {"", "true", "yes", "1x"}) {
        EXPECT_TRUE(ParseIniBool(text, true)) << text;
        EXPECT_FALSE(ParseIniBool(text, false)) << text;
    }
}

TEST(IniFloat, WritesShortestFormWithUpTo15DigitsAndTheGivenSeparatorAndNonFiniteAsZero) {
    EXPECT_EQ(FormatIniFloat(0.0, '.'), "0");
    EXPECT_EQ(FormatIniFloat(-0.0, '.'), "0");
    EXPECT_EQ(FormatIniFloat(12.5, '.'), "12.5");
    EXPECT_EQ(FormatIniFloat(12.5, ','), "12,5");
    EXPECT_EQ(FormatIniFloat(-1.5, ','), "-1,5");
    EXPECT_EQ(FormatIniFloat(0.1 + 0.2, '.'), "0.3");
    EXPECT_EQ(FormatIniFloat(1.0 / 3, '.'), "0.333333333333333");
    EXPECT_EQ(FormatIniFloat(123456789012345678.0, ','), "1,23456789012346e+17");
    EXPECT_EQ(FormatIniFloat(1e20, '.'), "1e+20");
    EXPECT_EQ(FormatIniFloat(1e-5, '.'), "1e-05");
    EXPECT_EQ(FormatIniFloat(1e-300, '.'), "1e-300");
    EXPECT_EQ(FormatIniFloat(std::numeric_limits<double>::quiet_NaN(), '.'), "0");
    EXPECT_EQ(FormatIniFloat(std::numeric_limits<double>::infinity(), '.'), "0");
    EXPECT_EQ(FormatIniFloat(-std::numeric_limits<double>::infinity(), '.'), "0");
}

TEST(IniFloat, TheLargestDoublesAreWrittenSoTheyStillReadBack) {
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(FormatIniFloat(largest, '.'), "1.79769313486231e+308");
    EXPECT_EQ(FormatIniFloat(-largest, '.'), "-1.79769313486231e+308");
    EXPECT_TRUE(ParseIniFloat(FormatIniFloat(largest, ','), ','));
}

TEST(IniFloat, ReadsOnlyWithTheGivenSeparator) {
    EXPECT_EQ(ParseIniFloat("12,5", ','), 12.5);
    EXPECT_EQ(ParseIniFloat("12.5", '.'), 12.5);
    EXPECT_EQ(ParseIniFloat("12.5", ','), std::nullopt);
    EXPECT_EQ(ParseIniFloat("12,5", '.'), std::nullopt);
    EXPECT_EQ(ParseIniFloat(" -0.5\t", '.'), -0.5);
    EXPECT_EQ(ParseIniFloat("+2", '.'), 2.0);
    EXPECT_EQ(ParseIniFloat(".5", '.'), 0.5);
    EXPECT_EQ(ParseIniFloat("5.", '.'), 5.0);
    EXPECT_EQ(ParseIniFloat("2,5E-3", ','), 0.0025);
    EXPECT_EQ(ParseIniFloat("1e+3", '.'), 1000.0);
}

TEST(IniFloat, LettersJunkAndOverflowGiveTheDefault) {
    EXPECT_EQ(ParseIniFloat("abc", '.').value_or(0.0), 0.0);
    for (const char* text : {"", " ", ".", "-", "1e", "1e+", "1.5.2", "1 5", "nan", "inf",
                             "-infinity", "0x10", "1e400", "-1e400", "12abc", "\x80\xff"})
        EXPECT_EQ(ParseIniFloat(text, '.'), std::nullopt) << text;
}

TEST(IniFloat, LongValuesReadCorrectlyRounded) {
    EXPECT_EQ(ParseIniFloat("0." + std::string(4996, '0') + "1", '.'), 0.0);  // underflows
    EXPECT_EQ(ParseIniFloat("0.1" + std::string(4996, '0') + "1", '.'), 0.1);
    EXPECT_EQ(ParseIniFloat("1" + std::string(4999, '0'), '.'), std::nullopt);
    EXPECT_EQ(ParseIniFloat(std::string(4999, '0') + "3", '.'), 3.0);
    EXPECT_EQ(ParseIniFloat("1e-99999999999999999999", '.'), 0.0);
}

TEST(IniFloat, WrittenValuesReadBackWithEitherSeparator) {
    for (char separator : {'.', ','}) {
        for (double v : {3600.125, 0.02, -1234567.89, 5e-324, 1.7976931348623e308, 86399.999})
            EXPECT_EQ(ParseIniFloat(FormatIniFloat(v, separator), separator), v) << v;
        const std::string once = FormatIniFloat(0.1 + 0.2, separator);
        EXPECT_EQ(FormatIniFloat(*ParseIniFloat(once, separator), separator), once);
    }
}

TEST(DecimalSeparator, TakesTheLocalesSingleCharacterWhenItCanStandBetweenDigits) {
    EXPECT_EQ(DecimalSeparatorFromLocale("."), '.');
    EXPECT_EQ(DecimalSeparatorFromLocale(","), ',');
    EXPECT_EQ(DecimalSeparatorFromLocale("/"), '/');
    for (const char* text : {"", ",,", "5", "-", "+", " ", "e", "E", "\n"})
        EXPECT_EQ(DecimalSeparatorFromLocale(text), '.') << text;
}

}  // namespace
}  // namespace kv
