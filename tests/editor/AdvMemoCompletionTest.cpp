#include "editor/AdvMemoCompletion.h"

#include "editor/AdvMemo.h"
#include "editor/AdvMemoStylers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace AdvMemo;

// ---------------------------------------------------------------- completion entries

TEST(AdvMemoCompletionEntries, FilterFromTheFirstCharacterOrAnywhere) {
    struct TCase { const wchar_t* Entry; bool FromFirst; bool Anywhere; };
    const TCase cases[] = {
        {L"procedure PrintIt(a: Integer)", true, true},
        {L"function process: Boolean", true, true},  // case does not matter
        {L"var Apr", false, true},
        {L"property Obj.PrLen", true, true},           // the name after the "." counts
        {L"var Count", false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Entry)));
        EXPECT_EQ(CompletionEntryFits(c.Entry, L"PR", true), c.FromFirst);
        EXPECT_EQ(CompletionEntryFits(c.Entry, L"PR", false), c.Anywhere);
        EXPECT_TRUE(CompletionEntryFits(c.Entry, L"", true));
    }
}

TEST(AdvMemoCompletionEntries, AcceptedTextWithAndWithoutParentheses) {
    struct TCase { const wchar_t* Entry; bool AllowParens; const wchar_t* Text; bool Parens; };
    const TCase cases[] = {
        {L"procedure Foo(a: Integer)", true, L"Foo()", true},
        {L"procedure Foo(a: Integer)", false, L"Foo", false},  // a completion end character
        {L"var Count: Integer", true, L"Count", false},
        {L"property Items[Index: Integer]", true, L"Items[Index", false},
        {L"Plain", true, L"Plain", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Entry)));
        bool parens = !c.Parens;
        EXPECT_EQ(CompletionInsertText(c.Entry, c.AllowParens, parens), c.Text);
        EXPECT_EQ(parens, c.Parens);
    }
}

// ---------------------------------------------------------------- parameter hint

TEST(AdvMemoParameterHint, CallAroundTheCaret) {
    THintParameter chars;
    struct TCase { const wchar_t* Line; bool Found; const wchar_t* Name; int Index; };
    const TCase cases[] = {
        {L"x := Foo(a, b", true, L"Foo", 1},
        {L"Foo(", true, L"Foo", 0},
        {L"Obj.Foo(1, 2, ", true, L"Obj.Foo", 2},
        {L"Foo(a)", false, L"", 0},        // after ")": no hint
        {L"Foo(a)  ", false, L"", 0},
        {L"Foo(a,      b", false, L"", 0},  // five blanks end the search
        {L"no call", false, L"", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Line)));
        const std::wstring line = c.Line;
        std::wstring name;
        int index = -1;
        EXPECT_EQ(FindHintCall(line, static_cast<int>(line.size()), chars, name, index), c.Found);
        if (c.Found) {
            EXPECT_EQ(name, c.Name);
            EXPECT_EQ(index, c.Index);
        }
    }
}

TEST(AdvMemoParameterHint, SignatureAndItsBoldParameter) {
    THintParameter chars;
    chars.Parameters()->Add(L"Bar(x)");
    chars.Parameters()->Add(L"Foo(a: Integer; b: string)");
    const std::wstring signature = FindHintSignature(L"obj.foo", chars, false);
    EXPECT_EQ(signature, L"Foo(a: Integer; b: string)");
    EXPECT_EQ(FindHintSignature(L"obj.foo", chars, true), L"");
    EXPECT_EQ(FindHintSignature(L"Fo", chars, false), L"");  // the whole name, up to "("

    THintParts parts = SplitParameterHint(signature, 1, chars);
    EXPECT_EQ(parts.Part1, L"a: Integer;");
    EXPECT_EQ(parts.Part2, L" b: string");
    EXPECT_EQ(parts.Part3, L"");
    EXPECT_EQ(parts.Active, 2);
    parts = SplitParameterHint(signature, 0, chars);
    EXPECT_EQ(parts.Part2, L"a: Integer;");
    EXPECT_EQ(parts.Part3, L" b: string");
    parts = SplitParameterHint(signature, 5, chars);
    EXPECT_EQ(parts.Part2, L"");
    EXPECT_EQ(parts.Active, 1);
}

