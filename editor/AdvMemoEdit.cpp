// Caret, selection, linear positions, text insertion and deletion, word queries, and the
// key-level editing commands of the memo.
#include "editor/AdvMemo.h"

#include <algorithm>
#include <optional>

namespace AdvMemo {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring TrimRightControls(const std::wstring& s) {
    size_t end = s.size();
    while (end > 0 && s[end - 1] <= L' ') --end;
    return s.substr(0, end);
}

bool InSet(wchar_t c, const wchar_t* set) {
    for (; *set; ++set)
        if (*set == c) return true;
    return false;
}

// Every CR, LF and CR LF becomes one CR LF.
std::wstring NormaliseBreaks(const std::wstring& text) {
    std::wstring result;
    result.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r') {
            result += L"\r\n";
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else if (c == L'\n') {
            result += L"\r\n";
        } else {
            result += c;
        }
    }
    return result;
}

std::vector<std::wstring> SplitRows(const std::wstring& normalised) {
    std::vector<std::wstring> rows;
    size_t start = 0;
    for (;;) {
        const size_t at = normalised.find(L"\r\n", start);
        if (at == std::wstring::npos) {
            rows.push_back(normalised.substr(start));
            break;
        }
        rows.push_back(normalised.substr(start, at - start));
        start = at + 2;
    }
    return rows;
}

// Restores the refresh flag of a memo when a scope ends.
class TRefreshOff {
public:
    explicit TRefreshOff(TAdvCustomMemo& memo) : FMemo(memo), FOld(memo.LetRefresh()) { memo.SetLetRefresh(false); }
    ~TRefreshOff() { FMemo.SetLetRefresh(FOld); }
    TRefreshOff(const TRefreshOff&) = delete;
    TRefreshOff& operator=(const TRefreshOff&) = delete;

private:
    TAdvCustomMemo& FMemo;
    bool FOld;
};

// Runs an edit on the unwrapped lines: the rows of each line are joined first and wrapped again
// at the end, so the edit and its undo step see whole lines and linear positions stay valid.
class TLogicalEdit {
public:
    explicit TLogicalEdit(TAdvCustomMemo& memo) : FMemo(memo) { memo.BeginLogicalEdit(); }
    ~TLogicalEdit() { FMemo.EndLogicalEdit(); }
    TLogicalEdit(const TLogicalEdit&) = delete;
    TLogicalEdit& operator=(const TLogicalEdit&) = delete;

private:
    TAdvCustomMemo& FMemo;
};

}  // namespace

// Lines before and after a block edit; block edits change columns on many lines at once, so the
// step swaps whole line texts.
class TBlockUndo : public TUndoClone<TBlockUndo> {
public:
    TBlockUndo(int curX0, int curY0, int curX, int curY, int firstLine, std::vector<std::wstring> before,
               std::vector<std::wstring> after)
        : TUndoClone(curX0, L"", curY, curX, curY0), FFirstLine(firstLine), FBefore(std::move(before)), FAfter(std::move(after)) {}
    void PerformUndo(TAdvCustomMemo& memo) override { Apply(memo, FBefore, FAfter.size()); }
    void PerformRedo(TAdvCustomMemo& memo) override { Apply(memo, FAfter, FBefore.size()); }

private:
    void Apply(TAdvCustomMemo& memo, const std::vector<std::wstring>& texts, size_t currentCount) {
        TAdvMemoStrings* lines = memo.Lines();
        TUndoPerforming performing(memo.UndoList());
        for (size_t i = 0; i < texts.size(); ++i) {
            const int line = FFirstLine + static_cast<int>(i);
            if (i < currentCount && line < lines->Count()) lines->Put(line, texts[i]);
            else lines->DoInsert(std::min(line, lines->Count()), texts[i]);
        }
        for (size_t i = currentCount; i > texts.size(); --i) {
            const int line = FFirstLine + static_cast<int>(i) - 1;
            if (line < lines->Count() && lines->Count() > 1) {
                lines->RemoveLine(line);
            }
        }
        memo.UpdateView();
    }

    int FFirstLine;
    std::vector<std::wstring> FBefore, FAfter;
};

// ---------------------------------------------------------------- logical edits under word wrap

TAdvCustomMemo::TLinearState TAdvCustomMemo::SaveLinearState() const {
    TLinearState state;
    const int length = static_cast<int>(LineText(FCurY).size());
    state.Caret = TextFromPos(FCurX, FCurY);
    state.CaretBeyond = std::max(0, FCurX - length);
    state.SelStart = TextFromPos(FSelStartX, FSelStartY);
    state.SelEnd = TextFromPos(FSelEndX, FSelEndY);
    state.PrevSel = TextFromPos(FPrevSelX, FPrevSelY);
    return state;
}

void TAdvCustomMemo::RestoreLinearState(const TLinearState& state) {
    PosFromText(state.Caret, FCurX, FCurY);
    FCurX += state.CaretBeyond;
    PosFromText(state.SelStart, FSelStartX, FSelStartY);
    PosFromText(state.SelEnd, FSelEndX, FSelEndY);
    PosFromText(state.PrevSel, FPrevSelX, FPrevSelY);
}

void TAdvCustomMemo::PhysicalToLogical(int& x, int& y) const {
    if (FWordWrap == wwNone || FWrapHold > 0) return;
    for (int row = y; row > 0 && IsWrappedLine(row); --row) x += static_cast<int>(LineText(row - 1).size());
    y = GetWrappedLineIndex(y);
}

void TAdvCustomMemo::BeginLogicalEdit() {
    if (FWrapHold++ > 0 || FWordWrap == wwNone || LineCount() == 0) return;
    const TLinearState state = SaveLinearState();
    DoJoin();
    RestoreLinearState(state);
}

void TAdvCustomMemo::EndLogicalEdit() {
    if (--FWrapHold > 0 || FWordWrap == wwNone || LineCount() == 0) return;
    const TLinearState state = SaveLinearState();
    DoWrap();
    RestoreLinearState(state);
}

// ---------------------------------------------------------------- caret

void TAdvCustomMemo::SetCurX(int value) {
    if (value == FCurX && FAutoExpand) return;
    SetCurXForced(value);
}

