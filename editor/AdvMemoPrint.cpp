#include "editor/AdvMemoPrint.h"

#include "classlib/Canvas.h"
#include "classlib/GdiScopes.h"
#include "classlib/Printer.h"
#include "editor/AdvMemo.h"

#include <algorithm>
#include <climits>

namespace AdvMemo {

CLASSLIB_IMPLEMENT(TPrintOptions, ClassLib::TPersistent)

const ClassLib::TPropertyList& TPrintOptions::Published() {
    using P = TPrintOptions;
    static const ClassLib::TPropertyList list = ClassLib::TPropertyList::Extend(ClassLib::TPersistent::Published())
        .Add(L"JobName", &P::JobName, &P::SetJobName, std::wstring())
        .Add(L"Title", &P::Title, &P::SetTitle, std::wstring())
        .Add(L"MarginLeft", &P::MarginLeft, &P::SetMarginLeft, 0)
        .Add(L"MarginRight", &P::MarginRight, &P::SetMarginRight, 0)
        .Add(L"MarginTop", &P::MarginTop, &P::SetMarginTop, 0)
        .Add(L"MarginBottom", &P::MarginBottom, &P::SetMarginBottom, 0)
        .Add(L"PageNr", &P::PageNr, &P::SetPageNr, false)
        .Add(L"PagePrefix", &P::PagePrefix, &P::SetPagePrefix, std::wstring())
        .Add(L"PrintLineNumbers", &P::PrintLineNumbers, &P::SetPrintLineNumbers, false);
    return list;
}

void TPrintOptions::Assign(const ClassLib::TPersistent* source) {
    const auto* other = dynamic_cast<const TPrintOptions*>(source);
    if (!other) {
        ClassLib::TPersistent::Assign(source);
        return;
    }
    FJobName = other->FJobName;
    FTitle = other->FTitle;
    FMarginLeft = other->FMarginLeft;
    FMarginRight = other->FMarginRight;
    FMarginTop = other->FMarginTop;
    FMarginBottom = other->FMarginBottom;
    FPageNr = other->FPageNr;
    FPagePrefix = other->FPagePrefix;
    FPrintLineNumbers = other->FPrintLineNumbers;
}

TPageLayout LayoutPage(const TPrintOptions& options, int pageWidth, int pageHeight, int textHeight) {
    TPageLayout page;
    page.Left = options.MarginLeft();
    page.Top = options.MarginTop();
    page.Right = pageWidth - options.MarginRight();
    page.Bottom = pageHeight - options.MarginBottom();
    page.Pitch = textHeight + 3;
    if (options.PageNr()) page.Bottom -= page.Pitch;
    if (!options.Title().empty()) page.Top += page.Pitch;
    page.LinesPerPage = page.Bottom > page.Top ? (page.Bottom - page.Top) / page.Pitch : 0;
    return page;
}

int PageCount(int lineCount, int linesPerPage) {
    if (linesPerPage <= 0)
        throw ClassLib::EPrinter(L"Cannot print: the page leaves no room for one line of text; make the margins "
                                 L"smaller or the page larger");
    return (std::max(lineCount, 1) - 1) / linesPerPage + 1;
}

TPageRange PagesToPrint(int fromPage, int toPage, int pageCount) {
    if (fromPage <= 0 || toPage <= 0 || toPage < fromPage) return TPageRange{};
    return TPageRange{std::min(fromPage, pageCount), std::min(toPage, pageCount)};
}

namespace {

// The memo's font on the canvas and the page measured with it.
struct TMeasuredPage {
    TPageLayout Layout;
    int TextHeight = 0;
    int CharWidth = 0;
};

TMeasuredPage MeasurePage(TAdvCustomMemo& memo, ClassLib::TCanvas* canvas, int pageWidth, int pageHeight) {
    canvas->Font()->Assign(memo.Font());
    TMeasuredPage page;
    page.TextHeight = canvas->TextHeight(L"W_");
    page.CharWidth = canvas->TextWidth(L"w");
    page.Layout = LayoutPage(*memo.PrintOptions(), pageWidth, pageHeight, page.TextHeight);
    return page;
}

// Centred in the row when it fits, else from the row's left edge.
void CentredText(ClassLib::TCanvas* canvas, const std::wstring& text, int left, int right, int top, ClassLib::TColor colour) {
    HDC dc = canvas->Handle();
    const int width = canvas->TextWidth(text);
    const int x = width <= right - left ? left + (right - left - width) / 2 : left;
    ClassLib::TSelection font(dc, canvas->Font()->Handle());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, ClassLib::ColorToRGB(colour));
    ::TextOutW(dc, x, top, text.c_str(), int(text.size()));
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
}

// Pages first..last of the memo as one printer document; anything raised on the way aborts
// the document, so a failed job leaves nothing in the spooler.
void PrintDocument(TAdvCustomMemo& memo, int fromPage, int toPage) {
    ClassLib::TPrinter* printer = ClassLib::Printer();
    const std::wstring& job = memo.PrintOptions()->JobName();
    printer->SetTitle(job.empty() ? L"AdvMemo print job" : job);
    printer->BeginDoc();
    struct TAbortUnlessEnded {
        ClassLib::TPrinter* Printer;
        ~TAbortUnlessEnded() { if (Printer->Printing()) Printer->Abort(); }
    } guard{printer};
    const int width = printer->PageWidth();
    const int height = printer->PageHeight();
    const TPageRange range = PagesToPrint(fromPage, toPage, memo.NumberOfPages(printer->Canvas(), width, height));
    for (int page = range.First; page <= range.Last; ++page) {
        if (page > range.First) printer->NewPage();
        memo.PrintToCanvas(printer->Canvas(), width, page, height);
    }
    printer->EndDoc();
}

}  // namespace

