#include "menus/AdvMenuStyler.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

#include "classlib/GdiObjects.h"
#include "classlib/Menus.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvMenuUtil.h"

namespace AdvMenus {

using namespace ClassLib;
using AdvMenuUtil::EInvalidPropertyIndex;

CLASSLIB_IMPLEMENT(TGradientBar, ClassLib::TPersistent)
CLASSLIB_IMPLEMENT(TMarkedBar, TGradientBar)
CLASSLIB_IMPLEMENT(TIconBar, TMarkedBar)
CLASSLIB_IMPLEMENT(TSelectedItem, TMarkedBar)
CLASSLIB_IMPLEMENT(TRootItem, TGradientBar)
CLASSLIB_IMPLEMENT(TSeparator, TGradientBar)
CLASSLIB_IMPLEMENT(TBackground, TGradientBar)
CLASSLIB_IMPLEMENT(TBarCaption, ClassLib::TPersistent)
CLASSLIB_IMPLEMENT(TSideBar, TBarCaption)
CLASSLIB_IMPLEMENT(TMenuGlyphs, ClassLib::TPersistent)
CLASSLIB_IMPLEMENT(TButtonAppearance, AdvToolBar::TNotifyingPersistent)
CLASSLIB_IMPLEMENT(TCustomAdvMenuStyler, ClassLib::TComponent)
CLASSLIB_IMPLEMENT(TAdvMenuStyler, TCustomAdvMenuStyler)

namespace {

// The setter that takes one colour, picked out of its indexed overload for a property list.
template <class C>
using TColourSetterOf = void (C::*)(TColor);
template <class C>
constexpr TColourSetterOf<C> ColourSetter(TColourSetterOf<C> setter) {
    return setter;
}

// Fonts of the menus start as the screen's menu font at the menu's usual height.
std::unique_ptr<TFont> MenuFont(int height, TColor color) {
    auto font = std::make_unique<TFont>();
    font->Assign(Screen->MenuFont());
    font->SetHeight(height);
    font->SetColor(color);
    return font;
}
std::unique_ptr<TFont> NotesFontFrom(TColor color) {
    auto font = std::make_unique<TFont>();
    font->Assign(Screen->MenuFont());
    font->SetSize(font->Size() - 2);
    font->SetColor(color);
    return font;
}

IAdvMenu* StyledMenu(TMenu* menu) { return dynamic_cast<IAdvMenu*>(menu); }

}  // namespace

void NotifyMenuChanged(IAdvMenu* menu, bool updateItems, bool force) {
    if (!menu || !menu->GetMenu()) return;
    if (updateItems || force) menu->UpdateItems();
    menu->MenuChangeNoticed();
}

// ---------------------------------------------------------------- TGradientBar

const TPropertyList& TGradientBar::Published() {
    using B = TGradientBar;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Colour(L"Color", &B::Color, ColourSetter<B>(&B::SetColor), 0xD8BDAF)
        .Colour(L"ColorTo", &B::ColorTo, &B::SetColorTo, clNone)
        .Enum(L"GradientDirection", &B::GradientDirection, &B::SetGradientDirection, gdVertical);
    return list;
}

TGradientBar::TGradientBar(TMenu* menu) : FMenu(menu) {}

TColor TGradientBar::GetColor(int index) const {
    switch (index) {
        case 0: return FColor;
        case 1: return FColorTo;
        default: throw EInvalidPropertyIndex(index);
    }
}

void TGradientBar::SetColor(int index, TColor value) {
    switch (index) {
        case 0: FColor = value; break;
        case 1: FColorTo = value; break;
        default: throw EInvalidPropertyIndex(index);
    }
}

void TGradientBar::AssignBase(const TGradientBar& from) {
    FColor = from.FColor;
    FColorTo = from.FColorTo;
    FGradientDirection = from.FGradientDirection;
}

void TGradientBar::Assign(const TPersistent* source) {
    if (const auto* from = dynamic_cast<const TGradientBar*>(source)) {
        AssignBase(*from);
        return;
    }
    TPersistent::Assign(source);
}

void TGradientBar::RefreshMenu() const { NotifyMenuChanged(StyledMenu(FMenu), true, false); }
void TGradientBar::NoticeMenu() const { NotifyMenuChanged(StyledMenu(FMenu), false, false); }

// ---------------------------------------------------------------- TMarkedBar

namespace {
TColor GetMark(const TMarkColours& mark, int index) {
    switch (index) {
        case 0: return mark.Color;
        case 1: return mark.ColorTo;
        default: throw EInvalidPropertyIndex(index);
    }
}
void SetMark(TMarkColours& mark, int index, TColor value) {
    switch (index) {
        case 0: mark.Color = value; break;
        case 1: mark.ColorTo = value; break;
        default: throw EInvalidPropertyIndex(index);
    }
}
}  // namespace

TColor TMarkedBar::GetCheckColor(int index) const { return GetMark(FCheck, index); }
void TMarkedBar::SetCheckColor(int index, TColor value) {
    SetMark(FCheck, index, value);
    NoticeMenu();
}
TColor TMarkedBar::GetRadioColor(int index) const { return GetMark(FRadio, index); }
void TMarkedBar::SetRadioColor(int index, TColor value) {
    SetMark(FRadio, index, value);
    NoticeMenu();
}

TPropertyList& TMarkedBar::AddMarks(TPropertyList& list, TColor markColor) {
    using M = TMarkedBar;
    return list.Colour(L"CheckColor", &M::CheckColor, ColourSetter<M>(&M::SetCheckColor), markColor)
        .Colour(L"CheckColorTo", &M::CheckColorTo, &M::SetCheckColorTo, clNone)
        .Colour(L"CheckBorder", &M::CheckBorder, &M::SetCheckBorder, 0x6F4B4B)
        .Enum(L"CheckGradientDirection", &M::CheckGradientDirection, &M::SetCheckGradientDirection, gdVertical)
        .Colour(L"RadioColor", &M::RadioColor, ColourSetter<M>(&M::SetRadioColor), markColor)
        .Colour(L"RadioColorTo", &M::RadioColorTo, &M::SetRadioColorTo, clNone)
        .Colour(L"RadioBorder", &M::RadioBorder, &M::SetRadioBorder, 0x6F4B4B)
        .Enum(L"RadioGradientDirection", &M::RadioGradientDirection, &M::SetRadioGradientDirection, gdVertical);
}

// ---------------------------------------------------------------- TIconBar

const TPropertyList& TIconBar::Published() {
    using I = TIconBar;
    static const TPropertyList list = [] {
        TPropertyList l = TPropertyList::Extend(TGradientBar::Published());
        l.Colour(L"Color", &I::Color, ColourSetter<TGradientBar>(&I::SetColor), 0xFFF9F9)
            .Colour(L"ColorTo", &I::ColorTo, &I::SetColorTo, 0xBBA0A1)
            .Enum(L"GradientDirection", &I::GradientDirection, &I::SetGradientDirection, gdHorizontal);
        AddMarks(l, 0x6FC0FF)
            .Colour(L"SeparatorColor", &I::SeparatorColor, &I::SetSeparatorColor, clNone)
            .Add(L"Size", &I::Size, &I::SetSize, 24);
        return l;
    }();
    return list;
}

TIconBar::TIconBar(TMenu* menu) : TMarkedBar(menu, TColor(0x6FC0FF)) {
    FColor = TColor(0xFFF9F9);
    FColorTo = TColor(0xBBA0A1);
    FGradientDirection = gdHorizontal;
}

void TIconBar::SetSize(int value) {
    FSize = std::max(value, 16);
    RefreshMenu();
}

void TIconBar::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TIconBar*>(source);
    if (!from) {
        TGradientBar::Assign(source);
        return;
    }
    AssignMarks(*from);
    SetSize(from->FSize);
    FSeparatorColor = from->FSeparatorColor;
    AssignBase(*from);
}

