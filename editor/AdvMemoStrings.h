#pragma once
// The code editor's line store: a string list with per-line properties and line lengths. The view
// that shows it watches it through ILinesWatcher, so edits made from outside keep caret,
// bookmarks and markers right; without a watcher it is a free list and needs no window.
#include "classlib/StringList.h"
#include "editor/AdvMemoStringsStore.h"

#include <cstdint>
#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace AdvMemo {

class TLineProp;

// What a line store tells the view that shows it, and the few settings it asks of it. Every
// call comes from the store; a watcher changes the lines only where a call says it may.
class ILinesWatcher {
public:
    // Settings of the view that apply to lines coming in.
    virtual int TabSize() const = 0;
    virtual bool CodeFoldingEnabled() const = 0;
    virtual bool TrimTrailingSpaces() const = 0;

    // Line `index` was rewritten.
    virtual void LineStored(int index) = 0;
    // One line is about to go in at `index`; set bookmarks at or below it move down.
    virtual void LineInserting(int index) = 0;
    // A text is about to go in at `index`, and went in as `count` lines.
    virtual void TextInserting(int index) = 0;
    virtual void TextInserted(int index, int count) = 0;
    // Line `index` is about to go away (the only line is emptied instead); false keeps it.
    // LineDeleted follows only when LineDeleting allowed it.
    virtual bool LineDeleting(int index) = 0;
    virtual void LineDeleted(int index) = 0;
    // Every line is about to go away.
    virtual void LinesClearing() = 0;
    // The whole text was replaced; the widest line and the scroll range follow.
    virtual void TextReplaced(bool repaintGutter) = 0;
    // Lines changed inside an update that has just ended, which reported nothing itself.
    virtual void ChangedInUpdate() = 0;
    // Lines were appended from another list outside any update.
    virtual void StringsAdded() = 0;
    // The store is to become a copy of `source`: the watcher clears itself and takes the
    // lines through its own setter (its rules for incoming text apply).
    virtual void AssignLines(const ClassLib::TStrings& source) = 0;

    // A load starts, and ends: with `loaded` false when it failed (nothing was read), and
    // `fromFile` when the text came from a file (its lines then count as unmodified).
    virtual void LoadStarting() = 0;
    virtual void LoadEnded(bool loaded, bool fromFile) = 0;
    // A save to a file starts and ends (however it ends): the file gets unwrapped lines.
    virtual void FileSaveStarting() = 0;
    virtual void FileSaveEnded() = 0;
    // The text was written.
    virtual void LinesSaved(bool toFile) = 0;

protected:
    ~ILinesWatcher() = default;
};

// A list of 32-bit integers. IndexOf searches binary while the values are ascending and falls
// back to a scan otherwise, so an unsorted list still answers correctly.
class TIntList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    int Add(int value);
    void Insert(int index, int value);
    void Delete(int index);
    void Clear() { FItems.clear(); FSorted = true; }
    int GetInteger(int index) const { return FItems[index]; }
    void SetInteger(int index, int value);
    int IndexOf(int value) const;
    int operator[](int index) const { return FItems[index]; }
    void Assign(const TIntList& other) { FItems = other.FItems; FSorted = other.FSorted; }
    bool operator==(const TIntList& other) const { return FItems == other.FItems; }

private:
    void CheckSortedAround(int index);
    std::vector<int> FItems;
    bool FSorted = true;  // invariant: true only when FItems is ascending
};

// The syntax state carried from line to line (comment depth, open string) and cached per line.
struct TStyle {
    int isComment = 0;
    bool isBracket = false;
    bool isnumber = false;
    bool iskeyWord = false;
    bool isdelimiter = false;
    bool isURL = false;
    bool isHighlight = false;
    wchar_t EndBracket = 0;
    wchar_t StartBracket = 0;
    int index = 0;
    int ctype = 0;
    bool operator==(const TStyle&) const = default;
    // Clears the flags that describe one emitted piece only.
    void ResetForNextToken() { isnumber = iskeyWord = isdelimiter = isURL = isHighlight = false; }
};

enum TLineModifiedState { lmUnmodified = 0, lmModified = 1, lmSaved = 2 };

class TLineProp : public ClassLib::TObject {
public:
    TLineProp() = default;
    TLineProp(const TLineProp& other);  // copies everything, the error marks included

