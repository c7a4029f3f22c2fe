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
using TView = std::wstring_view;

namespace {

using TLines = std::vector<String>;

const String CRLF = L"\r\n";
constexpr int TabSize = AdvMemo::DefaultTabSize;  // the editors' tab width; the program never changes it
constexpr TView HelpMarker = L" * [hlp]";

String ExpandTabs(const String& s) { return AdvMemo::ExpandTabs(s, TabSize); }

// Appending a text to an editor, as its Add does.
void AppendText(TLines& lines, const String& text) {
    for (String& line : AdvMemo::SplitAddedText(text, TabSize)) lines.push_back(std::move(line));
}

using AdvMemo::SplitText;

bool Contains(TView text, TView part) { return text.find(part) != TView::npos; }

// Trimming in the generator's sense: characters with codes 0 to 32 at both ends.
TView TrimControls(TView s) {
    size_t first = 0, last = s.size();
    while (first < last && s[first] <= L' ') ++first;
    while (last > first && s[last - 1] <= L' ') --last;
    return s.substr(first, last - first);
}

// Appends the text with every tab turned into the editors' blanks, and without its line
// feeds when they are to go (as an editor's Add drops them).
void AppendExpanded(String& out, TView text, bool dropFeeds) {
    for (const wchar_t c : text) {
        if (c == L'\t') out.append(static_cast<size_t>(TabSize), L' ');
        else if (c != L'\n' || !dropFeeds) out += c;
    }
}

wchar_t UpperAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - 32) : c; }
wchar_t LowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? wchar_t(c + 32) : c; }

// A plain string list's text: a break after every line.
String JoinWithBreaks(const TLines& lines) {
    String text;
    for (const String& line : lines) text += line + CRLF;
    return text;
}

// The lines of a whole text as a pane's text setter cuts it: CR, LF and CR LF each end a
// line, and a break at the very end adds no empty line.
template <typename F>
void ForEachLine(TView text, F&& visit) {
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = i;
        while (i < text.size() && text[i] != L'\r' && text[i] != L'\n') ++i;
        visit(text.substr(start, i - start));
        if (i < text.size() && text[i] == L'\r') ++i;
        if (i < text.size() && text[i] == L'\n') ++i;
    }
}

bool StartsWith(const String& line, const wchar_t* prefix) { return line.rfind(prefix, 0) == 0; }

// The C source, built line by line straight into the line store its pane then takes whole.
// Lines come in three kinds: generated ones known to hold no tab, break or help marker go in
// as they are; other generated ones and the user's texts go through the pane's rules (an
// appended text has its tabs expanded and is cut at every CR), and every help marker in them
// is replaced by the help text, whose breaks make lines of their own.
class TSourceLines {
public:
    // Fills `lines`, which it first empties (keeping its memory); `scratch` holds the lines
    // that are worked on before they are stored.
    TSourceLines(AdvMemo::TLineStore& lines, const String& help, String& scratch)
        : FHelp(help), FLines(lines), FScratch(scratch) {
        FLines.Recycle();
    }

    void Line(std::initializer_list<TView> pieces) { FLines.AppendLine(pieces); }
    // A generated line that may hold a marker or a break (the user's list line is part of it).
    void Cooked(std::initializer_list<TView> pieces) {
        String line;
        for (const TView piece : pieces) line += piece;
        Store(line);
    }
    // A text as an editor's Add takes it: tabs expanded, line feeds dropped, every CR ends a line.
    void Added(TView text) {
        size_t start = 0;
        for (;;) {
            const size_t cr = text.find(L'\r', start);
            const TView piece = text.substr(start, cr == TView::npos ? TView::npos : cr - start);
            if (IsPlain(piece)) {
                FLines.AppendLine({piece});
            } else {
                FExpanded.clear();
                AppendExpanded(FExpanded, piece, true);
                Store(FExpanded);
            }
            if (cr == TView::npos) break;
            start = cr + 1;
        }
    }
    // A line with its tabs expanded, as an editor's line setter stores it.
    void Expanded(TView line) {
        if (!Contains(line, L"\t")) {
            Store(line);
            return;
        }
        FExpanded.clear();
        AppendExpanded(FExpanded, line, false);
        Store(FExpanded);
    }
    void Reserve(size_t lines) { FLines.Reserve(lines); }

private:
    // No tab, no break and no help marker: nothing to do but store it.
    static bool IsPlain(TView line) {
        bool bracket = false;
        for (const wchar_t c : line) {
            if (c <= L'\r' && (c == L'\t' || c == L'\n' || c == L'\r')) return false;
            bracket |= c == L'[';
        }
        return !bracket || !Contains(line, HelpMarker);
    }
    // Markers replaced, then cut into lines as the pane cuts its whole text (the line is
    // followed by a break, so a break at its end leaves an empty line).
    void Store(TView line) {
        if (!Contains(line, HelpMarker) && line.find_first_of(L"\r\n") == TView::npos) {
            FLines.AppendLine({line});
            return;
        }
        String& text = FScratch;
        text.clear();
        size_t start = 0;
        for (size_t found; (found = line.find(HelpMarker, start)) != TView::npos; start = found + HelpMarker.size()) {
            text += line.substr(start, found - start);
            text += FHelp;
        }
        text += line.substr(start);
        text += CRLF;
        ForEachLine(text, [this](TView piece) { FLines.AppendLine({piece}); });
    }

