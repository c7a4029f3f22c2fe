#include "editor/AdvMemo.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "classlib/Clipboard.h"
#include "classlib/Form.h"
#include "classlib/Seams.h"
#include "support/WindowTestSupport.h"

using namespace AdvMemo;
using ClassLib::TShiftState;

namespace {

// Every cell 8 x 16 pixels.
class TGridMeasure : public ITextMeasure {
public:
    void SetFont(const std::wstring&, int, bool) override {}
    int TextWidth(const std::wstring& text) override { return 8 * static_cast<int>(text.size()); }
    int TextHeight(const std::wstring&) override { return 15; }
};

std::vector<std::wstring> LinesOf(const TAdvCustomMemo& memo) {
    std::vector<std::wstring> result;
    for (int i = 0; i < memo.Lines()->Count(); ++i) result.push_back(memo.Lines()->Get(i));
    return result;
}

// Keys held as far as the key-state seam tells, for one scope.
class THeldKeys {
public:
    explicit THeldKeys(std::vector<int> keys) {
        ClassLib::Seams().KeyState = [keys](int key) -> short {
            for (int k : keys)
                if (k == key) return short(0x8000);
            return 0;
        };
    }
private:
    ClassLib::TSeamsScope FScope;
};

class MemoInput : public testing::Test {
protected:
    void SetUp() override {
        memo.SetTextMeasure(&measure);
        memo.SetBounds(0, 0, 400, 200);
    }
    void Text(const std::wstring& text) {
        memo.Lines()->SetText(text);
        memo.ClearUndoRedo();
    }
    void Key(WORD key, TShiftState shift = 0) { memo.KeyDown(key, shift); }
    void Char(wchar_t c) { memo.KeyPress(c); }
    void Type(const std::wstring& text) {
        for (wchar_t c : text) Char(c);
    }
    // A pixel in the left half of a cell of the view, so the caret lands before that column.
    ClassLib::TPoint Cell(int col, int row) const {
        const TMemoRect area = memo.TextArea();
        return {area.Left + col * 8 + 1, area.Top + row * 16 + 8};
    }
    void Click(int col, int row, TShiftState shift = 0) {
        const ClassLib::TPoint p = Cell(col, row);
        memo.MouseDown(ClassLib::mbLeft, shift | ClassLib::ssLeft, p.X, p.Y);
        memo.MouseUp(ClassLib::mbLeft, shift, p.X, p.Y);
    }
    void Select(int x0, int y0, int x1, int y1) {
        memo.SetCursor(x1, y1);
        memo.SetSelStartX(x0);
        memo.SetSelStartY(y0);
        memo.SetSelEndX(x1);
        memo.SetSelEndY(y1);
    }

    TGridMeasure measure;
    TAdvMemo memo;
};

}  // namespace

// ---------------------------------------------------------------- keys

TEST_F(MemoInput, TypingAndTheCaretKeysEdit) {
    Type(L"hello");
    Char(L'\r');
    Type(L"world");
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"hello", L"world"}));
    Key(VK_BACK);
    Key(VK_LEFT);
    Key(VK_LEFT, ClassLib::ssShift);
    Key(VK_LEFT, ClassLib::ssShift);
    EXPECT_EQ(memo.Selection(), L"or");
    Type(L"X");  // typing replaces the selection (DelErase)
    EXPECT_EQ(memo.Lines()->Get(1), L"wXl");
    Key(VK_HOME);
    EXPECT_EQ(memo.CurX(), 0);
    Key(VK_END, ClassLib::ssShift);
    EXPECT_EQ(memo.Selection(), L"wXl");
    Key(VK_UP);
    Key(VK_DELETE);
    EXPECT_EQ(memo.Lines()->Get(0), L"helo");
    Char(1);  // Ctrl+A
    EXPECT_EQ(memo.Selection(), L"helo\r\nwXl");
}

