#include "ribbon/AdvToolBarPagerLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace AdvToolBar {

using ClassLib::TRect;

// ---------------------------------------------------------------- widths

int TTabRow::TabWidth(int index) const {
    if (!InRange(index)) return 0;
    const TTabSlot& tab = Tabs[size_t(index)];
    if (tab.Group >= 0 && tab.Group < int(Groups.size()))
        return tab.ClientWidth + 2 * Groups[size_t(tab.Group)].CurrentExtraXMargin + Current.GroupLeftMargin +
               Current.GroupRightMargin;
    return tab.ClientWidth + Current.LeftMargin + Current.RightMargin;
}

int TTabRow::TabsWidth(int fromIndex, int toIndex) const {
    if (!InRange(fromIndex) || !InRange(toIndex)) return 0;
    int width = 0;
    for (int i = fromIndex; i <= toIndex; ++i) {
        if (!Tabs[size_t(i)].Visible) continue;
        width += TabWidth(i);
        if (i != Count() - 1) width += Current.Spacing;
    }
    return width;
}

int TTabRow::GroupSqueeze() const {
    int sum = 0;
    for (const TTabSlot& tab : Tabs)
        if (tab.Visible && tab.Group >= 0) sum += tab.RealClientWidth - tab.ClientWidth;
    return sum;
}

bool TTabRow::AnySqueezed() const {
    return std::any_of(Tabs.begin(), Tabs.end(),
                       [](const TTabSlot& tab) { return tab.Visible && tab.ClientWidth < tab.RealClientWidth; });
}

int TTabRow::VisibleCount() const {
    return int(std::count_if(Tabs.begin(), Tabs.end(), [](const TTabSlot& tab) { return tab.Visible; }));
}

void TTabRow::ResetSpacing() {
    Current = {Limits.Spacing, Limits.LeftMargin, Limits.RightMargin, Limits.LeftMargin, Limits.RightMargin};
}

// ---------------------------------------------------------------- positions

void TTabRow::PositionTabs(int left) {
    int x = left;
    for (int i = 0; i < Count(); ++i) {
        if (!Tabs[size_t(i)].Visible) continue;
        Tabs[size_t(i)].Left = x;
        x += TabWidth(i) + Current.Spacing;
    }
}

void TTabRow::ArrangeTabs(int fromIndex, int toIndex) {
    if (!InRange(fromIndex) || !InRange(toIndex)) return;
    int previous = -1;
    for (int i = fromIndex; i <= toIndex; ++i) {
        if (!Tabs[size_t(i)].Visible) continue;
        if (previous >= 0) Tabs[size_t(i)].Left = Tabs[size_t(previous)].Left + TabWidth(previous) + Current.Spacing;
        previous = i;
    }
}

void TTabRow::Shift(int fromIndex, int delta) {
    for (int i = fromIndex; i < Count(); ++i)
        if (Tabs[size_t(i)].Visible) Tabs[size_t(i)].Left += delta;
}

// ---------------------------------------------------------------- fitting

// The widest visible tab (the first of equal ones): outside groups, or with anyGroup
// among all tabs; -1 when there is none.
int TTabRow::WidestTab(bool groupsOnly, bool anyGroup) const {
    int best = -1;
    for (int i = 0; i < Count(); ++i) {
        const TTabSlot& tab = Tabs[size_t(i)];
        if (!tab.Visible) continue;
        if (!anyGroup && (tab.Group >= 0) != groupsOnly) continue;
        if (best < 0 || TabWidth(i) > TabWidth(best)) best = i;
    }
    return best;
}

void TTabRow::Fit(int available) {
    if (Tabs.empty()) return;
    const int width = TotalWidth();
    int room = available;
    if (width == room) {
        const int squeezed = GroupSqueeze();
        if (squeezed > 0) room += std::min(TabFitStep, squeezed);
    }
    if (width > room)
        Squeeze(room);
    else if (width < room)
        Widen(room);
}

