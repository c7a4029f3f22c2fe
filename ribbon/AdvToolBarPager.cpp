// The pager's life, its page list with the active page, its styler, and the tab row's
// layout (the arithmetic itself is in AdvToolBarPagerLayout.cpp).
#include "ribbon/AdvToolBarPager.h"

#include <algorithm>
#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/ImageList.h"
#include "classlib/PictureCodecs.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/Streams.h"
#include "classlib/Timer.h"
#include "graphics/AdvGDIP.h"
#include "graphics/AdvHintInfo.h"
#include "graphics/GDIPicture.h"
#include "menus/AdvToolBarStylers.h"
#include "menus/AdvToolBarSystem.h"
#include "menus/AdvToolBarText.h"
#include "ribbon/AdvQuickAccessToolBar.h"
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvStyleIF::TOVTStyle;

CLASSLIB_IMPLEMENT(TAdvToolBarForm, ClassLib::TForm)
CLASSLIB_IMPLEMENT(TAdvToolBarPager, ClassLib::TCustomControl)

namespace {

int GGlowSpeed = 20;

TGlassConditions RealGlassConditions() {
    TGlassConditions answers;
    answers.ComCtl6 = IsComCtl6();
    int major = 0, minor = 0;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(&info)) major = int(info.dwMajorVersion), minor = int(info.dwMinorVersion);
#pragma GCC diagnostic pop
    (void)minor;
    answers.VistaOrLater = major >= 6;
    answers.Themed = GetStyleServices().Enabled();
    answers.Composition = IsCompositionEnabled();
    return answers;
}

TGlassQuery GGlassQuery = &RealGlassConditions;

int RoundScaled(double value) { return int(std::nearbyint(value)); }

// The option indicator pictures come from the program's bitmap resources (a missing one is
// the class library's resource error). Toolbars draw them through GDI+, which draws a BMP
// opaque: the picture keeps them as PNG with the corner's colour transparent.
void LoadResourcePicture(GDIPicture::TGDIPPicture& picture, const wchar_t* name) {
    TBitmap bitmap;
    bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), name);
    TRasterImage image;
    image.Width = bitmap.Width();
    image.Height = bitmap.Height();
    image.HasAlpha = true;
    const TColor key = bitmap.Canvas()->Pixels(0, 0);
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const TColor c = bitmap.Canvas()->Pixels(x, y);
            image.Pixels.push_back(std::uint8_t((c >> 16) & 0xFF));
            image.Pixels.push_back(std::uint8_t((c >> 8) & 0xFF));
            image.Pixels.push_back(std::uint8_t(c & 0xFF));
            image.Pixels.push_back(c == key ? 0 : 255);
        }
    const TBytes png = EncodePng(image);
    TMemoryStream stream;
    stream.WriteBuffer(png.data(), int(png.size()));
    stream.SetPosition(0);
    picture.LoadFromStream(&stream);
}

}  // namespace

TGlassConditions QueryGlassConditions() { return GGlassQuery(); }

int PagerTextWidth(TCanvas* canvas, const std::wstring& caption, const std::wstring& wideCaption,
                   AdvGDIP::TAntiAlias antiAlias, const TFont* font) {
    std::wstring text = caption.empty() ? wideCaption : caption;
    if (text.empty()) return 0;
    if (antiAlias != AdvGDIP::aaNone) {
        const int width = MeasureTextWidth(canvas, caption, wideCaption, antiAlias, font);
        // Wine: GDI+ string measuring answers an empty box here; the tabs would collapse.
        if (width > 0) return width;
    }
    canvas->UseFont(font);
    TRect box{0, 0, 1000, 100};
    canvas->TextRect(box, text, TTextFormat{tfCalcRect, tfSingleLine});
    return box.Width();
}

TGlassQueryScope::TGlassQueryScope(TGlassQuery query) : FOld(GGlassQuery) { GGlassQuery = query; }
TGlassQueryScope::~TGlassQueryScope() { GGlassQuery = FOld; }

// ---------------------------------------------------------------- construction

TAdvToolBarPager::TAdvToolBarPager(TComponent* owner)
    : TCustomControl(owner),
      FAdvPages(std::make_unique<TDbgList>()),
      FTabSettings(std::make_unique<TATBTabSettings>()),
      FTabScroller(std::make_unique<TATBTabScroller>()),
      FTabGroups(std::make_unique<TTabGroups>(this)),
      FCaption(std::make_unique<TAdvPageCaption>()),
      FOfficeHint(std::make_unique<AdvHintInfo::TAdvHintInfo>()),
      FIOptionPicture(std::make_unique<GDIPicture::TGDIPPicture>()),
      FIOptionDisabledPicture(std::make_unique<GDIPicture::TGDIPPicture>()),
      FHelpButtonPicture(std::make_unique<GDIPicture::TGDIPPicture>()),
      FIBrandingPicture(std::make_unique<GDIPicture::TGDIPPicture>()),
      FHints(std::make_unique<TPagerHints>()),
      FPersistence(std::make_unique<TPersistence>(this)) {
    FIsAeroVista = QueryGlassConditions().All() && !HasState(csDesigning);
    FGlassAllowed = FIsAeroVista;
    if (!HasState(csDesigning)) FScaledPagerCaptionHeight = 26;
    FOrigCaptionHeight = PagerCaptionHeight;

    int major = 0, minor = 0;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(&info)) major = int(info.dwMajorVersion), minor = int(info.dwMinorVersion);