// ---------------------------------------------------------------- TSelectedItem

const TPropertyList& TSelectedItem::Published() {
    using S = TSelectedItem;
    static const TPropertyList list = [] {
        TPropertyList l = TPropertyList::Extend(TGradientBar::Published());
        l.Colour(L"Color", &S::Color, ColourSetter<TGradientBar>(&S::SetColor), 0xC2EEFF)
            .Colour(L"ColorTo", &S::ColorTo, &S::SetColorTo, clNone)
            .Colour(L"ColorMirror", &S::ColorMirror, &S::SetColorMirror, clNone)
            .Colour(L"ColorMirrorTo", &S::ColorMirrorTo, &S::SetColorMirrorTo, clNone)
            .Colour(L"BorderColor", &S::BorderColor, &S::SetBorderColor, 0x6F4B4B)
            .SubObject(L"Font", &S::Font)
            .SubObject(L"NotesFont", &S::NotesFont)
            .Add(L"UseSystemFont", &S::UseSystemFont, &S::SetUseSystemFont, true);
        AddMarks(l, 0x3E80FE);
        return l;
    }();
    return list;
}

TSelectedItem::TSelectedItem(TMenu* menu)
    : TMarkedBar(menu, TColor(0x3E80FE)), FFont(MenuFont(-12, clWindowText)), FNotesFont(NotesFontFrom(clWindowText)) {
    FColor = TColor(0xC2EEFF);
}

