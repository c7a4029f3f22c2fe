#include "classlib/GdiScopes.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"

using namespace ClassLib;

TEST(OffscreenBuffer, FreesItsDCAndBitmapWhenThePaintThrows) {
    TWindowDC screen;
    ASSERT_NE(screen.Handle(), nullptr);
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    try {
        TOffscreenBuffer buffer(screen.Handle(), 32, 16);
        ASSERT_TRUE(buffer);
        memory = buffer.Handle();
        bitmap = buffer.Bitmap();
        EXPECT_EQ(::GetObjectType(memory), DWORD(OBJ_MEMDC));
        EXPECT_EQ(::GetCurrentObject(memory, OBJ_BITMAP), bitmap);
        throw std::runtime_error("paint failed");
    } catch (const std::runtime_error&) {
    }
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(::GetObjectType(memory), 0u);
    EXPECT_EQ(::GetObjectType(bitmap), 0u);
}

TEST(OffscreenBuffer, CopiesItsPictureInColourAndClampsAnEmptySize) {
    TBitmap target(8, 8, pf32bit);
    TCanvas* canvas = target.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, 8, 8));
    {
        // Compatible with the target, not with the monochrome memory DC.
        TOffscreenBuffer buffer(canvas->Handle(), 4, 3);
        ASSERT_TRUE(buffer);
        const RECT all{0, 0, 4, 3};
        TOwnedBrush red(::CreateSolidBrush(RGB(255, 0, 0)));
        ::FillRect(buffer.Handle(), &all, red.get());
        buffer.CopyTo(canvas->Handle());
    }
    EXPECT_EQ(canvas->Pixels(0, 0), clRed);
    EXPECT_EQ(canvas->Pixels(3, 2), clRed);
    EXPECT_EQ(canvas->Pixels(4, 2), clWhite);
    EXPECT_EQ(canvas->Pixels(3, 3), clWhite);

    TOffscreenBuffer empty(canvas->Handle(), 0, -5);
    EXPECT_TRUE(empty);
    EXPECT_EQ(empty.Width(), 1);
    EXPECT_EQ(empty.Height(), 1);
}

TEST(Selection, PutsTheOldObjectsBackInReverseOrderAlsoOnAnException) {
    TOwnedDC dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ originalPen = ::GetCurrentObject(dc.get(), OBJ_PEN);
    TOwnedPen red(::CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    TOwnedPen blue(::CreatePen(PS_SOLID, 1, RGB(0, 0, 255)));
    try {
        TSelection first(dc.get(), red.get());
        {
            TSelection second(dc.get(), blue.get());
            EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), blue.get());
        }
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), red.get());
        throw std::runtime_error("drawing failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), originalPen);
    {
        TSelection nothing(dc.get(), nullptr);  // a failed Create... selects nothing
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), originalPen);
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), originalPen);
}
