// The customizer dialog's rows and what OK writes, on a dialog that is never shown.
#include "toolbars/CustomizerU.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/Form.h"
#include "classlib/MemIniFile.h"
#include "classlib/SpeedButton.h"
#include "classlib/StandardControls.h"
#include "graphics/AdvGDIPStartup.h"
#include "support/WindowTestSupport.h"
#include "classlib/ButtonControls.h"
#include "classlib/EditControls.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/CustomizerBtnU.h"
#include "ToolBarTestItems.h"

using namespace ClassLib;
using namespace AdvToolBar;
using namespace CustomizerU;

namespace {

TCustomizerRows Rows(std::initializer_list<const wchar_t*> texts, int selected) {
    TCustomizerRows rows;
    for (const wchar_t* text : texts) rows.Insert({text, nullptr});
    rows.Select(selected);
    return rows;
}

std::wstring Texts(const TCustomizerRows& rows) {
    std::wstring texts;
    for (int i = 0; i < rows.Count(); ++i) texts += rows.Row(i).Text;
    return texts + L"@" + std::to_wstring(rows.Selected());
}

}  // namespace

TEST(CustomizerRows, MovesWrapAroundAndTheSelectionFollows) {
    struct TCase { const char* Tag; int Selected; bool (TCustomizerRows::*Move)(); const wchar_t* After; bool Moved; };
    const TCase cases[] = {
        {"top", 2, &TCustomizerRows::MoveTop, L"cabd@0", true},
        {"top of the first", 0, &TCustomizerRows::MoveTop, L"abcd@0", false},
        {"bottom", 1, &TCustomizerRows::MoveBottom, L"acdb@3", true},
        {"up", 2, &TCustomizerRows::MoveUp, L"acbd@1", true},
        {"up from the first swaps with the last", 0, &TCustomizerRows::MoveUp, L"dbca@3", true},
        {"up without selection selects the last", -1, &TCustomizerRows::MoveUp, L"abcd@3", false},
        {"down from the last swaps with the first", 3, &TCustomizerRows::MoveDown, L"dbca@0", true},
        {"down without selection selects the first", -1, &TCustomizerRows::MoveDown, L"abcd@0", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Tag);
        TCustomizerRows rows = Rows({L"a", L"b", L"c", L"d"}, c.Selected);
        EXPECT_EQ((rows.*c.Move)(), c.Moved);
        EXPECT_EQ(Texts(rows), c.After);
    }
}

TEST(CustomizerRows, InsertingAndDeletingKeepASensibleSelection) {
    TCustomizerRows rows = Rows({L"a", L"b", L"c"}, 0);
    rows.InsertCommand(2, L"Print", 4, false);
    EXPECT_EQ(Texts(rows), L"aPrintbc@1");
    const TATBItemProp& prop = *rows.Row(1).Prop;
    EXPECT_TRUE(prop.IsATBButton && prop.CustomizerCreated && prop.ForceImageIndex && prop.Visible);
    EXPECT_EQ(prop.CommandID, 2);
    EXPECT_EQ(prop.ImageIndex, 4);
    EXPECT_EQ(prop.Hint, L"Print");
    rows.Select(3);
    rows.InsertSeparator(L"AdvToolBarSeparator1");
    EXPECT_EQ(Texts(rows), L"aPrintbcSeparator@4");  // after the last row: appended
    EXPECT_TRUE(rows.Row(4).Prop->IsSeparator);

    EXPECT_TRUE(rows.DeleteSelected());  // the last row: the new last is selected
    EXPECT_EQ(Texts(rows), L"aPrintbc@3");
    rows.Select(1);
    rows.DeleteSelected();
    EXPECT_EQ(Texts(rows), L"abc@1");
    TCustomizerRows one = Rows({L"x"}, 0);
    one.DeleteSelected();
    EXPECT_EQ(Texts(one), L"@-1");
    EXPECT_FALSE(one.DeleteSelected());
    TCustomizerRows drag = Rows({L"a", L"b", L"c"}, 0);
    EXPECT_TRUE(drag.MoveTo(2));
    EXPECT_EQ(Texts(drag), L"bca@2");
}

