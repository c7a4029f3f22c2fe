#include "editor/AdvMemo.h"

#include <gtest/gtest.h>

#include "support/MemorySurface.h"
#include <windows.h>

#include <string>
#include <vector>

#include "classlib/ImageList.h"
#include "classlib/Pictures.h"

using namespace AdvMemo;

namespace {

// A 32-bit memory DC filled with one colour; pixels read back as COLORREF.
using TSurface = TestSupport::TMemorySurface;

const COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kGrey = RGB(192, 192, 192);
const COLORREF kEdge = RGB(0, 64, 128), kFace = RGB(160, 224, 255), kFuchsia = RGB(255, 0, 255);

// A 12 x 12 image of one colour.
void AddSolidImage(ClassLib::TImageList& images, ClassLib::TColor colour) {
    ClassLib::TBitmap picture(12, 12);
    picture.Canvas()->Brush()->SetColor(colour);
    picture.Canvas()->FillRect(ClassLib::TRect(0, 0, 12, 12));
    images.AddMasked(&picture, ClassLib::clFuchsia);
}

}  // namespace

TEST(MemoMarks, ErrorWaveAlternatesAroundTheBottomFromAnEvenStart) {
    // The wave's phase hangs on x: a multiple of four starts below the bottom.
    struct Case { int left, right; std::vector<POINT> red, clear; };
    const Case cases[] = {
        {4, 10, {{4, 11}, {5, 10}, {6, 9}, {7, 10}, {8, 11}, {9, 10}}, {{4, 9}, {6, 11}, {3, 10}, {11, 10}}},
        {5, 10, {{4, 11}, {5, 10}, {6, 9}, {8, 11}}, {{4, 9}, {5, 11}}},   // 5 rounds down to 4
        {6, 10, {{6, 9}, {7, 10}, {8, 11}}, {{4, 11}, {5, 10}, {6, 11}}},
        {2, 4, {{2, 9}, {3, 10}}, {{2, 11}, {5, 10}, {6, 9}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "left " << c.left << ", right " << c.right);
        TSurface surface(24, 16, kWhite);
        DrawErrorWave(surface.DC(), RECT{c.left, 0, c.right, 10});
        for (const POINT& p : c.red) EXPECT_EQ(surface.At(p.x, p.y), kRed) << p.x << "," << p.y;
        for (const POINT& p : c.clear) EXPECT_EQ(surface.At(p.x, p.y), kWhite) << p.x << "," << p.y;
        EXPECT_EQ(surface.Count(RECT{0, 0, 24, 9}, kRed), 0);   // nothing above the wave
        EXPECT_EQ(surface.Count(RECT{0, 12, 24, 16}, kRed), 0);
    }
}

TEST(MemoMarks, ErrorSpanIsAWaveUnderItsColumns) {
    TAdvMemo memo(nullptr);
    memo.SetBounds(0, 0, 400, 120);
    memo.Lines()->SetText(L"alpha beta gamma\r\nsecond");
    memo.SetError(0, 6, 4);
    TSurface surface(400, 120, kWhite);
    memo.PaintTo(surface.DC());
    const TMemoRect area = memo.TextArea();
    const TMemoRect row = memo.LineRect(0);
    const int w = memo.CharWidth();
    const int from = area.Left + 6 * w, to = area.Left + 10 * w;
    // Rows one above and one below the line two pixels over the row's bottom both carry red.
    for (int y : {row.Bottom - 3, row.Bottom - 1}) {
        SCOPED_TRACE(y);
        EXPECT_GE(surface.Count(RECT{from, y, to, y + 1}, kRed), (to - from) / 4);
        EXPECT_EQ(surface.Count(RECT{area.Left, y, from - 1, y + 1}, kRed), 0);
        EXPECT_EQ(surface.Count(RECT{to + 1, y, area.Right, y + 1}, kRed), 0);
    }
    EXPECT_LT(surface.Count(RECT{from, row.Bottom - 2, to, row.Bottom - 1}, kRed), to - from);   // not a straight line
    EXPECT_EQ(surface.Count(RECT{area.Left, memo.LineRect(1).Top, area.Right, area.Bottom}, kRed), 0);
}

TEST(MemoMarks, GutterDrawsMarkerImageBookmarkGlyphAndNumber) {
    TAdvMemo memo(nullptr);
    memo.Lines()->SetText(L"one\r\ntwo\r\nthree");
    memo.Gutter()->SetShowLineNumbers(false);
    ASSERT_FALSE(memo.BookmarkGlyph()->Empty()) << "the program carries the bookmark picture";
    ClassLib::TImageList images(nullptr);
    images.SetSize(12, 12);
    AddSolidImage(images, ClassLib::clLime);
    AddSolidImage(images, ClassLib::clBlue);
    memo.MarkerList().SetMarkerImageList(&images);

    struct Case {
        const char* name;
        bool marker, useDefault;
        int bookmark;        // -2: none, -1: unnumbered
        COLORREF markerPixel;   // with a marker
        int glyphX;          // where the glyph starts
    };
    const Case cases[] = {
        {"numbered bookmark", false, false, 3, kGrey, 0},
        {"unnumbered bookmark", false, false, -1, kGrey, 0},
        {"marker before bookmark", true, false, 3, RGB(0, 255, 0), 16},
        {"default marker image", true, true, -2, RGB(0, 0, 255), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        memo.ClearBookmarks();
        for (int line = 0; line < 3; ++line) memo.SetBookmark(line, false);
        memo.ClearAllMarkers();
        if (c.marker) memo.AddMarker(1, 0);
        memo.MarkerList().SetUseDefaultMarkerImageIndex(c.useDefault);
        memo.MarkerList().SetDefaultMarkerImageIndex(1);
        if (c.bookmark >= 0) memo.SetBookmarkIndex(1, c.bookmark);
        if (c.bookmark == -1) memo.SetBookmark(1, true);

        TSurface surface(64, 20, kGrey);
        memo.DefaultGutterDraw(&memo, surface.DC(), 1, RECT{0, 2, 64, 18});
        if (c.marker) {
            EXPECT_EQ(surface.At(6, 2 + 2 + 5), c.markerPixel);   // the image at (x + 1, y + 2)
        }
        EXPECT_EQ(surface.Count(RECT{0, 0, 64, 20}, kFuchsia), 0) << "the glyph is drawn transparently";
        if (c.glyphX < 0) {
            EXPECT_EQ(surface.Count(RECT{16, 0, 64, 20}, kEdge), 0);
            continue;
        }
        const int x = c.glyphX, y = 2;
        EXPECT_EQ(surface.At(x + 1, y + 5), kEdge);
        EXPECT_EQ(surface.At(x + 10, y + 12), kFace);
        EXPECT_EQ(surface.At(x, y + 5), kGrey);
        // The number within the tag's plain face (smoothing may grey its edges).
        const RECT face{x + 3, y + 3, x + 11, y + 11};
        const int ink = 8 * 8 - surface.Count(face, kFace);
        if (c.bookmark >= 0) {
            EXPECT_GT(ink, 3);
        } else {
            EXPECT_EQ(ink, 0);
        }
    }
    memo.MarkerList().SetMarkerImageList(nullptr);
}

TEST(MemoMarks, SetGlyphCopiesAndAFreedImageListIsForgotten) {
    TAdvMemo memo(nullptr);
    ClassLib::TBitmap glyph(5, 7);
    memo.SetBookmarkGlyph(&glyph);
    EXPECT_EQ(memo.BookmarkGlyph()->Width(), 5);
    EXPECT_NE(memo.BookmarkGlyph(), &glyph);

    auto* images = new ClassLib::TImageList(nullptr);
    memo.MarkerList().SetMarkerImageList(images);
    TAdvMemo other(nullptr);
    other.MarkerList().Assign(&memo.MarkerList());
    EXPECT_EQ(other.MarkerList().MarkerImageList(), images);
    delete images;
    EXPECT_EQ(memo.MarkerList().MarkerImageList(), nullptr);
    EXPECT_EQ(other.MarkerList().MarkerImageList(), nullptr);
    EXPECT_EQ(memo.MarkerList().ImageTransparentColor(), ClassLib::clWhite);
}

TEST(MemoServices, AssignCopiesTheSettingsAndLeavesTheRest) {
    TAdvMemo source(nullptr), target(nullptr);
    source.Lines()->SetText(L"a\r\nb");
    source.SetBkColor(ClassLib::clYellow);
    source.SetRightMarginColor(ClassLib::clPurple);
    source.SetClipboardFormats(cfText | cfHTML);
    source.CodeFolding().SetLineColor(ClassLib::clNavy);
    source.SetScrollHint(!target.ScrollHint());
    source.SetReadOnly(true);
    source.Font()->SetSize(14);
    source.Gutter()->SetLineNumberTextColor(ClassLib::clMaroon);
    source.UrlStyle()->SetTextColor(ClassLib::clGreen);
    source.MarkerList().SetDefaultMarkerImageIndex(4);
    source.AddMarker(1, 0);
    source.SetTabSize(7);
    source.SetSelColor(ClassLib::clOlive);
    const int tabSize = target.TabSize();
    const ClassLib::TColor selColor = target.SelColor();

    target.Assign(&source);
    EXPECT_EQ(target.Lines()->Text(), source.Lines()->Text());
    EXPECT_EQ(target.BkColor(), ClassLib::clYellow);
    EXPECT_EQ(target.RightMarginColor(), ClassLib::clPurple);
    EXPECT_EQ(target.ClipboardFormats(), cfText | cfHTML);
    EXPECT_EQ(target.CodeFolding().LineColor(), ClassLib::clNavy);
    EXPECT_EQ(target.ScrollHint(), source.ScrollHint());
    EXPECT_TRUE(target.ReadOnly());
    EXPECT_EQ(target.Font()->Size(), 14);
    EXPECT_EQ(target.Gutter()->LineNumberTextColor(), ClassLib::clMaroon);
    EXPECT_EQ(target.UrlStyle()->TextColor(), ClassLib::clGreen);
    EXPECT_EQ(target.MarkerList().DefaultMarkerImageIndex(), 4);
    // Markers, tab size and selection colour are the target's own.
    EXPECT_EQ(target.MarkerCount(), 0);
    EXPECT_EQ(target.TabSize(), tabSize);
    EXPECT_EQ(target.SelColor(), selColor);
}
