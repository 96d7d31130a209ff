// libFuzzer target over the whole conversion of one file. The first bytes
// choose the kind, the threshold and the cache size; the rest is the file.
// Checked: for general text the .eml files, in name order, are the input
// from the first message on; for @nifty input each file is a slice of the
// input, in order and not overlapping; for mbox input each file is a slice
// with one ">" taken from every line that begins with ">"s and "From ", and
// from the first separator on the slices follow one another with nothing
// between them but one separator line each, after at most one empty line
// (at the end of the file, at most one empty line is left over). The only
// other change allowed is a line of eight hyphens that became "X-Ds:8".
// And through the exports, for
// every kind: the count equals the number of files that KelpoEx wrote. The
// same bytes read as a Date field's value stay within them and in range.
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CallContext.h"
#include "Corvex.h"
#include "ExtractFromPath.h"
#include "FindMessageStart.h"
#include "MailDate.h"
#include "MboxSeparator.h"
#include "Reader.h"
#include "host.h"

namespace {

std::string g_root;

std::vector<std::string> Names(const std::string &folder) {
    std::vector<std::string> names;
    if (DIR *d = ::opendir(folder.c_str())) {
        while (dirent *e = ::readdir(d))
            if (e->d_name[0] != '.')
                names.push_back(e->d_name);
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadAll(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Whether the line that begins at i is one an mbox writer quoted: ">"s and "From ".
bool QuotedLine(const std::string &input, size_t i) {
    if (input[i] != '>')
        return false;
    size_t k = i + 1;
    while (k < input.size() && input[k] == '>')
        ++k;
    return input.compare(k, 5, "From ") == 0;
}

// The length of a quoted line's ">"s and "From ".
size_t QuotedPrefix(const std::string &input, size_t i) {
    size_t k = i;
    while (k < input.size() && input[k] == '>')
        ++k;
    return k - i + 5;
}

// The number of input bytes from at that file stands for, where it holds
// "X-Ds:8\r\n" for eight hyphens and, with unquote, lacks the first ">" of
// each quoted line; npos when it stands for none.
size_t MatchAt(const std::string &input, size_t at, const std::string &file, bool unquote) {
    size_t i = at;
    for (size_t j = 0; j < file.size();) {
        if (i >= input.size())
            return std::string::npos;
        if (unquote && (i == at || IsLineEnd(input[i - 1])) && QuotedLine(input, i) &&
            file.compare(j, QuotedPrefix(input, i) - 1, input, i + 1, QuotedPrefix(input, i) - 1) == 0) {
            // The writer's quote is left out, unless the message ends inside
            // the line's ">"s and "From " (then nothing tells it quoted).
            ++i;
        } else if (file[j] == input[i]) {
            ++i, ++j;
        } else if (file.compare(j, 8, "X-Ds:8\r\n") == 0 && input.compare(i, 8, "--------") == 0) {
            i += 8, j += 8;
        } else {
            return std::string::npos;
        }
    }
    return i - at;
}

// The length of the line end at i (0 when there is none).
size_t LineEndAt(const std::string &s, size_t i) {
    if (i < s.size() && s[i] == '\r')
        return i + 1 < s.size() && s[i + 1] == '\n' ? 2 : 1;
    return i < s.size() && s[i] == '\n' ? 1 : 0;
}

// The length of the separator line at i, its line end included (0 when none).
size_t SeparatorLineAt(const std::string &s, size_t i) {
    if (s.compare(i, 5, "From ") != 0)
        return 0;
    size_t e = i;
    while (e < s.size() && !IsLineEnd(s[e]))
        ++e;
    const size_t end = LineEndAt(s, e);
    return end ? e + end - i : 0;
}

void Check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3)
        return 0;
    if (g_root.empty()) {
        char tmpl[] = "/tmp/corvex-fuzz-XXXXXX";
        g_root = ::mkdtemp(tmpl);
    }
    const int32_t kind = data[0] % 3;
    const int32_t threshold = 1 + data[1] % 12;
    const size_t cache = data[2] % 2 ? corvex::kDefaultCacheSize : 1 + data[2] % 13;
    const std::string input(reinterpret_cast<const char *>(data) + 3, size - 3);
    // The bytes as a Date field's value: read within them, and in range.
    corvex::MailDate date;
    if (corvex::ReadMailDate(input.data(), input.size(), date))
        Check(date.utcSeconds >= 0 && date.utcSeconds <= int64_t(UINT32_MAX), "date in range");
    const std::string in = g_root + "/in", out = g_root + "/out";
    std::ofstream(in, std::ios::binary).write(input.data(), std::streamsize(input.size()));

    corvex::CallContext ctx(corvex::PlatformHost(), cache);
    ctx.PinThreshold(threshold);
    int32_t rc = -1;
    CorvexByteTotal total;
    int32_t count = corvex::ExtractFromPath(ctx, in.c_str(), out.c_str(), kind, &total, &rc, nullptr);
    Check(rc == 0, "result code");
    Check(total.low == input.size() && total.high == 0, "byte total");

    std::vector<std::string> names = Names(out);
    Check(names.size() == size_t(count), "one file per message");

    std::vector<std::string> files;
    for (auto &n : names) {
        files.push_back(ReadAll(out + "/" + n));
        ::unlink((out + "/" + n).c_str());
    }
    if (kind == KindGeneral) {
        std::string all;
        for (auto &f : files)
            all += f;
        Check(all.size() <= input.size(), "general: no more than the input");
        Check(MatchAt(input, input.size() - all.size(), all, false) == all.size(),
              "general: the input from the first message on");
        // ...and it starts where the scanner puts the first message.
        std::unique_ptr<corvex::InputFile> file = corvex::PlatformHost().OpenInput(in.c_str());
        corvex::Reader reader(*file, corvex::kDefaultCacheSize);
        corvex::CallContext scan(corvex::PlatformHost());
        corvex::ScanResult first =
            corvex::MessageScanner(scan, reader, input.size() + 1, kind, 0).Next();
        Check(count == 0 ? !first.Found() : first.Found() && uint64_t(first.offset) == input.size() - all.size(),
              "general: the first file begins at the first message");
    } else if (kind == KindNifty) {
        size_t at = 0;
        for (auto &f : files) {
            size_t p = at;
            while (p + f.size() <= input.size() && MatchAt(input, p, f, false) == std::string::npos)
                ++p;
            Check(p + f.size() <= input.size(), "slice of the input, in order, not overlapping");
            at = p + f.size();
        }
    } else {
        // The messages from the first separator on are the last ones, one
        // for each separator.
        std::unique_ptr<corvex::InputFile> file = corvex::PlatformHost().OpenInput(in.c_str());
        corvex::Reader reader(*file, corvex::kDefaultCacheSize);
        corvex::CallContext scan(corvex::PlatformHost());
        const uint64_t size = input.size();
        size_t separators = 0;
        const uint64_t firstSeparator = corvex::FindMboxSeparator(scan, reader, 0, size);
        for (uint64_t s = firstSeparator; s < size;
             s = corvex::FindMboxSeparator(scan, reader, corvex::NextMboxLine(reader, s, size), size))
            ++separators;
        Check(separators <= files.size(), "mbox: a message for each separator");
        const size_t first = files.size() - separators;
        size_t at = 0;
        for (size_t k = 0; k < files.size(); ++k) {
            const std::string &f = files[k];
            size_t p = at, n = std::string::npos;
            if (k < first) {
                // Found by header runs: anywhere further on, before the first separator.
                for (; p < firstSeparator && n == std::string::npos; ++p)
                    n = MatchAt(input, p, f, true);
                --p;
                Check(n == std::string::npos || p + n <= firstSeparator, "mbox: before the first separator");
            } else if (k == first) {
                // The line after the first separator.
                p = size_t(firstSeparator) + SeparatorLineAt(input, size_t(firstSeparator));
                n = MatchAt(input, p, f, true);
            } else {
                // Right after the one before: its separator line, and before
                // it the writer's empty line that was left out.
                const size_t empty = LineEndAt(input, at);
                for (size_t gap : {size_t(0), empty}) {
                    if (gap && !empty)
                        continue;
                    const size_t line = SeparatorLineAt(input, at + gap);
                    if (line && (n = MatchAt(input, at + gap + line, f, true)) != std::string::npos) {
                        p = at + gap + line;
                        break;
                    }
                }
                Check(n != std::string::npos, "mbox: after the message before, its separator and nothing else");
            }
            Check(n != std::string::npos, "mbox: a slice of the input, unquoted, in order");
            at = p + n;
        }
        if (separators)
            Check(at + LineEndAt(input, at) == input.size(), "mbox: at most one empty line left at the end");
    }
    // The count of each kind, as the library's callers make it, against
    // what the extraction of that kind writes (the setting between 4 and 12).
    const std::string setting = std::to_string(4 + data[1] % 9);
    ::setenv("CORVEX_CRITERIA_KEYWORD_COUNT", setting.c_str(), 1);
    for (int32_t k = KindGeneral; k <= KindMbox; ++k) {
        int32_t countRc = -1, extractRc = -1;
        const int32_t counted = InetMailMessageCountInFileOfKind(in.c_str(), k, 0, nullptr, &countRc, nullptr);
        const int32_t found = KelpoEx(in.c_str(), out.c_str(), k, nullptr, &extractRc, nullptr);
        Check(countRc == 0 && extractRc == 0, "export result codes");
        const std::vector<std::string> written = Names(out);
        Check(counted == found && written.size() == size_t(counted), "the count is the files written");
        for (auto &n : written)
            ::unlink((out + "/" + n).c_str());
    }
    return 0;
}
