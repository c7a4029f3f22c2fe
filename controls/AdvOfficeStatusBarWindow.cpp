// The status bar control: construction, panel layout and painting, the 100 ms tick,
// mouse, hints, the size grip and styling.
#include "controls/AdvOfficeStatusBar.h"

#include <algorithm>
#include <cmath>

#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/DateTime.h"
#include "classlib/Form.h"
#include "classlib/HintAction.h"
#include "classlib/ImageList.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"
#include "classlib/ShellUrls.h"
#include "classlib/StringList.h"
#include "controls/AdvOfficeStatusBarStylers.h"
#include "graphics/AdvHintInfo.h"

namespace AdvOfficeStatusBar {

using namespace ClassLib;
using AdvStyleIF::TOVTStyle;

namespace {
constexpr int GripWidth = 15;
}  // namespace

const TPropertyList& TAdvOfficeStatusBar::Published() {
    using B = TAdvOfficeStatusBar;
    static const TPropertyList list = TPropertyList::Extend(TCustomControl::Published())
        .Enum(L"Align", &TControl::Align, &TControl::SetAlign, alBottom)
        .Add(L"Height", &TControl::Height, &TControl::SetHeight, 19)
        .Colour(L"Color", &TControl::Color, &TControl::SetColor, clBtnFace)
        .Add(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor, false)
        .Add(L"ParentFont", &TControl::ParentFont, &TControl::SetParentFont, false)
        .Add(L"DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered, true)
        .Add(L"AnchorHint", &B::AnchorHint, &B::SetAnchorHint, false)
        .Enum(L"AntiAlias", L"TAntiAlias", &B::AntiAlias, &B::SetAntiAlias, {L"aaNone", L"aaClearType", L"aaAntiAlias"}, aaClearType)
        .Add(L"AutoHint", &B::AutoHint, &B::SetAutoHint, false)
        .Enum(L"BiDiMode", &B::BiDiMode, &B::SetBiDiMode, AdvHTML::bdLeftToRight)
        .Reference(L"Images", &B::Images, &B::SetImages)
        .Reference(L"DisabledImages", &B::DisabledImages, &B::SetDisabledImages)
        .Collection(L"Panels", &B::Panels)
        .Add(L"ShowSplitter", &B::ShowSplitter, &B::SetShowSplitter, true)
        .Add(L"SimplePanel", &B::SimplePanel, &B::SetSimplePanel, false)
        .Add(L"SimpleText", &B::SimpleText, &B::SetSimpleText, String())
        .Add(L"SizeGrip", &B::SizeGrip, &B::SetSizeGrip, true)
        .Colour(L"URLColor", &B::URLColor, &B::SetURLColor, clBlue)
        .Enum(L"URLStyle", &B::URLStyle, &B::SetURLStyle, usUnderline)
        .Add(L"StretchPanel", &B::StretchPanel, &B::SetStretchPanel, -1)
        .Reference(L"Styler", &B::Styler, &B::SetStyler)
        .Add(L"UseSystemFont", &B::UseSystemFont, &B::SetUseSystemFont, false)
        .Enum(L"UIStyle", L"TOVTStyle", &B::UIStyle, &B::SetUIStyle,
              
              {L"tsOffice2003Blue", L"tsOffice2003Silver", L"tsOffice2003Olive", L"tsOffice2003Classic", L"tsOffice2007Luna", L"tsOffice2007Obsidian", L"tsWindowsXP", L"tsWhidbey", L"tsCustom", L"tsOffice2007Silver", L"tsWindowsVista",
               L"tsWindows7", L"tsTerminal", L"tsOffice2010Blue", L"tsOffice2010Silver", L"tsOffice2010Black", L"tsWindows8",
               L"tsOffice2013White", L"tsOffice2013LightGray", L"tsOffice2013Gray", L"tsWindows10", L"tsOffice2016White", L"tsOffice2016Gray", L"tsOffice2016Black", L"tsOffice2019White", L"tsOffice2019Gray", L"tsOffice2019Black"}, AdvStyleIF::tsCustom)
        .Add(L"Version", &B::Version, &B::SetVersion)
        .Stored(L"Version", false)
        .Event(L"OnPanelClick", &B::OnPanelClick)
        .Event(L"OnPanelDblClick", &B::OnPanelDblClick)
        .Event(L"OnPanelRightClick", &B::OnPanelRightClick)
        .Event(L"OnAnchorClick", &B::OnAnchorClick)
        .Event(L"OnAnchorEnter", &B::OnAnchorEnter)
        .Event(L"OnAnchorExit", &B::OnAnchorExit)
        .Event(L"OnDrawPanel", &B::OnDrawPanel)
        .Event(L"OnHint", &B::OnHint);
    return list;
}

TAdvOfficeStatusBar::TAdvOfficeStatusBar(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(csCaptureMouse | csClickEvents | csDoubleClicks | csAcceptsControls);
    FInternalOfficeStatusBarStyler = new TCustomAdvOfficeStatusBarStyler(this);
    FInternalOfficeStatusBarStyler->SetName(L"InternalStyler");
    FCurrentOfficeStatusBarStyler = FInternalOfficeStatusBarStyler;
    FInternalOfficeStatusBarStyler->AddControl(this);
    SetColor(clBtnFace);
    SetParentColor(false);
    SetBounds(Left(), Top(), 200, 19);
    SetAlign(alBottom);
    FPanels = std::make_unique<TAdvOfficeStatusPanels>(this);
    FPanels->OnChange = [this](TObject*) { PanelsChanged(); };
    SetParentFont(false);
    FDummyHintControl = new TDummyHintControl(this);
    FDummyHintControl->SetVisible(false);
    SetDoubleBuffered(true);
}

TAdvOfficeStatusBar::~TAdvOfficeStatusBar() {
    Destroying();
    FPanels.reset();
    try {
        SetStyler(nullptr);
    } catch (...) {
        // Detaching from a styler that is going too must not stop the bar's own end.
    }
    FInternalOfficeStatusBarStyler->RemoveControl(this);
}

void TAdvOfficeStatusBar::Loaded() {
    TCustomControl::Loaded();
    FOldCursor = Cursor();
    if (TCustomForm* form = dynamic_cast<TCustomForm*>(Parent())) {
        if (form->Scaled()) {
            const int ppi = form->MonitorPixelsPerInch();
            if (ppi != 96)
                for (int i = 0; i < FPanels->Count(); ++i) FPanels->Items(i)->SetWidth(AdvHTML::RoundHalfEven(FPanels->Items(i)->Width() * ppi / 96.0));
        } else {
            FUseSystemFont = false;
            SetFont(form->Font());
        }
    }
    if (Height() % 2 == 0) SetHeight(Height() + 1);   // the bar is always odd in height
    UpdateStatus();
    SyncToSystemFont();
    AutoSizePanels();
    if (UsesCustomStyle()) {
        AdvStyleIF::TColorTones tones{};
        AdvStyleIF::GetCustomStyleTones(tones);
        SetColorTones(tones);
    }
}

void TAdvOfficeStatusBar::CreateWnd() {
    TCustomControl::CreateWnd();
    TCustomForm* form = dynamic_cast<TCustomForm*>(Parent());
    FFormScaled = form ? form->Scaled() : true;
    ::SetTimer(Handle(), TimerID, 100, nullptr);
}

void TAdvOfficeStatusBar::PanelsChanged() {
    if (FPanels && FPanels->UpdateCount() == 0) Invalidate();
}

void TAdvOfficeStatusBar::SetStyler(TCustomAdvOfficeStatusBarStyler* value) {
    if (value == FOfficeStatusBarStyler && value) return;
    if (FOfficeStatusBarStyler && FOfficeStatusBarStyler != FInternalOfficeStatusBarStyler) {
        FOfficeStatusBarStyler->RemoveControl(this);
        RemoveFreeNotification(FOfficeStatusBarStyler);
    }
    FOfficeStatusBarStyler = value;
    if (value) {
        FCurrentOfficeStatusBarStyler = value;
        value->AddControl(this);
        FreeNotification(value);
    } else FCurrentOfficeStatusBarStyler = FInternalOfficeStatusBarStyler;
    Invalidate();
}

void TAdvOfficeStatusBar::RemoveStyler() {
    FCurrentOfficeStatusBarStyler = FInternalOfficeStatusBarStyler;
    FInternalOfficeStatusBarStyler->AddControl(this);
    Invalidate();
}

void TAdvOfficeStatusBar::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (static_cast<void*>(component) == static_cast<void*>(FContainer)) FContainer = nullptr;
    if (HasState(csDestroying)) return;
    if (component == FImages) FImages = nullptr;
    if (component == FDisabledImages) FDisabledImages = nullptr;
    if (FPanels)
        for (int i = 0; i < FPanels->Count(); ++i)
            if (FPanels->Items(i)->AnimationImages() == component) FPanels->Items(i)->SetAnimationImages(nullptr);
    if (component == FOfficeStatusBarStyler) {
        FOfficeStatusBarStyler = nullptr;
        FCurrentOfficeStatusBarStyler = FInternalOfficeStatusBarStyler;
        SetComponentStyle(FOVTStyle);
        Invalidate();
    }
}

void TAdvOfficeStatusBar::SetImages(TCustomImageList* value) {
    FImages = value;
    if (value) FreeNotification(value);
    AutoSizePanels();
    Invalidate();
}

void TAdvOfficeStatusBar::SetDisabledImages(TCustomImageList* value) {
    FDisabledImages = value;
    if (value) FreeNotification(value);
    Invalidate();
}

void TAdvOfficeStatusBar::SetShowSplitter(bool value) {
    if (FShowSplitter == value) return;
    FShowSplitter = value;
    Invalidate();
}

void TAdvOfficeStatusBar::SetSimplePanel(bool value) {
    if (FSimplePanel == value) return;
    FSimplePanel = value;
    Invalidate();
}

void TAdvOfficeStatusBar::SetSimpleText(const String& value) {
    if (FSimpleText == value) return;
    FSimpleText = value;
    Invalidate();
}

void TAdvOfficeStatusBar::SetSizeGrip(bool value) {
    if (FSizeGrip == value) return;
    FSizeGrip = value;
    if (HandleAllocated()) RecreateWnd();
}

void TAdvOfficeStatusBar::SetStretchPanel(int value) {
    if (value < -1 || value >= FPanels->Count()) return;
    FStretchPanel = value;
    Invalidate();
}

void TAdvOfficeStatusBar::SetUseSystemFont(bool value) {
    if (FUseSystemFont == value) return;
    FUseSystemFont = value;
    if (value) {
        SetParentFont(false);
        SyncToSystemFont();
    }
}

void TAdvOfficeStatusBar::SyncToSystemFont() {
    if (HasState(csLoading) || !FUseSystemFont || !Screen) return;
    SetFont(Screen->HintFont());
}

void TAdvOfficeStatusBar::SetUIStyle(TOVTStyle value) {
    FOVTStyle = value;
    SetComponentStyle(value);
}

void TAdvOfficeStatusBar::SetBiDiMode(AdvHTML::TBiDiMode value) {
    FBiDiMode = value;
    if (FPanels && !FSimplePanel)
        for (int i = 0; i < FPanels->Count(); ++i) FPanels->Items(i)->ParentBiDiModeChanged();
    Invalidate();
}

// ---- layout

int TAdvOfficeStatusBar::GetFixedPanelsWidth() const {
    int width = 0;
    for (int i = 0; i < FPanels->Count(); ++i)
        if (i != FStretchPanel) width += FPanels->Items(i)->Width();
    return width;
}

TRect TAdvOfficeStatusBar::GetPanelRect(int index) const {
    int left = 0;
    for (int i = 0; i < FPanels->Count(); ++i) {
        int right;
        if (i == FStretchPanel) {
            right = Width() + left - GetFixedPanelsWidth();
            if (right <= left) right = left;
        } else if (i == FPanels->Count() - 1) right = left >= Width() - 1 ? left : Width() - 1;
        else right = left + FPanels->Items(i)->Width();
        if (i == index) return TRect(left, 1, right, Height() - 1);
        left = right;
    }
    return TRect(-1, -1, -1, -1);
}

int TAdvOfficeStatusBar::GetPanel(int x) const {
    for (int i = 0; i < FPanels->Count(); ++i) {
        const TRect r = GetPanelRect(i);
        if (r.Left <= x && x <= r.Right) return i;
    }
    return -1;
}

int TAdvOfficeStatusBar::GetPanelEdgeAt(int x) const {
    for (int i = 0; i < FPanels->Count(); ++i) {
        const int r = GetPanelRect(i).Right;
        if (r - 2 < x && x < r + 2) return i;
    }
    return -1;
}

void TAdvOfficeStatusBar::InvalidatePanel(int index) {
    if (!HandleAllocated()) return;
    if (index < 0 || index >= FPanels->Count()) {
        Invalidate();
        return;
    }
    const RECT r = ToRECT(GetPanelRect(index));
    ::InvalidateRect(Handle(), &r, TRUE);
}

bool TAdvOfficeStatusBar::SizeGripAllowed() const {
    auto* form = dynamic_cast<TCustomForm*>(Parent());
    if (!form) return false;
    for (int i = 0; i < form->ControlCount(); ++i)
        if (form->Controls(i)->ClassName() == L"TAdvToolBarPager") return true;
    return form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin;
}

bool TAdvOfficeStatusBar::GripVisible() const {
    if (!FSizeGrip || !SizeGripAllowed()) return false;
    auto* form = dynamic_cast<TCustomForm*>(Parent());
    if (!form->HandleAllocated()) return true;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(form->Handle(), &placement);
    return placement.showCmd != SW_SHOWMAXIMIZED && !::IsZoomed(form->Handle());
}

AdvHTML::THTMLParams TAdvOfficeStatusBar::HTMLParams(const String& text, const TRect& r) const {
    AdvHTML::THTMLParams p;
    p.Canvas = Canvas();
    p.S = text;
    p.R = r;
    p.Images = FImages;
    p.ShadowOffset = 1;
    p.FormScaled = FFormScaled;
    p.URLColor = FURLColor;
    p.ShadowColor = clGray;
    p.Container = FContainer;
    p.HiBkColor = clHighlight;
    p.HiTextColor = clHighlightText;
    p.BlinkOn = FTimerCount > 5;
    p.DPIScale = -1;
    return p;
}

void TAdvOfficeStatusBar::AutoSizePanels() {
    if (!FPanels || HasState(csLoading)) return;
    bool any = false;
    for (int i = 0; i < FPanels->Count(); ++i) any = any || FPanels->Items(i)->AutoSize();
    if (!any) return;
    Canvas()->SetFont(Font());
    for (int i = 0; i < FPanels->Count(); ++i) {
        TAdvOfficeStatusPanel* panel = FPanels->Items(i);
        if (!panel->AutoSize()) continue;
        if (panel->Style() == psHTML) {
            AdvHTML::THTMLParams p = HTMLParams(panel->Text(), TRect(0, 0, 1000, 100));
            p.CheckOnly = true;
            AdvHTML::THTMLResults out;
            AdvOfficeStatusBar::DrawHTML(p, out);
            panel->SetWidth(std::max(panel->MinWidth(), out.XSize + 10));
            continue;
        }
        String t;
        int extra = 0;
        switch (panel->Style()) {
        case psText: case psTime: case psDate: t = panel->Text(); break;
        case psNumLock: t = L"NUM"; break;
        case psCapsLock: t = L"CAP"; break;
        case psScrollLock: t = L"SCRL"; break;
        case psImage:
            t = panel->Text();
            if (FImages && panel->ImageIndex() >= 0) extra = FImages->Width();
            break;
        default: continue;
        }
        if (t.empty()) continue;
        TRect bounds;
        DrawStatusText(Canvas(), int(panel->Alignment()), DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, bounds, true,
                       FAntiAlias, false, Enabled(), Font(), t, TRect(0, 0, 1000, 100));
        int width = std::max(panel->MinWidth(), bounds.Width() + extra + 12);
        if (FSizeGrip && i == FPanels->Count() - 1) width += 16;
        panel->SetWidth(width);
    }
}

// ---- painting

void TAdvOfficeStatusBar::Paint() {
    DrawPanels();
    if (FOfficeStatusBarStyler && FOfficeStatusBarStyler->BorderColor() != clNone) {
        Canvas()->Pen()->SetColor(FOfficeStatusBarStyler->BorderColor());
        Canvas()->MoveTo(0, 0);
        Canvas()->LineTo(Width(), 0);
    }
}

void TAdvOfficeStatusBar::DrawPanels() {
    if (FSimplePanel) {
        DrawSimplePanel();
        return;
    }
    int x = 0;
    for (int i = 0; i < FPanels->Count(); ++i) {
        TAdvOfficeStatusPanel* panel = FPanels->Items(i);
        int right;
        if (i == FStretchPanel) {
            right = Width() + x - GetFixedPanelsWidth();
            if (right <= x) right = x;
        } else if (i == FPanels->Count() - 1 && FStretchPanel == -1) right = x >= Width() ? x : Width();
        else right = x + panel->Width();
        TRect r(x, 0, right, Height() - 1);
        x = right;
        if (r.Left == 0) r.Left = 1;
        if (r.Right == Width() - 1) r.Right = Width() - 2;
        DrawPanel(panel, r);
    }
    if (GripVisible()) DrawSizeGrip(TRect(Width() - 18, 0, Width() - 3, Height() - 1));
    if (!FMetro && FCurrentOfficeStatusBarStyler) {
        const TColor border = FCurrentOfficeStatusBarStyler->BorderColor();
        TCanvas* c = Canvas();
        c->Pen()->SetColor(border);
        c->MoveTo(0, 0);
        c->LineTo(0, Height() - 1);
        c->LineTo(Width() - 1, Height() - 1);
        c->LineTo(Width() - 1, 0);
        c->Pen()->SetColor(BlendColor(border, clWhite, 80));
        c->MoveTo(0, 0);
        c->LineTo(Width(), 0);
    }
}

namespace {
struct TStateColours {
    TColor Border, Color, ColorTo, Mirror, MirrorTo, Text;
};
}  // namespace

void TAdvOfficeStatusBar::DrawPanelBackground(TAdvOfficeStatusPanel* panel, const TRect& rect) {
    TVistaBackground* a = panel->AppearanceStyle() == psDark ? FCurrentOfficeStatusBarStyler->PanelAppearanceDark()
                                                              : FCurrentOfficeStatusBarStyler->PanelAppearanceLight();
    const int index = panel->Index();
    TStateColours s{a->BorderColor(), a->Color(), a->ColorTo(), a->ColorMirror(), a->ColorMirrorTo(), a->TextColor()};
    if (panel->Button() && index == FDownPanelIndex)
        s = {a->BorderColorDown(), a->ColorDown(), a->ColorDownTo(), a->ColorMirrorDown(), a->ColorMirrorDownTo(), a->TextColorDown()};
    else if (panel->Button() && index == FHotPanelIndex)
        s = {a->BorderColorHot(), a->ColorHot(), a->ColorHotTo(), a->ColorMirrorHot(), a->ColorMirrorHotTo(), a->TextColorHot()};
    TRect b = rect;
    if (index != 0 && FShowSplitter) b.Left += 2;
    DrawGradientBox(Canvas(), b, s.Color, s.ColorTo, s.Mirror, s.MirrorTo, s.Border);
    if (index != 0 && FShowSplitter && !FMetro) {
        const int middle = rect.Top + rect.Height() / 2;
        const TColor light = BlendColor(a->ColorTo(), clWhite, 70);
        const TColor e = s.Border != clNone ? BlendColor(a->ColorTo(), clWhite, 50) : a->SeperatorColor();
        FillGradientSteps(Canvas(), light, a->ColorTo(), false, TRect(rect.Left, rect.Top, rect.Left + 1, middle + 1), 40);
        FillGradientSteps(Canvas(), a->ColorTo(), light, false, TRect(rect.Left, middle, rect.Left + 1, rect.Bottom), 40);
        FillGradientSteps(Canvas(), e, a->SeperatorColor(), false, TRect(rect.Left + 1, rect.Top, rect.Left + 2, middle + 1), 40);
        FillGradientSteps(Canvas(), a->SeperatorColor(), e, false, TRect(rect.Left + 1, middle, rect.Left + 2, rect.Bottom), 40);
    }
    if (FMetro && index > 0) {
        Canvas()->Pen()->SetColor(FCurrentOfficeStatusBarStyler->BorderColor());
        Canvas()->MoveTo(rect.Left, rect.Top);
        Canvas()->LineTo(rect.Left, rect.Bottom + 1);
    }
}

void TAdvOfficeStatusBar::DrawPanel(TAdvOfficeStatusPanel* panel, const TRect& rect) {
    if (rect.Width() <= 0 || rect.Height() <= 0 || !FCurrentOfficeStatusBarStyler || HasState(csDestroying)) return;
    TCanvas* c = Canvas();
    TRect r = rect;
    if (FOfficeStatusBarStyler && FOfficeStatusBarStyler->BorderColor() != clNone && !FMetro) {
        r.Top += 1;
        r.Bottom -= 1;
    }
    if (FMetro) r.Inflate(1, 0);
    TAlignment alignment = panel->Alignment();
    if (::GetSystemMetrics(SM_MIDEASTENABLED) && FBiDiMode == AdvHTML::bdRightToLeft) alignment = taRightJustify;
    DrawPanelBackground(panel, r);
    r.Left += 2;
    r.Right -= 2;
    const bool last = panel->Index() == FPanels->Count() - 1;
    if (last && GripVisible()) {
        r.Right -= GripWidth;
        if (r.Width() <= 0) return;
    }
    TVistaBackground* a = panel->AppearanceStyle() == psDark ? FCurrentOfficeStatusBarStyler->PanelAppearanceDark()
                                                              : FCurrentOfficeStatusBarStyler->PanelAppearanceLight();
    const int index = panel->Index();
    TColor textColour = a->TextColor();
    if (panel->Button() && index == FDownPanelIndex) textColour = a->TextColorDown();
    else if (panel->Button() && index == FHotPanelIndex) textColour = a->TextColorHot();
    c->SetFont(Font());
    c->Font()->SetStyle(a->TextStyle());
    c->Font()->SetColor(panel->Enabled() ? textColour : TColor(clGray));
    // The HTML engine draws hidden blink text in the brush colour: the middle of the face.
    TColor faceFrom = a->Color(), faceTo = a->ColorTo();
    if (panel->Button() && index == FDownPanelIndex) faceFrom = a->ColorDown(), faceTo = a->ColorDownTo();
    else if (panel->Button() && index == FHotPanelIndex) faceFrom = a->ColorHot(), faceTo = a->ColorHotTo();
    c->Brush()->SetColor(faceFrom == clNone ? Color() : BlendColor(faceFrom, faceTo == clNone ? faceFrom : faceTo, 50));
    c->Brush()->SetStyle(bsClear);

    const UINT base = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    const auto align = [](TAlignment a) -> UINT { return a == taRightJustify ? DT_RIGHT : a == taCenter ? DT_CENTER : 0; };
    const UINT valign = panel->VAlignment() == vpaCenter ? DT_VCENTER : panel->VAlignment() == vpaBottom ? DT_BOTTOM : 0;
    TRect bounds;
    switch (panel->Style()) {
    case psHTML: {
        TRect t(r.Left + panel->HTMLOffsetX(), r.Top, r.Right, r.Bottom);
        AdvHTML::THTMLResults out;
        AdvHTML::THTMLParams p = HTMLParams(panel->Text(), t);
        if (alignment == taRightJustify || alignment == taCenter) {
            p.CheckOnly = true;
            AdvOfficeStatusBar::DrawHTML(p, out);
            if (out.XSize < t.Width()) {
                if (alignment == taRightJustify) t.Left = t.Right - out.XSize - panel->HTMLOffsetX();
                else t.Left += (t.Width() - out.XSize) / 2;
            }
        }
        p = HTMLParams(panel->Text(), t);
        p.CheckOnly = true;
        AdvOfficeStatusBar::DrawHTML(p, out);
        if (panel->VAlignment() == vpaCenter && out.YSize < t.Height()) t.Top += (t.Height() - out.YSize) / 2;
        else if (panel->VAlignment() == vpaBottom && out.YSize < t.Height()) t.Top = t.Bottom - out.YSize;
        p = HTMLParams(panel->Text(), t);
        p.Hover = FURLStyle == usNone;
        AdvOfficeStatusBar::DrawHTML(p, out);
        break;
    }
    case psOwnerDraw:
        if (OnDrawPanel) {
            OnDrawPanel(this, panel, rect);
            break;
        }
        [[fallthrough]];
    case psText: case psTime: case psDate: case psNumLock: case psCapsLock: case psScrollLock:
        r.Left += 2;
        r.Right -= 2;
        DrawStatusText(c, int(panel->Alignment()), base | align(alignment) | valign, bounds, true, FAntiAlias, true, Enabled(),
                       c->Font(), panel->Text(), r);
        break;
    case psEllipsText: case psFileEllipsText: {
        const bool path = panel->Style() == psFileEllipsText;
        UINT flags = (path ? (DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS) : base) | valign;
        if (alignment == taLeftJustify) r.Left += 2;
        else flags |= align(alignment);
        DrawStatusText(c, int(panel->Alignment()), flags, bounds, !path, FAntiAlias, true, Enabled(), c->Font(), panel->Text(), r);
        break;
    }
    case psImage:
        if (FImages) {
            const int tw = panel->Text().empty() ? 0 : c->TextWidth(panel->Text()) + 4;
            int left = r.Left + 2;
            if (alignment == taRightJustify) left = r.Right - FImages->Width() - tw - 2;
            else if (alignment == taCenter) left = r.Left + (r.Width() - FImages->Width() - tw) / 2;
            const int top = r.Top + (r.Height() - FImages->Height()) / 2;
            if (panel->Enabled()) FImages->Draw(c, left, top, panel->ImageIndex(), true);
            else if (FDisabledImages) FDisabledImages->Draw(c, left, top, panel->ImageIndex(), true);
            else FImages->Draw(c, left, top, panel->ImageIndex(), false);
            r.Left = left + FImages->Width();
            DrawStatusText(c, int(alignment), base | valign | align(panel->Alignment()), bounds, true, FAntiAlias, true,
                           Enabled(), c->Font(), panel->Text(), r);
        }
        break;
    case psImageList:
        if (FImages && panel->ImageCount() >= 1)
            for (int i = 0; i < panel->ImageCount(); ++i) {
                r.Left += 2;
                const int top = r.Top + (r.Height() - FImages->Height()) / 2;
                const int image = panel->ImageIndexes(i);
                if (image >= 0 && image < FImages->Count()) {
                    if (panel->Enabled()) FImages->Draw(c, r.Left, top, image, true);
                    else if (FDisabledImages && image < FDisabledImages->Count()) FDisabledImages->Draw(c, r.Left, top, image, true);
                    else FImages->Draw(c, r.Left, top, image, false);
                }
                r.Left += FImages->Width();
            }
        break;
    case psAnimation:
        if (TCustomImageList* frames = panel->AnimationImages()) {
            r.Left += 2;
            const int frame = panel->Animated() ? panel->AnimIndex() : 0;
            if (frame >= 0 && frame < frames->Count())
                frames->Draw(c, r.Left, r.Top + (r.Height() - frames->Height()) / 2, frame, true);
            r.Left += frames->Width();
        }
        r.Left += 2;
        DrawStatusText(c, int(panel->Alignment()), DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_VCENTER | align(panel->Alignment()),
                       bounds, true, FAntiAlias, true, Enabled(), c->Font(), panel->Text(), r);
        break;
    case psProgress: {
        TProgressStyle* p = panel->Progress();
        TFont gaugeFont;
        gaugeFont.Assign(c->Font());
        gaugeFont.SetColor(textColour);
        TGaugeSettings s{p->Level0Color(), p->Level0ColorTo(), p->Level1Color(), p->Level1ColorTo(), p->Level2Color(),
                         p->Level2ColorTo(), p->Level3Color(), p->Level3ColorTo(), p->Level1Perc(), p->Level2Perc(),
                         p->BorderColor(), p->ShowBorder(), p->Stacked(), p->ShowPercentage(), &gaugeFont,
                         p->CompletionSmooth(), p->ShowGradient(), 11, p->Position(), p->BackGround(), goHorizontal,
                         p->Indication() == piPercentage, p->Suffix(), p->Prefix(), panel->Text()};
        DrawProgressGauge(c, r, p->Percentage(), s);
        break;
    }
    }
}

void TAdvOfficeStatusBar::DrawSimplePanel() {
    TVistaBackground* a = FCurrentOfficeStatusBarStyler->PanelAppearanceLight();
    DrawGradientBox(Canvas(), TRect(0, 0, Width(), Height()), a->Color(), a->ColorTo(), a->ColorMirror(), a->ColorMirrorTo(), clNone);
    Canvas()->SetFont(Font());
    Canvas()->Font()->SetColor(a->TextColor());
    Canvas()->Brush()->SetStyle(bsClear);
    TRect area(2, 2, Width() - 1, Height() - 1);
    const int limit = GripVisible() ? Width() - 18 : Width() - 3;
    AdvHTML::THTMLParams p = HTMLParams(FSimpleText, area);
    p.Hover = FURLStyle == usNone;
    p.WordWrap = false;
    p.BiDiMode = FBiDiMode;
    AdvHTML::THTMLResults out;
    if (FBiDiMode == AdvHTML::bdRightToLeft) {
        p.CheckOnly = true;
        AdvOfficeStatusBar::DrawHTML(p, out);
        area.Left = limit - out.XSize;
        p.R = area;
        p.CheckOnly = false;
    }
    AdvOfficeStatusBar::DrawHTML(p, out);
}

void TAdvOfficeStatusBar::DrawSizeGrip(const TRect& rect) {
    TCanvas* c = Canvas();
    const int l = rect.Left, b = rect.Bottom;
    const auto dot = [c](int x1, int y1, int x2, int y2, TColor colour) {
        c->Pen()->SetColor(colour);
        c->Brush()->SetColor(colour);
        c->Rectangle(x1, std::min(y1, y2), x2, std::max(y1, y2));
    };
    static const int light[6][4] = {{5, 2, 7, 4}, {9, 2, 11, 4}, {13, 2, 15, 4}, {13, 6, 15, 8}, {13, 10, 15, 12}, {9, 6, 11, 8}};
    if (!FMetro) {
        const TColor colour = BlendColor(FCurrentOfficeStatusBarStyler->PanelAppearanceDark()->Color(), clWhite, 50);
        for (const auto& d : light) dot(l + d[0], b - d[1], l + d[2], b - d[3], colour);
    }
    for (const auto& d : light) dot(l + d[0] - 1, b - d[1] - 1, l + d[2] - 1, b - d[3] - 1, FCurrentOfficeStatusBarStyler->BorderColor());
}

// ---- the tick

void TAdvOfficeStatusBar::UpdateStatus() {
    if (HasState(csDestroying) || !FPanels) return;
    TSeams& seams = Seams();
    for (int i = 0; i < FPanels->Count(); ++i) {
        TAdvOfficeStatusPanel* panel = FPanels->Items(i);
        const auto toggled = [&](int key) { return seams.KeyState && (seams.KeyState(key) & 1) != 0; };
        switch (panel->Style()) {
        case psHTML:
            if ((FTimerCount == 5 || FTimerCount == 10) && UpperCase(panel->Text()).find(L"<BLINK") != String::npos) {
                const String saved = panel->Text();
                panel->SetText(L"");
                panel->SetText(saved);
            }
            break;
        case psTime: panel->SetText(FormatDateTime(panel->TimeFormat(), seams.Now ? seams.Now() : 0)); break;
        case psDate: panel->SetText(FormatDateTime(panel->DateFormat(), seams.Now ? seams.Now() : 0)); break;
        case psNumLock: panel->SetText(toggled(VK_NUMLOCK) ? L"NUM" : L""); break;
        case psCapsLock: panel->SetText(toggled(VK_CAPITAL) ? L"CAP" : L""); break;
        case psScrollLock: panel->SetText(toggled(VK_SCROLL) ? L"SCRL" : L""); break;
        case psAnimation:
            if (TCustomImageList* frames = panel->AnimationImages(); frames && FTimerCount % (panel->AnimationDelay() + 1) == 0) {
                panel->SetAnimIndex(panel->AnimIndex() + 1 >= frames->Count() ? 0 : panel->AnimIndex() + 1);
                const String saved = panel->Text();
                panel->SetText(L"*");
                panel->SetText(saved);
            }
            break;
        default: break;
        }
    }
}

bool TAdvOfficeStatusBar::DoHint() {
    if (!OnHint) return false;
    OnHint(this);
    return true;
}

bool TAdvOfficeStatusBar::ExecuteAction(TComponent* action) {
    auto* hint = dynamic_cast<THintAction*>(action);
    if (FAutoHint && hint && !DoHint()) {
        if (FSimplePanel || FPanels->Count() == 0) SetSimpleText(hint->Hint());
        else FPanels->Items(0)->SetText(hint->Hint());
        return true;
    }
    return false;
}

// ---- mouse and messages

bool TAdvOfficeStatusBar::GetAnchorAt(int x, int y, String& anchor, String& title) {
    TRect r;
    String text;
    TAlignment alignment = taLeftJustify;
    int offsetX = 0;
    if (FSimplePanel) {
        r = TRect(1, 1, Width() - 1, Height() - 1);
        text = FSimpleText;
    } else {
        const int index = GetPanel(x);
        if (index < 0) return false;
        TAdvOfficeStatusPanel* panel = FPanels->Items(index);
        r = GetPanelRect(index);
        r.Left += panel->HTMLOffsetX() + 2;
        r.Top += panel->HTMLOffsetY() + 2;
        r.Right -= 2;
        if (index == FPanels->Count() - 1 && GripVisible()) r.Right -= GripWidth;
        text = panel->Text();
        alignment = panel->Alignment();
        offsetX = panel->HTMLOffsetX();
    }
    Canvas()->SetFont(Font());
    AdvHTML::THTMLResults out;
    if (alignment == taRightJustify || alignment == taCenter) {
        AdvHTML::THTMLParams p = HTMLParams(text, r);
        p.CheckOnly = true;
        p.BlinkOn = false;
        AdvOfficeStatusBar::DrawHTML(p, out);
        if (out.XSize < r.Width()) {
            if (alignment == taRightJustify) r.Left = r.Right - out.XSize - offsetX;
            else r.Left += (r.Width() - out.XSize) / 2;
        }
    }
    AdvHTML::THTMLParams p = HTMLParams(text, r);
    p.X = x;
    p.Y = y;
    p.CheckOnly = true;
    p.KeepColors = true;
    p.BlinkOn = true;
    if (!AdvOfficeStatusBar::DrawHTML(p, out)) return false;
    anchor = out.AnchorVal;
    title = out.FocusAnchor;
    return true;
}

void TAdvOfficeStatusBar::MouseMove(TShiftState shift, int x, int y) {
    String anchor, title;
    GetAnchorAt(x, y, anchor, title);
    const int index = GetPanel(x);
    if (index != FMousePanel) {
        if (Application) Application->CancelHint();
        FMousePanel = index;
    }
    if (index != FHotPanelIndex) {
        const int old = FHotPanelIndex;
        FHotPanelIndex = -1;
        if (old >= 0) InvalidatePanel(old);
        // Row 0 and the last row are the bar's edges: hovering there does not light a panel.
        if (index >= 0 && FPanels->Items(index)->Button() && y > 0 && y < Height()) {
            FHotPanelIndex = index;
            InvalidatePanel(index);
        }
    }
    if (!anchor.empty()) {
        if (Cursor() == crDefault || anchor != FAnchor) {
            FAnchor = anchor;
            SetCursor(crHandPoint);
            if (FAnchorHint && Application) Application->CancelHint();
            if (OnAnchorEnter) OnAnchorEnter(this, anchor);
        }
    } else if (Cursor() == crHandPoint && FOldCursor != crHandPoint) {
        SetCursor(crDefault);
        if (OnAnchorExit) OnAnchorExit(this, L"");
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TAdvOfficeStatusBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    const int index = GetPanel(x);
    if (index != FDownPanelIndex) {
        const int old = FDownPanelIndex;
        FDownPanelIndex = -1;
        if (old >= 0) InvalidatePanel(old);
        if (index >= 0 && FPanels->Items(index)->Button() && y > 0 && y < Height()) {
            FDownPanelIndex = index;
            InvalidatePanel(index);
        }
    }
    if (button == mbLeft && OnPanelClick) {
        OnPanelClick(this, index);
        // A handler that ran a modal window lost the bar the mouse: the release went to that
        // window, so the panel must not stay drawn pressed.
        if (FDownPanelIndex >= 0 && HandleAllocated() && ::GetCapture() != Handle()) {
            const int old = FDownPanelIndex;
            FDownPanelIndex = -1;
            InvalidatePanel(old);
        }
    }
    if (button == mbRight && OnPanelRightClick) OnPanelRightClick(this, index);
    String anchor, title;
    GetAnchorAt(x, y, anchor, title);
    if (anchor.empty()) return;
    // A link goes to the shell only when it looks like one and is a kind the shell may open;
    // everything else ("file://" included) is the application's to handle.
    const bool looksLikeLink = anchor.find(L"://") != String::npos || anchor.find(L"mailto:") != String::npos;
    if (looksLikeLink && UrlOpensInShell(anchor)) {
        if (Seams().ShellOpen) Seams().ShellOpen(anchor, L"");
    } else if (OnAnchorClick) OnAnchorClick(this, anchor);
}

void TAdvOfficeStatusBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    FSizePanel = -1;
    if (FDownPanelIndex >= 0) {
        const int old = FDownPanelIndex;
        FDownPanelIndex = -1;
        InvalidatePanel(old);
    }
}

void TAdvOfficeStatusBar::HintShow(THintInfo& info) {
    const int index = GetPanel(info.CursorPos.X);
    if (index < 0 || index >= FPanels->Count()) return;
    TAdvOfficeStatusPanel* panel = FPanels->Items(index);
    bool done = false;
    if (panel->Style() == psHTML && FAnchorHint) {
        String anchor, title;
        GetAnchorAt(info.CursorPos.X, info.CursorPos.Y, anchor, title);
        if (!anchor.empty() || !title.empty()) {
            const TPoint screen = ClientToScreen(info.CursorPos);
            info.HintPos = TPoint{screen.X + 10, screen.Y - 10};
            FDummyHintControl->SetOfficeHint(panel->OfficeHint());
            FDummyHintControl->OfficeHint()->SetTitle(L"");
            const String text = title.empty() ? anchor : title;
            info.HintStr = text;
            FDummyHintControl->OfficeHint()->Notes()->SetText(text);
            done = true;
        }
    }
    if (!done) {
        FDummyHintControl->SetOfficeHint(panel->OfficeHint());
        FDummyHintControl->SetShowHint(true);
    }
    info.HintControl = FDummyHintControl;
}

void TAdvOfficeStatusBar::NCHitTest(TMessage& message) {
    if (HasState(csDesigning)) return;
    POINT screen{message.XPos(), message.YPos()};
    ::ScreenToClient(Handle(), &screen);
    auto* form = dynamic_cast<TCustomForm*>(Parent());
    if (form && ((form->BorderStyle() != bsSizeable && form->BorderStyle() != bsSizeToolWin) || FMetro)) return;
    if (screen.y > Height() - ::GetSystemMetrics(SM_CYHSCROLL) && screen.x > Width() - ::GetSystemMetrics(SM_CXHSCROLL) &&
        message.Result == HTCLIENT && GripVisible()) {
        ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        message.Result = HTBOTTOMRIGHT;
    } else if (screen.y > Height() - 4 || screen.x > Width() - 4) message.Result = HTTRANSPARENT;
}

void TAdvOfficeStatusBar::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case WM_TIMER:
        if (message.WParam == TimerID) {
            UpdateStatus();
            FTimerCount = FTimerCount >= 10 ? 0 : FTimerCount + 1;
            return;
        }
        break;
    case WM_DESTROY:
        if (HandleAllocated()) ::KillTimer(Handle(), TimerID);
        break;
    case WM_GETTEXTLENGTH:
        message.Result = LRESULT(FSimpleText.size());
        return;
    case WM_NCHITTEST:
        TCustomControl::Dispatch(message);
        NCHitTest(message);
        return;
    case WM_NCLBUTTONDOWN:
        // The form is what the grip sizes; a child asked to size itself would size only the bar.
        if (message.WParam == HTBOTTOMRIGHT) {
            if (TCustomForm* form = ParentForm(); form && form->HandleAllocated()) {
                ::ReleaseCapture();
                ::PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, message.LParam);
                return;
            }
        }
        break;
    case WM_LBUTTONDBLCLK:
        TCustomControl::Dispatch(message);
        if (OnPanelDblClick) OnPanelDblClick(this, GetPanel(message.XPos()));
        return;
    case WM_THEMECHANGED:
        Invalidate();
        break;
    default:
        if (message.Msg == CM_MOUSELEAVE) {
            TCustomControl::Dispatch(message);
            for (int* index : {&FDownPanelIndex, &FHotPanelIndex})
                if (*index >= 0) {
                    const int old = *index;
                    *index = -1;
                    InvalidatePanel(old);
                }
            return;
        }
        if (message.Msg == CM_HINTSHOW) {
            if (auto* info = reinterpret_cast<THintInfo*>(message.LParam)) HintShow(*info);
            message.Result = 0;
            return;
        }
        if (message.Msg == CM_COLORCHANGED || message.Msg == CM_SYSCOLORCHANGE) {
            TCustomControl::Dispatch(message);
            if (HandleAllocated()) RecreateWnd();
            return;
        }
        if (message.Msg == CM_STYLECHANGED) {
            TCustomControl::Dispatch(message);
            if (UsesCustomStyle()) {
                AdvStyleIF::TColorTones tones{};
                AdvStyleIF::GetCustomStyleTones(tones);
                SetColorTones(tones);
            }
            return;
        }
        break;
    }
    TCustomControl::Dispatch(message);
}