namespace {

class CustomizerDialog : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        FForm = std::make_unique<TForm>(nullptr);
        FToolBar = new TAdvToolBar(FForm.get());
        FToolBar->SetParent(FForm.get());
        auto* open = new AdvGlowButton::TAdvGlowButton(FToolBar);
        open->SetName(L"Open");
        open->SetCaption(L"Open");
        open->SetParent(FToolBar);
        auto* separator = new TTestSeparator(FToolBar);
        separator->SetName(L"AdvToolBarSeparator1");
        separator->SetLeft(100);
        separator->SetParent(FToolBar);
        auto* other = new TPanel(FToolBar);
        other->SetName(L"Panel1");
        other->SetBounds(200, 0, 30, 20);
        other->SetParent(FToolBar);
        FCustomizer = new TAdvToolBarCustomizer(FForm.get());
        FCustomizer->SetName(L"Cust");
        FCustomizer->SetAdvToolBar(FToolBar);
        FCustomizer->Commands()->Add()->SetCaption(L"Print");
        FCustomizer->Commands()->Add()->SetCaption(L"Open File");
        wchar_t folder[MAX_PATH];
        ::GetTempPathW(MAX_PATH, folder);
        FFile = std::wstring(folder) + L"c4_dialog_test.ini";
        ::DeleteFileW(FFile.c_str());
        FCustomizer->SetEnablePersistence(false);
        FCustomizer->SetFileName(FFile);
        FCustomizer->SetEnablePersistence(true);
        FDialog = std::make_unique<TCustomizerForm>(FCustomizer);
        FDialog->LoadComponents();
    }
    void TearDown() override {
        if (FDialog) FDialog->BeforeDestruction();
        FDialog.reset();
        if (!FFile.empty()) ::DeleteFileW(FFile.c_str());
    }
    std::unique_ptr<TForm> FForm;
    TAdvToolBar* FToolBar = nullptr;
    TAdvToolBarCustomizer* FCustomizer = nullptr;
    std::unique_ptr<TCustomizerForm> FDialog;
    std::wstring FFile;
};

}  // namespace

TEST_F(CustomizerDialog, RowsShowTheToolBarItems) {
    REQUIRE_DISPLAY();
    TCustomizerRows& rows = FDialog->Rows();
    ASSERT_EQ(rows.Count(), 3);
    EXPECT_EQ(rows.Row(0).Text, L"Open");
    EXPECT_EQ(rows.Row(1).Text, L"Separator");
    EXPECT_EQ(rows.Row(2).Text, L"Panel1");
    EXPECT_EQ(rows.Row(2).Prop, nullptr);
    EXPECT_EQ(rows.Selected(), 0);
    EXPECT_FALSE(FDialog->Modified());
    // No images: no icon box, and the command list takes its room.
    EXPECT_FALSE(FDialog->CmBxIcon->Visible());
    EXPECT_EQ(FDialog->LstBxCommand->Height(), 219);
    EXPECT_EQ(FDialog->Caption(), L"Customizer");
}

TEST_F(CustomizerDialog, ClearAnsweredNoChangesNothing) {
    REQUIRE_DISPLAY();
    std::wstring asked;
    int answer = mrNo;
    const auto old = SetMessageDlgHook([&](const TMessageDlgRequest& request) {
        asked = request.Message;
        return answer;
    });
    FDialog->ClearButtonClick(nullptr);
    EXPECT_EQ(asked, L"Are you sure that you want to clear ToolBar?");
    EXPECT_EQ(FDialog->Rows().Count(), 3);
    EXPECT_FALSE(FDialog->Modified());
    answer = mrYes;
    FDialog->ClearButtonClick(nullptr);
    EXPECT_EQ(FDialog->Rows().Count(), 0);
    EXPECT_TRUE(FDialog->Modified());
    SetMessageDlgHook(old);
}

