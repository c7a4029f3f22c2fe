// The toolbar's layout on its window: its items read into the layout records, the places
// and sizes of AdvToolBarLayout applied, the orientation, floating rows and item order.
#include <algorithm>
#include <cmath>

#include "classlib/Properties.h"
#include "graphics/AdvGDIP.h"
#include "menus/AdvToolBarSystem.h"
#include "classlib/UpdateScope.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarItem.h"
#include "toolbars/AdvToolBarPageHost.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvGlowButton::TAdvCustomGlowButton;

namespace {

int PublishedOrdinal(const TControl* control, const wchar_t* name) {
    const TPropInfo* info = control->ClassType().Published().Find(name);
    return info && info->IsOrdinal() && info->GetOrd ? int(info->GetOrd(control)) : 0;
}

}  // namespace

// ---------------------------------------------------------------- items

void* TAdvCustomToolBar::Entry(TControl* control) { return static_cast<TObject*>(control); }

TControl* TAdvCustomToolBar::ItemAt(const TDbgList& list, int index) {
    return static_cast<TControl*>(static_cast<TObject*>(list.GetItemsEx(index)));
}

void TAdvCustomToolBar::ForEachItem(const std::function<void(TControl*, IToolBarItem*)>& action) const {
    if (!FATBControls) return;
    // A snapshot: an item's reaction may change the list.
    std::vector<TControl*> items;
    items.reserve(size_t(FATBControls->Count()));
    for (int i = 0; i < FATBControls->Count(); ++i) items.push_back(ItemAt(*FATBControls, i));
    for (TControl* control : items) action(control, dynamic_cast<IToolBarItem*>(control));
}

int TAdvCustomToolBar::ToolBarControlCount() const { return FATBControls ? FATBControls->Count() : 0; }

TControl* TAdvCustomToolBar::ToolBarControls(int index) const {
    if (!FATBControls || index < 0 || index >= FATBControls->Count()) return nullptr;
    return ItemAt(*FATBControls, index);
}

std::vector<TLayoutItem> TAdvCustomToolBar::LayoutItems() const {
    std::vector<TLayoutItem> items;
    if (!FATBControls) return items;
    const bool designing = HasState(csDesigning);
    items.reserve(size_t(FATBControls->Count()));
    for (int i = 0; i < FATBControls->Count(); ++i) {
        const TControl* control = ItemAt(*FATBControls, i);
        const auto* item = dynamic_cast<const IToolBarItem*>(control);
        const auto* glow = dynamic_cast<const TAdvCustomGlowButton*>(control);
        const TToolBarItemKind kind = item ? item->ToolBarItemKind() : TToolBarItemKind::Control;
        TLayoutItem entry;
        entry.Left = control->Left();
        entry.Top = control->Top();
        entry.Width = control->Width();
        entry.Height = control->Height();
        entry.Badge = !designing && control->ClassName() == L"TAdvBadge";
        entry.Layout = designing || (control->Visible() && !entry.Badge);
        entry.Hidden = FLUHidedControls->IndexOf(Entry(const_cast<TControl*>(control))) >= 0;
        entry.OnToolBar = control->Parent() == this;
        entry.Separator = kind == TToolBarItemKind::Separator;
        entry.GlowButton = glow != nullptr;
        entry.Stacks = glow && glow->ButtonSizeState() != AdvGlowButton::bsLarge;
        entry.Stackable = entry.Stacks || (item && item->Stackable());
        entry.ToolBarItem = item && kind != TToolBarItemKind::Container;
        entry.ToolBarButton = kind == TToolBarItemKind::Button || kind == TToolBarItemKind::MenuButton;
        entry.RotatingButton = entry.ToolBarButton && item->CanRotate();
        if (!glow) entry.LabelMargin = PublishedOrdinal(control, L"LabelMargin");
        entry.WithMargins = control->AlignWithMargins();
        entry.MarginLeft = control->Margins()->Left();
        entry.MarginTop = control->Margins()->Top();
        entry.MarginRight = control->Margins()->Right();
        items.push_back(entry);
    }
    return items;
}

