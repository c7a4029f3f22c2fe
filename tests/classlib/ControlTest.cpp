#include "classlib/Control.h"

#include <gtest/gtest.h>

#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/Form.h"
#include "classlib/GdiObjects.h"
#include "classlib/Menus.h"
#include "classlib/Seams.h"
#include "classlib/StandardControls.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;

namespace {

// Records the mouse and paint steps it gets.
class TProbeControl : public TCustomControl {
    CLASSLIB_CLASS(TProbeControl, TCustomControl)
public:
    explicit TProbeControl(TComponent* owner) : TCustomControl(owner) {}
    int Paints = 0;
protected:
    void Paint() override {
        ++Paints;
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(ClientRect());
    }
};

CLASSLIB_IMPLEMENT(TProbeControl, TCustomControl)

}  // namespace

TEST(ControlHeadless, KeepsAndReportsItsPropertiesWithoutAWindow) {
    TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 300, 200);
    auto* panel = new TPanel(nullptr);
    panel->SetParent(&parent);
    panel->SetBounds(10, 20, 100, 40);
    panel->SetCaption(L"caption");
    panel->SetHint(L"a hint");
    panel->SetShowHint(true);
    panel->SetColor(clRed);
    panel->SetEnabled(false);
    panel->SetVisible(false);
    panel->SetCursor(crHandPoint);
    panel->Constraints()->SetMaxWidth(80);

    EXPECT_FALSE(panel->HandleAllocated());
    EXPECT_FALSE(parent.HandleAllocated());
    EXPECT_EQ(panel->BoundsRect(), Rect(10, 20, 90, 60));  // held to the maximum width
    EXPECT_EQ(panel->Caption(), L"caption");
    EXPECT_EQ(panel->Hint(), L"a hint");
    EXPECT_TRUE(panel->ShowHint());
    EXPECT_EQ(panel->Color(), clRed);
    EXPECT_FALSE(panel->ParentColor());
    EXPECT_FALSE(panel->Enabled());
    EXPECT_FALSE(panel->Visible());
    EXPECT_EQ(panel->Cursor(), crHandPoint);
    EXPECT_EQ(panel->ClientToScreen({1, 2}), Point(11, 22));
    EXPECT_EQ(parent.ControlCount(), 1);
    delete panel;
    EXPECT_EQ(parent.ControlCount(), 0);
}

TEST(ControlHeadless, ParentFontAndColorFlowDownUntilSetLocally) {
    TWinControl parent(nullptr);
    TPanel child(nullptr);
    child.SetParent(&parent);
    parent.SetColor(clBlue);
    parent.Font()->SetName(L"Courier New");
    EXPECT_EQ(child.Color(), clBlue);
    EXPECT_EQ(child.Font()->Name(), L"Courier New");
    child.Font()->SetName(L"Tahoma");
    EXPECT_FALSE(child.ParentFont());
    parent.Font()->SetName(L"Arial");
    EXPECT_EQ(child.Font()->Name(), L"Tahoma");
    child.SetParent(nullptr);
}

TEST(ControlHeadless, AlignAndAnchorsFollowAResize) {
    TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 400, 300);
    TPanel top(nullptr), bottom(nullptr), left(nullptr), client(nullptr), right(nullptr), anchored(nullptr);
    for (TPanel* panel : {&top, &bottom, &left, &client, &right, &anchored}) panel->SetParent(&parent);
    top.SetHeight(50);
    top.SetAlign(alTop);
    bottom.SetHeight(30);
    bottom.SetAlign(alBottom);
    left.SetWidth(100);
    left.SetAlign(alLeft);
    right.SetWidth(40);
    right.SetAlign(alRight);
    client.SetAlign(alClient);
    anchored.SetBounds(300, 200, 50, 20);
    anchored.SetAnchors(AnchorBit(akRight) | AnchorBit(akBottom));

    struct TCase {
        const char* Name;
        TPanel* Panel;
        TRect Expected;
    };
    auto check = [](std::initializer_list<TCase> cases) {
        for (const TCase& c : cases) {
            SCOPED_TRACE(c.Name);
            EXPECT_EQ(c.Panel->BoundsRect(), c.Expected);
        }
    };
    check({{"top", &top, Rect(0, 0, 400, 50)},
           {"bottom", &bottom, Rect(0, 270, 400, 300)},
           {"left", &left, Rect(0, 50, 100, 270)},
           {"right", &right, Rect(360, 50, 400, 270)},
           {"client", &client, Rect(100, 50, 360, 270)},
           {"anchored", &anchored, Rect(300, 200, 350, 220)}});

    parent.SetBounds(0, 0, 600, 400);
    check({{"top", &top, Rect(0, 0, 600, 50)},
           {"bottom", &bottom, Rect(0, 370, 600, 400)},
           {"left", &left, Rect(0, 50, 100, 370)},
           {"right", &right, Rect(560, 50, 600, 370)},
           {"client", &client, Rect(100, 50, 560, 370)},
           {"anchored", &anchored, Rect(500, 300, 550, 320)}});

    // A hidden panel gives its room to the client one.
    top.SetVisible(false);
    EXPECT_EQ(client.BoundsRect(), Rect(100, 0, 560, 370));
    for (TPanel* panel : {&top, &bottom, &left, &client, &right, &anchored}) panel->SetParent(nullptr);
}

