#include "editor/AdvMemo.h"

#include "classlib/Form.h"
#include "classlib/Seams.h"
#include "classlib/StandardControls.h"
#include "editor/AdvmCSHS.h"
#include "support/MemorySurface.h"
#include "support/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using namespace AdvMemo;
using ClassLib::TColor;

namespace {

// A memo painted on a memory DC of its size; pixels are read back as TColor values.
class TPaintedMemo {
public:
    explicit TPaintedMemo(const std::wstring& text, int width = 500, int height = 300)
        : FMemo(nullptr), FSurface(width, height) {
        FStyler = AdvmCSHS::CreateCMemoStyler(&FMemo);
        FMemo.SetSyntaxStyles(FStyler);
        FMemo.SetBounds(0, 0, width, height);
        FMemo.Lines()->SetText(text);
        Paint();
    }
    void Paint() { FMemo.PaintTo(FSurface.DC()); }
    TAdvMemo& Memo() { return FMemo; }
    TAdvCustomMemoStyler& Styler() { return *FStyler; }

    // The cells [fromCol, toCol) of a line on screen.
    RECT Cells(int line, int fromCol, int toCol) {
        const TMemoRect area = FMemo.TextArea();
        const TMemoRect row = FMemo.LineRect(line);
        const int w = FMemo.CharWidth();
        return RECT{area.Left + (fromCol - FMemo.LeftCol()) * w, row.Top, area.Left + (toCol - FMemo.LeftCol()) * w, row.Bottom};
    }
    int CountColour(const RECT& r, TColor colour) { return FSurface.CountColour(r, colour); }
    // Pixels that are neither of the given background colours: the ink of the text.
    int CountInk(const RECT& r, TColor background) { return FSurface.CountInk(r, background); }

private:
    TAdvMemo FMemo;
    TAdvCustomMemoStyler* FStyler = nullptr;
    TestSupport::TMemorySurface FSurface;
};

const TElementStyle* GroupWithKeyword(TAdvCustomMemoStyler& styler, const std::wstring& word) {
    for (int i = 0; i < styler.AllStyles()->Count(); ++i)
        if (styler.AllStyles()->Items(i)->KeyWords()->IndexOf(word) >= 0) return styler.AllStyles()->Items(i);
    return nullptr;
}

}  // namespace

TEST(MemoPaint, KeywordRunsInTheirColourAndBold) {
    TPaintedMemo painted(L"int count;\r\nnint count;");
    const TElementStyle* group = GroupWithKeyword(painted.Styler(), L"int");
    ASSERT_NE(group, nullptr);
    ASSERT_TRUE(group->Font()->Style().Contains(ClassLib::fsBold));
    const TColor keyword = group->Font()->Color();
    ASSERT_NE(ClassLib::ColorToRGB(keyword), ClassLib::ColorToRGB(painted.Memo().Font()->Color()));

    // "int" is a keyword, "nint" is not: only the first is drawn in the keyword's colour.
    EXPECT_GT(painted.CountColour(painted.Cells(0, 0, 3), keyword), 5);
    EXPECT_EQ(painted.CountColour(painted.Cells(1, 0, 4), keyword), 0);
    EXPECT_EQ(painted.CountColour(painted.Cells(0, 4, 9), keyword), 0);

    // Bold shows as more ink than the same word drawn regular.
    const RECT run = painted.Cells(0, 0, 3);
    const int boldInk = painted.CountInk(run, painted.Memo().BkColor());
    ClassLib::TFont regular;
    regular.Assign(group->Font());
    regular.SetStyle({});
    painted.Styler().AllStyles()->Items(group->Index())->SetFont(&regular);
    painted.Paint();
    EXPECT_GT(boldInk, painted.CountInk(run, painted.Memo().BkColor()));
}

