#include "editor/AdvMemoExport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "classlib/Clipboard.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "editor/AdvMemo.h"
#include "editor/AdvmCSHS.h"
#include "editor/RTFEngine.h"
#include "graphics/AdvUtils.h"
#include "support/UnixShell.h"

using namespace AdvMemo;

namespace {

// A C memo without a window: export reads only lines, styler and colours.
class TExportMemo {
public:
    explicit TExportMemo(const std::wstring& text) : FMemo(nullptr) {
        FMemo.SetSyntaxStyles(AdvmCSHS::CreateCMemoStyler(&FMemo));
        FMemo.Lines()->SetText(text);
    }
    TAdvMemo& Memo() { return FMemo; }
private:
    TAdvMemo FMemo;
};

const std::wstring kText = L"<FONT style=\"background-color: #FFFFFF;color:#000000;\">";
const std::wstring kKeyword = L"<FONT style=\"background-color: #FFFFFF;color:#A600A6;font-style:bold;\">";
const std::wstring kSymbol = L"<FONT style=\"background-color: #FFFFFF;color:#0080FF;\">";
const std::wstring kComment = L"<FONT style=\"background-color: #FFFFFF;color:#008040;\">";

}  // namespace

TEST(MemoExport, HtmlEscapesAndColours) {
    EXPECT_EQ(HtmlEscape(L"a<b>&\"c\""), L"a&lt;b&gt;&amp;&quot;c&quot;");
    EXPECT_EQ(HtmlColor(ClassLib::RGBToColor(0x12, 0xAB, 0x0F)), L"#12AB0F");
    EXPECT_EQ(HtmlColor(ClassLib::clNone), L"#FFFFFF");   // the low bytes of the value
}

TEST(MemoExport, HtmlDocumentOfASnippet) {
    TExportMemo memo(L"int x<y;\r\n/* a & b\r\nc */ int");
    const std::vector<std::wstring> html = memo.Memo().BuildHTML(false, 0, -1, false);
    const std::vector<std::wstring> expected = {
        L"<HTML>",
        L"<BODY bgColor=#FFFFFF LINK=#0000FF VLINK=#0000FF ALINK=#0000FF>",
        L"<PRE>",
        L"<FONT style=\"font-family:COURIER NEW;\">",
        kKeyword + L"int" + L"</FONT>" + kText + L" x</FONT>" + kSymbol + L"&lt;</FONT>" + kText + L"y</FONT>" +
            kSymbol + L";",
        L"</FONT>" + kComment + L"/* a &amp; b",
        L"c */" + std::wstring(L"</FONT>") + kText + L" " + L"</FONT>" + kKeyword + L"int",
        L"</FONT>",
        L"</FONT>",
        L"</PRE>",
        L"</BODY>",
        L"</HTML>",
    };
    EXPECT_EQ(html, expected);
}

TEST(MemoExport, HtmlRanges) {
    TExportMemo memo(L"a\r\n/* b\r\nc\r\nd */\r\ne\r\nf");
    // Reversed bounds give the same lines; a range inside a comment starts as a comment.
    const std::vector<std::wstring> forward = memo.Memo().BuildHTML(false, 2, 5, true);
    EXPECT_EQ(memo.Memo().BuildHTML(false, 5, 2, true), forward);
    ASSERT_EQ(forward.size(), 2u + 4u + 3u);
    EXPECT_EQ(forward[0], L"<PRE>");
    EXPECT_EQ(forward[2], kComment + L"c");

    TExportMemo empty(L"");
    const std::vector<std::wstring> none = empty.Memo().BuildHTML(true, 0, -1, true);
    EXPECT_EQ(none, (std::vector<std::wstring>{L"<PRE>", L"<FONT style=\"font-family:COURIER NEW; font-size:10pt\">",
                                               L"", L"</FONT>", L"</PRE>"}));
}

