#include "editor/AdvMemoStrings.h"

#include "classlib/Streams.h"
#include "classlib/UpdateScope.h"
#include "editor/AdvMemo.h"

#include <algorithm>

#undef GetObject

namespace AdvMemo {

using ClassLib::TObject;
using ClassLib::TStringList;

// ---------------------------------------------------------------- TIntList

int TIntList::Add(int value) {
    if (!FItems.empty() && value < FItems.back()) FSorted = false;
    FItems.push_back(value);
    return Count() - 1;
}

void TIntList::CheckSortedAround(int index) {
    if (!FSorted) return;
    if (index > 0 && FItems[index - 1] > FItems[index]) FSorted = false;
    if (index + 1 < Count() && FItems[index] > FItems[index + 1]) FSorted = false;
}

void TIntList::Insert(int index, int value) {
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, value);
    CheckSortedAround(index);
}

void TIntList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    FItems.erase(FItems.begin() + index);
    if (FItems.empty()) FSorted = true;
}

void TIntList::SetInteger(int index, int value) {
    if (index < 0 || index >= Count()) return;
    FItems[index] = value;
    CheckSortedAround(index);
}

int TIntList::IndexOf(int value) const {
    if (FSorted) {
        auto it = std::lower_bound(FItems.begin(), FItems.end(), value);
        return it != FItems.end() && *it == value ? static_cast<int>(it - FItems.begin()) : -1;
    }
    auto it = std::find(FItems.begin(), FItems.end(), value);
    return it != FItems.end() ? static_cast<int>(it - FItems.begin()) : -1;
}

// ---------------------------------------------------------------- TLineProp

TLineProp::TLineProp(const TLineProp& other)
    : ClassLib::TObject(), FObject(other.FObject), FExpanded(other.FExpanded), FLastChildOfParents(other.FLastChildOfParents),
      FHasParent(other.FHasParent), FHasChildren(other.FHasChildren), FTag(other.FTag), BreakPoint(other.BreakPoint),
      Executable(other.Executable), Modified(other.Modified), ImageIndex(other.ImageIndex), Bookmark(other.Bookmark),
      BookmarkIndex(other.BookmarkIndex), Style(other.Style), CachedStyle(other.CachedStyle), Wrapped(other.Wrapped),
      ByCode(other.ByCode) {
    if (other.HasErrorInfo()) {
        CreateErrorInfo();
        FErrStart->Assign(*other.FErrStart);
        FErrLen->Assign(*other.FErrLen);
    }
}

void TLineProp::CreateErrorInfo() {
    FErrStart = std::make_unique<TIntList>();
    FErrLen = std::make_unique<TIntList>();
}

// ---------------------------------------------------------------- helpers

std::wstring ExpandTabs(const std::wstring& s, int tabSize) {
    if (s.find(L'\t') == std::wstring::npos) return s;
    std::wstring result;
    result.reserve(s.size() + 8);
    for (wchar_t c : s) {
        if (c == L'\t') result.append(static_cast<size_t>(std::max(tabSize, 0)), L' ');
        else result += c;
    }
    return result;
}

namespace {

// Restores a list's change handlers when a scope ends, however it ends.
class TChangeHandlersKept {
public:
    explicit TChangeHandlersKept(TStringList& list) : FList(list), FOnChange(list.OnChange), FOnChanging(list.OnChanging) {}
    ~TChangeHandlersKept() {
        FList.OnChange = FOnChange;
        FList.OnChanging = FOnChanging;
    }
    TChangeHandlersKept(const TChangeHandlersKept&) = delete;
    TChangeHandlersKept& operator=(const TChangeHandlersKept&) = delete;

private:
    TStringList& FList;
    ClassLib::TNotifyEvent FOnChange, FOnChanging;
};

std::wstring TrimRightControls(const std::wstring& s) {
    size_t end = s.size();
    while (end > 0 && s[end - 1] <= L' ') --end;
    return s.substr(0, end);
}

}  // namespace

// ---------------------------------------------------------------- TAdvMemoStrings

CLASSLIB_IMPLEMENT(TAdvMemoStrings, ClassLib::TStringList)

TAdvMemoStrings::TAdvMemoStrings() = default;

TAdvMemoStrings::~TAdvMemoStrings() {
    OnChange = nullptr;
    OnChanging = nullptr;
    for (TLineProp* prop : FLinesProp) delete prop;
    FLinesProp.clear();
}

