#include "FakePlatform.h"

#include <cctype>

namespace setup::test {

namespace {

std::string Lower(std::string text) {
    for (char &c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string &text) {
    size_t b = text.find_first_not_of(" \t\r");
    size_t e = text.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : text.substr(b, e - b + 1);
}

std::string RegistryId(RootKey root, const std::string &key, const std::string &name) {
    return std::to_string(int(root)) + "|" + Lower(key) + "|" + Lower(name);
}

} // namespace

FakePlatform::FakePlatform() {
    SetRegistry(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion",
                "ProgramFilesDir", "C:\\Program Files");
    const char shell[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    SetRegistry(RootKey::LocalMachine, shell, "Common Programs",
                "C:\\Documents and Settings\\All Users\\Start Menu\\Programs");
    SetRegistry(RootKey::CurrentUser, shell, "Programs",
                "C:\\Documents and Settings\\user\\Start Menu\\Programs");
    SetRegistry(RootKey::CurrentUser, shell, "Desktop", "C:\\Documents and Settings\\user\\Desktop");
    SetRegistry(RootKey::LocalMachine, "Software\\Microsoft\\Internet Explorer", "Version",
                "6.0.2900.2180");
}

void FakePlatform::SetRegistry(RootKey root, const std::string &key, const std::string &name,
                               const std::string &value) {
    registry[RegistryId(root, key, name)] = value;
}

void FakePlatform::SetScript(const std::string &text) {
    files[modulePath.substr(0, modulePath.rfind('\\')) + "\\setup.ini"] = text;
}

std::string FakePlatform::ProfileString(const std::string &path, const std::string &section,
                                        const std::string &key, const std::string &def) const {
    ++profileReads;
    auto file = files.find(path);
    if (file == files.end())
        return def;
    std::string current;
    size_t start = 0;
    const std::string &text = file->second;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        std::string line = Trim(text.substr(start, end == std::string::npos ? end : end - start));
        start = end == std::string::npos ? text.size() + 1 : end + 1;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = Lower(line.substr(1, line.size() - 2));
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos || current != Lower(section))
            continue;
        if (Lower(Trim(line.substr(0, eq))) == Lower(key))
            return Trim(line.substr(eq + 1));
    }
    return def;
}

std::string FakePlatform::RegistryString(RootKey root, const std::string &keyPath,
                                         const std::string &name) const {
    auto value = registry.find(RegistryId(root, keyPath, name));
    return value == registry.end() ? std::string() : value->second;
}

std::string FakePlatform::CanonicalPath(const std::string &path) const {
    auto known = canonical.find(path);
    return known == canonical.end() ? path : known->second;
}

std::string FakePlatform::LoadText(unsigned id) const {
    auto text = TableTexts().find(id);
    return text == TableTexts().end() ? std::string() : text->second;
}

bool FakePlatform::IsLeadByte(unsigned char byte) const {
    return shiftJis && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

const std::map<unsigned, std::string> &TableTexts() {
    static const std::map<unsigned, std::string> texts = {
#define SETUP_TEXT(id, text) {id, text},
#include "SetupTexts.inc"
#undef SETUP_TEXT
    };
    return texts;
}

} // namespace setup::test
