#include "InstallSteps.h"

#include <windows.h>

#include <algorithm>

#include "CreateShortcut.h"
#include "ExpandPathMacros.h"
#include "FileActions.h"
#include "Folders.h"
#include "Handles.h"
#include "ProtectedFolders.h"
#include "RegistryActions.h"
#include "RegistrySpec.h"
#include "RunScriptCommand.h"
#include "Setup.h"
#include "SetupPages.h"
#include "ShortcutFolder.h"
#include "UninstallEntry.h"

namespace setup {

namespace {

bool HasWildcard(const CodePage &cp, const std::string &name) {
    return FindChar(cp, name, '*') != std::string::npos ||
           FindChar(cp, name, '?') != std::string::npos;
}

// One [Del] pattern: every match in the pattern's folder, files deleted and
// folders removed with all they hold; failures are silent. Nothing that is
// not the product's own is touched: a pattern with a "." or ".." component
// is not run, nor a wildcard pattern in a protected folder or one that holds
// one, and a match that is or holds a protected folder stays.
void DeleteMatches(Setup &setup, const ProtectedFolders &protectedFolders, std::string pattern) {
    const CodePage &cp = setup.cp;
    if (!ExpandPathValue(pattern, setup.ctx.installFolder, setup.platform) ||
        HasDotComponent(cp, pattern))
        return;
    const std::string folder = FolderPart(cp, pattern);
    if (HasWildcard(cp, FileNamePart(cp, pattern)) && protectedFolders.Covers(folder))
        return;
    WIN32_FIND_DATAA match;
    FindHandle find(NullIfInvalid(::FindFirstFileA(pattern.c_str(), &match)));
    if (!find.get())
        return;
    do {
        const std::string name = match.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = JoinPath(cp, folder, name);
        if (!FitsPathBuffer(path))
            continue;
        if (!(match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ::DeleteFileA(path.c_str());
        else if (!protectedFolders.Covers(path))
            DeleteFolderTree(cp, path);
    } while (!setup.ctx.abortFlag && ::FindNextFileA(find.get(), &match));
}

void RegisterUninstaller(Setup &setup) {
    const std::string registryName = setup.script().Value("Registry", "Name");
    if (!IsUsableRegistryName(setup.cp, registryName))
        return;
    const std::string key = UninstallKey(setup.cp, registryName);
    const std::string &folder = setup.ctx.installFolder;
    WriteRegistryValue(RootKey::LocalMachine, key, "DisplayName", setup.ctx.productName);
    WriteRegistryValue(RootKey::LocalMachine, key, "InstallLocation", folder);
    WriteRegistryValue(RootKey::LocalMachine, key, "DisplayIcon",
                       JoinPath(setup.cp, folder, "setup.exe"));
    WriteRegistryValue(RootKey::LocalMachine, key, "UninstallString",
                       UninstallCommand(setup.cp, folder));
}

// The file-name part of one of the program's own files, placed in the install folder.
std::string InstalledCopy(const Setup &setup, const std::string &ownFile) {
    std::string target = FileNamePart(setup.cp, ownFile);
    ExpandPathMacros(target, setup.ctx.installFolder, setup.platform);
    return target;
}

// Moves one [CopyFile] payload file from the setup folder into place.
void PlacePayloadFile(Setup &setup, const std::string &value) {
    std::string target = !value.empty() && value[0] == '?' ? value.substr(1) : value;
    ExpandPathMacros(target, setup.ctx.installFolder, setup.platform);
    const std::string source =
        JoinPath(setup.cp, setup.ctx.setupFolder, FileNamePart(setup.cp, target));
    if (IsExistingFile(source))
        MoveWithRetry(setup, source, target);
}

void WriteScriptValue(Setup &setup, const std::string &value) {
    RegistrySpec parsed = ParseRegistrySpec(setup.cp, value);
    if (!parsed.data.empty() && parsed.data[0] == '%' &&
        !ExpandPathValue(parsed.data, setup.ctx.installFolder, setup.platform))
        return;
    WriteRegistryValue(parsed.root, parsed.keyPath, parsed.name, parsed.data);
}

void MakeShortcuts(Setup &setup) {
    std::string folder;
    if (!ShortcutFolder(setup, folder))
        return;
    const Script script = setup.script();
    const std::string &root = setup.ctx.installFolder;
    for (int k = 0; !setup.ctx.abortFlag; ++k) {
        const std::string section = "Menu" + std::to_string(k);
        const std::string name = script.Value(section, "Name");
        if (name.empty())
            return;
        // The removal deletes this file again: it must lie in the shortcut folder.
        if (HasDotComponent(setup.cp, name))
            continue;
        std::string target = script.Value(section, "Path");
        std::string icon = script.Value(section, "Icon");
        if (!ExpandPathValue(target, root, setup.platform) ||
            !ExpandPathValue(icon, root, setup.platform))
            continue;
        CreateShortcut(setup.cp, JoinPath(setup.cp, folder, name), target,
                       script.Value(section, "Arg"), script.Value(section, "Description"), icon,
                       script.Integer(section, "IconNo", ""));
    }
}

// Runs step on each value of a list, looking at the abort flag after each
// one; false when it was found set.
template <class Step>
bool EachChecked(const Setup &setup, const std::string &section, const std::string &prefix,
                 Step step) {
    setup.script().ForEach(section, prefix, 0, [&](int k, const std::string &value) {
        step(k, value);
        return !setup.ctx.abortFlag;
    });
    return !setup.ctx.abortFlag;
}

} // namespace

bool InstallSteps(Setup &setup, ProgressPage &page) {
    const Script script = setup.script();
    const std::string &root = setup.ctx.installFolder;
    const bool &aborted = setup.ctx.abortFlag;

    script.ForEach("MakeDirectory", "", 1, [&](int, const std::string &value) {
        std::string folder = value;
        if (ExpandPathValue(folder, root, setup.platform))
            CreateFolderPath(setup.cp, folder);
        return true;
    });
    if (aborted)
        return false;

    const ProtectedFolders protectedFolders(setup.platform);
    script.ForEach("Del", "", 0, [&](int, const std::string &value) {
        DeleteMatches(setup, protectedFolders, value);
        return true;
    });
    if (aborted)
        return false;

    RegisterUninstaller(setup);
    SetProgress(page, 5);
    if (aborted)
        return false;

    CopyWithRetry(setup, setup.ctx.scriptPath, InstalledCopy(setup, setup.ctx.scriptPath));
    if (aborted)
        return false;
    CopyWithRetry(setup, setup.ctx.modulePath, InstalledCopy(setup, setup.ctx.modulePath));
    if (aborted)
        return false;

    const int payloadFiles = script.Count("CopyFile", "", 0);
    if (!EachChecked(setup, "CopyFile", "", [&](int k, const std::string &value) {
            PlacePayloadFile(setup, value);
            // The script may have grown since the count; the bar never passes 90.
            SetProgress(page, 10 + 80 * (k + 1) / std::max(payloadFiles, k + 1));
        }))
        return false;
    SetProgress(page, 90);

    if (!EachChecked(setup, "Reg", "Make",
                     [&](int, const std::string &value) { WriteScriptValue(setup, value); }))
        return false;

    MakeShortcuts(setup);
    SetProgress(page, 95);
    if (aborted)
        return false;

    return EachChecked(setup, "Go2", "Make",
                       [&](int, const std::string &value) { RunScriptCommand(setup, value); });
}

} // namespace setup
