// A form styler driven from a combo box: picking a style recolours the window and the
// memos on it, one of them inside a frame.
#include "classlib/StandardControls.h"
#include "editor/AdvMemo.h"
#include "editor/AdvMemoStrings.h"
#include "editor/AdvmCSHS.h"
#include "graphics/AdvAppStyler.h"
#include "showcase/ShowcasePages.h"

namespace {

const wchar_t* const SampleCode =
    L"#include \"vx_at_user_cmds.h\"\r\n"
    L"\r\n"
    L"// AT+LCD=<y>,<x>,<text>\r\n"
    L"static void at_lcd(uint8_t argc, char *argv[])\r\n"
    L"{\r\n"
    L"    if (argc != 3) {\r\n"
    L"        at_reply_error();\r\n"
    L"        return;\r\n"
    L"    }\r\n"
    L"    lcd_goto(atoi(argv[0]), atoi(argv[1]));\r\n"
    L"    lcd_puts(argv[2]);\r\n"
    L"    at_reply_ok();\r\n"
    L"}";

AdvMemo::TAdvMemo* AddMemo(ClassLib::TComponent* owner, ClassLib::TWinControl* parent,
                           AdvMemo::TAdvCustomMemoStyler* syntax, const ClassLib::TRect& bounds) {
    auto* memo = new AdvMemo::TAdvMemo(owner);
    memo->SetParent(parent);
    memo->SetBoundsRect(bounds);
    memo->SetSyntaxStyles(syntax);
    memo->Lines()->SetText(SampleCode);
    return memo;
}

const Showcase::TPageRegistration page(L"stylers", [](ClassLib::TForm* form) {
    using namespace ClassLib;
    // The bar keeps its own colour, so its caption stays readable in every style.
    auto* bar = new TPanel(form);
    bar->SetParent(form);
    bar->SetParentColor(false);
    bar->SetBevelOuter(bvNone);
    bar->SetShowCaption(false);
    bar->SetBounds(0, 0, 800, 44);
    bar->SetAlign(alTop);
    auto* caption = new TLabel(form);
    caption->SetParent(bar);
    caption->SetBounds(12, 14, 80, 20);
    caption->SetCaption(L"Form style:");
    auto* combo = new TComboBox(form);
    combo->SetParent(bar);
    combo->SetBounds(96, 10, 220, 24);
    combo->SetDropDownCount(26);

    auto* syntax = AdvmCSHS::CreateCMemoStyler(form);
    AddMemo(form, form, syntax, {12, 56, 440, 560});

    auto* frame = new TFrame(form);
    frame->SetParent(form);
    frame->SetBounds(456, 56, 330, 500);
    AddMemo(frame, frame, syntax, {8, 8, 314, 300});

    auto* styler = new AdvAppStyler::TAdvFormStyler(form);
    styler->SetStyle(AdvStyleIF::tsOffice2019White);
    styler->SetComboBox(combo);
});

}  // namespace