namespace {
// The whole panel, with what Assign leaves out: flipping moves panels, not only texts.
void CopyWholePanel(TAdvOfficeStatusPanel* to, const TAdvOfficeStatusPanel* from) {
    to->Assign(from);
    to->SetButton(from->Button());
    to->SetEnabled(from->Enabled());
    to->SetHTMLOffsetX(from->HTMLOffsetX());
    to->SetHTMLOffsetY(from->HTMLOffsetY());
    to->SetImageIndex(from->ImageIndex());
    to->ClearImageIndexes();
    for (int k = 0; k < from->ImageCount(); ++k) to->SetImageIndexes(k, from->ImageIndexes(k));
    to->SetAnimationImages(from->AnimationImages());
    to->SetAnimated(from->Animated());
    to->SetAnimationDelay(from->AnimationDelay());
    to->SetParentBiDiMode(from->ParentBiDiMode());
    if (!from->ParentBiDiMode()) to->SetBiDiMode(from->BiDiMode());
}
}  // namespace

void TAdvOfficeStatusBar::FlipChildren(bool) {
    if (!HandleAllocated() || FSimplePanel || FPanels->Count() == 0) return;
    const int count = FPanels->Count();
    int lastWidth = ClientWidth();
    for (int i = 0; i < count - 1; ++i) lastWidth -= FPanels->Items(i)->Width();
    const int firstWidth = FPanels->Items(0)->Width();
    TAdvOfficeStatusPanels copies(nullptr);
    for (int i = 0; i < count; ++i) CopyWholePanel(copies.Add(), FPanels->Items(i));
    FPanels->BeginUpdate();
    for (int i = 0; i < count; ++i) CopyWholePanel(FPanels->Items(i), copies.Items(count - 1 - i));
    if (count > 1) {
        FPanels->Items(count - 1)->SetWidth(firstWidth);
        // On a bar narrower than its panels the room left is none, not a negative width
        // that would make the first panel answer for points far outside it.
        FPanels->Items(0)->SetWidth(std::max(lastWidth, 0));
    }
    FPanels->EndUpdate();
    Invalidate();
}

