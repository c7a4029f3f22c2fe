#include "editor/AdvMemoTokenizer.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "classlib/Colors.h"
#include "editor/AdvmCSHS.h"

using namespace AdvMemo;
using ClassLib::clGreen;

namespace {

// Names the colouring a run gets, in the order the run drawer decides it.
std::wstring KindOf(const TStyle& style) {
    if (style.isComment > 0) return L"comment";
    if (style.isURL) return L"url";
    if (style.isBracket) return L"string";
    if (style.isnumber) return L"number";
    if (style.isdelimiter) return L"symbol";
    if (style.iskeyWord) return L"keyword" + std::to_wstring(style.index);
    return L"plain";
}

class TRecordingSink : public ITokenSink {
public:
    void DrawRun(const String& text, const TStyle& style) override {
        Runs.push_back(text + L"|" + KindOf(style));
    }
    std::vector<std::wstring> Runs;
};

class TLines : public ILineSource {
public:
    int LineCount() const override { return int(Lines.size()); }
    String LineText(int index) const override { return Lines.at(size_t(index)); }
    std::vector<String> Lines;
};

class TokenizerTest : public testing::Test {
protected:
    TokenizerTest() : FStyler(AdvmCSHS::CreateCMemoStyler(nullptr)) {
        Tokenizer.SetStyler(FStyler.get());
        Tokenizer.SetLines(&Lines);
    }
    // The runs of each line, drawn one after another with one running state.
    std::vector<std::vector<std::wstring>> Draw(const std::vector<String>& lines) {
        Tokenizer.Prepare();
        std::vector<std::vector<std::wstring>> result;
        TStyle state = TMemoTokenizer::ClearedStyle();
        for (const String& line : lines) {
            TRecordingSink sink;
            Tokenizer.TokenizeLine(line, state, sink);
            result.push_back(sink.Runs);
        }
        return result;
    }
    std::unique_ptr<AdvmCSHS::TAdvCSharpMemoStyler> FStyler;
    TLines Lines;
    TMemoTokenizer Tokenizer;
};

struct TLineCase {
    const wchar_t* Line;
    std::vector<std::wstring> Runs;
};

}  // namespace

TEST_F(TokenizerTest, OneLineRunsWithTheMainWindowStyler) {
    // Group indexes: 0 keywords, 1 "#" words, 2 conditional defines, 3 and 4 strings,
    // 5 symbols, 6 port registers.
    const TLineCase cases[] = {
        {L"int x;", {L"int|keyword0", L" x|plain", L";|symbol"}},
        {L"#include <avr/io.h>", {L"#include|keyword1", L" |plain", L"<|symbol", L"avr|plain", L"/|symbol",
                                  L"io|plain", L".|symbol", L"h|plain", L">|symbol"}},
        {L"#if DEBUG", {L"#if|keyword2", L" DEBUG|plain"}},
        {L"PORTB = 0x1F;", {L"PORTB|keyword6", L" |plain", L"=|symbol", L" |plain", L"0x1F|number", L";|symbol"}},
        {L"x=0x1F;", {L"x|plain", L"=|symbol", L"0x1F|number", L";|symbol"}},
        {L"y = 0x1G;", {L"y |plain", L"=|symbol", L" 0x1G|plain", L";|symbol"}},
        {L"1.2.3", {L"1|number", L".|symbol", L"2.3|number"}},
        {L"a-1", {L"a|plain", L"-1|number"}},
        {L"intx int(", {L"intx |plain", L"int|keyword0", L"(|symbol"}},
        {L"uint8_t c = 'q';", {L"uint8_t|keyword0", L" c |plain", L"=|symbol", L" |plain", L"'q'|string",
                               L";|symbol"}},
        {L"printf(\"a, b\\n\");", {L"printf|plain", L"(|symbol", L"\"a, b\\n\"|string", L");|symbol"}},
        {L"s = \"a\\\"b\";", {L"s |plain", L"=|symbol", L" |plain", L"\"a\\\"b\"|string", L";|symbol"}},
        {L"x = 1; // done", {L"x |plain", L"=|symbol", L" |plain", L"1|number", L";|symbol", L" |plain",
                             L"// done|comment"}},
        {L"a /* b */ c", {L"a |plain", L"/* b */|comment", L" c|plain"}},
        {L"see http://example.com/a now", {L"see |plain", L"http://example.com/a|url", L" now|plain"}},
        {L"", {}},
    };
    for (const TLineCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Line)));
        EXPECT_EQ(Draw({c.Line})[0], c.Runs);
    }
}