TSelectedItem::~TSelectedItem() = default;

void TSelectedItem::SetFont(const TFont* value) {
    FFont->Assign(value);
    RefreshMenu();
}

void TSelectedItem::SetNotesFont(const TFont* value) {
    FNotesFont->Assign(value);
    RefreshMenu();
}

void TSelectedItem::SetUseSystemFont(bool value) {
    FUseSystemFont = value;
    RefreshMenu();
}

void TSelectedItem::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TSelectedItem*>(source);
    if (!from) {
        TGradientBar::Assign(source);
        return;
    }
    FColorMirror = from->FColorMirror;
    FColorMirrorTo = from->FColorMirrorTo;
    FBorderColor = from->FBorderColor;
    FFont->Assign(from->FFont.get());
    FNotesFont->Assign(from->FNotesFont.get());
    SetUseSystemFont(from->FUseSystemFont);
    AssignMarks(*from);
    AssignBase(*from);
}

// ---------------------------------------------------------------- TRootItem

const TPropertyList& TRootItem::Published() {
    using R = TRootItem;
    static const TPropertyList list = TPropertyList::Extend(TGradientBar::Published())
        .Colour(L"Color", &R::Color, ColourSetter<TGradientBar>(&R::SetColor), 0xE5D7D7)
        .Colour(L"ColorTo", &R::ColorTo, &R::SetColorTo, 0xF7F2F2)
        .Enum(L"GradientDirection", &R::GradientDirection, &R::SetGradientDirection, gdHorizontal)
        .SubObject(L"Font", &R::Font)
        .Add(L"UseSystemFont", &R::UseSystemFont, &R::SetUseSystemFont, true)
        .Colour(L"SelectedColor", &R::SelectedColor, ColourSetter<R>(&R::SetSelectedColor), 0xF2E8E8)
        .Colour(L"SelectedColorTo", &R::SelectedColorTo, &R::SetSelectedColorTo, 0xCDB8B9)
        .Colour(L"SelectedColorMirror", &R::SelectedColorMirror, &R::SetSelectedColorMirror, clNone)
        .Colour(L"SelectedColorMirrorTo", &R::SelectedColorMirrorTo, &R::SetSelectedColorMirrorTo, clNone)
        .Enum(L"SelectedGradientDirection", &R::SelectedGradientDirection, &R::SetSelectedGradientDirection, gdVertical)
        .Colour(L"SelectedBorderColor", &R::SelectedBorderColor, &R::SetSelectedBorderColor, 0x947C7C)
        .Colour(L"SelectedTextColor", &R::SelectedTextColor, &R::SetSelectedTextColor, clWindowText)
        .Colour(L"HoverColor", &R::HoverColor, ColourSetter<R>(&R::SetHoverColor), 0xCFF6FF)
        .Colour(L"HoverColorTo", &R::HoverColorTo, &R::SetHoverColorTo, 0x9DD8FF)
        .Colour(L"HoverColorMirror", &R::HoverColorMirror, &R::SetHoverColorMirror, clNone)
        .Colour(L"HoverColorMirrorTo", &R::HoverColorMirrorTo, &R::SetHoverColorMirrorTo, clNone)
        .Enum(L"HoverGradientDirection", &R::HoverGradientDirection, &R::SetHoverGradientDirection, gdVertical)
        .Colour(L"HoverBorderColor", &R::HoverBorderColor, &R::SetHoverBorderColor, 0x6F4B4B)
        .Colour(L"HoverTextColor", &R::HoverTextColor, &R::SetHoverTextColor, clWindowText);
    return list;
}

TRootItem::TRootItem(TMenu* menu) : TGradientBar(menu), FFont(MenuFont(-12, clWindowText)) {
    FColor = TColor(0xE5D7D7);
    FColorTo = TColor(0xF7F2F2);
    FGradientDirection = gdHorizontal;
}

TRootItem::~TRootItem() = default;

void TRootItem::SetFont(const TFont* value) {
    FFont->Assign(value);
    RefreshMenu();
}

