// Owners of the system's handles and states, each given back with its own
// function when it goes out of scope: one set for the library's Windows
// host, the console tool, the desktop program and the installer. Only what
// a program uses is linked into it.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <ole2.h>

namespace quillbox::win {

// A value released with its own function when it goes out of scope; a
// null value owns nothing.
template <class T, auto Release>
class Scoped {
public:
    explicit Scoped(T value = T()) : value_(value) {}
    ~Scoped() { reset(); }
    Scoped(const Scoped &) = delete;
    Scoped &operator=(const Scoped &) = delete;
    T get() const { return value_; }
    T *out() { return &value_; }
    // Releases the value now.
    void reset() {
        if (value_)
            Release(value_);
        value_ = T();
    }
    // Gives the value up without releasing it.
    T release() {
        T value = value_;
        value_ = T();
        return value;
    }

private:
    T value_;
};

// The calls that open files and searches say "none" with INVALID_HANDLE_VALUE.
inline HANDLE NullIfInvalid(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

using KernelHandle = Scoped<HANDLE, ::CloseHandle>;
using FindHandle = Scoped<HANDLE, ::FindClose>;
using RegistryKey = Scoped<HKEY, ::RegCloseKey>;
using LoadedLibrary = Scoped<HMODULE, ::FreeLibrary>;
using SidPointer = Scoped<PSID, ::FreeSid>;

// A COM interface pointer, released on destruction.
template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_)
            p_->Release();
    }
    ComPtr(const ComPtr &) = delete;
    ComPtr &operator=(const ComPtr &) = delete;
    Interface *operator->() const { return p_; }
    Interface *get() const { return p_; }
    void **out() { return reinterpret_cast<void **>(&p_); }
    // For the calls that hand back an Interface ** of their own kind.
    Interface **put() { return &p_; }

private:
    Interface *p_ = nullptr;
};

// COM initialised on this thread for the lifetime of the object.
class ComApartment {
public:
    ComApartment() : result_(::CoInitialize(nullptr)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

private:
    HRESULT result_;
};

// OLE initialised on this thread for the lifetime of the object (what the
// shell's new-style folder browser and drag and drop need).
class OleSession {
public:
    OleSession() : ok_(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~OleSession() {
        if (ok_)
            ::OleUninitialize();
    }
    OleSession(const OleSession &) = delete;
    OleSession &operator=(const OleSession &) = delete;

private:
    bool ok_;
};

// A device context of the screen, released when it goes.
class ScreenDc {
public:
    ScreenDc() : dc_(::GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_)
            ::ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc &) = delete;
    ScreenDc &operator=(const ScreenDc &) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

using MemoryDc = Scoped<HDC, ::DeleteDC>;
using GdiBitmap = Scoped<HBITMAP, ::DeleteObject>;

// A GDI object (font, pen, brush, bitmap) selected into a device context
// while this lives; the one it replaced is put back.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~Selected() { ::SelectObject(dc_, old_); }
    Selected(const Selected &) = delete;
    Selected &operator=(const Selected &) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace quillbox::win
