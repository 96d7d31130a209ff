// Owners of the system's handles, each closed with its own function when it
// goes out of scope.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace setup {

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

} // namespace setup
