#include "editor/AdvMemoPopups.h"

#include "classlib/Form.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"
#include "editor/AdvMemo.h"
#include "editor/AdvmCSHS.h"
#include "support/PublishedDefaults.h"
#include "support/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace AdvMemo;
using AdvmCSHS::TAdvCSharpMemoStyler;

namespace {

ClassLib::TObject* Category(int category) {
    return reinterpret_cast<ClassLib::TObject*>(static_cast<std::intptr_t>(category));
}

// Exposes whether the memo made its timers.
class TProbeMemo : public TAdvMemo {
public:
    TProbeMemo() : TAdvMemo(nullptr) {}
    bool HasTimers() const { return FAutoCompleteTimer || FHintTimer; }
};

// A memo with the C styler on a shown form, keys sent as the system would send them.
struct TPopupFixture {
    ClassLib::TForm Form{nullptr};
    TAdvCSharpMemoStyler Styler{nullptr};
    TProbeMemo Memo;
    std::vector<int> Held;
    ClassLib::TSeamsScope Seams;

    explicit TPopupFixture(bool withEntries) {
        ClassLib::Seams().KeyState = [this](int key) -> short {
            for (int k : Held)
                if (k == key) return short(0x8000);
            return 0;
        };
        if (withEntries) {
            ClassLib::TStringList& entries = *Styler.AutoCompletion();
            entries.AddObject(L"procedure Foo(a: Integer; b: string)", Category(ccProcedure));
            entries.AddObject(L"procedure FooBar", Category(ccProcedure));
            entries.AddObject(L"function Format(s: string): string", Category(ccFunction));
            entries.AddObject(L"var Count: Integer", Category(ccVariable));
            Styler.HintParameter()->Parameters()->Add(L"Foo(a: Integer; b: string)");
        }
        Memo.SetSyntaxStyles(&Styler);
        Memo.AutoCompletion()->SetShowImages(true);
        Form.SetBounds(40, 40, 500, 300);
        Memo.SetParent(&Form);
        Memo.SetBounds(0, 0, 480, 260);
        Form.Show();
        Memo.SetFocus();
        TestSupport::PumpMessages();
    }
    ~TPopupFixture() {
        Memo.SetParent(nullptr);
        TestSupport::PumpMessages();
    }
    void Key(WORD vk, std::vector<int> keys = {}) {
        Held = keys;
        ::SendMessageW(::GetFocus(), WM_KEYDOWN, vk, 0);
        Held.clear();
    }
    // Characters go where the focus is (the memo, or the open list), each after its key-down
    // as the system sends them: a key-down stops a completion timer that a start token began.
    void Chars(const std::wstring& text) {
        for (wchar_t c : text) {
            WORD vk = LOBYTE(::VkKeyScanW(c));
            if (c == L'\x1b') vk = VK_ESCAPE;
            if (c == L'\r') vk = VK_RETURN;
            if (c == L'\t') vk = VK_TAB;
            if (c == L'\b') vk = VK_BACK;
            ::SendMessageW(::GetFocus(), WM_KEYDOWN, vk, 0);
            ::SendMessageW(::GetFocus(), WM_CHAR, c, 0);
            TestSupport::PumpMessages();
        }
    }
    void CtrlSpace() {
        Key(VK_SPACE, {VK_CONTROL});
        Held = {VK_CONTROL};
        ::SendMessageW(Memo.Handle(), WM_CHAR, L' ', 0);  // the blank the key also sends
        Held.clear();
        TestSupport::PumpMessages();
    }
    std::vector<std::wstring> Items() const {
        std::vector<std::wstring> items;
        if (!Memo.CompletionForm()) return items;
        const ClassLib::TStrings& list = *Memo.CompletionForm()->ListBox()->Items();
        for (int i = 0; i < list.Count(); ++i) items.push_back(list.Strings(i));
        return items;
    }
};

RECT WindowRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

bool Inside(const RECT& r, const ClassLib::TRect& area) {
    return r.left >= area.Left && r.top >= area.Top && r.right <= area.Right && r.bottom <= area.Bottom;
}

}  // namespace

// ---------------------------------------------------------------- settings

