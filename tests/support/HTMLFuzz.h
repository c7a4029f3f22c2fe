#pragma once
// Mutations of mini-HTML for the engine's fuzz test and its bench: spliced tags and
// references, truncation, open quotes, stray brackets, deep nesting and extreme numbers.
#include <random>
#include <string>
#include <vector>

namespace TestSupport {

// The status bar's update notice, the usual start of a mutation chain.
inline const wchar_t* const HTMLFuzzSeed =
    L"Click && get <A HREF=\"http://x\">update</A>: <FONT COLOR=\"clRed\"><BLINK>ver. 2</BLINK></FONT>";

inline const std::vector<std::wstring>& FuzzPieces() {
    static const std::vector<std::wstring> pieces = {
        L"<B>", L"</B>", L"<I>", L"</I>", L"<U>", L"</U>", L"<S>", L"</S>", L"<A HREF=\"x\">", L"<A href=\"mailto:a\" title=\"t\">",
        L"</A>", L"<FONT COLOR=\"clRed\" SIZE=\"3\">", L"<FONT FACE=\"Symbol\" BGCOLOR=\"#00FF00\">", L"</FONT>",
        L"<FONT SIZE=\"99999999999\">", L"<FONT STYLE=\"font-size:12pt\">", L"<P ALIGN=\"RIGHT\">", L"<P ALIGN=\"CENTER\" BGCOLOR=\"#FFEEDD\">",
        L"<P LINE-HEIGHT=\"2,5\">", L"<P FLOAT=\"LEFT\">", L"<P INDENT=\"-4\">", L"<P BGCOLOR=\"clBlue\" BGCOLORTO=\"clRed\">", L"</P>",
        L"<UL>", L"<OL>", L"<LI>", L"<LI TYPE=\"SQUARE\" COLOR=\"#FF0000\">", L"<LI TYPE=\"CIRCLE\">", L"</UL>", L"</OL>", L"</LI>",
        L"<BR>", L"<HR COLOR=\"clGreen\">", L"<SUB>", L"</SUB>", L"<SUP>", L"</SUP>", L"<SHAD>", L"</SHAD>", L"<BLINK>", L"</BLINK>",
        L"<Z>", L"</Z>", L"<E>", L"</E>", L"<HI>", L"</HI>", L"<R a=\"90\">", L"</R>", L"<IN x=\"40\">", L"<OF x=\"20\">", L"</O>",
        L"<SPAN STYLE=\"background-color:#FF00FF\">", L"</SPAN>", L"<STRONG>", L"</STRONG>", L"<IMG SRC=\"IDX:0\" ALIGN=\"MIDDLE\">",
        L"<IMG SRC=\"IDX:9\" FLOAT=\"RIGHT\">", L"<IMG SRC=\"IDX:0\" FLOAT=\"LEFT\" WRAP>", L"<BODY BGCOLOR=\"#EEEEEE\">",
        L"<BODY BGCOLOR=\"clWhite\" BGCOLORTO=\"clBlack\" DIR=\"V\">", L"&nbsp;", L"&lt;", L"&gt;", L"&amp;", L"&eacute;", L"&#65;",
        L"&#x1F600;", L"&#128512;", L"&#0;", L"&#xD800;", L"&#99999999;", L"&#", L"&&#65;", L"<#LIT>", L"<", L"<>", L"< ", L"\"",
        L"\r\n", L" ", L"word ", L"x", L"longwordwithoutanybreakatallthatrunsandruns ", L" & ", L"\t",
    };
    return pieces;
}

inline std::wstring MutateHTML(std::mt19937& random, const std::wstring& seed) {
    const auto& pieces = FuzzPieces();
    std::wstring s = seed;
    const int steps = 1 + int(random() % 12);
    for (int i = 0; i < steps; ++i) {
        const std::size_t at = s.empty() ? 0 : random() % (s.size() + 1);
        switch (random() % 6) {
        case 0: case 1: s.insert(at, pieces[random() % pieces.size()]); break;
        case 2: s.resize(at); break;                                     // truncation
        case 3: if (at < s.size()) s.erase(at, 1 + random() % 4); break;
        case 4: s.insert(at, 1, L"<>\"&#;/=x "[random() % 10]); break;   // open quotes, stray brackets
        default:
            for (int d = 0; d < 20; ++d) s.insert(at, pieces[random() % 4]);   // deep nesting
            break;
        }
    }
    return s.substr(0, 2000);
}

}  // namespace TestSupport
