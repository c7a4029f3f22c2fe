#include "toolbars/AdvToolBarKeyTips.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>

namespace AdvToolBar {

namespace {

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = wchar_t(std::towupper(c));
    return text;
}

}  // namespace

bool KeyTipChar(unsigned virtualKey, wchar_t& character) {
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
        character = wchar_t(virtualKey);
        return true;
    }
    constexpr unsigned numPad1 = 0x61, numPad9 = 0x69;
    if (virtualKey >= numPad1 && virtualKey <= numPad9) {
        character = wchar_t(L'1' + (virtualKey - numPad1));
        return true;
    }
    return false;
}

TKeyTipMatch MatchKeyTips(const std::vector<TKeyTipButton>& buttons, const std::wstring& keys) {
    TKeyTipMatch match;
    const std::wstring typed = Upper(keys);
    for (int i = 0; i < int(buttons.size()); ++i) {
        const TKeyTipButton& button = buttons[size_t(i)];
        if (button.Text.empty()) continue;
        const std::wstring text = Upper(button.Text);
        if (text == typed) {
            if (button.Visible && button.Enabled) {
                match.Pressed = i;
                return match;
            }
            continue;
        }
        if (text.compare(0, typed.size(), typed) != 0) match.Hidden.push_back(i);
        else ++match.Partial;
    }
    return match;
}

TButtonRows MeasureButtonRows(const std::vector<int>& tops) {
    TButtonRows rows{-100, -100, -100};
    for (int top : tops) {
        if (top < 0) continue;
        bool placed = false;
        for (int& row : rows) {
            if (row != -100 && std::abs(top - row) <= 4) {
                placed = true;
                break;
            }
        }
        if (placed) continue;
        for (int& row : rows) {
            if (row == -100) {
                row = top;
                break;
            }
        }
    }
    if (rows[1] > 0 && rows[1] < rows[0]) std::swap(rows[0], rows[1]);
    if (rows[1] > 0 && rows[2] > 0 && rows[2] < rows[1]) std::swap(rows[1], rows[2]);
    return rows;
}

TRowTipPlace ChooseRowTipPlace(int buttonTop, int buttonHeight, int toolBarHeight, int captionHeight,
                               const TButtonRows& rows) {
    if (buttonHeight >= toolBarHeight - captionHeight - 15) return TRowTipPlace::Bottom;
    const bool threeRows = rows[2] > 0;
    if (rows[0] > 0 && std::abs(buttonTop - rows[0]) <= 4)
        return threeRows ? TRowTipPlace::TopLeft : TRowTipPlace::AboveTopLeft;
    if (rows[1] > 0 && std::abs(buttonTop - rows[1]) <= 4)
        return threeRows ? TRowTipPlace::Left : TRowTipPlace::BelowBottomLeft;
    return TRowTipPlace::BottomLeft;
}

TArrowTarget ArrowTarget(bool right, int position, int count, int toolBar, int toolBarCount) {
    TArrowTarget target;
    if (position < 0 || position >= count) return target;
    const bool atEdge = right ? position == count - 1 : position == 0;
    if (!atEdge) {
        target.Kind = TArrowTarget::Item;
        target.Index = right ? position + 1 : position - 1;
        return target;
    }
    if (toolBarCount <= 0 || toolBar < 0 || toolBar >= toolBarCount) return target;
    if (right) {
        target.Kind = TArrowTarget::FirstOf;
        target.Index = toolBar == toolBarCount - 1 ? 0 : toolBar + 1;
    } else {
        target.Kind = TArrowTarget::LastOf;
        target.Index = toolBar == 0 ? toolBarCount - 1 : toolBar - 1;
    }
    return target;
}

}  // namespace AdvToolBar
