#include "HeaderBlock.h"

#include <cstring>

#include "Boundary.h"
#include "MailDate.h"

namespace corvex {

namespace {

inline uint8_t Lower(uint8_t c) { return (c >= 'A' && c <= 'Z') ? uint8_t(c + 32) : c; }
inline bool IsBlank(uint8_t c) { return c == ' ' || c == '\t'; }

// Whether the n bytes at text begin with word, ASCII letters without regard to case.
bool BeginsWithWord(const char *text, size_t n, const char *word) {
    const size_t k = std::strlen(word);
    if (n < k)
        return false;
    for (size_t i = 0; i < k; ++i)
        if (Lower(uint8_t(text[i])) != uint8_t(word[i]))
            return false;
    return true;
}

// The types whose body begins with a header block of its own: an enclosed
// message (forwarded, returned by a bounce), or a returned header alone.
// A partial message's fragments are not followed, but its first one begins so.
const char *const kEnclosingTypes[] = {"message/rfc822", "message/global", "message/news",
                                       "text/rfc822-headers", "message/partial"};

// The boundary parameter of a Content-Type value: "boundary", blanks, "=",
// blanks, then a quoted string or a token up to ";" or a blank. The name
// must begin on a character boundary (not as the second byte of a
// double-byte character). False when there is none, or it is empty, holds
// a NUL, was cut with the value, or is longer than a boundary buffer keeps.
bool FindBoundary(const CallContext &ctx, const char *v, size_t n, bool cut, std::string &out) {
    static const char kKey[] = "boundary";
    const size_t keyLength = sizeof kKey - 1;
    for (size_t at = 0; at + keyLength <= n;) {
        if ((v[at] | 0x20) != 'b' || !BeginsWithWord(v + at, n - at, kKey)) {
            at += ctx.IsLead(uint8_t(v[at])) ? 2 : 1;
            continue;
        }
        size_t p = at + keyLength;
        while (p < n && IsBlank(uint8_t(v[p])))
            ++p;
        if (p >= n || v[p] != '=') {
            at += keyLength;
            continue;
        }
        ++p;
        while (p < n && IsBlank(uint8_t(v[p])))
            ++p;
        size_t begin = p, end = p;
        bool ended;
        if (p < n && v[p] == '"') {
            begin = end = p + 1;
            while (end < n && v[end] != '"')
                ++end;
            ended = end < n;
        } else {
            while (end < n && v[end] != ';' && !IsBlank(uint8_t(v[end])))
                ++end;
            ended = end < n || !cut;
        }
        if (!ended || end == begin || end - begin > kBoundaryLimit ||
            std::memchr(v + begin, 0, end - begin))
            return false;
        out.assign("--");
        out.append(v + begin, end - begin);
        return true;
    }
    return false;
}

} // namespace

void HeaderBlock::Value::Append(Reader &data, const TextLine &line, uint64_t from, bool blankFirst) {
    present = true;
    if (blankFirst) {
        if (text.size() >= kValueLimit) {
            cut = true;
            return;
        }
        text.push_back(' ');
    }
    uint64_t end = line.length;
    if (end - from > kValueLimit - text.size()) {
        end = from + (kValueLimit - text.size());
        cut = true;
    }
    // The bytes in the line's head at once, any beyond it one by one.
    const uint64_t inHead = end < line.headLength ? end : line.headLength;
    if (from < inHead)
        text.append(reinterpret_cast<const char *>(line.head) + from, size_t(inHead - from));
    for (uint64_t i = from > inHead ? from : inHead; i < end; ++i)
        text.push_back(char(line.At(data, i)));
}

void HeaderBlock::Clear() {
    contentType_.text.clear();
    date_.text.clear();
    contentType_.present = date_.present = contentType_.cut = date_.cut = false;
    open_ = Open::None;
    facts_ = 0;
    fields_ = 0;
    otherFields_ = false;
}

void HeaderBlock::AddField(Reader &data, const TextLine &line, const FieldLine &field) {
    ++fields_;
    facts_ |= field.facts;
    if (!(field.facts & (kFactContent | kFactMimeVersion)))
        otherFields_ = true;
    open_ = Open::None;
    if ((field.facts & kFactContentType) && !contentType_.present) {
        contentType_.Append(data, line, field.valueAt, false);
        open_ = Open::ContentType;
    } else if ((field.facts & kFactDate) && !date_.present) {
        date_.Append(data, line, field.valueAt, false);
        open_ = Open::Date;
    }
}

void HeaderBlock::AddFold(Reader &data, const TextLine &line) {
    if (open_ == Open::ContentType)
        contentType_.Append(data, line, 0, true);
    else if (open_ == Open::Date)
        date_.Append(data, line, 0, true);
}

bool HeaderBlock::StrongFields() const {
    if ((facts_ & kFactMimeVersion) && (facts_ & kFactSender))
        return true;
    if (!(facts_ & kFactFrom) || !date_.present || date_.cut)
        return false;
    return IsMailDate(date_.text.data(), date_.text.size());
}

BodyKind HeaderBlock::Body(const CallContext &ctx, std::string &delimiter) const {
    if (!contentType_.present)
        return BodyKind::Plain;
    const char *v = contentType_.text.data();
    size_t n = contentType_.text.size();
    while (n && IsBlank(uint8_t(*v)))
        ++v, --n;
    if (BeginsWithWord(v, n, "multipart/"))
        return FindBoundary(ctx, v, n, contentType_.cut, delimiter) ? BodyKind::Multipart
                                                                    : BodyKind::Plain;
    for (const char *type : kEnclosingTypes) {
        const size_t k = std::strlen(type);
        if (BeginsWithWord(v, n, type) &&
            (k == n || v[k] == ';' || v[k] == '(' || IsBlank(uint8_t(v[k]))))
            return BodyKind::Enclosing;
    }
    return BodyKind::Plain;
}

} // namespace corvex
