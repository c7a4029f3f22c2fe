// Program entry: the application, the main window and the hidden splash window, then
// the message loop until the main window closes.
#include <windows.h>

#include "app/Unit1.h"
#include "app/frmDorlenU.h"
#include "classlib/Application.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvMenuStartup.h"
#include "menus/AdvToolBarBase.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace ClassLib;
    const AdvGDIPStartup::TGdiplusSession gdiplus;  // GDI+ for the program's life
    // The menu and toolbar units' start-up, in the order they build on each other; their
    // ends run backwards at exit and give the desktop its menu animation back.
    const AdvMenus::TMenuUnitSession menus;
    const AdvToolBar::TToolBarUnitSession toolBars;
    try {
        Application->Initialize();
        Application->SetMainFormOnTaskBar(true);
        Application->SetTitle(L"AT Command Generator");  // the caption of the program's message boxes
        Unit1::TForm1* form1 = nullptr;
        Application->CreateForm(form1);
        frmDorlenU::TfrmDorlen* splash = nullptr;
        Application->CreateForm(splash);
        Application->Run();
    } catch (...) {
        Application->HandleException(nullptr);
        return 1;
    }
    return 0;
}
