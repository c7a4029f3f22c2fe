// The main window end to end: made from its description (read from the source tree, as
// the tests carry no program resources), with file dialogs, message boxes and the
// registry key replaced or cleaned around every test.
#include "app/Unit1.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/Unit1Generator.h"
#include "app/VxFormSR.h"
#include "app/frmDorlenU.h"
#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/Clipboard.h"
#include "classlib/Dialogs.h"
#include "classlib/FileNames.h"
#include "classlib/GdiObjects.h"
#include "classlib/Registry.h"
#include "classlib/Screen.h"
#include "classlib/Seams.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "classlib/Timer.h"
#include "controls/AdvGlowButton.h"
#include "controls/AdvOfficeStatusBar.h"
#include "controls/AdvOfficeStatusBarStylers.h"
#include "controls/AdvPageControl.h"
#include "editor/AdvMemo.h"
#include "editor/AdvmCSHS.h"
#include "support/SourceTree.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;
using Unit1::TForm1;
using TLines = std::vector<std::wstring>;

namespace {

std::wstring Description(const std::wstring& file) {
    TStringList text;
    text.LoadFromFile(TestSupport::SourceTreePath(L"app\\" + file));
    return text.Text();
}

TLines LinesOf(const TStrings* lines) {
    TLines result;
    for (int i = 0; i < lines->Count(); ++i) result.push_back(lines->Strings(i));
    return result;
}

void WriteFile(const std::wstring& name, const TLines& lines) {
    TStringList list;
    for (const auto& line : lines) list.Add(line);
    list.SaveToFile(name);
}

// The file's bytes as text (the generated files are plain ASCII).
std::wstring RawText(const std::wstring& name) {
    std::wstring text;
    HANDLE file = ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return L"<missing>";
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, buffer + read);
    ::CloseHandle(file);
    return text;
}

TLines ReadFile(const std::wstring& name) {
    TStringList list;
    list.LoadFromFile(name);
    return LinesOf(&list);
}

const TLines DefaultList = {L"ATE0 - echo off",     L"ATE1 - echo on", L"AT+CHADDR=<change ip addr>",
                            L"AT+RST? - reboot uC", L"AT+DISP=<1-5>",  L"AT+LCD=<y>,<x>,<text>"};

const wchar_t* const DefaultHeader =
    L"#ifndef VX_MULTI_UART_VX_AT_USER_CMDS_H_\r\n#define VX_MULTI_UART_VX_AT_USER_CMDS_H_\r\n\r\n\r\n"
    L"#define USE_HELP_VT100_COLORS        1\r\n\r\n\r\n\r\n#define AT_CMD_COUNT            6\r\n\r\n\r\n"
    L"#endif /* VX_MULTI_UART_VX_AT_USER_CMDS_H_ */\r\n";

// What the generator alone makes of a list with sorting on: the window must show exactly this.
struct TReference {
    AdvMemo::TAdvMemo List, C, H;
    TStringList Table;
    Unit1::TAtGenerator Generator;
    explicit TReference(const TLines& list) {
        Generator.SetPanes(List.Lines(), C.Lines(), H.Lines(), &Table);
        for (const auto& line : list) List.Lines()->Add(line);
        Generator.GenerateSources();
    }
};

std::wstring SettingsKey() { return VxFormSR::MainAppRegKeyFor(Application->ExeName()); }

std::wstring ReadSetting(const std::wstring& name) {
    TRegistry registry(KEY_READ);
    if (!registry.OpenKeyReadOnly(SettingsKey()) || !registry.ValueExists(name)) return L"<missing>";
    if (name == L"sort_cmds" || name == L"auto_correct_headers") return std::to_wstring(registry.ReadInteger(name));
    return registry.ReadString(name);
}