#pragma GCC diagnostic pop
    FIsWin7 = major > 6 || (major == 6 && minor >= 1);
    FIsWin8 = major > 6 || (major == 6 && minor > 1);
    int trueMajor = major, trueMinor = minor;
    GetOSVersionNumbers(trueMajor, trueMinor);
    FIsWin10 = trueMajor == 10;
    FIsWin11 = (major == 6 || major == 10) && info.dwBuildNumber > 21999 && FIsWin10;

    SetControlStyle((ControlStyle() | csAcceptsControls) & ~csOpaque);
    if (FIsAeroVista) SetParentBackground(true);
    SetAlign(alTop);

    FInternalToolBarStyler = new TCustomAdvToolBarStyler(this);
    FInternalToolBarStyler->SetName(L"InternalStyler");
    FInternalToolBarStyler->CaptionFont()->SetHeight(-11);
    FCurrentToolBarStyler = FInternalToolBarStyler;
    FInternalToolBarStyler->AddControl(this);

    LoadResourcePicture(*FIOptionPicture, L"OPTIONIND_PIC");
    LoadResourcePicture(*FIOptionDisabledPicture, L"OPTIONIND_PICD");

    FTabSettings->OnChange = [this](TObject*) { TabSettingsChanged(); };
    FRow.Limits = {FTabSettings->Spacing(), FTabSettings->LeftMargin(), FTabSettings->RightMargin(),
                   FTabSettings->MinSpacing(), FTabSettings->MinMargin()};
    FRow.ResetSpacing();
    FCaption->OnChange = [this](TObject*) { CaptionChanged(); };
    FCaption->SetHeightSilently(26);
    FOrigCaptionHeight = PagerCaptionHeight;
    SetShowHint(false);
    FTabGroups->OnChange = [this](TObject*) { TabGroupsChanged(); };
    SetDoubleBuffered(true);
    SetBounds(Left(), Top(), Width(), 149);
    FExpandedHeight = Height();
    SetTabStop(true);

    FDesignTime = HasState(csDesigning) && owner && !owner->HasState(csLoading) && !owner->HasState(csReading);
    FOfficeToolBarStyler = new AdvToolBarStylers::TAdvToolBarOfficeStyler(this);
    FOfficeToolBarStyler->AddControl(this);
    FCurrentToolBarStyler = FOfficeToolBarStyler;

    FDblClickTimer = new TTimer(this);
    FDblClickTimer->SetEnabled(false);
    FDblClickTimer->SetInterval(600);
    FDblClickTimer->SetOnTimer([this](TObject*) { DblClickTimerTick(); });

    if (FIsAeroVista && !HasState(csDesigning)) CreateCaptionLayer();
    auto repaintAll = [this](TObject*) {
        Invalidate();
        if (TAdvPage* page = ActivePage()) {
            page->Invalidate();
            page->InvalidateAdvToolBars();
        }
    };
    FIOptionPicture->SetOnChange(repaintAll);
    FIOptionDisabledPicture->SetOnChange(repaintAll);
    if (FDesignTime) FOVTStyle = AdvStyleIF::GetFormStylerStyle(this, AdvStyleIF::tsOffice2019White);
}

TAdvToolBarPager::~TAdvToolBarPager() {
    SaveStateOnDestroy();
    Destroying();
    // Key tips: no hook may call this pager once it has gone.
    RemoveKeyHook();
    UnhookForm();
    for (int i = 0; i < FAdvPages->Count(); ++i) static_cast<TAdvPage*>(FAdvPages->Items(i))->FShortCutHint = nullptr;
    if (!HasState(csDesigning) && FToolBarStyler && FToolBarStyler != FInternalToolBarStyler)
        FToolBarStyler->RemoveControl(this);
    FToolBarStyler = nullptr;
    FCurrentToolBarStyler = nullptr;
    // The owned stylers outlive this body: they must not keep pointing here.
    FOfficeToolBarStyler->RemoveControl(this);
    FInternalToolBarStyler->RemoveControl(this);
    for (int i = 0; i < FAdvPages->Count(); ++i) {
        auto* page = static_cast<TAdvPage*>(FAdvPages->Items(i));
        page->FAdvToolBarPager = nullptr;
        delete page->FTimer;  // owned by this pager, which goes now
        page->FTimer = nullptr;
    }
    FAdvPages->Clear();
}

const TPropertyList& TAdvToolBarPager::Published() {
    using T = TAdvToolBarPager;
    static const TPropertyList list =
        TPropertyList::Extend(TCustomControl::Published())
            .Enum(L"AntiAlias", L"TAntiAlias", &T::AntiAlias, &T::SetAntiAlias,
                  {L"aaNone", L"aaClearType", L"aaAntiAlias"}, AdvGDIP::aaClearType)
            .Add(L"AutoMDIButtons", &T::AutoMDIButtons, &T::SetAutoMDIButtons, false)
            .Add(L"CanMove", &T::CanMove, &T::SetCanMove, true)
            .Add(L"EnableWheel", &T::EnableWheel, &T::SetEnableWheel, true)
            .Add(L"HidePagesOnDblClick", &T::HidePagesOnDblClick, &T::SetHidePagesOnDblClick, true)
            .Add(L"PageLeftMargin", &T::PageLeftMargin, &T::SetPageLeftMargin, 0)
            .Add(L"PageRightMargin", &T::PageRightMargin, &T::SetPageRightMargin, 0)
            .Add(L"ShowDisabledControlsHint", &T::ShowDisabledControlsHint, &T::SetShowDisabledControlsHint, false)
            .Add(L"ShowExpandCollapsButton", &T::ShowExpandCollapsButton, &T::SetShowExpandCollapsButton, false)
            .Add(L"ShowHelpButton", &T::ShowHelpButton, &T::SetShowHelpButton, true)
            .Add(L"ShowNonSelectedTabs", &T::ShowNonSelectedTabs, &T::SetShowNonSelectedTabs, false)
            .Add(L"ShowTabHint", &T::ShowTabHint, &T::SetShowTabHint, false)
            .Enum(L"UIStyle", &T::UIStyle, &T::SetUIStyle, AdvStyleIF::tsCustom);
    return list;
}

std::wstring TAdvToolBarPager::Version() const {
    const unsigned nr = GetVersionNr();
    return std::to_wstring((nr >> 24) & 0xFF) + L"." + std::to_wstring((nr >> 16) & 0xFF) + L"." +
           std::to_wstring((nr >> 8) & 0xFF) + L"." + std::to_wstring(nr & 0xFF);
}

void TAdvToolBarPager::SetGlowSpeed(int speed) { GGlowSpeed = speed; }
int TAdvToolBarPager::GlowSpeed() { return GGlowSpeed; }

void TAdvToolBarPager::EndUpdate() {
    if (FUpdateCount < 1) return;
    if (--FUpdateCount == 0) Invalidate();
}

void TAdvToolBarPager::CreateWnd() {
    FRegionSet = false;
    TCustomControl::CreateWnd();
    if (!HasState(csDesigning)) SetGlassRegion();
    if (!HasState(csDesigning) && !HasState(csLoading) && FSubclassed) {  // Key tips
        UnhookForm();
        HookForm();
    }
}