TEST(MemoExport, ClipboardHtmlOffsetsCountUtf8Bytes) {
    const std::wstring fragment = L"<b>\u00E9\u20AC</b>";
    const std::string block = ClipboardHtml(fragment);
    const std::string utf8 = "<b>\xC3\xA9\xE2\x82\xAC</b>";   // 12 bytes for 9 characters
    auto number = [&](const char* label) {
        const size_t at = block.find(label);
        EXPECT_NE(at, std::string::npos) << label;
        const std::string digits = block.substr(at + std::strlen(label), 8);
        EXPECT_EQ(block.substr(at + std::strlen(label) + 8, 2), "\r\n") << label;
        return std::stoi(digits);
    };
    const int startHtml = number("StartHTML:");
    const int endHtml = number("EndHTML:");
    const int startFragment = number("StartFragment:");
    const int endFragment = number("EndFragment:");
    EXPECT_EQ(startHtml, 97);
    EXPECT_EQ(block.compare(size_t(startHtml), 9, "<!DOCTYPE"), 0);
    EXPECT_EQ(startFragment, 269);
    EXPECT_EQ(block.substr(size_t(startFragment), size_t(endFragment - startFragment)), utf8);
    EXPECT_EQ(endHtml, int(block.size()));
    EXPECT_EQ(block.substr(block.size() - 32), "<!--EndFragment--></body></html>");
    EXPECT_EQ(block.find("<!--StartFragment-->"), size_t(startFragment - 20));
}

TEST(MemoExport, CopyHtmlToClipboardLeavesTheMemoAlone) {
    TExportMemo memo(L"int caf\u00E9;");
    int changes = 0;
    memo.Memo().OnChange = [&](ClassLib::TObject*) { ++changes; };
    memo.Memo().CopyHTMLToClipboard();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(memo.Memo().Lines()->Strings(0), L"int caf\u00E9;");

    ClassLib::TClipboard* clipboard = ClassLib::Clipboard();
    const UINT format = AdvUtils::AdvClipboardFormat(AdvUtils::TAdvClipboardFormat::HTMLFormat);
    std::vector<std::uint8_t> block = clipboard->GetBuffer(format);
    ASSERT_FALSE(block.empty());
    const std::string text(reinterpret_cast<const char*>(block.data()), strnlen(reinterpret_cast<const char*>(block.data()), block.size()));
    const std::wstring document = clipboard->AsText();
    EXPECT_EQ(text, ClipboardHtml(document));
    EXPECT_NE(text.find("caf\xC3\xA9</FONT>"), std::string::npos);
}

TEST(MemoExport, RtfRunsAndFiles) {
    TExportMemo memo(L"int x; // c{}");
    RTFEngine::TRTFEngine engine;
    memo.Memo().BuildRTF(engine, false, 0, -1);
    std::wstring body, fonts, colors;
    engine.GetBuffer(body, fonts, colors);
    EXPECT_EQ(fonts, L"{\\fonttbl{\\f0\\fnil COURIER NEW;}}");
    // Window text, white, keyword, comment.
    EXPECT_EQ(colors, L"{\\colortbl \\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red166\\green0\\blue166;"
                      L"\\red0\\green128\\blue255;\\red0\\green128\\blue64;}");
    EXPECT_EQ(body, L"\\f0\\fs20\\cf0\\highlight1\\cf2\\b int\\highlight1\\cf0\\b0  x\\highlight1\\cf3 ;"
                    L"\\highlight1\\cf0  \\highlight1\\cf4 // c\\{\\}\\par");

    ClassLib::TMemoryStream stream;
    ASSERT_TRUE(memo.Memo().SaveToRTFStream(&stream, true));
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size())),
              ClassLib::UTF8Encode(engine.GetText()));

    EXPECT_FALSE(memo.Memo().SaveToRTF(L"Z:\\no\\such\\dir\\x.rtf", false));
    EXPECT_FALSE(memo.Memo().SaveToHTML(L"Z:\\no\\such\\dir\\x.htm", false));
    ClassLib::TMemoryStream html;
    ASSERT_TRUE(memo.Memo().SaveToHTMLStream(&html, false));
    EXPECT_GT(html.Size(), 0);
}

namespace {

// A zero-terminated block of the clipboard as bytes, read within its size.
std::string ClipboardBlock(UINT format) {
    const std::vector<std::uint8_t> block = ClassLib::Clipboard()->GetBuffer(format);
    const char* bytes = reinterpret_cast<const char*>(block.data());
    return std::string(bytes, strnlen(bytes, block.size()));
}

std::string HtmlFragment(const std::string& block) {
    auto number = [&](const char* label) {
        return std::stoi(block.substr(block.find(label) + std::strlen(label), 8));
    };
    const int start = number("StartFragment:"), end = number("EndFragment:");
    return block.substr(size_t(start), size_t(end - start));
}

std::string RtfOf(TAdvMemo& memo) {
    ClassLib::TMemoryStream stream;
    EXPECT_TRUE(memo.SaveToRTFStream(&stream, false));
    return std::string(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size()));
}

