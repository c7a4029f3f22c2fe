// The page control: its properties, pages and tabs, selection, keys, mouse and docking.
// The sheets, the small buttons, the closed pages and the painting have files of their own.
#include "controls/AdvPageControl.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/Form.h"
#include "classlib/ImageList.h"
#include "classlib/Menus.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "controls/AdvPageControlLayout.h"
#include "controls/AdvPageControlShared.h"
#include "graphics/AdvStyleIF.h"

namespace AdvPageControl {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TAdvPageControl, TCustomTabControl)

// The layout's strip sides are the host's tab positions, one for one.
static_assert(int(TStrip::Top) == tpTop && int(TStrip::Bottom) == tpBottom && int(TStrip::Left) == tpLeft &&
              int(TStrip::Right) == tpRight);

namespace {

// True when `inner` is `outer` or lies inside it.
bool Contains(TWinControl* outer, TControl* inner) {
    if (!outer) return false;
    for (TControl* c = inner; c; c = c->Parent())
        if (c == outer) return true;
    return false;
}

}  // namespace

// ---- TAdvPageControl: creation, properties ----

const TPropertyList& TAdvPageControl::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomTabControl::Published())
        .Reference(L"ActivePage", &TAdvPageControl::ActivePage, &TAdvPageControl::SetActivePage)
        .SubObject(L"ActiveFont", &TAdvPageControl::ActiveFont)
        .SubObject(L"CloseGlyph", &TAdvPageControl::CloseGlyph)
        .Enum(L"ClosePosition", L"TClosePosition", &TAdvPageControl::ClosePosition, &TAdvPageControl::SetClosePosition,
              {L"cpLeft", L"cpRight", L"cpLeftActive", L"cpRightActive"}, cpLeft)
        .Add(L"FreeOnClose", &TAdvPageControl::FreeOnClose, &TAdvPageControl::SetFreeOnClose, false)
        .Add(L"ShowFocus", &TAdvPageControl::ShowFocus, &TAdvPageControl::SetShowFocus, false)
        .Colour(L"DefaultTextColor", &TAdvPageControl::DefaultTextColor, &TAdvPageControl::SetDefaultTextColor, clBlack)
        .Colour(L"DefaultTabColor", &TAdvPageControl::DefaultTabColor, &TAdvPageControl::SetDefaultTabColor, clBtnFace)
        .Colour(L"DefaultTabColorTo", &TAdvPageControl::DefaultTabColorTo, &TAdvPageControl::SetDefaultTabColorTo, clNone)
        .Colour(L"ActiveColor", &TAdvPageControl::ActiveColor, &TAdvPageControl::SetActiveColor, clBtnFace)
        .Colour(L"ActiveColorTo", &TAdvPageControl::ActiveColorTo, &TAdvPageControl::SetActiveColorTo, clNone)
        .Add(L"TabBorder3D", &TAdvPageControl::TabBorder3D, &TAdvPageControl::SetTabBorder3D, false)
        .Colour(L"TabBorderColor", &TAdvPageControl::TabBorderColor, &TAdvPageControl::SetTabBorderColor, clGray)
        .Add(L"TabSheet3D", &TAdvPageControl::TabSheet3D, &TAdvPageControl::SetTabSheet3D, false)
        .Colour(L"TabSheetBorderColor", &TAdvPageControl::TabSheetBorderColor, &TAdvPageControl::SetTabSheetBorderColor, clGray)
        .Colour(L"TabHoverColor", &TAdvPageControl::TabHoverColor, &TAdvPageControl::SetTabHoverColor, clNone)
        .Colour(L"TabHoverColorTo", &TAdvPageControl::TabHoverColorTo, &TAdvPageControl::SetTabHoverColorTo, clNone)
        .Colour(L"TabHoverBorder", &TAdvPageControl::TabHoverBorder, &TAdvPageControl::SetTabHoverBorder, clNone)
        .Colour(L"TabBackGroundColor", &TAdvPageControl::TabBackGroundColor, &TAdvPageControl::SetTabBackGroundColor, clBtnFace)
        .Stored(L"TabBackGroundColor", true)
        .SubObject(L"TabBackGround", &TAdvPageControl::TabBackGround)
        .SubObject(L"TabBackGroundActive", &TAdvPageControl::TabBackGroundActive)
        .SubObject(L"TabMargin", &TAdvPageControl::TabMargin)
        .Add(L"TabOverlap", &TAdvPageControl::TabOverlap, &TAdvPageControl::SetTabOverlap, 0)
        .Add(L"TabSplitLine", &TAdvPageControl::TabSplitLine, &TAdvPageControl::SetTabSplitLine, false)
        .Add(L"RoundEdges", &TAdvPageControl::RoundEdges, &TAdvPageControl::SetRoundEdges, false)
        .Enum(L"TabStyle", L"TTabStyle", &TAdvPageControl::TabStyle, &TAdvPageControl::SetTabStyle,
              {L"tsClassic", L"tsDotNet", L"tsVestra"}, tsClassic)
        .Add(L"LowerActive", &TAdvPageControl::LowerActive, &TAdvPageControl::SetLowerActive, 2)
        .Add(L"Version", &TAdvPageControl::Version, &TAdvPageControl::SetVersion, L"2.0.4.2")
        .Add(L"ShowClosedList", &TAdvPageControl::ShowClosedList, &TAdvPageControl::SetShowClosedList, false)
        .Reference(L"ClosedListMenu", &TAdvPageControl::ClosedListMenu, &TAdvPageControl::SetClosedListMenu)
        .Add(L"ClosedListButtonHint", &TAdvPageControl::ClosedListButtonHint, &TAdvPageControl::SetClosedListButtonHint, L"")
        .SubObject(L"PersistPagesState", &TAdvPageControl::PersistPagesState)
        .Reference(L"Images", &TAdvPageControl::Images, &TAdvPageControl::SetImages)
        .Add(L"DockSite", &TAdvPageControl::DockSite, &TAdvPageControl::SetDockSite, false)
        .Add(L"DoubleBuffered", &TAdvPageControl::DoubleBuffered, &TAdvPageControl::SetDoubleBuffered, true)
        .Event(L"OnCanChange", &TAdvPageControl::OnCanChange)
        .Event(L"OnDrawTab", &TAdvPageControl::OnDrawTab)
        .Event(L"OnClosedListClick", &TAdvPageControl::OnClosedListClick);
    return list;
}

