#include "editor/AdvMemoDrawUtils.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "classlib/Canvas.h"

using namespace AdvMemo;
using namespace ClassLib;

TEST(DrawUtils, GradientBandsRunFromColourToColour) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 48, 10);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        DrawGradientBands(canvas, 0x000000, 0x0000FF, true, TRect{0, 0, 48, 10}, 4);
        canvas.SetHandle(nullptr);
    }
    // Band n has red n * 255 / 4 (rounded) and starts at n * 12.
    EXPECT_EQ(::GetPixel(dc, 5, 5) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(::GetPixel(dc, 17, 5) & 0xFFFFFF, 0x000040u);
    EXPECT_EQ(::GetPixel(dc, 30, 5) & 0xFFFFFF, 0x000080u);
    EXPECT_EQ(::GetPixel(dc, 47, 9) & 0xFFFFFF, 0x0000BFu);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

TEST(DrawUtils, PointInRectIncludesRightAndBottom) {
    const TRect box{0, 0, 10, 5};
    EXPECT_TRUE(PointInRectIncl({10, 5}, box));
    EXPECT_TRUE(PointInRectIncl({0, 0}, box));
    EXPECT_FALSE(PointInRectIncl({11, 5}, box));
    EXPECT_FALSE(PointInRectIncl({-1, 2}, box));
}
