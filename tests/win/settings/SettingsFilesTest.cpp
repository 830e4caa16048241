// The settings and playlist files on a real (Wine) file system. Every test works on files of
// its own in the system directory and removes them again; g_screen.* are never touched.
#include "saver/window/SettingsFiles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "framework/Exception.h"
#include "framework/FileExists.h"
#include "framework/Scoped.h"
#include "framework/SystemDirectory.h"

namespace kv {
namespace {

std::string ReadBytes(const std::string& path) {
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file) return "<missing>";
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
}

class SettingsFiles : public ::testing::Test {
protected:
    void TearDown() override {
        IniFile(ini).Flush();
        for (const std::string& path : {ini, playlist, PlaylistStagingPath(playlist)}) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
            RemoveDirectoryA(path.c_str());
        }
    }

    const std::string folder = GetSettingsFolder();
    const std::string ini = folder + "kv_test_settings.ini";
    const std::string playlist = folder + "kv_test_playlist.files";
};

TEST_F(SettingsFiles, LiveInTheSystemDirectoryWithATrailingBackslash) {
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, folder.c_str(), -1,
                             "C:\\windows\\system32\\", -1), CSTR_EQUAL) << folder;
    EXPECT_EQ(SettingsIniPath(), folder + "g_screen.ini");
    EXPECT_EQ(PlaylistFilePath(), folder + "g_screen.files");
}

TEST_F(SettingsFiles, OnlyFilesExistNotDirectories) {
    EXPECT_FALSE(FileExists(playlist));
    WriteBytes(playlist, "x");
    EXPECT_TRUE(FileExists(playlist));
    EXPECT_FALSE(FileExists(folder.substr(0, folder.size() - 1)));
    EXPECT_FALSE(FileExists(folder));
}

TEST_F(SettingsFiles, IniValuesRoundTripWithKeysMatchedRegardlessOfCase) {
    IniFile file(ini, '.');
    EXPECT_FALSE(file.Exists());
    file.WriteBool("SOUND", "MUTEWAVE", true);
    file.WriteInteger("MEDIA", "FILEPOSITION", -2);
    file.WriteFloat("MEDIA", "CURRENTPOSITION", 12.25);
    file.WriteString("MEDIA", "FILENAME", "C:\\Movies\\a b.avi");
    file.WriteInteger("Option", "Language", 7);
    file.WriteFloat("MEDIA", "SMALL", 1e-5);
    file.Flush();
    EXPECT_TRUE(file.Exists());

    IniFile again(ini, '.');
    EXPECT_TRUE(again.ReadBool("sound", "MuteWave", false));
    EXPECT_EQ(again.ReadInteger("media", "fileposition", 0), -2);
    EXPECT_EQ(again.ReadFloat("Media", "CurrentPosition", 0), 12.25);
    EXPECT_EQ(again.ReadString("MEDIA", "filename"), "C:\\Movies\\a b.avi");
    EXPECT_EQ(again.ReadInteger("OPTION", "LANGUAGE", 1), 7);
    EXPECT_EQ(again.ReadString("MEDIA", "CURRENTPOSITION"), "12.25");
    EXPECT_EQ(again.ReadString("SOUND", "MUTEWAVE"), "1");
    EXPECT_EQ(again.ReadString("MEDIA", "SMALL"), "1e-05");
}

TEST_F(SettingsFiles, MissingOrUnreadableValuesReadAsTheirDefaults) {
    IniFile file(ini, '.');
    EXPECT_EQ(file.ReadInteger("Option", "Language", 1), 1);
    EXPECT_FALSE(file.ReadBool("MEDIA", "CONTINUE", false));
    EXPECT_EQ(file.ReadString("MEDIA", "FILENAME"), "");
    WriteBytes(ini, "[MEDIA]\r\nCURRENTPOSITION=abc\r\nFILEPOSITION= $1F \r\nCONTINUE=\r\n");
    EXPECT_EQ(file.ReadFloat("MEDIA", "CURRENTPOSITION", 0), 0);
    EXPECT_EQ(file.ReadInteger("MEDIA", "FILEPOSITION", 0), 31);
    EXPECT_TRUE(file.ReadBool("MEDIA", "CONTINUE", true));
}

TEST_F(SettingsFiles, ValuesComeBackCutTo2047Characters) {
    IniFile file(ini);
    std::string value;
    for (int i = 0; i < 5000; ++i) value += char('a' + i % 26);
    file.WriteString("MEDIA", "FILENAME", value);
    file.Flush();
    EXPECT_EQ(file.ReadString("MEDIA", "FILENAME"), value.substr(0, 2047));
}

TEST_F(SettingsFiles, FailedWritesRaiseAnErrorNamingTheFile) {
    IniFile file(folder + "kv-no-such-folder\\x.ini");
    try {
        file.WriteInteger("MEDIA", "FILEPOSITION", 1);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find("kv-no-such-folder"), std::string::npos) << e.Message();
    }
    IniFile good(ini);
    EXPECT_THROW(good.WriteString("MEDIA", "FILENAME", "a\r\nFILEPOSITION=5"), Exception);
    EXPECT_EQ(good.ReadString("MEDIA", "FILEPOSITION"), "");
}

