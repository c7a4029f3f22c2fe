#include "editor/AdvMemoPrint.h"

#include "classlib/Canvas.h"
#include "classlib/Printer.h"
#include "editor/AdvMemo.h"
#include "editor/AdvmCSHS.h"

#include <gtest/gtest.h>

#include "support/MemorySurface.h"
#include "support/UnixShell.h"

#include <windows.h>
#include <winspool.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace AdvMemo;
using ClassLib::TColor;
using TestSupport::ReadUnixFile;
using TestSupport::RunShell;
using TestSupport::UnixPath;

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
    TMemoryPage(int width, int height) : FSurface(width, height) { FCanvas.SetHandle(FSurface.DC()); }
    ~TMemoryPage() { FCanvas.SetHandle(nullptr); }
    ClassLib::TCanvas* Canvas() { return &FCanvas; }
    HDC DC() const { return FSurface.DC(); }
    int CountColour(const RECT& r, TColor colour) const { return FSurface.CountColour(r, colour); }
    int CountInk(const RECT& r) const { return FSurface.CountInk(r, ClassLib::clWhite); }
private:
    TestSupport::TMemorySurface FSurface;
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
        TState state;
        ::EnumEnhMetaFile(nullptr, file, &Record, &state, nullptr);
        ::DeleteEnhMetaFile(file);
        return state.Out;
    }
private:
    struct TState { std::vector<TTextOut> Out; COLORREF Colour = 0; };
    static int CALLBACK Record(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
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
    }
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

namespace {

// A PostScript printer on "FILE:" through the platform's PostScript driver, described by a
// minimal PPD of our own (no printer or driver comes installed); removed again at the end.
class TTestPrinter {
public:
    static constexpr const wchar_t* kName = L"ATGen Test Printer";
    static constexpr const wchar_t* kDriver = L"Wine PostScript Driver";
    TTestPrinter() {
        wchar_t directory[MAX_PATH] = {};
        DWORD size = 0;
        if (!::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory), sizeof directory, &size)) {
            FError = "GetPrinterDriverDirectory failed: " + std::to_string(::GetLastError());
            return;
        }
        FDirectory = directory;
        const std::wstring ppd = FPpd = FDirectory + L"\\atgentest.ppd";
        {
            std::ofstream out(std::filesystem::path(ppd), std::ios::binary);
            out << "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
                   "*LanguageEncoding: ISOLatin1\n*PCFileName: \"ATGENTST.PPD\"\n*Manufacturer: \"ATGen\"\n"
                   "*Product: \"(ATGen Test)\"\n*ModelName: \"ATGen Test\"\n*ShortNickName: \"ATGen Test\"\n"
                   "*NickName: \"ATGen Test\"\n*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n"
                   "*ColorDevice: True\n*DefaultColorSpace: RGB\n*FileSystem: False\n*Throughput: \"1\"\n"
                   "*TTRasterizer: Type42\n*DefaultResolution: 300dpi\n"
                   "*OpenUI *PageSize/Page Size: PickOne\n*DefaultPageSize: A4\n"
                   "*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n*CloseUI: *PageSize\n"
                   "*OpenUI *PageRegion: PickOne\n*DefaultPageRegion: A4\n"
                   "*PageRegion A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n*CloseUI: *PageRegion\n"
                   "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"18 18 577 824\"\n"
                   "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n"
                   "*DefaultFont: Courier\n*Font Courier: Standard \"(002.004S)\" Standard ROM\n";
        }
        // A fresh Wine prefix has the PostScript driver only as a built-in module: put the
        // file where AddPrinterDriver looks for it, from Wine's own library folder.
#ifdef _WIN64
        const wchar_t* const builtIn = L"Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\wineps.drv";
#else
        const wchar_t* const builtIn = L"Z:\\usr\\lib\\i386-linux-gnu\\wine\\i386-windows\\wineps.drv";
#endif
        FDriverCopy = FDirectory + L"\\wineps.drv";
        if (!::CopyFileW(builtIn, FDriverCopy.c_str(), FALSE)) {
            FError = "cannot copy Wine's PostScript driver: " + std::to_string(::GetLastError());
            FDriverCopy.clear();
            return;
        }
        DRIVER_INFO_3W driver{};
        driver.cVersion = 3;
        driver.pName = const_cast<wchar_t*>(kDriver);
        driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
        driver.pDataFile = const_cast<wchar_t*>(ppd.c_str());
        driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
        if (!::AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver)) &&
            ::GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
            FError = "AddPrinterDriver failed: " + std::to_string(::GetLastError());
            return;
        }
        PRINTER_INFO_2W info{};
        info.pPrinterName = const_cast<wchar_t*>(kName);
        info.pPortName = const_cast<wchar_t*>(L"FILE:");
        info.pDriverName = const_cast<wchar_t*>(kDriver);
        info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
        info.pDatatype = const_cast<wchar_t*>(L"RAW");
        info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        FPrinter = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
        if (!FPrinter && ::GetLastError() == ERROR_PRINTER_ALREADY_EXISTS) {
            PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
            ::OpenPrinterW(const_cast<wchar_t*>(kName), &FPrinter, &access);
        }
        if (!FPrinter) FError = "AddPrinter failed: " + std::to_string(::GetLastError());
    }
    ~TTestPrinter() {
        if (FPrinter) {
            ::DeletePrinter(FPrinter);
            ::ClosePrinter(FPrinter);
        }
        ::DeletePrinterDriverW(nullptr, nullptr, const_cast<wchar_t*>(kDriver));
        if (!FDriverCopy.empty()) ::DeleteFileW(FDriverCopy.c_str());
        if (FPpd.empty()) return;
        // The spooler keeps a copy in the driver version's folder beside ours.
        ::DeleteFileW((FDirectory + L"\\3\\atgentest.ppd").c_str());
        ::DeleteFileW(FPpd.c_str());
    }
    TTestPrinter(const TTestPrinter&) = delete;
    TTestPrinter& operator=(const TTestPrinter&) = delete;
    const std::string& Error() const { return FError; }
    HDC CreateDC() const { return ::CreateDCW(L"WINSPOOL", kName, nullptr, nullptr); }
