#include "editor/AdvMemo.h"

#include "classlib/Exceptions.h"
#include "classlib/IniFiles.h"
#include "classlib/Strings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace AdvMemo;
using ClassLib::TColor;

namespace {

const wchar_t kSection[] = L"Memo Settings";

// A fresh file in the temporary folder, gone again at the end.
class TSettingsFile {
public:
    explicit TSettingsFile(const wchar_t* name, const std::string& content = {}) {
        wchar_t dir[MAX_PATH];
        ::GetTempPathW(MAX_PATH, dir);
        FName = std::wstring(dir) + name;
        ::DeleteFileW(FName.c_str());
        if (!content.empty()) {
            std::ofstream out(std::filesystem::path(FName), std::ios::binary);
            out << content;
        }
    }
    ~TSettingsFile() { ::DeleteFileW(FName.c_str()); }
    const std::wstring& Name() const { return FName; }
    std::wstring Value(const wchar_t* key) const { return ClassLib::TIniFile(FName).ReadString(kSection, key, L"<missing>"); }
    std::vector<std::wstring> Section(const wchar_t* section = kSection) const {
        return ClassLib::TIniFile(FName).ReadSection(section);
    }
private:
    std::wstring FName;
};

// A memo with every setting of the file away from its default.
void ChangeEverySetting(TAdvCustomMemo& m) {
    m.ActiveLineSettings()->SetActiveLineColor(0x102030);
    m.ActiveLineSettings()->SetActiveLineTextColor(ClassLib::clLime);
    m.ActiveLineSettings()->SetShowActiveLine(true);
    m.ActiveLineSettings()->SetShowActiveLineIndicator(true);
    TAdvGutter* g = m.Gutter();
    g->SetVisible(false);
    g->SetDigitCount(6);
    g->SetGutterColor(ClassLib::clYellow);
    g->SetGutterColorTo(ClassLib::clNone);
    g->SetGutterWidth(30);
    g->SetGutterMargin(16);
    g->SetShowLineNumbers(false);
    g->SetLineNumberStart(0);
    g->SetLineNumberTextColor(ClassLib::clMaroon);
    g->SetShowLeadingZeros(true);
    g->Font()->SetName(L"Arial");
    g->Font()->SetColor(ClassLib::clGreen);
    g->Font()->SetSize(12);
    g->SetNumberSuffix(L":");
    g->Font()->SetStyle({ClassLib::fsUnderline});
    TAutoCompletion* ac = m.AutoCompletion();
    ac->SetActive(false);
    ac->SetColor(ClassLib::clCream);
    ac->SetColorEvent(ClassLib::clOlive);
    ac->SetColorFunc(ClassLib::clFuchsia);
    ac->SetColorIdentifier(0x123456);
    ac->SetColorMethod(ClassLib::clGray);
    ac->SetColorProc(ClassLib::clLime);
    ac->SetColorVar(ClassLib::clMaroon);
    ac->SetDelay(750);
    ac->SetShowImages(true);
    ac->SetSizeDropDown(false);
    ac->SetWidth(260);
    ac->Font()->SetName(L"Tahoma");
    ac->Font()->SetColor(ClassLib::clTeal);
    ac->Font()->SetSize(11);
    ac->Font()->SetStyle({ClassLib::fsItalic});
    m.SetAutoHintParameterDelay(1200);
    m.SetAutoHintParameters(hpManual);
    m.SetAutoHintParameterPosition(hpAboveCode);
    m.SetAutoIndent(false);
    m.SetBkColor(ClassLib::clInfoBk);
    m.SetBlockColor(0x00A0B0);
    m.SetBlockLineColor(ClassLib::clRed);
    m.SetBlockBrackets(true);
    m.SetBreakpointColor(ClassLib::clBlue);
    m.SetBreakpointTextColor(ClassLib::clYellow);
    m.SetBlockShow(false);
    m.SetCaseSensitive(true);
    m.SetDelErase(true);
    m.SetEnhancedHomeKey(true);
    m.Font()->SetName(L"Lucida Console");
    m.Font()->SetColor(ClassLib::clNavy);
    m.Font()->SetSize(14);
    m.Font()->SetStyle({ClassLib::fsBold, ClassLib::fsItalic});
    m.SetHiddenCaret(true);
    m.SetHideSelection(true);
    m.SetReadOnly(true);
    m.SetRightMargin(12);
    m.SetRightMarginColor(ClassLib::clSilver);
    m.SetShowRightMargin(false);
    m.SetSmartTabs(true);
    m.SetTabSize(8);
    m.SetTrimTrailingSpaces(true);
    m.SetUndoLimit(7);
    m.SetUrlAware(false);
    m.UrlStyle()->SetBkColor(ClassLib::clAqua);
    m.UrlStyle()->SetTextColor(ClassLib::clPurple);
    // Styles are only ever added on load: the default underline stays in.
    m.UrlStyle()->SetStyle({ClassLib::fsUnderline, ClassLib::fsStrikeOut});
    m.SetUseStyler(false);
    m.SetWantTab(false);
    m.SetWordWrap(wwRightMargin);
    TPrintOptions* p = m.PrintOptions();
    p->SetMarginLeft(11);
    p->SetMarginRight(12);
    p->SetMarginTop(13);
    p->SetMarginBottom(14);
    p->SetJobName(L"the job");
    p->SetPageNr(true);
    p->SetPagePrefix(L"Page");
    p->SetPrintLineNumbers(true);
    p->SetTitle(L"A title");
    m.MarkerList().SetDefaultMarkerImageIndex(3);
    m.MarkerList().SetUseDefaultMarkerImageIndex(true);
}

}  // namespace

