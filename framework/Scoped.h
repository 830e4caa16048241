#pragma once
// Ten-line owners for the handle kinds the programs use. No Release() or Close by hand.
#include <windows.h>
#include <objbase.h>
#include <utility>

namespace kv {

// Owning COM pointer: releases on destruction and on reassignment.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : p_(other.p_) { if (p_) p_->AddRef(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { Reset(); }
    ComPtr& operator=(ComPtr other) noexcept { std::swap(p_, other.p_); return *this; }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    T** Put() { Reset(); return &p_; }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    void Reset() { if (p_) std::exchange(p_, nullptr)->Release(); }

    template <typename U>
    ComPtr<U> As(HRESULT* hr = nullptr) const {
        ComPtr<U> out;
        HRESULT r = p_ ? p_->QueryInterface(__uuidof(U), out.PutVoid()) : E_POINTER;
        if (hr) *hr = r;
        return out;
    }

private:
    T* p_ = nullptr;
};

// Generic owner of a handle; Traits gives the handle type, its empty value and its close.
template <typename Traits>
class ScopedHandleOf {
public:
    using H = typename Traits::Handle;
    ScopedHandleOf() = default;
    explicit ScopedHandleOf(H h) : h_(h) {}
    ScopedHandleOf(const ScopedHandleOf&) = delete;
    ScopedHandleOf& operator=(const ScopedHandleOf&) = delete;
    ScopedHandleOf(ScopedHandleOf&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    ScopedHandleOf& operator=(ScopedHandleOf&& o) noexcept { Reset(std::exchange(o.h_, Traits::Invalid())); return *this; }
    ~ScopedHandleOf() { Reset(); }
    H Get() const { return h_; }
    bool Valid() const { return h_ != Traits::Invalid() && h_ != H(); }
    explicit operator bool() const { return Valid(); }
    void Reset(H h = Traits::Invalid()) { if (Valid()) Traits::Close(h_); h_ = h; }
    H Release() { return std::exchange(h_, Traits::Invalid()); }

private:
    H h_ = Traits::Invalid();
};

// Traits of a handle that is empty when null and closed with CloseFn.
template <typename H, auto CloseFn>
struct CloseWith {
    using Handle = H;
    static H Invalid() { return nullptr; }
    static void Close(H h) { CloseFn(h); }
};
// File handles are empty when INVALID_HANDLE_VALUE.
struct FileHandleTraits : CloseWith<HANDLE, &CloseHandle> {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
};

using ScopedHandle = ScopedHandleOf<CloseWith<HANDLE, &CloseHandle>>;
using ScopedFile = ScopedHandleOf<FileHandleTraits>;
using ScopedKey = ScopedHandleOf<CloseWith<HKEY, &RegCloseKey>>;
using ScopedLibrary = ScopedHandleOf<CloseWith<HMODULE, &FreeLibrary>>;
using ScopedGdiObject = ScopedHandleOf<CloseWith<HGDIOBJ, &DeleteObject>>;
using ScopedBitmap = ScopedHandleOf<CloseWith<HBITMAP, &DeleteObject>>;
using ScopedHook = ScopedHandleOf<CloseWith<HHOOK, &UnhookWindowsHookEx>>;
// Memory that a system call allocated with LocalAlloc for the caller (FormatMessage, CommandLineToArgvW).
using ScopedLocalMemory = ScopedHandleOf<CloseWith<HLOCAL, &LocalFree>>;

// A memory DC compatible with dc (the screen when null), deleted at the end.
class ScopedMemoryDC : public ScopedHandleOf<CloseWith<HDC, &DeleteDC>> {
public:
    explicit ScopedMemoryDC(HDC dc) : ScopedHandleOf(CreateCompatibleDC(dc)) {}
};

// A paint session of WM_PAINT: BeginPaint now, EndPaint at the end.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    ~ScopedPaint() { EndPaint(hwnd_, &ps_); }
    HDC Get() const { return dc_; }
    const RECT& Dirty() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A window's DC from GetDC, released with ReleaseDC.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    ~ScopedGetDC() { if (dc_) ReleaseDC(hwnd_, dc_); }
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a DC for a scope; the previous one comes back at the end.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
    ~ScopedSelectObject() { if (old_) SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A COM apartment for the thread (single-threaded: the GUI thread's); balanced only when this
// call entered it.
class ScopedCoInitialize {
public:
    explicit ScopedCoInitialize(DWORD model = COINIT_APARTMENTTHREADED) : hr_(CoInitializeEx(nullptr, model)) {}
    bool Entered() const { return SUCCEEDED(hr_); }
    ScopedCoInitialize(const ScopedCoInitialize&) = delete;
    ScopedCoInitialize& operator=(const ScopedCoInitialize&) = delete;
    ~ScopedCoInitialize() { if (SUCCEEDED(hr_)) CoUninitialize(); }

private:
    HRESULT hr_;
};

}  // namespace kv