TAdvPageControl::TAdvPageControl(TComponent* owner) : TCustomTabControl(owner) {
    FControlStyle = csOpaque | csDoubleClicks;
    FPlaceholder = std::make_unique<TImageList>(nullptr);
    FPlaceholder->SetSize(1, 1);
    FPersistPagesState = std::make_unique<TPersistence>(this);
    FTabBackGround = std::make_unique<TBitmap>();
    FTabBackGroundActive = std::make_unique<TBitmap>();
    FCloseGlyph = std::make_unique<TBitmap>();
    SetTabImages(FPlaceholder.get());
    SetOwnerDraw(true);
    FTabMargin = std::make_unique<TTabMargin>();
    FTabMargin->OnMarginChange = [this](TMarginSize newValue, TMarginSize oldValue, int index) {
        MarginChange(newValue, oldValue, index);
    };
    FTabMargin->OnChange = [this](TObject*) {
        UpdateTabImages();
        Invalidate();
    };
    FActiveFont = std::make_unique<TFont>();
    FActiveFont->SetName(L"Segoe UI");
    FActiveFont->SetHeight(-11);
    FActiveFont->SetOnChange([this](TObject*) {
        UpdateActiveTabText(FActivePage);
        Invalidate();
    });
    FCanvas = std::make_unique<TControlCanvas>(this);
    SetDoubleBuffered(true);
}

TAdvPageControl::~TAdvPageControl() {
    if (FPersistPagesState->Enabled() && !Designing() && !FStateSaved)
        CallGuarded(this, [this] { SavePagesState(); });
    Destroying();
    SetTabImages(nullptr);
    for (TAdvTabSheet* page : FPages) {
        page->FAdvPageControl = nullptr;
        page->FTabShowing = false;
    }
    FPages.clear();
    for (auto& entry : FClosedList) entry.second->FClosedBy = nullptr;
    FClosedList.clear();
    FActivePage = nullptr;
    if (FImages) FImages->RemoveFreeNotification(this);
    if (FClosedListMenu) FClosedListMenu->RemoveFreeNotification(this);
}

std::wstring TAdvPageControl::Version() const {
    const unsigned v = unsigned(VersionNr);
    return std::to_wstring(v >> 24) + L"." + std::to_wstring((v >> 16) & 0xFF) + L"." +
           std::to_wstring((v >> 8) & 0xFF) + L"." + std::to_wstring(v & 0xFF);
}

TCanvas* TAdvPageControl::OwnCanvas() {
    FCanvas->Font()->Assign(Font());
    return FCanvas.get();
}

int TAdvPageControl::CloseWidth() const { return RoundScaled(FDPIScale, 14); }
int TAdvPageControl::CloseHeight() const { return RoundScaled(FDPIScale, 13); }

void TAdvPageControl::Notification(TComponent* component, TOperation operation) {
    TCustomTabControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FImages) {
        FImages = nullptr;
        if (FTabBorder3D) SetTabImages(nullptr);
    }
    if (component == FClosedListMenu) FClosedListMenu = nullptr;
    if (component == FInternalMenu) FInternalMenu = nullptr;
    if (component == FClosedListButton) FClosedListButton = nullptr;
}

void TAdvPageControl::SetActiveFont(const TFont* value) {
    if (value && value != FActiveFont.get()) FActiveFont->Assign(value);
    Invalidate();
}

void TAdvPageControl::SetCloseGlyph(const TBitmap* value) {
    if (value && value != FCloseGlyph.get()) FCloseGlyph->Assign(value);
    Invalidate();
}

void TAdvPageControl::SetTabBackGround(const TBitmap* value) {
    if (value && value != FTabBackGround.get()) FTabBackGround->Assign(value);
    if (Designing() && !FTabBackGround->Empty()) {
        const bool side = TabPosition() == tpLeft || TabPosition() == tpRight;
        SetTabHeight((side ? FTabBackGround->Width() : FTabBackGround->Height()) - 3);
    }
    Invalidate();
}

void TAdvPageControl::SetTabBackGroundActive(const TBitmap* value) {
    if (value && value != FTabBackGroundActive.get()) FTabBackGroundActive->Assign(value);
    Invalidate();
}

