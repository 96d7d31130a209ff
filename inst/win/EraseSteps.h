// The removal of what the script lists, shared by the uninstall and by the
// roll-back of an interrupted install.
#pragma once

namespace setup {

class Setup;
class SetupPages;

// Undoes, below the install folder of the setup context, what the script
// lists: the [Go2] Erase commands run, the shortcuts and the menu folder,
// the [Reg] Erase keys, the payload files and the [MakeDirectory] folders
// go (only empty folders, and never a folder that is not the product's
// own). Opens its own progress page in removal mode and goes on without
// one when it cannot be made. Never tests the abort flag. Always true.
bool EraseSteps(Setup &setup, SetupPages &pages);

} // namespace setup
