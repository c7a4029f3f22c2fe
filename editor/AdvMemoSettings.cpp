// The memo's settings file: its look and behaviour in section "Memo Settings" of an INI file.
// One list of keys serves saving and loading, so both keep the same keys in the same order.
#include "editor/AdvMemo.h"

#include "classlib/Colors.h"
#include "classlib/Exceptions.h"
#include "classlib/IniFiles.h"

#include <windows.h>

#include <climits>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace AdvMemo {

using ClassLib::TColor;
using ClassLib::TFontStyles;

namespace {

const wchar_t kSection[] = L"Memo Settings";

struct TStyleName { ClassLib::TFontStyle Style; const wchar_t* Name; };
const TStyleName kStyleNames[] = {
    {ClassLib::fsBold, L"fsBold"}, {ClassLib::fsItalic, L"fsItalic"},
    {ClassLib::fsUnderline, L"fsUnderline"}, {ClassLib::fsStrikeOut, L"fsStrikeOut"},
};

std::wstring StylesText(TFontStyles styles) {
    std::wstring text;
    for (const TStyleName& s : kStyleNames)
        if (styles.Contains(s.Style)) text += s.Name;
    return text;
}

// Styles named anywhere in the text are added; none is taken away.
TFontStyles WithStylesOf(const std::wstring& text, TFontStyles styles) {
    for (const TStyleName& s : kStyleNames)
        if (text.find(s.Name) != std::wstring::npos) styles += s.Style;
    return styles;
}

// The values an integer key may hold: beyond them a setting breaks the memo (a tab size of
// 2147483647 makes every tab that many blanks; a huge font size reads back as -1).
struct TRange {
    int Min = INT_MIN, Max = INT_MAX;
};
constexpr TRange kAnyInt{};
constexpr TRange kTabSizes{1, 64};
constexpr TRange kFontSizes{1, 1000};

// Writes each key from the memo's current value; returns that value.
class TSaveKeys {
public:
    explicit TSaveKeys(ClassLib::TIniFile& ini) : FIni(ini) {}
    bool Bool(const wchar_t* key, bool value, auto&&) { FIni.WriteBool(kSection, key, value); return value; }
    int Int(const wchar_t* key, int value, auto&&, TRange = kAnyInt) { FIni.WriteInteger(kSection, key, value); return value; }
    void Text(const wchar_t* key, const std::wstring& value, auto&&) { FIni.WriteString(kSection, key, value); }
    void Colour(const wchar_t* key, TColor value, auto&&) { FIni.WriteString(kSection, key, ClassLib::ColorToString(value)); }
    void Styles(const wchar_t* key, TFontStyles value, auto&&) { FIni.WriteString(kSection, key, StylesText(value)); }
    void Choice(const wchar_t* key, int value, std::initializer_list<const wchar_t*> names, const wchar_t*, auto&&) {
        FIni.WriteString(kSection, key, names.begin()[value]);
    }
private:
    ClassLib::TIniFile& FIni;
};

// Reads every key first, the current value standing in for a missing one, and keeps what to
// set; Apply sets it all. The section is read from the file once: some 80 keys read through
// the system one by one each went to the file again. A colour that does not convert, or a number out of its key's range,
// raises before anything is set.
class TLoadKeys {
public:
    explicit TLoadKeys(const ClassLib::TIniFileSection& ini) : FIni(ini) {}
    bool Bool(const wchar_t* key, bool value, std::function<void(bool)> set) {
        const bool read = FIni.ReadBool(key, value);
        FSteps.push_back([set, read] { set(read); });
        return read;
    }
    int Int(const wchar_t* key, int value, std::function<void(int)> set, TRange range = kAnyInt) {
        const int read = FIni.ReadInteger(key, value);
        if (read < range.Min || read > range.Max)
            throw ClassLib::EConvertError(L"\"" + FIni.ReadString(key, L"") + L"\" is out of range (" +
                                          std::to_wstring(range.Min) + L" to " + std::to_wstring(range.Max) +
                                          L"): key \"" + key + L"\" of \"" + FIni.FileName() +
                                          L"\"; no setting was changed");
        FSteps.push_back([set, read] { set(read); });
        return read;
    }
    void Text(const wchar_t* key, const std::wstring& value, std::function<void(const std::wstring&)> set) {
        std::wstring read = FIni.ReadString(key, value);
        FSteps.push_back([set, read = std::move(read)] { set(read); });
    }
    void Colour(const wchar_t* key, TColor value, std::function<void(TColor)> set) {
        const std::wstring text = FIni.ReadString(key, ClassLib::ColorToString(value));
        TColor read = value;
        try {
            read = ClassLib::StringToColor(text);
        } catch (const ClassLib::EConvertError&) {
            throw ClassLib::EConvertError(L"\"" + text + L"\" is not a colour: key \"" + key + L"\" of \"" +
                                          FIni.FileName() + L"\"; no setting was changed");
        }
        FSteps.push_back([set, read] { set(read); });
    }
    void Styles(const wchar_t* key, TFontStyles value, std::function<void(TFontStyles)> set) {
        const TFontStyles read = WithStylesOf(FIni.ReadString(key, L""), value);
        FSteps.push_back([set, read] { set(read); });
    }
    // The member whose name is the value; an unknown name changes nothing.
    void Choice(const wchar_t* key, int, std::initializer_list<const wchar_t*> names, const wchar_t* missing,
                std::function<void(int)> set) {
        const std::wstring text = FIni.ReadString(key, missing);
        int index = 0;
        for (const wchar_t* name : names) {
            if (text == name) {
                FSteps.push_back([set, index] { set(index); });
                return;
            }
            ++index;
        }
    }
    void Apply() {
        for (const auto& step : FSteps) step();
    }
private:
    const ClassLib::TIniFileSection& FIni;
    std::vector<std::function<void()>> FSteps;
};

// A font's name, colour, size in points and added styles, through the font's own setters.
template <class V>
void VisitFont(V& v, ClassLib::TFont* font, const wchar_t* name, const wchar_t* colour, const wchar_t* size,
               const wchar_t* style) {
    v.Text(name, font->Name(), [font](const std::wstring& x) { font->SetName(x); });
    v.Colour(colour, font->Color(), [font](TColor x) { font->SetColor(x); });
    v.Int(size, font->Size(), [font](int x) { font->SetSize(x); }, kFontSizes);
    v.Styles(style, font->Style(), [font](TFontStyles x) { font->SetStyle(x); });
}

// Every key in the file's order.
template <class V>
void VisitKeys(TAdvCustomMemo& m, V& v) {
    TAdvActiveLineSettings* active = m.ActiveLineSettings();
    v.Colour(L"ActiveLineColor", active->ActiveLineColor(), [active](TColor x) { active->SetActiveLineColor(x); });
    v.Colour(L"ActiveLineTextColor", active->ActiveLineTextColor(), [active](TColor x) { active->SetActiveLineTextColor(x); });
    v.Bool(L"ShowActiveLine", active->ShowActiveLine(), [active](bool x) { active->SetShowActiveLine(x); });
    v.Bool(L"ShowActiveLineIndicator", active->ShowActiveLineIndicator(), [active](bool x) { active->SetShowActiveLineIndicator(x); });

    TAdvGutter* g = m.Gutter();
    v.Bool(L"ShowGutter", g->Visible(), [g](bool x) { g->SetVisible(x); });
    v.Int(L"GutterDigitCount", g->DigitCount(), [g](int x) { g->SetDigitCount(x); });
    v.Colour(L"GutterColor", g->GutterColor(), [g](TColor x) { g->SetGutterColor(x); });
    v.Colour(L"GutterColorTo", g->GutterColorTo(), [g](TColor x) { g->SetGutterColorTo(x); });
    // The margin is kept at least half the width: it is set after the width it was saved with.
    const int margin = v.Int(L"GutterMargin", g->GutterMargin(), [](int) {});
    v.Int(L"GutterWidth", g->GutterWidth(), [g, margin](int x) {
        g->SetGutterWidth(x);
        g->SetGutterMargin(margin);
    });
    v.Bool(L"ShowLineNumbers", g->ShowLineNumbers(), [g](bool x) { g->SetShowLineNumbers(x); });
    v.Int(L"LineNumberStart", g->LineNumberStart(), [g](int x) { g->SetLineNumberStart(x); });
    v.Colour(L"LineNumberTextColor", g->LineNumberTextColor(), [g](TColor x) { g->SetLineNumberTextColor(x); });
    v.Bool(L"ShowLeadingZeros", g->ShowLeadingZeros(), [g](bool x) { g->SetShowLeadingZeros(x); });
    ClassLib::TFont* gutterFont = g->Font();
    v.Text(L"GutterFontName", gutterFont->Name(), [gutterFont](const std::wstring& x) { gutterFont->SetName(x); });
    v.Colour(L"GutterFontColor", gutterFont->Color(), [gutterFont](TColor x) { gutterFont->SetColor(x); });
    v.Int(L"GutterFontSize", gutterFont->Size(), [gutterFont](int x) { gutterFont->SetSize(x); }, kFontSizes);
    v.Text(L"GutterNumberSuffix", g->NumberSuffix(), [g](const std::wstring& x) { g->SetNumberSuffix(x); });
    v.Styles(L"GutterFontStyle", gutterFont->Style(), [gutterFont](TFontStyles x) { gutterFont->SetStyle(x); });

    TAutoCompletion* ac = m.AutoCompletion();
    v.Bool(L"AutoCompletionActive", ac->Active(), [ac](bool x) { ac->SetActive(x); });
    v.Colour(L"AutoCompletionColor", ac->Color(), [ac](TColor x) { ac->SetColor(x); });
    v.Colour(L"AutoCompletionColorEvent", ac->ColorEvent(), [ac](TColor x) { ac->SetColorEvent(x); });
    v.Colour(L"AutoCompletionColorFunc", ac->ColorFunc(), [ac](TColor x) { ac->SetColorFunc(x); });
    v.Colour(L"AutoCompletionColorIdentifier", ac->ColorIdentifier(), [ac](TColor x) { ac->SetColorIdentifier(x); });
    v.Colour(L"AutoCompletionColorMethod", ac->ColorMethod(), [ac](TColor x) { ac->SetColorMethod(x); });
    v.Colour(L"AutoCompletionColorProc", ac->ColorProc(), [ac](TColor x) { ac->SetColorProc(x); });
    v.Colour(L"AutoCompletionColorVar", ac->ColorVar(), [ac](TColor x) { ac->SetColorVar(x); });
    // Through the setter: the completion timer takes the new interval.
    v.Int(L"AutoCompletionDelay", ac->Delay(), [ac](int x) { ac->SetDelay(x); });
    v.Bool(L"AutoCompletionShowImages", ac->ShowImages(), [ac](bool x) { ac->SetShowImages(x); });
    v.Bool(L"AutoCompletionSizeDropDown", ac->SizeDropDown(), [ac](bool x) { ac->SetSizeDropDown(x); });
    v.Int(L"AutoCompletionWidth", ac->Width(), [ac](int x) { ac->SetWidth(x); });
    VisitFont(v, ac->Font(), L"AutoCompletionFontName", L"AutoCompletionFontColor", L"AutoCompletionFontSize",
              L"AutoCompletionFontStyle");

    TAdvCustomMemo* p = &m;
    v.Int(L"AutoHintParameterDelay", m.AutoHintParameterDelay(), [p](int x) { p->SetAutoHintParameterDelay(x); });
    v.Choice(L"AutoHintParameters", m.AutoHintParameters(), {L"hpAuto", L"hpManual", L"hpNone"}, L"hpAuto",
             [p](int x) { p->SetAutoHintParameters(TAutoHintParameters(x)); });
    v.Choice(L"AutoHintParameterPosition", m.AutoHintParameterPosition(), {L"hpBelowCode", L"hpAboveCode"},
             L"hpBelowCode", [p](int x) { p->SetAutoHintParameterPosition(TAutoHintParameterPosition(x)); });
    v.Bool(L"AutoIndent", m.AutoIndent(), [p](bool x) { p->SetAutoIndent(x); });
    v.Colour(L"BkColor", m.BkColor(), [p](TColor x) { p->SetBkColor(x); });
    v.Colour(L"BlockColor", m.BlockColor(), [p](TColor x) { p->SetBlockColor(x); });
    v.Colour(L"BlockLineColor", m.BlockLineColor(), [p](TColor x) { p->SetBlockLineColor(x); });
    v.Bool(L"BlockBrackets", m.BlockBrackets(), [p](bool x) { p->SetBlockBrackets(x); });
    v.Colour(L"BreakpointColor", m.BreakpointColor(), [p](TColor x) { p->SetBreakpointColor(x); });
    v.Colour(L"BreakpointTextColor", m.BreakpointTextColor(), [p](TColor x) { p->SetBreakpointTextColor(x); });
    v.Bool(L"BlockShow", m.BlockShow(), [p](bool x) { p->SetBlockShow(x); });
    v.Bool(L"CaseSensitive", m.CaseSensitive(), [p](bool x) { p->SetCaseSensitive(x); });
    v.Bool(L"DelErase", m.DelErase(), [p](bool x) { p->SetDelErase(x); });
    v.Bool(L"EnhancedHomeKey", m.EnhancedHomeKey(), [p](bool x) { p->SetEnhancedHomeKey(x); });
    VisitFont(v, m.Font(), L"FontName", L"FontColor", L"FontSize", L"FontStyle");
    v.Bool(L"HiddenCaret", m.HiddenCaret(), [p](bool x) { p->SetHiddenCaret(x); });
    v.Bool(L"HideSelection", m.HideSelection(), [p](bool x) { p->SetHideSelection(x); });
    v.Bool(L"ReadOnly", m.ReadOnly(), [p](bool x) { p->SetReadOnly(x); });
    v.Int(L"RightMargin", m.RightMargin(), [p](int x) { p->SetRightMargin(x); });
    v.Colour(L"RightMarginColor", m.RightMarginColor(), [p](TColor x) { p->SetRightMarginColor(x); });
    v.Bool(L"ShowRightMargin", m.ShowRightMargin(), [p](bool x) { p->SetShowRightMargin(x); });
    v.Bool(L"SmartTabs", m.SmartTabs(), [p](bool x) { p->SetSmartTabs(x); });
    v.Int(L"TabSize", m.TabSize(), [p](int x) { p->SetTabSize(x); }, kTabSizes);
    // Spelled so in every file written so far.
    v.Bool(L"TrimTralingSpaces", m.TrimTrailingSpaces(), [p](bool x) { p->SetTrimTrailingSpaces(x); });
    v.Int(L"UndoLimit", m.UndoLimit(), [p](int x) { p->SetUndoLimit(x); });
    v.Bool(L"URLAware", m.UrlAware(), [p](bool x) { p->SetUrlAware(x); });
    TCharStyle* url = m.UrlStyle();
    v.Colour(L"URLBKColor", url->BkColor(), [url](TColor x) { url->SetBkColor(x); });
    v.Colour(L"URLTextColor", url->TextColor(), [url](TColor x) { url->SetTextColor(x); });
    v.Styles(L"URLStyleStyle", url->Style(), [url](TFontStyles x) { url->SetStyle(x); });
    v.Bool(L"UseStyler", m.UseStyler(), [p](bool x) { p->SetUseStyler(x); });
    v.Bool(L"WantTab", m.WantTab(), [p](bool x) { p->SetWantTab(x); });
    // Through the setter: wrapped rows stored raw would be saved later as lines of their own.
    v.Choice(L"WordWrap", m.WordWrap(), {L"wwNone", L"wwClientWidth", L"wwRightMargin"}, L"wwNone",
             [p](int x) { p->SetWordWrap(TWordWrapStyle(x)); });

    TPrintOptions* print = m.PrintOptions();
    v.Int(L"PrintMarginLeft", print->MarginLeft(), [print](int x) { print->SetMarginLeft(x); });
    v.Int(L"PrintMarginRight", print->MarginRight(), [print](int x) { print->SetMarginRight(x); });
    v.Int(L"PrintMarginTop", print->MarginTop(), [print](int x) { print->SetMarginTop(x); });
    v.Int(L"PrintMarginBottom", print->MarginBottom(), [print](int x) { print->SetMarginBottom(x); });
    v.Text(L"PrintJobName", print->JobName(), [print](const std::wstring& x) { print->SetJobName(x); });
    v.Bool(L"PrintPageNr", print->PageNr(), [print](bool x) { print->SetPageNr(x); });
    v.Text(L"PrintPagePrefix", print->PagePrefix(), [print](const std::wstring& x) { print->SetPagePrefix(x); });
    v.Bool(L"PrintLineNumbers", print->PrintLineNumbers(), [print](bool x) { print->SetPrintLineNumbers(x); });
    v.Text(L"PrintTitle", print->Title(), [print](const std::wstring& x) { print->SetTitle(x); });

    TAdvMarkerList* markers = &m.MarkerList();
    v.Int(L"DefaultMarkerImageIndex", markers->DefaultMarkerImageIndex(),
          [markers](int x) { markers->SetDefaultMarkerImageIndex(x); });
    v.Bool(L"UseDefaultMarkerImageIndex", markers->UseDefaultMarkerImageIndex(),
           [markers](bool x) { markers->SetUseDefaultMarkerImageIndex(x); });
}

}  // namespace

