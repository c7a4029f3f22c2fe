// The shared takeover of a form's window procedure: clients see the messages they asked for,
// a freed client sees nothing more, and the last one gone leaves the form as it found it.
#include "toolbars/AdvFormProcTakeover.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/Form.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;
using namespace AdvToolBar;

namespace {

class FormProcTakeover : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetName(L"TakeoverForm");
        FForm->SetBounds(100, 100, 400, 300);
        FForm->Show();
        FOriginalProc = ::GetWindowLongPtrW(Form(), GWLP_WNDPROC);
    }
    HWND Form() const { return FForm->Handle(); }
    void MoveAndResize() {
        ::SetWindowPos(Form(), nullptr, 120, 130, 420, 310, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SetWindowPos(Form(), nullptr, 90, 90, 380, 280, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    std::unique_ptr<TForm> FForm;
    LONG_PTR FOriginalProc = 0;
};

}  // namespace

TEST_F(FormProcTakeover, ClientSeesOnlyItsMessagesBeforeTheForm) {
    REQUIRE_DISPLAY();
    int moves = 0, sizes = 0;
    TFormProcClient client({WM_WINDOWPOSCHANGED}, [&](UINT msg, WPARAM, LPARAM) {
        if (msg == WM_WINDOWPOSCHANGED) ++moves;
        else ++sizes;
    });
    ASSERT_TRUE(client.Join(Form()));
    EXPECT_TRUE(FormProcTakenOver(Form()));
    MoveAndResize();
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(sizes, 0);
    // The form itself still got them: its bounds follow the window.
    EXPECT_EQ(FForm->Left(), 90);
    EXPECT_EQ(FForm->Width(), 380);
}

TEST_F(FormProcTakeover, FreedClientGetsNothingAndTheFormIsRestored) {
    REQUIRE_DISPLAY();
    const LONG_PTR userData = 0x5eed;
    ::SetWindowLongPtrW(Form(), GWLP_USERDATA, userData);
    auto seen = std::make_shared<int>(0);
    {
        auto client = std::make_unique<TFormProcClient>(std::initializer_list<UINT>{},
                                                        [seen](UINT, WPARAM, LPARAM) { ++*seen; });
        ASSERT_TRUE(client->Join(Form()));
        // Someone writing the user data meanwhile does not disturb the saved procedure.
        ::SetWindowLongPtrW(Form(), GWLP_USERDATA, 0);
        ::SetWindowRgn(Form(), ::CreateRectRgn(0, 0, 50, 50), FALSE);
    }
    const int before = *seen;
    MoveAndResize();
    EXPECT_EQ(*seen, before);
    EXPECT_EQ(::GetWindowLongPtrW(Form(), GWLP_WNDPROC), FOriginalProc);
    EXPECT_EQ(::GetWindowLongPtrW(Form(), GWLP_USERDATA), userData);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(Form(), region), ERROR) << "the form had no region before";
    ::DeleteObject(region);
    EXPECT_EQ(FormProcClientCount(Form()), 0);
}

TEST_F(FormProcTakeover, TwoClientsShareOneTakeoverInEitherLeavingOrder) {
    REQUIRE_DISPLAY();
    for (const bool firstLeavesFirst : {true, false}) {
        SCOPED_TRACE(firstLeavesFirst ? "first leaves first" : "second leaves first");
        int first = 0, second = 0;
        auto a = std::make_unique<TFormProcClient>(std::initializer_list<UINT>{WM_WINDOWPOSCHANGED},
                                                   [&](UINT, WPARAM, LPARAM) { ++first; });
        auto b = std::make_unique<TFormProcClient>(std::initializer_list<UINT>{WM_WINDOWPOSCHANGED},
                                                   [&](UINT, WPARAM, LPARAM) { ++second; });
        ASSERT_TRUE(a->Join(Form()));
        const LONG_PTR takeover = ::GetWindowLongPtrW(Form(), GWLP_WNDPROC);
        ASSERT_TRUE(b->Join(Form()));
        EXPECT_EQ(::GetWindowLongPtrW(Form(), GWLP_WNDPROC), takeover) << "one takeover, not two";
        EXPECT_EQ(FormProcClientCount(Form()), 2);
        MoveAndResize();
        EXPECT_EQ(first, 2);
        EXPECT_EQ(second, 2);

        std::unique_ptr<TFormProcClient>& gone = firstLeavesFirst ? a : b;
        std::unique_ptr<TFormProcClient>& stays = firstLeavesFirst ? b : a;
        int& goneCount = firstLeavesFirst ? first : second;
        int& staysCount = firstLeavesFirst ? second : first;
        gone.reset();
        MoveAndResize();
        EXPECT_EQ(goneCount, 2);
        EXPECT_EQ(staysCount, 4);
        EXPECT_TRUE(FormProcTakenOver(Form()));
        stays.reset();
        EXPECT_EQ(::GetWindowLongPtrW(Form(), GWLP_WNDPROC), FOriginalProc);
        MoveAndResize();
        EXPECT_EQ(staysCount, 4);
    }
}

TEST_F(FormProcTakeover, HandlerFreeingAnotherClientAndTheFormGoingAreSafe) {
    REQUIRE_DISPLAY();
    std::unique_ptr<TFormProcClient> victim;
    int victimCalls = 0;
    // The first client frees the second in the middle of a message.
    TFormProcClient killer({WM_WINDOWPOSCHANGED}, [&](UINT, WPARAM, LPARAM) { victim.reset(); });
    victim = std::make_unique<TFormProcClient>(std::initializer_list<UINT>{WM_WINDOWPOSCHANGED},
                                               [&](UINT, WPARAM, LPARAM) { ++victimCalls; });
    ASSERT_TRUE(killer.Join(Form()));
    ASSERT_TRUE(victim->Join(Form()));
    MoveAndResize();
    EXPECT_EQ(victimCalls, 0);
    // A throwing handler does not take the form down; the exception goes to the application.
    std::wstring reported;
    const TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject*, const Exception& error) { reported = error.Message(); };
    TFormProcClient thrower({WM_WINDOWPOSCHANGED}, [](UINT, WPARAM, LPARAM) { throw std::runtime_error("boom"); });
    ASSERT_TRUE(thrower.Join(Form()));
    MoveAndResize();
    thrower.Leave();
    Application->OnException = saved;
    EXPECT_EQ(reported, L"boom");
    EXPECT_EQ(FForm->Left(), 90);
    // The form's window going leaves its clients without a form.
    FForm.reset();
    EXPECT_FALSE(killer.Joined());
    EXPECT_FALSE(killer.Join(nullptr));
}
