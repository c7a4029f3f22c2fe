// The customizer's INI file: the layout as loaded, the user's layout applied over it, reset,
// and files that try to break it.
#include "toolbars/AdvToolBarCustomizer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "classlib/Form.h"
#include "classlib/MemIniFile.h"
#include "graphics/AdvGDIPStartup.h"
#include "support/WindowTestSupport.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/CustomizerU.h"
#include "ToolBarTestItems.h"

using namespace ClassLib;
using namespace AdvToolBar;
using AdvGlowButton::TAdvCustomGlowButton;
using AdvGlowButton::TAdvGlowButton;

namespace {

std::wstring TempIni(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + name;
    ::DeleteFileW(path.c_str());
    return path;
}

void WriteIni(const std::wstring& path, const std::wstring& text) {
    TMemIniFile file(text);
    file.SetFileName(path);
    file.UpdateFile();
}

// Replaces the user's section and keeps the rest of the file.
void WriteUserSection(const std::wstring& path, const std::wstring& keys) {
    TMemIniFile file;
    file.LoadFromFile(path);
    file.EraseSection(L"Cust");
    const TMemIniFile user(L"[Cust]\r\n" + keys);
    for (const std::wstring& key : user.ReadSection(L"Cust")) file.WriteString(L"Cust", key, user.ReadString(L"Cust", key, L""));
    file.SetFileName(path);
    file.UpdateFile();
}

std::unique_ptr<TMemIniFile> ReadIni(const std::wstring& path) {
    auto file = std::make_unique<TMemIniFile>();
    file->LoadFromFile(path);
    return file;
}

class CustomizerFile : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(100, 100, 500, 200);
        FToolBar = new TAdvToolBar(FForm.get());
        FToolBar->SetParent(FForm.get());
        FToolBar->SetCaption(L"Standard");
        int left = 10;
        for (const wchar_t* name : {L"Open", L"Sep1", L"Save"}) {
            const bool separator = name == std::wstring(L"Sep1");
            TControl* item = separator ? static_cast<TControl*>(new TTestSeparator(FToolBar))
                                       : new TAdvGlowButton(FToolBar);
            item->SetName(name);
            item->SetCaption(separator ? L"" : name);
            item->SetBounds(left, 2, separator ? 8 : 40, 22);
            item->SetParent(FToolBar);
            left += 50;
            FItems.push_back(item);
        }
        FCustomizer = new TAdvToolBarCustomizer(FForm.get());
        FCustomizer->SetName(L"Cust");
        FCustomizer->SetAdvToolBar(FToolBar);
        FCustomizer->Commands()->Add()->SetCaption(L"Print Now");
        FCustomizer->Commands()->Items(0)->OnExecute = [this](TObject*) { ++FExecuted; };
        FFile = TempIni(L"c4_customizer_test.ini");
    }
    void TearDown() override {
        if (!FFile.empty()) ::DeleteFileW(FFile.c_str());
    }
    std::vector<std::wstring> ItemNames() const {
        std::vector<std::wstring> names;
        for (int i = 0; i < FToolBar->ToolBarControlCount(); ++i) names.push_back(FToolBar->GetToolBarControls(i)->Name());
        return names;
    }
    // The file name set at run time stores the designed layout, then applies the user's.
    void Apply(const std::wstring& userSection) {
        WriteIni(FFile, userSection);
        FCustomizer->SetFileName(FFile);
    }
    std::unique_ptr<TForm> FForm;
    TAdvToolBar* FToolBar = nullptr;
    std::vector<TControl*> FItems;
    TAdvToolBarCustomizer* FCustomizer = nullptr;
    std::wstring FFile;
    int FExecuted = 0;
};

}  // namespace

TEST(CustomizerCommands, SpacesInACaptionBecomeUnderscores) {
    TATBCommands commands;
    commands.Add()->SetCaption(L"Print all  pages");
    EXPECT_EQ(commands.Items(0)->Caption(), L"Print_all__pages");
    EXPECT_EQ(commands.Items(1), nullptr);
    EXPECT_EQ(commands.Items(-1), nullptr);
}

TEST(CustomizerNames, ValidComponentNames) {
    struct TCase { const wchar_t* Name; bool Valid; };
    const TCase cases[] = {{L"Open", true}, {L"_x1", true}, {L"", false}, {L"1st", false},
                           {L"a b", false}, {L"a.b", false}, {L"Print_Now", true}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        EXPECT_EQ(IsValidComponentName(c.Name), c.Valid);
    }
}

