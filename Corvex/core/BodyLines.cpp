#include "BodyLines.h"

#include "ClassifyHeaderLine.h"
#include "LineEnds.h"

namespace corvex {

BodyLines PassBodyLines(const uint8_t *p, size_t n) {
    BodyLines passed;
    size_t at = 0;
    while (at < n) {
        const size_t end = at + FindLineEnd(p + at, n - at);
        if (end + 1 >= n)
            break; // a CR at the end may be the first half of CR LF
        if (end > at) {
            if (p[at] == '-' || IsFieldLine(p + at, end - at))
                break;
            passed.text = true;
        }
        at = end + ((p[end] == 13 && p[end + 1] == 10) ? 2 : 1);
        ++passed.lines;
    }
    passed.bytes = at;
    return passed;
}

} // namespace corvex