void TRootItem::SetUseSystemFont(bool value) {
    FUseSystemFont = value;
    RefreshMenu();
}

void TRootItem::UpdateFont() {
    if (FUseSystemFont) FFont->Assign(Screen->MenuFont());
}

TColor TRootItem::GetSelectedColor(int index) const {
    if (index < 0 || index > 3) throw EInvalidPropertyIndex(index);
    return FSelected[index];
}
void TRootItem::SetSelectedColor(int index, TColor value) {
    if (index < 0 || index > 3) throw EInvalidPropertyIndex(index);
    FSelected[index] = value;
    RefreshMenu();
}
TColor TRootItem::GetHoverColor(int index) const {
    if (index < 0 || index > 3) throw EInvalidPropertyIndex(index);
    return FHover[index];
}
void TRootItem::SetHoverColor(int index, TColor value) {
    if (index < 0 || index > 3) throw EInvalidPropertyIndex(index);
    FHover[index] = value;
    RefreshMenu();
}

void TRootItem::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TRootItem*>(source);
    if (!from) {
        TGradientBar::Assign(source);
        return;
    }
    FFont->Assign(from->FFont.get());
    SetUseSystemFont(from->FUseSystemFont);
    std::copy(std::begin(from->FSelected), std::end(from->FSelected), std::begin(FSelected));
    std::copy(std::begin(from->FHover), std::end(from->FHover), std::begin(FHover));
    FSelectedGradientDirection = from->FSelectedGradientDirection;
    FSelectedBorderColor = from->FSelectedBorderColor;
    FSelectedTextColor = from->FSelectedTextColor;
    FHoverGradientDirection = from->FHoverGradientDirection;
    FHoverBorderColor = from->FHoverBorderColor;
    FHoverTextColor = from->FHoverTextColor;
    AssignBase(*from);
}

// ---------------------------------------------------------------- TSeparator

const TPropertyList& TSeparator::Published() {
    using S = TSeparator;
    // Its own list: the separator runs horizontally and does not publish a direction.
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Colour(L"Color", &S::Color, ColourSetter<TGradientBar>(&S::SetColor), 0x8F6D6E)
        .Colour(L"ColorTo", &S::ColorTo, &S::SetColorTo, clNone)
        .Add(L"Width", &S::Width, &S::SetWidth, 1)
        .Enum(L"GradientType", &S::GradientType, &S::SetGradientType, gtBoth)
        .Stored(L"GradientType", true)
        .Add(L"GradientWidth", &S::GradientWidth, &S::SetGradientWidth, 0)
        .Add(L"Margin", &S::Margin, &S::SetMargin, 2);
    return list;
}

TSeparator::TSeparator(TMenu* menu) : TGradientBar(menu) {
    FColor = TColor(0x8F6D6E);
    FGradientDirection = gdHorizontal;
}

void TSeparator::Assign(const TPersistent* source) {
    if (const auto* from = dynamic_cast<const TSeparator*>(source)) {
        FWidth = from->FWidth;
        FGradientType = from->FGradientType;
        FGradientWidth = from->FGradientWidth;
        FMargin = from->FMargin;
    }
    TGradientBar::Assign(source);
}

// ---------------------------------------------------------------- TBackground

const TPropertyList& TBackground::Published() {
    using B = TBackground;
    static const TPropertyList list = TPropertyList::Extend(TGradientBar::Published())
        .SubObject(L"Image", &B::Image)
        .Enum(L"Position", &B::Position, &B::SetPosition, bpCenter)
        .Stored(L"Position", true)
        .Add(L"OffsetX", &B::OffsetX, &B::SetOffsetX, 0)
        .Add(L"OffsetY", &B::OffsetY, &B::SetOffsetY, 0)
        .Add(L"MarginX", &B::MarginX, &B::SetMarginX, 0)
        .Add(L"MarginY", &B::MarginY, &B::SetMarginY, 0)
        .Colour(L"Color", &B::Color, ColourSetter<TGradientBar>(&B::SetColor), 0xFFFAFD);
    return list;
}

TBackground::TBackground(TMenu* menu) : TGradientBar(menu) { FColor = TColor(0xFFFAFD); }

TBackground::~TBackground() = default;

TPicture* TBackground::Image() const {
    if (!FImage) FImage = std::make_unique<TPicture>();
    if (auto* bitmap = dynamic_cast<TBitmap*>(FImage->Graphic())) {
        bitmap->SetTransparent(true);
        bitmap->SetTransparentMode(tmAuto);
    }
    return FImage.get();
}

