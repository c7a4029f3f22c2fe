#include "editor/AdvmCSHS.h"

#include <gtest/gtest.h>

#include <memory>

#include "classlib/WindowDescription.h"

using namespace AdvMemo;
using namespace ClassLib;
using AdvmCSHS::TAdvCSharpMemoStyler;

TEST(CSharpStyler, ConstructorDefaults) {
    TAdvCSharpMemoStyler styler(nullptr);
    EXPECT_EQ(styler.Version(), L"1.0");
    EXPECT_EQ(styler.Filter(), L"C# files|*.cs");
    EXPECT_EQ(styler.LineComment(), L"//");
    EXPECT_EQ(styler.Literal(), L"\\");
    EXPECT_EQ(styler.CommentStyle()->TextColor(), clNavy);
    EXPECT_TRUE(styler.CommentStyle()->Style().Contains(fsItalic));
    EXPECT_EQ(styler.NumberStyle()->TextColor(), clFuchsia);
    EXPECT_EQ(styler.HighlightStyle()->BkColor(), clRed);
    ASSERT_EQ(styler.AllStyles()->Count(), 6);
    EXPECT_EQ(styler.AllStyles()->Items(0)->KeyWords()->Count(), 82);
    EXPECT_EQ(styler.AllStyles()->Items(5)->Symbols().size(), 24u);
    EXPECT_EQ(styler.RegionDefinitions()->Count(), 4);
    // With the constructor's symbols the blank is a word boundary.
    EXPECT_TRUE(styler.AllStyles()->IsWordBoundary(L' '));
    EXPECT_TRUE(styler.AllStyles()->IsWordBoundary(L'"'));
    EXPECT_FALSE(styler.AllStyles()->IsWordBoundary(L'a'));
}

TEST(CSharpStyler, MainWindowSettings) {
    std::unique_ptr<TAdvCSharpMemoStyler> styler(AdvmCSHS::CreateCMemoStyler(nullptr));
    EXPECT_EQ(styler->Name(), L"CMemoStyler");
    EXPECT_EQ(styler->Filter(), L"C files|*.c");
    EXPECT_EQ(styler->Extensions(), L"c");
    EXPECT_EQ(styler->CommentStyle()->TextColor(), TColor(0x408000));
    EXPECT_EQ(styler->CommentStyle()->BkColor(), clNone);
    EXPECT_TRUE(styler->CommentStyle()->Style().Empty());
    EXPECT_EQ(styler->NumberStyle()->TextColor(), TColor(0xFF0080));
    EXPECT_TRUE(styler->NumberStyle()->Style().Contains(fsBold));
    EXPECT_EQ(styler->HintParameter()->BkColor(), clInfoBk);

    struct TGroup { const wchar_t* Info; TStyleType Type; TColor Color; bool Bold; int Words; };
    const TGroup groups[] = {
        {L"C# Standard Default", stKeyword, 0xA600A6, true, 91},
        {L"C# Regions", stKeyword, 0xA600A6, true, 10},
        {L"C# Conditional defines", stKeyword, clBlue, true, 8},
        {L"Simple Quote", stBracket, clBlue, false, 0},
        {L"Double Quote", stBracket, clBlue, false, 0},
        {L"Symbols Delimiters", stSymbol, 0xFF8000, false, 0},
        {L"AVR ", stKeyword, 0xFF8000, true, 24},
    };
    const TElementStyles& styles = *styler->AllStyles();
    ASSERT_EQ(styles.Count(), 7);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const TElementStyle& item = *styles.Items(i);
        EXPECT_EQ(item.Info(), groups[i].Info);
        EXPECT_EQ(item.StyleType(), groups[i].Type);
        EXPECT_EQ(item.Font()->Color(), groups[i].Color);
        EXPECT_EQ(item.Font()->Style().Contains(fsBold), groups[i].Bold);
        EXPECT_EQ(item.Font()->Height(), -11);
        EXPECT_EQ(item.BGColor(), clNone);
        EXPECT_EQ(item.KeyWords()->Count(), groups[i].Words);
    }
    EXPECT_EQ(styles.Items(0)->KeyWords()->Strings(0), L"_delay_ms");
    EXPECT_EQ(styles.Items(0)->KeyWords()->Strings(90), L"volatile");
    EXPECT_EQ(styles.Items(6)->KeyWords()->Strings(8), L"pina");
    EXPECT_EQ(styles.Items(3)->BracketStart(), L'\'');
    EXPECT_EQ(styles.Items(4)->BracketEnd(), L'"');
    EXPECT_EQ(styles.Items(5)->Symbols(), L",;:.()[]=-*/^%&^<>|!~\r\n");
    // Here the blank is no symbol.
    EXPECT_FALSE(styles.IsWordBoundary(L' '));
    EXPECT_TRUE(IsStylerWordDelimiter(L' ', styler.get(), true));   // the base set has it
    EXPECT_TRUE(IsStylerWordDelimiter(L'(', styler.get(), true));
    EXPECT_FALSE(IsStylerWordDelimiter(L'(', styler.get(), false));
    EXPECT_FALSE(IsStylerWordDelimiter(L'(', nullptr, true));
    EXPECT_EQ(styler->RegionDefinitions()->Count(), 4);
    EXPECT_EQ(styler->RegionDefinitions()->Items(1)->RegionEnd(), L"#endregion");
}