TEST(ControlHeadless, ANestedPanelLaysOutItsChildrenWhenItsParentResizesIt) {
    TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 400, 300);
    TPanel side(nullptr), inner(nullptr), anchored(nullptr);
    side.SetParent(&parent);
    side.SetWidth(150);
    side.SetAlign(alLeft);
    inner.SetParent(&side);
    inner.SetAlign(alClient);
    anchored.SetParent(&side);
    anchored.SetBounds(10, 250, 60, 20);
    anchored.SetAnchors(AnchorBit(akLeft) | AnchorBit(akBottom));

    parent.SetBounds(0, 0, 400, 500);  // the side panel grows by 200 through its alignment only
    EXPECT_EQ(side.BoundsRect(), Rect(0, 0, 150, 500));
    EXPECT_EQ(inner.BoundsRect(), Rect(1, 1, 149, 499));  // inside the panel's bevel
    EXPECT_EQ(anchored.BoundsRect(), Rect(10, 450, 70, 470));

    parent.SetBounds(0, 0, 400, 300);  // and back: the anchor origin was kept
    EXPECT_EQ(anchored.BoundsRect(), Rect(10, 250, 70, 270));
    anchored.SetParent(nullptr);
    inner.SetParent(nullptr);
    side.SetParent(nullptr);
}

// Freed before its parent, a windowed child leaves the parent's lists: the parent's
// window code walks them later (a stale entry crashed destroying the parent's window).
TEST(ControlHeadless, AFreedWindowedChildLeavesItsParent) {
    TWinControl parent(nullptr);
    auto* first = new TWinControl(nullptr);
    auto* second = new TWinControl(nullptr);
    first->SetParent(&parent);
    second->SetParent(&parent);
    delete first;
    EXPECT_EQ(parent.ControlCount(), 1);
    EXPECT_EQ(parent.TabOrderList(), std::vector<TWinControl*>{second});
    delete second;
    EXPECT_TRUE(parent.TabOrderList().empty());
}

TEST(ControlHeadless, MessagesGoThroughAReplaceableWindowProc) {
    TPanel panel(nullptr);
    std::vector<UINT> seen;
    const auto original = panel.WindowProc;
    panel.WindowProc = [&](TMessage& message) {
        if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) seen.push_back(message.Msg);
        original(message);
    };
    int clicks = 0;
    panel.OnClick = [&](TObject*) { ++clicks; };
    panel.SetBounds(0, 0, 50, 50);
    panel.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    panel.Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    // A release outside the control is no click.
    panel.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    panel.Perform(WM_LBUTTONUP, 0, MAKELPARAM(80, 5));
    EXPECT_EQ(clicks, 1);
    panel.WindowProc = original;
    panel.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(seen.size(), 4u);
    panel.Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));

    // A broadcast reaches the children until one answers.
    TWinControl parent(nullptr);
    TPanel second(nullptr);
    panel.SetParent(&parent);
    second.SetParent(&parent);
    int styleChanges = 0;
    auto listen = [&](TPanel& listener, LRESULT answer) {
        listener.WindowProc = [&styleChanges, answer, original = listener.WindowProc](TMessage& message) {
            if (message.Msg != CM_STYLECHANGED) return original(message);
            ++styleChanges;
            message.Result = answer;
        };
    };
    listen(panel, 1);
    listen(second, 0);
    TMessage style{CM_STYLECHANGED, 0, 0, 0};
    parent.Broadcast(style);
    EXPECT_EQ(styleChanges, 1);
    EXPECT_EQ(style.Result, 1);
    EXPECT_EQ(CM_STYLECHANGED, 45109u);
    panel.WindowProc = original;
    panel.SetParent(nullptr);
    second.SetParent(nullptr);
}

