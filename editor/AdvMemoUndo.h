#pragma once
// Undo steps of the code editor and the bounded list that keeps them. The list works without
// the editor: it reports to an IUndoWatcher, which replays the steps on the editor's text.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace AdvMemo {

class TAdvCustomMemo;
class TUndo;

// What an undo list tells the editor it belongs to, which replays the steps on its text.
class IUndoWatcher {
public:
    // Whether undo and redo are possible now.
    virtual void UndoStateChanged(bool canUndo, bool canRedo) = 0;
    // A replay of steps starts, and ends; `completed` is false when a step failed.
    virtual void ReplayStarting(bool redo) = 0;
    virtual void ReplayEnded(bool redo, bool completed) = 0;
    // Replays one step on the text (its Undo or its Redo).
    virtual void Replay(TUndo& step, bool redo) = 0;

protected:
    ~IUndoWatcher() = default;
};

// One reversible edit. The caret positions are those before (X0, Y0) and after (X, Y) the edit;
// UndoCurY -1 means the step does not move the caret.
class TUndo {
public:
    TUndo(int aCurX0, const std::wstring& aText, int aCurY, int aCurX, int aCurY0);
    virtual ~TUndo() = default;

    // Typing makes and drops a step on nearly every keystroke (a new one, or one merged into
    // the newest and freed): their memory is kept for the next step instead of the heap's.
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    // Merges a newer step into this one; true when merged (the caller then frees the newer step).
    virtual bool Append(TUndo* newUndo);
    virtual void PerformUndo(TAdvCustomMemo& memo) = 0;
    virtual void PerformRedo(TAdvCustomMemo& memo) = 0;
    // A copy that shares nothing with this step (lists never share steps).
    virtual std::unique_ptr<TUndo> Clone() const = 0;

    // The step on the memo's text: the caret is placed, the edit reversed or repeated, the
    // caret placed again, with the lines joined meanwhile when word wrap is on.
    void Undo(TAdvCustomMemo& memo);
    void Redo(TAdvCustomMemo& memo);

    void PosBefore(int& x, int& y) const { x = FUndoCurX0; y = FUndoCurY0; }
    void PosAfter(int& x, int& y) const { x = FUndoCurX; y = FUndoCurY; }

    int UndoCurX0() const { return FUndoCurX0; }
    int UndoCurY0() const { return FUndoCurY0; }
    int UndoCurX() const { return FUndoCurX; }
    int UndoCurY() const { return FUndoCurY; }
    const std::wstring& UndoText() const { return FUndoText; }
    bool LinkedUndo() const { return FLinkedUndo; }
    void SetLinkedUndo(bool value) { FLinkedUndo = value; }

protected:
    int FUndoCurX0;
    int FUndoCurY0;
    int FUndoCurX;
    int FUndoCurY;
    std::wstring FUndoText;
    bool FLinkedUndo = false;
};

template <class T, class Base = TUndo>
class TUndoClone : public Base {
public:
    using Base::Base;
    std::unique_ptr<TUndo> Clone() const override { return std::make_unique<T>(static_cast<const T&>(*this)); }
};

class TInsertCharUndo : public TUndoClone<TInsertCharUndo> {
public:
    using TUndoClone::TUndoClone;
    bool Append(TUndo* newUndo) override;
    void PerformUndo(TAdvCustomMemo& memo) override;
    void PerformRedo(TAdvCustomMemo& memo) override;
};

class TNewLineUndo : public TUndoClone<TNewLineUndo> {
public:
    using TUndoClone::TUndoClone;
    bool Append(TUndo* newUndo) override;
    void PerformUndo(TAdvCustomMemo& memo) override;
    void PerformRedo(TAdvCustomMemo& memo) override;
};

class TOverwriteCharUndo : public TUndoClone<TOverwriteCharUndo> {
public:
    using TUndoClone::TUndoClone;
    void PerformUndo(TAdvCustomMemo& memo) override;
    void PerformRedo(TAdvCustomMemo& memo) override;
};

