// The office toolbar styler and its presets: a combo of the 28 presets, a toolbar whose
// glow buttons take the styler's looks, the glow faces at rest, hot, down and checked,
// strips of the main colour sets, and Save and Load of the theme file.
// SHOWCASE_PRESET=<preset name> picks the preset the page opens with, for screenshots.
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "classlib/ButtonControls.h"
#include "classlib/Dialogs.h"
#include "classlib/FileNames.h"
#include "classlib/GdiObjects.h"
#include "classlib/Pictures.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "controls/AdvGlowButton.h"
#include "controls/AdvGlowButtonPaint.h"
#include "menus/AdvToolBarStylers.h"
#include "showcase/ShowcasePages.h"
#include "toolbars/AdvToolBar.h"

namespace {

using namespace ClassLib;
using namespace AdvToolBar;
using namespace AdvToolBarStylers;

// Paints what the styler holds: glow faces and one strip per colour set.
class TLooksView : public TCustomControl {
public:
    TLooksView(TComponent* owner, TAdvToolBarOfficeStyler* styler, double scale)
        : TCustomControl(owner), FStyler(styler), FScale(scale) {}

protected:
    void Paint() override {
        TCanvas& c = *Canvas();
        c.Brush()->SetColor(clWhite);
        c.FillRect(TRect{0, 0, Width(), Height()});
        c.Font()->Assign(FStyler->Font());
        c.Font()->SetColor(clBlack);
        int top = S(8);
        Faces(c, top);
        top += S(64);
        const TCustomAdvToolBarStyler& s = *FStyler;
        Strip(c, top, L"Toolbar", {{s.Color()->Color(), s.Color()->ColorTo(), false},
                                   {s.Color()->Mirror()->ColorMirror(), s.Color()->Mirror()->ColorMirrorTo(), false}});
        Strip(c, top, L"Toolbar hot", {{s.ColorHot()->Color(), s.ColorHot()->ColorTo(), false}});
        Strip(c, top, L"Dock", {{s.DockColor()->Color(), s.DockColor()->ColorTo(), true}});
        Strip(c, top, L"Right handle", {{s.RightHandleColor(), s.RightHandleColorTo(), false},
                                        {s.RightHandleColorHot(), s.RightHandleColorHotTo(), false},
                                        {s.RightHandleColorDown(), s.RightHandleColorDownTo(), false}});
        const TButtonAppearance& b = *s.ButtonAppearance();
        Strip(c, top, L"Buttons", {{b.Color(), b.ColorTo(), false}, {b.ColorHot(), b.ColorHotTo(), false},
                                   {b.ColorDown(), b.ColorDownTo(), false}, {b.ColorChecked(), b.ColorCheckedTo(), false}});
        const TCaptionAppearance& cap = *s.CaptionAppearance();
        Strip(c, top, L"Caption", {{cap.CaptionColor(), cap.CaptionColorTo(), false},
                                   {cap.CaptionColorHot(), cap.CaptionColorHotTo(), false}});
        const TTabAppearance& tab = *s.TabAppearance();
        Strip(c, top, L"Tabs", {{tab.BackGround()->Color(), tab.BackGround()->ColorTo(), true},
                                {tab.ColorHot(), tab.ColorHotTo(), false},
                                {tab.ColorSelected(), tab.ColorSelectedTo(), false}});
        const TVistaPageBackground& page = *s.PageAppearance();
        Strip(c, top, L"Page", {{page.Color(), page.ColorTo(), false}, {page.ColorMirror(), page.ColorMirrorTo(), false}});
        const TVistaTextBackground& pager = *s.PagerCaption();
        Strip(c, top, L"Pager caption", {{pager.Color(), pager.ColorTo(), false}, {pager.ColorMirror(), pager.ColorMirrorTo(), false}});
        const TGroupAppearance& group = *s.GroupAppearance();
        Strip(c, top, L"Tab group", {{group.Color(), group.ColorTo(), false}, {group.ColorMirror(), group.ColorMirrorTo(), false}});
        const TQATAppearance& qat = *s.QATAppearance();
        Strip(c, top, L"Quick access", {{qat.Color(), qat.ColorTo(), false}, {qat.FullSizeColor(), qat.FullSizeColorTo(), false}});
        Strip(c, top, L"Borders", {{s.BorderColor(), s.BorderColor(), false}, {s.BorderColorHot(), s.BorderColorHot(), false},
                                   {s.FloatingWindowBorderColor(), s.FloatingWindowBorderColor(), false}});
    }

private:
    struct TPair {
        TColor From, To;
        bool Horizontal;
    };