TEST(ControlWindow, WindowClassIsTheClassNameAndHandlesComeOnDemand) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.SetBounds(10, 10, 300, 200);
    auto* probe = new TProbeControl(&form);
    probe->SetParent(&form);
    probe->SetBounds(5, 5, 50, 40);
    EXPECT_FALSE(probe->HandleAllocated());
    HWND window = probe->Handle();
    ASSERT_TRUE(form.HandleAllocated());
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"TProbeControl");
    ::GetClassNameW(form.Handle(), className, 64);
    EXPECT_STREQ(className, L"TForm");
    EXPECT_EQ(TWinControl::FindControl(window), probe);

    // Painting into a DC given in wParam works without BeginPaint.
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 50, 40);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    probe->Perform(WM_PAINT, WPARAM(memory), 0);
    EXPECT_EQ(probe->Paints, 1);
    EXPECT_EQ(::GetPixel(memory, 10, 10), RGB(255, 0, 0));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);

    // The system's own paint, through a buffer.
    form.Show();
    probe->SetDoubleBuffered(true);
    ::InvalidateRect(window, nullptr, TRUE);
    ::UpdateWindow(window);
    EXPECT_EQ(probe->Paints, 2);
    HDC dc = ::GetDC(window);
    EXPECT_EQ(::GetPixel(dc, 10, 10), RGB(255, 0, 0));
    ::ReleaseDC(window, dc);

    // Showing and hiding reach the window; a control first shown late gets one then.
    TPanel late(nullptr);
    late.SetVisible(false);
    late.SetParent(&form);
    EXPECT_FALSE(late.HandleAllocated());
    late.Show();
    ASSERT_TRUE(late.HandleAllocated());
    EXPECT_TRUE(::GetWindowLongW(late.Handle(), GWL_STYLE) & WS_VISIBLE);
    late.Hide();
    EXPECT_FALSE(::GetWindowLongW(late.Handle(), GWL_STYLE) & WS_VISIBLE);
    late.SetParent(nullptr);

    // Re-parenting makes the window again under the new parent.
    TPanel other(nullptr);
    other.SetParent(&form);
    probe->SetParent(&other);
    EXPECT_FALSE(::IsWindow(window));
    HWND again = probe->Handle();
    EXPECT_EQ(::GetParent(again), other.Handle());
    probe->SetParent(nullptr);
    other.SetParent(nullptr);
}

TEST(ControlWindow, SizeOfTheWindowDrivesTheLayout) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    TPanel top(nullptr), client(nullptr);
    top.SetParent(&form);
    top.SetHeight(40);
    top.SetAlign(alTop);
    client.SetParent(&form);
    client.SetAlign(alClient);
    form.Show();
    TestSupport::PumpMessages();
    int resizes = 0;
    client.OnResize = [&](TObject*) { ++resizes; };
    ::SetWindowPos(form.Handle(), nullptr, 0, 0, 500, 400, SWP_NOZORDER | SWP_NOMOVE);
    TestSupport::PumpMessages();
    RECT rect;
    ::GetClientRect(form.Handle(), &rect);
    EXPECT_EQ(top.BoundsRect(), Rect(0, 0, rect.right, 40));
    EXPECT_EQ(client.BoundsRect(), Rect(0, 40, rect.right, rect.bottom));
    EXPECT_GE(resizes, 1);
    // The child windows are where the controls say.
    RECT placed;
    ::GetWindowRect(client.Handle(), &placed);
    ::MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.top, 40);
    EXPECT_EQ(placed.right, rect.right);
    EXPECT_EQ(placed.bottom, rect.bottom);
    top.SetParent(nullptr);
    client.SetParent(nullptr);
}

