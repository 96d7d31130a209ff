#include "FindMessageStart.h"

#include <cstring>
#include <memory>

#include "Corvex.h"

namespace corvex {

namespace {

// Steps over the lines from position on whose class and effect the line's
// own bytes settle, as long as they and the line end after them lie in the
// cached block; returns the first line that needs the whole look.
// Between runs (runWeight 0) these are the lines that end nothing and begin
// nothing, most lines of a body; stepped tells whether any such was passed.
// Inside a run they are the folded lines and the field lines that go on with
// it (runWeight takes their weight), up to the line that ends it.
uint64_t StepThroughBlock(CallContext &ctx, Reader &data, uint64_t position, uint64_t limit,
                          RunState &state, int64_t &runWeight, const char *delimiter,
                          size_t delimiterLength, bool &stepped) {
    stepped = false;
    size_t n;
    const uint8_t *bytes = data.Span(position, n);
    if (!n)
        return position;
    const bool inRun = runWeight > 0;
    unsigned points = 0;
    size_t line = 0;
    for (;;) {
        const size_t end = line + FindLineEnd(bytes + line, n - line);
        // The line after it must begin in the block as well: a CR or LF
        // followed by LF is one line end.
        if (end >= n)
            break;
        size_t next = end + 1;
        if (next < n && bytes[next] == 10)
            ++next;
        if (next >= n)
            break;
        const uint64_t length = end - line;
        if (inRun) {
            // The run goes on below the limit only.
            if (position + next >= limit)
                break;
            // A continuation line goes on with the run; an empty one ends it.
            const uint8_t b = bytes[line];
            if (kLineInitials.kind[b] == 0 && length > 0 && ContinuesField(b, true, state)) {
                if (state.multipartSeen) // its boundary may be on this line
                    break;
            } else {
                int32_t weight;
                if (line + kLineWindow > n || !RunFieldLine(bytes + line, length, state, weight, points))
                    break;
                runWeight += weight;
            }
        } else {
            if (position + line >= limit)
                break;
            if (delimiterLength && length == delimiterLength &&
                std::memcmp(bytes + line, delimiter, delimiterLength) == 0)
                break;
            if (!IdleBreak(bytes + line, length, state, points))
                break;
        }
        ++points;
        line = next;
    }
    ctx.PumpPoints(points);
    stepped = !inRun && line > 0;
    return position + line;
}

} // namespace

int32_t ThresholdFor(CallContext &ctx, int32_t kind, uint64_t start) {
    int32_t threshold = ctx.SettingThreshold();
    return (kind == KindGeneral && start == 0) ? 1 : threshold;
}

ScanResult ScanForMessage(CallContext &ctx, Reader &data, uint64_t limit, uint64_t start,
                          bool resync, BoundaryBuffer boundary, int32_t threshold,
                          MultipartSkip *skip) {
    // The boundary of the body the search starts in; the caller's buffer then
    // collects what the current run declares.
    char delimiter[kBoundarySize];
    size_t delimiterLength = 0;
    if (!boundary.Empty()) {
        delimiterLength = strnlen(boundary.text, boundary.size);
        if (delimiterLength >= sizeof delimiter)
            delimiterLength = 0; // longer than any buffer the conversion keeps: never matched
        std::memcpy(delimiter, boundary.text, delimiterLength);
    }
    boundary.Clear();
    std::unique_ptr<MultipartSkip> own;
    if (delimiterLength && !skip) {
        own.reset(new MultipartSkip);
        skip = own.get();
    }

    uint64_t position = start;
    int64_t runWeight = 0;
    uint64_t runStart = 0;
    RunState state;

    // A search after a message begins one byte past its header block, which
    // is one byte into the body's first line; when that line is the first
    // delimiter (a body without a preamble), it counts whole.
    uint64_t closeAt;
    if (delimiterLength && start > 0) {
        const uint64_t line = start - 1;
        const uint8_t before = line ? data.ByteAt(line - 1) : 10;
        if ((before == 10 || before == 13) && MeasureLine(data, line) == delimiterLength &&
            BytesEqual(data, line, delimiter, delimiterLength) &&
            skip->ClosingLine(ctx, data, delimiter, delimiterLength, line, limit, closeAt))
            position = closeAt;
    }

    // A threshold of 0 or less would take the first break for a message.
    const bool idleSteps = resync && threshold > 0;
    for (;;) {
        if (runWeight > 0 || idleSteps) {
            // Lines passed between runs are breaks: each drops what a run declared.
            bool stepped;
            position = StepThroughBlock(ctx, data, position, limit, state, runWeight, delimiter,
                                        delimiterLength, stepped);
            if (stepped) {
                boundary.Clear();
                state.multipartSeen = false;
            }
        }
        ctx.Pump();
        uint64_t length = MeasureLine(data, position);

        // Between runs, a delimiter line of the body's boundary starts its
        // parts: they are stepped over to the closing line, when there is one.
        if (delimiterLength && runWeight == 0 && length == delimiterLength &&
            BytesEqual(data, position, delimiter, delimiterLength) &&
            skip->ClosingLine(ctx, data, delimiter, delimiterLength, position, limit, closeAt)) {
            position = closeAt;
            length = MeasureLine(data, position);
        }

        int32_t weight = 0;
        LineClass kind = ClassifyHeaderLine(ctx, data, position, length, runWeight, state,
                                            boundary, weight);

        bool evaluate = true;
        if (kind == LineClass::KnownField || kind == LineClass::GenericField ||
            kind == LineClass::Continuation) {
            if (kind != LineClass::Continuation) {
                if (runWeight == 0)
                    runStart = position - start;
                runWeight += weight;
            }
            position += length;
            bool ended = data.EndAt(position) || (kind == LineClass::Continuation && length == 0);
            position = ConsumeTerminator(data, position);
            evaluate = ended || position >= limit;
        }
        if (!evaluate)
            continue;

        if (runWeight >= threshold) {
            ScanResult found;
            found.offset = int64_t(runStart);
            found.headerLength = position - start - runStart + 1;
            return found;
        }
        // A short run is dropped, with the boundary it declared.
        boundary.Clear();
        state.multipartSeen = false;
        if (resync && position < limit && !data.EndAt(position)) {
            // The search goes on after the line examined last.
            position = ConsumeTerminator(data, position + length);
            runWeight = 0;
            continue;
        }
        return ScanResult();
    }
}

} // namespace corvex
