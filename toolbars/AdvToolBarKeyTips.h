#pragma once
// Keyboard work of a ribbon group without windows: which keys type key-tip characters, how
// typed characters pick a button, which button row a button sits in (and so where its key
// tip goes), and where the arrow keys move the focus between the groups of a page.
#include <array>
#include <string>
#include <vector>

namespace AdvToolBar {

// The character a virtual key types in key-tip mode: digits and letters stand for
// themselves, the numeric pad's 1 to 9 are the digits 1 to 9. Any other key (numeric-pad
// 0 and operators, function keys, arrows, Escape) types nothing and ends the mode.
bool KeyTipChar(unsigned virtualKey, wchar_t& character);

// One button as the matcher sees it: its key-tip text and whether it can be pressed.
struct TKeyTipButton {
    std::wstring Text;
    bool Visible = true;
    bool Enabled = true;
};

// What typed characters did to a row of buttons, in their order.
struct TKeyTipMatch {
    int Pressed = -1;           // the first visible, enabled button whose text equals the keys
    int Partial = 0;            // buttons before it whose text begins with the keys
    std::vector<int> Hidden;    // buttons before it whose text cannot match any more
};

// Compares upper-cased. Stops at the pressed button: the buttons after it are not looked
// at. A button without a key tip neither matches nor keeps the mode going.
TKeyTipMatch MatchKeyTips(const std::vector<TKeyTipButton>& buttons, const std::wstring& keys);

// Tops of up to three button rows in ascending order, -100 for a row not found. Each top
// (of a visible item at or below 0) within 4 pixels of a known row belongs to it; otherwise
// it opens the next free row; tops beyond three rows are ignored.
using TButtonRows = std::array<int, 3>;
TButtonRows MeasureButtonRows(const std::vector<int>& tops);

// Where a button's key tip goes by the row it sits in (the glow button's own places).
enum class TRowTipPlace { Bottom, TopLeft, AboveTopLeft, Left, BelowBottomLeft, BottomLeft };
// A button as high as the group's button area is a large one: its tip sits at the bottom.
TRowTipPlace ChooseRowTipPlace(int buttonTop, int buttonHeight, int toolBarHeight, int captionHeight,
                               const TButtonRows& rows);

// Where Left or Right moves the focus from the control at `position` of `count` focusable
// controls of toolbar `toolBar` of `toolBarCount` on the page (toolBarCount 0: not on a
// page). Past either end of a toolbar the focus goes to the neighbouring toolbar, wrapping
// from the last to the first and back.
struct TArrowTarget {
    enum TKind { None, Item, FirstOf, LastOf };
    TKind Kind = None;
    int Index = -1;  // the item (Item) or the toolbar (FirstOf, LastOf)
};
TArrowTarget ArrowTarget(bool right, int position, int count, int toolBar, int toolBarCount);

}  // namespace AdvToolBar
