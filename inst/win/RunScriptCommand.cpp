#include "RunScriptCommand.h"

#include <windows.h>

#include <shellapi.h>

#include "CommandEntry.h"
#include "ExpandPathMacros.h"
#include "FileActions.h"
#include "Folders.h"
#include "Handles.h"
#include "RegistryActions.h"
#include "RegistrySpec.h"
#include "Setup.h"

namespace setup {

namespace {

// What a command that could not be started at all reports as its errcode.
constexpr int kNotStarted = -1;

void ShowCommandFailure(Setup &setup, int errcode, const std::string &subject,
                        const std::string &suffix = "") {
    setup.Show(MessageKind::Error,
               FormatText(setup.Text(TextCommandFailed), {std::to_string(errcode), subject}) +
                   suffix);
}

// The shell's result as a number: above 32 means started.
int OpenWithShell(const std::string &file, const char *parameters, int show) {
    if (!FitsPathBuffer(file))
        return kNotStarted;
    const HINSTANCE result =
        ::ShellExecuteA(::GetDesktopWindow(), "open", file.c_str(), parameters, nullptr, show);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

int WindowState(const CodePage &cp, const std::string &word) {
    if (EqualNoCase(cp, word, "hide"))
        return SW_HIDE;
    if (EqualNoCase(cp, word, "min"))
        return SW_SHOWMINIMIZED;
    if (EqualNoCase(cp, word, "max"))
        return SW_SHOWMAXIMIZED;
    return SW_SHOWNORMAL;
}

} // namespace

int RunScriptCommand(Setup &setup, const std::string &entryText) {
    const CodePage &cp = setup.cp;
    CommandEntry entry = SplitCommandEntry(cp, entryText);
    if (!entry.subject.empty() && entry.subject[0] == '%')
        ExpandPathMacros(entry.subject, setup.ctx.installFolder, setup.platform);
    const std::string &subject = entry.subject;
    const bool hidden = EqualNoCase(cp, entry.argument, "hide");

    if (EqualNoCase(cp, entry.action, "#CheckExist")) {
        if (!IsExistingFile(subject))
            setup.Show(MessageKind::Error, entry.argument);
        return 1;
    }
    if (EqualNoCase(cp, subject, "DELFILE")) {
        DeleteWithRetry(setup, entry.argument);
        return 1;
    }
    if (EqualNoCase(cp, subject, "DELDIR")) {
        if (FitsPathBuffer(entry.argument))
            ::RemoveDirectoryA(entry.argument.c_str());
        return 1;
    }
    if (EqualNoCase(cp, subject, "DELREG")) {
        const RegistrySpec parsed = ParseRegistrySpec(cp, entry.argument);
        DeleteRegistrySubkey(cp, parsed.root, parsed.keyPath, parsed.name);
        return 1;
    }
    if (EqualNoCase(cp, subject, "DELKEY")) {
        const RegistrySpec parsed = ParseRegistrySpec(cp, entry.argument);
        DeleteKeyTree(cp, parsed.root, parsed.keyPath);
        return 1;
    }
    if (entry.action == "DllRegisterServer" || entry.action == "DllUnregisterServer") {
        const std::string parameters =
            std::string(entry.action == "DllRegisterServer" ? "-s" : "-u -s") + " \"" + subject +
            "\"";
        const int result = FitsPathBuffer(subject)
                               ? OpenWithShell(JoinPath(cp, setup.platform.SystemFolder(),
                                                        "regsvr32.exe"),
                                               parameters.c_str(), SW_SHOWNORMAL)
                               : kNotStarted;
        if (result > 32)
            return 1;
        if (!hidden)
            ShowCommandFailure(setup, result, subject);
        return 0;
    }
    if (!entry.action.empty()) {
        LoadedLibrary library(FitsPathBuffer(subject) ? ::LoadLibraryA(subject.c_str()) : nullptr);
        const FARPROC export_ =
            library.get() ? ::GetProcAddress(library.get(), entry.action.c_str()) : nullptr;
        if (!export_) {
            if (!hidden)
                ShowCommandFailure(setup, kNotStarted, subject, ", " + entry.action + "()");
            return 0;
        }
        // The library stays loaded: what the call set up may live on in it.
        library.release();
        reinterpret_cast<void(WINAPI *)()>(reinterpret_cast<void *>(export_))();
        return 1;
    }
    const int result = OpenWithShell(subject, nullptr, WindowState(cp, entry.argument));
    if (result <= 32 && !hidden)
        ShowCommandFailure(setup, result, subject);
    return 1;
}

} // namespace setup
