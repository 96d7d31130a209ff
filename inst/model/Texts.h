// The installer's texts: pairs in the string table, English under the odd
// id and Japanese under the next one, chosen once per run by the system's
// default locale.
#pragma once

#include <string>
#include <vector>

namespace setup {

// English ids; the Japanese text of each is id + 1.
enum TextId : unsigned {
    TextBrowserTooOld = 101,
    TextFatalError = 103,
    TextSetup = 105,
    TextConfirmExit = 107,
    TextOldVersionFound = 109,
    TextConfirmRemove = 111,
    TextCreateFolder = 113,
    TextFolderNotCreated = 115,
    TextNotAdministrator = 117,
    TextCopyFailed = 119,
    TextDeleteFailed = 121,
    TextCommandFailed = 123,
    TextNotFromTemp = 125,
    TextVersionRefused = 127,
    TextOrLater = 129,
    TextFolderRefused = 131,
};

constexpr unsigned long kJapaneseLocale = 0x0411;

// The id of a text in the language of the given system locale.
inline unsigned LocalisedTextId(unsigned englishId, unsigned long locale) {
    return locale == kJapaneseLocale ? englishId + 1 : englishId;
}

// Fills the placeholders of a text: each "%s" and "%d" takes the next of
// args (numbers already written out), "%%" is one "%". Any length; the
// arguments are inserted as they are and not looked at again.
std::string FormatText(const std::string &pattern, const std::vector<std::string> &args);

} // namespace setup
