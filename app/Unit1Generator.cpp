#include "app/Unit1Generator.h"

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/StringFields.h"
#include "app/UserBlockCoding.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "classlib/UpdateScope.h"
#include "editor/AdvMemoStrings.h"

namespace Unit1 {

using ClassLib::String;
using StringFields::FetchField;

namespace {

using TLines = std::vector<String>;

const String CRLF = L"\r\n";
constexpr int TabSize = AdvMemo::DefaultTabSize;  // the editors' tab width; the program never changes it

// ---- the editors' line rules, applied here so every kind of line store ends up alike

String ExpandTabs(const String& s) { return AdvMemo::ExpandTabs(s, TabSize); }

// Appending a text to an editor, as its Add does.
void AppendText(TLines& lines, const String& text) {
    for (String& line : AdvMemo::SplitAddedText(text, TabSize)) lines.push_back(std::move(line));
}

using AdvMemo::SplitText;

// An editor's text: no break after the last line.
String JoinLines(const TLines& lines) {
    size_t size = 0;
    for (const String& line : lines) size += line.size() + 2;
    String text;
    text.reserve(size);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += CRLF;
        text += lines[i];
    }
    return text;
}

// A plain string list's text: a break after every line.
String JoinWithBreaks(const TLines& lines) {
    String text;
    for (const String& line : lines) text += line + CRLF;
    return text;
}

bool StartsWith(const String& line, const wchar_t* prefix) { return line.rfind(prefix, 0) == 0; }

// The C source as one text, built line by line in the form its pane takes it: lines joined
// by CR LF, none after the last. Every help marker is replaced by the help text as its line
// goes in; a marker holds no break, so no marker can span two lines.
class TSourceText {
public:
    TSourceText(const String& marker, const String& help) : FMarker(marker), FHelp(help) {}

