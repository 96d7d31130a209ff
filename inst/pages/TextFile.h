// Text files shown in the pages' read-only boxes (the licence, the readme).
#pragma once

#include <string>

namespace setup {

class Setup;

// The whole file as the text of a multi-line box, decoded from the code
// page it is written in (GuessTextEncoding): a Japanese text reads right on
// a Western system and the other way round. Lone line feeds become line
// breaks the box shows, and zero characters (which would end the box's
// text) become blanks. "" when the file is missing, unreadable or larger
// than a box should hold.
std::wstring TextForBox(const std::string &path);

// The file that a page in the run's language shows for a script key. The
// English pages take the key named with "_English" after it when it names a
// file that exists; otherwise, as the Japanese pages always do, they take
// the key itself (def when it is missing), so that a script written before
// there were English texts works as it did. The value is expanded with root
// as the root folder.
struct ShownFile {
    bool named = false; // a key names a file
    std::string path;   // "" when the value cannot be expanded
};
ShownFile FileForLanguage(const Setup &setup, const std::string &section, const std::string &key,
                          const std::string &def, const std::string &root);

} // namespace setup
