#include "rendering/AdvHTML.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/GdiScopes.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "graphics/PictureContainer.h"
#include "graphics/PictureFixtures.h"
#include "support/HTMLFuzz.h"
#include "support/HangBound.h"

using namespace AdvHTML;
using namespace ClassLib;

namespace {

// A white 400 x 200 memory bitmap with a 10-point Tahoma canvas over it.
class THTMLCanvas {
public:
    THTMLCanvas() : FDC(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        FBitmap.reset(::CreateDIBSection(FDC.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        FOld = ::SelectObject(FDC.get(), FBitmap.get());
        FCanvas.SetHandle(FDC.get());
        FCanvas.Font()->SetName(L"Tahoma");
        FCanvas.Font()->SetSize(10);
        FCanvas.Font()->SetColor(clBlack);
        FCanvas.Brush()->SetColor(clWhite);
        Clear();
    }
    ~THTMLCanvas() {
        FCanvas.SetHandle(nullptr);
        ::SelectObject(FDC.get(), FOld);
    }
    void Clear() {
        RECT all{0, 0, Width, Height};
        ::FillRect(FDC.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    TCanvas* Canvas() { return &FCanvas; }
    COLORREF Pixel(int x, int y) { return ::GetPixel(FDC.get(), x, y); }
    // Pixels in the box that are not white.
    int Ink(const TRect& box) {
        int count = 0;
        for (int y = box.Top; y < box.Bottom; ++y)
            for (int x = box.Left; x < box.Right; ++x)
                if (Pixel(x, y) != RGB(255, 255, 255)) ++count;
        return count;
    }
    int InkOf(const TRect& box, COLORREF colour) {
        int count = 0;
        for (int y = box.Top; y < box.Bottom; ++y)
            for (int x = box.Left; x < box.Right; ++x)
                if (Pixel(x, y) == colour) ++count;
        return count;
    }
    // The leftmost inked column in the rows, -1 when none.
    int FirstInkX(int top, int bottom) {
        for (int x = 0; x < Width; ++x)
            for (int y = top; y < bottom; ++y)
                if (Pixel(x, y) != RGB(255, 255, 255)) return x;
        return -1;
    }
    int GH() { return FCanvas.TextHeight(L"gh"); }
    int TextWidth(const std::wstring& s) { return FCanvas.TextWidth(s); }

    static constexpr int Width = 400, Height = 200;
private:
    TOwnedDC FDC;
    TOwnedBitmap FBitmap;
    HGDIOBJ FOld = nullptr;
    TCanvas FCanvas;
};

THTMLParams Params(TCanvas* canvas, const std::wstring& text, TRect r = TRect(0, 0, 400, 200)) {
    THTMLParams p;
    p.Canvas = canvas;
    p.S = text;
    p.R = r;
    return p;
}

THTMLResults Layout(THTMLParams p, const THTMLOptions& options = CanvasEngine) {
    THTMLResults out;
    DrawHTML(p, out, options);
    return out;
}

}  // namespace

TEST(AdvHTMLEngine, EmptyTextAndSimpleMeasures) {
    THTMLCanvas c;
    THTMLParams p = Params(c.Canvas(), L"");
    p.MeasureOnly = true;
    THTMLResults out = Layout(p);
    EXPECT_EQ(out.YSize, c.GH());
    EXPECT_EQ(out.XSize, 0);
    EXPECT_FALSE(out.Hit);
    EXPECT_EQ(out.MouseLink, -1);

    p.S = L"a&nbsp;b";
    out = Layout(p);
    EXPECT_EQ(out.StripVal, L"a b");
    EXPECT_EQ(out.XSize, c.TextWidth(L"a b") + 2);

    p.S = L"&lt;b&gt;x";   // the tag's characters as text: x stays normal weight
    out = Layout(p);
    EXPECT_EQ(out.StripVal, L"<b>x");
    EXPECT_EQ(out.XSize, c.TextWidth(L"<b>x") + 2);

    p.S = L"a<BR>b";
    out = Layout(p);
    EXPECT_EQ(out.StripVal, L"a\rb");
    EXPECT_EQ(out.YSize, 2 * c.GH());

    p.S = L"<Z>hidden</Z>";
    out = Layout(p);
    EXPECT_EQ(out.StripVal, L"hidden");
    EXPECT_EQ(out.XSize, 0);
    EXPECT_EQ(out.YSize, c.GH());
}

TEST(AdvHTMLEngine, RunsAddUpToTheWidthOfTheirText) {
    THTMLCanvas c;
    struct TCase { const wchar_t* Text; const wchar_t* Shown; };
    const TCase cases[] = {
        {L"one two three", L"one two three"}, {L"update: ver. 2.0.1", L"update: ver. 2.0.1"},
        {L"Click && get it", L"Click & get it"}, {L"<B>ver. 2</B> x", L"ver. 2 x"},
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(k.Text)));
        THTMLParams p = Params(c.Canvas(), k.Text);
        p.MeasureOnly = true;
        const bool bold = std::wstring(k.Text).find(L"<B>") != std::wstring::npos;
        const int xsize = Layout(p).XSize;
        if (bold) c.Canvas()->Font()->SetStyle(TFontStyles() + fsBold);
        const int shown = bold ? c.TextWidth(L"ver. 2") + 0 : c.TextWidth(k.Shown);
        if (bold) c.Canvas()->Font()->SetStyle(TFontStyles());
        EXPECT_EQ(xsize, bold ? shown + c.TextWidth(L" x") + 2 : shown + 2);
    }
}

TEST(AdvHTMLEngine, WordWrapBreaksAtBlanksAndCutsWithout) {
    THTMLCanvas c;
    const int narrow = c.TextWidth(L"one two") - 1;
    THTMLParams p = Params(c.Canvas(), L"one two three", TRect(0, 0, narrow, 200));
    p.MeasureOnly = true;
    THTMLResults out = Layout(p);
    EXPECT_EQ(out.YSize, 3 * c.GH());
    // The blank after "one" does not count: the widest line is a single word.
    const int widest = std::max({c.TextWidth(L"one"), c.TextWidth(L"two"), c.TextWidth(L"three")});
    EXPECT_EQ(out.XSize, widest + 2);

    p.WordWrap = false;
    out = Layout(p);
    EXPECT_EQ(out.YSize, c.GH());
}

TEST(AdvHTMLEngine, ParagraphAlignmentEndsWithTheParagraphOnlyInTheCanvasEngine) {
    struct TCase { const char* Name; const THTMLOptions* Options; bool SecondCentred; };
    const TCase cases[] = {{"canvas", &CanvasEngine, false}, {"status bar", &StatusBarEngine, true}};
    for (const TCase& k : cases) {
        SCOPED_TRACE(k.Name);
        THTMLCanvas c;
        Layout(Params(c.Canvas(), L"<P ALIGN=\"CENTER\">x</P>y"), *k.Options);
        const int gh = c.GH();
        const int first = c.FirstInkX(0, gh), second = c.FirstInkX(gh, 2 * gh);
        EXPECT_GT(first, 150);
        if (k.SecondCentred) EXPECT_GT(second, 150);
        else EXPECT_LT(second, 5);
    }
}

TEST(AdvHTMLEngine, AnchorHitGivesItsHrefTitleAndRectangle) {
    THTMLCanvas c;
    THTMLParams p = Params(c.Canvas(), L"go <A HREF=\"h\" TITLE=\"t\">link</A> on");
    const int left = c.TextWidth(L"go ");
    p.X = left + 3;
    p.Y = c.GH() / 2;
    p.CheckOnly = true;
    THTMLResults out = Layout(p);
    EXPECT_TRUE(out.Hit);
    EXPECT_EQ(out.AnchorVal, L"h");
    EXPECT_EQ(out.FocusAnchor, L"t");
    EXPECT_EQ(out.MouseLink, 1);
    EXPECT_EQ(out.HyperLinks, 1);
    EXPECT_EQ(out.HoverRect.Left, left);
    EXPECT_EQ(out.HoverRect.Right, left + c.TextWidth(L"link"));
    EXPECT_EQ(c.Ink(TRect(0, 0, 400, 200)), 0);   // CheckOnly draws nothing

    p.X = 1;   // on "go": no anchor
    out = Layout(p);
    EXPECT_FALSE(out.Hit);
    EXPECT_EQ(out.MouseLink, -1);
}

TEST(AdvHTMLEngine, HoverUnderlinesOnlyTheHoveredAnchor) {
    const std::wstring text = L"<A HREF=\"1\">ab</A>    <A HREF=\"2\">ab</A>";
    struct TCase { const char* Name; bool Hover; bool SameInk; };
    for (const TCase& k : {TCase{"hover set", true, false}, TCase{"every anchor", false, true}}) {
        SCOPED_TRACE(k.Name);
        THTMLCanvas c;
        THTMLParams p = Params(c.Canvas(), text);
        p.Hover = k.Hover;
        p.HoverLink = 2;
        Layout(p);
        const int w = c.TextWidth(L"ab"), gap = c.TextWidth(L"ab    ");
        const int first = c.Ink(TRect(0, 0, w, 30)), second = c.Ink(TRect(gap, 0, gap + w, 30));
        if (k.SameInk) EXPECT_EQ(first, second);
        else EXPECT_LT(first, second);
    }
}

TEST(AdvHTMLEngine, FontSizesAndColours) {
    THTMLCanvas c;
    THTMLParams p = Params(c.Canvas(), L"<FONT SIZE=\"3\">gh</FONT>");
    p.MeasureOnly = true;
    const int sized = Layout(p).YSize;
    TFont saved;
    saved.Assign(c.Canvas()->Font());
    c.Canvas()->Font()->SetSize(14);
    EXPECT_EQ(sized, c.GH());
    c.Canvas()->Font()->SetHeight(-16);
    const int sixteen = c.GH();
    c.Canvas()->Font()->Assign(&saved);
    p.S = L"<FONT SIZE=\"12\">gh</FONT>";
    EXPECT_EQ(Layout(p).YSize, sixteen);

    p.MeasureOnly = false;
    p.S = L"<FONT COLOR=\"clRed\">MMM</FONT>";
    Layout(p);
    EXPECT_GT(c.InkOf(TRect(0, 0, 60, 30), RGB(255, 0, 0)), 10);
}

TEST(AdvHTMLEngine, ListsBlinkAndHiddenText) {
    THTMLCanvas c;
    THTMLParams p = Params(c.Canvas(), L"<UL><LI>a<LI>b</UL>");
    THTMLResults out = Layout(p);
    const int gh = c.GH();
    EXPECT_EQ(out.YSize, 2 * gh);
    EXPECT_EQ(out.StripVal, L"ab");
    const int unit = ::MulDiv(12, ::GetDeviceCaps(c.Canvas()->Handle(), LOGPIXELSX), 96);
    EXPECT_GE(out.XSize, unit + c.TextWidth(L"a"));
    EXPECT_GT(c.Ink(TRect(0, 0, unit, gh)), 0);        // a bullet on each line
    EXPECT_GT(c.Ink(TRect(0, gh, unit, 2 * gh)), 0);

    for (bool on : {false, true}) {
        SCOPED_TRACE(on ? "blink on" : "blink off");
        THTMLCanvas b;
        THTMLParams q = Params(b.Canvas(), L"<BLINK>MMM</BLINK>");
        q.BlinkOn = on;
        Layout(q);
        if (on) EXPECT_GT(b.Ink(TRect(0, 0, 100, 30)), 0);
        else EXPECT_EQ(b.Ink(TRect(0, 0, 100, 30)), 0);   // drawn in the background colour
    }
    THTMLCanvas z;
    Layout(Params(z.Canvas(), L"<Z>MMM</Z>"));
    EXPECT_EQ(z.Ink(TRect(0, 0, 400, 200)), 0);
}

TEST(AdvHTMLEngine, UnclosedRotationLeavesTheCanvasFont) {
    THTMLCanvas c;
    Layout(Params(c.Canvas(), L"<R a=\"90\">up <R a=\"45\">and"));
    EXPECT_EQ(c.Canvas()->Font()->Orientation(), 0);
    c.Canvas()->TextOut(0, 0, L"x");   // selects the canvas font again
    LOGFONTW font{};
    ::GetObjectW(::GetCurrentObject(c.Canvas()->Handle(), OBJ_FONT), sizeof font, &font);
    EXPECT_EQ(font.lfEscapement, 0);
}

TEST(AdvHTMLEngine, ExtremeNumbersStayWithinDrawableBounds) {
    THTMLCanvas c;
    const wchar_t* texts[] = {
        L"<FONT SIZE=\"99999999999\">x</FONT>", L"<FONT STYLE=\"font-size:99999999pt\">x</FONT>",
        L"<P INDENT=\"99999999999\">x", L"<P LINE-HEIGHT=\"1e300\">x", L"<IN x=\"99999999999\">x",
        L"<OF x=\"-99999999999\">x", L"<FONT SIZE=\"-5\">x",
    };
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
        THTMLParams p = Params(c.Canvas(), text);
        p.MeasureOnly = true;
        const THTMLResults out = Layout(p);
        EXPECT_GE(out.XSize, 0);
        EXPECT_GT(out.YSize, 0);
        EXPECT_LE(out.YSize, int(MaxFontPixels * MaxLineHeightFactor * 2));
        EXPECT_LE(out.XSize, MaxMarkupPixels + 4 * MaxFontPixels);
    }
}

TEST(AdvHTMLEngine, ImageListImagesTakeTheirPlace) {
    THTMLCanvas c;
    TImageList images(nullptr);
    images.SetSize(16, 16);
    TBitmap strip;
    strip.SetSize(48, 16);
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(TRect(0, 0, 48, 16));
    images.AddMasked(&strip, clNone);
    ASSERT_EQ(images.Count(), 3);
    struct TCase { const wchar_t* Text; int XSize; int MinHeight; bool Ink; };
    const TCase cases[] = {
        {L"<IMG SRC=\"IDX:1\">", 18 + 2, 16, true},
        {L"<IMG SRC=\"idx:2\">", 18 + 2, 16, true},
        {L"<IMG SRC=\"IDX:5\">", 2 + 2, 0, false},    // beyond the list: no space, the gap only
        {L"<IMG SRC=\"IDX:-1\">", 2 + 2, 0, false},
        {L"<IMG SRC=\"IDX:x\">", 18 + 2, 16, true},   // not a number reads 0
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(k.Text)));
        c.Clear();
        THTMLParams p = Params(c.Canvas(), k.Text);
        p.Images = &images;
        const THTMLResults out = Layout(p);
        EXPECT_EQ(out.XSize, k.XSize);
        EXPECT_GE(out.YSize, k.MinHeight);
        EXPECT_EQ(c.InkOf(TRect(0, 0, 20, 30), RGB(255, 0, 0)) > 0, k.Ink);
    }
}