class MainWindow : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        TRegistry().DeleteKey(SettingsKey());
        // The start-up check asks a server that is down, never the program's own.
        ::SetEnvironmentVariableW(L"ATGEN_UPDATE_URL", L"http://127.0.0.1:9/AtCmdGen.inf");
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        Folder = IncludeTrailingPathDelimiter(std::wstring(temp) + L"atgen_unit1_" +
                                              std::to_wstring(::GetCurrentProcessId()));
        ::CreateDirectoryW(Folder.c_str(), nullptr);
        SavedDialogHook = SetFileDialogHook([this](TOpenDialog& dialog) {
            DialogLog.push_back((dialog.IsSaveDialog() ? L"save " : L"open ") + dialog.InitialDir() + L"|" +
                                dialog.FileName());
            if (NextFile.empty()) return false;
            dialog.SetFileName(NextFile);
            return true;
        });
        SavedMessageHook = SetMessageDlgHook([this](const TMessageDlgRequest& request) {
            Messages.push_back(request.Message);
            return mrOk;
        });
        Start();
    }
    void TearDown() override {
        if (!TestSupport::HasDisplay()) return;
        End();
        SetFileDialogHook(SavedDialogHook);
        SetMessageDlgHook(SavedMessageHook);
        for (const wchar_t* name : {L"x.c", L"x.h", L"y.c", L"y.h", L"z.c", L"x.cph", L"x.cpp"})
            ::DeleteFileW((Folder + name).c_str());
        ::RemoveDirectoryW(Folder.c_str());
        TRegistry().DeleteKey(SettingsKey());
    }
    void Start() { Form = new TForm1(nullptr, Description(L"Unit1.desc")); }
    // The window is closed and freed, as when the program ends.
    void End() {
        if (!Form) return;
        Form->BeforeDestruction();
        delete Form;
        Form = nullptr;
    }
    void Restart() {
        End();
        Start();
    }
    void Show() {
        Form->Show();
        TestSupport::PumpMessages();
    }
    void SetList(const TLines& list) {
        Form->atcmds->Lines()->Clear();
        for (const auto& line : list) Form->atcmds->Lines()->Add(line);
    }
    // Generates from the list and saves as x.c / x.h in the test folder.
    void MakeFiles(const TLines& list) {
        SetList(list);
        Form->AdvGlowButton3->Click();
        NextFile = Folder + L"x.c";
        Form->AdvGlowButton8->Click();
        NextFile.clear();
    }
    void Open(const std::wstring& file) {
        NextFile = file;
        Form->btnOpenCandH->Click();
        NextFile.clear();
    }

    TForm1* Form = nullptr;
    std::wstring Folder;
    std::wstring NextFile;  // what the file dialog answers; empty cancels it
    std::vector<std::wstring> DialogLog;
    std::vector<std::wstring> Messages;
    TFileDialogHook SavedDialogHook;
    TMessageDlgHook SavedMessageHook;
};

}  // namespace

TEST(MainWindowNames, HeaderNameReplacesTheLastCharacter) {
    EXPECT_EQ(Unit1::HeaderNameFor(L"D:\\w\\x.c"), L"D:\\w\\x.h");
    EXPECT_EQ(Unit1::HeaderNameFor(L"x.C"), L"x.h");
    EXPECT_EQ(Unit1::HeaderNameFor(L"x.cpp"), L"x.cph");
}

TEST_F(MainWindow, DescriptionBuildsEveryControlWithItsSettings) {
    REQUIRE_DISPLAY();
    // Before any message is pumped: on a busy machine the first tick (one second after
    // creation) may already be due, and it switches the timer off.
    EXPECT_TRUE(Form->Timer1->Enabled());
    Show();
    EXPECT_EQ(Form->ClientWidth(), 860);
    EXPECT_GE(Form->ClientHeight(), 646);  // the minimum outer height may add a few pixels
    EXPECT_EQ(Form->Constraints()->MinWidth(), 860);
    EXPECT_EQ(Form->Constraints()->MinHeight(), 680);
    EXPECT_EQ(LinesOf(Form->atcmds->Lines()), DefaultList);
    EXPECT_EQ(Form->PageControl0->ActivePageIndex(), 0);
    EXPECT_EQ(Form->PageControl0->ActivePage(), Form->AdvTabSheet2);
    EXPECT_EQ(Form->AdvTabSheet5->Caption(), L"vx_at_user_cmds.h");
    EXPECT_EQ(Form->MemoC->SyntaxStyles(), Form->CMemoStyler);
    EXPECT_FALSE(Form->Memo2->Visible());
    EXPECT_EQ(Form->Timer1->Interval(), 1000u);
    EXPECT_EQ(Form->OpenDialog1->Filter(), L"( source file *.C )|*.c");
    ASSERT_EQ(Form->StatusBar1->Panels()->Count(), 2);
    EXPECT_EQ(Form->StatusBar1->Panels()->Items(0)->Text(), L"FW ver");
    EXPECT_TRUE(Form->StatusBar1->Panels()->Items(1)->Button());
    EXPECT_EQ(Form->StatusBar1->Panels()->Items(0)->Style(), AdvOfficeStatusBar::psProgress);
    EXPECT_EQ(Form->StatusBar1->Panels()->Items(0)->Alignment(), taCenter);
    EXPECT_EQ(Form->StatusBar1->Panels()->Items(1)->Width(), 50);
    EXPECT_EQ(Form->StatusBar1->Styler(), Form->OffStyler);
    EXPECT_EQ(Form->OffStyler->Style(), AdvOfficeStatusBarStylers::psOffice2010Blue);
    EXPECT_EQ(Form->PageControl0->TabWidth(), 191);
    EXPECT_EQ(Form->AdvGlowButton3->Caption(), L"Create files");

    // Every bottom control lies inside its panel, above the status bar.
    for (TControl* control : std::vector<TControl*>{Form->AdvGlowButton7, Form->atcmds, Form->CheckBox2,
                                                    Form->CheckBox3, Form->AdvGlowButton3, Form->btnOpenCandH,
                                                    Form->AdvGlowButton8, Form->PageControl0}) {
        SCOPED_TRACE(testing::PrintToString(control->Name()));
        const TRect parent = control->Parent()->ClientRect();
        EXPECT_LE(control->Top() + control->Height(), parent.Bottom);
        EXPECT_LE(control->Left() + control->Width(), parent.Right);
        EXPECT_LE(control->ClientToScreen({0, control->Height()}).Y, Form->StatusBar1->ClientToScreen({0, 0}).Y);
    }
}