TEST(MemoSettingsFile, SavedValuesAndRoundTripIntoAFreshMemo) {
    TSettingsFile file(L"atgen-memo-settings.ini");
    TAdvMemo source(nullptr);
    source.Lines()->SetText(L"int a = 1; int b = 2; int c = 3;");
    ChangeEverySetting(source);
    source.SaveMemoSettingsToFile(file.Name());

    struct TCase { const wchar_t* Key; const wchar_t* Value; };
    const TCase saved[] = {
        {L"ActiveLineColor", L"$00102030"}, {L"ActiveLineTextColor", L"clLime"}, {L"ShowActiveLine", L"1"},
        {L"ShowGutter", L"0"}, {L"GutterDigitCount", L"6"}, {L"GutterColorTo", L"clNone"}, {L"GutterMargin", L"16"},
        {L"GutterWidth", L"30"}, {L"LineNumberStart", L"0"}, {L"GutterFontName", L"Arial"}, {L"GutterFontSize", L"12"},
        {L"GutterNumberSuffix", L":"}, {L"GutterFontStyle", L"fsUnderline"}, {L"AutoCompletionActive", L"0"},
        {L"AutoCompletionColor", L"clCream"}, {L"AutoCompletionColorIdentifier", L"$00123456"},
        {L"AutoCompletionDelay", L"750"}, {L"AutoCompletionSizeDropDown", L"0"}, {L"AutoCompletionWidth", L"260"},
        {L"AutoCompletionFontName", L"Tahoma"}, {L"AutoCompletionFontSize", L"11"},
        {L"AutoCompletionFontStyle", L"fsItalic"}, {L"AutoHintParameterDelay", L"1200"},
        {L"AutoHintParameters", L"hpManual"}, {L"AutoHintParameterPosition", L"hpAboveCode"}, {L"BkColor", L"clInfoBk"},
        {L"FontName", L"Lucida Console"}, {L"FontSize", L"14"}, {L"FontStyle", L"fsBoldfsItalic"},
        {L"TrimTralingSpaces", L"1"}, {L"UndoLimit", L"7"}, {L"URLStyleStyle", L"fsUnderlinefsStrikeOut"},
        {L"WordWrap", L"wwRightMargin"}, {L"PrintJobName", L"the job"}, {L"PrintTitle", L"A title"},
        {L"DefaultMarkerImageIndex", L"3"}, {L"UseDefaultMarkerImageIndex", L"1"},
    };
    for (const TCase& c : saved) EXPECT_EQ(file.Value(c.Key), c.Value) << testing::PrintToString(std::wstring(c.Key));
    EXPECT_EQ(file.Value(L"TrimTrailingSpaces"), L"<missing>");
    const std::vector<std::wstring> keys = file.Section();
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.front(), L"ActiveLineColor");
    EXPECT_EQ(keys.back(), L"UseDefaultMarkerImageIndex");

    // A fresh memo given the file writes the very same file back.
    TAdvMemo target(nullptr);
    target.Lines()->SetText(L"int a = 1; int b = 2; int c = 3;");
    target.LoadMemoSettingsFromFile(file.Name());
    TSettingsFile again(L"atgen-memo-settings-again.ini");
    target.SaveMemoSettingsToFile(again.Name());
    ASSERT_EQ(again.Section(), keys);
    for (const std::wstring& key : keys) EXPECT_EQ(again.Value(key.c_str()), file.Value(key.c_str())) << testing::PrintToString(key);

    // Word wrap went through its setter: the line is wrapped at the loaded right margin, and
    // the text is still the one line it was.
    EXPECT_EQ(target.WordWrap(), wwRightMargin);
    EXPECT_GT(target.Lines()->Count(), 1);
    EXPECT_EQ(target.WrappedText(), L"int a = 1; int b = 2; int c = 3;");
    EXPECT_EQ(target.Font()->Style(), (ClassLib::TFontStyles{ClassLib::fsBold, ClassLib::fsItalic}));
    EXPECT_FALSE(target.Gutter()->Visible());
    EXPECT_EQ(target.AutoCompletion()->Delay(), 750);
    EXPECT_EQ(target.AutoHintParameters(), hpManual);
    EXPECT_EQ(keys.size(), 81u);  // every key of the file
}

