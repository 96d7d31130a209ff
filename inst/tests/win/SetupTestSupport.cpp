#include "SetupTestSupport.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "Handles.h"
#include "SystemFolders.h"
#include "UninstallEntry.h"

namespace setup::test {

TestPlatform::TestPlatform(std::string path)
    : Win32Platform(SetupTexts()), modulePath(std::move(path)) {}

std::string TestPlatform::ModulePath() const {
    return modulePath.empty() ? Win32Platform::ModulePath() : modulePath;
}

std::string SetupExePath() {
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, sizeof own);
    std::string path = own;
    return path.substr(0, path.rfind('\\') + 1) + "setup.exe";
}

HMODULE SetupTexts() {
    static const HMODULE module =
        LoadLibraryExA(SetupExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

std::string Ansi(const std::string &utf8) {
    const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(wide, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &text[0], wide);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string ansi(bytes, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wide, &ansi[0], bytes, nullptr, nullptr);
    return ansi;
}

std::string TableText(const Setup &setup, unsigned id, const std::vector<std::string> &args) {
    return FormatText(setup.Text(id), args);
}

Answer RecordingUi::Show(MessageKind kind, const std::string &text, const std::string &caption,
                         OwnerWindow owner) {
    shown.push_back(Shown{kind, text, caption, owner});
    if (onShow)
        onShow(shown.back());
    if (shown.size() <= answers.size())
        return answers[shown.size() - 1];
    switch (kind) {
    case MessageKind::RetryError:
        return Answer::Ignore;
    case MessageKind::Question:
    case MessageKind::QuestionYesFirst:
        return Answer::No;
    case MessageKind::Error:
        break;
    }
    return Answer::Ok;
}

std::vector<std::string> RecordingUi::Texts() const {
    std::vector<std::string> texts;
    for (const Shown &s : shown)
        texts.push_back(s.text);
    return texts;
}

void RecordingProgress::SetPosition(int percent) {
    if (mode_ == PageMode::Removal) {
        pages_.removalPositions.push_back(percent);
        return;
    }
    pages_.positions.push_back(percent);
    if (pages_.onPosition)
        pages_.onPosition(percent);
}

void RecordingProgress::Close() { pages_.log.push_back("close"); }

int RecordingPages::ShowLicence() {
    log.push_back("licence");
    const size_t i = std::min(licenceShown_++, licenceButtons.size() - 1);
    return licenceButtons[i];
}

int RecordingPages::ShowFolder() {
    log.push_back("folder");
    if (!folderChosen.empty())
        ctx_.installFolder = folderChosen;
    const size_t i = std::min(folderShown_++, folderButtons.size() - 1);
    // Install makes the folder when it is missing, as the folder page does.
    if (folderButtons[i] == PageNext && !folderChosen.empty())
        SHCreateDirectoryExA(nullptr, folderChosen.c_str(), nullptr);
    return folderButtons[i];
}

std::unique_ptr<ProgressPage> RecordingPages::OpenProgress(PageMode mode) {
    log.push_back(mode == PageMode::Install ? "progress:install" : "progress:removal");
    if (progressFails)
        return nullptr;
    return std::unique_ptr<ProgressPage>(new RecordingProgress(*this, mode));
}

void RecordingPages::ShowFinish(PageMode mode) {
    log.push_back(mode == PageMode::Install ? "finish:install" : "finish:removal");
}

std::string ReadRegistry(HKEY root, const std::string &key, const std::string &name,
                         bool *present) {
    if (present)
        *present = false;
    RegistryKey k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, k.out()) != ERROR_SUCCESS)
        return std::string();
    char value[4096] = {};
    DWORD size = sizeof value - 1, type = 0;
    if (RegQueryValueExA(k.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(value),
                         &size) != ERROR_SUCCESS)
        return std::string();
    if (present)
        *present = type == REG_SZ;
    return value;
}

bool KeyExists(HKEY root, const std::string &key) {
    RegistryKey k;
    return RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, k.out()) == ERROR_SUCCESS;
}

bool WriteRegistry(HKEY root, const std::string &key, const std::string &name,
                   const std::string &value) {
    RegistryKey k;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.out(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(k.get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE *>(value.c_str()),
                          DWORD(value.size() + 1)) == ERROR_SUCCESS;
}

void RemoveKey(HKEY root, const std::string &key) {
    if (!key.empty())
        SHDeleteKeyA(root, key.c_str());
}

LinkData ReadLink(const std::string &path) {
    LinkData data;
    ComApartment apartment;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.out())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.out())))
        return data;
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (FAILED(file->Load(wide, STGM_READ)))
        return data;
    char text[1024] = {};
    link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    data.target = text;
    link->GetArguments(text, sizeof text);
    data.arguments = text;
    link->GetDescription(text, sizeof text);
    data.description = text;
    link->GetIconLocation(text, sizeof text, &data.iconIndex);
    data.icon = text;
    return data;
}

bool WaitFor(const std::function<bool()> &condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
}

std::string TestName(const std::string &what) {
    static unsigned serial = 0;
    return "QuillboxTest-" + what + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++serial);
}

Package::Package() {
    folder = base / "pkg";
    installFolder = base / "Quillbox Test";
    registryName = TestName("entry");
    menuName = TestName("menu");
    testKey = "Software\\" + TestName("key");
    EXPECT_TRUE(MakeFolder(folder));
    EXPECT_TRUE(CopyFileA(SetupExePath().c_str(), (folder + "\\setup.exe").c_str(), FALSE));
    platform.modulePath = folder + "\\setup.exe";
}

Package::~Package() {
    RemoveKey(HKEY_LOCAL_MACHINE, UninstallKey(CodePage(platform), registryName));
    RemoveKey(HKEY_CURRENT_USER, testKey);
    RemoveTree(ProgramsMenuFolder(platform) + "\\" + menuName);
}

void Package::WriteScript(const std::string &text) {
    EXPECT_TRUE(WriteBytes(folder + "\\setup.ini", text));
}

void Package::AddPayload(const std::string &name, const std::string &bytes) {
    EXPECT_TRUE(WriteBytes(folder + "\\" + name, bytes));
}

SetupContext Package::Context() const {
    SetupContext ctx;
    FillSetupContext(ctx, platform);
    ctx.installFolder = installFolder;
    return ctx;
}

void PackageRun::Begin(const SetupContext &record) {
    ctx = record;
    setup.reset(new setup::Setup(ctx, pkg.platform, ui));
    pages.reset(new RecordingPages(ctx));
}

namespace {

struct DialogSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    DialogSearch &search = *reinterpret_cast<DialogSearch *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char kind[16] = {};
    GetClassNameA(window, kind, sizeof kind);
    if (owner == search.process && IsWindowVisible(window) && std::string(kind) == "#32770") {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

ProgramRun RunAnsweringOneBox(const std::string &commandLine, int answer) {
    ProgramRun run;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return run;
    run.started = true;
    KernelHandle process(info.hProcess), thread(info.hThread);
    DialogSearch search{info.dwProcessId, nullptr};
    run.boxShown = WaitFor([&] {
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr ||
               WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
    }) && search.found;
    if (run.boxShown) {
        char text[4096] = {};
        GetWindowTextA(search.found, text, sizeof text);
        run.caption = text;
        // A message box keeps its text in the static control 0xFFFF.
        GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
        run.text = text;
        PostMessageA(search.found, WM_COMMAND, answer, 0);
    }
    if (WaitForSingleObject(process.get(), 20000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.get(), &run.exitCode);
    else
        TerminateProcess(process.get(), 99);
    return run;
}

} // namespace setup::test