TEST_F(MemoInput, UndoAndRedoKeys) {
    struct TCase { const char* Name; WORD Key; TShiftState Shift; bool Redo; };
    const TCase cases[] = {
        {"Ctrl+Z", 'Z', ClassLib::ssCtrl, false},
        {"Ctrl+Y", 'Y', ClassLib::ssCtrl, true},
        {"Alt+Backspace", VK_BACK, ClassLib::ssAlt, false},
        {"Alt+Shift+Backspace", VK_BACK, ClassLib::ssAlt | ClassLib::ssShift, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Text(L"");
        Type(L"a");
        if (c.Redo) memo.Undo();
        EXPECT_EQ(memo.Lines()->Get(0), c.Redo ? L"" : L"a");
        Key(c.Key, c.Shift);
        EXPECT_EQ(memo.Lines()->Get(0), c.Redo ? L"a" : L"");
    }
}

TEST_F(MemoInput, ReadOnlyMemoTakesNoEditingKeys) {
    Type(L"abc");
    memo.SetReadOnly(true);
    Key('Z', ClassLib::ssCtrl);
    Key(VK_BACK, ClassLib::ssAlt);
    Key(VK_BACK);
    Key(VK_DELETE);
    Type(L"x");
    Char(L'\r');
    EXPECT_EQ(LinesOf(memo), std::vector<std::wstring>{L"abc"});
    EXPECT_TRUE(memo.CanUndo());
    Char(1);  // Ctrl+A selects only in an editable memo
    EXPECT_FALSE(memo.HasSelection());
    Key(VK_LEFT, ClassLib::ssShift);  // moving still works
    EXPECT_EQ(memo.Selection(), L"c");
}

TEST_F(MemoInput, TabIndentsTheSelectedLinesUpToTheEndLine) {
    Text(L"a\r\nb\r\nc\r\nd\r\ne\r\nf");
    Select(0, 1, 0, 4);  // lines 2 to 5, ending at column 0 of line 5
    Key(VK_TAB);
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"a", L"    b", L"    c", L"    d", L"e", L"f"}));
    Key(VK_TAB, ClassLib::ssShift);
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"a", L"b", L"c", L"d", L"e", L"f"}));
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Get(1), L"    b");
}

TEST_F(MemoInput, CharCaseConvertsTypedLetters) {
    memo.SetCharCase(ecUpperCase);
    Type(L"at+x");
    memo.SetCharCase(ecLowerCase);
    Type(L"YZ");
    EXPECT_EQ(memo.Lines()->Get(0), L"AT+Xyz");
}

TEST_F(MemoInput, InsertKeyTogglesOverwriteAndMovesNoMarkers) {
    Text(L"one\r\ntwo\r\nthree\r\nfour");
    memo.AddMarker(3, 0, L"m");
    Type(L"x");
    int toggles = 0;
    memo.OnOverwriteToggle = [&](ClassLib::TObject*, bool&) { ++toggles; };
    Key(VK_INSERT);
    EXPECT_TRUE(memo.Overwrite());
    const int records = memo.UndoList().Count();
    Key(VK_INSERT);
    Key(VK_INSERT);
    EXPECT_EQ(memo.UndoList().Count(), records);  // repeated toggles do not fill the list
    EXPECT_EQ(toggles, 3);
    EXPECT_TRUE(memo.Overwrite());
    EXPECT_EQ(memo.MarkerList().Markers().Items(0)->LineNumber(), 3);
    memo.OnOverwriteToggle = [](ClassLib::TObject*, bool& allow) { allow = false; };
    Key(VK_INSERT);
    EXPECT_TRUE(memo.Overwrite());
}

TEST_F(MemoInput, CtrlLettersFireTheirEvents) {
    std::wstring fired;
    memo.OnFind = [&](ClassLib::TObject*) { fired += L"F"; };
    memo.OnReplace = [&](ClassLib::TObject*) { fired += L"H"; };
    memo.OnSave = [&](ClassLib::TObject*) { fired += L"S"; };
    Key('F', ClassLib::ssCtrl);
    Key('H', ClassLib::ssCtrl);
    Key('S', ClassLib::ssCtrl);
    Key('S');
    EXPECT_EQ(fired, L"FHS");
    WORD key = 'F';
    memo.OnKeyDown = [](ClassLib::TObject*, WORD& k, TShiftState) { k = 0; };  // a handler may take the key
    memo.KeyDown(key, ClassLib::ssCtrl);
    EXPECT_EQ(fired, L"FHS");
}

