// Styled menus: a menu bar, and a right-click popup with images, check and radio items,
// notes under captions, shortcuts, a side bar and a sub-menu; a combo box gives both
// menus one of the UI styles.
#include "classlib/Canvas.h"
#include "classlib/EnumNames.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "menus/AdvMenus.h"
#include "showcase/ShowcasePages.h"

namespace {

using namespace ClassLib;

// Four 16 x 16 images: a page, a folder, a disk and a pair of sheets.
TImageList* MakeImages(TComponent* owner) {
    auto* images = new TImageList(owner);
    const TColor colours[] = {TColor(0xD77800), TColor(0x2AA7E8), TColor(0x6B8E23), TColor(0x7A4FB0)};
    for (int i = 0; i < 4; ++i) {
        TBitmap picture(16, 16, pf24bit);
        TCanvas* canvas = picture.Canvas();
        canvas->Brush()->SetColor(clFuchsia);
        canvas->FillRect({0, 0, 16, 16});
        canvas->Brush()->SetColor(colours[i]);
        canvas->Pen()->SetColor(TColor(0x404040));
        switch (i) {
            case 0: canvas->Rectangle(3, 1, 13, 15); break;
            case 1: canvas->Rectangle(1, 4, 15, 13); break;
            case 2: canvas->Rectangle(2, 2, 14, 14); canvas->Brush()->SetColor(clWhite); canvas->Rectangle(5, 2, 11, 7); break;
            default: canvas->Rectangle(1, 1, 10, 11); canvas->Rectangle(6, 5, 15, 15); break;
        }
        images->AddMasked(&picture, clFuchsia);
    }
    return images;
}

TMenuItem* Add(TMenuItem* parent, TComponent* owner, const std::wstring& caption, TShortCut shortCut = 0,
               int image = -1) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    item->SetImageIndex(image);
    parent->Add(item);
    return item;
}

void AddRadios(TMenuItem* parent, TComponent* owner, std::initializer_list<const wchar_t*> captions, int group) {
    bool first = true;
    for (const wchar_t* caption : captions) {
        TMenuItem* item = Add(parent, owner, caption);
        item->SetRadioItem(true);
        item->SetGroupIndex(group);
        item->SetChecked(first);
        first = false;
    }
}

const Showcase::TPageRegistration page(L"menus", [](TForm* form) {
    TImageList* images = MakeImages(form);

    auto* bar = new AdvMenus::TAdvMainMenu(form);
    bar->SetImages(images);
    TMenuItem* file = Add(bar->Items(), form, L"&File");
    Add(file, form, L"&New", TShortCut(scCtrl | 'N'), 0);
    Add(file, form, L"&Open...", TShortCut(scCtrl | 'O'), 1);
    Add(file, form, L"&Save", TShortCut(scCtrl | 'S'), 2);
    Add(file, form, L"-");
    TMenuItem* recent = Add(file, form, L"&Recent files");
    Add(recent, form, L"vx_at_user_cmds.c");
    Add(recent, form, L"lcd_commands.c");
    Add(file, form, L"-");
    Add(file, form, L"E&xit", TShortCut(scAlt | VK_F4));
    TMenuItem* edit = Add(bar->Items(), form, L"&Edit");
    Add(edit, form, L"&Undo", TShortCut(scCtrl | 'Z'));
    Add(edit, form, L"&Redo", TShortCut(scCtrl | 'Y'))->SetEnabled(false);
    Add(edit, form, L"-");
    Add(edit, form, L"Cu&t", TShortCut(scCtrl | 'X'));
    Add(edit, form, L"&Copy", TShortCut(scCtrl | 'C'), 3);
    Add(edit, form, L"&Paste", TShortCut(scCtrl | 'V'));
    Add(edit, form, L"-");
    Add(edit, form, L"&Word wrap")->SetChecked(true);
    TMenuItem* view = Add(bar->Items(), form, L"&View");
    AddRadios(view, form, {L"&Commands", L"&C source", L"&Header"}, 1);
    Add(bar->Items(), form, L"&Help");
    form->SetMenu(bar);

    auto* popup = new AdvMenus::TAdvPopupMenu(form);
    popup->SetImages(images);
    Add(popup->Items(), form, L"&Open\\nOpens a generated C file\\nand reads its commands back", 0, 1);
    Add(popup->Items(), form, L"&Copy", TShortCut(scCtrl | 'C'), 3);
    Add(popup->Items(), form, L"&Paste special", TShortCut(scCtrl | scShift | 'V'));
    Add(popup->Items(), form, L"-");
    Add(popup->Items(), form, L"Show &gutter")->SetChecked(true);
    AddRadios(popup->Items(), form, {L"Indent with &tabs", L"Indent with &spaces"}, 2);
    Add(popup->Items(), form, L"-");
    TMenuItem* format = Add(popup->Items(), form, L"&Format");
    Add(format, form, L"&Upper case", TShortCut(scCtrl | scShift | 'U'));
    Add(format, form, L"&Lower case", TShortCut(scCtrl | 'U'));
    Add(popup->Items(), form, L"P&roperties")->SetDefault(true);
    form->SetPopupMenu(popup);

    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(16, 52, 500, 20);
    label->SetCaption(L"Right-click anywhere for the popup menu.");
    auto* caption = new TLabel(form);
    caption->SetParent(form);
    caption->SetBounds(16, 18, 70, 20);
    caption->SetCaption(L"UI style:");
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(90, 14, 220, 24);
    combo->SetStyle(csDropDownList);
    combo->SetDropDownCount(27);
    for (const wchar_t* name : TEnumNames<AdvStyleIF::TOVTStyle>::Names) combo->Items()->Add(name);
    auto apply = [bar, popup](AdvStyleIF::TOVTStyle style) {
        bar->SetComponentStyle(style);
        popup->SetComponentStyle(style);
        AdvMenus::TCustomAdvMenuStyler* styler = popup->CurrentStyler();
        styler->SideBar()->SetCaption(L"AT Generator");
        styler->SideBar()->SetVisibleIn(AdvMenus::viFirstLevel);
        styler->SideBar()->Background()->SetColor(styler->RootItem()->SelectedColor());
        styler->SideBar()->Background()->SetColorTo(styler->RootItem()->SelectedColorTo());
        styler->SideBar()->SetVisible(true);
    };
    combo->OnChange = [combo, apply](TObject*) {
        if (combo->ItemIndex() >= 0) apply(AdvStyleIF::TOVTStyle(combo->ItemIndex()));
    };
    combo->SetItemIndex(AdvStyleIF::tsOffice2019White);
    apply(AdvStyleIF::tsOffice2019White);
});

}  // namespace
