#include "toolbars/AdvDockPanel.h"

#include <algorithm>
#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/Form.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "menus/AdvMenus.h"
#include "menus/AdvToolBarPaint.h"
#include "menus/AdvToolBarSystem.h"
#include "toolbars/AdvDockMember.h"
#include "toolbars/AdvFloatingWindow.h"
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TAdvDockPanel, ClassLib::TCustomControl)

// ---------------------------------------------------------------- construction

TAdvDockPanel::TAdvDockPanel(TComponent* owner)
    : TCustomControl(owner),
      FRows(std::make_unique<TRowCollection>(this)),
      FToolBars(std::make_unique<TDbgList>()),
      FHiddenToolBars(std::make_unique<TDbgList>()),
      FMyImage(std::make_unique<TBitmap>()),
      FPersistence(std::make_unique<TPersistence>(this)) {
    SetControlStyle((ControlStyle() & ~(csCaptureMouse | csClickEvents | csOpaque)) | csAcceptsControls);
    SetAlign(alTop);
    FInternalToolBarStyler = new TCustomAdvToolBarStyler(this);
    FInternalToolBarStyler->SetName(L"InternalStyler");
    FCurrentToolBarStyler = FInternalToolBarStyler;
    FInternalToolBarStyler->AddControl(this);
    FPersistence->OnChange = [this](TObject*) { PersistenceChanged(); };
    SetDoubleBuffered(true);
    // A panel made in code has no loading phase: it is loaded from the start.
    FPropertiesLoaded = !(owner && (owner->HasState(csLoading) || owner->HasState(csReading)));
}

void TAdvDockPanel::SaveBeforeToolBarsGo() {
    if (FLayoutSaved || !FPersistence->Enabled() || HasState(csDesigning)) return;
    FLayoutSaved = true;
    try {
        SaveToolBarsPosition();
    } catch (const std::exception& error) {
        // Called from destructors, which must not throw: the layout is lost, said once.
        const std::string text = std::string("Dock panel layout not saved: ") + error.what() + "\n";
        ::OutputDebugStringA(text.c_str());
    } catch (...) {
        ::OutputDebugStringA("Dock panel layout not saved\n");
    }
}

TAdvDockPanel::~TAdvDockPanel() {
    Destroying();
    SaveBeforeToolBarsGo();
    if (FToolBarStyler && FToolBarStyler != FInternalToolBarStyler) FToolBarStyler->RemoveControl(this);
    FToolBarStyler = nullptr;
    FCurrentToolBarStyler = FInternalToolBarStyler;
    // The toolbars outlive the panel (their owner frees them): they forget it now, before
    // the window part unparents them and they would call back into a panel half gone.
    for (int k = 0; k < FToolBars->Count(); ++k) {
        TAdvCustomToolBar* bar = BarAt(*FToolBars, k);
        if (bar->FCurrentDock == this) bar->FCurrentDock = nullptr;
        if (bar->FLastDock == this) bar->FLastDock = nullptr;
        bar->FRow = -1;
    }
    FRows->OnDeleteItem = nullptr;
    FMembers.clear();
    delete FInternalToolBarStyler;
    FInternalToolBarStyler = nullptr;
    FCurrentToolBarStyler = nullptr;
}

const TPropertyList& TAdvDockPanel::Published() {
    using T = TAdvDockPanel;
    static const TPropertyList list =
        TPropertyList::Extend(TCustomControl::Published())
            // The panel's own side takes the place of the control alignment, which follows it.
            .Enum(L"Align", &T::DockAlign, &T::SetDockAlign, daTop)
            .Add(L"DoubleBuffered", &T::DoubleBuffered, &T::SetDoubleBuffered, true)
            .Add(L"MinimumSize", &T::MinimumSize, &T::SetMinimumSize)
            .Add(L"LockHeight", &T::LockHeight, &T::SetLockHeight)
            .Add(L"UseRunTimeHeight", &T::UseRunTimeHeight, &T::SetUseRunTimeHeight)
            .Reference(L"ToolBarStyler", &T::ToolBarStyler, &T::SetToolBarStyler)
            .ReadOnly(L"Version", &T::Version);
    return list;
}