void TAdvToolBarPager::Loaded() {
    TCustomControl::Loaded();
    const double scale = DPIScaleFactor;
    FOrigCaptionHeight = FCaption->Height();
    FDefTabHeight = RoundScaled(FTabSettings->Height() * scale);
    FDefTabMargin = RoundScaled(FTabSettings->StartMargin() * scale);
    PagerCaptionHeight = RoundScaled(FCaption->Height() * scale);
    FScaledPagerCaptionHeight = RoundScaled(FOrigCaptionHeight * scale);
    PagerTabHeight = RoundScaled(FTabSettings->Height() * scale);
    FDesignedHeight = Height();
    FPropertiesLoaded = true;
    if (!HasState(csDesigning)) FCaption->SetHeightSilently(FScaledPagerCaptionHeight);
    if (!HasState(csDesigning) && scale != FAppliedScale) ApplyScaledSizes(FTabSettings->Height(), scale);
    UpdateTabs();
    FitTabs();
    ResetTabScroll();
    if (!HasState(csDesigning)) {
        LoadState();
        UpdateCaptionLayer();
        InstallKeyHook();  // Key tips
        HookForm();
    }
    if (FToolBarStyler) FToolBarStyler->ReapplyStyle();
    if (!FToolBarStyler) SetComponentStyle(FOVTStyle);
    StylerChanged(scPagerCaption);
    StylerChanged(scColors);
}

void TAdvToolBarPager::Update() {
    TCustomControl::Update();
    if (HasState(csLoading) || HasState(csReading)) return;
    if (FPropertiesLoaded) {
        FitTabs();
        ResetTabScroll();
        UpdateCaptionLayer();
    } else {
        Loaded();
    }
    Invalidate();
}

void TAdvToolBarPager::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (HasState(csDestroying) || operation != opRemove) return;
    if (component == FToolBarStyler) SetToolBarStyler(nullptr);
    if (component == FImages) FImages = nullptr;
    if (component == FDisabledImages) FDisabledImages = nullptr;
}

void TAdvToolBarPager::SetParent(TWinControl* parent) {
    if (parent && (parent->ClassName() == L"TAdvDockPanel" || dynamic_cast<TAdvCustomToolBar*>(parent) ||
                   dynamic_cast<TAdvToolBarPager*>(parent) || dynamic_cast<TAdvPage*>(parent)))
        throw Exception(L"Invalid Parent");
    if (FGlassAllowed && !HasState(csDesigning) && !dynamic_cast<TAdvToolBarForm*>(parent)) {
        FGlassAllowed = false;  // for good: only a ribbon form gives a pager glass
        if (FIsAeroVista) SetIsAeroVista(false);
    }
    TCustomControl::SetParent(parent);
}

// The styler asks for glass with its scenic looks. Granting it where glass is impossible
// would leave the caption bar without face or text (the glass would draw them) and cut
// the caption-button notch out of the window.
void TAdvToolBarPager::SetIsAeroVista(bool value) {
    value = value && FGlassAllowed;
    if (value == FIsAeroVista) return;
    FIsAeroVista = value;
    SetParentBackground(value);
    if (!HandleAllocated()) return;
    SetGlassRegion();  // clears the notch when glass goes
    if (value)
        CreateCaptionLayer();
    else if (FCaptionLayer)
        FCaptionLayer->SetVisible(false);
    Invalidate();
}

void TAdvToolBarPager::Invalidate() {
    if (HasState(csDestroying)) return;
    if (!FIsAeroVista || HasState(csDesigning) || HasState(csLoading) || !FPropertiesLoaded || !HandleAllocated()) {
        TCustomControl::Invalidate();
        return;
    }
    // On glass the caption layer draws the caption: only what lies below it is repainted.
    RECT below{0, FScaledPagerCaptionHeight, Width(), Height()};
    InvalidateRect(Handle(), &below, TRUE);
}

void TAdvToolBarPager::Resize() {
    TCustomControl::Resize();
    if (HandleAllocated() && FIsAeroVista) {
        SetGlassRegion();
        UpdateCaptionLayer();
    }
}

TCustomForm* TAdvToolBarPager::ParentFormOf() const { return dynamic_cast<TCustomForm*>(Parent()); }

int TAdvToolBarPager::GetParentWindowState() const {
    TCustomForm* form = ParentFormOf();
    return form ? int(form->WindowState()) : 0;
}

// ---------------------------------------------------------------- pages

int TAdvToolBarPager::AdvPageCount() const { return FAdvPages->Count(); }

TAdvPage* TAdvToolBarPager::AdvPages(int index) const { return static_cast<TAdvPage*>(FAdvPages->Items(index)); }

int TAdvToolBarPager::IndexOfPage(const TAdvPage* page) const { return FAdvPages->IndexOf(page); }

TAdvPage* TAdvToolBarPager::ActivePage() const {
    if (FActivePageIndex < 0 || FActivePageIndex >= AdvPageCount()) return nullptr;
    return AdvPages(FActivePageIndex);
}

void TAdvToolBarPager::SetActivePage(TAdvPage* page) {
    const int index = IndexOfPage(page);
    if (index >= 0) SetActivePageIndex(index);
}

int TAdvToolBarPager::AddAdvPage(TAdvPage* page) {
    int index = IndexOfPage(page);
    if (index < 0) index = FAdvPages->Add(page);
    if (page->Parent() != this) page->TCustomControl::SetParent(this);
    page->FAdvToolBarPager = this;
    SetPageBounds(page);
    if (page != ActivePage()) page->SetVisible(false);
    InvalidateTab(-1);
    if (TAdvPage* active = ActivePage()) active->BringToFront();
    UpdateTabs();
    ArrangeAllTabs();
    ResetTabScroll();
    return index;
}

int TAdvToolBarPager::AddAdvPage(const std::wstring& pageCaption) {
    auto* page = new TAdvPage(this);
    page->SetCaption(pageCaption);
    return AddAdvPage(page);
}

