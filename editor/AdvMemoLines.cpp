// Per-line flags, word wrap, bookmarks, markers, error marks and the memo's undo commands.
#include "editor/AdvMemo.h"

#include "classlib/Exceptions.h"
#include "classlib/Strings.h"
#include "classlib/UpdateScope.h"
#include "editor/AdvMemoWrap.h"

#include <algorithm>

namespace AdvMemo {

namespace {

void MergeInto(TLineProp& head, const TLineProp& continuation, int offset) {
    head.BreakPoint = head.BreakPoint || continuation.BreakPoint;
    head.Executable = head.Executable || continuation.Executable;
    if (continuation.Modified == lmModified || (continuation.Modified == lmSaved && head.Modified == lmUnmodified))
        head.Modified = continuation.Modified;
    if (continuation.Bookmark && !head.Bookmark) {
        head.Bookmark = true;
        head.BookmarkIndex = continuation.BookmarkIndex;
    }
    if (continuation.HasErrorInfo()) {
        if (!head.HasErrorInfo()) head.CreateErrorInfo();
        for (int i = 0; i < continuation.ErrStart()->Count(); ++i) {
            head.ErrStart()->Add(continuation.ErrStart()->GetInteger(i) + offset);
            head.ErrLen()->Add(continuation.ErrLen()->GetInteger(i));
        }
    }
}

}  // namespace

// ---------------------------------------------------------------- per-line flags

bool TAdvCustomMemo::BreakPoint(int i) const {
    TLineProp* prop = Lines()->GetLineProp(i);
    return prop && prop->BreakPoint;
}

void TAdvCustomMemo::SetBreakPoint(int i, bool value) {
    TLineProp* prop = Lines()->CreateLineProp(i);
    if (!prop) return;
    prop->BreakPoint = value;
    Invalidate();
}

bool TAdvCustomMemo::Executable(int i) const {
    TLineProp* prop = Lines()->GetLineProp(i);
    return prop && prop->Executable;
}

void TAdvCustomMemo::SetExecutable(int i, bool value) {
    TLineProp* prop = Lines()->CreateLineProp(i);
    if (!prop) return;
    prop->Executable = value;
    Invalidate();
}

TLineModifiedState TAdvCustomMemo::LineModifiedInt(int i) const {
    TLineProp* prop = Lines()->GetLineProp(i);
    return prop ? prop->Modified : lmUnmodified;
}

void TAdvCustomMemo::SetLineModifiedInt(int i, TLineModifiedState value) {
    if (i < 0 || i >= LineCount()) return;
    TLineProp* prop = Lines()->CreateLineProp(i);
    if (!prop || prop->Modified == value) return;
    if (FShowModifiedLines && value == lmModified && UndoList().Count() > 0)
        UndoList().InsertBelowNewest(std::make_unique<TModifiedUndo>(i));
    prop->Modified = value;
    Invalidate();
}

bool TAdvCustomMemo::Bookmark(int i) const {
    TLineProp* prop = Lines()->GetLineProp(i);
    return prop && prop->Bookmark;
}

void TAdvCustomMemo::SetBookmark(int i, bool value) {
    if (i == -1) return;
    if (i < 0 || i >= LineCount()) throw ClassLib::Exception(L"Invalid line index for bookmark");
    TLineProp* prop = Lines()->CreateLineProp(i);
    prop->Bookmark = value;
    prop->BookmarkIndex = -1;
    Invalidate();
}

int TAdvCustomMemo::BookmarkCount() const {
    // Counted over the lines: properties of deleted lines live on until the next clear.
    TAdvMemoStrings* lines = Lines();
    int count = 0;
    for (int i = 0; i < lines->Count(); ++i)
        if (TLineProp* prop = lines->GetLineProp(i); prop && prop->Bookmark) ++count;
    return count;
}

int TAdvCustomMemo::GetLastChildOfParentNode(int i) const {
    TLineProp* prop = Lines()->GetLineProp(i);
    return prop ? prop->LastChildOfParents() : -1;
}

void TAdvCustomMemo::ClearBreakpoints() {
    for (TLineProp* prop : Lines()->LinesProp()) prop->BreakPoint = false;
    Invalidate();
}

void TAdvCustomMemo::ClearExecutableLines() {
    for (TLineProp* prop : Lines()->LinesProp()) prop->Executable = false;
    Invalidate();
}

void TAdvCustomMemo::ClearModified() {
    for (TLineProp* prop : Lines()->LinesProp()) prop->Modified = lmUnmodified;
    DoStatusChange();
    Invalidate();
}

bool TAdvCustomMemo::LinesModified() const {
    TAdvMemoStrings* lines = Lines();
    for (int i = 0; i < lines->Count(); ++i) {
        TLineProp* prop = lines->GetLineProp(i);
        if (prop && prop->Modified == lmModified) return true;
    }
    return false;
}

void TAdvCustomMemo::MarkLinesSaved() {
    for (TLineProp* prop : Lines()->LinesProp())
        if (prop->Modified == lmModified) prop->Modified = lmSaved;
    Invalidate();
}

void TAdvCustomMemo::MarkLinesUnmodified() {
    for (TLineProp* prop : Lines()->LinesProp()) prop->Modified = lmUnmodified;
    Invalidate();
}

bool TAdvCustomMemo::GetCachedStyle(int i, TStyle& style) const {
    TLineProp* prop = Lines()->GetLineProp(i);
    if (!prop || !prop->CachedStyle) return false;
    style = prop->Style;
    return true;
}

void TAdvCustomMemo::SetCachedStyle(int i, const TStyle& style) {
    TLineProp* prop = Lines()->CreateLineProp(i);
    if (!prop) return;
    prop->Style = style;
    prop->CachedStyle = true;
}

void TAdvCustomMemo::ClearCachedStyles(int from, int to) {
    TAdvMemoStrings* lines = Lines();
    if (to < 0) {
        for (TLineProp* prop : lines->LinesProp()) prop->CachedStyle = false;
        return;
    }
    for (int i = std::max(from, 0); i <= to && i < lines->Count(); ++i)
        if (TLineProp* prop = lines->GetLineProp(i)) prop->CachedStyle = false;
}

// ---------------------------------------------------------------- word wrap

void TAdvCustomMemo::DoWrap() {
    TAdvMemoStrings* lines = Lines();
    if (lines->Count() == 0 || FLoading || FWordWrap == wwNone || FWrapHold > 0) return;
    const int limit = FWordWrap == wwClientWidth ? VisiblePosCount() - 1 : FRightMargin;
    if (limit <= 0) return;
    FWWList.Clear();
    // Each logical line keeps its properties on its first row; bookmarks and markers follow it.
    std::vector<TLineCarry> carry = lines->DetachLineProps();
    const int count = lines->Count();
    std::vector<std::wstring> rows;
    std::vector<TLineCarry> rowCarry;
    std::vector<int> firstRow(static_cast<size_t>(count));
    rows.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        firstRow[i] = static_cast<int>(rows.size());
        const std::wstring line = lines->Get(i);
        const std::vector<int> breaks = WrapBreaks(line, limit);
        int from = 0;
        for (size_t k = 0; k <= breaks.size(); ++k) {
            const int to = k < breaks.size() ? breaks[k] : static_cast<int>(line.size());
            rows.push_back(line.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
            rowCarry.push_back(k == 0 ? carry[i] : TLineCarry{});
            if (k < breaks.size()) FWWList.Add(static_cast<int>(rows.size()));
            from = to;
        }
        if (carry[i].Prop) carry[i].Prop->Wrapped = false;
    }
    if (static_cast<int>(rows.size()) == count) {
        for (int i = 0; i < count; ++i) lines->AdoptLine(i, carry[i]);
        return;
    }
    InvalidateTopLine();
    lines->ReplaceLines(rows);
    UpdateMaxLength();
    {
        ClassLib::TUpdateScope update(*lines);
        for (size_t r = 0; r < rows.size(); ++r) lines->AdoptLine(static_cast<int>(r), rowCarry[r]);
        for (int k = 0; k < FWWList.Count(); ++k) lines->CreateLineProp(FWWList[k])->Wrapped = true;
    }
    for (int i = 0; i < FBookmarkList.Count(); ++i) {
        const int b = FBookmarkList[i];
        if (b >= 0 && b < count) FBookmarkList.SetInteger(i, firstRow[b]);
    }
    TAdvMarkers& markers = FMarkerList.Markers();
    for (int m = 0; m < markers.MarkerCount(); ++m) {
        const int line = markers.Items(m)->LineNumber();
        if (line >= 0 && line < count) markers.Items(m)->SetLineNumber(firstRow[line]);
    }
    if (lines->LockCount() == 0) Invalidate();
}

void TAdvCustomMemo::DoJoin() {
    TAdvMemoStrings* lines = Lines();
    if (lines->Count() == 0 || FLoading || FWordWrap == wwNone) return;
    std::vector<TLineCarry> carry = lines->DetachLineProps();
    const int count = lines->Count();
    FWWList.Clear();
    std::vector<std::wstring> rows;
    std::vector<TLineCarry> rowCarry;
    std::vector<int> logical(static_cast<size_t>(count));
    rows.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        TLineProp* prop = carry[i].Prop;
        const bool wrapped = prop && prop->Wrapped && !rows.empty();
        if (prop) prop->Wrapped = false;
        if (wrapped) {
            FWWList.Add(i);
            TLineCarry& head = rowCarry.back();
            if (!head.Prop) {
                head.Prop = new TLineProp();
                head.Prop->FObject = head.Object;
                head.Object = nullptr;
            }
            MergeInto(*head.Prop, *prop, static_cast<int>(rows.back().size()));
            delete prop;
            rows.back() += lines->Get(i);
        } else {
            rows.push_back(lines->Get(i));
            rowCarry.push_back(carry[i]);
        }
        logical[i] = static_cast<int>(rows.size()) - 1;
    }
    if (static_cast<int>(rows.size()) == count) {
        for (int i = 0; i < count; ++i) lines->AdoptLine(i, rowCarry[i]);
        return;
    }
    InvalidateTopLine();
    lines->ReplaceLines(rows);
    UpdateMaxLength();
    {
        ClassLib::TUpdateScope update(*lines);
        for (size_t r = 0; r < rows.size(); ++r) lines->AdoptLine(static_cast<int>(r), rowCarry[r]);
    }
    for (int i = 0; i < FBookmarkList.Count(); ++i) {
        const int b = FBookmarkList[i];
        if (b >= 0 && b < count) FBookmarkList.SetInteger(i, logical[b]);
    }
    TAdvMarkers& markers = FMarkerList.Markers();
    for (int m = 0; m < markers.MarkerCount(); ++m) {
        const int line = markers.Items(m)->LineNumber();
        if (line >= 0 && line < count) markers.Items(m)->SetLineNumber(logical[line]);
    }
}

