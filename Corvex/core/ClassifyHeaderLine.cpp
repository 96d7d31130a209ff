#include "ClassifyHeaderLine.h"

#include <cstring>

#include "HeaderNameTable.h"

namespace corvex {

namespace {

inline uint8_t Lower(uint8_t c) { return (c >= 'A' && c <= 'Z') ? uint8_t(c + 32) : c; }
inline bool IsAsciiLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsNameByte(uint8_t c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '-';
}

// The longest name of the table, without its colon.
constexpr size_t kLongestName = 40;

// The table's names as whole names: lower case, without the colon (and the
// blank after it that one entry has), with what each tells.
struct NameIndex {
    struct Entry {
        char name[kLongestName + 1];
        uint8_t length;
        uint8_t weight;
        uint8_t facts;
    };
    Entry entries[kHeaderNameCount] = {};
    int count = 0;
    // The entries by first letter, whatever letter they are filed under.
    int byLetter[26][kHeaderNameCount] = {};
    int perLetter[26] = {};

    NameIndex() {
        static const char *const kSenders[] = {"from", "sender", "reply-to", "date", "to",
                                               "cc", "bcc", "message-id", "in-reply-to",
                                               "references", "subject"};
        for (int e = 0; e < kHeaderNameCount; ++e) {
            const HeaderName &h = HeaderNameTable[e];
            const char *colon = static_cast<const char *>(std::memchr(h.name, ':', h.length));
            if (!colon)
                continue; // "X-": every X- name is known anyway
            Entry &out = entries[count];
            out.length = uint8_t(colon - h.name);
            for (size_t i = 0; i < out.length; ++i)
                out.name[i] = char(Lower(uint8_t(h.name[i])));
            out.weight = h.weight;
            for (const char *s : kSenders)
                if (std::strcmp(out.name, s) == 0)
                    out.facts |= kFactSender;
            if (std::strcmp(out.name, "from") == 0)
                out.facts |= kFactFrom;
            if (std::strcmp(out.name, "date") == 0)
                out.facts |= kFactDate;
            if (std::strcmp(out.name, "mime-version") == 0)
                out.facts |= kFactMimeVersion;
            if (std::strcmp(out.name, "content-type") == 0)
                out.facts |= kFactContentType;
            const int letter = out.name[0] - 'a';
            byLetter[letter][perLetter[letter]++] = count++;
        }
    }

    const Entry *Find(const char *name, size_t length) const {
        const int letter = name[0] - 'a';
        for (int k = 0; k < perLetter[letter]; ++k) {
            const Entry &e = entries[byLetter[letter][k]];
            if (e.length == length && std::memcmp(e.name, name, length) == 0)
                return &e;
        }
        return nullptr;
    }
};
const NameIndex kNames;

} // namespace

FieldLine ClassifyHeaderLine(Reader &data, const TextLine &line) {
    FieldLine read;
    if (!line.length || !IsAsciiLetter(line.head[0]))
        return read;
    uint64_t at = 1;
    while (at < line.length && IsNameByte(line.At(data, at)))
        ++at;
    const uint64_t nameLength = at;
    while (at < line.length && (line.At(data, at) == ' ' || line.At(data, at) == '\t'))
        ++at;
    if (at >= line.length || line.At(data, at) != ':')
        return read;
    read.field = true;
    read.valueAt = at + 1;
    read.weight = 1;
    char name[kLongestName + 1] = {};
    const size_t folded = nameLength < kLongestName ? size_t(nameLength) : kLongestName;
    for (size_t i = 0; i < folded; ++i)
        name[i] = char(Lower(line.At(data, i)));
    if (nameLength <= kLongestName) {
        if (const NameIndex::Entry *e = kNames.Find(name, folded)) {
            read.known = true;
            read.weight = e->weight;
            read.facts = e->facts;
        }
    }
    if (nameLength >= 2 && name[0] == 'x' && name[1] == '-')
        read.known = true;
    if (nameLength >= 8 && std::memcmp(name, "content-", 8) == 0)
        read.facts |= kFactContent;
    if (read.known) {
        read.opensRun = true;
    } else {
        const uint8_t after = read.valueAt < line.length ? line.At(data, read.valueAt) : ' ';
        read.opensRun = after == ' ' || after == '\t';
    }
    return read;
}

} // namespace corvex
