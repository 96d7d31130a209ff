// An install from start to end: the checks, the pages, the steps, and the
// roll-back of an interrupted install.
#pragma once

namespace setup {

class Setup;
class SetupPages;
class SystemChecks;

// The process exit code: 1 when the install completed, 0 when it was
// refused, cancelled or interrupted.
int InstallRun(Setup &setup, SetupPages &pages, const SystemChecks &checks);

} // namespace setup
