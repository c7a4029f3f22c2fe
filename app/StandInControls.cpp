#include "app/StandInControls.h"

#include <algorithm>

#include "classlib/Canvas.h"
#include "classlib/GdiObjects.h"
#include "classlib/GdiScopes.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"

namespace StandInControls {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TStandInButton, TCustomControl)
CLASSLIB_IMPLEMENT(TStandInTabSheet, TCustomControl)
CLASSLIB_IMPLEMENT(TStandInPageControl, TCustomControl)
CLASSLIB_IMPLEMENT(TStandInStatusPanel, TCollectionItem)
CLASSLIB_IMPLEMENT(TStandInStatusPanels, TOwnedCollection)
CLASSLIB_IMPLEMENT(TStandInStatusBar, TCustomControl)

namespace {

void Fill(HDC dc, const TRect& rect, COLORREF colour) {
    TOwnedBrush brush(::CreateSolidBrush(colour));
    if (!brush) return;
    const RECT r = ToRECT(rect);
    ::FillRect(dc, &r, brush.get());
}

void Frame(HDC dc, const TRect& rect, COLORREF colour) {
    TOwnedBrush brush(::CreateSolidBrush(colour));
    if (!brush) return;
    const RECT r = ToRECT(rect);
    ::FrameRect(dc, &r, brush.get());
}

void DrawText(HDC dc, TFont* font, const std::wstring& text, const TRect& rect, UINT flags, COLORREF colour) {
    if (text.empty()) return;
    TSelection selected(dc, font->Handle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colour);
    RECT r = ToRECT(rect);
    ::DrawTextW(dc, text.c_str(), int(text.size()), &r, flags | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// Light blue faces in the manner of the office look the real controls will have.
constexpr COLORREF FaceTop = RGB(227, 239, 255), FaceDown = RGB(255, 213, 140), Border = RGB(101, 147, 207);
constexpr COLORREF BarFace = RGB(214, 229, 245), DarkPanel = RGB(60, 80, 120);

}  // namespace

// ---- TStandInButton ----

const TPropertyList& TStandInButton::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomControl::Published())
        .Add(L"PictureName", &TStandInButton::PictureName, &TStandInButton::SetPictureName, std::wstring());
    return list;
}

TStandInButton::TStandInButton(TComponent* owner)
    : TCustomControl(owner), FPicture(std::make_unique<TPicture>()) {
    SetBounds(Left(), Top(), 100, 32);
}

TStandInButton::~TStandInButton() = default;

void TStandInButton::SetPictureName(const std::wstring& value) {
    FPictureName = value;
    LoadResourcePicture(FPicture.get(), value);
    Invalidate();
}

void TStandInButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        FDown = true;
        Invalidate();
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TStandInButton::Click() {
    // A handler may open a modal dialog: the button looks released while it waits.
    if (FDown) {
        FDown = false;
        Repaint();
    }
    TCustomControl::Click();
}

void TStandInButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && FDown) {
        FDown = false;
        Invalidate();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TStandInButton::Dispatch(TMessage& message) {
    // The face is drawn whole in Paint; erasing first would only flicker.
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(message);
}

void TStandInButton::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect all = ClientRect();
    Fill(dc, all, FDown ? FaceDown : FaceTop);
    Frame(dc, all, Border);
    TRect textRect = all;
    if (TGraphic* graphic = FPicture->Graphic()) {
        const int w = graphic->Width(), h = graphic->Height();
        const std::wstring caption = Caption();
        const int left = caption.empty() ? (all.Width() - w) / 2 : 6;
        Canvas()->Draw(left, (all.Height() - h) / 2, graphic);
        if (!caption.empty()) textRect.Left = left + w + 4;
    }
    DrawText(dc, Font(), Caption(), textRect, FPicture->Graphic() ? DT_LEFT : DT_CENTER,
             Enabled() ? RGB(0, 0, 0) : ::GetSysColor(COLOR_GRAYTEXT));
}

// ---- TStandInTabSheet ----

// Both hold child windows: their painting must clip them, or it wipes the children's
// frames and scroll bars, which the children do not paint again.
TStandInTabSheet::TStandInTabSheet(TComponent* owner) : TCustomControl(owner) {
    FControlStyle |= csAcceptsControls;
    SetAlign(alClient);
}

void TStandInTabSheet::SetText(const std::wstring& value) {
    TCustomControl::SetText(value);
    if (Parent()) Parent()->Invalidate();
}

void TStandInTabSheet::Paint() { Fill(Canvas()->Handle(), ClientRect(), ::GetSysColor(COLOR_BTNFACE)); }

// ---- TStandInPageControl ----

const TPropertyList& TStandInPageControl::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomControl::Published())
        .Add(L"TabWidth", &TStandInPageControl::TabWidth, &TStandInPageControl::SetTabWidth, 120)
        .Add(L"TabHeight", &TStandInPageControl::TabHeight, &TStandInPageControl::SetTabHeight, 22)
        .Add(L"ActivePageIndex", &TStandInPageControl::ActivePageIndex, &TStandInPageControl::SetActivePageIndex, -1)
        .Event(L"OnChange", &TStandInPageControl::OnChange);
    return list;
}

