#pragma once
// The rows of a dock panel: which toolbar sits in which row, where along it and how long,
// how a row pushes, squeezes and passes its toolbars, and how a toolbar moves across rows.
// Window-free: a toolbar is seen through IDockMember and the panel through IDockRowsHost,
// in row terms (position and length along the row, cross position and thickness across
// it), so the same steps serve horizontal and vertical rows.
#include <functional>
#include <memory>
#include <string>
#include <vector>


namespace AdvToolBar {

// A docked toolbar as the rows see it. Every Set* here is a guarded change: the toolbar
// applies it without handing it back to its panel.
class IDockMember {
public:
    virtual int Pos() const = 0;        // along the row (Left, or Top in a vertical row)
    virtual int Len() const = 0;        // Width, or Height
    virtual int Cross() const = 0;      // Top, or Left
    virtual int Thick() const = 0;      // Height, or Width
    virtual int MinLen() const = 0;
    virtual int MaxLen() const = 0;
    virtual bool FullSize() const = 0;
    virtual bool IsVisible() const = 0;
    virtual bool IsLoading() const { return false; }
    virtual int Row() const = 0;
    virtual void SetRow(int row) = 0;
    virtual void Place(int pos, int len) = 0;
    virtual void SetCross(int cross) = 0;
    virtual void SetThick(int thick) = 0;
    // The length limits; min first, so a full-size toolbar can take any length.
    virtual void SetLengthLimits(int minLen, int maxLen) = 0;
    // A full-size toolbar got the row's length: it recounts what it hides.
    virtual void FullSizeApplied() {}

protected:
    ~IDockMember() = default;
};

// What the rows ask of their dock panel.
class IDockRowsHost {
public:
    virtual bool Vertical() const = 0;
    // The panel's extent along the rows (Width, or Height).
    virtual int RowAreaLength() const = 0;
    // The panel's inset of every row from both panel ends along the rows.
    virtual int RowInset() const { return 1; }
    // False on a height-locked panel at run time after loading.
    virtual bool RowsMayChange() const = 0;
    virtual bool LockHeight() const { return false; }
    virtual bool Designing() const { return false; }
    // Called after every full row layout: the panel follows the rows' extent.
    virtual void RowsLaidOut() {}

protected:
    ~IDockRowsHost() = default;
};

// A row's rectangle in row terms (panel coordinates).
struct TRowRect {
    int Start = 0, End = 0;            // along: Left..Right (vertical rows: Top..Bottom)
    int CrossStart = 0, CrossEnd = 0;  // across: Top..Bottom (vertical rows: Left..Right)
};

class TRowCollection;

class TRowCollectionItem {
public:
    explicit TRowCollectionItem(TRowCollection* collection) : FCollection(collection) {}
    TRowCollectionItem(const TRowCollectionItem&) = delete;
    TRowCollectionItem& operator=(const TRowCollectionItem&) = delete;

    int Index() const;
    int Count() const { return int(FToolBarList.size()); }
    IDockMember* ToolBars(int index) const { return FToolBarList.at(size_t(index)); }
    const std::vector<IDockMember*>& ToolBarList() const { return FToolBarList; }
    int IndexOf(const IDockMember* member) const;
    const TRowRect& RowRect() const { return FRowRect; }
    void SetRowRect(const TRowRect& rect) { FRowRect = rect; }
    // The largest thickness of its toolbars, at least 26.
    int Height() const;
    // Free pixels between a and b (null a: from the row start; null b: to the row end),
    // the spacing already taken off; negative for an overlap.
    int GetSpace(const IDockMember* a, const IDockMember* b) const;
    // A full-size first toolbar takes nothing more; a full-size toolbar only an empty row.
    bool IsAllowed(const IDockMember* member) const;