TEST(AdvMemoCompletionSettings, DefaultsAssignAndThePublishedList) {
    TAutoCompletion settings;
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(&settings), 0);
    TAutoCompletionListBox list(nullptr);
    TestSupport::ExpectPublishedDefaults(&list);

    TAutoCompletion other;
    other.SetActive(false);
    other.SetColor(ClassLib::clYellow);
    other.SetDelay(90);
    other.SetColorEvent(ClassLib::clGreen);
    other.SetStartToken(L">");
    other.SetMaxWidth(300);
    other.SetKeepLastSize(true);
    other.Font()->SetName(L"Arial");
    int changes = 0;
    settings.OnChange = [&changes] { ++changes; };
    settings.Assign(&other);
    EXPECT_FALSE(settings.Active());
    EXPECT_EQ(settings.Color(), ClassLib::clYellow);
    EXPECT_EQ(settings.Delay(), 90);
    EXPECT_EQ(settings.ColorEvent(), ClassLib::clGreen);
    EXPECT_EQ(settings.StartToken(), L">");
    EXPECT_EQ(settings.MaxWidth(), 300);
    EXPECT_TRUE(settings.KeepLastSize());
    EXPECT_EQ(settings.Font()->Name(), L"Arial");
    EXPECT_GE(changes, 1);

    // The memo copies its completion settings and hint options on Assign.
    TAdvMemo source(nullptr), target(nullptr);
    source.AutoCompletion()->SetWidth(321);
    source.SetAutoHintParameters(hpManual);
    source.SetAutoHintParameterPosition(hpAboveCode);
    source.SetAutoHintParameterDelay(700);
    target.Assign(&source);
    EXPECT_EQ(target.AutoCompletion()->Width(), 321);
    EXPECT_EQ(target.AutoHintParameters(), hpManual);
    EXPECT_EQ(target.AutoHintParameterPosition(), hpAboveCode);
    EXPECT_EQ(target.AutoHintParameterDelay(), 700);
}

// ---------------------------------------------------------------- real windows

TEST(AdvMemoPopupsWindow, WithoutEntriesOrSignaturesNothingOpensAndNoTimerIsMade) {
    REQUIRE_DISPLAY();
    TPopupFixture f(false);
    f.Chars(L"x.y = Foo(1, 2");
    f.CtrlSpace();
    f.Key(VK_SPACE, {VK_CONTROL, VK_SHIFT});
    f.Key(VK_LEFT);
    TestSupport::PumpMessages();
    EXPECT_EQ(f.Memo.Lines()->Get(0), L"x.y = Foo(1, 2");
    EXPECT_EQ(f.Memo.CompletionForm(), nullptr);
    EXPECT_EQ(f.Memo.HintForm(), nullptr);
    EXPECT_FALSE(f.Memo.HasTimers());
    EXPECT_EQ(::GetFocus(), f.Memo.Handle());
}