    int S(int value) const { return int(std::lround(value * FScale)); }

    // The glow faces of the four states, painted as a glow button paints them.
    void Faces(TCanvas& c, int top) {
        const AdvGlowButton::TGlowButtonAppearance& a = *FStyler->GlowButtonAppearance();
        const struct {
            const wchar_t* Caption;
            AdvGlowButton::TLookKind Kind;
        } states[] = {{L"Rest", AdvGlowButton::TLookKind::Normal},
                      {L"Hot", AdvGlowButton::TLookKind::Hot},
                      {L"Down", AdvGlowButton::TLookKind::Down},
                      {L"Checked", AdvGlowButton::TLookKind::Checked}};
        int left = S(8);
        for (const auto& state : states) {
            const AdvGlowButton::TGlowLook look = AdvGlowButton::LookOf(a, state.Kind);
            AdvGlowButton::TGlowFace face;
            AdvGlowButton::Take(face, look);
            face.Caption = state.Caption;
            TFont font;
            font.Assign(FStyler->Font());
            const TColor text = state.Kind == AdvGlowButton::TLookKind::Hot       ? a.TextColorHot()
                                : state.Kind == AdvGlowButton::TLookKind::Down    ? a.TextColorDown()
                                : state.Kind == AdvGlowButton::TLookKind::Checked ? a.TextColorChecked()
                                                                                  : a.TextColor();
            font.SetColor(text == clNone ? clBlack : text);
            face.Font = &font;
            face.HotOrDown = state.Kind != AdvGlowButton::TLookKind::Normal;
            face.Down = state.Kind == AdvGlowButton::TLookKind::Down;
            face.Rounded = FStyler->RoundEdges();
            face.Scale = float(FScale);
            // The painter draws a button's own face, from the origin of its canvas.
            TBitmap bitmap(S(110), S(48));
            bitmap.Canvas()->Brush()->SetColor(clWhite);
            bitmap.Canvas()->FillRect(TRect{0, 0, bitmap.Width(), bitmap.Height()});
            AdvGlowButton::DrawGlowButton(bitmap.Canvas(), TRect{0, 0, bitmap.Width(), bitmap.Height()}, face);
            c.Draw(left, top, &bitmap);
            left += S(122);
        }
    }

    // A label, then one box per gradient; a colour that is not set shows as a cross.
    void Strip(TCanvas& c, int& top, const wchar_t* name, std::initializer_list<TPair> pairs) {
        const int height = S(22);
        c.Brush()->SetColor(clWhite);
        c.TextOut(S(8), top + (height - c.TextHeight(name)) / 2, name);
        int left = S(120);
        for (const TPair& pair : pairs) {
            const TRect box{left, top, left + S(150), top + height};
            if (pair.From == clNone) {
                c.Pen()->SetColor(clSilver);
                c.MoveTo(box.Left, box.Top);
                c.LineTo(box.Right, box.Bottom);
                c.MoveTo(box.Left, box.Bottom);
                c.LineTo(box.Right, box.Top);
            } else {
                AdvGlowButton::DrawGradient(&c, pair.From, pair.To == clNone ? pair.From : pair.To, 32, box, pair.Horizontal);
            }
            c.Brush()->SetColor(clGray);
            c.FrameRect(box);
            left += S(160);
        }
        top += height + S(6);
    }