TEST_F(MemoInput, CtrlUpAndDownScrollAndKeepTheCaretInView) {
    std::wstring text;
    for (int i = 0; i < 40; ++i) text += L"line\r\n";
    Text(text);
    memo.UpdateScrollBars(false);
    Key(VK_DOWN, ClassLib::ssCtrl);
    EXPECT_EQ(memo.TopLine(), 1);
    EXPECT_EQ(memo.CurY(), 1);
    Key(VK_UP, ClassLib::ssCtrl);
    EXPECT_EQ(memo.TopLine(), 0);
}

TEST_F(MemoInput, EnterAfterABlockStartAddsTheBlockEnd) {
    TAdvCustomMemoStyler styler(nullptr);
    styler.SetBlockStart(L"begin");
    styler.SetBlockEnd(L"end");
    styler.SetAutoBlockEnd(true);
    memo.SetSyntaxStyles(&styler);
    Type(L"  begin");
    Char(L'\r');
    // The caret on the empty line pads it (AutoExpand).
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"  begin", L"    ", L"  end", L""}));
    EXPECT_EQ(memo.CurY(), 1);
    EXPECT_EQ(memo.CurX(), 4);
    memo.SetSyntaxStyles(nullptr);
}

// ---------------------------------------------------------------- mouse

TEST_F(MemoInput, ClicksPlaceTheCaretAndShiftClickExtends) {
    Text(L"first line\r\nsecond line\r\nthird");
    Click(3, 1);
    EXPECT_EQ(memo.CurX(), 3);
    EXPECT_EQ(memo.CurY(), 1);
    Click(2, 2, ClassLib::ssShift);
    EXPECT_EQ(memo.Selection(), L"ond line\r\nth");
}

TEST_F(MemoInput, DraggingTheMouseSelects) {
    Text(L"first line\r\nsecond line");
    const ClassLib::TPoint from = Cell(1, 0), to = Cell(3, 1);
    memo.MouseDown(ClassLib::mbLeft, ClassLib::ssLeft, from.X, from.Y);
    memo.MouseMove(ClassLib::ssLeft, from.X, from.Y);  // the click's own move is ignored
    memo.MouseMove(ClassLib::ssLeft, to.X, to.Y);
    memo.MouseUp(ClassLib::mbLeft, 0, to.X, to.Y);
    EXPECT_EQ(memo.Selection(), L"irst line\r\nsec");
}

TEST_F(MemoInput, AClickInsideTheSelectionWithoutMovingClearsIt) {
    Text(L"abcdefgh");
    Select(1, 0, 6, 0);
    Click(3, 0);
    EXPECT_FALSE(memo.HasSelection());
    EXPECT_EQ(memo.CurX(), 3);
}

TEST_F(MemoInput, GutterClicksReachTheirEvents) {
    Text(L"a\r\nb\r\nc");
    int right = -1;
    memo.OnGutterRightClick = [&](ClassLib::TObject*, int line) { right = line; };
    memo.MouseDown(ClassLib::mbRight, 0, 5, Cell(0, 2).Y);
    EXPECT_EQ(right, 2);
    memo.MouseDown(ClassLib::mbLeft, ClassLib::ssLeft, 5, Cell(0, 1).Y);  // the form control's default handler
    EXPECT_EQ(memo.CurY(), 1);
}