TEST_F(TokenizerTest, StateCarriesCommentsAndStringsAcrossLines) {
    struct TCase {
        std::vector<String> Lines;
        std::vector<std::vector<std::wstring>> Runs;
    };
    const TCase cases[] = {
        {{L"a /* start", L"still", L"end */ b"},
         {{L"a |plain", L"/* start|comment"}, {L"still|comment"}, {L"end */|comment", L" b|plain"}}},
        {{L"x; // note", L"y;"},
         {{L"x|plain", L";|symbol", L" |plain", L"// note|comment"}, {L"y|plain", L";|symbol"}}},
        {{L"s = \"abc", L"def\";"},
         {{L"s |plain", L"=|symbol", L" |plain", L"\"abc|string"}, {L"def\"|string", L";|symbol"}}},
        // The drawing closes a comment at the first end even after a second start.
        {{L"/*x/*y*/", L"z"}, {{L"/*x/*y*/|comment"}, {L"z|plain"}}},
        // An empty line leaves the state as it was.
        {{L"/*", L"", L"*/"}, {{L"/*|comment"}, {}, {L"*/|comment"}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Lines));
        EXPECT_EQ(Draw(c.Lines), c.Runs);
    }
}

TEST_F(TokenizerTest, WithoutUrlSegmentsBlanksBelongToTheRuns) {
    Tokenizer.SetUrlAware(false);
    // A keyword after a blank takes the blank into its run; a number followed by a blank
    // is no number (the blank is not a symbol of this styler).
    EXPECT_EQ(Draw({L"a int b"})[0], (std::vector<std::wstring>{L"a|plain", L" int|keyword0", L" b|plain"}));
    EXPECT_EQ(Draw({L"x=12;"})[0], (std::vector<std::wstring>{L"x|plain", L"=|symbol", L"12|number", L";|symbol"}));
    EXPECT_EQ(Draw({L"see http://x.org"})[0], (std::vector<std::wstring>{L"see http|plain", L":|symbol",
                                                                           L"//x.org|comment"}));
}

TEST_F(TokenizerTest, UnstyledLinesAreOneRun) {
    Tokenizer.SetUseStyler(false);
    EXPECT_EQ(Draw({L"int x; /* y"}), (std::vector<std::vector<std::wstring>>{{L"int x; /* y|plain"}}));
    Tokenizer.SetUseStyler(true);
    Tokenizer.SetStyler(nullptr);
    EXPECT_EQ(Draw({L"int x; /* y"}), (std::vector<std::vector<std::wstring>>{{L"int x; /* y|plain"}}));
}

TEST_F(TokenizerTest, LineStateScanCountsNestedStartsAndCaches) {
    Lines.Lines = {L"/*x/*y*/", L"z", L"/* a /* b */", L"c"};
    // The scan nests where the drawing does not: line 1 starts inside a comment.
    EXPECT_EQ(Tokenizer.GetLineStyle(1).isComment, 1);
    // With blanks around the inner start it forms its own segment and neither counts it.
    Lines.Lines = {L"/* a /* b */", L"c"};
    Tokenizer.LinesChanged(0);
    EXPECT_EQ(Tokenizer.GetLineStyle(1).isComment, 0);
    EXPECT_TRUE(Tokenizer.HasCachedState(1));
}

