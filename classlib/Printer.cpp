#include "classlib/Printer.h"

#include <vector>

#include <winspool.h>

namespace ClassLib {

CLASSLIB_IMPLEMENT(TPrinter, TObject)

TPrinter::TPrinter() : FCanvas(std::make_unique<TCanvas>()) {}

TPrinter::~TPrinter() {
    if (FPrinting) Abort();
}

void TPrinter::SetDevice(HDC dc) {
    if (FPrinting) throw EPrinter(L"Cannot change the printer while a document is printing");
    FDevice = dc;
}

bool TPrinter::IsPrinterDevice() const { return FDC && ::GetDeviceCaps(FDC, TECHNOLOGY) == DT_RASPRINTER; }

void TPrinter::BeginDoc() {
    if (FPrinting) throw EPrinter(L"Printing in progress");
    FDC = FDevice;
    FOwnsDC = false;
    if (!FDC) {
        DWORD size = 0;
        ::GetDefaultPrinterW(nullptr, &size);
        std::vector<wchar_t> name(size + 1, L'\0');
        if (size == 0 || !::GetDefaultPrinterW(name.data(), &size))
            throw EPrinter(L"There is no default printer currently selected");
        FDC = ::CreateDCW(L"WINSPOOL", name.data(), nullptr, nullptr);
        if (!FDC) {
            const DWORD code = ::GetLastError();
            RaiseOSError(code, L"Cannot open the printer \"" + std::wstring(name.data()) + L"\"");
        }
        FOwnsDC = true;
    }
    if (IsPrinterDevice()) {
        DOCINFOW info{};
        info.cbSize = sizeof info;
        info.lpszDocName = FTitle.c_str();
        info.lpszOutput = FOutputFile.empty() ? nullptr : FOutputFile.c_str();
        if (::StartDocW(FDC, &info) <= 0 || ::StartPage(FDC) <= 0) {
            const DWORD code = ::GetLastError();
            if (FOwnsDC) ::DeleteDC(FDC);
            FDC = nullptr;
            RaiseOSError(code, L"Cannot start printing \"" + FTitle + L"\"");
        }
    }
    FPrinting = true;
    FAborted = false;
    FPageNumber = 1;
    // Fonts keep their point size on a device of another resolution.
    FCanvas->Font()->SetPixelsPerInch(::GetDeviceCaps(FDC, LOGPIXELSY));
    FCanvas->SetHandle(FDC);
}

void TPrinter::NewPage() {
    if (!FPrinting) throw EPrinter(L"Printer is not currently printing");
    FCanvas->Refresh();
    if (IsPrinterDevice()) {
        ::EndPage(FDC);
        ::StartPage(FDC);
    }
    ++FPageNumber;
}

void TPrinter::EndDoc() {
    if (!FPrinting) throw EPrinter(L"Printer is not currently printing");
    FCanvas->SetHandle(nullptr);
    if (IsPrinterDevice()) {
        ::EndPage(FDC);
        ::EndDoc(FDC);
    }
    Finish();
}

void TPrinter::Abort() {
    if (!FPrinting) return;
    FCanvas->SetHandle(nullptr);
    if (IsPrinterDevice()) ::AbortDoc(FDC);
    FAborted = true;
    Finish();
}

void TPrinter::Finish() {
    if (FOwnsDC) ::DeleteDC(FDC);
    FDC = nullptr;
    FOwnsDC = false;
    FPrinting = false;
}

// A memory DC has the screen's resolution but only its bitmap's size.
int TPrinter::PageWidth() {
    HDC dc = FDC ? FDC : FDevice;
    if (!dc) return 0;
    if (::GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER) return ::GetDeviceCaps(dc, HORZRES);
    BITMAP bitmap{};
    return ::GetObjectW(::GetCurrentObject(dc, OBJ_BITMAP), sizeof bitmap, &bitmap) ? bitmap.bmWidth : ::GetDeviceCaps(dc, HORZRES);
}

int TPrinter::PageHeight() {
    HDC dc = FDC ? FDC : FDevice;
    if (!dc) return 0;
    if (::GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER) return ::GetDeviceCaps(dc, VERTRES);
    BITMAP bitmap{};
    return ::GetObjectW(::GetCurrentObject(dc, OBJ_BITMAP), sizeof bitmap, &bitmap) ? bitmap.bmHeight : ::GetDeviceCaps(dc, VERTRES);
}

TPrinter* Printer() {
    static TPrinter printer;
    return &printer;
}

}  // namespace ClassLib
