#include "editor/AdvMemoStrings.h"

#include "classlib/Streams.h"
#include "classlib/UpdateScope.h"

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

// ---------------------------------------------------------------- line rules

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

std::vector<std::wstring> SplitAddedText(const std::wstring& text, int tabSize) {
    std::wstring rest = ExpandTabs(text, tabSize);
    rest.erase(std::remove(rest.begin(), rest.end(), L'\n'), rest.end());
    std::vector<std::wstring> lines;
    size_t start = 0, cr;
    while ((cr = rest.find(L'\r', start)) != std::wstring::npos) {
        lines.push_back(rest.substr(start, cr - start));
        start = cr + 1;
    }
    lines.push_back(rest.substr(start));
    return lines;
}

std::vector<std::wstring> SplitText(const std::wstring& text) {
    std::vector<std::wstring> lines;
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const size_t start = i;
        while (i < n && text[i] != L'\r' && text[i] != L'\n') ++i;
        lines.push_back(text.substr(start, i - start));
        if (i < n && text[i] == L'\r') ++i;
        if (i < n && text[i] == L'\n') ++i;
    }
    return lines;
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

// Sets a flag for a scope and puts its old value back however the scope ends.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : FFlag(flag), FOld(flag) { flag = true; }
    ~TFlagScope() { FFlag = FOld; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
    bool FOld;
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
    // change either; the view still has to size its scroll bars to what the list now holds.
    if (FWatcher) FWatcher->ChangedInUpdate();
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
    if (!FWatcher) {
        TStringList::Put(index, s);
        SetLength(index, static_cast<int>(s.size()));
        return;
    }
    const std::wstring expanded = ExpandTabs(s, FWatcher->TabSize());
    TStringList::Put(index, expanded);
    SetLength(index, static_cast<int>(expanded.size()));
    FWatcher->LineStored(index);
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
    if (!FWatcher) return TStringList::Add(s);
    int index = -1;
    for (const std::wstring& line : SplitAddedText(s, FWatcher->TabSize())) index = TStringList::Add(line);
    return index;
}

void TAdvMemoStrings::SetTextStr(const std::wstring& text) {
    ClassLib::TUpdateScope update(*this);
    Clear();
    for (const std::wstring& line : SplitText(text)) Add(line);
}

void TAdvMemoStrings::Exchange(int index1, int index2) {
    NoteChanged(std::min(index1, index2));
    TStringList::Exchange(index1, index2);
    // The lengths travel with their lines (the base list has checked both indexes).
    if (std::max(index1, index2) >= FListLengths.Count()) return;
    const int length1 = FListLengths[index1];
    FListLengths.SetInteger(index1, FListLengths[index2]);
    FListLengths.SetInteger(index2, length1);
}

void TAdvMemoStrings::DoInsert(int index, const std::wstring& s) {
    NoteChanged(index);
    const std::wstring expanded = FWatcher ? ExpandTabs(s, FWatcher->TabSize()) : s;
    if (FWatcher) FWatcher->LineInserting(index);
    FListLengths.Insert(index, static_cast<int>(expanded.size()));
    if (static_cast<int>(expanded.size()) > FMaxLength) FMaxLength = static_cast<int>(expanded.size());
    TStringList::InsertItem(index, expanded, nullptr);
}

void TAdvMemoStrings::Insert(int index, const std::wstring& s) {
    if (index < 0 || index > Count()) IndexError(index);
    if (FWatcher) FWatcher->TextInserting(index);
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
    if (FWatcher) FWatcher->TextInserted(index, inserted);
}

void TAdvMemoStrings::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    if (!FWatcher || FDeleting) {
        RemoveLine(index);
        return;
    }
    NoteChanged(index);
    TFlagScope deleting(FDeleting);
    if (!FWatcher->LineDeleting(index)) return;
    // A watched list keeps its last line: it is emptied instead.
    if (Count() == 1) Put(0, L"");
    else RemoveLine(index);
    FWatcher->LineDeleted(index);
}

void TAdvMemoStrings::RemoveLine(int index) {
    if (index < 0 || index >= Count()) return;
    NoteChanged(index);
    if (index < FListLengths.Count()) {
        if (FListLengths[index] == FMaxLength) FMaxDirty = true;
        FListLengths.Delete(index);
    }
    TStringList::Delete(index);
}

