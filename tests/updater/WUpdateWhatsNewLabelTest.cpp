// The what's-new dialog shows an HTML text in an auto-sized HTML label.
#include "updater/WUpdate.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "UpdaterTestSupport.h"
#include "classlib/GdiScopes.h"
#include "classlib/Seams.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "rendering/HTMLabel.h"
#include "support/WindowTestSupport.h"

using namespace ClassLib;
using namespace UpdaterTests;

TEST(WUpdateWhatsNewLabel, HtmlTextGoesToAnAutoSizedLabelWhoseAnchorsClick) {
    REQUIRE_DISPLAY();
    TScratchFolder folder;
    TTestUpdate update(folder.Path());
    const std::string html = "<b>Version 2.4</b> \xE2\x80\x93 caf\xC3\xA9\r\n"
                             "<a href=\"http://example.org/a\">first</a><br>\r\n"
                             "<a href=\"notes\">second</a></p>";
    std::unique_ptr<TForm> news = update.CreateWhatsNewForm(std::vector<uint8_t>(html.begin(), html.end()));
    auto* box = dynamic_cast<TPanel*>(news->FindComponent(L"Content"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->BoundsRect(), TRect(10, 10, news->ClientWidth() - 10, news->ClientHeight() - 50));
    auto* label = dynamic_cast<HTMLabel::THTMLabel*>(box->FindComponent(L"ContentLabel"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Parent(), box);
    EXPECT_TRUE(label->AutoSizing());
    EXPECT_EQ(label->Text().substr(0, 19), L"Version 2.4 \u2013 caf\u00E9 ");

    news->Show();
    TestSupport::PumpMessages();
    {
        TWindowDC screen;
        TOwnedDC dc(::CreateCompatibleDC(screen.Handle()));
        TOwnedBitmap bitmap(::CreateCompatibleBitmap(screen.Handle(), label->Width(), 400));
        TSelection selected(dc.get(), bitmap.get());
        label->Perform(WM_PAINT, WPARAM(dc.get()), 0);
    }
    EXPECT_EQ(label->Height(), label->YSize() + 6);
    EXPECT_EQ(label->Width(), box->ClientWidth());

    TSeamsScope scope;
    std::vector<std::wstring> opened, clicked;
    Seams().ShellOpen = [&](const std::wstring& target, const std::wstring&) { opened.push_back(target); return true; };
    label->OnAnchorClick = [&](TObject*, const std::wstring& anchor) { clicked.push_back(anchor); };
    for (int y = 0; y < label->Height(); y += 2)
        for (int x = 0; x < label->Width(); x += 3) {
            label->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
            label->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
            if (!clicked.empty() && clicked.back() == L"notes") break;
        }
    ASSERT_FALSE(clicked.empty());
    EXPECT_EQ(clicked.front(), L"http://example.org/a");
    EXPECT_EQ(clicked.back(), L"notes");
    EXPECT_EQ(opened.front(), L"http://example.org/a");
    for (const std::wstring& target : opened) EXPECT_EQ(target, L"http://example.org/a");
}