TEST(AdvHTMLEngine, PrintingStretchesImageListImagesByTheResolutionFactor) {
    TImageList images(nullptr);
    images.SetSize(16, 16);
    TBitmap strip;
    strip.SetSize(16, 16);
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(TRect(0, 0, 16, 16));
    images.AddMasked(&strip, clNone);
    const wchar_t* const image = L"<IMG SRC=\"IDX:0\">";
    struct TCase { const wchar_t* Text; bool Print; double Factor; int Side; };
    const TCase cases[] = {
        {image, false, 3.0, 16},       // the factor counts only when printing
        {image, true, 1.0, 16},
        {image, true, 2.0, 32},
        {image, true, 2.5, 40},
        {L"<BODY BACKGROUND=\"IDX:0\">", true, 3.0, 48},
        {image, true, 0.0, 0},         // no sensible factor: nothing drawn
        {image, true, 1e300, 0},
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(k.Text)) + " factor " + std::to_string(k.Factor));
        THTMLCanvas c;
        THTMLParams p = Params(c.Canvas(), k.Text);
        p.Images = &images;
        p.Print = k.Print;
        p.ResFactor = k.Factor;
        const THTMLResults out = Layout(p);
        EXPECT_EQ(c.InkOf(TRect(0, 0, 100, 100), RGB(255, 0, 0)), k.Side * k.Side);
        if (k.Side > 0) {
            EXPECT_EQ(c.Pixel(k.Side - 1, k.Side - 1), RGB(255, 0, 0));
        }
        // The layout keeps the list's size: the factor scales the picture, not the line.
        if (k.Text == image) {
            EXPECT_EQ(out.XSize, 18 + 2);
        }
    }
}

