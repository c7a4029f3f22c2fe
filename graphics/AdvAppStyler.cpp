#include "graphics/AdvAppStyler.h"

#include <algorithm>

#include "classlib/Application.h"
#include "classlib/Form.h"
#include "classlib/Properties.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"

namespace AdvAppStyler {

using namespace ClassLib;
using namespace AdvStyleIF;

CLASSLIB_IMPLEMENT(TThemeNotifierWindow, TWinControl)
CLASSLIB_IMPLEMENT(TCustomStyler, TComponent)
CLASSLIB_IMPLEMENT(TAdvFormStyler, TCustomStyler)
CLASSLIB_IMPLEMENT(TAdvAppStyler, TCustomStyler)

namespace {

struct TStyleName {
    const wchar_t* Name;
    TOVTStyle Style;
};
// tsWhidbey is not offered.
const TStyleName StyleNames[] = {
    {L"Office 2003 Blue", tsOffice2003Blue},       {L"Office 2003 Silver", tsOffice2003Silver},
    {L"Office 2003 Olive", tsOffice2003Olive},     {L"Office 2003 Classic", tsOffice2003Classic},
    {L"Office 2007 Blue", tsOffice2007Luna},       {L"Office 2007 Silver", tsOffice2007Silver},
    {L"Office 2007 Black", tsOffice2007Obsidian},  {L"Windows XP", tsWindowsXP},
    {L"Windows Vista", tsWindowsVista},            {L"Windows 7", tsWindows7},
    {L"Windows 8", tsWindows8},                    {L"Windows 10", tsWindows10},
    {L"Terminal", tsTerminal},                     {L"Office 2010 Blue", tsOffice2010Blue},
    {L"Office 2010 Silver", tsOffice2010Silver},   {L"Office 2010 Black", tsOffice2010Black},
    {L"Office 2013 White", tsOffice2013White},     {L"Office 2013 Light gray", tsOffice2013LightGray},
    {L"Office 2013 Gray", tsOffice2013Gray},       {L"Office 2016 White", tsOffice2016White},
    {L"Office 2016 Gray", tsOffice2016Gray},       {L"Office 2016 Black", tsOffice2016Black},
    {L"Office 2019 White", tsOffice2019White},     {L"Office 2019 Gray", tsOffice2019Gray},
    {L"Office 2019 Black", tsOffice2019Black},     {L"Custom", tsCustom},
};

// A combo box item carries its preset in the object slot.
TObject* StyleAsObject(TOVTStyle style) { return reinterpret_cast<TObject*>(static_cast<intptr_t>(style)); }
TOVTStyle StyleOfObject(const TObject* object) { return TOVTStyle(reinterpret_cast<intptr_t>(object)); }

TColor FormColorOf(TOVTStyle style) {
    switch (style) {
        case tsOffice2013White: case tsOffice2016White: case tsOffice2019White: return clWhite;
        case tsOffice2013LightGray: return clSilver;
        case tsOffice2013Gray: case tsOffice2016Gray: return clGray;
        case tsOffice2019Gray: return 0x666666;
        case tsOffice2016Black: case tsOffice2019Black: return clBlack;
        default: return clBtnFace;
    }
}

std::wstring VersionText(unsigned number) {
    return std::to_wstring((number >> 24) & 0xFF) + L"." + std::to_wstring((number >> 16) & 0xFF) + L"." +
           std::to_wstring((number >> 8) & 0xFF) + L"." + std::to_wstring(number & 0xFF);
}

// The nearest windowed component up the owner chain, or null.
TWinControl* WindowedOwner(TComponent* component) {
    for (; component; component = component->Owner()) {
        if (auto* control = dynamic_cast<TWinControl*>(component)) return control;
    }
    return nullptr;
}

// Visits every component `container` owns and enters each frame among them: a form's
// frames are entered before they are visited themselves, a frame's after. The count is
// read anew each round: a styled control may add or drop components of its own.
void VisitOwned(TComponent* container, bool enterFirst, const std::function<void(TComponent*)>& visit,
                const std::function<void(TCustomFrame*)>& enter) {
    for (int i = 0; i < container->ComponentCount(); ++i) {
        TComponent* component = container->Components(i);
        auto* frame = dynamic_cast<TCustomFrame*>(component);
        if (frame && enterFirst) enter(frame);
        visit(component);
        if (frame && !enterFirst) enter(frame);
    }
}

}  // namespace

// ---- TThemeNotifierWindow --------------------------------------------------

const TPropertyList& TThemeNotifierWindow::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Add(L"Width", &TThemeNotifierWindow::Width, &TThemeNotifierWindow::SetWidth, 0)
        .Add(L"Height", &TThemeNotifierWindow::Height, &TThemeNotifierWindow::SetHeight, 0)
        .Event(L"OnThemeChange", &TThemeNotifierWindow::OnThemeChange);
    return list;
}