class TDeleteCharUndo : public TUndoClone<TDeleteCharUndo> {
public:
    TDeleteCharUndo(int aCurX0, const std::wstring& aText, int aCurY, int aCurX, int aCurY0, bool isBackspace)
        : TUndoClone(aCurX0, aText, aCurY, aCurX, aCurY0), FIsBackspace(isBackspace) {}
    bool Append(TUndo* newUndo) override;
    void PerformUndo(TAdvCustomMemo& memo) override;
    void PerformRedo(TAdvCustomMemo& memo) override;
    bool IsBackspace() const { return FIsBackspace; }

private:
    bool FIsBackspace;
};

// Where the deleted line stood decides how undo puts it back: a middle line goes in before the
// caret line, the last line after it, and the only line (which was emptied) in place.
class TDeleteLineUndo : public TUndoClone<TDeleteLineUndo> {
public:
    enum TKind { dlMiddle, dlLast, dlOnly };
    TDeleteLineUndo(int aCurX0, const std::wstring& aText, int aCurY, int aCurX, int aCurY0, TKind kind = dlMiddle)
        : TUndoClone(aCurX0, aText, aCurY, aCurX, aCurY0), FKind(kind) {}
    void PerformUndo(TAdvCustomMemo& memo) override;
    void PerformRedo(TAdvCustomMemo& memo) override;

private:
    TKind FKind;
};

class TSelUndo : public TUndo {
public:
    TSelUndo(int aCurX0, const std::wstring& aText, int aCurY, int aCurX, int aCurY0,
             int selStartX, int selStartY, int selEndX, int selEndY)
        : TUndo(aCurX0, aText, aCurY, aCurX, aCurY0), FUndoSelStartX(selStartX), FUndoSelStartY(selStartY),
          FUndoSelEndX(selEndX), FUndoSelEndY(selEndY) {}
    void PerformUndo(TAdvCustomMemo&) override {}
    void PerformRedo(TAdvCustomMemo&) override {}

protected:
    void ApplySelection(TAdvCustomMemo& memo) const;
    int FUndoSelStartX, FUndoSelStartY, FUndoSelEndX, FUndoSelEndY;
};

class TDeleteBufUndo : public TUndoClone<TDeleteBufUndo, TSelUndo> {
public:
    using TUndoClone::TUndoClone;
    void PerformUndo(TAdvCustomMemo& memo) override;
    void PerformRedo(TAdvCustomMemo& memo) override;
};

class TModifiedUndo : public TUndoClone<TModifiedUndo> {
public:
    explicit TModifiedUndo(int lineIndex) : TUndoClone(-1, L"", -1, -1, -1), FLineIndex(lineIndex) {}
    void PerformUndo(TAdvCustomMemo& memo) override;
    void PerformRedo(TAdvCustomMemo& memo) override;
    int LineIndex() const { return FLineIndex; }

private:
    int FLineIndex;
};

class TPasteUndo : public TUndoClone<TPasteUndo> {
public:
    TPasteUndo(int aCurX0, const std::wstring& aText, int aCurY, int aCurX, int aCurY0, bool linked)
        : TUndoClone(aCurX0, aText, aCurY, aCurX, aCurY0) { FLinkedUndo = linked; }
    void PerformUndo(TAdvCustomMemo& memo) override;
    void PerformRedo(TAdvCustomMemo& memo) override;
};

class TInsertOverwriteUndo : public TUndoClone<TInsertOverwriteUndo> {
public:
    explicit TInsertOverwriteUndo(bool insertMode) : TUndoClone(0, L"", 0, 0, 0), FInsertMode(insertMode) {}
    void PerformUndo(TAdvCustomMemo& memo) override;
    void PerformRedo(TAdvCustomMemo& memo) override;

private:
    bool FInsertMode;
};