std::vector<int> TAdvCustomToolBar::ItemExtents(bool visibleOnly) const {
    std::vector<int> extents;
    const bool alongWidth = !IsVertical(FPosition);
    for (int i = 0; FATBControls && i < FATBControls->Count(); ++i) {
        const TControl* control = ItemAt(*FATBControls, i);
        if (visibleOnly && !control->Visible()) continue;
        extents.push_back(alongWidth ? control->Width() : control->Height());
    }
    return extents;
}

void TAdvCustomToolBar::RebuildControlLists() {
    std::vector<TControl*> children;
    for (int i = 0; i < ControlCount(); ++i)
        if (!IsOwnWindow(Controls(i))) children.push_back(Controls(i));
    // Equal keys keep their child order: stacked ribbon buttons form their columns.
    if (PageHost()) {
        std::stable_sort(children.begin(), children.end(), [](const TControl* a, const TControl* b) {
            return a->Left() != b->Left() ? a->Left() < b->Left() : a->Top() < b->Top();
        });
    } else if (IsVertical(FPosition)) {
        std::stable_sort(children.begin(), children.end(),
                         [](const TControl* a, const TControl* b) { return a->Top() < b->Top(); });
    } else {
        std::stable_sort(children.begin(), children.end(),
                         [](const TControl* a, const TControl* b) { return a->Left() < b->Left(); });
    }
    FATBControls->Clear();
    for (TControl* control : children) FATBControls->Add(Entry(control));
    if (FAutoRUL) FRUControls->AssignList(*FATBControls);
}

void TAdvCustomToolBar::RebuildSequenceList() {
    std::vector<TControl*> visible;
    ForEachItem([&](TControl* control, IToolBarItem*) {
        if (control->Visible()) visible.push_back(control);
    });
    std::stable_sort(visible.begin(), visible.end(), [](const TControl* a, const TControl* b) {
        return a->Left() != b->Left() ? a->Left() < b->Left() : a->Top() < b->Top();
    });
    FSeqControlList->Clear();
    for (TControl* control : visible) FSeqControlList->Add(Entry(control));
}

void TAdvCustomToolBar::AdjustButtonSizes(bool menuButtonsOnly) {
    ForEachItem([menuButtonsOnly](TControl*, IToolBarItem* item) {
        if (!item) return;
        const TToolBarItemKind kind = item->ToolBarItemKind();
        if (kind == TToolBarItemKind::MenuButton || (!menuButtonsOnly && kind == TToolBarItemKind::Button))
            item->AdjustItemSize();
    });
}

int TAdvCustomToolBar::IndexByPosition(int index, int x, int y) const {
    std::vector<TPoint> places;
    for (int i = 0; FATBControls && i < FATBControls->Count(); ++i) {
        const TControl* control = ItemAt(*FATBControls, i);
        places.push_back({control->Left(), control->Top()});
    }
    return AdvToolBar::IndexByPosition(places, index, x, y, IsVertical(FPosition));
}

int TAdvCustomToolBar::MoveToPositionIndex(int index, int x, int y) {
    int position = IndexByPosition(index, x, y);
    if (index < 0 || index >= FATBControls->Count() || position == index) return position;
    void* entry = FATBControls->GetItemsEx(index);
    FATBControls->Delete(index);
    if (index < position) --position;
    FATBControls->Insert(position, entry);
    return position;
}

// ---------------------------------------------------------------- frame

int TAdvCustomToolBar::CaptionSize() const {
    // Scaled once: a caption height made after the unit's scale was known already is.
    if (PageHost() || FCaptionHeightScaled) return FCaptionHeight;
    return int(std::lrint(FCaptionHeight * DPIScaleFactor));
}

int TAdvCustomToolBar::RightHandleWidth() const { return int(std::lrint(FPopupIndicatorWidth * DPIScaleFactor)); }

