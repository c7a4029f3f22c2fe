#pragma once
// The mini-HTML markup of the canvas engine, of the status bar's engine and of the vector
// engine as parsers of the robustness run: each input, read as UTF-8, is measured,
// hit-tested and painted on a memory canvas. A server's markup reaches them (the update
// notice, the what's-new text), so hostile markup must neither crash nor hang them.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/GdiScopes.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/Strings.h"
#include "controls/AdvOfficeStatusBar.h"
#include "graphics/AdvGDIPStartup.h"
#include "graphics/AdvGraphics.h"
#include "graphics/AdvGraphicsHTMLEngine.h"
#include "rendering/AdvHTML.h"
#include "tests/support/HTMLFuzz.h"

namespace RobustnessHTML {

// A 400 x 200 memory bitmap under a 9-point Tahoma canvas, and a two-image list for the
// "IDX:" sources.
class TMarkupCanvas {
public:
    TMarkupCanvas() : FDC(::CreateCompatibleDC(nullptr)), FBitmap(::CreateBitmap(400, 200, 1, 32, nullptr)) {
        FOld = ::SelectObject(FDC.get(), FBitmap.get());
        FCanvas.SetHandle(FDC.get());
        FCanvas.Font()->SetName(L"Tahoma");
        FCanvas.Font()->SetSize(9);
        FCanvas.Brush()->SetColor(ClassLib::clWhite);
        ClassLib::TBitmap picture(16, 16);
        FImages.SetSize(16, 16);
        FImages.Add(&picture, nullptr);
        FImages.Add(&picture, nullptr);
    }
    ~TMarkupCanvas() {
        FCanvas.SetHandle(nullptr);
        ::SelectObject(FDC.get(), FOld);
    }
    TMarkupCanvas(const TMarkupCanvas&) = delete;
    TMarkupCanvas& operator=(const TMarkupCanvas&) = delete;

    // Measured, hit-tested at a point of the text and painted, as a control does.
    void LayOut(const std::wstring& text, bool statusBar) {
        const auto run = [&](bool measureOnly, bool checkOnly) {
            AdvHTML::THTMLParams p;
            p.Canvas = &FCanvas;
            p.S = text;
            p.R = ClassLib::TRect(2, 2, 398, 198);
            p.Images = &FImages;
            p.MeasureOnly = measureOnly;
            p.CheckOnly = checkOnly;
            p.X = 40;
            p.Y = 8;
            AdvHTML::THTMLResults out;
            if (statusBar) AdvOfficeStatusBar::DrawHTML(p, out);
            else AdvHTML::DrawHTML(p, out);
        };
        run(true, false);
        run(false, true);
        run(false, false);
    }

private:
    ClassLib::TOwnedDC FDC;
    ClassLib::TOwnedBitmap FBitmap;
    HGDIOBJ FOld = nullptr;
    ClassLib::TCanvas FCanvas;
    ClassLib::TImageList FImages{nullptr};
};

// The vector engine draws through GDI+, started once for the process.
inline void StartGdiplus() { static const AdvGDIPStartup::TGdiplusSession session; }

inline std::vector<std::uint8_t> Utf8Bytes(const std::wstring& text) {
    const ClassLib::AnsiString utf8 = ClassLib::UTF8Encode(text);
    return std::vector<std::uint8_t>(utf8.begin(), utf8.end());
}

inline std::wstring TextOf(const std::vector<std::uint8_t>& input) {
    return ClassLib::UTF8Decode(ClassLib::AnsiString(input.begin(), input.end()));
}

// Samples of what the program and a server write: the update notice, release notes with
// anchors and lists, fonts, paragraphs, pictures, entities and references.
inline std::vector<std::vector<std::uint8_t>> Seeds() {
    const wchar_t* const samples[] = {
        TestSupport::HTMLFuzzSeed,
        L"<b>Version 2.1</b> &ndash; see <a href=\"http://example.org/notes\" title=\"notes\">the notes</a> "
        L"for details<br>\r\n- the generator keeps <i>command 3</i> when sorted again, caf&eacute;<br>\r\n",
        L"<UL><LI>first<LI TYPE=\"SQUARE\" COLOR=\"#FF0000\">second</UL><OL><LI>one<LI>two</OL>",
        L"<P ALIGN=\"CENTER\" BGCOLOR=\"#FFEEDD\">centred</P><FONT FACE=\"Arial\" SIZE=\"4\" COLOR=\"clRed\">big</FONT>"
        L"<FONT STYLE=\"font-size:12pt\">points</FONT>",
        L"<IMG SRC=\"IDX:1\" ALIGN=\"MIDDLE\"> image <IMG SRC=\"IDX:0\" FLOAT=\"LEFT\">text<BR>"
        L"<BODY BGCOLOR=\"clWhite\" BGCOLORTO=\"clBlack\" DIR=\"V\">",
        L"&#65;&#x42;&#128512; &lt;b&gt; a&nbsp;b <#FIELD> <SUB>2</SUB><SUP>3</SUP><SHAD>s</SHAD><Z>hidden</Z><E>e</E>",
        L"<SPAN STYLE=\"background-color:#FF00FF\">span</SPAN><HI>hi</HI><S>s</S><U>u</U><BLINK>x</BLINK>"
        L"<IN x=\"40\">tab<OF x=\"20\">off</O><R a=\"90\">r</R><HR COLOR=\"clGreen\">",
        L"<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\"><CONTROL TYPE=\"BUTTON\" WIDTH=\"60\" VALUE=\"Go\">",
    };
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const wchar_t* sample : samples) seeds.push_back(Utf8Bytes(sample));
    return seeds;
}

