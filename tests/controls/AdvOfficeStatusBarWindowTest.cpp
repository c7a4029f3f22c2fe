// The bar in a real window under Xvfb: blinking, hot and pressed panels, clicks, anchors,
// hints, the size grip and a theme change, with a bar described like the main window's.
#include "controls/AdvOfficeStatusBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "classlib/Application.h"
#include "classlib/ComponentClasses.h"
#include "classlib/Form.h"
#include "classlib/GdiScopes.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/Seams.h"
#include "classlib/WindowDescription.h"
#include "controls/AdvOfficeStatusBarStylers.h"
#include "graphics/AdvHintInfo.h"
#include "graphics/AdvThemeNotifier.h"
#include "support/WindowTestSupport.h"

using namespace AdvOfficeStatusBar;
using namespace AdvOfficeStatusBarStylers;
using namespace ClassLib;

namespace {

// A window that binds the bar's click handler by name, as the main window does.
class TBarTestForm : public TForm {
    CLASSLIB_CLASS(TBarTestForm, TForm)
public:
    static const TPropertyList& Published() {
        static const TPropertyList list = TPropertyList::Extend(TForm::Published())
            .Method(L"StatusBar1PanelClick", &TBarTestForm::StatusBar1PanelClick);
        return list;
    }
    explicit TBarTestForm(TComponent* owner) : TForm(owner) {}
    void StatusBar1PanelClick(TObject*, int panelIndex) { Clicks.push_back(panelIndex); }
    std::vector<int> Clicks;
};
CLASSLIB_IMPLEMENT(TBarTestForm, TForm)

const wchar_t* const Description = LR"(object BarForm: TBarTestForm
  Width = 600
  Height = 200
  object OffStyler: TAdvOfficeStatusBarOfficeStyler
    Style = psOffice2010Blue
  end
  object StatusBar1: TAdvOfficeStatusBar
    Align = alBottom
    Top = 150
    Width = 584
    Height = 24
    Panels = <
      item
        Width = 200
        Alignment = taCenter
        Style = psProgress
        Text = "FW ver"
      end
      item
        Width = 50
        Alignment = taCenter
        Button = true
      end
    >
    Styler = OffStyler
    OnPanelClick = StatusBar1PanelClick
  end
end
)";

const wchar_t* const Notice = L"<FONT COLOR=\"clRed\"><BLINK><B>Click && get update: ver. 2.0</B></BLINK></FONT>";

struct TBarWindow {
    TBarWindow() {
        RegisterComponentClasses();
        RegisterStatusBarClasses();
        ReadComponentFromText(&Form, Description);
        Bar = static_cast<TAdvOfficeStatusBar*>(Form.FindComponent(L"StatusBar1"));
        Form.Show();
        TestSupport::PumpMessages();
        ::KillTimer(Bar->Handle(), TAdvOfficeStatusBar::TimerID);   // ticks are sent by the test
    }
    // The bar painted into a memory bitmap; the colour at a client point.
    COLORREF PaintedPixel(int x, int y) { return Paint().at(size_t(y * Bar->Width() + x)); }
    std::vector<COLORREF> Paint() {
        const int w = Bar->Width(), h = Bar->Height();
        TWindowDC screen;
        TOwnedDC dc(::CreateCompatibleDC(screen.Handle()));
        TOwnedBitmap bitmap(::CreateCompatibleBitmap(screen.Handle(), w, h));
        TSelection selected(dc.get(), bitmap.get());
        Bar->Perform(WM_PAINT, WPARAM(dc.get()), 0);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pixels.push_back(::GetPixel(dc.get(), x, y) & 0xFFFFFF);
        return pixels;
    }
    int CountIn(const TRect& r, const std::function<bool(COLORREF)>& test) {
        const std::vector<COLORREF> pixels = Paint();
        int count = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (test(pixels[size_t(y * Bar->Width() + x)])) ++count;
        return count;
    }
    void Tick() { Bar->Perform(WM_TIMER, TAdvOfficeStatusBar::TimerID, 0); }
    LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

    TBarTestForm Form{nullptr};
    TAdvOfficeStatusBar* Bar = nullptr;
};

bool Reddish(COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) < 90 && GetBValue(c) < 90; }

}  // namespace

