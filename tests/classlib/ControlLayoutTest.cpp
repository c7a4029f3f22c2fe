#include "classlib/ControlLayout.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace ClassLib;

namespace {

TLayoutChild Aligned(TAlign align, TRect bounds) {
    TLayoutChild child;
    child.Align = align;
    child.Bounds = bounds;
    return child;
}

// An unaligned child placed by hand at `origin` in a client area of 100 x 100.
TLayoutChild Anchored(TAnchors anchors, TRect origin = {10, 10, 30, 30}) {
    TLayoutChild child;
    child.Anchors = anchors;
    child.Bounds = origin;
    child.AnchorValid = true;
    child.AnchorBounds = origin;
    child.AnchorParentSize = {100, 100};
    return child;
}

TLayoutChild With(TLayoutChild child, auto change) {
    change(child);
    return child;
}

using TPlaced = std::tuple<std::size_t, int, int, int, int>;  // index, left, top, right, bottom

std::vector<TPlaced> Flatten(const std::vector<TLayoutPlace>& places) {
    std::vector<TPlaced> result;
    for (const TLayoutPlace& p : places) result.emplace_back(p.Index, p.Bounds.Left, p.Bounds.Top, p.Bounds.Right, p.Bounds.Bottom);
    return result;
}

constexpr TAnchors L = AnchorBit(akLeft), T = AnchorBit(akTop), R = AnchorBit(akRight), B = AnchorBit(akBottom);

}  // namespace

TEST(ControlLayout, PlacesAlignedAndAnchoredChildren) {
    struct TCase {
        const char* Name;
        std::vector<TLayoutChild> Children;
        TSize Client;                   // the align rectangle is {0, 0, 200, 100} in every row
        std::vector<TPlaced> Places;    // in the order the children are moved
        TRect Left;                     // what the aligned ones leave
    };
    const TCase cases[] = {
        {"top strips stack by their Top, not by list order",
         {Aligned(alTop, {0, 50, 10, 70}), Aligned(alTop, {0, 0, 10, 30})},
         {200, 100},
         {{1, 0, 0, 200, 30}, {0, 0, 30, 200, 50}},
         {0, 50, 200, 100}},
        {"sides go top, bottom, left, right, then client",
         {Aligned(alClient, {}), Aligned(alRight, {0, 0, 40, 5}), Aligned(alLeft, {0, 0, 30, 5}),
          Aligned(alBottom, {0, 0, 5, 20}), Aligned(alTop, {0, 0, 5, 10})},
         {200, 100},
         {{4, 0, 0, 200, 10}, {3, 0, 80, 200, 100}, {2, 0, 10, 30, 80}, {1, 160, 10, 200, 80}, {0, 30, 10, 160, 80}},
         {30, 10, 160, 80}},
        {"bottom strips stack from the lowest up, right ones from the rightmost in",
         {Aligned(alBottom, {0, 0, 5, 10}), Aligned(alBottom, {0, 60, 5, 90}), Aligned(alRight, {0, 0, 10, 5}),
          Aligned(alRight, {150, 0, 170, 5})},
         {200, 100},
         {{1, 0, 70, 200, 100}, {0, 0, 60, 200, 70}, {3, 180, 0, 200, 60}, {2, 170, 0, 180, 60}},
         {0, 0, 170, 60}},
        {"margins come off the strip around the child",
         {With(Aligned(alTop, {0, 0, 5, 20}), [](TLayoutChild& c) { c.WithMargins = true; c.Margins = {2, 3, 4, 5}; }),
          With(Aligned(alTop, {0, 0, 5, 20}), [](TLayoutChild& c) { c.Margins = {2, 3, 4, 5}; })},  // not used
         {200, 100},
         {{0, 2, 3, 196, 23}, {1, 0, 28, 200, 48}},
         {0, 48, 200, 100}},
        {"size limits win, and the strip follows the size the child takes",
         {With(Aligned(alTop, {0, 0, 5, 10}), [](TLayoutChild& c) { c.MinHeight = 25; c.MaxWidth = 150; }),
          With(Aligned(alClient, {}), [](TLayoutChild& c) { c.MaxHeight = 40; })},
         {200, 100},
         {{0, 0, 0, 150, 25}, {1, 0, 25, 200, 65}},
         {0, 25, 200, 100}},
        {"hidden, custom and hand-placed children take no strip",
         {With(Aligned(alTop, {0, 0, 5, 10}), [](TLayoutChild& c) { c.Visible = false; }), Aligned(alCustom, {1, 2, 3, 4}),
          Aligned(alNone, {1, 2, 3, 4}), Anchored(L | T)},
         {150, 120},
         {},
         {0, 0, 200, 100}},
        {"a too large strip leaves an empty rectangle and the client child none",
         {Aligned(alLeft, {0, 0, 250, 5}), Aligned(alClient, {})},
         {200, 100},
         {{0, 0, 0, 250, 100}, {1, 250, 0, 250, 100}},
         {250, 0, 200, 100}},
        {"anchors keep the distances to the anchored edges, after the aligned children",
         {Anchored(L | T | R), Anchored(R | B), Anchored(0), Anchored(L | T | R | B), Aligned(alTop, {0, 0, 5, 10})},
         {150, 120},
         {{4, 0, 0, 200, 10}, {0, 10, 10, 80, 30}, {1, 60, 30, 80, 50}, {2, 35, 20, 55, 40}, {3, 10, 10, 80, 50}},
         {0, 10, 200, 100}},
        {"an anchored child never gets a negative size, and one never placed by hand stays",
         {Anchored(L | R | T | B), With(Anchored(R | B), [](TLayoutChild& c) { c.AnchorValid = false; })},
         {20, 50},
         {{0, 10, 10, 10, 10}},
         {0, 0, 200, 100}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TRect rect{0, 0, 200, 100};
        const std::vector<TLayoutPlace> places = ArrangeChildren(c.Children, rect, c.Client);
        EXPECT_EQ(Flatten(places), c.Places);
        EXPECT_EQ(rect, c.Left);
    }
}

TEST(ControlLayout, FitsASizeIntoTheChildsLimits) {
    struct TCase { int MinWidth, MaxWidth, Width, Expected; };
    const TCase cases[] = {
        {0, 0, -5, 0},    // never negative
        {0, 0, 70, 70},   // no limits
        {10, 0, 5, 10},
        {0, 50, 70, 50},
        {60, 50, 70, 60},  // a minimum above the maximum wins, as the control's constraints do
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::tuple(c.MinWidth, c.MaxWidth, c.Width)));
        TLayoutChild child;
        child.MinWidth = c.MinWidth;
        child.MaxWidth = c.MaxWidth;
        child.MinHeight = c.MinWidth;
        child.MaxHeight = c.MaxWidth;
        EXPECT_EQ(FitLayoutSize(child, c.Width, c.Width), (TSize{c.Expected, c.Expected}));
    }
}