TStandInPageControl::TStandInPageControl(TComponent* owner) : TCustomControl(owner) {
    FControlStyle |= csAcceptsControls;
    SetBounds(Left(), Top(), 289, 193);
}

std::vector<TStandInTabSheet*> TStandInPageControl::PageList() const {
    std::vector<TStandInTabSheet*> pages;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* sheet = dynamic_cast<TStandInTabSheet*>(Controls(i))) pages.push_back(sheet);
    return pages;
}

int TStandInPageControl::PageCount() const { return int(PageList().size()); }

TStandInTabSheet* TStandInPageControl::Pages(int index) const {
    const auto pages = PageList();
    return index >= 0 && index < int(pages.size()) ? pages[size_t(index)] : nullptr;
}

TStandInTabSheet* TStandInPageControl::ActivePage() const { return Pages(FActivePageIndex); }

void TStandInPageControl::SetActivePageIndex(int value) {
    const int count = PageCount();
    const int index = value >= 0 && value < count ? value : -1;
    if (index == FActivePageIndex) return;
    FActivePageIndex = index;
    ShowActivePage();
    FireEvent(OnChange, this);
}

void TStandInPageControl::SetTabHeight(int value) {
    FTabHeight = std::max(value, 1);
    Realign();
    Invalidate();
}

void TStandInPageControl::ShowActivePage() {
    const auto pages = PageList();
    for (size_t i = 0; i < pages.size(); ++i) pages[i]->SetVisible(int(i) == FActivePageIndex);
    Invalidate();
}

void TStandInPageControl::Loaded() {
    TCustomControl::Loaded();
    ShowActivePage();
}

void TStandInPageControl::ChangeScale(int m, int d) {
    if (m > 0 && d > 0) {
        SetTabWidth(::MulDiv(FTabWidth, m, d));
        SetTabHeight(::MulDiv(FTabHeight, m, d));
    }
    TCustomControl::ChangeScale(m, d);
}

int TStandInPageControl::TabAtPos(int x, int y) const {
    if (y < 0 || y >= FTabHeight || x < 0) return -1;
    const int index = x / std::max(FTabWidth, 1);
    return index < PageCount() ? index : -1;
}

void TStandInPageControl::AdjustClientRect(TRect& rect) const {
    rect.Top += FTabHeight;
    rect.Inflate(-1, -1);
}

void TStandInPageControl::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect all = ClientRect();
    Fill(dc, all, ::GetSysColor(COLOR_BTNFACE));
    Frame(dc, TRect(all.Left, all.Top + FTabHeight - 1, all.Right, all.Bottom), Border);
    const auto pages = PageList();
    for (size_t i = 0; i < pages.size(); ++i) {
        const bool active = int(i) == FActivePageIndex;
        TRect tab(int(i) * FTabWidth, active ? 0 : 2, int(i + 1) * FTabWidth - 2, FTabHeight);
        Fill(dc, tab, active ? ::GetSysColor(COLOR_BTNFACE) : FaceTop);
        Frame(dc, tab, Border);
        if (active) Fill(dc, TRect(tab.Left + 1, tab.Bottom - 1, tab.Right - 1, tab.Bottom), ::GetSysColor(COLOR_BTNFACE));
        DrawText(dc, Font(), pages[i]->Caption(), tab, DT_CENTER, RGB(0, 0, 0));
    }
}

void TStandInPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        const int tab = TabAtPos(x, y);
        if (tab >= 0) SetActivePageIndex(tab);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

// ---- status panels ----

const TPropertyList& TStandInStatusPanel::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCollectionItem::Published())
        .Add(L"Text", &TStandInStatusPanel::Text, &TStandInStatusPanel::SetText, std::wstring())
        .Enum(L"Style", L"TAdvOfficeStatusPanelStyle", &TStandInStatusPanel::Style, &TStandInStatusPanel::SetStyle,
              {L"psHTML", L"psText", L"psOwnerDraw", L"psProgress"}, psText)
        .Add(L"Width", &TStandInStatusPanel::Width, &TStandInStatusPanel::SetWidth, 50)
        .Enum(L"Alignment", &TStandInStatusPanel::Alignment, &TStandInStatusPanel::SetAlignment, taLeftJustify)
        .Add(L"Button", &TStandInStatusPanel::Button, &TStandInStatusPanel::SetButton, false)
        .Enum(L"AppearanceStyle", L"TPanelAppearanceStyle", &TStandInStatusPanel::AppearanceStyle,
              &TStandInStatusPanel::SetAppearanceStyle, {L"psLight", L"psDark"}, psLight);
    return list;
}

TStandInStatusPanel::TStandInStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

