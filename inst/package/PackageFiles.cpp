#include "PackageFiles.h"

#include <windows.h>

#include "Handles.h"
#include "PathText.h"
#include "Win32Platform.h"

namespace setup {

namespace {

bool IsPlainFileName(const std::string &name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/:") == std::string::npos;
}

bool WriteNewFile(const std::string &path, const void *data, DWORD size) {
    // CREATE_NEW: the folder is the package's own and new, so nothing in it
    // may be replaced.
    const KernelHandle file(NullIfInvalid(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                                        nullptr)));
    if (!file.get())
        return false;
    const char *bytes = static_cast<const char *>(data);
    DWORD done = 0;
    while (done < size) {
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes + done, size - done, &written, nullptr) || !written)
            return false;
        done += written;
    }
    return ::FlushFileBuffers(file.get()) != 0;
}

} // namespace

bool UnpackPackageFiles(const std::string &folder) {
    const Win32Platform platform;
    const CodePage cp(platform);
    for (unsigned id = kFirstPackageFile;; ++id) {
        // The names are plain ASCII, the same in every code page.
        const std::string name = platform.LoadText(id);
        if (name.empty())
            return id > kFirstPackageFile;
        const HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_RCDATA);
        const HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
        const void *data = loaded ? ::LockResource(loaded) : nullptr;
        const std::string path = JoinPath(cp, folder, name);
        if (!data || !IsPlainFileName(name) || !FitsPathBuffer(path) ||
            !WriteNewFile(path, data, ::SizeofResource(nullptr, found)))
            return false;
    }
}

} // namespace setup