TEST_F(TokenizerTest, ScannedStateMatchesDrawnStateForStrings) {
    Lines.Lines = {L"s = \"abc", L"t = \"http://x//y\";", L"u"};
    const TStyle line1 = Tokenizer.GetLineStyle(1);
    EXPECT_TRUE(line1.isBracket);
    EXPECT_EQ(line1.StartBracket, L'"');
    // Line 1 closes the string and then opens another; "//" inside a string is no comment.
    Tokenizer.LinesChanged(0);
    Lines.Lines = {L"t = \"a//b\";", L"u"};
    const TStyle line1b = Tokenizer.GetLineStyle(1);
    EXPECT_FALSE(line1b.isBracket);
    EXPECT_EQ(line1b.isComment, 0);
}

TEST_F(TokenizerTest, EditAboveACachedLineRecolours) {
    Lines.Lines.assign(60, L"int a;");
    // The first paint at line 45 caches the states of lines 0, 20, 40 and 45.
    EXPECT_EQ(Tokenizer.TopLineStyle(45).isComment, 0);
    EXPECT_TRUE(Tokenizer.HasCachedState(40));

    Lines.Lines[5] = L"/* opened";
    Tokenizer.LinesChanged(5);
    EXPECT_FALSE(Tokenizer.HasCachedState(40));
    EXPECT_TRUE(Tokenizer.HasCachedState(0));
    EXPECT_EQ(Tokenizer.TopLineStyle(45).isComment, 1);

    // Drawing from the top line on colours the text below the new start as comment.
    Tokenizer.Prepare();
    TStyle state = Tokenizer.TopLineStyle(45);
    TRecordingSink sink;
    Tokenizer.TokenizeLine(Lines.Lines[45], state, sink);
    EXPECT_EQ(sink.Runs, (std::vector<std::wstring>{L"int a;|comment"}));

    Lines.Lines[5] = L"int a;";
    Tokenizer.LinesChanged(5);
    EXPECT_EQ(Tokenizer.TopLineStyle(45).isComment, 0);
}

TEST_F(TokenizerTest, SegmentsKeepEscapedCharactersTogether) {
    EXPECT_EQ(Tokenizer.SplitUrlSegments(L"a b  'c'"),
              (std::vector<String>{L"a", L" ", L"b", L"  '", L"c", L"'"}));
    EXPECT_EQ(Tokenizer.SplitUrlSegments(L"x\\ y"), (std::vector<String>{L"x\\ y"}));
    EXPECT_TRUE(Tokenizer.SplitUrlSegments(L"").empty());
    Tokenizer.SetUrlAware(false);
    EXPECT_EQ(Tokenizer.SplitUrlSegments(L"a b"), (std::vector<String>{L"a b"}));
}

namespace {

class TKeywordSink : public TRecordingSink {
public:
    void DrawKeyword(const String& keyword, const TStyle& style) override {
        Runs.push_back(L"custom " + keyword + L"|" + KindOf(style));
    }
};

class THost : public ITokenizerHost {
public:
    bool IsWordDelimiter(wchar_t ch) override { return ch == L' ' || ch == L'.'; }
    bool WordIsURL(const String& text) override { return text == L"here"; }
};

}  // namespace

