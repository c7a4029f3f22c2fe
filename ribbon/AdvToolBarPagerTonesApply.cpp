// The pager's style presets, colour tones, office tones and flat mode: the records come
// from AdvToolBarPagerTones.cpp, this file puts them on the pager and its windows.
#include <windows.h>

#include <cwctype>
#include <string>

#include "graphics/AdvStyleIF.h"
#include "menus/AdvToolBarBase.h"
#include "menus/AdvToolBarFaces.h"
#include "menus/AdvToolBarStylers.h"
#include "ribbon/AdvToolBarPager.h"
#include "ribbon/AdvToolBarPagerTones.h"
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;
using AdvStyleIF::TOVTStyle;

namespace {

// A tone operation's guard: set for its run, cleared however it ends.
class TTonesBeingSet {
public:
    explicit TTonesBeingSet(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TTonesBeingSet() { FFlag = false; }
    TTonesBeingSet(const TTonesBeingSet&) = delete;
    TTonesBeingSet& operator=(const TTonesBeingSet&) = delete;
private:
    bool& FFlag;
};

}  // namespace

TWinControl* TAdvToolBarPager::AppButton() const {
    for (int i = 0; i < ControlCount(); ++i) {
        std::wstring name = Controls(i)->ClassName();
        for (wchar_t& c : name) c = wchar_t(std::towupper(c));
        if (name == L"TADVSHAPEBUTTON") return dynamic_cast<TWinControl*>(Controls(i));
    }
    return nullptr;
}

void TAdvToolBarPager::SendToAppButton(unsigned message, WPARAM wParam) {
    TWinControl* button = AppButton();
    if (button && message && button->HandleAllocated()) ::SendMessageW(button->Handle(), message, wParam, 0);
}

// ---------------------------------------------------------------- presets

void TAdvToolBarPager::SetComponentStyle(TOVTStyle AStyle) {
    if (FToolBarStyler) return;
    if (AStyle != AdvStyleIF::tsCustom && !StyleKeepsGroupStyle(AStyle)) FGroupStyle = gsClassic;
    SetComponentStyleAndAppColor(AStyle, clNone);
}

// One office styler serves every preset: the one made with the pager. Making a new one for
// each preset would pile stylers up on the pager for as long as it lives.
void TAdvToolBarPager::SetComponentStyleAndAppColor(TOVTStyle AStyle, TColor AppColor) {
    if (FToolBarStyler) return;
    FOVTStyle = AStyle;
    if (AStyle == AdvStyleIF::tsCustom) {
        if (FCurrentToolBarStyler != FInternalToolBarStyler && FCurrentToolBarStyler != FOfficeToolBarStyler)
            FCurrentToolBarStyler = FOfficeToolBarStyler;
        return;
    }
    FCurrentToolBarStyler = FOfficeToolBarStyler;
    FOfficeToolBarStyler->SetComponentStyleAndAppColor(AStyle, AppColor);
    if (!FStylerRemoved && !HasState(csLoading)) {
        StylerChanged(scPagerCaption);
        StylerChanged(scColors);
    }
}

// ---------------------------------------------------------------- flat mode

void TAdvToolBarPager::SetMetro() {
    if (FMetro) return;
    FOldAeroVista = FIsAeroVista;
    if (FIsAeroVista) SetIsAeroVista(false);  // hides the caption layer, drops the region
    FMetro = true;
    FItones = true;
    FTabRoundEdges = FShow3D = FShadow = false;
    SetDoubleBuffered(true);
    FUseCaptionLayer = false;
    if (FCaptionLayer) FCaptionLayer->SetVisible(false);
    if (HandleAllocated() && FRegionSet) {
        SetWindowRgn(Handle(), nullptr, TRUE);
        FRegionSet = false;
    }
    SetParentBackground(false);
}

void TAdvToolBarPager::RevertMetro() {
    if (!FMetro) return;
    FUseCaptionLayer = true;
    FItones = false;
    FMetro = false;
    FTabRoundEdges = FShow3D = FShadow = true;
    SetDoubleBuffered(true);
    if (FOldAeroVista) SetIsAeroVista(true);  // glass only where it is still allowed
    UpdateCaptionLayer();
    UpdateCaptionButtons();
    for (int i = 0; i < AdvPageCount(); ++i) AdvPages(i)->InvalidateAdvToolBars();
    SendToAppButton(WM_TBSETMETRO, 0);
    Invalidate();
}

void TAdvToolBarPager::ApplyGlowButtonAppearance(AdvGlowButton::TAdvCustomGlowButton* button) const {
    if (!button || !FGlowButtonAppearance) return;
    button->Appearance()->Assign(FGlowButtonAppearance.get());
    button->SetRounded(false);
    button->Font()->SetName(AdvStyleIF::GetDefaultFontName());
}

bool TAdvToolBarPager::GetShow3D() const { return FItones ? FShow3D : FCurrentToolBarStyler->Show3D(); }
bool TAdvToolBarPager::GetShowShadow() const { return FItones ? FShadow : FCurrentToolBarStyler->ShowShadow(); }

// ---------------------------------------------------------------- tones

// What both tone operations do once the records are filled: the pages and tabs placed
// again, the buttons rebuilt, the toolbars told, and a relayout by a width step.
void TAdvToolBarPager::ApplyToneLooksToWindows() {
    UpdatePageBounds();
    UpdateCaptionButtons();
    for (int i = 0; i < AdvPageCount(); ++i) {
        TAdvPage* page = AdvPages(i);
        for (int t = 0; t < page->AdvToolBarCount(); ++t)
            if (TAdvToolBar* toolBar = page->AdvToolBars(t)) toolBar->UpdateColorTones();
    }
}

namespace {

TPagerToneLooks LooksOf(std::unique_ptr<TVistaPageBackground>& page, std::unique_ptr<TCaptionAppearance>& caption,
                        std::unique_ptr<TTabAppearance>& tab, std::unique_ptr<TToolBarAppearance>& toolBar,
                        std::unique_ptr<AdvGlowButton::TGlowButtonAppearance>& glow,
                        std::unique_ptr<AdvGlowButton::TGlowButtonAppearance>& pageGlow,
                        std::unique_ptr<TGroupAppearance>& group) {
    if (!page) page = std::make_unique<TVistaPageBackground>();
    if (!caption) caption = std::make_unique<TCaptionAppearance>();
    if (!tab) tab = std::make_unique<TTabAppearance>();
    if (!toolBar) toolBar = std::make_unique<TToolBarAppearance>();
    if (!glow) glow = std::make_unique<AdvGlowButton::TGlowButtonAppearance>();
    if (!pageGlow) pageGlow = std::make_unique<AdvGlowButton::TGlowButtonAppearance>();
    if (!group) group = std::make_unique<TGroupAppearance>();
    TPagerToneLooks looks;
    looks.Page = page.get();
    looks.Caption = caption.get();
    looks.Tab = tab.get();
    looks.ToolBar = toolBar.get();
    looks.Glow = glow.get();
    looks.PageGlow = pageGlow.get();
    looks.Group = group.get();
    return looks;
}

}  // namespace

void TAdvToolBarPager::SetColorTones(AdvStyleIF::TColorTones ATones) {
    if (FItonesBeingSet || HasState(csLoading) || HasState(csDestroying)) return;
    const TTonesBeingSet guard(FItonesBeingSet);
    SetMetro();
    TPagerToneLooks looks = LooksOf(FPageAppearance, FCaptionAppearance, FTabAppearance, FToolBarAppearance,
                                    FGlowButtonAppearance, FPageGlowButtonAppearance, FGroupAppearance);
    ApplyColorTonesToLooks(ATones, looks);
    SetColor(looks.PagerColor);
    FToolBarCaptionTextColor = looks.ToolBarCaptionTextColor;
    // The toolbars' glow buttons read the tones from the shared set.
    RibbonColorTones = ATones;
    ApplyToneLooksToWindows();
    SendToAppButton(WM_TBSETMETRO, 1);
    Invalidate();
    if (TAdvPage* page = ActivePage()) page->Invalidate();
    SetBounds(Left(), Top(), Width() - 1, Height());
    SetBounds(Left(), Top(), Width() + 1, Height());
}

void TAdvToolBarPager::SetOfficeTones(const TOfficeTones& tones, TGroupStyle groupStyle) {
    if (FItonesBeingSet || HasState(csDestroying)) return;
    const TTonesBeingSet guard(FItonesBeingSet);
    FOffice2013 = true;
    const bool relayout = GroupStyleChangesTabLayout(FGroupStyle, groupStyle);
    FGroupStyle = groupStyle;
    if (groupStyle == gsClassic || groupStyle == gsWindows8 || groupStyle == gsOffice2016) {
        RevertMetro();
        FItones = true;
        SetWin7ScenicRibbon(true);
        FShow3D = FShadow = false;
        SetDoubleBuffered(true);
    } else {
        FMetro = false;
        SetMetro();
    }
    FTabRoundEdges = false;
    TPagerToneLooks looks = LooksOf(FPageAppearance, FCaptionAppearance, FTabAppearance, FToolBarAppearance,
                                    FGlowButtonAppearance, FPageGlowButtonAppearance, FGroupAppearance);
    ApplyOfficeTonesToLooks(tones, groupStyle, looks);
    SetColor(looks.PagerColor);
    FToolBarCaptionTextColor = looks.ToolBarCaptionTextColor;
    RibbonColorTones = OfficeRibbonColorTones(tones, groupStyle, RibbonColorTones);
    ApplyToneLooksToWindows();
    AppButtonColorTones = OfficeAppButtonColorTones(tones, AppButtonColorTones);
    SendToAppButton(WM_TBSETOFFICE2013, 1);
    if (TAdvPage* page = ActivePage()) page->Invalidate();
    if (relayout && FPropertiesLoaded) {
        UpdateTabs();
        FitTabs();
    }
    Invalidate();
    SetBounds(Left(), Top(), Width() - 1, Height());
    SetBounds(Left(), Top(), Width() + 1, Height());
}

void TAdvToolBarPager::ClearOfficeTones() {
    // Flat mode stays: the styler change that follows leaves it (StylerChanged).
    FOffice2013 = false;
    FGroupStyle = gsClassic;
    FItones = false;
    SendToAppButton(WM_TBSETOFFICE2013, 0);
}

}  // namespace AdvToolBar
