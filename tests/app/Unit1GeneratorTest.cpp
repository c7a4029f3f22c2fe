#include "app/Unit1Generator.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/UserBlockCoding.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "editor/AdvMemo.h"

using Unit1::TAtGenerator;
using TLines = std::vector<std::wstring>;

namespace {

const TLines DefaultList = {L"ATE0 - echo off",     L"ATE1 - echo on", L"AT+CHADDR=<change ip addr>",
                            L"AT+RST? - reboot uC", L"AT+DISP=<1-5>",  L"AT+LCD=<y>,<x>,<text>"};

// The C source made from the form's default list with sorting on and no read-back state.
const wchar_t* const DefaultListSource[] = {
    L"#include <avr/io.h>",
    L"#include <avr/pgmspace.h>",
    L"#include <util/delay.h>",
    L"#include <string.h>",
    L"",
    L"//#1[ user section 1   (don't remove this line)",
    L"// ..... enter other system includes below ......  ",
    L"",
    L"",
    L"",
    L"//#1]---   (don't remove this line)",
    L"",
    L"#include \"../VX_MULTI_UART/vx_multi_uart.h\"",
    L"#include \"../VX_MULTI_UART/vx_at_cmd.h\"",
    L"#include \"vx_at_user_cmds.h\"",
    L"",
    L"//#2[ user section 2   (don't remove this line)",
    L"// ..... enter your includes, variables and/or additional functions ...... ",
    L"",
    L"",
    L"",
    L"//#2]---   (don't remove this line)",
    L"",
    L"/* ------- AT COMMAND LIST  count: 6 -------",
    L" *  ",
    L" *  SET - function for commands received from terminal to set parameters into uC",
    L" *  GET - function for commands received from terminal to return values from uC",
    L" *",
    L" *  Prefix description ( only for COMMANDS with parameters \"=\" )",
    L" *  ! - exlude GET function",
    L" *",
    L" *    ATE0 - echo off",
    L" *    ATE1 - echo on",
    L" *    AT+CHADDR=<change ip addr>",
    L" *    AT+DISP=<1-5>",
    L" *    AT+LCD=<y>,<x>,<text>",
    L" *    AT+RST? - reboot uC",
    L" */",
    L"",
    L"",
    L"#if USE_AT_CMD == 1",
    L"",
    L"///[ ATE0 ----------------------------------",
    L"///{ ATE0 - echo off",
    L"const char ate0[] PROGMEM = \"ATE0\";",
    L"const char ate0_inf[] PROGMEM = \" - echo off\";",
    L"",
    L"uint8_t ate0_set( uint8_t uart_nr, char * params ) {",
    L"    /* ... enter your code here ... */",
    L"    return 0;    // exit code: 0-OK, 1-ERROR",
    L"}",
    L"//}]--- ATE0 end ------------------------------",
    L"",
    L"",
    L"///[ ATE1 ----------------------------------",
    L"///{ ATE1 - echo on",
    L"const char ate1[] PROGMEM = \"ATE1\";",
    L"const char ate1_inf[] PROGMEM = \" - echo on\";",
    L"",
    L"uint8_t ate1_set( uint8_t uart_nr, char * params ) {",
    L"    /* ... enter your code here ... */",
    L"    return 0;    // exit code: 0-OK, 1-ERROR",
    L"}",
    L"//}]--- ATE1 end ------------------------------",
    L"",
    L"",
    L"///[ AT+CHADDR ----------------------------------",
    L"///{ AT+CHADDR=<change ip addr>",
    L"const char at_chaddr[] PROGMEM = \"AT+CHADDR\";",
    L"const char at_chaddr_inf[] PROGMEM = \"=<change ip addr>\";",
    L"",
    L"uint8_t at_chaddr_set( uint8_t uart_nr, char * params ) {",
    L"    /* ... enter your code here ... */",
    L"    return 0;    // exit code: 0-OK, 1-ERROR",
    L"}",
    L"",
    L"void at_chaddr_get( uint8_t uart_nr ) {",
    L"    /* ... enter your code here ... */",
    L"}",
    L"//}]--- AT+CHADDR end ------------------------------",
    L"",
    L"",
    L"///[ AT+DISP ----------------------------------",
    L"///{ AT+DISP=<1-5>",
    L"const char at_disp[] PROGMEM = \"AT+DISP\";",
    L"const char at_disp_inf[] PROGMEM = \"=<1-5>\";",
    L"",
    L"uint8_t at_disp_set( uint8_t uart_nr, char * params ) {",
    L"    /* ... enter your code here ... */",
    L"    return 0;    // exit code: 0-OK, 1-ERROR",
    L"}",
    L"",
    L"void at_disp_get( uint8_t uart_nr ) {",
    L"    /* ... enter your code here ... */",
    L"}",
    L"//}]--- AT+DISP end ------------------------------",
    L"",
    L"",
    L"///[ AT+LCD ----------------------------------",
    L"///{ AT+LCD=<y>,<x>,<text>",
    L"const char at_lcd[] PROGMEM = \"AT+LCD\";",
    L"const char at_lcd_inf[] PROGMEM = \"=<y>,<x>,<text>\";",
    L"",
    L"uint8_t at_lcd_set( uint8_t uart_nr, char * params ) {",
    L"    /* ... enter your code here ... */",
    L"    return 0;    // exit code: 0-OK, 1-ERROR",
    L"}",
    L"",
    L"void at_lcd_get( uint8_t uart_nr ) {",
    L"    /* ... enter your code here ... */",
    L"}",
    L"//}]--- AT+LCD end ------------------------------",
    L"",
    L"",
    L"///[ AT+RST? ----------------------------------",
    L"///{ AT+RST? - reboot uC",
    L"const char at_rst[] PROGMEM = \"AT+RST?\";",
    L"const char at_rst_inf[] PROGMEM = \" - reboot uC\";",
    L"",
    L"uint8_t at_rst_set( uint8_t uart_nr, char * params ) {",
    L"    /* ... enter your code here ... */",
    L"    return 0;    // exit code: 0-OK, 1-ERROR",
    L"}",
    L"//}]--- AT+RST? end ------------------------------",
    L"",
    L"",
    L"const TATCMD atcmd[ AT_CMD_COUNT ] PROGMEM = {",
    L"    { .at_cmd = ate0, .at_inf = ate0_inf, .at_set = ate0_set, .at_get = NULL },     // ATE0",
    L"    { .at_cmd = ate1, .at_inf = ate1_inf, .at_set = ate1_set, .at_get = NULL },     // ATE1",
    L"    { .at_cmd = at_chaddr, .at_inf = at_chaddr_inf, .at_set = at_chaddr_set, .at_get = at_chaddr_get },     // AT+CHADDR",
    L"    { .at_cmd = at_disp, .at_inf = at_disp_inf, .at_set = at_disp_set, .at_get = at_disp_get },     // AT+DISP",
    L"    { .at_cmd = at_lcd, .at_inf = at_lcd_inf, .at_set = at_lcd_set, .at_get = at_lcd_get },     // AT+LCD",
    L"    { .at_cmd = at_rst, .at_inf = at_rst_inf, .at_set = at_rst_set, .at_get = NULL },     // AT+RST?",
    L"};",
    L"",
    L"",
    L"#endif        //#if USE_AT_CMD == 1",
};

TLines LinesOf(const ClassLib::TStrings& store) {
    TLines lines;
    for (int i = 0; i < store.Count(); ++i) lines.push_back(store.Strings(i));
    return lines;
}

void SetLines(ClassLib::TStrings& store, const TLines& lines) {
    store.Clear();
    for (const std::wstring& line : lines) store.Add(line);
}

int IndexOfLine(const TLines& lines, const std::wstring& line) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == line) return static_cast<int>(i);
    return -1;
}

