// The Wine desktop the program runs on: windows can be made and painted, and every
// font the program names resolves in GDI and GDI+.
#include <windows.h>
#include <gdiplus.h>

#include <string>

#include <gtest/gtest.h>

#include "support/WindowTestSupport.h"

namespace {

void PaintRed(HWND window, HDC dc) {
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    RECT client;
    ::GetClientRect(window, &client);
    ::FillRect(dc, &client, red);
    ::DeleteObject(red);
}

LRESULT CALLBACK RedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        PaintRed(window, ::BeginPaint(window, &paint));
        ::EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_PRINTCLIENT) {
        PaintRed(window, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TEST(WineDesktopWindow, IsCreatedPaintedAndClosed) {
    REQUIRE_DISPLAY();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RedWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"AtGenPlatformProbe";
    ASSERT_NE(::RegisterClassW(&windowClass), 0);

    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    10, 10, 200, 120, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ::UpdateWindow(window);
    TestSupport::PumpMessages();

    // Paint into a memory DC through the same procedure and read a pixel back.
    HDC screen = ::GetDC(window);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 120);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    EXPECT_EQ(::GetPixel(memory, 5, 5), RGB(255, 0, 0));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(window, screen);

    ::SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(window));
    ::UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
}

TEST(WineDesktopFonts, EveryFontTheProgramNamesResolvesInGdiPlus) {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    for (const wchar_t* name : {L"Tahoma", L"Courier New", L"Arial", L"Segoe UI", L"Consolas",
                                L"Times New Roman", L"Verdana"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        Gdiplus::GpFontFamily* family = nullptr;
        EXPECT_EQ(Gdiplus::DllExports::GdipCreateFontFamilyFromName(name, nullptr, &family), Gdiplus::Ok);
        if (family) Gdiplus::DllExports::GdipDeleteFontFamily(family);
    }
    Gdiplus::GdiplusShutdown(token);
}

TEST(WineDesktopFonts, GdiMapsTheProgramsFontsToRealFaces) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    for (const wchar_t* name : {L"Courier New", L"Consolas", L"Tahoma"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        HFONT font = ::CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, name);
        HGDIOBJ old = ::SelectObject(dc, font);
        TEXTMETRICW metrics{};
        ASSERT_TRUE(::GetTextMetricsW(dc, &metrics));
        SIZE narrow{}, wide{};
        ::GetTextExtentPoint32W(dc, L"iiii", 4, &narrow);
        ::GetTextExtentPoint32W(dc, L"WWWW", 4, &wide);
        if (std::wstring(name) != L"Tahoma") {
            EXPECT_EQ(narrow.cx, wide.cx) << "a code font must be fixed-pitch";
        }
        EXPECT_GT(metrics.tmHeight, 8);
        ::SelectObject(dc, old);
        ::DeleteObject(font);
    }
    ::DeleteDC(dc);
}
