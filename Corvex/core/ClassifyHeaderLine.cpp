#include "ClassifyHeaderLine.h"

#include <cstring>

#include "HeaderNameIndex.h"

namespace corvex {

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
    char name[kLongestHeaderName + 8] = {};
    uint64_t at = 0;
    if (line.headLength == line.length) {
        // The whole line at hand: most lines.
        const uint8_t *p = line.head;
        const size_t n = line.headLength;
        const size_t reach = n < kLongestHeaderName ? n : kLongestHeaderName;
        while (at < reach && kNameBytes[p[at]]) {
            name[at] = char(p[at] | 0x20);
            ++at;
        }
        while (at < n && kNameBytes[p[at]])
            ++at;
    } else {
        while (at < line.length && kNameBytes[line.At(data, at)]) {
            if (at < kLongestHeaderName)
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
    const size_t folded = nameLength < kLongestHeaderName ? size_t(nameLength) : kLongestHeaderName;
    if (nameLength < kLongestHeaderName) {
        if (const HeaderNameIndex::Entry *e = kHeaderNames.Find(name, folded)) {
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