// The lines of the block that starts with "///[ <name> ", through its end line.
TLines BlockOf(const TLines& lines, const std::wstring& name, int occurrence = 0) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind(L"///[ " + name + L" ", 0) != 0 || occurrence-- > 0) continue;
        TLines block;
        for (size_t j = i; j < lines.size(); ++j) {
            block.push_back(lines[j]);
            if (lines[j].rfind(L"//}]---", 0) == 0) break;
        }
        return block;
    }
    return {};
}

TLines TableRows(const TLines& lines) {
    TLines rows;
    for (const std::wstring& line : lines)
        if (line.rfind(L"    { .at_cmd = ", 0) == 0) rows.push_back(line);
    return rows;
}

std::wstring TempPath(const std::wstring& name) {
    return ClassLib::GetTempDir() + L"atgen_" + std::to_wstring(::GetCurrentProcessId()) + L"_" + name;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

// Lines joined with CR LF after each, as a generated file holds them.
std::string FileText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

TLines Decoded(const ClassLib::TStrings& blocks) {
    TLines texts;
    for (int i = 0; i < blocks.Count(); ++i) texts.push_back(UserBlockCoding::DecodeUserBlock(blocks.Strings(i)));
    return texts;
}

}  // namespace

// The panes as the main window holds them: three editors and the plain table collector.
class GeneratorTest : public testing::Test {
protected:
    GeneratorTest() { Generator.SetPanes(AtcmdsMemo.Lines(), MemoCMemo.Lines(), MemoHMemo.Lines(), &Memo2); }

    void Generate(const TLines& list, bool sort = true) {
        SetLines(Atcmds, list);
        Generator.Options.SortCommands = sort;
        Generator.GenerateSources();
    }
    TLines C() const { return LinesOf(MemoC); }

    AdvMemo::TAdvMemo AtcmdsMemo, MemoCMemo, MemoHMemo;
    ClassLib::TStrings& Atcmds = *AtcmdsMemo.Lines();
    ClassLib::TStrings& MemoC = *MemoCMemo.Lines();
    ClassLib::TStrings& MemoH = *MemoHMemo.Lines();
    ClassLib::TStringList Memo2;
    TAtGenerator Generator;
};

