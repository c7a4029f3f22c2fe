#include "app/VxFormSR.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/Form.h"
#include "classlib/Properties.h"
#include "classlib/Registry.h"
#include "classlib/Screen.h"
#include "classlib/Strings.h"
#include "support/PublishedDefaults.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;
using namespace VxFormSR;

namespace {

const wchar_t* const TestRoot = L"\\Software\\AtCmdGenTests";
const wchar_t* const TestKey = L"\\Software\\AtCmdGenTests\\VxFormSR";

// A window whose own handlers note what they saw, so the tests can tell whether the
// component's step ran before them.
class TFormSRTestForm : public TForm {
    CLASSLIB_CLASS(TFormSRTestForm, TForm)
public:
    static const TPropertyList& Published();
    explicit TFormSRTestForm(TComponent* owner) : TForm(owner) {}

    void FormShow(TObject*) { Log.push_back(L"show at " + IntToStr(Left()) + L"," + IntToStr(Top())); }
    void FormCloseQuery(TObject*, bool& canClose) {
        Log.push_back(L"close query");
        canClose = AllowClose;
    }
    void FormDestroy(TObject*) {
        TRegistry registry(KEY_READ);
        const bool saved = registry.OpenKeyReadOnly(std::wstring(TestKey) + L"\\" + Name()) &&
                           registry.ValueExists(L"Left");
        if (DestroyLog) DestroyLog->push_back(saved ? L"destroy after save" : L"destroy before save");
    }

    std::vector<std::wstring> Log;
    std::vector<std::wstring>* DestroyLog = nullptr;
    bool AllowClose = true;
};

CLASSLIB_IMPLEMENT(TFormSRTestForm, TForm)

const TPropertyList& TFormSRTestForm::Published() {
    static const TPropertyList list = TPropertyList::Extend(TForm::Published())
        .Method(L"FormShow", &TFormSRTestForm::FormShow)
        .Method(L"FormCloseQuery", &TFormSRTestForm::FormCloseQuery)
        .Method(L"FormDestroy", &TFormSRTestForm::FormDestroy);
    return list;
}

const wchar_t* const Description = LR"(
object FormSR: TFormSRTestForm
  Caption = "Placement test"
  ClientWidth = 420
  ClientHeight = 300
  OnShow = FormShow
  OnCloseQuery = FormCloseQuery
  OnDestroy = FormDestroy
  object VxFormSR1: TVxFormSR
  end
end
)";

void DeleteTestKeys() {
    TRegistry registry;
    registry.DeleteKey(TestRoot);
}

std::wstring ReadTestValue(const std::wstring& subKey, const std::wstring& name) {
    TRegistry registry(KEY_READ);
    if (!registry.OpenKeyReadOnly(std::wstring(TestKey) + subKey) || !registry.ValueExists(name)) return L"<missing>";
    return registry.ReadString(name);
}

void WriteTestValue(const std::wstring& subKey, const std::wstring& name, const std::wstring& value) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(std::wstring(TestKey) + subKey, true));
    registry.WriteString(name, value);
}

// One run of the program's window: made from its description, with the component's
// settings under the tests' own key.
struct TWindowRun {
    TFormSRTestForm* Form = nullptr;
    TVxFormSR* Component = nullptr;

    explicit TWindowRun(const std::wstring& text = Description) {
        Form = new TFormSRTestForm(nullptr);
        Form->InitFromDescriptionText(text);
        Component = dynamic_cast<TVxFormSR*>(Form->FindComponent(L"VxFormSR1"));
        if (Component) Component->SetMainAppRegKey(TestKey);
    }
    ~TWindowRun() { delete Form; }
    void Show() {
        Form->Show();
        TestSupport::PumpMessages();
    }
    // The window closes and is freed, as when the program ends.
    void End() {
        delete Form;
        Form = nullptr;
    }
};

class VxFormSRRegistry : public testing::Test {
protected:
    void SetUp() override { DeleteTestKeys(); }
    void TearDown() override { DeleteTestKeys(); }
};

class VxFormSRWindow : public VxFormSRRegistry {};

}  // namespace

