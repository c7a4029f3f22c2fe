#include "classlib/FileNames.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace ClassLib;

TEST(FileNames, PartsOfAPath) {
    EXPECT_EQ(ExtractFilePath(L"C:\\work\\cmds.c"), L"C:\\work\\");
    EXPECT_EQ(ExtractFileDir(L"C:\\work\\cmds.c"), L"C:\\work");
    EXPECT_EQ(ExtractFileDir(L"C:\\cmds.c"), L"C:\\");
    EXPECT_EQ(ExtractFileName(L"C:\\work\\cmds.c"), L"cmds.c");
    EXPECT_EQ(ExtractFileName(L"D:cmds.c"), L"cmds.c");
    EXPECT_EQ(ExtractFileExt(L"C:\\a.b\\cmds"), L"");
    EXPECT_EQ(ExtractFileExt(L"gen.tar.gz"), L".gz");
    EXPECT_EQ(ChangeFileExt(L"C:\\w\\gen.exe", L".ini"), L"C:\\w\\gen.ini");
    EXPECT_EQ(ChangeFileExt(L"C:\\a.b\\gen", L".ini"), L"C:\\a.b\\gen.ini");
    EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\w"), L"C:\\w\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\w\\"), L"C:\\w\\");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\w\\"), L"C:\\w");

    const String dir = GetTempDir() + L"classlib_names\\a\\b";
    ASSERT_TRUE(ForceDirectories(dir));
    EXPECT_TRUE(DirectoryExists(dir));
    EXPECT_FALSE(FileExists(dir));
    const String file = dir + L"\\f.txt";
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(handle);
    EXPECT_TRUE(FileExists(file));
    ::DeleteFileW(file.c_str());
    EXPECT_FALSE(FileExists(file));
}