void TAdvCustomMemo::SetCurXForced(int value) {
    TAdvMemoStrings* lines = Lines();
    if (lines->Count() == 0 && !FAutoExpand) return;
    int a = value;
    if (a < 0) {
        if (FCurY <= 0) {
            a = 0;
        } else {
            FCurY = FCodeFoldingEnabled ? VisIndexToLineIndex(LineIndexToVisIndex(FCurY) - 1) : FCurY - 1;
            a = static_cast<int>(LineText(FCurY).size());
        }
    }
    if (FCurY >= 0 && FCurY < lines->Count()) {
        TRefreshOff off(*this);
        if (a > FMaxLength) {
            FLeftCol = std::max(0, a - VisiblePosCount());
            FMaxLength = a;
        } else {
            UpdateMaxLength();
        }
        const int length = static_cast<int>(lines->View(FCurY).size());
        if (a > length) {
            if (FAutoExpand) StoreLine(FCurY, lines->Get(FCurY) + std::wstring(static_cast<size_t>(a - length), L' '));
            else a = length;
            Invalidate();
        }
    }
    FCurX = a;
    if (FLetCursorUpdate) {
        ScrollCaretIntoView();
        UpdateScrollBars(false);
        DoStatusChange();
        if (FCaretVisible) UpdateCaret(true);
    }
    if ((FAutoHintParameters == hpAuto && FAutoHintsAllowed) || ParameterHintShowing()) ShowParameterHint();
    DoCursorChange();
    if (OnColumnChange) OnColumnChange(FCurX);
}

void TAdvCustomMemo::SetCurY(int value) {
    EnsureOneLine();
    TAdvMemoStrings* lines = Lines();
    const int v = std::clamp(value, 0, lines->Count() - 1);
    if (v == FCurY) return;
    const int old = FCurY;
    FCurY = v;
    if (FActiveLineAtCursor && v != FActiveLine) {
        FActiveLine = v;
        if (OnActiveLineChange) OnActiveLineChange(FCurY);
    }
    {
        TRefreshOff off(*this);
        if (old >= 0 && old < lines->Count()) {
            // Replayed steps restore text exactly; trimming then would change what they restore.
            if ((FTrimTrailingSpaces || FWordWrap != wwNone) && !FKeepLeftLine && !UndoList().IsPerforming()) {
                const std::wstring s = lines->Get(old);
                const std::wstring t = TrimLine(old, true);
                if (t != s) StoreLine(old, t);
            }
            HideParameterHint();
        }
    }
    SetCurX(FCurX);
    // An unchanged column returns early above: the line move still is a caret move.
    if (FAutoExpand) DoCursorChange();
    if (FShouldCheckCodeFolding) {
        AutoCodeFold();
        FShouldCheckCodeFolding = false;
        ScrollCaretIntoView();
        UpdateScrollBars(false);
    }
}

void TAdvCustomMemo::SetCursor(int aCurX, int aCurY) {
    ClearSelection();
    FSelStartX = FSelStartY = FSelEndX = FSelEndY = 0;
    FCurX = 0;
    SetCurY(aCurY);
    SetCurX(aCurX);
}

std::wstring TAdvCustomMemo::TrimLine(int y, bool recordUndo) {
    const std::wstring s = LineText(y);
    if (y + 1 < LineCount() && IsWrappedLine(y + 1)) return s;
    const std::wstring t = TrimRightControls(s);
    if (recordUndo && t != s) {
        // Steps replay on joined lines, so a wrapped row records where it lies in its line.
        int oldLen = static_cast<int>(s.size()), newLen = static_cast<int>(t.size()), line = y;
        PhysicalToLogical(oldLen, line);
        newLen = oldLen - static_cast<int>(s.size() - t.size());
        UndoList().Add(std::make_unique<TDeleteBufUndo>(oldLen, s.substr(t.size()), line, newLen, line, newLen, line, oldLen, line));
    }
    return t;
}

// ---------------------------------------------------------------- selection

void TAdvCustomMemo::OrderedSelection(int& sx, int& sy, int& ex, int& ey) const {
    sx = FSelStartX;
    sy = FSelStartY;
    ex = FSelEndX;
    ey = FSelEndY;
    if (sy > ey || (sy == ey && sx > ex)) {
        std::swap(sx, ex);
        std::swap(sy, ey);
    }
    // A column left of the line start means the line start.
    sx = std::max(sx, 0);
    ex = std::max(ex, 0);
}

bool TAdvCustomMemo::HasSelection() const {
    if (FSelectionMode == smBlock)
        return FBlockSelection.Right > FBlockSelection.Left && FBlockSelection.Bottom >= FBlockSelection.Top;
    return FSelStartX != FSelEndX || FSelStartY != FSelEndY;
}

void TAdvCustomMemo::SetSelectionMode(TSelectionMode value) {
    FSelectionMode = value;
    FBlockSelection = TMemoRect{};
    FSelStartX = FSelStartY = FSelEndX = FSelEndY = 0;
    Invalidate();
}

std::wstring TAdvCustomMemo::Selection() const {
    const int count = LineCount();
    if (count == 0) return L"";
    std::wstring result;
    if (FSelectionMode == smBlock) {
        const int left = std::max(FBlockSelection.Left, 0);
        const int width = std::max(FBlockSelection.Right - left, 0);
        for (int y = FBlockSelection.Top; y <= FBlockSelection.Bottom; ++y) {
            const std::wstring s = LineText(y);
            std::wstring part;
            if (left < static_cast<int>(s.size())) part = s.substr(left, width);
            if (static_cast<int>(part.size()) < width) part.append(width - part.size(), L' ');
            result += part + L"\r\n";
        }
        return result;
    }
    int sx, sy, ex, ey;
    OrderedSelection(sx, sy, ex, ey);
    if (sx == ex && sy == ey) return L"";
    auto piece = [](const std::wstring& s, int from, int length) {
        if (from >= static_cast<int>(s.size()) || length <= 0) return std::wstring();
        return s.substr(std::max(from, 0), length);
    };
    if (sy == ey) return piece(LineText(sy), sx, ex - sx);
    const std::wstring first = LineText(sy);
    result = piece(first, sx, static_cast<int>(first.size()) - sx);
    for (int y = sy + 1; y < ey; ++y) {
        if (!IsWrappedLine(y)) result += L"\r\n";
        result += LineText(y);
    }
    if (!IsWrappedLine(ey)) result += L"\r\n";
    result += piece(LineText(ey), 0, ex);
    return result;
}

void TAdvCustomMemo::ClearSelection() {
    const bool had = HasSelection();
    FBlockSelection = TMemoRect{};
    FSelStartX = FSelEndX = FPrevSelX = FCurX;
    FSelStartY = FSelEndY = FPrevSelY = FCurY;
    if (had) {
        DoSelectionChange();
        Invalidate();
    }
}

void TAdvCustomMemo::SelectAll() {
    const int count = LineCount();
    FSelStartX = FSelStartY = 0;
    if (count > 0) {
        FSelEndY = count - 1;
        FSelEndX = static_cast<int>(LineText(count - 1).size());
    } else {
        FSelEndX = FSelEndY = 0;
    }
    Invalidate();
    DoSelectionChange();
}

void TAdvCustomMemo::UnSelect() {
    FSelStartX = FSelStartY = FSelEndX = FSelEndY = 0;
    Invalidate();
    DoSelectionChange();
}

void TAdvCustomMemo::ExtendSelectionToCaret() {
    FSelEndX = FPrevSelX = FCurX;
    FSelEndY = FPrevSelY = FCurY;
    DoSelectionChange();
    Invalidate();
}

