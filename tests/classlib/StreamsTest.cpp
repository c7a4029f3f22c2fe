#include "classlib/FileNames.h"
#include "classlib/Streams.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "classlib/Exceptions.h"
#include "classlib/Strings.h"

using namespace ClassLib;

TEST(MemoryStream, PositionSizeReadWriteAndGaps) {
    TMemoryStream stream;
    stream.WriteBuffer("abcdef", 6);
    EXPECT_EQ(stream.Position(), 6);
    EXPECT_EQ(stream.Size(), 6);
    stream.SetPosition(2);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 8), 4);   // only what is there
    EXPECT_STREQ(buffer, "cdef");
    stream.SetPosition(8);                   // beyond the end: a write fills the gap
    stream.WriteBuffer("z", 1);
    EXPECT_EQ(stream.Size(), 9);
    EXPECT_EQ(stream.Bytes()[6], 0);
    stream.SetPosition(7);
    EXPECT_THROW(stream.ReadBuffer(buffer, 4), EReadError);
    stream.SetSize(3);
    EXPECT_EQ(stream.Position(), 3);
}

TEST(MemoryStream, CopyFromAndStringStreams) {
    TStringStream source("0123456789");
    TMemoryStream target;
    EXPECT_EQ(target.CopyFrom(&source, 0), 10);   // 0 = all of it from the start
    source.SetPosition(4);
    target.CopyFrom(&source, 3);
    EXPECT_EQ(std::string(target.Bytes().begin(), target.Bytes().end()), "0123456789456");
    EXPECT_THROW(target.CopyFrom(&source, 10), EReadError);
    TStringStream text;
    text.WriteString("ab");
    text.SetPosition(0);
    EXPECT_EQ(text.ReadString(5), "ab");
    EXPECT_EQ(text.DataString(), "ab");
}

TEST(FileStream, ModesAndErrors) {
    const String name = GetTempDir() + L"classlib_stream_test.bin";
    {
        TFileStream file(name, fmCreate);
        file.WriteBuffer("hello", 5);
    }
    {
        TFileStream reader(name, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(reader.Size(), 5);
        // Another writer is refused while we deny writing.
        EXPECT_THROW(TFileStream(name, fmOpenWrite | fmShareDenyNone), EFOpenError);
        TFileStream secondReader(name, fmOpenRead | fmShareDenyNone);
        char buffer[5];
        secondReader.ReadBuffer(buffer, 5);
        EXPECT_EQ(std::string(buffer, 5), "hello");
    }
    {
        TFileStream writer(name, fmOpenReadWrite);
        writer.Seek(0, soEnd);
        writer.WriteBuffer("!", 1);
        writer.SetSize(3);
        EXPECT_EQ(writer.Size(), 3);
    }
    ::DeleteFileW(name.c_str());
    try {
        TFileStream missing(name, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.Message().rfind(L"Cannot open file \"" + name + L"\". ", 0), 0u) << testing::PrintToString(error.Message());
    }
    EXPECT_THROW(TFileStream(GetTempDir() + L"no_such_dir\\x.bin", fmCreate), EFCreateError);
}

TEST(ResourceStream, ReadsAModulesResourceAndRefusesWrites) {
    // Every system module carries a version resource with id 1.
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    TResourceStream stream(kernel, 1, RT_VERSION);
    ASSERT_GT(stream.Size(), 40);
    uint16_t length = 0;
    stream.ReadBuffer(&length, 2);
    EXPECT_EQ(int64_t(length), stream.Size());   // the block's own length comes first
    stream.SetPosition(6);
    wchar_t key[16] = {};
    stream.ReadBuffer(key, 15 * 2);
    EXPECT_EQ(String(key), L"VS_VERSION_INFO");
    EXPECT_THROW(stream.WriteBuffer("x", 1), EStreamError);
}

TEST(ResourceStream, MissingResourceIsReportedByName) {
    try {
        TResourceStream stream(nullptr, L"NO_SUCH_RESOURCE");
        FAIL() << "found a resource that does not exist";
    } catch (const EResNotFound& error) {
        EXPECT_EQ(error.Message(), L"Resource NO_SUCH_RESOURCE not found");
    }
    EXPECT_THROW(TResourceStream(nullptr, 4711), EResNotFound);
}
