#include "toolbars/AdvDockRows.h"

#include <algorithm>

#include "classlib/Exceptions.h"

namespace AdvToolBar {

using ClassLib::Exception;

namespace {

constexpr int MinRowHeight = 26;  // not scaled: the rows' own unit

// A toolbar without length limits (maximum 0) would give negative amounts: they count as 0.
int Growable(const IDockMember* m) { return std::max(0, m->MaxLen() - m->Len()); }
int Shrinkable(const IDockMember* m) { return std::max(0, m->Len() - m->MinLen()); }
void Grow(IDockMember* m, int by) { m->Place(m->Pos(), m->Len() + by); }

}  // namespace

// ---------------------------------------------------------------- one row

int TRowCollectionItem::Index() const { return FCollection->IndexOf(this); }

int TRowCollectionItem::IndexOf(const IDockMember* member) const {
    const auto it = std::find(FToolBarList.begin(), FToolBarList.end(), member);
    return it == FToolBarList.end() ? -1 : int(it - FToolBarList.begin());
}

int TRowCollectionItem::Spacing() const { return FCollection->OffSetX(); }

int TRowCollectionItem::Height() const {
    int height = MinRowHeight;
    for (const IDockMember* m : FToolBarList) height = std::max(height, m->Thick());
    return height;
}

int TRowCollectionItem::GetSpace(const IDockMember* a, const IDockMember* b) const {
    const int d = Spacing();
    if (a && b) return b->Pos() - a->Pos() - a->Len() - d;
    if (a) return FRowRect.End - a->Pos() - a->Len() - d;
    if (b) return b->Pos() - FRowRect.Start - d;
    return 0;
}

int TRowCollectionItem::SpaceAfter(int index) const {
    const IDockMember* next = index + 1 < Count() ? FToolBarList[size_t(index + 1)] : nullptr;
    return GetSpace(FToolBarList[size_t(index)], next);
}

int TRowCollectionItem::SpaceBefore(int index) const {
    if (index == 0) return GetSpace(nullptr, FToolBarList[0]);
    return GetSpace(FToolBarList[size_t(index - 1)], FToolBarList[size_t(index)]);
}

void TRowCollectionItem::Shift(int from, int to, int by) {
    for (int k = from; k <= to; ++k) {
        IDockMember* m = FToolBarList[size_t(k)];
        m->Place(m->Pos() + by, m->Len());
    }
}

bool TRowCollectionItem::IsAllowed(const IDockMember* member) const {
    if (!FToolBarList.empty() && FToolBarList.front()->FullSize()) return false;
    if (member->FullSize()) return FToolBarList.empty();
    return true;
}

int TRowCollectionItem::AddToolBar(IDockMember* member) {
    if (!member || IndexOf(member) >= 0 || !IsAllowed(member)) return -1;
    const int d = Spacing();
    FToolBarList.push_back(member);
    const int result = Count() - 1;
    if (member->FullSize()) {
        const int v = FRowRect.End - FRowRect.Start - 2 * d;
        member->SetLengthLimits(0, member->MaxLen());
        member->SetLengthLimits(v, v);
        member->Place(member->Pos(), v);
        member->FullSizeApplied();
    } else if (!FCollection->Host()->Vertical()) {
        const IDockMember* prev = result > 0 ? FToolBarList[size_t(result - 1)] : nullptr;
        member->Place((prev ? prev->Pos() + prev->Len() : FRowRect.Start) + d, member->Len());
    } else if (result == 0) {
        // A vertical row fills from its far end (the bottom), as the form's edge is there.
        member->Place(FRowRect.End - member->Len() - d, member->Len());
    } else {
        const IDockMember* prev = FToolBarList[size_t(result - 1)];
        member->Place(prev->Pos() + prev->Len() + d, member->Len());
    }
    member->SetRow(Index());
    FCollection->UpdateRows();
    return result;
}

bool TRowCollectionItem::InsertToolBar(IDockMember* member) {
    if (!member || IndexOf(member) >= 0 || member->FullSize() || !IsAllowed(member)) return false;
    const auto at = std::find_if(FToolBarList.begin(), FToolBarList.end(),
                                 [member](const IDockMember* m) { return m->Pos() > member->Pos(); });
    const bool before = at != FToolBarList.end();
    FToolBarList.insert(at, member);
    member->SetRow(Index());
    FCollection->UpdateRows();
    return before;
}

void TRowCollectionItem::RemoveToolBar(IDockMember* member, bool deleteIfEmpty) {
    const int index = IndexOf(member);
    if (index < 0) return;
    FToolBarList.erase(FToolBarList.begin() + index);
    ArrangeToolBars();
    if (deleteIfEmpty) FCollection->DeleteRowIfEmpty(this);
}

// Tc overlaps its successor or the row end by -e: first the free space before Tc and its
// left neighbours is used, then their spare length.
void TRowCollectionItem::ResolveOverlap(int c, int& e) {
    for (int f = c; f >= 0 && e < 0; --f) {
        const int g = std::min(SpaceBefore(f), -e);
        if (g > 0) {
            Shift(f, c, -g);
            e += g;
        }
    }
    for (int f = c; f >= 0 && e < 0; --f) {
        const int g = std::min(Shrinkable(FToolBarList[size_t(f)]), -e);
        if (g > 0) {
            Grow(FToolBarList[size_t(f)], -g);
            Shift(f + 1, c, -g);
            e += g;
        }
    }
}

void TRowCollectionItem::ArrangeToolBars() {
    const int n = Count();
    const int d = Spacing();
    const bool vertical = FCollection->Host()->Vertical();
    const int index = Index();
    for (int c = 0; c < n; ++c) {
        IDockMember* tc = FToolBarList[size_t(c)];
        tc->SetCross(FRowRect.CrossStart);
        if (tc->Row() != index) tc->SetRow(index);
        if (c == 0 && tc->FullSize()) {
            const int v = FRowRect.End - FRowRect.Start - 2 * d;
            tc->SetLengthLimits(0, tc->MaxLen());
            tc->SetLengthLimits(v, v);
            tc->Place(FRowRect.Start + d, v);
            break;
        }
        int e = SpaceAfter(c);
        if (e > 0) {
            for (int f = c; f >= 0 && e > 0; --f) {
                const int g = std::min(Growable(FToolBarList[size_t(f)]), e);
                if (g > 0) {
                    Grow(FToolBarList[size_t(f)], g);
                    Shift(f + 1, c, g);
                    e -= g;
                }
            }
            if (!vertical) {
                // Growing in place may overlap the successor: later values of c resolve it.
                for (int g = c + 1; g < n && e > 0; ++g) {
                    const int h = std::min(Growable(FToolBarList[size_t(g)]), e);
                    if (h > 0) {
                        Grow(FToolBarList[size_t(g)], h);
                        e -= h;
                    }
                }
            }
        } else if (e < 0) {
            ResolveOverlap(c, e);
        }
        int r = Growable(tc);
        for (int g = c; g >= 0 && r > 0; --g) {
            const int h = std::min(SpaceBefore(g), r);
            if (h > 0) {
                Shift(g, c, -h);
                Grow(tc, h);
                r -= h;
            }
        }
    }
    for (int k = 0; k < n; ++k) {
        if (k == 0) {
            const int before = SpaceBefore(0);
            if (before < 0) Shift(0, 0, -before);
        }
        if (k == n - 1) {
            int e = SpaceAfter(k);
            if (e < 0) ResolveOverlap(k, e);
        } else {
            const int s = SpaceAfter(k);
            if (s < 0) Shift(k + 1, k + 1, -s);
        }
    }
}

bool TRowCollectionItem::NeedsArrange() const {
    const int d = Spacing();
    int total = 0;
    for (int k = 0; k < Count(); ++k) {
        const IDockMember* m = FToolBarList[size_t(k)];
        if (k == 0 && m->FullSize())
            return m->Len() != FRowRect.End - FRowRect.Start - 2 * d || m->Pos() != FRowRect.Start + d;
        const int s = SpaceAfter(k);
        if (s < 0) return true;
        total += s;
    }
    if (total < 1) return false;
    return std::any_of(FToolBarList.begin(), FToolBarList.end(), [](const IDockMember* m) { return Growable(m) > 0; });
}

void TRowCollectionItem::SetToolBarLeftAndWidth(IDockMember* member, int& left, int& width) {
    if (FCollection->Host()->Vertical()) return;
    MoveAlong(member, left, width, false);
}

void TRowCollectionItem::SetToolBarTopAndHeight(IDockMember* member, int& top, int& height) {
    if (!FCollection->Host()->Vertical()) return;
    MoveAlong(member, top, height, true);
}

void TRowCollectionItem::MoveAlong(IDockMember* member, int& pos, int& len, bool vertical) {
    const int i = IndexOf(member);
    if (i < 0) throw Exception(L"Invalid ToolBar Index");
    const int n = Count();
    const int d = Spacing();
    const int p = member->Pos();
    const int l = member->Len();
    auto sumGrowable = [this](int from, int to) {
        int sum = 0;
        for (int k = from; k <= to; ++k) sum += Growable(FToolBarList[size_t(k)]);
        return sum;
    };
    auto sumSpaceBefore = [this](int to) {
        int sum = 0;
        for (int k = 0; k <= to; ++k) sum += SpaceBefore(k);
        return sum;
    };
    if (pos < p) {
        pos = std::max(pos, FRowRect.Start + d);
        if (i == 0) return;
        int b = p - pos;
        // Push the left neighbours into the free space before them, nearest gap first.
        for (int f = i; f >= 0 && b > 0; --f) {
            int g = SpaceBefore(f);
            if (g > 0) {
                g = std::min(g, b);
                b -= g;
                Shift(f, i, -g);
            }
        }
        // Then the left neighbours give up length, which T and those after it take.
        if (b > 0 && SpaceAfter(n - 1) <= 0) {
            for (int f = i - 1; f >= 0 && b > 0; --f) {
                const int x = std::min({Shrinkable(FToolBarList[size_t(f)]), b, sumGrowable(i, n - 1)});
                b -= x;
                if (x <= 0) continue;
                Grow(FToolBarList[size_t(f)], -x);
                Shift(f + 1, i - 1, -x);
                int left = x;
                for (int h = i; h < n && left > 0; ++h) {
                    IDockMember* th = FToolBarList[size_t(h)];
                    const int m = std::min(Growable(th), left);
                    if (m > 0) {
                        th->Place(th->Pos() - m, th->Len() + m);
                        Shift(i, h - 1, -m);
                        left -= m;
                    }
                }
            }
        }
        // Reaching within 5 px of the left neighbour's start swaps the two.
        if (b > 0 && !member->IsLoading()) {
            const IDockMember* neighbour = FToolBarList[size_t(i - 1)];
            if (neighbour->Pos() + 5 >= member->Pos() - b) {
                std::swap(FToolBarList[size_t(i)], FToolBarList[size_t(i - 1)]);
                ArrangeToolBars();
            }
        }
        pos = member->Pos();
        len = member->Len();
    } else if (pos > p) {
        int c = pos - p;
        // Push the right neighbours into the free space after them, nearest gap first.
        for (int k = i; k < n && c > 0; ++k) {
            int e = SpaceAfter(k);
            if (e > 0) {
                e = std::min(e, c);
                c -= e;
                Shift(i, k, e);
            }
        }
        if (c > 0 && sumSpaceBefore(i) <= 0) {
            c = std::min(c, i > 0 ? sumGrowable(0, i - 1) : 0);
            for (int e = n - 1; e >= i && c > 0; --e) {
                IDockMember* te = FToolBarList[size_t(e)];
                const int g = std::min(Shrinkable(te), c);
                c -= g;
                if (g <= 0) continue;
                te->Place(te->Pos() + g, te->Len() - g);
                Shift(i, e - 1, g);
                int left = g;
                for (int j = i - 1; j >= 0 && left > 0; --j) {
                    const int m = std::min(Growable(FToolBarList[size_t(j)]), left);
                    if (m > 0) {
                        Grow(FToolBarList[size_t(j)], m);
                        Shift(j + 1, i - 1, m);
                        left -= m;
                    }
                }
            }
        }
        pos = member->Pos();
        len = member->Len();
    } else if (len < l) {
        if (n == 1 && !vertical) {
            ArrangeToolBars();
            len = member->Len();
        }
    } else if (len > l) {
        int c = len - l;
        for (int k = i; k < n && c > 0; ++k) {
            int e = SpaceAfter(k);
            if (e > 0) {
                e = std::min(e, c);
                Shift(i + 1, k, e);
                Grow(member, e);
                c -= e;
            }
        }
        if (c > 0 && sumSpaceBefore(i) > 0) {
            for (int k = i; k >= 0 && c > 0; --k) {
                int e = SpaceBefore(k);
                if (e > 0) {
                    e = std::min(e, c);
                    c -= e;
                    Shift(k, i, -e);
                    Grow(member, e);
                }
            }
        }
        pos = member->Pos();
        len = member->Len();
    }
}

// ---------------------------------------------------------------- the rows

TRowCollectionItem* TRowCollection::Add() { return Insert(Count()); }

TRowCollectionItem* TRowCollection::Insert(int index) {
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, std::make_unique<TRowCollectionItem>(this));
    TRowCollectionItem* row = FItems[size_t(index)].get();
    UpdateRows();
    return row;
}

