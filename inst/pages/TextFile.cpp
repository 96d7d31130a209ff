#include "TextFile.h"

#include <windows.h>

#include "ExpandPathMacros.h"
#include "Folders.h"
#include "Handles.h"
#include "PathText.h"
#include "Setup.h"
#include "TextEncoding.h"

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

bool Decode(const char *bytes, size_t length, unsigned codePage, std::wstring &text) {
    text.clear();
    if (length == 0)
        return true;
    const int count = ::MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(length),
                                            nullptr, 0);
    if (count <= 0)
        return false;
    text.resize(static_cast<size_t>(count));
    return ::MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(length), &text[0],
                                 count) == count;
}

std::wstring Characters(const std::string &bytes) {
    const TextEncoding encoding = GuessTextEncoding(bytes, ::GetACP());
    const char *begin = bytes.data() + encoding.markLength;
    const size_t length = bytes.size() - encoding.markLength;
    std::wstring text;
    if (encoding.codePage == kCodePageUtf16Le) {
        for (size_t i = 0; i + 1 < length; i += 2)
            text += static_cast<wchar_t>(static_cast<unsigned char>(begin[i]) |
                                         static_cast<unsigned char>(begin[i + 1]) << 8);
        return text;
    }
    // A code page that this system lacks (932 on an older Western Windows
    // without East Asian support) leaves the system's own reading.
    if (!Decode(begin, length, encoding.codePage, text))
        Decode(begin, length, CP_ACP, text);
    return text;
}

} // namespace

std::wstring TextForBox(const std::string &path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return std::wstring();
    const std::wstring characters = Characters(bytes);
    std::wstring text;
    text.reserve(characters.size() + characters.size() / 16);
    for (size_t i = 0; i < characters.size(); ++i) {
        const wchar_t c = characters[i];
        if (c == L'\n' && (i == 0 || characters[i - 1] != L'\r'))
            text += L'\r';
        text += c == L'\0' ? L' ' : c;
    }
    return text;
}

ShownFile FileForLanguage(const Setup &setup, const std::string &section, const std::string &key,
                          const std::string &def, const std::string &root) {
    const Script script = setup.script();
    ShownFile shown;
    if (setup.ctx.language != kJapaneseLocale) {
        shown.path = script.Value(section, key + "_English");
        if (!shown.path.empty() && ExpandPathValue(shown.path, root, setup.platform) &&
            IsExistingFile(shown.path)) {
            shown.named = true;
            return shown;
        }
    }
    shown.path = script.Value(section, key, def);
    shown.named = !shown.path.empty();
    if (shown.named && !ExpandPathValue(shown.path, root, setup.platform))
        shown.path.clear();
    return shown;
}

} // namespace setup
