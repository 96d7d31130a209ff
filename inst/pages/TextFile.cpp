#include "TextFile.h"

#include <windows.h>

#include "Handles.h"
#include "PathText.h"

namespace setup {

namespace {

// Far beyond any licence or readme; a larger file is no text for a box.
constexpr LONGLONG kLargestText = 16 * 1024 * 1024;

bool ReadWholeFile(const std::string &path, std::string &bytes) {
    if (!FitsPathBuffer(path))
        return false;
    const KernelHandle file(NullIfInvalid(::CreateFileA(path.c_str(), GENERIC_READ,
                                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                        FILE_ATTRIBUTE_NORMAL, nullptr)));
    LARGE_INTEGER size;
    if (!file.get() || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestText)
        return false;
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), &bytes[done], static_cast<DWORD>(bytes.size() - done), &got,
                        nullptr) ||
            got == 0)
            return false;
        done += got;
    }
    return true;
}

} // namespace

std::string TextForBox(const std::string &path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return std::string();
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            text += '\r';
        text += c == '\0' ? ' ' : c;
    }
    return text;
}

} // namespace setup
