// Copies one message's bytes from the input into an .eml file.
#pragma once

#include <cstdint>
#include <vector>

#include "host.h"
#include "Reader.h"

namespace corvex {

struct MessageBytes {
    uint64_t start = 0;        // its first byte in the input
    uint64_t headerLength = 0; // its header block, 0 when it is not known
    uint64_t length = 0;
    // An mbox writer put ">" before every line that begins with ">"s and
    // "From ", so that none could be taken for a separator: one is taken away.
    bool unquote = false;
};

// Writes the message's bytes through a bounded buffer. A line of exactly
// eight hyphens that ends the header block (just before the body's first
// line) becomes "X-Ds:8" so that an empty line separates header and body;
// what lies past the end of the file is not written. False when a read or a
// write fails.
bool WriteMessage(Reader &data, OutputFile &out, const MessageBytes &message,
                  std::vector<uint8_t> &buffer);

} // namespace corvex