void TBackground::SetImage(const TPicture* value) {
    if (value)
        Image()->Assign(value);
    else
        FImage.reset();
    NoticeMenu();
}

bool TBackground::HasImage() const { return FImage && FImage->Graphic() && !FImage->Graphic()->Empty(); }

TBitmap* TBackground::Bitmap() {
    if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
    return FBitmap.get();
}

void TBackground::CalcPicturePosition(const TRect& rect, int& x, int& y) const {
    x = rect.Left;
    y = rect.Top;
    if (!HasImage()) return;
    const int pictureWidth = FImage->Width(), pictureHeight = FImage->Height();
    switch (FPosition) {
        case bpTopLeft: case bpBottomLeft: x += FOffsetX; break;
        case bpTopRight: case bpBottomRight: x += rect.Width() + FOffsetX - pictureWidth; break;
        case bpTopCenter: case bpBottomCenter: case bpCenter: x += (rect.Width() - pictureWidth) / 2 + FOffsetX; break;
        default: break;
    }
    switch (FPosition) {
        case bpTopLeft: case bpTopRight: case bpTopCenter: y += FOffsetY; break;
        case bpBottomLeft: case bpBottomRight: case bpBottomCenter: y += rect.Height() + FOffsetY - pictureHeight; break;
        case bpCenter: y += (rect.Height() - pictureHeight) / 2 + FOffsetY; break;
        default: break;
    }
}

void TBackground::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TBackground*>(source);
    if (!from) {
        TGradientBar::Assign(source);
        return;
    }
    SetImage(from->FImage.get());
    FOffsetX = from->FOffsetX;
    FOffsetY = from->FOffsetY;
    FPosition = from->FPosition;
    FMarginX = from->FMarginX;
    FMarginY = from->FMarginY;
    AssignBase(*from);
}

// ---------------------------------------------------------------- TBarCaption

const TPropertyList& TBarCaption::Published() {
    using C = TBarCaption;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Enum(L"Alignment", &C::Alignment, &C::SetAlignment, taLeftJustify)
        .Add(L"Caption", &C::Caption, &C::SetCaption, L"")
        .SubObject(L"Font", &C::Font)
        .Colour(L"ShadowColor", &C::ShadowColor, &C::SetShadowColor, clNone)
        .Add(L"Depth", &C::Depth, &C::SetDepth, 1)
        .Enum(L"Direction", &C::Direction, &C::SetDirection, dDownToUp);
    return list;
}

TBarCaption::TBarCaption(TMenu* menu) : FFont(std::make_unique<TFont>()), FMenu(menu) {
    FFont->SetName(L"Tahoma");
    FFont->SetSize(14);
    FFont->SetColor(clWhite);
    FFont->SetStyle(TFontStyles{fsBold, fsItalic});
}

TBarCaption::~TBarCaption() = default;

void TBarCaption::SetFont(const TFont* value) {
    FFont->Assign(value);
    RefreshMenu();
}

void TBarCaption::RefreshMenu() const { NotifyMenuChanged(StyledMenu(FMenu), true, false); }

void TBarCaption::AssignCaption(const TBarCaption& from) {
    FOffsetY = from.FOffsetY;
    FAlignment = from.FAlignment;
    FCaption = from.FCaption;
    FFont->Assign(from.FFont.get());
    FShadowColor = from.FShadowColor;
    FHighlightColor = from.FHighlightColor;
    FDepth = from.FDepth;
    FDirection = from.FDirection;
}

void TBarCaption::Assign(const TPersistent* source) {
    if (const auto* from = dynamic_cast<const TBarCaption*>(source)) {
        AssignCaption(*from);
        return;
    }
    TPersistent::Assign(source);
}

// ---------------------------------------------------------------- TSideBar