TEST_F(GeneratorTest, DefaultListGivesTheExactSourceHeaderAndList) {
    Generate(DefaultList);
    EXPECT_EQ(C(), TLines(std::begin(DefaultListSource), std::end(DefaultListSource)));
    EXPECT_TRUE(MemoC.Text().ends_with(L"};\r\n\r\n\r\n#endif        //#if USE_AT_CMD == 1"));  // no final break
    EXPECT_EQ(LinesOf(Atcmds), (TLines{L"ATE0 - echo off", L"ATE1 - echo on", L"AT+CHADDR=<change ip addr>",
                                        L"AT+DISP=<1-5>", L"AT+LCD=<y>,<x>,<text>", L"AT+RST? - reboot uC"}));
    EXPECT_EQ(MemoH.Text(),
              L"#ifndef VX_MULTI_UART_VX_AT_USER_CMDS_H_\r\n#define VX_MULTI_UART_VX_AT_USER_CMDS_H_\r\n\r\n\r\n"
              L"#define USE_HELP_VT100_COLORS        1\r\n\r\n\r\n\r\n#define AT_CMD_COUNT            6\r\n\r\n\r\n"
              L"#endif /* VX_MULTI_UART_VX_AT_USER_CMDS_H_ */\r\n");
    EXPECT_EQ(MemoH.Count(), 13);
    const TLines table = LinesOf(Memo2);
    ASSERT_EQ(table.size(), 11u);
    EXPECT_EQ(table.front(), L"const TATCMD atcmd[ AT_CMD_COUNT ] PROGMEM = {");
    EXPECT_EQ(table.back(), L"#endif\t\t//#if USE_AT_CMD == 1");  // the collector keeps its tabs
}

TEST_F(GeneratorTest, HeaderFollowsVt100OptionAndTheRowCount) {
    Generator.Options.UseVt100Colors = false;
    Generate({L"ATA", L"*", L"ATB"});
    const TLines h = LinesOf(MemoH);
    ASSERT_EQ(h.size(), 13u);
    EXPECT_EQ(h[4], L"#define USE_HELP_VT100_COLORS        0");
    EXPECT_EQ(h[8], L"#define AT_CMD_COUNT            2");  // the "*" line makes no row
    EXPECT_EQ(h[12], L"");

    bool asked = false;
    Generator.OnReadOptions = [&] {
        asked = true;
        return Unit1::TGeneratorOptions{true, true, false};
    };
    Generate({L"ATA"});
    EXPECT_TRUE(asked);
    EXPECT_EQ(LinesOf(MemoH)[4], L"#define USE_HELP_VT100_COLORS        1");
}

TEST_F(GeneratorTest, PrefixesChooseFunctionsAndRows) {
    struct TCase { const wchar_t* Line; const wchar_t* Row; bool Set; bool Get; };
    const TCase cases[] = {
        {L"!AT+LED=<0|1>", L"    { .at_cmd = at_led, .at_inf = at_led_inf, .at_set = at_led_set, .at_get = NULL },     // AT+LED", true, false},
        {L"#AT+LED=<0|1>", L"    { .at_cmd = at_led, .at_inf = at_led_inf, .at_set = at_led_set, .at_get = NULL },     // AT+LED", true, false},
        {L"$AT+LED=<0|1>", L"    { .at_cmd = at_led, .at_inf = at_led_inf, .at_set = at_led_set, .at_get = at_led_get },     // AT+LED", true, true},
        {L"@AT+LED=<0|1>", L"    { .at_cmd = at_led, .at_inf = at_led_inf, .at_set = NULL, .at_get = NULL },     // AT+LED", false, false},
        {L"at+led=<0|1>", L"    { .at_cmd = at_led, .at_inf = at_led_inf, .at_set = at_led_set, .at_get = at_led_get },     // AT+LED", true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Line)));
        Generate({c.Line});
        const std::wstring listLine = ClassLib::UpperCase(c.Line);
        EXPECT_EQ(LinesOf(Atcmds), TLines{listLine});
        const TLines block = BlockOf(C(), L"AT+LED");
        ASSERT_GE(block.size(), 5u);
        EXPECT_EQ(block[0], L"///[ AT+LED ----------------------------------");
        EXPECT_EQ(block[1], L"///{ " + listLine);
        EXPECT_EQ(block[2], L"const char at_led[] PROGMEM = \"AT+LED\";");
        EXPECT_EQ(block[3], L"const char at_led_inf[] PROGMEM = \"=<0|1>\";");
        EXPECT_EQ(IndexOfLine(block, L"uint8_t at_led_set( uint8_t uart_nr, char * params ) {") >= 0, c.Set);
        EXPECT_EQ(IndexOfLine(block, L"void at_led_get( uint8_t uart_nr ) {") >= 0, c.Get);
        EXPECT_EQ(block.back(), L"//}]--- AT+LED end ------------------------------");
        EXPECT_EQ(TableRows(C()), TLines{c.Row});
        EXPECT_EQ(C()[IndexOfLine(C(), L"/* ------- AT COMMAND LIST  count: 1 -------") + 8], L" *    " + listLine);
    }
    Generate({L"@AT+X=1"});
    EXPECT_EQ(BlockOf(C(), L"AT+X").size(), 5u);  // the four head lines and the end line
}

