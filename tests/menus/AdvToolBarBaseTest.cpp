// The toolbar family's foundations: the bounds-checked list, the registered messages,
// the persistence settings with the store they open, and the system font rule.
#include "menus/AdvToolBarBase.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/GdiObjects.h"
#include "classlib/MemIniFile.h"
#include "classlib/Registry.h"

using namespace ClassLib;
using namespace AdvToolBar;

namespace {
int A = 1, B = 2, C = 3;
}

TEST(DbgList, AccessPastTheEndRaisesItsOwnMessagesAndChangesNothing) {
    TDbgList list;
    try {
        list.Items(0);
        ADD_FAILURE() << "reading index 0 of an empty list";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Index out of bounds in list read access");
    }
    list.Add(&A);
    try {
        list.SetItems(1, &B);
        ADD_FAILURE() << "writing index Count";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Index out of bounds in list write access");
    }
    EXPECT_EQ(list.Count(), 1);
    EXPECT_THROW(list.Items(-1), EListError);   // the list's own index error
    list.SetItems(0, &C);
    EXPECT_EQ(list[0], &C);
}

TEST(DbgList, AssignListReplacesTheItemsInTheirOrder) {
    TDbgList source, list;
    source.Add(&B);
    source.Add(&C);
    list.Add(&A);
    list.AssignList(source);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0], &B);
    EXPECT_EQ(list[1], &C);
}

TEST(ToolBarUnitStartup, RegistersEachMessageByItsNameOnceAndEmptiesTheTones) {
    const TToolBarUnitSession session;
    const struct {
        std::uint16_t Number;
        const wchar_t* Name;
    } messages[] = {
        {WM_TBCOMPACTWINHIDE, L"TBCompactWinHide"}, {WM_TBSETAEROVISTA, L"TBSetAeroVista"},
        {WM_TBPSETIGNOREALT, L"TBPSetIgnoreALT"},   {WM_TBFUPDATECONTEXTMENU, L"TBFUpdateContextMenu"},
        {WM_TBSETMETRO, L"TBSetMetro"},             {WM_TBREVERTMETRO, L"TBRevertMetro"},
        {WM_TBSETOFFICE2013, L"TBSetOffice2013"},   {WM_TBSHOWSHORTCUTHINT, L"TBShowShortCutHint"},
    };
    for (const auto& m : messages) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(m.Name)));
        EXPECT_NE(m.Number, 0);
        EXPECT_EQ(m.Number, ::RegisterWindowMessageW(m.Name));
    }
    EXPECT_TRUE(AdvStyleIF::IsEmptyColorTones(RibbonColorTones));
    EXPECT_TRUE(AdvStyleIF::IsEmptyColorTones(AppButtonColorTones));

    // A second start-up while the first lives does nothing.
    const std::uint16_t registered = WM_TBSETMETRO;
    WM_TBSETMETRO = 0;
    RibbonColorTones.Background.BrushColor = clRed;
    {
        const TToolBarUnitSession second;
        EXPECT_EQ(WM_TBSETMETRO, 0);
        EXPECT_EQ(RibbonColorTones.Background.BrushColor, clRed);
    }
    WM_TBSETMETRO = registered;
    RibbonColorTones.Background.BrushColor = clNone;
}

TEST(Persistence, SettersTellOnlyRealChangesAndKeysCompareWithCase) {
    TPersistence persistence;
    EXPECT_EQ(persistence.Location(), plRegistry);
    EXPECT_FALSE(persistence.Enabled());
    int changes = 0;
    persistence.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &persistence);
        ++changes;
    };
    persistence.SetKey(L"Software\\Layout");
    persistence.SetKey(L"Software\\Layout");
    EXPECT_EQ(changes, 1);
    persistence.SetKey(L"software\\layout");   // another case is another key
    persistence.SetSection(L"Bars");
    persistence.SetLocation(plIniFile);
    persistence.SetEnabled(true);
    persistence.SetEnabled(true);
    EXPECT_EQ(changes, 5);
}

TEST(Persistence, AssignCopiesTheFourSettingsSilentlyAndIgnoresOtherSources) {
    TPersistence source, target;
    source.SetLocation(plIniFile);
    source.SetKey(L"c:\\layout.ini");
    source.SetSection(L"Docks");
    source.SetEnabled(true);
    int changes = 0;
    target.OnChange = [&](TObject*) { ++changes; };
    target.Assign(&source);
    EXPECT_EQ(target.Location(), plIniFile);
    EXPECT_EQ(target.Key(), L"c:\\layout.ini");
    EXPECT_EQ(target.Section(), L"Docks");
    EXPECT_TRUE(target.Enabled());
    EXPECT_EQ(changes, 0);
    ASSERT_TRUE(target.OnChange);   // the target keeps its own handler

    TFont font;
    target.Assign(&font);
    target.Assign(nullptr);
    EXPECT_EQ(target.Key(), L"c:\\layout.ini");
}

