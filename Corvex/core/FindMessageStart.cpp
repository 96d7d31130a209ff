#include "FindMessageStart.h"

#include <algorithm>
#include <cstring>

#include "BodyLines.h"
#include "Corvex.h"
#include "Positions.h"

namespace corvex {

namespace {

inline bool IsBlank(uint8_t c) { return c == ' ' || c == '\t'; }
inline bool IsAsciiLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The characters a MIME boundary may hold.
bool IsBoundaryChar(uint8_t c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || std::strchr("'()+_,-./:=? ", c) != nullptr;
}

// "-----BEGIN ...-----" or "-----END ...-----": an OpenPGP or PEM armor line,
// whose dashes and words do not introduce an enclosed copy.
bool IsArmorLine(Reader &data, const TextLine &line) {
    uint64_t at;
    if (line.BeginsWith(data, "-----BEGIN ", 11))
        at = 11;
    else if (line.BeginsWith(data, "-----END ", 9))
        at = 9;
    else
        return false;
    while (at < line.length && line.At(data, at) != '-')
        ++at;
    for (int k = 0; k < 5; ++k, ++at)
        if (at >= line.length || line.At(data, at) != '-')
            return false;
    return true;
}

// Three or more "-", then two words of letters, the first not "End": the line
// before an encapsulated copy ("------- Forwarded Message", "--- Below this
// line...").
bool IsEncapsulationLine(Reader &data, const TextLine &line) {
    uint64_t at = 0;
    while (at < line.length && line.At(data, at) == '-')
        ++at;
    if (at < 3)
        return false;
    while (at < line.length && IsBlank(line.At(data, at)))
        ++at;
    for (int word = 0; word < 2; ++word) {
        const uint64_t begin = at;
        while (at < line.length && IsAsciiLetter(line.At(data, at)))
            ++at;
        if (at == begin)
            return false;
        // "------- End of Forwarded Message" closes a copy; what follows it
        // is the forwarding message's again, or a new message.
        if (word == 0 && at - begin == 3 && (line.At(data, begin) | 0x20) == 'e' &&
            (line.At(data, begin + 1) | 0x20) == 'n' && (line.At(data, begin + 2) | 0x20) == 'd')
            return false;
        if (word == 0) {
            const uint64_t blanks = at;
            while (at < line.length && IsBlank(line.At(data, at)))
                ++at;
            if (at == blanks)
                return false;
        }
    }
    return !IsArmorLine(data, line);
}

// A line of the closing-delimiter form of any boundary: "--", 1 to 70
// boundary characters (the last no space, not all "-"), "--", blanks.
bool IsClosingForm(Reader &data, const TextLine &line) {
    const uint64_t n = line.TrimmedLength(data);
    if (n < 5 || n > 74 || line.At(data, 0) != '-' || line.At(data, 1) != '-' ||
        line.At(data, n - 1) != '-' || line.At(data, n - 2) != '-' || line.At(data, n - 3) == ' ')
        return false;
    bool dashesOnly = true;
    for (uint64_t i = 2; i < n - 2; ++i) {
        const uint8_t c = line.At(data, i);
        if (!IsBoundaryChar(c))
            return false;
        dashesOnly = dashesOnly && c == '-';
    }
    return !dashesOnly;
}

// Eight hyphens and CR LF: the line that some mail programs put between a
// header and its body; it belongs to the header block.
bool IsDashLine(Reader &data, const TextLine &line) {
    return line.length == 8 && line.next == line.start + 10 && data.ByteAt(line.start + 8) == 13 &&
           line.BeginsWith(data, "--------", 8);
}

} // namespace

MessageScanner::MessageScanner(CallContext &ctx, Reader &data, uint64_t limit, int32_t kind,
                               uint64_t start)
    : ctx_(ctx), data_(data), limit_(limit), position_(start),
      first_(kind == KindGeneral && start == 0) {}

ScanResult MessageScanner::Next() {
    ScanResult found;
    found.searchStart = position_;
    const int32_t threshold = ctx_.SettingThreshold();
    TextLine line;
    for (;;) {
        if (!expectEnclosed_)
            StepOverBodyLines();
        if (!ReadTextLine(data_, position_, limit_, line))
            break;
        ctx_.Pump();
        if (expectEnclosed_) {
            expectEnclosed_ = false;
            if (line.Empty()) {
                position_ = line.next;
                continue;
            }
            if (EnclosedHeaderAt(line)) {
                StepToEmptyLine(&header_);
                FollowBody(header_);
            }
            continue; // the line is read again, as any other
        }
        if (!stack_.Empty() && AtBoundaryLine(line))
            continue;
        const FieldLine field = ClassifyHeaderLine(data_, line);
        if (field.opensRun) {
            const HeaderRun run = ReadRun(line, field);
            const RunVerdict verdict = Judge(run, threshold);
            last_ = LastLine(); // the run's last line
            if (verdict == RunVerdict::NewMessage) {
                StartMessage(run, found);
                return found;
            }
            PassOver(run, verdict);
            continue;
        }
        Note(data_, line);
        position_ = line.next;
    }
    return found;
}

// Steps over the body lines from the walk's position on that can begin
// nothing and end nothing, as many as lie whole in the cached block.
void MessageScanner::StepOverBodyLines() {
    if (position_ >= limit_)
        return;
    size_t n;
    const uint8_t *p = data_.Span(position_, n);
    n = size_t(std::min<uint64_t>(n, BytesBefore(limit_, position_)));
    const BodyLines passed = PassBodyLines(p, n);
    if (!passed.lines)
        return;
    if (passed.text)
        last_ = LastLine();
    ctx_.PumpPoints(passed.lines);
    position_ += passed.bytes;
}

// A run begins at line: it goes on over field lines, folded lines and a
// damaged fold (a line of neither kind with one of them right after it),
// and ends at any other line. Unknown fields weigh 1 once a known one has
// come, nothing before. Its fields are read into header_.
MessageScanner::HeaderRun MessageScanner::ReadRun(const TextLine &line, const FieldLine &field) {
    HeaderRun run;
    run.start = line.start;
    header_.Clear();
    header_.AddField(data_, line, field);
    run.weight = field.known ? field.weight : 0;
    bool seenKnown = field.known;
    uint64_t at = line.next;
    TextLine l, peek;
    for (;;) {
        if (!ReadTextLine(data_, at, limit_, l)) {
            run.end = run.blockEnd = at;
            return run;
        }
        ctx_.Pump();
        const FieldLine f = ClassifyHeaderLine(data_, l);
        if (f.field) {
            run.weight += f.known ? f.weight : seenKnown ? 1 : 0;
            seenKnown = seenKnown || f.known;
            header_.AddField(data_, l, f);
            at = l.next;
            continue;
        }
        if (IsFoldedLine(l)) {
            header_.AddFold(data_, l);
            at = l.next;
            continue;
        }
        run.end = l.start;
        run.endedEmpty = l.Empty();
        run.blockEnd = run.endedEmpty || IsDashLine(data_, l) ? l.next : l.start;
        if (!run.endedEmpty && ReadTextLine(data_, l.next, limit_, peek) &&
            (IsFoldedLine(peek) || ClassifyHeaderLine(data_, peek).field)) {
            at = peek.start; // a damaged fold: the run goes on, the line weighs nothing
            continue;
        }
        return run;
    }
}

// What the run just read is, from its weight, its fields and the lines
// before it.
MessageScanner::RunVerdict MessageScanner::Judge(const HeaderRun &run, int32_t threshold) const {
    if (first_)
        return run.weight >= 1 ? RunVerdict::NewMessage : RunVerdict::NotAMessage;
    if (run.weight <= 0)
        return RunVerdict::NotAMessage;
    if (last_.encapsulation && !afterOuterClose_)
        return RunVerdict::EnclosedCopy;
    // After the end of a multipart, only a new message or an epilogue follows.
    if (afterOuterClose_ || last_.closingForm)
        return RunVerdict::NewMessage;
    if (header_.OnlyPartFields())
        return RunVerdict::NotAMessage;
    if (run.weight >= threshold)
        return RunVerdict::NewMessage;
    // A short header of strong fields, ended by its empty line.
    return run.endedEmpty && run.weight >= std::max<int64_t>(3, (threshold + 1) / 2) &&
                   header_.StrongFields()
               ? RunVerdict::NewMessage
               : RunVerdict::NotAMessage;
}

// A new message begins at the run: the walk goes on after its header block,
// into its body's structure.
void MessageScanner::StartMessage(const HeaderRun &run, ScanResult &found) {
    first_ = false;
    stack_.Clear();
    afterOuterClose_ = false;
    FollowBody(header_);
    position_ = run.blockEnd;
    found.offset = int64_t(run.start);
    found.headerLength = run.blockEnd - run.start;
}

// The walk goes on after a run that begins no message: over an enclosed
// copy's header, or into what a part's header encloses.
void MessageScanner::PassOver(const HeaderRun &run, RunVerdict verdict) {
    position_ = run.end;
    if (verdict == RunVerdict::EnclosedCopy) {
        StepToEmptyLine(nullptr);
    } else if (run.endedEmpty) {
        std::string unused;
        if (header_.Body(ctx_, unused) == BodyKind::Enclosing) {
            // The header of a part whose structure is not followed: what it
            // encloses comes right after its empty line.
            expectEnclosed_ = true;
            position_ = run.blockEnd;
        }
    }
}

// A delimiter line of a boundary in force ends the levels inside it. Its
// parts are stepped over to the closing line when one follows before the
// boundary is declared again; otherwise the part header after it is read.
// A closing line ends its level and those inside it.
bool MessageScanner::AtBoundaryLine(TextLine &line) {
    const BoundaryStack::LineMatch match = stack_.Match(data_, line);
    if (match.kind == BoundaryStack::LineKind::Other)
        return false;
    if (match.kind == BoundaryStack::LineKind::Delimiter) {
        stack_.EndFrom(match.level + 1);
        const uint64_t delimiterAt = line.start;
        // The look for the closing line reads on: the line is read again after it.
        const std::optional<uint64_t> closeAt = stack_.Skip(match.level).ClosingLine(
            ctx_, data_, ClosingLook{stack_.Delimiter(match.level), delimiterAt, limit_});
        if (!closeAt || !ReadTextLine(data_, *closeAt, limit_, line)) {
            ReadTextLine(data_, delimiterAt, limit_, line);
            Note(data_, line);
            position_ = line.next;
            StepToEmptyLine(&header_);
            FollowBody(header_);
            return true;
        }
    }
    stack_.EndFrom(match.level);
    if (match.level == 0)
        afterOuterClose_ = true;
    Note(data_, line);
    position_ = line.next;
    return true;
}

// Whether an enclosed header block begins at line: a field line, or a
// "From " (or ">From ") line and then a field line. The walk's position then
// stands at the field line.
bool MessageScanner::EnclosedHeaderAt(const TextLine &line) {
    const bool fromLine = line.BeginsWith(data_, "From ", 5) || line.BeginsWith(data_, ">From ", 6);
    const uint64_t headerAt = fromLine ? line.next : line.start;
    if (fromLine)
        Note(data_, line); // no run can begin at it: it is the last line before the header either way
    TextLine first;
    if (!ReadTextLine(data_, headerAt, limit_, first) || !ClassifyHeaderLine(data_, first).field)
        return false;
    position_ = headerAt;
    return true;
}

void MessageScanner::StepToEmptyLine(HeaderBlock *header) {
    if (header)
        header->Clear();
    TextLine line;
    while (ReadTextLine(data_, position_, limit_, line)) {
        ctx_.Pump();
        position_ = line.next;
        if (line.Empty())
            return;
        Note(data_, line);
        if (!header)
            continue;
        const FieldLine field = ClassifyHeaderLine(data_, line);
        if (field.field)
            header->AddField(data_, line, field);
        else if (IsFoldedLine(line))
            header->AddFold(data_, line);
    }
}

// A multipart body puts its boundary in force; an enclosing type means that
// the body begins with an enclosed header block.
void MessageScanner::FollowBody(const HeaderBlock &header) {
    switch (header.Body(ctx_, delimiter_)) {
    case BodyKind::Multipart:
        stack_.Push(delimiter_);
        break;
    case BodyKind::Enclosing:
        expectEnclosed_ = true;
        break;
    case BodyKind::Plain:
        break;
    }
}

void MessageScanner::Note(Reader &data, const TextLine &line) {
    if (line.Empty())
        return;
    last_ = LastLine();
    if (line.head[0] != '-')
        return;
    last_.encapsulation = IsEncapsulationLine(data, line);
    last_.closingForm = IsClosingForm(data, line);
}

} // namespace corvex