TThemeNotifierWindow::TThemeNotifierWindow(TComponent* owner) : TWinControl(owner) {}

void TThemeNotifierWindow::Dispatch(TMessage& message) {
    if (message.Msg == WM_THEMECHANGED) FireEvent(OnThemeChange, this);
    TWinControl::Dispatch(message);
}

// ---- TCustomStyler ---------------------------------------------------------

const TPropertyList& TCustomStyler::Published() {
    using S = TCustomStyler;
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Add(L"AutoThemeAdapt", &S::AutoThemeAdapt, &S::SetAutoThemeAdapt, false)
        .Add(L"Enabled", &S::Enabled, &S::SetEnabled, true)
        .Add(L"Metro", &S::Metro, &S::SetMetro, false)
        .Colour(L"MetroColor", &S::MetroColor, &S::SetMetroColor, clHighlight)
        .Colour(L"MetroTextColor", &S::MetroTextColor, &S::SetMetroTextColor, clBlack)
        .Enum(L"MetroStyle", &S::MetroStyle, &S::SetMetroStyle, msLight)
        .Enum(L"Style", &S::Style, &S::SetStyle, tsCustom)
        .ReadOnly(L"Version", &S::Version)
        .Event(L"OnChange", &S::OnChange);
    return list;
}

TCustomStyler::TCustomStyler(TComponent* owner, TWinControl* themeParent, TColor appColor)
    : TComponent(owner), FAppColor(appColor) {
    if (HasState(csDesigning)) return;
    FNotifier = new TThemeNotifierWindow(this);
    FNotifier->OnThemeChange = [this](TObject*) { AutoTheme(); };
    if (themeParent) {
        FNotifier->SetParent(themeParent);
        if (themeParent->HandleAllocated()) FNotifier->HandleNeeded();
    }
}

std::wstring TCustomStyler::Version() const { return VersionText(GetVersionNr()); }

void TCustomStyler::DoChange() { FireEvent(OnChange, this); }

void TCustomStyler::AutoTheme() {
    if (FAutoThemeAdapt) SetStyle(DetectSystemStyle(false));
}

void TCustomStyler::SetAutoThemeAdapt(bool value) {
    FAutoThemeAdapt = value;
    AutoTheme();
}

void TCustomStyler::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    if (value) ApplyStyle();
}

void TCustomStyler::SetMetro(bool value) {
    if (value == FMetro) return;
    FMetro = value;
    if (value) MetroChanged();
}

void TCustomStyler::SetMetroColor(TColor value) {
    if (value == FMetroColor) return;
    FMetroColor = value;
    MetroChanged();
}

void TCustomStyler::SetMetroTextColor(TColor value) {
    if (value == FMetroTextColor) return;
    FMetroTextColor = value;
    MetroChanged();
}

void TCustomStyler::SetMetroStyle(TMetroStyle value) {
    if (value == FMetroStyle) return;
    FMetroStyle = value;
    MetroChanged();
}

// ---- TAdvFormStyler --------------------------------------------------------