    const String& FHelp;
    AdvMemo::TLineStore& FLines;
    String& FScratch;
    String FExpanded;
};

// ---- the command list

// The lines of a pane as views; an editor's lines are read where they are stored.
class TPaneLines {
public:
    explicit TPaneLines(const ClassLib::TStrings& pane) {
        const int count = pane.Count();
        FViews.reserve(static_cast<size_t>(count));
        if (const auto* editor = dynamic_cast<const AdvMemo::TAdvMemoStrings*>(&pane)) {
            for (int i = 0; i < count; ++i) FViews.push_back(editor->View(i));
            return;
        }
        FCopies.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) FCopies.push_back(pane.Strings(i));
        for (const String& line : FCopies) FViews.push_back(line);
    }
    const std::vector<TView>& Lines() const { return FViews; }

private:
    TLines FCopies;
    std::vector<TView> FViews;
};

// Blank lines go; text after a "*" replaces the line, so a help line pasted back
// (" *    AT+X=1") gives its command again.
std::vector<TView> CleanList(const std::vector<TView>& source) {
    std::vector<TView> cleaned;
    cleaned.reserve(source.size());
    for (const TView line : source) {
        if (TrimControls(line).empty()) continue;
        TView after = line;
        const TView before = FetchField(after, L"*");
        cleaned.push_back(TrimControls(after).empty() ? before : after);
    }
    return cleaned;
}

// Appends the sort key of the user's locale with case ignored: keys compare byte by byte
// as the locale's case-ignoring comparison compares the texts, and equal exactly when it
// finds them equal. An empty text has the empty key.
void AppendLocaleKey(TView s, std::string& keys) {
    if (s.empty()) return;
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = static_cast<int>(s.size());
    const size_t at = keys.size();
    // One call does for the usual short line; a longer one asks for its size first.
    constexpr int Room = 256;
    keys.resize(at + Room);
    int size = ::LCMapStringW(LOCALE_USER_DEFAULT, flags, s.data(), length, reinterpret_cast<LPWSTR>(keys.data() + at), Room);
    if (size <= 0) {
        size = ::LCMapStringW(LOCALE_USER_DEFAULT, flags, s.data(), length, nullptr, 0);
        if (size > 0) {
            keys.resize(at + static_cast<size_t>(size));
            size = ::LCMapStringW(LOCALE_USER_DEFAULT, flags, s.data(), length, reinterpret_cast<LPWSTR>(keys.data() + at), size);
        }
    }
    if (size > 0) {
        keys.resize(at + static_cast<size_t>(size));
        return;
    }
    // No sort key: ASCII case folding, kept apart from real keys.
    keys.resize(at);
    keys += '\xFF';
    keys += UserBlockCoding::ToUtf8(ClassLib::UpperCase(String(s)));
}

// The keys of many texts in one buffer.
class TLocaleKeys {
public:
    void Add(TView s) {
        const size_t at = FBytes.size();
        AppendLocaleKey(s, FBytes);
        FSpans.push_back({at, FBytes.size() - at});
    }
    std::string_view Key(size_t index) const {
        return std::string_view(FBytes).substr(FSpans[index].first, FSpans[index].second);
    }
    void Reserve(size_t count) {
        FSpans.reserve(count);
        FBytes.reserve(count * 64);
    }

private:
    std::string FBytes;
    std::vector<std::pair<size_t, size_t>> FSpans;
};