std::vector<const TClass*> RegisterDockingClasses() {
    std::vector<const TClass*> classes = {&TAdvDockPanel::StaticClass(), &TFloatingWindow::StaticClass()};
    for (const TClass* cls : classes) RegisterClassType(*cls);
    return classes;
}

std::wstring TAdvDockPanel::Version() const {
    const unsigned number = unsigned(GetVersionNr());
    return std::to_wstring(number >> 24) + L"." + std::to_wstring((number >> 16) & 0xFF) + L"." +
           std::to_wstring((number >> 8) & 0xFF) + L"." + std::to_wstring(number & 0xFF);
}

TAdvCustomToolBar* TAdvDockPanel::BarAt(const TDbgList& list, int index) {
    return static_cast<TAdvCustomToolBar*>(list.Items(index));
}

TAdvCustomToolBar* TAdvDockPanel::AdvToolBars(int index) const {
    if (index < 0) RaiseListIndexError(index);
    return BarAt(*FToolBars, index);
}

TToolBarDockMember* TAdvDockPanel::MemberOf(const TAdvCustomToolBar* toolBar) const {
    for (const auto& m : FMembers)
        if (m->Bar() == toolBar) return m.get();
    return nullptr;
}

TToolBarDockMember* TAdvDockPanel::AddMember(TAdvCustomToolBar* toolBar) {
    if (TToolBarDockMember* m = MemberOf(toolBar)) return m;
    FMembers.push_back(std::make_unique<TToolBarDockMember>(toolBar, this));
    return FMembers.back().get();
}

bool TAdvDockPanel::RowsMayChange() const {
    return !FLockHeight || HasState(csDesigning) || !FPropertiesLoaded;
}

// ---------------------------------------------------------------- layout steps

void TAdvDockPanel::LayoutStep(bool holdMoves, const std::function<void()>& step) {
    ++FLayoutSteps;
    if (holdMoves) ++FHoldMoves;
    // On an error from the step the counts are put back and the toolbars still go where
    // the rows put them; a second error from moving them is dropped for the first.
    struct TScope {
        TAdvDockPanel* Panel;
        bool Hold;
        bool Ended = false;
        ~TScope() {
            if (Ended) return;
            try {
                Panel->EndLayoutStep(Hold);
            } catch (...) {
            }
        }
    } scope{this, holdMoves};
    step();
    scope.Ended = true;
    EndLayoutStep(holdMoves);
}

void TAdvDockPanel::EndLayoutStep(bool holdMoves) {
    if (holdMoves) --FHoldMoves;
    --FLayoutSteps;
    if (FHoldMoves == 0) ApplyHeldMoves();
    if (FLayoutSteps == 0 && FSizePending) {
        FSizePending = false;
        UpdateDockSize();
    }
}

void TAdvDockPanel::ApplyHeldMoves() {
    // By index: a move may make a toolbar leave the panel, which drops its member.
    for (size_t k = 0; k < FMembers.size(); ++k)
        if (FMembers[k]->Held()) FMembers[k]->ApplyHeldBounds();
}

void TAdvDockPanel::RowsLaidOut() {
    if (FLayoutSteps > 0) FSizePending = true;
    else UpdateDockSize();
}

// ---------------------------------------------------------------- loading and parent

void TAdvDockPanel::Loaded() {
    TCustomControl::Loaded();
    const bool vertical = IsVertical(FDockAlign);
    // Stable: toolbars with equal keys keep their docking order.
    std::vector<TAdvCustomToolBar*> sorted;
    for (int k = 0; k < FToolBars->Count(); ++k) {
        TAdvCustomToolBar* bar = BarAt(*FToolBars, k);
        bar->SetItemsRotated(vertical);
        auto key = [vertical](const TAdvCustomToolBar* b) {
            return vertical ? std::pair(b->Left(), b->Top()) : std::pair(b->Top(), b->Left());
        };
        const auto at = std::find_if(sorted.begin(), sorted.end(), [&](const TAdvCustomToolBar* s) { return key(s) > key(bar); });
        sorted.insert(at, bar);
    }
    // The class library's form scaling has already scaled the bounds: no adjustment here.
    LayoutStep(false, [&] {
        for (TAdvCustomToolBar* bar : sorted) {
            const int left = bar->Left(), top = bar->Top();
            LayoutStep(true, [&] { FRows->Add()->AddToolBar(AddMember(bar)); });
            bar->SetLeft(left);
            bar->SetTop(top);
        }
    });
    FPropertiesLoaded = true;
    if (FPersistence->Enabled() && !HasState(csDesigning)) {
        try {
            LoadToolBarsPosition();
        } catch (const std::exception& error) {
            // A store that cannot be read keeps the layout as designed.
            const std::string text = std::string("Dock panel layout not loaded: ") + error.what() + "\n";
            ::OutputDebugStringA(text.c_str());
        }
    }
    if (!HasState(csDesigning)) ApplyCustomStyleTones();
}