TEST(AdvMemoPopupsWindow, CtrlSpaceOpensTheListInsideTheWorkAreaTypingFiltersEnterInserts) {
    REQUIRE_DISPLAY();
    const ClassLib::TRect area = ClassLib::Screen->MonitorFromPoint({0, 0}).WorkareaRect;
    struct TCase { const char* Name; int FormLeft, FormTop; const wchar_t* Prefix; bool Above; };
    const TCase cases[] = {
        {"top left", 40, 40, L"", false},
        // The caret near the bottom right corner: the list cannot open below or right of it,
        // so it opens above the caret line, moved left.
        {"bottom right", area.Right - 500, area.Bottom - 60, L"                                          ", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPopupFixture f(true);
        f.Form.SetBounds(c.FormLeft, c.FormTop, 500, 300);
        TestSupport::PumpMessages();
        int started = 0, done = 0;
        f.Memo.OnStartAutoCompletion = [&started](ClassLib::TObject*) { ++started; };
        f.Memo.OnAutoCompletion = [&done](ClassLib::TObject*) { ++done; };
        f.Chars(std::wstring(c.Prefix) + L"x := F");
        f.CtrlSpace();
        TAdvAutoform* form = f.Memo.CompletionForm();
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(started, 1);
        EXPECT_TRUE(form->Showing());
        EXPECT_EQ(::GetFocus(), form->ListBox()->Handle());
        const RECT placed = WindowRect(form->Handle());
        EXPECT_TRUE(Inside(placed, area));
        const TMemoRect caretRow = f.Memo.LineRect(0);
        if (c.Above) EXPECT_LE(placed.bottom, f.Memo.ClientToScreen({0, caretRow.Top}).Y);
        else EXPECT_GE(placed.top, f.Memo.ClientToScreen({0, caretRow.Bottom}).Y);
        EXPECT_EQ(f.Items(), (std::vector<std::wstring>{L"procedure Foo(a: Integer; b: string)", L"procedure FooBar",
                                                          L"function Format(s: string): string"}));
        EXPECT_EQ(f.Memo.Lines()->Get(0), std::wstring(c.Prefix) + L"x := F");  // Ctrl+Space typed no blank

        f.Chars(L"oo");  // typed into the memo, the list narrows
        EXPECT_EQ(f.Memo.Lines()->Get(0), std::wstring(c.Prefix) + L"x := Foo");
        EXPECT_EQ(f.Items(), (std::vector<std::wstring>{L"procedure Foo(a: Integer; b: string)", L"procedure FooBar"}));
        f.Chars(L"\b");  // Backspace widens the filter again
        EXPECT_EQ(f.Memo.Lines()->Get(0), std::wstring(c.Prefix) + L"x := Fo");
        EXPECT_EQ(f.Items().size(), 3u);
        f.Chars(L"o");
        f.Chars(L"\r");
        TestSupport::PumpMessages();
        EXPECT_EQ(f.Memo.CompletionForm(), nullptr);
        EXPECT_EQ(done, 1);
        EXPECT_EQ(f.Memo.Lines()->Get(0), std::wstring(c.Prefix) + L"x := Foo()");
        EXPECT_EQ(f.Memo.CurX(), static_cast<int>(std::wstring(c.Prefix).size()) + 9);  // between the parentheses
        EXPECT_EQ(::GetFocus(), f.Memo.Handle());
        // The parentheses bring the parameter hint.
        ASSERT_NE(f.Memo.HintForm(), nullptr);
        EXPECT_TRUE(f.Memo.HintForm()->Showing());
        EXPECT_TRUE(Inside(WindowRect(f.Memo.HintForm()->Handle()), area));
    }
}

TEST(AdvMemoPopupsWindow, EscapeEndCharactersAndEmptyFiltersClose) {
    REQUIRE_DISPLAY();
    struct TCase { const wchar_t* Typed; const wchar_t* Line; int Cancels; };
    const TCase cases[] = {
        {L"\x1b", L"Fo", 0},      // Escape: nothing inserted
        {L"x", L"Fox", 0},        // no entry fits any more
        {L"\t", L"Fo", 0},
        {L";", L"Fo;", 1},        // another character is typed and cancels
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Typed)));
        TPopupFixture f(true);
        int cancels = 0;
        f.Memo.OnCancelAutoCompletion = [&cancels](ClassLib::TObject*) { ++cancels; };
        f.Chars(L"Fo");
        f.CtrlSpace();
        ASSERT_NE(f.Memo.CompletionForm(), nullptr);
        f.Chars(c.Typed);
        TestSupport::PumpMessages();
        EXPECT_EQ(f.Memo.CompletionForm(), nullptr);
        EXPECT_EQ(f.Memo.Lines()->Get(0), c.Line);
        EXPECT_EQ(cancels, c.Cancels);
        EXPECT_EQ(::GetFocus(), f.Memo.Handle());
    }
}

TEST(AdvMemoPopupsWindow, TheFocusLeavingTheListCancelsIt) {
    REQUIRE_DISPLAY();
    TPopupFixture f(true);
    int cancels = 0;
    f.Memo.OnCancelAutoCompletion = [&cancels](ClassLib::TObject*) { ++cancels; };
    f.Chars(L"Fo");
    f.CtrlSpace();
    ASSERT_NE(f.Memo.CompletionForm(), nullptr);
    ::SetFocus(f.Memo.Handle());  // a click back into the memo
    TestSupport::PumpMessages();
    EXPECT_EQ(f.Memo.CompletionForm(), nullptr);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(f.Memo.Lines()->Get(0), L"Fo");
    EXPECT_EQ(::GetFocus(), f.Memo.Handle());
    // Opened again, the list is still open when the memo and its form go.
    f.CtrlSpace();
    ASSERT_NE(f.Memo.CompletionForm(), nullptr);
}

