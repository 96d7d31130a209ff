// Reference for extraction: the least work that turns an mbox into one file
// per message. Reads the whole file, cuts it before every line that begins
// "From ", and writes each piece with one open, one write and one close.
// Prints the number of pieces and the milliseconds spent inside the process.
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "split_records.h"

namespace {

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) close(fd_);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return fd_; }
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

private:
    int fd_;
};

bool ReadAll(const char *path, std::vector<char> &data) {
    Fd in(open(path, O_RDONLY));
    struct stat st {};
    if (in.get() < 0 || fstat(in.get(), &st) != 0) return false;
    data.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = read(in.get(), data.data() + done, data.size() - done);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool WriteOne(const char *path, const char *data, size_t size) {
    Fd out(open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644));
    if (out.get() < 0) return false;
    if (write(out.get(), data, size) != static_cast<ssize_t>(size)) return false;
    return out.Close();
}

} // namespace

int main(int argc, char **argv) {
    return SplitMain(argc, argv, '/', ReadAll, WriteOne, NowMs,
                     [](const char *folder) { mkdir(folder, 0755); },
                     [](const char *path) { std::perror(path); });
}
