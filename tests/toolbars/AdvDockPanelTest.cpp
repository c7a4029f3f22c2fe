// Dock panels, dragging, floating windows and saved layouts on real windows under Xvfb.
#include "toolbars/AdvDockPanel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "classlib/Exceptions.h"
#include "classlib/Form.h"
#include "classlib/MemIniFile.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/Registry.h"
#include "classlib/Application.h"
#include "classlib/Screen.h"
#include "controls/AdvGlowButton.h"
#include "graphics/AdvGDIPStartup.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvMenuStyler.h"
#include "support/WindowTestSupport.h"
#include "toolbars/AdvFloatingWindow.h"
#include "toolbars/AdvToolBar.h"

using namespace ClassLib;
using namespace AdvToolBar;

namespace {

class Docking : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(60, 60, 640, 420);
        FForm->Show();
    }
    void TearDown() override {
        if (FForm) {
            FForm->BeforeDestruction();
            FForm.reset();
        }
        TestSupport::PumpMessages();
    }
    TAdvDockPanel* NewPanel(TDockAlign side, const wchar_t* name = L"Dock") {
        auto* panel = new TAdvDockPanel(FForm.get());
        panel->SetName(name);
        panel->SetParent(FForm.get());
        panel->SetDockAlign(side);
        return panel;
    }
    // A toolbar of `buttons` glow buttons, docked in `panel`.
    TAdvToolBar* NewBar(TAdvDockPanel* panel, const wchar_t* name, int buttons = 2) {
        auto* bar = new TAdvToolBar(FForm.get());
        bar->SetName(name);
        bar->SetParent(panel);
        for (int k = 0; k < buttons; ++k) {
            auto* b = new AdvGlowButton::TAdvGlowButton(FForm.get());
            b->SetName(std::wstring(name) + L"B" + std::to_wstring(k));
            b->SetParent(bar);
            b->SetBounds(0, 0, 40, 22);
        }
        return bar;
    }
    std::unique_ptr<TForm> FForm;
};

TEST_F(Docking, NewPanelAndItsSizeFollowTheRows) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* top = NewPanel(daTop, L"Top");
    EXPECT_EQ(top->Align(), alTop);
    EXPECT_EQ(top->InternalToolBarStyler()->Name(), L"InternalStyler");
    EXPECT_EQ(top->RowCount(), 0);
    EXPECT_EQ(top->MinimumSize(), 3);
    EXPECT_EQ(top->Height(), 3);
    EXPECT_EQ(top->Version(), L"6.8.3.3");
    TAdvToolBar* bar = new TAdvToolBar(FForm.get());
    bar->SetParent(top);
    ASSERT_EQ(bar->Height(), 26);
    EXPECT_EQ(top->Height(), 28);
    EXPECT_EQ(bar->GetToolBarState(), tsDocked);
    EXPECT_EQ(bar->AdvDockPanel(), top);

    TAdvDockPanel* bottom = NewPanel(daBottom, L"Bottom");
    const int bottomEdge = bottom->Top() + bottom->Height();
    (new TAdvToolBar(FForm.get()))->SetParent(bottom);
    EXPECT_EQ(bottom->Height(), 28);
    EXPECT_EQ(bottom->Top() + bottom->Height(), bottomEdge);

    TAdvDockPanel* left = NewPanel(daLeft, L"Left");
    auto* side = new TAdvToolBar(FForm.get());
    side->SetParent(left);
    EXPECT_EQ(side->Position(), daLeft);
    EXPECT_EQ(left->Width(), 29);
}

TEST_F(Docking, AlignTurnsToolBarsAndParentsAreChecked) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* panel = NewPanel(daTop);
    TAdvToolBar* bar = NewBar(panel, L"A");
    ASSERT_GT(bar->Width(), bar->Height());
    panel->SetDockAlign(daRight);
    EXPECT_EQ(panel->Align(), alRight);
    EXPECT_EQ(bar->Position(), daRight);
    EXPECT_GT(bar->Height(), bar->Width());

    auto* other = new TAdvDockPanel(FForm.get());
    try {
        other->SetParent(panel);
        FAIL() << "a dock panel took a dock panel as parent";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Invalid Parent");
    }
    EXPECT_THROW(other->SetParent(bar), Exception);
    EXPECT_EQ(other->Parent(), nullptr);
    EXPECT_THROW(panel->AdvToolBars(1), Exception);
}

TEST_F(Docking, StylerFallbackColourAndStacking) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* panel = NewPanel(daTop);
    auto* styler = new TCustomAdvToolBarStyler(FForm.get());
    styler->DockColor()->SetColor(TColor(0x123456));
    panel->SetToolBarStyler(styler);
    EXPECT_EQ(panel->CurrentToolBarStyler(), styler);
    panel->StylerChanged(1);
    EXPECT_EQ(panel->Color(), TColor(0x123456));
    delete styler;
    EXPECT_EQ(panel->CurrentToolBarStyler(), panel->InternalToolBarStyler());

    TAdvToolBar* a = NewBar(panel, L"A");
    TAdvToolBar* b = NewBar(panel, L"B");
    TAdvToolBar* c = NewBar(panel, L"C");
    EXPECT_EQ(panel->RowCount(), 3);
    b->SetVisible(false);
    EXPECT_EQ(panel->HiddenToolBarCount(), 1);
    panel->StackToolBars();
    EXPECT_EQ(panel->RowCount(), 1);
    EXPECT_EQ(panel->Rows()->Items(0)->Count(), 2);
    EXPECT_EQ(a->Row(), 0);
    EXPECT_EQ(c->Row(), 0);
    EXPECT_LT(a->Left(), c->Left());
}

