#include "updater/WUpdateWiz.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <set>

#include "UpdaterTestSupport.h"
#include "support/PublishedDefaults.h"
#include "support/WindowTestSupport.h"
#include "classlib/ButtonControls.h"
#include "classlib/CheckListBox.h"
#include "classlib/DateTime.h"
#include "classlib/FileNames.h"
#include "classlib/PageControl.h"
#include "classlib/ProgressBar.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"
#include "classlib/Timer.h"
#include "classlib/WindowDescription.h"
#include "classlib/WindowDescriptionWriter.h"
#include "updater/WUpdateLanguagesU.h"
#include "updater/WuWizForm.h"

using namespace WUpdate;
using namespace UpdaterTests;
using ClassLib::TObject;
using WuWizForm::TWUWIZ;
using WUpdateWiz::TWebUpdateWizard;

namespace {

// A wizard over a test updater, against a local program of version 2.6.0.0. Run() shows
// it and calls a step every few milliseconds while it is up, with the form found through
// the wizard's components; the pages it was seen on are kept (numbered from 1).
class TWizardTest : public testing::Test {
protected:
    void SetUp() override {
        MakeLocalProgram(Local.Path() + L"app.exe");
        Wizard.SetWebUpdate(&Update);
        Update.OnAppRestart = [](TObject*, bool& allow) { allow = true; };
        // What the main window does: it closes, and the wizard with it.
        Update.OnAppDoClose = [this](TObject*) {
            ++Closes;
            Wizard.CloseWizard();
        };
    }
    // Serves a control file; "@LOCAL@" is the local program, "@TARGET@" the target folder.
    void Offer(const std::wstring& name, std::string text) {
        const std::pair<const char*, std::wstring> places[] = {{"@LOCAL@", Local.Path() + L"app.exe"},
                                                               {"@TARGET@", Target.Path()}};
        for (const auto& [key, value] : places)
            for (size_t at; (at = text.find(key)) != std::string::npos;)
                text.replace(at, std::strlen(key), ClassLib::UTF8Encode(value));
        PutServerFile(name, text);
        Update.SetURL(HttpUrl(L"files/") + name);
    }
    TWUWIZ* Form() const {
        for (int i = 0; i < Wizard.ComponentCount(); ++i)
            if (auto* form = dynamic_cast<TWUWIZ*>(Wizard.Components(i))) return form;
        return nullptr;
    }
    static int Page(const TWUWIZ& form) { return form.PageControl1->ActivePageIndex() + 1; }
    void Run(const std::function<void(TWUWIZ&)>& step = {}) {
        ClassLib::TTimer timer(nullptr);
        timer.SetInterval(20);
        const DWORD start = ::GetTickCount();
        timer.SetOnTimer([&](TObject*) {
            TWUWIZ* form = Form();
            if (!form || !form->Visible()) return;
            Seen.insert(Page(*form));
            if (step) step(*form);
            // Only a bound against a wizard that would wait for ever: the test then fails.
            if (::GetTickCount() - start > 30000 && !TimedOut) {
                TimedOut = true;
                Wizard.CloseWizard();
            }
        });
        timer.SetEnabled(true);
        Wizard.Execute(false);
        EXPECT_FALSE(TimedOut) << "the wizard waited until the bound";
        EXPECT_EQ(Form(), nullptr) << "the wizard's window outlived Execute";
    }
    TScratchFolder Local, Target, Download;
    TTestUpdate Update{Download.Path()};
    TWebUpdateWizard Wizard{nullptr};
    int Closes = 0;
    std::set<int> Seen;
    bool TimedOut = false;
};

// One application component and a plain file, both listed; the component makes the restart.
const char* const TwoFiles =
    "[update]\nnewversion=2.6.0.1\nlocalversion=@LOCAL@\n"
    "[files]\ncount=2\n"
    "[file1]\nurl=http://127.0.0.1:@PORT@/files/app.bin\ndescr=Program\n"
    "[file2]\nurl=http://127.0.0.1:@PORT@/files/help.bin\ndescr=Help\ntargetdir=@TARGET@\n"
    "[application]\nappupdate=1\nappname=@LOCAL@\nappcomps=app.bin\n";

}  // namespace

