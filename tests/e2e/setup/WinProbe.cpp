// Test helper: prints a top-level window's controls as a user reads them, one a line (UTF-8):
//   CLASS <TAB> enabled|disabled <TAB> TEXT        (a CR in a text is written as \r)
//   msctls_progress32 <TAB> ... <TAB> pos=N range=A..B color=BBGGRR
//
//   winprobe.exe [--class CLASS] TITLE
// Exit code 1 when no top-level window has that title (and class).
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c == L'\r') { out += "\\r"; continue; }
        if (c == L'\n') { out += "\\n"; continue; }
        char bytes[8];
        int n = WideCharToMultiByte(CP_UTF8, 0, &c, 1, bytes, sizeof bytes, nullptr, nullptr);
        out.append(bytes, size_t(n > 0 ? n : 0));
    }
    return out;
}

void Print(const std::string& line) {
    DWORD written = 0;
    std::string text = line + "\n";
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), DWORD(text.size()), &written, nullptr);
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[1024] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, LPARAM(buffer), SMTO_ABORTIFHUNG, 2000, &length);
    return std::wstring(buffer, size_t(length));
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
    wchar_t cls[64] = {};
    GetClassNameW(control, cls, 64);
    std::string line = Utf8(cls) + "\t" + (IsWindowEnabled(control) ? "enabled" : "disabled") + "\t";
    if (lstrcmpiW(cls, PROGRESS_CLASSW) == 0) {
        // Return values only: a pointer would not cross into the other process.
        line += "pos=" + std::to_string(SendMessageW(control, PBM_GETPOS, 0, 0)) + " range=" +
                std::to_string(SendMessageW(control, PBM_GETRANGE, TRUE, 0)) + ".." +
                std::to_string(SendMessageW(control, PBM_GETRANGE, FALSE, 0));
        char color[16];
        wsprintfA(color, " color=%06X", unsigned(SendMessageW(control, PBM_GETBARCOLOR, 0, 0)));
        line += color;
    } else {
        line += Utf8(TextOf(control));
    }
    Print(line);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const wchar_t* cls = nullptr;
    int i = 1;
    if (argc > 3 && lstrcmpW(argv[1], L"--class") == 0) cls = argv[2], i = 3;
    if (i >= argc) return 2;
    HWND window = FindWindowW(cls, argv[i]);
    if (!window) return 1;
    EnumChildWindows(window, PrintControl, 0);
    return 0;
}
