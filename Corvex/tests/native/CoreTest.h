// Shared set-up for the core's tests: every test runs with several sizes of
// the input cache, so that each place where a read crosses a block edge is
// exercised and must give the same result.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CallContext.h"
#include "FirstMessage.h"
#include "Reader.h"
#include "TestHost.h"

namespace corvex::test {

class CoreTest : public ::testing::TestWithParam<size_t> {
protected:
    CallContext &Ctx() {
        if (!ctx_)
            ctx_.reset(new CallContext(host, GetParam()));
        return *ctx_;
    }
    // Opens bytes as an input file for the scanner.
    Reader &Open(const std::string &bytes) {
        std::string path = dir / ("in" + std::to_string(files_++));
        WriteFile(path, bytes);
        input_ = host.OpenInput(path.c_str());
        reader_.reset(new Reader(*input_, Ctx().cacheSize()));
        size_ = bytes.size();
        return *reader_;
    }
    // The first message from start on.
    ScanResult Find(const std::string &bytes, int32_t kind, uint64_t start = 0) {
        Reader &r = Open(bytes);
        return FindMessageStart(Ctx(), r, size_ + 1, start, kind);
    }
    // Where every message of the whole text begins.
    std::vector<int64_t> Starts(const std::string &bytes, int32_t kind) {
        Reader &r = Open(bytes);
        MessageScanner scanner(Ctx(), r, size_ + 1, kind);
        std::vector<int64_t> starts;
        for (ScanResult found = scanner.Next(); found.Found(); found = scanner.Next())
            starts.push_back(found.offset);
        return starts;
    }

    TempDir dir;
    TestHost host;

private:
    std::unique_ptr<CallContext> ctx_;
    std::unique_ptr<InputFile> input_;
    std::unique_ptr<Reader> reader_;
    uint64_t size_ = 0;
    int files_ = 0;
};

#define CORVEX_CACHE_SIZES(Suite)                                                            \
    INSTANTIATE_TEST_SUITE_P(CacheSizes, Suite,                                              \
                             ::testing::Values(size_t(1), size_t(3), size_t(7),              \
                                               kDefaultCacheSize))

// n header lines of known names, CR LF ended.
inline std::string Fields(int n) {
    static const char *names[] = {"Return-Path: <a@b>", "Received: from x", "Date: Mon",
                                  "From: a@b",          "To: c@d",          "Subject: s",
                                  "Message-Id: <1@b>",  "MIME-Version: 1.0", "X-Mailer: m",
                                  "Content-Type: text/plain", "Cc: e@f",    "Lines: 3"};
    std::string s;
    for (int i = 0; i < n; ++i)
        s += std::string(names[i % 12]) + "\r\n";
    return s;
}

} // namespace corvex::test