void TAdvMemoStrings::Clear() {
    NoteChanged(0);
    if (FWatcher) FWatcher->LinesClearing();
    FreeLineProps();
    FListLengths.Clear();
    FMaxLength = 0;
    FMaxDirty = false;
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
    if (FWatcher) FWatcher->TextReplaced(false);
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
    if (FWatcher && FWatcher->CodeFoldingEnabled() && index > 0) {
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
    ClassLib::TUpdateScope update(*this);
    const int count = Count();
    for (int i = 0; i < count; ++i) TStringList::PutObject(i, nullptr);
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
    if (!FWatcher) {
        TStringList::AddStrings(strings);
        return;
    }
    {
        ClassLib::TUpdateScope update(*this);
        for (int i = 0; i < strings->Count(); ++i)
            AddObject(ExpandTabs(strings->Strings(i), FWatcher->TabSize()), strings->Objects(i));
    }
    RebuildLengths();
    if (FLockCount == 0) FWatcher->StringsAdded();
}

void TAdvMemoStrings::Assign(const ClassLib::TPersistent* source) {
    const auto* strings = dynamic_cast<const ClassLib::TStrings*>(source);
    if (!strings || !FWatcher || strings == this) {
        TStringList::Assign(source);
        return;
    }
    FWatcher->AssignLines(*strings);
    RebuildLengths();
    FWatcher->TextReplaced(true);
}

void TAdvMemoStrings::ReplaceLines(const std::vector<std::wstring>& lines) {
    if (!FWatcher) {
        {
            ClassLib::TUpdateScope update(*this);
            Clear();
            for (const auto& line : lines) TStringList::AddObject(line, nullptr);
        }
        RebuildLengths();
        return;
    }
    {
        TFlagScope noObjects(FNoObjCreate);
        ClearStrings();
        ClassLib::TUpdateScope update(*this);
        for (const auto& line : lines) AddObject(ExpandTabs(line, FWatcher->TabSize()), nullptr);
    }
    RebuildLengths();
}

void TAdvMemoStrings::ExpandRemainingTabs() {
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        const std::wstring s = Get(i);
        if (s.find(L'\t') != std::wstring::npos) Put(i, s);
    }
}

void TAdvMemoStrings::Load(ClassLib::TStream* stream, bool fromFile) {
    FWatcher->LoadStarting();
    bool loaded = false;
    try {
        TStringList::LoadFromStream(stream);
        ExpandRemainingTabs();
        loaded = true;
    } catch (...) {
        FWatcher->LoadEnded(false, fromFile);
        throw;
    }
    FWatcher->LoadEnded(loaded, fromFile);
}

void TAdvMemoStrings::LoadFromStream(ClassLib::TStream* stream) {
    if (!FWatcher) {
        TStringList::LoadFromStream(stream);
        return;
    }
    Load(stream, false);
}

void TAdvMemoStrings::LoadFromFile(const std::wstring& fileName) {
    if (!FWatcher) {
        TStringList::LoadFromFile(fileName);
        return;
    }
    // Opened first: a file that cannot be read leaves text, undo and caret as they were.
    ClassLib::TFileStream stream(fileName, ClassLib::fmOpenRead | ClassLib::fmShareDenyNone);
    Load(&stream, true);
}

void TAdvMemoStrings::SaveToStream(ClassLib::TStream* stream) {
    TStringList::SaveToStream(stream);
    if (FWatcher) FWatcher->LinesSaved(false);
}

namespace {

// Tells a watcher that a file save starts and, however it ends, that it ended.
class TFileSaveScope {
public:
    explicit TFileSaveScope(ILinesWatcher* watcher) : FWatcher(watcher) {
        if (FWatcher) FWatcher->FileSaveStarting();
    }
    ~TFileSaveScope() {
        if (FWatcher) FWatcher->FileSaveEnded();
    }
    TFileSaveScope(const TFileSaveScope&) = delete;
    TFileSaveScope& operator=(const TFileSaveScope&) = delete;

private:
    ILinesWatcher* FWatcher;
};

}  // namespace

void TAdvMemoStrings::SaveToFile(const std::wstring& fileName) {
    {
        TFileSaveScope saving(FWatcher);
        if (FWatcher && FWatcher->TrimTrailingSpaces()) {
            ClassLib::TUpdateScope update(*this);
            const int count = Count();
            for (int i = 0; i < count; ++i) {
                const std::wstring s = Get(i);
                const std::wstring t = TrimRightControls(s);
                if (t != s) Put(i, t);
            }
        }
        TStringList::SaveToFile(fileName);
    }
    if (FWatcher) FWatcher->LinesSaved(true);
}

}  // namespace AdvMemo
