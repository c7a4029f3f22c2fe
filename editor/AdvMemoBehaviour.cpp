// Behaviours of the memo between the system and the editing model: the messages it answers,
// the built-in context menu, double click, wheel, shell file drops and loading.
#include "editor/AdvMemo.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "classlib/Clipboard.h"
#include "classlib/Seams.h"

namespace AdvMemo {

CLASSLIB_IMPLEMENT(TUILanguage, ClassLib::TPersistent)

void TUILanguage::Assign(const ClassLib::TPersistent* source) {
    const auto* other = dynamic_cast<const TUILanguage*>(source);
    if (!other) {
        ClassLib::TPersistent::Assign(source);
        return;
    }
    ScrollHint = other->ScrollHint;
    Undo = other->Undo;
    Redo = other->Redo;
    Copy = other->Copy;
    Cut = other->Cut;
    Paste = other->Paste;
    Delete = other->Delete;
    SelectAll = other->SelectAll;
}

// ---------------------------------------------------------------- messages

void TAdvCustomMemo::Dispatch(ClassLib::TMessage& message) {
    if (FDestroying || !HandleMemoMessage(message)) ClassLib::TCustomControl::Dispatch(message);
}

bool TAdvCustomMemo::HandleMemoMessage(ClassLib::TMessage& message) {
    switch (message.Msg) {
        case WM_GETDLGCODE:
            message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            if (FWantTab && !ClassLib::IsKeyDown(VK_CONTROL)) message.Result |= DLGC_WANTTAB;
            return true;
        case WM_SYSCHAR:
            // Alt+Backspace is undo (key down); its character must not beep.
            if (message.WParam == VK_BACK) {
                message.Result = 0;
                return true;
            }
            return false;
        case WM_SETCURSOR: {
            if (LOWORD(message.LParam) != HTCLIENT || reinterpret_cast<HWND>(message.WParam) != FHandle) return false;
            POINT point;
            ::GetCursorPos(&point);
            ::ScreenToClient(FHandle, &point);
            const TMemoRect area = TextArea();
            if (point.x >= area.Left && point.x <= area.Right && point.y >= area.Top && point.y <= area.Bottom) return false;
            ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
            message.Result = TRUE;
            return true;
        }
        case WM_LBUTTONDBLCLK:
            DoubleClickAt(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
            message.Result = 0;
            return true;
        case WM_CONTEXTMENU: {
            ClassLib::TPoint screen{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
            if (screen.X == -1 && screen.Y == -1) screen = ClientToScreen({0, 0});
            return ContextMenuAt(ScreenToClient(screen), screen);
        }
        case WM_WINDOWPOSCHANGED:
            HideParameterHint();  // it would stay behind where the memo was
            return false;
        case WM_DROPFILES:
            DropShellFiles(reinterpret_cast<HDROP>(message.WParam));
            message.Result = 0;
            return true;
        case WM_COPY: DoCopy(); return true;
        case WM_CUT: DoCut(); return true;
        case WM_PASTE: DoPaste(); return true;
        case EM_GETSEL: {
            const int start = SelStart();
            const int end = start + SelLength();
            if (message.WParam) *reinterpret_cast<DWORD*>(message.WParam) = DWORD(start);
            if (message.LParam) *reinterpret_cast<DWORD*>(message.LParam) = DWORD(end);
            message.Result = MAKELRESULT(std::min(start, 0xFFFF), std::min(end, 0xFFFF));
            return true;
        }
        default:
            return false;
    }
}

void TAdvCustomMemo::CreateWindowHandleDone() {
    ClassLib::TCustomControl::CreateWindowHandleDone();
    if (FAcceptFiles) ::DragAcceptFiles(FHandle, TRUE);
    if (FOleDropTarget) RegisterOleDropTarget();
}

void TAdvCustomMemo::SetAcceptFiles(bool value) {
    FAcceptFiles = value;
    if (HandleAllocated()) ::DragAcceptFiles(FHandle, value ? TRUE : FALSE);
}

void TAdvCustomMemo::DropShellFiles(HDROP drop) {
    // Names are read at their own length (not into a fixed buffer), and all of them before any
    // handler runs, so a failing load cannot leave the drop unfinished.
    std::vector<std::wstring> names;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        const UINT got = ::DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(std::min(got, length));
        names.push_back(name);
    }
    ::DragFinish(drop);
    for (const std::wstring& name : names) {
        bool defaultHandler = true;
        if (OnFileDrop) OnFileDrop(this, name, defaultHandler);
        if (defaultHandler) Lines()->LoadFromFile(name);
    }
}

// ---------------------------------------------------------------- double click

void TAdvCustomMemo::DoubleClickAt(int x, int y) {
    const int gutterRight = FGutterVisible ? FGutterWidth : 0;
    if (OnGutterDblClick && FGutterVisible && x <= gutterRight) {
        const int line = CharFromPos(x, y).LineNo;
        if (line >= 0 && line < LineCount()) OnGutterDblClick(this, line);
    }
    const TMemoRect area = TextArea();
    if ((FGutterVisible && x <= gutterRight) || x < area.Left || x > area.Right || y < area.Top || y > area.Bottom) return;
    DblClick();
    if (LineCount() == 0 || FCurY < 0 || FCurY >= LineCount()) return;
    const std::wstring s = LineText(FCurY);
    const int length = static_cast<int>(s.size());
    if (FCurX >= length || IsWordDelimiter(s[FCurX])) return;
    // Both ends are searched from the character left of the caret.
    const int from = std::max(FCurX - 1, 0);
    int end = from;
    while (end < length && !IsWordDelimiter(s[end])) ++end;
    int start = from;
    while (start >= 0 && !IsWordDelimiter(s[start])) --start;
    ++start;
    if (end == from) return;  // the character left of the caret is a delimiter
    if (start >= end) return;
    FSelStartX = start;
    FSelEndX = end;
    FSelStartY = FSelEndY = FCurY;
    SetCurX(end);
    FPrevSelX = FCurX;
    FPrevSelY = FCurY;
    DoSelectionChange();
    Invalidate();
}

// ---------------------------------------------------------------- wheel

bool TAdvCustomMemo::DoMouseWheelDown(ClassLib::TShiftState, ClassLib::TPoint) {
    const int old = FTopLine;
    if (LineIndexToVisIndex(FTopLine) < LineIndexToVisIndex(LineCount() - 1))
        SetTopLine(VisIndexToLineIndex(LineIndexToVisIndex(FTopLine) + 4));
    ClearCachedStyles(std::min(old, FTopLine), std::max(old, FTopLine));
    UpdateCaret(true);
    return true;
}

bool TAdvCustomMemo::DoMouseWheelUp(ClassLib::TShiftState, ClassLib::TPoint) {
    const int old = FTopLine;
    const int row = LineIndexToVisIndex(FTopLine);
    if (row > 4) SetTopLine(VisIndexToLineIndex(row - 4));
    else if (LineCount() > VisibleLineCount()) SetTopLine(0);
    ClearCachedStyles(std::min(old, FTopLine), std::max(old, FTopLine));
    UpdateCaret(true);
    return true;
}

// ---------------------------------------------------------------- context menu

namespace {

// Small pictures of our own for the menu, drawn on white (the transparent colour).
void DrawMenuPicture(ClassLib::TCanvas* c, int index) {
    using ClassLib::TPoint;
    const ClassLib::TColor ink = ClassLib::TColor(0x7F4F1F), paper = ClassLib::TColor(0xF8F0E8);
    c->Brush()->SetColor(ClassLib::clWhite);
    c->FillRect(ClassLib::TRect{0, 0, 16, 16});
    c->Pen()->SetColor(ink);
    c->Pen()->SetWidth(1);
    c->Brush()->SetColor(paper);
    switch (index) {
        case 0:  // cut: two blades crossing above two rings
            c->MoveTo(4, 1); c->LineTo(10, 10);
            c->MoveTo(11, 1); c->LineTo(5, 10);
            c->Ellipse(1, 9, 7, 15);
            c->Ellipse(9, 9, 15, 15);
            break;
        case 1:  // copy: two sheets
            c->Rectangle(1, 1, 10, 12);
            c->Rectangle(6, 4, 15, 15);
            break;
        case 2: {  // paste: a board with its clip and a sheet on it
            c->Brush()->SetColor(ClassLib::TColor(0x4080C0));
            c->Rectangle(1, 2, 12, 15);
            c->Brush()->SetColor(ink);
            c->Rectangle(4, 1, 9, 4);
            c->Brush()->SetColor(paper);
            c->Rectangle(7, 6, 15, 15);
            break;
        }
        default: {  // undo (3) and redo (4): a bent arrow
            const bool back = index == 3;
            auto x = [back](int v) { return back ? v : 15 - v; };
            c->Pen()->SetWidth(2);
            c->MoveTo(x(3), 6); c->LineTo(x(10), 6);
            c->LineTo(x(13), 9); c->LineTo(x(13), 13);
            c->Pen()->SetWidth(1);
            c->Brush()->SetColor(ink);
            const TPoint head[] = {{x(1), 6}, {x(5), 2}, {x(5), 10}};
            c->Polygon(head);
            break;
        }
    }
}

}  // namespace

ClassLib::TCustomImageList* TAdvCustomMemo::ContextMenuImages() {
    if (!FContextMenuImages) {
        auto images = std::make_unique<ClassLib::TImageList>(nullptr);
        images->SetSize(16, 16);
        for (int i = 0; i < 5; ++i) {
            ClassLib::TBitmap picture(16, 16, ClassLib::pf24bit);
            DrawMenuPicture(picture.Canvas(), i);
            images->AddMasked(&picture, ClassLib::clWhite);
        }
        FContextMenuImages = std::move(images);
    }
    return FContextMenuImages.get();
}

ClassLib::TPopupMenu* TAdvCustomMemo::BuildContextMenu(int curX, int curY) {
    FStdMenu.reset();
    auto menu = std::make_unique<ClassLib::TPopupMenu>(nullptr);
    menu->SetImages(ContextMenuImages());
    const bool hasSelection = SelLength() > 0;
    const bool canPaste = !FReadOnly && ClassLib::Clipboard()->HasFormat(CF_UNICODETEXT);
    auto add = [&menu](const std::wstring& text, wchar_t letter, int tag, int image, bool enabled) {
        auto* item = new ClassLib::TMenuItem(menu.get());
        if (letter) item->SetCaption(text + L"\t" + ClassLib::ShortCutToText(ClassLib::TShortCut(ClassLib::scCtrl | letter)));
        else item->SetCaption(text);
        item->SetTag(tag);
        item->SetImageIndex(image);
        item->SetEnabled(enabled);
        menu->Items()->Add(item);
    };
    add(FUILanguage.Undo, L'Z', cmTagUndo, 3, CanUndo() && !FReadOnly);
    add(FUILanguage.Redo, L'Y', cmTagRedo, 4, CanRedo() && !FReadOnly);
    add(L"-", 0, 0, -1, true);
    add(FUILanguage.Copy, L'C', cmTagCopy, 1, hasSelection);
    add(FUILanguage.Cut, L'X', cmTagCut, 0, hasSelection && !FReadOnly);
    add(FUILanguage.Paste, L'V', cmTagPaste, 2, canPaste);
    add(L"-", 0, 0, -1, true);
    add(FUILanguage.SelectAll, L'A', cmTagSelectAll, -1, true);
    FStdMenu = std::move(menu);
    DoCustomizeContextMenu(curX, curY, FStdMenu.get());
    ClassLib::TMenuItem* items = FStdMenu->Items();
    for (int i = 0; i < items->Count(); ++i) {
        ClassLib::TMenuItem* item = items->Items(i);
        if (!item->OnClick) item->OnClick = [this, item](ClassLib::TObject*) { ContextMenuClick(item); };
    }
    return FStdMenu.get();
}

bool TAdvCustomMemo::ContextMenuAt(ClassLib::TPoint client, ClassLib::TPoint screen) {
    SetFocus();
    int curX = 0, curY = 0;
    MouseToCursor(client.X, client.Y, curX, curY);
    // The window's own scroll bars lie outside the client area.
    if (!ClientRect().Contains(client)) return true;
    if (PopupMenu() || client.X <= (FGutterVisible ? FGutterWidth : 0)) return false;
    BuildContextMenu(curX, curY)->Popup(screen.X, screen.Y);
    return true;
}

void TAdvCustomMemo::ContextMenuClick(ClassLib::TMenuItem* item) {
    switch (item->Tag()) {
        case cmTagCopy: DoCopy(); break;
        case cmTagCut: DoCut(); break;
        case cmTagPaste: DoPaste(); break;
        case cmTagSelectAll: SelectAll(); break;
        case cmTagUndo: Undo(); break;
        case cmTagRedo: Redo(); break;
        case cmTagDelete: DeleteSelection(); break;
        default: DoCustomContextMenuClick(item); break;
    }
}

void TAdvCustomMemo::DoCustomizeContextMenu(int curX, int curY, ClassLib::TPopupMenu* menu) {
    if (OnCustomizeContextMenu) OnCustomizeContextMenu(this, curX, curY, menu);
}

void TAdvCustomMemo::DoCustomContextMenuClick(ClassLib::TMenuItem* item) {
    if (OnCustomContextMenuClick) OnCustomContextMenuClick(this, item);
}

// ---------------------------------------------------------------- drops and refresh

bool TAdvCustomMemo::DoOleDropText(const std::wstring& text, int x, int y) {
    std::wstring dropped = text;
    bool allow = true;
    if (OnOleDropText) OnOleDropText(this, x, y, dropped, allow);
    if (allow) InsertTextAtXY(dropped, x, y);
    return allow;
}

void TAdvCustomMemo::DoOleDropFile(int x, int y, const std::wstring& fileName) {
    bool allow = true;
    if (OnOleDropFile) OnOleDropFile(this, x, y, fileName, allow);
    if (!allow) return;
    Lines()->LoadFromFile(fileName);
    Invalidate();
}

void TAdvCustomMemo::RefreshMemo() {
    SetCurXForced(FCurX);
    SetCurY(FCurY);
    UpdateCaret(FCaretVisible);
    UpdateScrollBars(false);
    Invalidate();
    if (FWordWrap != wwNone) UpdateWrap();
}

// ---------------------------------------------------------------- loading

void TAdvMemo::Loaded() {
    TAdvCustomMemo::Loaded();
    if (FMemoSource && FMemoSource->Memo() != this) FMemoSource->AttachMemo(this);
    if (FAutoThemeAdapt) ThemeAdapt();
    ApplyFont();
    UpdateMaxLength();
    UpdateScrollBars(true);
    if (FCaretVisible) UpdateCaret(true);
    BuildBlockLines();
}

}  // namespace AdvMemo