std::string HtmlOf(TAdvMemo& memo) {
    std::wstring text;
    for (const std::wstring& line : memo.BuildHTML(false, 0, -1, true)) text += line + L"\r\n";
    return ClassLib::UTF8Encode(text);
}

const UINT kRtfFormat = AdvUtils::AdvClipboardFormat(AdvUtils::TAdvClipboardFormat::RichTextFormat);
const UINT kHtmlFormat = AdvUtils::AdvClipboardFormat(AdvUtils::TAdvClipboardFormat::HTMLFormat);

}  // namespace

TEST(MemoExport, CopyPutsTheSelectionAsTextRtfAndHtml) {
    // Selections that cut no token render like a memo holding only the selected text.
    struct Case { int sx, sy, ex, ey; std::wstring selected; };
    const std::wstring source = L"int a; // caf\u00E9\r\n  x < y;\r\nint b;";
    const Case cases[] = {
        {4, 0, 3, 2, L"a; // caf\u00E9\r\n  x < y;\r\nint"},
        {3, 2, 4, 0, L"a; // caf\u00E9\r\n  x < y;\r\nint"},   // dragged upwards
        {2, 1, 7, 1, L"x < y"},                                // one line gets RTF too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sx << "," << c.sy << " .. " << c.ex << "," << c.ey);
        TExportMemo memo(source);
        memo.Memo().SetClipboardFormats(cfText | cfRTF | cfHTML);
        memo.Memo().SetSelStartX(c.sx);
        memo.Memo().SetSelStartY(c.sy);
        memo.Memo().SetSelEndX(c.ex);
        memo.Memo().SetSelEndY(c.ey);
        int changes = 0;
        memo.Memo().OnChange = [&](ClassLib::TObject*) { ++changes; };
        memo.Memo().CopyToClipBoard();
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(memo.Memo().Lines()->Text(), source);

        TExportMemo alone(c.selected);
        EXPECT_EQ(ClassLib::Clipboard()->AsText(), c.selected);
        EXPECT_EQ(ClipboardBlock(kRtfFormat), RtfOf(alone.Memo()));
        const std::string html = ClipboardBlock(kHtmlFormat);
        EXPECT_EQ(html, ClipboardHtml(ClassLib::UTF8Decode(HtmlOf(alone.Memo()))));
        EXPECT_EQ(HtmlFragment(html), HtmlOf(alone.Memo()));
    }
}

// A NUL in the text was written raw into both blocks, which the clipboard hands out as
// zero-ended text: readers stopped at it, short of the offsets the HTML header gave.
TEST(MemoExport, ANulInTheTextKeepsBothClipboardBlocksWhole) {
    TExportMemo memo(std::wstring(L"int a\0b;\r\nint c;", 16));
    memo.Memo().SetClipboardFormats(cfText | cfRTF | cfHTML);
    memo.Memo().SelectAll();
    memo.Memo().CopyToClipBoard();
    for (const UINT format : {kRtfFormat, kHtmlFormat}) {
        SCOPED_TRACE(format == kRtfFormat ? "RTF" : "HTML");
        const std::vector<std::uint8_t> block = ClassLib::Clipboard()->GetBuffer(format);
        ASSERT_FALSE(block.empty());
        EXPECT_EQ(ClipboardBlock(format).size(), block.size() - 1) << "a zero before the block's end";
    }
    const std::string html = ClipboardBlock(kHtmlFormat);
    EXPECT_EQ(std::stoi(html.substr(html.find("EndHTML:") + 8, 8)), int(html.size()));
    EXPECT_NE(HtmlFragment(html).find(" ab</FONT>"), std::string::npos) << html;
    EXPECT_NE(ClipboardBlock(kRtfFormat).find(" a\\'00b\\highlight1"), std::string::npos) << ClipboardBlock(kRtfFormat);
}

