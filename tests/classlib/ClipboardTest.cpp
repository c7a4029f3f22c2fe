#include "classlib/Clipboard.h"

#include <cstring>

#include <gtest/gtest.h>

#include "support/WindowTestSupport.h"

using namespace ClassLib;

TEST(ClipboardWindow, UnicodeTextRoundTripsWithItsLineBreaks) {
    REQUIRE_DISPLAY();
    const std::wstring text = L"AT+LCD=<y>,<x>,<text>\r\nATE0 - \x00E9\x00E8 \x20AC\r\n\tlast";
    Clipboard()->SetAsText(text);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(Clipboard()->AsText(), text);
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(Clipboard()->AsText(), L"");
}

TEST(ClipboardWindow, SeveralFormatsInOneOpeningStayTogether) {
    REQUIRE_DISPLAY();
    const UINT rtf = TClipboard::RegisterFormat(L"Rich Text Format");
    EXPECT_EQ(TClipboard::RegisterFormat(L"Rich Text Format"), rtf);
    const char body[] = "{\\rtf1 x}";
    Clipboard()->Open();
    Clipboard()->SetAsText(L"x");
    Clipboard()->SetBuffer(rtf, body, sizeof body);
    Clipboard()->Close();
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    ASSERT_TRUE(Clipboard()->HasFormat(rtf));
    const std::vector<std::uint8_t> bytes = Clipboard()->GetBuffer(rtf);
    ASSERT_GE(bytes.size(), sizeof body);
    EXPECT_EQ(std::memcmp(bytes.data(), body, sizeof body), 0);

    // Outside an opening each store replaces what was there.
    Clipboard()->SetBuffer(rtf, body, sizeof body);
    EXPECT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));
}

TEST(ClipboardWindow, TextWithoutTerminatorIsReadOnlyUpToTheBlockEnd) {
    REQUIRE_DISPLAY();
    const wchar_t chars[] = {L'a', L'b', L'c'};  // no terminating zero
    Clipboard()->SetBuffer(CF_UNICODETEXT, chars, sizeof chars);
    const std::wstring text = Clipboard()->AsText();
    // Wine: the system writes a zero into the last character of such a block.
    EXPECT_EQ(text.substr(0, 2), L"ab");
    EXPECT_LE(text.size(), 3u);
}
