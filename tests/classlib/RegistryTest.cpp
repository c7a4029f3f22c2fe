#include "classlib/Registry.h"

#include <gtest/gtest.h>

#include "classlib/Exceptions.h"

using namespace ClassLib;

namespace {
const wchar_t* const TestKey = L"\\Software\\AtGenClassLibTest";

class RegistryTest : public testing::Test {
protected:
    void TearDown() override {
        TRegistry cleanup;
        cleanup.DeleteKey(TestKey);
    }
};
}  // namespace

TEST_F(RegistryTest, RoundTripOfStringsIntegersAndBooleans) {
    {
        TRegistry registry;
        EXPECT_FALSE(registry.OpenKey(TestKey, false));   // not there yet
        ASSERT_TRUE(registry.OpenKey(TestKey, true));
        registry.WriteString(L"open_c_h_dir", L"c:\\work\\");
        registry.WriteInteger(L"count", -5);
        registry.WriteBool(L"sort_cmds", false);
        ASSERT_TRUE(registry.OpenKey(L"Form1", true));     // relative to the open key
        EXPECT_EQ(registry.CurrentPath(), L"Software\\AtGenClassLibTest\\Form1");
        registry.WriteString(L"Width", L"860");
    }
    TRegistry registry;
    EXPECT_TRUE(registry.KeyExists(L"\\Software\\AtGenClassLibTest\\Form1"));
    ASSERT_TRUE(registry.OpenKeyReadOnly(TestKey));
    EXPECT_EQ(registry.ReadString(L"open_c_h_dir"), L"c:\\work\\");
    EXPECT_EQ(registry.ReadInteger(L"count"), -5);
    EXPECT_FALSE(registry.ReadBool(L"sort_cmds"));
    EXPECT_EQ(registry.GetDataType(L"sort_cmds"), rdInteger);   // Booleans are 32-bit numbers
    EXPECT_TRUE(registry.ValueExists(L"count"));
    EXPECT_FALSE(registry.ValueExists(L"missing"));
    EXPECT_EQ(registry.ReadString(L"missing"), L"");
    EXPECT_THROW(registry.WriteString(L"x", L"y"), ERegistryException);   // opened read-only
    ASSERT_TRUE(registry.OpenKey(L"\\Software\\AtGenClassLibTest\\Form1", false));
    EXPECT_EQ(registry.ReadString(L"Width"), L"860");
}

TEST_F(RegistryTest, WrongTypesAndMissingValuesRaise) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(TestKey, true));
    registry.WriteString(L"text", L"12");
    registry.WriteInteger(L"number", 12);
    try {
        registry.ReadInteger(L"text");
        FAIL() << "read a string as a number";
    } catch (const ERegistryException& error) {
        EXPECT_EQ(error.Message(), L"Invalid data type for 'text'");
    }
    EXPECT_THROW(registry.ReadString(L"number"), ERegistryException);
    EXPECT_THROW(registry.ReadBool(L"missing"), ERegistryException);
    EXPECT_TRUE(registry.DeleteValue(L"text"));
    EXPECT_FALSE(registry.ValueExists(L"text"));
    EXPECT_FALSE(registry.DeleteValue(L"text"));
    registry.CloseKey();
    EXPECT_THROW(registry.WriteInteger(L"number", 1), ERegistryException);   // no key open
}