TEST(ControlWindow, AnExceptionInAClickHandlerIsShownAndTheLoopGoesOn) {
    REQUIRE_DISPLAY();
    TSeamsScope seams;
    std::vector<std::wstring> shown;
    Seams().ShowMessageBox = [&](void*, const std::wstring& text, const std::wstring&, unsigned flags) {
        shown.push_back(text);
        EXPECT_TRUE(flags & MB_ICONSTOP);
        return IDOK;
    };
    TForm form(nullptr);
    TCheckBox box(nullptr);
    box.SetParent(&form);
    int clicks = 0;
    box.OnClick = [&](TObject*) {
        ++clicks;
        throw EConvertError(L"'abc' is not a valid integer value");
    };
    form.Show();
    ::PostMessageW(box.Handle(), BM_CLICK, 0, 0);
    ::PostMessageW(box.Handle(), BM_CLICK, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(clicks, 2);  // the second message still arrived
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], L"'abc' is not a valid integer value.");
    box.SetParent(nullptr);
}

TEST(ControlWindow, MouseCaptureAndEnterLeaveReachGraphicChildren) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    TLabel label(nullptr);
    label.SetParent(&form);
    label.SetAutoSize(false);
    label.SetBounds(10, 10, 50, 20);
    std::wstring events;
    label.OnMouseEnter = [&](TObject*) { events += L"enter;"; };
    label.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        events += L"down " + std::to_wstring(x) + L"," + std::to_wstring(y) + L";";
    };
    label.OnClick = [&](TObject*) { events += L"click;"; };
    form.Show();
    HWND window = form.Handle();
    ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    EXPECT_TRUE(label.MouseCapture());
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 12));
    EXPECT_FALSE(label.MouseCapture());
    EXPECT_EQ(events, L"enter;down 5,5;click;");
    label.SetParent(nullptr);
}

TEST(ControlHeadless, ASplitterResizesTheControlBeforeIt) {
    TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 400, 300);
    TPanel left(nullptr), client(nullptr);
    TSplitter splitter(nullptr);
    left.SetParent(&parent);
    left.SetWidth(100);
    left.SetAlign(alLeft);
    splitter.SetParent(&parent);
    splitter.SetLeft(150);  // aligned right after the panel
    client.SetParent(&parent);
    client.SetAlign(alClient);
    EXPECT_EQ(splitter.Left(), 100);
    EXPECT_EQ(splitter.FindResizeControl(), &left);
    int moved = 0;
    splitter.OnMoved = [&](TObject*) { ++moved; };

    struct TCase {
        int MoveTo;  // splitter-relative x of the mouse
        int Width;   // of the left panel afterwards
    };
    // From a press at x = 1: +49 grows, far left stops at MinSize, far right leaves MinSize.
    const TCase cases[] = {{50, 149}, {-500, 30}, {1000, 400 - 3 - 30}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.MoveTo);
        splitter.SetMinSize(30);
        splitter.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
        splitter.Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.MoveTo, 10));
        splitter.Perform(WM_LBUTTONUP, 0, MAKELPARAM(c.MoveTo, 10));
        EXPECT_EQ(left.Width(), c.Width);
        EXPECT_EQ(splitter.Left(), c.Width);
        EXPECT_EQ(client.Left(), c.Width + 3);
        left.SetWidth(100);
    }
    EXPECT_EQ(moved, 3);
    for (TControl* control : std::initializer_list<TControl*>{&left, &splitter, &client}) control->SetParent(nullptr);
}

TEST(ControlHeadless, TheCanvasMeasuresTextBeforeTheWindowExists) {
    TProbeControl probe(nullptr);
    probe.Canvas()->Font()->SetName(L"Courier New");
    probe.Canvas()->Font()->SetHeight(-13);
    EXPECT_GT(probe.Canvas()->TextWidth(L"WWWW"), 0);
    EXPECT_FALSE(probe.HandleAllocated());
}

namespace {
class TRecordingPopupMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    std::vector<TPoint> Shown;
    void Popup(int x, int y) override { Shown.push_back({x, y}); }
};
}  // namespace

TEST(ControlHeadless, AContextMenuRequestShowsThePopupMenuUnlessHandled) {
    TPanel panel(nullptr);
    TRecordingPopupMenu menu(nullptr);
    panel.SetPopupMenu(&menu);
    panel.Perform(WM_CONTEXTMENU, 0, MAKELPARAM(100, 120));
    ASSERT_EQ(menu.Shown.size(), 1u);
    EXPECT_EQ(menu.Shown[0], Point(100, 120));
    EXPECT_EQ(menu.PopupComponent(), &panel);
    panel.OnContextPopup = [](TObject*, TPoint, bool& handled) { handled = true; };
    panel.Perform(WM_CONTEXTMENU, 0, MAKELPARAM(100, 120));
    EXPECT_EQ(menu.Shown.size(), 1u);
    // A freed menu is forgotten.
    {
        TRecordingPopupMenu gone(nullptr);
        panel.SetPopupMenu(&gone);
    }
    EXPECT_EQ(panel.PopupMenu(), nullptr);
}