const TPropertyList& TAdvFormStyler::Published() {
    using S = TAdvFormStyler;
    static const TPropertyList list = TPropertyList::Extend(TCustomStyler::Published())
        .Colour(L"AppColor", &S::AppColor, &S::SetAppColor, 0)
        .Reference(L"AppStyle", &S::AppStyle, &S::SetAppStyle)
        .Reference(L"ComboBox", &S::ComboBox, &S::SetComboBox)
        .Event(L"OnApplyStyle", &S::OnApplyStyle)
        .Event(L"OnApplyColorTones", &S::OnApplyColorTones)
        .Event(L"OnAppliedStyle", &S::OnAppliedStyle)
        .Event(L"OnAppliedColorTones", &S::OnAppliedColorTones);
    return list;
}

TAdvFormStyler::TAdvFormStyler(TComponent* owner) : TCustomStyler(owner, WindowedOwner(owner), 0) {
    DefaultColorTones(FTones);
    FMetroColor = FTones.Selected.BrushColor;
    FComboLink = std::make_shared<TComboLink>(TComboLink{this});
}

TAdvFormStyler::~TAdvFormStyler() {
    Destroying();
    FComboLink.reset();
    if (FAppStyle && !HasState(csDesigning)) FAppStyle->UnRegisterFormStyler(this);
}

void TAdvFormStyler::Loaded() {
    TCustomStyler::Loaded();
    if (HasState(csDesigning)) return;
    TOVTStyle loaded = FStyle;
    if (FAppStyle) {
        loaded = FAppStyle->Style();
        FTones = FAppStyle->Tones();
        FMetro = FAppStyle->Metro();
        FMetroStyle = FAppStyle->MetroStyle();
        FMetroTextColor = FAppStyle->MetroTextColor();
        FMetroColor = FAppStyle->MetroColor();
    }
    // Through tsCustom, so the style is applied even when it is the one already stored.
    SetStyle(tsCustom);
    SetStyle(loaded);
    if (FMetro) SetColorTones(FTones);
    AutoTheme();
}

void TAdvFormStyler::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TAdvFormStyler*>(source)) {
        SetAutoThemeAdapt(other->AutoThemeAdapt());
        SetStyle(other->Style());
        return;
    }
    TCustomStyler::Assign(source);
}

void TAdvFormStyler::Notification(TComponent* component, TOperation operation) {
    TCustomStyler::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FAppStyle) FAppStyle = nullptr;
    if (component == FComboBox) SetComboBox(nullptr);
}

void TAdvFormStyler::StyleComponent(TComponent* component, TOVTStyle style) {
    bool allow = true;
    if (auto* extended = dynamic_cast<IOVTStyleEx*>(component)) {
        FireEvent(OnApplyStyle, this, component, allow);
        if (!allow) return;
        extended->SetComponentStyleAndAppColor(style, FAppColor);
    } else if (auto* plain = dynamic_cast<IOVTStyle*>(component)) {
        FireEvent(OnApplyStyle, this, component, allow);
        if (!allow) return;
        plain->SetComponentStyle(style);
    } else {
        return;
    }
    FireEvent(OnAppliedStyle, this, component);
}

void TAdvFormStyler::TonesToComponent(TComponent* component, const TColorTones& tones) {
    auto* toned = dynamic_cast<IOVTTones*>(component);
    if (!toned) return;
    bool allow = true;
    FireEvent(OnApplyColorTones, this, component, allow);
    if (!allow) return;
    toned->SetColorTones(tones);
    FireEvent(OnAppliedColorTones, this, component);
}

void TAdvFormStyler::ApplyStyleToForm(TCustomForm* form, TOVTStyle style) {
    form->SetColor(FormColorOf(style));
    StyleComponent(form, style);
    VisitOwned(form, true, [&](TComponent* component) { StyleComponent(component, style); },
               [&](TCustomFrame* frame) { ApplyStyleToFrame(frame, style); });
}

void TAdvFormStyler::ApplyStyleToFrame(TCustomFrame* frame, TOVTStyle style) {
    VisitOwned(frame, false, [&](TComponent* component) { StyleComponent(component, style); },
               [&](TCustomFrame* inner) { ApplyStyleToFrame(inner, style); });
}