TEST_F(SettingsFiles, FloatsUseTheUsersDecimalSeparator) {
    struct Restore {
        char saved[8] = {};
        ~Restore() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved); }
    };
    {
        Restore restore;
        ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, restore.saved,
                                 sizeof restore.saved), 0);
        if (!SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, ","))
            GTEST_SKIP() << "the user's decimal separator cannot be changed here";
        EXPECT_EQ(LocaleDecimalSeparator(), ',');
        IniFile file(ini);
        file.WriteFloat("MEDIA", "CURRENTPOSITION", 2.5);
        file.Flush();
    }
    EXPECT_EQ(LocaleDecimalSeparator(), '.');
    EXPECT_EQ(IniFile(ini).ReadString("MEDIA", "CURRENTPOSITION"), "2,5");
    EXPECT_EQ(IniFile(ini, ',').ReadFloat("MEDIA", "CURRENTPOSITION", 0), 2.5);
    EXPECT_EQ(IniFile(ini, '.').ReadFloat("MEDIA", "CURRENTPOSITION", -1), -1);
}

TEST_F(SettingsFiles, PlaylistRoundTripsWithCrLfOnDisk) {
    WritePlaylistFile(playlist, {L"C:\\Movies\\a.avi", L"", L"D:clip.mpg", L"C:\\Movies\\a.avi"});
    EXPECT_EQ(ReadBytes(playlist), "C:\\Movies\\a.avi\r\n\r\nD:clip.mpg\r\nC:\\Movies\\a.avi\r\n");
    EXPECT_EQ(ReadPlaylistFile(playlist),
              (std::vector<std::wstring>{L"C:\\Movies\\a.avi", L"", L"D:clip.mpg", L"C:\\Movies\\a.avi"}));
    EXPECT_FALSE(FileExists(PlaylistStagingPath(playlist)));
}

TEST_F(SettingsFiles, AnEmptyPlaylistReplacesTheFileWithZeroBytes) {
    WriteBytes(playlist, "C:\\old.avi\r\n");
    WritePlaylistFile(playlist, {});
    EXPECT_EQ(ReadBytes(playlist), "");
    EXPECT_EQ(ReadPlaylistFile(playlist), std::vector<std::wstring>{});
}

TEST_F(SettingsFiles, PlaylistReadingCopesWithLfLargeFilesAndLongLines) {
    EXPECT_EQ(ReadPlaylistFile(playlist), std::nullopt);
    EXPECT_EQ(ReadPlaylistFile(folder), std::nullopt);

    const std::string longLine(100'000, 'x');
    std::string text = "a\n\n" + longLine + "\n";
    while (text.size() < 10'000'000) text += "C:\\Videos\\clip.mpg\n";
    WriteBytes(playlist, text + "tail");
    const auto entries = ReadPlaylistFile(playlist);
    ASSERT_TRUE(entries);
    EXPECT_EQ((*entries)[0], L"a");
    EXPECT_EQ((*entries)[1], L"");
    EXPECT_EQ((*entries)[2], std::wstring(longLine.begin(), longLine.end()));
    EXPECT_EQ(entries->back(), L"tail");

    WriteBytes(playlist, std::string(kMaxPlaylistFileBytes + 1, '\n'));
    EXPECT_THROW(ReadPlaylistFile(playlist), Exception);
}

TEST_F(SettingsFiles, APlaylistWithAUtf8MarkReadsAsUtf8AndOneWithoutInTheCodePage) {
    // U+0E01 THAI CHARACTER KO KAI: three bytes in UTF-8.
    WriteBytes(playlist, "\xEF\xBB\xBF\"C:\\\xE0\xB8\x81.avi\"\r\nD:\\b.mpg\r\n");
    EXPECT_EQ(ReadPlaylistFile(playlist), (std::vector<std::wstring>{L"C:\\\x0E01.avi", L"D:\\b.mpg"}));
    WriteBytes(playlist, "C:\\a.avi\r\n");
    EXPECT_EQ(ReadPlaylistFile(playlist), (std::vector<std::wstring>{L"C:\\a.avi"}));
}

TEST_F(SettingsFiles, AFailedPlaylistWriteLeavesTheOldFileWhole) {
    const std::string old = "C:\\keep\\one.avi\r\nC:\\keep\\two.avi\r\n";
    WriteBytes(playlist, old);

    // The staging file cannot be created.
    ASSERT_TRUE(CreateDirectoryA(PlaylistStagingPath(playlist).c_str(), nullptr));
    EXPECT_THROW(WritePlaylistFile(playlist, {L"C:\\new.avi"}), Exception);
    EXPECT_EQ(ReadBytes(playlist), old);
    ASSERT_TRUE(RemoveDirectoryA(PlaylistStagingPath(playlist).c_str()));

    // The staging file is complete but cannot take the place of the old one, held open.
    {
        ScopedFile holder(CreateFileA(playlist.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_THROW(WritePlaylistFile(playlist, {L"C:\\new.avi"}), Exception);
    }
    EXPECT_EQ(ReadBytes(playlist), old);
    EXPECT_FALSE(FileExists(PlaylistStagingPath(playlist)));
}

}  // namespace
}  // namespace kv
