#include "MultipartSkip.h"

#include <algorithm>

#include "ByteSearch.h"
#include "LineEnds.h"
#include "Positions.h"

namespace corvex {

std::optional<uint64_t> MultipartSkip::ClosingLine(CallContext &ctx, Reader &data,
                                                   const ClosingLook &look) {
    if (look.delimiter.empty())
        return std::nullopt;
    const bool same = delimiter_ == look.delimiter && limit_ == look.limit && from_ <= look.delimiterAt;
    if (same && closed_ && reached_ > look.delimiterAt)
        return reached_;
    if (same && !closed_ && look.delimiterAt < reached_)
        return std::nullopt;

    // A new look, from the line after this delimiter line. Every line that can
    // end it, a closing line or one that declares the boundary again, holds the
    // boundary's value: the look goes from one occurrence of the value to the
    // next, and only their lines are read as lines.
    delimiter_.assign(look.delimiter);
    limit_ = look.limit;
    from_ = look.delimiterAt;
    const LookEnd end = LookFrom(ctx, data, ConsumeTerminator(data, look.delimiterAt + look.delimiter.size()),
                                 look.limit);
    reached_ = end.at;
    closed_ = end.closed;
    if (!closed_)
        return std::nullopt;
    return reached_;
}

namespace {

bool IsLineBreak(Reader &data, uint64_t at) {
    const uint8_t b = data.ByteAt(at);
    return b == 13 || b == 10;
}

} // namespace

// One look's walk from one occurrence of the boundary's value to the next:
// the line each stands on, and what that line does to the look.
class MultipartSkip::Occurrences {
public:
    Occurrences(CallContext &ctx, Reader &data, const std::string &delimiter, uint64_t from)
        : ctx_(ctx), data_(data), delimiter_(delimiter), valueLength_(delimiter.size() - 2),
          from_(from), lineStart_(from), previous_(from) {}

    enum class Verdict {
        GoOn,        // an ordinary line: the look goes on
        Closes,      // the closing line "--" boundary "--"
        Redeclared   // a line that declares the same boundary again
    };

    // What the line of the occurrence at hit does; the occurrences before it
    // were on lines that did nothing.
    Verdict At(uint64_t hit) {
        // The start of hit's line: back to the line break before it, but no
        // further than the occurrence before, which is on a line already known.
        uint64_t q = hit;
        while (q > previous_ && q > from_ && !IsLineBreak(data_, q - 1))
            --q;
        if (q > previous_ || q == from_ || IsLineBreak(data_, q - 1))
            lineStart_ = q;
        previous_ = hit;
        if (hit == lineStart_ + 2 && data_.ByteAt(lineStart_) == '-' &&
            data_.ByteAt(lineStart_ + 1) == '-' && data_.ByteAt(hit + valueLength_) == '-' &&
            data_.ByteAt(hit + valueLength_ + 1) == '-')
            return Verdict::Closes;
        // A line with the value twice is read once.
        if (checked_ == lineStart_)
            return Verdict::GoOn;
        checked_ = lineStart_;
        return DeclaresBoundary(ctx_, data_, lineStart_, MeasureLine(data_, lineStart_),
                                delimiter_.data(), delimiter_.size())
                   ? Verdict::Redeclared
                   : Verdict::GoOn;
    }

    // The look's end at the line of the occurrence that the verdict ended it with.
    LookEnd EndedBy(Verdict verdict) const { return {lineStart_, verdict == Verdict::Closes}; }

private:
    CallContext &ctx_;
    Reader &data_;
    const std::string &delimiter_;
    const size_t valueLength_;
    const uint64_t from_;
    uint64_t lineStart_;
    uint64_t previous_;
    uint64_t checked_ = ~uint64_t(0);
};

namespace {

// The cached bytes from p (p < limit) on, no further than the limit.
const uint8_t *CachedBytesBefore(Reader &data, uint64_t p, uint64_t limit, size_t &count) {
    const uint8_t *span = data.Span(p, count);
    count = size_t(std::min<uint64_t>(count, BytesBefore(limit, p)));
    return span;
}

} // namespace

MultipartSkip::LookEnd MultipartSkip::LookFrom(CallContext &ctx, Reader &data, uint64_t from,
                                               uint64_t limit) const {
    const uint8_t *value = reinterpret_cast<const uint8_t *>(delimiter_.data()) + 2;
    const size_t m = delimiter_.size() - 2;
    if (m == 0)
        return {from, false}; // an empty boundary: nothing to tell its lines by, so no skip
    Occurrences occurrences(ctx, data, delimiter_, from);
    using Verdict = Occurrences::Verdict;
    for (uint64_t p = from; p < limit;) {
        ctx.Pump();
        size_t count;
        const uint8_t *span = CachedBytesBefore(data, p, limit, count);
        if (!count)
            return {p, false}; // the end of the file, or a read that failed
        size_t at = 0;
        for (;;) {
            const size_t found = at + FindText(span + at, count - at, value, m);
            if (found == count)
                break;
            const Verdict verdict = occurrences.At(p + found);
            if (verdict != Verdict::GoOn)
                return occurrences.EndedBy(verdict);
            at = found + 1;
            // Reading the hit's line may have put other blocks in the cache,
            // this one out: it is asked for again.
            span = CachedBytesBefore(data, p, limit, count);
            if (!count)
                return {p, false};
        }
        // An occurrence that begins here and ends in the next block.
        for (uint64_t q = p + count - (count < m ? count : m - 1); q < p + count; ++q) {
            if (q < from || !BytesEqual(data, q, reinterpret_cast<const char *>(value), m))
                continue;
            const Verdict verdict = occurrences.At(q);
            if (verdict != Verdict::GoOn)
                return occurrences.EndedBy(verdict);
        }
        p += count;
    }
    return {limit, false};
}

} // namespace corvex
