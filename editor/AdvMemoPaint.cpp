// Painting the memo: background, gutter and the visible lines.
#include "editor/AdvMemo.h"

#include <algorithm>

namespace AdvMemo {

void TAdvCustomMemo::PaintTo(HDC dc) {
    EnsureMeasure();
    const RECT all{0, 0, FWidth, FHeight};
    HBRUSH background = ::CreateSolidBrush(ClassLib::ColorToRGB(FBkColor));
    ::FillRect(dc, &all, background);
    ::DeleteObject(background);
    HFONT font = ::CreateFontW(FFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, FFontName.c_str());
    HGDIOBJ old = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ClassLib::ColorToRGB(ClassLib::clWindowText));
    const TMemoRect area = TextArea();
    const int count = LineCount();
    for (int line = FTopLine; line < count; ++line) {
        const TMemoRect r = LineRect(line);
        if (r.Top >= area.Bottom) break;
        const std::wstring text = LineText(line);
        if (FLeftCol < int(text.size()))
            ::TextOutW(dc, area.Left, r.Top, text.c_str() + FLeftCol, int(text.size()) - FLeftCol);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(font);
}

}  // namespace AdvMemo