    ClassLib::TObject* FObject = nullptr;  // the user's object of the line, not owned
    std::unique_ptr<TIntList> FErrStart, FErrLen;
    bool FExpanded = true;
    int FLastChildOfParents = 0;
    bool FHasParent = false;
    bool FHasChildren = false;
    intptr_t FTag = 0;
    bool BreakPoint = false;
    bool Executable = false;
    TLineModifiedState Modified = lmUnmodified;
    int ImageIndex = -1;
    bool Bookmark = false;
    int BookmarkIndex = 0;
    TStyle Style;
    bool CachedStyle = false;
    bool Wrapped = false;
    bool ByCode = false;

    bool HasErrorInfo() const { return FErrStart != nullptr; }
    void CreateErrorInfo();
    TIntList* ErrStart() const { return FErrStart.get(); }
    TIntList* ErrLen() const { return FErrLen.get(); }
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool v) { FExpanded = v; }
    int LastChildOfParents() const { return FLastChildOfParents; }
    void SetLastChildOfParents(int v) { if (v >= 0) FLastChildOfParents = v; }
    bool LastChild() const { return FLastChildOfParents > 0; }
    bool HasParent() const { return FHasParent; }
    void SetHasParent(bool v) { FHasParent = v; }
    bool HasChildren() const { return FHasChildren; }
    void SetHasChildren(bool v) { FHasChildren = v; }
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t v) { FTag = v; }
};

// ---- the store's line rules, for everyone who fills a memo's lines in one go

// The memo's tab width until it is changed.
constexpr int DefaultTabSize = 4;

// Every tab becomes exactly tabSize blanks, whatever column it stands in.
std::wstring ExpandTabs(const std::wstring& s, int tabSize);

// The lines one Add of `text` makes in a watched store: tabs expanded, line feeds dropped and
// every CR ends a line, so a text ending in CR (or the empty text) ends with an empty line.
std::vector<std::wstring> SplitAddedText(const std::wstring& text, int tabSize);

// The lines a whole text becomes (setting Text, loading): CR, LF and CR LF each end a line,
// and a break at the very end adds no empty line.
std::vector<std::wstring> SplitText(const std::wstring& text);

// What a line carries while word wrap rebuilds the list: its properties or its bare user object.
struct TLineCarry {
    TLineProp* Prop = nullptr;
    ClassLib::TObject* Object = nullptr;
};

// The length of every line, in UTF-16 units, read from the store itself.
class TLineLengths {
public:
    explicit TLineLengths(const TLineStore& store) : FStore(store) {}
    int Count() const { return FStore.Count(); }
    int operator[](int index) const { return FStore.Length(index); }

private:
    const TLineStore& FStore;
};

#pragma push_macro("GetObject")
#undef GetObject

class TAdvMemoStrings : public ClassLib::TStringList {
    CLASSLIB_CLASS(TAdvMemoStrings, ClassLib::TStringList)
public:
    TAdvMemoStrings();
    ~TAdvMemoStrings() override;

    // The view that shows this list; null for a free list. Not owned.
    ILinesWatcher* Watcher() const { return FWatcher; }
    void SetWatcher(ILinesWatcher* watcher) { FWatcher = watcher; }
    int LockCount() const { return FLockCount; }
    ClassLib::TNotifyEvent OnSetText;
    // The first line changed since the last call (INT_MAX when none); the painter's
    // syntax-state cache is dropped from there before it is used again.
    // Moves on every change of the lines and every fold mark change a view reports, so a
    // view's index over the lines knows when to rebuild.
    std::uint64_t ChangeStamp() const { return FChangeStamp; }
    void NoteFoldChanged() { ++FChangeStamp; }
    int TakeFirstChanged() { const int first = FFirstChanged; FFirstChanged = INT_MAX; return first; }

    std::wstring Get(int index) const override;
    // The stored text of a line without a copy; valid until the line list changes.
    std::wstring_view View(int index) const { CheckIndex(index); return FStore.Text(index); }
    void Put(int index, const std::wstring& s) override;
    // Replaces `count` characters of line `index` from `column` on by `text`, as Put of the
    // changed line would (a column beyond the end pads the line with blanks first), without
    // copying the rest of the line.
    void ReplaceChars(int index, int column, int count, std::wstring_view text);
    ClassLib::TObject* GetObject(int index) const override;
    void PutObject(int index, ClassLib::TObject* object) override;