TEST(MemoPaint, GutterNumbersEveryLineOfTheText) {
    TPaintedMemo painted(L"a\r\nb\r\nc");
    const TColor numbers = 0x0000C0;
    painted.Memo().Gutter()->SetLineNumberTextColor(numbers);
    painted.Memo().Gutter()->SetGutterColorTo(ClassLib::clNone);
    painted.Paint();
    const int gutterRight = painted.Memo().GutterWidth();
    for (int line = 0; line < 5; ++line) {
        SCOPED_TRACE(line);
        const TMemoRect row = painted.Memo().LineRect(line);
        const RECT cell{0, row.Top, gutterRight, row.Bottom};
        if (line < 3) EXPECT_GT(painted.CountColour(cell, numbers), 3);
        else EXPECT_EQ(painted.CountColour(cell, numbers), 0);
    }
    // LineNumberAt 2: line 2 ("2") gets a tick of two pixels, not a number.
    painted.Memo().Gutter()->SetLineNumberAt(2);
    painted.Memo().SetCursor(0, 2);
    painted.Paint();
    const TMemoRect row0 = painted.Memo().LineRect(0);
    EXPECT_EQ(painted.CountColour(RECT{0, row0.Top, gutterRight, row0.Bottom}, numbers), 2);
}

TEST(MemoPaint, WrappedRowsGetNoNumberOfTheirOwn) {
    TPaintedMemo painted(std::wstring(L"first ") + std::wstring(120, L'x') + L"\r\nsecond", 300, 200);
    TAdvMemo& memo = painted.Memo();
    memo.Gutter()->SetLineNumberTextColor(0x0000C0);
    memo.SetWordWrap(wwClientWidth);
    painted.Paint();
    ASSERT_GT(memo.Lines()->Count(), 2);
    ASSERT_TRUE(memo.IsWrappedLine(1));
    const int gutterRight = memo.GutterWidth();
    auto numberInk = [&](int row) {
        const TMemoRect r = memo.LineRect(row);
        return painted.CountColour(RECT{0, r.Top, gutterRight, r.Bottom}, 0x0000C0);
    };
    EXPECT_GT(numberInk(0), 3);
    EXPECT_EQ(numberInk(1), 0);
    // "second" is the second line: the same "2" as an unwrapped text would show there.
    const int last = memo.Lines()->Count() - 1;
    memo.SetWordWrap(wwNone);
    painted.Paint();
    const int two = numberInk(1);
    memo.SetWordWrap(wwClientWidth);
    painted.Paint();
    EXPECT_EQ(numberInk(last), two);
}

TEST(MemoPaint, BracesAroundTheCaretAreHighlighted) {
    TPaintedMemo painted(L"int f() {\r\n  g(\"{\");\r\n}\r\nx;");
    TAdvMemo& memo = painted.Memo();
    memo.SetCursor(9, 0);  // just after "{"
    EXPECT_EQ(memo.BESelLine, 0);
    EXPECT_EQ(memo.BESelStart, 8);
    EXPECT_EQ(memo.BSSelLine, 2);  // the "{" in the string literal does not count
    EXPECT_EQ(memo.BSSelStart, 0);
    painted.Paint();
    const TColor block = memo.BlockColor();
    EXPECT_GT(painted.CountColour(painted.Cells(0, 8, 9), block), 10);
    EXPECT_GT(painted.CountColour(painted.Cells(2, 0, 1), block), 10);
    EXPECT_EQ(painted.CountColour(painted.Cells(0, 0, 8), block), 0);

    // On the "}" line the same pair is found; away from any block nothing is.
    memo.SetCursor(0, 2);
    EXPECT_EQ(memo.BESelLine, 0);
    EXPECT_EQ(memo.BSSelLine, 2);
    memo.SetCursor(0, 3);
    EXPECT_EQ(memo.BESelLine, -1);
    EXPECT_EQ(memo.BSSelLine, -1);
    painted.Paint();
    EXPECT_EQ(painted.CountColour(painted.Cells(0, 8, 9), block), 0);
}

TEST(MemoPaint, BlockEndBelowTheViewIsNotMatched) {
    std::wstring text = L"{\r\n";
    for (int i = 0; i < 100; ++i) text += L"x;\r\n";
    text += L"}";
    TPaintedMemo painted(text, 400, 200);
    painted.Memo().SetCursor(1, 0);
    EXPECT_EQ(painted.Memo().BSSelLine, -1);
    EXPECT_EQ(painted.Memo().BESelLine, -1);
}

