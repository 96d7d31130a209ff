// The install proper, run behind the progress page.
#pragma once

namespace setup {

class ProgressPage;
class Setup;

// Makes the folders, deletes the old files, registers the uninstaller,
// copies the script and the program into the install folder, moves the
// payload into place, writes the registry values, makes the shortcuts and
// runs the commands, moving the bar and looking at the abort flag between
// them. False as soon as it finds the abort flag set; true when every step ran.
bool InstallSteps(Setup &setup, ProgressPage &page);

} // namespace setup
