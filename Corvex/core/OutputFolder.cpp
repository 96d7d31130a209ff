#include "OutputFolder.h"

#include <cstring>

#include "PathText.h"

namespace corvex {

bool EnsureOneFolder(CallContext &ctx, char *path) {
    size_t length = std::strlen(path);
    if (ctx.style() == PathStyle::Windows ? (length == 3 && path[1] == ':') : length == 1)
        return true; // a bare root
    char separator = path[length - 1];
    path[length - 1] = 0;
    EntryInfo entry = ctx.host().Attributes(path);
    bool ok = entry.kind == EntryKind::Folder ||
              (entry.kind != EntryKind::File && ctx.host().CreateFolder(path));
    path[length - 1] = separator;
    return ok;
}

bool EnsureFolderTree(CallContext &ctx, const char *path) {
    char copy[kPathBuffer];
    size_t length = std::strlen(path);
    if (length + 1 > sizeof copy)
        return false;
    std::memcpy(copy, path, length + 1);
    if (!EnsureTrailingSeparator(ctx, copy, sizeof copy))
        return false;

    size_t from;
    if (ctx.style() == PathStyle::Posix)
        from = 1;
    else if (copy[1] == ':' && copy[2] == '\\')
        from = 3;
    else if (ctx.treeOutputLength && ctx.treeOutputLength < length)
        from = ctx.treeOutputLength; // the folders of a tree below the one given
    else
        return EnsureOneFolder(ctx, copy); // network path: only the last level

    const char separator = ctx.separator();
    for (size_t i = 0; copy[i];) {
        bool lead = ctx.IsLead(uint8_t(copy[i])) && copy[i + 1];
        if (!lead && i >= from && copy[i] == separator) {
            char kept = copy[i + 1];
            copy[i + 1] = 0;
            bool ok = EnsureOneFolder(ctx, copy);
            copy[i + 1] = kept;
            if (!ok)
                return false;
        }
        i += lead ? 2 : 1;
    }
    return true;
}

} // namespace corvex
