#include "MboxSeparator.h"

#include "LineEnds.h"

namespace corvex {

namespace {

constexpr uint8_t CR = 13, LF = 10;

inline bool IsNameByte(uint8_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// Whether the line at offset begins with a field name, any spaces or TABs
// and a colon (the obsolete form "Subject :" is met in real mail).
bool BeginsWithField(Reader &data, uint64_t offset, uint64_t size) {
    uint64_t at = offset;
    while (at < size && IsNameByte(data.ByteAt(at)))
        ++at;
    if (at == offset)
        return false;
    while (at < size && (data.ByteAt(at) == ' ' || data.ByteAt(at) == '\t'))
        ++at;
    return at < size && data.ByteAt(at) == ':';
}

} // namespace

uint64_t NextMboxLine(Reader &data, uint64_t offset, uint64_t size) {
    uint64_t p = offset;
    while (p < size) {
        size_t n;
        const uint8_t *span = data.Span(p, n);
        if (!n)
            return size; // a failed read: nothing more can be told apart
        if (n > size - p)
            n = size_t(size - p);
        size_t i = FindLineEnd(span, n);
        if (i < n) {
            p += i;
            if (data.ByteAt(p) == CR && p + 1 < size && data.ByteAt(p + 1) == LF)
                return p + 2;
            return p + 1;
        }
        p += n;
    }
    return size;
}

bool IsMboxSeparator(Reader &data, uint64_t offset, uint64_t size) {
    if (size - offset < 5 || !BytesEqual(data, offset, "From ", 5))
        return false;
    // "From :" is the obsolete form of a From field, not an envelope line: a
    // header written that way must not be cut in two.
    if (BeginsWithField(data, offset, size))
        return false;
    const uint64_t next = NextMboxLine(data, offset, size);
    return next < size && BeginsWithField(data, next, size);
}

uint64_t EmptyLineAtEnd(Reader &data, uint64_t begin, uint64_t end) {
    if (end - begin < 2)
        return 0; // a message is never nothing but an empty line
    uint64_t length = 1;
    const uint8_t last = data.ByteAt(end - 1);
    if (last == LF && data.ByteAt(end - 2) == CR)
        length = 2;
    else if (last != LF && last != CR)
        return 0;
    const uint64_t at = end - length; // where the empty line would begin
    if (at == begin)
        return 0;
    const uint8_t before = data.ByteAt(at - 1);
    return before == LF || before == CR ? length : 0;
}

bool WriterAddsNoEmptyLine(Reader &data, uint64_t offset, uint64_t size) {
    static const char kEudora[] = "From ???@???";
    const uint64_t n = sizeof kEudora - 1;
    if (size - offset <= n || !BytesEqual(data, offset, kEudora, size_t(n)))
        return false;
    const uint8_t after = data.ByteAt(offset + n);
    return after == ' ' || after == '\t';
}

uint64_t FindMboxSeparator(CallContext &ctx, Reader &data, uint64_t offset, uint64_t size) {
    for (uint64_t line = offset; line < size; line = NextMboxLine(data, line, size)) {
        ctx.Pump();
        if (data.ByteAt(line) == 'F' && IsMboxSeparator(data, line, size))
            return line;
    }
    return size;
}

} // namespace corvex
