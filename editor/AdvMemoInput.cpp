// Keyboard and mouse input of the memo: the key table, typed characters, caret placement by
// the mouse, selecting by dragging, and moving or copying the selection by a drag.
#include "editor/AdvMemo.h"

#include <algorithm>
#include <cwctype>

#include "classlib/Seams.h"

namespace AdvMemo {

using ClassLib::TShiftState;
using ClassLib::ssAlt;
using ClassLib::ssCtrl;
using ClassLib::ssShift;

namespace {

constexpr wchar_t CtrlA = 1, CtrlC = 3, CtrlV = 22, CtrlX = 24;

TMemoShiftState MemoShift(TShiftState shift) {
    TMemoShiftState result = 0;
    if (shift & ssShift) result |= ssShiftKey;
    if (shift & ssAlt) result |= ssAltKey;
    if (shift & ssCtrl) result |= ssCtrlKey;
    return result;
}

// Keys that move or modify without editing: the caret rules are not re-applied for them.
bool IsNavigationKey(WORD key) {
    switch (key) {
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
        case VK_SHIFT: case VK_CONTROL: case VK_MENU:
        case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
            return true;
        default:
            return key >= VK_F1 && key <= VK_F12;
    }
}

// Keys that end the word being typed, so word completion runs: the search's word ends
// (IsSearchWordEndChar) and also a quote and an opening bracket, which start what follows a word.
bool IsTypedWordEndChar(wchar_t c) {
    switch (c) {
        case L'\t': case L'\r': case L' ': case L'!': case L'"': case L'(': case L',': case L'.':
        case L':': case L';': case L'=': case L'?': case L'[':
            return true;
        default:
            return false;
    }
}

std::wstring UpperCase(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towupper(c));
    return s;
}

std::wstring Trimmed(const std::wstring& s) {
    const size_t first = s.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return L"";
    const size_t last = s.find_last_not_of(L" \t");
    return s.substr(first, last - first + 1);
}

}  // namespace

// ---------------------------------------------------------------- keys

void TAdvCustomMemo::KeyDown(WORD& key, TShiftState shift) {
    ClassLib::TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    if (FAutoCompleteTimer) FAutoCompleteTimer->SetEnabled(false);
    if (key != VK_CONTROL && !FHiddenCaret) UpdateCaret(true);
    FAutoHintsAllowed = !(shift & ssCtrl);
    if (!IsNavigationKey(key)) {
        SetCurY(FCurY);
        SetCurX(FCurX);
    }
    if ((key == VK_BACK || key == VK_DELETE) && LineCount() > 0) {
        int pos = 0;
        if (!WordAtCursorPos(pos).empty()) ClearWordError(FCurY, pos - 1);
    }
    if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) FShouldCheckCodeFolding = false;

    const TMemoShiftState memoShift = MemoShift(shift);
    switch (key) {
        case VK_BACK:
            if (!(shift & ssAlt)) ExecuteKey(key, shift);
            else if (shift & ssShift) Redo();
            else Undo();
            break;
        case VK_TAB: {
            int sx, sy, ex, ey;
            OrderedSelection(sx, sy, ex, ey);
            if (HasSelection() && FSelectionMode == smText && ey > sy && !FReadOnly) {
                // A selection ending at column 0 of a later line leaves that line alone.
                const int last = ex == 0 ? ey - 1 : ey;
                BlockIndent(sy, last, true, (shift & ssShift) ? -FTabSize : FTabSize);
            } else {
                ExecuteKey(key, shift);
            }
            Changed();
            break;
        }
        case VK_ESCAPE: case VK_END: case VK_HOME: case VK_DELETE: case VK_PRIOR: case VK_NEXT: case VK_INSERT:
            ExecuteKey(key, shift);
            break;
        case VK_SPACE:
            if ((shift & ssCtrl) && (shift & ssShift)) {
                if (FAutoHintParameters != hpNone) ShowParameterHint();
            } else if ((shift & ssCtrl) && FAutoCompletion->Active()) {
                // Right after a start token the list completes what follows it, as when it
                // opens by itself: anchored at the token's start, accepting an entry would
                // replace the "obj." before it.
                FAutoCompleteDot = EndsWithStartToken(LineCount() > 0 ? FullWordAtXY(FCurX, FCurY) : std::wstring());
                FDotPoint = TCellPos{FCurX, FCurY};
                ShowAutoCompletion();
            }
            break;
        case VK_LEFT: MoveCaret(-1, 0, memoShift); break;
        case VK_RIGHT: MoveCaret(1, 0, memoShift); break;
        case VK_UP:
            if (shift & ssCtrl) {
                SetTopLine(FTopLine - 1);
                if (FCurY == FTopLine + VisibleLineCount()) SetCurY(FCurY - 1);
            } else {
                MoveCaret(0, -1, memoShift);
            }
            break;
        case VK_DOWN:
            if (shift & ssCtrl) {
                SetTopLine(FTopLine + 1);
                if (FCurY < FTopLine) SetCurY(FTopLine);
            } else {
                MoveCaret(0, 1, memoShift);
            }
            break;
        case 'F': if (shift & ssCtrl) ClassLib::FireEvent(OnFind, this); break;
        case 'H': if (shift & ssCtrl) ClassLib::FireEvent(OnReplace, this); break;
        case 'S': if (shift & ssCtrl) ClassLib::FireEvent(OnSave, this); break;
        case 'Y': if ((shift & ssCtrl) && !FReadOnly) Redo(); break;
        case 'Z': if ((shift & ssCtrl) && !(shift & ssAlt)) Undo(); break;
        default: break;
    }
    if (key == VK_INSERT) DoStatusChange();
}

