// Files of many GiB without storing them: a host whose one input file is a
// generated pattern (long lines of filler with mail text laid over it at
// chosen offsets) and whose output files keep only their length and a
// checksum. The scanner, the trimming, the separators, the writing and the
// progress values are checked at and across 2^31 and 2^32.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CallContext.h"
#include "Corvex.h"
#include "ExtractFromPath.h"
#include "FirstMessage.h"
#include "Reader.h"
#include "TrimMessageEnd.h"
#include "host.h"

namespace corvex::test {
namespace {

constexpr uint64_t G2 = uint64_t(1) << 31, G4 = uint64_t(1) << 32;

// A checksum of a byte sequence, eight bytes at a time, whatever pieces the
// bytes come in: the same for an output file and the pattern range it copies.
struct Checksum {
    uint64_t sum = 0, length = 0, pending = 0;
    void Add(const uint8_t *p, size_t n) {
        while (n && (length & 7)) {
            pending |= uint64_t(*p++) << (8 * (length++ & 7));
            --n;
            if (!(length & 7))
                Mix();
        }
        for (; n >= 8; n -= 8, p += 8, length += 8) {
            std::memcpy(&pending, p, 8);
            Mix();
        }
        while (n--)
            pending |= uint64_t(*p++) << (8 * (length++ & 7));
    }
    void Mix() {
        sum = (sum ^ pending) * 0x9E3779B97F4A7C15ull + (length >> 3);
        pending = 0;
    }
    bool operator==(const Checksum &o) const {
        return sum == o.sum && length == o.length && pending == o.pending;
    }
};

// Filler lines of 'x' ending in LF every 64 KiB, with texts laid over them.
class Pattern {
public:
    explicit Pattern(uint64_t size) : size_(size) {}
    void Put(uint64_t offset, const std::string &text) { texts_[offset] = text; }
    uint64_t size() const { return size_; }

    void Fill(uint64_t offset, uint8_t *out, size_t count) const {
        std::memset(out, 'x', count);
        for (uint64_t p = offset | 0xFFFF; p < offset + count; p += 0x10000)
            out[p - offset] = '\n';
        // Texts that reach into the range (the one before may reach in too).
        auto it = texts_.upper_bound(offset);
        if (it != texts_.begin())
            --it;
        for (; it != texts_.end() && it->first < offset + count; ++it) {
            const uint64_t begin = it->first, end = begin + it->second.size();
            for (uint64_t p = begin > offset ? begin : offset; p < end && p < offset + count; ++p)
                out[p - offset] = uint8_t(it->second[p - begin]);
        }
    }
    Checksum Sum(uint64_t offset, uint64_t length) const {
        Checksum c;
        std::vector<uint8_t> block(1 << 20);
        while (length) {
            const size_t n = length < block.size() ? size_t(length) : block.size();
            Fill(offset, block.data(), n);
            c.Add(block.data(), n);
            offset += n;
            length -= n;
        }
        return c;
    }

private:
    uint64_t size_;
    std::map<uint64_t, std::string> texts_;
};

class PatternInput : public InputFile {
public:
    explicit PatternInput(const Pattern &p) : p_(p) {}
    uint64_t Size() const override { return p_.size(); }
    int64_t ReadAt(uint64_t offset, void *buffer, size_t count) override {
        if (offset >= p_.size())
            return 0;
        if (count > p_.size() - offset)
            count = size_t(p_.size() - offset);
        p_.Fill(offset, static_cast<uint8_t *>(buffer), count);
        return int64_t(count);
    }

private:
    const Pattern &p_;
};

class SumOutput : public OutputFile {
public:
    explicit SumOutput(Checksum &c) : c_(c) {}
    bool Write(const void *data, size_t count) override {
        c_.Add(static_cast<const uint8_t *>(data), count);
        return true;
    }
    bool SetTime(int64_t) override { return true; }

private:
    Checksum &c_;
};

// One input "/big", one output folder "/out" whose files are checksums.
class PatternHost : public Host {
public:
    explicit PatternHost(const Pattern &p) : p_(p) {}
    std::map<std::string, Checksum> outputs;

