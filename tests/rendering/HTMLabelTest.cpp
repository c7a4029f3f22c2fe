// The HTML label: its window-free values headless, then on a real form under Xvfb.
#include "rendering/HTMLabel.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <set>

#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/EditControls.h"
#include "classlib/Form.h"
#include "classlib/GdiScopes.h"
#include "classlib/ImageList.h"
#include "classlib/Seams.h"
#include "classlib/StandardControls.h"
#include "classlib/Streams.h"
#include "classlib/StringList.h"
#include "graphics/PictureContainer.h"
#include "support/HTMLFuzz.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;
using namespace HTMLabel;

namespace {

void LoadUtf8(THTMLabel& label, const std::string& utf8) {
    TMemoryStream stream;
    stream.Write(utf8.data(), int(utf8.size()));
    stream.SetPosition(0);
    label.HTMLText()->LoadFromStream(&stream);
}

}  // namespace

TEST(HTMLabelText, DisplayTextJoinsLinesAndTheSetterMakesOne) {
    struct TCase { const char* Stream; const wchar_t* Display; const wchar_t* Plain; };
    const TCase cases[] = {
        {"a\r\nb", L"a b", L"a b"},
        {"<b>x</b>\r\n<i>y</i>", L"<b>x</b><i>y</i>", L"xy"},
        {"x<br>\r\ny", L"x<br> y", L"x\r\n y"},
        {"x\r\n<br>y", L"x <br>y", L"x \r\ny"},
        {"", L"", L""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Stream);
        THTMLabel label(nullptr);
        LoadUtf8(label, c.Stream);
        EXPECT_EQ(label.GetDisplayText(), c.Display);
        EXPECT_EQ(label.Text(), c.Plain);
    }
    THTMLabel label(nullptr);
    TStringList lines;
    lines.Add(L"a");
    lines.Add(L"b");
    label.SetHTMLText(&lines);
    EXPECT_EQ(label.HTMLText()->Count(), 1);
    EXPECT_EQ(label.GetDisplayText(), L"ab");
}

TEST(HTMLabelText, DefaultsVersionAndStyles) {
    THTMLabel label(nullptr);
    EXPECT_EQ(label.Version(), L"2.3.0.1");
    EXPECT_TRUE(label.Transparent());
    EXPECT_EQ(label.Width(), 120);
    EXPECT_FALSE(label.AutoSize());
    EXPECT_EQ(label.UIStyle(), AdvStyleIF::tsCustom);
    struct TCase { AdvStyleIF::TOVTStyle Style; TColor Font; };
    const TCase cases[] = {
        {AdvStyleIF::tsOffice2016Black, clSilver}, {AdvStyleIF::tsOffice2019White, TColor(0x00444648)},
        {AdvStyleIF::tsOffice2019Gray, clWhite},   {AdvStyleIF::tsOffice2019Black, clWhite},
        {AdvStyleIF::tsOffice2007Luna, clWindowText},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Style));
        label.SetComponentStyle(c.Style);
        EXPECT_EQ(label.Font()->Color(), c.Font);
        EXPECT_EQ(label.UIStyle(), c.Style);
    }
    label.Font()->SetColor(clRed);
    label.SetComponentStyle(AdvStyleIF::tsCustom);
    EXPECT_EQ(label.Font()->Color(), clRed);
}

TEST(HTMLabelText, HighlightAndMarkRoundTrip) {
    THTMLabel label(nullptr);
    label.HTMLText()->SetText(L"a <b>cat</b> sat");
    label.HilightText(L"AT", false);
    EXPECT_EQ(label.GetDisplayText(), L"a <b>c<hi>at</hi></b> s<hi>at</hi>");
    label.MarkText(L"sat", true);
    // A closing tag goes before the tags that follow the match, as "</b>" above.
    EXPECT_EQ(label.GetDisplayText(), L"a <b>c<hi>at</hi></b> <e>s<hi>at</e></hi>");
    label.UnHilightText();
    EXPECT_EQ(label.GetDisplayText(), L"a <b>cat</b> <e>sat</e>");
    label.UnMarkText();
    EXPECT_EQ(label.GetDisplayText(), L"a <b>cat</b> sat");
}

