#include "editor/AdvMemo.h"

#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/Control.h"
#include "classlib/Pictures.h"
#include "editor/AdvmCSHS.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>

using namespace AdvMemo;

namespace {

// Every cell 8 x 16 pixels.
class TGridMeasure : public ITextMeasure {
public:
    void SetFont(const std::wstring&, int, bool) override {}
    int TextWidth(const std::wstring& text) override { return 8 * static_cast<int>(text.size()); }
    int TextHeight(const std::wstring&) override { return 15; }
};

class MemoHints : public testing::Test {
protected:
    void SetUp() override {
        memo.SetTextMeasure(&measure);
        memo.SetBounds(0, 0, 400, 200);
        memo.SetSyntaxStyles(AdvmCSHS::CreateCMemoStyler(&memo));
        memo.Lines()->SetText(L"int count = max(a, b);\n/* open\n  still */ int c;\nx = 1; // note\n");
        memo.SetHint(L"memo");
        memo.OnHintForWord = [this](ClassLib::TObject*, int x, int y, const std::wstring& value, std::wstring& hint, bool& show) {
            asked += L"word " + value + L"@" + std::to_wstring(x) + L"," + std::to_wstring(y) + L";";
            show = value != L"max";
            hint = L"W:" + hint;
        };
        memo.OnHintForToken = [this](ClassLib::TObject*, int, int, const std::wstring& value, std::wstring& hint, bool&) {
            asked += L"token " + value + L";";
            hint = L"T:" + hint;
        };
        memo.OnHintForGutter = [this](ClassLib::TObject*, int line, std::wstring& hint, bool& show) {
            asked += L"gutter " + std::to_wstring(line) + L";";
            show = line != 3;
            hint += L" line " + std::to_wstring(line);
        };
    }
    // The left edge of a text cell (the right half counts as the next column), or a point in the gutter on that line's row.
    ClassLib::TPoint Cell(int column, int line) const {
        return {memo.TextArea().Left + column * 8 + 1, memo.TextArea().Top + line * 16 + 8};
    }
    ClassLib::TPoint Gutter(int line) const { return {5, memo.TextArea().Top + line * 16 + 8}; }
    bool Ask(ClassLib::TPoint at, std::wstring& hint) {
        ClassLib::THintInfo info;
        info.HintControl = &memo;
        info.CursorPos = at;
        info.HintStr = memo.Hint();
        const bool shown = memo.Perform(ClassLib::CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
        hint = info.HintStr;
        return shown;
    }
    TGridMeasure measure;
    TAdvMemo memo{nullptr};
    std::wstring asked;
};

}  // namespace

TEST_F(MemoHints, WordTokenCommentAndGutter) {
    struct TCase {
        const char* Name;
        bool InGutter;
        int Column, Line;
        bool Shown;
        std::wstring Hint, Asked;
    };
    const TCase cases[] = {
        {"a word", false, 5, 0, true, L"W:count", L"word count@5,0;"},
        // The word handler declines: the token handler gets its turn and keeps the hint.
        {"a declined word", false, 12, 0, true, L"T:max", L"word max@12,0;token max;"},
        {"inside an open block comment", false, 3, 1, true, L"memo", L""},
        {"after a line comment", false, 11, 3, true, L"memo", L""},
        {"before a line comment", false, 0, 3, true, L"W:x", L"word x@0,3;"},
        {"the gutter", true, 0, 2, true, L"memo line 2", L"gutter 2;"},
        {"the gutter, declined", true, 0, 3, false, L"memo line 3", L"gutter 3;"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        asked.clear();
        std::wstring hint;
        EXPECT_EQ(Ask(c.InGutter ? Gutter(c.Line) : Cell(c.Column, c.Line), hint), c.Shown);
        EXPECT_EQ(hint, c.Hint);
        EXPECT_EQ(asked, c.Asked);
    }
}

TEST_F(MemoHints, AThrowingHandlerCancelsTheHintAndNothingEscapes) {
    memo.OnHintForWord = [](ClassLib::TObject*, int, int, const std::wstring&, std::wstring&, bool&) {
        throw std::runtime_error("handler failed");
    };
    std::wstring hint;
    EXPECT_FALSE(Ask(Cell(5, 0), hint));
}

TEST_F(MemoHints, WithoutHandlersTheControlsHintStands) {
    memo.OnHintForWord = nullptr;
    memo.OnHintForToken = nullptr;
    memo.OnHintForGutter = nullptr;
    std::wstring hint;
    EXPECT_TRUE(Ask(Cell(5, 0), hint));
    EXPECT_EQ(hint, L"memo");
    EXPECT_TRUE(Ask(Gutter(1), hint));
    EXPECT_EQ(hint, L"memo");
}

TEST(CompletionPictures, EveryCategoryPictureIsLinkedWithALimeBackground) {
    for (const wchar_t* name : {L"OVT_VAR", L"OVT_PROP", L"OVT_EVENT", L"OVT_PROC", L"OVT_METHOD"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        ClassLib::TBitmap picture;
        ASSERT_NO_THROW(picture.LoadFromResourceName(::GetModuleHandleW(nullptr), name));
        ASSERT_EQ(picture.Width(), 16);
        ASSERT_EQ(picture.Height(), 16);
        // The list draws lime as transparent: the corners must be lime, the middle must not.
        EXPECT_EQ(::GetPixel(picture.Canvas()->Handle(), 0, 15), RGB(0, 255, 0));
        EXPECT_NE(::GetPixel(picture.Canvas()->Handle(), 7, 8), RGB(0, 255, 0));
    }
}
