// HTML labels: anchors (one hovered), a shadow, a highlighted and a marked word, a gradient
// with bevels, a bottom line and an auto-sized what's-new text.
#include "classlib/Canvas.h"
#include "classlib/StringList.h"
#include "rendering/HTMLabel.h"
#include "showcase/ShowcasePages.h"

namespace {

using namespace ClassLib;
using HTMLabel::THTMLabel;

THTMLabel* AddLabel(TForm* form, int top, int height, const std::wstring& text) {
    auto* label = new THTMLabel(form);
    label->SetParent(form);
    label->SetBounds(16, top, 560, height);
    label->Font()->SetName(L"Tahoma");
    label->Font()->SetSize(10);
    label->HTMLText()->SetText(text);
    return label;
}

const Showcase::TPageRegistration page(L"htmlabel", [](TForm* form) {
    form->SetColor(clWhite);
    THTMLabel* links = AddLabel(form, 12, 40,
        L"Links: <a href=\"http://example.org\">home page</a>, <a href=\"mailto:support@example.org\">mail us</a> "
        L"or <a href=\"word\">a local anchor</a>.");
    links->SetHover(true);
    links->SetHoverFontColor(clRed);
    links->SetAnchorHint(true);
    links->SetShowHint(true);

    AddLabel(form, 60, 40, L"<font size=\"14\"><shad>A label with a shadow</shad></font>")->SetShadowColor(clSilver);

    THTMLabel* search = AddLabel(form, 110, 40, L"Search results: the word <b>update</b> is highlighted, the word spelling is marked.");
    search->HilightText(L"update", false);
    search->MarkText(L"spelling", true);

    THTMLabel* fill = AddLabel(form, 160, 60,
        L"<p align=\"center\"><b>Gradient</b> from white to light blue, raised and lowered bevels</p>");
    fill->SetTransparent(false);
    fill->SetColor(clWhite);
    fill->SetColorTo(TColor(0xFFC080));
    fill->SetGradientType(HTMLabel::gtFullVertical);
    fill->SetBevelOuter(bvRaised);
    fill->SetBevelInner(bvLowered);
    fill->SetBevelWidth(2);
    fill->SetBorderWidth(2);
    fill->SetVAlignment(HTMLabel::tvaCenter);

    THTMLabel* line = AddLabel(form, 232, 30, L"<i>A title over a bottom line</i>");
    line->SetTransparent(false);
    line->SetColor(clWhite);
    line->SetColorTo(clNavy);
    line->SetGradientType(HTMLabel::gtBottomLine);
    line->SetLineWidth(3);

    THTMLabel* news = AddLabel(form, 276, 20,
        L"<b>What's new in 2.4</b><br>- faster generation<br>- <a href=\"http://example.org/changes\">full list of changes</a>");
    news->SetBorderStyle(bsSingle);
    news->SetBorderWidth(1);
    news->SetBorderColor(clGray);
    news->SetAutoSizing(true);
});

}  // namespace
