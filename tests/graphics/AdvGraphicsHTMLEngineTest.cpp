#include "graphics/AdvGraphicsHTMLEngine.h"

#include <gtest/gtest.h>

#include <random>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"
#include "graphics/AdvGraphics.h"

using namespace AdvGraphics;
using namespace AdvGraphicsHTMLEngine;
using AdvTypes::RectF;

namespace {

std::unique_ptr<TAdvGraphics> Surface(int width = 300, int height = 200) {
    std::unique_ptr<TAdvGraphics> g = TAdvGraphics::CreateBitmapCanvas(width, height, false);
    g->Bitmap()->Canvas()->Brush()->SetColor(ClassLib::clWhite);
    g->Bitmap()->Canvas()->FillRect(ClassLib::TRect{0, 0, width, height});
    return g;
}

THTMLResult Measure(TAdvGraphics& g, const std::wstring& text, float width = 1000, bool wrap = false) {
    THTMLOptions o;
    o.MeasureOnly = true;
    o.WordWrap = wrap;
    THTMLResult r;
    EXPECT_FALSE(DrawHTML(&g, text, RectF(0, 0, width, 1000), o, r));
    return r;
}

}  // namespace

TEST(AdvGraphicsHTMLEngine, LinesAndWidths) {
    auto g = Surface();
    const float gh = g->CalculateTextHeight(L"gh");
    const THTMLResult empty = Measure(*g, L"");
    EXPECT_EQ(0, empty.LineCount);
    EXPECT_EQ(0, empty.Width);
    EXPECT_FLOAT_EQ(gh, empty.Height);

    struct Case { const wchar_t* text; int lines; };
    const Case cases[] = {
        {L"one<BR>two", 2}, {L"one\rtwo", 2}, {L"one\ntwo", 1}, {L"<UL><LI>a<LI>b</UL>", 3},
        {L"<P align=\"center\">a</P>b", 2}, {L"a<HR>b", 2},
    };
    for (const Case& c : cases) EXPECT_EQ(c.lines, Measure(*g, c.text).LineCount) << c.text;

    // Escaped angles show as text and switch nothing on.
    EXPECT_EQ(Measure(*g, L"a&amp;lt;b").Width, Measure(*g, L"a&lt;b").Width);
    EXPECT_GT(Measure(*g, L"&lt;B&gt;x").Width, Measure(*g, L"<B>x").Width);
    const float plain = g->CalculateTextWidth(L"a<b");
    EXPECT_NEAR(plain + 2, Measure(*g, L"a&lt;b").Width, 1.0f);

    // Without wrapping a long text stays on one line; with it, it breaks at blanks and an
    // overlong word overflows where it comes up.
    const std::wstring words = L"alpha beta gamma delta epsilon";
    const THTMLResult one = Measure(*g, words, 60, false);
    EXPECT_EQ(1, one.LineCount);
    EXPECT_GT(one.Width, 60);
    const THTMLResult wrapped = Measure(*g, words, 80, true);
    EXPECT_GE(wrapped.LineCount, 3);
    EXPECT_LE(wrapped.Width, 80 + 2 + 1);
    const THTMLResult overflow = Measure(*g, L"a Supercalifragilistic b", 40, true);
    EXPECT_EQ(2, overflow.LineCount);
    EXPECT_GT(overflow.Width, 40);
}

TEST(AdvGraphicsHTMLEngine, AnchorsAreHitTested) {
    auto g = Surface();
    const std::wstring text = L"go <A href=\"target\">here</A> now";
    const float before = g->CalculateTextWidth(L"go ");
    const float word = g->CalculateTextWidth(L"here");
    const float gh = g->CalculateTextHeight(L"gh");
    struct Case { float x; bool hit; };
    const Case cases[] = {{before + word / 2, true}, {before / 2, false}, {before + word + 20, false}};
    for (const Case& c : cases) {
        THTMLOptions o;
        o.X = int(c.x);
        o.Y = int(gh / 2);
        THTMLResult r;
        r.Anchor = L"kept";
        EXPECT_EQ(c.hit, DrawHTML(g.get(), text, RectF(0, 0, 300, 100), o, r)) << c.x;
        EXPECT_EQ(c.hit ? L"target" : L"kept", r.Anchor);
    }
    // Through the drawing object, testing only: nothing painted, the anchor still found.
    g = Surface();
    const std::wstring href = g->DrawText(RectF(0, 0, 300, 100), text, false, gtaLeading, gtaLeading, gttNone, 0,
                                          -1, -1, true, true, before + word / 2, gh / 2);
    EXPECT_EQ(L"target", href);
    g->EndScene();
    for (int x = 0; x < 100; ++x) ASSERT_EQ(ClassLib::clWhite, g->Bitmap()->Canvas()->Pixels(x, int(gh / 2)));
}

TEST(AdvGraphicsHTMLEngine, ColoursReachTheCanvas) {
    auto g = Surface();
    g->SetFontSize(20);
    std::wstring id, value, type;
    g->DrawText(RectF(0, 0, 300, 100), L"<FONT bgcolor=\"#00FF00\">WW</FONT> <FONT color=\"#zz\">x</FONT>", id,
                value, type, false, gtaLeading, gtaLeading, gttNone, 0, -1, -1, true);
    g->EndScene();
    EXPECT_EQ(TColor(0x00FF00), g->Bitmap()->Canvas()->Pixels(2, 2));
    // Font, fill and stroke as before the call.
    EXPECT_EQ(20, g->Font()->Size());
}

