#include "classlib/Form.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "classlib/Application.h"
#include "classlib/GdiObjects.h"
#include "classlib/Screen.h"
#include "classlib/StandardControls.h"
#include "classlib/Seams.h"
#include "classlib/Timer.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;

namespace {

constexpr UINT WM_CHECK_ONCE = WM_USER + 100;

// A window that handles a private message it posts to itself.
class TMessageForm : public TForm {
    CLASSLIB_CLASS(TMessageForm, TForm)
public:
    explicit TMessageForm(TComponent* owner) : TForm(owner) {}
    int Handled = 0;
    void Dispatch(TMessage& message) override {
        if (message.Msg == WM_CHECK_ONCE) {
            ++Handled;
            return;
        }
        TForm::Dispatch(message);
    }
};

CLASSLIB_IMPLEMENT(TMessageForm, TForm)

// Runs the message loop until `done` or about two seconds have passed.
template <class F>
void PumpUntil(F done) {
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < 2000) {
        Application->ProcessMessages();
        ::Sleep(2);
    }
}

}  // namespace

TEST(FormHeadless, ClientSizeAndEventsWithoutAWindow) {
    TForm form(nullptr);
    form.SetClientWidth(860);
    form.SetClientHeight(646);
    EXPECT_EQ(form.ClientWidth(), 860);
    EXPECT_EQ(form.ClientHeight(), 646);
    EXPECT_GT(form.Width(), 860);  // the frame is outside the client area
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.HandleAllocated());

    // Handlers are plain values: read, replaced and chained at run time.
    std::wstring order;
    form.OnShow = [&](TObject*) { order += L"window;"; };
    const TNotifyEvent own = form.OnShow;
    form.OnShow = ChainEvents(TNotifyEvent([&](TObject*) { order += L"component;"; }), own);
    form.OnShow(&form);
    EXPECT_EQ(order, L"component;window;");
}

TEST(FormHeadless, AnOnDestroyThatThrowsReachesTheApplicationsHandler) {
    std::vector<std::wstring> caught;
    uintptr_t caughtSender = 0;   // an address: the form is gone when it is compared
    const TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject* sender, const Exception& error) {
        caughtSender = reinterpret_cast<uintptr_t>(sender);
        caught.push_back(error.Message());
    };
    auto* form = new TForm(nullptr);
    const uintptr_t formAddress = reinterpret_cast<uintptr_t>(static_cast<TObject*>(form));
    form->OnDestroy = [](TObject*) { throw EInvalidOperation(L"Cannot save the settings"); };
    delete form;   // from the destructor: unguarded, the program would end here
    Application->OnException = saved;
    EXPECT_EQ(caught, std::vector<std::wstring>{L"Cannot save the settings"});
    EXPECT_EQ(caughtSender, formAddress);
}

TEST(FormWindow, AWindowDescribedAsVisibleAppearsWhenCreated) {
    REQUIRE_DISPLAY();
    TForm shown(nullptr), hidden(nullptr);
    shown.InitFromDescriptionText(L"object Shown: TForm\n  Visible = true\n  Position = poScreenCenter\nend");
    hidden.InitFromDescriptionText(L"object Hidden: TForm\nend");
    EXPECT_TRUE(shown.Showing());
    EXPECT_FALSE(hidden.Showing());
    EXPECT_FALSE(hidden.HandleAllocated());
    const TRect screen = Screen->PrimaryMonitor().BoundsRect;
    EXPECT_NEAR(shown.Left() + shown.Width() / 2, screen.Width() / 2, 1);
}

TEST(FormWindow, ANewBorderStyleKeepsTheWindowShownAndItsClientSize) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.SetClientSize(300, 200);
    form.Show();
    HWND before = form.Handle();
    form.SetBorderStyle(bsToolWindow);
    EXPECT_NE(form.Handle(), before);
    EXPECT_TRUE(::IsWindowVisible(form.Handle()));
    EXPECT_EQ(::GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, DWORD(WS_EX_TOOLWINDOW));
    EXPECT_EQ(form.ClientWidth(), 300);
    EXPECT_EQ(form.ClientHeight(), 200);
}

TEST(FormWindow, APrivateMessagePostedToItselfIsHandledOnce) {
    REQUIRE_DISPLAY();
    TMessageForm form(nullptr);
    form.Show();
    ASSERT_TRUE(form.PostMessage(WM_CHECK_ONCE));
    PumpUntil([&] { return form.Handled > 0; });
    Application->ProcessMessages();
    EXPECT_EQ(form.Handled, 1);
}

