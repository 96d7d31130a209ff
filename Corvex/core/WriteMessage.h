// Copies one message's bytes from the input into an .eml file.
#pragma once

#include <cstdint>
#include <vector>

#include "host.h"
#include "Reader.h"

namespace corvex {

// Writes the bytes [start, start + length) of the input, whose header block
// is headerLength bytes, through a bounded buffer. A line of exactly eight
// hyphens that ends the header block (just before the body's first line)
// becomes "X-Ds:8" so that an empty line separates header and body; what
// lies past the end of the file is not written. False when a read or a
// write fails.
bool WriteMessage(Reader &data, OutputFile &out, uint64_t start, uint64_t headerLength,
                  uint64_t length, std::vector<uint8_t> &buffer);

} // namespace corvex