void TAdvPageControl::SetClosePosition(TClosePosition value) { if (StoreChanged(FClosePosition, value)) Invalidate(); }
void TAdvPageControl::SetShowFocus(bool value) { if (StoreChanged(FShowFocus, value)) Invalidate(); }
void TAdvPageControl::SetActiveColor(TColor value) { if (StoreChanged(FActiveColor, value)) Invalidate(); }
void TAdvPageControl::SetActiveColorTo(TColor value) { if (StoreChanged(FActiveColorTo, value)) Invalidate(); }
void TAdvPageControl::SetTabBorderColor(TColor value) { if (StoreChanged(FTabBorderColor, value)) Invalidate(); }
void TAdvPageControl::SetTabSheet3D(bool value) { if (StoreChanged(FTabSheet3D, value)) Invalidate(); }
void TAdvPageControl::SetTabSheetBorderColor(TColor value) { if (StoreChanged(FTabSheetBorderColor, value)) Invalidate(); }
void TAdvPageControl::SetTabBackGroundColor(TColor value) { if (StoreChanged(FTabBackGroundColor, value)) Invalidate(); }
void TAdvPageControl::SetRoundEdges(bool value) { if (StoreChanged(FRoundEdges, value)) Invalidate(); }
void TAdvPageControl::SetTabStyle(TTabStyle value) { if (StoreChanged(FTabStyle, value)) Invalidate(); }
void TAdvPageControl::SetLowerActive(int value) { if (StoreChanged(FLowerActive, value)) Invalidate(); }
void TAdvPageControl::SetTabOverlap(int value) {
    if (StoreChanged(FTabOverlap, std::clamp(value, 0, 15))) Invalidate();
}

void TAdvPageControl::SetTabSplitLine(bool value) {
    if (value && (FTabStyle == tsDotNet || FTabStyle == tsVestra))
        throw Exception(L"TabSplitLine must be False while TabStyle is tsDotNet or tsVestra");
    FTabSplitLine = value;
    Invalidate();
}

namespace {
// A default colour: the pages still at the old default follow the new one, then it is stored.
template <class Get, class Set>
bool ChangeDefault(std::vector<TAdvTabSheet*>& pages, TColor& field, TColor value, Get get, Set set) {
    if (value == field) return false;
    for (TAdvTabSheet* page : pages)
        if ((page->*get)() == field) (page->*set)(value);
    field = value;
    return true;
}
}  // namespace

void TAdvPageControl::SetDefaultTextColor(TColor value) {
    if (ChangeDefault(FPages, FDefaultTextColor, value, &TAdvTabSheet::TextColor, &TAdvTabSheet::SetTextColor))
        Invalidate();
}

void TAdvPageControl::SetDefaultTabColor(TColor value) {
    if (ChangeDefault(FPages, FDefaultTabColor, value, &TAdvTabSheet::TabColor, &TAdvTabSheet::SetTabColor))
        Invalidate();
}

void TAdvPageControl::SetDefaultTabColorTo(TColor value) {
    if (ChangeDefault(FPages, FDefaultTabColorTo, value, &TAdvTabSheet::TabColorTo, &TAdvTabSheet::SetTabColorTo))
        Invalidate();
}

void TAdvPageControl::SetTabBorder3D(bool value) {
    FTabBorder3D = value;
    SetTabImages(value ? FImages : FPlaceholder.get());
    SetOwnerDraw(!value);
    for (int i = PageCount() - 1; i >= 0; --i) UpdateTab(FPages[size_t(i)]);
    if (!value) UpdateActiveTabText(FActivePage);
    Invalidate();
}

void TAdvPageControl::SetTabMargin(const TTabMargin* value) {
    if (value) FTabMargin->Assign(value);
}

void TAdvPageControl::SetImages(TCustomImageList* value) {
    if (value == FImages) return;
    const bool side = TabPosition() == tpLeft || TabPosition() == tpRight;
    const int oldSize = FImages ? (side ? FImages->Height() : FImages->Width()) : 0;
    const int newSize = value ? (side ? value->Height() : value->Width()) : 0;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    if (side) SetPlaceholderHeight(FPlaceholder->Height() - oldSize + newSize);
    else SetPlaceholderWidth(FPlaceholder->Width() - oldSize + newSize);
    if (FTabBorder3D) SetTabImages(FImages);
    Invalidate();
}

void TAdvPageControl::SetTabPosition(TTabPosition value) {
    if (value == TabPosition()) return;
    TCustomImageList* images = FImages;
    SetImages(nullptr);
    TCustomTabControl::SetTabPosition(value);
    SetImages(images);
    ComputePlaceholder();
}

void TAdvPageControl::SetPlaceholderWidth(int value) { FPlaceholder->SetSize(std::max(1, value), FPlaceholder->Height()); }
void TAdvPageControl::SetPlaceholderHeight(int value) { FPlaceholder->SetSize(FPlaceholder->Width(), std::max(1, value)); }