bool TAdvCustomMemo::IsWrappedLine(int i) const {
    if (FWordWrap == wwNone) return false;
    TLineProp* prop = Lines()->GetLineProp(i);
    return prop && prop->Wrapped;
}

int TAdvCustomMemo::TextFromPos(int x, int y) const {
    TAdvMemoStrings* lines = Lines();
    const int count = lines->Count();
    int total = 0;
    for (int i = 0; i < y && i < count; ++i) {
        total += lines->ListLengths()[i];
        if (!IsWrappedLine(i + 1)) total += 2;
    }
    if (y >= 0 && y < count) total += std::clamp(x, 0, lines->ListLengths()[y]);
    return total;
}

void TAdvCustomMemo::PosFromText(int textPos, int& x, int& y) const {
    x = 0;
    y = 0;
    if (textPos < 0) return;
    TAdvMemoStrings* lines = Lines();
    const int count = lines->Count();
    int total = 0;
    for (int i = 0; i < count; ++i) {
        const int counted = lines->ListLengths()[i] + (IsWrappedLine(i + 1) ? 0 : 2);
        if (total + counted > textPos) {
            y = i;
            x = textPos - total;
            return;
        }
        total += counted;
    }
}

int TAdvCustomMemo::SelStart() const {
    if (LineCount() == 0) return 0;
    int sx, sy, ex, ey;
    OrderedSelection(sx, sy, ex, ey);
    return TextFromPos(0, sy) + sx;
}

void TAdvCustomMemo::SetSelStart(int value) {
    const int length = SelLength();
    PosFromText(value, FSelStartX, FSelStartY);
    PosFromText(value + length, FSelEndX, FSelEndY);
    Invalidate();
}

void TAdvCustomMemo::SetSelLength(int value) {
    PosFromText(SelStart() + value, FSelEndX, FSelEndY);
    Invalidate();
}

bool TAdvCustomMemo::IsEmpty() const {
    TAdvMemoStrings* lines = Lines();
    if (lines->Count() > 2) return false;
    const std::wstring text = lines->Text();
    return text.empty() || text == L"\r\n";
}

void TAdvCustomMemo::Clear() {
    FCurX = FCurY = 0;
    FLeftCol = FTopLine = 0;
    {
        TRefreshOff off(*this);
        Lines()->Clear();
        Invalidate();
        SetCurY(0);
        SetCurXForced(0);
        FSelStartX = FSelStartY = FSelEndX = FSelEndY = 0;
        FBlockSelection = TMemoRect{};
    }
    UpdateView();
    Lines()->Clear();
}

// ---------------------------------------------------------------- insertion and deletion

void TAdvCustomMemo::InsertText(const std::wstring& value) {
    if (FReadOnly || !CanEdit()) return;
    TLogicalEdit logical(*this);
    const bool deleted = DeleteSelectionCore(false);
    const int caretX = FCurX, caretY = FCurY;
    const std::wstring t = NormaliseBreaks(value);
    EnsureOneLine();
    if (FCurY >= LineCount()) FCurY = LineCount() - 1;
    // Without a selection the text goes in at the caret, never at a stale selection start.
    const int sx = FCurX, sy = FCurY;
    TAdvMemoStrings* lines = Lines();
    const std::wstring line = lines->Get(sy);
    const size_t cut = std::min<size_t>(static_cast<size_t>(sx), line.size());

    if (FSelectionMode == smBlock) {
        std::vector<std::wstring> rows = SplitRows(t);
        if (!rows.empty() && rows.back().empty()) rows.pop_back();
        std::vector<std::wstring> before, after;
        for (size_t r = 0; r < rows.size(); ++r) {
            const int y = sy + static_cast<int>(r);
            std::wstring s;
            if (y < lines->Count()) {
                s = lines->Get(y);
                before.push_back(s);
            }
            if (static_cast<int>(s.size()) < sx) s.append(sx - s.size(), L' ');
            s.insert(sx, rows[r]);
            TUndoPerforming performing(UndoList());
            if (y < lines->Count()) lines->Put(y, s);
            else lines->DoInsert(lines->Count(), s);
            after.push_back(s);
        }
        UndoList().Add(std::make_unique<TBlockUndo>(caretX, caretY, FCurX, FCurY, sy, std::move(before), std::move(after)));
        ClearSelection();
        UpdateView();
        Invalidate();
        return;
    }

    if (t.find(L"\r\n") != std::wstring::npos) {
        const std::vector<std::wstring> rows = SplitRows(t);
        const int n = static_cast<int>(rows.size()) - 1;
        const std::wstring tail = line.substr(cut);
        std::wstring head = line.substr(0, cut);
        lines->Put(sy, head + rows[0]);
        lines->DoInsert(sy + 1, tail);
        DetachLinesChange();
        for (int k = 1; k < n; ++k) lines->DoInsert(sy + k, rows[k]);
        lines->Put(sy + n, rows[n] + tail);
        AttachLinesChange();
        // The logical edit holds the lines joined, so the caret stays on whole-line coordinates
        // and the closing rewrap moves it with the text.
        FCurY = sy + n;
        FCurX = static_cast<int>(rows[n].size());
        ScrollCaretIntoView();
        UpdateView();
        UndoList().Add(std::make_unique<TPasteUndo>(caretX, value, FCurY, FCurX, caretY, deleted));
    } else {
        lines->Put(sy, line.substr(0, cut) + t + line.substr(cut));
        SetCurX(sx);
        SetCurX(FCurX + static_cast<int>(t.size()));
        UpdateView();
        UndoList().Add(std::make_unique<TPasteUndo>(caretX, value, FCurY, FCurX, caretY, deleted));
        if (FWordWrap != wwNone) {
            // Whole-line coordinates, as above: no linear index summed from line 0 per edit,
            // which made replacing every match of a long text quadratic.
            const int x = static_cast<int>(cut + t.size()), y = sy;
            FLeftCol = 0;
            FCurX = x;
            FCurY = y;
            FSelStartX = FSelEndX = FPrevSelX = x;
            FSelStartY = FSelEndY = FPrevSelY = y;
            return;
        }
    }
    ClearSelection();
    Invalidate();
}