bool TAdvCustomToolBar::GripDrawn() const {
    return FCurrentToolBarStyler && FCurrentToolBarStyler->DragGripStyle() != dsNone && !PageHost() &&
           !InCompactWindow() && FToolBarState != tsFloating;
}

TToolBarFrame TAdvCustomToolBar::Frame() const {
    TToolBarFrame frame;
    const TRect client = ClientRect();
    frame.Width = client.Width();
    frame.Height = client.Height();
    frame.Floating = FToolBarState == tsFloating;
    frame.Vertical = IsVertical(FPosition) && !frame.Floating;
    frame.ShowCaption = FShowCaption;
    frame.CaptionPosition = FCaptionPosition;
    frame.CaptionSize = CaptionSize();
    frame.CaptionHeight = FCaptionHeight;
    frame.ShowClose = FShowClose;
    frame.ShowOptionIndicator = FShowOptionIndicator;
    frame.ShowRightHandle = FShowRightHandle;
    frame.HandleReserved = FShowPopupIndicator;
    frame.FullSize = FFullSize;
    frame.GripDrawn = GripDrawn();
    frame.DragGripWidth = FDragGripWidth;
    frame.HandleWidth = RightHandleWidth();
    frame.Scenic = AdvGDIP::GetScenicRibbonFlag();
    return frame;
}

int TAdvCustomToolBar::HiddenLength() const {
    if (IsVertical(FPosition)) return Constraints()->MaxHeight() - Height();
    return Constraints()->MaxWidth() - Width();
}

void TAdvCustomToolBar::AdjustClientRect(TRect& rect) const {
    TCustomControl::AdjustClientRect(rect);
    if (!IsVertical(FPosition) && FToolBarState != tsFloating && FShowCaption && PageHost() && !FAutoPositionControls)
        rect = ContentRect(Frame());
}

void TAdvCustomToolBar::AlignControls(TControl* control, TRect& rect) {
    TCustomControl::AlignControls(control, rect);
    if (FAutoPositionControls && !IsVertical(FPosition) && FUpdateCount == 0) SeparatorPass();
    // A child shown or hidden realigns its parent without naming itself: an item that
    // became invisible must leave the row at once, and one shown again must come back.
    if (!control && !FInternalControlPositioning && FUpdateCount == 0 && !HasState(csLoading))
        if (TControl* changed = ItemOutOfPlace()) ControlBoundsChanged(changed);
}

TControl* TAdvCustomToolBar::ItemOutOfPlace() const {
    if (!FATBControls || (!FAutoPositionControls && !DockPanelOf(Parent()))) return nullptr;
    const std::vector<TLayoutItem> items = LayoutItems();
    const bool vertical = IsVertical(FPosition) && FToolBarState != tsFloating;
    for (size_t i = 0; i < items.size(); ++i) {
        const TLayoutItem& item = items[i];
        if (item.Badge || item.Hidden) continue;
        const bool parked = vertical ? item.Left >= Width() : item.Top >= Height();
        if (item.Layout == parked) return ItemAt(*FATBControls, int(i));
    }
    return nullptr;
}

void TAdvCustomToolBar::Resize() {
    TCustomControl::Resize();
    if (HasState(csDesigning) && PageHost() && FAutoPositionControls) ArrangeItems(false);
}

// ---------------------------------------------------------------- arranging and sizing

