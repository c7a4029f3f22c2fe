#include "editor/RTFEngine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/GdiObjects.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"

using namespace RTFEngine;
using namespace ClassLib;

namespace {

const std::wstring kEmptyDocument = L"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\\viewkind4\\uc1\\par}";

std::wstring Body(const TRTFEngine& engine) {
    std::wstring body, fonts, colors;
    engine.GetBuffer(body, fonts, colors);
    return body;
}

std::wstring BodyOf(const std::function<void(TRTFEngine&)>& build) {
    TRTFEngine engine;
    build(engine);
    return Body(engine);
}

}  // namespace

TEST(RTFEngine, NewEngineWritesAnEmptyDocument) {
    TRTFEngine engine;
    EXPECT_EQ(engine.GetText(), kEmptyDocument);
    EXPECT_EQ(engine.FonSize(), 12);
    EXPECT_EQ(engine.HighLightColor(), clNone);
}

TEST(RTFEngine, BodyPieces) {
    struct TCase { const char* Name; std::function<void(TRTFEngine&)> Build; std::wstring Body; };
    const TCase cases[] = {
        {"bold then braces", [](TRTFEngine& e) { e.AddBold(true); e.AddText(L"a{b}"); }, L"\\b a\\{b\\}"},
        {"backslash", [](TRTFEngine& e) { e.AddText(L"a\\b"); }, L" a\\\\b"},
        {"euro", [](TRTFEngine& e) { e.AddText(L"\u20AC"); }, L" \\u8364\\'47"},
        {"latin-1 as hex", [](TRTFEngine& e) { e.AddText(L"\u00E9"); }, L" \\'e9"},
        {"C1 control as unicode", [](TRTFEngine& e) { e.AddText(L"\u0085"); }, L" \\u133\\'47"},
        {"high code unit negative", [](TRTFEngine& e) { e.AddText(L"\uFF21"); }, L" \\u-223\\'47"},
        {"CR and LF", [](TRTFEngine& e) { e.AddText(L"a\r\nb"); }, L" a\\par b"},
        {"NUL and other controls as hex", [](TRTFEngine& e) { e.AddText(std::wstring(L"a\0b\x1F\tc\x7F", 7)); },
         L" a\\'00b\\'1f\tc\\'7f"},
        {"centre after creation", [](TRTFEngine& e) { e.AddHAlignment(2); }, L"\\pard\\qc"},
        {"alignment mid-line", [](TRTFEngine& e) { e.AddText(L"x"); e.AddHAlignment(1); }, L" x\\qr"},
        {"alignment after new line", [](TRTFEngine& e) { e.AddText(L"x"); e.AddNewLine(); e.AddHAlignment(0); },
         L" x\\par\\pard\\ql"},
        {"unknown alignment", [](TRTFEngine& e) { e.AddHAlignment(7); }, L""},
        {"text after text", [](TRTFEngine& e) { e.AddText(L"a"); e.AddText(L"b"); }, L" ab"},
        {"attributes off", [](TRTFEngine& e) { e.AddItalic(false); e.AddUnderLine(false); e.AddStrikeOut(false); },
         L"\\i0\\ulnone\\strike0"},
        {"size and paragraph", [](TRTFEngine& e) { e.AddFontSize(20); e.AddParagraph(360, 99); }, L"\\fs20\\li360"},
        {"highlight none", [](TRTFEngine& e) { e.AddHighLightColor(clNone); }, L"\\highlight0"},
        {"scripts", [](TRTFEngine& e) { e.AddSuperScript(); e.AddSubScript(); e.AddNormalScript(); },
         L"\\super\\up4\\sub\\dn4\\up0\\nosupersub"},
        {"tab and page", [](TRTFEngine& e) { e.AddTab(); e.AddPageBreak(); }, L"\\tab\\par\\page "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(BodyOf(c.Build), c.Body);
    }
}

TEST(RTFEngine, ColourAndFontTablesHoldEachEntryOnce) {
    TRTFEngine engine;
    engine.AddForeColor(clRed);
    engine.AddForeColor(clRed);
    engine.AddHighLightColor(RGBToColor(0, 128, 0));
    engine.AddFontName(L"Courier New");
    engine.AddFontName(L"courier new");   // ASCII case does not make a second font
    engine.AddFontName(L"Arial");
    EXPECT_EQ(Body(engine), L"\\cf0\\cf0\\highlight1\\f0\\f0\\f1");
    EXPECT_EQ(engine.GetText(),
              L"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil Courier New;}{\\f1\\fnil Arial;}}"
              L"{\\colortbl \\red255\\green0\\blue0;\\red0\\green128\\blue0;}\\viewkind4\\uc1"
              L"\\cf0\\cf0\\highlight1\\f0\\f0\\f1\\par}");
}

TEST(RTFEngine, SystemColoursAreResolvedToTheirValue) {
    TColorTable table;
    const int window = table.AddColor(clWindow);
    EXPECT_EQ(table.AddColor(ColorToRGB(clWindow)), window);
    EXPECT_EQ(table.Color(window), ColorToRGB(clWindow));
}

TEST(RTFEngine, TableRowsFillMissingCellsAndColourTheirCells) {
    TRTFEngine engine;
    engine.StartTable(raLeft, false);
    engine.AddColumn(1000);
    engine.AddColumn(1000);
    engine.AddColumn(500);
    engine.StartRow();
    engine.AddText(L"a");
    engine.NextCell();
    engine.AddCellColor(clRed);
    engine.AddText(L"b");
    engine.NextCell();
    engine.EndRow();
    engine.EndTable();
    EXPECT_EQ(Body(engine),
              L"\\trowd\\trgaph108\\trleft-108\\trql\\cellx1000\\cellx2000\\cellx2500\\pard\\intbl  a\\cell  b\\cell "
              L" \\cell\\pard \\intbl {\\rtlch \\af0 \\ltrch \\trowd \\ltrrow \\ts15\\trgaph108\\trleft-108\\trql"
              L" \\cellx1000\\clcfpat0\\clshdng10000\\clcfpatraw0\\clshdngraw10000  \\cellx2000 \\cellx2500\\row }"
              L"\\pard\\par");
}

TEST(RTFEngine, BorderedTableRepeatsTheBorderGroupPerColumn) {
    const std::wstring b = L"\\clbrdrl\\brdrw10\\brdrs\\brdrcf0\\clbrdrt\\brdrw10\\brdrs\\brdrcf0"
                           L"\\clbrdrr\\brdrw10\\brdrs\\brdrcf0\\clbrdrb\\brdrw10\\brdrs\\brdrcf0";
    TRTFEngine engine;
    engine.StartTable(raCenter, true);
    engine.AddColumn(700);
    engine.StartRow();
    engine.NextCell();
    engine.EndRow();
    EXPECT_EQ(Body(engine), L"\\trowd\\trgaph108\\trleft-108\\trqc" + b + L" \\cellx700\\pard\\intbl \\cell "
                            L"\\pard \\intbl {\\rtlch \\af0 \\ltrch \\trowd \\ltrrow \\ts15\\trgaph108\\trleft-108\\trqc" +
                            b + L" \\cellx700" + b + L"\\row }");
}

TEST(RTFEngine, BulletListsTurnNewLinesIntoItems) {
    TRTFEngine engine;
    engine.StartBullet(L"Symbol", 7);
    engine.AddText(L"one");
    engine.AddNewLine();
    engine.AddText(L"two");
    engine.EndBullet();
    EXPECT_EQ(Body(engine), L"\\pard{\\pntext\\f0\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf0\\pnindent0{\\pntxtb\\'B7}}"
                            L"\\ltrpar\\fi-720\\li720 one\\par {\\pntext\\f0\\'B7\\tab}two\\par\\pard\\ltrpar");
}

TEST(RTFEngine, HyperLinkEscapesTextAndQuotesInTheAddress) {
    TFont font;
    font.SetName(L"Arial");
    font.SetSize(10);
    font.SetColor(clBlue);
    TRTFEngine engine;
    engine.AddHyperLink(L"http://x/?a=\"{b}\"", L"see {}\\", font);
    EXPECT_EQ(Body(engine), L"{\\field{\\*\\fldinst {\\rtlch \\af0\\afs20\\ltrch \\f0\\fs20  HYPERLINK "
                            L"\"http://x/?a=%22\\{b\\}%22\" }}{\\fldrslt {\\rtlch \\af0\\afs20 \\ltrch \\f0\\fs20"
                            L"\\ul\\cf0 see \\{\\}\\\\}}}");
}

TEST(RTFEngine, HtmlTags) {
    struct TCase { const wchar_t* Html; std::wstring Body; };
    const TCase cases[] = {
        {L"<B>x</B>", L"\\b x\\b0"},
        {L"<FONT COLOR=\"#FF0000\">r</FONT>", L"\\cf0 r"},
        {L"a<BR>b", L" a\\par b"},
        {L"<I>i</I><U>u</U><S>s</S>", L"\\i i\\i0\\ul u\\ulnone\\strike s\\strike0"},
        {L"&lt;&amp;&gt;", L" <&>"},
        {L"<STYLE>hidden</STYLE>seen", L" seen"},
        {L"<Z>hidden</Z>seen", L" seen"},
        {L"x<", L" x"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Html)));
        TRTFEngine engine;
        engine.AddHTML(c.Html);
        const std::wstring body = Body(engine);
        // A closing FONT puts the base font back: only the part before it is fixed here.
        EXPECT_EQ(body.substr(0, c.Body.size()), c.Body);
    }
    TRTFEngine red;
    red.AddHTML(L"<FONT COLOR=\"#FF0000\">r</FONT>");
    EXPECT_EQ(red.Header().ColorTable.Color(0), clRed);
}

