// A host for the core's tests: real files through the POSIX host, with
// failures injected on request (a create, a write, a lookup that fails), a
// count of what was asked, a threshold setting of the test's choosing and,
// optionally, Windows-style paths mapped onto a folder of the test's own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host.h"

namespace corvex::test {

class TestHost : public Host {
public:
    // root empty: POSIX paths as they are. Otherwise Windows paths: "X:\a\b"
    // lives at root/X/a/b and "\\server\share\a" at root/UNC/server/share/a.
    explicit TestHost(std::string windowsRoot = "");

    bool codePage932 = false; // double-byte text in code page 932 whatever the locale
    std::string setting;      // the threshold setting's text
    bool settingMissing = true;
    std::function<bool(const std::string &)> createFails; // creating these fails
    int failWriteAt = -1;         // the n-th Write fails
    bool failReadsAfterCreate = false; // every read fails once an output exists
    // Another program cuts the input: before read number cutAtRead (from 0)
    // the file is truncated to cutTo bytes.
    int cutAtRead = -1;
    uint64_t cutTo = 0;
    std::function<bool(const std::string &)> removeFails; // removing these fails
    std::vector<std::string> removed;                    // files removed, as asked
    std::function<bool(const std::string &)> attributesError; // Attributes fails for these
    // Reported as existing files, to lookups and to creation alike.
    std::function<bool(const std::string &)> attributesTaken;
    int createOutputs = 0, createNewOutputs = 0, writes = 0, reads = 0, attributeLookups = 0, pumps = 0;
    std::vector<size_t> writeSizes;
    bool failSetTime = false;     // setting a file's time fails
    int timesSet = 0;             // the times set, failed or not
    std::vector<std::string> foldersCreated;

    std::string Map(const char *path) const; // the real path behind a host path

    PathStyle Style() const override;
    bool IsLeadByte(unsigned char b) const override;
    std::unique_ptr<InputFile> OpenInput(const char *path) override;
    EntryInfo FindEntry(const char *path) override;
    EntryInfo Attributes(const char *path) override;
    std::unique_ptr<FolderEnumeration> EnumerateFolder(const char *pattern) override;
    bool SameFolder(const char *a, const char *b) override;
    bool CreateFolder(const char *path) override;
    std::unique_ptr<OutputFile> CreateOutput(const char *path) override;
    std::unique_ptr<OutputFile> CreateNewOutput(const char *path, bool &exists) override;
    bool RemoveFile(const char *path) override;
    bool PumpOneMessage() override;
    void ReadThresholdSetting(char *buffer, size_t size) override;
    uint32_t TickMs() override;

private:
    std::string root_;
    Host &real_;
};

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string &path() const { return path_; }
    std::string operator/(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void WriteFile(const std::string &path, const std::string &bytes);
std::string ReadFile(const std::string &path);
bool Exists(const std::string &path);
// Names in a folder, sorted.
std::vector<std::string> List(const std::string &folder);
void MakeDirs(const std::string &path);

} // namespace corvex::test
