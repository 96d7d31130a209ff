// Positioned reads of one input file through a block cache. Every answer is
// what a positioned one-byte read would give: the byte, or 0 at and beyond
// the end of the file and when a read fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "host.h"

namespace corvex {

class Reader {
public:
    Reader(InputFile &file, size_t blockSize);

    uint8_t ByteAt(uint64_t offset) {
        uint64_t rel = offset - blockStart_;
        if (rel < blockLength_)
            return block_[rel];
        return ByteAtSlow(offset);
    }
    // The cached bytes from offset to the end of its block; count 0 (and null)
    // at the end of the file or when the read fails.
    const uint8_t *Span(uint64_t offset, size_t &count) {
        uint64_t rel = offset - blockStart_;
        if (rel < blockLength_) {
            count = blockLength_ - size_t(rel);
            return block_.get() + rel;
        }
        return SpanSlow(offset, count);
    }
    // Fills count bytes from offset, zeros where no byte could be read.
    void ReadBytesAt(uint64_t offset, uint8_t *buffer, size_t count);
    // True when the last block read failed (as against reaching the end).
    bool LastReadFailed() const { return lastFailed_; }

private:
    uint8_t ByteAtSlow(uint64_t offset);
    const uint8_t *SpanSlow(uint64_t offset, size_t &count);
    void Load(uint64_t offset);

    InputFile &file_;
    size_t blockSize_;
    std::unique_ptr<uint8_t[]> block_;
    uint64_t blockStart_ = 0;
    size_t blockLength_ = 0;
    bool loaded_ = false;
    bool lastFailed_ = false;
};

} // namespace corvex
