#include "graphics/AdvThemeBinding.h"

#include <gtest/gtest.h>

#include "graphics/ATXPVS.h"
#include "graphics/AdvTBXPVS.h"
#include "graphics/AdvXPVS.h"

using AdvThemeBinding::TThemeLibrary;

TEST(LateBinding, FunctionsALibraryLacksStayEmpty) {
    // A library that has none of the theme functions: binding succeeds, every entry is empty.
    TThemeLibrary library(true);
    ASSERT_TRUE(library.Bind(L"kernel32.dll"));
    for (int i = 0; i < AdvThemeBinding::tfCount; ++i) {
        SCOPED_TRACE(AdvThemeBinding::ThemeFunctionName(AdvThemeBinding::TThemeFunction(i)));
        EXPECT_EQ(library.Entry(AdvThemeBinding::TThemeFunction(i)), nullptr);
    }
    library.Unbind();
    EXPECT_FALSE(library.Loaded());
    EXPECT_FALSE(library.Bind(L"atgen-missing-theme.dll"));

    // The unit binds the real library on first use; rebind it to one without the function.
    AdvTBXPVS::UnbindThemeLibrary();
    EXPECT_EQ(AdvTBXPVS::ThemeLibraryLoadCount(), 0);
    ASSERT_TRUE(AdvTBXPVS::BindThemeLibrary(L"kernel32.dll"));
    EXPECT_EQ(AdvTBXPVS::ThemeLibraryLoadCount(), 1);
    RECT box = {0, 0, 10, 10};
    EXPECT_EQ(AdvTBXPVS::DrawThemeTextEx(nullptr, nullptr, 0, 0, L"x", 1, 0, &box, nullptr), E_NOTIMPL);
    AdvTBXPVS::UnbindThemeLibrary();
    EXPECT_EQ(AdvTBXPVS::ThemeLibraryLoadCount(), 0);
    EXPECT_EQ(AdvTBXPVS::DrawThemeTextEx(nullptr, nullptr, 0, 0, L"x", 1, 0, &box, nullptr), E_NOTIMPL);
    AdvTBXPVS::BindThemeLibrary();
}

TEST(LateBinding, ThemeLibraryBindsItsFunctions) {
    if (!ATXPVS::ThemeLibrary().Loaded()) GTEST_SKIP() << "no visual-styles library";
    EXPECT_NE(ATXPVS::ThemeLibrary().Entry(AdvThemeBinding::tfOpenThemeData), nullptr);
    EXPECT_EQ(ATXPVS::ThemeLibrary().Entry(AdvThemeBinding::tfGetThemePartSize), nullptr);  // not its list
    ATXPVS::ThemeLibrary().Unbind();
    EXPECT_FALSE(ATXPVS::ThemeLibrary().Loaded());

    ASSERT_TRUE(ATXPVS::ThemeLibrary().Bind());

    ASSERT_TRUE(AdvXPVS::ThemeLibrary().Loaded());
    EXPECT_NE(AdvXPVS::ThemeLibrary().Entry(AdvThemeBinding::tfGetThemePartSize), nullptr);
    EXPECT_TRUE(AdvTBXPVS::ThemeLibrary().Loaded());
    EXPECT_EQ(AdvTBXPVS::ThemeLibraryLoadCount(), 1);
}
