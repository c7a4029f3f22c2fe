// The dock rows without windows: plain toolbars (position, length, limits) in a plain panel.
#include "toolbars/AdvDockRows.h"

#include <gtest/gtest.h>

#include <random>

#include "classlib/Exceptions.h"

using namespace AdvToolBar;

namespace {

struct TBar : IDockMember {
    int P = 0, L = 100, C = 0, T = 26, Min = 40, Max = 100, R = -1;
    bool Full = false, Shown = true;
    TBar(int len = 100, int minLen = 40) : L(len), Min(minLen), Max(len) {}
    int Pos() const override { return P; }
    int Len() const override { return L; }
    int Cross() const override { return C; }
    int Thick() const override { return T; }
    int MinLen() const override { return Min; }
    int MaxLen() const override { return Max; }
    bool FullSize() const override { return Full; }
    bool IsVisible() const override { return Shown; }
    int Row() const override { return R; }
    void SetRow(int row) override { R = row; }
    void Place(int pos, int len) override { P = pos, L = len; }
    void SetCross(int cross) override { C = cross; }
    void SetThick(int thick) override { T = thick; }
    void SetLengthLimits(int minLen, int maxLen) override { Min = minLen, Max = maxLen; }
};

struct TPanel : IDockRowsHost {
    bool IsVertical = false;
    int Length = 320;
    bool Locked = false;
    int Extent = -1;
    bool Vertical() const override { return IsVertical; }
    int RowAreaLength() const override { return Length; }
    bool RowsMayChange() const override { return !Locked; }
    bool LockHeight() const override { return Locked; }
    void RowsLaidOut() override {}
};

struct Rows : testing::Test {
    TPanel Panel;
    TRowCollection Collection{&Panel};
    TBar A, B, C;