void TAdvMemoStrings::SetUpdateState(bool updating) {
    if (updating) {
        ++FLockCount;
        return;
    }
    if (FLockCount > 0) --FLockCount;
    if (FLockCount > 0 || !FChangedInUpdate) return;
    FChangedInUpdate = false;
    // The lines changed inside the update told nobody, and the closing EndUpdate fires no
    // change either; the memo still has to size its scroll bars to what the list now holds.
    if (Memo) {
        Memo->UpdateMaxLength();
        Memo->UpdateScrollBars(false);
        Memo->Invalidate();
    }
}

void TAdvMemoStrings::SetLength(int index, int length) {
    if (index < FListLengths.Count()) {
        const int old = FListLengths[index];
        FListLengths.SetInteger(index, length);
        if (length > FMaxLength) FMaxLength = length;
        else if (old == FMaxLength && length < old) FMaxDirty = true;
    } else {
        FListLengths.Add(length);
        if (length > FMaxLength) FMaxLength = length;
    }
}

int TAdvMemoStrings::MaxLineLength() const {
    if (FMaxDirty) {
        FMaxLength = 0;
        for (int i = 0; i < FListLengths.Count(); ++i) FMaxLength = std::max(FMaxLength, FListLengths[i]);
        FMaxDirty = false;
    }
    return FMaxLength;
}

void TAdvMemoStrings::RebuildLengths() {
    FListLengths.Clear();
    FMaxLength = 0;
    FMaxDirty = false;
    const int count = Count();
    for (int i = 0; i < count; ++i) SetLength(i, static_cast<int>(Get(i).size()));
}

std::wstring TAdvMemoStrings::Get(int index) const { return TStringList::Get(index); }

void TAdvMemoStrings::Put(int index, const std::wstring& s) {
    NoteChanged(index);
    if (!Memo) {
        TStringList::Put(index, s);
        SetLength(index, static_cast<int>(s.size()));
        return;
    }
    const std::wstring expanded = ExpandTabs(s, Memo->TabSize());
    TStringList::Put(index, expanded);
    SetLength(index, static_cast<int>(expanded.size()));
    if (index < Memo->TopLine()) Memo->InvalidateTopLine();
}

TObject* TAdvMemoStrings::GetObject(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    TObject* slot = SlotRaw(index);
    if (auto* prop = dynamic_cast<TLineProp*>(slot)) return prop->FObject;
    return slot;
}

void TAdvMemoStrings::PutObject(int index, TObject* object) {
    if (index < 0 || index >= Count()) return;
    if (auto* prop = dynamic_cast<TLineProp*>(SlotRaw(index))) {
        prop->FObject = object;
        return;
    }
    TStringList::PutObject(index, object);
}

void TAdvMemoStrings::StoreSlotRaw(int index, TObject* object) {
    // Per-line bookkeeping is not a change of the text: no change notification.
    TChangeHandlersKept kept(*this);
    OnChange = nullptr;
    OnChanging = nullptr;
    TStringList::PutObject(index, object);
}

int TAdvMemoStrings::AddObject(const std::wstring& s, TObject* object) {
    NoteChanged(Count());
    int index;
    if (FNoObjCreate) {
        index = TStringList::AddObject(s, nullptr);
    } else {
        auto* prop = new TLineProp();
        prop->FObject = object;
        FLinesProp.push_back(prop);
        index = TStringList::AddObject(s, prop);
    }
    SetLength(index, static_cast<int>(s.size()));
    return index;
}

int TAdvMemoStrings::Add(const std::wstring& s) {
    NoteChanged(Count());
    if (!Memo) return TStringList::Add(s);
    std::wstring rest = ExpandTabs(s, Memo->TabSize());
    rest.erase(std::remove(rest.begin(), rest.end(), L'\n'), rest.end());
    size_t cr;
    while ((cr = rest.find(L'\r')) != std::wstring::npos) {
        TStringList::Add(rest.substr(0, cr));
        rest.erase(0, cr + 1);
    }
    return TStringList::Add(rest);
}

