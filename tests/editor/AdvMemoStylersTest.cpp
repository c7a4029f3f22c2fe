#include "editor/AdvMemoStylers.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "classlib/Exceptions.h"
#include "classlib/Properties.h"

#include "editor/AdvmCSHS.h"
#include "support/PublishedDefaults.h"

using namespace AdvMemo;
using namespace ClassLib;
using AdvmCSHS::TAdvCSharpMemoStyler;

namespace {

std::vector<std::wstring> Words(const TElementStyle& item) {
    std::vector<std::wstring> words;
    for (int i = 0; i < item.KeyWords()->Count(); ++i) words.push_back(item.KeyWords()->Strings(i));
    return words;
}

}  // namespace

TEST(StylerQueries, CommentSearches) {
    TAdvCustomMemoStyler styler(nullptr);
    EXPECT_EQ(styler.FindCommentStart(L"int x;").Pos, 0);
    int length = 0;
    EXPECT_EQ(styler.FindLineComment(L"a // b", length), -1);
    EXPECT_FALSE(styler.HasMultiComment());

    styler.SetMultiCommentLeft(L"/*");
    styler.SetMultiCommentRight(L"*/");
    styler.SetLineComment(L"//");
    EXPECT_EQ(styler.FindLineComment(L"a // b", length), 3);
    EXPECT_TRUE(styler.HasMultiComment());
    const auto start = styler.FindCommentStart(L"ab /* c");
    EXPECT_EQ((std::tuple{start.Pos, start.Length, start.Kind, start.ColorIndex}), (std::tuple{4, 2, 255, -1}));

    // A comment group: its delimiter wins when it occurs earliest; its own colours give its index.
    TElementStyle& group = *styler.AllStyles()->Add();
    group.SetStyleType(stComment);
    group.SetCommentLeft(L"(*");
    group.SetCommentRight(L"*)");
    group.Font()->SetColor(clGreen);
    const auto groupHit = styler.FindCommentStart(L"(* a /* b");
    EXPECT_EQ((std::tuple{groupHit.Pos, groupHit.Kind, groupHit.ColorIndex}), (std::tuple{1, 0, 0}));
    const auto end = styler.FindCommentEnd(L"x *) y */");
    EXPECT_EQ((std::tuple{end.Pos, end.Kind}), (std::tuple{8, 255}));  // the multi-line pair is looked for first
    EXPECT_TRUE(styler.HasCommentStyles());
}

TEST(StylerItems, AssignAndNotifications) {
    TAdvCSharpMemoStyler source(nullptr);
    TAdvCustomMemoStyler copy(nullptr);
    copy.SetAllStyles(source.AllStyles());
    ASSERT_EQ(copy.AllStyles()->Count(), 6);
    EXPECT_EQ(copy.AllStyles()->Items(0)->KeyWords()->Count(), 82);
    EXPECT_EQ(copy.AllStyles()->Items(5)->GetDisplayName(), L"Symbols Delimiters");
    // Keyword lists are copied, not shared.
    copy.AllStyles()->Items(0)->KeyWords()->Clear();
    EXPECT_EQ(source.AllStyles()->Items(0)->KeyWords()->Count(), 82);

    TCharStyle style(clRed, clNone, TFontStyles{fsUnderline});
    copy.SetCharStyle(2, &style);
    EXPECT_EQ(copy.NumberStyle()->TextColor(), clRed);
    copy.NumberStyle()->Assign(copy.AllStyles());  // another kind of object: unchanged
    EXPECT_EQ(copy.NumberStyle()->TextColor(), clRed);

    EXPECT_FALSE(source.AllStyles()->Modified());
    source.AllStyles()->Delete(0);
    EXPECT_TRUE(source.AllStyles()->Modified());

    TRegionDefinition& region = *copy.RegionDefinitions()->Add();
    region.SetIdentifier(L"  namespace ");
    EXPECT_EQ(region.Identifier(), L"namespace");
    EXPECT_THROW(region.Assign(&style), EConvertError);
}

TEST(StylerItems, NewGroupsTakeTheEditorBackground) {
    class TMemoStub : public IStyledMemo {
    public:
        TColor StylerBackground() const override { return 0x123456; }
    } memo;
    TAdvCustomMemoStyler styler(nullptr);
    EXPECT_EQ(styler.AllStyles()->Add()->BGColor(), clWhite);
    styler.AllStyles()->SetMemo(&memo);
    EXPECT_EQ(styler.AllStyles()->Add()->BGColor(), TColor(0x123456));
    styler.AllStyles()->SetMemo(nullptr);
}

TEST(StylerItems, AttachingResortsOnlySortedLists) {
    TAdvCustomMemoStyler styler(nullptr);
    TElementStyle& sorted = *styler.AllStyles()->Add();
    sorted.KeyWords()->SetSorted(true);
    sorted.KeyWords()->Add(L"b");
    sorted.KeyWords()->Add(L"a");
    TElementStyle& unsorted = *styler.AllStyles()->Add();
    unsorted.KeyWords()->Add(L"b");
    unsorted.KeyWords()->Add(L"a");
    sorted.KeyWords()->SetCaseSensitive(true);  // the sort order may change with the compare
    styler.AllStyles()->ResortKeywordLists();
    EXPECT_EQ(Words(sorted), (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(Words(unsorted), (std::vector<std::wstring>{L"b", L"a"}));
    EXPECT_TRUE(sorted.KeyWords()->Sorted());
}

TEST(StylerItems, PublishedDefaultsMatchConstructors) {
    TAdvCSharpMemoStyler styler(nullptr);
    TCharStyle charStyle;
    THintParameter hint;
    TRegionDefinitions regions(nullptr);
    TElementStyles styles(nullptr);
    const TObject* objects[] = {&styler, &charStyle, &hint, regions.Add(), styles.Add()};
    int checked = 0;
    for (const TObject* object : objects) checked += TestSupport::ExpectPublishedDefaults(object);
    EXPECT_GT(checked, 30);
}

TEST(StylerList, FollowsTheStylersOfTheMemoOwner) {
    TComponent form(nullptr);
    new TAdvCSharpMemoStyler(&form);
    new TAdvCustomMemoStyler(&form);  // the base class itself is not listed
    new TComponent(&form);
    auto* memo = new TComponent(&form);
    auto* list = new TAdvStylerList(memo);
    list->Fill(&form);
    EXPECT_EQ(list->Count(), 1);
    list->Fill(&form);
    EXPECT_EQ(list->Count(), 1);  // each once

    auto* added = new TAdvCSharpMemoStyler(&form);
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(list->Stylers(1), added);
    delete added;
    EXPECT_EQ(list->Count(), 1);
}
