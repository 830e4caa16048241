// Suites carry a host_ prefix so that `ctest -R host` picks the module's tests.
#include "saver/host/RunMode.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(host_ModeLetter, TheSwitchCharacterIsDroppedAndTheNextOneUpperCased) {
    EXPECT_EQ(RunModeLetter("/s"), "S");
    EXPECT_EQ(RunModeLetter("-S"), "S");
    EXPECT_EQ(RunModeLetter("/S:1234"), "S");
    EXPECT_EQ(RunModeLetter("/c:1234"), "C");
    EXPECT_EQ(RunModeLetter("/p"), "P");
    EXPECT_EQ(RunModeLetter("/a"), "A");
    EXPECT_EQ(RunModeLetter("-INSTALL"), "I");
}

TEST(host_ModeLetter, AnyFirstCharacterCountsAsTheSwitchCharacter) {
    EXPECT_EQ(RunModeLetter("xs"), "S");
    EXPECT_EQ(RunModeLetter("\xE0p"), "P");
    EXPECT_EQ(RunModeLetter("//"), "/");
}

TEST(host_ModeLetter, ABareLetterOrNoArgumentGivesNoLetter) {
    EXPECT_EQ(RunModeLetter("s"), "");
    EXPECT_EQ(RunModeLetter("/"), "");
    EXPECT_EQ(RunModeLetter(""), "");
}

TEST(host_ModeLetter, OnlyAsciiLettersAreUpperCased) {
    EXPECT_EQ(RunModeLetter("/\xE9"), "\xE9");
    EXPECT_EQ(RunModeLetter("/1"), "1");
}

TEST(host_WindowHandleArgument, DecimalHandlesAreRead) {
    EXPECT_EQ(ParseWindowHandleArgument("1234"), 1234);
    EXPECT_EQ(ParseWindowHandleArgument("0"), 0);
    EXPECT_EQ(ParseWindowHandleArgument("+42"), 42);
    EXPECT_EQ(ParseWindowHandleArgument("-2"), -2);
    EXPECT_EQ(ParseWindowHandleArgument("   77"), 77);
    EXPECT_EQ(ParseWindowHandleArgument("0012"), 12);
}

TEST(host_WindowHandleArgument, HexSpellingsAreReadAsDelphiDoes) {
    EXPECT_EQ(ParseWindowHandleArgument("$1F"), 31);
    EXPECT_EQ(ParseWindowHandleArgument("0x1f"), 31);
    EXPECT_EQ(ParseWindowHandleArgument("0X1F"), 31);
    EXPECT_EQ(ParseWindowHandleArgument("x10"), 16);
    EXPECT_EQ(ParseWindowHandleArgument("-$10"), -16);
}

TEST(host_WindowHandleArgument, MissingOrMalformedTextGivesNoHandle) {
    for (const char* text : {"", " ", "+", "-", "$", "0x", "12a", "1 2", "12 ", "1.5", "abc", "0x1g", "--1"})
        EXPECT_EQ(ParseWindowHandleArgument(text), std::nullopt) << '"' << text << '"';
}

TEST(host_WindowHandleArgument, MinusOneInAnySpellingGivesNoHandle) {
    EXPECT_EQ(ParseWindowHandleArgument("-1"), std::nullopt);
    EXPECT_EQ(ParseWindowHandleArgument("-$1"), std::nullopt);
    EXPECT_EQ(ParseWindowHandleArgument("4294967295", 32), std::nullopt);
    EXPECT_EQ(ParseWindowHandleArgument("$FFFFFFFF", 32), std::nullopt);
    EXPECT_EQ(ParseWindowHandleArgument("18446744073709551615", 64), std::nullopt);
}

TEST(host_WindowHandleArgument, ThirtyTwoBitHandlesNeverWrapIntoAnotherWindow) {
    EXPECT_EQ(ParseWindowHandleArgument("2147483647", 32), 2147483647);
    EXPECT_EQ(ParseWindowHandleArgument("-2147483648", 32), -2147483647 - 1);
    // The unsigned spelling names the same handle as the negative one.
    EXPECT_EQ(ParseWindowHandleArgument("4294967294", 32), -2);
    EXPECT_EQ(ParseWindowHandleArgument("2147483648", 32), -2147483647 - 1);
    // Beyond 32 bits the low half would be some other window: refused.
    EXPECT_EQ(ParseWindowHandleArgument("4294967296", 32), std::nullopt);
    EXPECT_EQ(ParseWindowHandleArgument("4294968530", 32), std::nullopt);
    EXPECT_EQ(ParseWindowHandleArgument("-2147483649", 32), std::nullopt);
}

TEST(host_WindowHandleArgument, SixtyFourBitHandlesUseTheFullWidth) {
    EXPECT_EQ(ParseWindowHandleArgument("4294968530", 64), 4294968530);
    EXPECT_EQ(ParseWindowHandleArgument("9223372036854775807", 64), INT64_MAX);
    EXPECT_EQ(ParseWindowHandleArgument("-9223372036854775808", 64), INT64_MIN);
    EXPECT_EQ(ParseWindowHandleArgument("18446744073709551614", 64), -2);
    EXPECT_EQ(ParseWindowHandleArgument("18446744073709551616", 64), std::nullopt);
    EXPECT_EQ(ParseWindowHandleArgument("-9223372036854775809", 64), std::nullopt);
    EXPECT_EQ(ParseWindowHandleArgument("99999999999999999999999", 64), std::nullopt);
}

TEST(host_WindowHandleArgument, TheDefaultWidthIsThatOfThisBuild) {
    EXPECT_EQ(ParseWindowHandleArgument("4294967296"),
              ParseWindowHandleArgument("4294967296", static_cast<int>(sizeof(void*) * 8)));
}

TEST(host_InstallSwitch, TheFourSwitchesMatchInAnyCase) {
    for (const char* text : {"/INSTALL", "-INSTALL", "-I", "/I", "-install", "/Install", "-i", "/i"})
        EXPECT_TRUE(IsInstallSwitch(text)) << text;
}

TEST(host_InstallSwitch, OnlyExactWordsMatch) {
    for (const char* text : {"/INSTALLER", "-Inst", "INSTALL", "I", "", "/I ", " -I", "/s", "--install"})
        EXPECT_FALSE(IsInstallSwitch(text)) << '"' << text << '"';
}

}  // namespace
}  // namespace kv
