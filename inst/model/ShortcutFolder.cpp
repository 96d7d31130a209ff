#include "ShortcutFolder.h"

#include "ProtectedFolders.h"
#include "Setup.h"
#include "SystemFolders.h"

namespace setup {

bool ShortcutFolder(const Setup &setup, std::string &folder) {
    folder = ProgramsMenuFolder(setup.platform);
    if (folder.empty())
        return false;
    const std::string menuName = setup.script().Value("Menu", "Name");
    if (!menuName.empty()) {
        if (HasDotComponent(setup.cp, menuName))
            return false;
        folder = JoinPath(setup.cp, folder, menuName);
        if (ProtectedFolders(setup.platform).Covers(folder))
            return false;
    }
    return FitsPathBuffer(folder);
}

std::string WithLinkExtension(const CodePage &cp, const std::string &path) {
    const std::string extension = ".lnk";
    if (path.size() >= extension.size()) {
        const std::string tail = path.substr(path.size() - extension.size());
        // The tail must start on a character boundary to be compared.
        const size_t start = path.size() - extension.size();
        size_t i = 0;
        while (i < start)
            i += cp.CharLength(path, i);
        if (i == start && EqualNoCase(cp, tail, extension))
            return path;
    }
    return path + extension;
}

} // namespace setup