TEST_F(MemoInput, DraggedSelectionMovesOrCopiesAndUndoesAsOneStep) {
    struct TCase { const char* Name; int DropCol; bool Ctrl; const wchar_t* After; const wchar_t* Selected; };
    const TCase cases[] = {
        {"move later", 11, false, L"abc ghi def jkl", L"def"},
        {"move earlier", 0, false, L"def abc ghi jkl", L"def"},
        {"copy", 11, true, L"abc def ghi def jkl", L"def"},
        {"onto itself", 5, false, L"abc def ghi jkl", L"def"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Text(L"abc def ghi jkl");
        Select(4, 0, 8, 0);  // "def "
        THeldKeys held(c.Ctrl ? std::vector<int>{VK_CONTROL} : std::vector<int>{});
        const ClassLib::TPoint drop = Cell(c.DropCol + (c.DropCol == 0 ? 0 : 1), 0);
        bool accept = false;
        memo.DragOver(&memo, drop.X, drop.Y, ClassLib::dsDragMove, accept);
        EXPECT_TRUE(accept);
        memo.DragDrop(&memo, drop.X, drop.Y);
        EXPECT_EQ(memo.Lines()->Get(0), std::wstring(c.After));
        EXPECT_EQ(memo.Selection(), std::wstring(c.Selected) + L" ");
        if (memo.CanUndo()) memo.Undo();
        EXPECT_EQ(memo.Lines()->Get(0), L"abc def ghi jkl");
    }
}

TEST_F(MemoInput, ReadOnlyMemoTakesNoDrop) {
    Text(L"abc def");
    Select(0, 0, 3, 0);
    memo.SetReadOnly(true);
    int dropped = 0;
    memo.OnDragDrop = [&](ClassLib::TObject*, ClassLib::TObject*, int, int) { ++dropped; };
    const ClassLib::TPoint drop = Cell(6, 0);
    memo.DragDrop(&memo, drop.X, drop.Y);
    EXPECT_EQ(memo.Lines()->Get(0), L"abc def");
    EXPECT_EQ(dropped, 1);
}

TEST_F(MemoInput, DropTextInsertsAtThePoint) {
    Text(L"abcdef");
    const ClassLib::TPoint p = Cell(3, 0);
    memo.DropText(p.X, p.Y, L"XY");
    EXPECT_EQ(memo.Lines()->Get(0), L"abcXYdef");
}

// ---------------------------------------------------------------- behaviours

TEST_F(MemoInput, DoubleClickSelectsTheWordAtTheCaret) {
    struct TCase { int Caret; const wchar_t* Selected; };
    const TCase cases[] = {
        {5, L"AT+LCD=1"},  // inside a word
        {0, L"AT+LCD=1"},  // at the line start
        {9, L""},          // right after a blank: nothing
        {8, L""},          // on a blank: nothing
        {12, L"second"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Caret);
        Text(L"AT+LCD=1 x second");
        memo.SetCursor(c.Caret, 0);
        int dbl = 0;
        memo.OnDblClick = [&](ClassLib::TObject*) { ++dbl; };
        const ClassLib::TPoint p = Cell(c.Caret, 0);
        memo.DoubleClickAt(p.X, p.Y);
        EXPECT_EQ(dbl, 1);
        EXPECT_EQ(memo.Selection(), std::wstring(c.Selected));
    }
}

TEST_F(MemoInput, DoubleClickInTheGutterFiresTheGutterEventOnly) {
    Text(L"a b\r\nc d");
    int line = -1, dbl = 0;
    memo.OnGutterDblClick = [&](ClassLib::TObject*, int l) { line = l; };
    memo.OnDblClick = [&](ClassLib::TObject*) { ++dbl; };
    memo.DoubleClickAt(5, Cell(0, 1).Y);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(dbl, 0);
}

TEST_F(MemoInput, WheelScrollsByFourRows) {
    memo.SetBounds(0, 0, 400, 70);  // four rows
    std::wstring text;
    for (int i = 0; i < 10; ++i) text += L"line\r\n";
    Text(text.substr(0, text.size() - 2));
    memo.UpdateScrollBars(false);
    ASSERT_LT(memo.VisibleLineCount(), 10);
    std::vector<int> tops;
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(memo.DoMouseWheel(0, -120, {0, 0}));
        tops.push_back(memo.TopLine());
    }
    EXPECT_EQ(tops, (std::vector<int>{4, 8, 9, 9}));
    memo.DoMouseWheel(0, 120, {0, 0});
    EXPECT_EQ(memo.TopLine(), 5);
    memo.DoMouseWheel(0, 120, {0, 0});
    EXPECT_EQ(memo.TopLine(), 1);
    memo.DoMouseWheel(0, 120, {0, 0});
    EXPECT_EQ(memo.TopLine(), 0);

    // A text that fits: the caret goes to the start, the top line stays, the change is reported.
    Text(L"a\r\nb");
    memo.SetCursor(1, 1);
    int reported = 0;
    memo.OnTopLeftChanged = [&](ClassLib::TObject*) { ++reported; };
    memo.SetTopLine(1);
    EXPECT_EQ(memo.TopLine(), 0);
    EXPECT_EQ(memo.CurX(), 0);
    EXPECT_EQ(memo.CurY(), 0);
    EXPECT_EQ(reported, 1);
}

