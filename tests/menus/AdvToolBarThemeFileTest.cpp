// The styler theme file: the Office 2019 white look written byte for byte as the checked-in
// file, read back value for value, and what edited or broken files do.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/GdiObjects.h"
#include "classlib/Seams.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "menus/AdvToolBarStylers.h"
#include "support/SourceTree.h"

using namespace ClassLib;
using namespace AdvToolBar;
using namespace AdvToolBarStylers;

namespace {

std::string FileBytes(const std::wstring& name) {
    TMemoryStream stream;
    stream.LoadFromFile(name);
    return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

void WriteBytes(const std::wstring& name, const std::string& bytes) {
    TFileStream stream(name, fmCreate);
    stream.WriteBuffer(bytes.data(), int(bytes.size()));
}

std::vector<std::wstring> SplitLines(const std::string& bytes) {
    std::vector<std::wstring> lines;
    const std::wstring text = AnsiToString(bytes, 1252);
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::wstring::npos ? text.size() : end + 2;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\r\n";
    return StringToAnsi(text, 1252);
}

// The fonts measured in points at 96 pixels per inch, so a file does not depend on the
// screen the test runs on: a font given in pixels keeps them, one given in points (the
// caption font's 8) keeps its points.
void FontsAt96(TCustomAdvToolBarStyler& styler) {
    for (TFont* font : {styler.ButtonAppearance()->CaptionFont(), styler.Font(), styler.CaptionFont(),
                        styler.PagerCaption()->Font(), styler.TabAppearance()->Font(), styler.GroupAppearance()->Font(),
                        styler.GroupAppearance()->TabAppearance()->Font()}) {
        const int points = font->Size();
        const bool pointSized = font->PointSized();
        font->SetPixelsPerInch(96);
        if (pointSized) font->SetSize(points);
    }
}

class ThemeFile : public testing::Test {
protected:
    ThemeFile() {
        Seams().AnsiCodePage = [] { return 1252u; };
        FontsAt96(Styler);
    }
    ~ThemeFile() override { ::DeleteFileW(Name.c_str()); }
    static std::wstring GoldenName() { return TestSupport::SourceTreePath(L"tests\\menus\\golden\\Office2019White.theme"); }

    TSeamsScope Seams_;
    TAdvToolBarOfficeStyler Styler{nullptr};
    const std::wstring Name = GetTempDir() + L"atgen_styler.theme";
};

}  // namespace

TEST_F(ThemeFile, Office2019WhiteIsWrittenAsTheCheckedInFile) {
    Styler.SetStyle(bsOffice2019White);
    Styler.SaveToFile(Name);
    const std::string saved = FileBytes(Name);
    EXPECT_EQ(saved, FileBytes(GoldenName()));
    const std::vector<std::wstring> lines = SplitLines(saved);
    ASSERT_EQ(lines.size(), 304u);
    EXPECT_EQ(lines[0], L"bsOffice2019White");
    EXPECT_EQ(lines[1], L"AutoThemeAdapt=False");
    EXPECT_EQ(lines[2], L"ButtonAppearance.Color=clNone");
    EXPECT_EQ(lines[25], L"\"ButtonAppearance.CaptionFont.Name=Segoe UI\"");   // a name with a blank is quoted
    EXPECT_EQ(lines[42], L"DragGripStyle=dsNone");
    EXPECT_EQ(lines[44], L"RightHandleColorHot=$00F2E1D5");
    EXPECT_EQ(lines[61], L"ColorHot.Color=clNone");
    EXPECT_EQ(lines[73], L"ContainerAppearance.Line3D=True");
    EXPECT_EQ(lines[303], L"FormBorderColor=clGray");
}

TEST_F(ThemeFile, LoadingTheCheckedInFileGivesBackEveryValue) {
    Styler.SetStyle(bsOffice2003Olive);
    Styler.SetFormBorderColor(clRed);
    Styler.LoadFromFile(GoldenName());
    EXPECT_EQ(Styler.Style(), bsOffice2019White);
    Styler.SaveToFile(Name);
    EXPECT_EQ(FileBytes(Name), FileBytes(GoldenName()));
    EXPECT_EQ(Styler.FormBorderColor(), clGray);
}

TEST_F(ThemeFile, EveryValueRoundTripsTheHotGradientsStepsIncluded) {
    Styler.SetStyle(bsOffice2010Black);
    Styler.Color()->SetSteps(7);
    Styler.ColorHot()->SetSteps(9);
    Styler.TabAppearance()->Font()->SetStyle(TFontStyles{fsBold, fsStrikeOut});
    Styler.GroupAppearance()->Font()->SetName(L"Courier New");
    Styler.SaveToFile(Name);
    const std::string first = FileBytes(Name);
    TAdvToolBarOfficeStyler again(nullptr);
    FontsAt96(again);
    again.LoadFromFile(Name);
    EXPECT_EQ(again.Color()->Steps(), 7);
    EXPECT_EQ(again.ColorHot()->Steps(), 9);
    EXPECT_EQ(again.TabAppearance()->Font()->Style(), (TFontStyles{fsBold, fsStrikeOut}));
    EXPECT_EQ(again.GroupAppearance()->Font()->Name(), L"Courier New");
    again.SaveToFile(Name);
    EXPECT_EQ(FileBytes(Name), first);
}

TEST_F(ThemeFile, StylesWithoutAWordOfTheirOwnComeBackAsOffice2003Blue) {
    for (TToolBarStyle style : {bsOffice2007Silver, bsWindows8, bsWindows10}) {
        SCOPED_TRACE(TEnumNames<TToolBarStyle>::Names[style]);
        Styler.SetStyle(style);
        const TColor toolBar = Styler.Color()->Color();
        Styler.SaveToFile(Name);
        EXPECT_EQ(SplitLines(FileBytes(Name))[0], L"bsOffice2003Blue");
        TAdvToolBarOfficeStyler again(nullptr);
        again.LoadFromFile(Name);
        EXPECT_EQ(again.Style(), bsOffice2003Blue);
        EXPECT_EQ(again.Color()->Color(), toolBar);   // the body still restores the colours
    }
}

// Files edited by hand or cut short, each loaded into a styler that shows Office 2016 gray.
TEST_F(ThemeFile, EditedFiles) {
    const std::vector<std::wstring> golden = SplitLines(FileBytes(GoldenName()));
    struct TCase {
        const char* Name;
        std::function<void(std::vector<std::wstring>&)> Edit;
        const wchar_t* Error;   // null: loads
        std::function<void(const TAdvToolBarOfficeStyler&)> Check;
    };
    const TCase cases[] = {
        {"a known word in other letter case", [](auto& l) { l[0] = L"BSOFFICE2010BLUE"; }, nullptr,
         [](const auto& s) {
             EXPECT_EQ(s.Style(), bsOffice2010Blue);
             EXPECT_EQ(s.Color()->Color(), 0xFFFFFF);   // then the body's values
         }},
        {"the style's name is not its word", [](auto& l) { l[0] = L"bsWhidbeyStyle"; }, nullptr,
         [](const auto& s) { EXPECT_EQ(s.Style(), bsOffice2016Gray); }},
        {"blanks are not trimmed", [](auto& l) { l[0] = L"bsOffice2019White "; }, nullptr,
         [](const auto& s) { EXPECT_EQ(s.Style(), bsOffice2016Gray); }},
        {"no last line", [](auto& l) { l.pop_back(); }, nullptr,
         [](const auto& s) { EXPECT_EQ(s.FormBorderColor(), clBlack); }},
        {"an empty last line", [](auto& l) { l.back() = L""; }, nullptr,
         [](const auto& s) { EXPECT_EQ(s.FormBorderColor(), clBlack); }},
        {"an unquoted name with a blank", [](auto& l) { l[25] = L"ButtonAppearance.CaptionFont.Name=Segoe UI"; },
         nullptr, [](const auto& s) { EXPECT_EQ(s.ButtonAppearance()->CaptionFont()->Name(), L"Segoe"); }},
        {"a colour by number", [](auto& l) {
             l[2] = L"ButtonAppearance.Color=$FF00000F";
             l[3] = L"ButtonAppearance.ColorTo=255";
         }, nullptr,
         [](const auto& s) {
             EXPECT_EQ(s.ButtonAppearance()->Color(), clBtnFace);
             EXPECT_EQ(s.ButtonAppearance()->ColorTo(), clRed);
         }},
        {"a style line's key is not looked at", [](auto& l) { l[23] = L"Anything=fsItalic,FSBOLD"; }, nullptr,
         [](const auto& s) { EXPECT_EQ(s.ButtonAppearance()->CaptionFont()->Style(), (TFontStyles{fsBold, fsItalic})); }},
        {"an empty style", [](auto& l) { l[39] = L"Font.Style="; }, nullptr,
         [](const auto& s) { EXPECT_TRUE(s.Font()->Style().Empty()); }},
        {"a Boolean that is not true", [](auto& l) { l[73] = L"ContainerAppearance.Line3D=yes"; }, nullptr,
         [](const auto& s) { EXPECT_FALSE(s.ContainerAppearance()->Line3D()); }},
        {"an unknown gradient and grip", [](auto& l) {
             l[99] = L"GlowButtonAppearance.Gradient=ggSideways";
             l[42] = L"DragGripStyle=dsStars";
         }, nullptr,
         [](const auto& s) {
             EXPECT_EQ(s.GlowButtonAppearance()->Gradient(), AdvGlowButton::ggVertical);
             EXPECT_EQ(s.DragGripStyle(), dsNone);   // as the preset of line 1 left it
         }},
        {"any direction but horizontal is vertical", [](auto& l) { l[28] = L"Color.Direction=diagonal"; }, nullptr,
         [](const auto& s) { EXPECT_EQ(s.Color()->Direction(), gdVertical); }},
        {"two colour lines swapped", [](auto& l) { std::swap(l[2], l[3]); }, L"Corrupt file", [](const auto& s) { EXPECT_EQ(s.Style(), bsOffice2019White); }},
        {"cut after line 100", [](auto& l) {
             l[98] = L"GlowButtonAppearance.ColorMirrorDisabledTo=$00123456";
             l.resize(100);
         }, L"Corrupt file",
         [](const auto& s) { EXPECT_EQ(s.GlowButtonAppearance()->ColorMirrorDisabledTo(), 0x123456); }},
        {"a colour that is no colour", [](auto& l) { l[303] = L"FormBorderColor=clPink"; }, L"Corrupt file",
         [](const auto& s) { EXPECT_EQ(s.QATAppearance()->Steps(), 64); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<std::wstring> lines = golden;
        c.Edit(lines);
        WriteBytes(Name, JoinLines(lines));
        TAdvToolBarOfficeStyler styler(nullptr);
        styler.SetStyle(bsOffice2016Gray);
        std::wstring error;
        try {
            styler.LoadFromFile(Name);
        } catch (const Exception& e) {
            error = e.Message();
        }
        EXPECT_EQ(error, c.Error ? c.Error : L"");
        c.Check(styler);
    }
}

TEST_F(ThemeFile, AFileThatCannotBeWrittenOrReadSaysWhich) {
    const std::wstring nowhere = L"C:\\no\\such\\folder\\look.theme";
    try {
        Styler.SaveToFile(nowhere);
        ADD_FAILURE() << "saved";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Cannot Create " + nowhere);
    }
    Styler.SetStyle(bsOffice2007Luna);
    try {
        Styler.LoadFromFile(nowhere);
        ADD_FAILURE() << "loaded";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Cannot open file " + nowhere);
    }
    EXPECT_EQ(Styler.Style(), bsOffice2007Luna);
    EXPECT_EQ(Styler.Color()->Color(), 0xEDD8C7);
}
