// Positioned reads of one input file through a block cache, up to the size
// the file had when it was opened (a file that grows meanwhile is read to
// that size). Every answer is what a positioned one-byte read would give:
// the byte, or 0 at and beyond the end of the file and when a read fails.
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
        uint64_t rel = offset - current_->start;
        if (rel < current_->length)
            return current_->bytes[rel];
        return ByteAtSlow(offset);
    }
    // The cached bytes from offset to the end of its block; count 0 (and null)
    // at the end of the file or when the read fails.
    const uint8_t *Span(uint64_t offset, size_t &count) {
        uint64_t rel = offset - current_->start;
        if (rel < current_->length) {
            count = current_->length - size_t(rel);
            return current_->bytes.get() + rel;
        }
        return SpanSlow(offset, count);
    }
    // Whether the data ends at offset: the end of the file, or a read that
    // failed. (A NUL byte is data like any other.)
    bool EndAt(uint64_t offset) {
        size_t count;
        Span(offset, count);
        return count == 0;
    }
    // Fills count bytes from offset, zeros where no byte could be read.
    void ReadBytesAt(uint64_t offset, uint8_t *buffer, size_t count);
    // True once a read failed, or gave fewer bytes than the size promised
    // (the file was cut by another program): what was read past that point
    // is not the file's whole content.
    bool Failed() const { return failed_; }

private:
    // Two blocks, so that a look across a block edge and back reads nothing again.
    struct Block {
        std::unique_ptr<uint8_t[]> bytes;
        uint64_t start = 0;
        size_t length = 0;
        bool loaded = false;
        bool Holds(uint64_t offset, size_t size) const {
            return loaded && offset >= start && offset - start < size;
        }
    };
    uint8_t ByteAtSlow(uint64_t offset);
    const uint8_t *SpanSlow(uint64_t offset, size_t &count);
    Block &Find(uint64_t offset);

    InputFile &file_;
    size_t blockSize_;
    Block blocks_[2];
    Block *current_;
    uint64_t size_;
    bool failed_ = false;
};

} // namespace corvex