TEST(MemoPaint, BlockGuidesColouredByTheBlocksClosedInside) {
    TPaintedMemo painted(L"{\r\n  {\r\n  }\r\n}\r\nint a; // {");
    TAdvMemo& memo = painted.Memo();
    memo.SetBlockBrackets(true);
    ASSERT_EQ(memo.BlockLines().size(), 4u);  // the "{" after "//" is in a comment
    EXPECT_TRUE(memo.BlockLines()[1].FIsBegin);
    EXPECT_EQ(memo.BlockLines()[1].FIndent, 3);
    painted.Paint();
    const int w = memo.CharWidth();
    auto guideX = [&](int indent) { return w * indent + memo.GutterWidth() - w / 2 - 2; };
    const TMemoRect row = memo.LineRect(2);
    const int y = (row.Top + row.Bottom) / 2;
    // The inner block closes none inside it, the outer one closes one.
    EXPECT_EQ(painted.CountColour(RECT{guideX(3), y, guideX(3) + 1, y + 1}, 0xFF8080), 1);
    EXPECT_EQ(painted.CountColour(RECT{guideX(1), y, guideX(1) + 1, y + 1}, 0xFF80FF), 1);
}

TEST(MemoPaint, SelectionAndActiveLineColours) {
    TPaintedMemo painted(L"abc def\r\n\r\nxyz");
    TAdvMemo& memo = painted.Memo();
    memo.SetCursor(0, 2);
    memo.SetSelStartX(4);
    memo.SetSelStartY(0);
    memo.SetSelEndX(0);
    memo.SetSelEndY(2);
    painted.Paint();
    const TColor selection = memo.SelBkColor();
    EXPECT_EQ(painted.CountColour(painted.Cells(0, 0, 4), selection), 0);
    EXPECT_GT(painted.CountColour(painted.Cells(0, 4, 7), selection), 10);
    // An empty selected line shows one selected cell.
    const RECT empty = painted.Cells(1, 0, 1);
    EXPECT_EQ(painted.CountColour(empty, selection), (empty.right - empty.left) * (empty.bottom - empty.top));

    memo.UnSelect();
    memo.ActiveLineSettings()->SetShowActiveLine(true);
    memo.ActiveLineSettings()->SetActiveLineColor(0x00C000);
    memo.SetActiveLine(2);
    painted.Paint();
    EXPECT_GT(painted.CountColour(painted.Cells(2, 5, 20), 0x00C000), 50);
    EXPECT_EQ(painted.CountColour(painted.Cells(0, 0, 20), 0x00C000), 0);
}

TEST(MemoPaint, HighlightTextMarksWholeWordsOnly) {
    // "countcount": after its first half is refused, the second half follows a letter.
    TPaintedMemo painted(L"count counter count countcount");
    const TColor mark = painted.Styler().HighlightStyle()->BkColor();
    painted.Memo().SetHighlight(L"count", false, true);
    painted.Paint();
    EXPECT_GT(painted.CountColour(painted.Cells(0, 0, 5), mark), 20);
    EXPECT_EQ(painted.CountColour(painted.Cells(0, 6, 13), mark), 0);
    EXPECT_GT(painted.CountColour(painted.Cells(0, 14, 19), mark), 20);
    EXPECT_EQ(painted.CountColour(painted.Cells(0, 20, 30), mark), 0);
    painted.Memo().SetHighlight(L"count", false, false);
    painted.Paint();
    EXPECT_GT(painted.CountColour(painted.Cells(0, 6, 11), mark), 20);
}