TEST_F(MainWindow, StartReadsCheckBoxesWithoutRunningTheirHandlers) {
    REQUIRE_DISPLAY();
    // Defaults: nothing stored, and nothing written by a handler at start.
    EXPECT_TRUE(Form->CheckBox1->Checked());
    EXPECT_FALSE(Form->CheckBox3->Checked());
    EXPECT_TRUE(Form->CheckBox2->Checked());
    EXPECT_EQ(ReadSetting(L"sort_cmds"), L"<missing>");
    EXPECT_EQ(ReadSetting(L"auto_correct_headers"), L"<missing>");

    // Clicks store; the next start reads them back, and VT100 is checked again.
    Form->CheckBox1->SetChecked(false);
    Form->CheckBox3->SetChecked(true);
    Form->CheckBox2->SetChecked(false);
    EXPECT_EQ(ReadSetting(L"sort_cmds"), L"0");
    EXPECT_EQ(ReadSetting(L"auto_correct_headers"), L"1");
    Restart();
    EXPECT_FALSE(Form->CheckBox1->Checked());
    EXPECT_TRUE(Form->CheckBox3->Checked());
    EXPECT_TRUE(Form->CheckBox2->Checked());
}

TEST_F(MainWindow, CreateFilesFillsBothPanesAndIgnoresABlankList) {
    REQUIRE_DISPLAY();
    Form->AdvGlowButton3->Click();
    const TReference reference(DefaultList);
    EXPECT_EQ(LinesOf(Form->MemoC->Lines()), LinesOf(reference.C.Lines()));
    EXPECT_EQ(Form->MemoH->Lines()->Text(), DefaultHeader);
    EXPECT_EQ(LinesOf(Form->atcmds->Lines()), LinesOf(reference.List.Lines()));  // sorted back into the list

    SetList({L"   ", L""});
    Form->MemoC->Lines()->SetText(L"kept");
    Form->AdvGlowButton3->Click();
    EXPECT_EQ(Form->MemoC->Lines()->Text(), L"kept");
}

TEST_F(MainWindow, OpenRebuildsTheListAndRemembersTheFolder) {
    REQUIRE_DISPLAY();
    MakeFiles(DefaultList);
    const TLines generatedC = ReadFile(Folder + L"x.c");
    SetList({L"ATZ"});
    Open(Folder + L"x.c");
    EXPECT_EQ(DialogLog.back(), L"open c:\\|");
    EXPECT_EQ(Form->cname, Folder + L"x.c");
    EXPECT_EQ(Form->hname, Folder + L"x.h");
    EXPECT_EQ(LinesOf(Form->MemoC->Lines()), generatedC);
    EXPECT_EQ(LinesOf(Form->MemoH->Lines()), ReadFile(Folder + L"x.h"));
    EXPECT_EQ(LinesOf(Form->atcmds->Lines()), (TLines{L"ATE0 - echo off", L"ATE1 - echo on",
                                                      L"AT+CHADDR=<change ip addr>", L"AT+DISP=<1-5>",
                                                      L"AT+LCD=<y>,<x>,<text>", L"AT+RST? - reboot uC"}));
    EXPECT_EQ(Form->Generator()->atList->Count(), 6);
    EXPECT_EQ(ReadSetting(L"open_c_h_dir"), Folder);

    // Cancelled: nothing changes, the dialog starts in the remembered folder.
    Form->btnOpenCandH->Click();
    EXPECT_EQ(DialogLog.back(), L"open " + Folder + L"|" + Folder + L"x.c");
    EXPECT_EQ(Form->atcmds->Lines()->Count(), 6);
}

TEST_F(MainWindow, OpenWithTheHeaderMissingRaisesAndKeepsNoStaleBlocks) {
    REQUIRE_DISPLAY();
    MakeFiles(DefaultList);
    Open(Folder + L"x.c");
    ASSERT_EQ(Form->Generator()->atList->Count(), 6);
    ::CopyFileW((Folder + L"x.c").c_str(), (Folder + L"y.c").c_str(), FALSE);
    Form->MemoH->Lines()->SetText(L"previous header");

    NextFile = Folder + L"y.c";
    EXPECT_THROW(Form->btnOpenCandH->Click(), Exception);
    NextFile.clear();
    EXPECT_EQ(LinesOf(Form->MemoC->Lines()), ReadFile(Folder + L"y.c"));
    EXPECT_EQ(Form->MemoH->Lines()->Text(), L"previous header");
    EXPECT_EQ(Form->cname, Folder + L"y.c");
    EXPECT_EQ(Form->atcmds->Lines()->Count(), 0);
    // The first file's blocks must not reach the next generation.
    EXPECT_EQ(Form->Generator()->atList->Count(), 0);
    EXPECT_EQ(Form->Generator()->atFunList->Count(), 0);
    EXPECT_EQ(Form->Generator()->sct1List->Count(), 0);
    EXPECT_EQ(Form->Generator()->sct2List->Count(), 0);
}

