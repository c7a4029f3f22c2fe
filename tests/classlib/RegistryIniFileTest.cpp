// INI reads and writes on a registry key: sections are subkeys, integers 32-bit numbers.
#include "classlib/RegistryIniFile.h"

#include <gtest/gtest.h>

#include "classlib/Registry.h"

using namespace ClassLib;

namespace {

const wchar_t* const TestKey = L"Software\\AtCmdGenTests\\RegistryIniFile";

class RegistryIniFileTest : public testing::Test {
protected:
    void SetUp() override { TRegistry().DeleteKey(L"\\Software\\AtCmdGenTests"); }
    void TearDown() override { TRegistry().DeleteKey(L"\\Software\\AtCmdGenTests"); }
};

TEST_F(RegistryIniFileTest, WritesTypedValuesAndReadsThemBack) {
    {
        TRegistryIniFile ini(TestKey);
        ini.WriteInteger(L"Main", L"Count", 42);
        ini.WriteString(L"Main", L"Name", L"Sheet1");
        ini.WriteBool(L"Other", L"On", true);
        EXPECT_EQ(ini.ReadString(L"Main", L"Name", L"?"), L"Sheet1");  // read after write on one object
    }
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(L"\\Software\\AtCmdGenTests\\RegistryIniFile\\Main"));
    EXPECT_EQ(registry.GetDataType(L"Count"), rdInteger);
    EXPECT_EQ(registry.GetDataType(L"Name"), rdString);

    TRegistryIniFile ini(TestKey);
    EXPECT_EQ(ini.ReadInteger(L"Main", L"Count", 0), 42);
    EXPECT_EQ(ini.ReadString(L"Main", L"Count", L""), L"42") << "a number read as text";
    EXPECT_EQ(ini.ReadInteger(L"Main", L"Name", -1), -1) << "text that is no number gives the default";
    EXPECT_TRUE(ini.ReadBool(L"Other", L"On", false));
    EXPECT_EQ(ini.ReadInteger(L"Missing", L"Count", 7), 7);
    EXPECT_EQ(ini.ReadString(L"Main", L"Missing", L"default"), L"default");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::wstring>{L"Main", L"Other"}));
    EXPECT_TRUE(ini.ValueExists(L"Main", L"Name"));

    ini.DeleteKey(L"Main", L"Name");
    EXPECT_FALSE(ini.ValueExists(L"Main", L"Name"));
    ini.EraseSection(L"Other");
    EXPECT_FALSE(ini.SectionExists(L"Other"));
    EXPECT_TRUE(ini.SectionExists(L"Main"));
}

}  // namespace