TEST_F(GeneratorTest, IdentifiersNamesAndInformationStrings) {
    struct TCase { const wchar_t* Line; const wchar_t* ListLine; const wchar_t* Name; const wchar_t* Id; const wchar_t* Info; };
    const TCase cases[] = {
        {L"!ATZ", L"!ATZ ", L"!ATZ", L"!atz", L""},                          // no flag without "="
        {L"!ATZ - reset", L"!ATZ - reset", L"!ATZ", L"!atz", L" - reset"},
        {L"AT+X?=<a>", L"AT+X?=<a>", L"AT+X?", L"at_x?", L"=<a>"},             // "?" stays with "="
        {L"AT+X? - query", L"AT+X? - query", L"AT+X?", L"at_x", L" - query"},  // and goes without
        {L"ATZ", L"ATZ ", L"ATZ", L"atz", L""},                              // bare: one trailing blank
        {L"AT+X=", L"AT+X=", L"AT+X", L"at_x", L"="},
        {L"atx   some  text ", L"ATX some  text", L"ATX", L"atx", L" some  text"},
        {L"AT+X=1 * note", L"NOTE ", L"NOTE", L"note", L""},                   // text after "*" replaces the line
        {L" *    AT+Y=<v>", L"AT+Y=<v>", L"AT+Y", L"at_y", L"=<v>"},           // a pasted help line
        {L"AT+A = 5", L"AT+A = 5", L"AT+A", L"at_a", L" = 5"},                 // "=" not in the first word
        {L"AT\tX=1", L"AT X=1", L"AT", L"at", L" X=1"},                        // a tab becomes blanks first
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Line)));
        Generate({c.Line});
        EXPECT_EQ(LinesOf(Atcmds), TLines{c.ListLine});
        const TLines block = BlockOf(C(), c.Name);
        ASSERT_GE(block.size(), 4u);
        EXPECT_EQ(block[1], std::wstring(L"///{ ") + c.ListLine);
        EXPECT_EQ(block[2], std::wstring(L"const char ") + c.Id + L"[] PROGMEM = \"" + c.Name + L"\";");
        EXPECT_EQ(block[3], std::wstring(L"const char ") + c.Id + L"_inf[] PROGMEM = \"" + c.Info + L"\";");
    }
}

TEST_F(GeneratorTest, HelpLinesKeepTrailingBlanksExceptOnTheLastLine) {
    Generate({L"ATZ", L"ATY", L"*"}, false);
    EXPECT_EQ(LinesOf(Atcmds), (TLines{L"ATZ ", L"ATY ", L" "}));
    const TLines c = C();
    const int help = IndexOfLine(c, L" *    ATZ ");
    ASSERT_GE(help, 0);
    EXPECT_EQ(c[help + 1], L" *    ATY ");
    EXPECT_EQ(c[help + 2], L" *");  // the "*" line's help line, its blanks trimmed as the last one
    EXPECT_EQ(c[help + 3], L" */");
    EXPECT_EQ(TableRows(c).size(), 2u);
    EXPECT_NE(IndexOfLine(c, L"/* ------- AT COMMAND LIST  count: 2 -------"), -1);

    Generate({L"*", L"ATZ"}, false);
    EXPECT_NE(IndexOfLine(C(), L" *     "), -1);  // one blank list line, not last: blanks kept
    EXPECT_NE(IndexOfLine(C(), L" *    ATZ"), -1);
}

TEST_F(GeneratorTest, SortingKeepsGroupsAndDuplicates) {
    struct TCase { TLines In; TLines Out; };
    const TCase cases[] = {
        {{L"AT+B=1", L"at+a=2", L"AT+B=1"}, {L"AT+A=2", L"AT+B=1", L"AT+B=1"}},
        {{L"ATZ", L"ATE0 - e", L"AT"}, {L"AT ", L"ATE0 - e", L"ATZ "}},
        {{L"AT+Z=1", L"*", L"ATB", L"atA"}, {L" ", L"ATA ", L"ATB ", L"AT+Z=1"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.In));
        Generate(c.In);
        EXPECT_EQ(LinesOf(Atcmds), c.Out);
        const size_t rows = TableRows(C()).size();
        EXPECT_EQ(LinesOf(MemoH)[8], L"#define AT_CMD_COUNT            " + std::to_wstring(rows));
    }
    Generate({L"AT+B=1", L"AT+B=1"});
    EXPECT_EQ(BlockOf(C(), L"AT+B", 0), BlockOf(C(), L"AT+B", 1));
    EXPECT_EQ(TableRows(C())[0], TableRows(C())[1]);

    Generate({L"ATZ", L"AT+B=1", L"ATA"}, false);
    EXPECT_EQ(LinesOf(Atcmds), (TLines{L"ATZ ", L"AT+B=1", L"ATA "}));
}

TEST_F(GeneratorTest, RunningTwiceGivesTheSameTexts) {
    Generate(DefaultList);
    const TLines c = C(), h = LinesOf(MemoH), list = LinesOf(Atcmds);
    Generator.GenerateSources();
    EXPECT_EQ(C(), c);
    EXPECT_EQ(LinesOf(MemoH), h);
    EXPECT_EQ(LinesOf(Atcmds), list);
}

TEST_F(GeneratorTest, OddLinesNeitherStopTheRunNorBreakTheTable) {
    Generate({L"=abc", L"AT+X==", L"ATB"}, false);
    EXPECT_EQ(LinesOf(Atcmds), (TLines{L"=abc", L"AT+X==", L"ATB "}));
    EXPECT_EQ(TableRows(C()).size(), 3u);
    EXPECT_EQ(C().back(), L"#endif        //#if USE_AT_CMD == 1");
}

