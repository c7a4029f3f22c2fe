#include "menus/AdvMenuPaint.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

#include "classlib/Actions.h"
#include "classlib/Canvas.h"
#include "classlib/Control.h"
#include "classlib/Form.h"
#include "classlib/GdiObjects.h"
#include "classlib/GdiScopes.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"
#include "controls/AdvOfficeStatusBar.h"
#include "graphics/AdvGDIP.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvMenuDraw.h"
#include "menus/AdvMenuStartup.h"
#include "menus/AdvMenuUtilDraw.h"
#include "menus/AdvMenus.h"

namespace AdvMenus {

using namespace ClassLib;

namespace {

constexpr TShortCut WinKeyBit = 0x200;
// Notes follow the caption after the two characters backslash and n.
const std::wstring NotesSeparator = L"\\n";

TMenu* MenuOf(const TMenuItem* item) { return item ? item->GetParentMenu() : nullptr; }

float ScaleOf(const TMenuItem* item) {
    const float scale = MenuPaintSeams().MenuScale(MenuOf(item));
    return scale > 0 ? scale : 1.0f;
}

int Scaled(int value, float scale) { return RoundEven(double(value) * scale); }

std::vector<std::wstring> SplitNotes(const std::wstring& caption) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t at = caption.find(NotesSeparator); at != std::wstring::npos;
         at = caption.find(NotesSeparator, start)) {
        parts.push_back(caption.substr(start, at - start));
        start = at + NotesSeparator.size();
    }
    parts.push_back(caption.substr(start));
    return parts;
}

bool ShowsNotes(const TMenuItem* item, IAdvMenuEx* menu) {
    return menu && menu->GetShowNotes() && item->Caption().find(NotesSeparator) != std::wstring::npos;
}

// The caption part of the item's text: up to the first notes line when notes show.
std::wstring CaptionText(const TMenuItem* item, IAdvMenuEx* menu) {
    return ShowsNotes(item, menu) ? SplitNotes(item->Caption()).front() : item->Caption();
}

const TMenuItem* FirstVisibleChild(const TMenuItem* parent) {
    for (int i = 0; parent && i < parent->Count(); ++i)
        if (parent->Items(i)->Visible()) return parent->Items(i);
    return nullptr;
}

// The system menu that shows `item` (its parent's, or the menu bar for a top-level item).
HMENU ParentHandle(TMenuItem* item) {
    TMenuItem* parent = item->Parent();
    return parent ? parent->Handle() : nullptr;
}

// Text drawn on the canvas's DC in the canvas font and its colour, on a clear background.
int CanvasDrawText(TCanvas* canvas, const std::wstring& text, TRect& r, UINT format) {
    HDC dc = canvas->Handle();
    TSelection font(dc, canvas->Font()->Handle());
    ::SetTextColor(dc, COLORREF(ColorToRGB(canvas->Font()->Color())));
    const int mode = ::SetBkMode(dc, TRANSPARENT);
    RECT box = ToRECT(r);
    const int height = ::DrawTextW(dc, text.c_str(), int(text.size()), &box, format);
    ::SetBkMode(dc, mode);
    r = FromRECT(box);
    return height;
}

int CanvasTextHeight(TCanvas* canvas, const std::wstring& text) {
    HDC dc = canvas->Handle();
    TSelection font(dc, canvas->Font()->Handle());
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    return size.cy;
}

int CanvasTextWidth(TCanvas* canvas, const std::wstring& text) {
    HDC dc = canvas->Handle();
    TSelection font(dc, canvas->Font()->Handle());
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    return size.cx;
}

// A font given in pixels grows with the menu's scale; one given in points already has the
// screen's size (scaling it again would make the notes font outgrow the caption's).
void ScaleFont(TFont* font, float scale) {
    if (!font->PointSized()) font->SetHeight(RoundEven(font->Height() * double(scale)));
}

