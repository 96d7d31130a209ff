#include "RemovalRun.h"

#include <shellapi.h>


#include "EraseSteps.h"
#include "Folders.h"
#include "InstallTarget.h"
#include "PumpMessages.h"
#include "RegistryActions.h"
#include "Setup.h"
#include "SetupPages.h"
#include "SystemChecks.h"
#include "UninstallEntry.h"

namespace setup {

namespace {

int Refuse(Setup &setup, int code, unsigned textId) {
    setup.ctx.errorCode = code;
    setup.Show(MessageKind::Error, setup.Text(textId));
    return 0;
}

// The copies the second stage runs from, in the temporary folder.
struct TemporaryCopies {
    std::string program; // the unique "ins" name with ".exe" appended
    std::string script;  // "setup.ini"

    void Remove() const {
        ::DeleteFileA(program.c_str());
        ::DeleteFileA(script.c_str());
    }
};

bool MakeTemporaryCopies(const Setup &setup, TemporaryCopies &copies) {
    const std::string temp = setup.platform.TempFolder();
    char unique[MAX_PATH] = "";
    if (!FitsPathBuffer(temp) || !::GetTempFileNameA(temp.c_str(), "ins", 0, unique))
        return false;
    // The call made the file to reserve its name; the copy takes the name
    // with ".exe" appended.
    ::DeleteFileA(unique);
    copies.program = std::string(unique) + ".exe";
    copies.script = JoinPath(setup.cp, temp, "setup.ini");
    if (FitsPathBuffer(copies.program) && FitsPathBuffer(copies.script) &&
        ::CopyFileA(setup.ctx.modulePath.c_str(), copies.program.c_str(), FALSE) &&
        ::CopyFileA(setup.ctx.scriptPath.c_str(), copies.script.c_str(), FALSE))
        return true;
    copies.Remove();
    return false;
}

bool Start(const std::string &file, const std::string &parameters, int show) {
    const HINSTANCE result = ::ShellExecuteA(::GetDesktopWindow(), "open", file.c_str(),
                                             parameters.c_str(), nullptr, show);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace

int RemovalFirstStage(Setup &setup, SetupPages &pages, const SystemChecks &checks) {
    if (!checks.IsUserAdmin())
        return Refuse(setup, ErrorNotAdministrator, TextNotAdministrator);
    // Refused before the question: an entry without a folder of the
    // product's own, or a script without an entry of its own.
    if (CheckRemovalTarget(setup))
        return Refuse(setup, ErrorFatal, TextFatalError);
    if (setup.Show(MessageKind::Question,
                   FormatText(setup.Text(TextConfirmRemove), {setup.ctx.productName})) !=
        Answer::Yes)
        return 0;

    pages.PrepareBanner();
    setup.ctx.installFolder = RegisteredInstallLocation(setup);
    EraseSteps(setup, pages);

    TemporaryCopies copies;
    if (!MakeTemporaryCopies(setup, copies))
        return Refuse(setup, ErrorFatal, TextFatalError);
    ::DeleteFileA(setup.ctx.scriptPath.c_str());
    if (Start(copies.program, "-f", SW_SHOWNORMAL))
        return 1;
    // The entry needs the script to finish the removal another time.
    ::CopyFileA(copies.script.c_str(), setup.ctx.scriptPath.c_str(), FALSE);
    copies.Remove();
    return Refuse(setup, ErrorFatal, TextFatalError);
}

int RemovalSecondStage(Setup &setup, SetupPages &pages, const SystemChecks &checks) {
    // Started anywhere else, the "temporary" script and program would be
    // the installed ones.
    if (!checks.IsRunningFromTemp())
        return Refuse(setup, ErrorNotFromTemp, TextNotFromTemp);
    if (CheckRemovalTarget(setup))
        return Refuse(setup, ErrorFatal, TextFatalError);
    const std::string folder = RegisteredInstallLocation(setup);
    DeleteKeyTree(setup.cp, RootKey::LocalMachine,
                  UninstallKey(setup.cp, setup.script().Value("Registry", "Name")));
    DeleteWhenReleased(JoinPath(setup.cp, folder, "setup.exe"), kReleaseWaitMs);
    ::RemoveDirectoryA(folder.c_str());

    pages.PrepareBanner();
    pages.ShowFinish(PageMode::Removal);
    ::DeleteFileA(setup.ctx.scriptPath.c_str());
    // The interpreter deletes this program's copy once this process has ended.
    Start(setup.ctx.os.platformId == VER_PLATFORM_WIN32_NT ? "cmd.exe" : "command.com",
          "/c del \"" + setup.ctx.modulePath + "\"", SW_HIDE);
    return 1;
}

bool DeleteWhenReleased(const std::string &path, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (IsExistingFile(path)) {
        if (::DeleteFileA(path.c_str()))
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        PumpMessages();
        // Wakes for a message, else tries again after a tenth of a second.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    return true;
}

} // namespace setup