// A file opened from disk says which encoding it is in, so "é" reads as "é".
TEST(MemoExport, HtmlFilesDeclareTheirCharset) {
    TExportMemo memo(L"// caf\u00E9");
    ClassLib::TMemoryStream stream;
    ASSERT_TRUE(memo.Memo().SaveToHTMLStream(&stream, false));
    const std::string html(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size()));
    EXPECT_EQ(html.substr(0, 8), "<HTML>\r\n");
    EXPECT_EQ(html.substr(8, html.find("\r\n", 8) - 8),
              "<HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></HEAD>");
    EXPECT_NE(html.find("caf\xC3\xA9"), std::string::npos);
}

TEST(MemoExport, CopyKeepsColoursOfACutTokenAndOnlyTheAskedFormats) {
    TExportMemo memo(L"/* one\r\ntwo */ int");
    memo.Memo().SetClipboardFormats(cfText | cfHTML);
    memo.Memo().SetSelStartX(3);   // "one" inside the comment, and "in" of the keyword
    memo.Memo().SetSelEndX(9);
    memo.Memo().SetSelEndY(1);
    memo.Memo().CopyToClipBoard();
    EXPECT_FALSE(ClassLib::Clipboard()->HasFormat(kRtfFormat));
    const std::string fragment = HtmlFragment(ClipboardBlock(kHtmlFormat));
    EXPECT_NE(fragment.find(ClassLib::UTF8Encode(kComment + L"one\r\ntwo */")), std::string::npos) << fragment;
    EXPECT_NE(fragment.find(ClassLib::UTF8Encode(kKeyword + L"in\r\n")), std::string::npos) << fragment;

    memo.Memo().SetClipboardFormats(cfText);
    memo.Memo().CopyToClipBoard();
    EXPECT_EQ(ClassLib::Clipboard()->AsText(), L"one\r\ntwo */ in");
    EXPECT_FALSE(ClassLib::Clipboard()->HasFormat(kRtfFormat));
    EXPECT_FALSE(ClassLib::Clipboard()->HasFormat(kHtmlFormat));
}

// ---------------------------------------------------------------- a real RTF reader

