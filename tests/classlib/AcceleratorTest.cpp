// Alt-letter accelerators: the test on a caption, and the way a typed character travels
// from the focused window through the form to every control.
#include <gtest/gtest.h>

#include "classlib/Application.h"
#include "classlib/Control.h"
#include "classlib/Form.h"
#include "classlib/StandardControls.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;

TEST(Accelerators, IsAccelFindsTheMarkedLetter) {
    struct TCase { wchar_t Key; const wchar_t* Caption; bool Expected; };
    const TCase cases[] = {
        {L'c', L"&Copy", true},
        {L'C', L"&copy", true},       // case does not matter
        {L'o', L"C&opy", true},
        {L'c', L"Copy", false},       // no mark
        {L'c', L"&&Copy", false},     // a doubled ampersand is a plain one
        {L'c', L"A&&&Copy", true},    // ... and the mark after it still counts
        {L'x', L"&Copy", false},
        {L'c', L"Copy&", false},      // a mark at the end marks nothing
        {L'c', L"", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Caption) + L" / " + c.Key));
        EXPECT_EQ(IsAccel(c.Key, c.Caption), c.Expected);
    }
}

namespace {

// Takes the characters its caption marks, and counts them.
class TAccelProbe : public TCustomControl {
    CLASSLIB_CLASS(TAccelProbe, TCustomControl)
public:
    explicit TAccelProbe(TComponent* owner) : TCustomControl(owner) {}
    int Hits = 0;
    void Dispatch(TMessage& message) override {
        if (message.Msg == CM_DIALOGCHAR && IsAccel(wchar_t(message.WParam), Caption())) {
            ++Hits;
            message.Result = 1;
            return;
        }
        TCustomControl::Dispatch(message);
    }
};

CLASSLIB_IMPLEMENT(TAccelProbe, TCustomControl)

}  // namespace

TEST(AcceleratorsWindow, AltLetterReachesAControlInsideAPanel) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    TPanel panel(nullptr);
    panel.SetParent(&form);
    TAccelProbe probe(nullptr);
    probe.SetParent(&panel);
    probe.SetCaption(L"&Paste");
    TAccelProbe other(nullptr);
    other.SetParent(&form);
    other.SetCaption(L"&Copy");
    form.Show();
    constexpr LPARAM altDown = LPARAM(1) << 29;
    // From the form's own window and from a child's: both reach the nested control.
    ::SendMessageW(form.Handle(), WM_SYSCHAR, L'p', altDown);
    ::SendMessageW(other.Handle(), WM_SYSCHAR, L'P', altDown);
    EXPECT_EQ(probe.Hits, 2);
    EXPECT_EQ(other.Hits, 0);
    ::SendMessageW(other.Handle(), WM_SYSCHAR, L'x', altDown);
    EXPECT_EQ(probe.Hits + other.Hits, 2);
    probe.SetParent(nullptr);
    other.SetParent(nullptr);
    panel.SetParent(nullptr);
}

TEST(AcceleratorsWindow, APlainLetterGoesToAnAcceleratorOnlyWhereTheFocusTypesNothing) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    TAccelProbe probe(nullptr);
    probe.SetParent(&form);
    probe.SetCaption(L"&Paste");
    TMemo edit(nullptr);
    edit.SetParent(&form);
    form.Show();
    ::SendMessageW(probe.Handle(), WM_CHAR, L'p', 0);
    EXPECT_EQ(probe.Hits, 1);
    ::SendMessageW(edit.Handle(), WM_CHAR, L'p', 0);  // the edit types it
    EXPECT_EQ(probe.Hits, 1);
    EXPECT_EQ(edit.GetText(), L"p");
    probe.SetParent(nullptr);
    edit.SetParent(nullptr);
}
