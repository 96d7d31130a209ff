// A small library for the command tests: each export records that it ran
// in HKEY_CURRENT_USER\Software\QuillboxSetupTest, where the test reads it
// back, whichever process loaded the library (regsvr32 or the test itself).
#include <windows.h>

namespace {

HRESULT Record(const char *name) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QuillboxSetupTest", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    const char value[] = "1";
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value), sizeof value);
    RegCloseKey(key);
    return S_OK;
}

} // namespace

extern "C" {
__declspec(dllexport) HRESULT WINAPI DllRegisterServer() { return Record("Registered"); }
__declspec(dllexport) HRESULT WINAPI DllUnregisterServer() { return Record("Unregistered"); }
__declspec(dllexport) void WINAPI QuillboxMark() { Record("Marked"); }
}
