#include "graphics/AdvGraphicsHTMLEngine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <string>

#include "classlib/Canvas.h"
#include "classlib/FileNames.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "graphics/AdvGraphics.h"
#include "graphics/AdvUtils.h"
#include "graphics/PictureContainer.h"
#include "graphics/PictureFixtures.h"
#include "support/HangBound.h"

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

// Markup of a hundred thousand tags, lines or entities, and a text with a match at every
// character: the engine walks each once. The bound only catches a hang (walking the rest of
// the text again for every tag and line took minutes).
TEST(AdvGraphicsHTMLEngine, HostileMarkupEnds) {
    const auto repeated = [](const wchar_t* piece, int times) {
        std::wstring text;
        for (int i = 0; i < times; ++i) text += piece;
        return text;
    };
    struct Case { const char* tag; std::wstring text; };
    const Case cases[] = {
        {"line breaks", repeated(L"<BR>", 100000)},     {"list items", repeated(L"<LI>x", 100000)},
        {"bold tags", repeated(L"<B>", 100000)},        {"words", repeated(L"w ", 100000)},
        {"ampersands", repeated(L"&amp;amp;", 50000)},   {"leading blanks", repeated(L" ", 200000) + L"x"},
        {"blanks in one run", repeated(L"&nbsp;", 100000)},
    };
    for (const Case& c : cases)
        for (const bool measureOnly : {true, false}) {
            SCOPED_TRACE(std::string(c.tag) + (measureOnly ? ", measured" : ", painted"));
            const std::wstring text = c.text;
            EXPECT_TRUE(TestSupport::EndsWithin(
                [text, measureOnly] {
                    auto g = Surface();
                    THTMLOptions o;
                    o.MeasureOnly = measureOnly;
                    o.WordWrap = true;
                    THTMLResult r;
                    DrawHTML(g.get(), text, RectF(0, 0, 300, 200), o, r);
                },
                std::chrono::seconds(60)));
        }
    const std::wstring letters(200000, L'a');
    auto marked = std::make_shared<std::wstring>();
    ASSERT_TRUE(TestSupport::EndsWithin([letters, marked] { *marked = HighlightHTML(letters, L"a", L"hi", false); },
                                        std::chrono::seconds(60)));
    EXPECT_EQ(marked->size(), 10 * letters.size());
}

namespace {

using ClassLib::TColor;

// Named pictures of one colour: "wide" 100 x 40 red, "dot" 10 x 10 lime, "pixel" 1 x 1 lime.
class TPictures {
public:
    TPictures() : Container(nullptr), Images(nullptr) {
        Add(L"wide", 100, 40, PictureFixtures::OpaqueRed);
        Add(L"dot", 10, 10, PictureFixtures::OpaqueLime);
        Add(L"pixel", 1, 1, PictureFixtures::OpaqueLime);
        Images.SetSize(16, 16);
        ClassLib::TBitmap blue(16, 16, ClassLib::pf24bit);
        blue.Canvas()->Brush()->SetColor(ClassLib::clBlue);
        blue.Canvas()->FillRect(ClassLib::TRect{0, 0, 16, 16});
        Images.Add(&blue, nullptr);
    }
    static ClassLib::TBytes Png(int width, int height, std::uint32_t color) {
        return ClassLib::EncodePng(PictureFixtures::TwoBands(width, height, color, color));
    }
    THTMLOptions Options() {
        THTMLOptions o;
        o.PictureContainer = &Container;
        o.Images = &Images;
        return o;
    }
    PictureContainer::TPictureContainer Container;
    ClassLib::TImageList Images;

private:
    void Add(const wchar_t* name, int width, int height, std::uint32_t color) {
        PictureContainer::TPictureItem* item = Container.Items()->Add();
        item->SetName(name);
        item->Picture()->LoadFromStream(PictureFixtures::StreamOf(Png(width, height, color)).get());
    }
};

THTMLResult Lay(TAdvGraphics& g, const std::wstring& text, THTMLOptions o, const TRectF& rect = RectF(0, 0, 300, 200),
                bool* hit = nullptr) {
    THTMLResult r;
    const bool h = DrawHTML(&g, text, rect, o, r);
    if (hit) *hit = h;
    return r;
}

TColor PixelAt(TAdvGraphics& g, int x, int y) { return g.Bitmap()->Canvas()->Pixels(x, y); }

}  // namespace