TEST(AdvOfficeStatusBarWindow, ADescriptionLikeTheMainWindowsBuildsBarAndStyler) {
    REQUIRE_DISPLAY();
    TBarWindow w;
    ASSERT_NE(w.Bar, nullptr);
    auto* styler = dynamic_cast<TAdvOfficeStatusBarOfficeStyler*>(w.Form.FindComponent(L"OffStyler"));
    ASSERT_NE(styler, nullptr);
    EXPECT_EQ(w.Bar->Styler(), styler);
    EXPECT_EQ(w.Bar->Height() % 2, 1);   // made odd on load
    ASSERT_EQ(w.Bar->Panels()->Count(), 2);
    EXPECT_EQ(w.Bar->Panels()->Items(0)->Style(), psProgress);
    EXPECT_TRUE(w.Bar->Panels()->Items(1)->Button());
    EXPECT_EQ(styler->PanelAppearanceLight()->Color(), 0xFDF6EF);
}

TEST(AdvOfficeStatusBarWindow, TheNoticeShowsRedOnlyInTicksSixToTen) {
    REQUIRE_DISPLAY();
    TBarWindow w;
    TAdvOfficeStatusPanel* panel = w.Bar->Panels()->Items(1);
    panel->SetStyle(psHTML);
    panel->SetText(Notice);
    panel->SetAppearanceStyle(psDark);
    const TRect area = panel->Rect();
    for (int tick = 0; tick <= 10; ++tick) {
        SCOPED_TRACE(tick);
        ASSERT_EQ(w.Bar->TimerCount(), tick);
        const int red = w.CountIn(area, Reddish);
        if (tick > 5) EXPECT_GT(red, 5);
        else EXPECT_EQ(red, 0);
        w.Tick();
    }
    EXPECT_EQ(w.Bar->TimerCount(), 0);   // the count wraps after 10
}

TEST(AdvOfficeStatusBarWindow, ButtonPanelsLightAtRowOneAndPressOnlyAsButtons) {
    REQUIRE_DISPLAY();
    TBarWindow w;
    const TRect p1 = w.Bar->GetPanelRect(1);
    const int x = p1.Left + 10;
    w.Bar->Perform(WM_MOUSEMOVE, 0, w.At(x, 0));
    EXPECT_EQ(w.Bar->HotPanelIndex(), -1);
    w.Bar->Perform(WM_MOUSEMOVE, 0, w.At(x, 1));
    EXPECT_EQ(w.Bar->HotPanelIndex(), 1);
    // The hot gradient ($D9F9FD .. $8AE3FD): yellow-orange, no blue.
    EXPECT_GT(w.CountIn(TRect(p1.Left + 4, 3, p1.Right - 4, 8), [](COLORREF c) { return GetBValue(c) < 0xC0 && GetRValue(c) > 0xF0; }), 20);

    w.Bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, w.At(20, 5));   // panel 0 is no button
    EXPECT_EQ(w.Bar->DownPanelIndex(), -1);
    w.Bar->Perform(WM_LBUTTONUP, 0, w.At(20, 5));
    ASSERT_EQ(w.Form.Clicks, std::vector<int>{0});

    w.Bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, w.At(x, 5));
    EXPECT_EQ(w.Form.Clicks, (std::vector<int>{0, 1}));   // on the press, before the release
    EXPECT_EQ(w.Bar->DownPanelIndex(), 1);
    EXPECT_GT(w.CountIn(TRect(p1.Left + 4, 3, p1.Right - 4, 8), [](COLORREF c) { return GetBValue(c) < 0x90 && GetRValue(c) > 0xF0; }), 20);
    w.Bar->Perform(WM_LBUTTONUP, 0, w.At(x, 5));
    EXPECT_EQ(w.Bar->DownPanelIndex(), -1);
    w.Bar->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(w.Bar->HotPanelIndex(), -1);

    w.Bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, w.At(w.Bar->Width() + 50, 5));
    EXPECT_EQ(w.Form.Clicks.back(), -1);   // on no panel
    w.Bar->Perform(WM_LBUTTONUP, 0, w.At(w.Bar->Width() + 50, 5));
}

