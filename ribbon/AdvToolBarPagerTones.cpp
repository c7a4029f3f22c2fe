#include "ribbon/AdvToolBarPagerTones.h"

#include "menus/AdvToolBarAppearance.h"
#include "menus/AdvToolBarFaces.h"

namespace AdvToolBar {

using AdvGlowButton::TGlowButtonAppearance;
using AdvStyleIF::TColorTone;
using AdvStyleIF::TColorTones;
using ClassLib::clNone;
using ClassLib::TColor;

namespace {

const TAppColor& AppOf(const TOfficeTones& tones) {
    static const TAppColor defaults;
    return tones.App ? *tones.App : defaults;
}

void SetGradient(TGradientBackground& background, TColor color, TColor colorTo) {
    background.SetColor(color);
    background.SetColorTo(colorTo);
}

void SetGlowNormal(TGlowButtonAppearance& g, TColor color, TColor colorTo, TColor mirror, TColor mirrorTo) {
    g.SetColor(color);
    g.SetColorTo(colorTo);
    g.SetColorMirror(mirror);
    g.SetColorMirrorTo(mirrorTo);
}

void SetGlowHot(TGlowButtonAppearance& g, TColor color, TColor colorTo, TColor mirror, TColor mirrorTo) {
    g.SetColorHot(color);
    g.SetColorHotTo(colorTo);
    g.SetColorMirrorHot(mirror);
    g.SetColorMirrorHotTo(mirrorTo);
}

void SetGlowDown(TGlowButtonAppearance& g, TColor color, TColor colorTo, TColor mirror, TColor mirrorTo) {
    g.SetColorDown(color);
    g.SetColorDownTo(colorTo);
    g.SetColorMirrorDown(mirror);
    g.SetColorMirrorDownTo(mirrorTo);
}

void SetGlowChecked(TGlowButtonAppearance& g, TColor color, TColor colorTo, TColor mirror, TColor mirrorTo) {
    g.SetColorChecked(color);
    g.SetColorCheckedTo(colorTo);
    g.SetColorMirrorChecked(mirror);
    g.SetColorMirrorCheckedTo(mirrorTo);
}

void SetGlowDisabled(TGlowButtonAppearance& g, TColor color, TColor colorTo, TColor mirror, TColor mirrorTo) {
    g.SetColorDisabled(color);
    g.SetColorDisabledTo(colorTo);
    g.SetColorMirrorDisabled(mirror);
    g.SetColorMirrorDisabledTo(mirrorTo);
}

void SetTabDisabled(TCustomTabAppearance& tab, const TColorTone& disabled) {
    tab.SetColorDisabled(disabled.BrushColor);
    tab.SetBorderColorDisabled(disabled.BorderColor);
    tab.SetTextColorDisabled(disabled.TextColor);
}

// The page glow-button copy follows the glow copy, from a cleared start.
void CopyToPageGlow(TPagerToneLooks& looks) {
    ClearGlowButtonAppearance(looks.PageGlow);
    looks.PageGlow->Assign(looks.Glow);
}

}  // namespace

bool StyleKeepsGroupStyle(AdvStyleIF::TOVTStyle style) {
    using namespace AdvStyleIF;
    switch (style) {
        case tsOffice2013White: case tsOffice2013LightGray: case tsOffice2013Gray:
        case tsOffice2016White: case tsOffice2016Gray: case tsOffice2016Black:
        case tsOffice2019White: case tsOffice2019Gray: case tsOffice2019Black:
            return true;
        default:
            return false;
    }
}

void ApplyColorTonesToLooks(const TColorTones& t, TPagerToneLooks& looks) {
    TVistaPageBackground& page = *looks.Page;
    page.SetColor(t.Background.BrushColor);
    page.SetBorderColor(t.Foreground.BorderColor);
    page.SetColorTo(clNone);
    page.SetColorMirror(clNone);
    page.SetColorMirrorTo(clNone);
    looks.PagerColor = t.Background.BrushColor;

    looks.Caption->SetCaptionColor(t.Background.BrushColor);
    looks.Caption->SetCaptionTextColor(t.Background.TextColor);

    TCustomTabAppearance& tab = *looks.Tab;
    tab.ClearValues();
    SetGradient(*tab.BackGround(), t.Selected.BrushColor, clNone);
    tab.SetColor(tab.BackGround()->Color());
    tab.SetTextColor(t.Background.TextColor);
    tab.SetColorSelected(t.Background.BrushColor);
    tab.SetBorderColorSelected(t.Background.BrushColor);
    tab.SetTextColorSelected(t.Background.TextColor);
    tab.SetColorHot(t.Hover.BrushColor);
    tab.SetBorderColorHot(t.Hover.BorderColor);
    tab.SetTextColorHot(t.Hover.TextColor);
    SetTabDisabled(tab, t.Disabled);
    tab.SetBorderColorSelectedHot(tab.BorderColorSelected());

    TToolBarAppearance& bar = *looks.ToolBar;
    SetGradient(*bar.Color(), t.Background.BrushColor, clNone);
    SetGradient(*bar.ColorHot(), clNone, clNone);
    bar.SetBorderColor(t.Foreground.BorderColor);
    looks.ToolBarCaptionTextColor = t.Background.TextColor;

    TGlowButtonAppearance& g = *looks.Glow;
    ClearGlowButtonAppearance(&g);
    SetGlowNormal(g, t.Background.BrushColor, clNone, t.Background.BrushColor, clNone);
    g.SetBorderColor(clNone);
    SetGlowHot(g, t.Hover.BrushColor, clNone, t.Hover.BrushColor, clNone);
    g.SetBorderColorHot(t.Hover.BorderColor);
    g.SetTextColorHot(t.Hover.TextColor);
    g.SetTextColorDown(t.Selected.TextColor);
    SetGlowDown(g, t.Selected.BrushColor, clNone, t.Selected.BrushColor, clNone);
    g.SetBorderColorDown(t.Selected.BorderColor);
    CopyToPageGlow(looks);

    TGroupAppearance& group = *looks.Group;
    group.SetColor(t.Selected.BrushColor);
    group.SetColorTo(clNone);
    group.SetColorMirror(clNone);
    group.SetColorMirrorTo(clNone);
    group.SetTextColor(t.Selected.TextColor);
    TToolBarAppearance& groupBar = *group.ToolBarAppearance();
    SetGradient(*groupBar.Color(), t.Selected.BrushColor, clNone);
    SetGradient(*groupBar.ColorHot(), t.Hover.BrushColor, clNone);
    groupBar.SetBorderColor(t.Selected.BorderColor);
    groupBar.SetBorderColorHot(t.Hover.BorderColor);
    TCaptionAppearance& groupCaption = *group.CaptionAppearance();
    groupCaption.SetCaptionColor(t.Background.BrushColor);
    groupCaption.SetCaptionColorTo(clNone);
    groupCaption.SetCaptionColorHot(t.Hover.BrushColor);
    groupCaption.SetCaptionColorHotTo(clNone);
    groupCaption.SetCaptionBorderColor(t.Background.BorderColor);
    groupCaption.SetCaptionBorderColorHot(t.Hover.BorderColor);
    TVistaPageBackground& groupPage = *group.PageAppearance();
    groupPage.SetColor(t.Background.BrushColor);
    groupPage.SetColorMirror(t.Background.BrushColor);
    groupPage.SetColorTo(clNone);
    groupPage.SetColorMirrorTo(clNone);
    groupPage.SetBorderColor(t.Background.BorderColor);
    groupPage.SetShadowColor(clNone);
    groupPage.SetHighLightColor(t.Hover.BrushColor);
}

TColorTones OfficeWorkingTones(const TOfficeTones& tones) {
    const TAppColor& app = AppOf(tones);
    TColorTones w = tones.Buttons;
    w.Hover = {app.HoverColor(), app.HoverBorderColor(), app.HoverTextColor()};
    w.Selected = {app.SelectedColor(), app.SelectedBorderColor(), app.SelectedTextColor()};
    return w;
}

void ApplyOfficeTonesToLooks(const TOfficeTones& o, TGroupStyle groupStyle, TPagerToneLooks& looks) {
    const TAppColor& app = AppOf(o);
    const TColorTones w = OfficeWorkingTones(o);
    const bool is2019 = groupStyle == gsOffice2019;

    TVistaPageBackground& page = *looks.Page;
    if (!is2019) {
        page.SetColor(o.Tab.Background.BrushColor);
        page.SetBorderColor(w.Foreground.BorderColor);
        page.SetColorTo(clNone);
        page.SetColorMirror(clNone);
        page.SetColorMirrorTo(clNone);
        looks.PagerColor = w.Background.BrushColor;
    } else {
        const TColor c = o.Pager.Foreground.BrushColor;
        page.SetColor(c);
        page.SetColorTo(c);
        page.SetColorMirror(c);
        page.SetColorMirrorTo(c);
        page.SetBorderColor(o.Pager.Foreground.BorderColor);
        looks.PagerColor = w.Foreground.BrushColor;
    }

    looks.Caption->SetCaptionColor(o.Pager.Background.BrushColor);
    if (!is2019) {
        looks.Caption->SetCaptionTextColor(o.Pager.Background.TextColor);
    } else {
        looks.Caption->SetCaptionTextColor(app.TextColor());
        looks.Caption->SetCaptionBorderColor(app.AppButtonColor());
    }

    TCustomTabAppearance& tab = *looks.Tab;
    tab.ClearValues();
    if (!is2019) {
        SetGradient(*tab.BackGround(), o.Pager.Background.BrushColor, clNone);
        tab.SetColor(tab.BackGround()->Color());
        tab.SetTextColor(o.Tab.Background.TextColor);
        tab.SetColorSelected(o.Tab.Background.BrushColor);
        tab.SetBorderColorSelected(o.Tab.Selected.BorderColor);
        tab.SetColorHot(o.Tab.Hover.BrushColor);
        tab.SetColorHotTo(clNone);
        tab.SetBorderColorHot(o.Tab.Hover.BorderColor);
        tab.SetTextColorHot(groupStyle == gsOffice2013 ? app.AppButtonColor() : o.Tab.Hover.TextColor);
        tab.SetTextColorSelected(groupStyle == gsOffice2016 ? o.Tab.Selected.TextColor : tab.TextColorHot());
    } else {
        const TColor c = o.Pager.Foreground.BrushColor;
        SetGradient(*tab.BackGround(), c, c);
        tab.SetColor(c);
        tab.SetTextColor(o.Tab.Background.TextColor);
        tab.SetColorSelected(o.Tab.Selected.BrushColor);
        tab.SetBorderColorSelected(o.Tab.Selected.BorderColor);
        tab.SetColorHot(o.Tab.Hover.BrushColor);
        tab.SetColorHotTo(clNone);
        tab.SetBorderColorHot(o.Tab.Hover.BorderColor);
        tab.SetTextColorHot(o.Tab.Hover.TextColor);
        tab.SetTextColorSelected(o.Tab.Selected.TextColor);
    }
    SetTabDisabled(tab, o.Tab.Disabled);
    tab.SetBorderColorSelectedHot(tab.BorderColorSelected());

    TToolBarAppearance& bar = *looks.ToolBar;
    if (!is2019) {
        SetGradient(*bar.Color(), o.Tab.Background.BrushColor, clNone);
        SetGradient(*bar.ColorHot(), clNone, clNone);
        bar.SetBorderColor(w.Foreground.BorderColor);
        looks.ToolBarCaptionTextColor = TColor(0x808080);
    } else {
        const TColor c = o.Tab.Foreground.BrushColor;
        SetGradient(*bar.Color(), c, c);
        SetGradient(*bar.ColorHot(), c, c);
        bar.SetBorderColor(o.Tab.Foreground.BorderColor);
        looks.ToolBarCaptionTextColor = o.Tab.Foreground.TextColor;
    }

    TGlowButtonAppearance& g = *looks.Glow;
    ClearGlowButtonAppearance(&g);
    if (!is2019) {
        SetGlowNormal(g, o.Tab.Background.BrushColor, clNone, clNone, clNone);
        g.SetTextColor(o.Buttons.Background.TextColor);
        g.SetBorderColor(o.Tab.Background.BrushColor);
        SetGlowHot(g, w.Hover.BrushColor, clNone, clNone, clNone);
        g.SetBorderColorHot(w.Hover.BorderColor);
        g.SetTextColorHot(w.Hover.TextColor);
        g.SetTextColorDown(w.Selected.TextColor);
        SetGlowDown(g, w.Selected.BrushColor, clNone, clNone, clNone);
        g.SetBorderColorDown(w.Selected.BorderColor);
        SetGlowChecked(g, w.Selected.BrushColor, clNone, clNone, clNone);
        SetGlowDisabled(g, o.Tab.Disabled.BrushColor, clNone, clNone, clNone);
        g.SetBorderColorChecked(w.Selected.BorderColor);
    } else {
        const TColorTones& b = o.Buttons;
        const TColor normal = b.Background.BrushColor, hot = b.Hover.BrushColor, down = b.Selected.BrushColor,
                     checked = b.Foreground.BrushColor;
        SetGlowNormal(g, normal, normal, normal, normal);
        g.SetBorderColor(b.Background.BorderColor);
        g.SetTextColor(b.Background.TextColor);
        SetGlowHot(g, hot, hot, hot, hot);
        g.SetBorderColorHot(b.Hover.BorderColor);
        g.SetTextColorHot(b.Hover.TextColor);
        SetGlowDown(g, down, down, down, down);
        g.SetBorderColorDown(b.Selected.BorderColor);
        g.SetTextColorDown(b.Selected.TextColor);
        SetGlowChecked(g, checked, checked, checked, checked);
        g.SetBorderColorChecked(b.Foreground.BorderColor);
        g.SetTextColorChecked(b.Foreground.TextColor);
    }
    CopyToPageGlow(looks);
}

TColorTones OfficeRibbonColorTones(const TOfficeTones& o, TGroupStyle groupStyle, const TColorTones& current) {
    TColorTones ribbon = current;
    switch (groupStyle) {
        case gsOffice2013:
        case gsOffice2016: {
            const TColorTones w = OfficeWorkingTones(o);
            ribbon.Background.BrushColor = ribbon.Background.BorderColor = o.Tab.Background.BrushColor;
            ribbon.Background.TextColor = o.Buttons.Background.TextColor;
            ribbon.Hover = w.Hover;
            ribbon.Selected = w.Selected;
            break;
        }
        case gsOffice2019:
            ribbon.Background.BrushColor = ribbon.Background.BorderColor = o.Buttons.Background.BrushColor;
            ribbon.Background.TextColor = o.Buttons.Background.TextColor;
            ribbon.Hover = o.Buttons.Hover;
            ribbon.Selected.BrushColor = ribbon.Selected.BorderColor = o.Buttons.Selected.BrushColor;
            ribbon.Selected.TextColor = o.Buttons.Selected.TextColor;
            break;
        case gsClassic:
        case gsWindows8:
            break;
    }
    return ribbon;
}

TColorTones OfficeAppButtonColorTones(const TOfficeTones& o, const TColorTones& current) {
    const TAppColor& app = AppOf(o);
    TColorTones tones = current;
    tones.Background.BrushColor = app.AppButtonColor();
    tones.Background.TextColor = app.TextColor();
    tones.Hover.BrushColor = app.AppButtonHoverColor();
    tones.Hover.BorderColor = app.HoverBorderColor();
    tones.Selected.BrushColor = app.AppButtonColor();
    tones.Selected.TextColor = app.SelectedTextColor();
    tones.Selected.BorderColor = app.SelectedBorderColor();
    return tones;
}

}  // namespace AdvToolBar