void TAdvFormStyler::ApplyColorTonesToForm(TCustomForm* form, const TColorTones& tones) {
    TonesToComponent(form, tones);
    VisitOwned(form, true, [&](TComponent* component) { TonesToComponent(component, tones); },
               [&](TCustomFrame* frame) { ApplyColorTonesToFrame(frame, tones); });
}

void TAdvFormStyler::ApplyColorTonesToFrame(TCustomFrame* frame, const TColorTones& tones) {
    VisitOwned(frame, false, [&](TComponent* component) { TonesToComponent(component, tones); },
               [&](TCustomFrame* inner) { ApplyColorTonesToFrame(inner, tones); });
}

void TAdvFormStyler::ApplyStyle() {
    if (!FEnabled) return;
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()))
        ApplyStyleToForm(form, FStyle);
    else if (auto* frame = dynamic_cast<TCustomFrame*>(Owner()))
        ApplyStyleToFrame(frame, FStyle);
    DoChange();
}

void TAdvFormStyler::PushColorTones(const TColorTones& tones) {
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()))
        ApplyColorTonesToForm(form, tones);
    else if (auto* frame = dynamic_cast<TCustomFrame*>(Owner()))
        ApplyColorTonesToFrame(frame, tones);
}

void TAdvFormStyler::SetColorTones(const TColorTones& tones) {
    FMetro = true;
    FStyle = tsCustom;
    PushColorTones(tones);
}

void TAdvFormStyler::MetroChanged() {
    if (!FEnabled) return;
    CreateMetroTones(FMetroStyle == msLight, FMetroColor, FMetroTextColor, FTones);
    if (FStyle == tsCustom && FMetro) SetColorTones(FTones);
}

std::unique_ptr<TStringList> TAdvFormStyler::GetStyles() {
    auto list = std::make_unique<TStringList>();
    for (const TStyleName& entry : StyleNames) list->AddObject(entry.Name, StyleAsObject(entry.Style));
    return list;
}

void TAdvFormStyler::HandleStyleSelect(TObject* sender) {
    auto* combo = dynamic_cast<TComboBox*>(sender);
    if (!combo) return;
    const int index = combo->ItemIndex();
    if (index >= 0) SetStyle(StyleOfObject(combo->Items()->Objects(index)));
}

void TAdvFormStyler::SetStyle(TOVTStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    if (value != tsCustom && !Loading()) ApplyStyle();
}

void TAdvFormStyler::SetAppColor(TColor value) {
    if (value == FAppColor) return;
    FAppColor = value;
    if (FStyle != tsCustom && !Loading()) ApplyStyle();
}

void TAdvFormStyler::SetAppStyle(TAdvAppStyler* value) {
    if (value == FAppStyle) return;
    const bool running = !HasState(csDesigning);
    if (FAppStyle) {
        if (running) FAppStyle->UnRegisterFormStyler(this);
        FAppStyle->RemoveFreeNotification(this);
    }
    FAppStyle = value;
    if (!value) return;
    value->FreeNotification(this);
    if (running) value->RegisterFormStyler(this);
    if (!Loading()) SetStyle(value->Style());  // while loading: taken at its end
}

void TAdvFormStyler::SetComboBox(TComboBox* value) {
    if (value == FComboBox) return;
    if (FComboBox) FComboBox->RemoveFreeNotification(this);
    // Handlers given to an earlier combo box lose their way back to this styler.
    FComboLink = std::make_shared<TComboLink>(TComboLink{this});
    FComboBox = value;
    if (!value) return;
    value->FreeNotification(this);
    std::unique_ptr<TStringList> styles = GetStyles();
    value->Items()->Assign(styles.get());
    value->OnSelect = [link = std::weak_ptr<TComboLink>(FComboLink), value](TObject* sender) {
        const std::shared_ptr<TComboLink> alive = link.lock();
        if (alive && alive->Styler->FComboBox == value) alive->Styler->HandleStyleSelect(sender);
    };
    value->SetStyle(csDropDownList);
    value->SetItemIndex(styles->IndexOfObject(StyleAsObject(FStyle)));
}

