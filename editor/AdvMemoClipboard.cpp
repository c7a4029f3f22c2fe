// Copy, cut and paste of the memo's text through the system clipboard.
#include "editor/AdvMemo.h"

#include <algorithm>
#include <cstring>

#include "classlib/Clipboard.h"
#include "graphics/AdvUtils.h"

namespace AdvMemo {

namespace {

// Closes the clipboard on every way out of a scope.
class TClipboardOpening {
public:
    TClipboardOpening() { ClassLib::Clipboard()->Open(); }
    ~TClipboardOpening() { ClassLib::Clipboard()->Close(); }
    TClipboardOpening(const TClipboardOpening&) = delete;
    TClipboardOpening& operator=(const TClipboardOpening&) = delete;
};

// The clipboard's Unicode text, read only within its block: up to the first zero character
// or the block's end, whichever comes first.
std::wstring ClipboardText() {
    const std::vector<std::uint8_t> block = ClassLib::Clipboard()->GetBuffer(CF_UNICODETEXT);
    const size_t chars = block.size() / sizeof(wchar_t);
    std::wstring text(chars, L'\0');
    if (chars > 0) std::memcpy(text.data(), block.data(), chars * sizeof(wchar_t));
    const size_t zero = text.find(L'\0');
    if (zero != std::wstring::npos) text.resize(zero);
    return text;
}

}  // namespace

void TAdvCustomMemo::CopyToClipBoard() {
    // Nothing else may react to the memo while its selection is taken.
    auto savedOnChange = OnChange;
    OnChange = nullptr;
    try {
        // Rich renderings exist for a stream selection; a block selection goes as text.
        const bool rich = FSelectionMode != smBlock && (FClipboardFormats & (cfRTF | cfHTML));
        std::string rtf, html;
        if (rich) SelectionAsRichText(rtf, html);
        TClipboardOpening opening;
        ClassLib::TClipboard* clipboard = ClassLib::Clipboard();
        if (FClipboardFormats & cfText) clipboard->SetAsText(Selection());
        // Each block carries its terminating zero.
        if (rich && (FClipboardFormats & cfRTF) && !rtf.empty())
            clipboard->SetBuffer(AdvUtils::AdvClipboardFormat(AdvUtils::TAdvClipboardFormat::RichTextFormat),
                                 rtf.c_str(), rtf.size() + 1);
        if (rich && (FClipboardFormats & cfHTML))
            clipboard->SetBuffer(AdvUtils::AdvClipboardFormat(AdvUtils::TAdvClipboardFormat::HTMLFormat),
                                 html.c_str(), html.size() + 1);
    } catch (...) {
        OnChange = savedOnChange;
        throw;
    }
    Invalidate();
    OnChange = savedOnChange;
}

void TAdvCustomMemo::CutToClipBoard() {
    if (FReadOnly || !CanEdit()) return;
    ClassLib::Clipboard()->SetAsText(Selection());
    DeleteSelectionCore(true);
    AfterEdit();
}

void TAdvCustomMemo::PasteFromClipBoard() {
    if (FReadOnly || !CanEdit()) return;
    const int oldY = FCurY;
    EnsureOneLine();
    if (FAutoExpand && FCurY >= 0 && FCurY < LineCount()) {
        const std::wstring line = LineText(FCurY);
        if (static_cast<int>(line.size()) < FCurX) StoreLine(FCurY, line + std::wstring(FCurX - line.size(), L' '));
    }
    if (!ClassLib::Clipboard()->HasFormat(CF_UNICODETEXT)) return;
    // Every line break kind becomes CR LF on insertion.
    const std::wstring text = ClipboardText();
    if (text.empty()) return;
    if (!HasSelection() && FSelStartX == 0 && FSelEndX == 0 && FSelStartY == FSelEndY && FCurX != 0) {
        FSelStartX = FSelEndX = FCurX;
        FSelStartY = FSelEndY = FCurY;
    }
    SetSelection(text);
    const int pos = TextFromPos(FCurX, FCurY);
    for (int y = std::min(oldY, FCurY); y <= std::max(oldY, FCurY) && y < LineCount(); ++y) SetLineModifiedInt(y, lmModified);
    PosFromText(pos, FSelStartX, FSelStartY);
    FSelEndX = FSelStartX;
    FSelEndY = FSelStartY;
    if (FWordWrap != wwNone) {
        UpdateWrap();
        int x = 0, y = 0;
        PosFromText(pos, x, y);
        FCurX = x;
        FCurY = y;
        SetLeftCol(0);
    } else {
        UpdateScrollBars(false);
        Invalidate();
    }
    AfterEdit();
}

}  // namespace AdvMemo
