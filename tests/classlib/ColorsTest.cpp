#include "classlib/Colors.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/Exceptions.h"

using namespace ClassLib;

TEST(Colors, EveryNamedColourRoundTripsThroughItsName) {
    for (const TColorIdent& ident : ColorIdents()) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(ident.Name)));
        EXPECT_EQ(ColorToString(ident.Value), ident.Name);
        EXPECT_EQ(StringToColor(ident.Name), ident.Value);
    }
    EXPECT_EQ(StringToColor(L"CLRED"), clRed);  // names ignore case
}

TEST(Colors, UnnamedColoursUseHexadecimalText) {
    EXPECT_EQ(ColorToString(0x00123456), L"$00123456");
    EXPECT_EQ(ColorToString(RGBToColor(1, 2, 3)), L"$00030201");
    struct TCase { const wchar_t* Text; TColor Color; };
    const TCase cases[] = {
        {L"$00123456", 0x123456}, {L"0x00FF00", clLime}, {L"255", clRed},
        {L"$FF00000F", clBtnFace}, {L"-16777201", clBtnFace}, {L" 16 ", 16},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        EXPECT_EQ(StringToColor(c.Text), c.Color);
    }
}

TEST(Colors, TextThatIsNoColourRaises) {
    for (const wchar_t* text : {L"", L"clNoSuchColour", L"$", L"$123456789", L"12ab", L"99999999999"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
        EXPECT_THROW(StringToColor(text), EConvertError);
    }
}

TEST(Colors, SystemColoursResolveAndPlainOnesStay) {
    EXPECT_EQ(ColorToRGB(clBtnFace), TColor(::GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ColorToRGB(clWindowText), TColor(::GetSysColor(COLOR_WINDOWTEXT)));
    EXPECT_EQ(ColorToRGB(clTeal), clTeal);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(clNone, 0x1FFFFFFF);
    EXPECT_EQ(ColorRed(RGBToColor(10, 20, 30)), 10);
    EXPECT_EQ(ColorGreen(RGBToColor(10, 20, 30)), 20);
    EXPECT_EQ(ColorBlue(RGBToColor(10, 20, 30)), 30);
}