namespace {

// A container holding "Logo", a 64 x 48 picture red over lime.
struct TLogoContainer {
    TLogoContainer() : Container(nullptr) {
        PictureContainer::TPictureItem* item = Container.Items()->Add();
        item->SetName(L"Logo");
        const TBytes png = EncodePng(PictureFixtures::TwoBands(64, 48, PictureFixtures::OpaqueRed, PictureFixtures::OpaqueLime));
        item->Picture()->LoadFromStream(PictureFixtures::StreamOf(png).get());
    }
    PictureContainer::TPictureContainer Container;
};

// A PNG file in the temporary folder for the length of a test.
struct TPictureFile {
    explicit TPictureFile(const TBytes& bytes) {
        Path = (std::filesystem::temp_directory_path() / L"atgen-html-picture.png").wstring();
        FILE* file = _wfopen(Path.c_str(), L"wb");
        if (file) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    }
    ~TPictureFile() { ::DeleteFileW(Path.c_str()); }
    std::wstring Path;
};

}  // namespace

TEST(AdvHTMLEngine, ContainerPicturesAreFoundByNameAndSizedByTheirAttributes) {
    TLogoContainer logo;
    struct TCase { const wchar_t* Text; int Width; int Height; };
    const TCase cases[] = {
        {L"<IMG SRC=\"Logo\">", 64, 48},
        {L"<IMG SRC=\"lOGO\" WIDTH=\"32\">", 32, 24},         // letter case does not matter; height follows
        {L"<IMG SRC=\"logo\" HEIGHT=\"24\">", 32, 24},
        {L"<IMG SRC=\"Logo\" WIDTH=\"20\" HEIGHT=\"30\">", 20, 30},
        {L"<IMG SRC=\"Nothing\">", 0, 0},                     // not in the container: no space, the gap only
        {L"<IMG SRC=\"IDX:Logo\">", 64, 48},                  // no image list: the rest names a picture
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(k.Text)));
        THTMLCanvas c;
        THTMLParams p = Params(c.Canvas(), k.Text);
        p.Container = &logo.Container;
        const THTMLResults out = Layout(p);
        EXPECT_EQ(out.XSize, k.Width + 2 + 2);
        EXPECT_GE(out.YSize, k.Height);
        // Red in the top half of the drawn size, lime in the bottom half, nothing beyond it.
        if (k.Width > 0) {
            EXPECT_EQ(c.Pixel(k.Width - 1, 0), RGB(255, 0, 0));
            EXPECT_EQ(c.Pixel(0, k.Height - 1), RGB(0, 255, 0));
        }
        EXPECT_EQ(c.InkOf(TRect(k.Width, 0, 100, 60), RGB(255, 0, 0)), 0);
        EXPECT_EQ(c.InkOf(TRect(0, k.Height, 100, 60), RGB(0, 255, 0)), 0);
    }
    THTMLCanvas none;
    EXPECT_EQ(Layout(Params(none.Canvas(), L"<IMG SRC=\"Logo\">")).XSize, 4) << "no container given";
}