void TAdvToolBarPager::RemoveAdvPage(TAdvPage* page) {
    const int index = IndexOfPage(page);
    if (index < 0) return;
    int newActive = index < FActivePageIndex ? FActivePageIndex - 1 : FActivePageIndex;
    if (index == FActivePageIndex) {
        // The next active page is found by what SelectNextPage chose, not by the old
        // position: it may have skipped hidden or disabled pages.
        SelectNextPage(true);
        const int selected = FActivePageIndex;
        if (selected == index) {
            page->SetVisible(false);
            newActive = -1;
        } else {
            newActive = selected > index ? selected - 1 : selected;
        }
    }
    FAdvPages->Delete(index);
    page->FAdvToolBarPager = nullptr;
    if (newActive < 0)
        FActivePageIndex = -1;
    else
        SetActivePageIndex(newActive);
    if (!HasState(csDestroying)) {
        UpdateTabs();
        FitTabs();
        ResetTabScroll();
        Invalidate();
    }
}

void TAdvToolBarPager::MoveAdvPage(int curIndex, int newIndex) {
    const int count = AdvPageCount();
    if (curIndex < 0 || curIndex >= count || newIndex < 0 || newIndex >= count) return;
    TAdvPage* active = ActivePage();
    FAdvPages->Move(curIndex, newIndex);
    if (active) FActivePageIndex = IndexOfPage(active);
    UpdateTabScroller();
    ArrangeAllTabs();
    Invalidate();
}

void TAdvToolBarPager::ChangeActivePage(int index) {
    if (index < 0 || index >= AdvPageCount() || index == FActivePageIndex) return;
    bool allow = true;
    if (OnChanging) OnChanging(this, FActivePageIndex, index, allow);
    if (!allow) return;
    if (TAdvPage* old = ActivePage()) {
        old->HideCompactWindowOfAdvToolBars();
        old->SetVisible(false);
    }
    FActivePageIndex = index;
    TAdvPage* page = AdvPages(index);
    SetPageBounds(page);
    page->SetVisible(true);
    page->BringToFront();
    if (OnChange) OnChange(this);
}

void TAdvToolBarPager::SetActivePageIndex(int value) {
    const int old = FActivePageIndex;
    ChangeActivePage(value);
    InvalidateTab(-1);
    if (value != old && OnTabChanged) OnTabChanged(this);
}

void TAdvToolBarPager::SelectNextPage(bool goForward) {
    const int count = AdvPageCount();
    if (FActivePageIndex < 0 || FActivePageIndex >= count) return;
    int index = FActivePageIndex;
    for (int step = 0; step < count - 1; ++step) {
        index = goForward ? (index + 1) % count : (index + count - 1) % count;
        TAdvPage* page = AdvPages(index);
        if (index != FActivePageIndex && page->TabVisible() && page->TabEnabled()) {
            SetActivePageIndex(index);
            return;
        }
    }
}

TAdvPage* TAdvToolBarPager::FindNextPage(TAdvPage* curPage, bool goForward, bool checkTabVisible) const {
    const int count = AdvPageCount();
    int index = curPage ? IndexOfPage(curPage) : -1;
    if (index < 0) return nullptr;
    for (int step = 0; step < count - 1; ++step) {
        index = goForward ? (index + 1) % count : (index + count - 1) % count;
        TAdvPage* page = AdvPages(index);
        if (!checkTabVisible || page->TabVisible()) return page;
    }
    return nullptr;
}

void TAdvToolBarPager::NextActivePage() {
    int index = FActivePageIndex;
    while (index < AdvPageCount() - 1) {
        ++index;
        if (AdvPages(index)->TabEnabled() && AdvPages(index)->TabVisible()) {
            SetActivePageIndex(index);
            return;
        }
    }
}

void TAdvToolBarPager::PrevActivePage() {
    int index = std::min(FActivePageIndex, AdvPageCount());
    while (index > 0) {
        --index;
        if (AdvPages(index)->TabEnabled() && AdvPages(index)->TabVisible()) {
            SetActivePageIndex(index);
            return;
        }
    }
}

int TAdvToolBarPager::PageTabGroupIndex(const TAdvPage* page) const {
    const int index = IndexOfPage(page);
    for (int g = 0; index >= 0 && g < FTabGroups->Count(); ++g) {
        const TTabGroupItem* item = FTabGroups->GetItem(g);
        if (index >= item->TabIndexStart() && index <= item->TabIndexEnd()) return g;
    }
    return -1;
}

int TAdvToolBarPager::GetPagePadding() const { return FItones || AdvGDIP::GetScenicRibbonFlag() ? 0 : 4; }

TRect TAdvToolBarPager::GetPageRect() const {
    TPageRectInput in;
    in.Client = ClientRect();
    in.CaptionVisible = FCaption->Visible();
    in.CaptionHeight = FScaledPagerCaptionHeight;
    in.TabHeight = FTabSettings->Height();
    in.Padding = GetPagePadding();
    in.PageLeftMargin = FPageLeftMargin;
    in.PageRightMargin = FPageRightMargin;
    in.GlassScenic = FIsAeroVista && AdvGDIP::GetScenicRibbonFlag() && IsGlass(false);
    in.OfficeTones = FItones;
    return PageRect(in);
}

void TAdvToolBarPager::SetPageBounds(TAdvPage* page) {
    if (IndexOfPage(page) < 0) return;
    const TRect r = GetPageRect();
    page->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
}

void TAdvToolBarPager::UpdatePageBounds() {
    for (int i = 0; i < AdvPageCount(); ++i) SetPageBounds(AdvPages(i));
}

void TAdvToolBarPager::AlignControls(TControl* control, TRect& rect) {
    TCustomControl::AlignControls(control, rect);
    if (auto* page = dynamic_cast<TAdvPage*>(control)) SetPageBounds(page);
}

// ---------------------------------------------------------------- tab row

TRect TAdvToolBarPager::GetTabsArea() const {
    TRect r = ClientRect();
    if (FCaption->Visible()) r.Top += FCaption->Height();
    r.Bottom = r.Top + FTabSettings->Height();
    return r;
}

TRect TAdvToolBarPager::GetTabsRect() const {
    TRect r = ClientRect();
    if (FCaption->Visible()) r.Top += FCaption->Height();
    r.Top += 4;
    r.Bottom = r.Top + FTabSettings->Height();
    const int pad = GetPagePadding();
    r.Left += pad + FDefTabMargin + FPageLeftMargin;
    r.Right -= FTabSettings->EndMargin() + FPageRightMargin + pad;
    if (FAutoMDIButtons && !HasState(csDesigning)) r.Right -= (FMDIButtonsWidth + FMDIButtonsSpace) * 3 + 5;
    return r;
}