TEST(LayoutStore, NothingOpensWithoutKeyAndSectionOrWhileDesigned) {
    TComponent owner(nullptr);
    struct TCase {
        const wchar_t* Key;
        const wchar_t* Section;
        bool Designing;
    } cases[] = {
        {L"", L"Bars", false},
        {L"Software\\AtGenTests\\Layout", L"", false},
        {L"Software\\AtGenTests\\Layout", L"Bars", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Key) + L"|" + c.Section));
        for (TPersistenceLocation location : {plRegistry, plIniFile}) {
            owner.SetDesigning(c.Designing);
            TPersistence persistence(&owner);
            persistence.SetEnabled(true);
            persistence.SetLocation(location);
            persistence.SetKey(c.Key);
            persistence.SetSection(c.Section);
            EXPECT_EQ(OpenLayoutStore(persistence), nullptr);
        }
    }
    owner.SetDesigning(false);
}

TEST(LayoutStore, AnIniFileKeepsTheSectionsValuesAndTheRestOfTheFile) {
    const std::wstring name = GetTempDir() + L"atgen_layout_store.ini";
    {
        TMemIniFile other;
        other.WriteString(L"Other", L"Keep", L"me");
        other.SetFileName(name);
        other.UpdateFile();
    }
    TPersistence persistence;
    persistence.SetLocation(plIniFile);
    persistence.SetKey(name);
    persistence.SetSection(L"ToolBar1");
    {
        std::unique_ptr<TLayoutStore> store = OpenLayoutStore(persistence);
        ASSERT_NE(store, nullptr);
        EXPECT_EQ(store->Section(), L"ToolBar1");
        store->WriteInteger(L"Left", 40);
        store->WriteBool(L"Docked", true);
        store->WriteString(L"Dock", L"TopDock");
    }   // written back as the store goes
    std::unique_ptr<TLayoutStore> store = OpenLayoutStore(persistence);
    EXPECT_EQ(store->ReadInteger(L"Left", 0), 40);
    EXPECT_TRUE(store->ReadBool(L"Docked", false));
    EXPECT_EQ(store->ReadString(L"Dock", L""), L"TopDock");
    EXPECT_FALSE(store->ValueExists(L"Keep"));   // another section's value
    TMemIniFile file;
    file.LoadFromFile(name);
    EXPECT_EQ(file.ReadString(L"Other", L"Keep", L""), L"me");
    ::DeleteFileW(name.c_str());
}

TEST(LayoutStore, TheRegistryKeepsOneSubkeyPerSectionUnderTheKey) {
    const std::wstring key = L"Software\\AtGenTests\\LayoutStore";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    TPersistence persistence;
    persistence.SetKey(key);
    persistence.SetSection(L"Pager");
    {
        std::unique_ptr<TLayoutStore> store = OpenLayoutStore(persistence);
        ASSERT_NE(store, nullptr);
        store->WriteBool(L"Minimized", true);
        store->WriteInteger(L"ShowQATBelow", 0);
    }
    TRegistry registry(KEY_READ);
    ASSERT_TRUE(registry.OpenKeyReadOnly(L"\\" + key + L"\\Pager"));
    EXPECT_EQ(registry.ReadInteger(L"Minimized"), 1);
    registry.CloseKey();
    std::unique_ptr<TLayoutStore> store = OpenLayoutStore(persistence);
    EXPECT_TRUE(store->ReadBool(L"Minimized", false));
    EXPECT_TRUE(store->ValueExists(L"ShowQATBelow"));
    store->EraseSection();
    EXPECT_FALSE(store->ValueExists(L"Minimized"));
    store.reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\AtGenTests");
}

TEST(SystemFont, SegoeOrTahomaWithTheirHeightsAndNothingElse) {
    TFont font;
    font.SetColor(clRed);
    font.SetStyle(TFontStyles{fsBold});
    ApplySystemFont(&font, true);
    EXPECT_EQ(font.Name(), L"Segoe UI");
    EXPECT_EQ(font.Height(), -12);
    ApplySystemFont(&font, false);
    EXPECT_EQ(font.Name(), L"Tahoma");
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Color(), clRed);
    EXPECT_EQ(font.Style(), TFontStyles{fsBold});
}
