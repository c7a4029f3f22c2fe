#include "classlib/Printer.h"

#include <gtest/gtest.h>

#include "classlib/Pictures.h"

using namespace ClassLib;

TEST(Printer, PrintsPagesOnAMemoryDeviceContext) {
    TBitmap page(200, 300, pf24bit);
    page.Canvas()->Brush()->SetColor(clWhite);
    page.Canvas()->FillRect(Rect(0, 0, 200, 300));
    HDC dc = page.Canvas()->Handle();

    TPrinter printer;
    printer.SetTitle(L"AdvMemo print job");
    printer.SetDevice(dc);
    EXPECT_FALSE(printer.Printing());
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 1);
    EXPECT_EQ(printer.PageWidth(), 200);
    EXPECT_EQ(printer.PageHeight(), 300);
    EXPECT_THROW(printer.BeginDoc(), EPrinter);

    printer.Canvas()->Font()->SetName(L"Courier New");
    printer.Canvas()->Font()->SetSize(10);
    printer.Canvas()->Brush()->SetStyle(bsClear);
    printer.Canvas()->TextOut(10, 10, L"ATE0 - echo off");
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    printer.Canvas()->Pen()->SetColor(clRed);
    printer.Canvas()->MoveTo(0, 200);
    printer.Canvas()->LineTo(200, 200);
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    EXPECT_FALSE(printer.Canvas()->HandleAllocated());
    EXPECT_THROW(printer.NewPage(), EPrinter);

    int ink = 0;
    for (int y = 8; y < 30; ++y)
        for (int x = 8; x < 190; ++x) ink += page.Canvas()->Pixels(x, y) != clWhite;
    EXPECT_GT(ink, 20);
    EXPECT_EQ(page.Canvas()->Pixels(100, 200), clRed);
}
