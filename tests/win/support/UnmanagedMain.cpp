// The main of the in-process Windows tests. With no window manager, Wine waits two seconds for
// every managed window it hides or destroys. Wine reads whether a program's windows are managed
// before main runs, so the first run sets the program's switch, runs the tests again as a
// child, and takes the switch away.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "framework/Scoped.h"

namespace {

std::wstring ProgramKey() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* name = wcsrchr(path, L'\\');
    return std::wstring(L"Software\\Wine\\AppDefaults\\") + (name ? name + 1 : path);
}

std::wstring DriverKey() { return ProgramKey() + L"\\X11 Driver"; }

bool WindowsUnmanaged() {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, DriverKey().c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
    kv::ScopedKey key(opened);
    wchar_t value[8] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    return RegQueryValueExW(key.Get(), L"Managed", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
               ERROR_SUCCESS &&
           (value[0] == L'N' || value[0] == L'n');
}

int RunAgainUnmanaged() {
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, DriverKey().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr) !=
        ERROR_SUCCESS)
        return -1;
    {
        kv::ScopedKey key(created);
        RegSetValueExW(key.Get(), L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"), 2 * sizeof(wchar_t));
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    DWORD exitCode = 1;
    if (CreateProcessW(nullptr, GetCommandLineW(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        kv::ScopedHandle process(info.hProcess), thread(info.hThread);
        WaitForSingleObject(process.Get(), INFINITE);
        GetExitCodeProcess(process.Get(), &exitCode);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, ProgramKey().c_str());
    return static_cast<int>(exitCode);
}

}  // namespace

int main(int argc, char** argv) {
    if (!WindowsUnmanaged()) return RunAgainUnmanaged();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
