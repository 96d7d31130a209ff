#include "Texts.h"

namespace setup {

std::string FormatText(const std::string &pattern, const std::vector<std::string> &args) {
    // "%" is ASCII and below every trail byte, so a byte-wise scan is safe in
    // code page 932.
    std::string text;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            const char kind = pattern[i + 1];
            if (kind == '%') {
                text += '%';
                ++i;
                continue;
            }
            if (kind == 's' || kind == 'd') {
                if (next < args.size())
                    text += args[next];
                ++next;
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
}

} // namespace setup