TEST(FormWindow, ATimerMayFreeItselfInItsHandler) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    auto* timer = new TTimer(&form);
    auto* other = new TTimer(&form);
    int ticks = 0, otherTicks = 0;
    timer->SetInterval(10);
    timer->SetOnTimer([&](TObject* sender) {
        ++ticks;
        delete sender;
    });
    other->SetInterval(10);
    other->SetOnTimer([&](TObject*) { ++otherTicks; });
    PumpUntil([&] { return otherTicks >= 3; });
    EXPECT_EQ(ticks, 1);
    EXPECT_GE(otherTicks, 3);
    EXPECT_EQ(form.ComponentCount(), 1);
}

TEST(FormWindow, ShowCloseQueryCloseAndDestroyInOrder) {
    REQUIRE_DISPLAY();
    std::wstring events;
    bool allow = false;
    auto* form = new TForm(nullptr);
    form->OnShow = [&](TObject*) { events += L"show;"; };
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        events += L"query;";
        canClose = allow;
    };
    form->OnClose = [&](TObject*, TCloseAction& action) {
        events += L"close;";
        action = caFree;
    };
    form->OnDestroy = [&](TObject*) { events += L"destroy;"; };
    form->Show();
    EXPECT_TRUE(::IsWindowVisible(form->Handle()));
    form->Close();  // refused
    EXPECT_TRUE(form->Visible());
    allow = true;
    ::PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    PumpUntil([&] { return events.find(L"destroy;") != std::wstring::npos; });
    EXPECT_EQ(events, L"show;query;query;close;destroy;");
}

TEST(FormWindow, ShowModalReturnsTheModalResultAndReleasesTheCapture) {
    REQUIRE_DISPLAY();
    TForm owner(nullptr);
    owner.Show();
    ::SetCapture(owner.Handle());
    TForm dialog(nullptr);
    TTimer timer(nullptr);
    timer.SetInterval(20);
    bool ownerDisabled = false;
    timer.SetOnTimer([&](TObject*) {
        timer.SetEnabled(false);
        ownerDisabled = !::IsWindowEnabled(owner.Handle());
        EXPECT_EQ(::GetCapture(), nullptr);
        dialog.SetModalResult(mrOk);
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(owner.Handle()));
    EXPECT_FALSE(dialog.Visible());
}

TEST(FormWindow, RunEndsWhenTheMainWindowClosesAndFreesTheWindows) {
    REQUIRE_DISPLAY();
    TForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->MainForm(), main);
    bool destroyed = false;
    main->OnDestroy = [&](TObject*) { destroyed = true; };
    auto* timer = new TTimer(main);
    timer->SetInterval(20);
    timer->SetOnTimer([main](TObject*) { main->Close(); });
    Application->Run();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_FALSE(Application->Terminated());
    // The quit request is used up: the queue works as before.
    TMessageForm after(nullptr);
    after.Show();
    after.PostMessage(WM_CHECK_ONCE);
    PumpUntil([&] { return after.Handled > 0; });
    EXPECT_EQ(after.Handled, 1);
    EXPECT_FALSE(Application->Terminated());
}

TEST(FormWindow, TabMovesTheFocusInTabOrder) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    TCheckBox first(nullptr), second(nullptr), third(nullptr);
    first.SetParent(&form);
    second.SetParent(&form);
    third.SetParent(&form);
    second.SetTabStop(false);
    form.Show();
    first.SetFocus();
    TestSupport::PumpMessages();
    // The active control, not the system focus: other test programs may share the screen.
    ASSERT_EQ(form.ActiveControl(), &first);
    ::PostMessageW(first.Handle(), WM_KEYDOWN, VK_TAB, 0);
    Application->ProcessMessages();
    EXPECT_EQ(form.ActiveControl(), &third);  // the one without a tab stop is passed over
    ::PostMessageW(third.Handle(), WM_KEYDOWN, VK_TAB, 0);
    Application->ProcessMessages();
    EXPECT_EQ(form.ActiveControl(), &first);  // and round again
    for (TCheckBox* box : {&first, &second, &third}) box->SetParent(nullptr);
}

