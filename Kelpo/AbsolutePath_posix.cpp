#include "AbsolutePath.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace kelpo {

bool IsAbsolute(const char *path)
{
    return path[0] == '/';
}

std::string MakeAbsolute(const char *path)
{
    if (IsAbsolute(path) || path[0] == 0)
        return path;
    // The current folder may itself be longer than a path buffer: the
    // system sizes it.
    std::unique_ptr<char, void (*)(void *)> folder(getcwd(nullptr, 0), free);
    if (!folder)
        return path;
    std::string full = folder.get();
    if (full.empty() || full.back() != '/')
        full += '/';
    full += path;
    return full.size() < PathBufferSize ? full : path;
}

} // namespace kelpo
