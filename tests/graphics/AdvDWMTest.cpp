#include "graphics/AdvDWM.h"

#include <gtest/gtest.h>

TEST(LateBinding, MissingCompositionLibraryAnswersUnavailable) {
    AdvDWM::SetDwmLibraryName(L"atgen-missing-dwm.dll");
    EXPECT_FALSE(AdvDWM::IsDwmEnabled());
    const MARGINS margins = {1, 1, 1, 1};
    EXPECT_EQ(AdvDWM::DwmExtendFrameIntoClientArea(nullptr, margins), E_NOTIMPL);
    LRESULT result = 0;
    EXPECT_FALSE(AdvDWM::DwmDefWindowProc(nullptr, WM_NCHITTEST, 0, 0, result));
    BOOL enabled = TRUE;
    EXPECT_EQ(AdvDWM::DwmIsCompositionEnabled(enabled), E_NOTIMPL);

    // A failed load is not remembered: once the library can be found, the next call binds.
    AdvDWM::SetDwmLibraryName(nullptr);
    if (HMODULE probe = ::LoadLibraryW(L"DWMAPI.DLL")) {
        ::FreeLibrary(probe);
        EXPECT_NE(AdvDWM::DwmIsCompositionEnabled(enabled), E_NOTIMPL);
    }
}
