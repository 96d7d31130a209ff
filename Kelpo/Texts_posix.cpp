// Texts of the Linux build: the list the Windows string table is made from,
// turned from UTF-8 into code page 932 once, so that the rest of the program
// sees the same bytes the Windows build gets from LoadStringA.
#include "Texts.h"

#include <iconv.h>

#include <cstring>
#include <string>
#include <vector>

namespace kelpo {
namespace {

struct SourceText {
    unsigned id;
    const char *utf8;
};

const SourceText SourceTexts[] = {
#define KELPO_TEXT(id, text) {id, text},
#include "KelpoTexts.inc"
#undef KELPO_TEXT
};

class Converter {
public:
    Converter(const char *to, const char *from) : handle_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            iconv_close(handle_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // The whole text converted, or an empty string when it cannot be.
    std::string Convert(const char *text) const
    {
        std::string in(text);
        std::string out(in.size() * 2 + 4, '\0');
        char *inPtr = &in[0];
        size_t inLeft = in.size();
        char *outPtr = &out[0];
        size_t outLeft = out.size();
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1))
            return std::string();
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t handle_;
};

struct Text {
    unsigned id;
    std::string bytes;
};

const std::vector<Text> &TextTable()
{
    static const std::vector<Text> table = [] {
        std::vector<Text> texts;
        const Converter toCp932("CP932", "UTF-8");
        for (const SourceText &source : SourceTexts)
            texts.push_back({source.id, toCp932.ok() ? toCp932.Convert(source.utf8) : ""});
        return texts;
    }();
    return table;
}

} // namespace

const char *LoadText(unsigned id)
{
    static char buffer[TextBufferSize];
    std::memset(buffer, 0, sizeof buffer);
    for (const Text &text : TextTable()) {
        if (text.id == id) {
            // Cut like LoadStringA: at most the buffer less its terminator.
            std::memcpy(buffer, text.bytes.data(),
                        text.bytes.size() < sizeof buffer ? text.bytes.size() : sizeof buffer - 1);
            break;
        }
    }
    return buffer;
}

} // namespace kelpo