void TAdvCustomToolBar::ArrangeItems(bool updateSize) {
    if (HasState(csLoading) || FUpdateCount > 0 || !FATBControls) return;
    if (FToolBarState == tsFixed && !FAutoPositionControls && !DockPanelOf(Parent())) return;
    const bool floating = FToolBarState == tsFloating;
    const bool ribbon = IsRibbonGroup();
    TArrangeParams params;
    params.RibbonGroup = ribbon;
    const bool topCaption = FShowCaption && FCaptionPosition == cpTop;
    if (PageHost() && !FAutoSize && FAutoPositionMultiRow) {
        params.Kind = TArrangeKind::MultiRow;
    } else if (floating) {
        params.Kind = FFloatingRows > 1 ? TArrangeKind::FloatingRows : TArrangeKind::Floating;
        params.Across = FCaptionHeight + 2;
        params.RowHeight = FSizeAtDock;
        if (FFloatingRows > 1 && updateSize) AdjustToolBarSize();
    } else if (IsVertical(FPosition)) {
        params.Kind = TArrangeKind::Vertical;
        params.Start = GripOffset(GripDrawn(), FDragGripWidth);
        params.Across = topCaption ? FCaptionHeight + 2 : 2;
    } else {
        params.Kind = TArrangeKind::Horizontal;
        params.Start = GripOffset(GripDrawn(), FDragGripWidth);
        params.Across = topCaption ? CaptionSize() + 2 : 2;
    }
    params.Width = Width();
    params.Height = Height();
    FLaidOutWithGrip = GripDrawn();
    {
        TInternalPositioning positioning(*this);
        if (ribbon && params.Kind == TArrangeKind::Horizontal)
            ForEachItem([](TControl* control, IToolBarItem*) {
                if (auto* button = dynamic_cast<TAdvCustomGlowButton*>(control)) button->SetIsOnRibbon(true);
            });
        const std::vector<TLayoutItem> items = LayoutItems();
        const std::vector<TPoint> places = ArrangeLayout(items, params);
        for (size_t i = 0; i < items.size() && int(i) < FATBControls->Count(); ++i) {
            if (places[i].X == items[i].Left && places[i].Y == items[i].Top) continue;
            TControl* control = ItemAt(*FATBControls, int(i));
            control->SetBounds(places[i].X, places[i].Y, control->Width(), control->Height());
        }
    }
    if (updateSize && params.Kind != TArrangeKind::MultiRow) AdjustToolBarSize();
}

void TAdvCustomToolBar::AdjustToolBarSize() {
    if (!FATBControls || HasState(csLoading)) return;
    const std::vector<TLayoutItem> items = LayoutItems();
    if (FToolBarState == tsFloating) {
        if (FloatingWindowSizedByUser()) return;
        Constraints()->SetMinWidth(0);
        Constraints()->SetMaxWidth(0);
        Constraints()->SetMinHeight(0);
        Constraints()->SetMaxHeight(0);
        int width = FMinLength, height = FSizeAtDock + FCaptionHeight;
        if (FFloatingRows > 1) {
            CalcFloatingSize(height, width);
        } else {
            for (auto it = items.rbegin(); it != items.rend(); ++it)
                if (it->Layout) {
                    width = std::max(FMinLength, it->Left + it->Width + 2);
                    break;
                }
        }
        SetBounds(Left(), Top(), width, height);
        ResizeFloatingWindow();
        return;
    }
    const bool vertical = IsVertical(FPosition);
    TSizeParams params;
    params.Vertical = vertical;
    params.RibbonGroup = IsRibbonGroup();
    params.HasItems = FATBControls->Count() > 0;
    const bool anyLaidOut = std::any_of(items.begin(), items.end(), [](const TLayoutItem& i) { return i.Layout; });
    params.Collapse = !Visible() || (!HasState(csDesigning) && PageHost() && FHideOnEmpty && !anyLaidOut);
    params.GripOffset = GripOffset(GripDrawn(), FDragGripWidth);
    params.HandleWidth = FShowPopupIndicator ? RightHandleWidth() : 0;
    params.MinLength = FMinLength;
    const TToolBarExtent extent = MeasureToolBar(items, params);
    FMaxLength = extent.Full;
    if (!FAutoSize) return;

    int thickness = extent.Thickness;
    if (FShowCaption) thickness += vertical ? FCaptionHeight : CaptionSize();
    if (InCompactWindow() && !HasState(csDesigning))
        if (const TAdvCustomToolBar* source = CompactSource()) thickness = source->Height();

    const int length = vertical ? Height() : Width();
    const int maxLength = vertical ? Constraints()->MaxHeight() : Constraints()->MaxWidth();
    const TLengthPlan plan = PlanLength(extent, FMinLength, length, maxLength, vertical, FDoCheckBoundChange);
    TSizeConstraints* limits = Constraints();
    if (vertical) {
        limits->SetMinWidth(0);
        limits->SetMaxWidth(0);
        limits->SetMinHeight(plan.MinLength);
        limits->SetMaxHeight(plan.MaxLength);
    } else {
        limits->SetMinHeight(0);
        limits->SetMaxHeight(0);
        limits->SetMinWidth(plan.MinLength);
        limits->SetMaxWidth(plan.MaxLength);
    }
    {
        // The dock panel adjusts a length cut back only while an item changes.
        TFlagScope allow(FAllowBoundChange, FAllowBoundChange || !plan.DockAdjusts);
        if (vertical) SetHeight(plan.Length);
        else SetWidth(plan.Length);
    }
    if (vertical) {
        if (Width() != thickness) SetWidth(thickness);
    } else if (Height() != thickness) {
        SetHeight(thickness);
    }
}

