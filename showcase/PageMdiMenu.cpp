// A styled menu bar on an MDI frame: three child windows, listed by caption under the
// Window menu, the active one checked; the menu arranges and activates them.
#include "classlib/StandardControls.h"
#include "menus/AdvMenus.h"
#include "showcase/ShowcasePages.h"

namespace {

using namespace ClassLib;

TMenuItem* Add(TMenuItem* parent, TComponent* owner, const std::wstring& caption, TNotifyEvent click = nullptr) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->OnClick = std::move(click);
    parent->Add(item);
    return item;
}

const Showcase::TPageRegistration page(L"mdimenu", [](TForm* form) {
    form->SetFormStyle(fsMDIForm);
    auto* bar = new AdvMenus::TAdvMainMenu(form);
    bar->BeginUpdate();
    TMenuItem* file = Add(bar->Items(), form, L"&File");
    Add(file, form, L"&Close window", [form](TObject*) {
        if (TCustomForm* child = form->ActiveMDIChild()) child->Release();
    });
    auto client = [form](UINT msg, WPARAM wParam) {
        return [form, msg, wParam](TObject*) { ::SendMessageW(form->ClientHandle(), msg, wParam, 0); };
    };
    TMenuItem* windows = Add(bar->Items(), form, L"&Window");
    Add(windows, form, L"&Cascade", client(WM_MDICASCADE, 0));
    Add(windows, form, L"&Tile", client(WM_MDITILE, MDITILE_HORIZONTAL));
    Add(windows, form, L"&Maximize", [form](TObject*) {
        if (TCustomForm* child = form->ActiveMDIChild())
            ::SendMessageW(form->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->Handle()), 0);
    });
    Add(bar->Items(), form, L"&Help");
    bar->EndUpdate();
    bar->SetComponentStyle(AdvStyleIF::tsOffice2010Blue);
    form->SetMenu(bar);
    form->SetWindowMenu(windows);

    const wchar_t* captions[] = {L"vx_at_user_cmds.h", L"Commands", L"vx_at_user_cmds.c"};
    for (int i = 0; i < 3; ++i) {
        auto* child = new TForm(form);
        child->SetFormStyle(fsMDIChild);
        child->SetCaption(captions[i]);
        child->SetBounds(20 + 40 * i, 20 + 40 * i, 320, 220);
        auto* text = new TLabel(child);
        text->SetParent(child);
        text->SetBounds(12, 12, 280, 20);
        text->SetCaption(std::wstring(L"Child window: ") + captions[i]);
        child->Show();
    }
});

}  // namespace