TEST(FormWindow, AHintShowsAfterThePauseAndGoesWithTheMouse) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.SetBounds(100, 100, 300, 200);
    TPanel panel(nullptr);
    panel.SetParent(&form);
    panel.SetHint(L"Sort the commands");
    panel.SetShowHint(true);
    std::wstring shownText;
    panel.WindowProc = [&, original = panel.WindowProc](TMessage& message) {
        if (message.Msg == CM_HINTSHOW) shownText = reinterpret_cast<THintInfo*>(message.LParam)->HintStr;
        original(message);
    };
    form.Show();
    Application->SetHintPause(10);
    ::SendMessageW(panel.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PumpUntil([&] { return !shownText.empty(); });
    EXPECT_EQ(shownText, L"Sort the commands");
    EXPECT_EQ(Application->HintControl(), &panel);
    panel.Perform(CM_MOUSELEAVE);
    EXPECT_EQ(Application->HintControl(), nullptr);
    Application->SetHintPause(500);
    panel.SetParent(nullptr);
}

TEST(ScreenAndMouse, ReportTheDisplay) {
    REQUIRE_DISPLAY();
    EXPECT_GT(Screen->Width(), 0);
    EXPECT_GT(Screen->PixelsPerInch(), 0);
    EXPECT_GE(Screen->MonitorCount(), 1);
    const TMonitor primary = Screen->PrimaryMonitor();
    EXPECT_TRUE(primary.Primary);
    EXPECT_GT(primary.WorkareaRect.Height(), 0);
    EXPECT_GT(Mouse->DragThreshold(), 0);
    const auto& fonts = Screen->Fonts();
    ASSERT_FALSE(fonts.empty());
    EXPECT_TRUE(std::is_sorted(fonts.begin(), fonts.end()));
}

TEST(FormHeadless, SizeConstraintsLimitTheWindowAndTheBounds) {
    TForm form(nullptr);
    form.Constraints()->SetMinWidth(860);
    form.Constraints()->SetMinHeight(680);
    EXPECT_EQ(form.Width(), 860);  // the designed 320 x 240 grew to the minimum
    form.SetBounds(0, 0, 100, 100);
    EXPECT_EQ(form.Height(), 680);
    MINMAXINFO info{};
    form.Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 860);
    EXPECT_EQ(info.ptMinTrackSize.y, 680);
}

TEST(FormHeadless, ChangeScaleScalesBoundsAndOwnFonts) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    TPanel panel(nullptr);
    panel.SetParent(&form);
    panel.SetBounds(10, 20, 100, 50);
    form.Font()->SetHeight(-12);
    form.ChangeScale(3, 2);
    EXPECT_EQ(panel.BoundsRect(), Rect(15, 30, 165, 105));
    EXPECT_EQ(form.Font()->Height(), -18);
    EXPECT_EQ(panel.Font()->Height(), -18);  // it follows its parent's font
    panel.SetParent(nullptr);
}

namespace {

// A window whose sizes a description gives in pixels of `pixelsPerInch`, with a few of
// everything that scales: alignment, anchors, margins, limits, fonts in pixels and points.
std::wstring ScalingDescription(const std::wstring& extra) {
    return L"object Scaling: TForm\n" + extra +
           L"  ClientWidth = 400\n  ClientHeight = 300\n  Constraints.MinWidth = 200\n  Font.Height = -12\n"
           L"  object Top: TPanel\n    Align = alTop\n    Height = 40\n    Font.Size = 10\n"
           L"    object Inner: TPanel\n      Left = 10\n      Top = 6\n      Width = 60\n      Height = 20\n    end\n"
           L"  end\n"
           L"  object Split: TSplitter\n    Align = alLeft\n    Width = 4\n    MinSize = 30\n  end\n"
           L"  object Fixed: TPanel\n    Left = 20\n    Top = 60\n    Width = 100\n    Height = 50\n"
           L"    Margins.Left = 4\n  end\n"
           L"  object Corner: TPanel\n    Left = 330\n    Top = 250\n    Width = 60\n    Height = 40\n"
           L"    Anchors = [akRight, akBottom]\n  end\n"
           L"end\n";
}

TControl* Child(TForm& form, const wchar_t* name) { return dynamic_cast<TControl*>(form.FindComponent(name)); }

}  // namespace