TEST_F(TWizardTest, AutoRunGoesFromStartToRestartAndSkipsWhatHasNothingToShow) {
    REQUIRE_SERVERS();
    REQUIRE_DISPLAY();
    PutServerFile(L"app.bin", "new program");
    PutServerFile(L"help.bin", "help");
    PutServerFile(L"news.txt", "Faster start\r\nFewer bugs\r\n");
    struct TCase {
        const char* Name;
        std::string Control;
        int WhatsNewRes;            // what OnDownloadedWhatsNew answers
        std::set<int> Shown, NotShown;
        int Restarts;
    };
    const std::string news = "[whatsnew]\nfile=http://127.0.0.1:@PORT@/files/news.txt\n";
    const std::string hiddenOnly =
        "[update]\nnewversion=2.6.0.1\nlocalversion=@LOCAL@\n[files]\ncount=1\n"
        "[file1]\nurl=http://127.0.0.1:@PORT@/files/help.bin\ntargetdir=@TARGET@\nhidden=1\n";
    const TCase cases[] = {
        {"what's new and components", TwoFiles + news, 1, {2, 3, 5, 7}, {4}, 1},
        {"what's new refused by the event", TwoFiles + news, 0, {2, 5, 7}, {3, 4}, 1},
        {"hidden entries only", hiddenOnly, 1, {2, 7}, {3, 4, 5}, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Offer(L"auto.inf", c.Control);
        Seen.clear();
        Closes = 0;
        std::wstring shownNews;
        Update.OnDownloadedWhatsNew = [&](TObject*, ClassLib::TStrings* text, int& res) {
            res = c.WhatsNewRes;
            text->Add(L"(checked)");
        };
        Wizard.SetAutoStart(true);
        Wizard.SetAutoRun(true);
        Run([&](TWUWIZ& form) {
            if (Page(form) == 3) shownNews = form.WhatsNewMemo->GetText();
        });
        for (int page : c.Shown) EXPECT_TRUE(Seen.count(page)) << "page " << page << " not shown";
        for (int page : c.NotShown) EXPECT_FALSE(Seen.count(page)) << "page " << page << " shown";
        EXPECT_EQ(Closes, c.Restarts);
        EXPECT_EQ(ReadFileBytes(Target.Path() + L"help.bin"), "help");
        if (c.Restarts) {
            EXPECT_EQ(ReadFileBytes(Download.Path() + L"app.bin"), "new program");
        }
        if (c.WhatsNewRes == 1 && c.Shown.count(3)) {
            EXPECT_EQ(shownNews, L"Faster start\r\nFewer bugs\r\n(checked)\r\n");
        }
        EXPECT_TRUE(Update.Boxes.empty());
        EXPECT_EQ(Update.UpdateUpdate(), wuuSilent);
        EXPECT_FALSE(Update.OnFileProgress) << "the wizard's handlers stayed on the updater";
        ::DeleteFileW((Target.Path() + L"help.bin").c_str());
        ::DeleteFileW((Download.Path() + L"app.bin").c_str());
    }
}

TEST_F(TWizardTest, ALicencePageWaitsForAChoiceAndADeclinedOneClosesWithoutDownloading) {
    REQUIRE_SERVERS();
    REQUIRE_DISPLAY();
    PutServerFile(L"app.bin", "new program");
    PutServerFile(L"help.bin", "help");
    PutServerFile(L"eula.txt", "Use it well.\r\n");
    Offer(L"eula.inf", std::string(TwoFiles) + "[eula]\nfile=http://127.0.0.1:@PORT@/files/eula.txt\n");
    struct TCase {
        bool Accept;
        int Restarts;
        bool Downloaded;
    };
    for (const TCase& c : {TCase{true, 1, true}, TCase{false, 0, false}}) {
        SCOPED_TRACE(c.Accept ? "accepted" : "declined");
        Closes = 0;
        Seen.clear();
        Wizard.SetAutoStart(true);
        Wizard.SetAutoRun(true);
        DWORD licenceSince = 0;
        bool waited = false;
        std::wstring licence;
        Run([&](TWUWIZ& form) {
            if (Page(form) != 4 || waited) return;
            if (!licenceSince) licenceSince = ::GetTickCount();
            // Well past the automatic pause: the automatic Next has done nothing.
            if (::GetTickCount() - licenceSince < 1000) return;
            waited = true;
            licence = form.EULAMemo->GetText();
            (c.Accept ? form.RAccept : form.RNoAccept)->SetChecked(true);
            EXPECT_EQ(form.EULAButton->Caption(), c.Accept ? L"Next" : L"Exit");
            EXPECT_TRUE(form.EULAButton->Enabled());
            form.EULAButton->Click();
        });
        EXPECT_TRUE(waited);
        EXPECT_EQ(licence, L"Use it well.\r\n");
        EXPECT_EQ(Closes, c.Restarts);
        EXPECT_EQ(ClassLib::FileExists(Target.Path() + L"help.bin"), c.Downloaded);
        EXPECT_FALSE(Seen.count(6) && !c.Downloaded);
        ::DeleteFileW((Target.Path() + L"help.bin").c_str());
    }
}

TEST_F(TWizardTest, VersionPageTellsWhatTheCheckFound) {
    REQUIRE_SERVERS();
    REQUIRE_DISPLAY();
    using ClassLib::DateToStr;
    using ClassLib::EncodeDate;
    using ClassLib::EncodeTime;
    const ClassLib::TDateTime newDate = EncodeDate(2030, 2, 1) + EncodeTime(10, 30, 0, 0);
    struct TCase {
        const char* Name;
        std::string Control;
        std::wstring Text;
        std::wstring Button;
    };
    const TCase cases[] = {
        {"6: a newer date", "[update]\ndate=01/02/2030\ntime=10:30\ndescr=Fixes\n",
         L"New version found :\r\rNew version : " + DateToStr(newDate) + L" " + ClassLib::TimeToStr(newDate) +
             L"\r\rFixes",
         L"Get update"},
        {"7: nothing newer", "[update]\nnewversion=2.6\nlocalversion=@LOCAL@\n", L"No new version available.", L"Exit"},
        {"11: a newer version", "[update]\nnewversion=2.6.0.1\nlocalversion=@LOCAL@\ndescr=Better\n",
         L"New version found :\rCurrent version : 2.6.0.0\rNew version : 2.6.0.1\r\rBetter", L"Get update"},
        {"8: unconditional", "[update]\nunconditional=1\n", L"New version available.", L"Get update"},
        {"no control file", "", L"Could not connect to update server or\rNo update found on server ...", L"Exit"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Control.empty())
            Update.SetURL(HttpUrl(L"files/missing.inf"));
        else
            Offer(L"version.inf", c.Control);
        Wizard.SetAutoStart(true);
        Wizard.SetAutoRun(false);
        std::wstring text, button;
        Run([&](TWUWIZ& form) {
            if (Page(form) != 2 || !form.ControlButton->Enabled() || !text.empty()) return;
            text = form.VersionInfoLabel->Caption();
            button = form.ControlButton->Caption();
            // Exit closes the wizard; otherwise the test closes it.
            if (button == L"Exit")
                form.ControlButton->Click();
            else
                Wizard.CloseWizard();
        });
        EXPECT_EQ(text, c.Text);
        EXPECT_EQ(button, c.Button);
        EXPECT_FALSE(Seen.count(3) || Seen.count(6));
    }
}

TEST_F(TWizardTest, TextsComeFromTheLanguageOrTheEnglishDefaults) {
    REQUIRE_DISPLAY();
    struct TCase {
        const char* Name;
        bool Polish;
        bool RemoveLanguage;
        std::wstring Welcome, WhatsNew, Decline, Cancel;
    };
    const TCase cases[] = {
        {"Polish", true, false, L"Naciśnij START, aby sprawdzić dostępność uaktualnień...", L"Co nowego?",
         L"Nie akceptuję licencji", L"Anuluj"},
        {"language removed", true, true, L"Press start to start checking for available application updates ...",
         L"What's new", L"I do not accept", L"Cancel"},
        {"no language", false, false, L"Press start to start checking for available application updates ...",
         L"What's new", L"I do not accept", L"Cancel"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto polish = std::make_unique<WUpdateLanguagesU::TWebUpdateWizardPolish>(nullptr);
        Wizard.SetLanguage(c.Polish ? polish.get() : nullptr);
        if (c.RemoveLanguage) {
            polish.reset();
            EXPECT_EQ(Wizard.Language(), nullptr);
        }
        Wizard.SetAutoStart(false);
        std::wstring welcome, whatsNew, decline, cancel;
        Run([&](TWUWIZ& form) {
            welcome = form.WelcomeLabel->Caption();
            whatsNew = form.Label2->Caption();
            decline = form.RNoAccept->Caption();
            cancel = form.CancelButton->Caption();
            Wizard.CloseWizard();
        });
        EXPECT_EQ(welcome, c.Welcome);
        EXPECT_EQ(whatsNew, c.WhatsNew);
        EXPECT_EQ(decline, c.Decline);
        EXPECT_EQ(cancel, c.Cancel);
        Wizard.SetLanguage(nullptr);
    }
}

TEST_F(TWizardTest, ACaptionWiderThanItsButtonWidensItLeftwards) {
    REQUIRE_DISPLAY();
    struct TCase {
        const wchar_t* Caption;
        bool Wider;
    };
    const TCase cases[] = {{L"Exit", false}, {L"Download the complete update now", true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Caption)));
        int left = 0, width = 0, textWidth = 0;
        Run([&](TWUWIZ& form) {
            ClassLib::TButton& button = *form.StartButton;
            button.SetCaption(c.Caption);
            form.FitButton(&button);
            left = button.Left();
            width = button.Width();
            form.Canvas()->Font()->Assign(button.Font());
            textWidth = form.Canvas()->TextWidth(c.Caption);
            Wizard.CloseWizard();
        });
        EXPECT_EQ(left + width, 224 + 91) << "the right edge moved";
        if (c.Wider)
            EXPECT_EQ(width, textWidth + 16);
        else
            EXPECT_EQ(width, 91);
    }
}