void TAdvCustomMemo::UpdateWrap() {
    if (FWordWrap == wwNone || FWrapHold > 0 || LineCount() == 0) return;
    TAdvMemoStrings* lines = Lines();
    // The caret and the selection keep their place in the text while the rows change.
    const TLinearState state = SaveLinearState();
    {
        ClassLib::TUpdateScope update(*lines);
        DoJoin();
        DoWrap();
    }
    RestoreLinearState(state);
    UpdateScrollBars(true);
}

void TAdvCustomMemo::SetWordWrap(TWordWrapStyle value) {
    const bool hasLines = LineCount() > 0;
    const TLinearState state = hasLines ? SaveLinearState() : TLinearState{};
    if (value == wwNone || value != FWordWrap) DoJoin();
    FWordWrap = value;
    if (value != wwNone) DoWrap();
    if (hasLines) RestoreLinearState(state);
    Invalidate();
}

std::wstring TAdvCustomMemo::WrappedText() {
    std::wstring text;
    {
        ClassLib::TUpdateScope update(*this);
        DoJoin();
        text = Lines()->Text();
        DoWrap();
    }
    return text;
}

std::wstring TAdvCustomMemo::WrappedLine(int i) {
    const std::wstring text = WrappedText();
    int line = 0;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(L"\r\n", start);
        if (line == i) return text.substr(start, at == std::wstring::npos ? std::wstring::npos : at - start);
        if (at == std::wstring::npos) return L"";
        start = at + 2;
        ++line;
    }
}