TEST(AdvHTMLEngine, AddressedPicturesAreLoadedOnceIntoTheCache) {
    const TPictureFile file(EncodePng(PictureFixtures::TwoBands(10, 8, PictureFixtures::OpaqueRed, PictureFixtures::OpaqueRed)));
    PictureContainer::THTMLPictureCache cache;
    struct TCase { std::wstring Source; int Width; int CacheCount; };
    const TCase cases[] = {
        {L"file://" + file.Path, 10, 1},
        {L"file://" + file.Path, 10, 1},                   // found in the cache, not loaded again
        {L"file://" + file.Path + L".missing", 0, 2},      // stays in the cache, empty, and takes no space
        {L"file://" + file.Path + L".missing", 0, 2},
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(testing::PrintToString(k.Source));
        THTMLCanvas c;
        THTMLParams p = Params(c.Canvas(), L"<IMG SRC=\"" + k.Source + L"\">");
        p.ImageCache = &cache;
        EXPECT_EQ(Layout(p).XSize, k.Width + 4);
        EXPECT_EQ(cache.Count(), k.CacheCount);
        EXPECT_EQ(c.InkOf(TRect(0, 0, 10, 30), RGB(255, 0, 0)) > 0, k.Width > 0);   // at the foot of the text line
    }
}