    // Appends a toolbar; its index in the row, or -1 when it is there or not allowed.
    int AddToolBar(IDockMember* member);
    // Inserts by position; true when it went before another, false when appended or refused.
    bool InsertToolBar(IDockMember* member);
    void RemoveToolBar(IDockMember* member, bool deleteIfEmpty);
    // Keeps the toolbars in order, spaced, inside the row as far as their minimum lengths
    // allow, and gives length back wherever there is free space.
    void ArrangeToolBars();
    // A toolbar dragged or resized along its row (horizontal rows: Left and Width; vertical
    // rows: Top and Height); the request comes back as the row leaves it. The other
    // orientation's call does nothing. "Invalid ToolBar Index" for a toolbar not here.
    void SetToolBarLeftAndWidth(IDockMember* member, int& left, int& width);
    void SetToolBarTopAndHeight(IDockMember* member, int& top, int& height);
    bool NeedsArrange() const;

    // Test support: the toolbars' order in the list.
    std::vector<IDockMember*>& MutableList() { return FToolBarList; }

private:
    friend class TRowCollection;
    void MoveAlong(IDockMember* member, int& pos, int& len, bool vertical);
    int Spacing() const;
    int SpaceAfter(int index) const;
    int SpaceBefore(int index) const;
    void Shift(int from, int to, int by);  // moves members from..to along by `by`
    void ResolveOverlap(int c, int& e);

    TRowCollection* FCollection;
    std::vector<IDockMember*> FToolBarList;
    TRowRect FRowRect;
};

class TRowCollection {
public:
    explicit TRowCollection(IDockRowsHost* host) : FHost(host) {}
    TRowCollection(const TRowCollection&) = delete;
    TRowCollection& operator=(const TRowCollection&) = delete;

    int Count() const { return int(FItems.size()); }
    TRowCollectionItem* Items(int index) const { return FItems.at(size_t(index)).get(); }
    IDockRowsHost* Host() const { return FHost; }
    int OffSetX() const { return FOffSetX; }  // the spacing between toolbars and at the row ends
    int OffSetY() const { return FOffSetY; }  // the gap before the first row and between rows

    TRowCollectionItem* Add();
    TRowCollectionItem* Insert(int index);
    void Delete(int index);
    // Every row, each raising OnDeleteItem; no layout.
    void Clear();
    int IndexOf(const TRowCollectionItem* row) const;
    int IsToolBarAlreadyAdded(const IDockMember* member) const;
    // "Invalid Row Index" outside the rows; otherwise moves the toolbar when the row allows it.
    void MoveToolBarToRow(IDockMember* member, int rowIndex);
    // A toolbar dragged across rows: may open a row before or after its own, or move to the
    // row under the request; the cross position comes back snapped to its row.
    void SetToolBarTopAndHeight(IDockMember* member, int& top, int& height);
    void SetToolBarLeftAndWidth(IDockMember* member, int& left, int& width);
    void DeleteRowIfEmpty(TRowCollectionItem* row);
    void UpdateRows();
    void PackRows();
    void GiveToolBarOwnRow(IDockMember* member);
    void UpdateToolBarVisibility(IDockMember* member);
    // For a locked panel: the first row that allows the toolbar, from the last row when
    // fromLast, else from the first; -1 when none.
    int FindRowFor(const IDockMember* member, bool fromLast) const;
    // The extent of the rows across: the last row's far edge, or -1 without rows.
    int RowsExtent() const;

    std::function<void(TRowCollection* sender, int index)> OnDeleteItem;
    std::function<void(TRowCollection* sender)> OnChange;  // never raised by the rows

    // Every invariant of the rows: each member in one row, its Row() that row's index.
    bool CheckInvariants(std::wstring* why = nullptr) const;

private:
    void MoveAcross(IDockMember* member, int& cross, int& thick, bool vertical);
    void LeaveForNewRow(IDockMember* member, TRowCollectionItem* from, int newIndex);

    IDockRowsHost* FHost;
    std::vector<std::unique_ptr<TRowCollectionItem>> FItems;
    int FOffSetY = 1;
    int FOffSetX = 2;
};

}  // namespace AdvToolBar
