#include "editor/AdvMemoPrint.h"

#include "classlib/Canvas.h"
#include "classlib/Printer.h"
#include "editor/AdvMemo.h"
#include "editor/AdvmCSHS.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

using namespace AdvMemo;
using ClassLib::TColor;

namespace {

// A memo with the C styler that has never been painted.
class TPrintMemo {
public:
    explicit TPrintMemo(const std::wstring& text) : FMemo(nullptr) {
        FMemo.SetSyntaxStyles(AdvmCSHS::CreateCMemoStyler(&FMemo));
        FMemo.Lines()->SetText(text);
    }
    TAdvMemo& Memo() { return FMemo; }
    TAdvCustomMemoStyler& Styler() { return *FMemo.SyntaxStyles(); }
    TColor KeywordColour(const std::wstring& word) {
        for (int i = 0; i < Styler().AllStyles()->Count(); ++i)
            if (Styler().AllStyles()->Items(i)->KeyWords()->IndexOf(word) >= 0) return Styler().AllStyles()->Items(i)->Font()->Color();
        return ClassLib::clNone;
    }
private:
    TAdvMemo FMemo;
};

// A white page of the given size in memory; pixels read back as RGB.
class TMemoryPage {
public:
    TMemoryPage(int width, int height) : FWidth(width), FHeight(height) {
        FDC = ::CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        FBitmap = ::CreateDIBSection(FDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        FOld = ::SelectObject(FDC, FBitmap);
        ::PatBlt(FDC, 0, 0, width, height, WHITENESS);
        FCanvas.SetHandle(FDC);
    }
    ~TMemoryPage() {
        FCanvas.SetHandle(nullptr);
        ::SelectObject(FDC, FOld);
        ::DeleteObject(FBitmap);
        ::DeleteDC(FDC);
    }
    ClassLib::TCanvas* Canvas() { return &FCanvas; }
    HDC DC() const { return FDC; }
    int CountColour(const RECT& r, TColor colour) const {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (::GetPixel(FDC, x, y) == COLORREF(ClassLib::ColorToRGB(colour))) ++count;
        return count;
    }
    int CountInk(const RECT& r) const {
        return (r.right - r.left) * (r.bottom - r.top) - CountColour(r, ClassLib::clWhite);
    }
private:
    int FWidth, FHeight;
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOld = nullptr;
    ClassLib::TCanvas FCanvas;
};

// What a page said: each text output with its colour and place, read back from a metafile.
struct TTextOut {
    std::wstring Text;
    COLORREF Colour;
    int X, Y;
};

class TMetafilePage {
public:
    TMetafilePage(int width, int height) {
        HDC screen = ::GetDC(nullptr);
        // The frame is in 0.01 mm; the reference device is the screen, so one unit is one pixel.
        const RECT frame{0, 0, ::MulDiv(width, ::GetDeviceCaps(screen, HORZSIZE) * 100, ::GetDeviceCaps(screen, HORZRES)),
                         ::MulDiv(height, ::GetDeviceCaps(screen, VERTSIZE) * 100, ::GetDeviceCaps(screen, VERTRES))};
        FDC = ::CreateEnhMetaFileW(screen, nullptr, &frame, nullptr);
        ::ReleaseDC(nullptr, screen);
        FCanvas.SetHandle(FDC);
    }
    ~TMetafilePage() {
        FCanvas.SetHandle(nullptr);
        if (FDC) ::DeleteEnhMetaFile(::CloseEnhMetaFile(FDC));
    }
    ClassLib::TCanvas* Canvas() { return &FCanvas; }
    HDC DC() const { return FDC; }
    // Closes the recording and returns its text outputs in order.
    std::vector<TTextOut> Texts() {
        FCanvas.SetHandle(nullptr);
        HENHMETAFILE file = ::CloseEnhMetaFile(FDC);
        FDC = nullptr;
        struct TState { std::vector<TTextOut> Out; COLORREF Colour = 0; } state;
        ::EnumEnhMetaFile(nullptr, file, [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) -> int {
            auto& s = *reinterpret_cast<TState*>(data);
            if (record->iType == EMR_SETTEXTCOLOR) {
                s.Colour = reinterpret_cast<const EMRSETTEXTCOLOR*>(record)->crColor;
            } else if (record->iType == EMR_EXTTEXTOUTW) {
                const auto* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
                const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + out->emrtext.offString);
                s.Out.push_back({std::wstring(chars, out->emrtext.nChars), s.Colour, int(out->emrtext.ptlReference.x),
                                 int(out->emrtext.ptlReference.y)});
            }
            return 1;
        }, &state, nullptr);
        ::DeleteEnhMetaFile(file);
        return state.Out;
    }
private:
    HDC FDC = nullptr;
    ClassLib::TCanvas FCanvas;
};

const TTextOut* FindText(const std::vector<TTextOut>& texts, const std::wstring& text) {
    for (const TTextOut& t : texts)
        if (t.Text == text) return &t;
    return nullptr;
}

}  // namespace