TEST(AdvHTMLEngine, BodyPicturesTileTheRectangleOrFillItsRightEdge) {
    PictureContainer::TPictureContainer container(nullptr);
    const auto add = [&](const wchar_t* name, const TBytes& bytes) {
        PictureContainer::TPictureItem* item = container.Items()->Add();
        item->SetName(name);
        item->Picture()->LoadFromStream(PictureFixtures::StreamOf(bytes).get());
    };
    add(L"Tile", EncodePng(PictureFixtures::TwoBands(10, 10, PictureFixtures::OpaqueRed, PictureFixtures::OpaqueLime)));
    const PictureFixtures::TFakeSVGScope importer;
    add(L"Flat", PictureFixtures::Svg(0, 10));
    const TRect r(0, 0, 35, 25);
    const COLORREF red = RGB(255, 0, 0), lime = RGB(0, 255, 0), white = RGB(255, 255, 255);

    struct TCase { const wchar_t* Text; int X; int Y; COLORREF Colour; };
    const TCase cases[] = {
        {L"<BODY BACKGROUND=\"tile\">", 0, 0, red},
        {L"<BODY BACKGROUND=\"tile\">", 12, 6, lime},      // second column, lower band
        {L"<BODY BACKGROUND=\"tile\">", 34, 22, red},      // last, cut row and column
        {L"<BODY BACKGROUND=\"tile\">", 36, 5, white},     // clipped to the rectangle
        {L"<BODY BACKGROUND=\"tile\">", 5, 27, white},
        {L"<BODY BGTOPLEFT=\"tile\">", 24, 16, lime},
        {L"<BODY BGTOPRIGHT=\"tile\">", 25, 0, red},       // a column at the right edge
        {L"<BODY BGTOPRIGHT=\"tile\">", 34, 24, red},
        {L"<BODY BGTOPRIGHT=\"tile\">", 24, 4, white},
        {L"<BODY BACKGROUND=\"flat\">", 0, 0, white},      // no width: not tiled (and the call returns)
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(k.Text)) + " at " + std::to_string(k.X) + "," + std::to_string(k.Y));
        THTMLCanvas c;
        THTMLParams p = Params(c.Canvas(), k.Text, r);
        p.Container = &container;
        Layout(p);
        EXPECT_EQ(c.Pixel(k.X, k.Y), k.Colour);
    }
    // Measuring draws no background.
    THTMLCanvas measured;
    THTMLParams p = Params(measured.Canvas(), L"<BODY BACKGROUND=\"tile\">x", r);
    p.Container = &container;
    p.MeasureOnly = true;
    Layout(p);
    EXPECT_EQ(measured.Ink(r), 0);
}