const TPropertyList& TSideBar::Published() {
    using S = TSideBar;
    static const TPropertyList list = TPropertyList::Extend(TBarCaption::Published())
        .Add(L"Visible", &S::Visible, &S::SetVisible, false)
        .Enum(L"VisibleIn", &S::VisibleIn, &S::SetVisibleIn, viFirstVisible)
        .SubObject(L"Image", &S::Image)
        .SubObject(L"Background", &S::Background)
        .Add(L"Size", &S::Size, &S::SetSize, 24)
        .Colour(L"SplitterColor", &S::SplitterColor, &S::SetSplitterColor, 0x808080)
        .Colour(L"SplitterColorTo", &S::SplitterColorTo, &S::SetSplitterColorTo, clNone)
        .Add(L"SplitterWidth", &S::SplitterWidth, &S::SetSplitterWidth, 1)
        .Add(L"SplitterMargin", &S::SplitterMargin, &S::SetSplitterMargin, 0)
        .Add(L"SplitterGradientWidth", &S::SplitterGradientWidth, &S::SetSplitterGradientWidth, 0)
        .Enum(L"SplitterGradientType", &S::SplitterGradientType, &S::SetSplitterGradientType, gtBoth)
        .Colour(L"BorderColor", &S::BorderColor, &S::SetBorderColor, 0xA19D9D);
    return list;
}

TSideBar::TSideBar(TMenu* menu)
    : TBarCaption(menu), FBackground(std::make_unique<TBackground>()), FImage(std::make_unique<TBackground>()) {}

TSideBar::~TSideBar() = default;

void TSideBar::SetVisible(bool value) {
    FVisible = value;
    IAdvMenu* menu = StyledMenu(Menu());
    if (menu && menu->IsMainMenuWithWindow()) NotifyMenuChanged(menu, true, false);
}

void TSideBar::SetBackground(const TBackground* value) {
    FBackground->Assign(value);
    if (value && value->HasImage() && dynamic_cast<TBitmap*>(value->Image()->Graphic()))
        FBackground->Bitmap()->SetTransparent(true);
    RefreshMenu();
}

void TSideBar::SetImage(const TBackground* value) {
    FImage->Assign(value);
    RefreshMenu();
}

void TSideBar::Assign(const TPersistent* source) {
    if (const auto* from = dynamic_cast<const TSideBar*>(source)) {
        SetVisible(from->FVisible);
        FImage->Assign(from->FImage.get());
        FBackground->Assign(from->FBackground.get());
        FPosition = from->FPosition;
        FSize = from->FSize;
        FSplitterWidth = from->FSplitterWidth;
        FSplitterMargin = from->FSplitterMargin;
        FSplitterGradientWidth = from->FSplitterGradientWidth;
        FSplitterGradientType = from->FSplitterGradientType;
        FBorderColor = from->FBorderColor;
    }
    TBarCaption::Assign(source);
}

// ---------------------------------------------------------------- TMenuGlyphs

TGlyphLoader& GlyphLoader() {
    static TGlyphLoader loader = [](TBitmap& bitmap, const std::wstring& name) {
        try {
            bitmap.LoadFromResourceName(::GetModuleHandleW(nullptr), name);
        } catch (const Exception&) {
            // A program built without the glyphs draws its menus without them.
        }
    };
    return loader;
}

const TPropertyList& TMenuGlyphs::Published() {
    using G = TMenuGlyphs;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .SubObject(L"SubMenu", &G::SubMenu)
        .SubObject(L"Check", &G::Check)
        .SubObject(L"Radio", &G::Radio);
    return list;
}

TMenuGlyphs::TMenuGlyphs(TMenu* menu) : FMenu(menu) { UpdateResources(1.0f); }

TMenuGlyphs::~TMenuGlyphs() = default;

void TMenuGlyphs::UpdateResources(float dpi) {
    const TResType bracket = dpi < 1.5f ? rtx1 : dpi >= 2.0f ? rtx2 : rtx15;
    if (bracket == FResType && FSubMenu) return;
    FResType = bracket;
    const wchar_t* suffix = bracket == rtx15 ? L"x15" : bracket == rtx2 ? L"x20" : L"";
    const auto load = [&](std::unique_ptr<TBitmap>& glyph, const wchar_t* name) {
        auto bitmap = std::make_unique<TBitmap>();
        GlyphLoader()(*bitmap, std::wstring(name) + suffix);
        bitmap->SetTransparent(true);
        glyph = std::move(bitmap);
    };
    load(FSubMenu, L"ADVSUBMENUITEM");
    load(FCheck, L"ADVCHECKITEM");
    load(FRadio, L"ADVRADIOITEM");
}

void TMenuGlyphs::SetGlyph(std::unique_ptr<TBitmap>& glyph, const TBitmap* value) {
    glyph->Assign(value);
    glyph->SetTransparent(true);
    NotifyMenuChanged(StyledMenu(FMenu), false, false);
}

void TMenuGlyphs::SetSubMenu(const TBitmap* value) { SetGlyph(FSubMenu, value); }
void TMenuGlyphs::SetCheck(const TBitmap* value) { SetGlyph(FCheck, value); }
void TMenuGlyphs::SetRadio(const TBitmap* value) { SetGlyph(FRadio, value); }