TEST(MemoPaint, ColouringFollowsAnEditAboveACachedLine) {
    std::wstring text;
    for (int i = 0; i < 30; ++i) text += L"int x;\r\n";
    TPaintedMemo painted(text, 400, 200);
    TAdvMemo& memo = painted.Memo();
    memo.SetCursor(0, 25);
    memo.SetTopLine(20);
    painted.Paint();
    EXPECT_EQ(memo.Tokenizer().GetLineStyle(25).isComment, 0);
    memo.Lines()->Put(2, L"/* opened");
    painted.Paint();
    EXPECT_GT(memo.Tokenizer().GetLineStyle(25).isComment, 0);
    const TElementStyle* group = GroupWithKeyword(painted.Styler(), L"int");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(painted.CountColour(painted.Cells(25, 0, 3), group->Font()->Color()), 0);
    memo.Lines()->Put(2, L"int x;");
    painted.Paint();
    EXPECT_EQ(memo.Tokenizer().GetLineStyle(25).isComment, 0);
    EXPECT_EQ(memo.TopLine(), 20);
    EXPECT_GT(painted.CountColour(painted.Cells(25, 0, 3), group->Font()->Color()), 5);
}

TEST(MemoAppearance, StylePresetsSetTheDocumentedColours) {
    struct TCase {
        AdvStyleIF::TOVTStyle Style;
        TColor Gutter, GutterTo, Border, Numbers;
    };
    const TCase cases[] = {
        {AdvStyleIF::tsOffice2003Blue, 0xFCE1CB, 0xE0A57D, 0x962D00, ClassLib::clBlack},
        {AdvStyleIF::tsWindowsXP, ClassLib::clBtnFace, ClassLib::clBtnFace, 0x000000, ClassLib::clBlack},
        {AdvStyleIF::tsOffice2016Gray, 0xB2B2B2, 0xB2B2B2, 0x444444, 0xFFFFFF},
        {AdvStyleIF::tsOffice2019Black, 0x444444, 0x444444, 0x686868, 0xF0F0F0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Style));
        TAdvMemo memo(nullptr);
        memo.Gutter()->SetLineNumberTextColor(0x123456);
        memo.SetComponentStyle(c.Style);
        EXPECT_EQ(memo.UIStyle(), c.Style);
        EXPECT_EQ(memo.Gutter()->GutterColor(), c.Gutter);
        EXPECT_EQ(memo.Gutter()->GutterColorTo(), c.GutterTo);
        EXPECT_EQ(memo.BorderColor(), c.Border);
        EXPECT_EQ(memo.Gutter()->BorderColor(), c.Border);
        EXPECT_EQ(memo.Gutter()->LineNumberTextColor(), c.Numbers);
    }
    TAdvMemo custom(nullptr);
    custom.Gutter()->SetLineNumberTextColor(0x123456);
    custom.SetStyle(AdvStyleIF::tsCustom);
    EXPECT_EQ(custom.Gutter()->LineNumberTextColor(), TColor(0x123456));
    EXPECT_EQ(custom.Gutter()->GutterColor(), ClassLib::clBtnFace);

    AdvStyleIF::TColorTones tones{};
    tones.Background = {0x101010, 0, 0x202020};
    tones.Selected = {0x303030, 0, 0x404040};
    custom.SetColorTones(tones);
    EXPECT_EQ(custom.Color(), TColor(0x101010));
    EXPECT_EQ(custom.Font()->Color(), TColor(0x202020));
    EXPECT_EQ(custom.Gutter()->GutterColorTo(), TColor(0x303030));
    EXPECT_EQ(custom.Gutter()->LineNumberTextColor(), TColor(0x404040));
}

TEST(MemoAppearance, GutterSettingsIgnoreOutOfRangeValues) {
    TAdvMemo memo(nullptr);
    TAdvGutter& gutter = *memo.Gutter();
    gutter.SetLineNumberAt(0);
    gutter.SetLineNumberStart(-1);
    EXPECT_EQ(gutter.LineNumberAt(), 1);
    EXPECT_EQ(gutter.LineNumberStart(), 1);
    gutter.SetGutterMargin(10);
    EXPECT_EQ(gutter.GutterMargin(), 22);
    gutter.SetGutterWidth(60);
    EXPECT_EQ(memo.GutterWidth(), 60);
    int x = 0;
    gutter.SetShowLeadingZeros(true);
    EXPECT_EQ(gutter.FormatLineNumber(7, 8, x), L"0007");
}