class TIndentUndo : public TUndoClone<TIndentUndo> {
public:
    TIndentUndo(int indent, int rowFrom, int rowTo, int curX, int curY)
        : TUndoClone(curX, L"", 0, 0, curY), FIndent(indent), FSelRowFrom(rowFrom), FSelRowTo(rowTo) {}
    void PerformUndo(TAdvCustomMemo& memo) override;
    void PerformRedo(TAdvCustomMemo& memo) override;

private:
    int FIndent, FSelRowFrom, FSelRowTo;
};

class TCorrectUndo : public TUndoClone<TCorrectUndo> {
public:
    TCorrectUndo(int lineNo, const std::wstring& lineBefore) : TUndoClone(-1, lineBefore, -1, -1, -1) { FUndoCurY = lineNo; }
    void PerformUndo(TAdvCustomMemo& memo) override;
    void PerformRedo(TAdvCustomMemo& memo) override;

private:
    void Exchange(TAdvCustomMemo& memo);
};

// Newest step at index 0; Pos steps are currently undone.
class TAdvUndoList {
public:
    TAdvUndoList() = default;
    ~TAdvUndoList();
    TAdvUndoList(const TAdvUndoList&) = delete;
    TAdvUndoList& operator=(const TAdvUndoList&) = delete;

    int Add(std::unique_ptr<TUndo> item);
    // Undoes the newest step still done (and the steps linked to it), or redoes the oldest
    // undone one (and its links), through the watcher; nothing without one.
    void Undo();
    void Redo();
    void Clear();
    void Delete(int index);
    // Puts a line-state step just below the newest one, outside the merge, limit and position rules.
    void InsertBelowNewest(std::unique_ptr<TUndo> item);
    // Copies of the other list's steps are appended to this one, oldest last.
    void AppendCopies(const TAdvUndoList& other);

    int Count() const { return FCount; }
    TUndo* Items(int index) const { return Slot(index).get(); }
    int Pos() const { return FPos; }
    // The editor the list belongs to; null for a list kept aside (a memo source's without a memo).
    IUndoWatcher* Watcher() const { return FWatcher; }
    void SetWatcher(IUndoWatcher* watcher) { FWatcher = watcher; }
    bool IsPerforming() const { return FIsPerforming; }
    void SetIsPerforming(bool value) { FIsPerforming = value; }
    int Limit() const { return FLimit; }
    void SetLimit(int value);

private:
    void UndoChange();
    // The steps stand in a ring, newest first, so that adding one and dropping the oldest
    // moves no other step.
    size_t At(int index) const { return (FHead + static_cast<size_t>(index)) & (FRing.size() - 1); }
    std::unique_ptr<TUndo>& Slot(int index) { return FRing[At(index)]; }
    const std::unique_ptr<TUndo>& Slot(int index) const { return FRing[At(index)]; }
    void PushFront(std::unique_ptr<TUndo> item);
    void PushBack(std::unique_ptr<TUndo> item);
    void PopFront();
    void PopBack();
    void Grow();

    // invariant: FRing.size() is 0 or a power of two, FCount <= FRing.size(), and the slots
    // outside the FCount from FHead on are empty
    std::vector<std::unique_ptr<TUndo>> FRing;
    size_t FHead = 0;
    int FCount = 0;
    int FPos = 0;  // invariant: 0 <= FPos <= Count()
    IUndoWatcher* FWatcher = nullptr;
    bool FIsPerforming = false;
    int FLimit = 100;
};

// Sets the list's performing mark for one scope (nested scopes keep the outer value).
class TUndoPerforming {
public:
    explicit TUndoPerforming(TAdvUndoList& list) : FList(list), FOld(list.IsPerforming()) { list.SetIsPerforming(true); }
    ~TUndoPerforming() { FList.SetIsPerforming(FOld); }
    TUndoPerforming(const TUndoPerforming&) = delete;
    TUndoPerforming& operator=(const TUndoPerforming&) = delete;

private:
    TAdvUndoList& FList;
    bool FOld;
};

}  // namespace AdvMemo