    PathStyle Style() const override { return PathStyle::Posix; }
    bool IsLeadByte(unsigned char) const override { return false; }
    std::unique_ptr<InputFile> OpenInput(const char *path) override {
        if (std::string(path) != "/big")
            return nullptr;
        return std::unique_ptr<InputFile>(new PatternInput(p_));
    }
    EntryInfo FindEntry(const char *path) override { return Attributes(path); }
    EntryInfo Attributes(const char *path) override {
        EntryInfo e;
        const std::string p(path);
        if (p == "/big") {
            e.kind = EntryKind::File;
            e.size = p_.size();
        } else if (p == "/out") {
            e.kind = EntryKind::Folder;
        } else if (outputs.count(p)) {
            e.kind = EntryKind::File;
        }
        return e;
    }
    std::unique_ptr<FolderEnumeration> EnumerateFolder(const char *) override { return nullptr; }
    bool SameFolder(const char *, const char *) override { return false; }
    bool CreateFolder(const char *) override { return true; }
    std::unique_ptr<OutputFile> CreateOutput(const char *path) override {
        outputs[path] = Checksum();
        return std::unique_ptr<OutputFile>(new SumOutput(outputs[path]));
    }
    std::unique_ptr<OutputFile> CreateNewOutput(const char *path, bool &exists) override {
        exists = outputs.count(path) != 0;
        return exists ? nullptr : CreateOutput(path);
    }
    bool RemoveFile(const char *path) override { return outputs.erase(path) != 0; }
    bool PumpOneMessage() override { return false; }
    void ReadThresholdSetting(char *buffer, size_t) override { buffer[0] = 0; }
    uint32_t TickMs() override { return 0; }

private:
    const Pattern &p_;
};

std::vector<std::array<uint32_t, 4>> g_reports;
int32_t CORVEX_CALL Report(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    g_reports.push_back({a, b, c, d});
    return 0;
}

uint64_t Offset(const std::array<uint32_t, 4> &r) { return uint64_t(r[3]) << 32 | r[2]; }
uint64_t Size(const std::array<uint32_t, 4> &r) { return uint64_t(r[1]) << 32 | r[0]; }

// Eight known fields, LF ended: a message start at the default threshold.
const std::string kHeader = "Return-Path: <a@b>\nReceived: from x\nDate: Mon\nFrom: a@b\nTo: c@d\n"
                            "Subject: s\nMessage-Id: <1@b>\nMIME-Version: 1.0\n";

class LargeFile : public ::testing::Test {
protected:
    Pattern pattern{G4 + (1 << 20)};
    PatternHost host{pattern};