TEST(RTFEngine, HtmlLinkAndList) {
    TRTFEngine engine;
    engine.AddHTML(L"<UL><LI>one<LI>two</UL><A HREF=\"http://a/b\">go</A>");
    const std::wstring body = Body(engine);
    EXPECT_NE(body.find(L"\\li720 one\\par {\\pntext\\f0\\'B7\\tab}two\\par\\pard\\ltrpar"), std::wstring::npos) << body;
    EXPECT_NE(body.find(L"HYPERLINK \"http://a/b\""), std::wstring::npos) << body;
    EXPECT_NE(body.find(L" go}}}"), std::wstring::npos) << body;
}

TEST(RTFEngine, AddRTFRemapsColoursAndFontsIntoThisEngine) {
    TRTFEngine source;
    source.AddFontName(L"Arial");
    source.AddForeColor(clRed);
    source.AddFontName(L"Courier New");
    source.AddForeColor(clBlue);
    source.AddBold(true);
    source.AddText(L"x{}\\\u00E9\u20AC");
    source.AddFontSize(20);

    TRTFEngine target;
    target.AddFontName(L"Courier New");
    target.AddForeColor(clBlue);
    target.AddRTF(source.GetText());
    // Courier New and blue already had index 0 here; Arial and red come after them.
    EXPECT_EQ(Body(target), L"\\f0\\cf0\\f1\\cf1\\f0\\cf0\\b x\\{\\}\\\\\\'e9\\u8364\\'47\\fs20\\par");
    EXPECT_EQ(target.Header().FontTable.FaceName(1), L"Arial");
    EXPECT_EQ(target.Header().ColorTable.Color(1), clRed);
}