void TAdvPageControl::ComputePlaceholder() {
    const int w = FImages ? FImages->Width() : 0;
    const int h = FImages ? FImages->Height() : 0;
    if (TabPosition() == tpTop || TabPosition() == tpBottom)
        SetPlaceholderWidth(RoundScaled(FDPIScale, 4) + w + FTabMargin->RightMargin() + FTabMargin->LeftMargin());
    else
        SetPlaceholderHeight(h + FTabMargin->RightMargin() + FTabMargin->TopMargin());
}

void TAdvPageControl::MarginChange(TMarginSize newValue, TMarginSize oldValue, int index) {
    if (FPropertiesLoaded || Designing()) {
        const bool side = TabPosition() == tpLeft || TabPosition() == tpRight;
        const int w = FImages ? FImages->Width() : 0;
        const int h = FImages ? FImages->Height() : 0;
        switch (index) {
            case 0:
                if (!side) SetPlaceholderWidth(w + FTabMargin->RightMargin() + newValue);
                break;
            case 1:
                if (side) SetPlaceholderHeight(h + FTabMargin->RightMargin() + newValue);
                break;
            case 2:
                if (side) SetPlaceholderHeight(FPlaceholder->Height() - oldValue + newValue);
                else SetPlaceholderWidth(FPlaceholder->Width() - oldValue + newValue);
                break;
            default: break;
        }
    }
    Invalidate();
}

void TAdvPageControl::SetShowClosedList(bool value) {
    FShowClosedList = value;
    if (!value) {
        // Switched off: the button goes out of sight (it stays made for the next time).
        if (FClosedListButton) FClosedListButton->SetVisible(false);
        UpdateTabPad();
        return;
    }
    if (Designing()) return;
    if (!FClosedListButton) {
        FClosedListButton = new TPCButton(this);
        FClosedListButton->SetParent(this);
        FClosedListButton->OnClick = [this](TObject*) { ShowClosedListMenu(); };
    }
    UpdateClosedListButton();
}

void TAdvPageControl::SetClosedListMenu(TPopupMenu* value) {
    if (value == FClosedListMenu) return;
    if (FClosedListMenu) FClosedListMenu->RemoveFreeNotification(this);
    FClosedListMenu = value;
    if (value) value->FreeNotification(this);
}

void TAdvPageControl::SetClosedListButtonHint(const std::wstring& value) {
    if (value == FClosedListButtonHint) return;
    FClosedListButtonHint = value;
    if (!Designing() && !HasState(csLoading) && FClosedListButton && FClosedListButton->Visible())
        FClosedListButton->SetHint(value);
}

void TAdvPageControl::SetPersistPagesState(const TPersistence* value) {
    if (value) FPersistPagesState->Assign(value);
}

void TAdvPageControl::Loaded() {
    TCustomTabControl::Loaded();
    for (TAdvTabSheet* page : FPages) page->SetHighlighted(page->Highlighted());
    ComputePlaceholder();
    FPropertiesLoaded = true;
    for (int i = PageCount() - 1; i >= 0; --i) UpdateTab(FPages[size_t(i)]);
    UpdateActiveTabText(FActivePage);
    if (FPersistPagesState->Enabled() && !Designing()) LoadPagesState();
}

bool TAdvPageControl::InsertDescribedChild(TComponent* child) {
    if (auto sheet = dynamic_cast<TAdvTabSheet*>(child)) {
        sheet->SetAdvPageControl(this);
        return true;
    }
    return TCustomTabControl::InsertDescribedChild(child);
}

void TAdvPageControl::ChangeScale(int m, int d) {
    TCustomTabControl::ChangeScale(m, d);
    FDPIScale = AdvStyleIF::GetDPIScale(this, OwnCanvas());
    FCanvas->ReleaseWindowDC();
    if (m == d) return;
    FActiveFont->SetHeight(::MulDiv(FActiveFont->Height(), m, d));
    // Fixed tab sizes are pixels of the description's screen, like the bounds: unscaled,
    // the scaled font's captions would not fit their tabs.
    if (TabHeight() > 0) SetTabHeight(::MulDiv(TabHeight(), m, d));
    if (TabWidth() > 0) SetTabWidth(::MulDiv(TabWidth(), m, d));
}

// ---- pages and tabs ----

int TAdvPageControl::IndexOfPage(const TAdvTabSheet* page) const {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    return it == FPages.end() ? -1 : int(it - FPages.begin());
}

void TAdvPageControl::InsertPage(TAdvTabSheet* page) {
    FPages.push_back(page);
    page->FAdvPageControl = this;
    page->UpdateTabShowing();
}

void TAdvPageControl::RemovePage(TAdvTabSheet* page) {
    if (page == FPaddedPage) FPaddedPage = nullptr;
    TAdvTabSheet* next = FindNextPage(page, true, !Designing());
    page->SetTabShowing(false);
    page->FAdvPageControl = nullptr;
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    FHoverPage = -1;
    if (FActivePage == page) SetActivePage(next == page ? nullptr : next);
}

void TAdvPageControl::InsertPageTab(TAdvTabSheet* page) {
    TCustomTabControl::InsertTab(page->TabIndex(), page->TabText(), page);
    UpdateActivePage();
    if (FShowClosedList) UpdateClosedListButton();
}

void TAdvPageControl::CreateWindowHandleDone() {
    TCustomTabControl::CreateWindowHandleDone();
    // The overflow of the strip is known only once the window lays the tabs out.
    if (FShowClosedList) UpdateClosedListButton();
}

