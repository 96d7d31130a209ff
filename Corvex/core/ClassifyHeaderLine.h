// Whether a line is a header field line, and what its name says: a known
// name (one of the table's, or any "X-" name) weighs as the table says, any
// other name weighs 1 and only goes on with a run that has begun.
#pragma once

#include <cstdint>

#include "HeaderNameIndex.h"
#include "Reader.h"
#include "TextLine.h"

namespace corvex {

struct FieldLine {
    bool field = false;    // a name, any spaces or TABs, then ":"
    bool known = false;    // the whole name is the table's or begins with "X-"
    bool opensRun = false; // known, or its colon is followed by a space, a TAB or the line end
    int32_t weight = 0;    // the table's weight for a known name, 1 for any other
    uint8_t facts = 0;     // FieldFact bits
    uint64_t valueAt = 0;  // the first byte after the colon, counted from the line's start
};

// The bytes a name is made of: 2 for an ASCII letter, 1 for a digit or "-".
extern const uint8_t kNameBytes[256];

// Whether the length bytes at p are a field line: a name, blanks, ":".
inline bool IsFieldLine(const uint8_t *p, size_t length) {
    if (!length || kNameBytes[p[0]] != 2)
        return false;
    size_t i = 1;
    while (i < length && kNameBytes[p[i]])
        ++i;
    while (i < length && (p[i] == ' ' || p[i] == '\t'))
        ++i;
    return i < length && p[i] == ':';
}

// A name is an ASCII letter, then letters, digits or "-"; it is compared
// over its whole length without regard to ASCII case. A line that does not
// begin so (a space, a TAB, a NUL, a double-byte character) is no field.
FieldLine ReadFieldLine(Reader &data, const TextLine &line);
inline FieldLine ClassifyHeaderLine(Reader &data, const TextLine &line) {
    if (!line.length || kNameBytes[line.head[0]] != 2)
        return FieldLine(); // most body lines
    return ReadFieldLine(data, line);
}

// A line that begins with a space or a TAB: inside a header it continues
// the field before it.
inline bool IsFoldedLine(const TextLine &line) {
    return line.length && (line.head[0] == ' ' || line.head[0] == '\t');
}

} // namespace corvex