// An application style that the panel and its toolbars take their colours from.
class TFakeAppStyle final : public AdvStyleIF::IAppStyleServices {
public:
    explicit TFakeAppStyle(const wchar_t* name) : FName(name) { AdvStyleIF::SetAppStyleServices(this); }
    ~TFakeAppStyle() override { AdvStyleIF::SetAppStyleServices(nullptr); }
    bool Enabled() const override { return true; }
    AdvStyleIF::String Name() const override { return FName; }
    AdvStyleIF::TStyleElementColors GridColors(AdvStyleIF::TThemedGrid element) const override {
        if (element == AdvStyleIF::tgFixedCellNormal) return {Face, clNone, clNone};
        return {clNone, clNone, clNone};
    }
    TColor StyleColor(AdvStyleIF::TStyleColor color) const override {
        return color == AdvStyleIF::scButtonHot ? Hot : color == AdvStyleIF::scButtonPressed ? Pressed : clNone;
    }
    TColor StyleFontColor(AdvStyleIF::TStyleFont) const override { return clBlack; }
    static constexpr TColor Face = TColor(0x204060), Hot = TColor(0x00A0A0), Pressed = TColor(0x0000C0);

private:
    const wchar_t* FName;
};

// A panel read from a description: its toolbar docks while it loads, Loaded builds the rows.
TAdvDockPanel* LoadedPanelWithABar(TForm* form, const wchar_t* name, AdvGlowButton::TAdvGlowButton** button) {
    auto* panel = new TAdvDockPanel(form);
    panel->SetName(name);
    panel->BeginLoading();
    panel->SetParent(form);
    auto* bar = new TAdvToolBar(form);
    bar->SetName(std::wstring(name) + L"Bar");
    bar->SetParent(panel);
    *button = new AdvGlowButton::TAdvGlowButton(form);
    (*button)->SetParent(bar);
    (*button)->SetBounds(0, 0, 40, 22);
    panel->Loaded();
    return panel;
}

TEST_F(Docking, AnApplicationStyleColoursTheDockItsStylerAndTheToolBarItems) {
    REQUIRE_DISPLAY();
    AdvGlowButton::TAdvGlowButton* plainButton = nullptr;
    TAdvDockPanel* plain = LoadedPanelWithABar(FForm.get(), L"Plain", &plainButton);
    const TCustomAdvToolBarStyler fresh(nullptr);
    EXPECT_EQ(plain->CurrentToolBarStyler()->DockColor()->Color(), fresh.DockColor()->Color());
    EXPECT_EQ(plain->RowCount(), 1);

    {
        // A style named as the plain system one gives no tones: the colours stay.
        const TFakeAppStyle system(L"Windows10");
        AdvGlowButton::TAdvGlowButton* button = nullptr;
        TAdvDockPanel* panel = LoadedPanelWithABar(FForm.get(), L"System", &button);
        EXPECT_EQ(panel->CurrentToolBarStyler()->DockColor()->Color(), fresh.DockColor()->Color());
        EXPECT_TRUE(panel->CurrentToolBarStyler()->RoundEdges());
    }

    const TFakeAppStyle style(L"Carbon");
    AdvGlowButton::TAdvGlowButton* button = nullptr;
    TAdvDockPanel* panel = LoadedPanelWithABar(FForm.get(), L"Styled", &button);
    const TCustomAdvToolBarStyler* s = panel->CurrentToolBarStyler();
    EXPECT_EQ(panel->RowCount(), 1);
    EXPECT_EQ(s->DockColor()->Color(), TFakeAppStyle::Face);
    EXPECT_EQ(s->DockColor()->ColorTo(), TFakeAppStyle::Face);
    EXPECT_FALSE(s->RoundEdges());
    EXPECT_EQ(s->RightHandleColor(), TFakeAppStyle::Face);
    EXPECT_EQ(s->RightHandleColorTo(), TFakeAppStyle::Face);
    EXPECT_EQ(s->RightHandleColorHot(), TFakeAppStyle::Hot);
    EXPECT_EQ(s->RightHandleColorHotTo(), TFakeAppStyle::Hot);
    EXPECT_EQ(s->RightHandleColorDown(), TFakeAppStyle::Pressed);
    EXPECT_EQ(s->RightHandleColorDownTo(), TFakeAppStyle::Pressed);
    EXPECT_EQ(s->Color()->Color(), TFakeAppStyle::Face);
    EXPECT_EQ(s->Color()->ColorTo(), TFakeAppStyle::Face);
    // The toolbar's own items take the tones too.
    EXPECT_EQ(button->Appearance()->ColorHot(), TFakeAppStyle::Hot);
    EXPECT_EQ(button->Appearance()->ColorDown(), TFakeAppStyle::Pressed);
    EXPECT_NE(plainButton->Appearance()->ColorHot(), TFakeAppStyle::Hot);
    // Tones handed to the panel itself only repaint it: its colours stay the styler's.
    AdvStyleIF::TColorTones other{};
    AdvStyleIF::DefaultColorTones(other);
    AdvStyleIF::IOVTTones* toned = plain;
    toned->SetColorTones(other);
    EXPECT_EQ(plain->CurrentToolBarStyler()->DockColor()->Color(), fresh.DockColor()->Color());
}