void TAdvPageControl::DeletePageTab(TAdvTabSheet* page, int index) {
    TAdvTabSheet* active = FActivePage;
    TCustomTabControl::DeleteTab(index);
    if (page == active) {
        if (index >= TabCount()) index = TabCount() - 1;
        SetTabIndex(index);
    }
    UpdateActivePage();
    if (FShowClosedList) UpdateClosedListButton();
}

void TAdvPageControl::MovePageTab(int from, int to) {
    TCustomTabControl::MoveTab(from, to);
    if (FShowClosedList) UpdateClosedListButton();
}

void TAdvPageControl::UpdateActivePage() {
    if (HasState(csDestroying)) return;
    const int index = TabIndex();
    SetActivePage(index < 0 ? nullptr : static_cast<TAdvTabSheet*>(TabObject(index)));
}

void TAdvPageControl::SetActivePage(TAdvTabSheet* page) {
    if (page && page->FAdvPageControl != this) return;
    ChangeActivePage(page);
    if (!page) {
        SetTabIndex(-1);
        // Nothing is active: the page shown before goes out of sight as well.
        TAdvTabSheet* old = FActivePage;
        FActivePage = nullptr;
        if (old) old->SetVisible(false);
    } else if (page == FActivePage) {
        SetTabIndex(page->TabIndex());
    }
}

int TAdvPageControl::ActivePageIndex() const { return FActivePage ? IndexOfPage(FActivePage) : -1; }

void TAdvPageControl::SetActivePageIndex(int value) {
    if (value >= 0 && value < PageCount()) SetActivePage(FPages[size_t(value)]);
    else SetActivePage(nullptr);
}


void TAdvPageControl::ChangeActivePage(TAdvTabSheet* page) {
    if (page == FActivePage || !page || (!Designing() && !page->TabEnable())) return;
    TCustomForm* form = ParentForm();
    if (form && FActivePage && form->ActiveControl() && Contains(FActivePage, form->ActiveControl())) {
        form->SetActiveControl(FActivePage);
        if (form->ActiveControl() != FActivePage) {
            SetTabIndex(FActivePage->TabIndex());
            return;
        }
    }
    page->BringToFront();
    page->SetVisible(true);
    page->SetEnabled(true);
    if (form && FActivePage && form->ActiveControl() == FActivePage) {
        if (page->CanFocus()) form->SetActiveControl(page);
        else form->SetActiveControl(this);
    }
    TAdvTabSheet* old = FActivePage;
    if (old) old->SetVisible(false);
    FActivePage = page;
    UpdateActiveTabText(old);
    UpdateActiveTabText(page);
}

TAdvTabSheet* TAdvPageControl::FindNextPage(TAdvTabSheet* curPage, bool goForward, bool checkTabVisible) const {
    const int count = PageCount();
    if (count == 0) return nullptr;
    int start = IndexOfPage(curPage);
    if (start < 0) start = goForward ? count - 1 : 0;
    int i = start;
    for (int n = 0; n < count; ++n) {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        TAdvTabSheet* page = FPages[size_t(i)];
        if (!checkTabVisible || page->TabVisible()) return page;
    }
    return nullptr;
}

void TAdvPageControl::SelectNextPage(bool goForward) {
    TAdvTabSheet* next = FindNextPage(FActivePage, goForward, true);
    if (!next) return;
    bool allow = true;
    if (OnCanChange) OnCanChange(this, ActivePageIndex(), IndexOfPage(next), allow);
    if (next != FActivePage && allow) {
        SetActivePageIndex(IndexOfPage(next));
        Change();
    }
}

std::vector<bool> TAdvPageControl::TabVisibility() const {
    std::vector<bool> visible;
    visible.reserve(FPages.size());
    for (const TAdvTabSheet* page : FPages) visible.push_back(page->TabVisible());
    return visible;
}

int TAdvPageControl::IndexOfTabAtEx(int x, int y) { return PageOfTab(TabVisibility(), IndexOfTabAt(x, y)); }

TRect TAdvPageControl::HostTabRect(int pageIndex) { return TabRect(TabOfPage(TabVisibility(), pageIndex)); }

TRect TAdvPageControl::TabRectOfPage(int pageIndex) {
    TRect r = HostTabRect(pageIndex);
    // The room kept under the closed-list button is no part of the tab.
    if (FPaddedPage && pageIndex == IndexOfPage(FPaddedPage)) r.Right = std::max(r.Left, r.Right - FTabPadWidth);
    return r;
}

std::wstring TAdvPageControl::ShownTabText(const TAdvTabSheet* page, const std::wstring& text) const {
    return page == FPaddedPage ? text + std::wstring(std::size_t(FTabPadBlanks), L' ') : text;
}