void TAdvCustomMemo::KeyUp(WORD& key, TShiftState shift) {
    if (!FHiddenCaret) UpdateCaret(true);
    ClassLib::TCustomControl::KeyUp(key, shift);
}

void TAdvCustomMemo::ExecuteKey(WORD key, TShiftState shift) {
    const TMemoShiftState memoShift = MemoShift(shift);
    switch (key) {
        case CtrlC: DoCopy(); break;
        case VK_ESCAPE: break;
        case VK_PRIOR: MovePage(-1, memoShift); break;
        case VK_NEXT: MovePage(1, memoShift); break;
        case VK_END:
        case VK_HOME:
            if (LineCount() > 0) {
                const int startX = FSelStartX, startY = FSelStartY;
                if (key == VK_END) EndKey(memoShift);
                else HomeKey(memoShift);
                if ((shift & ssCtrl) && (shift & ssShift)) {
                    FSelStartX = startX;
                    FSelStartY = startY;
                    Invalidate();
                    DoSelectionChange();
                }
            } else {
                FCurX = 0;
            }
            break;
        case VK_INSERT:
            if (shift & ssCtrl) DoCopy();
            break;
        default: break;
    }
    if (FReadOnly) return;
    switch (key) {
        case CtrlA: SelectAll(); break;
        case VK_BACK: BackspaceKeyCommand(memoShift); break;
        case VK_TAB:
            TabKey(memoShift);
            SetLineModifiedInt(FCurY, lmModified);
            break;
        case VK_RETURN:
            DeleteSelectionCore(true);
            NewLine();
            SetLineModifiedInt(FCurY, lmModified);
            break;
        case CtrlV: DoPaste(); break;
        case CtrlX:
            DoCut();
            SetLineModifiedInt(FCurY, lmModified);
            break;
        case VK_INSERT:
            if (shift & ssShift) {
                DoPaste();
            } else if (!(shift & ssCtrl)) {
                bool allow = true;
                if (OnOverwriteToggle) OnOverwriteToggle(this, allow);
                if (allow) {
                    // One mode record on top is enough: repeated toggles do not fill the list.
                    TAdvUndoList& undo = UndoList();
                    const bool topIsMode = undo.Pos() < undo.Count() &&
                                           dynamic_cast<TInsertOverwriteUndo*>(undo.Items(undo.Pos())) != nullptr;
                    if (undo.Count() > 0 && !topIsMode) undo.Add(std::make_unique<TInsertOverwriteUndo>(FOverwrite));
                    FOverwrite = !FOverwrite;
                }
            }
            // Markers stay where they are: the key inserts no line.
            break;
        case VK_DELETE:
            if (LineCount() == 0) break;
            if (shift & ssShift) {
                CutToClipBoard();
            } else if (FDelErase && HasSelection()) {
                const bool autoExpand = FAutoExpand;
                FAutoExpand = true;
                try {
                    DeleteSelectionCore(true);
                } catch (...) {
                    FAutoExpand = autoExpand;
                    throw;
                }
                FAutoExpand = autoExpand;
            } else {
                EnsureOneLine();
                const std::wstring s = LineText(FCurY);
                if (static_cast<int>(s.size()) < FCurX) StoreLine(FCurY, s + std::wstring(FCurX - s.size(), L' '));
                DeleteChar(-1, -1);
                ClearLineErrors(FCurY);
            }
            SetLineModifiedInt(FCurY, lmModified);
            FPrevSelX = FCurX;
            FPrevSelY = FCurY;
            break;
        default: break;
    }
}