// ---------------------------------------------------------------- auto-correct and checker

namespace {

class TRecordingChecker : public TAdvMemoChecker {
public:
    std::vector<std::wstring> Calls;
    void CheckLine(int lineNo) override { Calls.push_back(L"CheckLine " + std::to_wstring(lineNo)); }
    void CheckWord(int lineNo, int linePos, const std::wstring& s) override {
        Calls.push_back(L"CheckWord " + std::to_wstring(lineNo) + L"," + std::to_wstring(linePos) + L" " + s);
    }
    void CorrectLine(int lineNo) override { Calls.push_back(L"CorrectLine " + std::to_wstring(lineNo)); }
    void CorrectWord(int lineNo, int linePos, std::wstring& s) override {
        Calls.push_back(L"CorrectWord " + std::to_wstring(lineNo) + L"," + std::to_wstring(linePos) + L" " + s);
        if (s == L"teh") s = L"the";
    }
};

void TypeInto(TAdvMemo& memo, const std::wstring& text) {
    for (wchar_t c : text) {
        wchar_t key = c;
        memo.KeyPress(key);
    }
}

}  // namespace

TEST(AdvMemoAutoCorrect, WordEndKeyReplacesAndOneUndoRestores) {
    TAdvMemo memo;
    EXPECT_TRUE(memo.AutoCorrect().Active());
    memo.AutoCorrect().OldValue().Add(L"teh");
    memo.AutoCorrect().NewValue().Add(L"the");
    memo.AutoCorrect().OldValue().Add(L"Teh");  // exact match only: no entry for "TEH"
    memo.AutoCorrect().NewValue().Add(L"The");
    TypeInto(memo, L"teh TEH Teh,");
    EXPECT_EQ(memo.Lines()->Get(0), L"the TEH The,");
    EXPECT_EQ(memo.CurX(), 12);
    // The typed comma is its own step; the correction of "Teh" is the one right before it.
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Get(0), L"the TEH The");
    memo.Undo();
    EXPECT_EQ(memo.Lines()->Get(0), L"the TEH Teh");

    TAdvMemo other;
    other.AutoCorrect().Assign(&memo.AutoCorrect());
    std::wstring result;
    EXPECT_TRUE(other.AutoCorrect().Lookup(L"teh", result));
    EXPECT_EQ(result, L"the");
    other.AutoCorrect().SetActive(false);
    EXPECT_FALSE(other.AutoCorrect().Lookup(L"teh", result));
}

TEST(AdvMemoAutoCorrect, CheckerIsCalledPerAutoCorrectType) {
    struct TCase { TAutoCorrectType Type; std::vector<std::wstring> Calls; const wchar_t* Line; };
    const TCase cases[] = {
        {acNone, {}, L"teh x"},
        {acWordCheck, {L"CheckWord 0,0 teh", L"CheckWord 0,4 x"}, L"teh x"},
        {acWordCorrect, {L"CorrectWord 0,0 teh", L"CorrectWord 0,4 x"}, L"the x"},
        {acLineCheck, {L"CheckLine 0"}, L"teh x"},
        {acLineCorrect, {L"CorrectLine 0"}, L"teh x"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Type));
        TAdvMemo memo;
        TRecordingChecker checker;
        checker.SetAutoCorrectType(c.Type);
        memo.SetMemoChecker(&checker);
        EXPECT_EQ(checker.Memo(), &memo);
        TypeInto(memo, L"teh x\r");
        EXPECT_EQ(checker.Calls, c.Calls);
        EXPECT_EQ(memo.Lines()->Get(0), c.Line);
        memo.SetMemoChecker(nullptr);
    }
    // Either side may go first.
    auto* memo = new TAdvMemo;
    {
        TRecordingChecker checker;
        memo->SetMemoChecker(&checker);
    }
    EXPECT_EQ(memo->MemoChecker(), nullptr);
    TRecordingChecker checker;
    memo->SetMemoChecker(&checker);
    delete memo;
    EXPECT_EQ(checker.Memo(), nullptr);
}