void TAdvToolBarPager::LoadRow() {
    const int count = AdvPageCount();
    FRow.Tabs.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        const TAdvPage* page = AdvPages(i);
        TTabSlot& slot = FRow.Tabs[size_t(i)];
        slot.Visible = page->TabVisible();
        slot.Group = GetTabGroupIndex(i);
        slot.ClientWidth = page->FTabClientWidth;
        slot.RealClientWidth = page->FTabRealClientWidth;
        slot.Left = page->FTabLeft;
    }
    FRow.Groups.resize(size_t(FTabGroups->Count()));
    for (int g = 0; g < FTabGroups->Count(); ++g) {
        const TTabGroupItem* item = FTabGroups->GetItem(g);
        FRow.Groups[size_t(g)] = {item->TabExtraXMargin(), item->TabCurrentExtraXMargin()};
    }
    FRow.Limits = {FTabSettings->Spacing(), FTabSettings->LeftMargin(), FTabSettings->RightMargin(),
                   FTabSettings->MinSpacing(), FTabSettings->MinMargin()};
    FRow.Scroll.Min = FTabScroller->Min();
    FRow.Scroll.Max = FTabScroller->Max();
    FRow.Scroll.Position = FTabScroller->Position();
}

void TAdvToolBarPager::StoreRow() {
    for (int i = 0; i < AdvPageCount() && i < FRow.Count(); ++i) {
        TAdvPage* page = AdvPages(i);
        const TTabSlot& slot = FRow.Tabs[size_t(i)];
        page->FTabClientWidth = slot.ClientWidth;
        page->FTabRealClientWidth = slot.RealClientWidth;
        page->FTabLeft = slot.Left;
    }
    for (int g = 0; g < FTabGroups->Count() && g < int(FRow.Groups.size()); ++g) {
        TTabGroupItem* item = FTabGroups->GetItem(g);
        item->SetTabExtraXMargin(FRow.Groups[size_t(g)].ExtraXMargin);
        item->SetTabCurrentExtraXMargin(FRow.Groups[size_t(g)].CurrentExtraXMargin);
    }
    FTabScroller->SetMin(0);
    FTabScroller->SetMax(std::max(0, FRow.Scroll.Max));
    FTabScroller->SetPosition(FRow.Scroll.Position);
}

TRect TAdvToolBarPager::GetTabRect(int pageIndex) {
    if (pageIndex < 0 || pageIndex >= AdvPageCount() || !AdvPages(pageIndex)->TabVisible()) return {-1, -1, -1, -1};
    LoadRow();
    const TRect tabs = GetTabsRect();
    TAdvPage* page = AdvPages(pageIndex);
    const int width = FRow.TabWidth(pageIndex);
    if (FGroupStyle == gsOffice2019 && pageIndex + 1 < AdvPageCount()) {
        TAdvPage* last = AdvPages(AdvPageCount() - 1);
        if (last->FTabLeft + FRow.TabWidth(AdvPageCount() - 1) < tabs.Right)
            AdvPages(pageIndex + 1)->FTabLeft = page->FTabLeft + width;
    }
    return {page->FTabLeft, tabs.Top, page->FTabLeft + width, tabs.Bottom};
}

TRect TAdvToolBarPager::GetVisibleTabRect(int pageIndex) {
    TRect r = GetTabRect(pageIndex);
    if (r.Left == -1 && r.Right == -1) return r;
    const TRect tabs = GetTabsRect();
    if (r.Right <= tabs.Left || r.Left >= tabs.Right) return {-1, -1, -1, -1};
    r.Left = std::max(r.Left, tabs.Left);
    r.Right = std::min(r.Right, tabs.Right);
    return r;
}

int TAdvToolBarPager::TabAtPos(int x, int y) {
    for (int i = 0; i < AdvPageCount(); ++i)
        if (GetTabRect(i).Contains({x, y})) return i;
    return -1;
}

void TAdvToolBarPager::InvalidateTab(int pageIndex) {
    if (!HandleAllocated()) return;
    TRect r = pageIndex >= 0 && pageIndex < AdvPageCount() ? GetTabRect(pageIndex) : GetTabsArea();
    if (r.Left == -1 && r.Right == -1) r = GetTabsArea();
    RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    InvalidateRect(Handle(), &rect, TRUE);
}

int TAdvToolBarPager::CalcTabWidth(int index, int& clientWidth) {
    clientWidth = 0;
    if (index < 0 || index >= AdvPageCount()) return 0;
    TAdvPage* page = AdvPages(index);
    TCustomTabAppearance* look = CurrentTabAppearance();
    const int group = GetTabGroupIndex(index);
    if (group >= 0) look = GroupAppearanceOf(group)->TabAppearance();
    const double scale = DPIScaleFactor;
    TFont font;
    font.Assign(look->Font());
    font.SetHeight(RoundScaled(look->Font()->Height() * scale));
    const bool bold = FGroupStyle == gsOffice2019;
    const std::wstring& text = page->Caption().empty() ? page->WideCaption() : page->Caption();
    int textWidth = 0;
    if (!text.empty()) {
        if (FTextMeasure) {
            textWidth = FTextMeasure->TextWidth(text, &font, bold);
        } else {
            if (bold) font.SetStyle(font.Style() + fsBold);
            textWidth = PagerTextWidth(Canvas(), page->Caption(), page->WideCaption(), FAntiAlias, &font);
        }
    }
    const int fontSize = font.Size();
    int width = RoundScaled(scale) + std::max(0, fontSize - 7) + RoundScaled(scale) + textWidth;
    if ((FImages || FDisabledImages) && page->ImageIndex() >= 0) {
        if (!page->TabEnabled() && FDisabledImages)
            width += FDisabledImages->Width() + 2;
        else if (FImages)
            width += FImages->Width() + 2;
    }
    clientWidth = width;
    if (FGroupStyle == gsOffice2019) clientWidth += FTabSettings->LeftMargin() + FTabSettings->RightMargin();
    int full = width + FTabSettings->LeftMargin() + FTabSettings->RightMargin();
    if (IsGlass(true)) full += RoundScaled(6 * scale);
    page->FTabWidth = full;
    if (FGroupStyle == gsOffice2019) page->FTabRealClientWidth = full;
    return full;
}

