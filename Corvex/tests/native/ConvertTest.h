// Shared set-up for the tests of whole conversions: text written as an input
// file and split through ExtractFromPath into a fresh folder, with every
// cache size.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "CoreTest.h"
#include "ExtractFromPath.h"

namespace corvex::test {

class Convert : public CoreTest {
protected:
    int32_t Run(const std::string &input, const std::string &output, int32_t kind,
                int32_t *rc, CorvexByteTotal *total = nullptr, ProgressCallback progress = nullptr) {
        CallContext ctx(host, GetParam()); // one per call, as each export makes
        return ExtractFromPath(ctx, input.c_str(), output.empty() ? nullptr : output.c_str(),
                               kind, total, rc, progress);
    }
    // Extracts text as a file of the given kind into a fresh folder "out".
    int32_t Split(const std::string &text, int32_t kind, int32_t &rc) {
        std::filesystem::remove_all(dir / "out");
        WriteFile(dir / "mail.txt", text);
        return Run(dir / "mail.txt", dir / "out", kind, &rc);
    }
    std::string Out(const char *name) { return ReadFile(dir / "out" + "/" + name); }
    // Every output file, in name order.
    std::vector<std::string> Outputs() {
        std::vector<std::string> files;
        for (const std::string &name : List(dir / "out"))
            files.push_back(ReadFile(dir / "out" + "/" + name));
        return files;
    }
};

// Everything a progress callback was told, in order.
extern std::vector<std::array<uint32_t, 4>> g_progress;
int32_t CORVEX_CALL Record(uint32_t a, uint32_t b, uint32_t c, uint32_t d);

} // namespace corvex::test