TEST(AdvOfficeStatusBarWindow, AnchorsGoToTheShellOrToTheApplication) {
    REQUIRE_DISPLAY();
    TSeamsScope scope;
    std::vector<std::wstring> opened, clicked, entered;
    Seams().ShellOpen = [&](const std::wstring& target, const std::wstring&) { opened.push_back(target); return true; };
    TBarWindow w;
    w.Bar->OnAnchorClick = [&](TObject*, const std::wstring& anchor) { clicked.push_back(anchor); };
    w.Bar->OnAnchorEnter = [&](TObject*, const std::wstring& anchor) { entered.push_back(anchor); };
    TAdvOfficeStatusPanel* panel = w.Bar->Panels()->Items(0);
    panel->SetStyle(psHTML);
    panel->SetAlignment(taLeftJustify);
    struct TCase { const wchar_t* Href; bool Shell; };
    for (const TCase& c : {TCase{L"http://example.org", true}, TCase{L"mailto:a@b.c", true}, TCase{L"file://c:/x.exe", false},
                           TCase{L"update", false}}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Href)));
        opened.clear();
        clicked.clear();
        panel->SetText(std::wstring(L"<A HREF=\"") + c.Href + L"\">MMMMMMMM</A>");
        w.Bar->Perform(WM_MOUSEMOVE, 0, w.At(12, 10));
        EXPECT_EQ(w.Bar->Cursor(), crHandPoint);
        w.Bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, w.At(12, 10));
        w.Bar->Perform(WM_LBUTTONUP, 0, w.At(12, 10));
        EXPECT_EQ(opened.size(), c.Shell ? 1u : 0u);
        EXPECT_EQ(clicked.size(), c.Shell ? 0u : 1u);
        w.Bar->Perform(WM_MOUSEMOVE, 0, w.At(190, 10));   // off the anchor
        EXPECT_EQ(w.Bar->Cursor(), crDefault);
    }
    EXPECT_EQ(entered.size(), 4u);
}

TEST(AdvOfficeStatusBarWindow, HintsCarryThePanelsOfficeHintOrTheAnchorsTitle) {
    REQUIRE_DISPLAY();
    TBarWindow w;
    TAdvOfficeStatusPanel* panel = w.Bar->Panels()->Items(0);
    panel->SetStyle(psText);
    panel->OfficeHint()->SetTitle(L"Firmware");
    THintInfo info;
    info.CursorPos = TPoint{20, 10};
    EXPECT_EQ(w.Bar->Perform(CM_HINTSHOW, 0, LPARAM(&info)), 0);
    EXPECT_EQ(info.HintControl, w.Bar->HintCarrier());
    EXPECT_EQ(w.Bar->HintCarrier()->OfficeHint()->Title(), L"Firmware");

    panel->SetStyle(psHTML);
    panel->SetAlignment(taLeftJustify);
    panel->SetText(L"<A HREF=\"go\" TITLE=\"Get the update\">MMMMMMMM</A>");
    w.Bar->SetAnchorHint(true);
    info = THintInfo{};
    info.CursorPos = TPoint{12, 10};
    w.Bar->Perform(CM_HINTSHOW, 0, LPARAM(&info));
    EXPECT_EQ(info.HintStr, L"Get the update");
    EXPECT_EQ(w.Bar->HintCarrier()->OfficeHint()->Title(), L"");
}

