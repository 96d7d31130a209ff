#include "WriteMessage.h"

#include <cstring>

#include "LineEnds.h"

namespace corvex {

namespace {

const char kDashLine[] = "X-Ds:8\r\n";
const char kFrom[] = "From ";

// The header block ends with LF, eight hyphens and CR LF.
bool EndsWithDashLine(Reader &data, uint64_t start, uint64_t headerLength) {
    if (headerLength < 11)
        return false;
    uint8_t tail[11];
    data.ReadBytesAt(start + headerLength - 11, tail, sizeof tail);
    if (tail[0] != '\n' || tail[9] != '\r' || tail[10] != '\n')
        return false;
    for (int i = 1; i <= 8; ++i)
        if (tail[i] != '-')
            return false;
    return true;
}

enum class Quoted { No, Yes, Unsure };

// Whether the n bytes at p, which begin with a '>' that begins a line, go on
// with more '>' and "From ". Unsure when they end first and more of the
// message follows them.
Quoted QuotedIn(const uint8_t *p, size_t n, bool messageEnds) {
    size_t k = 1;
    while (k < n && p[k] == '>')
        ++k;
    for (size_t i = 0; i < 5; ++i, ++k) {
        if (k == n)
            return messageEnds ? Quoted::No : Quoted::Unsure;
        if (p[k] != uint8_t(kFrom[i]))
            return Quoted::No;
    }
    return Quoted::Yes;
}

// The same, read from the input where the line was not in the cache whole.
bool QuotedAt(Reader &data, uint64_t offset, uint64_t end) {
    uint64_t k = offset + 1;
    while (k < end && data.ByteAt(k) == '>')
        ++k;
    return end - k >= 5 && BytesEqual(data, k, kFrom, 5);
}

// Where to stop copying the n bytes at p: at the first quoted line's '>'
// (quoted), at a line that may be one but goes on past them (unsure), or n.
struct QuoteSearch {
    size_t at;
    Quoted found;
};

QuoteSearch FindQuote(const uint8_t *p, size_t n, bool firstBegins, bool messageEnds) {
    for (size_t i = FindLineStartByte(p, n, '>', firstBegins); i < n;
         i += 1 + FindLineStartByte(p + i + 1, n - i - 1, '>', false)) {
        const Quoted q = QuotedIn(p + i, n - i, messageEnds);
        if (q != Quoted::No)
            return {i, q};
    }
    return {n, Quoted::No};
}

inline bool IsLineEnd(uint8_t b) { return b == 10 || b == 13; }

} // namespace

bool WriteMessage(Reader &data, OutputFile &out, const MessageBytes &message,
                  std::vector<uint8_t> &buffer) {
    const uint64_t start = message.start, length = message.length;
    const bool patch = EndsWithDashLine(data, start, message.headerLength);
    const uint64_t patchAt = message.headerLength - 10; // meaningful only with patch
    uint64_t done = 0;   // input bytes of the message dealt with
    size_t filled = 0;
    bool lineStart = true; // the byte at done begins a line (a message begins at one)
    bool unsure = false;   // it is a '>' beginning a line that did not lie in the cache whole
    auto flush = [&]() {
        bool ok = !filled || out.Write(buffer.data(), filled);
        filled = 0;
        return ok;
    };
    // Copies the n input bytes at p (the message's byte done on) into the buffer.
    auto copy = [&](const uint8_t *p, size_t n) {
        while (n) {
            const size_t count = n < buffer.size() - filled ? n : buffer.size() - filled;
            std::memcpy(buffer.data() + filled, p, count);
            if (patch && done < patchAt + 8 && done + count > patchAt) {
                for (uint64_t i = done > patchAt ? done : patchAt; i < patchAt + 8 && i < done + count; ++i)
                    buffer[filled + size_t(i - done)] = uint8_t(kDashLine[i - patchAt]);
            }
            filled += count;
            done += count;
            p += count;
            n -= count;
            if (filled == buffer.size() && !flush())
                return false;
        }
        return true;
    };
    while (done < length) {
        if (unsure) {
            unsure = false;
            lineStart = false; // its '>' is decided here, and not looked at again
            if (QuotedAt(data, start + done, start + length)) {
                ++done;
                continue;
            }
        }
        size_t count;
        const uint8_t *span = data.Span(start + done, count);
        if (!count) {
            if (data.Failed())
                return false;
            break; // the end of the file: the byte that stands for it is not written
        }
        if (count > length - done)
            count = size_t(length - done);
        QuoteSearch quote{count, Quoted::No};
        if (message.unquote)
            quote = FindQuote(span, count, lineStart, count == length - done);
        if (!patch && !filled && quote.at == count && count == length - done && count <= buffer.size())
            return out.Write(span, count); // all of it in the cache: one write
        const bool endsLine = quote.at > 0 ? IsLineEnd(span[quote.at - 1]) : lineStart;
        if (!copy(span, quote.at))
            return false;
        if (quote.found == Quoted::Yes) {
            ++done; // the '>' that the writer put there
            lineStart = false;
        } else {
            unsure = quote.found == Quoted::Unsure;
            lineStart = endsLine;
        }
    }
    return flush();
}

} // namespace corvex