TEST_F(CustomizerFile, SaveOriginalStoresTheToolBarAsLoaded) {
    REQUIRE_DISPLAY();
    Apply(L"");
    auto file = ReadIni(FFile);
    const std::wstring org = L"CustOrg";
    EXPECT_EQ(file->ReadString(org, L"ATBCaption", L"?"), L"Standard");
    EXPECT_EQ(file->ReadInteger(org, L"GlyphPosition", -1), 0);
    EXPECT_EQ(file->ReadInteger(org, L"LargeIcon", -1), 1);  // no images, no large images: the same
    EXPECT_EQ(file->ReadInteger(org, L"ToolBarItemCount", -1), 3);
    EXPECT_EQ(file->ReadString(org, L"Name0", L""), L"Open");
    EXPECT_EQ(file->ReadString(org, L"Name0.ClassName", L""), L"ADVCUSTOMGLOWBUTTON");
    EXPECT_EQ(file->ReadString(org, L"Name0.Caption", L""), L"Open");
    EXPECT_EQ(file->ReadInteger(org, L"Name0.Visible", -1), 1);
    EXPECT_EQ(file->ReadString(org, L"Name1.ClassName", L""), L"ADVTOOLBARSEPARATOR");
    EXPECT_FALSE(file->ValueExists(org, L"Name1.Caption"));
    EXPECT_FALSE(file->ValueExists(org, L"Name0.CommandID"));
    EXPECT_FALSE(file->SectionExists(L"Cust"));
    EXPECT_EQ(ItemNames(), (std::vector<std::wstring>{L"Open", L"Sep1", L"Save"}));
}

TEST_F(CustomizerFile, ALoadCreatesACommandButtonAndDetachesWhatItDoesNotName) {
    REQUIRE_DISPLAY();
    Apply(L"[Cust]\r\nATBCaption=Mine\r\nToolBarItemCount=2\r\n"
          L"Name0=save\r\nName0.ClassName=advcustomglowbutton\r\nName0.Caption=Store\r\n"
          L"Name1=Print_Now\r\nName1.ClassName=ADVCUSTOMGLOWBUTTON\r\nName1.CommandID=0\r\nName1.Caption=Print\r\n");
    EXPECT_EQ(FToolBar->Caption(), L"Mine");
    ASSERT_EQ(ItemNames(), (std::vector<std::wstring>{L"Save", L"Print_Now"}));
    EXPECT_EQ(FItems[2]->Caption(), L"Store");
    auto* made = dynamic_cast<TAdvCustomGlowButton*>(FToolBar->GetToolBarControls(1));
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->ToolBarFields().CustomizerCreated);
    EXPECT_EQ(made->ToolBarFields().CommandID, 0);
    made->Click();
    EXPECT_EQ(FExecuted, 1);
    // Taken off, kept alive for a reset.
    EXPECT_EQ(FItems[0]->Parent(), nullptr);
    EXPECT_EQ(FCustomizer->DeletedItems().size(), 2u);

    FCustomizer->ResetToolBar();
    EXPECT_EQ(ItemNames(), (std::vector<std::wstring>{L"Open", L"Sep1", L"Save"}));
    EXPECT_EQ(FToolBar->Caption(), L"Standard");
    EXPECT_TRUE(FCustomizer->DeletedItems().empty());
    EXPECT_EQ(FForm->FindComponent(L"Print_Now"), nullptr);
    EXPECT_EQ(FToolBar->FindComponent(L"Print_Now"), nullptr);
    EXPECT_TRUE(ReadIni(FFile)->ReadSection(L"Cust").empty());
}

TEST_F(CustomizerFile, StoredValuesAndCountsAreReadAsTheyAreMeant) {
    REQUIRE_DISPLAY();
    FCustomizer->ButtonProperties()->Visible = true;
    Apply(L"[Cust]\r\nToolBarItemCount=3\r\n"
          L"Name0=OPEN\r\nName0.ClassName=ADVCUSTOMGLOWBUTTON\r\nName0.ShowCaption=2\r\nName0.Visible=2\r\n"
          L"Name1=Sep1\r\nName1.ClassName=ADVTOOLBARSEPARATOR\r\n"
          L"Name2=Save\r\nName2.ClassName=ADVCUSTOMGLOWBUTTON\r\nName2.Visible=0\r\n");
    auto* open = dynamic_cast<TAdvCustomGlowButton*>(FItems[0]);
    EXPECT_FALSE(open->ShowCaption());  // only 1 means shown
    EXPECT_TRUE(open->Visible());       // anything but 0 means visible
    EXPECT_FALSE(FItems[2]->Visible());
}

