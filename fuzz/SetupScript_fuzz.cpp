// libFuzzer target over the installer's script reader: the input is a
// setup.ini (its first byte chooses the code page) read through the system
// seam's test double, whose [Fuzz] section also sets the system's folders;
// every value the installer reads is run through the path macros, the
// registry entries, the command split and the path functions.
// Checked, beside the sanitizers: every expanded path either fits its 260
// bytes or is refused; the parts of a registry entry and of a command entry
// are the text they were cut from; every offset a path function gives lies
// on a character boundary inside its text; no path part holds a separator.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CommandEntry.h"
#include "ExpandPathMacros.h"
#include "FakePlatform.h"
#include "InstallTarget.h"
#include "PathText.h"
#include "RegistrySpec.h"
#include "Script.h"
#include "Setup.h"
#include "ShortcutFolder.h"

namespace {

using namespace setup;

void Check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

class QuietUi : public SetupUi {
public:
    Answer Show(MessageKind, const std::string &, const std::string &, OwnerWindow) override {
        return Answer::No;
    }
};

// Whether offset starts a character of text (walking from its start).
bool OnBoundary(const CodePage &cp, const std::string &text, size_t offset) {
    size_t i = 0;
    while (i < offset)
        i += cp.CharLength(text, i);
    return i == offset;
}

void CheckPathFunctions(const CodePage &cp, const std::string &path) {
    const size_t last = FindLastSeparator(cp, path);
    if (last != std::string::npos)
        Check(last < path.size() && path[last] == kSeparator && OnBoundary(cp, path, last),
              "last separator on a character boundary");
    for (size_t at = FindChar(cp, path, kSeparator); at != std::string::npos;
         at = FindChar(cp, path, kSeparator, at + 1))
        Check(path[at] == kSeparator && OnBoundary(cp, path, at), "separator on a character boundary");
    const std::string folder = FolderPart(cp, path), name = FileNamePart(cp, path);
    Check(folder.size() <= path.size() && name.size() <= path.size(), "parts within the path");
    Check(FindChar(cp, name, kSeparator) == std::string::npos, "a file name holds no separator");
    for (const std::string &part : PathComponents(cp, path))
        Check(!part.empty() && FindChar(cp, part, kSeparator) == std::string::npos,
              "components hold no separator");
    const std::string stripped = StripTrailingSeparators(cp, path);
    Check(stripped.size() <= path.size() && !EndsWithSeparator(cp, stripped),
          "trailing separators stripped");
    const std::string joined = JoinPath(cp, path, name);
    Check(joined.size() >= path.size() + name.size(), "a join keeps both parts");
    Check(EqualNoCase(cp, path, path) && StartsWithNoCase(cp, path, folder),
          "a path begins with its folder part, compared without regard to case");
    HasDotComponent(cp, path);
    IsRootPath(cp, path);
    IsAbsolutePath(path);
    WithLinkExtension(cp, path);
}

void CheckPathValue(const Setup &setup, std::string value) {
    std::string expanded = value;
    const bool fits = ExpandPathValue(expanded, setup.ctx.installFolder, setup.platform);
    Check(fits == FitsPathBuffer(expanded), "a path either fits its buffer or is refused");
    if (fits)
        Check(expanded.size() < kPathBufferSize, "an accepted path fits 260 bytes");
    CheckPathFunctions(setup.cp, expanded);
    CheckPathFunctions(setup.cp, value);
}

void CheckRegistrySpec(const CodePage &cp, const std::string &text) {
    const RegistrySpec parsed = ParseRegistrySpec(cp, text);
    Check(parsed.keyPath.size() + parsed.name.size() + parsed.data.size() <= text.size(),
          "registry entry parts within the text");
    if (!parsed.data.empty())
        Check(text.size() >= parsed.data.size() &&
                  text.compare(text.size() - parsed.data.size(), parsed.data.size(), parsed.data) == 0,
              "registry data is the tail of the entry");
    if (!parsed.keyPath.empty())
        Check(text.find(parsed.keyPath) != std::string::npos, "registry key path is in the entry");
    IsProtectedRegistryKey(cp, parsed.root, parsed.keyPath);
}

void CheckCommand(const CodePage &cp, const std::string &entry) {
    const CommandEntry parts = SplitCommandEntry(cp, entry);
    std::string again = parts.subject;
    if (entry.size() > parts.subject.size())
        again += ";" + parts.action;
    if (entry.size() > parts.subject.size() + 1 + parts.action.size())
        again += ";" + parts.argument;
    Check(again == entry, "a command entry is its three parts joined by ';'");
    Check(FindChar(cp, parts.subject, ';') == std::string::npos &&
              FindChar(cp, parts.action, ';') == std::string::npos,
          "subject and action hold no ';'");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1)
        return 0;
    test::FakePlatform platform;
    platform.shiftJis = data[0] & 1;
    platform.locale = data[0] & 2 ? 0x0411 : 0x0409;
    platform.SetScript(std::string(reinterpret_cast<const char *>(data) + 1, size - 1));
    const std::string script = platform.modulePath.substr(0, platform.modulePath.rfind('\\')) +
                               "\\setup.ini";
    // The system's folders, as the script under test would have them.
    auto fuzzed = [&](const char *key, std::string &into) {
        std::string value = platform.ProfileString(script, "Fuzz", key, "\x01");
        if (value != "\x01")
            into = value;
    };
    fuzzed("Windows", platform.windowsFolder);
    fuzzed("System", platform.systemFolder);
    fuzzed("Temp", platform.tempFolder);
    std::string programs, desktop;
    fuzzed("Programs", programs);
    fuzzed("Desktop", desktop);
    if (!programs.empty())
        platform.SetRegistry(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion",
                             "ProgramFilesDir", programs);
    if (!desktop.empty())
        platform.SetRegistry(RootKey::CurrentUser,
                             "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                             "Desktop", desktop);

    SetupContext ctx;
    FillSetupContext(ctx, platform);
    QuietUi ui;
    const Setup setup(ctx, platform, ui);
    const Script reader = setup.script();

    CheckPathValue(setup, reader.Value("Root", "Name"));
    IsAcceptableInstallFolder(setup, ctx.installFolder);
    CheckInstallTarget(setup);
    CheckRemovalTarget(setup);
    std::string menu = reader.Value("Menu", "Name");
    ShortcutFolder(setup, menu);

    auto paths = [&](const char *section, int first) {
        reader.ForEach(section, "", first, [&](int, const std::string &value) {
            CheckPathValue(setup, value);
            return true;
        });
    };
    paths("MakeDirectory", 1);
    paths("Del", 0);
    paths("CopyFile", 0);
    for (const char *prefix : {"Make", "Erase"}) {
        reader.ForEach("Reg", prefix, 0, [&](int, const std::string &value) {
            CheckRegistrySpec(setup.cp, value);
            return true;
        });
        reader.ForEach("Go2", prefix, 0, [&](int, const std::string &value) {
            CheckCommand(setup.cp, value);
            const CommandEntry parts = SplitCommandEntry(setup.cp, value);
            CheckPathValue(setup, parts.subject);
            CheckRegistrySpec(setup.cp, parts.argument);
            return true;
        });
    }
    for (int n = 0; n < 4; ++n) {
        const std::string section = "Menu" + std::to_string(n);
        for (const char *key : {"Name", "Path", "Icon"})
            CheckPathValue(setup, reader.Value(section, key));
        reader.Integer(section, "IconNo", "0");
    }
    CheckPathValue(setup, reader.Value("Finish", "Readme"));
    return 0;
}