void TAdvMemoStrings::DoInsert(int index, const std::wstring& s) {
    NoteChanged(index);
    if (!Memo) {
        TStringList::InsertItem(index, s, nullptr);
        FListLengths.Insert(index, static_cast<int>(s.size()));
        if (static_cast<int>(s.size()) > FMaxLength) FMaxLength = static_cast<int>(s.size());
        return;
    }
    const std::wstring expanded = ExpandTabs(s, Memo->TabSize());
    if (index < Memo->TopLine()) Memo->InvalidateTopLine();
    FListLengths.Insert(index, static_cast<int>(expanded.size()));
    if (static_cast<int>(expanded.size()) > FMaxLength) FMaxLength = static_cast<int>(expanded.size());
    Memo->ShiftBookmarksForInsert(index);
    TStringList::InsertItem(index, expanded, nullptr);
}

void TAdvMemoStrings::Insert(int index, const std::wstring& s) {
    if (index < 0 || index > Count()) IndexError(index);
    if (Memo) Memo->ClearSelection();
    int inserted = 0;
    size_t start = 0;
    for (;;) {
        const size_t pair = s.find(L"\r\n", start);
        const std::wstring piece = s.substr(start, pair == std::wstring::npos ? std::wstring::npos : pair - start);
        DoInsert(index + inserted, piece);
        ++inserted;
        if (pair == std::wstring::npos) break;
        start = pair + 2;
    }
    if (!Memo) return;
    TAdvCustomMemo* memo = Memo;
    const int x = memo->CurX(), y = memo->CurY();
    memo->SetCurYRaw(-1);  // forces the setter to place the caret again
    memo->SetCurY(y);
    memo->SetCurXForced(x);
    memo->ShiftMarkersForInsert(index, inserted);
    memo->Invalidate();
}

void TAdvMemoStrings::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    NoteChanged(index);
    if (Memo && !FDeleting) {
        TAdvCustomMemo* memo = Memo;
        if (index < memo->TopLine()) memo->InvalidateTopLine();
        FDeleting = true;
        try {
            if (memo->CodeFoldingEnabled() && GetLineProp(index)) memo->AdjustFoldingForDeletedLine(index);
            const int x = memo->CurX(), y = memo->CurY(), count = Count();
            memo->SetCurYRaw(index);
            memo->DeleteLine();
            memo->SetCurXRaw(count == 1 ? 0 : x);
            memo->SetCurYRaw(index < y ? y - 1 : y);
            // The caret stood on the line that went away: place it through the setters.
            if (memo->CurY() >= Count()) {
                memo->SetCurYRaw(-1);
                memo->SetCurY(std::max(0, Count() - 1));
                memo->SetCurXForced(x);
            }
        } catch (...) {
            FDeleting = false;
            throw;
        }
        FDeleting = false;
        return;
    }
    if (index < FListLengths.Count()) {
        if (FListLengths[index] == FMaxLength) FMaxDirty = true;
        FListLengths.Delete(index);
    }
    TStringList::Delete(index);
}

void TAdvMemoStrings::Clear() {
    NoteChanged(0);
    if (Memo) {
        Memo->SetSelStartX(0);
        Memo->SetSelStartY(0);
        Memo->SetSelEndX(0);
        Memo->SetSelEndY(0);
        Memo->SetCaretFieldsRaw(0, 0);
        Memo->Invalidate();
    }
    FreeLineProps();
    FListLengths.Clear();
    FMaxLength = 0;
    FMaxDirty = false;
    if (Memo) Memo->SetCodeFoldingNodeCount(0);
    TStringList::Clear();
}

void TAdvMemoStrings::ClearStrings() {
    NoteChanged(0);
    FLinesProp.clear();
    FListLengths.Clear();
    FMaxLength = 0;
    FMaxDirty = false;
    TStringList::Clear();
}

void TAdvMemoStrings::SetText(const std::wstring& text) {
    SetTextStr(text);
    // Lines added through the plain list path carry no lengths: the widest line sizes the bar.
    RebuildLengths();
    if (Memo) {
        Memo->UpdateMaxLength();
        Memo->UpdateScrollBars(false);
    }
    if (OnSetText) OnSetText(this);
}

int TAdvMemoStrings::RealCount() const {
    const int count = Count();
    if (count == 0) return 0;
    if (count <= 2) {
        const std::wstring text = Text();
        if (text.empty() || text == L"\r\n") return 0;
    }
    return count;
}