void TRowCollection::Delete(int index) {
    if (index < 0 || index >= Count()) throw Exception(L"Invalid Row Index");
    // The notice goes out while the row is still in place, with its own index.
    if (OnDeleteItem) OnDeleteItem(this, index);
    FItems.erase(FItems.begin() + index);
}

void TRowCollection::Clear() {
    while (Count() > 0) Delete(Count() - 1);
}

int TRowCollection::IndexOf(const TRowCollectionItem* row) const {
    for (int k = 0; k < Count(); ++k)
        if (FItems[size_t(k)].get() == row) return k;
    return -1;
}

int TRowCollection::IsToolBarAlreadyAdded(const IDockMember* member) const {
    for (int k = 0; k < Count(); ++k)
        if (FItems[size_t(k)]->IndexOf(member) >= 0) return k;
    return -1;
}

void TRowCollection::MoveToolBarToRow(IDockMember* member, int rowIndex) {
    if (rowIndex < 0 || rowIndex >= Count()) throw Exception(L"Invalid Row Index");
    if (!member || rowIndex == member->Row()) return;
    TRowCollectionItem* target = Items(rowIndex);
    if (!target->IsAllowed(member)) return;
    TRowCollectionItem* old = member->Row() >= 0 && member->Row() < Count() ? Items(member->Row()) : nullptr;
    if (old) old->RemoveToolBar(member, false);
    target->AddToolBar(member);
    if (old) DeleteRowIfEmpty(old);
}