void FillSolid(TCanvas* canvas, const TRect& r, TColor colour) {
    if (colour == clNone || r.IsEmpty()) return;
    HDC dc = canvas->Handle();
    const COLORREF old = ::SetBkColor(dc, COLORREF(ColorToRGB(colour)));
    const RECT box = ToRECT(r);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

void DrawLine(TCanvas* canvas, int x1, int y1, int x2, int y2, TColor colour) {
    if (colour == clNone) return;
    canvas->Pen()->SetColor(colour);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

void FrameBox(TCanvas* canvas, const TRect& r, TColor colour) {
    if (colour == clNone || r.IsEmpty()) return;
    FillSolid(canvas, {r.Left, r.Top, r.Right, r.Top + 1}, colour);
    FillSolid(canvas, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, colour);
    FillSolid(canvas, {r.Left, r.Top, r.Left + 1, r.Bottom}, colour);
    FillSolid(canvas, {r.Right - 1, r.Top, r.Right, r.Bottom}, colour);
}

// A layout key name, first letter as given, the rest lower case, and the letter after a
// "(" upper case.
std::wstring KeyName(unsigned key) {
    const UINT scanCode = ::MapVirtualKeyW(key, 0);
    const bool plain = key == VK_BACK || key == VK_RETURN || key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU;
    wchar_t buffer[256] = {};
    LONG code = LONG(scanCode << 16);
    if (!plain) code |= 0x1000000;
    int length = ::GetKeyNameTextW(code, buffer, 255);
    // Wine: a key without an extended form (Space, Esc, Tab) has no name with the
    // extended bit; its name without it is the right one.
    if (length <= 0 && !plain) length = ::GetKeyNameTextW(LONG(scanCode << 16), buffer, 255);
    std::wstring name(buffer, size_t(std::max(length, 0)));
    for (size_t i = 1; i < name.size(); ++i) {
        if (name[i - 1] == L'(') ::CharUpperBuffW(&name[i], 1);
        else ::CharLowerBuffW(&name[i], 1);
    }
    return name;
}

// The screen's menu font at the menu's scale: its pixels are the screen's already.
void AssignSystemMenuFont(TFont* target, float scale) {
    target->Assign(Screen->MenuFont());
    target->SetHeight(RoundEven(double(scale) * Screen->MenuFont()->Height() / GetMenuDPIScale()));
}

// The font of the item's text (the menu-bar, popup or selected font, or the screen's menu
// font), scaled, bold for the default item, in the colour the state asks for.
void SelectTextFont(TCanvas* canvas, const TMenuItem* item, TCustomAdvMenuStyler* styler, TOwnerDrawState state,
                    float scale) {
    const bool bar = IsMenuBarItem(item);
    const bool selected = !bar && (state & odSelected);
    const TFont* font = bar ? styler->RootItem()->Font() : selected ? styler->SelectedItem()->Font() : styler->Font();
    const bool useSystem = bar ? styler->RootItem()->UseSystemFont()
                               : selected ? styler->SelectedItem()->UseSystemFont() : styler->UseSystemFont();
    TFont* target = canvas->Font();
    if (useSystem) {
        AssignSystemMenuFont(target, scale);
    } else {
        target->Assign(font);
        ScaleFont(target, scale);
    }
    if (item->Default()) target->SetStyle(target->Style() + fsBold);
    if (bar) {
        if ((state & odSelected) && styler->RootItem()->SelectedTextColor() != clNone)
            target->SetColor(styler->RootItem()->SelectedTextColor());
        else if ((state & odHotLight) && styler->RootItem()->HoverTextColor() != clNone)
            target->SetColor(styler->RootItem()->HoverTextColor());
    }
    if (!item->Enabled()) target->SetColor(clBtnShadow);
}

void SelectNotesFont(TCanvas* canvas, const TMenuItem* item, TCustomAdvMenuStyler* styler, TOwnerDrawState state,
                     float scale) {
    canvas->Font()->Assign((state & odSelected) ? styler->SelectedItem()->NotesFont() : styler->NotesFont());
    ScaleFont(canvas->Font(), scale);
    if (!item->Enabled()) canvas->Font()->SetColor(clBtnShadow);
}

// GDI+ text for anti-aliased captions: one line, the hot-key prefix shown.
void DrawSmoothText(TCanvas* canvas, const std::wstring& text, const TFont* font, TColor colour, const TRect& r,
                    AdvGDIP::TAntiAlias antiAlias, bool bold, Gdiplus::StringAlignment horizontal,
                    Gdiplus::StringAlignment vertical) {
    using namespace AdvGDIP;
    TGPGraphics graphics(canvas->Handle());
    graphics.SetTextRenderingHint(antiAlias == aaClearType ? Gdiplus::TextRenderingHintClearTypeGridFit
                                                           : Gdiplus::TextRenderingHintAntiAlias);
    TGPFont gpFont(font->Name(), float(font->Size()), bold ? TFontStyles{fsBold} : TFontStyles{});
    TGPStringFormat format;
    format.SetFormatFlags(0x1000);
    format.SetHotkeyPrefix(Gdiplus::HotkeyPrefixShow);
    format.SetAlignment(horizontal);
    format.SetLineAlignment(vertical);
    TGPSolidBrush brush(ColorToOpaqueARGB(colour));
    graphics.DrawString(text, &gpFont, TGPRectF(float(r.Left), float(r.Top), float(r.Width()), float(r.Height())),
                        &format, &brush);
}

float SmoothLineHeight(TCanvas* canvas, const TFont* font) {
    using namespace AdvGDIP;
    TGPGraphics graphics(canvas->Handle());
    TGPFont gpFont(font->Name(), float(font->Size()), TFontStyles{});
    TGPRectF box;
    graphics.MeasureString(L"gh", 2, &gpFont, TGPRectF(0, 0, 1000, 1000), box);
    return float(RoundEven(box.Height));
}

// The text of an item: caption (and notes) or shortcut, measured with DT_CALCRECT.
void DrawMenuItemText(TMenuItem* item, TCanvas* canvas, const std::wstring& text, UINT format, TOwnerDrawState state,
                      TRect& r) {
    IAdvMenuEx* menu = StyledMenuOf(item);
    TCustomAdvMenuStyler* styler = menu->GetCurrentStyler();
    const float scale = ScaleOf(item);
    const bool bar = IsMenuBarItem(item);
    if (menu->GetBiDiMode() != bdLeftToRight) format |= DT_RIGHT | DT_RTLREADING;
    BOOL cues = TRUE;
    if (::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0) && !cues && !IsKeyDown(VK_MENU)) format |= DT_HIDEPREFIX;
    SelectTextFont(canvas, item, styler, state, scale);
    if (format & DT_CALCRECT) {
        const std::wstring measured = text.empty() || text == L"&" ? text + L" " : text;
        CanvasDrawText(canvas, measured, r, format);
        return;
    }
    const bool smooth = styler->AntiAlias() != AdvGDIP::aaNone && AdvOfficeStatusBar::IsOutlineFont(canvas);
    if (ShowsNotes(item, menu) && text.find(NotesSeparator) != std::wstring::npos) {
        const std::vector<std::wstring> lines = SplitNotes(text);
        if (!smooth) {
            TRect line = r;
            CanvasDrawText(canvas, lines.front(), line, DT_SINGLELINE);
            int y = r.Top + CanvasTextHeight(canvas, L"gh");
            SelectNotesFont(canvas, item, styler, state, scale);
            const int step = CanvasTextHeight(canvas, L"gh");
            for (size_t i = 1; i < lines.size(); ++i, y += step) {
                TRect note{r.Left, y, r.Right, y + step};
                CanvasDrawText(canvas, lines[i], note, DT_SINGLELINE);
            }
            return;
        }
        TFont captionFont;
        captionFont.Assign(canvas->Font());
        DrawSmoothText(canvas, lines.front(), &captionFont, captionFont.Color(), r, styler->AntiAlias(), false,
                       Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
        SelectNotesFont(canvas, item, styler, state, scale);
        const float step = SmoothLineHeight(canvas, canvas->Font());
        float y = float(r.Top + 20);
        for (size_t i = 1; i < lines.size(); ++i, y += step)
            DrawSmoothText(canvas, lines[i], canvas->Font(), canvas->Font()->Color(),
                           {r.Left, int(y), r.Right, int(y + step)}, styler->AntiAlias(), false,
                           Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentNear);
        return;
    }
    if (smooth) {
        const auto horizontal = bar ? Gdiplus::StringAlignmentCenter
                                    : (format & DT_RIGHT) ? Gdiplus::StringAlignmentFar : Gdiplus::StringAlignmentNear;
        DrawSmoothText(canvas, text, canvas->Font(), canvas->Font()->Color(), r, styler->AntiAlias(), item->Default(),
                       horizontal, Gdiplus::StringAlignmentCenter);
        return;
    }
    const size_t tab = text.find(L'\t');
    if (tab == std::wstring::npos) {
        CanvasDrawText(canvas, text, r, format);
        return;
    }
    // A caption with a tab: the part after it right-aligned, as a shortcut text.
    TRect before = r;
    if (menu->GetBiDiMode() != bdLeftToRight) {
        TRect itemRect = r;
        if (auto* form = dynamic_cast<TCustomForm*>(MenuOf(item)->Owner()); form && form->HandleAllocated())
            if (auto rect = MenuEntryRect(form->Handle(), ParentHandle(item), MenuEntryPosition(ParentHandle(item), item->Command())))
                itemRect = *rect;
        before.Right = itemRect.Width() - 20;
    } else {
        before.Right -= 30;
        if (item->Count() > 0) before.Right -= 10;
    }
    CanvasDrawText(canvas, text.substr(0, tab), before, format);
    TRect after = r;
    CanvasDrawText(canvas, text.substr(tab + 1), after, format | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}

void DrawMenuSeparator(TMenuItem* item, TCanvas* canvas, TRect r, TCustomAdvMenuStyler* styler) {
    const TSeparator* separator = styler->Separator();
    r.Left += RoundEven(GetMenuDPIScale() * styler->IconBar()->Size());
    const int middle = r.Top + r.Height() / 2;
    const TRect line{r.Left, middle - separator->Width() / 2, r.Right, middle + (separator->Width() + 1) / 2};
    (void)item;
    DrawGradientLine(nullptr, canvas, line, separator->Margin(), separator->GradientWidth(), separator->GradientType(),
                     separator->GradientDirection(), separator->ColorTo(), separator->Color());
}

void DrawSideBarCaption(TCanvas* canvas, const TRect& s, const TSideBar* sideBar) {
    if (sideBar->Caption().empty()) return;
    canvas->Font()->Assign(sideBar->Font());
    HFONT rotated = AdvMenuUtil::CreateRotatedFont(*sideBar->Font(), sideBar->Direction() == dDownToUp ? 90 : -90);
    if (!rotated) return;
    HDC dc = canvas->Handle();
    const std::wstring& caption = sideBar->Caption();
    {
        TSelection selected(dc, rotated);
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, caption.c_str(), int(caption.size()), &extent);
        const int tw = extent.cx, th = extent.cy;
        int x = RoundEven((RoundEven(sideBar->Size() * double(GetMenuDPIScale())) - th) / 2.0 - 0.5);
        const bool downToUp = sideBar->Direction() == dDownToUp;
        const TAlignment alignment = sideBar->Alignment();
        int y = 0;
        if (alignment == taCenter) {
            y = RoundEven((s.Height() + tw) / 2.0 - 0.5);
        } else if ((alignment == taRightJustify) == downToUp) {
            y = sideBar->OffsetY() + tw;
        } else {
            y = s.Height() - sideBar->OffsetY();
            const TBackgroundPosition position = sideBar->Image()->Position();
            if (sideBar->Image()->HasImage() && (position == bpBottomLeft || position == bpBottomRight))
                y -= sideBar->Image()->Image()->Height();
        }
        if (!downToUp) {
            y -= tw;
            x += th + 1;
        }
        x += s.Left;
        y += s.Top;
        const RECT clip{s.Left, s.Top, s.Right, s.Bottom + 1};
        ::SetBkMode(dc, TRANSPARENT);
        const int depth = sideBar->Depth();
        auto out = [&](int atX, int atY, TColor colour) {
            ::SetTextColor(dc, COLORREF(ColorToRGB(colour)));
            ::ExtTextOutW(dc, atX, atY, ETO_CLIPPED, &clip, caption.c_str(), UINT(caption.size()), nullptr);
        };
        if (sideBar->HighlightColor() != clNone) out(x - depth, y + depth, sideBar->HighlightColor());
        if (sideBar->ShadowColor() != clNone) out(x + depth, y - depth, sideBar->ShadowColor());
        out(x, y, sideBar->Font()->Color());
        ::SetBkMode(dc, OPAQUE);
    }
    ::DeleteObject(rotated);
}

// The bar behind a menu-bar item; the last item of a row paints on to the window's edge.
bool IsLastMenuBarItemOnRow(TMenuItem* item, HWND window) {
    TMenu* menu = MenuOf(item);
    HMENU bar = menu->Handle();
    const TMenuItem* next = nullptr;
    for (int i = item->MenuIndex() + 1; i < item->Parent()->Count() && !next; ++i)
        if (item->Parent()->Items(i)->Visible()) next = item->Parent()->Items(i);
    if (next) {
        const auto mine = MenuEntryRect(window, bar, MenuEntryPosition(bar, item->Command()));
        const auto following = MenuEntryRect(window, bar, MenuEntryPosition(bar, next->Command()));
        if (mine && following) return following->Top != mine->Top;
    }
    HMENU shown = ::GetMenu(window);
    for (int i = ::GetMenuItemCount(shown) - 1; i >= 0; --i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(shown, UINT(i), TRUE, &info) || !(info.fType & MFT_OWNERDRAW)) continue;
        return info.wID == item->Command() || (info.hSubMenu && info.hSubMenu == item->Handle());
    }
    return false;
}

// The maximised MDI child of the frame or child form that owns `menu`, or null.
HWND MaximisedMDIChild(TCustomForm* form) {
    if (!form || !form->HandleAllocated()) return nullptr;
    HWND client = form->FormStyle() == fsMDIForm ? form->ClientHandle()
                  : form->FormStyle() == fsMDIChild ? ::GetParent(form->Handle()) : nullptr;
    if (!client) return nullptr;
    BOOL maximised = FALSE;
    auto active = reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
    return active && maximised ? active : nullptr;
}

void PaintMenuBarBackground(TMenuItem* item, TCanvas* canvas, const TRect& r, TCustomAdvMenuStyler* styler) {
    TMenu* menu = MenuOf(item);
    auto* form = dynamic_cast<TCustomForm*>(menu->Owner());
    HWND window = menu->WindowHandle();
    if (form && form->FormStyle() == fsMDIChild && form->HandleAllocated())
        window = ::GetParent(::GetParent(form->Handle()));
    if (!window || !::IsWindow(window)) return;
    RECT client{}, frame{};
    ::GetClientRect(window, &client);
    ::GetWindowRect(window, &frame);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    TRect c = FromRECT(client);
    c.Offset(origin.x - frame.left, origin.y - frame.top);
    c.Top = r.Top;
    c.Bottom = r.Bottom;
    TRect area = r;
    TRect gradient = c;
    gradient.Right += 100;
    if (IsLastMenuBarItemOnRow(item, window)) {
        area.Right = c.Right;
        if (HWND child = MaximisedMDIChild(form)) {
            const LONG style = ::GetWindowLongW(child, GWL_STYLE);
            for (LONG icon : {LONG(WS_SYSMENU), LONG(WS_MINIMIZEBOX), LONG(WS_MAXIMIZEBOX)})
                if (style & icon) area.Right -= ::GetSystemMetrics(SM_CXMENUSIZE);
        }
        HWND drawnOn = ::WindowFromDC(canvas->Handle());
        if (drawnOn && drawnOn != window) {
            RECT other{};
            ::GetClientRect(drawnOn, &other);
            area.Right = other.right;
            gradient.Right = std::max(gradient.Right, int(other.right) + 50);
        }
    }
    const TRootItem* root = styler->RootItem();
    FillMenuGradientClipped(nullptr, canvas, gradient, root->GradientDirection(), root->ColorTo(), root->Color(), area);
}

// Where an item's picture comes from, and how it is drawn.
struct TGlyph {
    TCustomImageList* Images = nullptr;
    int Index = -1;
    bool DrawEnabled = true;
    bool FromBitmap = false;
    bool CheckOnly = false;
};

TGlyph FindGlyph(TMenuItem* item, IAdvMenuEx* menu, bool bar) {
    TGlyph glyph;
    TCustomImageList* images = item->GetImageList();
    TCustomImageList* disabledImages = menu->GetDisabledImages();
    const bool large = menu->GetActionImages() == aiLarge;
    const bool enabled = item->Enabled();
    if (images && item->ImageIndex() >= 0 && item->ImageIndex() < images->Count()) {
        glyph.Images = images;
        glyph.Index = item->ImageIndex();
    } else if (auto* action = dynamic_cast<TCustomAction*>(item->Action()); action && action->ActionList()) {
        TCustomActionList* list = action->ActionList();
        auto* manager = dynamic_cast<TCustomActionManager*>(list);
        TCustomImageList* actionImages = large ? (manager ? manager->LargeImages() : nullptr) : list->Images();
        if (actionImages && action->ImageIndex() >= 0 && action->ImageIndex() < actionImages->Count()) {
            glyph.Images = actionImages;
            glyph.Index = action->ImageIndex();
            if (!enabled && manager) {
                TCustomImageList* managerDisabled = large ? manager->LargeDisabledImages() : manager->DisabledImages();
                if (managerDisabled) disabledImages = managerDisabled;
            }
        }
    }
    if (glyph.Images) {
        glyph.DrawEnabled = enabled;
        if (!enabled && disabledImages) {
            glyph.Images = disabledImages;
            glyph.DrawEnabled = true;
        }
        return glyph;
    }
    if (!item->Bitmap()->Empty()) {
        glyph.FromBitmap = true;
        return glyph;
    }
    glyph.CheckOnly = item->Checked() && !bar;
    return glyph;
}

void PaintMenuItem(TMenuItem* item, TCanvas* canvas, TRect r, TOwnerDrawState state, TCustomAdvMenuStyler* styler) {
    IAdvMenuEx* menu = StyledMenuOf(item);
    TMenu* owner = MenuOf(item);
    if (dynamic_cast<TAdvMainMenu*>(owner) && owner->HasState(csDestroying)) return;
    styler->Glyphs()->UpdateResources(GetMenuDPIScale());
    const float scale = ScaleOf(item);
    const int initialWidth = r.Width();
    const bool bar = IsMenuBarItem(item);
    const TRect received = r;

    if (bar) {
        const TRootItem* root = styler->RootItem();
        const bool selected = state & odSelected, hot = state & odHotLight;
        if (selected || hot) {
            if (selected)
                DrawMenuMirrorGradientBox(nullptr, canvas, r, true, root->SelectedBorderColor(),
                                          root->SelectedGradientDirection(), root->SelectedColorMirrorTo(),
                                          root->SelectedColorMirror(), root->SelectedColorTo(), root->SelectedColor());
            else
                DrawMenuMirrorGradientBox(nullptr, canvas, r, true, root->HoverBorderColor(),
                                          root->HoverGradientDirection(), root->HoverColorMirrorTo(),
                                          root->HoverColorMirror(), root->HoverColorTo(), root->HoverColor());
            // Open towards the drop-down.
            if (item->Count() > 0 && ::GetMenuItemCount(item->Handle()) > 0)
                DrawLine(canvas, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1, styler->Background()->Color());
        } else if (root->Color() != clNone) {
            PaintMenuBarBackground(item, canvas, r, styler);
        }
    } else if (state & odSelected) {
        const TSelectedItem* selected = styler->SelectedItem();
        DrawMenuMirrorGradientBox(nullptr, canvas, r, true, selected->BorderColor(), selected->GradientDirection(),
                                  selected->ColorMirrorTo(), selected->ColorMirror(), selected->ColorTo(),
                                  selected->Color());
    }

    UINT alignment = DT_LEFT;
    if (bar) alignment = DT_CENTER;
    else if (auto* popup = dynamic_cast<TPopupMenu*>(owner))
        alignment = popup->Alignment() == paRight ? DT_RIGHT : popup->Alignment() == paCenter ? DT_CENTER : DT_LEFT;

    TRect icon{r.Left, r.Top + 1, r.Left + Scaled(styler->IconBar()->Size(), scale) - 1, r.Bottom - 1};
    const int side = std::min(icon.Width(), icon.Height());
    AdvMenuUtil::CenterSizeInRect(icon, side, side);

    const TGlyph glyph = FindGlyph(item, menu, bar);
    const bool selected = state & odSelected;
    // The mark's square in the selected item's colours or the icon column's (both keep
    // check and radio colours of the same names).
    auto markBox = [&](bool radio) {
        auto paint = [&](const auto* s) {
            const bool fill = !(state & odDisabled);
            if (radio)
                DrawMenuGradientBox(nullptr, canvas, icon, fill, s->RadioBorder(), s->RadioGradientDirection(),
                                    s->RadioColorTo(), s->RadioColor());
            else
                DrawMenuGradientBox(nullptr, canvas, icon, fill, s->CheckBorder(), s->CheckGradientDirection(),
                                    s->CheckColorTo(), s->CheckColor());
        };
        if (selected) paint(styler->SelectedItem());
        else paint(styler->IconBar());
    };
    if (item->Checked()) markBox(false);
    int glyphWidth = 0;
    if (glyph.Images) {
        TRect place = icon;
        AdvMenuUtil::CenterSizeInRect(place, glyph.Images->Width(), glyph.Images->Height());
        if (bar) place.Offset(r.Left + 6 - place.Left, 0);
        glyph.Images->Draw(canvas, place.Left, place.Top, glyph.Index, glyph.DrawEnabled);
        glyphWidth = glyph.Images->Width();
    } else if (glyph.FromBitmap) {
        TBitmap* bitmap = item->Bitmap();
        TRect place = icon;
        AdvMenuUtil::CenterSizeInRect(place, bitmap->Width(), bitmap->Height());
        if (bar) place.Offset(r.Left + 6 - place.Left, 0);
        bitmap->SetTransparentMode(tmAuto);
        bitmap->SetTransparent(true);
        canvas->Draw(place.Left, place.Top, bitmap);
        glyphWidth = bitmap->Width();
    } else if (glyph.CheckOnly) {
        markBox(item->RadioItem());
        TBitmap* mark = item->RadioItem() ? styler->Glyphs()->Radio() : styler->Glyphs()->Check();
        if (mark && !mark->Empty()) {
            TRect place = icon;
            AdvMenuUtil::CenterSizeInRect(place, mark->Width(), mark->Height());
            // A one-bit glyph prints in the text colour of the DC.
            ::SetTextColor(canvas->Handle(), COLORREF(ColorToRGB(clBtnText)));
            canvas->Font()->SetColor(clBtnText);
            canvas->Draw(place.Left, place.Top, mark);
        }
        if (selected) FrameBox(canvas, r, styler->SelectedItem()->BorderColor());
    }

    // The sub-menu arrow.
    const bool rightToLeft = menu->GetBiDiMode() != bdLeftToRight;
    if (!bar && item->Count() > 0 && !HasBreakAtOrAfter(item) &&
        !(rightToLeft && ::GetSystemMetrics(SM_MIDEASTENABLED))) {
        TRect area = alignment == DT_RIGHT ? TRect{r.Left + 5, r.Top, r.Left + 8, r.Bottom}
                                           : TRect{r.Right - 8, r.Top, r.Right - 5, r.Bottom};
        if (menu->GetMenuStyler()) {
            TBitmap* arrow = styler->Glyphs()->SubMenu();
            if (arrow && !arrow->Empty()) {
                AdvMenuUtil::CenterSizeInRect(area, arrow->Width(), arrow->Height());
                ::SetTextColor(canvas->Handle(), COLORREF(ColorToRGB(clBtnText)));
                canvas->Draw(area.Left, area.Top, arrow);
            }
        } else {
            SelectTextFont(canvas, item, styler, state, scale);
            TRect text{r.Right - CanvasTextWidth(canvas, L"> "), r.Top, r.Right, r.Bottom};
            CanvasDrawText(canvas, L">", text, DT_SINGLELINE | DT_VCENTER);
        }
    }

    if (!bar) r.Left += Scaled(styler->IconBar()->Size(), scale) + 8;
    else r.Left += glyphWidth;
    UINT format = alignment | DT_SINGLELINE | DT_EXPANDTABS;
    const std::wstring caption = CaptionText(item, menu);
    TRect centred = r;
    if (!ShowsNotes(item, menu)) {
        TRect measured = r;
        DrawMenuItemText(item, canvas, caption, format | DT_CALCRECT | DT_NOCLIP, state, measured);
        const int height = measured.Height();
        centred.Top = received.Top + (received.Height() - height) / 2;
        centred.Bottom = centred.Top + height;
        // A left-aligned caption may run on to the item's full width; a right-aligned,
        // centred or right-to-left one is placed in the item's own width.
        if (menu->GetBiDiMode() == bdLeftToRight && alignment == DT_LEFT) centred.Right = centred.Left + initialWidth;
        DrawMenuItemText(item, canvas, caption, format, state, centred);
    } else {
        DrawMenuItemText(item, canvas, item->Caption(), format, state, centred);
    }
    if (!bar && item->ShortCut()) {
        TRect shortCut = centred;
        shortCut.Right = received.Right - 10;
        DrawMenuItemText(item, canvas, ShortCutToMenuText(item->ShortCut(), menu->GetIntlKeybShortCuts()), DT_RIGHT,
                         state, shortCut);
    }
}

// What a popup's background picture was last rendered from, per cache bitmap.
struct TBackgroundKey {
    int Width = 0, Height = 0;
    const TGraphic* Picture = nullptr;
    TBackgroundPosition Position = bpCenter;
    int OffsetX = 0, OffsetY = 0, MarginX = 0, MarginY = 0;
    TColor Color = clNone, ColorTo = clNone;
    TGradientDirection Direction = gdVertical;
    bool operator==(const TBackgroundKey&) const = default;
};
std::map<const TBitmap*, TBackgroundKey>& RenderedBackgrounds() {
    static std::map<const TBitmap*, TBackgroundKey> keys;
    return keys;
}

// The popup's whole item area in the item rectangle's coordinates, without the strip.
TRect PopupArea(TMenuItem* item, TCanvas* canvas, const TRect& r) {
    HMENU menu = ParentHandle(item);
    HWND window = ::WindowFromDC(canvas->Handle());
    const int count = menu ? ::GetMenuItemCount(menu) : 0;
    TRect area;
    for (int i = 0; i < count; ++i)
        if (auto rect = MenuEntryRect(window, menu, i)) area = UnionRect(area, *rect);
    const auto own = MenuEntryRect(window, menu, MenuEntryPosition(menu, item->Command()));
    if (area.IsEmpty() || !own) {
        TRect alone = r;
        alone.Right += MenuExtraWidth;
        return alone;
    }
    // Where the system's rectangles and the item's drawing rectangle differ in origin
    // (the popup's border), the item's own rectangle ties the two together.
    area.Offset(r.Left - own->Left, r.Top - own->Top);
    area.Right -= MenuExtraWidth;
    return area;
}

void PaintPopupBackdrop(TMenuItem* item, TCanvas* canvas, const TRect& r, const TRect& r2, bool sideBar,
                        int extraBottom, TCustomAdvMenuStyler* styler) {
    const float scale = ScaleOf(item);
    const TRect p = PopupArea(item, canvas, r);
    TSideBar* bar = styler->SideBar();
    if (sideBar && IsFirstVisibleItem(item)) {
        bar->SetPopupHeight(p.Height());
        const int width = Scaled(bar->Size(), scale) + bar->SplitterWidth();
        TRect s = p;
        if (bar->Position() == spLeft) s.Right = s.Left + width;
        else s.Left = s.Right - width;
        DrawMenuBackground(canvas, s, *bar->Background(), true);
        if (bar->Image()->Color() != clNone && bar->Image()->HasImage()) DrawMenuBackground(canvas, s, *bar->Image(), true);
        DrawSideBarCaption(canvas, s, bar);
        if (bar->BorderColor() != clNone) {
            TRect border = s;
            if (bar->Position() == spLeft) border.Right -= bar->SplitterWidth();
            else border.Left += bar->SplitterWidth();
            FrameBox(canvas, border, bar->BorderColor());
        }
        if (bar->SplitterColor() != clNone) {
            const TRect splitter = bar->Position() == spLeft ? TRect{s.Right - bar->SplitterWidth(), s.Top, s.Right, s.Bottom}
                                                             : TRect{s.Left, s.Top, s.Left + bar->SplitterWidth(), s.Bottom};
            DrawGradientLine(nullptr, canvas, splitter, bar->SplitterMargin(), bar->SplitterGradientWidth(),
                             bar->SplitterGradientType(), gdVertical, bar->SplitterColorTo(), bar->SplitterColor());
        }
    }
    const TIconBar* iconBar = styler->IconBar();
    const TRect icons{r2.Left, p.Top, r2.Left + Scaled(iconBar->Size(), scale), p.Bottom};
    FillMenuGradientClipped(nullptr, canvas, icons, iconBar->GradientDirection(), iconBar->ColorTo(), iconBar->Color(), r2);
    if (iconBar->SeparatorColor() != clNone)
        FillSolid(canvas, {icons.Right - 1, std::max(icons.Top, r2.Top), icons.Right, std::min(icons.Bottom, r2.Bottom + extraBottom)},
                  iconBar->SeparatorColor());

    TBackground* background = styler->Background();
    TRect b = r2;
    b.Left = icons.Right;
    TRect full{icons.Right, p.Top, r2.Right, p.Bottom};
    if (background->MarginX() > 0 || background->MarginY() > 0) {
        FillSolid(canvas, b, background->Color());
        b.Inflate(-background->MarginX(), -background->MarginY());
    }
    b.Bottom += extraBottom;
    full.Bottom += extraBottom;
    const bool picture = background->HasImage() && !b.IsEmpty();
    // With a picture the cache holds the gradient too, over the popup's items; the strip
    // below the last item gets the gradient alone.
    const TRect gradientPart = picture ? TRect{b.Left, std::max(b.Top, p.Bottom), b.Right, b.Bottom} : b;
    FillMenuGradientClipped(nullptr, canvas, full, background->GradientDirection(), background->ColorTo(),
                            background->Color(), gradientPart);
    if (picture) {
        TBitmap* cache = styler->BackgroundBitmap();
        const TBackgroundKey key{p.Width(), p.Height(), background->Image()->Graphic(), background->Position(),
                                 background->OffsetX(), background->OffsetY(), background->MarginX(),
                                 background->MarginY(), background->Color(), background->ColorTo(),
                                 background->GradientDirection()};
        TBackgroundKey& rendered = RenderedBackgrounds()[cache];
        if (!(rendered == key) || cache->Width() != p.Width() || cache->Height() != p.Height()) {
            cache->SetPixelFormat(pf32bit);
            cache->SetSize(p.Width(), p.Height());
            // With its gradient: the picture need not cover the whole popup.
            DrawMenuBackground(cache->Canvas(), {0, 0, p.Width(), p.Height()}, *background, true);
            rendered = key;
        }
        TRect inside;
        if (ClassLib::IntersectRect(inside, b, p)) {
            TRect source = inside;
            source.Offset(-p.Left, -p.Top);
            const TCopyMode mode = canvas->CopyMode();
            canvas->SetCopyMode(cmSrcCopy);
            canvas->CopyRect(inside, cache->Canvas(), source);
            canvas->SetCopyMode(mode);
        }
    }
}

}  // namespace