TLineProp* TAdvMemoStrings::GetLineProp(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return dynamic_cast<TLineProp*>(SlotRaw(index));
}

TLineProp* TAdvMemoStrings::CreateLineProp(int index) {
    if (index < 0 || index >= Count()) return nullptr;
    if (TLineProp* existing = GetLineProp(index)) return existing;
    auto* prop = new TLineProp();
    prop->FObject = SlotRaw(index);
    if (Memo && Memo->CodeFoldingEnabled() && index > 0) {
        TLineProp* above = GetLineProp(index - 1);
        if (above && ((above->HasParent() && !above->LastChild()) || (above->HasChildren() && above->Expanded())))
            prop->SetHasParent(true);
        if (!prop->HasParent()) {
            TLineProp* below = GetLineProp(index + 1);
            if (below && below->HasParent()) prop->SetHasParent(true);
        }
    }
    StoreSlotRaw(index, prop);
    FLinesProp.push_back(prop);
    return prop;
}

void TAdvMemoStrings::SetLineProp(int index, TLineProp* prop) {
    if (index < 0 || index >= Count()) return;
    StoreSlotRaw(index, prop);
}

void TAdvMemoStrings::FreeLineProps() {
    for (TLineProp* prop : FLinesProp) delete prop;
    FLinesProp.clear();
    TChangeHandlersKept kept(*this);
    OnChange = nullptr;
    OnChanging = nullptr;
    BeginUpdate();
    const int count = Count();
    for (int i = 0; i < count; ++i) TStringList::PutObject(i, nullptr);
    EndUpdate();
}

std::vector<TLineCarry> TAdvMemoStrings::DetachLineProps() {
    const int count = Count();
    std::vector<TLineCarry> carry(static_cast<size_t>(count));
    std::vector<TLineProp*> used;
    used.reserve(FLinesProp.size());
    for (int i = 0; i < count; ++i) {
        TObject* slot = SlotRaw(i);
        if (auto* prop = dynamic_cast<TLineProp*>(slot)) {
            carry[i].Prop = prop;
            used.push_back(prop);
        } else {
            carry[i].Object = slot;
        }
    }
    std::sort(used.begin(), used.end());
    for (TLineProp* prop : FLinesProp)
        if (!std::binary_search(used.begin(), used.end(), prop)) delete prop;
    FLinesProp.clear();
    return carry;
}

void TAdvMemoStrings::AdoptLine(int index, const TLineCarry& carry) {
    if (index < 0 || index >= Count()) {
        delete carry.Prop;
        return;
    }
    if (carry.Prop) {
        StoreSlotRaw(index, carry.Prop);
        FLinesProp.push_back(carry.Prop);
    } else if (carry.Object) {
        StoreSlotRaw(index, carry.Object);
    }
}

void TAdvMemoStrings::AddStrings(const ClassLib::TStrings* strings) {
    if (!Memo) {
        TStringList::AddStrings(strings);
        return;
    }
    {
        ClassLib::TUpdateScope update(*this);
        for (int i = 0; i < strings->Count(); ++i)
            AddObject(ExpandTabs(strings->Strings(i), Memo->TabSize()), strings->Objects(i));
    }
    RebuildLengths();
    if (FLockCount == 0) Memo->Refresh();
}

void TAdvMemoStrings::Assign(const ClassLib::TPersistent* source) {
    const auto* strings = dynamic_cast<const ClassLib::TStrings*>(source);
    if (!strings || !Memo || strings == this) {
        TStringList::Assign(source);
        return;
    }
    TAdvCustomMemo* memo = Memo;
    memo->Clear();
    memo->InvalidateTopLine();
    memo->SetLines(*strings);
    RebuildLengths();
    memo->UpdateMaxLength();
    memo->UpdateScrollBars(true);
}

void TAdvMemoStrings::ReplaceLines(const std::vector<std::wstring>& lines) {
    if (!Memo) {
        BeginUpdate();
        Clear();
        for (const auto& line : lines) TStringList::AddObject(line, nullptr);
        EndUpdate();
        RebuildLengths();
        return;
    }
    FNoObjCreate = true;
    try {
        Memo->InvalidateTopLine();
        ClearStrings();
        BeginUpdate();
        for (const auto& line : lines) AddObject(ExpandTabs(line, Memo->TabSize()), nullptr);
        EndUpdate();
        RebuildLengths();
    } catch (...) {
        FNoObjCreate = false;
        throw;
    }
    FNoObjCreate = false;
    Memo->UpdateMaxLength();
}