TEST(TokenizerStylerOptions, LessCommonStylerSettings) {
    TAdvCustomMemoStyler styler(nullptr);
    TElementStyle& words = *styler.AllStyles()->Add();
    words.KeyWords()->Add(L"Begin");
    TElementStyle& variable = *styler.AllStyles()->Add();  // "$name" runs to a word delimiter
    variable.SetStyleType(stBracket);
    variable.SetBracketStart(L'$');
    TElementStyle& braces = *styler.AllStyles()->Add();
    braces.SetStyleType(stComment);
    braces.SetCommentLeft(L"{");
    braces.SetCommentRight(L"}");
    braces.Font()->SetColor(clGreen);
    styler.SetBinIdentifier(L"0b");
    styler.SetKeywordStyle(ksListCase);

    TMemoTokenizer tokenizer;
    THost host;
    tokenizer.SetHost(&host);
    tokenizer.SetStyler(&styler);
    tokenizer.Prepare();
    auto draw = [&tokenizer](const String& line) {
        TKeywordSink sink;
        TStyle state = TMemoTokenizer::ClearedStyle();
        tokenizer.TokenizeLine(line, state, sink);
        return sink.Runs;
    };
    using TRuns = std::vector<std::wstring>;
    EXPECT_EQ(draw(L"BEGIN"), TRuns{L"Begin|keyword0"});  // spelled as in the list
    EXPECT_EQ(draw(L"$ab.c"), (TRuns{L"$ab|string", L".c|plain"}));
    EXPECT_EQ(draw(L"{x} y"), (TRuns{L"{x}|comment", L" y|plain"}));
    EXPECT_EQ(draw(L"0b101"), TRuns{L"0b101|number"});
    EXPECT_EQ(draw(L"go here"), (TRuns{L"go |plain", L"here|url"}));

    styler.SetCustomDraw(true);
    styler.SetKeywordPrefix(L"@");
    tokenizer.Prepare();
    EXPECT_EQ(draw(L"begin"), TRuns{L"begin|plain"});  // no prefix seen yet
    EXPECT_EQ(draw(L"@begin"), (TRuns{L"@|plain", L"custom begin|keyword0"}));
}

TEST_F(TokenizerTest, ScanSkipsLinkSegmentsAsTheDrawingDoes) {
    Lines.Lines = {L"see http://x/*y", L"z"};
    EXPECT_EQ(Tokenizer.GetLineStyle(1).isComment, 0);
    EXPECT_EQ(Draw({L"see http://x/*y", L"z"})[1], (std::vector<std::wstring>{L"z|plain"}));
}

TEST_F(TokenizerTest, ScannedStatesAgreeWithDrawnStatesOnRandomText) {
    // Comment delimiters stand alone: a start inside an open comment, in the segment that
    // closes it, nests in the scan only (by design). Everything else may be glued.
    const wchar_t* const alone[] = {L"/*", L"*/"};
    const wchar_t* const glued[] = {L"x", L";", L"0x1F", L"a.b", L"\"", L"'", L"\\\"", L"//c", L"\"s\"",
                                    L"int", L"(", L"http://h/x"};
    std::mt19937 random(20261210);
    for (int document = 0; document < 300; ++document) {
        Lines.Lines.clear();
        for (int line = 0; line < 25; ++line) {
            String text;
            const int tokens = int(random() % 7);
            for (int t = 0; t < tokens; ++t) {
                if (random() % 4 == 0) {
                    text += L" ";
                    text += alone[random() % 2];
                    text += L" ";
                    continue;
                }
                if (random() % 2) text += L" ";
                text += glued[random() % (sizeof(glued) / sizeof(glued[0]))];
            }
            Lines.Lines.push_back(text);
        }
        Tokenizer.LinesChanged(0);
        Tokenizer.Prepare();
        TStyle drawn = TMemoTokenizer::ClearedStyle();
        for (int row = 0; row < int(Lines.Lines.size()); ++row) {
            const TStyle scanned = Tokenizer.GetLineStyle(row);
            SCOPED_TRACE(testing::PrintToString(Lines.Lines) + " row " + std::to_string(row));
            ASSERT_EQ(scanned.isComment, drawn.isComment);
            ASSERT_EQ(scanned.isBracket, drawn.isBracket);
            if (drawn.isBracket) {
                ASSERT_EQ(scanned.StartBracket, drawn.StartBracket);
            }
            TRecordingSink sink;
            Tokenizer.TokenizeLine(Lines.Lines[size_t(row)], drawn, sink);
        }
    }
}
