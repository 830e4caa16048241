// Stand-in for the Display control panel's "Display Properties" window with its preview
// window. Starts a saver with the handles substituted into its arguments, keeps pumping
// messages while it runs (cross-process EnableWindow, SetParent and ShowWindow are sent
// messages), samples what the saver did and writes a key=value report.
//
//   displayprops.exe --report FILE [--run-ms N] [--until WHAT] [--exit-ms N] [--close]
//                    [--destroy-preview] [--no-activate] -- SAVER ARGS...
// ({preview} and {self} in ARGS become handles). The sample is taken after --run-ms, or as soon
// as the saver has shown a "window" of its own or filled the preview with its "child" (WHAT).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/Scoped.h"
#include "tests/standins/displayprops/SaverWatch.h"

namespace kv {
namespace {

constexpr wchar_t kTitle[] = L"Display Properties";
constexpr int kPreviewX = 40;
constexpr int kPreviewY = 50;
constexpr int kPreviewWidth = 152;
constexpr int kPreviewHeight = 112;

struct Options {
    std::wstring report;
    DWORD runMs = 3000;
    DWORD exitMs = 5000;
    SaverWatch::Until until = SaverWatch::Until::Time;
    bool close = false;
    bool destroyPreview = false;
    bool noActivate = false;
    std::vector<std::wstring> saver;
};

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
    int i = 1;
    for (; i < argc; ++i) {
        std::wstring arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == L"--") { ++i; break; }
        if (arg == L"--report" && hasValue) options.report = argv[++i];
        else if (arg == L"--run-ms" && hasValue) options.runMs = wcstoul(argv[++i], nullptr, 10);
        else if (arg == L"--exit-ms" && hasValue) options.exitMs = wcstoul(argv[++i], nullptr, 10);
        else if (arg == L"--until" && hasValue) {
            if (!SaverWatch::ParseUntil(argv[++i], options.until)) return false;
        }
        else if (arg == L"--close") options.close = true;
        else if (arg == L"--destroy-preview") options.destroyPreview = true;
        else if (arg == L"--no-activate") options.noActivate = true;
        else return false;
    }
    for (; i < argc; ++i) options.saver.push_back(argv[i]);
    return !options.report.empty() && !options.saver.empty();
}

std::wstring Replace(std::wstring text, const std::wstring& token, const std::wstring& value) {
    for (size_t at = text.find(token); at != std::wstring::npos; at = text.find(token, at + value.size()))
        text.replace(at, token.size(), value);
    return text;
}

std::wstring Quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    for (wchar_t c : arg) {
        if (c == L'"') out += L'\\';
        out += c;
    }
    return out + L"\"";
}

std::wstring CommandLine(const Options& options, HWND self, HWND preview) {
    std::wstring line;
    for (const std::wstring& arg : options.saver) {
        std::wstring text = Replace(arg, L"{preview}", std::to_wstring(HandleNumber(preview)));
        text = Replace(text, L"{self}", std::to_wstring(HandleNumber(self)));
        line += (line.empty() ? L"" : L" ") + Quoted(text);
    }
    return line;
}

LRESULT CALLBACK PropertiesProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* watch = reinterpret_cast<SaverWatch*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_ENABLE:
        if (watch && !wParam) watch->NoteDisabled();
        break;
    case WM_ACTIVATE:
        if (watch && LOWORD(wParam) != WA_INACTIVE) watch->NoteActivated();
        break;
    case WM_CLOSE:
        return 0;  // only the end of the run closes it
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterClasses(HINSTANCE instance) {
    WNDCLASSW properties = {};
    properties.lpfnWndProc = PropertiesProc;
    properties.hInstance = instance;
    properties.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512))  /* IDC_ARROW */;
    properties.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    properties.lpszClassName = L"KinovelaDisplayProperties";
    WNDCLASSW preview = {};
    preview.lpfnWndProc = DefWindowProcW;
    preview.hInstance = instance;
    preview.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
    preview.lpszClassName = L"KinovelaPreview";
    return RegisterClassW(&properties) && RegisterClassW(&preview);
}

int Run(const Options& options) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterClasses(instance)) return 3;
    SaverWatch watch;
    RECT frame = {0, 0, 400, 300};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    HWND self = CreateWindowExW(0, L"KinovelaDisplayProperties", kTitle, WS_OVERLAPPEDWINDOW, 120, 80,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                &watch);
    HWND preview = self ? CreateWindowExW(WS_EX_NOPARENTNOTIFY, L"KinovelaPreview", L"", WS_CHILD | WS_VISIBLE,
                                          kPreviewX, kPreviewY, kPreviewWidth, kPreviewHeight, self, nullptr,
                                          instance, nullptr)
                         : nullptr;
    if (!preview) return 3;
    ShowWindow(self, options.noActivate ? SW_SHOWNOACTIVATE : SW_SHOW);
    UpdateWindow(self);
    PumpFor(300);

    watch.Begin(self, preview);
    ScopedHandle process, thread;
    std::wstring commandLine = CommandLine(options, self, preview);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        watch.NoteStartFailed(GetLastError());
    } else {
        process.Reset(info.hProcess);
        thread.Reset(info.hThread);
        watch.Started(process.Get(), info.dwProcessId);
        watch.WaitPumping(options.runMs, options.until);
        watch.TakeSample();
        if (options.close) watch.PostClose();
        if (options.destroyPreview) watch.DestroyPreview();
        watch.WaitPumping(options.exitMs);
        watch.Finish();
    }
    PumpFor(200);
    watch.NoteAfterExit();
    return watch.WriteReport(options.report, commandLine) ? 0 : 4;
}

}  // namespace
}  // namespace kv

int main() {
    int argc = 0;
    std::unique_ptr<wchar_t*, HLOCAL(WINAPI*)(HLOCAL)> argv(CommandLineToArgvW(GetCommandLineW(), &argc), LocalFree);
    kv::Options options;
    if (!argv || !kv::ParseOptions(argc, argv.get(), options)) {
        fputs("usage: displayprops.exe --report FILE [--run-ms N] [--until window|child] [--exit-ms N]"
              " [--close] [--destroy-preview] [--no-activate] -- SAVER ARGS...\n",
              stderr);
        return 2;
    }
    return kv::Run(options);
}