int TAdvCustomToolBar::GetDockedSize(bool floating) {
    return DockedSize(LayoutItems(), IsVertical(FPosition), FToolBarState == tsFloating, floating);
}

int TAdvCustomToolBar::GetFullLength() {
    const bool alongHeight = IsVertical(FPosition) && FToolBarState != tsFloating;
    return FullLength(LayoutItems(), alongHeight, GripOffset(GripDrawn(), FDragGripWidth),
                      FShowPopupIndicator ? RightHandleWidth() : 0, FMinLength);
}

void TAdvCustomToolBar::SetPosition(TDockAlign value) {
    if (value == FPosition) return;
    TFlagScope allow(FAllowBoundChange, true);
    FPosition = value;
    auto applyLength = [this](bool withThickness) {
        TSizeConstraints* limits = Constraints();
        if (IsVertical(FPosition)) {
            limits->SetMinWidth(0);
            limits->SetMaxWidth(0);
            limits->SetMinHeight(FMinLength);
            limits->SetMaxHeight(FMaxLength);
            SetBounds(Left(), Top(), withThickness ? FSizeAtDock : Width(), FMaxLength);
        } else {
            limits->SetMinHeight(0);
            limits->SetMaxHeight(0);
            limits->SetMinWidth(FMinLength);
            limits->SetMaxWidth(FMaxLength);
            SetBounds(Left(), Top(), FMaxLength, withThickness ? FSizeAtDock : Height());
        }
    };
    applyLength(true);
    {
        TInternalPositioning positioning(*this);
        ForEachItem([value](TControl*, IToolBarItem* item) {
            if (item) item->SetDockPosition(value);
        });
    }
    FMaxLength = GetFullLength();
    applyLength(false);
    ArrangeItems(false);
    UpdateHiddenControls();
}

// ---------------------------------------------------------------- floating rows

int TAdvCustomToolBar::GetMaxFloatingRows() const { return MaxFloatingRows(ItemExtents(false), FMinLength); }

void TAdvCustomToolBar::SetFloatingRows(int value) {
    if (value <= 0 || value == FFloatingRows || value > GetMaxFloatingRows()) return;
    FFloatingRows = value;
    if (HasState(csLoading)) return;
    ArrangeItems(true);
    if (FToolBarState == tsFloating && FFloatingWindow) ResizeFloatingWindow();
}

void TAdvCustomToolBar::CalcFloatingSize(int& height, int& length) const {
    const TFloatingSize size =
        AdvToolBar::CalcFloatingSize(ItemExtents(true), FMinLength, FFloatingRows, FSizeAtDock, FCaptionHeight);
    height = size.Height;
    length = size.Length;
}

bool TAdvCustomToolBar::CalcSizeForRows(int rows, int& height, int& length) const {
    if (rows <= 0 || rows > GetMaxFloatingRows()) return false;
    const TFloatingSize size =
        AdvToolBar::CalcFloatingSize(ItemExtents(false), FMinLength, rows, FSizeAtDock, FCaptionHeight);
    height = size.Height;
    length = size.Length;
    return true;
}

}  // namespace AdvToolBar
