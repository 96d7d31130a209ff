// Owners of the system's handles, each closed with its own function when it
// goes out of scope.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace setup {

// A kernel object or a find handle.
template <BOOL(WINAPI *Close)(HANDLE)>
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~ScopedHandle() {
        if (valid())
            Close(h_);
    }
    ScopedHandle(const ScopedHandle &) = delete;
    ScopedHandle &operator=(const ScopedHandle &) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }
    HANDLE *out() { return &h_; }

private:
    HANDLE h_;
};

using KernelHandle = ScopedHandle<::CloseHandle>;
using FindHandle = ScopedHandle<::FindClose>;

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() {
        if (key_)
            ::RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;
    HKEY *out() { return &key_; }
    HKEY get() const { return key_; }
    // Closes the key now, before the owner goes out of scope.
    void reset() {
        if (key_)
            ::RegCloseKey(key_);
        key_ = nullptr;
    }

private:
    HKEY key_ = nullptr;
};

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

// A library loaded by name, freed on destruction unless kept.
class LoadedLibrary {
public:
    explicit LoadedLibrary(HMODULE module) : module_(module) {}
    ~LoadedLibrary() {
        if (module_)
            ::FreeLibrary(module_);
    }
    LoadedLibrary(const LoadedLibrary &) = delete;
    LoadedLibrary &operator=(const LoadedLibrary &) = delete;
    HMODULE get() const { return module_; }
    // Leaves the library loaded for the rest of the process.
    void keep() { module_ = nullptr; }

private:
    HMODULE module_;
};

} // namespace setup
