#include "Script.h"

#include <climits>

#include "SetupPlatform.h"

namespace setup {

int ParseDecimalInteger(const std::string &text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' ||
                               text[i] == '\n' || text[i] == '\v' || text[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

std::string Script::Value(const std::string &section, const std::string &key,
                          const std::string &def) const {
    return platform_.ProfileString(path_, section, key, def);
}

int Script::Integer(const std::string &section, const std::string &key,
                    const std::string &def) const {
    return ParseDecimalInteger(Value(section, key, def));
}

int Script::ForEach(const std::string &section, const std::string &prefix, int first,
                    const Visitor &visit) const {
    int visited = 0;
    for (int index = first;; ++index) {
        const std::string value = Value(section, prefix + std::to_string(index));
        if (value.empty())
            return visited;
        ++visited;
        if (!visit(index, value))
            return visited;
    }
}

int Script::Count(const std::string &section, const std::string &prefix, int first) const {
    return ForEach(section, prefix, first, [](int, const std::string &) { return true; });
}

} // namespace setup