void TRowCollection::DeleteRowIfEmpty(TRowCollectionItem* row) {
    if (!row || row->Count() > 0 || !FHost->RowsMayChange()) return;
    const int index = IndexOf(row);
    if (index < 0) return;
    Delete(index);
    UpdateRows();
}

void TRowCollection::UpdateRows() {
    const bool vertical = FHost->Vertical();
    const int inset = FHost->RowInset();
    const int length = FHost->RowAreaLength();
    int at = FOffSetY;
    for (const auto& row : FItems) {
        const int h = row->Height();
        row->SetRowRect({inset, length - inset, at, at + h + FOffSetY});
        row->ArrangeToolBars();
        at += row->Height() + FOffSetY;
    }
    (void)vertical;
    FHost->RowsLaidOut();
}

void TRowCollection::PackRows() {
    const int d = FOffSetX;
    for (const auto& row : FItems) {
        row->ArrangeToolBars();
        const IDockMember* prev = nullptr;
        for (IDockMember* m : row->ToolBarList()) {
            if (!m->IsVisible()) continue;
            m->Place(prev ? prev->Pos() + prev->Len() + d : row->RowRect().Start + d, m->Len());
            prev = m;
        }
    }
}

void TRowCollection::GiveToolBarOwnRow(IDockMember* member) {
    if (!member || member->Row() < 0 || member->Row() >= Count()) return;
    const int index = member->Row();
    Items(index)->RemoveToolBar(member, true);
    TRowCollectionItem* row = Insert(std::min(index, Count()));
    row->AddToolBar(member);
    row->ArrangeToolBars();
}