// Window descriptions make the dock panel and the floating window by name, and every
// published value that equals its declared default is left out of a saved description.
TEST_F(Docking, DockingClassesAreRegisteredAndStartAtTheirDeclaredDefaults) {
    REQUIRE_DISPLAY();
    const std::vector<const TClass*> classes = RegisterToolBarClasses();
    for (const wchar_t* name : {L"TAdvDockPanel", L"TFloatingWindow"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        const TClass* cls = GetClass(name);
        ASSERT_NE(cls, nullptr);
        EXPECT_NE(std::find(classes.begin(), classes.end(), cls), classes.end());
        std::unique_ptr<TComponent> instance(cls->Create(nullptr));
        int checked = 0;
        for (const TPropInfo& info : instance->ClassType().Published()) {
            if (!info.OrdDefault && !info.FloatDefault && !info.StringDefault) continue;
            SCOPED_TRACE(testing::PrintToString(info.Name));
            ++checked;
            if (cls == &TFloatingWindow::StaticClass() && info.Name == L"BorderColor") {
                // Declared grey, made darker on purpose: a window keeping it stores it.
                EXPECT_FALSE(info.IsDefault(instance.get()));
                EXPECT_EQ(static_cast<TFloatingWindow*>(instance.get())->BorderColor(), TColor(0x6D6D6D));
                continue;
            }
            EXPECT_TRUE(info.IsDefault(instance.get()));
        }
        EXPECT_GT(checked, 2);
    }
}

// A locked panel whose only row holds a full-size toolbar has no room: every way in is
// refused and the toolbar stays where and as it was.
TEST_F(Docking, LockedPanelRefusesEveryWayIn) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* home = NewPanel(daTop, L"Home");
    TAdvDockPanel* full = NewPanel(daBottom, L"Full");
    TAdvToolBar* filler = NewBar(full, L"Filler");
    filler->SetFullSize(true);
    full->SetLockHeight(true);
    TAdvToolBar* bar = NewBar(home, L"A");

    struct TCase {
        const char* Name;
        std::function<void()> Try;
    };
    const TCase cases[] = {
        {"Dock", [&] { bar->Dock(full); }},
        {"AdvDockPanel", [&] { bar->SetAdvDockPanel(full); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Try();
        EXPECT_EQ(bar->Parent(), home);
        EXPECT_EQ(bar->GetToolBarState(), tsDocked);
        EXPECT_FALSE(bar->CanDockTo(full));
    }
    // Floating, auto-dock on close back into a panel that filled up meanwhile: hidden instead.
    bar->SetToolBarFloating({300, 300});
    ASSERT_EQ(bar->GetToolBarState(), tsFloating);
    TFloatingWindow* window = bar->FloatingWindow();
    bar->Dock(full);
    EXPECT_EQ(bar->FloatingWindow(), window);
    EXPECT_EQ(bar->GetToolBarState(), tsFloating);
    home->SetDockAlign(daBottom);
    home->SetLockHeight(true);
    NewBar(home, L"HomeFiller")->SetFullSize(true);
    bar->SetAutoDockOnClose(true);
    bool closed = false;
    bar->OnClose = [&](TObject*) { closed = true; };
    bar->CloseFloating();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(bar->Visible());
    EXPECT_EQ(bar->GetToolBarState(), tsFloating);
}

TEST_F(Docking, DragThresholdsTearOffOnlyFarEnoughAndWhenAllowed) {
    REQUIRE_DISPLAY();
    struct TCase {
        const char* Name;
        TDockAlign Side;
        int Beyond;  // pixels beyond the panel's inner edge
        bool AllowFloating;
        bool Floats;
    };
    const TCase cases[] = {
        {"top, 20 below stays", daTop, 20, true, false},
        {"top, 27 below tears off", daTop, 27, true, true},
        {"top, 27 below without floating stays", daTop, 27, false, false},
        {"left, 20 right stays", daLeft, 20, true, false},
        {"left, 27 right tears off", daLeft, 27, true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvDockPanel* panel = NewPanel(c.Side, (L"Dock" + std::to_wstring(&c - cases)).c_str());
        TAdvToolBar* bar = NewBar(panel, (L"Bar" + std::to_wstring(&c - cases)).c_str());
        bar->SetAllowFloating(c.AllowFloating);
        TestSupport::PumpMessages();
        bar->BeginToolBarDrag(3, 3);
        const bool vertical = IsVertical(c.Side);
        // The pointer in the toolbar's coordinates, `Beyond` past the panel's inner edge.
        const int x = vertical ? panel->Width() + c.Beyond - bar->Left() : 3;
        const int y = vertical ? 3 : panel->Height() + c.Beyond - bar->Top();
        bar->ToolBarDragMove(ssLeft, x, y);
        bar->EndToolBarDrag();
        EXPECT_EQ(bar->GetToolBarState() == tsFloating, c.Floats);
        delete bar;
        EXPECT_EQ(panel->AdvToolBarCount(), 0);
        delete panel;
    }
}

TEST_F(Docking, OnCanFloatVetoesAndDockModesLimitTargets) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* top = NewPanel(daTop, L"Top");
    TAdvDockPanel* left = NewPanel(daLeft, L"Left");
    TAdvToolBar* bar = NewBar(top, L"A");
    bar->OnCanFloat = [](TObject*, bool& allow) { allow = false; };
    bar->BeginToolBarDrag(3, 3);
    bar->ToolBarDragMove(ssLeft, 3, 200);
    bar->EndToolBarDrag();
    EXPECT_EQ(bar->GetToolBarState(), tsDocked);
    bar->OnCanFloat = nullptr;

    // Floating over the left panel: docks there unless its side or the mode rules it out.
    struct TCase {
        const char* Name;
        TDockMode Mode;
        TDockableTo Sides;
        bool DocksLeft;
    };
    const TCase cases[] = {
        {"all", dmAll, AllDockSides, true},
        {"parent's panels", dmAllParentDockPanels, AllDockSides, true},
        {"last panel only", dmParentDockPanelOnly, AllDockSides, false},
        {"left not allowed", dmAll, TDockableTo{daTop, daBottom}, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        bar->Dock(top);
        bar->SetDockMode(c.Mode);
        bar->SetDockableTo(c.Sides);
        bar->SetToolBarFloating({400, 400});
        ASSERT_EQ(bar->GetToolBarState(), tsFloating);
        bar->BeginToolBarDrag(10, 10);
        const TPoint target = left->ClientToScreen({left->Width() / 2, 100});
        const TPoint local = bar->ScreenToClient(target);
        bar->ToolBarDragMove(ssLeft, local.X, local.Y);
        bar->EndToolBarDrag();
        EXPECT_EQ(bar->AdvDockPanel() == left, c.DocksLeft);
        if (c.DocksLeft) {
            EXPECT_EQ(bar->FloatingWindow(), nullptr);
        }
    }
}

TEST_F(Docking, FloatingWindowFitsTheToolBarAndFollowsItsForm) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* panel = NewPanel(daTop);
    TAdvToolBar* bar = NewBar(panel, L"A", 4);
    bar->SetToolBarFloating({200, 200});
    TFloatingWindow* window = bar->FloatingWindow();
    ASSERT_NE(window, nullptr);
    const int inset = Screen->PixelsPerInch() >= 144 ? 4 : 3;
    EXPECT_EQ(bar->Left(), inset);
    EXPECT_EQ(bar->Top(), inset);
    EXPECT_EQ(window->Width(), bar->Width() + 2 * inset);
    EXPECT_EQ(window->Height(), bar->Height() + 2 * inset);
    EXPECT_EQ(bar->GetPosition(), (TPoint{200, 200}));

    // The form hides: the watch timer hides the window within a few ticks, and shows it again.
    FForm->Hide();
    EXPECT_TRUE(TestSupport::PumpUntil([&] { return !window->Visible(); }, 3000));
    FForm->Show();
    EXPECT_TRUE(TestSupport::PumpUntil([&] { return window->Visible(); }, 3000));

    // The system close hides the toolbar; freeing the toolbar frees the window.
    ::SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(bar->Visible());
    const HWND handle = window->Handle();
    delete bar;
    EXPECT_FALSE(::IsWindow(handle));
}

// The fill of a floating caption button as it stands on screen (a spot clear of its glyph).
COLORREF CaptionButtonFill(TAdvToolBar* bar, const TRect& button) {
    HDC dc = ::GetDC(bar->Handle());
    const COLORREF colour = ::GetPixel(dc, button.Left + 2, button.Top + 2);
    ::ReleaseDC(bar->Handle(), dc);
    return colour;
}
LPARAM At(int x, int y) { return MAKELPARAM(WORD(short(x)), WORD(short(y))); }
TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// The option and close buttons of a floating caption: hover, press and release each show
// their state; the close acts wherever the button is released; neither clicks the toolbar.
TEST_F(Docking, FloatingCaptionButtonsShowTheirStatesAndCloseWhereverReleased) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* panel = NewPanel(daTop);
    TAdvToolBar* bar = NewBar(panel, L"A", 4);
    bar->SetCaption(L"Tools");
    TCustomAdvToolBarStyler* styler = panel->CurrentToolBarStyler();
    styler->CaptionAppearance()->SetCaptionColor(TColor(0x808080));
    AdvMenus::TCustomAdvMenuStyler* menu = styler->CurrentAdvMenuStyler();
    ASSERT_NE(menu, nullptr);
    menu->RootItem()->SetHoverColor(TColor(0x30C0F0));
    menu->RootItem()->SetColor(TColor(0x2050A0));
    const COLORREF normal = 0x808080, hot = 0x30C0F0, down = 0x2050A0;
    int clicks = 0;
    bar->OnClick = [&](TObject*) { ++clicks; };
    bar->SetToolBarFloating({240, 220});
    ASSERT_EQ(bar->GetToolBarState(), tsFloating);
    TestSupport::PumpMessages();
    const TRect close = FloatingCloseButtonRect(bar->Frame());
    const TRect option = FloatingOptionButtonRect(bar->Frame());
    ASSERT_FALSE(close.IsEmpty());
    ASSERT_LT(option.Right, close.Left);
    const HWND h = bar->Handle();
    EXPECT_EQ(CaptionButtonFill(bar, close), normal);
    EXPECT_EQ(CaptionButtonFill(bar, option), normal);

    // The option button: hot under the pointer, down while pressed, hot again on release.
    ::SendMessageW(h, WM_MOUSEMOVE, 0, At(Centre(option).X, Centre(option).Y));
    EXPECT_EQ(CaptionButtonFill(bar, option), hot);
    EXPECT_EQ(CaptionButtonFill(bar, close), normal);
    ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(Centre(option).X, Centre(option).Y));
    EXPECT_EQ(CaptionButtonFill(bar, option), down);
    ::SendMessageW(h, WM_LBUTTONUP, 0, At(Centre(option).X, Centre(option).Y));
    EXPECT_EQ(CaptionButtonFill(bar, option), hot);
    EXPECT_EQ(bar->GetToolBarState(), tsFloating);

    // Moving on to the close button hands the hover over.
    ::SendMessageW(h, WM_MOUSEMOVE, 0, At(Centre(close).X, Centre(close).Y));
    EXPECT_EQ(CaptionButtonFill(bar, option), normal);
    EXPECT_EQ(CaptionButtonFill(bar, close), hot);
    ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(Centre(close).X, Centre(close).Y));
    EXPECT_EQ(CaptionButtonFill(bar, close), down);
    EXPECT_TRUE(bar->Visible());
    // Released far off the button (and off the toolbar): the toolbar still closes.
    ::SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, At(-40, -40));
    ::SendMessageW(h, WM_LBUTTONUP, 0, At(-40, -40));
    EXPECT_FALSE(bar->Visible());
    EXPECT_FALSE(bar->FloatingWindow()->Visible());
    EXPECT_EQ(clicks, 0);
}

