#include "classlib/Canvas.h"

#include <gtest/gtest.h>

#include "classlib/Exceptions.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"

using namespace ClassLib;

namespace {

std::unique_ptr<TBitmap> WhiteBitmap(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>(width, height, pf32bit);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

// Pixels that are not white inside and outside a rectangle.
struct TInk { int Inside = 0; int Outside = 0; };
TInk CountInk(TCanvas* canvas, int width, int height, const TRect& box) {
    TInk ink;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((canvas->Pixels(x, y) & 0xFFFFFF) != clWhite) (box.Contains(Point(x, y)) ? ink.Inside : ink.Outside)++;
    return ink;
}

}  // namespace

TEST(Canvas, FillRectPaintsExactlyTheRectangle) {
    auto bitmap = WhiteBitmap(20, 20);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(5, 5, 10, 8));
    EXPECT_EQ(canvas->Pixels(5, 5), clRed);
    EXPECT_EQ(canvas->Pixels(9, 7), clRed);
    EXPECT_EQ(canvas->Pixels(10, 7), clWhite);  // right and bottom edges stay outside
    EXPECT_EQ(canvas->Pixels(9, 8), clWhite);
    EXPECT_EQ(canvas->Pixels(4, 5), clWhite);
}

TEST(Canvas, LinesUseThePenOfTheMomentTheyAreDrawn) {
    auto bitmap = WhiteBitmap(20, 20);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Pen()->SetColor(clBlue);
    canvas->MoveTo(0, 10);
    canvas->LineTo(20, 10);
    canvas->Pen()->SetColor(clGreen);  // the pen is re-made and selected again
    canvas->MoveTo(3, 0);
    canvas->LineTo(3, 5);
    EXPECT_EQ(canvas->Pixels(7, 10), clBlue);
    EXPECT_EQ(canvas->Pixels(7, 9), clWhite);
    EXPECT_EQ(canvas->Pixels(7, 11), clWhite);
    EXPECT_EQ(canvas->Pixels(3, 2), clGreen);
    EXPECT_EQ(canvas->PenPos(), Point(3, 5));
    canvas->TextOut(1, 1, L"ab");
    EXPECT_EQ(canvas->PenPos(), Point(1 + canvas->TextWidth(L"ab"), 1));
}

TEST(Canvas, TextHasInkOnlyInsideItsMeasuredExtent) {
    auto bitmap = WhiteBitmap(200, 60);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Font()->SetName(L"Courier New");
    canvas->Font()->SetSize(12);
    canvas->Font()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsClear);
    const std::wstring text = L"AT+LCD=<y>";
    const TSize extent = canvas->TextExtent(text);
    ASSERT_GT(extent.cx, 0);
    ASSERT_GT(extent.cy, 0);
    canvas->TextOut(10, 10, text);
    const TInk ink = CountInk(canvas, 200, 60, Bounds(10, 10, extent.cx, extent.cy));
    EXPECT_GT(ink.Inside, 20);
    EXPECT_EQ(ink.Outside, 0);

    // A larger font measures wider: the old font was let go and the new one selected.
    canvas->Font()->SetSize(24);
    EXPECT_GT(canvas->TextWidth(text), extent.cx);
    canvas->Font()->SetStyle({fsBold});
    EXPECT_TRUE(canvas->Font()->Style().Contains(fsBold));
}

TEST(Canvas, StretchDrawScalesASmallBitmap) {
    TBitmap small(2, 2, pf24bit);
    small.Canvas()->SetPixels(0, 0, clRed);
    small.Canvas()->SetPixels(1, 0, clLime);
    small.Canvas()->SetPixels(0, 1, clBlue);
    small.Canvas()->SetPixels(1, 1, clYellow);
    auto target = WhiteBitmap(40, 40);
    target->Canvas()->StretchDraw(Rect(10, 10, 30, 30), &small);
    EXPECT_EQ(target->Canvas()->Pixels(12, 12), clRed);
    EXPECT_EQ(target->Canvas()->Pixels(27, 12), clLime);
    EXPECT_EQ(target->Canvas()->Pixels(12, 27), clBlue);
    EXPECT_EQ(target->Canvas()->Pixels(27, 27), clYellow);
    EXPECT_EQ(target->Canvas()->Pixels(5, 5), clWhite);

    target->Canvas()->Draw(0, 0, &small);  // unscaled
    EXPECT_EQ(target->Canvas()->Pixels(1, 1), clYellow);
}