void TAdvCustomMemo::KeyPress(wchar_t& key) {
    // Ctrl+Space opens the completion list; the blank it also sends is not typed.
    if (key == L' ' && ClassLib::IsKeyDown(VK_CONTROL)) return;
    if (key == CtrlC) ExecuteKey(CtrlC, 0);
    const bool editable = !FReadOnly && CanEdit();
    if (!(key == CtrlA || key == CtrlC || editable)) return;
    FShouldCheckCodeFolding = true;

    // Enter after a block start adds the matching block end below an empty line.
    TAdvCustomMemoStyler* styler = EffectiveStyler();
    if (key == L'\r' && styler && styler->AutoBlockEnd() && !styler->BlockStart().empty() && LineCount() > 0 &&
        FSelectionMode == smText) {
        const std::wstring blockStart = UpperCase(styler->BlockStart());
        const std::wstring blockEnd = UpperCase(styler->BlockEnd());
        if (UpperCase(WordTillCursor()).find(blockStart) != std::wstring::npos) {
            const std::wstring line = LineText(FCurY);
            const int indent = static_cast<int>(std::min(line.find_first_not_of(L' '), line.size()));
            int starts = 0, ends = 0;
            for (int y = FCurY - 1; y >= 0; --y) {
                const std::wstring t = UpperCase(Trimmed(LineText(y)));
                if (!blockEnd.empty() && t.find(blockEnd) != std::wstring::npos) break;
                if (t.find(blockStart) != std::wstring::npos) ++starts;
            }
            for (int y = FCurY + 1; y < LineCount(); ++y) {
                std::wstring t = UpperCase(Trimmed(LineText(y)));
                while (!t.empty() && IsSymbolDelimiter(t.back())) t.pop_back();
                if (t.find(blockStart) != std::wstring::npos) break;
                if (!blockEnd.empty() && t.find(blockEnd) != std::wstring::npos) ++ends;
            }
            if (starts >= ends) {
                const int caretY = FCurY;
                InsertText(L"\r\r" + std::wstring(indent, L' ') + styler->BlockEnd() + GetLineBreak());
                SetCurY(caretY + 1);
                SetCurX(indent + 2);
                key = 0;
                return;
            }
        }
    }

    ClassLib::TCustomControl::KeyPress(key);
    if (key == 0) return;

    if (IsTypedWordEndChar(key)) {
        if (FMemoChecker) RunMemoChecker(key == L'\r');
        if (key == L'\r') {
            if (LineCount() == 0) Lines()->Add(L"");
            if (FCurX == 0 && Trimmed(LineText(FCurY)).empty()) FShouldCheckCodeFolding = false;
        }
        if (OnWordComplete || FAutoCorrect.Wanted()) CompleteWordBeforeCaret();
    }

    if (key >= L' ' && key != 127) {
        if (FDelErase && HasSelection()) DeleteSelectionCore(true);
        wchar_t c = key;
        if (FCharCase == ecUpperCase) c = static_cast<wchar_t>(std::towupper(c));
        else if (FCharCase == ecLowerCase) c = static_cast<wchar_t>(std::towlower(c));
        InsertChar(c);
        SetLineModifiedInt(FCurY, lmModified);
        Invalidate();
        Changed();
    } else if (key != CtrlC && key != VK_BACK && key != VK_TAB) {
        ExecuteKey(key, 0);
    }
    CheckCompletionTrigger(key);
}

void TAdvCustomMemo::CompleteWordBeforeCaret() {
    if (LineCount() == 0 || FCurY < 0 || FCurY >= LineCount()) return;
    const std::wstring word = WordBeforeCursor();
    if (word.empty()) return;
    std::wstring newWord = word;
    FAutoCorrect.Lookup(word, newWord);
    if (OnWordComplete) OnWordComplete(this, word, newWord);
    if (newWord != word) ReplaceBeforeCaret(static_cast<int>(word.size()), newWord);
}

