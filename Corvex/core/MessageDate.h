// When a message was written, for the time of its .eml file: the first Date
// field of its header block, or the date of the mbox separator line it
// follows.
#pragma once

#include <cstdint>
#include <string>

#include "MailDate.h"
#include "Reader.h"

namespace corvex {

// Reads the first Date field of the header block that begins at start (it
// ends at its first empty line, or at end), its folded lines joined; value
// is scratch space. False when there is none or it is not readable: a later
// Date field is not read in its place.
bool ReadHeaderDate(Reader &data, uint64_t start, uint64_t end, std::string &value, MailDate &date);

// Reads the date of the separator line at offset.
bool ReadSeparatorLineDate(Reader &data, uint64_t offset, uint64_t end, std::string &value,
                           MailDate &date);

} // namespace corvex
