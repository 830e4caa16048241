// Reference player for the benchmark: the least a program needs to play one file full screen
// through DShowPlayer (same graph, same renderer choice) and end on a key. Test-only.
//   refplayer.exe [/destroy] FILE
//   refplayer.exe /mf FILE      a bare Media Foundation session instead: the file's source,
//                               its topology and the session (MFSession), its pictures drawn
//                               letterboxed with GDI as they come
// On a key it leaves the message loop and lets the process take its window along; with
// /destroy it destroys the shown window first, which is what an orderly close costs under X.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "framework/Exception.h"
#include "framework/Scoped.h"
#include "framework/Text.h"
#include "saver/player/DShowPlayer.h"
#include "saver/player/MFSession.h"
#include "saver/player/Letterbox.h"

namespace {

const wchar_t kClassName[] = L"KVRefPlayer";

struct Options {
    bool destroyOnKey = false;
    bool mediaFoundation = false;
    std::wstring path;
};

void ReportError(const std::string& message);

// Plays the file as soon as it stands ready and loops it, so a long measurement never sees a
// stopped graph.
struct Window : kv::MediaEngineEvents {
    std::unique_ptr<kv::DShowPlayer> player;
    std::unique_ptr<kv::MFSession> session;
    bool destroyOnKey = false;

    void EngineOpened() override { player->Run(); }
    void EngineFailed(const std::string& reason) override {
        ReportError(reason);
        PostQuitMessage(1);
    }
    void EngineEnded() override {
        player->SetPosition(0);
        player->Run();
    }
};

struct ArgvDeleter {
    void operator()(LPWSTR* argv) const { LocalFree(argv); }
};

Options ParseCommandLine() {
    Options options;
    int argc = 0;
    std::unique_ptr<LPWSTR, ArgvDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    for (int i = 1; argv && i < argc; ++i) {
        std::wstring arg = argv.get()[i];
        if (lstrcmpiW(arg.c_str(), L"/destroy") == 0)
            options.destroyOnKey = true;
        else if (lstrcmpiW(arg.c_str(), L"/mf") == 0)
            options.mediaFoundation = true;
        else
            options.path = arg;
    }
    return options;
}

void ReportError(const std::string& message) {
    std::string line = "refplayer: " + message + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), DWORD(line.size()), &written, nullptr);
}

Window* WindowOf(HWND hwnd) { return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

// The session's answers: start when ready, draw each picture, loop at the end.
bool HandleSession(Window& w, HWND hwnd, UINT msg, LPARAM lp) {
    if (!w.session) return false;
    if (msg == kv::MFSession::kEventMessage) {
        switch (w.session->Take(lp)) {
        case kv::MFSession::Event::Ready:
        case kv::MFSession::Event::Ended: w.session->Start(0); break;
        case kv::MFSession::Event::Failed:
            ReportError("the session failed");
            PostQuitMessage(1);
            break;
        default: break;
        }
        return true;
    }
    if (msg == kv::MFSession::kFrameMessage) {
        if (!w.session->TakeFrame()) return true;
        RECT client;
        GetClientRect(hwnd, &client);
        kv::PictureRect p = kv::FitPicture(client.right, client.bottom, w.session->VideoWidth(), w.session->VideoHeight());
        kv::ScopedGetDC dc(hwnd);
        w.session->DrawFrame(dc.Get(), kv::RectOf(p));
        return true;
    }
    return false;
}

LRESULT HandleMessage(Window& w, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (w.player && w.player->HandleMessage(msg, wp, lp)) return 0;
    if (HandleSession(w, hwnd, msg, lp)) return 0;
    switch (msg) {
    case WM_TIMER:
        if (w.player) w.player->Watch(GetTickCount());
        return 0;
    case WM_SIZE:
        if (w.player) w.player->Resize(LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (w.destroyOnKey)
            DestroyWindow(hwnd);
        else
            PostQuitMessage(0);
        return 0;
    case WM_DESTROY:
        w.player.reset();  // the graph goes before the window its events are posted to
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    Window* w = WindowOf(hwnd);
    if (!w) return DefWindowProcW(hwnd, msg, wp, lp);
    try {
        return HandleMessage(*w, hwnd, msg, wp, lp);
    } catch (const std::exception& e) {
        ReportError(e.what());
        PostQuitMessage(1);
        return 0;
    }
}

HWND CreateFullScreenWindow(HINSTANCE instance, Window& w) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = nullptr;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) throw kv::Exception(kv::SystemErrorText(GetLastError()));
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, kClassName, L"refplayer",
                                WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                nullptr, instance, &w);
    if (!hwnd) throw kv::Exception(kv::SystemErrorText(GetLastError()));
    return hwnd;
}

int RunMessageLoop() {
    MSG msg;
    BOOL r;
    while ((r = GetMessageW(&msg, nullptr, 0, 0)) != 0 && r != -1) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return r == 0 ? int(msg.wParam) : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    kv::ScopedCoInitialize com;
    Window w;
    try {
        Options options = ParseCommandLine();
        if (options.path.empty()) throw kv::Exception("usage: refplayer [/destroy] FILE");
        w.destroyOnKey = options.destroyOnKey;
        HWND hwnd = CreateFullScreenWindow(instance, w);
        ShowCursor(FALSE);
        if (options.mediaFoundation) {
            w.session = std::make_unique<kv::MFSession>(hwnd, 1, options.path);
        } else {
            w.player = std::make_unique<kv::DShowPlayer>(hwnd, w);
            w.player->Load(options.path);
            SetTimer(hwnd, 1, 100, nullptr);
        }
        int code = RunMessageLoop();
        w.player.reset();
        w.session.reset();
        kv::MFSession::EndProcess(code);
    } catch (const std::exception& e) {
        ReportError(e.what());
        return 1;
    }
}