int RoundEven(double value) { return int(std::nearbyint(value)); }

std::optional<TRect> MenuEntryRect(HWND window, HMENU menu, int position) {
    RECT rect{};
    if (position < 0 || !MenuPaintSeams().MenuItemRect(window, menu, UINT(position), rect)) return std::nullopt;
    return FromRECT(rect);
}

TMenuPaintSeams& MenuPaintSeams() {
    static TMenuPaintSeams seams{
        [](HWND window, HMENU menu, UINT position, RECT& rect) {
            return ::GetMenuItemRect(window, menu, position, &rect) != FALSE;
        },
        [](const TMenu* menu) {
            auto* control = menu ? dynamic_cast<TControl*>(menu->Owner()) : nullptr;
            return control ? AdvStyleIF::GetDPIScale(control, nullptr) : 1.0f;
        },
    };
    return seams;
}

bool IsMenuBarItem(const TMenuItem* item) { return item && dynamic_cast<TMainMenu*>(item->GetParentComponent()); }

bool IsFirstLevelItem(const TMenuItem* item) {
    if (!item) return false;
    TComponent* parent = item->GetParentComponent();
    if (dynamic_cast<TPopupMenu*>(parent)) return true;
    auto* parentItem = dynamic_cast<TMenuItem*>(parent);
    return parentItem && dynamic_cast<TMainMenu*>(parentItem->GetParentComponent());
}