TEST(HTMLabelText, AutoSizingShrinksAlignedLabelsAndRemovalClearsReferences) {
    struct TCase { TAlign Align; TAutoSizeType Type; TVAlignment V; int Width; int Height; };
    const TCase cases[] = {
        {alLeft, asBoth, tvaTop, 6, 50},
        {alTop, asVertical, tvaTop, 120, 6},
        {alTop, asVertical, tvaCenter, 120, 50},   // centred vertical sizing keeps its height
        {alNone, asBoth, tvaTop, 120, 50},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Align) * 10 + int(c.Type));
        THTMLabel label(nullptr);
        label.SetBounds(0, 0, 120, 50);
        label.SetAlign(c.Align);
        label.SetBounds(0, 0, 120, 50);
        label.SetVAlignment(c.V);
        label.SetAutoSizeType(c.Type);
        label.SetAutoSizing(true);
        EXPECT_EQ(label.Width(), c.Width);
        EXPECT_EQ(label.Height(), c.Height);
    }
    THTMLabel label(nullptr);
    {
        TImageList images(nullptr);
        PictureContainer::TPictureContainer container(nullptr);
        label.SetImages(&images);
        label.SetPictureContainer(&container);
        EXPECT_EQ(label.Images(), &images);
    }
    EXPECT_EQ(label.Images(), nullptr);
    EXPECT_EQ(label.PictureContainer(), nullptr);
}

TEST(HTMLabelText, SizeWithMaxWidthWrapsAndFuzzedTextKeepsLinksInRange) {
    THTMLabel label(nullptr);
    label.HTMLText()->SetText(L"one two three four five six seven");
    const TSize wide = label.GetSizeWithMaxWidth(2000);
    const TSize narrow = label.GetSizeWithMaxWidth(60);
    EXPECT_GT(wide.cx, narrow.cx);
    EXPECT_GT(narrow.cy, wide.cy);
    EXPECT_EQ(label.XSize(), narrow.cx);

    std::mt19937 random(2704);
    std::wstring seed = TestSupport::HTMLFuzzSeed;
    for (int i = 0; i < 300; ++i) {
        const std::wstring input = TestSupport::MutateHTML(random, seed);
        if (random() % 4 == 0) seed = input;
        label.HTMLText()->SetText(input);
        if (random() % 2) label.HilightText(L"e", random() % 2 == 0);
        const TSize size = label.GetSizeWithMaxWidth(1 + int(random() % 300));
        ASSERT_GE(size.cx, 0) << testing::PrintToString(input);
        ASSERT_GE(size.cy, 0) << testing::PrintToString(input);
        label.UnHilightText();
    }
}