void TAdvCustomMemo::ReplaceBeforeCaret(int wordLength, const std::wstring& newWord) {
    const std::wstring line = LineText(FCurY);
    const size_t start = static_cast<size_t>(std::max(FCurX - wordLength, 0));
    const std::wstring rest = static_cast<size_t>(FCurX) < line.size() ? line.substr(FCurX) : std::wstring();
    UndoList().Add(std::make_unique<TCorrectUndo>(FCurY, line));
    {
        TUndoPerforming performing(UndoList());
        StoreLine(FCurY, line.substr(0, start) + newWord + rest);
    }
    SetCurX(FCurX + static_cast<int>(newWord.size()) - wordLength);
}

// ---------------------------------------------------------------- mouse

bool TAdvCustomMemo::InGutter(int x) const { return x <= (FGutterVisible ? FGutterWidth : 0); }

void TAdvCustomMemo::MouseDown(ClassLib::TMouseButton button, TShiftState shift, int x, int y) {
    ClassLib::TCustomControl::MouseDown(button, shift, x, y);
    FSelButtonDown = false;
    FSelDrag = false;
    FMouseTopLine = FTopLine;
    if (!Focused()) SetFocus();
    const bool gutter = FGutterVisible && InGutter(x);
    if (button == ClassLib::mbRight && gutter && OnGutterRightClick) {
        const int line = CharFromPos(x, y).LineNo;
        if (line >= 0 && line < LineCount()) OnGutterRightClick(this, line);
    }
    if (button != ClassLib::mbLeft) return;
    if (FoldColumnMouseDown(x, y)) return;
    if (gutter) {
        const int line = CharFromPos(x, y).LineNo;
        if (line >= 0 && line < LineCount()) DoGutterClick(line);
    }
    PlaceCaretAtMouse(x, y, button, shift, true);
    if (FActiveLineAtCursor && !gutter) FActiveLine = FCurY;
}

void TAdvCustomMemo::PlaceCaretAtMouse(int x, int y, ClassLib::TMouseButton button, TShiftState shift, bool allowDrag) {
    const TMemoRect area = TextArea();
    if (x < area.Left || x > area.Right || y < area.Top || y > area.Bottom) return;
    if (FSelectionMode == smBlock) {
        FBlockSelection = TMemoRect{};
        Invalidate();
    }
    int col = 0, row = 0;
    MouseToCursor(x, y, col, row);
    const int count = std::max(LineCount(), 1);
    int line = FCodeFoldingEnabled ? VisIndexToLineIndex(LineIndexToVisIndex(FTopLine) + row) : FTopLine + row;
    line = std::clamp(line, 0, count - 1);
    if (allowDrag && HasSelection() && FSelectionMode == smText) {
        const int pos = TextFromPos(FLeftCol + col, line);
        const int start = SelStart();
        if (pos > start && pos < start + SelLength()) {
            FSelButtonDown = true;
            return;
        }
    }
    UpdateCaret(false);
    FSelClick = true;
    SetCurY(line);
    SetCurX(FLeftCol + col);
    ScrollCaretIntoView();
    if (!(button == ClassLib::mbLeft && allowDrag)) {
        UpdateCaret(true);
        return;
    }
    if (shift & ssShift) ExtendSelectionToCaret();
    else ClearSelection();
    FLeftButtonDown = true;
    if (FUrlAware) ClickURLAtCursor();
}

