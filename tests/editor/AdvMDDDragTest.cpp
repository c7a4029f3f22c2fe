// Real OLE drags: the mouse is driven by SendInput from a second thread, so that the
// system's modal drag loop runs on the test's thread as it does for a user.
#include "editor/AdvMDD.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/Form.h"
#include "classlib/Pictures.h"
#include "editor/AdvMemo.h"
#include "support/WindowTestSupport.h"

using namespace AdvMDD;

namespace {

void MouseTo(POINT p) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>(p.x * 65535.0 / (::GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
    input.mi.dy = static_cast<LONG>(p.y * 65535.0 / (::GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
}

void LeftButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof input);
}

// Presses at `from`, moves to `to` in steps and releases there. The pauses give the
// receiving thread time to take each input; they bound nothing.
class TMouseDrag {
public:
    TMouseDrag(POINT from, POINT to) {
        FThread = std::thread([this, from, to]() noexcept {
            MouseTo(from);
            ::Sleep(100);
            LeftButton(true);
            ::Sleep(100);
            FPressed = true;
            for (int step = 1; step <= 10; ++step) {
                MouseTo(POINT{from.x + (to.x - from.x) * step / 10, from.y + (to.y - from.y) * step / 10});
                ::Sleep(60);
            }
            ::Sleep(100);
            LeftButton(false);
            ::Sleep(100);
            FDone = true;
        });
    }
    ~TMouseDrag() { FThread.join(); }
    bool Pressed() const { return FPressed; }
    bool Done() const { return FDone; }
private:
    std::atomic<bool> FPressed{false};
    std::atomic<bool> FDone{false};
    std::thread FThread;
};

// A bare window that only draws itself.
HWND PlainWindow(int x, int y) {
    static const ATOM cls = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"AdvMDDProbeWindow";
        return ::RegisterClassW(&wc);
    }();
    (void)cls;
    return ::CreateWindowExW(WS_EX_TOPMOST, L"AdvMDDProbeWindow", L"", WS_POPUP | WS_VISIBLE, x, y, 200, 150,
                             nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

class TTextCatcher : public TAMDropTarget {
public:
    std::wstring Text;
    void DragMouseEnter(POINT) override {}
    void DropText(POINT, const std::wstring& text) override { Text = text; }
};

// A memo on its own form at a screen place, dragging and taking text by OLE.
struct TMemoForm {
    ClassLib::TForm Form{nullptr};
    AdvMemo::TAdvMemo Memo{nullptr};
    TMemoForm(int left, const std::wstring& text) {
        Form.SetBounds(left, 0, 330, 200);
        Memo.SetParent(&Form);
        Memo.SetBounds(0, 0, 300, 150);
        Memo.SetOleDropSource(true);
        Memo.SetOleDropTarget(AdvMemo::odtText);
        Memo.Lines()->SetText(text);
        Memo.ClearUndoRedo();
        Form.Show();
        TestSupport::PumpMessages();
    }
    ~TMemoForm() { Memo.SetParent(nullptr); }
    // The screen point in the left part of a text cell.
    POINT Cell(int col, int line) {
        const AdvMemo::TMemoRect area = Memo.TextArea();
        POINT p{area.Left + col * Memo.CharWidth() + 2, area.Top + line * Memo.CharHeight() + Memo.CharHeight() / 2};
        ::ClientToScreen(Memo.Handle(), &p);
        return p;
    }
    void Select(int from, int to) {
        Memo.SetSelStart(from);
        Memo.SetSelLength(to - from);
    }
};

void Drag(POINT from, POINT to) {
    TMouseDrag mouse(from, to);
    EXPECT_TRUE(TestSupport::PumpUntil([&] { return mouse.Done(); }));
    TestSupport::PumpMessages();
}

// A picture of memos side by side for a person to look at, when the run asks for one.
void SaveMemos(const char* variable, std::vector<AdvMemo::TAdvMemo*> memos) {
    const char* path = std::getenv(variable);
    if (!path) return;
    ClassLib::TBitmap shot;
    shot.SetSize(320 * static_cast<int>(memos.size()), 150);
    for (size_t i = 0; i < memos.size(); ++i) {
        // Each on its own picture first: the memo clips in device coordinates.
        ClassLib::TBitmap one;
        one.SetSize(300, 150);
        memos[i]->PaintTo(one.Canvas()->Handle());
        ::BitBlt(shot.Canvas()->Handle(), 320 * static_cast<int>(i), 0, 300, 150, one.Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    shot.SaveToFile(std::wstring(path, path + std::strlen(path)));
}

}  // namespace

TEST(AdvMDDDrag, ProbeTextReachesAPlainWindow) {
    REQUIRE_DISPLAY();
    HWND from = PlainWindow(0, 0), to = PlainWindow(300, 0);
    auto* catcher = new TTextCatcher;
    ASSERT_EQ(::RegisterDragDrop(to, catcher), S_OK);
    TestSupport::PumpMessages();
    DWORD effect = DROPEFFECT_NONE;
    HRESULT result = E_FAIL;
    {
        TMouseDrag mouse(POINT{100, 75}, POINT{400, 75});
        ASSERT_TRUE(TestSupport::PumpUntil([&] { return mouse.Pressed(); }));
        result = StartOleDrag(L"probe", "", DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
        TestSupport::PumpUntil([&] { return mouse.Done(); });
    }
    EXPECT_EQ(result, DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(catcher->Text, L"probe");
    ::RevokeDragDrop(to);
    catcher->Release();
    ::DestroyWindow(from);
    ::DestroyWindow(to);
}

TEST(AdvMDDDrag, TextMovesBetweenMemosAndEachSideUndoesInOneStep) {
    REQUIRE_DISPLAY();
    TMemoForm left(0, L"hello world\r\nsecond");
    TMemoForm right(350, L"AT+GMR\r\nATE0");
    left.Select(6, 11);  // "world"
    std::vector<std::wstring> dragged;
    left.Memo.OnOleTextDragged = [&](ClassLib::TObject*, const std::wstring& text, bool copy) {
        dragged.push_back(text + (copy ? L" copied" : L" moved"));
    };
    Drag(left.Cell(8, 0), right.Cell(3, 1));
    EXPECT_EQ(left.Memo.Lines()->Text(), L"hello \r\nsecond");
    EXPECT_EQ(right.Memo.Lines()->Text(), L"AT+GMR\r\nATEworld0");
    EXPECT_EQ(dragged, std::vector<std::wstring>{L"world moved"});
    SaveMemos("ATGEN_DRAG_SHOT", {&left.Memo, &right.Memo});
    left.Memo.Undo();
    right.Memo.Undo();
    EXPECT_EQ(left.Memo.Lines()->Text(), L"hello world\r\nsecond");
    EXPECT_EQ(right.Memo.Lines()->Text(), L"AT+GMR\r\nATE0");
}

TEST(AdvMDDDrag, TextMovesInsideOneMemoAsOneUndoStep) {
    REQUIRE_DISPLAY();
    TMemoForm form(0, L"one two three\r\nfour");
    form.Select(0, 4);  // "one "
    Drag(form.Cell(1, 0), form.Cell(0, 1));
    EXPECT_EQ(form.Memo.Lines()->Text(), L"two three\r\none four");
    form.Memo.Undo();
    EXPECT_EQ(form.Memo.Lines()->Text(), L"one two three\r\nfour");
}