namespace {

// A form with one label at (20, 30) and an edit the label's accelerator can focus.
struct TLabelWindow {
    TLabelWindow() {
        Form.SetBounds(100, 100, 500, 300);
        Form.SetColor(clWhite);
        Label = new THTMLabel(&Form);
        Label->SetParent(&Form);
        Label->SetBounds(20, 30, 300, 60);
        Label->Font()->SetName(L"Tahoma");
        Label->Font()->SetSize(10);
        Label->Font()->SetColor(clBlack);
        Edit = new TEdit(&Form);
        Edit->SetParent(&Form);
        Edit->SetBounds(20, 200, 100, 22);
        Form.Show();
        TestSupport::PumpMessages();
    }
    // The label painted on white into a memory bitmap of its size.
    std::vector<COLORREF> Paint() {
        const int w = Label->Width(), h = Label->Height();
        TWindowDC screen;
        TOwnedDC dc(::CreateCompatibleDC(screen.Handle()));
        TOwnedBitmap bitmap(::CreateCompatibleBitmap(screen.Handle(), w, h));
        TSelection selected(dc.get(), bitmap.get());
        RECT all{0, 0, w, h};
        ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        Label->Perform(WM_PAINT, WPARAM(dc.get()), 0);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pixels.push_back(::GetPixel(dc.get(), x, y) & 0xFFFFFF);
        return pixels;
    }
    void Move(int x, int y) { Label->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    // The first x on row y whose mouse move enters `anchor`, -1 when none.
    int FindAnchor(const std::wstring& anchor, int y) {
        std::wstring entered;
        Label->OnAnchorEnter = [&](TObject*, const std::wstring& a) { entered = a; };
        int found = -1;
        for (int x = 0; x < Label->Width() && found < 0; ++x) {
            Move(x, y);
            if (entered == anchor) found = x;
        }
        Move(Label->Width() - 1, Label->Height() - 1);
        Label->OnAnchorEnter = nullptr;
        return found;
    }
    TForm Form{nullptr};
    THTMLabel* Label = nullptr;
    TEdit* Edit = nullptr;
};

bool Red(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60; }

const char* const ThreeLinks = "<a href=\"a\">one</a> <a href=\"b\">two</a> <a href=\"c\">three</a>";

}  // namespace

TEST(HTMLabelWindow, AutoSizingBothTakesTheTextSizeOnTheFirstPaint) {
    REQUIRE_DISPLAY();
    TLabelWindow w;
    int sizes = 0;
    w.Label->OnNewSize = [&](TObject*, int, int) { ++sizes; };
    LoadUtf8(*w.Label, "Some <b>bold</b> text\r\nand a second <a href=\"x\">line</a>");
    w.Label->SetAutoSizeType(asBoth);
    w.Label->SetAutoSizing(true);
    w.Paint();
    EXPECT_EQ(w.Label->Width(), w.Label->XSize() + 6);
    EXPECT_EQ(w.Label->Height(), w.Label->YSize() + 6);
    w.Paint();
    EXPECT_EQ(sizes, 1);
}

TEST(HTMLabelWindow, HoverRepaintsOnlyTheSecondAnchorRedAndUnderlined) {
    REQUIRE_DISPLAY();
    TLabelWindow w;
    LoadUtf8(*w.Label, ThreeLinks);
    w.Label->SetHover(true);
    w.Label->SetHoverFontColor(clRed);
    const int x = w.FindAnchor(L"b", 8);
    ASSERT_GT(x, 0);
    ::ValidateRect(w.Form.Handle(), nullptr);
    w.Move(x + 2, 8);
    RECT dirty{};
    ASSERT_TRUE(::GetUpdateRect(w.Form.Handle(), &dirty, FALSE));
    EXPECT_GE(dirty.left, w.Label->Left() + x - 2);
    EXPECT_LT(dirty.right, w.Label->Left() + x + 60);
    const std::vector<COLORREF> pixels = w.Paint();
    int redLeft = w.Label->Width(), redRight = -1, underline = 0;
    for (int py = 0; py < w.Label->Height(); ++py)
        for (int px = 0; px < w.Label->Width(); ++px)
            if (Red(pixels[size_t(py * w.Label->Width() + px)])) {
                redLeft = std::min(redLeft, px);
                redRight = std::max(redRight, px);
            }
    EXPECT_GE(redLeft, x - 2);
    EXPECT_GT(redRight, redLeft + 5);
    // An underline is a run of red across the whole word on one row.
    for (int py = 0; py < w.Label->Height(); ++py) {
        int run = 0;
        for (int px = redLeft; px <= redRight; ++px) run += Red(pixels[size_t(py * w.Label->Width() + px)]) ? 1 : 0;
        if (run >= redRight - redLeft) ++underline;
    }
    EXPECT_GE(underline, 1);
}

TEST(HTMLabelWindow, ClicksEventsCursorAndTheShell) {
    REQUIRE_DISPLAY();
    TSeamsScope scope;
    std::vector<std::wstring> opened, clicked, entered;
    int exits = 0;
    Seams().ShellOpen = [&](const std::wstring& target, const std::wstring&) { opened.push_back(target); return true; };
    TLabelWindow w;
    LoadUtf8(*w.Label, "<a href=\"mailto:me@x.org\">mail</a> <a href=\"word\">word</a> <a href=\"file://c/x.exe\">file</a>");
    const int word = w.FindAnchor(L"word", 8), file = w.FindAnchor(L"file://c/x.exe", 8);
    ASSERT_GT(word, 0);
    ASSERT_GT(file, word);
    w.Label->OnAnchorClick = [&](TObject*, const std::wstring& a) { clicked.push_back(a); };
    w.Label->OnAnchorExit = [&](TObject*, const std::wstring&) { ++exits; };
    w.Label->OnAnchorEnter = [&](TObject*, const std::wstring& a) { entered.push_back(a); };
    for (int x : {3, word + 2, file + 2}) {
        w.Move(x, 8);
        EXPECT_EQ(w.Label->Cursor(), crHandPoint);
        w.Label->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 8));
        w.Label->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, 8));
    }
    w.Move(w.Label->Width() - 2, 50);
    EXPECT_EQ(w.Label->Cursor(), crDefault);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(entered, (std::vector<std::wstring>{L"mailto:me@x.org", L"word", L"file://c/x.exe"}));
    EXPECT_EQ(clicked, (std::vector<std::wstring>{L"mailto:me@x.org", L"word", L"file://c/x.exe"}));
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"mailto:me@x.org"}));   // a file link stays with the event
}

