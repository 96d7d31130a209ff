// Win32 reference for extraction: reads the whole mbox, cuts it before every
// line that begins "From ", and writes each piece with CreateFileA, one
// WriteFile and CloseHandle. Prints the number of pieces and the milliseconds
// spent inside the process (so that Wine's start-up is not counted).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "split_records.h"

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    HANDLE get() const { return h_; }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return CloseHandle(h) != 0;
    }

private:
    HANDLE h_;
};

double NowMs() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return t.QuadPart * 1e3 / f.QuadPart;
}

bool ReadAll(const char *path, std::vector<char> &data) {
    Handle in(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!in.ok() || !GetFileSizeEx(in.get(), &size)) return false;
    data.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < data.size()) {
        DWORD chunk = static_cast<DWORD>(data.size() - done > (1u << 30) ? (1u << 30) : data.size() - done);
        DWORD got = 0;
        if (!ReadFile(in.get(), data.data() + done, chunk, &got, nullptr) || got == 0) return false;
        done += got;
    }
    return true;
}

bool WriteOne(const char *path, const char *data, size_t size) {
    Handle out(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.ok()) return false;
    DWORD written = 0;
    if (!WriteFile(out.get(), data, static_cast<DWORD>(size), &written, nullptr) || written != size) return false;
    return out.Close();
}

} // namespace

int main(int argc, char **argv) {
    return SplitMain(argc, argv, '\\', ReadAll, WriteOne, NowMs,
                     [](const char *folder) { CreateDirectoryA(folder, nullptr); },
                     [](const char *path) { std::fprintf(stderr, "cannot read %s (error %lu)\n", path, GetLastError()); });
}