// The rows from the first to the last that hold a pixel off the background (inside r).
int InkRows(const std::function<TColor(int x, int y)>& pixel, const TRect& r, TColor background) {
    const auto off = [background](TColor c) {
        const int d = std::abs(int(c & 0xFF) - int(background & 0xFF)) + std::abs(int((c >> 8) & 0xFF) - int((background >> 8) & 0xFF)) +
                      std::abs(int((c >> 16) & 0xFF) - int((background >> 16) & 0xFF));
        return d > 0x60;
    };
    int first = -1, last = -1;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (off(pixel(x, y))) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return first < 0 ? 0 : last - first + 1;
}

// The caption text of a floating toolbar is drawn in the caption font as it is, the same
// size as the font gives on a plain bitmap (its size is in screen pixels already).
TEST_F(Docking, FloatingCaptionTextKeepsTheCaptionFontsSize) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* panel = NewPanel(daTop);
    TAdvToolBar* bar = NewBar(panel, L"A", 4);
    bar->SetCaption(L"Tools");
    TCustomAdvToolBarStyler* styler = panel->CurrentToolBarStyler();
    const TColor grey = TColor(0x808080);
    styler->CaptionAppearance()->SetCaptionColor(grey);
    styler->CaptionAppearance()->SetCaptionColorTo(grey);
    styler->CaptionAppearance()->SetCaptionBorderColor(clNone);
    styler->CaptionAppearance()->SetCaptionTextColor(clWhite);
    bar->SetToolBarFloating({240, 220});
    bar->Repaint();
    TestSupport::PumpMessages();
    const TToolBarFrame frame = bar->Frame();
    TRect text = CaptionRect(frame);
    text.Right = FloatingOptionButtonRect(frame).Left;
    HDC dc = ::GetDC(bar->Handle());
    const int drawn = InkRows([dc](int x, int y) { return TColor(::GetPixel(dc, x, y)); }, text, grey);
    ::ReleaseDC(bar->Handle(), dc);

    TBitmap plain;
    plain.SetSize(200, 80);
    plain.Canvas()->Brush()->SetColor(grey);
    plain.Canvas()->FillRect({0, 0, 200, 80});
    plain.Canvas()->SetFont(styler->CaptionFont());
    plain.Canvas()->Font()->SetColor(clWhite);
    plain.Canvas()->Brush()->SetStyle(bsClear);
    plain.Canvas()->TextOut(4, 4, L"Tools");
    const int expected = InkRows([&plain](int x, int y) { return plain.Canvas()->Pixels(x, y); }, {0, 0, 200, 80}, grey);
    ASSERT_GT(expected, 4);
    EXPECT_NEAR(drawn, expected, 1);
}

