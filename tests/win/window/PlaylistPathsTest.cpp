// A chosen file whose name the ANSI playlist file cannot hold: its short form, or nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "framework/Text.h"
#include "saver/window/PlaylistPaths.h"
#include "saver/window/SettingsFiles.h"

using namespace kv;

namespace {

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, buffer);
    return std::wstring(buffer, n);
}

TEST(PlaylistPaths, ANameOutsideTheCodePageIsStoredAsItsShortForm) {
    const std::wstring thai = TempFolder() + L"\x0E44\x0E1F\x0E25\x0E4C.avi";
    if (WideToAnsiExact(thai)) GTEST_SKIP() << "the system code page holds Thai letters";

    HANDLE file = CreateFileW(thai.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    auto stored = StorablePlaylistPath(thai);
    ASSERT_TRUE(stored);
    auto ansi = WideToAnsiExact(*stored);
    ASSERT_TRUE(ansi) << "the stored path survives the playlist file's code page";
    EXPECT_TRUE(FileExists(*ansi)) << "the playlist's ANSI path opens the chosen file";
    DeleteFileW(thai.c_str());
    EXPECT_FALSE(FileExists(*ansi));

    const std::wstring plain = TempFolder() + L"clip.mpg";
    EXPECT_EQ(StorablePlaylistPath(plain), plain) << "a path the code page holds is kept as it is";
}

}  // namespace