bool IsInFirstVisibleDropDown(const TMenuItem* item) {
    TMenu* menu = MenuOf(item);
    // A popup menu's own level counts as its first drop-down: otherwise a side bar shown
    // "in the first visible" drop-down would never show on a popup menu.
    if (dynamic_cast<TPopupMenu*>(menu)) return item->Parent() == menu->Items();
    if (!dynamic_cast<TMainMenu*>(menu)) return false;
    const TMenuItem* first = FirstVisibleChild(menu->Items());
    return first && item->Parent() == first;
}

bool IsFirstVisibleItem(const TMenuItem* item) {
    return item && item->Parent() && FirstVisibleChild(item->Parent()) == item;
}

bool HasBreakAtOrBefore(const TMenuItem* item) {
    const TMenuItem* parent = item ? item->Parent() : nullptr;
    if (!parent) return false;
    for (int i = 0; i <= item->MenuIndex(); ++i)
        if (parent->Items(i)->Visible() && parent->Items(i)->Break() != mbNone) return true;
    return false;
}

bool HasBreakAtOrAfter(const TMenuItem* item) {
    const TMenuItem* parent = item ? item->Parent() : nullptr;
    if (!parent) return false;
    for (int i = item->MenuIndex(); i < parent->Count(); ++i)
        if (parent->Items(i)->Visible() && parent->Items(i)->Break() != mbNone) return true;
    return false;
}

