#include "MessageDate.h"

#include "TextLine.h"

namespace corvex {

namespace {

// Longer values are not dates (a field's value is read whole only up to
// this, as the search for messages reads them).
constexpr uint64_t kValueLimit = 32768;
// A separator line longer than this holds no date that can be trusted.
constexpr uint64_t kSeparatorLimit = 1024;

inline uint8_t Lower(uint8_t c) { return c >= 'A' && c <= 'Z' ? uint8_t(c + 32) : c; }

// Whether the line is a Date field ("Date", any blanks, a colon); colon gets
// the offset of its value's first byte.
bool IsDateField(Reader &data, const TextLine &line, uint64_t &value) {
    static const char kName[] = "date";
    uint64_t i = 0;
    for (; i < 4; ++i)
        if (i >= line.length || Lower(line.At(data, i)) != uint8_t(kName[i]))
            return false;
    while (i < line.length && (line.At(data, i) == ' ' || line.At(data, i) == '\t'))
        ++i;
    if (i >= line.length || line.At(data, i) != ':')
        return false;
    value = line.start + i + 1;
    return true;
}

inline bool IsFold(Reader &data, const TextLine &line) {
    return !line.Empty() && (line.At(data, 0) == ' ' || line.At(data, 0) == '\t');
}

bool ReadSpan(Reader &data, uint64_t from, uint64_t to, std::string &value) {
    if (to - from > kValueLimit)
        return false;
    value.resize(size_t(to - from));
    data.ReadBytesAt(from, reinterpret_cast<uint8_t *>(&value[0]), value.size());
    return !data.Failed();
}

} // namespace

bool ReadHeaderDate(Reader &data, uint64_t start, uint64_t end, std::string &value, MailDate &date) {
    TextLine line;
    for (uint64_t at = start; ReadTextLine(data, at, end, line) && !line.Empty(); at = line.next) {
        uint64_t from;
        if (!IsDateField(data, line, from))
            continue;
        uint64_t to = line.start + line.length;
        for (uint64_t next = line.next; ReadTextLine(data, next, end, line) && IsFold(data, line);
             next = line.next) {
            to = line.start + line.length;
            if (to - from > kValueLimit)
                return false;
        }
        return ReadSpan(data, from, to, value) && ReadMailDate(value.data(), value.size(), date);
    }
    return false;
}

bool ReadSeparatorLineDate(Reader &data, uint64_t offset, uint64_t end, std::string &value,
                           MailDate &date) {
    TextLine line;
    if (!ReadTextLine(data, offset, end, line) || line.length > kSeparatorLimit)
        return false;
    return ReadSpan(data, offset, offset + line.length, value) &&
           ReadSeparatorDate(value.data(), value.size(), date);
}

} // namespace corvex