bool TAdvCustomMemo::DeleteSelectionCore(bool invalidate) {
    if (!CanEdit() || FReadOnly || !HasSelection()) return false;
    TLogicalEdit logical(*this);
    TAdvMemoStrings* lines = Lines();
    if (FSelectionMode == smBlock) {
        const TMemoRect block = FBlockSelection;
        std::vector<std::wstring> before, after;
        const int caretX = FCurX, caretY = FCurY;
        {
            TUndoPerforming performing(UndoList());
            for (int y = block.Top; y <= block.Bottom && y < lines->Count(); ++y) {
                std::wstring s = lines->Get(y);
                before.push_back(s);
                const int left = std::max(block.Left, 0);
                if (left < static_cast<int>(s.size())) s.erase(left, std::max(block.Right - left, 0));
                lines->Put(y, s);
                after.push_back(s);
            }
        }
        FCurX = std::max(block.Left, 0);
        FCurY = std::clamp(block.Top, 0, std::max(lines->Count() - 1, 0));
        UndoList().Add(std::make_unique<TBlockUndo>(caretX, caretY, FCurX, FCurY, block.Top, std::move(before), std::move(after)));
    } else {
        int sx, sy, ex, ey;
        OrderedSelection(sx, sy, ex, ey);
        const int count = lines->Count();
        if (ey >= count || sy < 0 || count == 0) {
            FSelStartX = FSelStartY = FSelEndX = FSelEndY = 0;
            return false;
        }
        const int caretX = FCurX, caretY = FCurY;
        // Exactly what goes away, so that undo puts back the same text.
        const std::wstring removed = Selection();
        {
            TRefreshOff off(*this);
            std::wstring head = lines->Get(sy);
            if (static_cast<int>(head.size()) > sx) head.resize(sx);
            else if (static_cast<int>(head.size()) < sx && sy != ey) head.append(sx - head.size(), L' ');
            const std::wstring endLine = lines->Get(ey);
            const std::wstring rest = ex < static_cast<int>(endLine.size()) ? endLine.substr(ex) : std::wstring();
            lines->Put(sy, head + rest);
            FCurX = sx;
            FCurY = sy;
            ClearSelection();
            {
                TUndoPerforming performing(UndoList());
                for (int y = ey; y > sy; --y) lines->Delete(y);
            }
            FCurX = sx;
            FCurY = sy;
            DoSelectionChange();
            if (invalidate) Invalidate();
            UpdateWrap();
        }
        UndoList().Add(std::make_unique<TDeleteBufUndo>(caretX, removed, FCurY, FCurX, caretY, sx, sy, ex, ey));
    }
    UpdateView();
    AfterEdit();
    ClearSelection();
    ClearErrorsOfCaretLine();
    return true;
}

void TAdvCustomMemo::InsertTextAtXY(const std::wstring& value, int x, int y) {
    EnsureOneLine();
    SetSelStart(TextFromPos(x, y));
    SetSelLength(0);
    SetCurY(y);
    SetCurX(x);
    const int ssx = FSelStartX, ssy = FSelStartY, sex = FSelEndX, sey = FSelEndY;
    FSelStartX = FSelEndX = FCurX;
    FSelStartY = FSelEndY = FCurY;
    InsertText(value);
    FSelStartX = ssx;
    FSelStartY = ssy;
    FSelEndX = sex;
    FSelEndY = sey;
}

void TAdvCustomMemo::DeleteTextAtXY(int x, int y, int numChar) {
    if (y < 0 || y >= LineCount() || x < 0 || numChar <= 0) return;
    PhysicalToLogical(x, y);
    TLogicalEdit logical(*this);
    std::wstring s = LineText(y);
    if (x >= static_cast<int>(s.size())) return;
    const std::wstring removed = s.substr(x, numChar);
    s.erase(x, numChar);
    StoreLine(y, s);
    UndoList().Add(std::make_unique<TDeleteBufUndo>(x, removed, y, x, y, x, y, x + numChar, y));
}

void TAdvCustomMemo::ClearErrorsOfCaretLine() { ClearLineErrors(FCurY); }

// ---------------------------------------------------------------- caret movement

bool TAdvCustomMemo::BeginMoveSelection(TMemoShiftState shift) {
    const bool withShift = (shift & ssShiftKey) != 0;
    // A new selection starts at the caret unless the caret is the moving end of the current one.
    if (withShift && !(FCurX == FPrevSelX && FCurY == FPrevSelY && HasSelection())) {
        FSelStartX = FSelEndX = FPrevSelX = FCurX;
        FSelStartY = FSelEndY = FPrevSelY = FCurY;
    }
    return withShift;
}

void TAdvCustomMemo::AfterMoveSelection(bool extend) {
    if (extend) {
        FSelEndX = FPrevSelX = FCurX;
        FSelEndY = FPrevSelY = FCurY;
        DoSelectionChange();
        Invalidate();
    } else {
        ClearSelection();
    }
}

void TAdvCustomMemo::MoveCaret(int dx, int dy, TMemoShiftState shift) {
    const bool withShift = BeginMoveSelection(shift);
    if (shift & ssCtrlKey) {
        if (dx > 0) WordRight();
        else if (dx < 0) WordLeft();
    } else {
        if (dy != 0) SetCurY(FCodeFoldingEnabled ? VisIndexToLineIndex(LineIndexToVisIndex(FCurY) + dy) : FCurY + dy);
        if (FSelectionMode == smBlock && withShift) {
            SetCurX(FCurX + dx);
            FBlockSelection.Left = std::min(FSelStartX, FCurX);
            FBlockSelection.Right = std::max(FSelStartX, FCurX);
            FBlockSelection.Top = std::min(FSelStartY, FCurY);
            FBlockSelection.Bottom = std::max(FSelStartY, FCurY);
            Invalidate();
        } else if (withShift && FSelectSingleLine && !FAutoExpand) {
            SetCurX(std::clamp(FCurX + dx, 0, static_cast<int>(LineText(FCurY).size())));
            if (FSelEndY != FSelStartY) FSelStartY = FSelEndY;
        } else if (FAutoExpand || dx < 0 || dy != 0) {
            if (dx != 0) SetCurX(FCurX + dx);
        } else if (dx > 0) {
            const std::wstring t = TrimLine(FCurY, false);
            if (FCurX >= static_cast<int>(t.size())) {
                if (FCurY + 1 < LineCount()) {
                    SetCurY(FCurY + 1);
                    SetCurX(0);
                }
            } else {
                SetCurX(FCurX + dx);
            }
        }
        if (dy != 0 && !FAutoExpand) {
            const std::wstring t = TrimLine(FCurY, false);
            if (FCurX > static_cast<int>(t.size())) SetCurX(static_cast<int>(t.size()));
        }
    }
    AfterMoveSelection(withShift);
}

bool TAdvCustomMemo::IsSymbolDelimiter(wchar_t ch) {
    if (ch == L' ') return true;
    if (!FUseStyler) return false;
    if (FCachedDelimiters.empty()) FCachedDelimiters = StylerSymbols();
    return FCachedDelimiters.find(ch) != std::wstring::npos;
}

void TAdvCustomMemo::WordRight() {
    TRefreshOff off(*this);
    const std::wstring t = TrimRightControls(LineText(FCurY));
    const int length = static_cast<int>(t.size());
    SetCurX(FCurX + 1);
    while (FCurX < length && (!IsSymbolDelimiter(t[FCurX - 1]) || t[FCurX] == L' ')) SetCurX(FCurX + 1);
    if (FCurX > length && FCurY + 1 < LineCount()) {
        SetCurY(FCodeFoldingEnabled ? VisIndexToLineIndex(LineIndexToVisIndex(FCurY) + 1) : FCurY + 1);
        SetCurX(0);
    }
}