    int Add(const std::wstring& s) override;
    int AddObject(const std::wstring& s, ClassLib::TObject* object) override;
    int DoAdd(const std::wstring& s) { return Add(s); }
    void Insert(int index, const std::wstring& s) override;
    // Paths that bypass Put and Insert still mark where the text changed.
    void InsertObject(int index, const std::wstring& s, ClassLib::TObject* object) override;
    void Exchange(int index1, int index2) override;
    void CustomSort(const ClassLib::TStringListSortCompare& compare) override;
    void DoInsert(int index, const std::wstring& s);
    void Delete(int index) override;
    // Takes a line out without telling the watcher: for the view's own editing commands,
    // which keep caret and marks right themselves.
    void RemoveLine(int index);
    void Clear() override;
    void ClearStrings();
    void AddStrings(const ClassLib::TStrings* strings) override;
    void Assign(const ClassLib::TPersistent* source) override;
    void SetText(const std::wstring& text) override;
    // SetText for a text the caller gives up: without tabs to expand its buffer is kept as is.
    void TakeText(std::wstring&& text);
    // SetText for lines the caller built in a store of its own, which gets the replaced lines
    // back (to recycle their memory): the lines must hold no tab and no break, as a whole
    // text split and expanded would give them.
    void TakeLines(TLineStore& lines);
    int RealCount() const;

    void LoadFromStream(ClassLib::TStream* stream) override;
    void LoadFromFile(const std::wstring& fileName) override;
    void SaveToStream(ClassLib::TStream* stream) override;
    void SaveToFile(const std::wstring& fileName) override;

    TLineProp* GetLineProp(int index) const;
    TLineProp* CreateLineProp(int index);
    void SetLineProp(int index, TLineProp* prop);
    void FreeLineProps();
    // The view's own row rebuild (word wrap): new lines without properties, reported to nobody.
    void ReplaceLines(const std::vector<std::wstring>& lines);
    const std::vector<TLineProp*>& LinesProp() const { return FLinesProp; }
    // Hands every line's properties (or bare object) to the caller and forgets them; properties
    // of lines that no longer exist are freed.
    std::vector<TLineCarry> DetachLineProps();
    // Gives a line properties taken with DetachLineProps (or a bare object back).
    void AdoptLine(int index, const TLineCarry& carry);

    TLineLengths ListLengths() const { return TLineLengths(FStore); }
    int MaxLineLength() const;
    void RebuildLengths();

protected:
    int GetCount() const override { return FStore.Count(); }
    void SetUpdateState(bool updating) override;
    std::wstring GetTextStr() const override;
    void SetTextStr(const std::wstring& text) override;
    void InsertItem(int index, const std::wstring& s, ClassLib::TObject* object) override;

private:
    void NoteChanged(int index) {
        ++FChangeStamp;
        if (index < FFirstChanged) FFirstChanged = index < 0 ? 0 : index;
        // The view's own row rebuilds (word wrap) change no text and set up the view themselves.
        if (FLockCount > 0 && !FNoObjCreate) FChangedInUpdate = true;
    }
    void Load(ClassLib::TStream* stream, bool fromFile);
    // The text as single bytes when it is all ASCII; false, with the stream's bytes from where
    // it started left to be written over, when it is not.
    bool WriteAscii(ClassLib::TStream& stream) const;
    // Replaces every line with the lines of a whole text (a load, Text set) in one pass;
    // tabs are expanded when a view watches. The byte form takes ASCII only.
    template <typename TText>
    void SetAllLines(const TText& text);
    // Clears the lines and lets `fill` put the new ones straight into the store, as one change.
    // The old lines go to `keepOld` when given, else they are freed.
    template <typename TFill>
    void RefillLines(TFill&& fill, TLineStore* keepOld = nullptr);
    // Clear, and ClearStrings, with the same choice for the old lines.
    void ClearLines(TLineStore* keep);
    void DropLines(TLineStore* keep);
    void StoreSlotRaw(int index, ClassLib::TObject* object) { FStore.SetObject(index, object); }
    ClassLib::TObject* SlotRaw(int index) const { return FStore.Object(index); }
    void StoreText(int index, std::wstring_view s);
    void CheckIndex(int index) const;
    void NoteLength(int oldLength, int newLength);
    void DeleteOwnedObject(int index);

    ILinesWatcher* FWatcher = nullptr;
    int FLockCount = 0;
    bool FDeleting = false;  // a deletion told to the watcher is under way; nested ones remove plainly
    bool FNoObjCreate = false;
    bool FChangedInUpdate = false;  // text changed while FLockCount was above 0
    int FFirstChanged = 0;
    std::uint64_t FChangeStamp = 0;
    std::vector<TLineProp*> FLinesProp;  // owning: every property object made for this list
    TLineStore FStore;  // the lines; the base list's own storage stays empty
    mutable int FMaxLength = 0;  // invariant: the longest line's length unless FMaxDirty
    mutable int FMaxCount = 0;  // invariant: the lines FMaxLength long unless FMaxDirty
    mutable bool FMaxDirty = false;
};

#pragma pop_macro("GetObject")

}  // namespace AdvMemo
