// How the library counts positions in its input. A position is the offset of
// a byte from the file's first byte. A line is told by its first byte
// (`start`), its length before its line end, and the first byte after its
// line end (`next`). A limit is the first position a walk does not read a
// line at: the bytes before it are the walk's.
#pragma once

#include <cstdint>

namespace corvex {

// The limit of a search over a whole file of size bytes: one past its end.
// The last message then runs to that position, and its end is trimmed as if
// one more byte followed the file; that byte is never written.
constexpr uint64_t WholeFileLimit(uint64_t size) { return size + 1; }

// Whether a search up to limit covers a file of size bytes to its end (a
// region may stop before it).
constexpr bool ReachesEndOfFile(uint64_t limit, uint64_t size) { return limit > size; }

// The bytes from at up to limit: none when at stands at or past it.
constexpr uint64_t BytesBefore(uint64_t limit, uint64_t at) { return at < limit ? limit - at : 0; }

} // namespace corvex