TEST(HTMLabelWindow, HintsShowTitleAnchorOrTheWholeText) {
    REQUIRE_DISPLAY();
    TLabelWindow w;
    LoadUtf8(*w.Label, "<a href=\"http://x.org\" title=\"Home\">home</a> <a href=\"http://y.org\">y</a> <b>plain</b>");
    const int second = w.FindAnchor(L"http://y.org", 8);
    ASSERT_GT(second, 0);
    w.Label->SetAnchorHint(true);
    const auto hint = [&](int x) {
        THintInfo info;
        info.HintControl = w.Label;
        info.CursorPos = TPoint{x, 8};
        EXPECT_EQ(w.Label->Perform(CM_HINTSHOW, 0, LPARAM(&info)), 0);
        return info;
    };
    THintInfo info = hint(3);
    EXPECT_EQ(info.HintStr, L"Home");
    const TPoint screen = w.Label->ClientToScreen(TPoint{3, 8});
    EXPECT_EQ(info.HintPos.X, screen.X + 10);
    EXPECT_EQ(info.HintPos.Y, screen.Y - 10);
    EXPECT_EQ(hint(second + 1).HintStr, L"http://y.org");
    w.Label->SetHintShowFull(true);
    EXPECT_EQ(hint(w.Label->Width() - 2).HintStr, L"home y plain");
    w.Label->SetHTMLHint(true);
    EXPECT_EQ(hint(w.Label->Width() - 2).HintStr, w.Label->GetDisplayText());
}

TEST(HTMLabelWindow, AcceleratorFocusesTheFocusControl) {
    REQUIRE_DISPLAY();
    TLabelWindow w;
    w.Label->HTMLText()->SetText(L"<b>&Name</b>");
    w.Label->SetFocusControl(w.Edit);
    EXPECT_EQ(w.Form.Perform(CM_DIALOGCHAR, L'x', 0), 0);
    EXPECT_NE(::GetFocus(), w.Edit->Handle());
    EXPECT_NE(w.Form.Perform(CM_DIALOGCHAR, L'n', 0), 0);
    EXPECT_EQ(::GetFocus(), w.Edit->Handle());
}