void TAdvToolBarPager::MeasureTab(int index) {
    if (index < 0 || index >= AdvPageCount()) return;
    int clientWidth = 0;
    CalcTabWidth(index, clientWidth);
    TAdvPage* page = AdvPages(index);
    page->FTabClientWidth = clientWidth;
    if (FGroupStyle != gsOffice2019) page->FTabRealClientWidth = clientWidth;
}

void TAdvToolBarPager::CalcTabGroupMargins() {
    for (int g = 0; g < FTabGroups->Count(); ++g) {
        TTabGroupItem* item = FTabGroups->GetItem(g);
        item->SetTabExtraXMargin(0);
        item->SetTabCurrentExtraXMargin(0);
    }
    if (HasState(csDesigning)) return;
    for (int g = 0; g < FTabGroups->Count(); ++g) {
        TTabGroupItem* item = FTabGroups->GetItem(g);
        bool hasLeft = true, hasRight = true;
        TRect r;
        if (!GetTabGroupRect(g, hasLeft, hasRight, r) || !hasLeft || !hasRight) continue;
        TFont* font = GroupAppearanceOf(g)->Font();
        const std::wstring& text = item->Caption();
        const int captionWidth = FTextMeasure ? FTextMeasure->TextWidth(text, font, false)
                                              : PagerTextWidth(Canvas(), text, item->WideCaption(),
                                                               AdvGDIP::aaAntiAlias, font);
        const int margin = GroupExtraMargin(r.Width(), captionWidth, GetTabGroupTabCount(g));
        item->SetTabExtraXMargin(margin);
        item->SetTabCurrentExtraXMargin(margin);
    }
}

void TAdvToolBarPager::UpdateTabs() {
    FRow.Limits = {FTabSettings->Spacing(), FTabSettings->LeftMargin(), FTabSettings->RightMargin(),
                   FTabSettings->MinSpacing(), FTabSettings->MinMargin()};
    FRow.ResetSpacing();
    for (int i = 0; i < AdvPageCount(); ++i) MeasureTab(i);
    PositionTabs();
    CalcTabGroupMargins();
    ResetTabScroll();
}

void TAdvToolBarPager::PositionTabs() {
    LoadRow();
    FRow.PositionTabs(GetTabsRect().Left);
    StoreRow();
}

void TAdvToolBarPager::ArrangeAllTabs() {
    LoadRow();
    FRow.ArrangeAllTabs();
    StoreRow();
}

void TAdvToolBarPager::FitTabs() {
    if (AdvPageCount() == 0 || !FPropertiesLoaded) return;
    LoadRow();
    const TRect tabs = GetTabsRect();
    FRow.Fit(tabs.Width());
    StoreRow();
}

void TAdvToolBarPager::ResetTabScroll() {
    LoadRow();
    const TRect tabs = GetTabsRect();
    FRow.Scroll = {};
    FRow.PositionTabs(tabs.Left);
    StoreRow();
    UpdateTabScroller();
}

void TAdvToolBarPager::UpdateTabScroller() {
    if (AdvPageCount() == 0 || HasState(csDesigning) || HasState(csLoading)) return;
    LoadRow();
    const TRect tabs = GetTabsRect();
    FRow.UpdateScroller(tabs.Left, tabs.Right);
    StoreRow();
    auto makeButton = [this, &tabs](TAdvPageScrollButton*& button, bool left) {
        if (!button) {
            button = new TAdvPageScrollButton(this);
            button->SetParent(this);
            button->SetButtonPosition(left ? AdvGlowButton::bpLeft : AdvGlowButton::bpRight);
            button->SetScrollArrow(left ? saLeft : saRight);
            button->OnClick = [this, left](TObject*) { ScrollTabs(left ? -1 : 1); };
        }
        const int width = RoundScaled(12 * DPIScaleFactor);
        button->SetBounds(left ? tabs.Left : tabs.Right - width, tabs.Top, width, tabs.Height() - 5);
        button->BringToFront();
        const AdvGlowButton::TGlowButtonAppearance* look =
            FItones && FGlowButtonAppearance ? FGlowButtonAppearance.get()
                                             : FCurrentToolBarStyler->GlowButtonAppearance();
        button->SetAppearance(look);
        button->SetVisible(true);
    };
    if (FRow.Scroll.CanGoBack())
        makeButton(FLeftScrollBtn, true);
    else if (FLeftScrollBtn)
        FLeftScrollBtn->SetVisible(false);
    if (FRow.Scroll.CanGoForward())
        makeButton(FRightScrollBtn, false);
    else if (FRightScrollBtn)
        FRightScrollBtn->SetVisible(false);
}

int TAdvToolBarPager::ScrollTabs(int delta) {
    LoadRow();
    const TRect tabs = GetTabsRect();
    const int moved = FRow.ScrollTabs(delta, tabs.Left, tabs.Right, [this] {
        StoreRow();
        InvalidateTab(-1);
    });
    StoreRow();
    UpdateTabScroller();
    if (TAdvPage* page = ActivePage(); page && page->HandleAllocated()) {
        RECT top{0, 0, page->Width(), 3};
        InvalidateRect(page->Handle(), &top, TRUE);
    }
    InvalidateTab(-1);
    return moved;
}

void TAdvToolBarPager::ScrollToTab(int index) {
    LoadRow();
    const TRect tabs = GetTabsRect();
    FRow.ScrollToTab(index, tabs.Left, tabs.Right, [this] { InvalidateTab(-1); });
    StoreRow();
    UpdateTabScroller();
}

void TAdvToolBarPager::UpdateLayout() {
    UpdatePageBounds();
    FitTabs();
    ResetTabScroll();
    UpdateCaptionButtons();
}

void TAdvToolBarPager::UpdateQAT() { UpdateLayout(); }

void TAdvToolBarPager::TabSettingsChanged() {
    FDefTabMargin = RoundScaled(FTabSettings->StartMargin() * DPIScaleFactor);
    UpdatePageBounds();
    UpdateTabs();
    FitTabs();
    Invalidate();
}

void TAdvToolBarPager::CaptionChanged() {
    if (FCaption->HeightUpdate()) {
        // Scaled pagers: the height given is in screen pixels, the designed one is kept unscaled.
        const double scale = DPIScaleFactor > 0 ? DPIScaleFactor : 1.0;
        FOrigCaptionHeight = RoundScaled(FCaption->Height() / scale);
        FScaledPagerCaptionHeight = RoundScaled(FOrigCaptionHeight * scale);
        if (!HasState(csDesigning)) FCaption->SetHeightSilently(FScaledPagerCaptionHeight);
        UpdateTabs();
        FitTabs();
    }
    // Every assignment, an equal height too, places the pages again.
    UpdatePageBounds();
    UpdateCaptionButtons();
    UpdateCaptionLayer();
    Invalidate();
}

