#include "CreateShortcut.h"

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include "Folders.h"
#include "Handles.h"
#include "PathText.h"
#include "ShortcutFolder.h"

namespace setup {

bool CreateShortcut(const CodePage &cp, const std::string &linkPath, const std::string &target,
                    const std::string &arguments, const std::string &description,
                    const std::string &iconFile, int iconIndex) {
    const std::string link = WithLinkExtension(cp, linkPath);
    if (!FitsPathBuffer(link) || !FitsPathBuffer(target) || !FitsPathBuffer(iconFile))
        return false;

    ComApartment apartment;
    ComPtr<IShellLinkA> shellLink;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  shellLink.out())))
        return false;
    // All four are set, empty ones too; what the link object makes of an
    // empty value is its own affair.
    shellLink->SetPath(target.c_str());
    shellLink->SetArguments(arguments.c_str());
    shellLink->SetDescription(description.c_str());
    shellLink->SetIconLocation(iconFile.c_str(), iconIndex);

    const std::string folder = FolderPart(cp, link);
    if (!IsExistingFolder(folder))
        CreateFolderPath(cp, folder);

    ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.out())))
        return false;
    wchar_t wide[kPathBufferSize];
    if (!::MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, kPathBufferSize))
        return false;
    return SUCCEEDED(file->Save(wide, TRUE));
}

} // namespace setup
