#include "classlib/MemIniFile.h"

#include <gtest/gtest.h>

#include "classlib/Seams.h"

using namespace ClassLib;

TEST(MemIniFile, ReadsKeysWhateverTheirCaseAndTheirSection) {
    const TMemIniFile ini(L"; comment\r\nstray=1\r\n[Update]\r\n Signature = WebUpdate \r\nnewsize=12\n"
                          L"[files]\rcount=$10\r\n[FILE1]\r\nurl=http://127.0.0.1/a.txt\r\nbad=12x\r\n");
    EXPECT_EQ(ini.ReadString(L"update", L"SIGNATURE", L"-"), L"WebUpdate");
    EXPECT_EQ(ini.ReadInteger(L"update", L"newsize", 0), 12);
    EXPECT_EQ(ini.ReadInteger(L"files", L"count", 0), 16);
    EXPECT_EQ(ini.ReadInteger(L"file1", L"bad", -1), -1);       // not a number: the default
    EXPECT_EQ(ini.ReadInteger(L"file1", L"missing", 7), 7);
    EXPECT_EQ(ini.ReadString(L"file1", L"url", L""), L"http://127.0.0.1/a.txt");
    EXPECT_EQ(ini.ReadString(L"", L"stray", L"none"), L"none");  // before any section: ignored
    EXPECT_TRUE(ini.SectionExists(L"FILES"));
    EXPECT_FALSE(ini.SectionExists(L"file2"));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::wstring>{L"Update", L"files", L"FILE1"}));
}

TEST(MemIniFile, DecodesStrictUTF8ElseTheAnsiCodePage) {
    TSeamsScope seams;
    Seams().AnsiCodePage = [] { return 1252u; };
    struct TCase {
        const char* Name;
        std::vector<uint8_t> Bytes;
        bool UTF8;
        std::wstring Value;
    };
    const TCase cases[] = {
        {"utf-8", {'[', 's', ']', '\n', 'k', '=', 0xC3, 0xA9}, true, L"\u00E9"},
        {"utf-8 with mark", {0xEF, 0xBB, 0xBF, '[', 's', ']', '\n', 'k', '=', 0xE2, 0x82, 0xAC}, true, L"\u20AC"},
        {"cp1252", {'[', 's', ']', '\n', 'k', '=', 0xE9, 0x80}, false, L"\u00E9\u20AC"},
        {"broken sequence", {'[', 's', ']', '\n', 'k', '=', 0xC3, 'x'}, false, L"\u00C3x"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TMemIniFile ini;
        EXPECT_EQ(ini.SetBytes(c.Bytes), c.UTF8);
        EXPECT_EQ(ini.ReadString(L"S", L"K", L""), c.Value);
    }
}

TEST(MemIniFile, MissingFileRaisesAndKeepsWhatWasLoaded) {
    TMemIniFile ini(L"[a]\nb=c\n");
    EXPECT_ANY_THROW(ini.LoadFromFile(L"C:\\no\\such\\file.ini"));
    EXPECT_EQ(ini.ReadString(L"a", L"b", L""), L"c");
}
