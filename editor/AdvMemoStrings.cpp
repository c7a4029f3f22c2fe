#include "editor/AdvMemoStrings.h"

#include "classlib/Exceptions.h"
#include "classlib/Seams.h"
#include "classlib/Streams.h"
#include "classlib/UpdateScope.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string_view>

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

using ClassLib::TFlagScope;

std::wstring TrimRightControls(const std::wstring& s) {
    size_t end = s.size();
    while (end > 0 && s[end - 1] <= L' ') --end;
    return s.substr(0, end);
}

template <typename TChar>
bool IsAscii(const TChar* text, size_t size) {
    // OR-ing first keeps the loop free of branches; one test at the end decides.
    unsigned bits = 0;
    for (size_t i = 0; i < size; ++i) bits |= static_cast<unsigned>(text[i]);
    return bits < 0x80;
}

// Whether the code page reads and writes the ASCII range unchanged (every ANSI code page
// of Windows does; the check keeps an odd one on the exact conversion path).
bool AsciiPassesUnchanged(unsigned codePage) {
    char ascii[127];
    for (int i = 0; i < 127; ++i) ascii[i] = static_cast<char>(i + 1);
    wchar_t wide[127];
    if (::MultiByteToWideChar(codePage, 0, ascii, 127, wide, 127) != 127) return false;
    for (int i = 0; i < 127; ++i)
        if (wide[i] != static_cast<wchar_t>(i + 1)) return false;
    return true;
}

// Narrows ASCII text to one byte a character through a small buffer into a stream, and
// notes on the way whether every character was ASCII. A chunk goes to the stream only once it
// is known to be ASCII; the first one that is not stops the writing.
class TAsciiWriter {
public:
    explicit TAsciiWriter(ClassLib::TStream& stream)
        : FStream(stream), FBuffer(std::make_unique_for_overwrite<uint8_t[]>(Capacity)) {}
    TAsciiWriter(const TAsciiWriter&) = delete;
    TAsciiWriter& operator=(const TAsciiWriter&) = delete;

    // False once a character beyond ASCII was met (then nothing more is written).
    template <typename TChar>
    bool Put(const TChar* text, size_t size) {
        while (size > 0) {
            if (FUsed == Capacity && !Flush()) return false;
            const size_t take = std::min(size, Capacity - FUsed);
            uint8_t* out = FBuffer.get() + FUsed;
            unsigned bits = 0;
            for (size_t k = 0; k < take; ++k) {
                bits |= static_cast<unsigned>(text[k]);
                out[k] = static_cast<uint8_t>(text[k]);
            }
            FBits |= bits;
            FUsed += take;
            text += take;
            size -= take;
        }
        return FBits < 0x80;
    }
    bool Flush() {
        if (FBits >= 0x80) return false;
        if (FUsed > 0) FStream.WriteBuffer(FBuffer.get(), static_cast<int>(FUsed));
        FUsed = 0;
        return true;
    }

private:
    // Small enough to stay in memory the process has touched, large enough that the calls
    // into the stream are few.
    static constexpr size_t Capacity = size_t(64) << 10;
    ClassLib::TStream& FStream;
    std::unique_ptr<uint8_t[]> FBuffer;
    size_t FUsed = 0;
    unsigned FBits = 0;
};

}  // namespace

// ---------------------------------------------------------------- TAdvMemoStrings

CLASSLIB_IMPLEMENT(TAdvMemoStrings, ClassLib::TStringList)

TAdvMemoStrings::TAdvMemoStrings() = default;

TAdvMemoStrings::~TAdvMemoStrings() {
    OnChange = nullptr;
    OnChanging = nullptr;
    if (OwnsObjects())
        for (int i = 0; i < Count(); ++i) delete GetObject(i);
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

void TAdvMemoStrings::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
}

// Lines at the widest length are counted, so that shortening one of several equally wide
// lines (typing and undoing in generated text) needs no scan of every line.
void TAdvMemoStrings::NoteLength(int oldLength, int newLength) {
    if (FMaxDirty) return;
    if (oldLength == FMaxLength) --FMaxCount;
    if (newLength > FMaxLength) {
        FMaxLength = newLength;
        FMaxCount = 1;
    } else if (newLength == FMaxLength) {
        ++FMaxCount;
    }
    if (FMaxCount == 0) FMaxDirty = true;
}