bool IsAtPlusLine(TView line) {
    return line.size() >= 3 && UpperAscii(line[0]) == L'A' && UpperAscii(line[1]) == L'T' && line[2] == L'+';
}

// Other commands first, then the "AT+" ones, each group in the user's collation (equal
// lines keep their order). Each line's key is made once; the sort compares key bytes.
std::vector<TView> SortGroups(const std::vector<TView>& cleaned) {
    TLocaleKeys keys;
    keys.Reserve(cleaned.size());
    for (const TView line : cleaned) keys.Add(line);
    std::vector<size_t> others, atPlus;
    for (size_t i = 0; i < cleaned.size(); ++i) (IsAtPlusLine(cleaned[i]) ? atPlus : others).push_back(i);
    const auto byKey = [&keys](size_t a, size_t b) { return keys.Key(a) < keys.Key(b); };
    std::stable_sort(others.begin(), others.end(), byKey);
    std::stable_sort(atPlus.begin(), atPlus.end(), byKey);
    std::vector<TView> sorted;
    sorted.reserve(cleaned.size());
    for (const size_t i : others) sorted.push_back(cleaned[i]);
    for (const size_t i : atPlus) sorted.push_back(cleaned[i]);
    return sorted;
}

enum class TKind { Parameter, Described, Bare };

// One command of the list. The views point into the generator's list and identifier texts.
struct TCommand {
    TKind Kind = TKind::Bare;
    TView Name;      // upper case, without a prefix flag
    TView Id;        // the C name stem
    TView ListLine;  // the rewritten list line, prefix included
    TView InfoLead;  // the text of the "_inf" string: InfoLead then Info
    TView Info;
    bool HasSet = true;
    bool HasGet = false;
    // The list line holds no break and neither it nor the identifier a help marker, so the
    // block's lines go into the source as they are.
    bool Plain = true;
};

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

// The rewritten list lines and the identifiers of one run, each text in one buffer that is
// reserved for the longest rewrite of every line, so views into them stay valid.
class TCommandList {
public:
    explicit TCommandList(const std::vector<TView>& lines) {
        size_t characters = 0;
        for (const TView line : lines) {
            for (const wchar_t c : line) characters += c == L'\t' ? TabSize : 1;
            characters += 3;  // a blank a rewrite may add, and the break
        }
        FListText.reserve(characters);
        FIds.reserve(characters);
        FListLines.reserve(lines.size());
        Commands.reserve(lines.size());
        for (const TView line : lines) Classify(line);
    }

    // The list as the command list pane shows it afterwards: lines joined by CR LF.
    String& ListText() { return FListText; }
    const std::vector<TView>& ListLines() const { return FListLines; }
    std::vector<TCommand> Commands;

private:
    // Appends a line to the list text and returns it as a view; its pieces come from the
    // expanded line, so they hold no tab.
    TView AppendListLine(std::initializer_list<TView> pieces) {
        if (!FListLines.empty()) FListText += CRLF;
        const size_t at = FListText.size();
        for (const TView piece : pieces) FListText += piece;
        const TView line = TView(FListText).substr(at);
        FListLines.push_back(line);
        return line;
    }
    TView AppendUpper(TView text) {
        const size_t at = FUpper.size();
        for (const wchar_t c : text) FUpper += UpperAscii(c);
        return TView(FUpper).substr(at);
    }
    TView MakeId(TView name, bool dropQuery) {
        const size_t at = FIds.size();
        for (const wchar_t c : name) {
            if (dropQuery && c == L'?') continue;
            FIds += c == L'+' ? L'_' : LowerAscii(c);
        }
        return TView(FIds).substr(at);
    }