void TAdvCustomMemo::WordLeft() {
    TRefreshOff off(*this);
    SetCurX(FCurX - 1);
    const std::wstring t = TrimRightControls(LineText(FCurY));
    while (FCurX >= 1 && FCurX <= static_cast<int>(t.size()) &&
           !(IsSymbolDelimiter(t[FCurX - 1]) && (FCurX >= static_cast<int>(t.size()) || t[FCurX] != L' ')))
        SetCurX(FCurX - 1);
}

void TAdvCustomMemo::MovePage(int direction, TMemoShiftState shift) {
    if (FCellSize.H == 0) return;
    const bool withShift = BeginMoveSelection(shift);
    const TMemoRect area = TextArea();
    const int rows = (area.Bottom - area.Top) / FCellSize.H;
    const int oldTop = FTopLine;
    const int newTop = FTopLine + direction * rows;
    if (FCodeFoldingEnabled) {
        SetCurY(VisIndexToLineIndex(LineIndexToVisIndex(FCurY) + direction * rows));
    } else if (LineCount() > rows) {
        SetCurY(FCurY + direction * rows);
        SetTopLine(newTop);
    } else {
        SetCurY(direction < 0 ? 0 : LineCount() - 1);
    }
    ClearCachedStyles(std::min(oldTop, FTopLine), std::max(oldTop, FTopLine));
    if (shift & ssCtrlKey) {
        if (direction < 0) {
            SetCurY(0);
            SetCurX(0);
        } else {
            SetCurY(LineCount() - 1);
            SetCurX(static_cast<int>(LineText(FCurY).size()));
        }
    }
    AfterMoveSelection(withShift);
}

void TAdvCustomMemo::HomeKey(TMemoShiftState shift) {
    const bool withShift = BeginMoveSelection(shift);
    if (shift & ssCtrlKey) {
        SetCurY(0);
        SetCurX(0);
    }
    if (FEnhancedHomeKey) {
        const std::wstring s = LineText(FCurY);
        int x = std::min(FCurX - 1, static_cast<int>(s.size()));
        while (x > 0 && !(s[x - 1] == L' ' && (x < static_cast<int>(s.size()) && s[x] != L' '))) --x;
        x = std::max(x, 0);
        SetCurX(x);
        if (FLeftCol > FCurX) SetLeftCol(FCurX);
    } else {
        SetCurX(0);
        SetLeftCol(0);
    }
    AfterMoveSelection(withShift);
}

void TAdvCustomMemo::EndKey(TMemoShiftState shift) {
    const bool withShift = BeginMoveSelection(shift);
    if (shift & ssCtrlKey) {
        SetCurY(LineCount() - 1);
        SetCurX(static_cast<int>(LineText(FCurY).size()));
    }
    const std::wstring t = FAutoExpand ? TrimRightControls(LineText(FCurY)) : TrimLine(FCurY, false);
    SetCurXForced(static_cast<int>(t.size()));
    AfterMoveSelection(withShift);
}

// ---------------------------------------------------------------- word queries

bool TAdvCustomMemo::IsWordDelimiter(wchar_t ch) const {
    return InSet(ch, L" !\"',.;?`\u00B4");
}

bool TAdvCustomMemo::IsTokenDelimiter(wchar_t ch) const {
    return InSet(ch, L" \"'(),.:;=[]`\u00B4");
}

bool TAdvMemo::IsWordDelimiter(wchar_t ch) const {
    if (TAdvCustomMemo::IsWordDelimiter(ch)) return true;
    if (!EffectiveStyler() || !UseStyler()) return false;
    return StylerDelimiters().find(ch) != std::wstring::npos;
}

namespace {

template <class TDelim>
std::wstring WordAt(const std::wstring& s, int x, int& start, TDelim isDelim) {
    start = x;
    while (start > 0 && !isDelim(s[start - 1])) --start;
    int end = x;
    while (end < static_cast<int>(s.size()) && !isDelim(s[end])) ++end;
    return s.substr(start, end - start);
}

}  // namespace

std::wstring TAdvCustomMemo::WordAtXY(int x, int y) const {
    if (y < 0 || y >= LineCount()) return L"";
    const std::wstring s = LineText(y);
    if (x < 0 || x > static_cast<int>(s.size())) return L"";
    int start;
    return WordAt(s, x, start, [this](wchar_t c) { return IsWordDelimiter(c); });
}

std::wstring TAdvCustomMemo::FullWordAtXY(int x, int y) const {
    if (y < 0 || y >= LineCount()) return L"";
    const std::wstring s = LineText(y);
    if (x < 0 || x > static_cast<int>(s.size())) return L"";
    int start;
    return WordAt(s, x, start, [](wchar_t c) { return c == L' '; });
}

std::wstring TAdvCustomMemo::TokenAtXY(int x, int y) const {
    if (y < 0 || y >= LineCount()) return L"";
    const std::wstring s = LineText(y);
    if (x < 0 || x > static_cast<int>(s.size())) return L"";
    int start;
    return WordAt(s, x, start, [this](wchar_t c) { return IsTokenDelimiter(c); });
}

std::wstring TAdvCustomMemo::WordAtCursor() {
    int pos;
    return WordAtCursorPos(pos);
}

std::wstring TAdvCustomMemo::WordAtCursorPos(int& pos) {
    pos = 0;
    SetCurY(FCurY);
    if (FCurY < 0 || FCurY >= LineCount()) return L"";
    const std::wstring s = LineText(FCurY);
    if (FCurX > static_cast<int>(s.size())) return L"";
    int start;
    const std::wstring word = WordAt(s, FCurX, start, [this](wchar_t c) { return IsWordDelimiter(c); });
    pos = start + 1;
    return word;
}

std::wstring TAdvCustomMemo::FullWordAtCursor() {
    SetCurY(FCurY);
    const std::wstring s = LineText(FCurY);
    if (FCurX > static_cast<int>(s.size())) return L"";
    int start;
    return WordAt(s, FCurX, start, [](wchar_t c) { return InSet(c, L" \"'()."); });
}

std::wstring TAdvCustomMemo::TokenAtCursor() {
    SetCurY(FCurY);
    const std::wstring s = LineText(FCurY);
    if (FCurX > static_cast<int>(s.size())) return L"";
    int start;
    return WordAt(s, FCurX, start, [](wchar_t c) { return InSet(c, L" \"');"); });
}

std::wstring TAdvCustomMemo::WordBeforeCursor() {
    SetCurY(FCurY);
    const std::wstring s = LineText(FCurY);
    if (FCurX > static_cast<int>(s.size())) return L"";
    int start = FCurX;
    while (start > 0 && !IsWordDelimiter(s[start - 1])) --start;
    return s.substr(start, FCurX - start);
}