TEST_F(MainWindow, SaveInPlaceRereadsAndWritesTheHeaderOnlyWhenItExists) {
    REQUIRE_DISPLAY();
    MakeFiles(DefaultList);
    Open(Folder + L"x.c");
    // The user's code in a block survives the save and the read-back.
    TStrings* c = Form->MemoC->Lines();
    int body = -1;
    for (int i = 0; i < c->Count() && body < 0; ++i)
        if (c->Strings(i).find(L"///{ AT+DISP") == 0) body = i + 1;
    ASSERT_GE(body, 0);
    c->Insert(body, L"  PORTB = 1; // mine");
    Form->atcmds->Lines()->SetText(L"ATZ");
    const size_t dialogs = DialogLog.size();
    Form->AdvGlowButton8->Click();
    EXPECT_EQ(DialogLog.size(), dialogs);  // no dialog for the opened file
    EXPECT_EQ(ReadFile(Folder + L"x.c")[size_t(body)], L"  PORTB = 1; // mine");
    EXPECT_EQ(Form->atcmds->Lines()->Count(), 6);  // re-read from the saved file
    Form->AdvGlowButton3->Click();
    EXPECT_NE(Form->MemoC->Lines()->IndexOf(L"  PORTB = 1; // mine"), -1);

    ::DeleteFileW((Folder + L"x.h").c_str());
    Form->AdvGlowButton8->Click();
    EXPECT_FALSE(FileExists(Folder + L"x.h"));  // a missing header is not created
}

TEST_F(MainWindow, AUtf8FileWithoutAMarkOpensEditsAndSavesAsUtf8) {
    REQUIRE_DISPLAY();
    MakeFiles(DefaultList);
    // As another editor writes it: UTF-8 without a byte-order mark.
    TLines lines = ReadFile(Folder + L"x.c");
    lines.insert(lines.begin(), L"// z\u00E4hler");
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\r\n";
    const std::string utf8 = UTF8Encode(text);
    {
        TMemoryStream bytes;
        bytes.WriteBuffer(utf8.data(), int(utf8.size()));
        bytes.SaveToFile(Folder + L"x.c");
    }
    Open(Folder + L"x.c");
    ASSERT_EQ(Form->MemoC->Lines()->Strings(0), L"// z\u00E4hler");
    EXPECT_EQ(Form->atcmds->Lines()->Count(), 6);

    Form->MemoC->SetCursor(9, 0);
    Form->MemoC->InsertChar(L'\u00FC');   // typed in our editor
    ASSERT_EQ(Form->MemoC->Lines()->Strings(0), L"// z\u00E4hler\u00FC");
    Form->AdvGlowButton8->Click();   // saved in place
    std::string saved;
    for (wchar_t c : RawText(Folder + L"x.c")) saved.push_back(char(c));
    EXPECT_TRUE(saved.starts_with("// z\xC3\xA4hler\xC3\xBC\r\n"));   // no mark, one encoding
    EXPECT_GT(::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, saved.data(), int(saved.size()), nullptr, 0), 0);
}

