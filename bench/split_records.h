// The reference splitters' one loop: cut a whole mbox held in memory before
// every line that begins "From " and hand each piece, with its file name, to
// the platform's writer.
#pragma once

#include <cstdio>
#include <cstring>

// write(path, data, size) returns false on failure; false stops the split.
template <class Write>
bool SplitRecords(const char *base, size_t size, const char *folder, char separator,
                  unsigned &count, Write write) {
    const char *end = base + size;
    const char *record = base;
    char path[4096];
    count = 0;
    while (record < end) {
        // The next record begins after the first "\nFrom " past this one's start.
        const char *next = end;
        for (const char *p = record; (p = static_cast<const char *>(memchr(p, '\n', end - p))) != nullptr; ++p) {
            if (end - p > 5 && std::memcmp(p + 1, "From ", 5) == 0) {
                next = p + 1;
                break;
            }
        }
        std::snprintf(path, sizeof path, "%s%c%05u.eml", folder, separator, ++count);
        if (!write(path, record, static_cast<size_t>(next - record))) {
            std::fprintf(stderr, "cannot write %s\n", path);
            return false;
        }
        record = next;
    }
    return true;
}
