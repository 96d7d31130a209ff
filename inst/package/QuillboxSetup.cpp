// Quillbox-Setup.exe, the one file a user downloads: unpacks the installer,
// its script and texts and the product into a new folder of its own under
// the temporary folder, runs setup.exe there, waits for it, removes the
// folder and exits with the installer's exit code.
#include <windows.h>

#include "Folders.h"
#include "Handles.h"
#include "PackageFiles.h"
#include "PathText.h"
#include "Texts.h"
#include "Win32Platform.h"

namespace {

using namespace setup;

// The package's own texts; English under the odd id, Japanese under the
// next one, by the installer's rule.
enum PackageText : unsigned { kCaption = 1, kNotUnpacked = 3, kNotStarted = 5 };

// How long a file of the folder may stay held after setup.exe has ended
// (the system releasing the program's image, a virus scanner).
constexpr DWORD kCleanUpWaitMs = 10000;

class Package {
public:
    Package() : cp_(platform_) {}

    void Fail(unsigned text, const std::string &detail) const {
        const unsigned long locale = platform_.SystemDefaultLocale();
        ::MessageBoxA(nullptr,
                      FormatText(platform_.LoadText(LocalisedTextId(text, locale)), {detail}).c_str(),
                      platform_.LoadText(LocalisedTextId(kCaption, locale)).c_str(),
                      MB_OK | MB_ICONERROR);
    }

    // A new folder under the temporary folder, named for this process.
    bool MakeFolder() {
        const std::string temp = platform_.TempFolder();
        for (unsigned n = 0; n < 1000; ++n) {
            const std::string name = "Quillbox-Setup-" + std::to_string(::GetCurrentProcessId()) +
                                     "-" + std::to_string(n);
            const std::string folder = JoinPath(cp_, temp, name);
            if (!FitsPathBuffer(folder))
                return false;
            if (::CreateDirectoryA(folder.c_str(), nullptr)) {
                folder_ = folder;
                return true;
            }
            if (::GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
        }
        return false;
    }

    // setup.exe in the folder, started and waited for; its exit code.
    bool RunSetup(DWORD &exitCode, DWORD &error) const {
        const std::string program = JoinPath(cp_, folder_, "setup.exe");
        std::string commandLine = "\"" + program + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                              nullptr, folder_.c_str(), &startup, &info)) {
            error = ::GetLastError();
            return false;
        }
        const KernelHandle process(info.hProcess), thread(info.hThread);
        ::WaitForSingleObject(process.get(), INFINITE);
        return ::GetExitCodeProcess(process.get(), &exitCode) != 0;
    }

    void RemoveFolder() const {
        if (folder_.empty())
            return;
        const DWORD start = ::GetTickCount();
        while (!DeleteFolderTree(cp_, folder_) && IsExistingFolder(folder_) &&
               ::GetTickCount() - start < kCleanUpWaitMs)
            ::Sleep(100);
    }

    const std::string &Folder() const { return folder_; }
    std::string Temp() const { return platform_.TempFolder(); }

private:
    const Win32Platform platform_;
    const CodePage cp_;
    std::string folder_;
};

int Run() {
    Package package;
    if (!package.MakeFolder()) {
        package.Fail(kNotUnpacked, package.Temp());
        return 0;
    }
    DWORD exitCode = 0, error = 0;
    if (!UnpackPackageFiles(package.Folder())) {
        package.Fail(kNotUnpacked, package.Folder());
    } else if (!package.RunSetup(exitCode, error)) {
        package.Fail(kNotStarted, std::to_string(error));
        exitCode = 0;
    }
    package.RemoveFolder();
    return static_cast<int>(exitCode);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        return Run();
    } catch (...) {
        return 0;
    }
}