namespace {
// Scrolls by the wheel the way the editor does: through the overridable steps.
class TWheelControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::wstring Steps;
    bool DoMouseWheelDown(TShiftState, TPoint) override { Steps += L"down;"; return true; }
    bool DoMouseWheelUp(TShiftState, TPoint) override { Steps += L"up;"; return true; }
};
}  // namespace

TEST(ControlHeadless, WheelAndKeysReachTheOverridableSteps) {
    TForm form(nullptr);
    TWheelControl wheel(nullptr);
    wheel.SetParent(&form);
    wheel.Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
    wheel.Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(wheel.Steps, L"down;up;");
    // An OnMouseWheel handler that handles the wheel keeps the steps out of it.
    wheel.OnMouseWheel = [](TObject*, TShiftState, int, TPoint, bool& handled) { handled = true; };
    wheel.Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(wheel.Steps, L"down;up;");

    // With KeyPreview the form sees keys first and may swallow them.
    std::wstring keys;
    wheel.OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys += L"control " + std::to_wstring(key) + L";"; };
    form.OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        keys += L"form;";
        if (key == VK_F5) key = 0;
    };
    wheel.Perform(WM_KEYDOWN, VK_F6, 0);
    EXPECT_EQ(keys, L"control 117;");
    form.SetKeyPreview(true);
    wheel.Perform(WM_KEYDOWN, VK_F5, 0);
    wheel.Perform(WM_KEYDOWN, VK_F6, 0);
    EXPECT_EQ(keys, L"control 117;form;form;control 117;");
    wheel.SetParent(nullptr);
}

TEST(ControlHeadless, KeyStateComesThroughTheSeam) {
    {
        TSeamsScope seams;
        Seams().KeyState = [](int key) -> short { return key == VK_CONTROL || key == VK_SHIFT ? short(0x8000) : 0; };
        EXPECT_EQ(KeyboardShiftState(), TShiftState(ssCtrl | ssShift));
        EXPECT_TRUE(IsKeyDown(VK_CONTROL));
        Seams().ShellOpen = [](const std::wstring&, const std::wstring&) { return true; };
        EXPECT_TRUE(Seams().ShellOpen(L"https://example.invalid/", L""));
    }
    // The scope put the platform back.
    EXPECT_FALSE(IsKeyDown(VK_F24));
}

TEST(ControlWindow, DraggingOntoAControlThatAcceptsDrops) {
    REQUIRE_DISPLAY();
    TForm form(nullptr);
    form.SetBounds(50, 50, 400, 300);
    form.SetFormStyle(fsStayOnTop);  // other programs' windows must not lie under the mouse
    TPanel source(nullptr), target(nullptr);
    source.SetParent(&form);
    source.SetBounds(10, 10, 100, 100);
    source.SetDragMode(dmAutomatic);
    target.SetParent(&form);
    target.SetBounds(200, 10, 100, 100);
    std::wstring events;
    target.OnDragOver = [&](TObject*, TObject* from, int, int, TDragState state, bool& accept) {
        accept = from == &source;
        if (state == dsDragEnter) events += L"enter;";
    };
    target.OnDragDrop = [&](TObject*, TObject*, int x, int y) {
        events += L"drop " + std::to_wstring(x) + L"," + std::to_wstring(y) + L";";
    };
    source.OnEndDrag = [&](TObject*, TObject* to, int, int) { events += to == &target ? L"end on target;" : L"end;"; };
    form.Show();
    TestSupport::PumpMessages();

    const TPoint start = source.ClientToScreen({20, 20});
    const TPoint finish = target.ClientToScreen({30, 40});
    ::SetCursorPos(start.X, start.Y);
    ::SendMessageW(source.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_TRUE(source.Dragging());
    ::SetCursorPos(finish.X, finish.Y);
    const TPoint inSource = source.ScreenToClient(finish);
    ::SendMessageW(source.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(inSource.X, inSource.Y));
    ::SendMessageW(source.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(inSource.X, inSource.Y));
    EXPECT_FALSE(source.Dragging());
    EXPECT_EQ(events, L"enter;drop 30,40;end on target;");
    source.SetParent(nullptr);
    target.SetParent(nullptr);
}
