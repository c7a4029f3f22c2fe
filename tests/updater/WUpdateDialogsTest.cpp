#include "updater/WUpdate.h"

#include <gtest/gtest.h>

#include "UpdaterTestSupport.h"
#include "classlib/ButtonControls.h"
#include "classlib/EditControls.h"
#include "classlib/ProgressBar.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Streams.h"
#include "support/PublishedDefaults.h"
#include "support/WindowTestSupport.h"
#include "updater/WuLogin.h"

using namespace WUpdate;
using namespace UpdaterTests;
using namespace ClassLib;

namespace {

TRect BoundsOf(TComponent* component) {
    auto* control = dynamic_cast<TControl*>(component);
    return control ? control->BoundsRect() : TRect();
}

std::unique_ptr<TMemoryStream> StreamOf(const std::string& text) {
    auto stream = std::make_unique<TMemoryStream>();
    stream->Write(text.data(), int(text.size()));
    return stream;
}

}  // namespace

TEST(WUpdateDialogs, LoginFormIsBuiltFromItsOwnDescription) {
    REQUIRE_DISPLAY();
    WuLogin::TOVTLoginForm form(nullptr);
    EXPECT_EQ(form.ClientWidth(), 320);
    EXPECT_EQ(form.ClientHeight(), 189);
    ASSERT_NE(form.UserNameEdit, nullptr);
    ASSERT_NE(form.PasswordEdit, nullptr);
    EXPECT_EQ(form.UserNameEdit->BoundsRect(), TRect(104, 80, 104 + 193, 80 + 21));
    EXPECT_EQ(form.PasswordEdit->BoundsRect(), TRect(104, 112, 104 + 193, 112 + 21));
    EXPECT_EQ(form.PasswordEdit->PasswordChar(), L'*');
    EXPECT_EQ(form.UserNameEdit->GetText(), L"");
    auto* ok = dynamic_cast<TButton*>(form.FindComponent(L"OkButton"));
    auto* cancel = dynamic_cast<TButton*>(form.FindComponent(L"CancelButton"));
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(ok->BoundsRect(), TRect(144, 152, 219, 177));
    EXPECT_TRUE(ok->Default());
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_TRUE(cancel->Cancel());
    EXPECT_EQ(cancel->ModalResult(), mrCancel);
}

TEST(WUpdateDialogs, WhatsNewAndLicenceLayouts) {
    REQUIRE_DISPLAY();
    TScratchFolder folder;
    TTestUpdate update(folder.Path());
    const std::string plain = "line one\r\nline two";
    std::unique_ptr<TForm> news = update.CreateWhatsNewForm(std::vector<uint8_t>(plain.begin(), plain.end()));
    EXPECT_EQ(news->Caption(), L"What's new");
    EXPECT_EQ(news->Width(), 400);
    EXPECT_EQ(news->Height(), 400);
    auto* memo = dynamic_cast<TMemo*>(news->FindComponent(L"Content"));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->BoundsRect(), TRect(10, 10, news->ClientWidth() - 10, news->ClientHeight() - 50));
    EXPECT_EQ(memo->Lines()->Count(), 2);
    const TRect ok = BoundsOf(news->FindComponent(L"OkButton"));
    const TRect cancel = BoundsOf(news->FindComponent(L"CancelButton"));
    EXPECT_EQ(ok.Top, memo->BoundsRect().Bottom + 10);
    EXPECT_EQ(ok.Left, memo->BoundsRect().Right - 2 * ok.Width() - 10);
    EXPECT_EQ(cancel.Right, memo->BoundsRect().Right);

    const std::string rtf = "{\\rtf1\\ansi Terms}";
    std::unique_ptr<TForm> licence = update.CreateEULAForm(std::vector<uint8_t>(rtf.begin(), rtf.end()));
    EXPECT_EQ(licence->Caption(), L"");
    ASSERT_NE(dynamic_cast<TRichEdit*>(licence->FindComponent(L"Content")), nullptr);
    auto* accept = dynamic_cast<TRadioButton*>(licence->FindComponent(L"AcceptRadio"));
    auto* refuse = dynamic_cast<TRadioButton*>(licence->FindComponent(L"NotAcceptRadio"));
    ASSERT_TRUE(accept && refuse);
    EXPECT_EQ(accept->Left(), 10);
    EXPECT_EQ(refuse->Left(), accept->Width() + 20);
    EXPECT_TRUE(refuse->Checked());
    EXPECT_EQ(BoundsOf(licence->FindComponent(L"OkButton")).Right, 400 - (400 - licence->ClientWidth()) - 10);
}