TEST_F(TWizardTest, TheCloseBoxDuringADownloadCancelsItAndClosesOnceItHasReturned) {
    REQUIRE_SERVERS();
    REQUIRE_DISPLAY();
    // 100 blocks, 50 ms apart: far longer than the close takes to arrive.
    Offer(L"slow.inf", "[update]\nnewversion=2.6.0.1\nlocalversion=@LOCAL@\n[files]\ncount=1\n"
                       "[file1]\nurl=http://127.0.0.1:@PORT@/slow/409600/50\ntargetdir=@TARGET@\nhidden=1\n");
    Wizard.SetAutoStart(true);
    Wizard.SetAutoRun(true);
    bool closeSent = false, refused = false;
    Run([&](TWUWIZ& form) {
        if (!closeSent && Page(form) == 6 && form.TransferRunning() && form.FileProgress->Position() > 0) {
            closeSent = true;
            // Sent from inside the transfer's message processing, as a click on the box arrives.
            ::SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
            refused = form.Visible() && form.ModalResult() == ClassLib::mrNone && form.Cancelled;
        }
    });
    EXPECT_TRUE(closeSent);
    EXPECT_TRUE(refused) << "the window did not stay while its transfer ran";
    EXPECT_FALSE(Seen.count(7));
    EXPECT_TRUE(Update.Boxes.empty()) << "a cancel the user asked for is no failure to report";
    EXPECT_TRUE(Target.Files().empty()) << "a partial file stayed";
    EXPECT_TRUE(Download.Files().empty()) << "a partial file stayed";
    EXPECT_EQ(Closes, 0);
}

