#include "saver/window/PlaylistText.h"

#include <gtest/gtest.h>

using namespace std::string_literals;
using namespace std::string_view_literals;

namespace kv {
namespace {

using Entries = std::vector<std::string>;

TEST(PlaylistParse, CrLfLfAndCrEndLinesAlike) {
    const Entries expected = {"C:\\a.avi", "D:\\b.mpg"};
    EXPECT_EQ(ParsePlaylistText("C:\\a.avi\r\nD:\\b.mpg\r\n"), expected);
    EXPECT_EQ(ParsePlaylistText("C:\\a.avi\nD:\\b.mpg\n"), expected);
    EXPECT_EQ(ParsePlaylistText("C:\\a.avi\rD:\\b.mpg"), expected);
    EXPECT_EQ(ParsePlaylistText("C:\\a.avi\nD:\\b.mpg\r\n"), expected);
}

TEST(PlaylistParse, OnePairEndsOneLineAndEveryOtherEndMakesAnEntry) {
    EXPECT_EQ(ParsePlaylistText("a\r\n"), Entries{"a"});
    EXPECT_EQ(ParsePlaylistText("a\r\n\r\n"), (Entries{"a", ""}));
    EXPECT_EQ(ParsePlaylistText("a\n\nb"), (Entries{"a", "", "b"}));
    EXPECT_EQ(ParsePlaylistText("a\r\rb"), (Entries{"a", "", "b"}));
    EXPECT_EQ(ParsePlaylistText("a\n\rb"), (Entries{"a", "", "b"}));
    EXPECT_EQ(ParsePlaylistText("\n"), Entries{""});
    EXPECT_EQ(ParsePlaylistText("\r\n\r\n"), (Entries{"", ""}));
    EXPECT_EQ(ParsePlaylistText(""), Entries{});
}

TEST(PlaylistParse, NulEndsTheList) {
    EXPECT_EQ(ParsePlaylistText("a\nb\0c\n"s), (Entries{"a", "b"}));
    EXPECT_EQ(ParsePlaylistText("a\n\0b\n"s), Entries{"a"});
    EXPECT_EQ(ParsePlaylistText("\0a\n"s), Entries{});
}

TEST(PlaylistParse, OtherBytesStayAsTheyAre) {
    std::string junk;
    for (int c = 1; c < 256; ++c)
        if (c != '\r' && c != '\n') junk += char(c);
    EXPECT_EQ(ParsePlaylistText(junk + "\r\n\xA1\xB2.avi"), (Entries{junk, "\xA1\xB2.avi"}));
}

TEST(PlaylistParse, CopesWithTenMegabytesAndVeryLongLines) {
    const std::string line = "C:\\Documents and Settings\\Owner\\My Videos\\clip-000.mpg";
    std::string text;
    while (text.size() < 10'000'000) text += line + "\r\n";
    const Entries entries = ParsePlaylistText(text);
    ASSERT_EQ(entries.size(), text.size() / (line.size() + 2));
    EXPECT_EQ(entries.back(), line);

    const std::string longLine(100'000, 'x');
    EXPECT_EQ(ParsePlaylistText("a\n" + longLine + "\nb"), (Entries{"a", longLine, "b"}));
}

TEST(PlaylistParse, QuotesAroundALineGoAndAUtf8MarkOnlyTellsTheEncoding) {
    EXPECT_EQ(ParsePlaylistText("\"C:\\My Videos\\a.avi\"\r\nb\"c\"\r\n\"\"\r\n\"\r\n\"d\r\n"),
              (Entries{"C:\\My Videos\\a.avi", "b\"c\"", "", "\"", "\"d"}));

    std::string_view marked = "\xEF\xBB\xBF\xE0\xB8\x81.avi\r\n";
    EXPECT_TRUE(StripUtf8Mark(marked));
    EXPECT_EQ(ParsePlaylistText(marked), Entries{"\xE0\xB8\x81.avi"});
    for (std::string_view plain : {"\xEF\xBB.avi"sv, "a\xEF\xBB\xBF"sv, ""sv}) {
        std::string_view kept = plain;
        EXPECT_FALSE(StripUtf8Mark(kept));
        EXPECT_EQ(kept, plain);
    }
}

TEST(PlaylistFormat, PutsCrLfAfterEveryEntry) {
    EXPECT_EQ(FormatPlaylistText({}), "");
    EXPECT_EQ(FormatPlaylistText({""}), "\r\n");
    EXPECT_EQ(FormatPlaylistText({"C:\\a.avi", "", "b"}), "C:\\a.avi\r\n\r\nb\r\n");
}

TEST(PlaylistFormat, WhatIsWrittenReadsBackAsTheSameEntries) {
    for (const Entries& entries : {Entries{}, Entries{""}, Entries{"", ""}, Entries{"a", ""},
                                   Entries{"C:\\x.avi", "C:\\x.avi", "", "\xE0\xB8\x81.dat"}})
        EXPECT_EQ(ParsePlaylistText(FormatPlaylistText(entries)), entries);
}

TEST(PlaylistFormat, EntriesWithLineBreaksOrNulAreCutSoTheCountSurvives) {
    const Entries written = {"a\r\nb", "c\nd", "e\rf", "g\0h"s, "i"};
    EXPECT_EQ(FormatPlaylistText(written), "a\r\nc\r\ne\r\ng\r\ni\r\n");
    EXPECT_EQ(ParsePlaylistText(FormatPlaylistText(written)), (Entries{"a", "c", "e", "g", "i"}));
}

TEST(PlaylistEncoding, TheCodePageWhileEveryEntryFitsItElseUtf8BehindAMark) {
    const PlaylistEntryForms latin{"C:\\caf\xE9.avi", "C:\\caf\xC3\xA9.avi"};
    const PlaylistEntryForms thai{std::nullopt, "C:\\\xE0\xB8\x81.avi"};
    const PlaylistEntryForms empty{"", ""};
    EXPECT_EQ(EncodePlaylistFile({}), "") << "an empty playlist is an empty file";
    EXPECT_EQ(EncodePlaylistFile({latin, empty}), "C:\\caf\xE9.avi\r\n\r\n");
    const std::string mixed = EncodePlaylistFile({latin, thai, empty});
    EXPECT_EQ(mixed, "\xEF\xBB\xBF" "C:\\caf\xC3\xA9.avi\r\nC:\\\xE0\xB8\x81.avi\r\n\r\n")
        << "one entry the code page cannot hold puts every entry in UTF-8, none as '?'";
    EXPECT_EQ(EncodePlaylistFile({{"\xEF\xBB\xBFx.avi", "\xC3\xAF\xC2\xBB\xC2\xBFx.avi"}}),
              "\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBFx.avi\r\n")
        << "a first name that begins like the mark would be taken for it";

    std::string_view read = mixed;
    ASSERT_TRUE(StripUtf8Mark(read));
    EXPECT_EQ(ParsePlaylistText(read), (Entries{latin.utf8, thai.utf8, ""})) << "the reader takes it back";
}

TEST(DisplayName, IsTheTextAfterTheLastBackslashOrColon) {
    EXPECT_EQ(DisplayName("C:\\Movies\\a.avi"s), "a.avi");
    EXPECT_EQ(DisplayName("D:clip.mpg"s), "clip.mpg");
    EXPECT_EQ(DisplayName("\\\\server\\share\\x.wmv"s), "x.wmv");
    EXPECT_EQ(DisplayName("C:\\a\\b:c"s), "c");
    EXPECT_EQ(DisplayName("plain.avi"s), "plain.avi");
    EXPECT_EQ(DisplayName("C:\\dir\\"s), "");
    EXPECT_EQ(DisplayName(""s), "");
    EXPECT_EQ(DisplayName(L"C:\\Movies\\\u0E01.avi"s), L"\u0E01.avi");
    EXPECT_EQ(DisplayName(L"E:x"s), L"x");
    EXPECT_EQ(DisplayName(L"none"s), L"none");
}

}  // namespace
}  // namespace kv
