#include "app/UserBlockCoding.h"

#include <gtest/gtest.h>

using namespace UserBlockCoding;

namespace {

bool IsAlphabet(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'+' || c == L'/';
}
bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

std::wstring LongText() {
    std::wstring text;
    for (int i = 0; text.size() < 70000; ++i) text += L"line " + std::to_wstring(i) + L"\r\n";
    return text;
}

}  // namespace

TEST(UserBlockCoding, RoundTrips) {
    const std::wstring cases[] = {
        L"A",
        L" x ",
        L"///[ AT+X ---\r\n\tint a;\r\n\r\n//}]--- AT+X end ---\r\n",
        L"\u017C\u00F3\u0142w \u20AC \u4E2D\u6587 \U0001F600",  // outside any ANSI code page
        std::wstring(L"a\xD800z"),                             // an unpaired surrogate is carried too
        LongText(),                                            // longer than the 16-bit stream count
    };
    for (const std::wstring& text : cases) {
        SCOPED_TRACE(testing::PrintToString(text.substr(0, 40)));
        const std::wstring coded = EncodeUserBlock(text);
        ASSERT_GE(coded.size(), 6u);
        for (size_t i = 0; i + 2 < coded.size(); ++i) ASSERT_TRUE(IsAlphabet(coded[i])) << i;
        EXPECT_TRUE(IsLetter(coded[coded.size() - 2]));
        EXPECT_TRUE(IsLetter(coded.back()));
        EXPECT_EQ(DecodeUserBlock(coded), text);
    }
}

TEST(UserBlockCoding, OneByteGivesFourPackedCharactersAndTwoLetters) {
    EXPECT_EQ(EncodeUserBlock(L"A").size(), 6u);
}

TEST(UserBlockCoding, RandomKeysGiveDifferentCodesForTheSameText) {
    const std::wstring text = L"uint8_t at_x_set( uint8_t uart_nr, char * params ) {";
    std::wstring first = EncodeUserBlock(text), other;
    for (int i = 0; i < 20 && (other.empty() || other == first); ++i) other = EncodeUserBlock(text);
    EXPECT_NE(first, other);
    EXPECT_EQ(DecodeUserBlock(other), text);
}

TEST(UserBlockCoding, BlankAndDamagedTextsGiveErrorResults) {
    EXPECT_EQ(EncodeUserBlock(L""), L"error#1");
    EXPECT_EQ(EncodeUserBlock(L" \r\n\t"), L"error#1");

    const std::wstring coded = EncodeUserBlock(L"void at_x_get( uint8_t uart_nr ) { return; }");
    const std::wstring body = coded.substr(0, coded.size() - 2);
    EXPECT_EQ(DecodeUserBlock(L""), L"error#2");
    EXPECT_EQ(DecodeUserBlock(coded.substr(0, coded.size() - 1) + L"{"), L"error#2");  // past "z"
    EXPECT_EQ(DecodeUserBlock(coded.substr(0, coded.size() - 1) + L"@"), L"error#2");  // below "A"
    EXPECT_EQ(DecodeUserBlock(coded.substr(0, coded.size() - 1) + L"A"), L"error#3");  // key 0 needs a caller key
    EXPECT_EQ(DecodeUserBlock(body + L"}" + coded.back()), L"error#4");
    EXPECT_EQ(DecodeUserBlock(L"B"), L"error#4");

    // Any changed packed character breaks the checksum.
    int caught = 0, changed = 0;
    for (size_t i = 0; i < body.size(); ++i) {
        std::wstring tampered = coded;
        tampered[i] = tampered[i] == L'Q' ? L'R' : L'Q';
        // The high bits of a short last group carry no byte; changing them changes nothing.
        if (UnpackText(tampered.substr(0, body.size())) == UnpackText(body)) continue;
        ++changed;
        const std::wstring result = DecodeUserBlock(tampered);
        EXPECT_NE(result, L"void at_x_get( uint8_t uart_nr ) { return; }") << i;
        caught += result == L"error#7";
    }
    EXPECT_GE(changed, static_cast<int>(body.size()) - 1);
    EXPECT_GT(caught, changed * 9 / 10);
}

TEST(UserBlockCoding, PackingAndStreamAreInverse) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    for (size_t n : {size_t(0), size_t(1), size_t(2), size_t(3), size_t(4), size_t(256)}) {
        const std::string part = bytes.substr(0, n);
        EXPECT_EQ(PackBytes(part).size(), n / 3 * 4 + (n % 3 ? n % 3 + 1 : 0));
        EXPECT_EQ(UnpackText(PackBytes(part)), part);
        EXPECT_EQ(StreamDecode(StreamEncode(part, 0xBEEF), 0xBEEF), part);
    }
    EXPECT_EQ(PackBytes("\x01\x02\x03"), L"BIwA");  // 0x030201 in 6-bit groups from the low end
    // The count is 16 bits: 65536 bytes wrap to 0 and pass unchanged, 65539 to 3.
    const std::string big(65536, 'x');
    EXPECT_TRUE(StreamEncode(big, 7) == big);
    const std::string bigger = big + "xxx";
    const std::string coded = StreamEncode(bigger, 7);
    EXPECT_NE(coded.substr(0, 3), "xxx");
    EXPECT_TRUE(coded.substr(3) == bigger.substr(3));
}

TEST(UserBlockCoding, CallerKeyIsUnwrappedAndUsed) {
    // Wraps "secret" with start value 123 the way a caller would hand it in.
    const std::wstring number = PackBytes(StreamEncode("000000123", 10));  // tag "--" matches none: 10
    const std::wstring rest = number + L"--" + PackBytes(StreamEncode("secret", 123));
    unsigned sum = 0;
    for (wchar_t c : rest) sum ^= c & 0xFF;
    const wchar_t hex[] = L"0123456789ABCDEF";
    const std::wstring key = std::wstring(1, hex[sum >> 4]) + rest + hex[sum & 15];

    EXPECT_EQ(UnwrapCallerKey(key), L"secret");
    const std::wstring coded = EncodeUserBlock(L"text", key);
    EXPECT_EQ(coded.back(), L'A');  // key index 0: the caller's key
    EXPECT_EQ(DecodeUserBlock(coded, key), L"text");
    EXPECT_EQ(DecodeUserBlock(coded), L"error#3");
    std::wstring broken = key;
    broken.back() = broken.back() == L'0' ? L'1' : L'0';
    EXPECT_EQ(UnwrapCallerKey(broken), L"error");
    EXPECT_EQ(DecodeUserBlock(coded, broken), L"error #8");
}