std::wstring TAdvCustomMemo::WordTillCursor() {
    SetCurY(FCurY);
    const std::wstring s = LineText(FCurY);
    if (FCurX > static_cast<int>(s.size())) return L"";
    int start = FCurX;
    while (start > 0 && !IsTokenDelimiter(s[start - 1])) --start;
    return s.substr(start, FCurX - start);
}

void TAdvCustomMemo::SelectWordAtCursor() {
    int pos;
    const std::wstring word = WordAtCursorPos(pos);
    if (word.empty()) return;
    SetSelStart(TextFromPos(pos, FCurY) - 1);
    SetSelLength(static_cast<int>(word.size()));
}

std::wstring TAdvCustomMemo::NextToken(const std::wstring& text, int start, int& consumed) const {
    consumed = 0;
    int i = std::max(start, 1) - 1;
    const int n = static_cast<int>(text.size());
    while (i < n && IsTokenDelimiter(text[i])) {
        ++i;
        ++consumed;
    }
    const int from = i;
    while (i < n && !IsTokenDelimiter(text[i])) {
        ++i;
        ++consumed;
    }
    return text.substr(from, i - from);
}

// ---------------------------------------------------------------- editing commands

void TAdvCustomMemo::InsertChar(wchar_t c) {
    if (FReadOnly || !CanEdit()) return;
    TLogicalEdit logical(*this);
    TAdvMemoStrings* lines = Lines();
    if (FCurY >= lines->Count() && lines->Count() > 0) SetCurY(lines->Count() - 1);
    EnsureOneLine();
    if (FCurY >= lines->Count()) FCurY = lines->Count() - 1;
    const int oldX = FCurX, oldY = FCurY;
    // The line is changed where it is stored: a keystroke copies no line.
    const int length = static_cast<int>(lines->View(FCurY).size());
    std::wstring inserted;
    // Replayed characters were insertions when recorded (replacements replay on their own).
    const bool overwrite = FOverwrite && !UndoList().IsPerforming();
    int insertAt = FCurX;
    bool replaced = false;
    if (c != L'\t') {
        inserted = std::wstring(1, c);
    } else if (overwrite) {
        if (FCurX + FTabSize <= length) {
            SetCurX(FCurX + FTabSize);
            return;
        }
        insertAt = length;
        FCurX = insertAt;
        inserted = std::wstring(static_cast<size_t>(std::max(oldX + FTabSize - insertAt, 0)), L' ');
    } else {
        inserted = std::wstring(static_cast<size_t>(FTabSize), L' ');
    }
    if (overwrite && c != L'\t' && c >= L' ' && FCurX < length) {
        replaced = true;
        UndoList().Add(std::make_unique<TOverwriteCharUndo>(oldX, std::wstring(1, lines->View(FCurY)[FCurX]), oldY, oldX, oldY));
    }
    const int countBefore = lines->Count();
    int linear = 0;
    {
        TRefreshOff off(*this);
        // A caret beyond the end of the line pads it with blanks up to the caret first.
        lines->ReplaceChars(FCurY, insertAt, replaced ? 1 : 0, inserted);
        if (FWordWrap != wwNone) linear = TextFromPos(insertAt + static_cast<int>(inserted.size()), FCurY);
        UpdateWrap();
    }
    if (FWordWrap != wwNone) {
        int x = 0, y = 0;
        PosFromText(linear, x, y);
        FCurX = 0;
        SetCurY(y);
        SetCurX(x);
        if (FWordWrap == wwClientWidth || FRightMargin < VisiblePosCount()) SetLeftCol(0);
    } else {
        SetCurX(FCurX + static_cast<int>(inserted.size()));
    }
    ClearSelection();
    // Recorded from where the text went in: a tab in overwrite mode inserts at the line end.
    if (!replaced) UndoList().Add(std::make_unique<TInsertCharUndo>(std::max(oldX, insertAt), inserted, FCurY, FCurX, oldY));
    if (FWordWrap != wwNone && lines->Count() != countBefore) UpdateScrollBars(false);
    AfterEdit();
}

void TAdvCustomMemo::DeleteChar(int oldX, int oldY) {
    if (FReadOnly || !CanEdit()) return;
    TLogicalEdit logical(*this);
    TAdvMemoStrings* lines = Lines();
    if (lines->Count() == 0) return;
    const bool backspace = oldX != -1;
    const int bx = backspace ? oldX : FCurX, by = backspace ? oldY : FCurY;
    {
        TRefreshOff off(*this);
        const int selStart = FWordWrap != wwNone ? TextFromPos(FCurX, FCurY) : 0;
        ClearSelection();
        if (FCurY >= lines->Count()) return;
        std::wstring s = lines->Get(FCurY);
        if (FCurX < static_cast<int>(s.size())) {
            const wchar_t ch = s[FCurX];
            s.erase(FCurX, 1);
            StoreLine(FCurY, s);
            UndoList().Add(std::make_unique<TDeleteCharUndo>(bx, std::wstring(1, ch), FCurY, FCurX, by, backspace));
        } else if (FCurY + 1 < lines->Count()) {
            if (FWordWrap != wwNone && IsWrappedLine(FCurY + 1)) {
                std::wstring below = lines->Get(FCurY + 1);
                if (!below.empty()) {
                    const wchar_t ch = below[0];
                    below.erase(0, 1);
                    StoreLine(FCurY + 1, below);
                    UndoList().Add(std::make_unique<TDeleteCharUndo>(0, std::wstring(1, ch), FCurY + 1, 0, FCurY + 1, backspace));
                }
            } else {
                // Joined at the caret, which may stand beyond the end of the line.
                if (static_cast<int>(s.size()) < FCurX) s.append(FCurX - s.size(), L' ');
                StoreLine(FCurY, s + lines->Get(FCurY + 1));
                StoreLine(FCurY + 1, L"");
                {
                    TUndoPerforming performing(UndoList());
                    lines->Delete(FCurY + 1);
                }
                UndoList().Add(std::make_unique<TDeleteCharUndo>(bx, L"\r", FCurY, FCurX, by, backspace));
                AutoCodeFold();
            }
        }
        UpdateWrap();
        FSelStartX = FSelEndX = FPrevSelX = FCurX;
        FSelStartY = FSelEndY = FPrevSelY = FCurY;
        if (FWordWrap != wwNone) {
            PosFromText(selStart, FSelStartX, FSelStartY);
            FSelEndX = FCurX = FSelStartX;
            FSelEndY = FCurY = FSelStartY;
        }
    }
    UpdateView();
    AfterEdit();
}

