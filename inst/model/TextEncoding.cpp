#include "TextEncoding.h"

#include "Cp932.h"

namespace setup {

namespace {

bool HasHighBytes(const std::string &bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

bool IsShiftJisTrail(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Half-width katakana and ASCII stand alone; 0x80, 0xA0 and 0xFD to 0xFF
// are no characters of a real Shift-JIS text.
bool IsShiftJisSingle(unsigned char byte) {
    return byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF);
}

struct ShiftJisLook {
    bool wellFormed = true;
    bool punctuationOrKana = false;
};

ShiftJisLook LookAsShiftJis(const std::string &bytes) {
    ShiftJisLook look;
    for (size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (quillbox::IsShiftJisLeadByte(byte)) {
            if (i + 1 >= bytes.size() || !IsShiftJisTrail(static_cast<unsigned char>(bytes[i + 1]))) {
                look.wellFormed = false;
                return look;
            }
            if (byte <= 0x83)
                look.punctuationOrKana = true;
            i += 2;
        } else if (IsShiftJisSingle(byte)) {
            ++i;
        } else {
            look.wellFormed = false;
            return look;
        }
    }
    return look;
}

bool StartsWith(const std::string &bytes, const char *mark, size_t length) {
    return bytes.compare(0, length, mark, length) == 0;
}

} // namespace

bool IsWellFormedUtf8(const std::string &bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        size_t length;
        unsigned long value;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            value = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            value = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            value = lead & 0x07;
        } else {
            return false;
        }
        if (bytes.size() - i < length)
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            value = value << 6 | (next & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
        const unsigned long least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (value < least[length] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

TextEncoding GuessTextEncoding(const std::string &bytes, unsigned systemCodePage) {
    if (StartsWith(bytes, "\xEF\xBB\xBF", 3))
        return {kCodePageUtf8, 3};
    if (StartsWith(bytes, "\xFF\xFE", 2))
        return {kCodePageUtf16Le, 2};
    if (!HasHighBytes(bytes))
        return {systemCodePage, 0};
    if (IsWellFormedUtf8(bytes))
        return {kCodePageUtf8, 0};
    const ShiftJisLook look = LookAsShiftJis(bytes);
    if (systemCodePage == kCodePageShiftJis)
        return {look.wellFormed ? kCodePageShiftJis : kCodePageWestern, 0};
    if (look.wellFormed && look.punctuationOrKana)
        return {kCodePageShiftJis, 0};
    return {systemCodePage, 0};
}

} // namespace setup