void TRowCollection::UpdateToolBarVisibility(IDockMember* member) {
    if (!member) return;
    const int row = member->Row();
    const bool validRow = row >= 0 && row < Count();
    if (!member->IsVisible()) {
        if (validRow) Items(row)->RemoveToolBar(member, true);
        return;
    }
    if (IsToolBarAlreadyAdded(member) >= 0) return;
    const bool intoFormer = validRow && Items(row)->IsAllowed(member) && !FHost->Designing();
    if (FHost->LockHeight() && Count() > 0) {
        if (intoFormer) Items(row)->InsertToolBar(member);
        else Items(Count() - 1)->AddToolBar(member);
    } else if (intoFormer) {
        Items(row)->InsertToolBar(member);
    } else {
        Add()->AddToolBar(member);
    }
}

int TRowCollection::FindRowFor(const IDockMember* member, bool fromLast) const {
    for (int k = 0; k < Count(); ++k) {
        const int index = fromLast ? Count() - 1 - k : k;
        if (Items(index)->IsAllowed(member)) return index;
    }
    return -1;
}

int TRowCollection::RowsExtent() const { return FItems.empty() ? -1 : FItems.back()->RowRect().CrossEnd; }

void TRowCollection::SetToolBarTopAndHeight(IDockMember* member, int& top, int& height) {
    if (FHost->Vertical()) return;
    MoveAcross(member, top, height, false);
}