int TAdvMemoStrings::MaxLineLength() const {
    if (FMaxDirty) {
        FMaxLength = 0;
        FMaxCount = 0;
        const int count = FStore.Count();
        for (int i = 0; i < count; ++i) {
            const int length = FStore.Length(i);
            if (length > FMaxLength) {
                FMaxLength = length;
                FMaxCount = 1;
            } else if (length == FMaxLength) {
                ++FMaxCount;
            }
        }
        FMaxDirty = false;
    }
    return FMaxLength;
}

void TAdvMemoStrings::RebuildLengths() {
    FMaxDirty = true;
    MaxLineLength();
}

std::wstring TAdvMemoStrings::Get(int index) const {
    CheckIndex(index);
    return std::wstring(FStore.Text(index));
}

void TAdvMemoStrings::StoreText(int index, std::wstring_view s) {
    if (Sorted()) throw ClassLib::EListError(L"Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    const int old = FStore.Length(index);
    FStore.Set(index, s);
    NoteLength(old, static_cast<int>(s.size()));
    Changed();
}

void TAdvMemoStrings::Put(int index, const std::wstring& s) {
    NoteChanged(index);
    if (!FWatcher) {
        StoreText(index, s);
        return;
    }
    if (s.find(L'\t') == std::wstring::npos) StoreText(index, s);
    else StoreText(index, ExpandTabs(s, FWatcher->TabSize()));
    FWatcher->LineStored(index);
}

void TAdvMemoStrings::ReplaceChars(int index, int column, int count, std::wstring_view text) {
    CheckIndex(index);
    const int length = FStore.Length(index);
    column = std::max(column, 0);
    count = std::clamp(count, 0, std::max(length - column, 0));
    if (column > length || (FWatcher && text.find(L'\t') != std::wstring_view::npos)) {
        // Rare: the whole line is rebuilt and stored as Put stores it.
        std::wstring line(FStore.Text(index));
        line.resize(std::max(line.size(), static_cast<size_t>(column)), L' ');
        line.replace(static_cast<size_t>(column), static_cast<size_t>(count), text);
        Put(index, line);
        return;
    }
    NoteChanged(index);
    if (Sorted()) throw ClassLib::EListError(L"Operation not allowed on sorted list");
    Changing();
    FStore.Replace(index, static_cast<size_t>(column), static_cast<size_t>(count), text);
    NoteLength(length, FStore.Length(index));
    Changed();
    if (FWatcher) FWatcher->LineStored(index);
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
    Changing();
    StoreSlotRaw(index, object);
    Changed();
}

void TAdvMemoStrings::InsertItem(int index, const std::wstring& s, TObject* object) {
    Changing();
    FStore.Insert(index, s, object);
    NoteLength(-1, static_cast<int>(s.size()));
    Changed();
}

// A line's properties are made when it first needs one (a mark, a flag, a cached style),
// so a line that has none costs nothing beyond its text.
int TAdvMemoStrings::AddObject(const std::wstring& s, TObject* object) {
    NoteChanged(Count());
    int index = Count();
    if (Sorted() && Find(s, index)) {
        switch (Duplicates()) {
        case ClassLib::dupIgnore: return index;
        case ClassLib::dupError: throw ClassLib::EListError(L"String list does not allow duplicates");
        case ClassLib::dupAccept: break;
        }
    }
    InsertItem(index, s, FNoObjCreate ? nullptr : object);
    return index;
}

int TAdvMemoStrings::Add(const std::wstring& s) {
    NoteChanged(Count());
    if (!FWatcher) return AddObject(s, nullptr);
    int index = -1;
    for (const std::wstring& line : SplitAddedText(s, FWatcher->TabSize())) index = AddObject(line, nullptr);
    return index;
}

void TAdvMemoStrings::InsertObject(int index, const std::wstring& s, TObject* object) {
    NoteChanged(index);
    if (Sorted()) throw ClassLib::EListError(L"Operation not allowed on sorted list");
    if (index < 0 || index > Count()) IndexError(index);
    InsertItem(index, s, object);
}

template <typename TFill>
void TAdvMemoStrings::RefillLines(TFill&& fill, TLineStore* keepOld) {
    ClassLib::TUpdateScope update(*this);
    ClearLines(keepOld);
    NoteChanged(0);
    Changing();
    fill(FStore);
    RebuildLengths();
    Changed();
}

template <typename TText>
void TAdvMemoStrings::SetAllLines(const TText& text) {
    if constexpr (std::is_same_v<TText, std::wstring>) {
        // A sorted list places every line itself.
        if (Sorted()) {
            ClassLib::TUpdateScope update(*this);
            Clear();
            for (const std::wstring& line : SplitText(text)) Add(line);
            return;
        }
    }
    const int tabSize = FWatcher ? std::max(FWatcher->TabSize(), 0) : -1;
    RefillLines([&](TLineStore& store) { store.AppendText(text, tabSize); });
}

void TAdvMemoStrings::SetTextStr(const std::wstring& text) { SetAllLines(text); }

std::wstring TAdvMemoStrings::GetTextStr() const {
    const int count = Count();
    const std::wstring& lineBreak = LineBreak();
    std::wstring text;
    text.reserve(FStore.TotalLength() + static_cast<size_t>(count) * lineBreak.size());
    for (int i = 0; i < count; ++i) {
        text += FStore.Text(i);
        if (i + 1 < count || TrailingLineBreak()) text += lineBreak;
    }
    return text;
}

void TAdvMemoStrings::Exchange(int index1, int index2) {
    NoteChanged(std::min(index1, index2));
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    FStore.Swap(index1, index2);
    Changed();
}

void TAdvMemoStrings::CustomSort(const ClassLib::TStringListSortCompare& compare) {
    if (Count() < 2) return;
    NoteChanged(0);
    Changing();
    // The comparer sees indexes into the current list, so sort a permutation first.
    std::vector<int> order(static_cast<size_t>(Count()));
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    FStore.Reorder(order);
    Changed();
}

void TAdvMemoStrings::DoInsert(int index, const std::wstring& s) {
    NoteChanged(index);
    const std::wstring expanded = FWatcher ? ExpandTabs(s, FWatcher->TabSize()) : s;
    if (FWatcher) FWatcher->LineInserting(index);
    InsertItem(index, expanded, nullptr);
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
    Changing();
    NoteLength(FStore.Length(index), -1);
    TObject* owned = OwnsObjects() ? GetObject(index) : nullptr;
    FStore.Erase(index);
    delete owned;
    Changed();
}

void TAdvMemoStrings::Clear() { ClearLines(nullptr); }

void TAdvMemoStrings::ClearLines(TLineStore* keep) {
    NoteChanged(0);
    if (FWatcher) FWatcher->LinesClearing();
    FreeLineProps();
    DropLines(keep);
}

void TAdvMemoStrings::ClearStrings() { DropLines(nullptr); }

void TAdvMemoStrings::DropLines(TLineStore* keep) {
    NoteChanged(0);
    FLinesProp.clear();
    FMaxLength = 0;
    FMaxCount = 0;
    FMaxDirty = false;
    if (Count() == 0) return;
    Changing();
    if (OwnsObjects())
        for (int i = 0; i < Count(); ++i) delete GetObject(i);
    if (keep) FStore.Swap(*keep);
    FStore.Clear();
    Changed();
}

void TAdvMemoStrings::SetText(const std::wstring& text) {
    SetTextStr(text);
    if (FWatcher) FWatcher->TextReplaced(false);
    if (OnSetText) OnSetText(this);
}

void TAdvMemoStrings::TakeText(std::wstring&& text) {
    // A sorted list places its lines itself, and a watched one expands tabs: both copy.
    if (Sorted() || (FWatcher && text.find(L'\t') != std::wstring::npos) || text.size() < 64) {
        SetText(text);
        return;
    }
    RefillLines([&](TLineStore& store) { store.AdoptText(std::move(text)); });
    if (FWatcher) FWatcher->TextReplaced(false);
    if (OnSetText) OnSetText(this);
}

void TAdvMemoStrings::TakeLines(TLineStore& lines) {
    if (Sorted()) {
        // A sorted list places every line itself.
        ClassLib::TUpdateScope update(*this);
        Clear();
        for (int i = 0; i < lines.Count(); ++i) Add(std::wstring(lines.Text(i)));
        lines.Clear();
    } else {
        // The replaced lines go back to the caller instead of being freed, so that its next
        // build can fill their memory again.
        TLineStore old;
        RefillLines([&](TLineStore& store) { store.Swap(lines); }, &old);
        lines.Swap(old);
    }
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
    ++FChangeStamp;
    StoreSlotRaw(index, prop);
}

void TAdvMemoStrings::FreeLineProps() {
    for (TLineProp* prop : FLinesProp) delete prop;
    FLinesProp.clear();
    const int count = Count();
    for (int i = 0; i < count; ++i) StoreSlotRaw(i, nullptr);
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
    if (FLockCount == 0) FWatcher->StringsAdded();
}

void TAdvMemoStrings::Assign(const ClassLib::TPersistent* source) {
    const auto* strings = dynamic_cast<const ClassLib::TStrings*>(source);
    if (!strings || !FWatcher || strings == this) {
        TStringList::Assign(source);
        return;
    }
    FWatcher->AssignLines(*strings);
    FWatcher->TextReplaced(true);
}

void TAdvMemoStrings::ReplaceLines(const std::vector<std::wstring>& lines) {
    if (!FWatcher) {
        ClassLib::TUpdateScope update(*this);
        Clear();
        for (const auto& line : lines) AddObject(line, nullptr);
        return;
    }
    TFlagScope noObjects(FNoObjCreate);
    ClearStrings();
    ClassLib::TUpdateScope update(*this);
    for (const auto& line : lines) AddObject(ExpandTabs(line, FWatcher->TabSize()), nullptr);
}

namespace {

// Reads a stream from its position to its end in pieces, through one buffer that is filled
// again and again: the memory it touches stays small whatever the size of the text.
class TPieceReader {
public:
    TPieceReader(ClassLib::TStream& stream, int64_t size)
        : FStream(stream), FStart(stream.Position()), FSize(size), FLeft(size),
          FCapacity(static_cast<size_t>(std::min<int64_t>(size, PieceSize))),
          FBuffer(std::make_unique_for_overwrite<uint8_t[]>(FCapacity)) {}
    TPieceReader(const TPieceReader&) = delete;
    TPieceReader& operator=(const TPieceReader&) = delete;

    // The next piece after the `keep` last bytes of the previous one, which it starts with;
    // empty at the end.
    std::string_view Next(size_t keep) {
        if (keep > 0 && FUsed > keep) std::memmove(FBuffer.get(), FBuffer.get() + FUsed - keep, keep);
        FUsed = keep;
        if (FLeft == 0) return {};
        if (FUsed == FCapacity) Grow();
        const size_t take = static_cast<size_t>(std::min<int64_t>(FLeft, static_cast<int64_t>(FCapacity - FUsed)));
        FStream.ReadBuffer(FBuffer.get() + FUsed, static_cast<int>(take));
        FUsed += take;
        FLeft -= static_cast<int64_t>(take);
        return {reinterpret_cast<const char*>(FBuffer.get()), FUsed};
    }
    bool AtEnd() const { return FLeft == 0; }
    void Rewind() {
        FStream.SetPosition(FStart);
        FLeft = FSize;
        FUsed = 0;
    }

private:
    static constexpr int64_t PieceSize = int64_t(256) << 10;
    // A line longer than the buffer: the buffer doubles to hold it whole.
    void Grow() {
        auto larger = std::make_unique_for_overwrite<uint8_t[]>(FCapacity * 2);
        std::memcpy(larger.get(), FBuffer.get(), FUsed);
        FBuffer = std::move(larger);
        FCapacity *= 2;
    }

    ClassLib::TStream& FStream;
    int64_t FStart, FSize, FLeft;
    size_t FCapacity;
    std::unique_ptr<uint8_t[]> FBuffer;
    size_t FUsed = 0;
};

bool StartsWithMark(std::string_view bytes) {
    const auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    return bytes.size() >= 2 && ((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF) ||
                                 (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF));
}

// The length of the piece's lines that are whole: up to its last line break, but a CR at
// its very end may be the first half of a CR LF pair and waits for the next piece.
size_t WholeLines(std::string_view piece) {
    for (size_t i = piece.size(); i > 0; --i) {
        const char c = piece[i - 1];
        if (c == '\n' || (c == '\r' && i < piece.size())) return i;
    }
    return 0;
}

}  // namespace

void TAdvMemoStrings::Load(ClassLib::TStream* stream, bool fromFile) {
    const int64_t size = std::max<int64_t>(stream->Size() - stream->Position(), 0);
    if (FWatcher) FWatcher->LoadStarting();
    bool loaded = false;
    try {
        // Read whole before anything changes: a stream that fails leaves the lines as they were.
        // Text without a mark and without a byte beyond ASCII is ANSI text that reads the same
        // in any code page. It is read twice in pieces, to count its lines and then to put them
        // into a store of their own, which the list then takes: the bytes are never held whole.
        TPieceReader reader(*stream, size);
        bool ascii = !Sorted() && AsciiPassesUnchanged(ClassLib::Seams().AnsiCodePage());
        size_t feeds = 0, returns = 0;
        bool first = true;
        for (std::string_view piece = reader.Next(0); ascii && !piece.empty(); piece = reader.Next(0)) {
            ascii = !(first && StartsWithMark(piece)) && IsAscii(piece.data(), piece.size());
            first = false;
            feeds += static_cast<size_t>(std::count(piece.begin(), piece.end(), '\n'));
            returns += static_cast<size_t>(std::count(piece.begin(), piece.end(), '\r'));
        }
        reader.Rewind();
        if (ascii) {
            const int tabSize = FWatcher ? std::max(FWatcher->TabSize(), 0) : -1;
            TLineStore lines;
            lines.Reserve((feeds == 0 || returns == 0 ? feeds + returns : std::max(feeds, returns)) + 1);
            size_t keep = 0;
            for (std::string_view piece = reader.Next(0); !piece.empty(); piece = reader.Next(keep)) {
                const size_t whole = reader.AtEnd() ? piece.size() : WholeLines(piece);
                lines.AppendPiece(piece.substr(0, whole), tabSize);
                keep = piece.size() - whole;
            }
            SetEncoding(ClassLib::TTextEncoding::Ansi);
            RefillLines([&](TLineStore& store) { store.Swap(lines); });
        } else {
            std::vector<uint8_t> bytes(static_cast<size_t>(size));
            if (!bytes.empty()) stream->ReadBuffer(bytes.data(), static_cast<int>(bytes.size()));
            ClassLib::TTextEncoding encoding = ClassLib::TTextEncoding::Ansi;
            bool hasBOM = false;
            std::wstring text = DecodeText(bytes, encoding, &hasBOM);
            std::vector<uint8_t>().swap(bytes);
            SetEncoding(encoding);
            // Saved back the way it came: a UTF-8 file written without a mark stays without one.
            if (encoding != ClassLib::TTextEncoding::Ansi) SetWriteBOM(hasBOM);
            SetAllLines(text);
        }
        loaded = true;
    } catch (...) {
        if (FWatcher) FWatcher->LoadEnded(false, fromFile);
        throw;
    }
    if (FWatcher) FWatcher->LoadEnded(loaded, fromFile);
}

void TAdvMemoStrings::LoadFromStream(ClassLib::TStream* stream) { Load(stream, false); }

void TAdvMemoStrings::LoadFromFile(const std::wstring& fileName) {
    if (!FWatcher) {
        TStringList::LoadFromFile(fileName);
        return;
    }
    // Opened first: a file that cannot be read leaves text, undo and caret as they were.
    ClassLib::TFileStream stream(fileName, ClassLib::fmOpenRead | ClassLib::fmShareDenyNone);
    Load(&stream, true);
}

bool TAdvMemoStrings::WriteAscii(ClassLib::TStream& stream) const {
    TAsciiWriter writer(stream);
    if (Encoding() == ClassLib::TTextEncoding::UTF8 && WriteBOM()) {
        static const uint8_t mark[] = {0xEF, 0xBB, 0xBF};
        writer.Put(mark, sizeof mark);
    }
    const std::wstring& lineBreak = LineBreak();
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        const std::wstring_view line = FStore.Text(i);
        if (!writer.Put(line.data(), line.size())) return false;
        if ((i + 1 < count || TrailingLineBreak()) && !writer.Put(lineBreak.data(), lineBreak.size())) return false;
    }
    return writer.Flush();
}

void TAdvMemoStrings::SaveToStream(ClassLib::TStream* stream) {
    ClassLib::TTextEncoding encoding = Encoding();
    // ASCII is the same bytes in ANSI and in UTF-8: written as it is read, in one pass.
    const bool mayBeAscii = encoding == ClassLib::TTextEncoding::UTF8 ||
                            (encoding == ClassLib::TTextEncoding::Ansi &&
                             AsciiPassesUnchanged(ClassLib::Seams().AnsiCodePage()));
    const int64_t start = mayBeAscii ? stream->Position() : 0;
    const int64_t sizeBefore = mayBeAscii ? stream->Size() : 0;
    if (!mayBeAscii || !WriteAscii(*stream)) {
        // Anything beyond ASCII takes the exact conversion, which may also change the encoding;
        // what the ASCII pass wrote before it met such a character is written over.
        const std::vector<uint8_t> bytes = EncodeText(GetTextStr(), encoding, WriteBOM());
        SetEncoding(encoding);
        if (mayBeAscii) stream->SetPosition(start);
        if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
        if (mayBeAscii && stream->Size() > std::max(sizeBefore, stream->Position())) {
            stream->SetSize(std::max(sizeBefore, stream->Position()));
        }
    }
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