void TAdvDockPanel::SetColorTones(AdvStyleIF::TColorTones) { Invalidate(); }

void TAdvDockPanel::ApplyCustomStyleTones() {
    if (!AdvStyleIF::IsCustomStyleActive(AdvStyleIF::AppStyleServices(), false) || !FCurrentToolBarStyler) return;
    AdvStyleIF::TColorTones tones{};
    AdvStyleIF::GetCustomStyleTones(tones);
    // A style that gives no colours (the plain system one) keeps the styler's: clNone
    // would leave the dock unpainted.
    if (tones.Background.BrushColor == clNone) return;
    TCustomAdvToolBarStyler* styler = FCurrentToolBarStyler;
    const TColor background = tones.Background.BrushColor;
    styler->DockColor()->SetColor(background);
    styler->DockColor()->SetColorTo(background);
    styler->SetRoundEdges(false);
    styler->SetRightHandleColor(background);
    styler->SetRightHandleColorTo(background);
    styler->SetRightHandleColorHot(tones.Hover.BrushColor);
    styler->SetRightHandleColorHotTo(tones.Hover.BrushColor);
    styler->SetRightHandleColorDown(tones.Selected.BrushColor);
    styler->SetRightHandleColorDownTo(tones.Selected.BrushColor);
    styler->Color()->SetColor(background);
    styler->Color()->SetColorTo(background);
    const auto giveTones = [&tones](TControl* control) {
        if (auto* toned = dynamic_cast<AdvStyleIF::IOVTTones*>(control)) toned->SetColorTones(tones);
    };
    for (int k = 0; k < ControlCount(); ++k) {
        TControl* child = Controls(k);
        giveTones(child);
        if (auto* bar = dynamic_cast<TAdvCustomToolBar*>(child)) {
            bar->UpdateColorTones();
            for (int i = 0; i < bar->ControlCount(); ++i) giveTones(bar->Controls(i));
        }
    }
}

void TAdvDockPanel::SetParent(TWinControl* parent) {
    if (dynamic_cast<TAdvDockPanel*>(parent) || dynamic_cast<TAdvCustomToolBar*>(parent))
        throw Exception(L"Invalid Parent");
    TCustomControl::SetParent(parent);
}

void TAdvDockPanel::SetBounds(int left, int top, int width, int height) {
    TCustomControl::SetBounds(left, top, width, height);
    if (!DPIInitialized && HandleAllocated()) {
        if (TCustomForm* form = ParentForm()) {
            FormIsScaled = form->Scaled();
            InitDPIScale(form->MonitorPixelsPerInch());
        }
    }
}

void TAdvDockPanel::Resize() {
    TCustomControl::Resize();
    if (!FSizing) LayoutStep(true, [this] { FRows->UpdateRows(); });
}

// ---------------------------------------------------------------- properties

void TAdvDockPanel::SetDockAlign(TDockAlign value) {
    if (value == FDockAlign) return;
    FDockAlign = value;
    static constexpr TAlign aligns[] = {alLeft, alTop, alRight, alBottom};
    SetAlign(aligns[value]);
    for (int k = 0; k < FToolBars->Count(); ++k) {
        TAdvCustomToolBar* bar = BarAt(*FToolBars, k);
        bar->SetPosition(value);
        bar->SetItemsRotated(IsVertical(value));
    }
    LayoutStep(true, [this] { FRows->UpdateRows(); });
}

void TAdvDockPanel::SetMinimumSize(int value) {
    if (value <= 0 || value == FMinimumSize) return;
    FMinimumSize = value;
    if (!HasState(csDesigning)) UpdateDockSize();
}