TEST(WUpdateDialogs, AnswersOfTheTextDialogs) {
    TScratchFolder folder;
    struct TCase {
        const char* Name;
        std::string Text;
        bool Licence;
        bool HandlerAssigned;
        int HandlerRes;
        TModalResult Answer;
        bool Accept;
        int Result;
        bool DialogShown;
    };
    const TCase cases[] = {
        {"news ok", "News", false, false, 1, mrOk, true, 0, true},
        {"news cancelled", "News", false, false, 1, mrCancel, true, -1, true},
        {"news to the handler", "News", false, true, 1, mrCancel, true, 0, false},
        {"news refused by the handler", "News", false, true, 0, mrOk, true, -1, false},
        {"rtf news always shown", "{\\rtf1 News}", false, true, 0, mrOk, true, 0, true},
        {"licence accepted", "Terms", true, false, 1, mrOk, true, 0, true},
        {"licence not accepted", "Terms", true, false, 1, mrOk, false, -1, true},
        {"plain licence: handler, then dialog", "Terms", true, true, 1, mrOk, true, 0, true},
        {"plain licence refused by the handler", "Terms", true, true, 0, mrOk, true, -1, true},
        {"rtf licence ends with the handler", "{\\rtf1 Terms}", true, true, 1, mrOk, false, 0, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        struct TDialogCounter : TTestUpdate {
            using TTestUpdate::TTestUpdate;
            int Shown = 0;
            TModalResult ExecuteDialog(TForm& form) override {
                ++Shown;
                return TTestUpdate::ExecuteDialog(form);
            }
        } update(folder.Path());
        update.DialogAnswer = c.Answer;
        update.AcceptLicence = c.Accept;
        int handled = 0;
        const TDownloadedTextEvent handler = [&](TObject*, TStrings* text, int& res) {
            ++handled;
            EXPECT_GT(text->Count(), 0);
            res = c.HandlerRes;
        };
        if (c.HandlerAssigned) (c.Licence ? update.OnDownloadedEULA : update.OnDownloadedWhatsNew) = handler;
        const std::unique_ptr<TMemoryStream> stream = StreamOf(c.Text);
        EXPECT_EQ(c.Licence ? update.EULADialog(stream.get()) : update.WhatsNewDialog(stream.get()), c.Result);
        EXPECT_EQ(update.Shown, c.DialogShown ? 1 : 0);
        if (!c.Licence && c.Answer == mrCancel && c.DialogShown) {
            EXPECT_EQ(update.Idents().back(), 938);
        }
    }
}

TEST(WUpdateDialogs, HtmlDialogGoesThroughItsSeamAndSkipsAMissingLibrary) {
    // The project's Wine prefix has no HTML library: the system call does nothing.
    EXPECT_FALSE(PlatformHTMLDialog(L"http://127.0.0.1/page.html", nullptr));
    TScratchFolder folder;
    TWebUpdate update(nullptr);
    std::wstring shown;
    update.HTMLDialog = [&](const std::wstring& url, HWND) {
        shown = url;
        return true;
    };
    update.ShowHTMLDialog(L"{TMP}page.html");
    EXPECT_EQ(shown, L"{TMP}page.html");
}

TEST(WUpdateComponent, PublishedDefaultsMatchTheConstructor) {
    TWebUpdate update(nullptr);
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(&update), 30);
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(update.LastURLEntry()), 0);
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(update.PostUpdateInfo()), 0);
    TWebUpdateUtility utility(nullptr);
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(&utility), 0);
    update.SetVersion(L"9.9");
    EXPECT_EQ(update.Version(), L"2.6.3.1");
    // The utility is forgotten when it goes.
    auto* owned = new TWebUpdateUtility(nullptr);
    update.SetUtility(owned);
    delete owned;
    EXPECT_EQ(update.Utility(), nullptr);
}

// The main window's check runs on a copy of its updater: every setting comes along, no
// handler and nothing a run found.
TEST(WUpdateComponent, AssignCopiesTheSettingsOnly) {
    TWebUpdate source(nullptr);
    source.SetURL(L"https://example.invalid/x.inf");
    source.SetTimeOut(5000);
    source.SetTotalTimeOut(20000);
    source.SetUpdateType(ftpUpdate);
    source.SetDateSeparator(L'.');
    source.LastURLEntry()->SetKey(L"Software\\x");
    source.OnStatus = [](TObject*, const std::wstring&, int, int) {};
    source.NewVersionInfo = L"1.2";
    TWebUpdate copy(nullptr);
    copy.Assign(&source);
    EXPECT_EQ(copy.URL(), source.URL());
    EXPECT_EQ(copy.TimeOut(), 5000);
    EXPECT_EQ(copy.TotalTimeOut(), 20000);
    EXPECT_EQ(copy.UpdateType(), ftpUpdate);
    EXPECT_EQ(copy.DateSeparator(), L'.');
    EXPECT_EQ(copy.LastURLEntry()->Key(), L"Software\\x");
    EXPECT_FALSE(copy.OnStatus);
    EXPECT_EQ(copy.NewVersionInfo, L"");
}