// ---- TAdvAppStyler ---------------------------------------------------------

const TPropertyList& TAdvAppStyler::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomStyler::Published())
        .Colour(L"AppColor", &TAdvAppStyler::AppColor, &TAdvAppStyler::SetAppColor, clNone);
    return list;
}

TAdvAppStyler::TAdvAppStyler(TComponent* owner)
    : TCustomStyler(owner, Application ? Application->MainForm() : nullptr, clNone) {}

TAdvAppStyler::~TAdvAppStyler() {
    Destroying();
    // A copy: each form styler unregisters itself from the list as it lets go.
    const std::vector<TAdvFormStyler*> forms = FForms;
    for (TAdvFormStyler* form : forms) form->SetAppStyle(nullptr);
    FForms.clear();
}

void TAdvAppStyler::Loaded() {
    TCustomStyler::Loaded();
    AutoTheme();
}

void TAdvAppStyler::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TAdvAppStyler*>(source)) {
        SetStyle(other->Style());
        SetAutoThemeAdapt(other->AutoThemeAdapt());
        return;
    }
    TCustomStyler::Assign(source);
}

void TAdvAppStyler::ApplyStyle() {
    if (!FEnabled) return;
    for (TAdvFormStyler* form : std::vector<TAdvFormStyler*>(FForms)) {
        form->SetMetro(FMetro);
        form->SetMetroStyle(FMetroStyle);
        form->SetMetroColor(FMetroColor);
        form->SetMetroTextColor(FMetroTextColor);
        form->SetAppColor(FAppColor);
        form->SetStyle(FStyle);
        form->SetAppColor(FAppColor);
    }
    DoChange();
}

void TAdvAppStyler::Notification(TComponent* component, TOperation operation) {
    TCustomStyler::Notification(component, operation);
    if (operation == opRemove) UnRegisterFormStyler(dynamic_cast<TAdvFormStyler*>(component));
}

void TAdvAppStyler::RegisterFormStyler(TAdvFormStyler* formStyler) {
    if (formStyler && std::find(FForms.begin(), FForms.end(), formStyler) == FForms.end())
        FForms.push_back(formStyler);
}

void TAdvAppStyler::UnRegisterFormStyler(TAdvFormStyler* formStyler) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), formStyler), FForms.end());
}

void TAdvAppStyler::SetColorTones(const TColorTones& tones) {
    FTones = tones;
    FMetro = true;
    FStyle = tsCustom;
    FMetroColor = tones.Selected.BrushColor;
    FMetroTextColor = tones.Selected.BrushColor;
    if (tones.Background.BrushColor == clWhite) FMetroStyle = msLight;
    else if (tones.Background.BrushColor == clBlack) FMetroStyle = msDark;
    if (!Quiet()) {
        for (TAdvFormStyler* form : std::vector<TAdvFormStyler*>(FForms)) form->SetColorTones(tones);
    }
    DoChange();
}

void TAdvAppStyler::MetroChanged() {
    TColorTones tones;
    CreateMetroTones(FMetroStyle == msLight, FMetroColor, FMetroTextColor, tones);
    if (FStyle != tsCustom || !FMetro) return;
    if (!Quiet()) {
        for (TAdvFormStyler* form : std::vector<TAdvFormStyler*>(FForms)) form->SetColorTones(tones);
    }
    DoChange();
}

void TAdvAppStyler::SetStyle(TOVTStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    if (!Quiet()) ApplyStyle();
}

void TAdvAppStyler::SetAppColor(TColor value) {
    FAppColor = value;
    if (!Quiet()) {
        for (TAdvFormStyler* form : std::vector<TAdvFormStyler*>(FForms)) {
            form->SetStyle(FStyle);
            form->SetAppColor(FAppColor);
        }
    }
    DoChange();
}

}  // namespace AdvAppStyler