int ColourDistance(COLORREF a, COLORREF b) {
    return std::abs(int(GetRValue(a)) - int(GetRValue(b))) + std::abs(int(GetGValue(a)) - int(GetGValue(b))) +
           std::abs(int(GetBValue(a)) - int(GetBValue(b)));
}

// The floating window's border in its colour (none with clNone), and the caption's
// gradient from its colour at the top to its second colour at the bottom.
TEST_F(Docking, FloatingBorderAndCaptionGradient) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* panel = NewPanel(daTop);
    TAdvToolBar* bar = NewBar(panel, L"A", 4);
    TCustomAdvToolBarStyler* styler = panel->CurrentToolBarStyler();
    const COLORREF from = 0x0000C0, to = 0xC00000;
    styler->CaptionAppearance()->SetCaptionColor(TColor(from));
    styler->CaptionAppearance()->SetCaptionColorTo(TColor(to));
    styler->CaptionAppearance()->SetCaptionBorderColor(clNone);
    bar->SetToolBarFloating({240, 220});
    TFloatingWindow* window = bar->FloatingWindow();
    ASSERT_NE(window, nullptr);
    const auto pixel = [](TWinControl* control, int x, int y) {
        HDC dc = ::GetDC(control->Handle());
        const COLORREF colour = ::GetPixel(dc, x, y);
        ::ReleaseDC(control->Handle(), dc);
        return colour;
    };
    window->SetBorderColor(TColor(0x00FF00));
    window->Repaint();
    EXPECT_EQ(pixel(window, 1, window->Height() / 2), COLORREF(0x00FF00));
    window->SetBorderColor(clNone);
    window->Repaint();
    EXPECT_NE(pixel(window, 1, window->Height() / 2), COLORREF(0x00FF00));

    bar->Repaint();
    const TRect caption = CaptionRect(bar->Frame());
    const COLORREF top = pixel(bar, caption.Left + 2, caption.Top + 1);
    const COLORREF bottom = pixel(bar, caption.Left + 2, caption.Bottom - 2);
    EXPECT_LT(ColourDistance(top, from), ColourDistance(top, to));
    EXPECT_LT(ColourDistance(bottom, to), ColourDistance(bottom, from));
}

// The hint texts of the caption buttons, and the option button in the close button's
// place when there is no close button.
TEST_F(Docking, FloatingCaptionButtonHints) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* panel = NewPanel(daTop);
    TAdvToolBar* bar = NewBar(panel, L"A", 4);
    bar->SetHintCloseButton(L"Close the toolbar");
    bar->SetHintOptionButton(L"Toolbar options");
    bar->SetToolBarFloating({240, 220});
    const auto hintAt = [bar](TPoint p) {
        THintInfo info;
        info.HintControl = bar;
        info.CursorPos = p;
        info.HintStr = L"plain";
        bar->Perform(CM_HINTSHOW, 0, LPARAM(&info));
        return info.HintStr;
    };
    const TRect close = FloatingCloseButtonRect(bar->Frame());
    const TRect option = FloatingOptionButtonRect(bar->Frame());
    EXPECT_EQ(hintAt(Centre(close)), L"Close the toolbar");
    EXPECT_EQ(hintAt(Centre(option)), L"Toolbar options");
    EXPECT_EQ(hintAt({2, bar->Height() - 3}), L"plain");
    bar->SetShowHint(false);
    EXPECT_EQ(hintAt(Centre(close)), L"plain");
    bar->SetShowHint(true);

    bar->SetShowClose(false);
    EXPECT_TRUE(FloatingCloseButtonRect(bar->Frame()).IsEmpty());
    EXPECT_EQ(FloatingOptionButtonRect(bar->Frame()), close);
    EXPECT_EQ(hintAt(Centre(close)), L"Toolbar options");
}