int ItemLevel(const TMenuItem* item) {
    int parents = 0;
    for (const TMenuItem* at = item ? item->Parent() : nullptr; at; at = at->Parent()) ++parents;
    return parents - 1;
}

int VisibleItemIndex(const TMenuItem* item) {
    if (!item || !item->Visible() || !item->Parent()) return -1;
    int index = 0;
    for (int i = 0; i < item->MenuIndex(); ++i) index += item->Parent()->Items(i)->Visible();
    return index;
}

IAdvMenuEx* StyledMenuOf(const TMenuItem* item) { return dynamic_cast<IAdvMenuEx*>(MenuOf(item)); }

bool SideBarApplies(const TMenuItem* item) {
    IAdvMenuEx* menu = StyledMenuOf(item);
    TCustomAdvMenuStyler* styler = menu ? menu->GetCurrentStyler() : nullptr;
    if (!styler || !styler->SideBar()->Visible()) return false;
    switch (styler->SideBar()->VisibleIn()) {
        case viFirstVisible: return IsInFirstVisibleDropDown(item);
        case viFirstLevel: return IsFirstLevelItem(item);
        case viAnyLevel: return !IsMenuBarItem(item);
    }
    return false;
}

std::wstring ShortCutToMenuText(TShortCut shortCut, bool intl) {
    if (!intl) {
        const std::wstring text = ShortCutToText(shortCut);
        return (shortCut & WinKeyBit) ? L"Win+" + text : text;
    }
    const unsigned key = shortCut & 0xFF;
    std::wstring text = key >= VK_F1 && key <= VK_F24 ? L"F" + std::to_wstring(key - 111) : KeyName(key);
    if (shortCut & scShift) text = KeyName(VK_SHIFT) + L"+" + text;
    if (shortCut & scCtrl) text = KeyName(VK_CONTROL) + L"+" + text;
    if (shortCut & scAlt) text = KeyName(VK_MENU) + L"+" + text;
    return text;
}

