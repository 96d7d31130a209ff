// Finds where mail messages begin in text without separators: a forward walk
// over the lines that judges each run of header-like lines, and follows the
// MIME structure of the bodies between them, so that what a body encloses
// (its parts, a forwarded or returned message, a copy after a
// "------- Forwarded Message" line) is not taken for a new message.
#pragma once

#include <cstdint>

#include "BoundaryStack.h"
#include "CallContext.h"
#include "ClassifyHeaderLine.h"
#include "HeaderBlock.h"
#include "Reader.h"
#include "TextLine.h"

namespace corvex {

struct ScanResult {
    int64_t offset = -1;       // the message's first byte; -1: none
    uint64_t headerLength = 0; // its header block: the run, and the empty line
                               // (or the line of eight hyphens) that ends it
    uint64_t searchStart = 0;  // where the search that found it began
    bool Found() const { return offset >= 0; }
};

class MessageScanner {
public:
    // A walk over the bytes before limit (WholeFileLimit for a whole file)
    // for input of kind, from start (a line's first byte; the
    // file's first byte for a whole file).
    MessageScanner(CallContext &ctx, Reader &data, uint64_t limit, int32_t kind, uint64_t start = 0);

    // The next message from where the walk stands: each search begins right
    // after the header block of the message found before it. None when the
    // data ends (or a read fails) first.
    ScanResult Next();

private:
    // What the last non-empty line before a run says of it.
    struct LastLine {
        bool encapsulation = false; // "---" or more, then two words; no armor line
        bool closingForm = false;   // "--", 1 to 70 boundary characters not all "-", "--"
    };

    // A run of header lines as read: where it begins and ends, and what it weighs.
    struct HeaderRun {
        uint64_t start = 0;
        uint64_t end = 0;      // the first line after it
        uint64_t blockEnd = 0; // past its empty line (or line of eight hyphens), if one ends it
        int64_t weight = 0;
        bool endedEmpty = false; // an empty line ends it
    };
    enum class RunVerdict {
        NewMessage,
        NotAMessage,
        EnclosedCopy // a message copied inside the body, after a line such as "------- Forwarded Message"
    };

    void StepOverBodyLines();
    HeaderRun ReadRun(const TextLine &line, const FieldLine &field);
    RunVerdict Judge(const HeaderRun &run, int32_t threshold) const;
    void StartMessage(const HeaderRun &run, ScanResult &found);
    void PassOver(const HeaderRun &run, RunVerdict verdict);
    bool AtBoundaryLine(TextLine &line);
    bool EnclosedHeaderAt(const TextLine &line);
    // Steps over the lines from the walk's position up to and including the
    // next empty line; header, when given, reads them.
    void StepToEmptyLine(HeaderBlock *header);
    void FollowBody(const HeaderBlock &header);
    void Note(Reader &data, const TextLine &line);

    CallContext &ctx_;
    Reader &data_;
    uint64_t limit_;
    uint64_t position_ = 0;
    bool first_;               // no message found yet in general text: one field is enough
    bool expectEnclosed_ = false;
    bool afterOuterClose_ = false; // the current message's outermost multipart has closed
    LastLine last_;
    BoundaryStack stack_;
    HeaderBlock header_;
    std::string delimiter_;
};

} // namespace corvex