TEST(MemoSettingsFile, MissingKeysAndAddedStyles) {
    TSettingsFile file(L"atgen-memo-settings-partial.ini", "[Memo Settings]\r\nFontStyle=fsItalic\r\nTabSize=x12\r\n");
    TAdvMemo memo(nullptr);
    memo.SetWordWrap(wwClientWidth);
    memo.SetAutoHintParameters(hpNone);
    memo.SetAutoHintParameterPosition(hpAboveCode);
    memo.SetBkColor(ClassLib::clYellow);
    memo.SetTabSize(3);
    memo.Font()->SetStyle({ClassLib::fsBold});
    memo.LoadMemoSettingsFromFile(file.Name());
    EXPECT_EQ(memo.WordWrap(), wwNone);          // a missing WordWrap means none
    EXPECT_EQ(memo.AutoHintParameters(), hpAuto);  // and missing hint keys the defaults
    EXPECT_EQ(memo.AutoHintParameterPosition(), hpBelowCode);
    EXPECT_EQ(memo.BkColor(), ClassLib::clYellow);  // a missing colour keeps the current one
    EXPECT_EQ(memo.TabSize(), 3);                // not a number: the current value
    EXPECT_EQ(memo.Font()->Style(), (ClassLib::TFontStyles{ClassLib::fsBold, ClassLib::fsItalic}));
}

TEST(MemoSettingsFile, ABadColourRaisesNamingKeyAndValueAndChangesNothing) {
    TSettingsFile file(L"atgen-memo-settings-bad.ini",
                       "[Memo Settings]\r\nShowGutter=0\r\nBkColor=clRed\r\nTabSize=9\r\nURLTextColor=bluish\r\nWordWrap=wwRightMargin\r\n");
    TAdvMemo memo(nullptr);
    memo.SetBkColor(ClassLib::clWhite);
    try {
        memo.LoadMemoSettingsFromFile(file.Name());
        FAIL() << "no error";
    } catch (const ClassLib::EConvertError& e) {
        const std::wstring message = e.Message();
        EXPECT_NE(message.find(L"URLTextColor"), std::wstring::npos) << testing::PrintToString(message);
        EXPECT_NE(message.find(L"\"bluish\""), std::wstring::npos) << testing::PrintToString(message);
    }
    EXPECT_TRUE(memo.Gutter()->Visible());
    EXPECT_EQ(memo.BkColor(), ClassLib::clWhite);
    EXPECT_EQ(memo.TabSize(), 4);
    EXPECT_EQ(memo.WordWrap(), wwNone);
}

// A tab size of 0 or 2147483647, or a font size that reads back as -1, was taken as it stood.
TEST(MemoSettingsFile, NumbersOutOfRangeRaiseNamingKeyAndValueAndChangeNothing) {
    const struct {
        const char* Key;
        const char* Value;
    } cases[] = {
        {"TabSize", "0"}, {"TabSize", "2147483647"}, {"TabSize", "-4"},
        {"FontSize", "0"}, {"FontSize", "2147483647"}, {"GutterFontSize", "-1"}, {"AutoCompletionFontSize", "100000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Key) + "=" + c.Value);
        TSettingsFile file(L"atgen-memo-settings-range.ini",
                           std::string("[Memo Settings]\r\nShowGutter=0\r\nBkColor=clRed\r\n") + c.Key + "=" + c.Value +
                               "\r\nWordWrap=wwRightMargin\r\n");
        TAdvMemo memo(nullptr);
        const int fontSize = memo.Font()->Size();
        const ClassLib::TColor background = memo.BkColor();
        try {
            memo.LoadMemoSettingsFromFile(file.Name());
            ADD_FAILURE() << "no error";
        } catch (const ClassLib::EConvertError& e) {
            const std::wstring message = e.Message();
            EXPECT_NE(message.find(L"\"" + ClassLib::UTF8Decode(c.Key) + L"\""), std::wstring::npos) << testing::PrintToString(message);
            EXPECT_NE(message.find(L"\"" + ClassLib::UTF8Decode(c.Value) + L"\""), std::wstring::npos) << testing::PrintToString(message);
        }
        EXPECT_TRUE(memo.Gutter()->Visible());
        EXPECT_EQ(memo.BkColor(), background);
        EXPECT_EQ(memo.TabSize(), 4);
        EXPECT_EQ(memo.Font()->Size(), fontSize);
        EXPECT_EQ(memo.WordWrap(), wwNone);
    }
}

TEST(MemoSettingsFile, MissingFileIsNoErrorAndSavingKeepsOtherSections) {
    TAdvMemo memo(nullptr);
    memo.SetTabSize(6);
    TSettingsFile missing(L"atgen-memo-settings-none.ini");
    EXPECT_NO_THROW(memo.LoadMemoSettingsFromFile(missing.Name()));
    EXPECT_EQ(memo.TabSize(), 6);

    TSettingsFile file(L"atgen-memo-settings-shared.ini",
                       "[Window]\r\nLeft=10\r\n[Memo Settings]\r\nTabSize=2\r\nMine=kept\r\n");
    memo.SaveMemoSettingsToFile(file.Name());
    EXPECT_EQ(ClassLib::TIniFile(file.Name()).ReadString(L"Window", L"Left", L""), L"10");
    EXPECT_EQ(file.Value(L"Mine"), L"kept");
    EXPECT_EQ(file.Value(L"TabSize"), L"6");
}