TEST(WebUpdateWizard, DefaultsTextsAndARunWithoutUpdater) {
    TWebUpdateWizard wizard(nullptr);
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(&wizard), 0);
    EXPECT_EQ(wizard.Font()->Name(), L"Verdana");
    EXPECT_EQ(wizard.Font()->Size(), 9);
    EXPECT_TRUE(wizard.Font()->Style().Contains(ClassLib::fsBold));
    try {
        wizard.Execute(false);
        ADD_FAILURE() << "ran without an updater";
    } catch (const ClassLib::Exception& error) {
        EXPECT_EQ(error.Message(), L"No WebUpdate component assigned");
    }
    // Assign copies every text; the Polish set leaves the pop-up texts English.
    WUpdateLanguagesU::TWebUpdateWizardPolish polish(nullptr);
    WUpdateLanguagesU::TWebUpdateWizardLanguage copy(nullptr);
    copy.Assign(&polish);
    EXPECT_EQ(copy.RestartButton(), L"Zakończ");
    EXPECT_EQ(copy.FailedDownload(), L"Nie udało się pobrać uaktualnienia");
    EXPECT_EQ(copy.WhatsNewPopup(), L"View in Notepad");
    EXPECT_EQ(copy.LicensePopup(), L"View in Notepad");
}