void TTabRow::Squeeze(int available) {
    auto excess = [&] { return TotalWidth() - available; };
    auto done = [&] {
        if (excess() > 0) return false;
        ArrangeAllTabs();
        return true;
    };
    const int passBound = TotalWidth();

    while (Current.Spacing > Limits.MinSpacing) {
        --Current.Spacing;
        if (done()) return;
    }
    ArrangeAllTabs();

    auto shrinkPair = [&](int& leftMargin, int& rightMargin) {
        while (leftMargin > Limits.MinMargin || rightMargin > Limits.MinMargin) {
            if (leftMargin > Limits.MinMargin) {
                --leftMargin;
                if (done()) return true;
            }
            if (rightMargin > Limits.MinMargin) {
                --rightMargin;
                if (done()) return true;
            }
        }
        ArrangeAllTabs();
        return false;
    };
    if (shrinkPair(Current.LeftMargin, Current.RightMargin)) return;
    if (shrinkPair(Current.GroupLeftMargin, Current.GroupRightMargin)) return;

    if (!Groups.empty()) {
        for (;;) {
            bool changed = false;
            for (TTabGroupMargin& group : Groups) {
                if (group.CurrentExtraXMargin <= 0) continue;
                --group.CurrentExtraXMargin;
                changed = true;
                if (done()) return;
            }
            if (!changed) break;
        }
        ArrangeAllTabs();
    }

    // Last the tab widths: widest first, 5 pixels at most a step, never below the minimum.
    int over = excess();
    const bool plainShrinkable = [&] {
        for (int i = 0; i < Count(); ++i)
            if (Tabs[size_t(i)].Visible && Tabs[size_t(i)].Group < 0 && TabWidth(i) > MinTabWidth) return true;
        return false;
    }();
    if (!plainShrinkable) over -= TabFitStep;  // only group tabs could shrink: a little overflow is accepted
    for (int pass = 0; over > 0 && pass < passBound; ++pass) {
        const int widest = plainShrinkable ? WidestTab(false, false) : WidestTab(false, true);
        if (widest < 0) break;
        if (!plainShrinkable && Tabs[size_t(widest)].Group < 0) break;
        const int tabWidth = TabWidth(widest);
        if (tabWidth <= MinTabWidth) break;
        const int d = std::min({tabWidth - MinTabWidth, over, TabFitStep});
        Tabs[size_t(widest)].ClientWidth -= d;
        Shift(widest + 1, -d);
        over -= d;
    }
}

void TTabRow::Widen(int available) {
    auto freeRoom = [&] { return available - TotalWidth(); };
    const int passBound = TotalWidth();

    if (AnySqueezed()) {
        int room = freeRoom();
        const int squeezed = GroupSqueeze();
        if (room > 0 && room < squeezed) room += std::min(TabFitStep, squeezed - room);
        for (int pass = 0; room > 0 && pass < passBound; ++pass) {
            // Group tabs first, narrowest first.
            int pick = -1;
            bool pickInGroup = false;
            for (int i = 0; i < Count(); ++i) {
                const TTabSlot& tab = Tabs[size_t(i)];
                if (!tab.Visible || tab.ClientWidth >= tab.RealClientWidth || tab.ClientWidth >= 1500) continue;
                const bool inGroup = tab.Group >= 0;
                if (pick < 0 || (inGroup && !pickInGroup) ||
                    (inGroup == pickInGroup && tab.ClientWidth < Tabs[size_t(pick)].ClientWidth)) {
                    pick = i;
                    pickInGroup = inGroup;
                }
            }
            if (pick < 0) break;
            TTabSlot& tab = Tabs[size_t(pick)];
            const int d = std::min({tab.RealClientWidth - tab.ClientWidth, room, TabFitStep});
            tab.ClientWidth += d;
            Shift(pick + 1, d);
            room -= d;
        }
    }
    if (AnySqueezed()) return;

    // Each step grows one value by a pixel while it fits; an increase that does not fit is
    // taken back and ends the step.
    auto grow = [&](int& value, int limit) {
        if (value >= limit) return true;
        ++value;
        const int room = freeRoom();
        if (room < 0) {
            --value;
            return false;
        }
        return room > 0;
    };
    while (Current.Spacing < Limits.Spacing)
        if (!grow(Current.Spacing, Limits.Spacing)) break;
    ArrangeAllTabs();

    auto growPair = [&](int& leftMargin, int& rightMargin) {
        while (leftMargin < Limits.LeftMargin || rightMargin < Limits.RightMargin) {
            if (!grow(leftMargin, Limits.LeftMargin)) break;
            if (!grow(rightMargin, Limits.RightMargin)) break;
        }
        ArrangeAllTabs();
    };
    growPair(Current.GroupLeftMargin, Current.GroupRightMargin);

    if (!Groups.empty()) {
        bool stop = false;
        while (!stop) {
            bool changed = false;
            for (TTabGroupMargin& group : Groups) {
                if (group.CurrentExtraXMargin >= group.ExtraXMargin) continue;
                ++group.CurrentExtraXMargin;
                if (freeRoom() < 0) {
                    --group.CurrentExtraXMargin;
                    stop = true;
                    break;
                }
                changed = true;
                if (freeRoom() <= 0) {
                    stop = true;
                    break;
                }
            }
            if (!changed) break;
        }
        ArrangeAllTabs();
    }

    growPair(Current.LeftMargin, Current.RightMargin);
}