TEST_F(Docking, FloatingRowsFromTheRightEdge) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* panel = NewPanel(daTop);
    TAdvToolBar* bar = NewBar(panel, L"A", 6);
    bar->SetToolBarFloating({100, 300});
    TFloatingWindow* window = bar->FloatingWindow();
    ASSERT_TRUE(bar->GetMaxFloatingRows() > 2);
    bar->SetFloatingRows(3);
    const int width3 = window->Width();
    const HWND handle = window->Handle();
    auto mouse = [&](UINT msg, int x, int y, WPARAM keys) {
        ::SendMessageW(handle, msg, keys, MAKELPARAM(x, y));
    };
    // 10 px inside the right edge starts nothing; 3 px inside does.
    mouse(WM_LBUTTONDOWN, window->Width() - 10, window->Height() / 2, MK_LBUTTON);
    EXPECT_FALSE(window->Resizing());
    mouse(WM_LBUTTONUP, window->Width() - 10, window->Height() / 2, 0);
    mouse(WM_LBUTTONDOWN, window->Width() - 3, window->Height() / 2, MK_LBUTTON);
    ASSERT_TRUE(window->Resizing());
    EXPECT_EQ(window->ResizingClip(), rcRight);
    mouse(WM_MOUSEMOVE, window->Width() + 6, window->Height() / 2, MK_LBUTTON);
    EXPECT_EQ(bar->FloatingRows(), 2);
    EXPECT_GT(window->Width(), width3);
    mouse(WM_LBUTTONUP, window->Width(), window->Height() / 2, 0);
    EXPECT_FALSE(window->Resizing());
}

TEST(FloatingEdgeStep, StepsNeedFiveThenThreePixelsAndReverse) {
    // Sizes: each row count r gives a length of 300 / r and a height of 26 r + 16.
    auto size = [](int rows, int& height, int& length) {
        if (rows < 1 || rows > 4) return false;
        height = 26 * rows + 16;
        length = 300 / rows;
        return true;
    };
    struct TCase {
        const char* Name;
        TResizingClip Clip;
        int X, Y, MouseX, MouseY, Rows, Direction;
        int WantRows, WantDirection;
        bool Changed;
    };
    const TCase cases[] = {
        {"right: 5 px is not a first step", rcRight, 105, 10, 100, 10, 2, 0, 2, 0, false},
        {"right: 6 px out is wider", rcRight, 106, 10, 100, 10, 2, 0, 1, 1, true},
        {"right: 3 px further is wider again", rcRight, 103, 10, 100, 10, 2, 1, 1, 1, true},
        {"right: 6 px in is narrower", rcRight, 94, 10, 100, 10, 2, 0, 3, 2, true},
        {"right: back inside one row more reverses", rcRight, 100, 10, 154, 10, 2, 1, 3, 1, true},
        {"left: 6 px out is wider", rcLeft, -6, 10, 0, 10, 2, 0, 1, 1, true},
        {"top: 6 px up is taller", rcTop, 10, -6, 10, 0, 2, 0, 3, 1, true},
        {"bottom: 6 px down is taller", rcBottom, 10, 106, 10, 100, 2, 0, 3, 1, true},
        {"bottom: 6 px up is shorter", rcBottom, 10, 94, 10, 100, 2, 0, 1, 2, true},
        {"at one row wider asks for none", rcRight, 106, 10, 100, 10, 1, 0, 0, 1, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TEdgeStepInput in;
        in.Clip = c.Clip;
        in.X = c.X, in.Y = c.Y, in.MouseX = c.MouseX, in.MouseY = c.MouseY;
        in.Width = 160, in.Height = 80, in.Border = 2;
        in.Rows = c.Rows, in.Direction = c.Direction;
        in.SizeForRows = size;
        const TEdgeStepResult r = EdgeStep(in);
        EXPECT_EQ(r.Changed, c.Changed);
        if (c.Changed) {
            EXPECT_EQ(r.Rows, c.WantRows);
            EXPECT_EQ(r.Direction, c.WantDirection);
        }
    }
}

// ---------------------------------------------------------------- saved layouts

class DockLayout : public Docking {
protected:
    void SetUp() override {
        Docking::SetUp();
        wchar_t folder[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, folder);
        FFile = std::wstring(folder) + L"docklayout-test.ini";
        ::DeleteFileW(FFile.c_str());
    }
    void TearDown() override {
        Docking::TearDown();
        ::DeleteFileW(FFile.c_str());
    }
    void UseIni(TAdvDockPanel* panel) {
        panel->Persistence()->SetLocation(plIniFile);
        panel->Persistence()->SetKey(FFile);
        panel->Persistence()->SetSection(L"Layout");
    }
    std::unique_ptr<TMemIniFile> Saved() const {
        auto ini = std::make_unique<TMemIniFile>();
        ini->LoadFromFile(FFile);
        return ini;
    }
    std::wstring FFile;
};

TEST_F(DockLayout, TwoRowsAndAHiddenToolBarKeyForKey) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* panel = NewPanel(daTop);
    UseIni(panel);
    TAdvToolBar* a = NewBar(panel, L"A");
    TAdvToolBar* b = NewBar(panel, L"B");
    TAdvToolBar* c = NewBar(panel, L"C");
    TAdvToolBar* d = NewBar(panel, L"D");
    // A and B share row 0, C row 1, D hidden.
    d->SetVisible(false);
    int top = 1, height = b->Height();
    panel->Rows()->SetToolBarTopAndHeight(panel->Rows()->Items(1)->ToolBars(0), top, height);
    ASSERT_EQ(panel->RowCount(), 2);
    ASSERT_EQ(a->Row(), 0);
    ASSERT_EQ(b->Row(), 0);
    ASSERT_EQ(c->Row(), 1);
    panel->SaveToolBarsPosition();
    const auto saved = Saved();
    const TMemIniFile& ini = *saved;
    const std::wstring s = L"Layout";
    EXPECT_EQ(ini.ReadInteger(s, L"ToolBarCount", -1), 4);
    EXPECT_EQ(ini.ReadInteger(s, L"RowCount", -1), 2);
    EXPECT_EQ(ini.ReadString(s, L"Name1", L""), L"A");
    EXPECT_EQ(ini.ReadString(s, L"Name2", L""), L"B");
    EXPECT_EQ(ini.ReadString(s, L"Name3", L""), L"C");
    EXPECT_EQ(ini.ReadString(s, L"Name4", L""), L"D");
    EXPECT_EQ(ini.ReadInteger(s, L"A.Row", -1), 0);
    EXPECT_EQ(ini.ReadInteger(s, L"B.Row", -1), 0);
    EXPECT_EQ(ini.ReadInteger(s, L"C.Row", -1), 1);
    EXPECT_EQ(ini.ReadInteger(s, L"D.Visible", -1), 0);
    for (const wchar_t* t : {L"A", L"B", L"C", L"D"})
        for (const wchar_t* key : {L".Row", L".Left", L".Top", L".Width", L".Height", L".Visible"})
            EXPECT_TRUE(ini.ValueExists(s, std::wstring(t) + key)) << std::wstring(t) + key;

    // Rearranged, then loaded: the saved rows come back; a toolbar the store does not name
    // gets a new last row; D becomes visible from an edited store.
    panel->StackToolBars();
    {
        const auto edit = Saved();
        edit->WriteInteger(s, L"D.Visible", 1);
        edit->SetFileName(FFile);
        edit->UpdateFile();
    }
    TAdvToolBar* e = NewBar(panel, L"E");
    panel->LoadToolBarsPosition();
    EXPECT_EQ(a->Row(), 0);
    EXPECT_EQ(b->Row(), 0);
    EXPECT_LT(a->Left(), b->Left());
    EXPECT_EQ(c->Row(), 1);
    EXPECT_TRUE(d->Visible());
    EXPECT_EQ(e->Row(), panel->RowCount() - 1);
    std::wstring why;
    EXPECT_TRUE(panel->Rows()->CheckInvariants(&why));
}

