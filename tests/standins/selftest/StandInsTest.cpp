// Enough of each stand-in to trust it in the end-to-end tests.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "framework/Scoped.h"
#include "tests/win/support/WinTestKit.h"

namespace kv {
namespace {

using Report = std::map<std::string, std::string>;
using VerifyFunction = BOOL(WINAPI*)(HWND);

std::wstring StandInsFolder() { return test::WinePath(KINOVELA_STANDINS_DIR L"/"); }

std::string ReadFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::wstring& path, const std::string& text) {
    std::ofstream(std::filesystem::path(path), std::ios::binary) << text;
}

// Runs a command line to its end; false when it did not end within the time.
bool RunToEnd(std::wstring commandLine, DWORD timeoutMs, DWORD* exitCode = nullptr) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    ScopedHandle process(info.hProcess), thread(info.hThread);
    if (WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.Get(), 1);
        return false;
    }
    if (exitCode) GetExitCodeProcess(process.Get(), exitCode);
    return true;
}

Report ParseReport(const std::string& text) {
    Report report;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t equals = line.find('=');
        if (equals != std::string::npos) report[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return report;
}

class PasswordStandIn : public ::testing::Test {
protected:
    void TearDown() override {
        DeleteFileW(answer_.c_str());
        DeleteFileW(calls_.c_str());
    }
    std::wstring answer_ = StandInsFolder() + L"password-answer.txt";
    std::wstring calls_ = StandInsFolder() + L"password-calls.txt";
};

TEST_F(PasswordStandIn, TheAnswerFileDecidesAndEveryCallIsLogged) {
    DeleteFileW(answer_.c_str());
    DeleteFileW(calls_.c_str());
    ScopedLibrary library(LoadLibraryW((StandInsFolder() + L"PASSWORD.CPL").c_str()));
    ASSERT_TRUE(library);
    auto verify = reinterpret_cast<VerifyFunction>(
        reinterpret_cast<void*>(GetProcAddress(library.Get(), "VerifyScreenSavePwd")));
    ASSERT_NE(verify, nullptr) << "the export must be named plainly";
    HWND owner = GetDesktopWindow();

    EXPECT_FALSE(verify(owner)) << "no answer file means a wrong password";
    WriteFile(answer_, "1\r\n");
    EXPECT_TRUE(verify(owner));
    WriteFile(answer_, "0");
    EXPECT_FALSE(verify(nullptr));

    std::string expectedOwner = "hwnd=" + std::to_string(reinterpret_cast<INT_PTR>(owner)) + " cursor_visible=";
    std::istringstream calls(ReadFile(calls_));
    std::string line;
    int count = 0;
    while (std::getline(calls, line)) {
        EXPECT_EQ(line.rfind(count < 2 ? expectedOwner : "hwnd=0 cursor_visible=", 0), 0u) << line;
        ++count;
    }
    EXPECT_EQ(count, 3);
}

TEST_F(PasswordStandIn, TheNoEntryVariantLoadsWithoutTheEntry) {
    ScopedLibrary library(LoadLibraryW((StandInsFolder() + L"PASSWORD-noentry.cpl").c_str()));
    ASSERT_TRUE(library);
    EXPECT_EQ(GetProcAddress(library.Get(), "VerifyScreenSavePwd"), nullptr);
}

class DeskStandIn : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileW((StandInsFolder() + L"desk.cpl").c_str(), installed_.c_str(), FALSE));
        DeleteFileW(record_.c_str());
        ScopedKey key = OpenDesktop();
        DWORD type = 0, size = sizeof previous_;
        hadPrevious_ = key && RegQueryValueExW(key.Get(), kValue, nullptr, &type, reinterpret_cast<BYTE*>(previous_),
                                               &size) == ERROR_SUCCESS;
    }
    void TearDown() override {
        DeleteFileW(installed_.c_str());
        DeleteFileW(record_.c_str());
        ScopedKey key = OpenDesktop();
        if (hadPrevious_)
            RegSetValueExW(key.Get(), kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_),
                           static_cast<DWORD>((wcslen(previous_) + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(key.Get(), kValue);
    }
    static ScopedKey OpenDesktop() {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr);
        return ScopedKey(key);
    }
    static std::wstring CurrentSaver() {
        ScopedKey key = OpenDesktop();
        wchar_t value[MAX_PATH] = {};
        DWORD type = 0, size = sizeof value - sizeof(wchar_t);
        RegQueryValueExW(key.Get(), kValue, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
        return value;
    }

    static constexpr const wchar_t* kValue = L"SCRNSAVE.EXE";
    std::wstring installed_ = test::SystemFolder() + L"\\desk.cpl";
    std::wstring record_ = test::SystemFolder() + L"\\desk-installs.txt";
    wchar_t previous_[MAX_PATH] = {};
    bool hadPrevious_ = false;
};

TEST_F(DeskStandIn, RundllRecordsTheCommandLineAndSetsTheCurrentSaver) {
    ASSERT_TRUE(RunToEnd(L"rundll32.exe desk.cpl,InstallScreenSaver C:\\some dir\\x.scr", 20000));
    EXPECT_EQ(ReadFile(record_), "C:\\some dir\\x.scr\r\n");
    EXPECT_EQ(CurrentSaver(), L"C:\\some dir\\x.scr");
}

class DisplayPropsStandIn : public ::testing::Test {
protected:
    Report Run(const std::wstring& options, const std::wstring& saverArguments) {
        std::wstring report = StandInsFolder() + L"selftest-report.txt";
        DeleteFileW(report.c_str());
        std::wstring commandLine = L"\"" + StandInsFolder() + L"displayprops.exe\" --report \"" + report + L"\" " +
                                   options + L" -- \"" + StandInsFolder() + L"fakesaver.exe\" " + saverArguments;
        DWORD exitCode = 99;
        EXPECT_TRUE(RunToEnd(commandLine, 30000, &exitCode)) << "displayprops must never hang";
        EXPECT_EQ(exitCode, 0u);
        Report result = ParseReport(ReadFile(report));
        DeleteFileW(report.c_str());
        return result;
    }
};

TEST_F(DisplayPropsStandIn, ReportsTheChildEmbeddedInThePreview) {
    // Reparenting a shown top-level window costs Wine two seconds without a window manager.
    Report report = Run(L"--run-ms 10000 --until child --close", L"/p {preview}");
    EXPECT_EQ(report["saver_started"], "1");
    EXPECT_EQ(report["command_line"].find("/p " + report["preview"]) != std::string::npos, true) << report["command_line"];
    EXPECT_EQ(report["child"], "1");
    EXPECT_EQ(report["child_of_saver"], "1");
    EXPECT_EQ(report["child_x"], "0");
    EXPECT_EQ(report["child_y"], "0");
    EXPECT_EQ(report["child_width"], "152");
    EXPECT_EQ(report["child_height"], "112");
    EXPECT_EQ(report["child_visible"], "1");
    EXPECT_EQ(report["child_disabled"], "1");
    const unsigned long childVisibleDisabled = WS_CHILD | WS_VISIBLE | WS_DISABLED;
    EXPECT_EQ(std::stoul(report["child_style"], nullptr, 16) & childVisibleDisabled, childVisibleDisabled)
        << report["child_style"];
    EXPECT_EQ(report["child_exstyle"], report["preview_exstyle"]);
    EXPECT_EQ(report["close_posted"], "1");
    EXPECT_EQ(report["saver_killed"], "0");
    EXPECT_EQ(report["saver_exit_code"], "7");
    EXPECT_EQ(report["disabled_while_running"], "0");
}

TEST_F(DisplayPropsStandIn, SeesItselfDisabledWhileTheSaverRunsAndEnabledAfterwards) {
    Report report = Run(L"--run-ms 10000 --until window --close", L"/c:{self}");
    EXPECT_EQ(report["child"], "0");
    EXPECT_EQ(report["enabled_at_sample"], "0");
    EXPECT_EQ(report["disabled_while_running"], "1");
    EXPECT_EQ(report["enabled_after_exit"], "1");
    EXPECT_EQ(report["saver_exited"], "1");
    EXPECT_EQ(report["saver_killed"], "0");
}

TEST_F(DisplayPropsStandIn, KillsASaverThatWillNotCloseAndSaysSo) {
    Report report = Run(L"--run-ms 500 --exit-ms 1000 --close", L"/hang");
    EXPECT_GE(std::stoi(report["close_posted"]), 1);
    EXPECT_EQ(report["saver_killed"], "1");
    EXPECT_EQ(report["saver_exited"], "1");
    EXPECT_EQ(report["disabled_while_running"], "0");
}

}  // namespace
}  // namespace kv
