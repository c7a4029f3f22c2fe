// The memo's answer to the hint-show request: the word, token or gutter line under the mouse
// offered to the application's handlers.
#include "editor/AdvMemo.h"

#include "classlib/Application.h"
#include "editor/AdvMemoStylers.h"
#include "editor/AdvMemoTokenizer.h"

namespace AdvMemo {

namespace {

// The first of a comma-separated list of line comment starts.
std::wstring FirstLineComment(const std::wstring& list) { return list.substr(0, list.find(L',')); }

}  // namespace

bool TAdvCustomMemo::HintShow(ClassLib::THintInfo& info) noexcept {
    // The hint timer calls this through a window procedure: an exception here would end the
    // program, so a failed answer just shows no hint.
    try {
        const int count = LineCount();
        int col = 0, row = 0;
        MouseToCursor(info.CursorPos.X, info.CursorPos.Y, col, row);
        const int line = VisIndexToLineIndex(LineIndexToVisIndex(FTopLine) + std::max(row, 0));
        const int x = FLeftCol + std::max(col, 0);
        bool show = true;
        if (InGutter(info.CursorPos.X)) {
            if (!OnHintForGutter || line < 0 || line >= count) return true;
            std::wstring hint = info.HintStr;
            OnHintForGutter(this, line, hint, show);
            info.HintStr = hint;
            return show;
        }
        if ((!OnHintForWord && !OnHintForToken) || line < 0 || line >= count) return true;

        // Inside a comment nothing is offered: a block comment still open at the next line's
        // start, or a line comment starting at or before the column.
        bool commented = false;
        const TAdvCustomMemoStyler* styler = EffectiveStyler();
        if (styler && FUseStyler) {
            if (line + 1 < count) commented = Tokenizer().GetLineStyle(line + 1).isComment != 0;
            const std::wstring marker = FirstLineComment(styler->LineComment());
            if (!marker.empty()) {
                const size_t at = LineText(line).find(marker);
                commented = commented || (at != std::wstring::npos && static_cast<int>(at) <= x);
            }
        }
        if (commented) return true;

        bool asked = false;
        auto ask = [&](const THintForWordEvent& handler, const std::wstring& value) {
            if (!handler || value.empty()) return false;
            asked = true;
            std::wstring hint = value;
            show = true;
            handler(this, x, line, value, hint, show);
            if (show) info.HintStr = hint;
            return show;
        };
        if (ask(OnHintForWord, WordAtXY(x, line))) return true;
        if (ask(OnHintForToken, TokenAtXY(x, line))) return true;
        return !asked;
    } catch (...) {
        return false;
    }
}

}  // namespace AdvMemo