void TAdvMemoStrings::ExpandRemainingTabs() {
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        const std::wstring s = Get(i);
        if (s.find(L'\t') != std::wstring::npos) Put(i, s);
    }
}

namespace {

// Holds a memo's view updates off for a load and puts them back however the load ends.
class TLoadScope {
public:
    TLoadScope(TAdvMemoStrings& lines, TAdvCustomMemo& memo) : FLines(lines), FMemo(memo) {
        FMemo.SetLetRefresh(false);
        FLines.OnChange = nullptr;
    }
    ~TLoadScope() {
        FLines.OnChange = [memo = &FMemo](TObject*) { memo->UpdateView(); };
        FMemo.SetLetRefresh(true);
    }
    TLoadScope(const TLoadScope&) = delete;
    TLoadScope& operator=(const TLoadScope&) = delete;

private:
    TAdvMemoStrings& FLines;
    TAdvCustomMemo& FMemo;
};

}  // namespace

void TAdvMemoStrings::LoadFromStream(ClassLib::TStream* stream) {
    if (!Memo) {
        TStringList::LoadFromStream(stream);
        return;
    }
    TAdvCustomMemo& memo = *Memo;
    memo.ClearSelection();
    memo.UndoList().Clear();
    memo.SetCaretFieldsRaw(0, 0);
    {
        TLoadScope scope(*this, memo);
        TStringList::LoadFromStream(stream);
        memo.InvalidateTopLine();
        memo.SetCaretFieldsRaw(0, 0);
        ExpandRemainingTabs();
        memo.UpdateMaxLength();
    }
    memo.UpdateView();
    memo.DoWrap();
    memo.AutoCodeFold();
    memo.Refresh();
}

void TAdvMemoStrings::LoadFromFile(const std::wstring& fileName) {
    if (!Memo) {
        TStringList::LoadFromFile(fileName);
        return;
    }
    // Opened first: a file that cannot be read leaves text, undo and caret as they were.
    ClassLib::TFileStream stream(fileName, ClassLib::fmOpenRead | ClassLib::fmShareDenyNone);
    TAdvCustomMemo& memo = *Memo;
    LoadFromStream(&stream);
    {
        TLoadScope scope(*this, memo);
        memo.InvalidateTopLine();
        memo.SetCaretFieldsRaw(0, 0);
        ExpandRemainingTabs();
        memo.UpdateMaxLength();
    }
    memo.UpdateView();
    memo.DoWrap();
    memo.AutoCodeFold();
    memo.MarkLinesUnmodified();
    memo.Refresh();
}

void TAdvMemoStrings::SaveToStream(ClassLib::TStream* stream) {
    TStringList::SaveToStream(stream);
    if (Memo) Memo->MarkLinesSaved();
}

namespace {

// Joins word-wrapped rows for the length of a save and wraps them again afterwards.
class TUnwrapScope {
public:
    explicit TUnwrapScope(TAdvCustomMemo* memo) : FMemo(memo && memo->WordWrap() != wwNone ? memo : nullptr) {
        if (!FMemo) return;
        FMemo->DetachLinesChange();
        FMemo->DoJoin();
    }
    ~TUnwrapScope() {
        if (!FMemo) return;
        FMemo->DoWrap();
        FMemo->AttachLinesChange();
    }
    TUnwrapScope(const TUnwrapScope&) = delete;
    TUnwrapScope& operator=(const TUnwrapScope&) = delete;

private:
    TAdvCustomMemo* FMemo;
};

}  // namespace

void TAdvMemoStrings::SaveToFile(const std::wstring& fileName) {
    {
        TUnwrapScope unwrapped(Memo);
        if (Memo && Memo->TrimTrailingSpaces()) {
            BeginUpdate();
            const int count = Count();
            for (int i = 0; i < count; ++i) {
                const std::wstring s = Get(i);
                const std::wstring t = TrimRightControls(s);
                if (t != s) Put(i, t);
            }
            EndUpdate();
        }
        TStringList::SaveToFile(fileName);
    }
    if (Memo) {
        Memo->MarkLinesSaved();
        Memo->Invalidate();
    }
}

}  // namespace AdvMemo
