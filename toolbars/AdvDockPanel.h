#pragma once
// The dock panel: the strip along one side of a form where toolbars dock in rows. It
// paints the dock background from its toolbar styler, keeps its size to its rows, routes
// a docked toolbar's bounds changes through the row model, and saves and restores the
// arrangement of its toolbars.
#include <windows.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "classlib/Control.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvToolBarBase.h"
#include "menus/AdvToolBarStyler.h"
#include "toolbars/AdvDockRows.h"
#include "toolbars/AdvToolBarLayout.h"

namespace ClassLib {
class TBitmap;
class TPopupMenu;
}  // namespace ClassLib

namespace AdvToolBar {

class TAdvCustomToolBar;
class TToolBarDockMember;

class TAdvDockPanel : public ClassLib::TCustomControl,
                      public IToolBarStylerClient,
                      public IDockRowsHost,
                      public AdvStyleIF::IOVTTones {
    CLASSLIB_CLASS(TAdvDockPanel, ClassLib::TCustomControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvDockPanel(ClassLib::TComponent* owner);
    ~TAdvDockPanel() override;

    void Loaded() override;
    // A dock panel or a toolbar as parent: "Invalid Parent", nothing changes.
    void SetParent(ClassLib::TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;

    // ---- properties ----
    // The side the panel docks to; the control's alignment follows it.
    TDockAlign DockAlign() const { return FDockAlign; }
    void SetDockAlign(TDockAlign value);
    int MinimumSize() const { return FMinimumSize; }
    void SetMinimumSize(int value);
    bool LockHeight() const override { return FLockHeight; }
    void SetLockHeight(bool value) { FLockHeight = value; }
    bool UseRunTimeHeight() const { return FUseRunTimeHeight; }
    void SetUseRunTimeHeight(bool value);
    TPersistence* Persistence() const { return FPersistence.get(); }
    void SetPersistence(const TPersistence* value) { FPersistence->Assign(value); }
    // A styled popup menu gets the styler's menu styler.
    void SetPopupMenu(ClassLib::TPopupMenu* value);
    static constexpr int GetVersionNr() { return 0x06080303; }
    std::wstring Version() const;
    void SetVersion(const std::wstring&) {}

    // ---- styler ----
    TStylerClientKind StylerClientKind() const override { return TStylerClientKind::DockPanel; }
    void StylerChanged(int code) override;
    TCustomAdvToolBarStyler* ToolBarStyler() const override { return FToolBarStyler; }
    void SetToolBarStyler(TCustomAdvToolBarStyler* value) override;
    TCustomAdvToolBarStyler* CurrentToolBarStyler() const { return FCurrentToolBarStyler; }
    TCustomAdvToolBarStyler* InternalToolBarStyler() const { return FInternalToolBarStyler; }

    // ---- toolbars and rows ----
    int RowCount() const { return FRows->Count(); }
    TRowCollection* Rows() const { return FRows.get(); }
    int AdvToolBarCount() const { return FToolBars->Count(); }
    // The list's errors for a bad index.
    TAdvCustomToolBar* AdvToolBars(int index) const;
    TAdvCustomToolBar* GetAdvToolBars(int index) const { return AdvToolBars(index); }
    int HiddenToolBarCount() const { return FHiddenToolBars->Count(); }
    // Every row arranged, then its visible toolbars side by side from the row start.
    void ArrangeToolBars();
    // Every visible toolbar into one row.
    void StackToolBars();
    void LoadToolBarsPosition();
    void SaveToolBarsPosition();
    ClassLib::TBitmap* GetDockImage() const { return FMyImage.get(); }

    // ---- what docked toolbars call ----
    // The toolbar's place in its row, 0 while loading, -1 when refused.
    int DockToolBar(TAdvCustomToolBar* toolBar);
    void UndockToolBar(TAdvCustomToolBar* toolBar);
    void UpdateToolBarBounds(TAdvCustomToolBar* toolBar, int& left, int& top, int& width, int& height);
    void ToolBarVisibleChanged(TAdvCustomToolBar* toolBar);
    void ToolBarFullSizeChanged(TAdvCustomToolBar* toolBar);
    int FindRowForToolBar(const TAdvCustomToolBar* toolBar) const;
    void UpdateToolBarRows();
    // Arranges the row that holds the toolbar.
    void ArrangeRowOf(const TAdvCustomToolBar* toolBar);
    bool PropertiesLoaded() const { return FPropertiesLoaded; }
    // The form is going and its toolbars go before their panel: the first to go has the
    // layout saved while every toolbar is still in its row (once; the destructor then skips it).
    void SaveBeforeToolBarsGo();

    // ---- layout batches ----
    // True while a row change runs: toolbars move once, when it is done.
    bool HoldsToolBarMoves() const { return FHoldMoves > 0; }

    // ---- colour tones ----
    // The panel paints from its styler: tones only repaint it.
    void SetColorTones(AdvStyleIF::TColorTones tones) override;
    // An application style in force: the styler's dock, handle and toolbar colours take
    // its tones, and so do the panel's children that take tones. Run at the end of Loaded.
    void ApplyCustomStyleTones();

protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    void Paint() override;
    void Resize() override;

private:
    // ---- the rows' host ----
    bool Vertical() const override { return IsVertical(FDockAlign); }
    int RowAreaLength() const override { return IsVertical(FDockAlign) ? Height() : Width(); }
    int RowInset() const override { return FOffSetX; }
    bool RowsMayChange() const override;
    bool Designing() const override { return HasState(ClassLib::csDesigning); }
    void RowsLaidOut() override;

    void UpdateDockSize();
    // Runs a change of the rows as one step: the panel's own size follows the rows once at
    // the end and, with holdMoves, every toolbar moves once to where the rows left it
    // (each window move is costly, and a change may move a toolbar many times). Only the
    // rows may run inside with holdMoves: nothing there reads a toolbar's window bounds.
    void LayoutStep(bool holdMoves, const std::function<void()>& step);
    void EndLayoutStep(bool holdMoves);
    void ApplyHeldMoves();
    // The stored rows and bounds of the layout's n entries; toolbars to show or hide after.
    void LoadRowEntries(TLayoutStore& store, int n, std::vector<TAdvCustomToolBar*>& names,
                        std::vector<std::pair<TAdvCustomToolBar*, bool>>& visibility);
    void PersistenceChanged();
    void ApplyPopupMenuStyler();
    TToolBarDockMember* MemberOf(const TAdvCustomToolBar* toolBar) const;
    TToolBarDockMember* AddMember(TAdvCustomToolBar* toolBar);
    static TAdvCustomToolBar* BarAt(const TDbgList& list, int index);
    // The other dock panels of the panel's form, depth first, each once.
    std::vector<TAdvDockPanel*> OtherDockPanels() const;

    TCustomAdvToolBarStyler* FInternalToolBarStyler = nullptr;  // owned as a component
    TCustomAdvToolBarStyler* FToolBarStyler = nullptr;
    TCustomAdvToolBarStyler* FCurrentToolBarStyler = nullptr;   // invariant: never null
    TDockAlign FDockAlign = daTop;
    std::unique_ptr<TRowCollection> FRows;
    int FOffSetY = 0;  // after the last row, in the panel's size
    int FOffSetX = 1;  // every row's inset from both panel ends
    std::unique_ptr<TDbgList> FToolBars;        // docked, in docking order
    std::unique_ptr<TDbgList> FHiddenToolBars;  // docked and not visible, each once
    std::vector<std::unique_ptr<TToolBarDockMember>> FMembers;  // one per docked toolbar
    std::unique_ptr<ClassLib::TBitmap> FMyImage;
    std::unique_ptr<TPersistence> FPersistence;
    int FMinimumSize = 3;
    bool FLockHeight = false;
    bool FPropertiesLoaded = false;
    bool FUseRunTimeHeight = false;
    bool FLayoutSaved = false;  // saved at the form's end already
    bool FSizing = false;  // UpdateDockSize runs: its own resize does not lay the rows out again
    int FLayoutSteps = 0;        // nested LayoutStep calls
    int FHoldMoves = 0;          // of them, those that hold toolbar moves back
    bool FSizePending = false;   // the rows were laid out during a step: the size follows at its end
};

// The dock panel and floating window classes, registered for window descriptions.
std::vector<const ClassLib::TClass*> RegisterDockingClasses();

}  // namespace AdvToolBar