int TAdvCustomMemo::GetWrappedLineIndex(int i) const {
    if (FWordWrap == wwNone || i < 0) return i;
    int continuations = 0;
    for (int k = 0; k <= i && k < LineCount(); ++k)
        if (IsWrappedLine(k)) ++continuations;
    return i - continuations;
}

int TAdvCustomMemo::GetLineIndexWrapped(int i) const {
    const int count = LineCount();
    int logicalLine = -1;
    for (int k = 0; k < count; ++k) {
        if (!IsWrappedLine(k)) ++logicalLine;
        if (logicalLine == i) return k;
        if (logicalLine > i) break;
    }
    return -1;
}

int TAdvCustomMemo::GetLineIndexWrappedEnd(int i) const {
    const int count = LineCount();
    if (count == 0) return -1;
    int logicalLine = -1, last = -1;
    for (int k = 0; k < count; ++k) {
        if (!IsWrappedLine(k)) ++logicalLine;
        if (logicalLine == i) last = k;
        if (logicalLine > i) break;
    }
    return last;
}

// ---------------------------------------------------------------- bookmarks

namespace {
void CheckBookmarkIndex(int index) {
    if (index < 0 || index > 9) throw ClassLib::Exception(L"Invalid bookmark index");
}
}  // namespace

int TAdvCustomMemo::Bookmarks(int index) const {
    CheckBookmarkIndex(index);
    return FBookmarkList[index];
}

