// The host layer over POSIX: paths begin with "/", exclusive reading is an
// advisory lock, there is no message queue, the threshold setting comes from
// the environment, and double-byte text follows the caller's locale.
#include "host.h"

#include "Cp932.h"

#include <dirent.h>
#include <fcntl.h>
#include <langinfo.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace corvex {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

class PosixInput : public InputFile {
public:
    PosixInput(int fd, uint64_t size) : fd_(fd), size_(size) {}
    uint64_t Size() const override { return size_; }
    int64_t ReadAt(uint64_t offset, void *buffer, size_t count) override {
        size_t done = 0;
        while (done < count) {
            ssize_t n = ::pread(fd_.get(), static_cast<char *>(buffer) + done, count - done,
                                off_t(offset + done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return -1;
            }
            if (n == 0)
                break;
            done += size_t(n);
        }
        return int64_t(done);
    }

private:
    Descriptor fd_;
    uint64_t size_;
};

class PosixOutput : public OutputFile {
public:
    explicit PosixOutput(int fd) : fd_(fd) {}
    bool Write(const void *data, size_t count) override {
        const char *p = static_cast<const char *>(data);
        while (count) {
            ssize_t n = ::write(fd_.get(), p, count);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            p += n;
            count -= size_t(n);
        }
        return true;
    }
    bool SetTime(int64_t utcSeconds) override {
        // The access time is the reader's business; only the modification time says
        // when the message was written.
        struct timespec times[2];
        times[0].tv_sec = 0;
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = time_t(utcSeconds);
        times[1].tv_nsec = 0;
        return ::futimens(fd_.get(), times) == 0;
    }

private:
    Descriptor fd_;
};

class PosixEnumeration : public FolderEnumeration {
public:
    explicit PosixEnumeration(DIR *dir) : dir_(dir) {}
    ~PosixEnumeration() override { ::closedir(dir_); }
    bool Next(FolderEntry &entry) override {
        for (;;) {
            errno = 0;
            dirent *d = ::readdir(dir_);
            if (!d)
                return false;
            size_t length = std::strlen(d->d_name);
            if (length >= sizeof entry.name)
                continue;
            std::memcpy(entry.name, d->d_name, length + 1);
            struct stat st;
            entry.link = d->d_type == DT_LNK ||
                         (d->d_type == DT_UNKNOWN &&
                          ::fstatat(::dirfd(dir_), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                          S_ISLNK(st.st_mode));
            if (::fstatat(::dirfd(dir_), d->d_name, &st, 0) == 0) {
                entry.folder = S_ISDIR(st.st_mode);
                entry.size = entry.folder ? 0 : uint64_t(st.st_size);
            } else {
                entry.folder = false; // a dangling link: opening it will fail
                entry.size = 0;
            }
            return true;
        }
    }

private:
    DIR *dir_;
};

bool LocaleIsShiftJis() {
    const char *codeset = ::nl_langinfo(CODESET);
    if (!codeset)
        return false;
    for (const char *name : {"SJIS", "SHIFT_JIS", "SHIFT-JIS", "CP932", "WINDOWS-31J", "MS_KANJI"})
        if (::strcasecmp(codeset, name) == 0)
            return true;
    return false;
}

EntryInfo Stat(const char *path) {
    struct stat st;
    EntryInfo info;
    if (::stat(path, &st) != 0) {
        info.kind = (errno == ENOENT || errno == ENOTDIR) ? EntryKind::Missing : EntryKind::Error;
        return info;
    }
    info.kind = S_ISDIR(st.st_mode) ? EntryKind::Folder : EntryKind::File;
    info.size = info.kind == EntryKind::File ? uint64_t(st.st_size) : 0;
    return info;
}

class PosixHost : public Host {
public:
    PathStyle Style() const override { return PathStyle::Posix; }

    // Paths and text are in the encoding of the caller's locale: Shift-JIS
    // lead bytes under a Shift-JIS locale only. In UTF-8 (what Japanese Linux
    // systems use) and the other encodings no byte of a multi-byte character
    // is "/", so a path is walked byte by byte there.
    bool IsLeadByte(unsigned char b) const override {
        return LocaleIsShiftJis() && quillbox::IsShiftJisLeadByte(b);
    }

    std::unique_ptr<InputFile> OpenInput(const char *path) override {
        // Non-blocking, so that a FIFO in a folder cannot hang the call.
        Descriptor fd(::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (fd.get() < 0)
            return nullptr;
        struct stat st;
        if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
            return nullptr;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            return nullptr;
        const uint64_t size = uint64_t(st.st_size);
        return std::unique_ptr<InputFile>(new PosixInput(fd.release(), size));
    }

    EntryInfo FindEntry(const char *path) override {
        size_t length = std::strlen(path);
        if (!length || path[length - 1] == '/')
            return EntryInfo();
        return Stat(path);
    }

    EntryInfo Attributes(const char *path) override { return Stat(path); }

    std::unique_ptr<FolderEnumeration> EnumerateFolder(const char *pattern) override {
        std::string folder(pattern);
        size_t slash = folder.rfind('/');
        folder.erase(slash == std::string::npos ? 0 : slash + 1);
        DIR *dir = ::opendir(folder.empty() ? "." : folder.c_str());
        if (!dir)
            return nullptr;
        return std::unique_ptr<FolderEnumeration>(new PosixEnumeration(dir));
    }

    bool SameFolder(const char *a, const char *b) override {
        struct stat sa, sb;
        return ::stat(a, &sa) == 0 && ::stat(b, &sb) == 0 && S_ISDIR(sa.st_mode) &&
               sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    }

    bool CreateFolder(const char *path) override { return ::mkdir(path, 0777) == 0; }

    // Other programs do not take part in advisory locks on files they write,
    // so output files are not locked.
    std::unique_ptr<OutputFile> CreateOutput(const char *path) override {
        int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0)
            return nullptr;
        return std::unique_ptr<OutputFile>(new PosixOutput(fd));
    }

    std::unique_ptr<OutputFile> CreateNewOutput(const char *path, bool &exists) override {
        int fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        exists = fd < 0 && errno == EEXIST;
        if (fd < 0)
            return nullptr;
        return std::unique_ptr<OutputFile>(new PosixOutput(fd));
    }

    bool RemoveFile(const char *path) override { return ::unlink(path) == 0; }

    bool PumpOneMessage() override { return false; }
    bool HasMessageQueue() const override { return false; }

    void ReadThresholdSetting(char *buffer, size_t size) override {
        buffer[0] = 0;
        const char *value = std::getenv("CORVEX_CRITERIA_KEYWORD_COUNT");
        if (!value)
            return;
        size_t length = std::strlen(value);
        // Read as the registry value is: whatever does not fit reads as missing.
        if (length + 1 <= size - 1)
            std::memcpy(buffer, value, length + 1);
    }

    uint32_t TickMs() override {
        struct timespec ts;
        ::clock_gettime(CLOCK_MONOTONIC, &ts);
        return uint32_t(uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u);
    }
};

} // namespace

Host &PlatformHost() {
    static PosixHost host;
    return host;
}

} // namespace corvex