TEST(AdvMemoPopupsWindow, KeepLastSizeTurnsAutoWidthOffWhenTheListCloses) {
    REQUIRE_DISPLAY();
    TPopupFixture f(true);
    f.Memo.AutoCompletion()->SetKeepLastSize(true);
    f.Chars(L"C");
    f.CtrlSpace();
    ASSERT_NE(f.Memo.CompletionForm(), nullptr);
    const int width = f.Memo.CompletionForm()->Width();
    f.Chars(L"\x1b");
    EXPECT_FALSE(f.Memo.AutoCompletion()->AutoWidth());
    EXPECT_EQ(f.Memo.AutoCompletion()->Width(), width);
}

TEST(AdvMemoPopupsWindow, TheHintBoldsTheParameterAtTheCaretAndGoesAfterTheCall) {
    REQUIRE_DISPLAY();
    TPopupFixture f(true);
    struct TCase { const wchar_t* Typed; bool Showing; const wchar_t* Part1; const wchar_t* Part2; const wchar_t* Part3; };
    const TCase cases[] = {
        {L"y = foo(", true, L"", L"a: Integer;", L" b: string"},
        {L"1, ", true, L"a: Integer;", L" b: string", L""},
        {L"2)", false, L"", L"", L""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Typed)));
        f.Chars(c.Typed);
        TAdvHintForm* hint = f.Memo.HintForm();
        ASSERT_NE(hint, nullptr);
        EXPECT_EQ(hint->Showing(), c.Showing);
        EXPECT_EQ(::GetFocus(), f.Memo.Handle());
        if (!c.Showing) continue;
        EXPECT_EQ(hint->part1, c.Part1);
        EXPECT_EQ(hint->part2, c.Part2);
        EXPECT_EQ(hint->part3, c.Part3);
        EXPECT_EQ(hint->Active, 2);
        // Below the caret line, and as wide as the bold part needs.
        const RECT r = WindowRect(hint->Handle());
        const ClassLib::TPoint caret = f.Memo.ClientToScreen({0, f.Memo.LineRect(0).Bottom});
        EXPECT_GE(r.top, caret.Y);
    }
    // Ctrl+Shift+Space asks again inside the call; hpNone keeps it away.
    f.Key(VK_LEFT);
    f.Key(VK_LEFT);
    f.Key(VK_SPACE, {VK_CONTROL, VK_SHIFT});
    EXPECT_TRUE(f.Memo.HintForm()->Showing());
    f.Memo.SetAutoHintParameters(hpNone);
    EXPECT_FALSE(f.Memo.HintForm()->Showing());
    f.Key(VK_SPACE, {VK_CONTROL, VK_SHIFT});
    EXPECT_FALSE(f.Memo.HintForm()->Showing());
}

TEST(AdvMemoPopupsWindow, AStartTokenOpensTheListAfterTheDelayWithTheHandlersEntries) {
    REQUIRE_DISPLAY();
    TPopupFixture f(false);
    f.Memo.AutoCompletion()->SetDelay(30);
    std::vector<std::wstring> tokens;
    f.Memo.OnGetAutoCompletionList = [&tokens](ClassLib::TObject*, const std::wstring& token, ClassLib::TStringList* list) {
        tokens.push_back(token);
        if (token != L"OBJ.") return;
        list->AddObject(L"property Length: Integer", Category(ccProperty));
        list->AddObject(L"method Load(name: string)", Category(ccMethod));
    };
    struct TCase { const char* Name; bool CtrlSpace; };
    for (const TCase& c : {TCase{"by the timer", false}, TCase{"by Ctrl+Space", true}}) {
        SCOPED_TRACE(c.Name);
        f.Memo.Lines()->SetText(L"");
        f.Memo.SetCursor(0, 0);
        tokens.clear();
        f.Chars(L"x := obj.");
        if (c.CtrlSpace) f.CtrlSpace();
        ASSERT_TRUE(TestSupport::PumpUntil([&f] { return f.Memo.CompletionForm() != nullptr; }));
        EXPECT_EQ(tokens, std::vector<std::wstring>{L"OBJ."});
        EXPECT_EQ(f.Items(), (std::vector<std::wstring>{L"property Length: Integer", L"method Load(name: string)"}));
        f.Chars(L"Le");
        EXPECT_EQ(f.Items(), std::vector<std::wstring>{L"property Length: Integer"});
        f.Chars(L"\b\b");
        EXPECT_EQ(f.Items().size(), 2u);  // the start token stays: so does the list
        f.Chars(L"Lo\r");
        EXPECT_EQ(f.Memo.Lines()->Get(0), L"x := obj.Load()");
        EXPECT_EQ(f.Memo.CompletionForm(), nullptr);
    }
}
