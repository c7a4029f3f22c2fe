#include "classlib/ButtonControls.h"

#include <gtest/gtest.h>

#include "classlib/EditControls.h"
#include "classlib/Form.h"
#include "classlib/ProgressBar.h"
#include "classlib/StringList.h"
#include "support/PublishedDefaults.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;

TEST(ButtonAndEditControlsHeadless, EveryNewControlKeepsItsPublishedDefaults) {
    TButton button(nullptr);
    TRadioButton radio(nullptr);
    TEdit edit(nullptr);
    TRichEdit rich(nullptr);
    TProgressBar bar(nullptr);
    for (const TObject* object : std::initializer_list<const TObject*>{&button, &radio, &edit, &rich, &bar})
        EXPECT_GT(TestSupport::ExpectPublishedDefaults(object), 0) << object->ClassName();
}

TEST(ButtonAndEditControlsHeadless, CheckingARadioButtonUnchecksItsSiblings) {
    TForm form(nullptr);
    auto* first = new TRadioButton(&form);
    auto* second = new TRadioButton(&form);
    first->SetParent(&form);
    second->SetParent(&form);
    int clicks = 0;
    second->OnClick = [&](TObject*) { ++clicks; };
    first->SetChecked(true);
    second->SetChecked(true);
    EXPECT_FALSE(first->Checked());
    EXPECT_TRUE(second->Checked());
    EXPECT_EQ(clicks, 1);
}

TEST(ButtonAndEditControlsHeadless, ProgressPositionStaysInRange) {
    TProgressBar bar(nullptr);
    bar.SetRange(0, 10);
    bar.SetPosition(12);
    EXPECT_EQ(bar.Position(), 10);
    bar.SetMax(5);
    EXPECT_EQ(bar.Position(), 5);
    bar.SetMin(8);   // the range never turns over
    EXPECT_EQ(bar.Max(), 8);
    EXPECT_EQ(bar.Position(), 8);
}

TEST(ButtonAndEditControls, ModalResultButtonsAndDialogKeysEndAModalForm) {
    REQUIRE_DISPLAY();
    struct TCase {
        const char* Name;
        WPARAM Key;
        TModalResult Expected;
    };
    const TCase cases[] = {{"enter", VK_RETURN, mrOk}, {"escape", VK_ESCAPE, mrCancel}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TForm form(nullptr);
        auto* ok = new TButton(&form);
        ok->SetParent(&form);
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        auto* cancel = new TButton(&form);
        cancel->SetParent(&form);
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        form.HandleNeeded();
        form.Perform(CM_DIALOGKEY, c.Key, 0);
        EXPECT_EQ(form.ModalResult(), c.Expected);
    }
}

TEST(ButtonAndEditControls, EnterPressesTheFocusedButtonElseTheDefaultOne) {
    REQUIRE_DISPLAY();
    struct TCase {
        const char* Focus;
        const char* Pressed;
    };
    const TCase cases[] = {{"other", "other"}, {"default", "default"}, {"edit", "default"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Focus);
        TForm form(nullptr);
        auto* byDefault = new TButton(&form);
        byDefault->SetParent(&form);
        byDefault->SetDefault(true);
        auto* other = new TButton(&form);
        other->SetParent(&form);
        other->SetLeft(100);
        auto* edit = new TEdit(&form);
        edit->SetParent(&form);
        edit->SetTop(40);
        std::string pressed;
        byDefault->OnClick = [&](TObject*) { pressed += "default"; };
        other->OnClick = [&](TObject*) { pressed += "other"; };
        form.Show();
        TestSupport::PumpMessages();
        const std::string focus = c.Focus;
        (focus == "other" ? static_cast<TWinControl*>(other) : focus == "edit" ? static_cast<TWinControl*>(edit) : byDefault)
            ->SetFocus();
        form.Perform(CM_DIALOGKEY, VK_RETURN, 0);
        EXPECT_EQ(pressed, c.Pressed);
        form.Hide();
    }
}

TEST(ButtonAndEditControls, RichEditShowsRtfAsPlainTextAndEditHidesPasswords) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    auto* rich = new TRichEdit(&form);
    rich->SetParent(&form);
    rich->SetRTF("{\\rtf1\\ansi Hello {\\b bold} world}");
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetPasswordChar(L'*');
    edit->SetText(L"secret");
    form.HandleNeeded();
    rich->HandleNeeded();
    edit->HandleNeeded();
    EXPECT_EQ(rich->GetText(), L"Hello bold world");
    EXPECT_EQ(edit->GetText(), L"secret");
    EXPECT_EQ(::SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
    rich->Lines()->SetText(L"plain");
    EXPECT_EQ(rich->GetText(), L"plain\r\n");
}