// The form frees its toolbars before their panel: the layout is still saved whole, and a
// floating toolbar still stores itself as floating.
TEST_F(DockLayout, FormEndSavesTheWholeLayout) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* panel = NewPanel(daTop);
    UseIni(panel);
    panel->Persistence()->SetEnabled(true);
    NewBar(panel, L"A");
    NewBar(panel, L"B");
    NewBar(panel, L"C")->SetToolBarFloating({300, 300});
    FForm->BeforeDestruction();
    FForm.reset();
    const auto saved = Saved();
    EXPECT_EQ(saved->ReadInteger(L"Layout", L"ToolBarCount", -1), 2);
    EXPECT_EQ(saved->ReadString(L"Layout", L"Name2", L""), L"B");
    EXPECT_EQ(saved->ReadInteger(L"UnDockedAdvToolBars", L"C.State", -1), 1);
}

TEST_F(DockLayout, TakesOverAToolBarOfAnotherPanelAndPlacesBadRowsLast) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* top = NewPanel(daTop, L"Top");
    TAdvDockPanel* left = NewPanel(daLeft, L"Left");
    UseIni(top);
    TAdvToolBar* a = NewBar(top, L"A");
    TAdvToolBar* b = NewBar(left, L"B");
    {
        TMemIniFile ini;
        ini.SetFileName(FFile);
        ini.WriteInteger(L"Layout", L"ToolBarCount", 2);
        ini.WriteInteger(L"Layout", L"RowCount", 1);
        ini.WriteString(L"Layout", L"Name1", L"b");  // names match ignoring case
        ini.WriteInteger(L"Layout", L"B.Row", 0);
        ini.WriteString(L"Layout", L"Name2", L"A");
        ini.WriteInteger(L"Layout", L"A.Row", 7);    // no such row
        ini.UpdateFile();
    }
    top->LoadToolBarsPosition();
    EXPECT_EQ(b->AdvDockPanel(), top);
    EXPECT_EQ(left->AdvToolBarCount(), 0);
    EXPECT_EQ(b->Row(), 0);
    EXPECT_EQ(a->Row(), 1);
    EXPECT_EQ(top->RowCount(), 2);
}

TEST_F(DockLayout, HostileCountsAndEmptyKeys) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* panel = NewPanel(daTop);
    TAdvToolBar* a = NewBar(panel, L"A");
    // No key: nothing is written anywhere and nothing changes.
    panel->Persistence()->SetSection(L"Layout");
    panel->SaveToolBarsPosition();
    panel->LoadToolBarsPosition();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(FFile)));
    UseIni(panel);
    {
        TMemIniFile ini;
        ini.SetFileName(FFile);
        ini.WriteInteger(L"Layout", L"ToolBarCount", 2000000000);
        ini.WriteInteger(L"Layout", L"RowCount", 2000000000);
        ini.WriteString(L"Layout", L"Name1", L"A");
        ini.UpdateFile();
    }
    panel->LoadToolBarsPosition();
    EXPECT_EQ(panel->RowCount(), 1);
    EXPECT_EQ(a->Row(), 0);
}

