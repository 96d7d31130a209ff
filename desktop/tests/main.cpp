// Test program for the desktop program's windows under Wine: the real
// windows, on the test display, over the real Corvex.dll.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The shell's folder browser (new style) needs OLE on this thread, as
    // in the program.
    if (FAILED(OleInitialize(nullptr)))
        return 1;
    int status = RUN_ALL_TESTS();
    OleUninitialize();
    return status;
}
