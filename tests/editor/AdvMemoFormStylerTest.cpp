// The memo as a form styler's users meet it: a style or tones set on the styler reach
// a real memo on the form, also one inside a frame.
#include "editor/AdvMemo.h"

#include <gtest/gtest.h>

#include "classlib/Form.h"
#include "graphics/AdvAppStyler.h"

using namespace AdvMemo;
using namespace AdvStyleIF;

TEST(AdvMemoFormStyler, AStylerRestylesTheMemosOfItsFormAndFrames) {
    ClassLib::TForm form(nullptr);
    auto* styler = new AdvAppStyler::TAdvFormStyler(&form);
    auto* memo = new TAdvMemo(&form);
    memo->SetParent(&form);
    auto* frame = new ClassLib::TFrame(&form);
    frame->SetParent(&form);
    auto* framed = new TAdvMemo(frame);
    framed->SetParent(frame);

    styler->SetStyle(tsOffice2019Black);
    for (TAdvMemo* target : {memo, framed}) {
        EXPECT_EQ(target->UIStyle(), tsOffice2019Black);
        EXPECT_EQ(target->BorderColor(), ClassLib::TColor(0x686868));
    }
    EXPECT_EQ(GetFormStylerStyle(framed, tsOffice2019White), tsOffice2019Black);

    styler->SetMetroStyle(msDark);
    styler->SetStyle(tsCustom);
    styler->SetMetro(true);  // dark metro tones: a black background
    EXPECT_EQ(memo->Color(), ClassLib::clBlack);
    EXPECT_EQ(framed->Color(), ClassLib::clBlack);
}
