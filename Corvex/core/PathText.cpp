#include "PathText.h"

#include <cstring>

namespace corvex {

bool IsAcceptablePath(const CallContext &ctx, const char *path) {
    if (!path)
        return false;
    if (ctx.style() == PathStyle::Posix)
        return path[0] == '/';
    if (path[0] == '\\' && path[1] == '\\')
        return true;
    return path[0] && !ctx.IsLead(uint8_t(path[0])) && path[1] == ':' && path[2] == '\\';
}

bool IsTrailByteAt(const CallContext &ctx, const char *text, size_t n) {
    return ctx.leadBytes().IsTrailByteAt(text, n);
}

bool EndsWithSeparator(const CallContext &ctx, const char *text) {
    return ctx.leadBytes().EndsWithSingleByte(text, ctx.separator());
}

size_t LengthWithoutTrailingSeparators(const CallContext &ctx, const char *path) {
    size_t length = std::strlen(path), root;
    if (ctx.style() == PathStyle::Posix)
        root = 1;
    else if (path[0] == '\\' && path[1] == '\\')
        root = 2;
    else
        root = path[0] && path[1] == ':' && path[2] == '\\' ? 3 : 0;
    auto separator = [&](char c) {
        return c == '/' || (ctx.style() == PathStyle::Windows && c == '\\');
    };
    while (length > root && separator(path[length - 1]) && !IsTrailByteAt(ctx, path, length - 1))
        --length;
    return length;
}

bool EnsureTrailingSeparator(const CallContext &ctx, char *text, size_t capacity) {
    size_t length = std::strlen(text);
    if (!length || EndsWithSeparator(ctx, text))
        return true;
    if (length + 2 > capacity)
        return false;
    text[length] = ctx.separator();
    text[length + 1] = 0;
    return true;
}

bool OutputFolderFits(const CallContext &ctx, const char *folder) {
    size_t length = std::strlen(folder) + (EndsWithSeparator(ctx, folder) ? 0 : 1);
    return length + kOutputNameLength + 1 <= kPathBuffer;
}

bool JoinPath(const CallContext &ctx, const char *text, const char *name, char *out,
              size_t capacity) {
    size_t length = std::strlen(text);
    if (length + 1 > capacity)
        return false;
    std::memcpy(out, text, length + 1);
    if (!EnsureTrailingSeparator(ctx, out, capacity))
        return false;
    size_t head = std::strlen(out), tail = std::strlen(name);
    if (head + tail + 1 > capacity)
        return false;
    std::memcpy(out + head, name, tail + 1);
    return true;
}

} // namespace corvex
