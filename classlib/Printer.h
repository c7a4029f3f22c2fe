#pragma once
// The printer: one document at a time, page by page, drawn through a canvas.
#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/Object.h"

namespace ClassLib {

class EPrinter : public Exception { public: using Exception::Exception; };

class TPrinter : public TObject {
    CLASSLIB_CLASS(TPrinter, TObject)
public:
    TPrinter();
    ~TPrinter() override;

    // Starts a document on the device (the default printer unless SetDevice gave one);
    // raises EPrinter when printing already or when there is no printer.
    void BeginDoc();
    void EndDoc();
    void NewPage();
    void Abort();

    // Draws on the current page; usable between BeginDoc and EndDoc.
    TCanvas* Canvas() const { return FCanvas.get(); }
    // Pixels of the printable page.
    int PageWidth();
    int PageHeight();
    // 1 on the first page of a document.
    int PageNumber() const { return FPageNumber; }
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    const std::wstring& Title() const { return FTitle; }
    void SetTitle(const std::wstring& title) { FTitle = title; }
    HDC Handle() const { return FDC; }
    // The file a printer's document goes to instead of the printer's port; empty for the port.
    const std::wstring& OutputFile() const { return FOutputFile; }
    void SetOutputFile(const std::wstring& value) { FOutputFile = value; }

    // Prints on this device context (a printer's, or a memory one in tests)
    // instead of the default printer; null goes back to the default printer.
    // The caller keeps ownership.
    void SetDevice(HDC dc);
private:
    void Finish();
    bool IsPrinterDevice() const;

    std::unique_ptr<TCanvas> FCanvas;
    HDC FDevice = nullptr;  // given by SetDevice, not owned
    HDC FDC = nullptr;      // the DC of the current document
    bool FOwnsDC = false;
    bool FPrinting = false;
    bool FAborted = false;
    int FPageNumber = 0;
    std::wstring FTitle;
    std::wstring FOutputFile;
};

// The program's printer object.
TPrinter* Printer();

}  // namespace ClassLib