void TRowCollection::SetToolBarLeftAndWidth(IDockMember* member, int& left, int& width) {
    if (!FHost->Vertical()) return;
    MoveAcross(member, left, width, true);
}

void TRowCollection::LeaveForNewRow(IDockMember* member, TRowCollectionItem* from, int newIndex) {
    from->RemoveToolBar(member, false);
    Insert(newIndex)->AddToolBar(member);
    DeleteRowIfEmpty(from);
}

void TRowCollection::MoveAcross(IDockMember* member, int& cross, int& thick, bool vertical) {
    const int rowIndex = member->Row();
    if (rowIndex < 0 || rowIndex >= Count()) return;
    TRowCollectionItem* row = Items(rowIndex);
    const TRowRect r = row->RowRect();
    const int k = row->Count();
    const bool mayChange = FHost->RowsMayChange();
    if (cross >= r.CrossStart - 5 && cross <= r.CrossStart - 3 && k >= 2) {
        if (mayChange) LeaveForNewRow(member, row, rowIndex);
        cross = member->Cross();
    } else if (cross < r.CrossStart - 6 && rowIndex > 0) {
        // Vertical rows search only the rows before; none after can hold a smaller Left.
        const int last = vertical ? rowIndex : Count();
        for (int t = 0; t < last; ++t) {
            if (t == rowIndex) continue;
            TRowCollectionItem* target = Items(t);
            if (target->RowRect().CrossStart <= cross && cross < target->RowRect().CrossEnd) {
                if (target->IsAllowed(member)) MoveToolBarToRow(member, t);
                else if (mayChange) LeaveForNewRow(member, row, t);
                break;
            }
        }
        cross = member->Cross();
    } else if (cross >= r.CrossStart + 3 && cross <= r.CrossStart + 5 && k >= 2) {
        if (mayChange) LeaveForNewRow(member, row, rowIndex + 1);
        cross = member->Cross();
    } else if (cross > r.CrossStart + 5 && rowIndex < Count() - 1) {
        for (int t = rowIndex + 1; t < Count(); ++t) {
            TRowCollectionItem* target = Items(t);
            if (target->RowRect().CrossEnd > cross) {
                if (target->IsAllowed(member)) MoveToolBarToRow(member, t);
                else if (mayChange) LeaveForNewRow(member, row, t + 1);
                break;
            }
        }
        cross = member->Cross();
    } else {
        if (!vertical && FHost->Designing() && cross > r.CrossStart + 5 && rowIndex == Count() - 1 && k > 1)
            LeaveForNewRow(member, row, Count());
        const int now = member->Row();
        cross = now >= 0 && now < Count() ? Items(now)->RowRect().CrossStart : r.CrossStart;
    }
    if (thick != member->Thick()) {
        member->SetThick(thick);
        UpdateRows();
    }
}

bool TRowCollection::CheckInvariants(std::wstring* why) const {
    auto fail = [why](const std::wstring& text) {
        if (why) *why = text;
        return false;
    };
    std::vector<const IDockMember*> seen;
    for (int r = 0; r < Count(); ++r)
        for (const IDockMember* m : Items(r)->ToolBarList()) {
            if (std::find(seen.begin(), seen.end(), m) != seen.end()) return fail(L"a toolbar in two rows");
            seen.push_back(m);
            if (m->Row() != r) return fail(L"a toolbar's row index differs from its row");
        }
    return true;
}

}  // namespace AdvToolBar
