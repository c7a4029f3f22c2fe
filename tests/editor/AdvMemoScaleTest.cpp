#include "editor/AdvMemo.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace AdvMemo;

TEST(MemoScale, ChangeScaleGrowsBoundsGutterFontsAndScrollBars) {
    struct TCase {
        int M, D;
        int Width, GutterWidth, GutterMargin, FontHeight, GutterFontHeight, ScrollBar;
        float Scale;
    };
    const TCase cases[] = {
        {144, 96, 450, 68, 34, -20, -18, 24, 1.5f},  // margin 33, kept at half the width
        {120, 96, 375, 56, 28, -16, -15, 20, 1.25f},
        {96, 96, 300, 45, 22, -13, -12, 16, 1.0f},  // the same scale changes nothing
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.M << "/" << c.D);
        TAdvMemo memo(nullptr);
        memo.SetBounds(10, 20, 300, 200);
        memo.SetFont(L"Courier New", -13);
        memo.Gutter()->SetGutterWidth(45);
        memo.Gutter()->SetGutterMargin(22);
        memo.Gutter()->Font()->SetHeight(-12);
        const TMemoRect before = memo.TextArea();

        memo.ChangeScale(c.M, c.D);
        EXPECT_EQ(memo.Width(), c.Width);
        EXPECT_EQ(memo.GutterWidth(), c.GutterWidth);
        EXPECT_EQ(memo.Gutter()->GutterWidth(), c.GutterWidth);
        EXPECT_EQ(memo.Gutter()->GutterMargin(), c.GutterMargin);
        EXPECT_EQ(memo.Font()->Height(), c.FontHeight);
        EXPECT_EQ(memo.FontHeight(), c.FontHeight);  // the model's font follows the control's
        EXPECT_EQ(memo.Gutter()->Font()->Height(), c.GutterFontHeight);
        EXPECT_EQ(memo.ScrollBarSize(), c.ScrollBar);
        EXPECT_FLOAT_EQ(memo.DPIScale(), c.Scale);
        // The text starts after the wider gutter.
        EXPECT_EQ(memo.TextArea().Left - before.Left, c.GutterWidth - 45);
    }
}

TEST(MemoScale, FontsGivenInPointsKeepTheirSize) {
    TAdvMemo memo(nullptr);
    memo.Gutter()->Font()->SetSize(10);
    const int gutterHeight = memo.Gutter()->Font()->Height();
    memo.ChangeScale(144, 96);
    EXPECT_EQ(memo.Gutter()->Font()->Height(), gutterHeight);
    EXPECT_TRUE(memo.Gutter()->Font()->PointSized());
}