TEST(AdvGraphicsHTMLEngine, PictureBoxesAndSources) {
    auto g = Surface();
    TPictures pictures;
    const float gh = g->CalculateTextHeight(L"gh");
    const std::wstring file = ClassLib::IncludeTrailingPathDelimiter(ClassLib::GetTempDir()) + L"s21-dot.png";
    {
        const ClassLib::TBytes bytes = TPictures::Png(12, 6, PictureFixtures::OpaqueLime);
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(_wfopen(file.c_str(), L"wb"), &std::fclose);
        ASSERT_TRUE(out);
        std::fwrite(bytes.data(), 1, bytes.size(), out.get());
    }
    ClassLib::TMemoryStream data;
    const ClassLib::TBytes png = TPictures::Png(8, 4, PictureFixtures::OpaqueLime);
    data.WriteBuffer(png.data(), int(png.size()));
    const std::wstring base64 = AdvUtils::TAdvUtils::SaveStreamToBase64(&data);

    // A box of w x h takes w + 2 on its line (the widest line + 2 is reported).
    struct Case { std::wstring img; float width, height; };
    const Case cases[] = {
        {L"<IMG src=\"wide\">", 100, 40},
        {L"<IMG src=\"WIDE\" width=\"50\">", 50, 20},
        {L"<IMG src=\"wide\" height=\"20\">", 50, 20},
        {L"<IMG src=\"wide\" width=\"30\" height=\"30\">", 30, 30},
        {L"<IMG src=\"missing\">", 0, 0},
        {L"<IMG>", 0, 0},
        {L"<IMG src=\"file://" + file + L"\">", 12, 6},
        {L"<IMG src=\"FILE://c:\\no\\such.png\">", 0, 0},
        {L"<IMG src=\"data:image/png;base64," + base64 + L"\">", 8, 4},
        {L"<IMG src=\"data:image/png;base64,!!broken\">", 0, 0},
        {L"<IMG src=\"idx:0\">", 16, 16},
        {L"<IMG src=\"IDX:1\">", 0, 0},
        {L"<IMG src=\"idx:-1\">", 0, 0},
    };
    for (const Case& c : cases) {
        THTMLOptions o = pictures.Options();
        o.MeasureOnly = true;
        const THTMLResult r = Lay(*g, c.img, o);
        EXPECT_FLOAT_EQ(c.width + 4, r.Width) << c.img;
        EXPECT_FLOAT_EQ(std::max(gh, c.height), r.Height) << c.img;
    }
    ::DeleteFileW(file.c_str());

    // A picture that does not fit beside the text opens the next line; one wider than the
    // whole line stays where it comes up.
    THTMLOptions o = pictures.Options();
    o.MeasureOnly = true;
    EXPECT_EQ(2, Lay(*g, L"abcdef <IMG src=\"wide\">", o, RectF(0, 0, 110, 200)).LineCount);
    EXPECT_EQ(1, Lay(*g, L"abcdef <IMG src=\"wide\">", o, RectF(0, 0, 300, 200)).LineCount);
    EXPECT_EQ(1, Lay(*g, L"<IMG src=\"wide\">", o, RectF(0, 0, 60, 200)).LineCount);
}

TEST(AdvGraphicsHTMLEngine, PicturesArePaintedAndHitInAnchors) {
    TPictures pictures;
    auto g = Surface();
    Lay(*g, L"<IMG src=\"wide\" width=\"50\"><IMG src=\"idx:0\"><IMG src=\"idx:0\">", pictures.Options());
    EXPECT_EQ(ClassLib::clRed, PixelAt(*g, 25, 10));
    EXPECT_EQ(ClassLib::clWhite, PixelAt(*g, 25, 25));  // the 50 x 20 box
    EXPECT_EQ(ClassLib::clBlue, PixelAt(*g, 60, 8));      // at 52
    THTMLOptions hidden = pictures.Options();
    hidden.NoImageListDraw = true;
    g = Surface();
    Lay(*g, L"<IMG src=\"idx:0\">x", hidden);
    EXPECT_EQ(ClassLib::clWhite, PixelAt(*g, 8, 8));

    // In an anchor: a point on the picture hits, and its ALT picture is the one painted.
    const std::wstring text = L"<A href=\"pic\"><IMG src=\"wide\" alt=\"dot\"></A>";
    struct Case { int x, y; bool hit; TColor painted; };
    const Case cases[] = {{5, 5, true, ClassLib::clLime}, {8, 8, true, ClassLib::clLime},
                          {150, 5, false, ClassLib::clRed}, {5, 60, false, ClassLib::clRed}};
    for (const Case& c : cases) {
        g = Surface();
        THTMLOptions o = pictures.Options();
        o.X = c.x;
        o.Y = c.y;
        bool hit = false;
        const THTMLResult r = Lay(*g, text, o, RectF(0, 0, 300, 200), &hit);
        EXPECT_EQ(c.hit, hit) << c.x << "," << c.y;
        EXPECT_EQ(c.hit ? L"pic" : L"", r.Anchor);
        EXPECT_EQ(c.painted, PixelAt(*g, 5, 5)) << c.x << "," << c.y;
    }
}