    // Each bar in a row of its own index order: rows[0] gets the first bars, and so on.
    void Fill(std::initializer_list<std::initializer_list<TBar*>> rows) {
        for (auto row : rows) {
            TRowCollectionItem* item = Collection.Add();
            for (TBar* bar : row) item->AddToolBar(bar);
        }
    }
    std::vector<int> Positions(int row = 0) const {
        std::vector<int> out;
        for (IDockMember* m : Collection.Items(row)->ToolBarList()) out.push_back(m->Pos());
        return out;
    }
    std::vector<int> Lengths(int row = 0) const {
        std::vector<int> out;
        for (IDockMember* m : Collection.Items(row)->ToolBarList()) out.push_back(m->Len());
        return out;
    }
    void Resize(int length) {
        Panel.Length = length;
        Collection.UpdateRows();
    }
    void Check() {
        std::wstring why;
        EXPECT_TRUE(Collection.CheckInvariants(&why)) << std::string(why.begin(), why.end());
    }
};

TEST_F(Rows, ShrinkAndGiveBackLengthAsThePanelNarrowsAndWidens) {
    Fill({{&A, &B, &C}});
    EXPECT_EQ(Positions(), (std::vector<int>{3, 105, 207}));
    const TRowRect& r = Collection.Items(0)->RowRect();
    EXPECT_EQ(r.Start, 1);
    EXPECT_EQ(r.End, 319);
    EXPECT_EQ(r.CrossStart, 1);
    EXPECT_EQ(r.CrossEnd, 28);  // one row of 26-px toolbars
    Resize(200);
    EXPECT_EQ(Positions(), (std::vector<int>{3, 105, 157}));
    EXPECT_EQ(Lengths(), (std::vector<int>{100, 50, 40}));
    Resize(320);
    EXPECT_EQ(Positions(), (std::vector<int>{3, 105, 207}));
    EXPECT_EQ(Lengths(), (std::vector<int>{100, 100, 100}));
    Check();
}

TEST_F(Rows, FullSizeToolBarsKeepTheirRowToThemselves) {
    A.Full = true;
    Fill({{&A}});
    EXPECT_EQ(A.Len(), 320 - 2 - 4);
    EXPECT_EQ(A.Min, A.Max);
    EXPECT_EQ(Collection.Items(0)->AddToolBar(&B), -1);  // first is full size
    Fill({{&B}});
    C.Full = true;
    EXPECT_EQ(Collection.Items(1)->AddToolBar(&C), -1);  // full size only into an empty row
    EXPECT_FALSE(Collection.Items(1)->InsertToolBar(&C));
    EXPECT_EQ(Collection.Items(1)->AddToolBar(&B), -1);  // already there
    Check();
}

TEST_F(Rows, VerticalRowsFillFromTheFarEnd) {
    Panel.IsVertical = true;
    Panel.Length = 300;
    Fill({{&A}});
    EXPECT_EQ(A.Pos(), 299 - 100 - 2);  // the first goes to the row's bottom end
    Collection.Items(0)->AddToolBar(&B);
    EXPECT_EQ(B.Pos(), A.Pos() + A.Len() + 2);  // after it; the row pulled A back to make room
    EXPECT_LE(B.Pos() + B.Len(), 299 - 2);
    Check();
}

TEST_F(Rows, InsertByPositionAndRemoveKeepsTheRowIndex) {
    Fill({{&A, &C}});
    B.P = 50;
    EXPECT_TRUE(Collection.Items(0)->InsertToolBar(&B));
    EXPECT_EQ(Collection.Items(0)->IndexOf(&B), 1);
    int deleted = -1;
    Collection.OnDeleteItem = [&](TRowCollection*, int index) { deleted = index; };
    Fill({{}});
    TBar D;
    Collection.Items(1)->AddToolBar(&D);
    Collection.Items(1)->RemoveToolBar(&D, true);
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(Collection.Count(), 1);
    EXPECT_EQ(D.Row(), 1);  // removal leaves the index as it was
}

TEST_F(Rows, NeedsArrangeAndPack) {
    Fill({{&A, &B}});
    EXPECT_FALSE(Collection.Items(0)->NeedsArrange());
    B.P = 50;  // overlaps A
    EXPECT_TRUE(Collection.Items(0)->NeedsArrange());
    Collection.Items(0)->ArrangeToolBars();
    EXPECT_FALSE(Collection.Items(0)->NeedsArrange());
    A.L = 60;  // shorter than it may be with free space after
    EXPECT_TRUE(Collection.Items(0)->NeedsArrange());
    B.P = 200;
    Collection.PackRows();
    EXPECT_EQ(Positions(), (std::vector<int>{3, 105}));
}

TEST_F(Rows, MovingBackInAPackedRowShrinksTheLeftNeighbour) {
    Panel.Length = 310;  // the row ends right after C
    C.Max = 120;         // C could be longer
    Fill({{&A, &B, &C}});
    ASSERT_EQ(Positions(), (std::vector<int>{3, 105, 207}));
    int left = 85, width = 100;
    Collection.Items(0)->SetToolBarLeftAndWidth(&B, left, width);
    // A gives 20 px; C takes them at its start, so B moves back with it.
    EXPECT_EQ(Positions(), (std::vector<int>{3, 85, 187}));
    EXPECT_EQ(Lengths(), (std::vector<int>{80, 100, 120}));
    EXPECT_EQ(left, 85);
    // With free space after the row's last toolbar nothing shrinks: B stays.
    Resize(400);
    const int before = B.Pos();
    left = before - 30;
    Collection.Items(0)->SetToolBarLeftAndWidth(&B, left, width);
    EXPECT_EQ(A.Len(), 100);
    Check();
}

TEST_F(Rows, MovingBackWithinFivePixelsOfTheNeighbourSwaps) {
    Panel.Length = 400;
    Fill({{&A, &B}});
    int left = A.Pos() + 4, width = 100;
    Collection.Items(0)->SetToolBarLeftAndWidth(&B, left, width);
    EXPECT_EQ(Collection.Items(0)->IndexOf(&B), 0);
    EXPECT_EQ(B.Pos(), 3);
    EXPECT_GT(A.Pos(), B.Pos());
    Check();
}

TEST_F(Rows, MovingForwardUsesSpaceThenShrinksTheRightNeighbours) {
    Panel.Length = 400;
    Fill({{&A, &B}});  // 3, 105; free after B: 399 - 205 - 2 = 192
    int left = 50, width = 100;
    Collection.Items(0)->SetToolBarLeftAndWidth(&A, left, width);
    EXPECT_EQ(left, 50);
    EXPECT_EQ(B.Pos(), 152);  // pushed by 47
    // Same position, longer: takes the free space after.
    A.Max = 150;
    left = A.Pos(), width = 130;
    Collection.Items(0)->SetToolBarLeftAndWidth(&A, left, width);
    EXPECT_EQ(width, 130);
    EXPECT_EQ(B.Pos(), 182);
    // Same position, shorter, with neighbours: the request stands, nothing moves.
    left = A.Pos(), width = 90;
    Collection.Items(0)->SetToolBarLeftAndWidth(&A, left, width);
    EXPECT_EQ(width, 90);
    Check();
}

TEST_F(Rows, AcrossRowsOpensOrChangesRows) {
    struct TCase {
        const char* Name;
        int Delta;       // request relative to the dragged toolbar's row top
        bool Locked;
        int RowsAfter;
        int RowOfB;
    };
    const TCase cases[] = {
        {"3 above opens a row before", -3, false, 3, 0},
        {"5 above opens a row before", -5, false, 3, 0},
        {"3 below opens a row after", 3, false, 3, 1},
        {"more than 5 below moves into the next row", 6, false, 2, 1},
        {"locked: 4 above stays", -4, true, 2, 0},
        {"locked: 4 below stays", 4, true, 2, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPanel panel;
        TRowCollection rows(&panel);
        TBar a, b, d;
        rows.Add()->AddToolBar(&a);
        rows.Items(0)->AddToolBar(&b);
        rows.Add()->AddToolBar(&d);
        panel.Locked = c.Locked;
        int top = rows.Items(0)->RowRect().CrossStart + c.Delta, height = 26;
        rows.SetToolBarTopAndHeight(&b, top, height);
        EXPECT_EQ(rows.Count(), c.RowsAfter);
        EXPECT_EQ(b.Row(), c.RowOfB);
        EXPECT_EQ(top, rows.Items(b.Row())->RowRect().CrossStart);
        std::wstring why;
        EXPECT_TRUE(rows.CheckInvariants(&why));
    }
}

TEST_F(Rows, FarAboveMovesIntoTheRowUnderThePointer) {
    Fill({{&A}, {&B, &C}});
    int top = Collection.Items(0)->RowRect().CrossStart + 10, height = 26;
    Collection.SetToolBarTopAndHeight(&C, top, height);  // row 1 top is 28: 18 above
    EXPECT_EQ(C.Row(), 0);
    EXPECT_EQ(Collection.Count(), 2);
    // The last one of a row moved away deletes the row.
    top = 2;
    Collection.SetToolBarTopAndHeight(&B, top, height);
    EXPECT_EQ(Collection.Count(), 1);
    Check();
}

TEST_F(Rows, ErrorsLeaveTheRowsUnchanged) {
    Fill({{&A, &B}});
    TBar stranger;
    int left = 10, width = 50;
    EXPECT_THROW(Collection.Items(0)->SetToolBarLeftAndWidth(&stranger, left, width), ClassLib::Exception);
    EXPECT_THROW(Collection.MoveToolBarToRow(&A, 5), ClassLib::Exception);
    EXPECT_EQ(Positions(), (std::vector<int>{3, 105}));
    EXPECT_EQ(A.Row(), 0);
}

TEST_F(Rows, VisibilityAndLockedRowFinding) {
    Fill({{&A, &B}, {&C}});
    B.Shown = false;
    Collection.UpdateToolBarVisibility(&B);
    EXPECT_EQ(Collection.Items(0)->Count(), 1);
    B.Shown = true;
    B.P = 0;
    Collection.UpdateToolBarVisibility(&B);
    EXPECT_EQ(Collection.Items(0)->IndexOf(&B), 0);  // back into its former row by position
    TBar full;
    full.Full = true;
    EXPECT_EQ(Collection.FindRowFor(&full, true), -1);
    EXPECT_EQ(Collection.FindRowFor(&A, true), 1);
    EXPECT_EQ(Collection.FindRowFor(&A, false), 0);
}

// Random drags along and across: the rows never lose a toolbar or disagree with its index.
TEST_F(Rows, RandomDragsKeepEveryToolBarInOneRow) {
    std::mt19937 random(41);
    std::vector<std::unique_ptr<TBar>> bars;
    for (int k = 0; k < 8; ++k) bars.push_back(std::make_unique<TBar>(40 + 10 * k, 30));
    for (auto& bar : bars) Collection.Add()->AddToolBar(bar.get());
    for (int step = 0; step < 2000; ++step) {
        TBar* bar = bars[random() % bars.size()].get();
        int top = bar->C + int(random() % 61) - 30, thick = bar->T;
        Collection.SetToolBarTopAndHeight(bar, top, thick);
        int left = bar->P + int(random() % 81) - 40, len = bar->L;
        Collection.Items(bar->R)->SetToolBarLeftAndWidth(bar, left, len);
        if (step % 97 == 0) Resize(200 + int(random() % 400));
        std::wstring why;
        ASSERT_TRUE(Collection.CheckInvariants(&why)) << "step " << step;
        int inRows = 0;
        for (int r = 0; r < Collection.Count(); ++r) inRows += Collection.Items(r)->Count();
        ASSERT_EQ(inRows, 8) << "step " << step;
    }
}

}  // namespace