void TAdvPageControl::UpdateTabPad() {
    // While the closed-list button shows at the end of a single row of tabs, the last tab
    // is made that much wider by blanks the host measures, and painted without them: the
    // host scrolls the tab clear of the button, so no caption ever lies under it.
    TAdvTabSheet* wanted = nullptr;
    const bool row = (TabPosition() == tpTop || TabPosition() == tpBottom) && !MultiLine() && !FTabBorder3D &&
                     TabWidth() == 0;  // a fixed width would not grow by blanks
    if (row && FClosedListButton && FClosedListButton->Visible() && HandleAllocated())
        for (auto it = FPages.rbegin(); it != FPages.rend() && !wanted; ++it)
            if ((*it)->TabVisible()) wanted = *it;
    if (wanted == FPaddedPage) return;
    TAdvTabSheet* old = FPaddedPage;
    FPaddedPage = wanted;
    if (wanted) {
        TCanvas* canvas = OwnCanvas();
        const int blank = std::max(1, canvas->TextWidth(L" "));
        FCanvas->ReleaseWindowDC();
        FTabPadBlanks = (FClosedListButton->Width() + 2 + blank - 1) / blank;
        FTabPadWidth = FTabPadBlanks * blank;
    }
    if (old) UpdateTab(old);
    if (wanted) UpdateTab(wanted);
}

int TAdvPageControl::GetTabWidth(int index) { return FPages.at(size_t(index))->TabVisible() ? TabWidth() : 0; }

int TAdvPageControl::GetTotalTabWidth() {
    int total = 0;
    for (int i = 0; i < PageCount(); ++i) total += GetTabWidth(i);
    return total;
}

void TAdvPageControl::UpdateTabScroller() {
    if (!HandleAllocated()) return;
    HWND arrows = ::FindWindowExW(Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    if (arrows && ClientWidth() >= GetTotalTabWidth()) ::ShowWindow(arrows, SW_HIDE);
}

void TAdvPageControl::UpdateTab(TAdvTabSheet* page) {
    const int index = page->TabIndex();
    if (index < 0 || index >= TabCount()) return;
    const TFontStyles style = FActiveFont->Style();
    if (FTabBorder3D) SetTabText(index, page->Caption());
    else if (page == FActivePage && (style.Contains(fsBold) || style.Contains(fsItalic))) UpdateActiveTabText(page);
    else SetTabText(index, ShownTabText(page, page->TabText()));
}

void TAdvPageControl::UpdateActiveTabText(TAdvTabSheet* page) {
    if (FTabBorder3D || !page) return;
    const int index = page->TabIndex();
    if (index < 0 || index >= TabCount()) return;
    const TFontStyles style = FActiveFont->Style();
    if (page == FActivePage && (style.Contains(fsBold) || style.Contains(fsItalic))) {
        TCanvas* canvas = OwnCanvas();
        canvas->Font()->Assign(FActiveFont.get());
        const int w1 = canvas->TextWidth(page->TabText());
        canvas->Font()->Assign(Font());
        const int w2 = canvas->TextWidth(page->TabText());
        std::wstring blanks;
        while (canvas->TextWidth(blanks) < w1 - w2) blanks += L' ';
        FCanvas->ReleaseWindowDC();
        SetTabText(index, ShownTabText(page, page->TabText() + blanks));
    } else {
        SetTabText(index, ShownTabText(page, page->TabText()));
    }
}

void TAdvPageControl::BeginTabUpdate() {
    if (!Visible() || HasState(csLoading) || !HandleAllocated()) return;
    ++FUpdateCount;
    ::SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TAdvPageControl::EndTabUpdate() {
    if (!Visible() || !HandleAllocated()) return;
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount == 0) {
        ::SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(Handle(), nullptr, FALSE);
    }
}

bool TAdvPageControl::CanShowTab(int tabIndex) {
    if (tabIndex < 0 || tabIndex >= TabCount()) return true;
    auto page = static_cast<TAdvTabSheet*>(TabObject(tabIndex));
    return page->Enabled() && page->TabEnable();
}

int TAdvPageControl::GetImageIndex(int tabIndex) {
    if (OnGetImageIndex) return TCustomTabControl::GetImageIndex(tabIndex);
    int shown = 0;
    for (TAdvTabSheet* page : FPages) {
        if (!page->TabVisible()) continue;
        if (shown++ == tabIndex) {
            if (FTabMargin && (FTabMargin->LeftMargin() != 0 || FTabMargin->RightMargin() != 0)) return 0;
            return page->ImageIndex();
        }
    }
    return 0;
}

bool TAdvPageControl::CanChange() {
    int toPage = -1;
    if (FSelectTargetKnown) {
        toPage = FSelectTarget;
    } else {
        POINT point{};
        ::GetCursorPos(&point);
        const TPoint local = ScreenToClient({point.x, point.y});
        toPage = IndexOfTabAtEx(local.X, local.Y);
        if (toPage < 0) {
            toPage = ActivePageIndex() + ((KeyboardShiftState() & ssShift) ? -1 : 1);
            if (toPage >= PageCount()) toPage = 0;
            if (toPage < 0) toPage = PageCount() - 1;
        }
    }
    bool allow = true;
    if (OnCanChange) OnCanChange(this, ActivePageIndex(), toPage, allow);
    if (MultiLine()) EndTabUpdate();
    if (!allow) return false;
    allow = TCustomTabControl::CanChange();
    if (allow && MultiLine()) BeginTabUpdate();
    return allow;
}

void TAdvPageControl::Change() {
    UpdateActivePage();
    TCustomTabControl::Change();
    Invalidate();
}

void TAdvPageControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    // The whole strip is painted by DrawAllTabs; the host's requests draw nothing.
    (void)tabIndex;
    (void)rect;
    (void)active;
}