TEST(FormHeadless, ADescriptionForAnotherResolutionIsScaledToTheScreen) {
    // Written for two thirds of the screen's resolution, everything grows by half.
    const int screen = Screen->PixelsPerInch();
    ASSERT_EQ(screen % 3, 0);
    TForm form(nullptr);
    form.InitFromDescriptionText(ScalingDescription(L"  PixelsPerInch = " + std::to_wstring(screen * 2 / 3) + L"\n"));
    EXPECT_EQ(form.PixelsPerInch(), screen);
    EXPECT_EQ(form.ClientWidth(), 600);
    EXPECT_EQ(form.ClientHeight(), 450);
    EXPECT_EQ(form.Constraints()->MinWidth(), 300);
    EXPECT_EQ(form.Font()->Height(), -18);                        // pixels scale
    EXPECT_EQ(Child(form, L"Top")->Font()->Height(), -::MulDiv(10, screen, 72));  // points suit the screen already
    EXPECT_EQ(dynamic_cast<TSplitter*>(Child(form, L"Split"))->MinSize(), 45);
    EXPECT_EQ(Child(form, L"Fixed")->Margins()->Left(), 6);

    struct TCase { const wchar_t* Name; TRect Bounds; };
    const TCase cases[] = {
        {L"Top", Bounds(0, 0, 600, 60)},
        {L"Inner", Bounds(15, 9, 90, 30)},
        {L"Split", Bounds(0, 60, 6, 390)},
        {L"Fixed", Bounds(30, 90, 150, 75)},
        {L"Corner", Bounds(495, 375, 90, 60)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        EXPECT_EQ(Child(form, c.Name)->BoundsRect(), c.Bounds);
    }

    // The anchors keep the scaled distances: a wider window moves the corner along.
    form.SetClientSize(700, 500);
    EXPECT_EQ(Child(form, L"Corner")->BoundsRect(), Bounds(595, 425, 90, 60));
}

TEST(FormHeadless, AnUnscaledOrSameResolutionDescriptionKeepsItsPixels) {
    const int screen = Screen->PixelsPerInch();
    struct TCase { const wchar_t* Name; std::wstring Extra; int PixelsPerInch; };
    const TCase cases[] = {
        {L"not scaled", L"  Scaled = false\n  PixelsPerInch = " + std::to_wstring(screen * 2 / 3) + L"\n", screen * 2 / 3},
        {L"written for the screen", L"  PixelsPerInch = " + std::to_wstring(screen) + L"\n", screen},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        TForm form(nullptr);
        form.InitFromDescriptionText(ScalingDescription(c.Extra));
        EXPECT_EQ(form.PixelsPerInch(), c.PixelsPerInch);
        EXPECT_EQ(form.ClientWidth(), 400);
        EXPECT_EQ(form.Font()->Height(), -12);
        EXPECT_EQ(Child(form, L"Inner")->BoundsRect(), Bounds(10, 6, 60, 20));
        EXPECT_EQ(Child(form, L"Corner")->BoundsRect(), Bounds(330, 250, 60, 40));
    }

    TForm bad(nullptr);
    try {
        bad.InitFromDescriptionText(L"object Bad: TForm\n  PixelsPerInch = 0\nend\n");
        ADD_FAILURE() << "no error for a resolution of 0";
    } catch (const Exception& error) {
        EXPECT_NE(error.Message().find(L"PixelsPerInch"), std::wstring::npos) << testing::PrintToString(error.Message());
    }
    EXPECT_EQ(bad.PixelsPerInch(), 96);
}

TEST(FormWindow, AFrameInsideAFrameHoldsItsControlsAndFollowsTheFormsColour) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.InitFromDescriptionText(
        L"object Host: TForm\n  Color = 255\n"
        L"  object Outer: TFrame\n    Left = 8\n    Top = 8\n"
        L"    object Inner: TFrame\n      Left = 4\n      Top = 4\n      Width = 100\n      Height = 60\n"
        L"      object Button: TPanel\n      end\n    end\n  end\nend");
    auto* outer = dynamic_cast<TFrame*>(form.FindComponent(L"Outer"));
    auto* inner = dynamic_cast<TFrame*>(form.FindComponent(L"Inner"));
    auto* panel = dynamic_cast<TPanel*>(form.FindComponent(L"Button"));
    ASSERT_TRUE(outer && inner && panel);
    EXPECT_EQ(inner->Parent(), outer);
    EXPECT_EQ(panel->Parent(), inner);
    EXPECT_EQ(outer->Width(), 320);
    EXPECT_EQ(inner->Color(), TColor(255));  // a frame takes its parent's colour by default
    form.Show();
    EXPECT_EQ(::GetParent(inner->Handle()), outer->Handle());
    EXPECT_TRUE(::IsWindowVisible(panel->Handle()));

    // Components made with a frame as owner go with it.
    auto* owned = new TFrame(inner);
    owned->SetParent(inner);
    EXPECT_EQ(inner->ComponentCount(), 1);
    delete inner;
    EXPECT_EQ(outer->ControlCount(), 0);
    form.Hide();
}