TEST(MemoUrl, OnlyWebAndMailLinksReachTheShell) {
    ClassLib::TSeamsScope scope;
    std::vector<std::wstring> opened;
    ClassLib::Seams().ShellOpen = [&](const std::wstring& target, const std::wstring&) {
        opened.push_back(target);
        return true;
    };
    struct TCase { const wchar_t* Url; bool Opens; };
    const TCase cases[] = {
        {L"http://example.org", true}, {L"https://example.org/a", true}, {L"ftp://host/file", true},
        {L"mailto:someone@example.org", true}, {L"www.example.org", true},
        {L"file://c:/windows/system32/calc.exe", false}, {L"FILE:///tmp/x", false},
    };
    TAdvMemo memo(nullptr);
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Url)));
        opened.clear();
        memo.OpenURL(c.Url);
        EXPECT_EQ(opened.size(), c.Opens ? 1u : 0u);
    }

    // With a handler every link goes to it and none to the shell.
    std::wstring handled;
    memo.OnURLClick = [&](ClassLib::TObject*, const std::wstring& url) { handled = url; };
    opened.clear();
    memo.Lines()->SetText(L"see file://c:/x.exe now");
    memo.SetCursor(6, 0);
    EXPECT_TRUE(memo.ClickURLAtCursor());
    EXPECT_EQ(handled, L"file://c:/x.exe");
    EXPECT_TRUE(opened.empty());
    memo.SetCursor(1, 0);
    EXPECT_FALSE(memo.ClickURLAtCursor());
}