void TAdvToolBarPager::TabGroupsChanged() { RefreshGlassFrame(); }

void TAdvToolBarPager::RefreshGlassFrame() {
    Invalidate();
    if (!FIsAeroVista) return;
    if (auto* form = dynamic_cast<TAdvToolBarForm*>(Parent())) {
        form->SetWidth(form->Width() - 1);
        form->SetWidth(form->Width() + 1);
    }
}

// ---------------------------------------------------------------- tab groups

int TAdvToolBarPager::GetTabGroupIndex(int tabIndex) const {
    if (tabIndex < 0 || tabIndex >= AdvPageCount()) return -1;
    for (int g = 0; g < FTabGroups->Count(); ++g) {
        const TTabGroupItem* item = FTabGroups->GetItem(g);
        if (item->TabIndexStart() <= tabIndex && tabIndex <= item->TabIndexEnd()) return g;
    }
    return -1;
}

int TAdvToolBarPager::GetTabGroupTabCount(int index) const {
    if (index < 0 || index >= FTabGroups->Count()) return 0;
    const TTabGroupItem* item = FTabGroups->GetItem(index);
    return std::abs(item->TabIndexEnd() - item->TabIndexStart()) + 1;
}

bool TAdvToolBarPager::GetTabGroupRect(int index, bool& hasLeftEdge, bool& hasRightEdge, TRect& rect) {
    rect = {-1, -1, -1, -1};
    if (index < 0 || index >= FTabGroups->Count()) return false;
    const TTabGroupItem* item = FTabGroups->GetItem(index);
    const bool qatVisible = FQuickAccessToolBar && FQuickAccessToolBar->Visible();
    if (item->TabIndexStart() == 0 && qatVisible) return false;
    LoadRow();
    int left = 0, right = 0;
    if (!FRow.GroupSpan(item->TabIndexStart(), item->TabIndexEnd(), left, right)) return false;
    const TRect tabs = GetTabsRect();
    hasLeftEdge = hasRightEdge = true;
    rect = {left, GetCaptionRect().Top, right, tabs.Bottom};
    if (!FCaption->Visible()) rect.Top = ClientRect().Top;
    int extra = 0;
    if (FTabSettings->Spacing() > 2) {
        if (FIsAeroVista && IsGlass(true) && AdvGDIP::GetScenicRibbonFlag()) {
            rect.Left -= 1;
            extra = 1;
        } else {
            extra = FTabSettings->Spacing() / 2;
            rect.Left -= extra;
            rect.Right += extra;
        }
    }
    if (AdvGDIP::GetScenicRibbonFlag() && FIsAeroVista) {
        const int l = tabs.Left;
        if (l < rect.Right && rect.Left < l - extra) {
            rect.Right = l - 1;
            hasRightEdge = false;
        }
    } else if (FCaption->Visible()) {
        const TRect buttons = GetCaptionButtonsRect();
        if (buttons.Left >= 0) {  // no caption buttons yet: nothing clips the group
            const int l = buttons.Left;
            if (l < rect.Left) {
                hasLeftEdge = hasRightEdge = false;
                rect = {-1, -1, -1, -1};
                return false;
            }
            if (l < rect.Right && rect.Left < l - extra) {
                rect.Right = l - 1;
                hasRightEdge = false;
            }
        }
    }
    if (qatVisible) {
        const TRect qat = GetQATRect();
        if (qat.Left >= 0 && rect.Left < qat.Right && item->TabIndexStart() < 2) {
            hasLeftEdge = hasRightEdge = false;
            rect = {-1, -1, -1, -1};
            return false;
        }
    }
    return true;
}

int TAdvToolBarPager::TabGroupAtPos(int x, int y) {
    for (int g = 0; g < FTabGroups->Count(); ++g) {
        bool left = true, right = true;
        TRect r;
        if (!GetTabGroupRect(g, left, right, r)) continue;
        // The header is the part above the tab row.
        r.Bottom = GetTabsArea().Top;
        if (r.Contains({x, y})) return g;
    }
    return -1;
}

void TAdvToolBarPager::GroupClick(int group) {
    if (group < 0 || group >= FTabGroups->Count()) return;
    const TTabGroupItem* item = FTabGroups->GetItem(group);
    for (int i = std::max(0, item->TabIndexStart()); i <= item->TabIndexEnd() && i < AdvPageCount(); ++i) {
        TAdvPage* page = AdvPages(i);
        if (page->Enabled() && page->TabVisible()) {
            if (i != FActivePageIndex) SetActivePageIndex(i);
            break;
        }
    }
    if (OnTabGroupClick) OnTabGroupClick(this, group);
}

// ---------------------------------------------------------------- looks and styler

TCustomTabAppearance* TAdvToolBarPager::CurrentTabAppearance() const {
    if (FItones && FTabAppearance) return FTabAppearance.get();
    return FCurrentToolBarStyler->TabAppearance();
}

TVistaPageBackground* TAdvToolBarPager::CurrentPageAppearance() const {
    if (FItones && FPageAppearance && FTabAppearance) return FPageAppearance.get();
    return FCurrentToolBarStyler->PageAppearance();
}

TGroupAppearance* TAdvToolBarPager::GroupAppearanceOf(int groupIndex) const {
    TTabGroupItem* item = FTabGroups->GetItem(groupIndex);
    if (!item->DefaultAppearance()) return item->GroupAppearance();
    if (FItones && (FGroupStyle == gsClassic || FGroupStyle == gsWindows8) && FGroupAppearance)
        return FGroupAppearance.get();
    return FCurrentToolBarStyler->GroupAppearance();
}

TVistaTextBackground* TAdvToolBarPager::PagerCaption() const { return FCurrentToolBarStyler->PagerCaption(); }
TContainerAppearance* TAdvToolBarPager::ContainerAppearance() const {
    return FCurrentToolBarStyler->ContainerAppearance();
}

