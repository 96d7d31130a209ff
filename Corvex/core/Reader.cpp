#include "Reader.h"

#include <cstring>

namespace corvex {

Reader::Reader(InputFile &file, size_t blockSize)
    : file_(file), blockSize_(blockSize ? blockSize : 1), block_(new uint8_t[blockSize_]) {}

void Reader::Load(uint64_t offset) {
    // Blocks are aligned so that scanning backwards hits the cache as well.
    blockStart_ = offset - offset % blockSize_;
    loaded_ = true;
    int64_t got = file_.ReadAt(blockStart_, block_.get(), blockSize_);
    lastFailed_ = got < 0;
    blockLength_ = got < 0 ? 0 : size_t(got);
}

uint8_t Reader::ByteAtSlow(uint64_t offset) {
    if (!loaded_ || offset < blockStart_ || offset - blockStart_ >= blockSize_)
        Load(offset);
    uint64_t rel = offset - blockStart_;
    return rel < blockLength_ ? block_[rel] : 0;
}

const uint8_t *Reader::SpanSlow(uint64_t offset, size_t &count) {
    if (!loaded_ || offset < blockStart_ || offset - blockStart_ >= blockSize_)
        Load(offset);
    uint64_t rel = offset - blockStart_;
    if (rel >= blockLength_) {
        count = 0;
        return nullptr;
    }
    count = blockLength_ - size_t(rel);
    return block_.get() + rel;
}

void Reader::ReadBytesAt(uint64_t offset, uint8_t *buffer, size_t count) {
    std::memset(buffer, 0, count);
    size_t done = 0;
    while (done < count) {
        size_t n;
        const uint8_t *p = Span(offset + done, n);
        if (!n)
            break;
        if (n > count - done)
            n = count - done;
        std::memcpy(buffer + done, p, n);
        done += n;
    }
}

} // namespace corvex
