#include "TestHost.h"

#include <dirent.h>
#include <unistd.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace corvex::test {

namespace {

class CountingInput : public InputFile {
public:
    CountingInput(std::unique_ptr<InputFile> real, TestHost &host, std::string path)
        : real_(std::move(real)), host_(host), path_(std::move(path)) {}
    uint64_t Size() const override { return real_->Size(); }
    int64_t ReadAt(uint64_t offset, void *buffer, size_t count) override {
        if (host_.reads++ == host_.cutAtRead && ::truncate(path_.c_str(), off_t(host_.cutTo)) != 0)
            return -1;
        if (host_.failReadsAfterCreate && host_.createOutputs + host_.createNewOutputs > 0)
            return -1;
        return real_->ReadAt(offset, buffer, count);
    }

private:
    std::unique_ptr<InputFile> real_;
    TestHost &host_;
    std::string path_;
};

class CountingOutput : public OutputFile {
public:
    CountingOutput(std::unique_ptr<OutputFile> real, TestHost &host)
        : real_(std::move(real)), host_(host) {}
    bool Write(const void *data, size_t count) override {
        host_.writeSizes.push_back(count);
        if (host_.writes++ == host_.failWriteAt) {
            // A write that fails part-way: half of it reaches the file.
            real_->Write(data, count / 2);
            return false;
        }
        return real_->Write(data, count);
    }
    bool SetTime(int64_t utcSeconds) override {
        ++host_.timesSet;
        return !host_.failSetTime && real_->SetTime(utcSeconds);
    }

private:
    std::unique_ptr<OutputFile> real_;
    TestHost &host_;
};

// A file the host created, counted as it is written; null stays null.
std::unique_ptr<OutputFile> Counted(std::unique_ptr<OutputFile> real, TestHost &host) {
    if (!real)
        return nullptr;
    return std::unique_ptr<OutputFile>(new CountingOutput(std::move(real), host));
}

} // namespace

TestHost::TestHost(std::string windowsRoot) : root_(std::move(windowsRoot)), real_(PlatformHost()) {}

std::string TestHost::Map(const char *path) const {
    if (root_.empty())
        return path;
    std::string p(path), out = root_;
    if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
        out += "/UNC/";
        p = p.substr(2);
    } else if (p.size() >= 2 && p[1] == ':') {
        out += "/";
        out += p[0];
        p = p.substr(2);
    }
    // Every backslash that is a character of its own becomes a slash.
    for (size_t i = 0; i < p.size(); ++i) {
        if (IsLeadByte(uint8_t(p[i])) && i + 1 < p.size()) {
            out += p[i];
            out += p[++i];
        } else {
            out += p[i] == '\\' ? '/' : p[i];
        }
    }
    return out;
}

PathStyle TestHost::Style() const { return root_.empty() ? PathStyle::Posix : PathStyle::Windows; }
// Windows paths are in code page 932, as on the product's systems; POSIX
// paths follow the locale, as the real host's do.
bool TestHost::IsLeadByte(unsigned char b) const {
    if (root_.empty() && !codePage932)
        return real_.IsLeadByte(b);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::unique_ptr<InputFile> TestHost::OpenInput(const char *path) {
    const std::string mapped = Map(path);
    std::unique_ptr<InputFile> real = real_.OpenInput(mapped.c_str());
    if (!real)
        return nullptr;
    return std::unique_ptr<InputFile>(new CountingInput(std::move(real), *this, mapped));
}

EntryInfo TestHost::FindEntry(const char *path) {
    // A path that ends in a separator names no single entry; the second byte
    // of a double-byte character is no separator.
    size_t n = std::strlen(path), i = 0;
    while (i + 1 < n)
        i += IsLeadByte(uint8_t(path[i])) ? 2 : 1;
    if (!root_.empty() && i == n - 1 && path[i] == '\\')
        return EntryInfo();
    return real_.FindEntry(Map(path).c_str());
}

EntryInfo TestHost::Attributes(const char *path) {
    ++attributeLookups;
    if (attributesError && attributesError(path)) {
        EntryInfo e;
        e.kind = EntryKind::Error;
        return e;
    }
    if (attributesTaken && attributesTaken(path)) {
        EntryInfo e;
        e.kind = EntryKind::File;
        return e;
    }
    return real_.Attributes(Map(path).c_str());
}

std::unique_ptr<FolderEnumeration> TestHost::EnumerateFolder(const char *pattern) {
    return real_.EnumerateFolder(Map(pattern).c_str());
}

bool TestHost::SameFolder(const char *a, const char *b) {
    return real_.SameFolder(Map(a).c_str(), Map(b).c_str());
}

bool TestHost::CreateFolder(const char *path) {
    foldersCreated.push_back(path);
    return real_.CreateFolder(Map(path).c_str());
}

std::unique_ptr<OutputFile> TestHost::CreateOutput(const char *path) {
    ++createOutputs;
    if (createFails && createFails(path))
        return nullptr;
    return Counted(real_.CreateOutput(Map(path).c_str()), *this);
}

std::unique_ptr<OutputFile> TestHost::CreateNewOutput(const char *path, bool &exists) {
    ++createNewOutputs;
    exists = false;
    if (attributesTaken && attributesTaken(path)) {
        exists = true;
        return nullptr;
    }
    if ((createFails && createFails(path)) || (attributesError && attributesError(path)))
        return nullptr;
    return Counted(real_.CreateNewOutput(Map(path).c_str(), exists), *this);
}

bool TestHost::RemoveFile(const char *path) {
    removed.push_back(path);
    if (removeFails && removeFails(path))
        return false;
    return real_.RemoveFile(Map(path).c_str());
}

bool TestHost::PumpOneMessage() {
    ++pumps;
    return false;
}

void TestHost::ReadThresholdSetting(char *buffer, size_t size) {
    buffer[0] = 0;
    if (!settingMissing && setting.size() + 1 <= size - 1)
        std::memcpy(buffer, setting.c_str(), setting.size() + 1);
}

uint32_t TestHost::TickMs() { return real_.TickMs(); }

TempDir::TempDir() {
    char tmpl[] = "/tmp/corvex-test-XXXXXX";
    path_ = ::mkdtemp(tmpl);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string &path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

std::vector<std::string> List(const std::string &folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (auto &e : std::filesystem::directory_iterator(folder, ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void MakeDirs(const std::string &path) { std::filesystem::create_directories(path); }

} // namespace corvex::test