inline std::vector<std::string> Tokens() {
    std::vector<std::string> tokens;
    for (const std::wstring& piece : TestSupport::FuzzPieces()) {
        const ClassLib::AnsiString utf8 = ClassLib::UTF8Encode(piece);
        tokens.emplace_back(utf8.begin(), utf8.end());
    }
    return tokens;
}

// Appends the three markup parsers to the robustness run's list (a list of its TParser,
// which is why this is a template: this header needs nothing of the run).
template <class TParsers>
void AppendHTMLParsers(TParsers& parsers) {
    using TParser = typename TParsers::value_type;
    auto canvas = std::make_shared<TMarkupCanvas>();
    parsers.push_back(TParser{"HTML canvas engine", Seeds(), Tokens(),
                              [canvas](const std::vector<std::uint8_t>& input) { canvas->LayOut(TextOf(input), false); },
                              {}});
    parsers.push_back(TParser{"HTML status bar engine", Seeds(), Tokens(),
                              [canvas](const std::vector<std::uint8_t>& input) { canvas->LayOut(TextOf(input), true); },
                              {}});
    StartGdiplus();
    std::shared_ptr<AdvGraphics::TAdvGraphics> surface = AdvGraphics::TAdvGraphics::CreateBitmapCanvas(400, 200, false);
    parsers.push_back(TParser{"HTML vector engine", Seeds(), Tokens(),
                              [surface](const std::vector<std::uint8_t>& input) {
                                  const std::wstring text = TextOf(input);
                                  for (const bool measureOnly : {true, false}) {
                                      AdvGraphicsHTMLEngine::THTMLOptions o;
                                      o.MeasureOnly = measureOnly;
                                      o.WordWrap = true;
                                      o.X = 40;
                                      o.Y = 8;
                                      AdvGraphicsHTMLEngine::THTMLResult r;
                                      AdvGraphicsHTMLEngine::DrawHTML(surface.get(), text, AdvTypes::RectF(2, 2, 398, 198),
                                                                      o, r);
                                  }
                              },
                              {}, 1000});
}

}  // namespace RobustnessHTML