    // Rewrites the line as the list will show it; makes no command for the line of one
    // blank left from a "*" line.
    void Classify(TView source) {
        // Tabs first, as the list line's tabs are expanded before it is read.
        FExpanded.clear();
        AppendExpanded(FExpanded, source, false);
        const TView line = FExpanded;
        TView rest = line;
        const TView first = FetchField(rest, L" ");
        FUpper.clear();
        if (first.find(L'=') != TView::npos) {
            TView params = line;
            const TView name = AppendUpper(FetchField(params, L"="));
            const TView listLine = AppendListLine({name, L"=", params});
            TView id = MakeId(name, false);
            TView bareName = listLine.substr(0, name.size());
            const int flag = id.empty() ? 0 : PrefixFlag(id[0]);
            if (flag != 0) {
                id.remove_prefix(1);
                bareName.remove_prefix(1);
            }
            Add({TKind::Parameter, bareName, id, listLine, {}, listLine.substr(name.size()), flag < 8, (flag & 11) == 0});
            return;
        }
        const TView listLine = AppendListLine({AppendUpper(first), L" ", rest});
        if (TrimControls(listLine).empty()) return;
        TView tail = listLine;
        const TView name = FetchField(tail, L" ");
        if (rest.empty()) Add({TKind::Bare, name, MakeId(name, true), listLine, {}, {}, true, false});
        else Add({TKind::Described, name, MakeId(name, true), listLine, L" ", TrimControls(tail), true, false});
    }
    void Add(TCommand cmd) {
        cmd.Plain = cmd.ListLine.find_first_of(L"\r\n") == TView::npos && !Contains(cmd.ListLine, L"[hlp]") &&
                    !Contains(cmd.Id, L"[hlp]");
        Commands.push_back(cmd);
    }

    String FListText, FIds;  // invariant: never reallocated after the constructor reserved them
    std::vector<TView> FListLines;
    String FExpanded, FUpper;
};

// ---- the C source

constexpr TView Hyphens34 = L"----------------------------------";
constexpr TView Hyphens30 = L"------------------------------";

void AppendLine(TSourceLines& c, const TCommand& cmd, std::initializer_list<TView> pieces) {
    if (cmd.Plain) c.Line(pieces);
    else c.Cooked(pieces);
}

void AppendBlockHead(TSourceLines& c, const TCommand& cmd) {
    AppendLine(c, cmd, {L"///[ ", cmd.Name, L" ", Hyphens34});
    AppendLine(c, cmd, {L"///{ ", cmd.ListLine});
    AppendLine(c, cmd, {L"const char ", cmd.Id, L"[] PROGMEM = \"", cmd.Name, L"\";"});
    AppendLine(c, cmd, {L"const char ", cmd.Id, L"_inf[] PROGMEM = \"", cmd.InfoLead, cmd.Info, L"\";"});
}

void AppendNewBlock(TSourceLines& c, const TCommand& cmd) {
    AppendBlockHead(c, cmd);
    if (cmd.HasSet) {
        c.Line({});
        AppendLine(c, cmd, {L"uint8_t ", cmd.Id, L"_set( uint8_t uart_nr, char * params ) {"});
        c.Line({L"    /* ... enter your code here ... */"});
        c.Line({L"    return 0;    // exit code: 0-OK, 1-ERROR"});
        c.Line({L"}"});
    }
    if (cmd.HasGet) {
        c.Line({});
        AppendLine(c, cmd, {L"void ", cmd.Id, L"_get( uint8_t uart_nr ) {"});
        c.Line({L"    /* ... enter your code here ... */"});
        c.Line({L"}"});
    }
    AppendLine(c, cmd, {L"//}]--- ", cmd.Name, L" end ", Hyphens30});
    c.Line({});
    c.Line({});
}

// A block read back from a file: its user code is kept; with auto-correct its first
// four lines follow the current list line.
void AppendStoredBlock(TSourceLines& c, const TCommand& cmd, const String& block, bool autoCorrect) {
    if (!autoCorrect) {
        c.Added(block);
        return;
    }
    AppendBlockHead(c, cmd);
    size_t index = 0;
    ForEachLine(block, [&](TView line) {
        if (index++ >= 4) c.Expanded(line);
    });
    c.Line({});
    c.Line({});
}

// The row of a command in the table, appended to the table's text.
void AppendTableRow(String& table, const TCommand& cmd) {
    table += L"    { .at_cmd = ";
    table += cmd.Id;
    table += L", .at_inf = ";
    table += cmd.Id;
    // A function's entry: its name, or NULL where none is made.
    const auto function = [&](bool made, TView suffix) {
        if (!made) {
            table += L"NULL";
            return;
        }
        table += cmd.Id;
        table += suffix;
    };
    table += L"_inf, .at_set = ";
    function(cmd.HasSet, L"_set");
    table += L", .at_get = ";
    function(cmd.HasGet, L"_get");
    table += L" },     // ";
    table += cmd.Name;
}

// Lines read from a plain string list.
TLines ReadLines(const ClassLib::TStrings& store) {
    TLines lines;
    lines.reserve(store.Count());
    for (int i = 0; i < store.Count(); ++i) lines.push_back(store.Strings(i));
    return lines;
}