TEST(MemoWindow, DescribedMemoGetsAWindowMeasuredFontAndScrollBars) {
    REQUIRE_DISPLAY();
    auto* form = new ClassLib::TForm(nullptr);
    form->InitFromDescriptionText(
        L"object Described: TForm\n"
        L"  ClientWidth = 400\n"
        L"  ClientHeight = 200\n"
        L"  object Memo1: TAdvMemo\n"
        L"    Left = 0\n    Top = 0\n    Width = 400\n    Height = 200\n"
        L"    RightMargin = 100\n"
        L"  end\n"
        L"end");
    auto* memo = dynamic_cast<TAdvMemo*>(form->FindComponent(L"Memo1"));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->RightMargin(), 100);
    std::wstring text;
    for (int i = 0; i < 200; ++i) text += L"line " + std::to_wstring(i) + L"\r\n";
    memo->Lines()->SetText(text);
    form->Show();
    TestSupport::PumpMessages();
    ASSERT_TRUE(memo->HandleAllocated());
    EXPECT_GT(memo->CharWidth(), 3);
    EXPECT_GT(memo->CharHeight(), 8);
    EXPECT_TRUE(memo->VertBar().Visible);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(::GetScrollInfo(memo->Handle(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, memo->VertBar().Max);

    // A page down through the window's own bar scrolls by the visible lines.
    memo->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(memo->TopLine(), memo->VisibleLineCount());

    // Dragging the thumb with ScrollHint shows the row; the handler may reword it.
    int hintedRow = -1;
    memo->SetScrollHint(true);
    memo->OnScrollHint = [&](ClassLib::TObject*, int row, std::wstring& hint) {
        hintedRow = row;
        hint = L"Line " + std::to_wstring(row);
    };
    memo->Perform(WM_VSCROLL, SB_THUMBTRACK, 0);
    EXPECT_GE(hintedRow, 1);
    memo->Perform(WM_VSCROLL, SB_ENDSCROLL, 0);
    delete form;
}

// Filled the way the generator fills its panes: one batch of added lines after the
// windows exist. The second memo sits two panels deep, the inner one created hidden
// and shown afterwards, as the main window builds its pages.
TEST(MemoWindow, LinesAddedInOneUpdateShowTheSystemScrollBarBesideTheText) {
    REQUIRE_DISPLAY();
    ClassLib::TForm form(nullptr);
    form.SetBounds(0, 0, 700, 400);
    auto* direct = new TAdvMemo(&form);
    direct->SetParent(&form);
    direct->SetBounds(0, 0, 300, 250);
    auto* outer = new ClassLib::TPanel(&form);
    outer->SetParent(&form);
    outer->SetBounds(320, 0, 320, 260);
    auto* inner = new ClassLib::TPanel(&form);
    inner->SetParent(outer);
    inner->SetAlign(ClassLib::alClient);
    inner->SetVisible(false);
    auto* nested = new TAdvMemo(&form);
    nested->SetParent(inner);
    nested->SetAlign(ClassLib::alClient);
    form.Show();
    TestSupport::PumpMessages();
    inner->SetVisible(true);
    TestSupport::PumpMessages();

    for (TAdvMemo* memo : {direct, nested}) {
        ClassLib::TStrings* lines = memo->Lines();
        lines->BeginUpdate();
        lines->Clear();
        for (int i = 0; i < 200; ++i) lines->Add(L"line " + std::to_wstring(i));
        lines->EndUpdate();
    }
    TestSupport::PumpMessages();

    for (TAdvMemo* memo : {direct, nested}) {
        SCOPED_TRACE(memo == direct ? "on the form" : "in a panel shown later");
        ASSERT_TRUE(memo->HandleAllocated());
        const HWND window = memo->Handle();
        SCROLLBARINFO bar{};
        bar.cbSize = sizeof(bar);
        ASSERT_TRUE(::GetScrollBarInfo(window, OBJID_VSCROLL, &bar));
        EXPECT_EQ(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
        RECT client{}, frame{};
        ::GetClientRect(window, &client);
        ::GetWindowRect(window, &frame);
        EXPECT_LT(client.right, frame.right - frame.left);
        // The text stops before the bar: the bar begins at the client area's right edge.
        POINT edge{client.right, 0};
        ::ClientToScreen(window, &edge);
        EXPECT_GE(bar.rcScrollBar.left, edge.x);
        EXPECT_LE(memo->TextArea().Right, client.right);
        EXPECT_EQ(memo->TopLine(), 0);
    }
}

namespace {

class TSchemeEnvironment : public AdvStyleIF::IStyleEnvironment {
public:
    explicit TSchemeEnvironment(int kind) : FKind(kind) {}
    bool RegKeyExists(const AdvStyleIF::String&) override { return false; }
    std::optional<AdvStyleIF::String> RegReadString(const AdvStyleIF::String&, const AdvStyleIF::String&) override { return {}; }
    std::optional<std::uint32_t> RegReadDWord(const AdvStyleIF::String&, const AdvStyleIF::String&) override { return {}; }
    int WindowsVersionKind() override { return 0; }
    int XPThemeKind() override { return FKind; }
private:
    int FKind;
};

}  // namespace

TEST(MemoAppearance, StyleChangeResetsColoursAndAdaptsToTheScheme) {
    TSchemeEnvironment homestead(2);
    AdvStyleIF::SetStyleEnvironment(&homestead);
    TAdvMemo memo(nullptr);
    memo.SetSelBkColor(0x123456);
    memo.Gutter()->SetGutterColor(0x654321);
    memo.Perform(ClassLib::CM_STYLECHANGED);
    EXPECT_EQ(memo.SelBkColor(), ClassLib::clHighlight);
    EXPECT_EQ(memo.Gutter()->GutterColor(), ClassLib::clBtnFace);

    memo.SetAutoThemeAdapt(true);  // adapts at once
    EXPECT_EQ(memo.Gutter()->GutterColor(), TColor(0x8CC0B1));
    EXPECT_EQ(memo.Gutter()->GutterColorTo(), TColor(0xCFF0EA));
    memo.Gutter()->SetGutterColor(0x654321);
    memo.Perform(WM_THEMECHANGED);
    EXPECT_EQ(memo.Gutter()->GutterColor(), TColor(0x8CC0B1));
    AdvStyleIF::SetStyleEnvironment(nullptr);
}
