#include "ClassifyHeaderLine.h"

#include <cstring>

#include "HeaderNameTable.h"

namespace corvex {

namespace {

inline uint8_t Lower(uint8_t c) { return (c >= 'A' && c <= 'Z') ? uint8_t(c + 32) : c; }

// The longest name of the table, without its colon, is shorter than this.
constexpr size_t kLongestName = 40;
constexpr size_t kNameWords = kLongestName / 8;

// The table's names as whole names: lower case, without the colon (and the
// blank after it that one entry has), with what each tells.
struct NameIndex {
    struct Entry {
        union {
            char name[kLongestName + 1];
            uint64_t words[kNameWords]; // compared a word at a time
        };
        uint8_t length;
        uint8_t weight;
        uint8_t facts;
    };
    Entry entries[kHeaderNameCount] = {};
    int count = 0;
    // The entries by first letter and length, whatever letter they are
    // filed under: a name is compared with the one or two of its own.
    static constexpr int kPerBucket = 8;
    int16_t buckets[26][kLongestName + 1][kPerBucket];

    NameIndex() {
        std::memset(buckets, -1, sizeof buckets);
        static const char *const kSenders[] = {"from", "sender", "reply-to", "date", "to",
                                               "cc", "bcc", "message-id", "in-reply-to",
                                               "references", "subject"};
        std::memset(entries, 0, sizeof entries);
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
            int16_t *bucket = buckets[out.name[0] - 'a'][out.length];
            int k = 0;
            while (bucket[k] >= 0) // the table has far fewer names of one letter and length
                ++k;
            bucket[k] = int16_t(count++);
        }
    }

    // name: the folded name, zero after its length up to kLongestName.
    const Entry *Find(const char *name, size_t length) const {
        uint64_t words[kNameWords];
        std::memcpy(words, name, sizeof words);
        for (const int16_t e : buckets[name[0] - 'a'][length]) {
            if (e < 0)
                break;
            const uint64_t *w = entries[e].words;
            if (!((w[0] ^ words[0]) | (w[1] ^ words[1]) | (w[2] ^ words[2]) | (w[3] ^ words[3]) |
                  (w[4] ^ words[4])))
                return &entries[e];
        }
        return nullptr;
    }
};
const NameIndex kNames;

} // namespace

const uint8_t kNameBytes[256] = {
    // 0x00 to 0x2F: "-" only
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0,
    // 0x30 to 0x3F: the digits
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0,
    // 0x40 to 0x7F: the letters
    0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0, 0, 0, 0,
    0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0, 0, 0, 0, 0,
    // 0x80 to 0xFF: none
};

FieldLine ReadFieldLine(Reader &data, const TextLine &line) {
    FieldLine read;
    // The name, folded to lower case as far as a name of the table can reach
    // (a letter, a digit and "-" all have the bit of lower case set).
    char name[kLongestName + 8] = {};
    uint64_t at = 0;
    if (line.headLength == line.length) {
        // The whole line at hand: most lines.
        const uint8_t *p = line.head;
        const size_t n = line.headLength;
        const size_t reach = n < kLongestName ? n : kLongestName;
        while (at < reach && kNameBytes[p[at]]) {
            name[at] = char(p[at] | 0x20);
            ++at;
        }
        while (at < n && kNameBytes[p[at]])
            ++at;
    } else {
        while (at < line.length && kNameBytes[line.At(data, at)]) {
            if (at < kLongestName)
                name[at] = char(line.At(data, at) | 0x20);
            ++at;
        }
    }
    const uint64_t nameLength = at;
    while (at < line.length && (line.At(data, at) == ' ' || line.At(data, at) == '\t'))
        ++at;
    if (at >= line.length || line.At(data, at) != ':')
        return read;
    read.field = true;
    read.valueAt = at + 1;
    read.weight = 1;
    const size_t folded = nameLength < kLongestName ? size_t(nameLength) : kLongestName;
    if (nameLength < kLongestName) {
        if (const NameIndex::Entry *e = kNames.Find(name, folded)) {
            read.known = true;
            read.weight = e->weight;
            read.facts = e->facts;
        }
    }
    // name holds zeros after the name: shorter names cannot match these.
    if (name[0] == 'x' && name[1] == '-')
        read.known = true;
    uint64_t head8, content8;
    std::memcpy(&head8, name, 8);
    std::memcpy(&content8, "content-", 8);
    if (head8 == content8)
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