TEST(AdvGraphicsHTMLEngine, InlineControlsTakeRoomAndReportThemselves) {
    auto g = Surface();
    const float gh = g->CalculateTextHeight(L"gh");
    // An empty line is reported 2 wide.
    struct Case { const wchar_t* text; float width; };
    const Case cases[] = {
        {L"<CONTROL TYPE=\"EDIT\" ID=\"e\">", 2},
        {L"<CONTROL TYPE=\"EDIT\" WIDTH=\"100\" ID=\"e\">", 102},
        {L"<CONTROL TYPE=\"COMBO\" WIDTH=\"100px\">", 2},
        {L"<CONTROL TYPE=\"CHECK\">", 20},
        {L"<CONTROL TYPE=\"RADIO\" WIDTH=\"100\">", 20},
        {L"<CONTROL TYPE=\"BUTTON\" WIDTH=\"60\" HEIGHT=\"tall\">", 62},
    };
    for (const Case& c : cases) EXPECT_FLOAT_EQ(c.width, Measure(*g, c.text).Width) << c.text;
    EXPECT_FLOAT_EQ(std::max(gh, 38.0f), Measure(*g, L"<CONTROL TYPE=\"BUTTON\" WIDTH=\"60\" HEIGHT=\"40\">").Height);

    // An edit is laid out and hit-tested but not painted; the point finds it, and so does
    // its ID when only looking for controls.
    const std::wstring text = L"ab<CONTROL TYPE=\"edit\" WIDTH=\"100\" ID=\"name\" VALUE=\"x&amp;y\">";
    const float left = g->CalculateTextWidth(L"ab");
    struct Probe { int x, y; bool find; const wchar_t* id; bool hit; };
    const Probe probes[] = {{int(left) + 50, 5, false, L"", true},   {int(left) - 5, 5, false, L"", false},
                            {int(left) + 150, 5, false, L"", false}, {250, 150, true, L"name", true},
                            {250, 150, true, L"other", false}};
    for (const Probe& p : probes) {
        g = Surface();
        THTMLOptions o;
        o.X = p.x;
        o.Y = p.y;
        o.FindControl = p.find;
        o.FindControlID = p.id;
        bool hit = false;
        const THTMLResult r = Lay(*g, text, o, RectF(0, 0, 300, 200), &hit);
        EXPECT_EQ(p.hit, hit) << p.x;
        if (p.hit) {
            EXPECT_EQ(L"ctrl", r.Anchor);
            EXPECT_EQ(L"name", r.ControlID);
            EXPECT_EQ(L"x&y", r.ControlValue);
            EXPECT_EQ(L"EDIT", r.ControlType);
        }
        g->EndScene();
        for (int x = int(left) + 2; x < int(left) + 100; x += 7) ASSERT_EQ(ClassLib::clWhite, PixelAt(*g, x, 10));
    }
    // Looking for a control by ID never matches one that has none.
    THTMLOptions o;
    o.FindControl = true;
    o.X = o.Y = 250;
    EXPECT_FALSE(DrawHTML(g.get(), L"<CONTROL TYPE=\"CHECK\">", RectF(0, 0, 300, 200), o, *std::make_unique<THTMLResult>()));

    // Check boxes and buttons are painted; a button caption is markup itself.
    g = Surface();
    Lay(*g, L"<CONTROL TYPE=\"CHECK\" VALUE=\"TRUE\"><CONTROL TYPE=\"BUTTON\" WIDTH=\"60\" "
            L"VALUE=\"&lt;b&gt;Go&lt;/b&gt;\">",
        THTMLOptions());
    EXPECT_NE(ClassLib::clWhite, PixelAt(*g, 2, 9));
    EXPECT_NE(ClassLib::clWhite, PixelAt(*g, 30, 12));
}