void TAdvCustomMemo::SetBookmarks(int index, int line) {
    CheckBookmarkIndex(index);
    TAdvMemoStrings* lines = Lines();
    const int old = FBookmarkList[index];
    if (old != -1)
        if (TLineProp* prop = lines->GetLineProp(old)) prop->Bookmark = false;
    FBookmarkList.SetInteger(index, line);
    if (line != -1)
        if (TLineProp* prop = lines->CreateLineProp(line)) prop->Bookmark = true;
    InvalidateGutter();
}

void TAdvCustomMemo::GotoBookmark(int index) {
    CheckBookmarkIndex(index);
    const int line = FBookmarkList[index];
    if (line == -1) return;
    if (FCodeFoldingEnabled) ExpandParentNodes(line);
    SetTopLine(line);
    FCurX = 0;
    SetCurY(line);
}

void TAdvCustomMemo::ClearBookmarks() {
    TAdvMemoStrings* lines = Lines();
    for (int i = 0; i < FBookmarkList.Count(); ++i) {
        if (TLineProp* prop = lines->GetLineProp(FBookmarkList[i])) prop->Bookmark = false;
        FBookmarkList.SetInteger(i, -1);
    }
    for (TLineProp* prop : lines->LinesProp())
        if (prop->BookmarkIndex != -1) prop->BookmarkIndex = -1;
    InvalidateGutter();
}

bool TAdvCustomMemo::HasBookmarks() const {
    for (int i = 0; i < FBookmarkList.Count(); ++i)
        if (FBookmarkList[i] != -1) return true;
    return false;
}