TEST(HTMLabelWindow, BevelsBorderGradientAndAlignmentInTheirPlaces) {
    REQUIRE_DISPLAY();
    TLabelWindow w;
    w.Label->SetTransparent(false);
    w.Label->SetColor(clWhite);
    w.Label->SetColorTo(clBlue);
    w.Label->SetGradientType(gtBottomLine);
    w.Label->SetLineWidth(3);
    w.Label->SetBevelOuter(bvLowered);
    w.Label->HTMLText()->SetText(L"x");
    std::vector<COLORREF> p = w.Paint();
    const int wd = w.Label->Width(), ht = w.Label->Height();
    const auto at = [&](int x, int y) { return p[size_t(y * wd + x)]; };
    EXPECT_EQ(at(5, 0), COLORREF(::GetSysColor(COLOR_BTNSHADOW)));        // top of a lowered bevel
    EXPECT_EQ(at(wd - 1, 5), COLORREF(::GetSysColor(COLOR_BTNHIGHLIGHT)));  // its right edge
    EXPECT_GT(GetBValue(at(wd - 10, ht - 2)), 200);                          // the line's blue end
    EXPECT_LT(GetRValue(at(wd - 10, ht - 2)), 80);
    EXPECT_EQ(at(wd / 2, ht / 2 - 10), RGB(255, 255, 255));                 // above the line: Color

    w.Label->SetBevelOuter(bvNone);
    w.Label->SetGradientType(gtFullVertical);
    w.Label->SetBorderStyle(bsSingle);
    w.Label->SetBorderWidth(2);
    w.Label->SetBorderColor(clRed);
    p = w.Paint();
    EXPECT_TRUE(Red(at(wd / 2, 1)));                                        // the outline
    EXPECT_GT(GetRValue(at(wd / 2, 5)), GetRValue(at(wd / 2, ht - 5)) + 100);   // white at the top, blue below

    // Centre and bottom: the ink's top moves down by half and all of the free room.
    w.Label->SetBorderStyle(bsNone);
    w.Label->SetBorderWidth(0);
    w.Label->SetTransparent(true);
    w.Label->HTMLText()->SetText(L"<b>XX</b>");
    const auto firstInkRow = [&] {
        const std::vector<COLORREF> q = w.Paint();
        for (int y = 0; y < ht; ++y)
            for (int x = 0; x < wd; ++x)
                if (q[size_t(y * wd + x)] != RGB(255, 255, 255)) return y;
        return -1;
    };
    const int top = firstInkRow();
    w.Label->SetVAlignment(tvaCenter);
    const int centre = firstInkRow();
    w.Label->SetVAlignment(tvaBottom);
    const int bottom = firstInkRow();
    const int room = ht - w.Label->YSize();
    EXPECT_NEAR(centre - top, room / 2, 1);
    EXPECT_NEAR(bottom - top, room, 1);
}

namespace {

// An application style whose colours are easy to tell apart in pixels: a green face, a red
// button text (grey when disabled) and blue grid borders.
class TFakeStyle final : public AdvStyleIF::IAppStyleServices {
public:
    TFakeStyle() { AdvStyleIF::SetAppStyleServices(this); }
    ~TFakeStyle() override { AdvStyleIF::SetAppStyleServices(nullptr); }
    bool Enabled() const override { return true; }
    AdvStyleIF::String Name() const override { return L"Carbon"; }
    AdvStyleIF::TStyleElementColors GridColors(AdvStyleIF::TThemedGrid element) const override {
        if (element == AdvStyleIF::tgFixedCellNormal) return {Face, clNone, clNone};
        return {clNone, element == AdvStyleIF::tgCellNormal ? clBlue : clYellow, clNone};
    }
    TColor StyleColor(AdvStyleIF::TStyleColor) const override { return clYellow; }
    TColor StyleFontColor(AdvStyleIF::TStyleFont font) const override {
        return font == AdvStyleIF::sfButtonTextHot ? clRed : font == AdvStyleIF::sfButtonTextDisabled ? clGray : clYellow;
    }
    static constexpr TColor Face = TColor(0x00008000);
};

bool Dark(COLORREF c) { return GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60; }

}  // namespace

TEST(HTMLabelText, CustomStyleColoursComeFromTheApplicationStyleOnly) {
    {
        THTMLabel plain(nullptr);
        const TColor face = plain.Color();
        plain.Perform(CM_STYLECHANGED, 0, 0);
        EXPECT_EQ(plain.Color(), face);
        EXPECT_EQ(plain.FontColor(), clWindowText);
        EXPECT_EQ(plain.BorderColor(), clBlack);
    }
    TFakeStyle style;
    THTMLabel label(nullptr);   // takes the style when made
    EXPECT_EQ(label.Color(), TFakeStyle::Face);
    EXPECT_EQ(label.FontColor(), clRed);
    EXPECT_EQ(label.BorderColor(), clBlue);
    label.SetEnabled(false);
    label.Perform(CM_STYLECHANGED, 0, 0);
    EXPECT_EQ(label.FontColor(), clGray);
}