int GroupExtraMargin(int groupWidth, int captionWidth, int tabCount) {
    const int deficit = groupWidth - captionWidth - 26;
    if (deficit >= 0 || tabCount <= 0) return 0;
    int d = -deficit;
    if (d % 2 != 0) ++d;
    return (d / tabCount) / 2;
}

// ---------------------------------------------------------------- scrolling

int TTabRow::CountFittingTabs(int fromIndex, bool forward, int& lastIndex, int left, int right) const {
    if (!InRange(fromIndex)) return 0;
    int x = left;
    int count = 0;
    for (int i = fromIndex; forward ? i < Count() : i >= 0; forward ? ++i : --i) {
        if (!Tabs[size_t(i)].Visible) continue;
        const int width = TabWidth(i);
        if (x + width >= right) break;
        ++count;
        lastIndex = i;
        x += width + Current.Spacing;
    }
    return count;
}

void TTabRow::UpdateScroller(int left, int right) {
    if (Tabs.empty()) return;
    int steps = 0;
    if (TotalWidth() > right - left) {
        const int visible = VisibleCount();
        int start = 0;
        int counted = 0;
        while (start < Count()) {
            int last = start;
            int n = CountFittingTabs(start, true, last, left, right);
            if (n < 1) {
                n = 1;  // a tab wider than the row still takes a screen of its own
                last = start;
            }
            counted += n;
            if (counted >= visible) break;
            start = last + 1;
            ++steps;
        }
    }
    Scroll.Max = std::max(Scroll.Min, steps);
    Scroll.Position = std::min(Scroll.Position, Scroll.Max);
}

void TTabRow::ResetScroll(int left, int right) {
    Scroll = {};
    PositionTabs(left);
    UpdateScroller(left, right);
}

int TTabRow::ScrollTabs(int delta, int left, int right, const std::function<void()>& onStep) {
    if (delta == 0) return 0;
    if (delta > 0) {
        const int n = std::min(delta, Scroll.Max - Scroll.Position);
        if (!Scroll.CanGoForward() || n <= 0) return 0;
        Scroll.Position += n;
        int index = Scroll.StartTabIndex;
        for (int k = 0; k < n; ++k) {
            int last = index;
            CountFittingTabs(index, true, last, left, right);
            index = last + 1;
            if (index > Count() - 1) break;
        }
        ScrollToTab(index, left, right, onStep);
        return n;
    }
    const int n = std::min(-delta, Scroll.Position - Scroll.Min);
    if (!Scroll.CanGoBack() || Scroll.StartTabIndex <= 0 || n <= 0) return 0;
    Scroll.Position -= n;
    int index = Scroll.StartTabIndex - 1;
    for (int k = 0; k < n; ++k) {
        int lowest = index;
        CountFittingTabs(index, false, lowest, left, right);
        index = lowest - 1;
        if (index <= 0) {
            index = 0;
            break;
        }
    }
    ScrollToTab(index, left, right, onStep);
    return -n;
}

void TTabRow::ScrollToTab(int index, int left, int right, const std::function<void()>& onStep) {
    if (index < 0) index = 0;
    if (!InRange(index)) return;
    auto lastVisibleRight = [&] {
        for (int i = Count() - 1; i >= 0; --i)
            if (Tabs[size_t(i)].Visible) return Tabs[size_t(i)].Left + TabWidth(i);
        return left;
    };
    if (index > Scroll.StartTabIndex) {
        int unused = 0;
        while (index > 0 && CountFittingTabs(index - 1, true, unused, left, right) >
                                CountFittingTabs(index, true, unused, left, right))
            --index;
        if (index <= Scroll.StartTabIndex) return;
        for (;;) {
            // A step that would move nothing ends the slide, so stale positions cannot loop.
            const int step = std::min({TabFitStep, lastVisibleRight() - right, Tabs[size_t(index)].Left - left});
            if (step <= 0) break;
            Shift(0, -step);
            if (onStep) onStep();
        }
    } else if (index < Scroll.StartTabIndex) {
        for (;;) {
            const int step = std::min(TabFitStep, left - Tabs[size_t(index)].Left);
            if (step <= 0) break;
            Shift(0, step);
            if (onStep) onStep();
        }
    }
    Scroll.StartTabIndex = index;
    UpdateScroller(left, right);
}

