// Reading "setup.ini". Nothing is cached: every value is read from the file
// at the moment a step asks for it, so each step sees the script as it is then.
// Values are read in full; whether a path fits its buffer is decided where it
// is used, after expansion.
#pragma once

#include <functional>
#include <string>

namespace setup {

class SetupPlatform;

// A decimal integer as the script writes it: leading blanks and a sign are
// accepted, reading stops at the first non-digit, text without digits is 0.
// Values beyond the range of int are held at its limits.
int ParseDecimalInteger(const std::string &text);

class Script {
public:
    Script(const SetupPlatform &platform, std::string path)
        : platform_(platform), path_(std::move(path)) {}

    const std::string &Path() const { return path_; }

    // The value of key in section, or def when the key is missing.
    std::string Value(const std::string &section, const std::string &key,
                      const std::string &def = "") const;
    // The value read as a decimal integer (ParseDecimalInteger); def when missing.
    int Integer(const std::string &section, const std::string &key, const std::string &def) const;

    // A numbered list: the keys prefix+first, prefix+(first+1), ... in
    // section, each read when its turn comes, up to the first missing or
    // empty one. visit gets the index and the value and returns false to stop
    // early. Returns the number of values visited.
    using Visitor = std::function<bool(int index, const std::string &value)>;
    int ForEach(const std::string &section, const std::string &prefix, int first,
                const Visitor &visit) const;
    // The number of values such a list holds now.
    int Count(const std::string &section, const std::string &prefix, int first) const;

private:
    const SetupPlatform &platform_;
    std::string path_;
};

} // namespace setup