void MeasureMenuItem(TMenuItem* item, TCanvas* canvas, int& width, int& height, bool sideBar) {
    IAdvMenuEx* menu = StyledMenuOf(item);
    TCustomAdvMenuStyler* styler = menu ? menu->GetCurrentStyler() : nullptr;
    if (!styler) return;
    if (!item->Visible()) {
        width = height = 0;
        return;
    }
    const float scale = ScaleOf(item);
    const bool bar = IsMenuBarItem(item);
    if (bar) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = 504;
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
            width = metrics.iMenuWidth;
            height = metrics.iMenuHeight;
        }
    }
    if (item->IsLine()) {
        height = styler->Separator()->Width() + 2;
        width = -2;
        height = std::max(RoundEven(height / double(scale)), 0);
        return;
    }
    TIconBar* iconBar = styler->IconBar();
    if (!bar) width = Scaled(iconBar->Size(), scale);
    TCustomImageList* images = item->GetImageList();
    if (images && (item->ImageIndex() >= 0 || !bar)) {
        if (bar) width = images->Width();
        else height = std::max(height, images->Height());
        if (images->Width() > iconBar->Size()) iconBar->SetSize(images->Width() + Scaled(4, scale));
    } else if (!item->Bitmap()->Empty()) {
        if (bar) width = item->Bitmap()->Width();
        else height = std::max(height, item->Bitmap()->Height());
    } else if (bar) {
        width = -7;
    } else {
        height -= 3;
    }
    if (!bar) {
        width += Scaled(15, scale);
        height += 2;
    }
    std::wstring text = CaptionText(item, menu);
    if (item->ShortCut()) text += ShortCutToMenuText(item->ShortCut(), menu->GetIntlKeybShortCuts());

    TFont* font = canvas->Font();
    const TFont* chosen = nullptr;
    if (bar) {
        if (!styler->RootItem()->UseSystemFont()) chosen = styler->RootItem()->Font();
    } else if (!styler->UseSystemFont()) {
        chosen = styler->Font();
    } else if (!styler->SelectedItem()->UseSystemFont()) {
        chosen = styler->SelectedItem()->Font();
    }
    // Measured in the size the text is drawn in, the screen's menu font included.
    if (chosen) {
        font->Assign(chosen);
        ScaleFont(font, scale);
    } else {
        AssignSystemMenuFont(font, scale);
    }
    TRect box;
    CanvasDrawText(canvas, text, box, DT_CALCRECT | DT_SINGLELINE);
    width += box.Width() + 7;
    int textHeight = box.Height() + 6;

    if (!bar) {
        if (item->ShortCut() & WinKeyBit) width += CanvasTextWidth(canvas, L"Win+");
        if (sideBar && !HasBreakAtOrBefore(item))
            width += Scaled(styler->SideBar()->Size(), scale) + styler->SideBar()->SplitterWidth();
        height += height & 1;
        width += MenuExtraWidth;
        if (ShowsNotes(item, menu)) {
            font->Assign(styler->NotesFont());
            ScaleFont(font, scale);
            const int gh = CanvasTextHeight(canvas, L"gh");
            const int lineHeight = gh + gh / 3;
            int widest = 0;
            const std::vector<std::wstring> lines = SplitNotes(item->Caption());
            for (size_t i = 0; i < lines.size(); ++i) {
                widest = std::max(widest, CanvasTextWidth(canvas, lines[i]));
                if (i + 1 < lines.size()) textHeight += lineHeight;
            }
            const int wanted = widest + MenuExtraWidth + iconBar->Size() + 8;
            if (widest > 0 && wanted > width) width = wanted;
        }
    }
    height = std::max(height, textHeight);
}