void TAdvPageControl::InvalidatePageTab(int pageIndex) {
    if (pageIndex < 0 || pageIndex >= PageCount() || !HandleAllocated()) return;
    RECT r = ToRECT(TabRectOfPage(pageIndex));
    ::InflateRect(&r, 2, 2);
    ::InvalidateRect(Handle(), &r, TRUE);
}

// ---- messages, keys, mouse ----

void TAdvPageControl::CMDialogKey(TMessage& message) {
    HWND focus = ::GetFocus();
    const bool inside = HandleAllocated() && focus && (focus == FHandle || ::IsChild(FHandle, focus));
    if (inside && message.WParam == VK_TAB && (KeyboardShiftState() & ssCtrl)) {
        if (TCustomTabControl::CanChange()) SelectNextPage(!(KeyboardShiftState() & ssShift));
        message.Result = 1;
        return;
    }
    TCustomTabControl::Dispatch(message);
}

void TAdvPageControl::CMDialogChar(TMessage& message) {
    // The first page (in page order) whose caption marks the character takes it.
    for (size_t i = 0; i < FPages.size(); ++i) {
        TAdvTabSheet* page = FPages[i];
        if (!IsAccel(wchar_t(message.WParam), page->Caption()) || !page->Enabled() || !CanFocus() ||
            page->TabIndex() < 0)
            continue;
        message.Result = 1;
        bool allow = TCustomTabControl::CanChange();
        if (OnCanChange) OnCanChange(this, ActivePageIndex(), int(i), allow);
        if (allow) {
            SetTabIndex(page->TabIndex());
            Change();
        }
        return;
    }
    TCustomTabControl::Dispatch(message);
}

void TAdvPageControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case WM_PAINT: PaintTabs(message); return;
        case WM_ERASEBKGND:
            if (!Designing() && !FTabBorder3D && !FFullRefresh && TabCount() > 0 && FUpdateCount == 0) {
                message.Result = 1;
                return;
            }
            break;
        case CM_DIALOGKEY: CMDialogKey(message); return;
        case CM_DIALOGCHAR: CMDialogChar(message); return;
        case CN_NOTIFY: {
            const UINT code = reinterpret_cast<const NMHDR*>(message.LParam)->code;
            if (code == UINT(TCN_SELCHANGING) && MultiLine()) BeginTabUpdate();
            TCustomTabControl::Dispatch(message);
            // A refused change leaves no suspended drawing behind.
            if (code == UINT(TCN_SELCHANGING) && message.Result != 0 && FUpdateCount > 0) EndTabUpdate();
            if (code == UINT(TCN_SELCHANGE) && MultiLine()) EndTabUpdate();
            return;
        }
        case CN_DRAWITEM:
            if (FUpdateCount > 0) {
                message.Result = 1;
                return;
            }
            break;
        case WM_LBUTTONDOWN:
            FSelectTarget = IndexOfTabAtEx(message.XPos(), message.YPos());
            FSelectTargetKnown = true;
            TCustomTabControl::Dispatch(message);
            FSelectTargetKnown = false;
            return;
        case WM_KEYDOWN: {
            const int step = (message.WParam == VK_LEFT || message.WParam == VK_UP) ? -1
                           : (message.WParam == VK_RIGHT || message.WParam == VK_DOWN) ? 1 : 0;
            const int tab = TabIndex() + step;
            FSelectTargetKnown = step != 0 && tab >= 0 && tab < TabCount();
            if (FSelectTargetKnown) FSelectTarget = IndexOfPage(static_cast<TAdvTabSheet*>(TabObject(tab)));
            TCustomTabControl::Dispatch(message);
            FSelectTargetKnown = false;
            return;
        }
        case CM_MOUSELEAVE:
            if (FTabBackGround->Empty()) InvalidatePageTab(FHoverPage);
            FHoverPage = -1;
            break;
        case WM_SIZE:
            TCustomTabControl::Dispatch(message);
            if (FShowClosedList) UpdateClosedListButton();
            return;
        default: break;
    }
    TCustomTabControl::Dispatch(message);
}

void TAdvPageControl::MouseMove(TShiftState shift, int x, int y) {
    TCustomTabControl::MouseMove(shift, x, y);
    if (FTabBorder3D || Designing() || FTabHoverColor == clNone) return;
    if (FTabBackGround->Empty()) {
        const int p = IndexOfTabAtEx(x, y);
        if (p != FHoverPage && (FTabHoverColor != clNone || FTabHoverColorTo != clNone)) {
            InvalidatePageTab(FHoverPage);
            FHoverPage = p;
            InvalidatePageTab(p);
        }
    }
    if (FActivePage && FActivePage->ShowClose()) {
        const bool over = IsOnCloseButton(ActivePageIndex(), x, y);
        if (FCloseButtonHot && !over) {
            DrawCloseButtonNow(csNormal);
            FCloseButtonHot = false;
        } else if (!FCloseButtonHot && over) {
            DrawCloseButtonNow(csHot);
            FCloseButtonHot = true;
        }
    }
}

void TAdvPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomTabControl::MouseDown(button, shift, x, y);
    // A dock site lets a docked control be dragged away by its tab, or floated by a double click.
    if (FDockSite && button == mbLeft && !Designing()) {
        const int p = IndexOfTabAtEx(x, y);
        TAdvTabSheet* sheet = p >= 0 && p < PageCount() ? FPages[size_t(p)] : nullptr;
        TControl* client = sheet && sheet->ControlCount() > 0 ? sheet->Controls(0) : nullptr;
        if (client && HostOf(client) == sheet) {
            if (shift & ssDouble) {
                UndockClient(client, nullptr);
                if (auto form = dynamic_cast<TCustomForm*>(client)) form->Show();
                return;
            }
            client->BeginDrag(false);
        }
    }
    if (Designing() || FTabBorder3D || !FActivePage || !FActivePage->ShowClose()) return;
    if (!IsOnCloseButton(ActivePageIndex(), x, y)) return;
    if (!FDockSite) DrawCloseButtonNow(csPressed);
    else ClosePage(FActivePage, FindNextPage(FActivePage, true, true), true);
}

void TAdvPageControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomTabControl::MouseUp(button, shift, x, y);
    if (Designing() || FTabBorder3D || button != mbLeft) return;
    const int p = IndexOfTabAtEx(x, y);
    if (p < 0 || p >= PageCount() || !FPages[size_t(p)]->ShowClose() || !IsOnCloseButton(p, x, y)) return;
    TAdvTabSheet* page = FPages[size_t(p)];
    ClosePage(page, FindNextPage(page, p != PageCount() - 1, true), false);
}

void TAdvPageControl::ClosePage(TAdvTabSheet* page, TAdvTabSheet* next, bool changeBeforeStore) {
    if (!page->CanCloseTab()) return;
    page->DoClose();
    SetActivePage(next);
    if (changeBeforeStore) {
        FireEvent(OnChange, this);
        Invalidate();
    }
    if (FFreeOnClose) {
        delete page;
    } else {
        AddClosed(page);
    }
    if (!changeBeforeStore) {
        FireEvent(OnChange, this);
        Invalidate();
    }
    Invalidate();
}

// ---- docking ----

TAdvTabSheet* TAdvPageControl::HostOf(const TControl* client) const {
    for (const TDocked& docked : FDocked)
        if (docked.Client == client) return docked.Sheet;
    return nullptr;
}

void TAdvPageControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    auto client = dynamic_cast<TControl*>(source);
    if (FDockSite && client && client != this && !HostOf(client) && !Contains(dynamic_cast<TWinControl*>(client), this)) {
        accept = true;
        return;
    }
    TCustomTabControl::DragOver(source, x, y, state, accept);
}

void TAdvPageControl::DragDrop(TObject* source, int x, int y) {
    auto client = dynamic_cast<TControl*>(source);
    if (!FDockSite || !client || HostOf(client)) {
        TCustomTabControl::DragDrop(source, x, y);
        return;
    }
    // A control docked in another page control leaves it first.
    if (auto sheet = dynamic_cast<TAdvTabSheet*>(client->Parent()))
        if (TAdvPageControl* other = sheet->AdvPageControl()) other->UndockClient(client, nullptr);
    DockClient(client);
}

TAdvTabSheet* TAdvPageControl::DockClient(TControl* client) {
    auto* sheet = new TAdvTabSheet(this);
    try {
        if (auto form = dynamic_cast<TCustomForm*>(client)) sheet->SetCaption(form->Caption());
        else sheet->SetCaption(client->Caption());
        sheet->SetAdvPageControl(this);
        client->SetParent(sheet);
    } catch (...) {
        delete sheet;
        throw;
    }
    FDocked.push_back(TDocked{client, sheet, client->WindowProc});
    client->WindowProc = [this, client](TMessage& message) { ClientMessage(client, message); };
    sheet->SetTabVisible(client->Visible());
    if (client->Visible()) SetActivePage(sheet);
    client->SetAlign(alClient);
    return sheet;
}

void TAdvPageControl::ClientMessage(TControl* client, TMessage& message) {
    auto it = std::find_if(FDocked.begin(), FDocked.end(), [client](const TDocked& d) { return d.Client == client; });
    if (it == FDocked.end()) return;
    TAdvTabSheet* sheet = it->Sheet;
    it->WindowProc(message);
    if (message.Msg == WM_SETTEXT || message.Msg == CM_TEXTCHANGED) {
        // The tab shows the first line of the client's text.
        std::wstring text = client->Caption();
        const size_t end = text.find_first_of(L"\r\n");
        if (end != std::wstring::npos) text.erase(end);
        sheet->SetCaption(text);
    } else if (message.Msg == CM_VISIBLECHANGED) {
        sheet->SetTabVisible(client->Visible());
    }
}

bool TAdvPageControl::UndockClient(TControl* client, TWinControl* newParent) {
    auto it = std::find_if(FDocked.begin(), FDocked.end(), [client](const TDocked& d) { return d.Client == client; });
    if (it == FDocked.end()) return false;
    TAdvTabSheet* sheet = it->Sheet;
    client->WindowProc = it->WindowProc;
    FDocked.erase(it);
    client->SetAlign(alNone);
    client->SetParent(newParent);
    if (FActivePage == sheet) SetActivePage(FindNextPage(sheet, true, true));
    if (!HasState(csDestroying)) delete sheet;
    return true;
}

}  // namespace AdvPageControl
