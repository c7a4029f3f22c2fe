#pragma once
// The memo's printing: its print options and the window-free page arithmetic.
#include "classlib/Object.h"
#include "classlib/Properties.h"

#include <string>

namespace AdvMemo {

class TPrintOptions : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TPrintOptions, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    void Assign(const ClassLib::TPersistent* source) override;

    // The job's title in the spooler; empty gives "AdvMemo print job".
    const std::wstring& JobName() const { return FJobName; }
    void SetJobName(const std::wstring& value) { FJobName = value; }
    // Printed centred at the top of every page when not empty.
    const std::wstring& Title() const { return FTitle; }
    void SetTitle(const std::wstring& value) { FTitle = value; }
    // Printer pixels.
    int MarginLeft() const { return FMarginLeft; }
    void SetMarginLeft(int value) { FMarginLeft = value; }
    int MarginRight() const { return FMarginRight; }
    void SetMarginRight(int value) { FMarginRight = value; }
    int MarginTop() const { return FMarginTop; }
    void SetMarginTop(int value) { FMarginTop = value; }
    int MarginBottom() const { return FMarginBottom; }
    void SetMarginBottom(int value) { FMarginBottom = value; }
    // A page-number line at the bottom of every page, PagePrefix before the number.
    bool PageNr() const { return FPageNr; }
    void SetPageNr(bool value) { FPageNr = value; }
    const std::wstring& PagePrefix() const { return FPagePrefix; }
    void SetPagePrefix(const std::wstring& value) { FPagePrefix = value; }
    bool PrintLineNumbers() const { return FPrintLineNumbers; }
    void SetPrintLineNumbers(bool value) { FPrintLineNumbers = value; }

private:
    std::wstring FJobName;
    std::wstring FTitle;
    int FMarginLeft = 0;
    int FMarginRight = 0;
    int FMarginTop = 0;
    int FMarginBottom = 0;
    bool FPageNr = false;
    std::wstring FPagePrefix;
    bool FPrintLineNumbers = false;
};

// Where the text goes on a page: the page less its margins, less a row for the title and one
// for the page number when they are printed. Every figure in device pixels.
struct TPageLayout {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;  // the rows of text
    int Pitch = 0;                                 // one row: the text height and 3 pixels
    int LinesPerPage = 0;
};
TPageLayout LayoutPage(const TPrintOptions& options, int pageWidth, int pageHeight, int textHeight);

// The rows PrintToCanvas hands to the line renderer: lines First..Last (beyond the text they
// are blank), the first at Top, one every Pitch pixels, each character CharWidth wide.
struct TPrintedRows {
    int Left = 0, Top = 0, Right = 0;
    int Pitch = 0, TextHeight = 0, CharWidth = 0;
    int FontHeight = 0;  // of the memo's font on this device
    int First = 0, Last = -1;
};

// Raises EPrinter when not even one line fits, so nothing divides by zero.
int PageCount(int lineCount, int linesPerPage);

// The pages PrintPages prints of a text of pageCount pages: first > last when none.
struct TPageRange { int First = 1; int Last = 0; };
TPageRange PagesToPrint(int fromPage, int toPage, int pageCount);

}  // namespace AdvMemo