TEST(RTFEngine, AddRTFReadsOtherWritersTables) {
    TRTFEngine target;
    target.AddRTF(L"{\\rtf1\\ansi{\\fonttbl {\\f0\\froman\\fcharset0 Times;}{\\f1\\fswiss Helvetica;}}"
                  L"{\\colortbl ;\\red0\\green0\\blue255;}\\viewkind4\\uc1\\pard\\f1\\cf1\\lang9 Hi\\unknown7 there\\par}");
    EXPECT_EQ(Body(target), L"\\pard\\f0\\cf0 Hi there\\par");
    EXPECT_EQ(target.Header().FontTable.FaceName(0), L"Helvetica");
    EXPECT_EQ(target.Header().ColorTable.Color(0), clBlue);
}

TEST(RTFEngine, LargePictureIsWrittenAt150By150) {
    TBitmap picture(300, 200, pf24bit);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(TRect{0, 0, 300, 200});
    TRTFEngine engine;
    const std::wstring text = engine.AddPicture(&picture);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.rfind(L"{\\sb0\\li0\\sl0\\slmult0 {\\pict\\wmetafile8\\picw3795\\pich3795\\picbmp\\picbpp4\r\n", 0), 0u);
    // Window extent and both stretch-DIB rectangles hold height then width: 150 = 0x96.
    const size_t meta = text.find(L"\r\n") + 2;
    EXPECT_EQ(text.substr(meta + 12 + 8 + 4 + 8 + 36, 8), L"96009600");
    EXPECT_EQ(text.substr(text.size() - 16), L"030000000000}}\r\n");
    EXPECT_EQ(Body(engine), text);
    TRTFEngine none;
    EXPECT_EQ(none.AddPicture(nullptr), L"");
}

TEST(RTFEngine, SaveWritesSevenBitBytesAndFailsClearly) {
    TRTFEngine engine;
    engine.AddText(L"caf\u00E9 \u20AC");
    TMemoryStream stream;
    engine.SaveToStream(&stream);
    const std::string bytes(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size()));
    EXPECT_EQ(bytes, "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\\viewkind4\\uc1 caf\\'e9 \\u8364\\'47\\par}");

    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    const std::wstring name = std::wstring(dir) + L"rtfengine-test.rtf";
    engine.SaveToFile(name);
    TFileStream file(name, fmOpenRead);
    std::string saved(size_t(file.Size()), '\0');
    file.ReadBuffer(saved.data(), int(saved.size()));
    EXPECT_EQ(saved, bytes + "\r\n");

    const std::wstring bad = std::wstring(dir) + L"no-such-dir\\x.rtf";
    try {
        engine.SaveToFile(bad);
        ADD_FAILURE() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), L"Cannot Create " + bad);
    }
}