int TAdvCustomMemo::BookmarkIndex(int line) const {
    TLineProp* prop = Lines()->GetLineProp(line);
    return prop && prop->Bookmark ? prop->BookmarkIndex : -1;
}

void TAdvCustomMemo::SetBookmarkIndex(int line, int value) {
    if (line < 0 || line >= LineCount()) throw ClassLib::Exception(L"Invalid line index for bookmark");
    TLineProp* prop = Lines()->CreateLineProp(line);
    prop->Bookmark = value != -1;
    prop->BookmarkIndex = value;
    Refresh();
}

void TAdvCustomMemo::ShiftBookmarksForInsert(int line) {
    for (int i = 0; i < FBookmarkList.Count(); ++i) {
        const int b = FBookmarkList[i];
        if (b != -1 && b >= line) FBookmarkList.SetInteger(i, b + 1);
    }
}

void TAdvCustomMemo::ShiftMarkersForInsert(int line, int count) { FMarkerList.Markers().AdjustMarkerLinePlus(line, count); }

// ---------------------------------------------------------------- markers

CLASSLIB_IMPLEMENT(TAdvMarker, ClassLib::TCollectionItem)
CLASSLIB_IMPLEMENT(TAdvMarkers, ClassLib::TOwnedCollection)
CLASSLIB_IMPLEMENT(TAdvMarkerList, ClassLib::TPersistent)

const ClassLib::TPropertyList& TAdvMarker::Published() {
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TCollectionItem::Published())
        .Add(L"ImageIndex", &TAdvMarker::ImageIndex, &TAdvMarker::SetImageIndex, 0)
        .Add(L"LineNumber", &TAdvMarker::LineNumber, &TAdvMarker::SetLineNumber, 0)
        .Add(L"Text", &TAdvMarker::Text, &TAdvMarker::SetText);
    return list;
}

void TAdvMarker::Assign(const ClassLib::TPersistent* source) {
    if (const auto* other = dynamic_cast<const TAdvMarker*>(source)) {
        FText = other->FText;
        FImageIndex = other->FImageIndex;
        FLineNumber = other->FLineNumber;
        return;
    }
    ClassLib::TCollectionItem::Assign(source);
}

TAdvMarker* TAdvMarkers::GetMarkerAtLine(int lineNo) const {
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->LineNumber() == lineNo) return Items(i);
    return nullptr;
}

int TAdvMarkers::GetMarkerImageIndex(int lineNo) const {
    TAdvMarker* marker = GetMarkerAtLine(lineNo);
    return marker ? marker->ImageIndex() : -1;
}

bool TAdvMarkers::HigherMarkerThanLine(int lineNo) const {
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->LineNumber() > lineNo) return true;
    return false;
}

void TAdvMarkers::AdjustMarkerLinePlus(int startIndex, int by) {
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->LineNumber() >= startIndex) Items(i)->SetLineNumber(Items(i)->LineNumber() + by);
}

void TAdvMarkers::AdjustMarkerLineMinus(int startIndex) {
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->LineNumber() >= startIndex) Items(i)->SetLineNumber(Items(i)->LineNumber() - 1);
}

const ClassLib::TPropertyList& TAdvMarkerList::Published() {
    using L = TAdvMarkerList;
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TPersistent::Published())
        .Add(L"UseDefaultMarkerImageIndex", &L::UseDefaultMarkerImageIndex, &L::SetUseDefaultMarkerImageIndex, false)
        .Add(L"DefaultMarkerImageIndex", &L::DefaultMarkerImageIndex, &L::SetDefaultMarkerImageIndex, -1)
        .Reference(L"MarkerImageList", &L::MarkerImageList, &L::SetMarkerImageList);
    return list;
}

