#include "classlib/FileNames.h"
#include "classlib/IniFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

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

namespace {

// Writes bytes to a file of the temporary folder and removes it at the end.
class TScratchIni {
public:
    explicit TScratchIni(const String& name) : Name(GetTempDir() + name) {}
    ~TScratchIni() { ::DeleteFileW(Name.c_str()); }
    void Write(const std::string& bytes) const {
        HANDLE file = ::CreateFileW(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    const String Name;
};

// Every read of the section snapshot against TIniFile's read of the same file.
void ExpectSameReads(const String& fileName, const std::string& trace) {
    SCOPED_TRACE(testing::PrintToString(trace));
    // Not a key starting with ";": the snapshot takes it for the comment the section read leaves out.
    static const String keys[] = {L"TabSize", L"tabsize", L"TABSIZE", L"Font Name", L"a", L"x", L"q", L"k2"};
    static const String defaults[] = {L"", L"d", L"d  ", L"  ", L"\"q\"", L"'", L"'a'b'"};
    const TIniFile ini(fileName);
    const TIniFileSection section(fileName, L"S");
    for (const String& key : keys) {
        for (const String& fallback : defaults)
            ASSERT_EQ(section.ReadString(key, fallback), ini.ReadString(L"S", key, fallback))
                << testing::PrintToString(key) << " default " << testing::PrintToString(fallback);
        ASSERT_EQ(section.ReadInteger(key, -7), ini.ReadInteger(L"S", key, -7)) << testing::PrintToString(key);
    }
}

}  // namespace

TEST(IniFileSection, ReadsAsTheProfileRoutinesDo) {
    const TScratchIni file(L"classlib_ini_section.ini");
    // Shapes where a reader of its own would differ from the system's: quotes, a second
    // section or key of the same name, case, blanks, keys without "=", comments, line ends,
    // encodings, a zero inside a value.
    const std::string cases[] = {
        "[S]\r\nTabSize=4\r\nFont Name = Courier New \r\na=\"quoted\"\r\nx='single'\r\nq=\"\r\n",
        "[s]\r\ntabsize=1\r\nTABSIZE=2\r\n[S]\r\nTabSize=3\r\na=late\r\n",
        "[Other]\r\nTabSize=9\r\n[ S ]\r\nTabSize=8\r\n[S]extra\r\nTabSize=7\r\n",
        "[S]\r\nTabSize\r\na=\r\nx= \r\n;c=comment\r\nk2==two\r\n=alone\r\nq='a\"\r\n",
        "[S]\nTabSize=0x1F\rx=cr only\n a = $10 \n\tq\t=\ttab\t\n",
        "[S]\r\nTabSize=12\0junk\r\na=b\0c\r\nx=\"\"\r\nq=''\r\n",
        "\xEF\xBB\xBF[S]\r\nFont Name=caf\xC3\xA9\r\n",
        "[S]\r\nFont Name=caf\xE9\r\nq=\x80\x81\r\n",
        std::string("\xFF\xFE[\0S\0]\0\r\0\n\0a\0=\0\"\0w\0\"\0", 22),
        "TabSize=1\r\n[S\r\nTabSize=2\r\n[S]\r\n",
        "",
    };
    for (const std::string& text : cases) {
        file.Write(text);
        ExpectSameReads(file.Name, text);
    }
    // A missing file reads as empty, as TIniFile reads it.
    ::DeleteFileW(file.Name.c_str());
    ExpectSameReads(file.Name, "no file");
}

TEST(IniFileSection, RandomFilesReadAsTheProfileRoutinesDo) {
    const TScratchIni file(L"classlib_ini_section_random.ini");
    static const char* const pieces[] = {"[S]", "[s]", "[Other]", "[", "]", "TabSize", "tabsize", "Font Name", "a",
                                         "x", "q", "k2", "=", "==", " ", "\t", "\"", "'", ";", "1", "0x", "$",
                                         "-", "\r\n", "\r\n", "\n", "\r", "" /* a zero */, "\xC3\xA9", "\xE9"};
    std::uint64_t state = 20261211;
    const auto next = [&state](std::uint64_t bound) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state % bound;
    };
    for (int round = 0; round < 300; ++round) {
        std::string text = next(4) == 0 ? "\xEF\xBB\xBF" : "";
        const int count = 1 + int(next(40));
        for (int i = 0; i < count; ++i) {
            const std::size_t piece = next(std::size(pieces));
            text += piece == 27 ? std::string(1, '\0') : std::string(pieces[piece]);
        }
        file.Write(text);
        ExpectSameReads(file.Name, text);
        if (HasFatalFailure()) return;
    }
}