TEST(AdvOfficeStatusBarWindow, TheGripSizesTheForm) {
    REQUIRE_DISPLAY();
    TBarWindow w;
    ASSERT_TRUE(w.Bar->GripVisible());
    POINT grip{w.Bar->Width() - 4, w.Bar->Height() - 4};
    ::ClientToScreen(w.Bar->Handle(), &grip);
    EXPECT_EQ(::SendMessageW(w.Bar->Handle(), WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTBOTTOMRIGHT);
    POINT inside{40, 8};
    ::ClientToScreen(w.Bar->Handle(), &inside);
    EXPECT_EQ(::SendMessageW(w.Bar->Handle(), WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);

    // The press goes to the form as its own size command, not to the bar.
    ::SendMessageW(w.Bar->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(grip.x, grip.y));
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, w.Form.Handle(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam & 0xFFF0, WPARAM(SC_SIZE));
    EXPECT_EQ(msg.wParam & 0x000F, WPARAM(WMSZ_BOTTOMRIGHT));
    // A size command left in the queue would start the system's modal sizing loop, which
    // waits for a mouse release no test sends.
    while (::PeekMessageW(&msg, nullptr, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) {
    }

    ::ShowWindow(w.Form.Handle(), SW_MAXIMIZE);
    TestSupport::PumpMessages();
    EXPECT_FALSE(w.Bar->GripVisible());
}

TEST(AdvOfficeStatusBarWindow, FlipChildrenMovesWholePanels) {
    REQUIRE_DISPLAY();
    TBarWindow w;
    TAdvOfficeStatusPanels* panels = w.Bar->Panels();
    panels->Items(0)->SetWidth(100);
    panels->Items(1)->SetWidth(50);
    TAdvOfficeStatusPanel* last = panels->Add();
    last->SetText(L"last");
    last->SetEnabled(false);
    const int lastShows = w.Bar->ClientWidth() - 150;
    w.Bar->FlipChildren(true);
    EXPECT_EQ(panels->Items(0)->Width(), lastShows);
    EXPECT_EQ(panels->Items(1)->Width(), 50);
    EXPECT_EQ(panels->Items(2)->Width(), 100);
    EXPECT_EQ(panels->Items(0)->Text(), L"last");
    EXPECT_FALSE(panels->Items(0)->Enabled());
    EXPECT_TRUE(panels->Items(1)->Button());   // the button panel keeps being one
    EXPECT_EQ(panels->Items(2)->Style(), psProgress);
}

TEST(AdvOfficeStatusBarWindow, FlippingABarNarrowerThanItsPanelsKeepsEveryPanelInIt) {
    REQUIRE_DISPLAY();
    TBarWindow w;
    TAdvOfficeStatusPanels* panels = w.Bar->Panels();
    const int width = w.Bar->ClientWidth();
    panels->Items(0)->SetWidth(width);
    panels->Items(1)->SetWidth(width / 2);
    panels->Add()->SetWidth(50);
    w.Bar->FlipChildren(true);
    for (int i = 0; i < panels->Count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(panels->Items(i)->Width(), 0);
        const TRect r = w.Bar->GetPanelRect(i);
        EXPECT_GE(r.Left, 0);
        EXPECT_GE(r.Right, r.Left);
    }
    EXPECT_EQ(w.Bar->GetPanel(-width), -1);  // no panel answers for a point left of the bar
}

namespace {
// Counts the bar's paints.
class TCountingBar : public TAdvOfficeStatusBar {
public:
    using TAdvOfficeStatusBar::TAdvOfficeStatusBar;
    int Paints = 0;
protected:
    void Paint() override {
        ++Paints;
        TAdvOfficeStatusBar::Paint();
    }
};
}  // namespace

// Each change repaints, but changes made before the next message is handled share one paint:
// a bar painted per change costs n paints of a growing bar for n panels added.
TEST(AdvOfficeStatusBarWindow, ChangesBeforeTheNextMessageShareOnePaint) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.SetBounds(0, 0, 600, 120);
    auto* bar = new TCountingBar(&form);
    bar->SetParent(&form);
    bar->SetAlign(alBottom);
    form.Show();
    TestSupport::PumpMessages();
    ::KillTimer(bar->Handle(), TAdvOfficeStatusBar::TimerID);
    bar->Paints = 0;
    for (int i = 0; i < 40; ++i) {
        TAdvOfficeStatusPanel* panel = bar->Panels()->Add();
        panel->SetWidth(12);
        panel->SetText(std::to_wstring(i));
    }
    EXPECT_EQ(bar->Paints, 0);
    TestSupport::PumpMessages();
    EXPECT_GE(bar->Paints, 1);
    EXPECT_LE(bar->Paints, 2);
}

namespace {
// An installed Office 2010 whose theme number the test sets.
class TOffice2010 : public AdvStyleIF::IStyleEnvironment {
public:
    std::uint32_t Theme = 1;
    bool RegKeyExists(const std::wstring& key) override { return key.find(L"14.0\\Common") != std::wstring::npos; }
    std::optional<std::wstring> RegReadString(const std::wstring&, const std::wstring&) override { return {}; }
    std::optional<std::uint32_t> RegReadDWord(const std::wstring&, const std::wstring& name) override {
        if (name == L"Theme") return Theme;
        return {};
    }
    int WindowsVersionKind() override { return 10; }
    int XPThemeKind() override { return 0; }
};

// The key the application's notifier watches for the fake Office 2010.
const wchar_t* const Office14 = L"Software\\Microsoft\\Office\\14.0";

void SetOfficeValue(const wchar_t* value) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\14.0\\Common", 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD size = DWORD((std::wcslen(value) + 1) * sizeof(wchar_t));
    EXPECT_EQ(::RegSetValueExW(key, L"UI Theme", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), size), ERROR_SUCCESS);
    ::RegCloseKey(key);
}

using TestSupport::PumpUntil;

// The fake Office is in place for the test only: the environment is put back and the key
// removed whatever an assertion cut short, so no later test (or run) sees an Office or a
// dead environment.
class AdvOfficeStatusBarTheme : public testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Office14);
        AdvStyleIF::SetStyleEnvironment(&Office);
    }
    void TearDown() override {
        AdvStyleIF::SetStyleEnvironment(nullptr);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Office14);
    }
    TOffice2010 Office;
};
}  // namespace