// The download page is drawn at most every 60 ms, and at once when a file starts or ends:
// drawing it for every 4 KB block cost nine tenths of the transfer's speed.
TEST(WizardProgress, IsShownEverySixtyMillisecondsAndWhenAFileStartsOrEnds) {
    REQUIRE_DISPLAY();
    TScratchFolder download;
    TTestUpdate update(download.Path());   // its seams go back when it goes
    update.FileList()->Add()->FileSize = 1000;
    update.FileList()->Add()->FileSize = 3000;
    uint32_t now = 5000;
    ClassLib::Seams().TickCount = [&now] { return now; };
    TWUWIZ* form = new TWUWIZ(nullptr);
    form->WebUpdate = &update;
    struct TStep { const wchar_t* File; int Active; long long Pos, Size; uint32_t Later; int Shown, Total; };
    const TStep steps[] = {
        {L"C:\\d\\a.bin", 0, 100, 1000, 0, 100, 100},      // a file starts: shown
        {L"C:\\d\\a.bin", 0, 200, 1000, 10, 100, 100},
        {L"C:\\d\\a.bin", 0, 300, 1000, 49, 100, 100},     // 59 ms after the last one shown
        {L"C:\\d\\a.bin", 0, 400, 1000, 1, 400, 400},      // 60 ms
        {L"C:\\d\\a.bin", 0, 1000, 1000, 1, 1000, 1000},   // the file ends: shown
        {L"C:\\d\\b.bin", 1, 10, 3000, 1, 10, 1010},       // the next one starts
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(testing::Message() << step.Pos << " after " << step.Later << " ms");
        now += step.Later;
        update.FileList()->ActiveItem = step.Active;
        form->WebUpdateFileProgress(nullptr, step.File, step.Pos, step.Size);
        EXPECT_EQ(form->FileProgress->Position(), step.Shown);
        EXPECT_EQ(form->TotalProgress->Position(), step.Total);
    }
    EXPECT_EQ(form->FileLabel->Caption(), L"b.bin");
    form->BeforeDestruction();
    delete form;
}

// The wizard starts with its own bold Verdana, not a font's declared defaults: a font set
// to those defaults (or to anything else) is written so that it reads back, and the
// starting font itself is left out.
TEST(WebUpdateWizard, ItsWrittenFontReadsBackWhateverItStartedWith) {
    struct TCase { const wchar_t* Name; ClassLib::TFontStyles Style; int Height; bool Written; };
    const TCase cases[] = {
        {L"Tahoma", {}, -11, true},                       // every value a font declares as default
        {L"Tahoma", {ClassLib::fsBold}, -11, true},       // the main window's
        {L"Verdana", {}, -12, true},
        {L"Verdana", {ClassLib::fsBold}, TWebUpdateWizard(nullptr).Font()->Height(), false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name) + L" " + std::to_wstring(c.Height)));
        TWebUpdateWizard wizard(nullptr);
        wizard.SetName(L"Wizard1");
        wizard.Font()->SetName(c.Name);
        wizard.Font()->SetStyle(c.Style);
        wizard.Font()->SetHeight(c.Height);
        const std::wstring text = ClassLib::WriteComponentToText(&wizard);
        EXPECT_EQ(text.find(L"Font.") != std::wstring::npos, c.Written) << testing::PrintToString(text);
        TWebUpdateWizard again(nullptr);
        ClassLib::ReadComponentFromText(&again, text);
        EXPECT_EQ(again.Font()->Name(), c.Name);
        EXPECT_EQ(again.Font()->Style(), c.Style);
        EXPECT_EQ(again.Font()->Height(), c.Height);
    }
}
// What the screen shows of the version page, above the text: the page's own face, nothing
// left unpainted (black on the X server) between the page's top and the label.
TEST_F(TWizardTest, TheVersionPageIsPaintedAboveItsText) {
    REQUIRE_SERVERS();
    REQUIRE_DISPLAY();
    Offer(L"version.inf", "[update]\nnewversion=2.6.0.1\nlocalversion=@LOCAL@\ndescr=Better\n");
    Wizard.SetAutoStart(true);
    Wizard.SetAutoRun(false);
    int strip = -1, black = -1;
    Run([&](TWUWIZ& form) {
        if (Page(form) != 2 || !form.ControlButton->Enabled() || black >= 0) return;
        TestSupport::PumpMessages();
        ClassLib::TTabSheet* page = form.TabSheet2;
        const ClassLib::TPoint origin = page->ClientToScreen({0, 0});
        const int w = page->ClientWidth(), h = form.VersionInfoLabel->Top();
        HDC screen = ::GetDC(nullptr);
        black = 0;
        strip = w * h;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((::GetPixel(screen, origin.X + x, origin.Y + y) & 0xFFFFFF) == 0) ++black;
        ::ReleaseDC(nullptr, screen);
        Wizard.CloseWizard();
    });
    EXPECT_GT(strip, 0);
    EXPECT_EQ(black, 0) << "of " << strip;
}