void DrawMenuItem(TMenuItem* item, TCanvas* canvas, TRect r, bool sideBar, TOwnerDrawState state) {
    TMenu* owner = MenuOf(item);
    if (!dynamic_cast<TAdvMainMenu*>(owner) && !dynamic_cast<TAdvPopupMenu*>(owner)) return;
    IAdvMenuEx* menu = StyledMenuOf(item);
    TCustomAdvMenuStyler* styler = menu->GetCurrentStyler();
    if (!styler) return;
    const float scale = ScaleOf(item);
    int extraBottom = 0;
    if (auto* popup = dynamic_cast<TPopupMenu*>(item->Owner());
        popup && popup->Items()->Count() > 0 && popup->Items()->Items(popup->Items()->Count() - 1) == item)
        extraBottom = r.Height();
    if (HasBreakAtOrAfter(item)) r.Right += MenuExtraWidth;
    sideBar = sideBar && !HasBreakAtOrBefore(item);
    TRect r2 = r;
    if (sideBar) {
        const int width = Scaled(styler->SideBar()->Size(), scale) + styler->SideBar()->SplitterWidth();
        r2.Left += width;
        if (styler->SideBar()->Position() == spRight) r2.Offset(-width, 0);
    }
    if (!IsMenuBarItem(item)) PaintPopupBackdrop(item, canvas, r, r2, sideBar, extraBottom, styler);
    if (item->IsLine()) DrawMenuSeparator(item, canvas, r2, styler);
    else PaintMenuItem(item, canvas, r2, state, styler);
    SubclassPopupWindow(item, canvas);
}