TEST(Canvas, ShapesFillWithTheBrushAndOutlineWithThePen) {
    auto bitmap = WhiteBitmap(40, 40);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clYellow);
    canvas->Pen()->SetColor(clBlack);
    canvas->Rectangle(2, 2, 20, 20);
    EXPECT_EQ(canvas->Pixels(2, 10), clBlack);
    EXPECT_EQ(canvas->Pixels(10, 10), clYellow);
    const TPoint triangle[] = {{22, 38}, {38, 38}, {30, 22}};
    canvas->Brush()->SetColor(clAqua);
    canvas->Polygon(triangle);
    EXPECT_EQ(canvas->Pixels(30, 34), clAqua);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetStyle(psClear);
    canvas->Ellipse(0, 20, 20, 40);  // invisible with both clear
    EXPECT_EQ(canvas->Pixels(10, 30), clWhite);
}

TEST(Canvas, CopyRectAndAForeignDeviceContext) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    TBitmap target(10, 10, pf32bit);
    HGDIOBJ old = ::SelectObject(dc, target.Handle());
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Brush()->SetColor(clNavy);
    canvas.FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(TColor(::GetPixel(dc, 4, 4)), clNavy);

    auto source = WhiteBitmap(10, 10);
    source->Canvas()->SetPixels(1, 1, clRed);
    canvas.CopyRect(Rect(0, 0, 5, 5), source->Canvas(), Rect(0, 0, 5, 5));
    EXPECT_EQ(canvas.Pixels(1, 1), clRed);
    EXPECT_EQ(canvas.Pixels(2, 2), clWhite);
    EXPECT_EQ(canvas.Pixels(7, 7), clNavy);
    EXPECT_EQ(canvas.ClipRect(), Rect(0, 0, 10, 10));
    canvas.SetHandle(nullptr);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
}

TEST(Canvas, TextRectWithAFormatMeasuresAndShortens) {
    auto bitmap = WhiteBitmap(100, 40);
    TCanvas* canvas = bitmap->Canvas();
    std::wstring text = L"one two three four five six";
    TRect measured = Rect(0, 0, 60, 0);
    canvas->TextRect(measured, text, {tfWordBreak, tfCalcRect});
    EXPECT_EQ(measured.Width() <= 60, true);
    EXPECT_GE(measured.Height(), 2 * canvas->TextHeight(L"W"));  // wrapped onto several lines
    EXPECT_EQ(canvas->Pixels(5, 5), clWhite);                 // measuring draws nothing

    TRect box = Rect(0, 0, 50, 20);
    canvas->TextRect(box, text, {tfSingleLine, tfEndEllipsis, tfModifyString});
    EXPECT_LT(text.size(), 27u);
    EXPECT_NE(text.find(L"..."), std::wstring::npos);
}

// Painters measure and draw text with raw calls on Handle(): the DC must be in the state
// the canvas describes, or captions come out in the DC's default font and black.
TEST(Canvas, TheHandedOutDeviceContextDrawsAsTheCanvasSays) {
    auto bitmap = WhiteBitmap(120, 40);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Font()->SetName(L"Courier New");
    canvas->Font()->SetHeight(-24);
    canvas->Font()->SetColor(clRed);
    canvas->Pen()->SetColor(clBlue);
    canvas->Brush()->SetStyle(bsClear);
    HDC dc = canvas->Handle();
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 24);  // the canvas font, not the DC's own
    LOGPEN pen{};
    ::GetObjectW(::GetCurrentObject(dc, OBJ_PEN), sizeof pen, &pen);
    EXPECT_EQ(TColor(pen.lopnColor), clBlue);
    EXPECT_EQ(::GetBkMode(dc), TRANSPARENT);

    RECT r{2, 2, 118, 38};
    ::DrawTextW(dc, L"WWW", 3, &r, DT_SINGLELINE);
    int red = 0, other = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const TColor c = canvas->Pixels(x, y) & 0xFFFFFF;
            if (c == clRed) ++red;
            else if (c != clWhite && ColorRed(c) < 200) ++other;  // dark ink: the DC's black
        }
    EXPECT_GT(red, 30);
    EXPECT_EQ(other, 0);

    // A change after the hand-out shows on the next one; a raw setting made in between
    // survives a second hand-out that changes nothing.
    canvas->Font()->SetColor(clGreen);
    EXPECT_EQ(TColor(::GetTextColor(canvas->Handle())), clGreen);
    ::SetBkMode(canvas->Handle(), OPAQUE);
    EXPECT_EQ(::GetBkMode(canvas->Handle()), OPAQUE);
    canvas->Brush()->SetStyle(bsClear);  // unchanged: nothing to put right
    EXPECT_EQ(::GetBkMode(canvas->Handle()), OPAQUE);
    canvas->Brush()->SetColor(clYellow);  // a brush change selects the brush and its mode again
    canvas->Brush()->SetStyle(bsClear);
    EXPECT_EQ(::GetBkMode(canvas->Handle()), TRANSPARENT);
}

