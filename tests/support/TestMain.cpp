// The one main() of every test executable: GoogleTest with OLE set up on the
// main thread, as the program's own entry does.
#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "classlib/Seams.h"
#include "classlib/Strings.h"

namespace {

// A message box nobody expected would wait for a person that never comes, and the run
// would hang without saying why. It fails the running test with the box's text instead,
// and answers as a cancelling user would. Tests that expect a box replace this seam.
int UnexpectedMessageBox(void*, const std::wstring& text, const std::wstring& caption, unsigned flags) {
    const std::string message = "unexpected message box \"" + ClassLib::UTF8Encode(caption) + "\": " +
                                ClassLib::UTF8Encode(text);
    // Also on stderr: a box raised outside a test (while the program ends) has no test to fail.
    std::fprintf(stderr, "%s\n", message.c_str());
    ADD_FAILURE() << message;
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL: case MB_RETRYCANCEL: case MB_YESNOCANCEL: case MB_CANCELTRYCONTINUE: return IDCANCEL;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDOK;
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::OleInitialize(nullptr);
    // Failed assertions from the C runtime should fail the test, not open a dialog.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ClassLib::Seams().ShowMessageBox = UnexpectedMessageBox;
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