TEST(AdvGraphicsHTMLEngine, BodyBackgroundsLieUnderTheText) {
    TPictures pictures;
    struct Case { const wchar_t* body; bool keepColors; int x, y; TColor color; };
    const Case cases[] = {
        {L"<BODY bgcolor=\"#0000FF\">", false, 250, 150, ClassLib::clBlue},
        {L"<BODY background=\"dot\" bgcolor=\"#0000FF\">", false, 255, 155, ClassLib::clLime},  // tiles on top
        {L"<BODY background=\"IDX:dot\">", false, 295, 195, ClassLib::clLime},
        {L"<BODY bgtopright=\"wide\">", false, 250, 5, ClassLib::clRed},
        {L"<BODY bgtopright=\"wide\">", false, 150, 5, ClassLib::clWhite},
        {L"<BODY bgtopleft=\"wide\" background=\"dot\">", false, 50, 20, ClassLib::clRed},
        {L"<BODY bgtopleft=\"wide\" background=\"dot\">", false, 150, 20, ClassLib::clLime},
        {L"<BODY background=\"dot\">", true, 255, 155, ClassLib::clWhite},
        {L"<BODY background=\"missing\">", false, 255, 155, ClassLib::clWhite},
    };
    for (const Case& c : cases) {
        auto g = Surface();
        THTMLOptions o = pictures.Options();
        o.KeepColors = c.keepColors;
        Lay(*g, std::wstring(c.body) + L"x", o);
        EXPECT_EQ(c.color, PixelAt(*g, c.x, c.y)) << c.body << " " << c.x;
    }
    // A one-pixel tile over a huge layout is bounded work, not millions of draws.
    auto g = Surface();
    Lay(*g, L"<BODY background=\"pixel\">x", pictures.Options(), RectF(0, 0, 100000, 100000));
    EXPECT_EQ(ClassLib::clLime, PixelAt(*g, 0, 0));
}

TEST(AdvGraphicsHTMLEngine, FloatingPicturesKeepTheFollowingLinesClear) {
    TPictures pictures;
    auto g = Surface();
    const float gh = g->CalculateTextHeight(L"gh");
    // The lines after a left-floating picture start beside it, also when the layout does
    // not start at the top; a line below the picture starts at the left again.
    const std::wstring text = L"<IMG src=\"wide\" float=\"left\">one<BR><A href=\"two\">two</A>";
    for (const float top : {0.0f, 100.0f}) {
        struct Case { float x; bool hit; };
        const Case cases[] = {{105, true}, {5, false}};
        for (const Case& c : cases) {
            THTMLOptions o = pictures.Options();
            o.X = int(c.x);
            o.Y = int(top + gh * 1.5f);
            bool hit = false;
            Lay(*g, text, o, RectF(0, top, 300, top + 200), &hit);
            EXPECT_EQ(c.hit, hit) << top << " " << c.x;
        }
    }
    THTMLOptions o = pictures.Options();
    o.X = 5;
    o.Y = int(gh * 3.5f);
    bool hit = false;
    Lay(*g, L"<IMG src=\"dot\" float=\"left\">a<BR>b<BR>c<BR><A href=\"x\">d</A>", o, RectF(0, 0, 300, 200), &hit);
    EXPECT_TRUE(hit);
    // Painted, the floating line takes only the text's height.
    EXPECT_FLOAT_EQ(2 * gh, Lay(*g, text, pictures.Options()).Height);

    // A right-floating picture sits at the right edge.
    g = Surface();
    Lay(*g, L"<IMG src=\"wide\" float=\"right\">x", pictures.Options());
    EXPECT_EQ(ClassLib::clRed, PixelAt(*g, 250, 10));
    EXPECT_EQ(ClassLib::clWhite, PixelAt(*g, 150, 10));

    // A floating paragraph: the next line starts where that paragraph's line started.
    o = THTMLOptions();
    o.MeasureOnly = true;
    const THTMLResult r = Lay(*g, L"<P float=\"left\">a</P>b", o);
    EXPECT_EQ(2, r.LineCount);
    EXPECT_FLOAT_EQ(gh, r.Height);
}