int TAdvCustomMemo::NumberOfPages(ClassLib::TCanvas* canvas, int pageWidth, int pageHeight) {
    const TMeasuredPage page = MeasurePage(*this, canvas, pageWidth, pageHeight);
    return PageCount(Lines()->Count(), page.Layout.LinesPerPage);
}

void TAdvCustomMemo::PrintToCanvas(ClassLib::TCanvas* canvas, int pageWidth, int pageNr, int pageHeight) {
    const TMeasuredPage page = MeasurePage(*this, canvas, pageWidth, pageHeight);
    const TPageLayout& layout = page.Layout;
    PageCount(Lines()->Count(), layout.LinesPerPage);  // refuses a page without room for a line
    const TPrintOptions& options = *FPrintOptions;
    if (!options.Title().empty())
        CentredText(canvas, options.Title(), layout.Left, layout.Right, layout.Top - layout.Pitch, Font()->Color());

    TPrintedRows rows;
    rows.Left = layout.Left;
    rows.Top = layout.Top;
    rows.Right = layout.Right;
    rows.Pitch = layout.Pitch;
    rows.TextHeight = page.TextHeight;
    rows.CharWidth = page.CharWidth;
    rows.FontHeight = canvas->Font()->Height();
    rows.First = (pageNr - 1) * layout.LinesPerPage;
    rows.Last = std::min(pageNr * layout.LinesPerPage, Lines()->Count()) - 1;
    if (pageNr >= 1) PrintRows(canvas->Handle(), rows);

    if (options.PageNr())
        CentredText(canvas, options.PagePrefix() + L" " + std::to_wstring(pageNr), layout.Left, layout.Right,
                    layout.Bottom, Font()->Color());
}

void TAdvCustomMemo::Print() { PrintDocument(*this, 1, INT_MAX); }

void TAdvCustomMemo::PrintPages(int fromPage, int toPage) {
    if (PagesToPrint(fromPage, toPage, INT_MAX).Last < 1) return;
    PrintDocument(*this, fromPage, toPage);
}

void TAdvCustomMemo::PrintSelection() {
    TAdvMemo selection(nullptr);
    selection.SetPrintOptions(FPrintOptions.get());
    selection.SetSyntaxStyles(EffectiveStyler());
    selection.Lines()->SetText(Selection());
    int sx, sy, ex, ey;
    OrderedSelection(sx, sy, ex, ey);
    if (FSelectionMode == smBlock) sy = FBlockSelection.Top;
    PhysicalToLogical(sx, sy);
    // Numbered as this memo's gutter shows the same lines.
    TAdvGutter* gutter = selection.Gutter();
    gutter->SetShowLeadingZeros(FGutter->ShowLeadingZeros());
    gutter->SetDigitCount(FGutter->DigitCount());
    gutter->SetNumberSuffix(FGutter->NumberSuffix());
    gutter->SetLineNumberStart(sy + FGutter->LineNumberStart());
    selection.Print();
}

}  // namespace AdvMemo
