// The updater's four dialogs, one page each: the login, the download progress, the
// what's-new text and the licence.
#include <memory>
#include <string>
#include <vector>

#include "classlib/EditControls.h"
#include "classlib/ProgressBar.h"
#include "classlib/StandardControls.h"
#include "showcase/ShowcasePages.h"
#include "updater/WUpdate.h"
#include "updater/WuLogin.h"

namespace {

// The dialogs outlive the page builder; the showcase ends with the process.
std::vector<std::unique_ptr<ClassLib::TComponent>>& Kept() {
    static std::vector<std::unique_ptr<ClassLib::TComponent>> kept;
    return kept;
}

// Shows `dialog` once the page is on the screen, so the dialog lies on top of it.
void ShowOverPage(ClassLib::TForm* page, ClassLib::TForm* dialog) {
    page->SetBounds(0, 0, 240, 120);
    page->OnShow = [dialog](ClassLib::TObject*) { dialog->Show(); };
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

void ShowTextDialog(ClassLib::TForm* page, bool licence) {
    page->SetText(licence ? L"Updater: licence" : L"Updater: what's new");
    auto* update = new WUpdate::TWebUpdate(page);
    const std::string text =
        licence ? "{\\rtf1\\ansi {\\b Licence agreement}\\par\\par Use this program at your own risk. "
                  "The update replaces the files listed in the update-control file.\\par}"
                : "Version 2.6.0.1\r\n\r\n- Faster generation of the command table\r\n"
                  "- The update check tells a failed check from \"no new version\"\r\n- HTTPS downloads";
    std::unique_ptr<ClassLib::TForm> dialog =
        licence ? update->CreateEULAForm(Bytes(text)) : update->CreateWhatsNewForm(Bytes(text));
    ShowOverPage(page, dialog.get());
    Kept().push_back(std::move(dialog));
}

const Showcase::TPageRegistration login(L"updater-login", [](ClassLib::TForm* page) {
    page->SetText(L"Updater: login");
    auto* form = new WuLogin::TOVTLoginForm(nullptr);
    Kept().emplace_back(form);
    form->SetText(L"Connect to 127.0.0.1:8080");
    form->UserNameEdit->SetText(L"updates");
    form->PasswordEdit->SetText(L"secret");
    form->Show();
    page->SetBounds(0, 0, 240, 120);
});

const Showcase::TPageRegistration progress(L"updater-progress", [](ClassLib::TForm* page) {
    page->SetText(L"Updater: progress");
    auto* form = new WUpdate::TProgressForm(nullptr);
    Kept().emplace_back(form);
    form->Label->SetText(L"Downloading : payload.bin");
    form->ProgressBar->SetRange(0, 204800);
    form->ProgressBar->SetPosition(81920);
    ShowOverPage(page, form);
});

const Showcase::TPageRegistration whatsNew(L"updater-whatsnew", [](ClassLib::TForm* page) { ShowTextDialog(page, false); });
const Showcase::TPageRegistration licence(L"updater-licence", [](ClassLib::TForm* page) { ShowTextDialog(page, true); });

}  // namespace