TEST_F(MemoInput, GetSelectionMessageWritesOnlyWhereItIsGiven) {
    Text(L"ab\r\ncdef");
    Select(1, 0, 2, 1);
    DWORD start = 99, end = 99;
    memo.Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 6u);
    const LRESULT packed = memo.Perform(EM_GETSEL, 0, 0);
    EXPECT_EQ(LOWORD(packed), 1);
    EXPECT_EQ(HIWORD(packed), 6);
    end = 99;
    memo.Perform(EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end, 6u);
}

TEST_F(MemoInput, ShellDropReadsNamesOfAnyLength) {
    const std::wstring longName = L"C:\\" + std::wstring(300, L'd') + L"\\commands.txt";
    const std::vector<std::wstring> names{L"C:\\a.txt", longName};
    std::wstring list;
    for (const auto& n : names) list += n + L'\0';
    list += L'\0';
    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    ASSERT_NE(block, nullptr);
    auto* header = static_cast<DROPFILES*>(::GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    ::GlobalUnlock(block);
    std::vector<std::wstring> offered;
    memo.OnFileDrop = [&](ClassLib::TObject*, const std::wstring& name, bool& defaultHandler) {
        offered.push_back(name);
        defaultHandler = false;
    };
    memo.Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);  // the drop frees the block
    EXPECT_EQ(offered, names);
}

TEST_F(MemoInput, ContextMenuItemsFollowTheMemoState) {
    Text(L"abc");
    Type(L"x");
    Select(0, 0, 2, 0);
    auto enabled = [&](int index) { return memo.StdMenu()->Items()->Items(index)->Enabled(); };
    memo.BuildContextMenu(0, 0);
    ASSERT_EQ(memo.StdMenu()->Items()->Count(), 8);
    EXPECT_EQ(memo.StdMenu()->Items()->Items(0)->Caption(), L"Undo\tCtrl+Z");
    EXPECT_EQ(memo.StdMenu()->Images(), memo.ContextMenuImages());
    EXPECT_EQ(memo.ContextMenuImages()->Count(), 5);
    EXPECT_TRUE(enabled(0));   // undo
    EXPECT_FALSE(enabled(1));  // redo
    EXPECT_TRUE(enabled(3));   // copy
    EXPECT_TRUE(enabled(4));   // cut
    memo.SetReadOnly(true);
    memo.BuildContextMenu(0, 0);
    EXPECT_FALSE(enabled(0));
    EXPECT_TRUE(enabled(3));
    EXPECT_FALSE(enabled(4));
    EXPECT_FALSE(enabled(5));  // paste
    EXPECT_TRUE(enabled(7));   // select all
    memo.SetReadOnly(false);

    // Added items keep their own handler; built-in ones run by their tag.
    int custom = 0;
    memo.OnCustomizeContextMenu = [&](ClassLib::TObject*, int, int, ClassLib::TPopupMenu* menu) {
        auto* item = new ClassLib::TMenuItem(menu);
        item->SetCaption(L"Mine");
        item->SetTag(42);
        menu->Items()->Add(item);
    };
    memo.OnCustomContextMenuClick = [&](ClassLib::TObject*, ClassLib::TMenuItem* item) { custom = int(item->Tag()); };
    memo.BuildContextMenu(0, 0);
    memo.StdMenu()->Items()->Items(8)->Click();
    EXPECT_EQ(custom, 42);
    memo.StdMenu()->Items()->Items(7)->Click();
    EXPECT_EQ(memo.Selection(), L"xabc");
    // A right click in the gutter keeps the standard handling: no built-in menu.
    EXPECT_FALSE(memo.ContextMenuAt({5, 10}, {5, 10}));
}