void DrawMDIChildIcon(TMenuItem* item, const TRect& r) {
    TMenu* menu = MenuOf(item);
    auto* form = menu ? dynamic_cast<TCustomForm*>(menu->Owner()) : nullptr;
    IAdvMenuEx* styled = StyledMenuOf(item);
    if (!form || !styled || form->FormStyle() != fsMDIForm || r.Left <= 4) return;
    TCustomForm* child = form->ActiveMDIChild();
    if (!child || !child->HandleAllocated()) return;
    const TRect area{4, r.Top, r.Left, r.Bottom};
    if (area.Width() < 16) return;
    HWND window = child->Handle();
    auto icon = reinterpret_cast<HICON>(::GetClassLongPtrW(window, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_SMALL2, 0));
    if (!icon) icon = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon) return;
    HICON copy = static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                ::GetSystemMetrics(SM_CYSMICON), 0));
    if (!copy) return;
    const TRootItem* root = styled->GetCurrentStyler()->RootItem();
    TWindowDC dc(form->Handle());
    if (dc.Handle()) {
        TCanvas on;
        on.SetHandle(dc.Handle());
        if (root->GradientDirection() == gdHorizontal) FillSolid(&on, area, root->Color());
        else FillMenuGradient(nullptr, &on, area, gdVertical, root->ColorTo(), root->Color());
        ::DrawIconEx(dc.Handle(), area.Right - 16, area.Top + 2, copy, 16, 16, 0, nullptr, DI_NORMAL);
        on.SetHandle(nullptr);
    }
    ::DestroyIcon(copy);
}

}  // namespace AdvMenus
