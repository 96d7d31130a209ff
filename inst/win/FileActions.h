// Copy, move and delete that ask the user when they fail: Abort (which sets
// the abort flag), Retry or Ignore. A path that does not fit a path buffer
// fails like any other attempt: nothing runs on it.
#pragma once

#include <string>

namespace setup {

class Setup;

// Copies source over target; asks with text 119 and the source path.
bool CopyWithRetry(Setup &setup, const std::string &source, const std::string &target);
// Deletes an existing target, then moves source there, on every attempt;
// asks with text 119 and the source path.
bool MoveWithRetry(Setup &setup, const std::string &source, const std::string &target);
// Deletes a file; asks with text 121 and the path.
bool DeleteWithRetry(Setup &setup, const std::string &path);

} // namespace setup
