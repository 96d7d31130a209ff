// Shared pieces of the installer's Windows tests: the real system seam with
// the program path of a test package, recorders for message boxes and
// pages, registry and wait helpers, and a package of script, program and
// payload in a folder under the prefix's temporary folder.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Setup.h"
#include "SetupPages.h"
#include "SystemChecks.h"
#include "TestFiles.h"
#include "Win32Platform.h"

namespace setup::test {

// The real system, as if the running program were modulePath; texts from
// the real setup.exe's string table.
class TestPlatform : public Win32Platform {
public:
    explicit TestPlatform(std::string modulePath = std::string());
    std::string ModulePath() const override;
    std::string modulePath;
};

// setup.exe of this build, beside the test program.
std::string SetupExePath();
// The module of setup.exe loaded as data, for its string table.
HMODULE SetupTexts();
// A UTF-8 text in the ANSI code page of the process.
std::string Ansi(const std::string &utf8);
// The text of the string table in the run's language, formatted.
std::string TableText(const Setup &setup, unsigned id, const std::vector<std::string> &args = {});

struct Shown {
    MessageKind kind;
    std::string text;
    std::string caption;
    OwnerWindow owner; // null: the desktop window
};

// Records every message box and answers it: from answers in order, then
// with Ignore (retry prompts), No (questions) or OK; onShow runs first for
// each one.
class RecordingUi : public SetupUi {
public:
    Answer Show(MessageKind kind, const std::string &text, const std::string &caption,
                OwnerWindow owner) override;
    // The texts of the boxes shown so far.
    std::vector<std::string> Texts() const;
    std::vector<Shown> shown;
    std::vector<Answer> answers;
    std::function<void(const Shown &)> onShow;
};

class RecordingPages;

class RecordingProgress : public ProgressPage {
public:
    RecordingProgress(RecordingPages &pages, PageMode mode) : pages_(pages), mode_(mode) {}
    void SetPosition(int percent) override;
    void Close() override;

private:
    RecordingPages &pages_;
    PageMode mode_;
};

// Records the pages a run opens, in order ("licence", "folder",
// "progress:install", "close", "progress:removal", "finish:install",
// "interrupted", "banner"), and the positions of the progress bar in each mode.
class RecordingPages : public SetupPages {
public:
    explicit RecordingPages(SetupContext &ctx) : ctx_(ctx) {}
    void PrepareBanner() override { log.push_back("banner"); }
    int ShowLicence() override;
    int ShowFolder() override;
    std::unique_ptr<ProgressPage> OpenProgress(PageMode mode) override;
    void ShowFinish(PageMode mode) override;
    void ShowInterrupted() override { log.push_back("interrupted"); }

    std::vector<std::string> log;
    std::vector<int> positions;        // install mode
    std::vector<int> removalPositions; // removal mode
    std::vector<int> licenceButtons{PageNext}; // answered in order, the last one repeats
    std::vector<int> folderButtons{PageNext};
    // Written into the context by the folder page when set, and made when
    // the page ends with Install.
    std::string folderChosen;
    bool progressFails = false;
    // Runs when the install bar reaches percent, before the steps pump messages.
    std::function<void(int percent)> onPosition;

private:
    SetupContext &ctx_;
    size_t licenceShown_ = 0;
    size_t folderShown_ = 0;
};

class FixedChecks : public SystemChecks {
public:
    bool admin = true;
    bool fromTemp = true;
    bool IsUserAdmin() const override { return admin; }
    bool IsRunningFromTemp() const override { return fromTemp; }
};

// Registry helpers on the test prefix's registry.
std::string ReadRegistry(HKEY root, const std::string &key, const std::string &name,
                         bool *present = nullptr);
bool KeyExists(HKEY root, const std::string &key);
bool WriteRegistry(HKEY root, const std::string &key, const std::string &name,
                   const std::string &value);
// Removes a test key with everything below it.
void RemoveKey(HKEY root, const std::string &key);

// A shortcut file read back through the shell's link object.
struct LinkData {
    std::string target, arguments, description, icon;
    int iconIndex = -1;
};
LinkData ReadLink(const std::string &path);

// Polls condition until it holds or timeoutMs pass; true when it held.
bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs = 20000);

// A unique name for this process's test keys, folders and menu entries.
std::string TestName(const std::string &what);

// A package as setup.exe finds it: a folder under the temporary folder with
// "setup.exe", "setup.ini" and payload files, an install folder beside it,
// and everything the run writes into the registry and the programs menu
// removed again at the end.
class Package {
public:
    Package();
    ~Package();
    Package(const Package &) = delete;
    Package &operator=(const Package &) = delete;

    void WriteScript(const std::string &text);
    void AddPayload(const std::string &name, const std::string &bytes);
    // The run's record, filled from the package as setup.exe would fill it.
    SetupContext Context() const;

    TempFolder base;
    std::string folder;        // the setup folder
    std::string installFolder; // a folder name with a blank in it
    std::string registryName;  // [Registry] Name, unique
    std::string menuName;      // [Menu] Name, unique
    std::string testKey;       // a key below HKEY_CURRENT_USER\Software for [Reg]
    TestPlatform platform;
};

// An install run on a package: its record, message boxes and pages.
struct PackageRun {
    Package pkg;
    SetupContext ctx;
    RecordingUi ui;
    std::unique_ptr<setup::Setup> setup;
    std::unique_ptr<RecordingPages> pages;
    // Starts afresh with record as the run's record.
    void Begin(const SetupContext &record);
};

// A run of a real program that shows one message box: the box's caption and
// text as the user sees them, the box answered with the button answer, and
// the exit code.
struct ProgramRun {
    bool started = false;
    bool boxShown = false;
    std::string caption, text;
    DWORD exitCode = STILL_ACTIVE;
};
ProgramRun RunAnsweringOneBox(const std::string &commandLine, int answer = IDOK);

} // namespace setup::test
