// The removal in its two stages, each a process of its own: the installed
// program ("-u") removes what the script lists and starts a temporary copy
// of itself ("-f"), which removes the entry, the installed program and the
// install folder, shows the closing page and leaves its own deletion to
// the command interpreter.
#pragma once

#include <windows.h>

#include <string>

namespace setup {

class Setup;
class SetupPages;
class SystemChecks;

// The first stage. 1 when the second stage was started; 0 when the removal
// was refused or declined (nothing changed) or the second stage could not
// be started (the uninstall entry, the installed program and its script
// stay, so that the entry can finish the removal later).
int RemovalFirstStage(Setup &setup, SetupPages &pages, const SystemChecks &checks);

// The second stage: 1, or 0 when it was refused with nothing changed (not
// started from the temporary folder, or the entry names no folder of the
// product's own).
int RemovalSecondStage(Setup &setup, SetupPages &pages, const SystemChecks &checks);

// How long the second stage tries to delete the installed program, which
// the first stage holds until its process has ended.
constexpr DWORD kReleaseWaitMs = 30000;

// Deletes a file that another process may still hold: tries again, with
// the thread's messages dispatched in between, until the file is gone or
// timeoutMs have passed. True when the file is gone.
bool DeleteWhenReleased(const std::string &path, DWORD timeoutMs);

} // namespace setup