void TAdvCustomMemo::MouseMove(TShiftState shift, int x, int y) {
    ClassLib::TCustomControl::MouseMove(shift, x, y);
    if (FSelClick) {
        FSelClick = false;
        return;
    }
    int col = 0, row = 0;
    MouseToCursor(x, y, col, row);
    col = std::max(col, 0);
    row = std::max(row, 0);

    if (FSelButtonDown && !FSelDrag && DragMode() == ClassLib::dmAutomatic && !FReadOnly && !FOleDropSource) {
        FSelDrag = true;
        FIsDragSource = true;
        BeginDrag(false, 2);
        return;
    }
    if (FSelButtonDown && !FSelDrag && FOleDropSource) {
        StartOleDragFromSelection();
        return;
    }

    // Hand over links, an arrow over a selection that can be dragged, else the memo's own cursor.
    const int cellX = FLeftCol + col;
    const int cellY = std::clamp(FTopLine + row, 0, std::max(LineCount() - 1, 0));
    const bool overLink = FUrlAware && LineCount() > 0 && IsURLAt(cellX, cellY);
    bool overSelection = false;
    if (!overLink && DragMode() == ClassLib::dmAutomatic && HasSelection() && FSelectionMode == smText) {
        const int pos = TextFromPos(cellX, cellY), start = SelStart();
        overSelection = pos > start && pos < start + SelLength();
    }
    if (overLink || overSelection) {
        if (!FCursorSwapped) FNormalCursor = Cursor();
        FCursorSwapped = true;
        SetCursor(overLink ? ClassLib::crHandPoint : ClassLib::crArrow);
    } else if (FCursorSwapped) {
        FCursorSwapped = false;
        SetCursor(FNormalCursor);
    }

    if ((shift & ClassLib::ssLeft) && FLeftButtonDown && !FSelButtonDown) {
        const int count = std::max(LineCount(), 1);
        int line = FCodeFoldingEnabled ? VisIndexToLineIndex(LineIndexToVisIndex(FTopLine) + row) : FTopLine + row;
        line = std::clamp(line, 0, count - 1);
        const int oldEndX = FSelEndX, oldEndY = FSelEndY;
        SetCurY(line);
        if (FSelectionMode == smBlock) {
            FBlockSelection.Left = std::min(FSelStartX, FLeftCol + col);
            FBlockSelection.Right = std::max(FSelStartX, FLeftCol + col);
            FBlockSelection.Top = std::min(FSelStartY, line);
            FBlockSelection.Bottom = std::min(std::max(FSelStartY, line), count - 1);
            Invalidate();
            SetCurX(FLeftCol + col);
        } else if (x < TextArea().Left) {
            SetLeftCol(0);
            SetCurX(0);
        } else {
            SetCurX(std::min(FLeftCol + col, static_cast<int>(LineText(FCurY).size())));
        }
        ExtendSelectionToCaret();
        if (oldEndX != FSelEndX || oldEndY != FSelEndY) Invalidate();
    }
}

void TAdvCustomMemo::MouseUp(ClassLib::TMouseButton button, TShiftState shift, int x, int y) {
    ClassLib::TCustomControl::MouseUp(button, shift, x, y);
    if (button == ClassLib::mbLeft) UpdateCaret(true);
    FLeftButtonDown = false;
    if (FSelButtonDown) {
        // A drag that never passed its threshold was a click after all.
        const bool dragged = FSelDrag && Dragging();
        FSelButtonDown = false;
        FSelDrag = false;
        FIsDragSource = false;
        if (!dragged) {
            PlaceCaretAtMouse(x, y, button, shift, false);
            ClearSelection();
        }
    }
}

void TAdvCustomMemo::DoEndDrag(ClassLib::TObject* target, int x, int y) {
    FSelButtonDown = false;
    FSelDrag = false;
    FIsDragSource = false;
    FLeftButtonDown = false;
    if (FDragPos.Y >= 0) DrawDragCaret(FDragPos, ClassLib::dsDragLeave);
    ClassLib::TCustomControl::DoEndDrag(target, x, y);
}

// ---------------------------------------------------------------- dragging text

void TAdvCustomMemo::DragOver(ClassLib::TObject* source, int x, int y, ClassLib::TDragState state, bool& accept) {
    if (!OnDragOver) accept = source == this && DragMode() == ClassLib::dmAutomatic;
    else ClassLib::TCustomControl::DragOver(source, x, y, state, accept);
    if (!accept) return;
    const TMemoRect area = TextArea();
    const bool outside = x < area.Left || x > area.Right || y < area.Top || y > area.Bottom;
    int col = 0, row = 0;
    MouseToCursor(x, y, col, row);
    DrawDragCaret(TCellPos{std::max(col, 0) + FLeftCol, std::max(row, 0) + FTopLine}, outside ? ClassLib::dsDragLeave : state);
}

