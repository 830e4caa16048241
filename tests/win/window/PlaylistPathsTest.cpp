// A chosen file whose name the code page cannot hold: the playlist keeps it as it is, the
// settings file names it by its short form.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "framework/FileExists.h"
#include "framework/Text.h"
#include "saver/window/PlaylistPaths.h"

using namespace kv;

namespace {

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, buffer);
    return std::wstring(buffer, n);
}

TEST(PlaylistPaths, ANameOutsideTheCodePageIsKeptForThePlaylistAndShortForTheSettingsFile) {
    const std::wstring thai = TempFolder() + L"\x0E44\x0E1F\x0E25\x0E4C.avi";
    if (WideToAnsiExact(thai)) GTEST_SKIP() << "the system code page holds Thai letters";

    HANDLE file = CreateFileW(thai.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(StorablePlaylistPath(thai), thai);
    std::optional<std::string> ansi = AnsiPathOf(thai);
    ASSERT_TRUE(ansi);
    EXPECT_TRUE(FileExists(*ansi)) << "the short form opens the chosen file: " << *ansi;
    DeleteFileW(thai.c_str());
    EXPECT_FALSE(FileExists(*ansi));
    EXPECT_EQ(AnsiPathOf(thai), std::nullopt) << "no file, no short form: nothing rather than a '?'";

    const std::wstring plain = TempFolder() + L"clip.mpg";
    EXPECT_EQ(AnsiPathOf(plain), WideToAnsi(plain)) << "a path the code page holds is kept as it is";
}

}  // namespace