TEST(MemoPrintPages, LinesPerPageAndPageCount) {
    struct TCase {
        const char* Name;
        int Lines, PageHeight, TextHeight;
        bool PageNr;
        const wchar_t* Title;
        int MarginTop, MarginBottom;
        int LinesPerPage, Pages;
    };
    const TCase cases[] = {
        {"empty text prints one page", 1, 500, 7, false, L"", 0, 0, 50, 1},
        {"100 lines at 50 a page", 100, 500, 7, false, L"", 0, 0, 50, 2},
        {"101 lines need a third page", 101, 500, 7, false, L"", 0, 0, 50, 3},
        {"a partial row does not count", 10, 509, 7, false, L"", 0, 0, 50, 1},
        {"page number and title take a row each", 96, 500, 7, true, L"T", 0, 0, 48, 2},
        {"97 lines with both need a third page", 97, 500, 7, true, L"T", 0, 0, 48, 3},
        {"margins shrink the area", 45, 500, 7, false, L"", 30, 20, 45, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPrintOptions options;
        options.SetPageNr(c.PageNr);
        options.SetTitle(c.Title);
        options.SetMarginTop(c.MarginTop);
        options.SetMarginBottom(c.MarginBottom);
        const TPageLayout page = LayoutPage(options, 400, c.PageHeight, c.TextHeight);
        EXPECT_EQ(page.Pitch, c.TextHeight + 3);
        EXPECT_EQ(page.LinesPerPage, c.LinesPerPage);
        EXPECT_EQ(PageCount(c.Lines, page.LinesPerPage), c.Pages);
    }
}

TEST(MemoPrintPages, APageWithoutRoomForALineIsRefused) {
    TPrintOptions options;
    options.SetMarginTop(40);
    options.SetMarginBottom(40);
    options.SetPageNr(true);
    for (int height : {80, 92, 50}) {
        SCOPED_TRACE(height);
        const TPageLayout page = LayoutPage(options, 400, height, 7);
        EXPECT_EQ(page.LinesPerPage, 0);
        EXPECT_THROW(PageCount(5, page.LinesPerPage), ClassLib::EPrinter);
    }
}

TEST(MemoPrintPages, PageRangeOfPrintPages) {
    struct TCase { int From, To, Count, First, Last; };
    const TCase cases[] = {
        {3, 2, 3, 1, 0},   // backwards: nothing
        {0, 2, 3, 1, 0},   // page 0 does not exist
        {2, -1, 3, 1, 0},
        {2, 99, 3, 2, 3},  // clipped to the text
        {1, 1, 3, 1, 1},
        {5, 9, 3, 3, 3},   // both beyond the text: the last page
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.From << ".." << c.To << " of " << c.Count);
        const TPageRange range = PagesToPrint(c.From, c.To, c.Count);
        if (c.Last < c.First) {
            EXPECT_LT(range.Last, range.First);
        } else {
            EXPECT_EQ(range.First, c.First);
            EXPECT_EQ(range.Last, c.Last);
        }
    }
}