void TAdvCustomMemo::DrawDragCaret(TCellPos point, ClassLib::TDragState state) {
    if (!FDragCaret) return;
    auto draw = [this](TCellPos cell) {
        if (!HandleAllocated() || FCellSize.W == 0) return;
        const TMemoRect area = TextArea();
        const int left = area.Left + (cell.X - FLeftCol) * FCellSize.W;
        const int top = area.Top + 1 + (LineIndexToVisIndex(cell.Y) - LineIndexToVisIndex(FTopLine)) * FCellSize.H;
        RECT r{left, top, left + 2, top + FCellSize.H};
        if (HDC dc = ::GetDC(FHandle)) {
            ::DrawFocusRect(dc, &r);
            ::ReleaseDC(FHandle, dc);
        }
    };
    if (state != ClassLib::dsDragEnter && FDragPos.Y >= 0) draw(FDragPos);
    FDragPos = TCellPos{0, -1};
    if (state == ClassLib::dsDragLeave) return;
    const int count = std::max(LineCount(), 1);
    TCellPos cell;
    cell.Y = std::clamp(point.Y, 0, count - 1);
    const int length = static_cast<int>(FAutoExpand ? LineText(cell.Y).size() : Trimmed(LineText(cell.Y)).size());
    cell.X = FAutoExpand ? std::max(point.X, 0) : std::clamp(point.X, 0, length);
    draw(cell);
    FDragPos = cell;
}

void TAdvCustomMemo::LinkUndoStepsSince(const TUndo* newestBefore) {
    TAdvUndoList& undo = UndoList();
    int added = 0;
    while (added < undo.Count() && undo.Items(added) != newestBefore) ++added;
    // A linked step takes the older one with it: all but the oldest new step are linked.
    for (int i = 0; i + 1 < added; ++i) undo.Items(i)->SetLinkedUndo(true);
}

void TAdvCustomMemo::MoveDroppedSelection(int dropX, int dropY, bool copy) {
    const std::wstring text = Selection();
    if (text.empty()) return;
    const int start = SelStart();
    const int end = start + static_cast<int>(text.size());
    const int drop = TextFromPos(dropX, dropY);
    // A move onto itself changes nothing.
    if (!copy && drop >= start && drop <= end) return;
    const int length = static_cast<int>(text.size());
    TAdvUndoList& undo = UndoList();
    const TUndo* newestBefore = undo.Pos() < undo.Count() ? undo.Items(undo.Pos()) : nullptr;
    auto insertAt = [this, &text](int pos) {
        int x = 0, y = 0;
        PosFromText(pos, x, y);
        FSelStartX = FSelEndX = FCurX = x;
        FSelStartY = FSelEndY = FCurY = y;
        InsertText(text);
    };
    auto deleteRange = [this](int from, int to) {
        PosFromText(from, FSelStartX, FSelStartY);
        PosFromText(to, FSelEndX, FSelEndY);
        DeleteSelectionCore(true);
    };
    int placed = drop;
    if (copy) {
        insertAt(drop);
    } else if (drop < start) {
        deleteRange(start, end);
        insertAt(drop);
    } else {
        insertAt(drop);
        deleteRange(start, end);
        placed = drop - length;
    }
    LinkUndoStepsSince(newestBefore);
    int x = 0, y = 0;
    PosFromText(placed, x, y);
    SetCurY(y);
    SetCurX(x);
    PosFromText(placed, FSelStartX, FSelStartY);
    PosFromText(placed + length, FSelEndX, FSelEndY);
    FPrevSelX = FSelEndX;
    FPrevSelY = FSelEndY;
    DoSelectionChange();
    Invalidate();
}

void TAdvCustomMemo::DragDrop(ClassLib::TObject* source, int x, int y) {
    if (!FReadOnly && source == this && FSelectionMode == smText) {
        int col = 0, row = 0;
        MouseToCursor(x, y, col, row);
        const int count = std::max(LineCount(), 1);
        const int dropY = std::clamp(FTopLine + std::max(row, 0), 0, count - 1);
        const int dropX = FLeftCol + std::max(col, 0);
        MoveDroppedSelection(dropX, dropY, ClassLib::IsKeyDown(VK_CONTROL));
    }
    ClassLib::TCustomControl::DragDrop(source, x, y);
}

void TAdvCustomMemo::DropText(int x, int y, const std::wstring& s) {
    PlaceCaretAtMouse(x, y, ClassLib::mbLeft, 0, false);
    ClearSelection();
    InsertText(s);
}

void TAdvCustomMemo::DoOleTextDragged(const std::wstring& text, bool copyText) {
    if (OnOleTextDragged) OnOleTextDragged(this, text, copyText);
}

}  // namespace AdvMemo
