#include "app/VxTools.h"

#include <gtest/gtest.h>

#include "classlib/Events.h"

using namespace VxTools;

namespace {

// Shaped like the class library's check box: a change of state raises OnClick.
struct TFakeCheckBox {
    ClassLib::TNotifyEvent OnClick;
    bool Checked = false;
    void SetChecked(bool value) {
        if (value == Checked) return;
        Checked = value;
        if (OnClick) OnClick(nullptr);
    }
};

}  // namespace

TEST(VxTools, VersionTextSkipsTheThirdNumber) {
    EXPECT_EQ(FormatVersionText(0x00010000, 0x00000004), L"ver: 1.0.4");
    EXPECT_EQ(FormatVersionText(0x0002000C, 0x00630007), L"ver: 2.12.7");
    EXPECT_EQ(GetVersionText(), L"");  // the test program carries no version resource
}

TEST(VxTools, SetCheckedSilentlyRunsNoHandlerAndKeepsIt) {
    TFakeCheckBox box;
    int clicks = 0;
    box.OnClick = [&](ClassLib::TObject*) { ++clicks; };
    for (bool state : {true, true, false}) {
        SetCheckedSilently(box, state);
        EXPECT_EQ(box.Checked, state);
    }
    EXPECT_EQ(clicks, 0);
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);  // the handler is back in place
}