TEST_F(GeneratorTest, HelpMarkInsideAUserSectionIsReplacedToo) {
    SetLines(*Generator.sct1List, {L"//#1[ user section 1   (don't remove this line)", L"  // list:", L" * [hlp]",
                                    L"\tint x;", L"", L"//#1]---   (don't remove this line)"});
    Generate({L"ATA"});
    const TLines c = C();
    const int start = IndexOfLine(c, L"//#1[ user section 1   (don't remove this line)");
    ASSERT_EQ(start, 5);
    EXPECT_EQ(TLines(c.begin() + start, c.begin() + start + 6),
              (TLines{L"//#1[ user section 1   (don't remove this line)", L"  // list:", L" *    ATA",
                      L"    int x;", L"", L"//#1]---   (don't remove this line)"}));
    EXPECT_EQ(c[start + 6], L"");
    EXPECT_EQ(c[start + 7], L"#include \"../VX_MULTI_UART/vx_multi_uart.h\"");
}

TEST_F(GeneratorTest, StoredBlocksWithAndWithoutAutoCorrect) {
    const std::wstring stored =
        L"///[ AT+X ----------------------------------\r\n"
        L"///{ AT+X=<old>\r\n"
        L"const char at_x[] PROGMEM = \"AT+X\";\r\n"
        L"const char at_x_inf[] PROGMEM = \"=<old>\";\r\n"
        L"\r\n"
        L"uint8_t at_x_set( uint8_t uart_nr, char * params ) {\r\n"
        L"\tmy_code();\r\n"
        L"}\r\n"
        L"//}]--- AT+X end ------------------------------\r\n";
    SetLines(*Generator.atList, {L"at+x"});
    SetLines(*Generator.atFunList, {UserBlockCoding::EncodeUserBlock(stored)});

    Generate({L"AT+X=<new>", L"ATY"}, false);
    TLines c = C();
    int at = IndexOfLine(c, L"///[ AT+X ----------------------------------");
    ASSERT_GE(at, 0);
    EXPECT_EQ(TLines(c.begin() + at, c.begin() + at + 11),
              (TLines{L"///[ AT+X ----------------------------------", L"///{ AT+X=<old>",
                      L"const char at_x[] PROGMEM = \"AT+X\";", L"const char at_x_inf[] PROGMEM = \"=<old>\";", L"",
                      L"uint8_t at_x_set( uint8_t uart_nr, char * params ) {", L"    my_code();", L"}",
                      L"//}]--- AT+X end ------------------------------", L"", L"///[ ATY ----------------------------------"}));
    EXPECT_EQ(TableRows(c)[0],
              L"    { .at_cmd = at_x, .at_inf = at_x_inf, .at_set = at_x_set, .at_get = at_x_get },     // AT+X");

    Generator.Options.AutoCorrectHeaders = true;
    Generate({L"!AT+X=<new>", L"ATY"}, false);
    c = C();
    at = IndexOfLine(c, L"///[ AT+X ----------------------------------");
    ASSERT_GE(at, 0);
    EXPECT_EQ(TLines(c.begin() + at, c.begin() + at + 12),
              (TLines{L"///[ AT+X ----------------------------------", L"///{ !AT+X=<new>",
                      L"const char at_x[] PROGMEM = \"AT+X\";", L"const char at_x_inf[] PROGMEM = \"=<new>\";", L"",
                      L"uint8_t at_x_set( uint8_t uart_nr, char * params ) {", L"    my_code();", L"}",
                      L"//}]--- AT+X end ------------------------------", L"", L"", L"///[ ATY ----------------------------------"}));
    EXPECT_EQ(TableRows(c)[0], L"    { .at_cmd = at_x, .at_inf = at_x_inf, .at_set = at_x_set, .at_get = NULL },     // AT+X");

    // A block that no longer decodes keeps nothing of itself.
    SetLines(*Generator.atFunList, {L"broken"});
    Generate({L"AT+X=1"}, false);
    c = C();
    at = IndexOfLine(c, L"///[ AT+X ----------------------------------");
    ASSERT_GE(at, 0);
    EXPECT_EQ(TLines(c.begin() + at + 3, c.begin() + at + 7),
              (TLines{L"const char at_x_inf[] PROGMEM = \"=1\";", L"", L"", L"const TATCMD atcmd[ AT_CMD_COUNT ] PROGMEM = {"}));
    Generator.Options.AutoCorrectHeaders = false;
    Generate({L"AT+X=1"}, false);
    EXPECT_NE(IndexOfLine(C(), L"error#7"), -1);
}

TEST_F(GeneratorTest, LookupIgnoresCaseAndTakesTheFirstMatch) {
    SetLines(*Generator.atList, {L"ATB", L"aTa", L"ATA"});
    SetLines(*Generator.atFunList, {UserBlockCoding::EncodeUserBlock(L"first b\r\n"),
                                    UserBlockCoding::EncodeUserBlock(L"first a\r\n"),
                                    UserBlockCoding::EncodeUserBlock(L"second a\r\n")});
    Generate({L"ata", L"AT+A=1", L"ATB"}, false);
    const TLines c = C();
    EXPECT_NE(IndexOfLine(c, L"first a"), -1);
    EXPECT_EQ(IndexOfLine(c, L"second a"), -1);
    EXPECT_NE(IndexOfLine(c, L"first b"), -1);
    EXPECT_EQ(BlockOf(c, L"AT+A").size(), 14u);  // a new block: no stored one of that name
}