TEST(MemoPrintOptions, AssignCopiesEveryValueAndTheMemoCopiesThem) {
    TPrintOptions a;
    a.SetJobName(L"job");
    a.SetTitle(L"title");
    a.SetMarginLeft(1);
    a.SetMarginRight(2);
    a.SetMarginTop(3);
    a.SetMarginBottom(4);
    a.SetPageNr(true);
    a.SetPagePrefix(L"Page");
    a.SetPrintLineNumbers(true);
    TAdvMemo memo(nullptr), other(nullptr);
    memo.SetPrintOptions(&a);
    other.Assign(&memo);
    const TPrintOptions& b = *other.PrintOptions();
    EXPECT_EQ(b.JobName(), L"job");
    EXPECT_EQ(b.Title(), L"title");
    EXPECT_EQ(b.MarginLeft(), 1);
    EXPECT_EQ(b.MarginRight(), 2);
    EXPECT_EQ(b.MarginTop(), 3);
    EXPECT_EQ(b.MarginBottom(), 4);
    EXPECT_TRUE(b.PageNr());
    EXPECT_EQ(b.PagePrefix(), L"Page");
    EXPECT_TRUE(b.PrintLineNumbers());
}

TEST(MemoPrint, MemoryPageShowsKeywordsNumbersAndThePageNumberStrip) {
    TPrintMemo memo(L"int x = 42;\r\nx = 7;");
    TMemoryPage page(600, 300);
    memo.Memo().PrintOptions()->SetPageNr(true);
    memo.Memo().PrintOptions()->SetPagePrefix(L"Page");
    memo.Memo().PrintToCanvas(page.Canvas(), 600, 1, 300);

    const int w = page.Canvas()->TextWidth(L"w");
    const int pitch = page.Canvas()->TextHeight(L"W_") + 3;
    const TColor keyword = memo.KeywordColour(L"int");
    const TColor number = memo.Styler().NumberStyle()->TextColor();
    ASSERT_NE(keyword, ClassLib::clNone);
    // Never painted, yet the number is coloured: printing prepares the tokenizer itself.
    EXPECT_GT(page.CountColour(RECT{0, 0, 3 * w, pitch}, keyword), 5);
    EXPECT_GT(page.CountColour(RECT{8 * w, 0, 10 * w, pitch}, number), 5);
    EXPECT_EQ(page.CountColour(RECT{4 * w, 0, 8 * w, pitch}, keyword), 0);
    // The strip: one row above the page's bottom, text centred in it, nothing at its ends.
    const int strip = 300 - pitch;
    EXPECT_GT(page.CountInk(RECT{250, strip, 350, 300}), 10);
    EXPECT_EQ(page.CountInk(RECT{0, strip, 150, 300}), 0);
    EXPECT_EQ(page.CountInk(RECT{450, strip, 600, 300}), 0);
    // Nothing between the last line and the strip.
    EXPECT_EQ(page.CountInk(RECT{0, 2 * pitch, 600, strip}), 0);
}

TEST(MemoPrint, PageTooSmallForOneLineRaisesAndDrawsNothing) {
    TPrintMemo memo(L"int x;");
    TMemoryPage page(200, 60);
    memo.Memo().PrintOptions()->SetMarginTop(30);
    memo.Memo().PrintOptions()->SetMarginBottom(30);
    EXPECT_THROW(memo.Memo().NumberOfPages(page.Canvas(), 200, 60), ClassLib::EPrinter);
    EXPECT_THROW(memo.Memo().PrintToCanvas(page.Canvas(), 200, 1, 60), ClassLib::EPrinter);
    EXPECT_EQ(page.CountInk(RECT{0, 0, 200, 60}), 0);

    // Through the printer: refused before anything is drawn, and the printer is free again.
    ClassLib::TPrinter* printer = ClassLib::Printer();
    printer->SetDevice(page.DC());
    EXPECT_THROW(memo.Memo().Print(), ClassLib::EPrinter);
    EXPECT_FALSE(printer->Printing());
    printer->SetDevice(nullptr);
    EXPECT_EQ(page.CountInk(RECT{0, 0, 200, 60}), 0);
}