    TAdvToolBarOfficeStyler* FStyler;
    double FScale;
};

const Showcase::TPageRegistration page(L"toolbarstyler", [](TForm* form) {
    const double scale = form->MonitorPixelsPerInch() / 96.0;
    const auto S = [scale](int value) { return int(std::lround(value * scale)); };
    form->SetBounds(0, 0, S(800), S(600));

    auto* styler = new TAdvToolBarOfficeStyler(form);
    styler->SetName(L"ToolBarStyler");

    auto* bar = new TPanel(form);
    bar->SetParent(form);
    bar->SetBevelOuter(bvNone);
    bar->SetShowCaption(false);
    bar->SetBounds(0, 0, S(800), S(40));
    bar->SetAlign(alTop);
    auto* caption = new TLabel(form);
    caption->SetParent(bar);
    caption->SetBounds(S(10), S(12), S(50), S(20));
    caption->SetCaption(L"Preset:");
    auto* combo = new TComboBox(form);
    combo->SetParent(bar);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(S(64), S(8), S(220), S(24));
    combo->SetDropDownCount(28);
    for (const wchar_t* name : TEnumNames<TToolBarStyle>::Names) combo->Items()->Add(name);
    auto* save = new TButton(form);
    save->SetParent(bar);
    save->SetBounds(S(300), S(7), S(90), S(26));
    save->SetCaption(L"Save...");
    auto* load = new TButton(form);
    load->SetParent(bar);
    load->SetBounds(S(396), S(7), S(90), S(26));
    load->SetCaption(L"Load...");
    auto* status = new TLabel(form);
    status->SetParent(bar);
    status->SetBounds(S(496), S(12), S(300), S(20));

    // The toolbar is told of every change of its styler and passes it to its buttons.
    auto* toolBar = new TAdvToolBar(form);
    toolBar->SetName(L"StyledBar");
    toolBar->SetParent(form);
    toolBar->SetBounds(0, S(40), S(800), S(56));
    toolBar->SetAlign(alTop);
    int left = S(8);
    for (const wchar_t* text : {L"Create files", L"Paste", L"Save", L"Open"}) {
        auto* button = new AdvGlowButton::TAdvGlowButton(form);
        button->SetParent(toolBar);
        button->SetBounds(left, S(6), S(110), S(44));
        button->SetCaption(text);
        left += S(118);
    }
    toolBar->SetToolBarStyler(styler);

    auto* view = new TLooksView(form, styler, scale);
    view->SetParent(form);
    view->SetAlign(alClient);

    const auto show = [=](TToolBarStyle style) {
        styler->SetStyle(style);
        combo->SetItemIndex(int(style));
        toolBar->SetColor(ColorToRGB(styler->Color()->Color()));
        view->Invalidate();
    };
    combo->OnChange = [=](TObject*) {
        if (combo->ItemIndex() >= 0) show(TToolBarStyle(combo->ItemIndex()));
    };
    save->OnClick = [=](TObject*) {
        TSaveDialog dialog(nullptr);
        dialog.SetFilter(L"Theme files (*.theme)|*.theme|All files (*.*)|*.*");
        dialog.SetDefaultExt(L"theme");
        dialog.SetFileName(L"look.theme");
        if (!dialog.Execute(form->Handle())) return;
        styler->SaveToFile(dialog.FileName());
        status->SetCaption(L"Saved " + ExtractFileName(dialog.FileName()));
    };
    load->OnClick = [=](TObject*) {
        TOpenDialog dialog(nullptr);
        dialog.SetFilter(L"Theme files (*.theme)|*.theme|All files (*.*)|*.*");
        if (!dialog.Execute(form->Handle())) return;
        styler->LoadFromFile(dialog.FileName());
        combo->SetItemIndex(int(styler->Style()));
        toolBar->SetColor(ColorToRGB(styler->Color()->Color()));
        view->Invalidate();
        status->SetCaption(L"Loaded " + ExtractFileName(dialog.FileName()));
    };

    TToolBarStyle start = bsOffice2019White;
    if (const char* wanted = std::getenv("SHOWCASE_PRESET")) {
        const std::wstring name = AnsiToString(wanted);
        for (int i = 0; i <= int(bsOffice2019Black); ++i)
            if (SameText(name, TEnumNames<TToolBarStyle>::Names[i])) start = TToolBarStyle(i);
    }
    show(start);
});

}  // namespace