class ReadBackTest : public GeneratorTest {
protected:
    ~ReadBackTest() override {
        ::DeleteFileW(Path.c_str());
    }
    // What the open handler does: the list emptied, the file loaded into the C pane and read back.
    void Open() {
        Atcmds.Clear();
        Generator.LoadUserBlocks(Path);
    }
    const std::wstring Path = TempPath(L"readback.c");
};

TEST_F(ReadBackTest, GeneratedFileGivesListSectionsAndBlocks) {
    Generate({L"AT+A=<x>", L"ATB - b"}, false);
    MemoC.SaveToFile(Path);
    const TLines saved = C();
    Open();
    EXPECT_EQ(LinesOf(*Generator.atList), (TLines{L"AT+A", L"ATB"}));
    EXPECT_EQ(LinesOf(Atcmds), (TLines{L"AT+A=<x>", L"ATB - b"}));
    EXPECT_EQ(LinesOf(*Generator.sct1List), TLines(saved.begin() + 5, saved.begin() + 11));
    EXPECT_EQ(LinesOf(*Generator.sct2List), TLines(saved.begin() + 16, saved.begin() + 22));
    std::wstring block;
    for (const std::wstring& line : BlockOf(saved, L"AT+A")) block += line + L"\r\n";
    EXPECT_EQ(Decoded(*Generator.atFunList), (TLines{block, Decoded(*Generator.atFunList).at(1)}));
    EXPECT_TRUE(Decoded(*Generator.atFunList)[1].starts_with(L"///[ ATB ---"));
}

