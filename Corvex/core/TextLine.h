// One line of the input as the search for messages reads it: CR LF, a lone
// CR and a lone LF each end exactly one line, so an empty line is always
// seen, whatever line ends the text uses.
#pragma once

#include <cstddef>
#include <cstdint>

#include "LineEnds.h"
#include "Reader.h"

namespace corvex {

// Bytes of a long line's beginning kept with it when the line does not lie
// in the cache whole: every test of a line's form looks at its beginning.
constexpr size_t kLineHead = 256;

struct TextLine {
    uint64_t start = 0;  // its first byte
    uint64_t length = 0; // bytes before its line end
    uint64_t next = 0;   // the first byte after its line end
    // Its first headLength bytes: in the cache (valid until the next read of
    // the input) or in window.
    const uint8_t *head = nullptr;
    size_t headLength = 0;
    uint8_t window[kLineHead];

    bool Empty() const { return length == 0; }
    // Its byte i (i < length).
    uint8_t At(Reader &data, uint64_t i) const {
        return i < headLength ? head[i] : data.ByteAt(start + i);
    }
    // Whether it begins with the n bytes of text, as written.
    bool BeginsWith(Reader &data, const char *text, size_t n) const {
        if (length < n)
            return false;
        for (size_t i = 0; i < n; ++i)
            if (At(data, i) != uint8_t(text[i]))
                return false;
        return true;
    }
    // Its length without trailing spaces and TABs.
    uint64_t TrimmedLength(Reader &data) const {
        uint64_t n = length;
        while (n > 0 && (At(data, n - 1) == ' ' || At(data, n - 1) == '\t'))
            --n;
        return n;
    }
};

// Reads the line that begins at offset. False when none does: offset is at
// or past limit, or the data ends there.
inline bool ReadTextLine(Reader &data, uint64_t offset, uint64_t limit, TextLine &line) {
    if (offset >= limit)
        return false;
    size_t n;
    const uint8_t *p = data.Span(offset, n);
    if (!n)
        return false;
    line.start = offset;
    const size_t end = FindLineEnd(p, n);
    if (end < n && (p[end] == 10 || end + 1 < n)) {
        // The line and its whole line end lie in the cache: most lines.
        line.length = end;
        line.next = offset + end + ((p[end] == 13 && p[end + 1] == 10) ? 2 : 1);
        line.head = p;
        line.headLength = end;
        return true;
    }
    line.length = MeasureLine(data, offset);
    line.next = ConsumeTerminator(data, offset + line.length);
    line.headLength = line.length < kLineHead ? size_t(line.length) : kLineHead;
    data.ReadBytesAt(offset, line.window, line.headLength);
    line.head = line.window;
    return true;
}

} // namespace corvex
