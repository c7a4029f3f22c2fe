#include "classlib/FileNames.h"
#include "classlib/IniFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/Exceptions.h"
#include "classlib/StringList.h"
#include "classlib/Strings.h"

using namespace ClassLib;

TEST(IniFile, RoundTripKeepsOtherSectionsAndKeys) {
    const String name = GetTempDir() + L"classlib_ini_test.ini";
    ::DeleteFileW(name.c_str());
    {
        TIniFile ini(name);
        ini.WriteString(L"Other", L"Keep", L"me");
        ini.WriteInteger(L"Form1", L"Top", 10);
        ini.WriteInteger(L"Form1", L"Left", -20);
        ini.WriteBool(L"Memo Settings", L"WordWrap", true);
        ini.WriteString(L"Memo Settings", L"Font", L"Courier New");
        ini.WriteInteger(L"Form1", L"Top", 11);   // replaced in place
    }
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadInteger(L"Form1", L"Top", 0), 11);
    EXPECT_EQ(ini.ReadInteger(L"Form1", L"Left", 0), -20);
    EXPECT_EQ(ini.ReadInteger(L"Form1", L"Width", 860), 860);
    EXPECT_TRUE(ini.ReadBool(L"Memo Settings", L"WordWrap", false));
    EXPECT_EQ(ini.ReadString(L"Memo Settings", L"Font", L""), L"Courier New");
    EXPECT_EQ(ini.ReadString(L"Other", L"Keep", L""), L"me");
    EXPECT_EQ(ini.ReadSection(L"Form1"), (std::vector<String>{L"Top", L"Left"}));
    EXPECT_TRUE(ini.SectionExists(L"other"));
    EXPECT_TRUE(ini.ValueExists(L"Form1", L"left"));

    ini.WriteString(L"Form1", L"Top", L"not a number");
    EXPECT_EQ(ini.ReadInteger(L"Form1", L"Top", 7), 7);
    ini.WriteString(L"Memo Settings", L"WordWrap", L"2");   // any non-zero integer is true
    EXPECT_TRUE(ini.ReadBool(L"Memo Settings", L"WordWrap", false));

    TStringList values;
    ini.ReadSectionValues(L"Form1", &values);
    EXPECT_EQ(values.Values(L"Left"), L"-20");
    ini.DeleteKey(L"Form1", L"Left");
    ini.EraseSection(L"Other");
    EXPECT_FALSE(ini.SectionExists(L"Other"));
    EXPECT_FALSE(ini.ValueExists(L"Form1", L"Left"));
    ::DeleteFileW(name.c_str());
}