// The path users take: generate, save, read back, add a command, generate again.
TEST_F(ReadBackTest, UserCodeSurvivesSaveReadBackAndRegeneration) {
    Generate({L"AT+A=<x>", L"ATB - b"}, false);
    // The user types code into the C pane, non-ASCII text and blank lines included.
    TLines c = C();
    const int body = IndexOfLine(c, L"    /* ... enter your code here ... */");
    MemoC.SetStrings(body, L"    uint8_t n = 0;  // \u017C\u00F3\u0142w \u20AC \u4E2D\u6587");
    MemoC.Insert(body + 1, L"");
    MemoC.Insert(body + 2, L"\tn++;");  // the editor turns the tab into blanks
    MemoC.SetStrings(7, L"#include <stdlib.h>   // \u0104\u0118");
    MemoC.SaveToFile(Path);
    const TLines saved = C();
    ASSERT_EQ(saved[body + 2], L"    n++;");

    Open();
    Atcmds.Add(L"AT+C=<y>");
    Generator.GenerateSources();
    c = C();
    EXPECT_EQ(TLines(c.begin() + 5, c.begin() + 22), TLines(saved.begin() + 5, saved.begin() + 22));
    for (const wchar_t* name : {L"AT+A", L"ATB"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        const TLines before = BlockOf(saved, name), after = BlockOf(c, name);
        EXPECT_EQ(after, before);
        // A stored block is followed by one empty line, a new one by two.
        const int end = IndexOfLine(c, after.back());
        EXPECT_EQ(c[end + 1], L"");
        EXPECT_TRUE(c[end + 2].starts_with(L"///[ ")) << testing::PrintToString(c[end + 2]);
    }
    EXPECT_EQ(BlockOf(c, L"AT+C").size(), 14u);
    EXPECT_EQ(LinesOf(MemoH)[8], L"#define AT_CMD_COUNT            3");
}

TEST_F(ReadBackTest, TabsAndEncodingsOfAFileEditedElsewhere) {
    const std::vector<std::string> lines = {
        "//#2[ user section 2   (don't remove this line)", "\tint g;", "", "//#2]---   (don't remove this line)",
        "///[ AT+X ----------------------------------", "///{ AT+X={a}", "const char at_x[] PROGMEM = \"AT+X\";",
        "const char at_x_inf[] PROGMEM = \"={a}\";", "", "uint8_t at_x_set( uint8_t uart_nr, char * params ) {",
        "\tif (params[0] == '\xC3\xA9') {", "", "\t\treturn 1;", "\t}", "    return 0;",
        "}", "//}]--- AT+X end ------------------------------", "///[ ATZ ---", "///{ ATZ ", "//}]--- ATZ end"};
    const std::string text = FileText(lines);
    const std::wstring expectedBody[] = {L"    if (params[0] == '\u00E9') {", L"", L"        return 1;", L"    }"};
    for (const std::string& bytes : {"\xEF\xBB\xBF" + text, text}) {
        SCOPED_TRACE(bytes.size());
        WriteBytes(Path, bytes);
        Open();
        EXPECT_EQ(LinesOf(Atcmds), (TLines{L"AT+X={a}", L"ATZ"}));  // only the marker's "{" splits
        Generator.Options.AutoCorrectHeaders = true;
        Generator.GenerateSources();
        const TLines block = BlockOf(C(), L"AT+X");
        ASSERT_EQ(block.size(), 13u);
        // With or without the mark: valid UTF-8 beyond ASCII is read as UTF-8.
        EXPECT_EQ(TLines(block.begin() + 6, block.begin() + 10), TLines(std::begin(expectedBody), std::end(expectedBody)));
        EXPECT_EQ(block[1], L"///{ AT+X={a}");
        const TLines c = C();
        EXPECT_NE(IndexOfLine(c, L"    int g;"), -1);
        // A stored block of four lines or fewer keeps none of them; the head is made new.
        const TLines atz = BlockOf(c, L"ATZ");
        ASSERT_GE(atz.size(), 7u);
        EXPECT_EQ(TLines(atz.begin(), atz.begin() + 7),
                  (TLines{L"///[ ATZ ----------------------------------", L"///{ ATZ ", L"const char atz[] PROGMEM = \"ATZ\";",
                          L"const char atz_inf[] PROGMEM = \"\";", L"", L"", L"///[ AT+X ----------------------------------"}));
    }
}

TEST_F(ReadBackTest, AutoCorrectedRegenerationGivesTheSameFile) {
    Generator.Options.AutoCorrectHeaders = true;
    Generate(DefaultList);
    MemoC.SaveToFile(Path);
    const std::string first = ReadBytes(Path);
    Open();
    Generator.GenerateSources();
    MemoC.SaveToFile(Path);
    EXPECT_EQ(ReadBytes(Path), first);
    EXPECT_FALSE(first.ends_with("\r\n"));
}

TEST_F(ReadBackTest, MalformedFiles) {
    const std::string head = "///[ AT+A ---", tail = "//}]--- AT+A end";
    struct TCase {
        const char* Name;
        std::vector<std::string> Lines;
        TLines Names, FirstBlockLines, Section1, List;
    };
    const TCase cases[] = {
        {"block without its end line", {"///[ AT+A ---", "///{ AT+A=1", "///[ AT+B ---", "x", "//}]--- AT+B"},
         {L"AT+B"}, {L"///[ AT+B ---", L"x", L"//}]--- AT+B"}, {}, {L"AT+A=1"}},
        {"open block at the end", {"///[ AT+A ---", "///{ AT+A=1", "body"}, {}, {}, {}, {L"AT+A=1"}},
        {"two first sections", {"//#1[ a", "1", "//#1]", "//#1[ b", "2", "//#1]"}, {}, {},
         {L"//#1[ a", L"1", L"//#1]", L"//#1[ b", L"2", L"//#1]"}, {}},
        {"open section at the end", {"//#1[ a", "1"}, {}, {}, {L"//#1[ a", L"1"}, {}},
        {"list line inside a section", {"//#1[ a", "///{ ATQ ", "//#1]"}, {}, {}, {L"//#1[ a", L"///{ ATQ ", L"//#1]"}, {L"ATQ"}},
        {"duplicate names", {head, "one", tail, head, "two", tail}, {L"AT+A", L"AT+A"}, {L"///[ AT+A ---", L"one", L"//}]--- AT+A end"}, {}, {}},
        {"markers need their blank", {"//#1[x", "///[AT+A", "///{x", "//#1]"}, {}, {}, {}, {}},
        {"no markers", {"int main() {}"}, {}, {}, {}, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteBytes(Path, FileText(c.Lines));
        Open();
        EXPECT_EQ(LinesOf(*Generator.atList), c.Names);
        ASSERT_EQ(Generator.atFunList->Count(), Generator.atList->Count());  // names and blocks stay paired
        if (!c.FirstBlockLines.empty()) {
            std::wstring block;
            for (const std::wstring& line : c.FirstBlockLines) block += line + L"\r\n";
            EXPECT_EQ(Decoded(*Generator.atFunList)[0], block);
        }
        EXPECT_EQ(LinesOf(*Generator.sct1List), c.Section1);
        EXPECT_EQ(LinesOf(Atcmds), c.List);
    }

    // Duplicates: both commands reuse the first block.
    WriteBytes(Path, FileText({head, "//first", tail, head, "//second", tail}));
    Open();
    Generate({L"AT+A=1", L"AT+A=2"}, false);
    const TLines c = C();
    EXPECT_EQ(BlockOf(c, L"AT+A", 0)[1], L"//first");
    EXPECT_EQ(BlockOf(c, L"AT+A", 1)[1], L"//first");
}

TEST_F(ReadBackTest, MissingOrLockedFileChangesNothing) {
    WriteBytes(Path, FileText({"//#1[ s", "//#1]", "///[ AT+A ---", "///{ AT+A=1", "//}]--- AT+A end"}));
    Open();
    const TLines names = LinesOf(*Generator.atList), blocks = LinesOf(*Generator.atFunList),
                 section = LinesOf(*Generator.sct1List), list = LinesOf(Atcmds);
    ASSERT_EQ(names.size(), 1u);

    Generator.LoadUserBlocks(TempPath(L"missing.c"));
    HANDLE lock = ::CreateFileW(Path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_THROW(Generator.LoadUserBlocks(Path), ClassLib::Exception);
    ::CloseHandle(lock);

    EXPECT_EQ(LinesOf(*Generator.atList), names);
    EXPECT_EQ(LinesOf(*Generator.atFunList), blocks);
    EXPECT_EQ(LinesOf(*Generator.sct1List), section);
    EXPECT_EQ(LinesOf(Atcmds), list);
}

// The look-up must agree with the locale's case-ignoring comparison, whatever it uses inside.
TEST_F(GeneratorTest, LookupAgreesWithTheLocaleComparison) {
    const std::pair<const wchar_t*, const wchar_t*> pairs[] = {
        {L"AT+X", L"at+x"}, {L"AT+X", L"AT+Y"}, {L"AT-X", L"ATX"}, {L"AT+\u00C4", L"at+\u00E4"},
        {L"AT+X?", L"AT+X"}, {L"AT+\u0130", L"at+i"}, {L"ATZ", L"ATZ0"}, {L"", L"ATE"},
    };
    for (const auto& [stored, typed] : pairs) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(stored) + L" | " + typed));
        SetLines(*Generator.atList, {stored});
        SetLines(*Generator.atFunList, {UserBlockCoding::EncodeUserBlock(L"//stored\r\n")});
        Generate({std::wstring(typed) + L" - x"}, false);
        const bool equal = ClassLib::AnsiCompareText(ClassLib::UpperCase(typed), stored) == 0;
        EXPECT_EQ(IndexOfLine(C(), L"//stored") >= 0, equal);
    }
}

