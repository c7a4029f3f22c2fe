// The one main() of every test executable: GoogleTest with OLE set up on the
// main thread, as the program's own entry does.
#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::OleInitialize(nullptr);
    // Failed assertions from the C runtime should fail the test, not open a dialog.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