void TAdvMarkerList::SetMarkerImageList(ClassLib::TCustomImageList* value) {
    if (value == FMarkerImageList) return;
    // The owning memo hears of the list's end and clears it here.
    auto* owner = dynamic_cast<ClassLib::TComponent*>(FOwner);
    if (FMarkerImageList && owner) FMarkerImageList->RemoveFreeNotification(owner);
    FMarkerImageList = value;
    if (value && owner) value->FreeNotification(owner);
    if (owner) {
        if (auto* control = dynamic_cast<ClassLib::TControl*>(owner)) control->Invalidate();
    }
}

int TAdvMarkerList::ImageIndexFor(const TAdvMarker& marker) const {
    if (FUseDefaultMarkerImageIndex && FDefaultMarkerImageIndex >= 0) return FDefaultMarkerImageIndex;
    return marker.ImageIndex();
}

void TAdvMarkerList::Assign(const ClassLib::TPersistent* source) {
    if (const auto* other = dynamic_cast<const TAdvMarkerList*>(source)) {
        SetMarkerImageList(other->FMarkerImageList);
        FUseDefaultMarkerImageIndex = other->FUseDefaultMarkerImageIndex;
        FDefaultMarkerImageIndex = other->FDefaultMarkerImageIndex;
        FImageTransparentColor = other->FImageTransparentColor;
        return;
    }
    ClassLib::TPersistent::Assign(source);
}

void TAdvCustomMemo::AddMarker(int lineIndex, int imageIndex) { AddMarker(lineIndex, imageIndex, L""); }

void TAdvCustomMemo::AddMarker(int lineIndex, int imageIndex, const std::wstring& markerText) {
    TAdvMarkers& markers = FMarkerList.Markers();
    if (!markers.GetMarkerAtLine(lineIndex)) {
        TAdvMarker* marker = markers.Add();
        marker->SetLineNumber(lineIndex);
        marker->SetImageIndex(imageIndex);
        marker->SetText(markerText);
    }
    if (OnMarkerAdded) OnMarkerAdded(lineIndex, markerText);
    InvalidateGutter();
}

void TAdvCustomMemo::RemoveMarker(int lineIndex) {
    TAdvMarkers& markers = FMarkerList.Markers();
    for (int i = 0; i < markers.MarkerCount(); ++i) {
        if (markers.Items(i)->LineNumber() == lineIndex) {
            markers.Delete(i);
            break;
        }
    }
    if (OnMarkerRemoved) OnMarkerRemoved(lineIndex);
    InvalidateGutter();
}

void TAdvCustomMemo::ClearAllMarkers() {
    FMarkerList.FastDeleteAll();
    InvalidateGutter();
}

bool TAdvCustomMemo::MarkerAtLine(int lineNo) { return FMarkerList.Markers().GetMarkerAtLine(lineNo) != nullptr; }

bool TAdvCustomMemo::GetMarkers(TAdvMarkers& markers) const {
    markers.Clear();
    const TAdvMarkers& own = FMarkerList.Markers();
    for (int i = 0; i < own.MarkerCount(); ++i) markers.Add()->Assign(own.Items(i));
    return own.MarkerCount() > 0;
}

void TAdvCustomMemo::GoToMarker(int marker) {
    if (marker < 0 || marker >= MarkerCount()) throw ClassLib::Exception(L"Invalid marker index");
    FCurX = 0;
    SetCurY(FMarkerList.Markers().Items(marker)->LineNumber());
}

void TAdvCustomMemo::GoToMarkerName(const std::wstring& markerText) {
    const TAdvMarkers& markers = FMarkerList.Markers();
    for (int i = 0; i < markers.MarkerCount(); ++i) {
        if (markers.Items(i)->Text() == markerText) {
            const int line = markers.Items(i)->LineNumber();
            if (FCodeFoldingEnabled) ExpandParentNodes(line);
            FCurX = 0;
            SetCurY(line);
            return;
        }
    }
    throw ClassLib::Exception(L"Marker name not found");
}