TEST(CSharpStyler, LoadingKeepsOnlyStoredStyles) {
    TAdvCSharpMemoStyler withoutList(nullptr);
    withoutList.BeginLoading();
    withoutList.Loaded();
    EXPECT_EQ(withoutList.AllStyles()->Count(), 0);

    TAdvCSharpMemoStyler withEmptyList(nullptr);
    withEmptyList.BeginLoading();
    withEmptyList.AllStyles()->Clear();  // what reading a stored list does first
    withEmptyList.Loaded();
    EXPECT_EQ(withEmptyList.AllStyles()->Count(), 0);

    // Made in code, never loaded: the constructor's groups stay.
    TAdvCSharpMemoStyler inCode(nullptr);
    EXPECT_EQ(inCode.AllStyles()->Count(), 6);
}

TEST(CSharpStyler, ReadFromAWindowDescription) {
    const wchar_t* const text = LR"(object Root: TComponent
  object CMemoStyler: TAdvCSharpMemoStyler
    Filter = "C files|*.c"
    Extensions = "c"
    CommentStyle.TextColor = 0x408000
    CommentStyle.BkColor = clNone
    CommentStyle.Style = []
    AllStyles = <
      item
        KeyWords = ["_delay_ms", "volatile"]
        Font.Color = 0xA600A6
        Font.Height = -11
        Font.Style = [fsBold]
        BGColor = clNone
        Info = "C# Standard Default"
      end
      item
        Font.Color = clBlue
        BGColor = clNone
        Info = "Double Quote"
        StyleType = stBracket
        BracketStart = "\""
        BracketEnd = "\""
      end
    >
  end
end
)";
    TComponent root(nullptr);
    ReadComponentFromText(&root, text);
    auto* styler = dynamic_cast<TAdvCSharpMemoStyler*>(root.FindComponent(L"CMemoStyler"));
    ASSERT_NE(styler, nullptr);
    EXPECT_EQ(styler->Filter(), L"C files|*.c");
    EXPECT_EQ(styler->LineComment(), L"//");  // unwritten: the constructor's value
    EXPECT_EQ(styler->CommentStyle()->TextColor(), TColor(0x408000));
    EXPECT_EQ(styler->CommentStyle()->BkColor(), clNone);
    EXPECT_TRUE(styler->CommentStyle()->Style().Empty());
    // The stored list replaced the constructor's six groups and survived Loaded.
    const TElementStyles& styles = *styler->AllStyles();
    ASSERT_EQ(styles.Count(), 2);
    EXPECT_EQ(styles.Items(0)->KeyWords()->Count(), 2);
    EXPECT_EQ(styles.Items(0)->Font()->Color(), TColor(0xA600A6));
    EXPECT_TRUE(styles.Items(0)->Font()->Style().Contains(fsBold));
    EXPECT_EQ(styles.Items(0)->BGColor(), clNone);
    EXPECT_EQ(styles.Items(1)->StyleType(), stBracket);
    EXPECT_EQ(styles.Items(1)->BracketStart(), L'"');
}

TEST(CSharpStyler, DescriptionWithoutStylesLeavesNone) {
    TComponent root(nullptr);
    ReadComponentFromText(&root, L"object Root: TComponent\n  object S: TAdvCSharpMemoStyler\n    Extensions = \"c\"\n  end\nend\n");
    auto* styler = dynamic_cast<TAdvCSharpMemoStyler*>(root.FindComponent(L"S"));
    ASSERT_NE(styler, nullptr);
    EXPECT_EQ(styler->AllStyles()->Count(), 0);
}
