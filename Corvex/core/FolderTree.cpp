#include "FolderTree.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "ConvertFile.h"
#include "ExtractFromPath.h"
#include "PathText.h"
#include "ResultCode.h"

namespace corvex {

namespace {

inline char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

bool EndsWithNoCase(const std::string &text, const char *suffix) {
    const size_t n = std::strlen(suffix);
    if (text.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (Lower(text[text.size() - n + i]) != suffix[i])
            return false;
    return true;
}

// The name without its last n bytes (an ASCII suffix: no byte of it can be
// the second byte of a double-byte character, since a '.' never is); kept
// whole where that would leave nothing, "." or "..", which name no folder of
// their own.
std::string WithoutSuffix(const std::string &name, size_t n) {
    std::string base = name.substr(0, name.size() - n);
    return base.empty() || base == "." || base == ".." ? name : base;
}

struct TreeEntry {
    std::string name;
    bool link;
    uint64_t size;
};

bool ByName(const TreeEntry &a, const TreeEntry &b) { return a.name < b.name; }

class TreeWalk {
public:
    TreeWalk(CallContext &ctx, const char *outputFolder, int32_t kind, CorvexByteTotal *totalBytes,
             int32_t *resultCode, ProgressCallback progress)
        : ctx_(ctx), output_(outputFolder), kind_(kind), totalBytes_(totalBytes),
          resultCode_(resultCode), progress_(progress) {}

    uint32_t count() const { return count_; }

    std::string Join(const std::string &folder, const std::string &name) const {
        if (folder.empty())
            return name;
        return EndsWithSeparator(ctx_, folder.c_str()) ? folder + name : folder + ctx_.separator() + name;
    }

    // One file of the tree, its messages into the folder target.
    void File(const std::string &path, uint64_t size, const std::string &target, bool single) {
        if (path.size() >= kPathBuffer) {
            Fail(resultCode_, ResultInputFileNotFound); // its path does not fit: not read
            return;
        }
        const char *folder = nullptr;
        if (output_) {
            if (target.size() >= kPathBuffer || !OutputFolderFits(ctx_, target.c_str())) {
                // No name of it would fit: nothing of it is read or written.
                Fail(resultCode_, ResultOutputFolderNotCreated);
                return;
            }
            if (target != currentTarget_) {
                ctx_.ResetNames();
                currentTarget_ = target;
            }
            folder = target.c_str();
        }
        AddToByteTotal(totalBytes_, size);
        int32_t code = 0;
        count_ += uint32_t(single ? ConvertSingleMessageFile(ctx_, path.c_str(), folder, &code, progress_)
                                  : ConvertFile(ctx_, path.c_str(), folder, kind_, &code, progress_));
        if (code)
            Fail(resultCode_, code);
    }

    // One folder of the tree (name: its own name, empty for the top), whose
    // mail folders go below out; parentOut is where its parent's go.
    // Files first, then subfolders, each in byte order of their names.
    void Folder(const std::string &path, const std::string &name, const std::string &out,
                const std::string &parentOut, bool maildirPart, int depth) {
        std::vector<TreeEntry> files, folders;
        if (!List(path, files, folders)) {
            if (depth > 0)
                Fail(resultCode_, ResultInputFolderNotFound);
            return;
        }
        for (const TreeEntry &file : files) {
            ctx_.Pump();
            const std::string filePath = Join(path, file.name);
            if (maildirPart)
                File(filePath, file.size, parentOut, true); // into the Maildir's own folder
            else if (IsSingleMessageName(file.name) && !IsMailFolderAfterAll(filePath, file.name, name))
                File(filePath, file.size, out, true);
            else if (depth > 0 && file.name == "mbox" && EndsWithNoCase(name, ".mbox"))
                File(filePath, file.size, Join(parentOut, WithoutSuffix(name, 5)), false);
            else
                File(filePath, file.size, Join(out, TreeFileName(file.name)), false);
        }
        std::vector<TreeEntry>().swap(files); // only the subfolders' names are kept while below
        const bool maildir = std::any_of(folders.begin(), folders.end(),
                                         [](const TreeEntry &e) { return e.name == "tmp"; });
        for (const TreeEntry &folder : folders) {
            ctx_.Pump();
            if (folder.link)
                continue; // never followed: no loops, nothing from outside the tree
            const std::string sub = Join(path, folder.name);
            if (sub.size() >= kPathBuffer || depth + 1 > kMaxTreeDepth) {
                Fail(resultCode_, ResultInputFolderNotFound);
                continue;
            }
            if (output_ && ctx_.host().SameFolder(sub.c_str(), output_))
                continue; // the output folder is never read, however it is spelled
            Folder(sub, folder.name, Join(out, TreeFolderName(folder.name)), out,
                   maildir && (folder.name == "cur" || folder.name == "new"), depth + 1);
        }
    }

private:
    // A mail program names mail folders as users do, "2019" too: a file named
    // by digits alone is a mail folder, not an MH message, in the folder of a
    // mail folder's subfolders ("X.sbd") or when it begins with an mbox
    // separator line.
    bool IsMailFolderAfterAll(const std::string &path, const std::string &name,
                              const std::string &folderName) {
        if (EndsWithNoCase(name, ".eml"))
            return false;
        if (EndsWithNoCase(folderName, ".sbd"))
            return true;
        std::unique_ptr<InputFile> input = ctx_.host().OpenInput(path.c_str());
        char head[5];
        return input && input->ReadAt(0, head, sizeof head) == int64_t(sizeof head) &&
               std::memcmp(head, "From ", sizeof head) == 0;
    }

    // The entries of a folder, sorted; false when it cannot be listed.
    bool List(const std::string &path, std::vector<TreeEntry> &files, std::vector<TreeEntry> &folders) {
        const std::string pattern = Join(path, ctx_.style() == PathStyle::Windows ? "*.*" : "*");
        if (pattern.size() >= kPathBuffer)
            return false;
        std::unique_ptr<FolderEnumeration> entries = ctx_.host().EnumerateFolder(pattern.c_str());
        if (!entries)
            return false;
        FolderEntry item;
        while (entries->Next(item)) {
            ctx_.Pump();
            if (!std::strcmp(item.name, ".") || !std::strcmp(item.name, ".."))
                continue;
            (item.folder ? folders : files).push_back({item.name, item.link, item.size});
        }
        std::sort(files.begin(), files.end(), ByName);
        std::sort(folders.begin(), folders.end(), ByName);
        return true;
    }

    CallContext &ctx_;
    const char *output_;
    int32_t kind_;
    CorvexByteTotal *totalBytes_;
    int32_t *resultCode_;
    ProgressCallback progress_;
    uint32_t count_ = 0;
    std::string currentTarget_;
};

} // namespace

std::string TreeFolderName(const std::string &name) {
    return EndsWithNoCase(name, ".sbd") ? WithoutSuffix(name, 4) : name;
}

std::string TreeFileName(const std::string &name) {
    return EndsWithNoCase(name, ".mbox") ? WithoutSuffix(name, 5) : name;
}

bool IsSingleMessageName(const std::string &name) {
    if (EndsWithNoCase(name, ".eml"))
        return true;
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int32_t ExtractTree(CallContext &ctx, const char *inputPath, bool isFile, uint64_t fileSize,
                    const char *outputFolder, int32_t kind, CorvexByteTotal *totalBytes,
                    int32_t *resultCode, ProgressCallback progress) {
    const std::string out =
        outputFolder ? std::string(outputFolder, LengthWithoutTrailingSeparators(ctx, outputFolder)) : "";
    ctx.treeOutputLength = out.size();
    TreeWalk walk(ctx, outputFolder, kind, totalBytes, resultCode, progress);
    if (isFile) {
        // The file's own name: what follows its last separator.
        size_t nameAt = 0;
        for (size_t i = 0; inputPath[i];) {
            const bool lead = ctx.IsLead(uint8_t(inputPath[i])) && inputPath[i + 1];
            if (!lead && (inputPath[i] == ctx.separator() ||
                          (ctx.style() == PathStyle::Windows && (inputPath[i] == '/' || inputPath[i] == ':'))))
                nameAt = i + 1;
            i += lead ? 2 : 1;
        }
        const std::string name = inputPath + nameAt;
        if (IsSingleMessageName(name))
            walk.File(inputPath, fileSize, out, true);
        else
            walk.File(inputPath, fileSize, walk.Join(out, TreeFileName(name)), false);
    } else {
        walk.Folder(inputPath, "", out, out, false, 0);
    }
    ctx.treeOutputLength = 0;
    return int32_t(walk.count());
}

} // namespace corvex