void TAdvCustomMemo::SaveMemoSettingsToFile(const std::wstring& fileName) {
    // Written into a copy that then replaces the file: a write that fails half-way leaves
    // the old file whole. The copy keeps the file's other sections and keys.
    const std::wstring temporary = fileName + L".tmp";
    if (::GetFileAttributesW(fileName.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (!::CopyFileW(fileName.c_str(), temporary.c_str(), FALSE)) {
            const DWORD code = ::GetLastError();
            ClassLib::RaiseOSError(code, L"Cannot save the memo settings to \"" + fileName + L"\"");
        }
    } else {
        ::DeleteFileW(temporary.c_str());
    }
    ClassLib::TIniFile ini(temporary);
    try {
        TSaveKeys saver(ini);
        VisitKeys(*this, saver);
        ini.UpdateFile();
    } catch (...) {
        ::DeleteFileW(temporary.c_str());
        throw;
    }
    if (!::MoveFileExW(temporary.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD code = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        ClassLib::RaiseOSError(code, L"Cannot save the memo settings to \"" + fileName + L"\"");
    }
}

void TAdvCustomMemo::LoadMemoSettingsFromFile(const std::wstring& fileName) {
    if (::GetFileAttributesW(fileName.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    const ClassLib::TIniFileSection section(fileName, kSection);
    TLoadKeys loader(section);
    VisitKeys(*this, loader);
    loader.Apply();
    Invalidate();
}

}  // namespace AdvMemo
