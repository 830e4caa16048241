// Stand-in for the system's PASSWORD.CPL: the answer comes from password-answer.txt beside the
// DLL (1 = right password; missing = wrong), and every call is logged to password-calls.txt.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

namespace kv {
namespace {

using ScopedFilePointer = std::unique_ptr<FILE, int (*)(FILE*)>;

HINSTANCE g_module = nullptr;

std::wstring FileBesideModule(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
    std::wstring folder(path, length);
    size_t slash = folder.find_last_of(L"\\/");
    folder.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return folder + name;
}

bool AnswerIsYes() {
    ScopedFilePointer file(_wfopen(FileBesideModule(L"password-answer.txt").c_str(), L"rb"), fclose);
    if (!file) return false;
    int c;
    do c = fgetc(file.get()); while (c == ' ' || c == '\t' || c == '\r' || c == '\n');
    return c == '1';
}

void LogCall(HWND owner) {
    CURSORINFO cursor = {};
    cursor.cbSize = sizeof cursor;
    bool visible = GetCursorInfo(&cursor) && (cursor.flags & CURSOR_SHOWING);
    ScopedFilePointer file(_wfopen(FileBesideModule(L"password-calls.txt").c_str(), L"ab"), fclose);
    if (!file) return;
    fprintf(file.get(), "hwnd=%lld cursor_visible=%d foreground=%lld\r\n",
            static_cast<long long>(reinterpret_cast<INT_PTR>(owner)), visible ? 1 : 0,
            static_cast<long long>(reinterpret_cast<INT_PTR>(GetForegroundWindow())));
}

}  // namespace
}  // namespace kv

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) kv::g_module = instance;
    return TRUE;
}

extern "C" BOOL WINAPI VerifyScreenSavePwd(HWND owner) {
    kv::LogCall(owner);
    return kv::AnswerIsYes() ? TRUE : FALSE;
}