void TAdvCustomMemo::BackspaceKeyCommand(TMemoShiftState shift) {
    if (!CanEdit() || FReadOnly || LineCount() == 0) return;
    TLogicalEdit logical(*this);
    if (shift & ssCtrlKey) {
        DeleteWordBack();
    } else if (!FDelErase || !HasSelection()) {
        EnsureOneLine();
        if (FCurY >= LineCount()) SetCurY(LineCount() - 1);
        std::wstring s = LineText(FCurY);
        if (static_cast<int>(s.size()) < FCurX) StoreLine(FCurY, s + std::wstring(FCurX - s.size(), L' '));
        // An empty selection means the caret; a stale selection start must not decide.
        int pos = HasSelection() ? SelStart() : TextFromPos(FCurX, FCurY);
        if (pos <= 0) return;
        pos -= (FCurX == 0 && pos >= 2 && !IsWrappedLine(FCurY)) ? 2 : 1;
        const int oldX = FCurX, oldY = FCurY;
        int x = 0, y = 0;
        PosFromText(pos, x, y);
        SetCurY(y);
        SetCurX(x);
        DeleteChar(oldX, oldY);
    } else {
        DeleteSelectionCore(true);
    }
    SetLineModifiedInt(FCurY, lmModified);
    AfterEdit();
}

void TAdvCustomMemo::BackspaceKey() {
    TLogicalEdit logical(*this);
    TAdvMemoStrings* lines = Lines();
    // Replay removes exactly the recorded characters; the smart jump is for the user's key only.
    if (FSmartTabs && !UndoList().IsPerforming() && lines->Count() > 0 && FCurY < lines->Count() && FCurX >= 1) {
        const std::wstring s = lines->Get(FCurY);
        bool blanksOnly = true;
        for (int i = 0; i < FCurX && i < static_cast<int>(s.size()); ++i)
            if (s[i] != L' ') blanksOnly = false;
        if (blanksOnly) {
            const int target = std::max(0, SmartBackTarget());
            const int oldX = FCurX;
            const std::wstring rest = FCurX < static_cast<int>(s.size()) ? s.substr(FCurX) : std::wstring();
            std::wstring head = s.substr(0, std::min<size_t>(static_cast<size_t>(target), s.size()));
            if (static_cast<int>(head.size()) < target) head.append(target - head.size(), L' ');
            StoreLine(FCurY, head + rest);
            FCurX = target;
            SetCurXForced(target);
            UndoList().Add(std::make_unique<TDeleteBufUndo>(oldX, std::wstring(oldX - target, L' '), FCurY, target, FCurY,
                                                            target, FCurY, oldX, FCurY));
            UpdateView();
            return;
        }
    }
    if (FCodeFoldingEnabled && FCurX == 0 && FCurY > 0) {
        ExpandNodeOfLine(VisIndexToLineIndex(LineIndexToVisIndex(FCurY) - 1));
        FShouldCheckCodeFolding = false;
    }
    const int oldX = FCurX, oldY = FCurY;
    MoveCaret(-1, 0, 0);
    if (FCurX == oldX && FCurY == oldY) return;
    DeleteChar(oldX, oldY);
    if (FCurY >= lines->Count() && lines->Count() > 0) {
        SetCurY(lines->Count() - 1);
        SetCurX(static_cast<int>(lines->Get(FCurY).size()));
    }
    ClearSelection();
    // Markers below a joined line were moved up by the line deletion itself.
}

int TAdvCustomMemo::SmartBackTarget() {
    const int def = FCurX - 1;
    if (FCurY < 2 || FCurY >= LineCount()) return def;
    int reached = def;
    for (int line = FCurY - 1; line >= 0; --line) {
        const std::wstring text = JoinedWithContinuations(line);
        const int length = static_cast<int>(text.size());
        int j = std::min(def, length);
        while (j >= 0 && (j >= length || IsBlank(text[j]))) --j;
        if (j >= 0) {
            while (j > 0 && !IsBlank(text[j - 1])) --j;
            return j;
        }
        reached = 0;
    }
    return reached;
}

void TAdvCustomMemo::DeleteWordBack() {
    TLogicalEdit logical(*this);
    const std::wstring original = LineText(FCurY);
    for (;;) {
        const int ox = FCurX, oy = FCurY;
        MoveCaret(-1, 0, 0);
        if (FCurX == ox && FCurY == oy) break;
        DeleteChar(ox, oy);
        if (FCurY != oy || FCurX <= 0) break;
        if (FCurX - 1 >= static_cast<int>(original.size()) || original[FCurX - 1] == L' ') break;
    }
}

std::wstring TAdvCustomMemo::NewLineIndent() {
    std::wstring indent;
    if (!FAutoIndent) return indent;
    const std::wstring s = LineText(FCurY);
    size_t n = 0;
    while (n < s.size() && s[n] == L' ') ++n;
    indent.assign(n, L' ');
    if (OnNewLineIndent) OnNewLineIndent(this, FCurY, indent);
    return indent;
}

void TAdvCustomMemo::NewLine() {
    if (FReadOnly || !CanEdit()) return;
    TLogicalEdit logical(*this);
    TAdvMemoStrings* lines = Lines();
    {
        TRefreshOff off(*this);
        if (FCurY >= lines->Count() && lines->Count() > 0) SetCurY(lines->Count() - 1);
        const int oldX = FCurX, oldY = FCurY;
        if (FMarkerList.Markers().HigherMarkerThanLine(FCurY)) FMarkerList.Markers().AdjustMarkerLinePlus(FCurY + 1);
        EnsureOneLine();
        const std::wstring s = lines->Get(FCurY);
        const std::wstring indent = NewLineIndent();
        const size_t cut = std::min<size_t>(static_cast<size_t>(FCurX), s.size());
        const std::wstring fullRest = s.substr(cut);
        // Replaying a step must give back the exact text, so nothing is trimmed then.
        std::wstring rest = UndoList().IsPerforming() ? fullRest : TrimRightControls(fullRest);
        const std::wstring trailing = fullRest.substr(rest.size());
        std::wstring leading;
        if (FAutoIndent) {
            const size_t first = rest.find_first_not_of(L' ');
            leading = rest.substr(0, first == std::wstring::npos ? rest.size() : first);
            rest.erase(0, leading.size());
        }
        StoreLine(FCurY, s.substr(0, cut));
        if (FCodeFoldingEnabled) ExpandNodeOfLine(FCurY);
        lines->DoInsert(FCurY + 1, indent + rest);
        FKeepLeftLine = true;  // the head is trimmed below, after the break is recorded
        MoveCaret(0, 1, 0);
        FKeepLeftLine = false;
        SetCurXForced(static_cast<int>(indent.size()));
        ClearSelection();
        if (FUndoLineByLine)
            UndoList().Add(std::make_unique<TNewLineUndo>(oldX, L"\r" + indent, FCurY, FCurX, oldY));
        else
            UndoList().Add(std::make_unique<TInsertCharUndo>(oldX, L"\r" + indent, FCurY, FCurX, oldY));
        // The blanks dropped from the moved text are recorded too, linked to the line break, so
        // that undo gives the line back exactly.
        const int at = static_cast<int>(indent.size());
        const int restEnd = at + static_cast<int>(rest.size());
        RecordDroppedText(at, FCurY, leading);
        RecordDroppedText(restEnd, FCurY, trailing);
        if ((FTrimTrailingSpaces || FWordWrap != wwNone) && !UndoList().IsPerforming() && oldY < lines->Count()) {
            const std::wstring head = lines->Get(oldY);
            const std::wstring trimmed = TrimLine(oldY, false);
            if (trimmed != head) {
                StoreLine(oldY, trimmed);
                RecordDroppedText(static_cast<int>(trimmed.size()), oldY, head.substr(trimmed.size()));
            }
        }
    }
    UpdateView();
    AfterEdit();
}