void TAdvDockPanel::SetUseRunTimeHeight(bool value) {
    if (value == FUseRunTimeHeight) return;
    FUseRunTimeHeight = value;
    LayoutStep(true, [this] { FRows->UpdateRows(); });
}

void TAdvDockPanel::SetPopupMenu(ClassLib::TPopupMenu* value) {
    TControl::SetPopupMenu(value);
    ApplyPopupMenuStyler();
}

void TAdvDockPanel::ApplyPopupMenuStyler() {
    auto* menu = dynamic_cast<AdvMenus::TAdvPopupMenu*>(TControl::PopupMenu());
    if (menu && FCurrentToolBarStyler) menu->SetMenuStyler(FCurrentToolBarStyler->CurrentAdvMenuStyler());
}

void TAdvDockPanel::PersistenceChanged() {
    for (int r = 0; r < FRows->Count(); ++r)
        for (IDockMember* m : FRows->Items(r)->ToolBarList()) {
            TPersistence* p = static_cast<TToolBarDockMember*>(m)->Bar()->Persistence();
            p->SetEnabled(FPersistence->Enabled());
            p->SetKey(FPersistence->Key());
            p->SetLocation(FPersistence->Location());
        }
}

// ---------------------------------------------------------------- styler

void TAdvDockPanel::SetToolBarStyler(TCustomAdvToolBarStyler* value) {
    if (value && value == FToolBarStyler) return;
    if (FToolBarStyler && FToolBarStyler != FInternalToolBarStyler) FToolBarStyler->RemoveControl(this);
    FToolBarStyler = value;
    if (value) {
        FCurrentToolBarStyler = value;
        value->AddControl(this);
        value->FreeNotification(this);
    } else {
        FCurrentToolBarStyler = FInternalToolBarStyler;
    }
    if (!HasState(csDestroying) && !HasState(csLoading)) {
        for (int k = 0; k < FToolBars->Count(); ++k) {
            TAdvCustomToolBar* bar = BarAt(*FToolBars, k);
            bar->SetParentStyler(bar->ParentStyler());
            bar->Invalidate();
        }
    }
    ApplyPopupMenuStyler();
    Invalidate();
}

void TAdvDockPanel::StylerChanged(int code) {
    if (!FCurrentToolBarStyler) return;
    SetColor(FCurrentToolBarStyler->DockColor()->Color());
    if (code == 6) ApplyPopupMenuStyler();
    Invalidate();
}

void TAdvDockPanel::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove || !component) return;
    if (HasState(csDestroying)) {
        if (component == FToolBarStyler) {
            FToolBarStyler = nullptr;
            FCurrentToolBarStyler = FInternalToolBarStyler;
        }
        return;
    }
    if (component == FToolBarStyler) SetToolBarStyler(nullptr);
    if (auto* bar = dynamic_cast<TAdvCustomToolBar*>(component); bar && bar->FRow >= 0 && bar->FRow < FRows->Count())
        UndockToolBar(bar);
}

// ---------------------------------------------------------------- painting

void TAdvDockPanel::Paint() {
    TCustomControl::Paint();
    if (!FCurrentToolBarStyler || Width() <= 0 || Height() <= 0) return;
    FMyImage->SetSize(Width(), Height());
    TCanvas* canvas = FMyImage->Canvas();
    const TRect r = ClientRect();
    const TGradientBackground* dock = FCurrentToolBarStyler->DockColor();
    if (dock->ColorTo() == clNone) {
        canvas->Brush()->SetColor(dock->Color());
        canvas->Pen()->SetColor(dock->Color());
        canvas->Rectangle(r);
    } else {
        DrawGradient(canvas, dock->Color(), dock->ColorTo(), dock->Steps(), r, dock->Direction() == gdHorizontal);
    }
    TBitmap* picture = FCurrentToolBarStyler->BackGround();
    if (picture && !picture->Empty()) {
        const int w = picture->Width(), h = picture->Height();
        switch (FCurrentToolBarStyler->BackGroundDisplay()) {
            case bdTile:
                for (int y = 1; y < Height() - 2; y += h)
                    for (int x = 1; x < Width() - 2; x += w) canvas->Draw(x, y, picture);
                break;
            case bdCenter: canvas->Draw((Width() - w) / 2, (Height() - h) / 2, picture); break;
            case bdStretch: canvas->StretchDraw(TRect{2, 2, Width() - 2, Height() - 2}, picture); break;
        }
    }
    Canvas()->Draw(0, 0, FMyImage.get());
}

