// Test program for the real Corvex.dll under Wine. The library is loaded by
// name from the program's own folder; nothing runs if it cannot be loaded.
#include <gtest/gtest.h>

#include <cstdio>

#include "CorvexDll.h"
#include "ThresholdSetting.h"

namespace {

// The default threshold is the one every test expects unless it sets its
// own, so a value left over from an interrupted run is removed first.
class DefaultSetting : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(ClearThreshold()); }
    void TearDown() override { ClearThreshold(); }
};

} // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const CorvexDll &dll = Dll();
    if (!dll.module) {
        std::fprintf(stderr, "Corvex.dll could not be loaded (error %lu)\n", GetLastError());
        return 1;
    }
    ::testing::AddGlobalTestEnvironment(new DefaultSetting);
    return RUN_ALL_TESTS();
}
