#include "classlib/Form.h"

#include <gtest/gtest.h>

#include "classlib/Application.h"
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
    ::SetForegroundWindow(form.Handle());
    first.SetFocus();
    TestSupport::PumpMessages();
    ASSERT_TRUE(first.Focused());
    ::PostMessageW(first.Handle(), WM_KEYDOWN, VK_TAB, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(third.Focused());  // the one without a tab stop is passed over
    EXPECT_EQ(form.ActiveControl(), &third);
    ::PostMessageW(third.Handle(), WM_KEYDOWN, VK_TAB, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(first.Focused());  // and round again
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
}