void TStandInStatusPanel::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TStandInStatusPanel*>(source)) {
        FText = other->FText;
        FStyle = other->FStyle;
        FWidth = other->FWidth;
        FAlignment = other->FAlignment;
        FButton = other->FButton;
        FAppearanceStyle = other->FAppearanceStyle;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

// Each setter does nothing for an equal value, so repaints follow real changes only.
void TStandInStatusPanel::SetText(const std::wstring& value) {
    if (value == FText) return;
    FText = value;
    Changed(false);
}

void TStandInStatusPanel::SetStyle(TStatusPanelStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed(false);
}

void TStandInStatusPanel::SetWidth(int value) {
    if (value == FWidth) return;
    FWidth = value;
    Changed(true);
}

void TStandInStatusPanel::SetAlignment(TAlignment value) {
    if (value == FAlignment) return;
    FAlignment = value;
    Changed(false);
}

void TStandInStatusPanel::SetButton(bool value) {
    if (value == FButton) return;
    FButton = value;
    Changed(false);
}

void TStandInStatusPanel::SetAppearanceStyle(TPanelAppearanceStyle value) {
    if (value == FAppearanceStyle) return;
    FAppearanceStyle = value;
    Changed(false);
}

TStandInStatusPanels::TStandInStatusPanels(TStandInStatusBar* bar)
    : TOwnedCollection(bar, &CreateCollectionItem<TStandInStatusPanel>), FBar(bar) {}

TStandInStatusPanel* TStandInStatusPanels::Items(int index) const {
    return static_cast<TStandInStatusPanel*>(TCollection::Items(index));
}

void TStandInStatusPanels::Update(TCollectionItem*) { FBar->Invalidate(); }

void LoadResourcePicture(TPicture* picture, const std::wstring& name) {
    picture->SetGraphic(nullptr);
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    HRSRC resource = name.empty() ? nullptr : ::FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return;
    TPngImage png;
    png.LoadFromBytes(static_cast<const std::uint8_t*>(data), ::SizeofResource(module, resource));
    picture->SetGraphic(&png);
}

std::wstring PlainPanelText(const std::wstring& text, TStatusPanelStyle style) {
    std::wstring plain;
    bool inTag = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (style == psHTML && c == L'<') inTag = true;
        else if (inTag && c == L'>') inTag = false;
        else if (!inTag) {
            plain += c;
            if (c == L'&' && i + 1 < text.size() && text[i + 1] == L'&') ++i;
        }
    }
    return plain;
}

// ---- TStandInStatusBar ----

const TPropertyList& TStandInStatusBar::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomControl::Published())
        .Collection(L"Panels", &TStandInStatusBar::Panels)
        .Event(L"OnPanelClick", &TStandInStatusBar::OnPanelClick);
    return list;
}

TStandInStatusBar::TStandInStatusBar(TComponent* owner)
    : TCustomControl(owner), FPanels(std::make_unique<TStandInStatusPanels>(this)) {
    SetBounds(Left(), Top(), 200, 24);
    SetAlign(alBottom);
}

TStandInStatusBar::~TStandInStatusBar() = default;

void TStandInStatusBar::ChangeScale(int m, int d) {
    if (m > 0 && d > 0)
        for (int i = 0; i < FPanels->Count(); ++i) FPanels->Items(i)->SetWidth(::MulDiv(FPanels->Items(i)->Width(), m, d));
    TCustomControl::ChangeScale(m, d);
}

int TStandInStatusBar::PanelAtPos(int x) const {
    int left = 0;
    for (int i = 0; i < FPanels->Count(); ++i) {
        const int width = FPanels->Items(i)->Width();
        if (x >= left && x < left + width) return i;
        left += width;
    }
    return -1;
}

void TStandInStatusBar::Paint() {
    HDC dc = Canvas()->Handle();
    const TRect all = ClientRect();
    Fill(dc, all, BarFace);
    int left = 0;
    for (int i = 0; i < FPanels->Count(); ++i) {
        TStandInStatusPanel* panel = FPanels->Items(i);
        TRect box(left, all.Top, left + panel->Width(), all.Bottom);
        const bool dark = panel->AppearanceStyle() == psDark;
        if (dark) Fill(dc, box, DarkPanel);
        if (panel->Button()) Frame(dc, TRect(box.Left + 1, box.Top + 2, box.Right - 1, box.Bottom - 2), Border);
        Fill(dc, TRect(box.Right - 1, box.Top + 3, box.Right, box.Bottom - 3), Border);
        const ClassLib::TAlignment alignment = panel->Alignment();
        const UINT flags = alignment == taCenter ? DT_CENTER : alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
        TRect textBox = box;
        textBox.Inflate(-4, 0);
        DrawText(dc, Font(), PlainPanelText(panel->Text(), panel->Style()), textBox, flags | DT_END_ELLIPSIS,
                 dark ? RGB(255, 255, 255) : RGB(0, 0, 0));
        left = box.Right;
    }
}

void TStandInStatusBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button == mbLeft && OnPanelClick) OnPanelClick(this, PanelAtPos(x));
}

}  // namespace StandInControls