TEST_F(MainWindow, SaveAsWritesBothFilesAsksAgainAndRefusesAHeaderName) {
    REQUIRE_DISPLAY();
    Form->AdvGlowButton3->Click();
    NextFile = Folder + L"x.c";
    Form->AdvGlowButton8->Click();
    EXPECT_EQ(DialogLog.back(), L"save c:\\|vx_at_user_cmds.c");
    EXPECT_EQ(RawText(Folder + L"x.c"), Form->MemoC->Lines()->Text());
    EXPECT_EQ(RawText(Folder + L"x.h"), DefaultHeader);
    EXPECT_EQ(ReadSetting(L"save_c_h_dir"), Folder);
    EXPECT_EQ(Form->cname, L"");

    NextFile = Folder + L"z.c";
    Form->AdvGlowButton8->Click();
    EXPECT_EQ(DialogLog.back(), L"save " + Folder + L"|vx_at_user_cmds.c");  // asked again
    EXPECT_TRUE(FileExists(Folder + L"z.c"));

    // A name whose header is itself: refused with a message, nothing written.
    for (const wchar_t* name : {L"y.h", L"y.H"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        Messages.clear();
        NextFile = Folder + name;
        Form->AdvGlowButton8->Click();
        ASSERT_EQ(Messages.size(), 1u);
        EXPECT_NE(Messages[0].find(L"header would be the same file"), std::wstring::npos);
        EXPECT_FALSE(FileExists(Folder + L"y.h"));
    }
    NextFile.clear();
    Form->AdvGlowButton8->Click();  // cancelled: nothing happens
    EXPECT_EQ(ReadSetting(L"save_c_h_dir"), Folder);

    // The same for an opened file named like a header: saving in place would write the
    // header over the C text.
    WriteFile(Folder + L"y.h", {L"// opened as the C file"});
    Open(Folder + L"y.h");
    EXPECT_EQ(Form->cname, Form->hname);
    Form->AdvGlowButton3->Click();
    Messages.clear();
    Form->AdvGlowButton8->Click();
    EXPECT_EQ(Messages.size(), 1u);
    EXPECT_EQ(ReadFile(Folder + L"y.h"), TLines{L"// opened as the C file"});
}

TEST_F(MainWindow, GutterClickAndDoubleClickFindTheBlockMarker) {
    REQUIRE_DISPLAY();
    Show();
    SetList(DefaultList);
    Form->atcmds->Lines()->Add(L"!AT+X=1");
    Form->AdvGlowButton3->Click();
    TStrings* c = Form->MemoC->Lines();
    const int marker = c->IndexOf(L"///[ AT+LCD ----------------------------------");
    ASSERT_GE(marker, 0);
    const int row = Form->atcmds->Lines()->IndexOf(L"AT+LCD=<y>,<x>,<text>");
    ASSERT_GE(row, 0);

    Form->atcmds->OnGutterClick(Form->atcmds, row);
    EXPECT_EQ(Form->MemoC->CurY(), marker);
    EXPECT_EQ(Form->MemoC->SelStartY(), marker);
    EXPECT_EQ(Form->MemoC->SelStartX(), 5);  // where "AT+LCD" starts
    EXPECT_TRUE(Form->MemoC->HasSelection());
    EXPECT_EQ(std::wstring(L"AT+LCD").find(Form->MemoC->Selection()), 0u);

    // A prefixed line names a block without its prefix: nothing is found, nothing moves.
    Form->MemoC->SetCursor(0, 0);
    Form->atcmds->OnGutterClick(Form->atcmds, Form->atcmds->Lines()->IndexOf(L"!AT+X=1"));
    EXPECT_EQ(Form->MemoC->CurY(), 0);

    // Double click: the next selection change searches, ignoring case; later ones do not.
    const int echo = c->IndexOf(L"///[ ATE1 ----------------------------------");
    ASSERT_GE(echo, 0);
    const int echoRow = Form->atcmds->Lines()->IndexOf(L"ATE1 - echo on");
    Form->atcmds->SetCursor(1, echoRow);
    Form->atcmds->SelectWordAtCursor();  // without the flag: nothing
    EXPECT_EQ(Form->MemoC->CurY(), 0);
    Form->MemoC->SetCursor(0, 0);
    // As the editor does on a double click: the handler first, then one selection change
    // carrying the word ("ate1": the search ignores case).
    Form->atcmds->Lines()->Put(echoRow, L"ate1 - echo on");
    Form->atcmds->OnDblClick(Form->atcmds);
    Form->atcmds->SetSelStartX(0);
    Form->atcmds->SetSelStartY(echoRow);
    Form->atcmds->SetSelEndX(4);
    Form->atcmds->SetSelEndY(echoRow);
    ASSERT_EQ(Form->atcmds->Selection(), L"ate1");
    Form->atcmds->DoSelectionChange();
    EXPECT_EQ(Form->MemoC->CurY(), echo);
    EXPECT_EQ(Form->MemoC->SelStartX(), 5);
    Form->MemoC->SetCursor(0, 0);
    Form->atcmds->DoSelectionChange();  // the flag is spent
    EXPECT_EQ(Form->MemoC->CurY(), 0);
}

TEST_F(MainWindow, AJumpFromTheListShowsTheCTabFirstOrMovesNothing) {
    REQUIRE_DISPLAY();
    SetList(DefaultList);
    Form->AdvGlowButton3->Click();
    const int marker = Form->MemoC->Lines()->IndexOf(L"///[ AT+LCD ----------------------------------");
    ASSERT_GE(marker, 0);
    const int row = Form->atcmds->Lines()->IndexOf(L"AT+LCD=<y>,<x>,<text>");
    ASSERT_GE(row, 0);

    // A window not shown: the pane cannot take the focus, so the caret stays.
    Form->MemoC->SetCursor(0, 0);
    EXPECT_NO_THROW(Form->atcmds->OnGutterClick(Form->atcmds, row));
    EXPECT_EQ(Form->MemoC->CurY(), 0);
    EXPECT_EQ(Messages, std::vector<std::wstring>{});

    Show();
    struct TCase { const char* Name; std::function<void()> Jump; };
    const TCase cases[] = {
        {"gutter click", [&] { Form->atcmds->OnGutterClick(Form->atcmds, row); }},
        {"double click", [&] {
             Form->atcmds->OnDblClick(Form->atcmds);
             Form->atcmds->SetSelStartX(0);
             Form->atcmds->SetSelStartY(row);
             Form->atcmds->SetSelEndX(6);
             Form->atcmds->SetSelEndY(row);
             Form->atcmds->DoSelectionChange();
         }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        for (int page = 0; page < Form->PageControl0->PageCount(); ++page)   // the header tab in front
            if (Form->PageControl0->Pages(page) == Form->AdvTabSheet5) Form->PageControl0->SetActivePageIndex(page);
        ASSERT_EQ(Form->PageControl0->ActivePage(), Form->AdvTabSheet5);
        Form->MemoC->SetCursor(0, 0);
        EXPECT_NO_THROW(c.Jump());
        EXPECT_EQ(Form->PageControl0->ActivePage(), Form->AdvTabSheet2);
        EXPECT_EQ(Form->MemoC->CurY(), marker);
    }
    EXPECT_EQ(Messages, std::vector<std::wstring>{});   // no error reached the user
}

TEST_F(MainWindow, DoubleClickInAnOutputPaneCopiesItsWholeText) {
    REQUIRE_DISPLAY();
    Form->AdvGlowButton3->Click();
    Form->MemoH->OnDblClick(Form->MemoH);
    EXPECT_EQ(Clipboard()->AsText(), DefaultHeader);  // its last line is empty
    EXPECT_TRUE(Form->MemoH->HasSelection());
    Form->MemoC->OnDblClick(Form->MemoC);
    EXPECT_TRUE(Clipboard()->AsText().starts_with(L"#include <avr/io.h>\r\n"));
    EXPECT_FALSE(Clipboard()->AsText().ends_with(L"\r\n"));
}

TEST_F(MainWindow, PasteReplacesTheListAndClearEmptiesIt) {
    REQUIRE_DISPLAY();
    Clipboard()->SetAsText(L"ATA\r\nAT+B=<v>\r\n");
    Form->AdvGlowButton1->Click();
    EXPECT_EQ(LinesOf(Form->atcmds->Lines()), (TLines{L"ATA", L"AT+B=<v>"}));
    Form->AdvGlowButton7->Click();
    EXPECT_EQ(Form->atcmds->Lines()->Count(), 0);
}

TEST_F(MainWindow, PlacementIsRestoredAfterARestartMaximizedIncluded) {
    REQUIRE_DISPLAY();
    Show();
    Form->SetBounds(40, 30, 900, 700);
    Restart();
    Show();
    EXPECT_EQ(Form->BoundsRect(), Bounds(40, 30, 900, 700));

    Form->SetWindowState(wsMaximized);
    TestSupport::PumpMessages();
    Restart();
    Show();
    EXPECT_EQ(Form->WindowState(), wsMaximized);
}

TEST_F(MainWindow, UpdateCheckRunsOnceFromTheFirstTick) {
    REQUIRE_DISPLAY();
    Form->Timer1Timer(Form->Timer1);
    EXPECT_FALSE(Form->Timer1->Enabled());
    Application->ProcessMessages();
    EXPECT_TRUE(Unit1::UpdateCheckState().MessageHandled);
    EXPECT_TRUE(Unit1::UpdateCheckState().CheckRan);
    bool allow = false;
    Form->WebUpdate1AppRestart(Form, allow);
    EXPECT_TRUE(allow);
}

TEST(SplashWindow, StaysHiddenShowsTheVersionAndClosesItself) {
    REQUIRE_DISPLAY();
    TStringList text;
    text.LoadFromFile(TestSupport::SourceTreePath(L"app\\frmDorlenU.desc"));
    auto* splash = new frmDorlenU::TfrmDorlen(nullptr, text.Text());
    EXPECT_FALSE(splash->Showing());
    EXPECT_EQ(splash->ClientWidth(), 890);
    EXPECT_EQ(splash->ClientHeight(), 640);
    EXPECT_EQ(splash->BorderStyle(), bsNone);
    EXPECT_EQ(splash->Timer1->Interval(), 3500u);
    EXPECT_TRUE(splash->VxFormSR1->RestoreOnlyPosition());
    splash->Timer1Timer(splash->Timer1);
    EXPECT_FALSE(splash->Timer1->Enabled());
    EXPECT_FALSE(splash->Showing());
    splash->BeforeDestruction();
    delete splash;
}

TEST_F(MainWindow, MouseOnTheListNavigatesAndDoubleClickInAPaneCopies) {
    REQUIRE_DISPLAY();
    Show();
    Form->AdvGlowButton3->Click();
    TStrings* c = Form->MemoC->Lines();
    AdvMemo::TAdvMemo* list = Form->atcmds;
    auto pointOn = [list](int column, int row) {
        const AdvMemo::TMemoRect area = list->TextArea();
        const int x = area.Left + column * list->CharWidth() + list->CharWidth() / 2;
        const int y = area.Top + (row - list->TopLine()) * list->CharHeight() + list->CharHeight() / 2;
        return MAKELPARAM(x, y);
    };
    auto send = [](AdvMemo::TAdvMemo* memo, UINT msg, LPARAM at) {
        ::SendMessageW(memo->Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    };

    // A press in the gutter of the AT+LCD row.
    const int lcdRow = list->Lines()->IndexOf(L"AT+LCD=<y>,<x>,<text>");
    const int lcdMarker = c->IndexOf(L"///[ AT+LCD ----------------------------------");
    ASSERT_GE(lcdRow, 0);
    ASSERT_GE(lcdMarker, 0);
    const LPARAM gutter = MAKELPARAM(2, HIWORD(pointOn(0, lcdRow)));
    send(list, WM_LBUTTONDOWN, gutter);
    send(list, WM_LBUTTONUP, gutter);
    EXPECT_EQ(Form->MemoC->CurY(), lcdMarker);
    EXPECT_EQ(Form->MemoC->SelStartX(), 5);

    // A double click on "ATE1" in the list: the click, then the double click's word.
    const int echoRow = list->Lines()->IndexOf(L"ATE1 - echo on");
    const int echoMarker = c->IndexOf(L"///[ ATE1 ----------------------------------");
    ASSERT_GE(echoMarker, 0);
    const LPARAM word = pointOn(1, echoRow);
    send(list, WM_LBUTTONDOWN, word);
    send(list, WM_LBUTTONUP, word);
    send(list, WM_LBUTTONDBLCLK, word);
    send(list, WM_LBUTTONUP, word);
    EXPECT_EQ(list->Selection(), L"ATE1");
    EXPECT_EQ(Form->MemoC->CurY(), echoMarker);

    // A double click in the C pane: the whole text goes to the clipboard, and the pane's
    // own word selection follows.
    Form->MemoC->SetTopLine(0);
    Clipboard()->SetAsText(L"before");
    const int includeRow = 0;
    const AdvMemo::TMemoRect area = Form->MemoC->TextArea();
    const LPARAM include = MAKELPARAM(area.Left + 2 * Form->MemoC->CharWidth(),
                                      area.Top + includeRow * Form->MemoC->CharHeight() + 2);
    send(Form->MemoC, WM_LBUTTONDOWN, include);
    send(Form->MemoC, WM_LBUTTONUP, include);
    send(Form->MemoC, WM_LBUTTONDBLCLK, include);
    send(Form->MemoC, WM_LBUTTONUP, include);
    EXPECT_EQ(Clipboard()->AsText(), c->Text());
    EXPECT_EQ(Form->MemoC->Selection(), L"#include");
}

TEST_F(MainWindow, TypingSelectingCopyPasteUndoAndRedoInTheList) {
    REQUIRE_DISPLAY();
    Show();
    AdvMemo::TAdvMemo* list = Form->atcmds;
    TSeamsScope seams;
    int heldKey = 0;  // the modifier the fake keyboard holds down
    Seams().KeyState = [&heldKey](int key) -> short { return key == heldKey ? short(0x8000) : short(0); };
    auto key = [list, &heldKey](WORD vk, int modifier = 0) {
        heldKey = modifier;
        ::SendMessageW(list->Handle(), WM_KEYDOWN, vk, 0);
        ::SendMessageW(list->Handle(), WM_KEYUP, vk, 0);
        heldKey = 0;
    };
    auto type = [list](const std::wstring& text) {
        for (wchar_t c : text) ::SendMessageW(list->Handle(), WM_CHAR, c, 0);
    };

    list->SetCursor(0, 0);
    type(L"AT");
    EXPECT_EQ(list->Lines()->Strings(0), L"ATATE0 - echo off");
    key(VK_LEFT, VK_SHIFT);
    key(VK_LEFT, VK_SHIFT);
    EXPECT_EQ(list->Selection(), L"AT");
    type(std::wstring(1, wchar_t(3)));  // Ctrl+C
    EXPECT_EQ(Clipboard()->AsText(), L"AT");
    key(VK_END);
    type(std::wstring(1, wchar_t(22)));  // Ctrl+V
    EXPECT_EQ(list->Lines()->Strings(0), L"ATATE0 - echo offAT");
    key('Z', VK_CONTROL);
    EXPECT_EQ(list->Lines()->Strings(0), L"ATATE0 - echo off");
    key('Y', VK_CONTROL);
    EXPECT_EQ(list->Lines()->Strings(0), L"ATATE0 - echo offAT");
}

TEST_F(MainWindow, ControlsFollowTheWindowAndTheSplitter) {
    REQUIRE_DISPLAY();
    Show();
    const int pageWidth = Form->PageControl0->Width(), listHeight = Form->atcmds->Height();
    const int saveRight = Form->Panel4->ClientWidth() - Form->AdvGlowButton8->Left();
    Form->SetBounds(0, 0, Form->Width() + 300, Form->Height() + 200);
    TestSupport::PumpMessages();
    EXPECT_EQ(Form->PageControl0->Width(), pageWidth + 300);
    EXPECT_EQ(Form->atcmds->Height(), listHeight + 200);
    EXPECT_EQ(Form->Panel4->ClientWidth() - Form->AdvGlowButton8->Left(), saveRight);
    EXPECT_EQ(Form->MemoC->Width(), Form->AdvTabSheet2->ClientWidth());

    // The splitter widens the list's panel; the pages give up the same width.
    Form->Panel3->SetWidth(Form->Panel3->Width() + 100);
    TestSupport::PumpMessages();
    EXPECT_EQ(Form->PageControl0->Width(), pageWidth + 200);
    EXPECT_EQ(Form->atcmds->Width(), Form->Panel3->Width() - 16);
}

namespace {

// The description with one more setting of the window, right under its object line.
std::wstring WithWindowSetting(const std::wstring& description, const std::wstring& setting) {
    const size_t line = description.find(L"object Form1: TForm1");
    const size_t end = description.find(L'\n', line);
    if (line == std::wstring::npos || end == std::wstring::npos) return description;
    return description.substr(0, end + 1) + L"  " + setting + L"\r\n" + description.substr(end + 1);
}

// Every control of the window by name, with its bounds in its parent.
std::map<std::wstring, TRect> LayoutOf(const TForm1* form) {
    std::map<std::wstring, TRect> layout;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(form->Components(i))) layout[control->Name()] = control->BoundsRect();
    return layout;
}

int TextWidthIn(const TFont* font, const std::wstring& text) {
    HDC screen = ::GetDC(nullptr);
    int width = 0;
    {
        TCanvas canvas;
        canvas.SetHandle(screen);
        canvas.Font()->Assign(font);
        width = canvas.TextWidth(text);
        canvas.SetHandle(nullptr);
    }
    ::ReleaseDC(nullptr, screen);
    return width;
}

}  // namespace

TEST_F(MainWindow, LayoutFollowsTheScreenResolutionAndNothingIsCutOff) {
    REQUIRE_DISPLAY();
    HDC screenDC = ::GetDC(nullptr);
    const int logPixels = ::GetDeviceCaps(screenDC, LOGPIXELSY);
    ::ReleaseDC(nullptr, screenDC);
    EXPECT_EQ(Screen->PixelsPerInch(), logPixels);
    if (const char* expected = std::getenv("ATGEN_EXPECT_DPI")) {
        ASSERT_EQ(logPixels, std::atoi(expected)) << "the screen does not have the resolution this run set up";
    }

    // The reference: the same window in the description's own pixels, as at 96 pixels per
    // inch. Both windows are then given one client size (scaled for the scaled one): the
    // frame is the system's and does not scale, and the minimum height counts it.
    const TSize client{900, 700};
    End();
    TRegistry().DeleteKey(SettingsKey());  // no placement remembered from another window
    Form = new TForm1(nullptr, WithWindowSetting(Description(L"Unit1.desc"), L"Scaled = false"));
    Show();
    Form->SetClientSize(client.cx, client.cy);
    TestSupport::PumpMessages();
    ASSERT_EQ(Form->ClientWidth(), client.cx);
    const std::map<std::wstring, TRect> reference = LayoutOf(Form);
    End();

    const double factor = logPixels / 96.0;
    TRegistry().DeleteKey(SettingsKey());
    Form = new TForm1(nullptr, Description(L"Unit1.desc"));
    Show();
    EXPECT_EQ(Form->PixelsPerInch(), logPixels);
    EXPECT_GE(Form->ClientWidth(), int(860 * factor));
    EXPECT_GE(Form->ClientHeight(), int(646 * factor));
    Form->SetClientSize(int(std::lround(client.cx * factor)), int(std::lround(client.cy * factor)));
    TestSupport::PumpMessages();
    ASSERT_EQ(Form->ClientWidth(), int(std::lround(client.cx * factor))) << "the screen is too small for the test";

    // The tabs grow with their captions' font.
    EXPECT_NEAR(Form->PageControl0->TabHeight(), 25 * factor, 1.0);
    EXPECT_NEAR(Form->PageControl0->TabWidth(), 191 * factor, 1.0);
    for (const auto& [name, bounds] : reference) {
        SCOPED_TRACE(testing::PrintToString(name));
        const auto* control = dynamic_cast<TControl*>(Form->FindComponent(name));
        ASSERT_NE(control, nullptr);
        if (!control->Showing()) continue;  // the layout skips hidden controls (the other page)
        const TRect actual = control->BoundsRect();
        // A sheet fills the display area inside the tab strip's frame, which the system
        // draws at a fixed size on every screen; what a sheet holds fills the sheet.
        if (dynamic_cast<const AdvPageControl::TAdvTabSheet*>(control)) {
            EXPECT_EQ(actual, Form->PageControl0->DisplayRect());
            continue;
        }
        if (dynamic_cast<const AdvPageControl::TAdvTabSheet*>(control->Parent())) {
            EXPECT_EQ(actual, control->Parent()->ClientRect());
            continue;
        }
        EXPECT_NEAR(actual.Left, bounds.Left * factor, 1.0);
        EXPECT_NEAR(actual.Top, bounds.Top * factor, 1.0);
        if (control == Form->Label1) continue;  // sized by its text
        EXPECT_NEAR(actual.Right, bounds.Right * factor, 1.0);
        EXPECT_NEAR(actual.Bottom, bounds.Bottom * factor, 1.0);
    }

    // Nothing is cut off: every shown control lies inside its parent, and captions fit.
    for (int i = 0; i < Form->ComponentCount(); ++i) {
        const auto* control = dynamic_cast<TControl*>(Form->Components(i));
        if (!control || !control->Showing()) continue;
        SCOPED_TRACE(testing::PrintToString(control->Name()));
        const TRect parent = control->Parent()->ClientRect();
        EXPECT_GE(control->Left(), 0);
        EXPECT_GE(control->Top(), 0);
        EXPECT_LE(control->Left() + control->Width(), parent.Right);
        EXPECT_LE(control->Top() + control->Height(), parent.Bottom);
        int needed = 0;
        if (dynamic_cast<const TCheckBox*>(control))
            needed = TextWidthIn(control->Font(), control->Caption()) + ::GetSystemMetrics(SM_CXMENUCHECK) + 4;
        else if (dynamic_cast<const AdvGlowButton::TAdvGlowButton*>(control) || control == Form->Label1)
            needed = TextWidthIn(control->Font(), control->Caption());
        EXPECT_LE(needed, control->Width()) << "the caption does not fit";
    }
    End();
    Start();
}
