// The reference splitters' one loop: cut a whole mbox held in memory before
// every line that begins "From " and hand each piece, with its file name, to
// the platform's writer.
#pragma once

#include <cstdio>
#include <cstring>
#include <vector>

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

// The whole reference program: read the mbox, make the folder, split, and
// print the number of pieces and the milliseconds spent inside the process.
template <class Read, class Write, class Now, class MakeFolder, class ReadFailed>
int SplitMain(int argc, char **argv, char separator, Read readAll, Write write, Now now,
              MakeFolder makeFolder, ReadFailed readFailed) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MBOX OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    double start = now();
    std::vector<char> data;
    if (!readAll(argv[1], data)) {
        readFailed(argv[1]);
        return 1;
    }
    makeFolder(argv[2]);
    unsigned count = 0;
    if (!SplitRecords(data.data(), data.size(), argv[2], separator, count, write))
        return 1;
    std::printf("records=%u ms=%.3f\n", count, now() - start);
    return 0;
}