TEST_F(CustomizerDialog, SaveItemsNamesNewItemsFreely) {
    REQUIRE_DISPLAY();
    FDialog->LstBxCommand->SetItemIndex(0);
    FDialog->AddButtonClick(nullptr);
    FDialog->AddButtonClick(nullptr);
    FDialog->LstBxCommand->SetItemIndex(1);
    FDialog->AddGlowButtonClick(nullptr);
    FDialog->SeparatorButtonClick(nullptr);
    FDialog->OkBitBtnClick(nullptr);
    EXPECT_EQ(FDialog->ModalResult(), mrOk);
    TMemIniFile file;
    file.LoadFromFile(FFile);
    EXPECT_EQ(file.ReadInteger(L"Cust", L"ToolBarItemCount", 0), 7);
    const std::vector<std::pair<std::wstring, std::wstring>> expected{
        {L"Open", L"ADVCUSTOMGLOWBUTTON"},   {L"ADVTOOLBARBUTTON1", L"ADVTOOLBARBUTTON"},
        {L"ADVTOOLBARBUTTON2", L"ADVTOOLBARBUTTON"}, {L"Open_File", L"ADVCUSTOMGLOWBUTTON"},
        {L"AdvToolBarSeparator2", L"ADVTOOLBARSEPARATOR"}, {L"AdvToolBarSeparator1", L"ADVTOOLBARSEPARATOR"},
        {L"Panel1", L"-1"}};
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const std::wstring key = L"Name" + std::to_wstring(i);
        EXPECT_EQ(file.ReadString(L"Cust", key, L""), expected[i].first);
        EXPECT_EQ(file.ReadString(L"Cust", key + L".ClassName", L""), expected[i].second);
    }
    EXPECT_EQ(file.ReadInteger(L"Cust", L"Name1.CommandID", -1), 0);
    EXPECT_EQ(file.ReadInteger(L"Cust", L"Name3.CommandID", -1), 1);
    EXPECT_FALSE(file.ValueExists(L"Cust", L"Name0.CommandID"));  // not made by the customizer
    EXPECT_FALSE(file.ValueExists(L"Cust", L"Name1.Visible"));    // Visible is not switched on
    EXPECT_EQ(file.ReadString(L"Cust", L"Name1.Hint", L""), L"Print");
}

TEST(CustomizerDialogSettings, WithoutCaptionGlyphPositionAndLargeIconTheLowerBoxGoes) {
    REQUIRE_DISPLAY();
    static const AdvGDIPStartup::TGdiplusSession gdiplus;
    TForm form(nullptr);
    auto* toolBar = new TAdvToolBar(&form);
    toolBar->SetParent(&form);
    auto* customizer = new TAdvToolBarCustomizer(&form);
    customizer->SetAdvToolBar(toolBar);
    customizer->DialogSettings()->EditCaption = false;
    customizer->DialogSettings()->EditGlyphPosition = false;
    TCustomizerForm dialog(customizer);
    const int height = dialog.Height();
    dialog.LoadComponents();
    EXPECT_FALSE(dialog.GroupBox2->Visible());
    EXPECT_EQ(dialog.Height(), height - 65);
    EXPECT_EQ(dialog.BtnOk->Top(), 333 - 65);
    EXPECT_EQ(dialog.BtnReset->Top(), dialog.BtnOk->Top());
    dialog.BeforeDestruction();
}

TEST_F(CustomizerDialog, TheButtonDialogEditsTheSelectedRow) {
    REQUIRE_DISPLAY();
    EXPECT_TRUE(FDialog->BtnEdit->Enabled());
    const auto old = SetButtonDialogHook([](TForm& form) {
        auto& dialog = static_cast<CustomizerBtnU::TCusBtnForm&>(form);
        EXPECT_EQ(dialog.EdtBtnCaption->Caption(), L"Open");
        EXPECT_EQ(dialog.Caption(), L"Customize Button");
        EXPECT_FALSE(dialog.ChkBtnVis->Visible());  // Visible is not switched on
        dialog.EdtBtnCaption->SetText(L"Open it");
        dialog.EdtBtnHint->SetText(L"Opens a file");
        return mrOk;
    });
    FDialog->BtnEditClick(nullptr);
    SetButtonDialogHook(old);
    EXPECT_EQ(FDialog->Rows().Row(0).Text, L"Open it");
    EXPECT_EQ(FDialog->Rows().Row(0).Prop->Hint, L"Opens a file");
    EXPECT_TRUE(FDialog->Modified());
}

TEST_F(CustomizerDialog, WithEveryButtonPropertyOffNoButtonIsEdited) {
    REQUIRE_DISPLAY();
    *FCustomizer->ButtonProperties() = {false, false, false, false, false};
    TCustomizerForm dialog(FCustomizer);
    dialog.LoadComponents();
    EXPECT_FALSE(dialog.BtnEdit->Enabled());
    int shown = 0;
    const auto old = SetButtonDialogHook([&](TForm&) { return ++shown, mrOk; });
    dialog.BtnEditClick(nullptr);
    SetButtonDialogHook(old);
    EXPECT_EQ(shown, 0);
    dialog.BeforeDestruction();
}