TEST(MemoPrint, MetafilePageHasTitleNumbersColoursAndPageNumber) {
    std::wstring text;
    for (int i = 0; i < 30; ++i) text += L"int v" + std::to_wstring(i) + L" = " + std::to_wstring(100 + i) + L";\r\n";
    TPrintMemo memo(text);
    TPrintOptions& options = *memo.Memo().PrintOptions();
    options.SetTitle(L"Listing");
    options.SetPageNr(true);
    options.SetPagePrefix(L"Page");
    options.SetPrintLineNumbers(true);
    options.SetMarginLeft(20);
    TMetafilePage page(600, 400);
    const int pages = memo.Memo().NumberOfPages(page.Canvas(), 600, 400);
    const int pitch = page.Canvas()->TextHeight(L"W_") + 3;
    const int perPage = (400 - 2 * pitch) / pitch;
    ASSERT_EQ(pages, (30 - 1) / perPage + 1);
    ASSERT_GE(pages, 2);
    memo.Memo().PrintToCanvas(page.Canvas(), 600, 2, 400);
    const std::vector<TTextOut> texts = page.Texts();

    const TTextOut* title = FindText(texts, L"Listing");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Y, 0);
    EXPECT_GT(title->X, 200);
    const TTextOut* number = FindText(texts, L"Page 2");
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->Y, 400 - pitch);
    // Page 2 starts with the line after page 1's last, numbered as the gutter numbers it.
    const int first = perPage;
    const TTextOut* firstNumber = FindText(texts, std::to_wstring(first + 1));
    ASSERT_NE(firstNumber, nullptr);
    EXPECT_EQ(firstNumber->Y, pitch);
    EXPECT_EQ(firstNumber->Colour, COLORREF(0));
    EXPECT_EQ(FindText(texts, std::to_wstring(first)), nullptr);
    const TTextOut* keyword = FindText(texts, L"int");
    ASSERT_NE(keyword, nullptr);
    EXPECT_EQ(keyword->Colour, COLORREF(ClassLib::ColorToRGB(memo.KeywordColour(L"int"))));
    EXPECT_GT(keyword->X, firstNumber->X);
    const TTextOut* value = FindText(texts, std::to_wstring(100 + first));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->Colour, COLORREF(ClassLib::ColorToRGB(memo.Styler().NumberStyle()->TextColor())));
}

TEST(MemoPrint, SelectionIsNumberedAsTheGutterNumbersIt) {
    struct TCase { int LineNumberStart; std::vector<std::wstring> Numbers; std::wstring Before, After; };
    const TCase cases[] = {
        {1, {L"11", L"12", L"13"}, L"10", L"14"},
        {0, {L"10", L"11", L"12"}, L"9", L"13"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.LineNumberStart);
        std::wstring text;
        for (int i = 0; i < 20; ++i) text += L"word" + std::to_wstring(i) + L"\r\n";
        TPrintMemo memo(text);
        memo.Memo().Gutter()->SetLineNumberStart(c.LineNumberStart);
        memo.Memo().PrintOptions()->SetPrintLineNumbers(true);
        // Lines 10 to 12 (from 0), the last one only in part.
        memo.Memo().SetSelStartX(0);
        memo.Memo().SetSelStartY(10);
        memo.Memo().SetSelEndX(3);
        memo.Memo().SetSelEndY(12);
        TMetafilePage page(600, 400);
        ClassLib::TPrinter* printer = ClassLib::Printer();
        printer->SetDevice(page.DC());
        memo.Memo().PrintSelection();
        printer->SetDevice(nullptr);
        const std::vector<TTextOut> texts = page.Texts();
        for (const std::wstring& number : c.Numbers) EXPECT_NE(FindText(texts, number), nullptr) << number;
        EXPECT_EQ(FindText(texts, c.Before), nullptr);
        EXPECT_EQ(FindText(texts, c.After), nullptr);
        EXPECT_NE(FindText(texts, L"word10"), nullptr);
        EXPECT_NE(FindText(texts, L"wor"), nullptr);
        EXPECT_EQ(FindText(texts, L"word13"), nullptr);
        // The selection's own memo is fresh: the printed text carries no selection colours.
        for (const TTextOut& t : texts) EXPECT_NE(t.Colour, COLORREF(ClassLib::ColorToRGB(ClassLib::clWhite))) << t.Text;
    }
}