void TMenuGlyphs::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TMenuGlyphs*>(source);
    if (!from) return;
    FSubMenu->Assign(from->FSubMenu.get());
    FCheck->Assign(from->FCheck.get());
    FRadio->Assign(from->FRadio.get());
}

// ---------------------------------------------------------------- TButtonAppearance

const TPropertyList& TButtonAppearance::Published() {
    using A = TButtonAppearance;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Colour(L"Color", &A::Color, &A::SetColor, clNone)
        .Colour(L"ColorTo", &A::ColorTo, &A::SetColorTo, clNone)
        .Colour(L"DownColor", &A::DownColor, &A::SetDownColor, 0xB59285)
        .Colour(L"DownColorTo", &A::DownColorTo, &A::SetDownColorTo, clNone)
        .Colour(L"HoverColor", &A::HoverColor, &A::SetHoverColor, 0xD2BDB6)
        .Colour(L"HoverColorTo", &A::HoverColorTo, &A::SetHoverColorTo, clNone)
        .Enum(L"GradientDirection", &A::GradientDirection, &A::SetGradientDirection, gdVertical)
        .Colour(L"BorderColor", &A::BorderColor, &A::SetBorderColor, clNone)
        .Colour(L"DownBorderColor", &A::DownBorderColor, &A::SetDownBorderColor, 0x6A240A)
        .Colour(L"HoverBorderColor", &A::HoverBorderColor, &A::SetHoverBorderColor, 0x6A240A)
        .SubObject(L"CaptionFont", &A::CaptionFont)
        .Add(L"UseSystemFont", &A::UseSystemFont, &A::SetUseSystemFont, true);
    return list;
}

TButtonAppearance::TButtonAppearance() : FCaptionFont(std::make_unique<TFont>()) { ApplySystemFontName(); }

TButtonAppearance::~TButtonAppearance() = default;

void TButtonAppearance::SetCaptionFont(const TFont* value) {
    FCaptionFont->Assign(value);
    Changed();
}

// "Segoe UI" where the system has it (Vista on), else "Tahoma".
void TButtonAppearance::ApplySystemFontName() {
    FCaptionFont->SetName(AdvStyleIF::IsVistaOrLater() ? L"Segoe UI" : L"Tahoma");
}

void TButtonAppearance::SetUseSystemFont(bool value) {
    if (value == FUseSystemFont) return;
    FUseSystemFont = value;
    if (value) ApplySystemFontName();
}

void TButtonAppearance::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TButtonAppearance*>(source);
    if (!from) return;
    FColor = from->FColor;
    FColorTo = from->FColorTo;
    FHoverColor = from->FHoverColor;
    FHoverColorTo = from->FHoverColorTo;
    FDownColor = from->FDownColor;
    FDownColorTo = from->FDownColorTo;
    FGradientDirection = from->FGradientDirection;
    FBorderColor = from->FBorderColor;
    FHoverBorderColor = from->FHoverBorderColor;
    FDownBorderColor = from->FDownBorderColor;
}

// ---------------------------------------------------------------- TCustomAdvMenuStyler

TCustomAdvMenuStyler::TCustomAdvMenuStyler(TComponent* owner) : TComponent(owner) {
    FSideBar = std::make_unique<TSideBar>();
    FBackground = std::make_unique<TBackground>();
    FIconBar = std::make_unique<TIconBar>();
    FSelectedItem = std::make_unique<TSelectedItem>();
    FRootItem = std::make_unique<TRootItem>();
    FGlyphs = std::make_unique<TMenuGlyphs>();
    FSeparator = std::make_unique<TSeparator>();
    FFont = MenuFont(-12, Screen->MenuFont()->Color());
    FBackgroundBitmap = std::make_unique<TBitmap>();
    FNotesFont = NotesFontFrom(TColor(0x808080));
    FButtonAppearance = std::make_unique<TButtonAppearance>();
}

TCustomAdvMenuStyler::~TCustomAdvMenuStyler() = default;

void TCustomAdvMenuStyler::SetMenu(TMenu* value) {
    if (FMenu && FMenu != value) FMenu->RemoveFreeNotification(this);
    FMenu = value;
    if (value) value->FreeNotification(this);
    FBackground->SetMenu(value);
    FIconBar->SetMenu(value);
    FSelectedItem->SetMenu(value);
    FRootItem->SetMenu(value);
    FGlyphs->SetMenu(value);
    FSideBar->SetMenu(value);
    FSeparator->SetMenu(value);
    NoticeMenu();
}