TEST_F(DockLayout, ToolBarKeysWhileFloatingAndAfterDocking) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* panel = NewPanel(daTop);
    TAdvToolBar* a = NewBar(panel, L"A", 3);
    // Docking hands the panel's (disabled) settings to the toolbar: its own again after each.
    const auto own = [&] {
        TPersistence* p = a->Persistence();
        p->SetLocation(plIniFile);
        p->SetKey(FFile);
        p->SetEnabled(true);
    };
    own();
    a->SavePosition();  // never floated: only the item keys
    {
        const auto saved = Saved();
        const TMemIniFile& ini = *saved;
        EXPECT_EQ(ini.ReadSection(L"UnDockedAdvToolBars"),
                  (std::vector<std::wstring>{L"A.AB0", L"A.AB1", L"A.AB2"}));
    }
    a->SetToolBarFloating({150, 250});
    a->SetFloatingRows(2);
    a->SavePosition();
    {
        const auto saved = Saved();
        const TMemIniFile& ini = *saved;
        const std::vector<std::wstring> keys = ini.ReadSection(L"UnDockedAdvToolBars");
        const std::vector<std::wstring> floating = {L"A.Name", L"A.State", L"A.FloatingRows", L"A.Left",
                                                    L"A.Top", L"A.Width", L"A.Height", L"A.Visible"};
        for (const std::wstring& key : floating) EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end()) << key;
        EXPECT_EQ(ini.ReadInteger(L"UnDockedAdvToolBars", L"A.State", -1), 1);
    }
    // A new toolbar of the same name floats where the store says, with the saved rows.
    a->Dock(panel);
    own();
    a->SetFloatingRows(1);
    a->LoadPosition();
    EXPECT_EQ(a->GetToolBarState(), tsFloating);
    EXPECT_EQ(a->GetPosition(), (TPoint{150, 250}));
    EXPECT_EQ(a->FloatingRows(), 2);
    a->Dock(panel);
    own();
    a->SavePosition();
    EXPECT_EQ(Saved()->ReadInteger(L"UnDockedAdvToolBars", L"A.State", -1), 0);
}

TEST_F(DockLayout, RegistryRoundTrip) {
    REQUIRE_DISPLAY();
    const std::wstring key = L"Software\\AtGenTests\\DockLayout";
    struct TCleanup {
        std::wstring Key;
        ~TCleanup() {
            TRegistry registry;
            registry.DeleteKey(Key);
        }
    } cleanup{key};
    TAdvDockPanel* panel = NewPanel(daTop);
    panel->Persistence()->SetLocation(plRegistry);
    panel->Persistence()->SetKey(key);
    panel->Persistence()->SetSection(L"Layout");
    TAdvToolBar* a = NewBar(panel, L"A");
    TAdvToolBar* b = NewBar(panel, L"B");
    int top = 1, height = b->Height();
    panel->Rows()->SetToolBarTopAndHeight(panel->Rows()->Items(1)->ToolBars(0), top, height);
    ASSERT_EQ(panel->RowCount(), 1);
    panel->SaveToolBarsPosition();
    top = panel->Rows()->Items(0)->RowRect().CrossStart + 4;  // just below its row's top: a row of its own
    panel->Rows()->SetToolBarTopAndHeight(panel->Rows()->Items(0)->ToolBars(1), top, height);
    ASSERT_EQ(panel->RowCount(), 2);
    panel->LoadToolBarsPosition();
    EXPECT_EQ(panel->RowCount(), 1);
    EXPECT_EQ(a->Row(), 0);
    EXPECT_EQ(b->Row(), 0);
}

// ---------------------------------------------------------------- real drags

void MouseTo(POINT p) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>(p.x * 65535.0 / (::GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
    input.mi.dy = static_cast<LONG>(p.y * 65535.0 / (::GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
}

void LeftButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof input);
}

// Presses at `from`, moves to `to` in steps and releases there, from a second thread, so
// the drag's own message loop runs on the test's thread as for a user. The pauses give
// that thread time to take each input; they bound nothing.
class TMouseDrag {
public:
    TMouseDrag(POINT from, POINT to) {
        FThread = std::thread([this, from, to]() noexcept {
            MouseTo(from);
            ::Sleep(150);
            LeftButton(true);
            ::Sleep(150);
            for (int step = 1; step <= 12; ++step) {
                MouseTo(POINT{from.x + (to.x - from.x) * step / 12, from.y + (to.y - from.y) * step / 12});
                ::Sleep(60);
            }
            ::Sleep(150);
            LeftButton(false);
            ::Sleep(150);
            FDone = true;
        });
    }
    ~TMouseDrag() { FThread.join(); }
    bool Done() const { return FDone; }

private:
    std::atomic<bool> FDone{false};
    std::thread FThread;
};

TEST_F(Docking, RealDragAlongTheRowSwapsAndTearOffDocksInAnotherPanel) {
    REQUIRE_DISPLAY();
    TAdvDockPanel* top = NewPanel(daTop, L"Top");
    TAdvDockPanel* bottom = NewPanel(daBottom, L"Bottom");
    TAdvToolBar* a = NewBar(top, L"A");
    TAdvToolBar* b = NewBar(top, L"B");
    int cross = 1, height = b->Height();
    top->Rows()->SetToolBarTopAndHeight(top->Rows()->Items(1)->ToolBars(0), cross, height);
    ASSERT_EQ(b->Row(), 0);
    ASSERT_LT(a->Left(), b->Left());
    FForm->BringToFront();
    TestSupport::PumpMessages();
    bool clicked = false;
    b->OnClick = [&](TObject*) { clicked = true; };
    {
        const TPoint grip = b->ClientToScreen({3, b->Height() / 2});
        const TPoint to = a->ClientToScreen({0, a->Height() / 2});
        TMouseDrag drag({grip.X, grip.Y}, {to.X - 2, to.Y});
        ASSERT_TRUE(TestSupport::PumpUntil([&] { return drag.Done(); }));
        TestSupport::PumpMessages();
    }
    EXPECT_LT(b->Left(), a->Left());
    EXPECT_FALSE(b->ToolBarDragging());
    EXPECT_FALSE(clicked);

    {
        const TPoint grip = a->ClientToScreen({3, a->Height() / 2});
        const TPoint to = bottom->ClientToScreen({bottom->Width() / 2, bottom->Height() / 2});
        TMouseDrag drag({grip.X, grip.Y}, {to.X, to.Y});
        ASSERT_TRUE(TestSupport::PumpUntil([&] { return drag.Done(); }));
        TestSupport::PumpMessages();
    }
    EXPECT_EQ(a->AdvDockPanel(), bottom);
    EXPECT_EQ(a->GetToolBarState(), tsDocked);
    EXPECT_EQ(a->FloatingWindow(), nullptr);
    EXPECT_FALSE(a->ToolBarDragging());
}

}  // namespace
