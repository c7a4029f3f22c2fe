// Actions and their links: a control follows its action and runs it on a click.
#include "classlib/Actions.h"

#include <gtest/gtest.h>

#include "classlib/Control.h"

using namespace ClassLib;

TEST(Actions, AControlFollowsItsActionAndRunsItOnAClick) {
    TActionList list(nullptr);
    TAction action(nullptr);
    action.SetActionList(&list);
    action.SetCaption(L"&Paste");
    action.SetHint(L"Paste the clipboard");
    int runs = 0;
    action.OnExecute = [&](TObject*) { ++runs; };
    TControl control(nullptr);
    int clicks = 0;
    control.OnClick = [&](TObject*) { ++clicks; };
    control.SetAction(&action);
    EXPECT_EQ(control.Caption(), L"&Paste");
    EXPECT_EQ(control.Hint(), L"Paste the clipboard");
    action.SetEnabled(false);
    EXPECT_FALSE(control.Enabled());
    action.SetEnabled(true);
    control.Click();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(clicks, 0);  // the action's handler is the click
    // A caption the control changed itself no longer follows.
    control.SetCaption(L"Mine");
    action.SetCaption(L"Other");
    EXPECT_EQ(control.Caption(), L"Mine");
    control.SetAction(nullptr);
    control.Click();
    EXPECT_EQ(clicks, 1);
}

TEST(Actions, CheckingOneOfAGroupUnchecksTheOthersAndAutoCheckToggles) {
    TActionList list(nullptr);
    TAction left(nullptr), right(nullptr);
    for (TAction* action : {&left, &right}) {
        action->SetActionList(&list);
        action->SetGroupIndex(3);
    }
    left.SetChecked(true);
    right.SetChecked(true);
    EXPECT_FALSE(left.Checked());
    EXPECT_TRUE(right.Checked());
    TAction toggle(nullptr);
    toggle.SetAutoCheck(true);
    toggle.Execute();
    EXPECT_TRUE(toggle.Checked());
}

TEST(Actions, AFreedActionLeavesItsControl) {
    TControl control(nullptr);
    {
        TAction action(nullptr);
        control.SetAction(&action);
        EXPECT_EQ(control.Action(), &action);
    }
    EXPECT_EQ(control.Action(), nullptr);
    control.Click();  // nothing left to run, nothing breaks
}
