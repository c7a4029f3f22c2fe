// What the program writes comes out byte for byte the same from the 32-bit and the 64-bit
// build: both compare against one stored copy in tests/app/golden. Run with
// ATGEN_UPDATE_GOLDEN=1 to write that copy anew after a deliberate change of format.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/Unit1Generator.h"
#include "classlib/Canvas.h"
#include "classlib/FileNames.h"
#include "classlib/IniFiles.h"
#include "classlib/Pictures.h"
#include "classlib/StringList.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "editor/AdvMemo.h"
#include "support/SourceTree.h"

using namespace ClassLib;

namespace {

std::string FileBytes(const std::wstring& path) {
    TMemoryStream stream;
    stream.LoadFromFile(path);
    return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

class SameBytes : public testing::Test {
protected:
    void TearDown() override {
        for (const std::wstring& path : FWritten) ::DeleteFileW(path.c_str());
    }
    std::wstring Temp(const std::wstring& name) {
        FWritten.push_back(GetTempDir() + L"atgen_same_" + std::to_wstring(::GetCurrentProcessId()) + L"_" + name);
        return FWritten.back();
    }
    // Compares a written file with its stored copy, or replaces the copy when asked to.
    void ExpectGolden(const std::wstring& written, const std::wstring& goldenName) {
        SCOPED_TRACE(UTF8Encode(goldenName));
        const std::wstring golden = TestSupport::SourceTreePath(L"tests\\app\\golden\\" + goldenName);
        const char* update = std::getenv("ATGEN_UPDATE_GOLDEN");
        if (update && *update == '1') {
            ASSERT_TRUE(::CopyFileW(written.c_str(), golden.c_str(), FALSE));
            return;
        }
        const std::string actual = FileBytes(written), expected = FileBytes(golden);
        ASSERT_EQ(actual.size(), expected.size());
        EXPECT_TRUE(actual == expected) << "the bytes differ from the stored copy";
    }
private:
    std::vector<std::wstring> FWritten;
};

TEST_F(SameBytes, GeneratedSourceAndHeader) {
    AdvMemo::TAdvMemo atcmds, memoC, memoH;
    TStringList table;
    atcmds.Lines()->SetText(L"ATE0 - echo off\r\nATE1 - echo on\r\nAT+CHADDR=<change ip addr>\r\n"
                            L"AT+RST? - reboot uC\r\nAT+DISP=<1-5>\r\nAT+LCD=<y>,<x>,<text>\r\n"
                            L"AT+TEMP=!<z\u00e4hler>\r\n");
    Unit1::TAtGenerator generator;
    generator.SetPanes(atcmds.Lines(), memoC.Lines(), memoH.Lines(), &table);
    generator.Options.SortCommands = true;
    generator.GenerateSources();

    const std::wstring c = Temp(L"vx_at_user_cmds.c"), h = Temp(L"vx_at_user_cmds.h");
    memoC.Lines()->SaveToFile(c);
    memoH.Lines()->SaveToFile(h);
    ExpectGolden(c, L"vx_at_user_cmds.c");
    ExpectGolden(h, L"vx_at_user_cmds.h");
}

TEST_F(SameBytes, SettingsFile) {
    const std::wstring path = Temp(L"settings.ini");
    {
        TIniFile ini(path);
        ini.WriteInteger(L"TForm1", L"Left", -32);
        ini.WriteInteger(L"TForm1", L"Width", 1024);
        ini.WriteBool(L"TForm1", L"sort_cmds", true);
        ini.WriteFloat(L"TForm1", L"ratio", 1.5);
        ini.WriteString(L"dirs", L"open_c_h_dir", L"C:\\work\\z\u00e4hler\\");
        ini.UpdateFile();
    }
    ExpectGolden(path, L"settings.ini");
}

TEST_F(SameBytes, SavedPicture) {
    TBitmap bitmap(37, 21, pf24bit);  // an odd width: rows carry padding
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(TColor(0x00336699));
    canvas->FillRect(TRect{0, 0, 37, 21});
    canvas->Pen()->SetColor(clWhite);
    canvas->MoveTo(0, 0);
    canvas->LineTo(36, 20);
    canvas->Brush()->SetColor(clRed);
    canvas->Rectangle(20, 2, 34, 10);
    const std::wstring path = Temp(L"picture.bmp");
    bitmap.SaveToFile(path);
    ExpectGolden(path, L"picture.bmp");
}

}  // namespace
