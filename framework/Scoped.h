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

// Generic owner of a handle with a close function.
template <typename H, BOOL(WINAPI* Close)(H), H Invalid>
class ScopedHandleOf {
public:
    ScopedHandleOf() = default;
    explicit ScopedHandleOf(H h) : h_(h) {}
    ScopedHandleOf(const ScopedHandleOf&) = delete;
    ScopedHandleOf& operator=(const ScopedHandleOf&) = delete;
    ScopedHandleOf(ScopedHandleOf&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
    ScopedHandleOf& operator=(ScopedHandleOf&& o) noexcept { Reset(std::exchange(o.h_, Invalid)); return *this; }
    ~ScopedHandleOf() { Reset(); }
    H Get() const { return h_; }
    bool Valid() const { return h_ != Invalid && h_ != H(); }
    explicit operator bool() const { return Valid(); }
    void Reset(H h = Invalid) { if (Valid()) Close(h_); h_ = h; }
    H Release() { return std::exchange(h_, Invalid); }

private:
    H h_ = Invalid;
};

inline BOOL WINAPI CloseKey(HKEY k) { return RegCloseKey(k) == ERROR_SUCCESS; }
inline BOOL WINAPI DeleteGdi(HGDIOBJ o) { return DeleteObject(o); }

using ScopedHandle = ScopedHandleOf<HANDLE, CloseHandle, nullptr>;
using ScopedFile = ScopedHandleOf<HANDLE, CloseHandle, INVALID_HANDLE_VALUE>;
using ScopedKey = ScopedHandleOf<HKEY, CloseKey, nullptr>;
using ScopedLibrary = ScopedHandleOf<HMODULE, FreeLibrary, nullptr>;
using ScopedGdiObject = ScopedHandleOf<HGDIOBJ, DeleteGdi, nullptr>;

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

// COM apartment for the GUI thread.
class ScopedCoInitialize {
public:
    ScopedCoInitialize() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ScopedCoInitialize(const ScopedCoInitialize&) = delete;
    ScopedCoInitialize& operator=(const ScopedCoInitialize&) = delete;
    ~ScopedCoInitialize() { if (SUCCEEDED(hr_)) CoUninitialize(); }

private:
    HRESULT hr_;
};

}  // namespace kv