void TAdvToolBarPager::UpdateAppearance() {
    if (!FPageAppearance) FPageAppearance = std::make_unique<TVistaPageBackground>();
    if (!FTabAppearance) FTabAppearance = std::make_unique<TTabAppearance>();
    FPageAppearance->Assign(FCurrentToolBarStyler->PageAppearance());
    FTabAppearance->Assign(FCurrentToolBarStyler->TabAppearance());
}

void TAdvToolBarPager::SetToolBarStyler(TCustomAdvToolBarStyler* value) {
    if (value && value == FToolBarStyler) return;
    if (FToolBarStyler && FToolBarStyler != FInternalToolBarStyler) {
        FToolBarStyler->RemoveFreeNotification(this);
        FToolBarStyler->RemoveControl(this);
    }
    FToolBarStyler = value;
    if (!value && HasState(csDestroying)) {
        FCurrentToolBarStyler = FInternalToolBarStyler;
        return;
    }
    if (value) {
        FCurrentToolBarStyler = value;
        value->FreeNotification(this);
        value->AddControl(this);
    } else {
        FCurrentToolBarStyler = FInternalToolBarStyler;
    }
    if (!HasState(csDestroying) && !HasState(csLoading)) {
        for (int i = 0; i < AdvPageCount(); ++i) {
            TAdvPage* page = AdvPages(i);
            for (int c = 0; c < page->ControlCount(); ++c)
                if (auto* toolBar = dynamic_cast<TAdvToolBar*>(page->Controls(c)))
                    toolBar->SetParentStyler(toolBar->ParentStyler());
            page->Invalidate();
        }
    }
    if (value) {
        value->ApplyStyleToPagers(value->OVTStyle());
        StylerChanged(0);
    } else {
        FStylerRemoved = HasState(csDesigning);
        SetComponentStyle(FOVTStyle);
        FStylerRemoved = false;
    }
    Invalidate();
}

void TAdvToolBarPager::SetUIStyle(TOVTStyle value) {
    FOVTStyle = value;
    if (!FToolBarStyler && !HasState(csLoading)) SetComponentStyle(value);
}

// ---------------------------------------------------------------- plain properties

void TAdvToolBarPager::SetBrandingPicture(const GDIPicture::TGDIPPicture* value) {
    FIBrandingPicture->Assign(value);
    Invalidate();
    if (TAdvPage* page = ActivePage()) page->Invalidate();
}

void TAdvToolBarPager::SetAntiAlias(AdvGDIP::TAntiAlias value) {
    FAntiAlias = value;
    Invalidate();
}

void TAdvToolBarPager::SetPageLeftMargin(int value) {
    if (value < 0 || value == FPageLeftMargin) return;
    FPageLeftMargin = value;
    UpdatePageBounds();
    if (TAdvPage* page = ActivePage()) page->Invalidate();
}

void TAdvToolBarPager::SetPageRightMargin(int value) {
    if (value < 0 || value == FPageRightMargin) return;
    FPageRightMargin = value;
    UpdatePageBounds();
    if (TAdvPage* page = ActivePage()) page->Invalidate();
}

void TAdvToolBarPager::SetImages(TCustomImageList* value) {
    FImages = value;
    if (value) value->FreeNotification(this);
    Invalidate();
}

void TAdvToolBarPager::SetDisabledImages(TCustomImageList* value) {
    FDisabledImages = value;
    if (value) value->FreeNotification(this);
    Invalidate();
}

void TAdvToolBarPager::SetShowNonSelectedTabs(bool value) {
    FShowNonSelectedTabs = value;
    InvalidateTab(-1);
}

void TAdvToolBarPager::SetAutoMDIButtons(bool value) {
    if (value == FAutoMDIButtons) return;
    FAutoMDIButtons = value;
    if (FPropertiesLoaded) UpdateLayout();
}

// ---------------------------------------------------------------- caption layer

void TAdvToolBarPager::CreateCaptionLayer() {
    if (!FIsAeroVista || HasState(csDesigning)) return;
    if (!FCaptionLayer) {
        FCaptionLayer = new TCaptionLayer(this);
        FCaptionLayer->SetParent(this);
        FCaptionLayer->SetAlign(alNone);
        FCaptionLayer->SendToBack();
        FCaptionLayer->OnPaintText = [this](TObject*) { PaintGlassCaption(); };
        FCaptionLayer->OnLayerMouseDown = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
            CaptionLayerMouseDown(button, x, y);
        };
        FCaptionLayer->OnLayerMouseUp = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
            CaptionLayerMouseUp(button, x, y);
        };
        FCaptionLayer->OnLayerDblClick = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
            CaptionLayerDblClick(x, y);
        };
    }
    UpdateCaptionLayer();
}

void TAdvToolBarPager::UpdateCaptionLayer() {
    if (!FIsAeroVista || HasState(csDesigning) || HasState(csLoading) || !FPropertiesLoaded || !FCaptionLayer) return;
    FCaptionLayer->SetCaption(FCaption->Caption());
    const TRect r = GetCaptionRect();
    FCaptionLayer->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
    FCaptionLayer->SetVisible(FUseCaptionLayer);
}

void TAdvToolBarPager::SetGlassRegion() {
    if (!HandleAllocated()) return;
    if (FRegionSet) {
        SetWindowRgn(Handle(), nullptr, TRUE);
        FRegionSet = false;
    }
    if (!FIsAeroVista) return;
    int notch = 100;
    if (!HasState(csDesigning) && FIsWin7) notch = FIsWin10 ? 130 : 110;
    const bool onRibbonForm = dynamic_cast<TAdvToolBarForm*>(Parent()) != nullptr;
    const double ppi = onRibbonForm ? ScreenPixelsPerInch / 96.0 : 1.0;
    notch = RoundScaled(notch * ppi);
    int notchHeight = RoundScaled((IsMaximizedScenicGlass() ? 25 : 22) * ppi);
    notchHeight = std::min(notchHeight, FScaledPagerCaptionHeight - 5);
    const POINT points[] = {{0, 0},
                            {Width() - notch, 0},
                            {Width() - notch, notchHeight},
                            {Width(), notchHeight},
                            {Width(), Height()},
                            {0, Height()},
                            {0, 0}};
    HRGN region = CreatePolygonRgn(points, int(std::size(points)), WINDING);
    if (!region) return;
    if (SetWindowRgn(Handle(), region, TRUE))
        FRegionSet = true;
    else
        DeleteObject(region);  // the window did not take ownership
}

}  // namespace AdvToolBar
