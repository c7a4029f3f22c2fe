// The dock panel's saved layout: which toolbar sits in which row, where, how large and
// whether shown, in an INI file or the registry.
#include "toolbars/AdvDockPanel.h"

#include <algorithm>

#include "classlib/Strings.h"
#include "toolbars/AdvDockMember.h"
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;

namespace {

// A hostile store cannot make the loader walk more entries than this.
constexpr int MaxLayoutEntries = 4096;

}  // namespace

void TAdvDockPanel::SaveToolBarsPosition() {
    if (HasState(csDesigning)) return;
    std::unique_ptr<TLayoutStore> store = OpenLayoutStore(*FPersistence);
    if (!store) return;
    int inRows = 0;
    for (int r = 0; r < FRows->Count(); ++r) inRows += FRows->Items(r)->Count();
    store->WriteInteger(L"ToolBarCount", inRows + FHiddenToolBars->Count());
    store->WriteInteger(L"RowCount", FRows->Count());
    int n = 1;
    auto write = [&](const TAdvCustomToolBar* bar) {
        const std::wstring t = bar->Name();
        store->WriteString(L"Name" + std::to_wstring(n++), t);
        store->WriteInteger(t + L".Row", bar->FRow);
        store->WriteInteger(t + L".Left", bar->Left());
        store->WriteInteger(t + L".Top", bar->Top());
        store->WriteInteger(t + L".Width", bar->Width());
        store->WriteInteger(t + L".Height", bar->Height());
        store->WriteInteger(t + L".Visible", bar->Visible() ? 1 : 0);
    };
    for (int r = 0; r < FRows->Count(); ++r)
        for (IDockMember* m : FRows->Items(r)->ToolBarList()) write(static_cast<TToolBarDockMember*>(m)->Bar());
    for (int k = 0; k < FHiddenToolBars->Count(); ++k) write(BarAt(*FHiddenToolBars, k));
    store->UpdateFile();
}

void TAdvDockPanel::LoadToolBarsPosition() {
    if (HasState(csDesigning)) return;
    std::unique_ptr<TLayoutStore> store = OpenLayoutStore(*FPersistence);
    if (!store) return;
    auto barsInRows = [this] {
        std::vector<TAdvCustomToolBar*> bars;
        for (int r = 0; r < FRows->Count(); ++r)
            for (IDockMember* m : FRows->Items(r)->ToolBarList()) bars.push_back(static_cast<TToolBarDockMember*>(m)->Bar());
        return bars;
    };
    // Each toolbar's own settings first: one saved floating leaves the rows here.
    for (TAdvCustomToolBar* bar : barsInRows())
        if (!bar->FPersistSettingLoaded) bar->LoadPosition();
    std::vector<TAdvCustomToolBar*> names = barsInRows();
    const int n = std::min(store->ReadInteger(L"ToolBarCount", 0), MaxLayoutEntries);
    if (n <= 0) return;
    // The panel's size follows the rows once, at the end.
    LayoutStep(false, [&] {
        std::vector<std::pair<TAdvCustomToolBar*, bool>> visibility;
        LayoutStep(true, [&] { LoadRowEntries(*store, n, names, visibility); });
        for (auto& [bar, visible] : visibility) bar->SetVisible(visible);
        for (int k = 0; k < FToolBars->Count(); ++k) {
            TAdvCustomToolBar* bar = BarAt(*FToolBars, k);
            if (!bar->Visible()) continue;
            bar->ArrangeItems(true);
            bar->UpdateHiddenControls();
        }
        // A toolbar that grew back to its full length while its items were laid out must fit
        // its row again, hiding what no longer fits.
        FRows->UpdateRows();
    });
}

// The rows as stored; the toolbars' moves are held back (nothing here reads a window's
// bounds, only the members').
void TAdvDockPanel::LoadRowEntries(TLayoutStore& layout, int n, std::vector<TAdvCustomToolBar*>& names,
                                   std::vector<std::pair<TAdvCustomToolBar*, bool>>& visibility) {
    TLayoutStore* const store = &layout;
    const std::vector<TAdvDockPanel*> others = OtherDockPanels();
    // Never more rows than there are entries, or toolbars to fill them.
    int available = FToolBars->Count();
    for (const TAdvDockPanel* panel : others) available += panel->AdvToolBarCount();
    const int rows = std::clamp(store->ReadInteger(L"RowCount", FRows->Count()), 0, std::min(n, available));
    FRows->Clear();
    for (int r = 0; r < rows; ++r) FRows->Add();

    std::vector<TAdvCustomToolBar*> leftOver;  // named, shown, with a row index out of range
    for (int entry = 1; entry <= n; ++entry) {
        const std::wstring name = store->ReadString(L"Name" + std::to_wstring(entry), Name());
        TAdvCustomToolBar* bar = nullptr;
        if (auto it = std::find_if(names.begin(), names.end(), [&](const TAdvCustomToolBar* b) { return SameText(b->Name(), name); });
            it != names.end()) {
            bar = *it;
            names.erase(it);
        } else {
            for (int k = 0; k < FHiddenToolBars->Count() && !bar; ++k)
                if (SameText(BarAt(*FHiddenToolBars, k)->Name(), name)) bar = BarAt(*FHiddenToolBars, k);
            if (!bar) {
                for (TAdvDockPanel* panel : others)
                    for (int k = 0; k < panel->AdvToolBarCount(); ++k)
                        if (SameText(panel->AdvToolBars(k)->Name(), name)) bar = panel->AdvToolBars(k);
                // Taken over from another panel of the form, out of the row docking gave it.
                if (bar && bar->CanDockTo(this)) {
                    bar->SetParent(this);
                    if (bar->FCurrentDock != this) bar = nullptr;
                    else if (TToolBarDockMember* m = MemberOf(bar); m && FRows->IsToolBarAlreadyAdded(m) >= 0)
                        FRows->Items(FRows->IsToolBarAlreadyAdded(m))->RemoveToolBar(m, true);
                } else {
                    bar = nullptr;
                }
            }
        }
        if (!bar) continue;
        const std::wstring t = bar->Name();
        TToolBarDockMember* member = AddMember(bar);
        const int row = store->ReadInteger(t + L".Row", bar->FRow);
        const int left = store->ReadInteger(t + L".Left", member->Left());
        const int top = store->ReadInteger(t + L".Top", member->Top());
        const int width = store->ReadInteger(t + L".Width", member->Width());
        const int height = store->ReadInteger(t + L".Height", member->Height());
        const bool visible = (store->ReadInteger(t + L".Visible", bar->Visible() ? 1 : 0) & 0xFF) != 0;
        // Visibility is applied once the rows stand, so no row goes while indexes are read.
        if (visible) {
            if (row >= 0 && row < FRows->Count()) {
                FRows->Items(row)->MutableList().push_back(member);
                bar->FRow = row;
            } else {
                leftOver.push_back(bar);
            }
        }
        member->SetBounds(left, top, width, height);
        if (visible != bar->Visible()) visibility.emplace_back(bar, visible);
    }
    for (int r = FRows->Count() - 1; r >= 0; --r) FRows->DeleteRowIfEmpty(FRows->Items(r));
    // Out-of-range rows first, so a toolbar the store does not name ends up last.
    for (TAdvCustomToolBar* bar : leftOver) FRows->Add()->AddToolBar(AddMember(bar));
    for (TAdvCustomToolBar* bar : names) FRows->Add()->AddToolBar(AddMember(bar));
    FRows->UpdateRows();
}

}  // namespace AdvToolBar