private:
    HANDLE FPrinter = nullptr;
    std::wstring FDirectory, FPpd, FDriverCopy;
    std::string FError;
};

}  // namespace

TEST(MemoPrintJob, TextPrintedToAPostScriptPrinterComesBackFromThePdf) {
    TTestPrinter testPrinter;
    ASSERT_EQ(testPrinter.Error(), "");
    HDC dc = testPrinter.CreateDC();
    ASSERT_NE(dc, nullptr);

    std::wstring text;
    for (int i = 0; i < 130; ++i) text += L"int value" + std::to_wstring(i) + L" = " + std::to_wstring(i * 7) + L";\r\n";
    TPrintMemo memo(text);
    TPrintOptions& options = *memo.Memo().PrintOptions();
    options.SetJobName(L"memo job");
    options.SetTitle(L"Printed listing");
    options.SetPageNr(true);
    options.SetPagePrefix(L"Page");
    options.SetPrintLineNumbers(true);
    options.SetMarginLeft(60);
    options.SetMarginTop(60);
    options.SetMarginBottom(60);

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring ps = std::wstring(temp) + L"atgen-memo-print.ps";
    ::DeleteFileW(ps.c_str());
    ClassLib::TPrinter* printer = ClassLib::Printer();
    printer->SetDevice(dc);
    printer->SetOutputFile(ps);
    ClassLib::TCanvas measure;
    int pages = 0;
    {
        // The page count the job will have, measured on the printer's own device.
        measure.Font()->SetPixelsPerInch(::GetDeviceCaps(dc, LOGPIXELSY));
        measure.SetHandle(dc);
        pages = memo.Memo().NumberOfPages(&measure, ::GetDeviceCaps(dc, HORZRES), ::GetDeviceCaps(dc, VERTRES));
        measure.SetHandle(nullptr);
    }
    memo.Memo().Print();
    printer->SetOutputFile(L"");
    printer->SetDevice(nullptr);
    ::DeleteDC(dc);
    ASSERT_GE(pages, 2);

    const std::string unixPs = UnixPath(ps);
    ASSERT_FALSE(unixPs.empty());
    const std::string base = unixPs.substr(0, unixPs.size() - 3);
    ASSERT_EQ(RunShell("ps2pdf '" + unixPs + "' '" + base + ".pdf' && pdfinfo '" + base + ".pdf' > '" + base +
                           ".info' && pdftotext -layout '" + base + ".pdf' '" + base + ".txt'",
                       base + ".status"),
              "0\n");
    const std::string info = ReadUnixFile(base + ".info");
    EXPECT_NE(info.find("Pages:"), std::string::npos) << info;
    std::istringstream infoLines(info);
    int printedPages = 0;
    for (std::string line; std::getline(infoLines, line);)
        if (line.rfind("Pages:", 0) == 0) printedPages = std::stoi(line.substr(6));
    EXPECT_EQ(printedPages, pages);

    std::string printed = ReadUnixFile(base + ".txt");
    // pdftotext: the embedded monospace font's ";" glyph is also the Greek question mark
    // (U+037E), which is the name it reports.
    for (size_t p = printed.find("\xCD\xBE"); p != std::string::npos; p = printed.find("\xCD\xBE", p)) printed.replace(p, 2, ";");
    // Every line once, in order, each after its number; a title on every page, a number under it.
    size_t at = 0;
    for (int i = 0; i < 130; ++i) {
        const std::string line = std::to_string(i + 1) + " int value" + std::to_string(i) + " = " + std::to_string(i * 7) + ";";
        const size_t found = printed.find(line, at);
        ASSERT_NE(found, std::string::npos) << line;
        at = found + line.size();
    }
    size_t titles = 0;
    for (size_t p = printed.find("Printed listing"); p != std::string::npos; p = printed.find("Printed listing", p + 1)) ++titles;
    EXPECT_EQ(titles, size_t(pages));
    EXPECT_NE(printed.find("Page " + std::to_string(pages)), std::string::npos);
    EXPECT_EQ(printed.find("Page " + std::to_string(pages + 1)), std::string::npos);
}