void AppendSection(TSourceLines& c, const ClassLib::TStringList& section, std::initializer_list<TView> whenEmpty) {
    if (section.Count() > 0) {
        c.Added(ClassLib::Trim(JoinWithBreaks(ReadLines(section))));
        return;
    }
    for (const TView line : whenEmpty) c.Line({line});
}

constexpr TView TableHead = L"const TATCMD atcmd[ AT_CMD_COUNT ] PROGMEM = {";

// ---- line store access

void AddLines(ClassLib::TStrings& store, const TLines& lines) {
    ClassLib::TUpdateScope update(store);
    for (const String& line : lines) store.Add(line);
}

void StoreLines(ClassLib::TStrings& store, const TLines& lines) {
    ClassLib::TUpdateScope update(store);
    store.Clear();
    for (const String& line : lines) store.Add(line);
}

// Fills a pane with the lines of a text joined by CR LF: in one piece when they survive the
// pane's split unchanged (no break inside a line, no empty last line), else line by line.
// An editor takes the text's buffer over.
void StoreText(ClassLib::TStrings& store, String& text, const std::vector<TView>& lines, bool breaksInLines) {
    if (!breaksInLines && !lines.empty() && !lines.back().empty()) {
        if (auto* editor = dynamic_cast<AdvMemo::TAdvMemoStrings*>(&store)) editor->TakeText(std::move(text));
        else store.SetText(text);
        return;
    }
    TLines copies(lines.begin(), lines.end());
    StoreLines(store, copies);
}

}  // namespace

struct TAtGenerator::TWork {
    AdvMemo::TLineStore Source;  // the C source's lines; after a run, the lines they replaced
    String Help;
    String Table;
    String Scratch;
};