void TCustomAdvMenuStyler::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FMenu && component) SetMenu(nullptr);
}

void TCustomAdvMenuStyler::RefreshMenu() const { NotifyMenuChanged(StyledMenu(FMenu), true, false); }
void TCustomAdvMenuStyler::NoticeMenu() const { NotifyMenuChanged(StyledMenu(FMenu), false, false); }

void TCustomAdvMenuStyler::SetAntiAlias(AdvGDIP::TAntiAlias value) {
    FAntiAlias = value;
    RefreshMenu();
}

void TCustomAdvMenuStyler::SetBackground(const TBackground* value) {
    FBackground->Assign(value);
    NoticeMenu();
}

void TCustomAdvMenuStyler::SetIconBar(const TIconBar* value) {
    FIconBar->Assign(value);
    NoticeMenu();
}

void TCustomAdvMenuStyler::SetSelectedItem(const TSelectedItem* value) {
    FSelectedItem->Assign(value);
    NoticeMenu();
}

void TCustomAdvMenuStyler::SetRootItem(const TRootItem* value) {
    FRootItem->Assign(value);
    NoticeMenu();
}

void TCustomAdvMenuStyler::SetGlyphs(const TMenuGlyphs* value) {
    FGlyphs->Assign(value);
    NoticeMenu();
}

void TCustomAdvMenuStyler::SetSideBar(const TSideBar* value) {
    FSideBar->Assign(value);
    RefreshMenu();
}

void TCustomAdvMenuStyler::SetSeparator(const TSeparator* value) {
    FSeparator->Assign(value);
    NoticeMenu();
}

void TCustomAdvMenuStyler::SetFont(const TFont* value) {
    FFont->Assign(value);
    RefreshMenu();
}

void TCustomAdvMenuStyler::SetNotesFont(const TFont* value) {
    FNotesFont->Assign(value);
    RefreshMenu();
}

void TCustomAdvMenuStyler::SetUseSystemFont(bool value) {
    FUseSystemFont = value;
    RefreshMenu();
}

void TCustomAdvMenuStyler::SetButtonAppearance(const TButtonAppearance* value) { FButtonAppearance->Assign(value); }

void TCustomAdvMenuStyler::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TCustomAdvMenuStyler*>(source);
    if (!from) return;
    FBackground->Assign(from->FBackground.get());
    FIconBar->Assign(from->FIconBar.get());
    FSelectedItem->Assign(from->FSelectedItem.get());
    FRootItem->Assign(from->FRootItem.get());
    FGlyphs->Assign(from->FGlyphs.get());
    FSideBar->Assign(from->FSideBar.get());
    FSeparator->Assign(from->FSeparator.get());
    FFont->Assign(from->FFont.get());
    FNotesFont->Assign(from->FNotesFont.get());
    SetUseSystemFont(from->FUseSystemFont);
}

// ---------------------------------------------------------------- TAdvMenuStyler

const TPropertyList& TAdvMenuStyler::Published() {
    using S = TAdvMenuStyler;
    static const TPropertyList list = TPropertyList::Extend(TCustomAdvMenuStyler::Published())
        .Enum(L"AntiAlias", L"TAntiAlias", &S::AntiAlias, &S::SetAntiAlias, {L"aaNone", L"aaClearType", L"aaAntiAlias"},
              AdvGDIP::aaNone)
        .Stored(L"AntiAlias", true)
        .SubObject(L"Background", &S::Background)
        .SubObject(L"IconBar", &S::IconBar)
        .SubObject(L"SelectedItem", &S::SelectedItem)
        .SubObject(L"RootItem", &S::RootItem)
        .SubObject(L"Glyphs", &S::Glyphs)
        .SubObject(L"SideBar", &S::SideBar)
        .SubObject(L"Separator", &S::Separator)
        .SubObject(L"Font", &S::Font)
        .SubObject(L"NotesFont", &S::NotesFont)
        .Add(L"UseSystemFont", &S::UseSystemFont, &S::SetUseSystemFont, true)
        .Colour(L"MenuBorderColor", &S::MenuBorderColor, &S::SetMenuBorderColor, 0x7C7C94)
        .SubObject(L"ButtonAppearance", &S::ButtonAppearance);
    return list;
}

}  // namespace AdvMenus