void TAdvCustomMemo::GotoBegin() {
    FCurX = 0;
    SetCurY(0);
    SetCurX(0);
}

void TAdvCustomMemo::GotoEnd() {
    SetCurY(LineCount() - 1);
    SetCurX(static_cast<int>(LineText(FCurY).size()));
}

// ---------------------------------------------------------------- error marks

void TAdvCustomMemo::SetError(int lineNo, int errPos, int errLen) {
    TLineProp* prop = Lines()->CreateLineProp(lineNo);
    if (!prop) return;
    if (!prop->HasErrorInfo()) prop->CreateErrorInfo();
    prop->ErrStart()->Add(errPos);
    prop->ErrLen()->Add(errLen);
    InvalidateLine(lineNo);
}

void TAdvCustomMemo::ClearLineErrors(int lineNo) {
    TLineProp* prop = Lines()->GetLineProp(lineNo);
    if (!prop || !prop->HasErrorInfo()) return;
    prop->ErrStart()->Clear();
    prop->ErrLen()->Clear();
}

void TAdvCustomMemo::ClearErrors() {
    for (TLineProp* prop : Lines()->LinesProp()) {
        if (!prop->HasErrorInfo()) continue;
        prop->ErrStart()->Clear();
        prop->ErrLen()->Clear();
    }
    Invalidate();
}

void TAdvCustomMemo::ClearWordError(int lineNo, int linePos) {
    TLineProp* prop = Lines()->GetLineProp(lineNo);
    if (!prop || !prop->HasErrorInfo()) return;
    for (int i = 0; i < prop->ErrStart()->Count(); ++i) {
        if (prop->ErrStart()->GetInteger(i) == linePos) {
            prop->ErrStart()->Delete(i);
            prop->ErrLen()->Delete(i);
            return;
        }
    }
}

void TAdvCustomMemo::ClearErrorsForWord(const std::wstring& word) {
    TAdvMemoStrings* lines = Lines();
    for (int line = 0; line < lines->Count(); ++line) {
        TLineProp* prop = lines->GetLineProp(line);
        if (!prop || !prop->HasErrorInfo()) continue;
        const std::wstring text = lines->Get(line);
        for (int i = prop->ErrStart()->Count() - 1; i >= 0; --i) {
            const int start = prop->ErrStart()->GetInteger(i), length = prop->ErrLen()->GetInteger(i);
            if (length <= 0 || start < 0 || start >= static_cast<int>(text.size())) continue;
            if (ClassLib::SameText(text.substr(start, length), word)) {
                prop->ErrStart()->Delete(i);
                prop->ErrLen()->Delete(i);
            }
        }
    }
    Invalidate();
}

// ---------------------------------------------------------------- undo commands

void TAdvCustomMemo::Undo() {
    if (FReadOnly) return;
    UndoList().Undo();
}

void TAdvCustomMemo::Redo() {
    if (FReadOnly) return;
    UndoList().Redo();
    Refresh();
}

void TAdvCustomMemo::AddUndoStep(std::unique_ptr<TUndo> step) { UndoList().Add(std::move(step)); }

bool TAdvCustomMemo::CanUndo() const { return UndoList().Pos() < UndoList().Count(); }

bool TAdvCustomMemo::CanRedo() const { return UndoList().Pos() > 0; }

void TAdvCustomMemo::ClearUndoRedo() { UndoList().Clear(); }

void TAdvCustomMemo::SetUndoLimit(int value) {
    if (value == FUndoLimit) return;
    value = std::clamp(value, 1, 100);
    FUndoLimit = value;
    UndoList().SetLimit(value);
}

bool TAdvCustomMemo::Modified() const { return UndoList().Count() > 0 && UndoList().Pos() < UndoList().Count(); }

void TAdvCustomMemo::SetModified(bool value) {
    if (value) return;
    UndoList().Clear();
    DoStatusChange();
    ClearModified();
}

}  // namespace AdvMemo