namespace {

// Runs unrtf on an RTF file and gives its HTML; `error` says what went wrong instead.
std::string UnrtfHtml(const std::wstring& rtfFile, std::string& error) {
    const std::string in = TestSupport::UnixPath(rtfFile);
    if (in.empty()) {
        error = "no Unix path for the RTF file";
        return {};
    }
    const std::string out = in + ".html";
    const std::string status = TestSupport::RunShell("unrtf --html '" + in + "' > '" + out + "'", in + ".status");
    if (status != "0\n") error = "unrtf ended with " + status;
    std::string html = TestSupport::ReadUnixFile(out);
    ::DeleteFileA(("Z:" + out).c_str());
    ::DeleteFileA(("Z:" + in + ".status").c_str());
    return html;
}

// The text a reader sees in unrtf's HTML: tags dropped, a line per <br>, the entities it writes
// as UTF-8, runs of blanks as one (unrtf's HTML keeps one of them anyway), lines trimmed.
std::vector<std::string> HtmlTextLines(const std::string& html) {
    const size_t body = html.find("<body>");
    std::string text;
    for (size_t i = body == std::string::npos ? 0 : body; i < html.size(); ++i) {
        if (html[i] == '\n') continue;
        if (html[i] != '<') {
            text += html[i];
            continue;
        }
        const size_t end = html.find('>', i);
        if (end == std::string::npos) break;
        if (html.compare(i, 3, "<br") == 0 || html.compare(i, 4, "</tr") == 0 || html.compare(i, 4, "<td>") == 0)
            text += '\n';
        i = end;
    }
    const std::pair<const char*, const char*> entities[] = {
        {"&eacute;", "\xC3\xA9"}, {"&euro;", "\xE2\x82\xAC"}, {"&bull;", "*"}, {"&nbsp;", " "},
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"},
    };
    for (const auto& [entity, utf8] : entities)
        for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
            text.replace(at, std::strlen(entity), utf8);
    std::vector<std::string> lines;
    std::string line;
    auto flush = [&] {
        while (!line.empty() && line.back() == ' ') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        line.clear();
    };
    for (const char c : text) {
        if (c == '\n') flush();
        else if (c != ' ' || (!line.empty() && line.back() != ' ')) line += c;
    }
    flush();
    return lines;
}

std::wstring TempName(const wchar_t* name) {
    wchar_t dir[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

}  // namespace

// The exported C snippet read back by unrtf: every line's text, keywords bold in their colour,
// the comment in its colour, and Latin-1 and Unicode characters as they were.
TEST(MemoExportUnrtf, ACSnippetReadsBackWithItsColours) {
    TExportMemo memo(L"/* note: \u00E9\u20AC: x */\r\nint main(void) {\r\n    return 0; // done\r\n}");
    const std::wstring file = TempName(L"atgen-unrtf-memo.rtf");
    ASSERT_TRUE(memo.Memo().SaveToRTF(file, false));
    std::string error;
    const std::string html = UnrtfHtml(file, error);
    ASSERT_EQ(error, "");
    const std::vector<std::string> expected = {"/* note: \xC3\xA9\xE2\x82\xAC: x */", "int main(void) {",
                                               "return 0; // done", "}"};
    EXPECT_EQ(HtmlTextLines(html), expected) << html;
    for (const char* keyword : {"int", "void", "return"})
        EXPECT_NE(html.find(std::string("<font color=\"#a600a6\"><b>") + keyword + "</b>"), std::string::npos) << keyword;
    EXPECT_NE(html.find("<font color=\"#008040\">/* note: &eacute;&euro;: x */"), std::string::npos) << html;
    EXPECT_NE(html.find("<font color=\"#008040\">// done"), std::string::npos) << html;
    ::DeleteFileW(file.c_str());
}

// The engine's other pieces read back: a table, a bullet list, a link whose text and address
// hold RTF's special characters, and text right after a Unicode character.
// unrtf read a raw NUL as the end of the line and lost what followed it.
TEST(MemoExportUnrtf, TextAfterANulReadsBack) {
    TExportMemo memo(std::wstring(L"int a\0b;\r\nint c;", 16));
    const std::wstring file = TempName(L"atgen-unrtf-nul.rtf");
    ASSERT_TRUE(memo.Memo().SaveToRTF(file, false));
    std::string error;
    const std::string html = UnrtfHtml(file, error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(HtmlTextLines(html), (std::vector<std::string>{"int ab;", "int c;"})) << html;
    ::DeleteFileW(file.c_str());
}

TEST(MemoExportUnrtf, TableListAndLinkReadBack) {
    RTFEngine::TRTFEngine engine;
    engine.AddText(L"Prices in \u00E9\u20AC: see below");
    engine.AddNewLine();
    engine.StartTable(0, true);
    engine.AddColumn(2000);
    engine.AddColumn(2000);
    engine.StartRow();
    engine.AddText(L"cell one");
    engine.NextCell();
    engine.AddText(L"cell two");
    engine.NextCell();
    engine.EndRow();
    engine.EndTable();
    engine.StartBullet(L"Symbol", 7);
    engine.AddText(L"first item");
    engine.AddNewLine();
    engine.AddText(L"second item");
    engine.EndBullet();
    ClassLib::TFont font;
    font.SetName(L"Arial");
    font.SetSize(10);
    font.SetColor(ClassLib::clBlue);
    engine.AddHyperLink(L"http://example.com/a{b}\\c", L"see {}\\ here", font);
    engine.AddNewLine();
    const std::wstring file = TempName(L"atgen-unrtf-engine.rtf");
    engine.SaveToFile(file);
    std::string error;
    const std::string html = UnrtfHtml(file, error);
    ASSERT_EQ(error, "");
    const std::vector<std::string> expected = {"Prices in \xC3\xA9\xE2\x82\xAC: see below", "cell one", "cell two",
                                               "* first item", "* second item", "see {}\\ here"};
    EXPECT_EQ(HtmlTextLines(html), expected) << html;
    EXPECT_NE(html.find("<table"), std::string::npos) << html;
    EXPECT_NE(html.find("<td> cell one</td>"), std::string::npos) << html;
    EXPECT_NE(html.find("<u><font color=\"#0000ff\">see {}\\ here</font></u>"), std::string::npos) << html;
    ::DeleteFileW(file.c_str());
}