// ---------------------------------------------------------------- clipboard

TEST_F(MemoInput, ClipboardKeysCopyCutAndPasteText) {
    REQUIRE_DISPLAY();
    Text(L"alpha beta");
    Select(0, 0, 5, 0);
    Char(3);  // Ctrl+C
    EXPECT_EQ(ClassLib::Clipboard()->AsText(), L"alpha");
    Key(VK_END);
    Char(22);  // Ctrl+V
    EXPECT_EQ(memo.Lines()->Get(0), L"alpha betaalpha");
    Select(6, 0, 10, 0);
    Char(24);  // Ctrl+X
    EXPECT_EQ(memo.Lines()->Get(0), L"alpha alpha");
    EXPECT_EQ(ClassLib::Clipboard()->AsText(), L"beta");
    Key(VK_HOME);
    Key(VK_INSERT, ClassLib::ssShift);
    EXPECT_EQ(memo.Lines()->Get(0), L"betaalpha alpha");
    std::vector<TClipboardAction> actions;
    memo.OnClipboardAction = [&](ClassLib::TObject*, TClipboardAction a, bool&) { actions.push_back(a); };
    Select(0, 0, 4, 0);
    Key(VK_DELETE, ClassLib::ssShift);  // cuts without asking
    EXPECT_EQ(memo.Lines()->Get(0), L"alpha alpha");
    EXPECT_EQ(ClassLib::Clipboard()->AsText(), L"beta");
    EXPECT_TRUE(actions.empty());
    memo.OnClipboardAction = [](ClassLib::TObject*, TClipboardAction, bool& allow) { allow = false; };
    Char(22);
    EXPECT_EQ(memo.Lines()->Get(0), L"alpha alpha");

    // A read-only memo still copies, by Ctrl+C and by Ctrl+Insert.
    memo.OnClipboardAction = nullptr;
    memo.SetReadOnly(true);
    Select(0, 0, 3, 0);
    Char(3);
    EXPECT_EQ(ClassLib::Clipboard()->AsText(), L"alp");
    Select(6, 0, 11, 0);
    Key(VK_INSERT, ClassLib::ssCtrl);
    EXPECT_EQ(ClassLib::Clipboard()->AsText(), L"alpha");
    Char(24);
    EXPECT_EQ(memo.Lines()->Get(0), L"alpha alpha");
}

TEST_F(MemoInput, PasteSplitsLinesAndReadsWithinTheBlock) {
    REQUIRE_DISPLAY();
    Text(L"xy");
    memo.SetCursor(1, 0);
    ClassLib::Clipboard()->SetAsText(L"one\ntwo\rthree");
    memo.PasteFromClipBoard();
    EXPECT_EQ(LinesOf(memo), (std::vector<std::wstring>{L"xone", L"two", L"threey"}));
    EXPECT_EQ(memo.CurY(), 2);
    EXPECT_EQ(memo.CurX(), 5);
    EXPECT_TRUE(memo.LineModified(0));
    EXPECT_TRUE(memo.LineModified(2));

    // A block without its terminating zero is read to its end and no further.
    Text(L"");
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    ClassLib::Clipboard()->SetBuffer(CF_UNICODETEXT, unterminated, sizeof unterminated);
    memo.PasteFromClipBoard();
    // (The system may itself end the text inside the block, so its last character can go.)
    const std::wstring pasted = memo.Lines()->Get(0);
    EXPECT_LE(pasted.size(), 3u);
    EXPECT_GE(pasted.size(), 2u);
    EXPECT_EQ(pasted, std::wstring(L"abc").substr(0, pasted.size()));

    memo.SetReadOnly(true);
    ClassLib::Clipboard()->SetAsText(L"never");
    memo.PasteFromClipBoard();
    Char(22);
    EXPECT_EQ(memo.Lines()->Get(0), pasted);
}

