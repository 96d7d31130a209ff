// The step that carries the search for messages through a body: most lines
// of a body can begin nothing and end nothing, and are passed over a cached
// block at a time without being read as lines one by one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvex {

// What a step over body lines passed over.
struct BodyLines {
    size_t bytes = 0;   // from the block's first byte to the first line left
    unsigned lines = 0; // whole lines passed over, empty ones included
    bool text = false;  // one of them was not empty
};

// Passes over the whole lines at the start of the n bytes at p that can
// begin nothing and end nothing: empty lines, and lines that neither begin
// with "-" (a boundary, a line before an enclosed copy) nor are field lines.
// It stops at the first other line, and at a line whose line end is not
// known whole within the n bytes.
BodyLines PassBodyLines(const uint8_t *p, size_t n);

} // namespace corvex
