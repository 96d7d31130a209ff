// The separator lines of a UNIX mbox file: a line that begins "From " and is
// followed by a line that begins with a header field's name and colon. Here
// a line ends at CR LF, a lone CR or a lone LF.
#pragma once

#include <cstdint>

#include "CallContext.h"
#include "Reader.h"

namespace corvex {

// The offset of the line after the one at offset, or size when it is the last.
uint64_t NextMboxLine(Reader &data, uint64_t offset, uint64_t size);

// Whether the line at offset (a line start) is a separator line.
bool IsMboxSeparator(Reader &data, uint64_t offset, uint64_t size);

// The first separator line at or after offset (a line start), or size when
// there is none.
uint64_t FindMboxSeparator(CallContext &ctx, Reader &data, uint64_t offset, uint64_t size);

// The length of the empty line that ends [begin, end), a line end that
// stands right after another (CR LF, a lone CR or a lone LF): the empty line
// that mbox writers put after each message. 0 when there is none.
uint64_t EmptyLineAtEnd(Reader &data, uint64_t begin, uint64_t end);

// Whether the separator line at offset is of a writer that puts no empty
// line after a message ("From ???@??? ", as Eudora writes it): then an empty
// line before a separator is the message's own.
bool WriterAddsNoEmptyLine(Reader &data, uint64_t offset, uint64_t size);

} // namespace corvex
