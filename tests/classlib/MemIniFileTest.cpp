#include "classlib/MemIniFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/Seams.h"
#include "classlib/Streams.h"

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

namespace {
std::string FileBytes(const std::wstring& name) {
    TMemoryStream stream;
    stream.LoadFromFile(name);
    return std::string(stream.Bytes().begin(), stream.Bytes().end());
}
}  // namespace

TEST(MemIniFile, WritesReplaceAddAndEraseInMemoryAndReachTheFileInTheAnsiCodePage) {
    TSeamsScope seams;
    Seams().AnsiCodePage = [] { return 1252u; };
    const std::wstring name = GetTempDir() + L"classlib_memini_write.ini";
    ::DeleteFileW(name.c_str());
    TMemIniFile ini(L"[Bar]\r\nLeft=1\r\n[Old]\r\nx=1\r\n");
    EXPECT_FALSE(ini.Modified());
    ini.WriteInteger(L"bar", L"LEFT", 12);      // the existing key, whatever its case
    ini.WriteBool(L"Bar", L"Visible", true);
    ini.WriteString(L"New", L"Caption", L"caf\u00E9");
    ini.EraseSection(L"old");
    ini.DeleteKey(L"New", L"missing");          // nothing to delete: no harm
    EXPECT_TRUE(ini.Modified());
    EXPECT_EQ(ini.ReadInteger(L"Bar", L"Left", 0), 12);
    EXPECT_FALSE(ini.SectionExists(L"Old"));
    ini.SetFileName(name);
    ini.UpdateFile();
    EXPECT_FALSE(ini.Modified());
    EXPECT_EQ(FileBytes(name), "[Bar]\r\nLeft=12\r\nVisible=1\r\n\r\n[New]\r\nCaption=caf\xE9\r\n\r\n");
    TMemIniFile again;
    again.LoadFromFile(name);
    EXPECT_EQ(again.ReadString(L"new", L"caption", L""), L"caf\u00E9");
    ::DeleteFileW(name.c_str());
}

TEST(MemIniFile, AutoSaveWritesAChangedFileWhenFreedAndNothingOtherwise) {
    const std::wstring name = GetTempDir() + L"classlib_memini_autosave.ini";
    ::DeleteFileW(name.c_str());
    {
        TMemIniFile ini;
        ini.SetFileName(name);
        ini.SetAutoSave(true);   // unchanged: no file appears
    }
    EXPECT_FALSE(FileExists(name));
    {
        TMemIniFile ini;
        ini.SetFileName(name);
        ini.SetAutoSave(true);
        ini.WriteInteger(L"Pager", L"Minimized", 1);
    }
    TMemIniFile back;
    back.LoadFromFile(name);
    EXPECT_EQ(back.ReadInteger(L"Pager", L"Minimized", 0), 1);
    ::DeleteFileW(name.c_str());
}

TEST(MemIniFile, AFailedWriteRaisesAndLeavesTheChangesToWriteAgain) {
    TMemIniFile ini;
    ini.SetFileName(L"C:\\no\\such\\folder\\layout.ini");
    ini.WriteString(L"a", L"b", L"c");
    EXPECT_THROW(ini.UpdateFile(), EFCreateError);
    EXPECT_TRUE(ini.Modified());
}
