#include "Reader.h"

#include <cstring>

namespace corvex {

Reader::Reader(InputFile &file, size_t blockSize)
    : file_(file), blockSize_(blockSize ? blockSize : 1), current_(&blocks_[0]),
      size_(file.Size()) {
    for (Block &b : blocks_)
        b.bytes.reset(new uint8_t[blockSize_]);
}

Reader::Block &Reader::Find(uint64_t offset) {
    Block &other = current_ == &blocks_[0] ? blocks_[1] : blocks_[0];
    if (!current_->Holds(offset, blockSize_)) {
        if (!other.Holds(offset, blockSize_)) {
            // Blocks are aligned so that scanning backwards hits the cache as well.
            other.start = offset - offset % blockSize_;
            other.loaded = true;
            const size_t want = other.start >= size_ ? 0
                                : size_ - other.start < blockSize_ ? size_t(size_ - other.start)
                                                                   : blockSize_;
            const int64_t got = want ? file_.ReadAt(other.start, other.bytes.get(), want) : 0;
            if (got < 0 || size_t(got) < want)
                failed_ = true;
            other.length = got < 0 ? 0 : size_t(got);
        }
        current_ = &other;
    }
    return *current_;
}

uint8_t Reader::ByteAtSlow(uint64_t offset) {
    Block &b = Find(offset);
    uint64_t rel = offset - b.start;
    return rel < b.length ? b.bytes[rel] : 0;
}

const uint8_t *Reader::SpanSlow(uint64_t offset, size_t &count) {
    Block &b = Find(offset);
    uint64_t rel = offset - b.start;
    if (rel >= b.length) {
        count = 0;
        return nullptr;
    }
    count = b.length - size_t(rel);
    return b.bytes.get() + rel;
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