    // The scanner from start on the pattern, with the default threshold.
    ScanResult Scan(uint64_t start, int32_t kind = KindMbox) {
        CallContext ctx(host);
        std::unique_ptr<InputFile> in(host.OpenInput("/big"));
        Reader r(*in, kDefaultCacheSize);
        return FindMessageStart(ctx, r, pattern.size() + 1, start, kind);
    }
};

TEST_F(LargeFile, HeaderRunsAtAndAcrossTheMarks) {
    // A run that begins before 2^32 and ends after it; one that begins at 2^31
    // exactly; one that begins right after 2^32.
    const uint64_t across = G4 - 40, at = G2, after = G4 + 1000;
    for (uint64_t where : {across, at, after})
        pattern.Put(where - 1, "\n" + kHeader + "\nbody\n");
    ScanResult r = Scan(across - 1000);
    EXPECT_EQ(uint64_t(r.offset), across);
    EXPECT_EQ(r.headerLength, kHeader.size() + 1); // with its empty line
    r = Scan(at - 5000);
    EXPECT_EQ(uint64_t(r.offset), at);
    r = Scan(across + kHeader.size()); // at the empty line after the first
    EXPECT_EQ(uint64_t(r.offset), after);
    // From far before the mark the search walks on over it (2 GiB of filler).
    r = Scan(G2 + 100);
    EXPECT_EQ(uint64_t(r.offset), across);
}

TEST_F(LargeFile, TrimmingLooksBackAcrossTheMark) {
    // An mbox "From " line that straddles 2^32, right before the next message.
    const std::string from = "From a@b Mon Jan  1 00:00:00 2024";
    const uint64_t line = G4 - 19, next = line + from.size() + 1;
    pattern.Put(line - 1, "\n" + from + "\n");
    CallContext ctx(host);
    std::unique_ptr<InputFile> in(host.OpenInput("/big"));
    Reader r(*in, kDefaultCacheSize);
    const uint64_t blockEnd = G4 - 1000;
    EXPECT_EQ(TrimMessageEnd(ctx, r, blockEnd, next - blockEnd, KindMbox), line - blockEnd);
    // The @nifty subject line likewise.
    pattern.Put(G2 - 30, "\nline one\n\x91\xe8\x96\xbc\x81\x46 next\n");
    const uint64_t niftyEnd = G2 - 30 + 10 + 12 - (G2 - 4000);
    EXPECT_EQ(TrimMessageEnd(ctx, r, G2 - 4000, niftyEnd, KindNifty), G2 - 30 - (G2 - 4000));
}

TEST_F(LargeFile, AnMboxIsSplitAtItsSeparatorsAtAndAcrossTheMark) {
    // 4 GiB of filler before the first separator (no header there: no
    // message), a message that crosses 2^32, a separator line that begins at
    // 2^32 exactly, and one after it; each message written whole.
    const std::string sep = "From a@b Mon Jan  1 00:00:00 2024\n";
    const std::vector<uint64_t> separators = {G4 - 300, G4 - 1, G4 + 5000};
    for (uint64_t s : separators)
        pattern.Put(s, "\n" + sep + kHeader + "\n");
    std::vector<uint64_t> begins, ends;
    for (size_t i = 0; i < separators.size(); ++i) {
        begins.push_back(separators[i] + 1 + sep.size());
        ends.push_back(i + 1 < separators.size() ? separators[i + 1] + 1 : pattern.size());
    }
    CallContext ctx(host);
    CorvexByteTotal total{};
    int32_t rc = -1;
    g_reports.clear();
    EXPECT_EQ(ExtractFromPath(ctx, "/big", "/out", KindMbox, &total, &rc, Report), 3);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(uint64_t(total.high) << 32 | total.low, pattern.size());
    ASSERT_EQ(g_reports.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Size(g_reports[i]), pattern.size());
        // The file's first message reports 0; the others their separator.
        EXPECT_EQ(Offset(g_reports[i]), i ? separators[i] + 1 : 0);
    }
    EXPECT_EQ(g_reports[1][3], 1u);
    ASSERT_EQ(host.outputs.size(), 3u);
    const char *names[] = {"/out/00001.eml", "/out/00002.eml", "/out/00003.eml"};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(host.outputs[names[i]].length, ends[i] - begins[i]);
        EXPECT_TRUE(host.outputs[names[i]] == pattern.Sum(begins[i], ends[i] - begins[i]));
    }
}

TEST_F(LargeFile, GeneralTextCountsAndReportsPastTheMark) {
    // Counting (general text): messages found past 2^32 report search starts
    // with a high word; the count covers the whole file.
    const std::vector<uint64_t> starts = {0, G4 - 30, G4 + 4096, G4 + 500000};
    for (uint64_t s : starts)
        pattern.Put(s, (s ? "\n" : "") + kHeader + "\n");
    CallContext ctx(host);
    CorvexByteTotal total{};
    int32_t rc = -1;
    g_reports.clear();
    EXPECT_EQ(ExtractFromPath(ctx, "/big", nullptr, KindGeneral, &total, &rc, Report), 4);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(total.high, 1u);
    ASSERT_EQ(g_reports.size(), 4u);
    EXPECT_EQ(g_reports[0], (std::array<uint32_t, 4>{uint32_t(pattern.size()), 1, 0, 0}));
    // Each later search begins right after the header block before it (its
    // empty line included).
    for (size_t i = 1; i < 4; ++i) {
        const uint64_t headerEnd = (i == 1 ? 0 : starts[i - 1] + 1) + kHeader.size() + 1;
        EXPECT_EQ(Offset(g_reports[i]), headerEnd) << i;
    }
    EXPECT_EQ(g_reports[3][3], 1u); // a high word in the offset too
}

} // namespace
} // namespace corvex::test