TEST(HTMLabelWindow, CustomStyleTextAndBorderColoursShowOnlyWhileAStyleIsActive) {
    REQUIRE_DISPLAY();
    TLabelWindow w;
    w.Label->HTMLText()->SetText(L"<b>XXXX XXXX</b>");
    w.Label->SetBorderStyle(bsSingle);
    w.Label->SetBorderWidth(2);
    w.Label->SetBorderColor(clBlack);
    const int wd = w.Label->Width();
    const auto inks = [&](const std::vector<COLORREF>& p) {
        int red = 0, dark = 0;
        for (int y = 4; y < w.Label->Height() - 4; ++y)
            for (int x = 4; x < wd - 4; ++x) {
                red += Red(p[size_t(y * wd + x)]) ? 1 : 0;
                dark += Dark(p[size_t(y * wd + x)]) ? 1 : 0;
            }
        return std::pair{red, dark};
    };
    std::vector<COLORREF> p = w.Paint();
    EXPECT_TRUE(Dark(p[size_t(wd + wd / 2)]));   // the black outline
    EXPECT_EQ(inks(p).first, 0);
    EXPECT_GT(inks(p).second, 20);          // the font's black text
    {
        TFakeStyle style;
        w.Label->Perform(CM_STYLECHANGED, 0, 0);
        p = w.Paint();
        EXPECT_EQ(p[size_t(wd + wd / 2)], RGB(0, 0, 255));   // the style's border
        EXPECT_GT(inks(p).first, 20);                    // the style's text colour over the font's
        EXPECT_EQ(inks(p).second, 0);
    }
    // The style gone, the font's colour is back; the border keeps what the style gave it.
    w.Label->Perform(CM_STYLECHANGED, 0, 0);
    p = w.Paint();
    EXPECT_EQ(inks(p).first, 0);
    EXPECT_GT(inks(p).second, 20);
}

TEST(HTMLabelWindow, WhatsNewUseInAPanelSizesToTheTextAndEveryAnchorClicks) {
    REQUIRE_DISPLAY();
    TSeamsScope scope;
    std::vector<std::wstring> opened;
    Seams().ShellOpen = [&](const std::wstring& target, const std::wstring&) { opened.push_back(target); return true; };
    TForm form(nullptr);
    form.SetBounds(100, 100, 400, 400);
    auto* box = new TPanel(&form);
    box->SetParent(&form);
    box->SetBevelOuter(bvNone);
    box->SetBounds(10, 10, 380, 340);
    auto* label = new THTMLabel(box);
    label->SetParent(box);
    label->SetAlign(alTop);
    LoadUtf8(*label, "<b>Version 2.4</b> \xE2\x80\x93 caf\xC3\xA9 <a href=\"http://example.org/a\">notes</a><br>\r\n"
                     "- faster \xC3\xBC generation, <a href=\"mailto:help@example.org\">write to us</a><br>\r\n"
                     "- <a href=\"file://c/setup.exe\">run the setup</a> or <a href=\"local\">stay here</a>\r\n"
                     "<p align=\"center\"><a href=\"https://example.org/all\">all changes</a></p>");
    label->SetAutoSizing(true);
    form.Show();
    TestSupport::PumpMessages();
    {
        TWindowDC screen;
        TOwnedDC dc(::CreateCompatibleDC(screen.Handle()));
        TOwnedBitmap bitmap(::CreateCompatibleBitmap(screen.Handle(), label->Width(), 400));
        TSelection selected(dc.get(), bitmap.get());
        label->Perform(WM_PAINT, WPARAM(dc.get()), 0);
    }
    EXPECT_EQ(label->Height(), label->YSize() + 6);
    EXPECT_EQ(label->Width(), box->ClientWidth());
    EXPECT_EQ(label->Text().substr(0, 18), L"Version 2.4 \u2013 caf\u00E9");

    std::set<std::wstring> clicked;
    label->OnAnchorClick = [&](TObject*, const std::wstring& anchor) { clicked.insert(anchor); };
    for (int y = 1; y < label->Height(); y += 3)
        for (int x = 1; x < label->Width(); x += 4) {
            label->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
            label->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        }
    EXPECT_EQ(clicked, (std::set<std::wstring>{L"http://example.org/a", L"mailto:help@example.org", L"file://c/setup.exe",
                                               L"local", L"https://example.org/all"}));
    EXPECT_EQ(std::set<std::wstring>(opened.begin(), opened.end()),
              (std::set<std::wstring>{L"http://example.org/a", L"mailto:help@example.org", L"https://example.org/all"}));
}