// ---- styling

void TAdvOfficeStatusBar::SetComponentStyle(TOVTStyle AStyle) {
    if (FOfficeStatusBarStyler) return;
    FOVTStyle = AStyle;
    if (AStyle == AdvStyleIF::tsCustom) return;
    AdvOfficeStatusBarStylers::TAdvOfficeStatusBarOfficeStyler temporary(nullptr);
    temporary.SetComponentStyle(AStyle);
    FInternalOfficeStatusBarStyler->Assign(&temporary);
}

void TAdvOfficeStatusBar::SetComponentStyleAndAppColor(TOVTStyle AStyle, TColor AppColor) {
    if (FOfficeStatusBarStyler) return;
    FOVTStyle = AStyle;
    AdvOfficeStatusBarStylers::TAdvOfficeStatusBarOfficeStyler temporary(nullptr);
    temporary.SetComponentStyleAndAppColor(AStyle, AppColor);
    FInternalOfficeStatusBarStyler->Assign(&temporary);
}

void TAdvOfficeStatusBar::SetColorTones(AdvStyleIF::TColorTones ATones) {
    // Empty tones only leave the flat look: every colour stays as it is.
    FMetro = !AdvStyleIF::IsEmptyColorTones(ATones);
    if (!FMetro) {
        Invalidate();
        return;
    }
    TCustomAdvOfficeStatusBarStyler* s = FCurrentOfficeStatusBarStyler;
    s->SetBorderColor(ATones.Background.BorderColor);
    for (TVistaBackground* a : {s->PanelAppearanceLight(), s->PanelAppearanceDark()}) {
        const bool dark = a == s->PanelAppearanceDark();
        const AdvStyleIF::TColorTone& normal = dark ? ATones.Foreground : ATones.Background;
        a->SetBorderColor(clNone);
        a->SetColor(normal.BrushColor);
        a->SetColorTo(normal.BrushColor);
        a->SetColorMirror(normal.BrushColor);
        a->SetColorMirrorTo(normal.BrushColor);
        a->SetTextColor(normal.TextColor);
        a->SetTextColorHot(ATones.Hover.TextColor);
        a->SetTextColorDown(ATones.Selected.TextColor);
        a->SetColorHot(ATones.Hover.BrushColor);
        a->SetColorHotTo(ATones.Hover.BrushColor);
        a->SetColorMirrorHot(ATones.Hover.BrushColor);
        a->SetColorMirrorHotTo(ATones.Hover.BrushColor);
        a->SetBorderColorHot(ATones.Hover.BorderColor);
        a->SetColorDown(ATones.Selected.BrushColor);
        a->SetColorDownTo(ATones.Selected.BrushColor);
        a->SetColorMirrorDown(ATones.Selected.BrushColor);
        a->SetColorMirrorDownTo(ATones.Selected.BrushColor);
        a->SetBorderColorDown(ATones.Selected.BorderColor);
    }
    Invalidate();
}

bool TAdvOfficeStatusBar::UsesCustomStyle() const {
    const AdvStyleIF::IAppStyleServices& services = AdvStyleIF::AppStyleServices();
    return services.Enabled() && services.Name() != L"Windows";
}

}  // namespace AdvOfficeStatusBar