TEST_F(CustomizerFile, AMissingCountLeavesTheToolBarAndZeroEmptiesIt) {
    REQUIRE_DISPLAY();
    Apply(L"[Cust]\r\nATBCaption=Other\r\n");
    EXPECT_EQ(ItemNames(), (std::vector<std::wstring>{L"Open", L"Sep1", L"Save"}));
    WriteUserSection(FFile, L"ToolBarItemCount=0\r\n");
    FCustomizer->LoadCustomization();
    EXPECT_TRUE(ItemNames().empty());
    FCustomizer->ResetToolBar();
    EXPECT_EQ(ItemNames().size(), 3u);
    WriteUserSection(FFile, L"ToolBarItemCount=-5\r\n");
    FCustomizer->LoadCustomization();
    EXPECT_EQ(ItemNames().size(), 3u);
}

TEST_F(CustomizerFile, HostileFilesNeitherBreakNamesNorCreateWithoutEnd) {
    REQUIRE_DISPLAY();
    Apply(L"[Cust]\r\nToolBarItemCount=2000000000\r\n"
          L"Name0=1 bad name\r\nName0.ClassName=ADVCUSTOMGLOWBUTTON\r\n"
          L"Name1=Open\r\nName1.ClassName=ADVCUSTOMGLOWBUTTON\r\n"
          L"Name2=Open\r\nName2.ClassName=ADVCUSTOMGLOWBUTTON\r\n"
          L"Name3=Ghost\r\nName3.ClassName=-1\r\n"
          L"Name4=Made\r\nName4.ClassName=ADVTOOLBARBUTTON_NOT\r\n"
          L"Name5=Print\r\nName5.ClassName=ADVCUSTOMGLOWBUTTON\r\nName5.CommandID=99\r\n");
    // The invalid name is replaced, "Open" counts once, unknown classes are skipped, and a
    // command outside the list leaves the button without one.
    EXPECT_EQ(ItemNames(), (std::vector<std::wstring>{L"ADVCUSTOMGLOWBUTTON1", L"Open", L"Print"}));
    auto* print = dynamic_cast<TAdvCustomGlowButton*>(FToolBar->GetToolBarControls(2));
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->ToolBarFields().CommandID, -1);
}

TEST_F(CustomizerFile, NothingHappensWithoutPersistenceOrToolBar) {
    REQUIRE_DISPLAY();
    FCustomizer->SetEnablePersistence(false);
    Apply(L"[Cust]\r\nToolBarItemCount=0\r\n");
    EXPECT_EQ(ItemNames().size(), 3u);
    EXPECT_FALSE(ReadIni(FFile)->SectionExists(L"CustOrg"));

    FCustomizer->SetEnablePersistence(true);
    FCustomizer->SetAdvToolBar(nullptr);
    EXPECT_EQ(FToolBar->Customizer(), nullptr);
    FCustomizer->LoadCustomization();
    FCustomizer->SaveOriginal();
    EXPECT_EQ(ItemNames().size(), 3u);
    EXPECT_FALSE(ReadIni(FFile)->SectionExists(L"CustOrg"));
    int shown = 0;
    const auto old = CustomizerU::SetCustomizerDialogHook([&](CustomizerU::TCustomizerForm&) { return ++shown, mrCancel; });
    FCustomizer->ShowDialog();
    EXPECT_EQ(shown, 0);
    CustomizerU::SetCustomizerDialogHook(old);
}

TEST_F(CustomizerFile, TheCanShowHandlerMayVetoTheDialog) {
    REQUIRE_DISPLAY();
    int shown = 0;
    const auto old = CustomizerU::SetCustomizerDialogHook([&](CustomizerU::TCustomizerForm&) { return ++shown, mrCancel; });
    FCustomizer->OnCanShow = [](TObject*, int&, int&, bool& canShow) { canShow = false; };
    FCustomizer->ShowDialog();
    EXPECT_EQ(shown, 0);
    FCustomizer->OnCanShow = nullptr;
    FToolBar->ShowCustomizer();
    EXPECT_EQ(shown, 1);
    CustomizerU::SetCustomizerDialogHook(old);
}

TEST_F(CustomizerFile, OkInTheDialogAppliesAnAddedCommand) {
    REQUIRE_DISPLAY();
    Apply(L"");
    int posted = 0;
    FCustomizer->OnAfterPost = [&](TObject*) { ++posted; };
    const auto old = CustomizerU::SetCustomizerDialogHook([](CustomizerU::TCustomizerForm& form) {
        form.AddGlowButtonClick(nullptr);
        form.OkBitBtnClick(nullptr);
        return form.ModalResult();
    });
    FToolBar->ShowCustomizer();
    CustomizerU::SetCustomizerDialogHook(old);
    // Inserted after the first row (selected when the dialog opens).
    EXPECT_EQ(ItemNames(), (std::vector<std::wstring>{L"Open", L"Print_Now", L"Sep1", L"Save"}));
    EXPECT_EQ(posted, 1);
    FToolBar->GetToolBarControls(1)->Click();
    EXPECT_EQ(FExecuted, 1);
}
