#include "ThresholdSetting.h"

namespace {

const char kKey[] = "Software\\TALVEN\\Corvex";
const char kValue[] = "CRITERIA_KEYWORD_COUNT";

struct Key {
    HKEY h = nullptr;
    ~Key() {
        if (h)
            RegCloseKey(h);
    }
};

} // namespace

bool SetThresholdValue(DWORD type, const void *data, DWORD size) {
    Key key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key.h, nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.h, kValue, 0, type, static_cast<const BYTE *>(data), size) ==
           ERROR_SUCCESS;
}

bool SetThresholdString(const std::string &text) {
    return SetThresholdValue(REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool ClearThreshold() {
    Key key;
    LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE | KEY_QUERY_VALUE,
                                &key.h);
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    RegDeleteValueA(key.h, kValue);
    return RegQueryValueExA(key.h, kValue, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_FILE_NOT_FOUND;
}
