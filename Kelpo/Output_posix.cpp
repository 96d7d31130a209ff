// Output of the Linux build: the code page 932 texts turned into the
// terminal's character set, as the locale names it. Under a Shift-JIS locale
// the bytes go out as they are; under the C locale, which can show no
// Japanese at all, they go out as UTF-8.
#include "Output.h"

#include "Cp932.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <string>

namespace kelpo {
namespace {

bool NamesShiftJis(const char *codeset)
{
    return strcasestr(codeset, "SJIS") != nullptr || strcasestr(codeset, "SHIFT_JIS") != nullptr ||
           strcasestr(codeset, "SHIFT-JIS") != nullptr || strcasestr(codeset, "932") != nullptr ||
           strcasestr(codeset, "31J") != nullptr;
}

bool NamesAscii(const char *codeset)
{
    return strcasecmp(codeset, "ANSI_X3.4-1968") == 0 || strcasecmp(codeset, "ASCII") == 0 ||
           strcasecmp(codeset, "US-ASCII") == 0;
}

class TerminalEdge {
public:
    TerminalEdge()
    {
        setlocale(LC_CTYPE, "");
        const char *codeset = nl_langinfo(CODESET);
        if (codeset == nullptr || NamesShiftJis(codeset))
            return;
        handle_ = iconv_open(NamesAscii(codeset) ? "UTF-8" : codeset, "CP932");
    }
    ~TerminalEdge()
    {
        if (converts())
            iconv_close(handle_);
    }
    TerminalEdge(const TerminalEdge &) = delete;
    TerminalEdge &operator=(const TerminalEdge &) = delete;

    void Write(const char *text, size_t length) const
    {
        if (!converts()) {
            std::fwrite(text, 1, length, stdout);
            return;
        }
        std::string in(text, length);
        char *inPtr = &in[0];
        size_t inLeft = length;
        char out[1024];
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char *outPtr = out;
            size_t outLeft = sizeof out;
            const size_t done = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
            std::fwrite(out, 1, sizeof out - outLeft, stdout);
            if (done == static_cast<size_t>(-1) && errno != E2BIG) {
                // A character the terminal cannot show: a question mark for it.
                std::fputc('?', stdout);
                const size_t skip = quillbox::LeadBytes::ShiftJis().CharLength(inPtr, inLeft, 0);
                inPtr += skip;
                inLeft -= skip;
            }
        }
    }

private:
    bool converts() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    iconv_t handle_ = reinterpret_cast<iconv_t>(-1);
};

} // namespace

void WriteText(const char *text, size_t length)
{
    static const TerminalEdge edge;
    edge.Write(text, length);
    std::fflush(stdout);
}

} // namespace kelpo