TEST(AdvGraphicsHTMLEngine, PictureAlignmentMovesTheTextBand) {
    TPictures pictures;
    auto g = Surface();
    const float gh = g->CalculateTextHeight(L"gh");
    const float x = 102 + g->CalculateTextWidth(L"ab") / 2;
    // The text of a line raised by a picture is tested where the text band lies.
    struct Case { const wchar_t* img; float y; bool hit; };
    const Case cases[] = {
        {L"<IMG src=\"wide\" align=\"top\">", gh / 2, true},
        {L"<IMG src=\"wide\" align=\"top\">", 40 - gh / 2, false},
        {L"<IMG src=\"wide\">", 40 - gh / 2, true},
        {L"<IMG src=\"wide\">", gh / 2, false},
        {L"<IMG src=\"wide\" align=\"middle\">", 20, true},
    };
    for (const Case& c : cases) {
        THTMLOptions o = pictures.Options();
        o.X = int(x);
        o.Y = int(c.y);
        bool hit = false;
        Lay(*g, std::wstring(c.img) + L"<A href=\"t\">ab</A>", o, RectF(0, 0, 300, 200), &hit);
        EXPECT_EQ(c.hit, hit) << c.img << " " << c.y;
    }
}

TEST(AdvGraphicsHTMLEngine, TextFormsReduceToTheCoreOperations) {
    auto g = Surface();
    g->SetFontSize(11);
    const std::wstring text = L"Hello <b>world</b><br>again";
    const TRectF f = g->CalculateText(text);
    EXPECT_EQ(AdvTypes::RectFToRect(f), g->CalculateTextInt(text));
    EXPECT_EQ(AdvTypes::PointFToSize(g->CalculateTextSize(text)), g->CalculateTextSizeInt(text));
    EXPECT_EQ(RoundToPixel(f.Right - f.Left), g->CalculateTextWidthInt(text));
    EXPECT_EQ(RoundToPixel(f.Bottom - f.Top), g->CalculateTextHeightInt(text));
    const ClassLib::TRect box{5, 6, 60, 200};
    const TRectF boxF = AdvTypes::RectToRectF(box);
    for (const bool wrap : {false, true}) {
        const TRectF r = g->CalculateText(text, boxF, wrap, true);
        EXPECT_EQ(AdvTypes::RectFToRect(r), g->CalculateText(text, box, wrap, true)) << wrap;
        EXPECT_EQ(RoundToPixel(r.Right - r.Left), g->CalculateTextWidth(text, box, wrap, true)) << wrap;
        EXPECT_EQ(RoundToPixel(r.Bottom - r.Top), g->CalculateTextHeight(text, box, wrap, true)) << wrap;
        EXPECT_FLOAT_EQ(r.Bottom - r.Top, g->CalculateTextSize(text, boxF, wrap, true).Y) << wrap;
    }

    // Every rectangle form reports the anchor, and the control strings the inline control.
    const std::wstring markup = L"<a href=\"p\">link</a><CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"true\">";
    const float gh = g->CalculateTextHeight(L"gh");
    const float onLink = 10 + g->CalculateTextWidth(L"link") / 2, onCheck = 10 + g->CalculateTextWidth(L"link") + 9;
    EXPECT_EQ(L"p", g->DrawText(AdvTypes::PointF(10, 10), markup, 0, true, true, onLink, 10 + gh / 2));
    EXPECT_EQ(L"p", g->DrawText(10, 10, 300, 100, markup, false, gtaLeading, gtaLeading, gttNone, 0, -1, -1, true,
                                true, onLink, 10 + gh / 2));
    std::wstring id, value, type;
    EXPECT_EQ(L"ctrl", g->DrawText(ClassLib::TRect{10, 10, 300, 100}, markup, id, value, type, false, gtaLeading,
                                   gtaLeading, gttNone, 0, -1, -1, true, true, onCheck, 10 + 8));
    EXPECT_EQ(L"c", id);
    EXPECT_EQ(L"true", value);
    EXPECT_EQ(L"CHECK", type);
    id = L"c";
    EXPECT_EQ(L"ctrl", g->DrawText(10.0, 10.0, 300.0, 100.0, markup, id, value, type, false, gtaLeading, gtaLeading,
                                   gttNone, 0, -1, -1, true, true, 250, 90));
}
