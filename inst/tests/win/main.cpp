// Windows tests of the installer, run under Wine in the build's own prefix.
// They need setup.exe beside them: its string table holds the texts.
#include <gtest/gtest.h>

#include <cstdio>

#include "SetupTestSupport.h"

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!setup::test::SetupTexts()) {
        std::fprintf(stderr, "setup.exe could not be loaded (error %lu)\n", GetLastError());
        return 1;
    }
    return RUN_ALL_TESTS();
}
