#include "WriteMessage.h"

#include <cstring>

namespace corvex {

namespace {

const char kDashLine[] = "X-Ds:8\r\n";

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

} // namespace

bool WriteMessage(Reader &data, OutputFile &out, uint64_t start, uint64_t headerLength,
                  uint64_t length, std::vector<uint8_t> &buffer) {
    const bool patch = EndsWithDashLine(data, start, headerLength);
    const uint64_t patchAt = headerLength - 10; // meaningful only with patch
    uint64_t done = 0;
    size_t filled = 0;
    auto flush = [&]() {
        bool ok = !filled || out.Write(buffer.data(), filled);
        filled = 0;
        return ok;
    };
    while (done < length) {
        size_t count;
        const uint8_t *span = data.Span(start + done, count);
        if (!patch && !filled && count >= length - done && length - done <= buffer.size())
            return out.Write(span, size_t(length - done)); // all of it in the cache: one write
        if (!count) {
            if (data.Failed())
                return false;
            break; // the end of the file: the byte that stands for it is not written
        }
        if (count > length - done)
            count = size_t(length - done);
        if (count > buffer.size() - filled)
            count = buffer.size() - filled;
        std::memcpy(buffer.data() + filled, span, count);
        if (patch && done < patchAt + 8 && done + count > patchAt) {
            for (uint64_t i = done > patchAt ? done : patchAt; i < patchAt + 8 && i < done + count; ++i)
                buffer[filled + size_t(i - done)] = uint8_t(kDashLine[i - patchAt]);
        }
        filled += count;
        done += count;
        if (filled == buffer.size() && !flush())
            return false;
    }
    return flush();
}

} // namespace corvex
