// What a header block (a message's, a part's, an enclosed message's) says:
// which fields it holds, and what its first Content-Type says of the body
// after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "CallContext.h"
#include "ClassifyHeaderLine.h"
#include "Reader.h"
#include "TextLine.h"

namespace corvex {

// What a body holds, as its header's first Content-Type says.
enum class BodyKind {
    Plain,     // nothing the search steps over by itself
    Multipart, // parts between the lines of a boundary
    Enclosing, // an enclosed header block first (message/rfc822 and its kin)
};

class HeaderBlock {
public:
    void Clear();
    // A field line of the block, as ClassifyHeaderLine read it.
    void AddField(Reader &data, const TextLine &line, const FieldLine &field);
    // A line that begins with a space or a TAB: it continues the field before it.
    void AddFold(Reader &data, const TextLine &line);

    // Whether every field is a Content-* field or MIME-Version: a part's
    // header, not a message's.
    bool OnlyPartFields() const { return fields_ > 0 && !otherFields_; }
    // Whether it holds MIME-Version with a field that only a message carries,
    // or From with a Date field that reads as a date-time.
    bool StrongFields() const;
    // What its first Content-Type field says of the body; for a multipart
    // body with a boundary, delimiter receives "--" and the boundary. A
    // multipart type without a usable boundary is Plain.
    BodyKind Body(const CallContext &ctx, std::string &delimiter) const;

private:
    // The values kept: the first Content-Type's and the first Date's, folded
    // lines joined. A value longer than kValueLimit is kept cut, and marked so.
    static constexpr size_t kValueLimit = 32768;
    struct Value {
        std::string text;
        bool present = false, cut = false;
        void Append(Reader &data, const TextLine &line, uint64_t from, bool blankFirst);
    };
    enum class Open { None, ContentType, Date };

    Value contentType_, date_;
    Open open_ = Open::None;
    uint8_t facts_ = 0;
    int fields_ = 0;
    bool otherFields_ = false;
};

} // namespace corvex