// ---------------------------------------------------------------- size

void TAdvDockPanel::UpdateDockSize() {
    const bool designing = HasState(csDesigning);
    if (FLockHeight && !designing && FPropertiesLoaded) return;
    const bool vertical = IsVertical(FDockAlign);
    int extent;
    if (FRows->Count() == 0) extent = FMinimumSize;
    else extent = FRows->RowsExtent() + (vertical ? FOffSetX : FOffSetY);
    if (designing && !FUseRunTimeHeight)
        extent = FRows->Count() == 0 ? (vertical ? FOffSetX : FOffSetY) * 2 + 13 : extent + 13;
    FSizing = true;
    struct TClear {
        bool& Flag;
        ~TClear() { Flag = false; }
    } clear{FSizing};
    switch (FDockAlign) {
        case daTop: SetHeight(extent); break;
        case daLeft: SetWidth(extent); break;
        case daBottom:
            if (Height() < extent) SetBounds(Left(), Top() + Height() - extent, Width(), extent);
            else SetHeight(extent);
            break;
        case daRight:
            if (Width() < extent) SetBounds(Left() + Width() - extent, Top(), extent, Height());
            else SetWidth(extent);
            break;
    }
}

// ---------------------------------------------------------------- toolbars

int TAdvDockPanel::DockToolBar(TAdvCustomToolBar* toolBar) {
    int rowIndex = -1;
    if (!RowsMayChange()) {
        rowIndex = FindRowForToolBar(toolBar);
        if (rowIndex < 0) return -1;
    }
    toolBar->FCurrentDock = nullptr;
    toolBar->SetPosition(FDockAlign);
    toolBar->FCurrentDock = this;
    if (FToolBars->IndexOf(toolBar) < 0) FToolBars->Add(toolBar);
    TToolBarDockMember* member = AddMember(toolBar);
    int result = 0;
    LayoutStep(true, [&] {
        if (rowIndex >= 0) result = FRows->Items(rowIndex)->AddToolBar(member);
        else if (!HasState(csLoading)) result = FRows->Add()->AddToolBar(member);
    });
    toolBar->SetItemsRotated(IsVertical(FDockAlign));
    TPersistence* p = toolBar->Persistence();
    p->SetEnabled(FPersistence->Enabled());
    p->SetKey(FPersistence->Key());
    p->SetLocation(FPersistence->Location());
    return result;
}

void TAdvDockPanel::UndockToolBar(TAdvCustomToolBar* toolBar) {
    TToolBarDockMember* member = MemberOf(toolBar);
    if (member && !HasState(csLoading)) {
        LayoutStep(true, [&] {
            const int row = toolBar->FRow;
            if (row >= 0 && row < FRows->Count()) FRows->Items(row)->RemoveToolBar(member, true);
            // A row that lost it elsewhere (a stale index) must not keep a pointer to it.
            const int still = FRows->IsToolBarAlreadyAdded(member);
            if (still >= 0) FRows->Items(still)->RemoveToolBar(member, true);
        });
    }
    FToolBars->Remove(toolBar);
    FHiddenToolBars->Remove(toolBar);
    FMembers.erase(std::remove_if(FMembers.begin(), FMembers.end(),
                                  [toolBar](const auto& m) { return m->Bar() == toolBar; }),
                   FMembers.end());
}

