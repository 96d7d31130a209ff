// The removal of what the script lists, shared by the uninstall and by the
// roll-back of an interrupted install.
#pragma once

namespace setup {

class Setup;
class SetupPages;

// Undoes, below the install folder of the setup context, what the script
// lists; opens its own progress page in removal mode. Never tests the abort
// flag. Always true.
bool EraseSteps(Setup &setup, SetupPages &pages);

} // namespace setup