TEST_F(AdvOfficeStatusBarTheme, ThemeChangesReachTheStylerThroughTheApplicationsNotifierWhileItAdapts) {
    REQUIRE_DISPLAY();
    SetOfficeValue(L"0");
    HANDLE worker = nullptr;
    {
        TBarWindow w;
        auto* styler = static_cast<TAdvOfficeStatusBarOfficeStyler*>(w.Form.FindComponent(L"OffStyler"));
        HWND notifier = styler->NotifierWindow()->Handle();
        int heard = 0;
        const TNotifyEvent reapply = styler->NotifierWindow()->OnThemeChange;
        styler->NotifierWindow()->OnThemeChange = [&](TObject* sender) { ++heard; reapply(sender); };
        styler->SetAutoThemeAdapt(true);
        EXPECT_EQ(styler->Style(), psOffice2010Blue);
        Office.Theme = 3;   // the user picked Black
        ::SendMessageW(notifier, WM_THEMECHANGED, 0, 0);
        EXPECT_EQ(styler->Style(), psOffice2010Black);
        EXPECT_EQ(styler->BorderColor(), 0x2C2C2C);

        // The application's notifier belongs to the form and sends its message to our window.
        AdvStyleIF::TThemeNotifier* shared = AdvStyleIF::GetThemeNotifier(&w.Form);
        ASSERT_TRUE(shared->Watching());
        EXPECT_EQ(shared->Owner(), &w.Form);
        ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), shared->WorkerHandle(), ::GetCurrentProcess(), &worker,
                                      SYNCHRONIZE, FALSE, 0));
        ASSERT_TRUE(shared->WaitWatching(10000));
        Office.Theme = 2;
        heard = 0;
        SetOfficeValue(L"2");
        EXPECT_TRUE(PumpUntil([&] { return styler->Style() == psOffice2010Silver; }));
        EXPECT_GE(heard, 1);

        styler->SetAutoThemeAdapt(false);   // unregistered: a further change no longer reaches us
        heard = 0;
        const ULONGLONG start = ::GetTickCount64();
        SetOfficeValue(L"3");
        PumpUntil([&] { return ::GetTickCount64() - start >= 1000; });
        EXPECT_EQ(heard, 0);
        styler->SetAutoThemeAdapt(true);    // the form goes while the styler is registered
    }
    // The notifier went with the form that owned it, and its worker with it: nothing is left
    // watching the key for the tests after this one.
    ASSERT_NE(worker, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return ::WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; }));
    ::CloseHandle(worker);
}

namespace {
// The blank runs between inked columns of a text drawn on a panel's light face.
struct TInkRuns {
    int First = -1, Last = -1, WidestGap = 0;
};
TInkRuns InkRuns(const std::vector<COLORREF>& pixels, int stride, const TRect& area) {
    TInkRuns runs;
    for (int x = area.Left; x < area.Right; ++x) {
        bool ink = false;
        for (int y = area.Top; y < area.Bottom && !ink; ++y) {
            const COLORREF c = pixels[size_t(y * stride + x)];
            ink = GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 150;
        }
        if (!ink) continue;
        if (runs.Last >= 0) runs.WidestGap = std::max(runs.WidestGap, x - runs.Last - 1);
        if (runs.First < 0) runs.First = x;
        runs.Last = x;
    }
    return runs;
}
}  // namespace

// The words of a panel's text (drawn one by one by the HTML engine) stand where the layout
// measured them, in every alignment: as wide as the text measures, a blank apart.
TEST(AdvOfficeStatusBarWindow, PanelTextKeepsTheFontsWordSpacing) {
    REQUIRE_DISPLAY();
    TBarWindow w;
    TAdvOfficeStatusPanel* panel = w.Bar->Panels()->Items(1);
    const std::wstring text = L"Update check failed";
    panel->SetText(text);
    TBitmap measure;
    measure.Canvas()->SetFont(w.Bar->Font());
    const int textWidth = measure.Canvas()->TextWidth(text);
    const int blank = measure.Canvas()->TextWidth(L" ");
    for (TAlignment alignment : {taLeftJustify, taCenter, taRightJustify}) {
        SCOPED_TRACE(int(alignment));
        panel->SetAlignment(alignment);
        const TRect area = panel->Rect();
        const TInkRuns runs = InkRuns(w.Paint(), w.Bar->Width(), TRect(area.Left + 3, 3, area.Right - 20, w.Bar->Height() - 3));
        ASSERT_GE(runs.First, 0);
        EXPECT_NEAR(runs.Last - runs.First + 1, textWidth - 1, 3) << "text width " << textWidth;
        EXPECT_LE(runs.WidestGap, blank + 3) << "blank " << blank;
    }
}