TEST(Canvas, WithoutADeviceContextDrawingRaises) {
    TCanvas canvas;
    EXPECT_FALSE(canvas.HandleAllocated());
    EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
}

TEST(GdiObjects, DescriptionsReachTheSettingsByName) {
    TFont font;
    SetPropText(&font, GetPropInfo(&font, L"Name"), L"Courier New");
    SetPropText(&font, GetPropInfo(&font, L"Style"), L"[fsBold,fsUnderline]");
    SetPropText(&font, GetPropInfo(&font, L"Height"), L"-20");
    SetOrdProp(&font, L"Color", clNavy);
    EXPECT_EQ(font.Name(), L"Courier New");
    EXPECT_EQ(font.Style(), TFontStyles({fsBold, fsUnderline}));
    EXPECT_EQ(font.Height(), -20);
    EXPECT_EQ(font.Color(), clNavy);
    EXPECT_FALSE(GetPropInfo(&font, L"Size").IsStored(&font));  // Height carries it

    TPen pen;
    SetPropText(&pen, GetPropInfo(&pen, L"Style"), L"psDash");
    EXPECT_EQ(pen.Style(), psDash);
    TBrush brush;
    EXPECT_TRUE(GetPropInfo(&brush, L"Color").IsDefault(&brush));
    SetPropText(&brush, GetPropInfo(&brush, L"Style"), L"bsClear");
    EXPECT_EQ(brush.Style(), bsClear);
}

TEST(GdiObjects, FontSizeHeightAndResolution) {
    TFont font;
    font.SetPixelsPerInch(96);
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    EXPECT_EQ(font.Size(), 10);
    font.SetHeight(-16);
    EXPECT_EQ(font.Size(), 12);
    TFont printerFont;
    printerFont.SetPixelsPerInch(600);
    printerFont.Assign(&font);  // the point size carries over, not the pixels
    EXPECT_EQ(printerFont.Size(), 12);
    EXPECT_EQ(printerFont.Height(), -100);
}

TEST(GdiObjects, ChangesRaiseOnChangeAndAssignCopiesEverySetting) {
    TFont font;
    int changes = 0;
    font.SetOnChange([&changes](TObject*) { ++changes; });
    font.SetName(L"Courier New");
    font.SetSize(10);
    font.SetColor(clRed);
    font.SetStyle({fsItalic, fsUnderline});
    font.SetOrientation(900);
    font.SetCharset(ANSI_CHARSET);
    font.SetName(L"Courier New");  // no change, no event
    EXPECT_EQ(changes, 6);

    TFont copy;
    copy.Assign(&font);
    EXPECT_EQ(copy.Name(), L"Courier New");
    EXPECT_EQ(copy.Height(), font.Height());
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_EQ(copy.Style(), TFontStyles({fsItalic, fsUnderline}));
    EXPECT_EQ(copy.Orientation(), 900);
    EXPECT_EQ(copy.Charset(), ANSI_CHARSET);

    TPen pen;
    pen.SetColor(clRed);
    pen.SetWidth(3);
    pen.SetStyle(psDot);
    TPen penCopy;
    penCopy.Assign(&pen);
    EXPECT_EQ(penCopy.Color(), clRed);
    EXPECT_EQ(penCopy.Width(), 3);
    EXPECT_EQ(penCopy.Style(), psDot);

    TBrush brush;
    brush.SetStyle(bsClear);
    EXPECT_EQ(brush.Handle(), ::GetStockObject(NULL_BRUSH));
    brush.SetColor(clRed);  // a colour makes a clear brush solid
    EXPECT_EQ(brush.Style(), bsSolid);
    EXPECT_THROW(brush.Assign(&pen), EConvertError);
}