TEST(AdvGraphicsHTMLEngine, HighlightMarksVisibleText) {
    struct Case { const wchar_t* text; const wchar_t* find; bool doCase; const wchar_t* expected; };
    const Case cases[] = {
        {L"<b>ab</b>xab", L"ab", false, L"<hi><b>ab</hi></b>x<hi>ab</hi>"},
        {L"abab", L"ab", true, L"<hi>ab</hi><hi>ab</hi>"},
        {L"<a href=\"ab\">x</a>", L"ab", false, L"<a href=\"ab\">x</a>"},
        {L"AB", L"ab", true, L"AB"},
        {L"AB", L"ab", false, L"<hi>AB</hi>"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, HighlightHTML(c.text, c.find, L"hi", c.doCase)) << c.text;
    EXPECT_EQ(L"<hi>ab</hi>", TAdvGraphics::ApplyHilight(L"ab", L"ab", L"hi", false));
}

TEST(AdvGraphicsHTMLEngine, MarkupNumbersSaturate) {
    struct Case { const wchar_t* text; int value; };
    const Case cases[] = {{L"12px", 12}, {L"  7", 7}, {L"x", 0}, {L"$1F", 31}, {L"0x10", 16},
                          {L"-5", -5}, {L"-5px", 0}, {L"99999999999999999999", 1000000}};
    for (const Case& c : cases) EXPECT_EQ(c.value, MarkupInt(c.text)) << c.text;
}

TEST(AdvGraphicsHTMLEngine, TextRectangles) {
    auto g = Surface();
    const TRectF empty = g->CalculateText(L"", RectF(5, 6, 100, 100), false, true);
    EXPECT_EQ(RectF(5, 6, 5, 6), empty);
    const TRectF narrow = g->CalculateText(L"abc", RectF(5, 6, 5.4f, 100), false, true);
    EXPECT_EQ(narrow.Top, narrow.Bottom);
    const TRectF plain = g->Context()->CalculateText(L"abc", RectF(0, 0, 1000, 1000), false);
    EXPECT_FLOAT_EQ(plain.Bottom + 1, g->CalculateText(L"abc", RectF(0, 0, 1000, 1000), false, true).Bottom);
    // The optimised path splits at the break tag as written and stacks the lines.
    const float single = g->CalculateText(L"a</b>", RectF(0, 0, 1000, 1000), false, true).Bottom;
    g->SetOptimizedHTMLDrawing(true);
    const TRectF stacked = g->CalculateText(L"a<br/>b", RectF(0, 0, 1000, 1000), false, true);
    EXPECT_NEAR(2 * single, stacked.Bottom, 2.0f);
}

TEST(AdvGraphicsHTMLEngine, FuzzedMarkupReturnsAndRestoresState) {
    auto g = Surface();
    g->SetFontName(L"Arial");
    g->SetFontSize(11);
    g->SetFillColor(0x123456);
    g->SetStrokeColor(0x654321);
    const TColor fontColor = g->Font()->Color();
    static const wchar_t* pieces[] = {
        L"<B>", L"</B>", L"<I>", L"<U>", L"</U>", L"<S>", L"<SUB>", L"</SUP>", L"<SUP>", L"<FONT color=\"#ff0000\">",
        L"<FONT size=\"99999999999\">", L"<FONT bgcolor=\"#12\">", L"</FONT>", L"<A href=\"x\">", L"</A>", L"<HI>",
        L"</HI>", L"<UL>", L"<LI>", L"</UL>", L"<P align=\"right\" indent=\"99999999999\">", L"</P>",
        L"<OF x=\"99999999\">", L"</OF>", L"<IND x=\"-9999999999\">", L"<Z>", L"</Z>", L"<SH>", L"<E>", L"<BR>",
        L"<HR color=\"#0000ff\">", L"<IMG src=\"none\">", L"<", L">", L"&amp;", L"&lt;", L"&nbsp;", L"word ",
        L"\r", L"\n", L"<#", L"\"", L"x",
    };
    std::mt19937 random(21);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 24);
    for (int i = 0; i < 3000; ++i) {
        std::wstring text;
        for (int n = length(random); n > 0; --n) text += pieces[pick(random)];
        THTMLOptions o;
        o.WordWrap = i % 2 == 0;
        o.MeasureOnly = i % 3 == 0;
        o.X = 10;
        o.Y = 5;
        THTMLResult r;
        DrawHTML(g.get(), text, RectF(0, 0, 120, 80), o, r);
        ASSERT_EQ(11, g->Font()->Size()) << i;
        ASSERT_EQ(L"Arial", g->Font()->Name()) << i;
        ASSERT_TRUE(g->Font()->Style().Empty()) << i;
        ASSERT_EQ(fontColor, g->Font()->Color()) << i;
        ASSERT_EQ(TColor(0x123456), g->Fill()->Color()) << i;
        ASSERT_EQ(TColor(0x654321), g->Stroke()->Color()) << i;
        ASSERT_GE(r.Height, 0) << i;
    }
}
