#include "editor/AdvMemoRuns.h"

#include "editor/AdvMemo.h"
#include "editor/AdvmCSHS.h"
#include "support/PublishedDefaults.h"

#include <gtest/gtest.h>

#include <string>

using namespace AdvMemo;

TEST(MemoRuns, DefaultsAndAnEmptyStoreOnEveryMemo) {
    TAdvMemo memo(nullptr);
    ASSERT_NE(memo.MemoLines(), nullptr);
    EXPECT_EQ(memo.MemoLines()->Count(), 0);
    TMemoLineItem* line = memo.MemoLines()->Add();
    TestSupport::ExpectPublishedDefaults(line);
    TMemoPartItem* part = line->Parts()->Add();
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(part), 0);
    EXPECT_EQ(part->Color(), ClassLib::clBlack);
    EXPECT_EQ(part->BkgColor(), ClassLib::clNone);
    EXPECT_TRUE(part->Text().empty());
    EXPECT_FALSE(part->URL());
    EXPECT_EQ(part->FontStyle(), ClassLib::TFontStyles());

    // A copied line carries copies of its parts.
    part->SetText(L"x");
    part->SetFontStyle({ClassLib::fsItalic});
    TMemoLineItem* copy = memo.MemoLines()->Add();
    copy->Assign(line);
    ASSERT_EQ(copy->Parts()->Count(), 1);
    EXPECT_NE(copy->Parts()->Items(0), part);
    EXPECT_EQ(copy->Parts()->Items(0)->Text(), L"x");
    EXPECT_EQ(copy->Parts()->Items(0)->FontStyle(), ClassLib::TFontStyles{ClassLib::fsItalic});
}

// Each run becomes a part of the last line, in the exports' colours; with no line, nothing.
TEST(MemoRuns, TheWriterAppendsAPartPerRunToTheLastLine) {
    TAdvMemo memo(nullptr);
    memo.SetSyntaxStyles(AdvmCSHS::CreateCMemoStyler(&memo));
    memo.Lines()->SetText(L"int x; // see http://example.org");
    TMemoLines& lines = *memo.MemoLines();
    TMemoPartsWriter writer(memo, lines);
    TMemoTokenizer& tokenizer = memo.Tokenizer();
    tokenizer.Prepare();
    TStyle state = TMemoTokenizer::ClearedStyle();
    tokenizer.TokenizeLine(memo.Lines()->Get(0), state, writer);
    EXPECT_EQ(lines.Count(), 0);

    lines.Add();
    lines.Add();
    state = TMemoTokenizer::ClearedStyle();
    tokenizer.TokenizeLine(memo.Lines()->Get(0), state, writer);
    EXPECT_EQ(lines.Items(0)->Parts()->Count(), 0);
    const TMemoParts& parts = *lines.Items(1)->Parts();
    struct TExpected {
        const wchar_t* Text;
        ClassLib::TColor Color;
        bool Bold, URL;
    };
    const TExpected expected[] = {
        {L"int", ClassLib::TColor(0xA600A6), true, false},
        {L" x", ClassLib::clWindowText, false, false},  // the memo font's colour
        {L";", ClassLib::TColor(0xFF8000), false, false},
        {L" ", ClassLib::clWindowText, false, false},
        {L"// see ", ClassLib::TColor(0x408000), false, false},
        {L"http://example.org", memo.UrlStyle()->TextColor(), false, true},  // a link in the comment
    };
    ASSERT_EQ(parts.Count(), int(std::size(expected)));
    for (int i = 0; i < parts.Count(); ++i) {
        SCOPED_TRACE(i);
        const TMemoPartItem& part = *parts.Items(i);
        EXPECT_EQ(part.Text(), expected[i].Text);
        EXPECT_EQ(part.Color(), expected[i].Color);
        EXPECT_EQ(part.FontStyle().Contains(ClassLib::fsBold), expected[i].Bold);
        EXPECT_EQ(part.URL(), expected[i].URL);
        EXPECT_EQ(part.BkgColor(), ClassLib::clWhite);
    }
}
