// Moving a windowed control to another parent while it keeps its window, its children's
// windows and the mouse capture.
#include "classlib/ControlReparent.h"

#include <gtest/gtest.h>

#include <memory>

#include "classlib/Form.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;

TEST(ControlReparent, KeepsWindowChildrenAndCapture) {
    if (!TestSupport::HasDisplay()) GTEST_SKIP() << "no display";
    TForm first(nullptr), second(nullptr);
    first.SetBounds(50, 50, 300, 200);
    second.SetBounds(400, 50, 300, 200);
    first.Show();
    second.Show();
    auto* moved = new TCustomControl(&first);
    moved->SetParent(&first);
    moved->SetBounds(10, 10, 100, 50);
    auto* inner = new TCustomControl(&first);
    inner->SetParent(moved);
    inner->SetBounds(5, 5, 20, 20);
    const HWND window = moved->Handle(), innerWindow = inner->Handle();
    ::SetCapture(window);

    MoveWindowToParent(moved, &second);
    EXPECT_EQ(moved->Parent(), &second);
    EXPECT_EQ(moved->Handle(), window);
    EXPECT_EQ(inner->Handle(), innerWindow);
    EXPECT_EQ(::GetParent(window), second.Handle());
    EXPECT_EQ(::GetCapture(), window);
    EXPECT_EQ(first.ControlCount(), 0);
    EXPECT_TRUE(::IsWindowVisible(window));
    RECT r{};
    ::GetWindowRect(window, &r);
    POINT origin{0, 0};
    ::ClientToScreen(second.Handle(), &origin);
    EXPECT_EQ(r.left - origin.x, 10);
    ::ReleaseCapture();

    // Without a window it is the plain move.
    auto* plain = new TCustomControl(&first);
    MoveWindowToParent(plain, &second);
    EXPECT_EQ(plain->Parent(), &second);
}