bool TTabRow::GroupSpan(int start, int end, int& left, int& right) const {
    if (start < 0 || end < 0 || end < start || end >= Count()) return false;
    bool found = false;
    for (int i = start; i <= end; ++i) {
        const TTabSlot& tab = Tabs[size_t(i)];
        if (!tab.Visible) continue;
        const int tabRight = tab.Left + TabWidth(i);
        if (tab.Left < 0 || tabRight < 0) continue;
        if (!found) left = tab.Left;
        right = tabRight;
        found = true;
    }
    return found;
}

// ---------------------------------------------------------------- rectangles

TRect PageRect(const TPageRectInput& in) {
    TRect r = in.Client;
    if (in.CaptionVisible) r.Top += in.CaptionHeight;
    r.Bottom -= in.QATBelowHeight;
    r.Top += in.TabHeight;
    r.Left += in.Padding + in.PageLeftMargin;
    r.Right -= in.Padding + in.PageRightMargin;
    r.Bottom -= in.Padding + 1;
    if (in.GlassScenic) r.Bottom += 1;
    if (in.OfficeTones) {
        r.Left -= 1;
        r.Right += 1;
        r.Bottom += 1;
    }
    return r;
}

TRect CaptionTextRect(const TCaptionTextInput& in, int& alignment) {
    TRect r = in.CaptionRect;
    alignment = 0;
    if (r.Left < 0 && r.Right < 0) return r;
    r.Left += in.CaptionOnly ? 5 : in.Indent;
    if (in.QATInCaption && !in.CaptionOnly) r.Left = in.QATLeft + in.QATWidth + in.QATGap;
    if (!in.CaptionOnly) r.Right -= in.RightIndent;
    if (in.CaptionOnly) return r;
    if (in.GroupHeadersRight >= 0) {
        r.Left = in.GroupHeadersRight;
        alignment = 2;
        return r;
    }
    if (in.CentreWithoutHeaders) {
        const int centred = in.CaptionRect.Left + (in.CaptionRect.Width() - in.TextWidth) / 2;
        if (centred > r.Left) r.Left = centred;
    }
    return r;
}

// ---------------------------------------------------------------- looks

TTabLook ChooseTabLook(const TTabStateInput& in) {
    TTabLook look;
    const bool selected = in.Active && in.Expanded;
    if (!in.TabEnabled && in.ShowNonSelectedTabs) {
        look.Kind = TTabLookKind::Disabled;
        look.DrawFace = true;
    } else if (selected) {
        look.Kind = TTabLookKind::Selected;
        look.DrawFace = true;
        look.Bold = in.Office2019 && !in.MouseDown;
        if (in.Hot) {
            look.UseHotFill = in.Office2019 && !in.MouseDown;
            look.SelectedHotBorder = true;
        }
        look.DownBorder = in.Down;
    } else if (in.Hot) {
        look.Kind = TTabLookKind::Hot;
        look.DrawFace = true;
        look.Bold = in.Office2019;
        look.BlendTowardsBackground = in.Fading && !in.ShowNonSelectedTabs;
    } else if (in.ShowNonSelectedTabs) {
        look.Kind = TTabLookKind::Normal;
        look.DrawFace = true;
    } else {
        look.Kind = TTabLookKind::NoFace;
        look.DrawFace = in.Fading;  // a fading-out face still shows
        look.BlendTowardsBackground = in.Fading;
    }
    if (in.Focused && in.Active && in.Expanded && !in.Office2019) {
        look.FocusHot = true;
        look.DrawFace = true;
    }
    return look;
}

void TTabLine::Begin(int newStart, int newEnd) {
    NewStart = newStart;
    NewEnd = newEnd;
    DeltaStart = std::abs(newStart - CurStart) / 5.0;
    DeltaEnd = std::abs(newEnd - CurEnd) / 5.0;
    Animating = true;
}

bool TTabLine::Step() {
    auto move = [](double& value, double delta, int target) {
        value += value >= target ? -delta : delta;
        if (target > value - 1 && target < value + 1) value = target;
    };
    move(CurStart, DeltaStart, NewStart);
    move(CurEnd, DeltaEnd, NewEnd);
    if (CurStart == NewStart && CurEnd == NewEnd) {
        Animating = false;
        return false;
    }
    return true;
}

TTabHintChoice ChooseTabHint(const TTabHintInput& in) {
    if (!in.ShowTabHint) return TTabHintChoice::None;
    if (in.HintPageIndex < 0) return TTabHintChoice::Usual;
    if (in.HasTabHint) return TTabHintChoice::TabHint;
    if (in.TabWidth - in.LeftMargin - in.RightMargin < in.TextWidth) return TTabHintChoice::Caption;
    return TTabHintChoice::Usual;
}

}  // namespace AdvToolBar