// ---------------------------------------------------------------- through real messages

TEST(MemoInputWindow, TypingSelectingCopyPasteUndoAndRedoThroughMessages) {
    REQUIRE_DISPLAY();
    ClassLib::TSeamsScope seams;
    std::vector<int> held;
    ClassLib::Seams().KeyState = [&held](int key) -> short {
        for (int k : held)
            if (k == key) return short(0x8000);
        return 0;
    };
    ClassLib::TForm form(nullptr);
    form.SetBounds(0, 0, 500, 300);
    TAdvMemo memo(nullptr);
    memo.SetParent(&form);
    memo.SetBounds(0, 0, 480, 260);
    form.Show();
    TestSupport::PumpMessages();
    const HWND window = memo.Handle();
    auto key = [&](WORD vk, std::vector<int> keys = {}) {
        held = keys;
        ::SendMessageW(window, WM_KEYDOWN, vk, 0);
        held.clear();
    };
    auto chars = [&](const std::wstring& text) {
        for (wchar_t c : text) ::SendMessageW(window, WM_CHAR, c, 0);
    };
    chars(L"AT+GMR\r");
    chars(L"ATE0");
    EXPECT_EQ(memo.Lines()->Text(), L"AT+GMR\r\nATE0");
    key(VK_LEFT, {VK_SHIFT});
    key(VK_LEFT, {VK_SHIFT});
    EXPECT_EQ(memo.Selection(), L"E0");
    held = {VK_CONTROL};
    chars(L"\x03");  // Ctrl+C
    held.clear();
    EXPECT_EQ(ClassLib::Clipboard()->AsText(), L"E0");
    key(VK_HOME, {VK_CONTROL});
    chars(L"\x16");  // Ctrl+V
    EXPECT_EQ(memo.Lines()->Get(0), L"E0AT+GMR");
    key('Z', {VK_CONTROL});
    EXPECT_EQ(memo.Lines()->Get(0), L"AT+GMR");
    key('Y', {VK_CONTROL});
    EXPECT_EQ(memo.Lines()->Get(0), L"E0AT+GMR");
    EXPECT_EQ(memo.Perform(WM_GETDLGCODE) & (DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB),
              DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB);

    // A double click selects the word under it.
    const TMemoRect area = memo.TextArea();
    const LPARAM at = MAKELPARAM(area.Left + 2 * memo.CharWidth() + 1, area.Top + memo.CharHeight() + 4);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(window, WM_LBUTTONUP, 0, at);
    ::SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::SendMessageW(window, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(memo.Selection(), L"ATE0");
    memo.SetParent(nullptr);
}

TEST_F(MemoInput, WordCompleteReplacesTheWordBeforeAWordEnd) {
    memo.OnWordComplete = [](ClassLib::TObject*, const std::wstring& word, std::wstring& newWord) {
        if (word == L"teh") newWord = L"the";
        if (word == L"at") newWord = L"AT+";
    };
    Type(L"teh at,x");
    EXPECT_EQ(memo.Lines()->Get(0), L"the AT+,x");
    EXPECT_EQ(memo.CurX(), 9);
    memo.Undo();  // the typed ",x"
    EXPECT_EQ(memo.Lines()->Get(0), L"the AT+");
    memo.Undo();  // the completion
    EXPECT_EQ(memo.Lines()->Get(0), L"the at");
}

TEST_F(MemoInput, DropHooksAskTheirEvents) {
    Text(L"abc");
    memo.OnOleDropText = [](ClassLib::TObject*, int, int, std::wstring& text, bool&) { text = L"[" + text + L"]"; };
    memo.DoOleDropText(L"x", 1, 0);
    EXPECT_EQ(memo.Lines()->Get(0), L"a[x]bc");
    memo.OnOleDropText = [](ClassLib::TObject*, int, int, std::wstring&, bool& allow) { allow = false; };
    memo.DoOleDropText(L"y", 0, 0);
    std::wstring offered;
    memo.OnOleDropFile = [&](ClassLib::TObject*, int, int, const std::wstring& name, bool& allow) {
        offered = name;
        allow = false;
    };
    memo.DoOleDropFile(0, 0, L"C:\\nothing.txt");
    EXPECT_EQ(memo.Lines()->Get(0), L"a[x]bc");
    EXPECT_EQ(offered, L"C:\\nothing.txt");
}

TEST_F(MemoInput, LoadedAttachesTheMemoSource) {
    TAdvMemoSource source(nullptr);
    source.Lines()->Add(L"from the source");
    memo.SetLoading(true);  // as while a window description is read
    memo.SetMemoSource(&source);
    EXPECT_EQ(source.Memo(), nullptr);
    memo.SetLoading(false);
    memo.Loaded();
    EXPECT_EQ(source.Memo(), &memo);
    EXPECT_EQ(memo.Lines()->Get(0), L"from the source");
    memo.SetMemoSource(nullptr);
}

TEST(MemoInputWindow, DraggingTheSelectionWithTheMouseMovesIt) {
    REQUIRE_DISPLAY();
    ClassLib::TSeamsScope seams;
    bool ctrl = false;
    ClassLib::Seams().KeyState = [&ctrl](int key) -> short { return key == VK_CONTROL && ctrl ? short(0x8000) : 0; };
    ClassLib::TForm form(nullptr);
    form.SetBounds(0, 0, 500, 300);
    TAdvMemo memo(nullptr);
    memo.SetParent(&form);
    memo.SetBounds(0, 0, 480, 260);
    form.Show();
    TestSupport::PumpMessages();
    const HWND window = memo.Handle();
    const TMemoRect area = memo.TextArea();
    auto cell = [&](int col) {
        return POINT{area.Left + col * memo.CharWidth() + 1, area.Top + memo.CharHeight() / 2};
    };
    auto drag = [&](int fromCol, int toCol) {
        const POINT from = cell(fromCol), to = cell(toCol);
        // The mouse is put where each message says, as the drag reads the pointer too.
        auto send = [&](UINT msg, WPARAM keys, POINT at) {
            POINT screen = at;
            ::ClientToScreen(window, &screen);
            ::SetCursorPos(screen.x, screen.y);
            ::SendMessageW(window, msg, keys, MAKELPARAM(at.x, at.y));
        };
        send(WM_LBUTTONDOWN, MK_LBUTTON, from);
        send(WM_MOUSEMOVE, MK_LBUTTON, from);
        send(WM_MOUSEMOVE, MK_LBUTTON, to);
        send(WM_MOUSEMOVE, MK_LBUTTON, POINT{to.x + 1, to.y});
        send(WM_LBUTTONUP, 0, POINT{to.x + 1, to.y});
    };
    memo.Lines()->SetText(L"abc def ghi jkl");
    memo.SetSelStart(4);
    memo.SetSelLength(4);
    drag(5, 12);
    EXPECT_EQ(memo.Lines()->Get(0), L"abc ghi def jkl");
    EXPECT_EQ(memo.Selection(), L"def ");
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Get(0), L"abc def ghi jkl");

    ctrl = true;
    memo.SetSelStart(4);
    memo.SetSelLength(4);
    drag(5, 0);
    EXPECT_EQ(memo.Lines()->Get(0), L"def abc def ghi jkl");
    ctrl = false;

    // A press inside the selection released where it was is a click.
    memo.SetSelStart(0);
    memo.SetSelLength(3);
    drag(2, 2);
    EXPECT_FALSE(memo.HasSelection());
    EXPECT_EQ(memo.CurX(), 2);
    memo.SetParent(nullptr);
}