TEST(AdvHTMLEngine, BackgroundsFillTheirBands) {
    THTMLCanvas c;
    Layout(Params(c.Canvas(), L"<BODY BGCOLOR=\"clWhite\" BGCOLORTO=\"clBlack\" DIR=\"V\">", TRect(0, 0, 100, 128)));
    // 64 bands from white at the top to black at the bottom, growing darker.
    int previous = 256;
    for (int y = 1; y < 128; y += 8) {
        SCOPED_TRACE(y);
        const int grey = GetRValue(c.Pixel(50, y));
        EXPECT_LE(grey, previous);
        previous = grey;
    }
    EXPECT_GT(GetRValue(c.Pixel(50, 0)), 245);
    EXPECT_LT(GetRValue(c.Pixel(50, 127)), 10);

    THTMLCanvas span;
    Layout(Params(span.Canvas(), L"<SPAN STYLE=\"background-color:#00FF00\">MMM</SPAN> after"));
    EXPECT_GT(span.InkOf(TRect(0, 0, span.TextWidth(L"MMM"), span.GH()), RGB(0, 255, 0)), 20);
    EXPECT_EQ(span.InkOf(TRect(span.TextWidth(L"MMM "), 0, 200, span.GH()), RGB(0, 255, 0)), 0);
}

TEST(AdvHTMLEngine, SystemIconsTakeTheSystemListsSize) {
    THTMLCanvas c;
    for (const wchar_t* source : {L"SSYS:0", L"ssys:c:\\missing\\file.txt", L"LSYS:0"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(source)));
        c.Clear();
        const bool large = source[0] == L'L';
        const int size = ::GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON);
        THTMLParams p = Params(c.Canvas(), std::wstring(L"<IMG SRC=\"") + source + L"\">");
        const THTMLResults out = Layout(p);
        EXPECT_EQ(out.XSize, size + 2 + 2);
        EXPECT_GE(out.YSize, ::GetSystemMetrics(large ? SM_CYICON : SM_CYSMICON));
        EXPECT_GT(c.Ink(TRect(0, 0, size, 40)), 0);
    }
}

namespace {

// Fails the run, naming the input, when one call takes longer than ten seconds: a hang
// catcher, not a speed test.
class TWatchdog {
public:
    TWatchdog() : FArmed(::CreateEventW(nullptr, FALSE, FALSE, nullptr)), FDone(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        FThread = ::CreateThread(nullptr, 0, &TWatchdog::Watch, this, 0, nullptr);
    }
    ~TWatchdog() {
        ::SetEvent(FDone);
        ::WaitForSingleObject(FThread, INFINITE);
        for (HANDLE h : {FThread, FArmed, FDone}) ::CloseHandle(h);
    }
    void Start(const std::wstring& input) {
        ::EnterCriticalSection(&FLock.Section);
        FInput = input;
        ::LeaveCriticalSection(&FLock.Section);
        ::SetEvent(FArmed);
    }
private:
    struct TLock {
        TLock() { ::InitializeCriticalSection(&Section); }
        ~TLock() { ::DeleteCriticalSection(&Section); }
        CRITICAL_SECTION Section;
    };
    static DWORD WINAPI Watch(void* self) {
        auto* w = static_cast<TWatchdog*>(self);
        HANDLE handles[] = {w->FDone, w->FArmed};
        for (;;) {
            const DWORD which = ::WaitForMultipleObjects(2, handles, FALSE, 10000);
            if (which == WAIT_OBJECT_0) return 0;
            if (which == WAIT_TIMEOUT) {
                ::EnterCriticalSection(&w->FLock.Section);
                std::fwprintf(stderr, L"HTML engine input ran past 10 s: %ls\n", w->FInput.c_str());
                ::LeaveCriticalSection(&w->FLock.Section);
                std::fflush(stderr);
                ::ExitProcess(3);
            }
        }
    }
    TLock FLock;
    HANDLE FArmed, FDone, FThread = nullptr;
    std::wstring FInput;
};

}  // namespace

