// An SVG logo drawn by the SVG importer through GDI+ at three sizes, beside the reference
// renderer's picture of the same logo (made by CTest's svg_references step into the build
// tree; the space stays empty when it has not been made).
#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Canvas.h"
#include "classlib/Control.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/Pictures.h"
#include "graphics/AdvGraphicsSVGEngine.h"
#include "showcase/ShowcasePages.h"

namespace {

using namespace ClassLib;
using AdvTypes::RectF;

// The same text as tests/graphics/svg/logo.svg.
const wchar_t* const Logo =
    L"<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 100\">"
    L"<defs><linearGradient id=\"sky\" x1=\"0\" y1=\"0\" x2=\"1\" y2=\"0\">"
    L"<stop offset=\"0\" stop-color=\"#1e5aa8\"/><stop offset=\"1\" stop-color=\"#45b0e6\"/></linearGradient></defs>"
    L"<rect x=\"4\" y=\"4\" width=\"92\" height=\"92\" rx=\"18\" ry=\"18\" fill=\"url(#sky)\"/>"
    L"<path d=\"M22 74 L42 26 L62 74 Z M33 60 h18\" fill=\"none\" stroke=\"#ffffff\" stroke-width=\"7\"/>"
    L"<circle cx=\"72\" cy=\"34\" r=\"10\" fill=\"#ffd23c\"/>"
    L"<path d=\"M56 80 a16 16 0 0 1 28 0 z\" fill=\"#ffffff\"/></svg>";

class TLogoPanel : public TGraphicControl {
public:
    explicit TLogoPanel(TComponent* owner) : TGraphicControl(owner) {
        try {
            FImport.LoadFromText(Logo);
            wchar_t exe[MAX_PATH] = {};
            ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
            const std::wstring folder = ExtractFilePath(exe);
            FReference.LoadFromFile(folder + L"..\\tests\\svg-references\\logo.png");
        } catch (const Exception&) {
            // No reference yet (or no importer): the page shows what it has.
        }
    }
protected:
    void Paint() override {
        TCanvas* canvas = Canvas();
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(Rect(0, 0, Width(), Height()));
        canvas->Font()->SetColor(clBlack);
        int left = 16;
        for (int size : {32, 96, 200}) {
            FImport.Draw(canvas, RectF(float(left), 40, float(left + size), float(40 + size)), true);
            canvas->TextOut(left, 16, std::to_wstring(size) + L" px");
            left += size + 24;
        }
        canvas->TextOut(left, 16, L"reference, 200 px");
        if (FReference.Graphic()) canvas->Draw(left, 40, FReference.Graphic());
    }
private:
    AdvGraphicsSVGEngine::TAdvGraphicsSVGImport FImport;
    TPicture FReference;
};

const Showcase::TPageRegistration page(L"svg", [](TForm* form) {
    auto* panel = new TLogoPanel(form);
    panel->SetParent(form);
    panel->SetBounds(8, 8, 640, 260);
});

}  // namespace
