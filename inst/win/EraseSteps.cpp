#include "EraseSteps.h"

#include <windows.h>

#include <algorithm>

#include "ExpandPathMacros.h"
#include "FileActions.h"
#include "Folders.h"
#include "ProtectedFolders.h"
#include "RegistryActions.h"
#include "RegistrySpec.h"
#include "RunScriptCommand.h"
#include "Setup.h"
#include "SetupPages.h"
#include "ShortcutFolder.h"

namespace setup {

namespace {

// Stands in for a progress page that could not be made: what was installed
// is removed all the same.
class NoProgress : public ProgressPage {
public:
    void SetPosition(int) override {}
    void Close() override {}
};

void RemoveShortcuts(Setup &setup, const Script &script) {
    // No folder of the product's own: neither its shortcuts nor the folder
    // are touched.
    std::string folder;
    if (!ShortcutFolder(setup, folder))
        return;
    for (int k = 0;; ++k) {
        const std::string name = script.Value("Menu" + std::to_string(k), "Name");
        if (name.empty())
            break;
        if (HasDotComponent(setup.cp, name))
            continue;
        const std::string link = WithLinkExtension(setup.cp, JoinPath(setup.cp, folder, name));
        if (FitsPathBuffer(link))
            ::DeleteFileA(link.c_str());
    }
    if (!script.Value("Menu", "Name").empty())
        DeleteFolderTree(setup.cp, folder);
}

void EraseKey(const Setup &setup, const std::string &value) {
    const RegistrySpec parsed = ParseRegistrySpec(setup.cp, value);
    if (!parsed.name.empty())
        DeleteRegistrySubkey(setup.cp, parsed.root, parsed.keyPath, parsed.name);
    else
        DeleteKeyTree(setup.cp, parsed.root, parsed.keyPath);
}

} // namespace

bool EraseSteps(Setup &setup, SetupPages &pages) {
    NoProgress noProgress;
    std::unique_ptr<ProgressPage> opened = pages.OpenProgress(PageMode::Removal);
    ProgressPage &page = opened ? *opened : noProgress;
    const Script script = setup.script();
    const std::string &root = setup.ctx.installFolder;

    script.ForEach("Go2", "Erase", 0, [&](int, const std::string &value) {
        RunScriptCommand(setup, value);
        return true;
    });
    RemoveShortcuts(setup, script);
    script.ForEach("Reg", "Erase", 0, [&](int, const std::string &value) {
        EraseKey(setup, value);
        return true;
    });
    SetProgress(page, 90);

    const int payloadFiles = script.Count("CopyFile", "", 0);
    script.ForEach("CopyFile", "", 0, [&](int k, const std::string &value) {
        std::string target = !value.empty() && value[0] == '?' ? value.substr(1) : value;
        if (ExpandPathValue(target, root, setup.platform) && IsExistingFile(target))
            DeleteWithRetry(setup, target);
        // The script may have grown since the count; the bar never goes below 10.
        const int n = std::max(payloadFiles, k + 1);
        SetProgress(page, 10 + 80 * (n - 1 - k) / n);
        return true;
    });
    SetProgress(page, 10);

    const ProtectedFolders protectedFolders(setup.platform);
    script.ForEach("MakeDirectory", "", 1, [&](int, const std::string &value) {
        // Only an empty folder goes; an empty folder of the system's stays too.
        std::string folder = value;
        if (ExpandPathValue(folder, root, setup.platform) && !protectedFolders.Covers(folder))
            ::RemoveDirectoryA(folder.c_str());
        return true;
    });
    page.Close();
    return true;
}

} // namespace setup