TEST(VxFormSRKeys, NamesFollowTheExecutableAndTheWindow) {
    EXPECT_EQ(MainAppRegKeyFor(L"C:\\tools\\gen.exe"), L"\\Software\\gen");
    EXPECT_EQ(FormRegKeyFor(L"\\Software\\gen", L"Form1", asAppIniName, L"C:\\tools\\gen.ini"),
              L"\\Software\\gen\\Form1");
    EXPECT_EQ(FormRegKeyFor(L"\\Software\\gen", L"Form1", asCustom, L"a.ini"), L"\\Software\\gen\\Form1_a.ini");
    EXPECT_EQ(AutostartValueNameFor(L"C:\\tools\\gen.exe"), L"gen");
    EXPECT_EQ(AutostartValueNameFor(L"C:\\tools\\my.exe.tool.exe"), L"my");
    EXPECT_EQ(AutostartValueNameFor(L"C:\\TOOLS\\GEN.EXE"), L"GEN");  // never the Run key's default value
}

TEST(VxFormSRKeys, WindowOffEveryWorkAreaComesBackOntoThePrimary) {
    const TRect primary = Rect(0, 0, 1280, 994);
    const TRect second = Rect(1280, 0, 2560, 1024);
    struct TCase { const char* Name; TRect Bounds; TRect Expected; };
    const TCase cases[] = {
        {"inside the primary stays", Bounds(100, 50, 860, 680), Bounds(100, 50, 860, 680)},
        {"partly visible stays", Bounds(-400, -10, 860, 680), Bounds(-400, -10, 860, 680)},
        {"on the second monitor stays", Bounds(1500, 100, 860, 680), Bounds(1500, 100, 860, 680)},
        {"far left and above", Bounds(-5000, -3000, 860, 680), Bounds(0, 0, 860, 680)},
        {"beyond the right and bottom", Bounds(9000, 5000, 860, 680), Bounds(420, 314, 860, 680)},
        {"larger than the work area shrinks", Bounds(-9000, 0, 2000, 1200), Bounds(0, 0, 1280, 994)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(BringOntoWorkArea(c.Bounds, {primary, second}, primary), c.Expected);
    }
}

TEST(VxFormSRKeys, StoredPlacementIsClampedToTheVirtualScreen) {
    const TRect screen = Rect(-1280, 0, 1920, 1080);   // a monitor left of the primary
    struct TCase { const char* Name; int Left, Top, Width, Height; TRect Expected; };
    const TCase cases[] = {
        {"inside stays", 100, 50, 860, 680, Bounds(100, 50, 860, 680)},
        {"on the left monitor stays", -1000, 10, 500, 400, Bounds(-1000, 10, 500, 400)},
        {"a giant size is cut", 0, 0, 100000, 90000, screen},
        {"left + width past INT_MAX", INT32_MAX - 10, INT32_MAX - 10, INT32_MAX, INT32_MAX, screen},
        {"far right keeps the whole window in", INT32_MAX, 5000, 860, 680, Bounds(1060, 400, 860, 680)},
        {"far left and above", INT32_MIN, INT32_MIN, 860, 680, Bounds(-1280, 0, 860, 680)},
        {"no size at all", 10, 10, 0, -5, Bounds(10, 10, 1, 1)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ClampToVirtualScreen(c.Left, c.Top, c.Width, c.Height, screen), c.Expected);
    }
}

TEST(VxFormSRKeys, OwnerMustBeAWindow) {
    TComponent owner(nullptr);
    EXPECT_THROW(new TVxFormSR(&owner), EConvertError);
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(VxFormSRKeys, PublishedDefaultsAndIniFileName) {
    TForm form(nullptr);
    auto* component = new TVxFormSR(&form);
    EXPECT_EQ(form.Position(), poDefaultPosOnly);
    TestSupport::ExpectPublishedDefaults(component);
    EXPECT_EQ(GetStrProp(component, L"Version"), L"1.3");

    const std::wstring exeIni = ChangeFileExt(Application->ExeName(), L".ini");
    SetStrProp(component, L"IniFileName", L"  [ApplicationExeName.ini]  ");
    EXPECT_EQ(component->TypeIniName(), asAppIniName);  // the comparison trims
    EXPECT_EQ(component->IniFileName(), exeIni);
    SetStrProp(component, L"IniFileName", L"a.ini");
    EXPECT_EQ(component->TypeIniName(), asCustom);
    EXPECT_EQ(component->IniFileName(), L"a.ini");
    SetPropText(component, GetPropInfo(component, L"TypeIniName"), L"asAppIniName");
    EXPECT_EQ(component->IniFileName(), exeIni);
    SetPropText(component, GetPropInfo(component, L"RestoreOnlyPosition"), L"True");
    EXPECT_TRUE(component->RestoreOnlyPosition());
}

TEST_F(VxFormSRRegistry, SettingsRoundTripAndFailedReadsGiveDefaults) {
    TForm form(nullptr);
    auto* settings = new TVxFormSR(&form);
    EXPECT_EQ(settings->MainAppRegKey(), MainAppRegKeyFor(Application->ExeName()));
    settings->SetMainAppRegKey(TestKey);

    // Nothing stored yet: every read gives its default.
    EXPECT_TRUE(settings->ReadRegINI(L"sort_cmds", true));
    EXPECT_EQ(settings->ReadRegINI(L"open_c_h_dir", L"c:\\"), L"c:\\");
    EXPECT_EQ(settings->ReadRegINI(L"count", 7), 7);

    EXPECT_TRUE(settings->SaveRegINI(L"sort_cmds", false));
    EXPECT_TRUE(settings->SaveRegINI(L"auto_correct_headers", true));
    EXPECT_TRUE(settings->SaveRegINI(L"open_c_h_dir", L"D:\\w\\"));
    EXPECT_TRUE(settings->SaveRegINI(L"count", -12));
    EXPECT_FALSE(settings->ReadRegINI(L"sort_cmds", true));
    EXPECT_TRUE(settings->ReadRegINI(L"auto_correct_headers", false));
    EXPECT_EQ(settings->ReadRegINI(L"open_c_h_dir", L"c:\\"), L"D:\\w\\");
    EXPECT_EQ(settings->ReadRegINI(L"count", 7), -12);
    EXPECT_EQ(ReadTestValue(L"", L"count"), L"-12");  // integers are kept as decimal text

    // Values of the wrong kind or form read as the default.
    EXPECT_TRUE(settings->ReadRegINI(L"open_c_h_dir", true));
    EXPECT_EQ(settings->ReadRegINI(L"open_c_h_dir", 5), 5);
    EXPECT_EQ(settings->ReadRegINI(L"sort_cmds", L"x"), L"x");
    EXPECT_EQ(settings->ReadRegINI(L"", L"x"), L"x");

    // Writes that cannot happen answer false and raise nothing.
    EXPECT_FALSE(settings->SaveRegINI(L"", true));
    settings->SetMainAppRegKey(std::wstring(TestKey) + L"\\" + std::wstring(300, L'k'));
    EXPECT_FALSE(settings->SaveRegINI(L"sort_cmds", true));
    EXPECT_EQ(settings->ReadRegINI(L"count", 3), 3);
}

TEST_F(VxFormSRRegistry, StartWithWindowsWritesAndRemovesTheRunValue) {
    TForm form(nullptr);
    auto* component = new TVxFormSR(&form);
    const std::wstring name = AutostartValueNameFor(Application->ExeName());
    TRegistry run;
    ASSERT_TRUE(run.OpenKey(L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", true));
    run.DeleteValue(name);
    ASSERT_FALSE(component->StartWithWindows());

    component->SetStartWithWindows(true);
    EXPECT_TRUE(run.ValueExists(name));
    EXPECT_EQ(run.ReadString(name), Application->ExeName());
    EXPECT_TRUE(component->StartWithWindows());
    component->SetStartWithWindows(false);
    EXPECT_FALSE(run.ValueExists(name));
    EXPECT_FALSE(component->StartWithWindows());
}

TEST(VxFormSRAdmin, AnswersLikeThePlatform) {
    EXPECT_EQ(TVxFormSR::IsWindowsAdmin(), ::IsUserAnAdmin() != FALSE);
}

TEST_F(VxFormSRWindow, FirstStartCentresAndClosingSavesPlacement) {
    REQUIRE_DISPLAY();
    TWindowRun run;
    ASSERT_NE(run.Component, nullptr);
    const int width = run.Form->Width(), height = run.Form->Height();
    run.Show();
    EXPECT_EQ(run.Form->Width(), width);
    EXPECT_EQ(run.Form->Left(), (Screen->Width() - width) / 2);
    EXPECT_EQ(run.Form->Top(), (Screen->Height() - height) / 2);
    run.End();
    EXPECT_EQ(ReadTestValue(L"\\FormSR", L"maximized"), L"0");
    EXPECT_EQ(ReadTestValue(L"\\FormSR", L"Width"), IntToStr(width));
    EXPECT_EQ(ReadTestValue(L"\\FormSR", L"Left"), IntToStr((Screen->Width() - width) / 2));
}

TEST_F(VxFormSRWindow, PlacementSurvivesARestart) {
    REQUIRE_DISPLAY();
    {
        TWindowRun first;
        first.Show();
        first.Form->SetBounds(40, 30, 500, 360);
        TestSupport::PumpMessages();
        first.End();
    }
    TWindowRun second;
    second.Show();
    EXPECT_EQ(second.Form->BoundsRect(), Bounds(40, 30, 500, 360));
    EXPECT_EQ(second.Form->WindowState(), wsNormal);
}

TEST_F(VxFormSRWindow, MaximizedSurvivesARestartWithItsNormalPlacement) {
    REQUIRE_DISPLAY();
    {
        TWindowRun first;
        first.Show();
        first.Form->SetBounds(60, 50, 480, 340);
        // Wine: a move still queued from X would undo a maximize that comes before it.
        TestSupport::PumpMessages();
        first.Form->SetWindowState(wsMaximized);
        TestSupport::PumpMessages();
        ASSERT_EQ(first.Form->WindowState(), wsMaximized);
        first.End();
    }
    // The normal placement is kept, not the maximized window's rectangle.
    EXPECT_EQ(ReadTestValue(L"\\FormSR", L"maximized"), L"2");
    EXPECT_EQ(ReadTestValue(L"\\FormSR", L"Width"), L"480");
    EXPECT_EQ(ReadTestValue(L"\\FormSR", L"Left"), L"60");

    TWindowRun second;
    second.Show();
    EXPECT_EQ(second.Form->WindowState(), wsMaximized);
    second.Form->SetWindowState(wsNormal);
    TestSupport::PumpMessages();
    EXPECT_EQ(second.Form->BoundsRect(), Bounds(60, 50, 480, 340));
}

TEST_F(VxFormSRWindow, BadOrOffScreenValuesAreMended) {
    REQUIRE_DISPLAY();
    WriteTestValue(L"\\FormSR", L"Width", L"abc");
    WriteTestValue(L"\\FormSR", L"Height", L"350");
    WriteTestValue(L"\\FormSR", L"Left", L"-6000");
    WriteTestValue(L"\\FormSR", L"Top", L"-4000");
    TWindowRun run;
    const int width = run.Form->Width();
    run.Show();
    EXPECT_EQ(run.Form->Width(), width);  // "abc" keeps the current width
    EXPECT_EQ(run.Form->Height(), 350);
    const TRect work = Screen->WorkAreaRect();
    EXPECT_EQ(run.Form->Left(), work.Left);
    EXPECT_EQ(run.Form->Top(), work.Top);
}

TEST_F(VxFormSRWindow, HugeStoredValuesGiveAWindowOnTheScreen) {
    REQUIRE_DISPLAY();
    struct TCase { const char* Name; const wchar_t *Width, *Height, *Left, *Top; };
    const TCase cases[] = {
        {"a giant size", L"5000", L"4000", L"100", L"100"},
        {"left + width past INT_MAX", L"2147483647", L"2147483000", L"2147483600", L"-2147483600"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteTestValue(L"\\FormSR", L"Width", c.Width);
        WriteTestValue(L"\\FormSR", L"Height", c.Height);
        WriteTestValue(L"\\FormSR", L"Left", c.Left);
        WriteTestValue(L"\\FormSR", L"Top", c.Top);
        TWindowRun run;
        run.Show();
        const TRect desktop = Screen->DesktopRect();
        const TRect bounds = run.Form->BoundsRect();
        EXPECT_GE(bounds.Left, desktop.Left);
        EXPECT_GE(bounds.Top, desktop.Top);
        EXPECT_LE(bounds.Right, desktop.Right);
        EXPECT_LE(bounds.Bottom, desktop.Bottom);
        run.End();   // saves the placement it shows; the next row writes its own values
    }
}

TEST_F(VxFormSRWindow, RestoreOnlyPositionKeepsTheDesignedSize) {
    REQUIRE_DISPLAY();
    WriteTestValue(L"\\FormSR", L"Width", L"700");
    WriteTestValue(L"\\FormSR", L"Height", L"500");
    WriteTestValue(L"\\FormSR", L"Left", L"25");
    WriteTestValue(L"\\FormSR", L"Top", L"15");
    std::wstring text = Description;
    text.replace(text.find(L"  end\nend"), 0, L"    RestoreOnlyPosition = True\n");
    TWindowRun run(text);
    const int width = run.Form->Width(), height = run.Form->Height();
    run.Show();
    EXPECT_EQ(run.Form->BoundsRect(), Bounds(25, 15, width, height));
}

TEST_F(VxFormSRWindow, ComponentStepsRunBeforeTheWindowsHandlers) {
    REQUIRE_DISPLAY();
    WriteTestValue(L"\\FormSR", L"Left", L"70");
    WriteTestValue(L"\\FormSR", L"Top", L"80");
    std::vector<std::wstring> destroyLog;
    TWindowRun run;
    run.Form->DestroyLog = &destroyLog;
    run.Show();
    run.Form->AllowClose = false;
    run.Form->Close();
    TestSupport::PumpMessages();
    // The window's show handler already sees the restored place; its close-query answer rules.
    EXPECT_EQ(run.Form->Log, (std::vector<std::wstring>{L"show at 70,80", L"close query"}));
    EXPECT_TRUE(run.Form->Showing());
    run.End();
    EXPECT_EQ(destroyLog, std::vector<std::wstring>{L"destroy after save"});
}

TEST_F(VxFormSRWindow, FreeingTheComponentGivesTheWindowItsHandlersBack) {
    REQUIRE_DISPLAY();
    TWindowRun run;
    delete run.Component;
    run.Show();
    EXPECT_EQ(run.Form->Log, std::vector<std::wstring>{L"show at " + IntToStr(run.Form->Left()) + L"," +
                                                       IntToStr(run.Form->Top())});
    run.End();
    EXPECT_EQ(ReadTestValue(L"\\FormSR", L"Left"), L"<missing>");
}

TEST_F(VxFormSRWindow, IniFileKeepsPlacementWithoutWindowState) {
    REQUIRE_DISPLAY();
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring iniName = std::wstring(folder) + L"vxformsr_test.ini";
    ::DeleteFileW(iniName.c_str());
    std::wstring text = Description;
    text.replace(text.find(L"  end\nend"), 0,
                 L"    UseRegistry = False\n    IniFileName = \"" + StringReplace(iniName, L"\\", L"\\\\", rfReplaceAll) + L"\"\n");
    {
        TWindowRun first(text);
        first.Show();
        first.Form->SetBounds(33, 44, 455, 366);
        TestSupport::PumpMessages();
        first.End();
    }
    EXPECT_EQ(::GetPrivateProfileIntW(L"FormSR", L"Left", -1, iniName.c_str()), 33);
    EXPECT_EQ(::GetPrivateProfileIntW(L"FormSR", L"Height", -1, iniName.c_str()), 366);
    TWindowRun second(text);
    second.Show();
    EXPECT_EQ(second.Form->BoundsRect(), Bounds(33, 44, 455, 366));
    EXPECT_EQ(ReadTestValue(L"\\FormSR", L"Left"), L"<missing>");
    second.End();
    ::DeleteFileW(iniName.c_str());
}