    void Line(std::wstring_view line) {
        if (FLineCount++ > 0) FText += CRLF;
        size_t start = 0;
        for (size_t found; (found = line.find(FMarker, start)) != std::wstring_view::npos; start = found + FMarker.size()) {
            FText.append(line.substr(start, found - start));
            FText += FHelp;
        }
        FText.append(line.substr(start));
    }
    void Lines(std::initializer_list<std::wstring_view> lines) {
        for (std::wstring_view line : lines) Line(line);
    }
    void Lines(const TLines& lines) {
        for (const String& line : lines) Line(line);
    }
    // A text as an editor's Add takes it: tabs expanded, line feeds dropped, every CR ends a line.
    void Added(std::wstring_view text) {
        FScratch.clear();
        for (const wchar_t c : text) {
            if (c == L'\r') {
                Line(FScratch);
                FScratch.clear();
            } else if (c == L'\t') {
                FScratch.append(static_cast<size_t>(TabSize), L' ');
            } else if (c != L'\n') {
                FScratch += c;
            }
        }
        Line(FScratch);
    }
    void Reserve(size_t characters) { FText.reserve(characters); }
    String Take() { return std::move(FText); }

private:
    String FMarker, FHelp;
    String FText;
    String FScratch;
    size_t FLineCount = 0;
};


// ---- line store access

TLines ReadLines(const ClassLib::TStrings& store) {
    TLines lines;
    lines.reserve(store.Count());
    for (int i = 0; i < store.Count(); ++i) lines.push_back(store.Strings(i));
    return lines;
}

void AddLines(ClassLib::TStrings& store, const TLines& lines) {
    ClassLib::TUpdateScope update(store);
    for (const String& line : lines) store.Add(line);
}

void StoreLines(ClassLib::TStrings& store, const TLines& lines) {
    ClassLib::TUpdateScope update(store);
    store.Clear();
    for (const String& line : lines) store.Add(line);
}

// Fills a pane with lines: in one text when the lines survive the pane's split unchanged
// (no break inside a line, no empty last line), else line by line as before.
void StoreWholeText(ClassLib::TStrings& store, const TLines& lines) {
    const bool splitsBack = !lines.empty() && !lines.back().empty() &&
                            std::none_of(lines.begin(), lines.end(), [](const String& line) {
                                return line.find_first_of(L"\r\n") != String::npos;
                            });
    if (splitsBack) store.SetText(JoinLines(lines));
    else StoreLines(store, lines);
}

// ---- the command list

// Blank lines go; text after a "*" replaces the line, so a help line pasted back
// (" *    AT+X=1") gives its command again.
TLines CleanList(const TLines& source) {
    TLines cleaned;
    cleaned.reserve(source.size());
    for (const String& line : source) {
        if (ClassLib::Trim(line).empty()) continue;
        String after = line;
        String before = FetchField(after, L"*");
        cleaned.push_back(ClassLib::Trim(after).empty() ? before : after);
    }
    return cleaned;
}

bool LocaleLess(const String& a, const String& b) {
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                            static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

bool IsAtPlusLine(const String& line) { return ClassLib::UpperCase(line.substr(0, 3)) == L"AT+"; }

// Other commands first, then the "AT+" ones, each group in the user's collation.
TLines SortGroups(const TLines& cleaned) {
    TLines others, atPlus;
    for (const String& line : cleaned) (IsAtPlusLine(line) ? atPlus : others).push_back(line);
    std::stable_sort(others.begin(), others.end(), LocaleLess);
    std::stable_sort(atPlus.begin(), atPlus.end(), LocaleLess);
    others.insert(others.end(), atPlus.begin(), atPlus.end());
    return others;
}

enum class TKind { Parameter, Described, Bare };

struct TCommand {
    TKind Kind = TKind::Bare;
    String Name;      // upper case, without a prefix flag
    String Id;        // the C name stem
    String ListLine;  // the rewritten list line, prefix included
    String Info;      // the text of the "_inf" string
    bool HasSet = true;
    bool HasGet = false;
};

String MakeId(const String& name, bool dropQuery) {
    String id = ClassLib::LowerCase(name);
    std::replace(id.begin(), id.end(), L'+', L'_');
    if (dropQuery) id.erase(std::remove(id.begin(), id.end(), L'?'), id.end());
    return id;
}

// Flag values of the prefixes; a set function needs a value below 8, a get function
// one without the bits 1, 2 and 8.
int PrefixFlag(wchar_t c) {
    switch (c) {
        case L'!': return 1;
        case L'#': return 2;
        case L'$': return 4;
        case L'@': return 8;
        default: return 0;
    }
}

// Rewrites `line` as the list will show it; false when it makes no block (the line of
// one blank left from a "*" line).
bool ClassifyLine(String& line, TCommand& cmd) {
    String rest = line;
    const String first = FetchField(rest, L" ");
    if (first.find(L'=') != String::npos) {
        String params = line;
        String name = ClassLib::UpperCase(FetchField(params, L"="));
        line = ExpandTabs(name + L"=" + params);
        String id = MakeId(name, false);
        const int flag = id.empty() ? 0 : PrefixFlag(id[0]);
        if (flag != 0) {
            id.erase(0, 1);
            name.erase(0, 1);
        }
        cmd = {TKind::Parameter, name, id, line, L"=" + params, flag < 8, (flag & 11) == 0};
        return true;
    }
    line = ExpandTabs(ClassLib::UpperCase(first) + L" " + rest);
    if (ClassLib::Trim(line).empty()) return false;
    String tail = line;
    const String name = FetchField(tail, L" ");
    const TKind kind = rest.empty() ? TKind::Bare : TKind::Described;
    const String info = kind == TKind::Described ? L" " + ClassLib::Trim(tail) : String();
    cmd = {kind, name, MakeId(name, true), line, info, true, false};
    return true;
}

// ---- the C source

const String Hyphens34(34, L'-');
const String Hyphens30(30, L'-');

void AppendBlockHead(TSourceText& c, const TCommand& cmd) {
    c.Line(L"///[ " + cmd.Name + L" " + Hyphens34);
    c.Line(L"///{ " + cmd.ListLine);
    c.Line(L"const char " + cmd.Id + L"[] PROGMEM = \"" + cmd.Name + L"\";");
    c.Line(L"const char " + cmd.Id + L"_inf[] PROGMEM = \"" + cmd.Info + L"\";");
}

void AppendNewBlock(TSourceText& c, const TCommand& cmd) {
    AppendBlockHead(c, cmd);
    if (cmd.HasSet) {
        c.Line(L"");
        c.Line(L"uint8_t " + cmd.Id + L"_set( uint8_t uart_nr, char * params ) {");
        c.Lines({L"    /* ... enter your code here ... */", L"    return 0;    // exit code: 0-OK, 1-ERROR", L"}"});
    }
    if (cmd.HasGet) {
        c.Line(L"");
        c.Line(L"void " + cmd.Id + L"_get( uint8_t uart_nr ) {");
        c.Lines({L"    /* ... enter your code here ... */", L"}"});
    }
    c.Line(L"//}]--- " + cmd.Name + L" end " + Hyphens30);
    c.Lines({L"", L""});
}

// A block read back from a file: its user code is kept; with auto-correct its first
// four lines follow the current list line.
void AppendStoredBlock(TSourceText& c, const TCommand& cmd, const String& block, bool autoCorrect) {
    if (!autoCorrect) {
        c.Added(block);
        return;
    }
    AppendBlockHead(c, cmd);
    const TLines lines = SplitText(block);
    for (size_t i = 4; i < lines.size(); ++i) c.Line(ExpandTabs(lines[i]));
    c.Lines({L"", L""});
}

String TableRow(const TCommand& cmd) {
    const String set = cmd.HasSet ? cmd.Id + L"_set" : L"NULL";
    const String get = cmd.HasGet ? cmd.Id + L"_get" : L"NULL";
    return L"    { .at_cmd = " + cmd.Id + L", .at_inf = " + cmd.Id + L"_inf, .at_set = " + set + L", .at_get = " + get +
           L" },     // " + cmd.Name;
}

void AppendSection(TSourceText& c, const ClassLib::TStringList& section, const TLines& whenEmpty) {
    if (section.Count() > 0)
        c.Added(ClassLib::Trim(JoinWithBreaks(ReadLines(section))));
    else
        c.Lines(whenEmpty);
}

const TLines Section1Default = {L"//#1[ user section 1   (don't remove this line)",
                                L"// ..... enter other system includes below ......  ",
                                L"",
                                L"",
                                L"",
                                L"//#1]---   (don't remove this line)"};
const TLines Section2Default = {L"//#2[ user section 2   (don't remove this line)",
                                L"// ..... enter your includes, variables and/or additional functions ...... ",
                                L"",
                                L"",
                                L"",
                                L"//#2]---   (don't remove this line)"};

const wchar_t TableHead[] = L"const TATCMD atcmd[ AT_CMD_COUNT ] PROGMEM = {";

// Sort keys compare equal exactly when the locale's case-ignoring comparison does,
// so a hash of them finds the first matching name without a scan per command.
std::string LocaleKey(const String& s) {
    if (s.empty()) return {};
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    // One call does for the usual short name; a longer one asks for its size first.
    char small[256];
    int size = ::LCMapStringW(LOCALE_USER_DEFAULT, flags, s.c_str(), static_cast<int>(s.size()),
                              reinterpret_cast<LPWSTR>(small), sizeof small);
    if (size > 0) return std::string(small, static_cast<size_t>(size));
    size = ::LCMapStringW(LOCALE_USER_DEFAULT, flags, s.c_str(), static_cast<int>(s.size()), nullptr, 0);
    if (size > 0) {
        std::string key(static_cast<size_t>(size), '\0');
        if (::LCMapStringW(LOCALE_USER_DEFAULT, flags, s.c_str(), static_cast<int>(s.size()),
                           reinterpret_cast<LPWSTR>(key.data()), size) == size)
            return key;
    }
    // No sort key: fall back to ASCII case folding, kept apart from real keys.
    return "\xFF" + UserBlockCoding::ToUtf8(ClassLib::UpperCase(s));
}

}  // namespace

TAtGenerator::TAtGenerator()
    : atList(std::make_unique<ClassLib::TStringList>()),
      atFunList(std::make_unique<ClassLib::TStringList>()),
      sct1List(std::make_unique<ClassLib::TStringList>()),
      sct2List(std::make_unique<ClassLib::TStringList>()) {}

TAtGenerator::~TAtGenerator() = default;

void TAtGenerator::SetPanes(ClassLib::TStrings* atcmds, ClassLib::TStrings* memoC, ClassLib::TStrings* memoH,
                            ClassLib::TStrings* memo2) {
    FAtcmds = atcmds;
    FMemoC = memoC;
    FMemoH = memoH;
    FMemo2 = memo2;
}

void TAtGenerator::GenerateSources() {
    if (!FAtcmds || !FMemoC || !FMemoH || !FMemo2)
        throw ClassLib::EInvalidOperation(L"Cannot generate the sources: the generator has no panes.");
    const TGeneratorOptions options = OnReadOptions ? OnReadOptions() : Options;

    // Everything is built in memory first and the panes are written at the end, so a
    // failure on the way leaves them as they were.
    TLines list = CleanList(ReadLines(*FAtcmds));
    if (options.SortCommands) list = SortGroups(list);
    for (String& line : list) line = ExpandTabs(line);

    std::vector<TCommand> commands;
    commands.reserve(list.size());
    for (String& line : list) {
        TCommand cmd;
        if (ClassifyLine(line, cmd)) commands.push_back(std::move(cmd));
    }
    // The count is the number of table rows, so the firmware's table has no empty entries.
    const String count = std::to_wstring(commands.size());

    // The help text goes where the marker stands, so it is known before the source is built.
    String help;
    for (const String& line : list) help += L" *    " + line + CRLF;
    help = L" " + ClassLib::Trim(help);

    TSourceText c(L" * [hlp]", help);
    c.Reserve(commands.size() * 600 + help.size() + 4096);
    c.Lines({L"#include <avr/io.h>", L"#include <avr/pgmspace.h>", L"#include <util/delay.h>", L"#include <string.h>",
             L""});
    AppendSection(c, *sct1List, Section1Default);
    c.Lines({L"", L"#include \"../VX_MULTI_UART/vx_multi_uart.h\"", L"#include \"../VX_MULTI_UART/vx_at_cmd.h\"",
             L"#include \"vx_at_user_cmds.h\"", L""});
    AppendSection(c, *sct2List, Section2Default);
    c.Line(L"");
    c.Line(L"/* ------- AT COMMAND LIST  count: " + count + L" -------");
    c.Lines({L" *  ", L" *  SET - function for commands received from terminal to set parameters into uC",
             L" *  GET - function for commands received from terminal to return values from uC", L" *",
             L" *  Prefix description ( only for COMMANDS with parameters \"=\" )", L" *  ! - exlude GET function",
             L" *", L" * [hlp]", L" */", L"", L"", L"#if USE_AT_CMD == 1", L""});

    std::unordered_map<std::string, int> stored;
    const int storedCount = std::min(atList->Count(), atFunList->Count());
    for (int k = 0; k < storedCount; ++k) stored.emplace(LocaleKey(atList->Strings(k)), k);

    TLines table{TableHead};
    table.reserve(commands.size() + 5);
    for (const TCommand& cmd : commands) {
        const auto found = stored.empty() ? stored.end() : stored.find(LocaleKey(ClassLib::UpperCase(cmd.Name)));
        if (found == stored.end())
            AppendNewBlock(c, cmd);
        else
            AppendStoredBlock(c, cmd, UserBlockCoding::DecodeUserBlock(atFunList->Strings(found->second)),
                              options.AutoCorrectHeaders);
        table.push_back(TableRow(cmd));
    }
    table.insert(table.end(), {L"};", L"", L"", L"#endif\t\t//#if USE_AT_CMD == 1"});
    // As the table's text with a break after every row, as an editor's Add takes it.
    for (const String& row : table) c.Added(row);
    c.Line(L"");

    TLines h;
    for (const wchar_t* line :
         {L"#ifndef VX_MULTI_UART_VX_AT_USER_CMDS_H_", L"#define VX_MULTI_UART_VX_AT_USER_CMDS_H_", L"", L"",
          L"#define USE_HELP_VT100_COLORS\t\t<USE_VT100_COLORS>", L"", L"", L"", L"#define AT_CMD_COUNT\t\t\t<VX_AT_CMD_COUNT>",
          L"", L"", L"#endif /* VX_MULTI_UART_VX_AT_USER_CMDS_H_ */", L"", L""})
        AppendText(h, line);
    String header = ClassLib::StringReplace(JoinLines(h), L"<VX_AT_CMD_COUNT>", count, ClassLib::rfReplaceAll);
    header = ClassLib::StringReplace(header, L"<USE_VT100_COLORS>", options.UseVt100Colors ? L"1" : L"0",
                                     ClassLib::rfReplaceAll);

    StoreWholeText(*FAtcmds, list);
    StoreWholeText(*FMemo2, table);
    // The pane splits the text itself, exactly as a text set in one piece; an editor's pane
    // keeps the text's buffer instead of copying it.
    if (auto* editor = dynamic_cast<AdvMemo::TAdvMemoStrings*>(FMemoC)) editor->TakeText(c.Take());
    else FMemoC->SetText(c.Take());
    StoreLines(*FMemoH, SplitText(header));
}

void TAtGenerator::LoadUserBlocks(const std::wstring& fileName) {
    if (!ClassLib::FileExists(fileName)) return;
    // Read whole before anything is touched: a file that cannot be read changes nothing.
    ClassLib::TStringList file;
    file.LoadFromFile(fileName);
    const TLines lines = ReadLines(file);

    TLines names, blocks, section1, section2, listLines;
    bool inSection1 = false, inSection2 = false, inBlock = false;
    String blockName, blockText;
    for (const String& line : lines) {
        if (StartsWith(line, L"//#1[ ")) inSection1 = true;
        if (inSection1) {
            section1.push_back(line);
            if (StartsWith(line, L"//#1]")) inSection1 = false;
        }
        if (StartsWith(line, L"//#2[ ")) inSection2 = true;
        if (inSection2) {
            section2.push_back(line);
            if (StartsWith(line, L"//#2]")) inSection2 = false;
        }
        if (StartsWith(line, L"///{ ")) {
            String rest = line;
            FetchField(rest, L"{");
            listLines.push_back(ExpandTabs(rest));
        }
        if (StartsWith(line, L"///[ ")) {
            // A block still open here had no end line: it goes, and its name with it,
            // so that names and blocks stay paired.
            String rest = line;
            FetchField(rest, L" ");
            blockName = FetchField(rest, L" ");
            inBlock = true;
            blockText.clear();
        }
        if (inBlock) {
            blockText += line + CRLF;
            if (StartsWith(line, L"//}]---")) {
                names.push_back(blockName);
                blocks.push_back(UserBlockCoding::EncodeUserBlock(blockText));
                blockText.clear();
                inBlock = false;
            }
        }
    }

    StoreLines(*atList, names);
    StoreLines(*atFunList, blocks);
    StoreLines(*sct1List, section1);
    StoreLines(*sct2List, section2);
    if (FAtcmds) AddLines(*FAtcmds, listLines);
}

}  // namespace Unit1