// Sorting compares sort keys made once per line; the order must be the one the locale's
// case-ignoring comparison gives, lines it finds equal keeping their order.
TEST_F(GeneratorTest, SortKeysOrderLinesAsTheLocaleComparisonDoes) {
    const wchar_t* const variants[] = {
        L"a", L"A", L"b", L"B", L"ab", L"aB", L"a-b", L"a b", L"a'b", L"a_b", L"-ab", L"co-op", L"coop", L"2", L"10",
        L"9", L"010", L"\u00E4", L"\u00C4", L"ae", L"\u00E9", L"e", L"E", L"\u00DF", L"ss", L"\u0153", L"oe", L"z",
        L"Z", L"~", L"!", L"_", L"<x>", L"<X>", L"\u3042", L"\U0001F600", L"x\u00ADy", L"xy", L"\u0131", L"i", L"I",
    };
    const auto localeLess = [](const std::wstring& a, const std::wstring& b) {
        return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size())) == CSTR_LESS_THAN;
    };
    // Both groups, each line once forwards and once backwards, so that ties show their order.
    TLines list;
    for (const wchar_t* v : variants) list.push_back(std::wstring(L"AT+S=") + v);
    for (const wchar_t* v : variants) list.push_back(std::wstring(L"ATS ") + v);
    for (auto v = std::rbegin(variants); v != std::rend(variants); ++v) list.push_back(std::wstring(L"AT+S=") + *v);
    for (auto v = std::rbegin(variants); v != std::rend(variants); ++v) list.push_back(std::wstring(L"ATS ") + *v);
    TLines others, atPlus;
    for (const std::wstring& line : list) (line.rfind(L"AT+", 0) == 0 ? atPlus : others).push_back(line);
    std::stable_sort(others.begin(), others.end(), localeLess);
    std::stable_sort(atPlus.begin(), atPlus.end(), localeLess);
    TLines expected = others;
    expected.insert(expected.end(), atPlus.begin(), atPlus.end());

    Generate(list);
    const TLines sorted = LinesOf(Atcmds);
    ASSERT_EQ(sorted.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i));
        EXPECT_EQ(sorted[i], expected[i]);
    }
}

// A help marker in a list line is replaced in the command's block as anywhere else.
TEST_F(GeneratorTest, HelpMarkInAListLineIsReplacedInItsBlock) {
    Generate({L"q * ATQ * [hlp]"});
    EXPECT_EQ(LinesOf(Atcmds), (TLines{L"ATQ * [hlp]"}));
    const TLines block = BlockOf(C(), L"ATQ");
    ASSERT_GE(block.size(), 4u);
    EXPECT_EQ(block[1], L"///{ ATQ *    ATQ * [hlp]");
    EXPECT_EQ(block[3], L"const char atq_inf[] PROGMEM = \" *    ATQ * [hlp]\";");
    EXPECT_NE(IndexOfLine(C(), L" *    ATQ * [hlp]"), -1);  // the list in the head comment
}

// Plain string lists as panes (no editor line store behind them) get the same texts.
TEST_F(GeneratorTest, PlainListPanesGetTheSameTexts) {
    SetLines(*Generator.sct2List, {L"//#2[ user section 2", L"\tint y; // * [hlp]", L"//#2]---"});
    const TLines list = {L"ATE0 - echo off", L"AT+LCD=<y>,<x>,<text>", L"*", L"atz", L"q * ATQ * [hlp]"};
    Generate(list);
    const TLines c = C(), h = LinesOf(MemoH), cmds = LinesOf(Atcmds), table = LinesOf(Memo2);

    ClassLib::TStringList plainList, plainC, plainH, plainTable;
    TAtGenerator plain;
    plain.SetPanes(&plainList, &plainC, &plainH, &plainTable);
    plain.sct2List->Assign(Generator.sct2List.get());
    SetLines(plainList, list);
    plain.GenerateSources();
    EXPECT_EQ(LinesOf(plainC), c);
    EXPECT_EQ(LinesOf(plainH), h);
    EXPECT_EQ(LinesOf(plainList), cmds);
    EXPECT_EQ(LinesOf(plainTable), table);
}