void TAdvCustomMemo::RecordDroppedText(int column, int line, const std::wstring& text) {
    if (text.empty()) return;
    const int length = static_cast<int>(text.size());
    auto step = std::make_unique<TDeleteBufUndo>(column, text, line, column, line, column, line, column + length, line);
    step->SetLinkedUndo(true);
    UndoList().Add(std::move(step));
}

std::wstring TAdvCustomMemo::JoinedWithContinuations(int line) const {
    std::wstring text = LineText(line);
    if (FWordWrap == wwNone) return text;
    int first = line;
    while (first > 0 && IsWrappedLine(first)) --first;
    std::wstring joined;
    for (int i = first; i < line; ++i) joined += LineText(i);
    return joined + text;
}

std::wstring TAdvCustomMemo::SmartTabPadding() {
    for (int line = FCurY - 1; line >= 0; --line) {
        const std::wstring text = JoinedWithContinuations(line) + L"\r\n";
        const int length = static_cast<int>(text.size());
        if (length < FCurX + 1) continue;
        int i = FCurX;
        while (i < length && !InSet(text[i], L"\t\r\n ")) ++i;
        while (i < length && IsBlank(text[i])) ++i;
        const int target = std::min(i, length - 2);
        return target > FCurX ? std::wstring(target - FCurX, L' ') : std::wstring();
    }
    return L"";
}

void TAdvCustomMemo::TabKey(TMemoShiftState shift) {
    if (FReadOnly || !CanEdit()) return;
    TLogicalEdit logical(*this);
    if (!FSmartTabs || LineCount() == 0) {
        if (shift & ssCtrlKey) return;
        if (shift & ssShiftKey) {
            SetCurX(std::max(0, FCurX - FTabSize));
            return;
        }
        InsertChar(L'\t');
        Invalidate();
        AfterEdit();
        return;
    }
    {
        TRefreshOff off(*this);
        const int oldX = FCurX, oldY = FCurY;
        const std::wstring pad = SmartTabPadding();
        if (!pad.empty()) {
            const std::wstring s = LineText(FCurY);
            std::wstring head = s.substr(0, std::min<size_t>(static_cast<size_t>(FCurX), s.size()));
            if (static_cast<int>(head.size()) < FCurX) head.append(FCurX - head.size(), L' ');
            const std::wstring fullRest = FCurX < static_cast<int>(s.size()) ? s.substr(FCurX) : std::wstring();
            const std::wstring rest = TrimRightControls(fullRest);
            StoreLine(FCurY, head + pad + rest);
            SetCurX(FCurX + static_cast<int>(pad.size()));
            UndoList().Add(std::make_unique<TInsertCharUndo>(oldX, pad, FCurY, FCurX, oldY));
            RecordDroppedText(FCurX + static_cast<int>(rest.size()), FCurY, fullRest.substr(rest.size()));
        } else {
            InsertChar(L'\t');
        }
    }
    UpdateView();
    AfterEdit();
}

void TAdvCustomMemo::BlockIndent(int fromLine, int toLine, bool addUndo, int indent) {
    if (fromLine > toLine) std::swap(fromLine, toLine);
    // Rows of a wrapped text become the lines they belong to: whole lines are indented.
    if (FWordWrap != wwNone && FWrapHold == 0) {
        fromLine = GetWrappedLineIndex(fromLine);
        toLine = GetWrappedLineIndex(toLine);
    }
    TLogicalEdit logical(*this);
    TAdvMemoStrings* lines = Lines();
    {
        TRefreshOff off(*this);
        for (int i = std::max(fromLine, 0); i <= toLine && i < lines->Count(); ++i) {
            std::wstring s = lines->Get(i);
            if (indent > 0) {
                s.insert(0, static_cast<size_t>(indent), L' ');
            } else {
                int n = 0;
                while (n < -indent && n < static_cast<int>(s.size()) && s[n] == L' ') ++n;
                s.erase(0, n);
            }
            lines->Put(i, s);
        }
        if (addUndo) UndoList().Add(std::make_unique<TIndentUndo>(indent, fromLine, toLine, FCurX, FCurY));
    }
    Invalidate();
    DoChange();
}

TDeleteLineUndo::TKind TAdvCustomMemo::PrepareCaretLineDelete() {
    TAdvMemoStrings* lines = Lines();
    ClearLineErrors(FCurY);
    FCurX = 0;
    if (MarkerAtLine(FCurY)) RemoveMarker(FCurY);
    if (lines->Count() == 1) return TDeleteLineUndo::dlOnly;
    if (FCurY == lines->Count() - 1) {
        --FCurY;
        return TDeleteLineUndo::dlLast;
    }
    return TDeleteLineUndo::dlMiddle;
}

void TAdvCustomMemo::FinishLineDelete(int deleted) {
    for (int i = 0; i < FBookmarkList.Count(); ++i) {
        const int b = FBookmarkList[i];
        if (b != -1 && b >= deleted) FBookmarkList.SetInteger(i, b - 1);
    }
    FMarkerList.Markers().AdjustMarkerLineMinus(deleted);
    ClearSelection();
    Invalidate();
}

void TAdvCustomMemo::DeleteLine() {
    if (!CanEdit()) return;
    TAdvMemoStrings* lines = Lines();
    TLogicalEdit logical(*this);
    if (lines->Count() == 0) return;
    if (FCurY >= lines->Count()) FCurY = lines->Count() - 1;
    const int oldX = FCurX, oldY = FCurY;
    const std::wstring text = lines->Get(FCurY);
    const TDeleteLineUndo::TKind kind = PrepareCaretLineDelete();
    // The only line is emptied, not removed: the memo always shows a line to type in.
    const int deleted = kind == TDeleteLineUndo::dlOnly ? 0 : oldY;
    if (kind == TDeleteLineUndo::dlOnly) lines->Put(0, L"");
    else lines->RemoveLine(deleted);
    FinishLineDelete(deleted);
    UndoList().Add(std::make_unique<TDeleteLineUndo>(oldX, text, FCurY, FCurX, oldY, kind));
    AfterEdit();
}

}  // namespace AdvMemo
