// Sorts one line into a known field, a generic field, a continuation of the
// field before it, or a line that ends the run, and notices the MIME
// boundary of a multipart message's header on the way.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Boundary.h"
#include "CallContext.h"
#include "HeaderNameTable.h"
#include "Reader.h"

namespace corvex {

enum class LineClass { KnownField, GenericField, Continuation, Break };

// Bytes of a line's beginning that its classification may look at.
constexpr size_t kLineWindow = 40;

// Run state that the recognition reads and changes; owned by the scanner.
struct RunState {
    // Whether a line that does not begin with a letter continues the field
    // before it: the mark of the last table entry tried.
    bool continuationAllowed = false;
    // A multipart Content-Type field is open and its "boundary=" not yet seen.
    bool multipartSeen = false;
};

// What the first three bytes of a line tell: most lines begin no name of the
// table, which their first three bytes show.
struct LineInitials {
    LineInitials();
    // Each byte folded to upper case when it is a letter.
    uint8_t fold[256];
    // 0: not a letter; 1: a letter that no name begins with; 2: one that some do.
    uint8_t kind[256];
    // For each letter and each folded second byte (0x20 to 0x5F), which of
    // the letter's entries a line of two bytes or more may match; then the
    // same for the third byte, where a name of two bytes matches any.
    uint32_t second[26][64];
    uint32_t third[26][256];

    // The entries of the letter (A = 0) that a line of two bytes or more may
    // match, as far as its second and third bytes tell: a bit for each, the
    // letter's first entry the lowest.
    uint32_t Candidates(const uint8_t *line, uint64_t lineLength, int letter) const {
        const uint8_t b = fold[line[1]];
        uint32_t mask = (b >= 0x20 && b < 0x60) ? second[letter][b - 0x20] : 0;
        if (lineLength > 2)
            mask &= third[letter][line[2]];
        return mask;
    }
};
extern const LineInitials kLineInitials;

// Whether a line that does not begin with a letter, first being its first
// byte, continues the field before it: always after a field that allows
// continuations, and inside a header (inRun) whenever it is folded (begins
// with a space or a TAB).
inline bool ContinuesField(uint8_t first, bool inRun, const RunState &state) {
    return state.continuationAllowed || (inRun && (first == ' ' || first == '\t'));
}

// Between runs (the run's weight 0), whether the line of lineLength bytes
// whose bytes from the first are at line (three of them readable when it
// has three) surely ends nothing and begins nothing. When it does, state
// and the pump points take what classifying it would have done to them.
// False: the line needs the whole classification.
inline bool IdleBreak(const uint8_t *line, uint64_t lineLength, RunState &state, unsigned &points) {
    const LineInitials &t = kLineInitials;
    switch (t.kind[line[0]]) {
    case 0: // a break unless it continues a field
        return !ContinuesField(line[0], false, state);
    case 1:
        return true;
    default:
        break;
    }
    const int letter = t.fold[line[0]] - 'A';
    if (lineLength < 2 || t.Candidates(line, lineLength, letter))
        return false;
    // Every entry of the letter was tried; the last one's mark follows.
    const int32_t first = HeaderLetterIndex[letter], end = HeaderLetterIndex[letter + 1];
    points += unsigned(end - first);
    state.continuationAllowed = HeaderNameTable[end - 1].continuationOk;
    return true;
}

// Inside a run, a line that is a field (known or generic) and needs no look
// for a MIME boundary (it is not a Content-Type field), from its bytes at
// line (kLineWindow of them readable): true, with what it adds in weight,
// the pump points it passes added to points, and the state it leaves; false,
// with nothing changed, for any other line.
bool RunFieldLine(const uint8_t *line, uint64_t lineLength, RunState &state, int32_t &weight,
                  unsigned &points);

// Classifies the line of lineLength bytes at lineStart. runWeight is the
// current run's weight; weight receives what a field line adds. The boundary
// of a multipart Content-Type field (on its line or on any of its
// continuation lines) goes into boundary while that is empty. The caller's
// pump point runs before each table entry tried and for each byte of the
// generic-field test.
LineClass ClassifyHeaderLine(CallContext &ctx, Reader &data, uint64_t lineStart,
                             uint64_t lineLength, int64_t runWeight, RunState &state,
                             BoundaryBuffer boundary, int32_t &weight);

} // namespace corvex