TEST(AdvHTMLEngine, SeededFuzzKeepsItsPromises) {
    THTMLCanvas c;
    TImageList images(nullptr);
    TBitmap one;
    one.SetSize(16, 16);
    images.AddMasked(&one, clNone);
    TWatchdog watchdog;
    std::mt19937 random(20261210);
    const TFont* font = c.Canvas()->Font();
    const std::wstring fontName = font->Name();
    const int fontHeight = font->Height();
    std::wstring seed = TestSupport::HTMLFuzzSeed;
    constexpr int Inputs = 1500;
    for (int i = 0; i < Inputs; ++i) {
        const std::wstring input = TestSupport::MutateHTML(random, i % 50 == 0 ? L"" : seed);
        if (random() % 4 == 0) seed = input;
        for (const THTMLOptions* options : {&CanvasEngine, &StatusBarEngine}) {
            for (int mode = 0; mode < 3; ++mode) {
                THTMLParams p = Params(c.Canvas(), input, TRect(2, 2, 50 + int(random() % 350), 10 + int(random() % 190)));
                p.Images = &images;
                p.CheckOnly = mode == 1;
                p.MeasureOnly = mode == 2;
                p.X = int(random() % 400);
                p.Y = int(random() % 200);
                p.WordWrap = random() % 3 != 0;
                p.FocusLink = int(random() % 3) - 1;
                p.HoverLink = int(random() % 3) - 1;
                p.Hover = random() % 2 == 0;
                watchdog.Start(input);
                THTMLResults out;
                DrawHTML(p, out, *options);
                if (out.MouseLink != -1 && (out.MouseLink < 1 || out.MouseLink > out.HyperLinks)) {
                    ADD_FAILURE() << "MouseLink " << out.MouseLink << " of " << out.HyperLinks << " for "
                                  << testing::PrintToString(input);
                    return;
                }
                if (font->Name() != fontName || font->Height() != fontHeight || font->Style() != TFontStyles() ||
                    font->Color() != clBlack || font->Orientation() != 0 || c.Canvas()->Brush()->Color() != clWhite ||
                    c.Canvas()->Brush()->Style() != bsSolid) {
                    ADD_FAILURE() << "the canvas was not put back after " << testing::PrintToString(input);
                    return;
                }
                if (p.CheckOnly) {
                    // Stopping below the test point finds the very same hit.
                    p.StopBelowPoint = true;
                    THTMLResults part;
                    DrawHTML(p, part, *options);
                    if (part.Hit != out.Hit || part.AnchorVal != out.AnchorVal || part.MouseLink != out.MouseLink ||
                        part.FocusAnchor != out.FocusAnchor || part.HoverRect != out.HoverRect) {
                        ADD_FAILURE() << "a hit test stopped below (" << p.X << ", " << p.Y << ") differs for "
                                      << testing::PrintToString(input);
                        return;
                    }
                }
            }
        }
    }
}

TEST(AdvHTMLEmoji, BothLayerColoursAtThePenAndNothingAround) {
    THTMLCanvas c;
    const std::wstring grin = L"\xD83D\xDE00";
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(c.Canvas()->Handle(), &metrics);
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    // Measuring draws nothing and still answers the font's height.
    EXPECT_EQ(DrawEmojiText(c.Canvas(), 40, 40, true, grin, 10), metrics.tmHeight);
    EXPECT_EQ(c.Ink(TRect(0, 0, THTMLCanvas::Width, THTMLCanvas::Height)), 0);

    ::SetPixel(c.Canvas()->Handle(), 39, 40, RGB(0, 128, 0));   // a neighbour that must stay
    EXPECT_EQ(DrawEmojiText(c.Canvas(), 40, 40, false, grin, 10), metrics.tmHeight);
    const TRect glyph(40, 38, 40 + 2 * metrics.tmHeight, 38 + 2 * metrics.tmHeight);
    EXPECT_GT(c.InkOf(glyph, red), 10) << "the test font comes from scripts/setup.sh";

    EXPECT_GT(c.InkOf(glyph, blue), 10);
    EXPECT_EQ(c.Pixel(39, 40), RGB(0, 128, 0));
    EXPECT_EQ(c.Ink(TRect(0, 0, 40, THTMLCanvas::Height)), 1);   // only the neighbour
    EXPECT_EQ(c.Ink(TRect(glyph.Right, 0, THTMLCanvas::Width, THTMLCanvas::Height)), 0);
}

namespace {
// How many more GDI objects the process can make: brushes are made until none is given.
int GdiObjectsLeft() {
    std::vector<HBRUSH> brushes;
    while (brushes.size() < 100000)
        if (HBRUSH brush = ::CreateSolidBrush(RGB(0, 0, 0))) brushes.push_back(brush);
        else break;
    for (HBRUSH brush : brushes) ::DeleteObject(brush);
    return int(brushes.size());
}
}  // namespace

// Under Wine each emoji once kept a GDI object for good; a long-running program painting
// emoji ran out of them and crashed.
TEST(AdvHTMLEmoji, PaintingEmojiKeepsNoGDIObjects) {
    THTMLCanvas c;
    Layout(Params(c.Canvas(), L"&#128512;"));
    const int before = GdiObjectsLeft();
    for (int i = 0; i < 500; ++i) Layout(Params(c.Canvas(), L"&#128512;"));
    EXPECT_GE(GdiObjectsLeft(), before - 10);
}