TAtGenerator::TAtGenerator()
    : atList(std::make_unique<ClassLib::TStringList>()),
      atFunList(std::make_unique<ClassLib::TStringList>()),
      sct1List(std::make_unique<ClassLib::TStringList>()),
      sct2List(std::make_unique<ClassLib::TStringList>()),
      FWork(std::make_unique<TWork>()) {}

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
    const TPaneLines pane(*FAtcmds);
    std::vector<TView> cleaned = CleanList(pane.Lines());
    if (options.SortCommands) cleaned = SortGroups(cleaned);
    TCommandList list(cleaned);
    const std::vector<TCommand>& commands = list.Commands;
    // The count is the number of table rows, so the firmware's table has no empty entries.
    const String count = std::to_wstring(commands.size());

    // The help text goes where the marker stands, so it is known before the source is built.
    String& help = FWork->Help;
    help.clear();
    for (const TView line : list.ListLines()) {
        help += L" *    ";
        help += line;
        help += CRLF;
    }
    // Trimmed, with one blank put in front: the text starts with a blank and a "*", so only
    // its end changes (the last break goes, and the last line's trailing blanks).
    while (!help.empty() && help.back() <= L' ') help.pop_back();
    if (help.empty()) help = L" ";

    TSourceLines c(FWork->Source, help, FWork->Scratch);
    c.Reserve(commands.size() * 16 + 64);
    for (const TView line : {L"#include <avr/io.h>", L"#include <avr/pgmspace.h>", L"#include <util/delay.h>",
                             L"#include <string.h>", L""})
        c.Line({line});
    AppendSection(c, *sct1List,
                  {L"//#1[ user section 1   (don't remove this line)", L"// ..... enter other system includes below ......  ",
                   L"", L"", L"", L"//#1]---   (don't remove this line)"});
    for (const TView line : {L"", L"#include \"../VX_MULTI_UART/vx_multi_uart.h\"", L"#include \"../VX_MULTI_UART/vx_at_cmd.h\"",
                             L"#include \"vx_at_user_cmds.h\"", L""})
        c.Line({line});
    AppendSection(c, *sct2List,
                  {L"//#2[ user section 2   (don't remove this line)",
                   L"// ..... enter your includes, variables and/or additional functions ...... ", L"", L"", L"",
                   L"//#2]---   (don't remove this line)"});
    c.Line({});
    c.Line({L"/* ------- AT COMMAND LIST  count: ", count, L" -------"});
    for (const TView line : {L" *  ", L" *  SET - function for commands received from terminal to set parameters into uC",
                             L" *  GET - function for commands received from terminal to return values from uC", L" *",
                             L" *  Prefix description ( only for COMMANDS with parameters \"=\" )",
                             L" *  ! - exlude GET function", L" *"})
        c.Line({line});
    c.Cooked({HelpMarker});
    for (const TView line : {L" */", L"", L"", L"#if USE_AT_CMD == 1", L""}) c.Line({line});

    // Stored blocks are found by their names' keys, the first of equal names winning.
    TLocaleKeys storedKeys;
    std::unordered_map<std::string_view, int> stored;
    const int storedCount = std::min(atList->Count(), atFunList->Count());
    storedKeys.Reserve(static_cast<size_t>(storedCount));
    for (int k = 0; k < storedCount; ++k) storedKeys.Add(atList->Strings(k));
    for (int k = 0; k < storedCount; ++k) stored.emplace(storedKeys.Key(static_cast<size_t>(k)), k);
    std::string nameKey;

    // The table collector's text: its head, a row per block, its tail; where each line
    // stands in it is noted as it grows.
    String& table = FWork->Table;
    table.assign(TableHead);
    std::vector<std::pair<size_t, size_t>> tableSpans{{0, TableHead.size()}};
    tableSpans.reserve(commands.size() + 5);
    bool breaksInRows = false;
    for (const TCommand& cmd : commands) {
        int found = -1;
        if (!stored.empty()) {
            nameKey.clear();
            AppendLocaleKey(cmd.Name, nameKey);
            const auto at = stored.find(nameKey);
            if (at != stored.end()) found = at->second;
        }
        if (found < 0)
            AppendNewBlock(c, cmd);
        else
            AppendStoredBlock(c, cmd, UserBlockCoding::DecodeUserBlock(atFunList->Strings(found)),
                              options.AutoCorrectHeaders);
        table += CRLF;
        const size_t rowStart = table.size();
        AppendTableRow(table, cmd);
        tableSpans.push_back({rowStart, table.size() - rowStart});
        breaksInRows |= cmd.ListLine.find_first_of(L"\r\n") != TView::npos;
    }
    for (const TView line : {L"};", L"", L"", L"#endif\t\t//#if USE_AT_CMD == 1"}) {
        table += CRLF;
        tableSpans.push_back({table.size(), line.size()});
        table += line;
    }
    std::vector<TView> tableLines;
    tableLines.reserve(tableSpans.size());
    for (const auto& [start, length] : tableSpans) tableLines.push_back(TView(table).substr(start, length));
    // As the table's text with a break after every row, as an editor's Add takes it.
    for (const TView line : tableLines) c.Added(line);
    FWork->Source.DropSpare();

    TLines h;
    for (const wchar_t* line :
         {L"#ifndef VX_MULTI_UART_VX_AT_USER_CMDS_H_", L"#define VX_MULTI_UART_VX_AT_USER_CMDS_H_", L"", L"",
          L"#define USE_HELP_VT100_COLORS\t\t<USE_VT100_COLORS>", L"", L"", L"", L"#define AT_CMD_COUNT\t\t\t<VX_AT_CMD_COUNT>",
          L"", L"", L"#endif /* VX_MULTI_UART_VX_AT_USER_CMDS_H_ */", L"", L""})
        AppendText(h, line);
    String header;
    for (size_t i = 0; i < h.size(); ++i) header += (i > 0 ? CRLF : String()) + h[i];
    header = ClassLib::StringReplace(header, L"<VX_AT_CMD_COUNT>", count, ClassLib::rfReplaceAll);
    header = ClassLib::StringReplace(header, L"<USE_VT100_COLORS>", options.UseVt100Colors ? L"1" : L"0",
                                     ClassLib::rfReplaceAll);

    bool breaksInList = false;
    for (const TView line : list.ListLines()) breaksInList |= line.find_first_of(L"\r\n") != TView::npos;
    StoreText(*FAtcmds, list.ListText(), list.ListLines(), breaksInList);
    // A row holds a break only where its list line did (a plain list's line may).
    StoreText(*FMemo2, table, tableLines, breaksInRows);
    if (auto* editor = dynamic_cast<AdvMemo::TAdvMemoStrings*>(FMemoC)) {
        editor->TakeLines(FWork->Source);
    } else {
        String text;
        for (int i = 0; i < FWork->Source.Count(); ++i) {
            if (i > 0) text += CRLF;
            text += FWork->Source.Text(i);
        }
        FMemoC->SetText(text);
    }
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
