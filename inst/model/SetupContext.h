// The installer's one record of start-up values, read by every part of it.
#pragma once

#include <string>

#include "SetupPlatform.h"

namespace setup {

// The error code of a refused or failed run; each selects its text.
enum SetupError : int {
    ErrorFatal = 0,        // text 103
    ErrorBrowserTooOld = 1, // text 101
    ErrorNotAdministrator = 2, // text 117
    ErrorNotFromTemp = 3,  // text 125
    ErrorVersionRefused = 4, // text 127
};

struct SetupContext {
    std::string modulePath;  // full path of the running program
    std::string setupFolder; // modulePath cut at its last separator
    std::string scriptPath;  // setupFolder joined with "setup.ini"
    bool licenceAccepted = false;
    unsigned long language = 0; // the system default locale id
    OsVersion os;
    std::string browserVersion; // "" when no browser is registered
    std::string productName;    // [Setup] Name
    std::string caption;        // title of every message box and page
    std::string installFolder;  // [Root] Name expanded; later the folder chosen
    int errorCode = ErrorFatal;
    bool abortFlag = false;
    // The banner bitmap is a resource of the pages, which prepare and release it.
};

// Fills every field, in the order listed, from the running program, the
// system and the script beside the program.
void FillSetupContext(SetupContext &ctx, const SetupPlatform &platform);

} // namespace setup
