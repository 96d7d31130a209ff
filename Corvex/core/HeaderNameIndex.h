// The table's header-field names as whole names, looked up by a line's
// folded name in one call: the name matching of the classifier, apart from
// the rule that decides what a line is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "HeaderNameTable.h"

namespace corvex {

// What a field's name tells the rules beyond its weight.
enum FieldFact : uint8_t {
    kFactContent = 1,     // a Content-* field (any such name)
    kFactContentType = 2, // Content-Type
    kFactMimeVersion = 4, // MIME-Version
    kFactSender = 8,      // From, Sender, Reply-To, Date, To, Cc, Bcc, Message-ID,
                          // In-Reply-To, References or Subject
    kFactFrom = 16,       // From
    kFactDate = 32,       // Date
};

// The longest name of the table, without its colon, is shorter than this.
constexpr size_t kLongestHeaderName = 40;
constexpr size_t kHeaderNameWords = kLongestHeaderName / 8;

// The table's names as whole names: lower case, without the colon (and the
// blank after it that one entry has), with what each tells.
struct HeaderNameIndex {
    struct Entry {
        union {
            char name[kLongestHeaderName + 1];
            uint64_t words[kHeaderNameWords]; // compared a word at a time
        };
        uint8_t length;
        uint8_t weight;
        uint8_t facts;
    };
    Entry entries[kHeaderNameCount] = {};
    int count = 0;
    // The entries by first letter and length, whatever letter they are
    // filed under: a name is compared with the one or two of its own.
    static constexpr int kPerBucket = 8;
    int16_t buckets[26][kLongestHeaderName + 1][kPerBucket];

    HeaderNameIndex();

    // name: the folded name, zero after its length up to kLongestHeaderName.
    const Entry *Find(const char *name, size_t length) const {
        uint64_t words[kHeaderNameWords];
        std::memcpy(words, name, sizeof words);
        for (const int16_t e : buckets[name[0] - 'a'][length]) {
            if (e < 0)
                break;
            const uint64_t *w = entries[e].words;
            if (!((w[0] ^ words[0]) | (w[1] ^ words[1]) | (w[2] ^ words[2]) | (w[3] ^ words[3]) |
                  (w[4] ^ words[4])))
                return &entries[e];
        }
        return nullptr;
    }
};

// The one index, made before the first call.
extern const HeaderNameIndex kHeaderNames;

} // namespace corvex