TEST(AdvHTMLEmoji, TheEngineAdvancesThePenByTheFontHeight) {
    THTMLCanvas c;
    const int gh = c.GH();
    THTMLParams p = Params(c.Canvas(), L"&#128512;x");
    Layout(p);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(c.Canvas()->Handle(), &metrics);
    // The emoji's layers from the left edge, the x after one font height.
    EXPECT_GT(c.InkOf(TRect(0, 0, metrics.tmHeight, gh + 4), RGB(255, 0, 0)), 5);
    EXPECT_GT(c.Ink(TRect(metrics.tmHeight, 0, metrics.tmHeight + c.TextWidth(L"x") + 1, gh)), 0);
    // The status bar's engine has no emoji: the character goes to GDI as text.
    THTMLCanvas bar;
    Layout(Params(bar.Canvas(), L"&#128512;x"), StatusBarEngine);
    EXPECT_EQ(bar.InkOf(TRect(0, 0, 40, gh + 4), RGB(255, 0, 0)), 0);
}

TEST(AdvHTMLEngine, HitTestStoppedBelowThePointFindsTheSameAnchors) {
    THTMLCanvas c;
    std::wstring text;
    for (int i = 0; i < 8; ++i)
        text += L"line " + std::to_wstring(i) + L" <a href=\"a" + std::to_wstring(i) + L"\" title=\"t\">anchor</a>" +
                (i == 3 ? L" <font size=\"16\">big <a href=\"big\">tall</a></font>" : L"") + L" end<br>";
    int hits = 0;
    for (int y = 0; y < 200; y += 2)
        for (int x = 0; x < 200; x += 5) {
            THTMLParams p = Params(c.Canvas(), text, TRect(2, 2, 150, 400));
            p.CheckOnly = true;
            p.X = x;
            p.Y = y;
            THTMLResults whole, part;
            DrawHTML(p, whole, CanvasEngine);
            p.StopBelowPoint = true;
            DrawHTML(p, part, CanvasEngine);
            SCOPED_TRACE(testing::Message() << x << ", " << y);
            ASSERT_EQ(part.Hit, whole.Hit);
            ASSERT_EQ(part.AnchorVal, whole.AnchorVal);
            ASSERT_EQ(part.MouseLink, whole.MouseLink);
            ASSERT_EQ(part.FocusAnchor, whole.FocusAnchor);
            ASSERT_EQ(part.HoverRect, whole.HoverRect);
            hits += whole.Hit ? 1 : 0;
        }
    EXPECT_GT(hits, 50);
}

namespace {

std::wstring Repeated(const wchar_t* piece, int times) {
    std::wstring text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// Laid out or painted on a canvas of its own, so it can run on a thread of its own.
void LayOutAlone(const std::wstring& text, const THTMLOptions& options, bool measureOnly) {
    THTMLCanvas c;
    THTMLParams p = Params(c.Canvas(), text);
    p.MeasureOnly = measureOnly;
    THTMLResults out;
    DrawHTML(p, out, options);
}

}  // namespace

// Markup from a server can hold a hundred thousand tags, lines, list items, entities or
// emoji; the engines walk it once, so each such text ends. The bound only catches a hang
// (walking it again for every tag, or looking the emoji font up for every emoji, took minutes).
TEST(AdvHTMLEngine, HostileMarkupEndsInEitherEngine) {
    struct TCase { const char* Tag; std::wstring Text; };
    const TCase cases[] = {
        {"line breaks", Repeated(L"<BR>", 100000)},
        {"list items", Repeated(L"<LI>x", 100000)},
        {"bold tags", Repeated(L"<b>", 100000)},
        {"open lists", Repeated(L"<UL>", 100000)},
        {"words", Repeated(L"w ", 100000)},
        {"escaped ampersands", Repeated(L"&amp;", 100000)},
        {"literals", Repeated(L"<#>", 100000)},
        {"blanks in one run", Repeated(L"&nbsp;", 100000)},
        {"hidden text", Repeated(L"<Z>a</Z>", 50000)},
        {"emoji", Repeated(L"&#128512;", 20000)},
    };
    for (const TCase& c : cases)
        for (const THTMLOptions* options : {&CanvasEngine, &StatusBarEngine})
            for (const bool measureOnly : {true, false}) {
                SCOPED_TRACE(testing::Message() << c.Tag << (options == &CanvasEngine ? ", canvas" : ", status bar")
                                                << (measureOnly ? ", measured" : ", painted"));
                const std::wstring text = c.Text;
                const THTMLOptions engine = *options;
                EXPECT_TRUE(TestSupport::EndsWithin([text, engine, measureOnly] { LayOutAlone(text, engine, measureOnly); },
                                                    std::chrono::seconds(60)));
            }
}