void TAdvDockPanel::UpdateToolBarBounds(TAdvCustomToolBar* toolBar, int& left, int& top, int& width, int& height) {
    if (HasState(csDestroying) || HasState(csLoading) || !toolBar->Visible() || toolBar->FRow < 0) return;
    TToolBarDockMember* member = MemberOf(toolBar);
    if (!member || FRows->IsToolBarAlreadyAdded(member) < 0) return;
    LayoutStep(true, [&] {
        if (!IsVertical(FDockAlign)) {
            FRows->SetToolBarTopAndHeight(member, top, height);
            if (toolBar->FRow >= 0 && toolBar->FRow < FRows->Count())
                FRows->Items(toolBar->FRow)->SetToolBarLeftAndWidth(member, left, width);
        } else {
            FRows->SetToolBarLeftAndWidth(member, left, width);
            if (toolBar->FRow >= 0 && toolBar->FRow < FRows->Count())
                FRows->Items(toolBar->FRow)->SetToolBarTopAndHeight(member, top, height);
        }
        // Reached from inside another step, its own move waits with the others: it must
        // wait where the toolbar is about to put itself.
        if (member->Held()) member->SetBounds(left, top, width, height);
    });
}

void TAdvDockPanel::ToolBarVisibleChanged(TAdvCustomToolBar* toolBar) {
    if (toolBar->Visible()) FHiddenToolBars->Remove(toolBar);
    else if (FHiddenToolBars->IndexOf(toolBar) < 0) FHiddenToolBars->Add(toolBar);
    if (TToolBarDockMember* member = MemberOf(toolBar))
        LayoutStep(true, [&] { FRows->UpdateToolBarVisibility(member); });
}

void TAdvDockPanel::ToolBarFullSizeChanged(TAdvCustomToolBar* toolBar) {
    if (TToolBarDockMember* member = MemberOf(toolBar)) LayoutStep(true, [&] { FRows->GiveToolBarOwnRow(member); });
}

int TAdvDockPanel::FindRowForToolBar(const TAdvCustomToolBar* toolBar) const {
    const TToolBarDockMember probe(const_cast<TAdvCustomToolBar*>(toolBar), this);
    return FRows->FindRowFor(&probe, FDockAlign == daLeft || FDockAlign == daTop);
}

void TAdvDockPanel::UpdateToolBarRows() {
    LayoutStep(true, [this] {
        for (int r = 0; r < FRows->Count(); ++r)
            if (FRows->Items(r)->NeedsArrange()) FRows->Items(r)->ArrangeToolBars();
    });
}

void TAdvDockPanel::ArrangeRowOf(const TAdvCustomToolBar* toolBar) {
    const int row = toolBar->FRow;
    if (row >= 0 && row < FRows->Count()) LayoutStep(true, [&] { FRows->Items(row)->ArrangeToolBars(); });
}

void TAdvDockPanel::ArrangeToolBars() {
    LayoutStep(true, [this] { FRows->PackRows(); });
}

void TAdvDockPanel::StackToolBars() {
    std::vector<TToolBarDockMember*> shown;
    for (int k = 0; k < FToolBars->Count(); ++k) {
        TAdvCustomToolBar* bar = BarAt(*FToolBars, k);
        if (bar->Visible()) shown.push_back(AddMember(bar));
    }
    LayoutStep(false, [&] {
        FRows->Clear();
        TRowCollectionItem* row = FRows->Add();
        int at = 0;
        for (TToolBarDockMember* m : shown) {
            row->MutableList().push_back(m);
            m->SetRow(0);
        }
        for (TToolBarDockMember* m : shown) {
            TAdvCustomToolBar* bar = m->Bar();
            if (IsVertical(FDockAlign)) {
                bar->SetBounds(0, at, bar->Width(), bar->Height());
                at += bar->Height();
            } else {
                bar->SetBounds(at, 0, bar->Width(), bar->Height());
                at += bar->Width();
            }
        }
        LayoutStep(true, [this] { FRows->UpdateRows(); });
    });
}

std::vector<TAdvDockPanel*> TAdvDockPanel::OtherDockPanels() const {
    std::vector<TAdvDockPanel*> found;
    TCustomForm* form = ParentForm();
    if (!form) return found;
    std::function<void(TWinControl*)> search = [&](TWinControl* control) {
        for (int k = 0; k < control->ControlCount(); ++k) {
            auto* child = dynamic_cast<TWinControl*>(control->Controls(k));
            if (!child || child == this) continue;
            if (auto* panel = dynamic_cast<TAdvDockPanel*>(child)) {
                if (std::find(found.begin(), found.end(), panel) == found.end()) found.push_back(panel);
                continue;
            }
            search(child);
        }
    };
    search(form);
    return found;
}

}  // namespace AdvToolBar
