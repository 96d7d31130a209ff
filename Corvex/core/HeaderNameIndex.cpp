#include "HeaderNameIndex.h"

#include <cstring>

namespace corvex {

namespace {

inline uint8_t Lower(uint8_t c) { return (c >= 'A' && c <= 'Z') ? uint8_t(c + 32) : c; }

} // namespace

HeaderNameIndex::HeaderNameIndex() {
    std::memset(buckets, -1, sizeof buckets);
    static const char *const kSenders[] = {"from", "sender", "reply-to", "date", "to",
                                           "cc", "bcc", "message-id", "in-reply-to",
                                           "references", "subject"};
    std::memset(entries, 0, sizeof entries);
    for (int e = 0; e < kHeaderNameCount; ++e) {
        const HeaderName &h = HeaderNameTable[e];
        const char *colon = static_cast<const char *>(std::memchr(h.name, ':', h.length));
        if (!colon)
            continue; // "X-": every X- name is known anyway
        Entry &out = entries[count];
        out.length = uint8_t(colon - h.name);
        for (size_t i = 0; i < out.length; ++i)
            out.name[i] = char(Lower(uint8_t(h.name[i])));
        out.weight = h.weight;
        for (const char *s : kSenders)
            if (std::strcmp(out.name, s) == 0)
                out.facts |= kFactSender;
        if (std::strcmp(out.name, "from") == 0)
            out.facts |= kFactFrom;
        if (std::strcmp(out.name, "date") == 0)
            out.facts |= kFactDate;
        if (std::strcmp(out.name, "mime-version") == 0)
            out.facts |= kFactMimeVersion;
        if (std::strcmp(out.name, "content-type") == 0)
            out.facts |= kFactContentType;
        int16_t *bucket = buckets[out.name[0] - 'a'][out.length];
        int k = 0;
        while (bucket[k] >= 0) // the table has far fewer names of one letter and length
            ++k;
        bucket[k] = int16_t(count++);
    }
}

const HeaderNameIndex kHeaderNames;

} // namespace corvex
