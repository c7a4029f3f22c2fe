#include "editor/RTFEngine.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <iterator>
#include <cwctype>

#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/GdiObjects.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"

namespace RTFEngine {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TFontItem, ClassLib::TCollectionItem)
CLASSLIB_IMPLEMENT(TFontCollection, ClassLib::TCollection)

namespace {

constexpr const wchar_t* kBorderGroup =
    L"\\clbrdrl\\brdrw10\\brdrs\\brdrcf0\\clbrdrt\\brdrw10\\brdrs\\brdrcf0"
    L"\\clbrdrr\\brdrw10\\brdrs\\brdrcf0\\clbrdrb\\brdrw10\\brdrs\\brdrcf0";

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsHexDigit(wchar_t c) { return IsDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }

// RTF's \u takes a signed 16-bit number: code units above 32767 are written negative. The
// fallback "G" for readers without Unicode goes as "\'47": a letter right after the number is
// no delimiter, and a reader (unrtf) took it and the rest of the word for the control word,
// dropping the text that followed up to the next blank.
std::wstring UnicodeEscape(wchar_t unit) {
    const int code = unit > 32767 ? int(unit) - 65536 : int(unit);
    return L"\\u" + std::to_wstring(code) + L"\\'47";
}

std::wstring HexByte(int value, bool upper) {
    const wchar_t* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    return {digits[(value >> 4) & 15], digits[value & 15]};
}

// The first number in `text` after `key`, or -1.
int NumberAfter(const std::wstring& text, const std::wstring& key) {
    const size_t at = text.find(key);
    if (at == std::wstring::npos) return -1;
    size_t i = at + key.size();
    int value = 0;
    bool any = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - L'0');
        any = true;
    }
    return any ? value : -1;
}

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The last control word of `text`, if the text ends in one: a following text needs a blank.
bool EndsInControlWord(const std::wstring& text) {
    size_t i = text.size();
    while (i > 0 && (IsAsciiLetter(text[i - 1]) || IsDigit(text[i - 1]) || text[i - 1] == L'-')) --i;
    return i > 0 && i < text.size() && text[i - 1] == L'\\' && IsAsciiLetter(text[i]);
}

}  // namespace

std::wstring EscapeText(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size() + 8);
    for (wchar_t c : text) {
        switch (c) {
        case L'\\': out += L"\\\\"; break;
        case L'{': out += L"\\{"; break;
        case L'}': out += L"\\}"; break;
        case L'\r': out += L"\\par "; break;
        case L'\n': break;
        default:
            // Other control characters as hex escapes: a raw NUL cut the document short for
            // every reader of the zero-ended clipboard block, and unrtf lost the rest of the line.
            if ((c < 0x20 && c != L'\t') || c == 0x7F) out += L"\\'" + HexByte(c, false);
            else if (c < 0x80) out += c;
            // U+00A0..U+00FF are the same bytes in code page 1252; U+0080..U+009F are not.
            else if (c >= 0xA0 && c <= 0xFF) out += L"\\'" + HexByte(c, false);
            else out += UnicodeEscape(c);
        }
    }
    return out;
}

// --- fonts -----------------------------------------------------------------------

void TFontItem::Assign(const TPersistent* source) {
    if (const auto* item = dynamic_cast<const TFontItem*>(source)) {
        FFaceName = item->FFaceName;
        return;
    }
    TCollectionItem::Assign(source);
}

std::wstring TFontItem::Code() const { return L"\\f" + std::to_wstring(Index()); }

std::wstring TFontItem::TableText() const { return L"{" + Code() + L"\\fnil " + FFaceName + L";}"; }

int TFontCollection::IndexOf(const std::wstring& faceName) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(GetItem(i)->FaceName(), faceName)) return i;
    return -1;
}

std::wstring TFontTable::AddFont(const std::wstring& faceName) {
    const int index = FFonts.IndexOf(faceName);
    if (index >= 0) return FFonts.GetItem(index)->Code();
    TFontItem* item = FFonts.Add();
    item->SetFaceName(faceName);
    return item->Code();
}

std::wstring TFontTable::AddFont(const TFont& font) { return AddFont(font.Name()); }

std::wstring TFontTable::GetText() const {
    if (FFonts.Count() == 0) return {};
    std::wstring text = L"{\\fonttbl";
    for (int i = 0; i < FFonts.Count(); ++i) text += FFonts.GetItem(i)->TableText();
    return text + L"}";
}

void TFontTable::LoadFonts(const std::wstring& rtf) {
    const size_t table = rtf.find(L"{\\fonttbl");
    if (table == std::wstring::npos) return;
    size_t start = table + 9;
    while (start < rtf.size() && rtf[start] == L' ') ++start;
    if (start >= rtf.size() || rtf[start] != L'{') return;
    const size_t end = rtf.find(L";}}", start);
    if (end == std::wstring::npos) return;
    const std::wstring entries = rtf.substr(start, end + 2 - start);
    size_t from = 0;
    for (size_t close = entries.find(L";}"); close != std::wstring::npos; close = entries.find(L";}", from)) {
        const std::wstring entry = entries.substr(from, close - from);
        from = close + 2;
        const size_t lastWord = entry.rfind(L'\\');
        const size_t blank = entry.find(L' ', lastWord == std::wstring::npos ? 0 : lastWord);
        if (blank == std::wstring::npos) continue;
        TFontItem* item = FFonts.Add();
        item->SetFaceName(entry.substr(blank + 1));
    }
}

// --- colours ---------------------------------------------------------------------

int TColorTable::AddColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    for (size_t i = 0; i < FColors.size(); ++i)
        if (FColors[i] == rgb) return int(i);
    FColors.push_back(rgb);
    return int(FColors.size()) - 1;
}

std::wstring TColorTable::GetText() const {
    if (FColors.empty()) return {};
    std::wstring text = L"{\\colortbl ";
    for (TColor c : FColors)
        text += L"\\red" + std::to_wstring(ColorRed(c)) + L"\\green" + std::to_wstring(ColorGreen(c)) +
                L"\\blue" + std::to_wstring(ColorBlue(c)) + L";";
    return text + L"}";
}

void TColorTable::LoadColors(const std::wstring& rtf) {
    const size_t table = rtf.find(L"{\\colortbl");
    if (table == std::wstring::npos) return;
    const size_t start = table + 10;
    const size_t end = rtf.find(L'}', start);
    std::wstring entries = rtf.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    size_t from = entries.find_first_not_of(L' ');
    if (from == std::wstring::npos) return;
    if (entries[from] == L';') {
        FColors.push_back(0);   // the "auto" entry of other writers reads as black
        ++from;
    }
    for (size_t semi = entries.find(L';', from); semi != std::wstring::npos; semi = entries.find(L';', from)) {
        const std::wstring entry = entries.substr(from, semi - from);
        from = semi + 1;
        FColors.push_back(RGBToColor(std::max(0, NumberAfter(entry, L"\\red")),
                                     std::max(0, NumberAfter(entry, L"\\green")),
                                     std::max(0, NumberAfter(entry, L"\\blue"))));
    }
}

// --- engine ----------------------------------------------------------------------

TRTFEngine::TRTFEngine() = default;
TRTFEngine::~TRTFEngine() = default;

void TRTFEngine::Append(const std::wstring& piece, TPiece kind) {
    if (kind == TPiece::Text) {
        std::wstring escaped = EscapeText(piece);
        if (FPrevControl) FBody += L' ';
        FBody += escaped;
    } else {
        if (kind == TPiece::Alignment && FNewLine) FBody += L"\\pard";
        FBody += piece;
    }
    FPrevControl = !(kind == TPiece::Text || kind == TPiece::NextBullet);
    if (kind != TPiece::Line) FNewLine = false;
}

void TRTFEngine::AddText(const std::wstring& text) { Append(text, TPiece::Text); }

void TRTFEngine::AddNewLine() {
    if (FInBullet) {
        NextBullet();
        return;
    }
    Append(L"\\par", TPiece::Line);
    FNewLine = true;
}

void TRTFEngine::AddTab() { Append(L"\\tab", TPiece::Control); }
void TRTFEngine::AddPageBreak() { Append(L"\\par\\page ", TPiece::Control); }

void TRTFEngine::AddBold(bool value) {
    Append(value ? L"\\b" : L"\\b0", TPiece::Control);
    FBold = value;
}

void TRTFEngine::AddItalic(bool value) {
    Append(value ? L"\\i" : L"\\i0", TPiece::Control);
    FItalic = value;
}

void TRTFEngine::AddUnderLine(bool value) {
    Append(value ? L"\\ul" : L"\\ulnone", TPiece::Control);
    FUnderLine = value;
}

void TRTFEngine::AddStrikeOut(bool value) {
    Append(value ? L"\\strike" : L"\\strike0", TPiece::Control);
    FStrikeOut = value;
}

void TRTFEngine::AddFontSize(int value) {
    Append(L"\\fs" + std::to_wstring(value), TPiece::Control);
    FFonSize = value;
}

void TRTFEngine::AddFont(const TFont& font) { Append(FHeader.FontTable.AddFont(font), TPiece::Control); }

void TRTFEngine::AddFontName(const std::wstring& fontName) {
    Append(FHeader.FontTable.AddFont(fontName), TPiece::Control);
}

void TRTFEngine::AddForeColor(TColor color) {
    Append(L"\\cf" + std::to_wstring(FHeader.ColorTable.AddColor(color)), TPiece::Control);
    FForeColor = color;
}

void TRTFEngine::AddHighLightColor(TColor color) {
    if (color == clNone) Append(L"\\highlight0", TPiece::Control);
    else Append(L"\\highlight" + std::to_wstring(FHeader.ColorTable.AddColor(color)), TPiece::Control);
    FHighLightColor = color;
}

void TRTFEngine::AddHAlignment(int align) {
    static const wchar_t* const words[] = {L"\\ql", L"\\qr", L"\\qc"};
    if (align >= 0 && align <= 2) Append(words[align], TPiece::Alignment);
    FHAlignment = align;
}

void TRTFEngine::AddParagraph(int leftIndent, int rightIndent) {
    (void)rightIndent;   // the paragraphs this writer makes never need a right indent
    Append(L"\\li" + std::to_wstring(leftIndent), TPiece::Control);
}

void TRTFEngine::AddSuperScript() { Append(L"\\super\\up4", TPiece::Control); }
void TRTFEngine::AddSubScript() { Append(L"\\sub\\dn4", TPiece::Control); }
void TRTFEngine::AddNormalScript() { Append(L"\\up0\\nosupersub", TPiece::Control); }

// --- tables ----------------------------------------------------------------------

std::wstring TRTFEngine::RowAlignment(int align) const {
    switch (align) {
    case raLeft: return L"\\trql";
    case raRight: return L"\\trqr";
    case raCenter: return L"\\trqc";
    default: return {};
    }
}

void TRTFEngine::StartTable(int align, bool withBorders) {
    FInTable = true;
    FTableWidth = 0;
    FColumns.clear();
    FTableAlign = align;
    FBorders = withBorders;
    std::wstring piece = L"\\trowd\\trgaph108\\trleft-108" + RowAlignment(align);
    if (withBorders) piece += std::wstring(kBorderGroup) + L" ";
    Append(piece, TPiece::Control);
}

void TRTFEngine::AddColumn(int colWidth) {
    FTableWidth += colWidth;
    FColumns.push_back({clWhite, FTableWidth});
    Append(L"\\cellx" + std::to_wstring(FTableWidth), TPiece::Control);
}

void TRTFEngine::StartRow() {
    FInRow = true;
    FCurrentColumn = 0;
    for (TColumn& column : FColumns) column.Color = clWhite;
    Append(L"\\pard\\intbl ", TPiece::Control);
}

void TRTFEngine::NextCell() {
    ++FCurrentColumn;
    Append(L"\\cell ", TPiece::Control);
}

void TRTFEngine::AddCellColor(TColor color) {
    if (FInRow && FCurrentColumn >= 0 && FCurrentColumn < int(FColumns.size()))
        FColumns[size_t(FCurrentColumn)].Color = color;
}

void TRTFEngine::EndRow() {
    if (!FInRow) return;
    const int count = int(FColumns.size());
    std::wstring piece;
    if (FCurrentColumn <= count - 1)
        for (int i = FCurrentColumn; i < count; ++i) piece += L" \\cell";
    piece += L"\\pard \\intbl {\\rtlch \\af0 \\ltrch \\trowd \\ltrrow \\ts15\\trgaph108\\trleft-108";
    piece += RowAlignment(FTableAlign);
    if (FBorders) piece += kBorderGroup;
    for (const TColumn& column : FColumns) {
        if (column.Color != clWhite) {
            const std::wstring n = std::to_wstring(FHeader.ColorTable.AddColor(column.Color));
            piece += L"\\clcfpat" + n + L"\\clshdng10000\\clcfpatraw" + n + L"\\clshdngraw10000 ";
        }
        piece += L" \\cellx" + std::to_wstring(column.Right);
        if (FBorders) piece += kBorderGroup;
    }
    piece += L"\\row }";
    Append(piece, TPiece::Control);
    FInRow = false;
    FCurrentColumn = -1;
}

void TRTFEngine::AddRow() {
    EndRow();
    StartRow();
}

void TRTFEngine::EndTable() {
    if (!FInTable) return;
    Append(L"\\pard\\par", TPiece::Control);
    FInTable = false;
}

void TRTFEngine::ReDefColWidth() {
    if (FInTable) StartTable(FTableAlign, FBorders);
}

// --- bullet lists ----------------------------------------------------------------

void TRTFEngine::StartBullet(const std::wstring& fontName, int charNo) {
    if (FInBullet || fontName.empty()) return;
    const std::wstring code = FHeader.FontTable.AddFont(fontName);
    const std::wstring index = std::to_wstring(FHeader.FontTable.IndexOf(fontName));
    const std::wstring ch = std::to_wstring(charNo);
    Append(L"\\pard{\\pntext" + code + L"\\'B" + ch + L"\\tab}{\\*\\pn\\pnlvlblt\\pnf" + index +
               L"\\pnindent0{\\pntxtb\\'B" + ch + L"}}\\ltrpar\\fi-720\\li720",
           TPiece::Control);
    FInBullet = true;
    FBulletFont = code;
    FBulletChar = charNo;
}

void TRTFEngine::NextBullet() {
    if (!FInBullet) return;
    Append(L"\\par {\\pntext" + FBulletFont + L"\\'B" + std::to_wstring(FBulletChar) + L"\\tab}",
           TPiece::NextBullet);
}

void TRTFEngine::EndBullet() {
    if (!FInBullet) return;
    Append(L"\\par\\pard\\ltrpar", TPiece::Control);
    FInBullet = false;
}

// --- links and pictures ----------------------------------------------------------

void TRTFEngine::AddHyperLink(const std::wstring& link, const std::wstring& text, const TFont& font) {
    FHeader.FontTable.AddFont(font);
    const std::wstring f = std::to_wstring(FHeader.FontTable.IndexOf(font.Name()));
    const std::wstring k = std::to_wstring(FHeader.ColorTable.AddColor(font.Color()));
    const std::wstring s = std::to_wstring(font.Size() * 2);
    // The address sits inside a quoted field argument: a quote in it would end the argument.
    std::wstring address = EscapeText(link);
    ReplaceAll(address, L"\"", L"%22");
    FBody += L"{\\field{\\*\\fldinst {\\rtlch \\af" + f + L"\\afs" + s + L"\\ltrch \\f" + f + L"\\fs" + s +
             L"  HYPERLINK \"" + address + L"\" }}{\\fldrslt {\\rtlch \\af" + f + L"\\afs" + s + L" \\ltrch \\f" +
             f + L"\\fs" + s + L"\\ul\\cf" + k + L" " + EscapeText(text) + L"}}}";
}

std::wstring TRTFEngine::AddPicture(TGraphic* picture) {
    if (!picture || picture->Empty()) return {};
    int width = picture->Width();
    int height = picture->Height();
    const bool fits = height <= 150 && width < 151;
    if (!fits) {
        width = std::min(width, 150);
        height = std::min(height, 150);
    }
    TBitmap bitmap(width, height, pf24bit);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(TRect{0, 0, width, height});
    if (fits) picture->Draw(bitmap.Canvas(), TRect{0, 0, picture->Width(), picture->Height()});
    else picture->Draw(bitmap.Canvas(), TRect{0, 0, width, height});

    TMemoryStream bmp;
    bitmap.SaveToStream(&bmp);
    const unsigned char* bytes = bmp.Memory();
    const int size = int(bmp.Size());
    if (size < 14) return {};
    const std::uint32_t fileSize = std::uint32_t(bytes[2]) | (std::uint32_t(bytes[3]) << 8) |
                                   (std::uint32_t(bytes[4]) << 16) | (std::uint32_t(bytes[5]) << 24);
    const std::uint32_t words = fileSize / 2 + 7;
    auto le16 = [](std::uint32_t v) { return HexByte(int(v & 0xFF), true) + HexByte(int((v >> 8) & 0xFF), true); };
    auto le32 = [&](std::uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); };
    const std::uint32_t h = std::uint32_t(height), w = std::uint32_t(width);

    std::wstring text = L"{\\sb0\\li0\\sl0\\slmult0 {\\pict\\wmetafile8\\picw" +
                        std::to_wstring(std::lround(width * 25.3)) + L"\\pich" +
                        std::to_wstring(std::lround(height * 25.3)) + L"\\picbmp\\picbpp4\r\n";
    text += L"010009000003" + le32(words + 36) + L"0000" + le32(words) +
            L"0000050000000b0200000000050000000c02" + le16(h) + le16(w) +
            L"05000000090200000000050000000102ffffff000400000007010300" + le32(words) + L"430f2000cc000000" +
            le16(h) + le16(w) + L"00000000" + le16(h) + le16(w) + L"00000000\r\n";
    for (int i = 14; i < size; i += 64) {
        for (int j = i; j < std::min(size, i + 64); ++j) text += HexByte(bytes[j], false);
        text += L"\r\n";
    }
    text += L"030000000000}}\r\n";
    FBody += text;
    FPrevControl = false;
    FNewLine = false;
    return text;
}

// --- HTML ------------------------------------------------------------------------

namespace {

TColor HtmlColorName(std::wstring name) {
    for (wchar_t& c : name) c = wchar_t(std::towlower(c));
    static const struct { const wchar_t* Name; TColor Color; } named[] = {
        {L"clred", clRed},         {L"clblack", 0},           {L"clblue", clBlue},
        {L"clgreen", 0x008000},    {L"claqua", 0xFFFF00},     {L"clyellow", 0x00FFFF},
        {L"clfuchsia", 0xFF00FF},  {L"clwhite", clWhite},     {L"cllime", 0x00FF00},
        {L"clsilver", 0xC0C0C0},   {L"clgray", 0x808080},     {L"clolive", 0x008080},
        {L"clnavy", 0x800000},     {L"clpurple", 0x800080},   {L"clteal", 0x808000},
        {L"clmaroon", 0x000080},
    };
    for (const auto& n : named)
        if (name == n.Name) return n.Color;
    static const wchar_t* const system[] = {
        L"clbackground", L"clactivecaption", L"clinactivecaption", L"clmenu", L"clwindow",
        L"clwindowframe", L"clmenutext", L"clwindowtext", L"clcaptiontext", L"clactiveborder",
        L"clinactiveborder", L"clappworkspace", L"clhighlight", L"clhighlighttext", L"clbtnface",
        L"clbtnshadow", L"clgraytext", L"clbtntext", L"clinactivecaptiontext", L"clbtnhighlight",
        L"cl3ddkshadow", L"cl3dlight", L"clinfotext", L"clinfobk",
    };
    for (int i = 0; i < int(std::size(system)); ++i)
        if (name == system[i]) return clSystemColor | (i + 1);
    return 0;
}

// The value of `attribute` in an upper-cased tag: quoted, or up to a blank or ">".
std::wstring AttributeValue(const std::wstring& tag, const std::wstring& upperTag, const std::wstring& attribute) {
    const size_t at = upperTag.find(attribute);
    if (at == std::wstring::npos) return {};
    size_t i = upperTag.find(L'=', at + attribute.size());
    if (i == std::wstring::npos) return {};
    ++i;
    while (i < tag.size() && tag[i] == L' ') ++i;
    if (i < tag.size() && (tag[i] == L'"' || tag[i] == L'\'')) {
        const size_t close = tag.find(tag[i], i + 1);
        return tag.substr(i + 1, close == std::wstring::npos ? std::wstring::npos : close - i - 1);
    }
    size_t end = i;
    while (end < tag.size() && tag[end] != L' ' && tag[end] != L'>') ++end;
    return tag.substr(i, end - i);
}

int HexValue(const std::wstring& text, size_t at) {
    int value = 0;
    for (size_t i = at; i < at + 2 && i < text.size(); ++i) {
        const wchar_t c = text[i];
        value = value * 16 + (IsDigit(c) ? c - L'0' : IsHexDigit(c) ? (std::towupper(c) - L'A' + 10) : 0);
    }
    return value;
}

}  // namespace

void TRTFEngine::AddHTML(const std::wstring& html) {
    std::wstring s = html;
    if (s.find(L'&') != std::wstring::npos) {
        static const std::pair<const wchar_t*, const wchar_t*> entities[] = {
            {L"&amp;", L"&"},       {L"&quot;", L"\""},      {L"&sect;", L"\u00A7"}, {L"&permil;", L"\u2030"},
            {L"&reg;", L"\u00AE"},  {L"&copy;", L"\u00A9"},  {L"&para;", L"\u00B6"}, {L"&trade;", L"\u2122"},
            {L"&euro;", L"\u20AC"}, {L"&pound;", L"\u00A3"}, {L"&dollar;", L"$"},
        };
        for (bool changed = true; changed;) {
            changed = false;
            for (const auto& [from, to] : entities) {
                const size_t at = s.find(from);
                if (at == std::wstring::npos) continue;
                s.replace(at, std::wcslen(from), to);
                changed = true;
            }
        }
    }
    for (size_t at = s.find(L"<#"); at != std::wstring::npos; at = s.find(L"<#", at)) {
        s.erase(at, 1);
        const size_t close = s.find(L'>', at);
        if (close != std::wstring::npos) s.erase(close, 1);
    }
    ReplaceAll(s, L"\r", L"<BR>");
    ReplaceAll(s, L"\n", L"");

    TFont baseFont;
    TFont linkFont;
    linkFont.Assign(&baseFont);
    linkFont.SetColor(clBlue);
    const int baseSize = baseFont.Size() * 2;
    bool hidden = false, inLink = false, afterUL = false;
    std::wstring linkAddress, linkText;

    auto restoreBase = [&] {
        AddFont(baseFont);
        AddForeColor(baseFont.Color());
        if (FFonSize != baseSize) AddFontSize(baseSize);
    };

    while (!s.empty()) {
        bool passEnds = false;
        while (!s.empty() && !passEnds) {
            const size_t lt = s.find(L'<');
            std::wstring run = s.substr(0, lt);
            s.erase(0, lt == std::wstring::npos ? s.size() : lt);
            if (!run.empty()) {
                ReplaceAll(run, L"&nbsp;", L" ");
                ReplaceAll(run, L"&lt;", L"<");
                ReplaceAll(run, L"&gt;", L">");
                if (hidden) {
                } else if (inLink) {
                    linkText = run;
                } else {
                    AddText(run);
                }
            }
            if (s.empty()) break;
            if (s.size() <= 2) {
                s.clear();
                break;
            }
            const size_t gt = s.find(L'>');
            const std::wstring tag = s.substr(0, gt == std::wstring::npos ? std::wstring::npos : gt + 1);
            const std::wstring upper = UpperCase(tag);
            s.erase(0, tag.size());
            const bool closing = upper.size() > 1 && upper[1] == L'/';
            const std::wstring name = upper.substr(closing ? 2 : 1);
            auto startsWith = [&](const wchar_t* prefix) { return name.rfind(prefix, 0) == 0; };
            if (!closing) {
                if (startsWith(L"A") && !IsAsciiLetter(name.size() > 1 ? name[1] : L' ')
                    && upper.find(L"HREF") != std::wstring::npos) {
                    const size_t href = upper.find(L"HREF");
                    const size_t q1 = tag.find(L'"', href);
                    const size_t q2 = q1 == std::wstring::npos ? q1 : tag.find(L'"', q1 + 1);
                    linkAddress = q2 == std::wstring::npos ? std::wstring() : tag.substr(q1 + 1, q2 - q1 - 1);
                    linkText.clear();
                    inLink = true;
                } else if (startsWith(L"B>")) {
                    AddBold(true);
                } else if (startsWith(L"BR")) {
                    AddNewLine();
                    passEnds = true;
                } else if (startsWith(L"FONT")) {
                    const std::wstring face = AttributeValue(tag, upper, L"FACE");
                    if (!face.empty()) AddFontName(face);
                    const std::wstring color = AttributeValue(tag, upper, L" COLOR");
                    if (!color.empty()) {
                        if (color[0] == L'#')
                            AddForeColor(RGBToColor(HexValue(color, 1), HexValue(color, 3), HexValue(color, 5)));
                        else
                            AddForeColor(HtmlColorName(color));
                    }
                    const std::wstring size = AttributeValue(tag, upper, L"SIZE");
                    if (!size.empty()) {
                        const int n = StrToIntDef(size, 0);
                        AddFontSize(n >= 1 && n <= 5 ? 12 + 4 * n : n * 2);
                    }
                } else if (startsWith(L"HR")) {
                    passEnds = true;
                } else if (startsWith(L"I>")) {
                    AddItalic(true);
                } else if (startsWith(L"IMG")) {
                    const std::wstring src = AttributeValue(tag, upper, L"SRC");
                    if (FImages && UpperCase(src).rfind(L"IDX:", 0) == 0) {
                        const int n = StrToIntDef(src.substr(4), -1);
                        if (n >= 0 && n < FImages->Count()) {
                            TBitmap image(FImages->Width(), FImages->Height(), pf24bit);
                            image.Canvas()->Brush()->SetColor(clWhite);
                            image.Canvas()->FillRect(TRect{0, 0, FImages->Width(), FImages->Height()});
                            FImages->Draw(image.Canvas(), 0, 0, n);
                            AddPicture(&image);
                        }
                    }
                } else if (startsWith(L"LI")) {
                    if (!afterUL) AddNewLine();
                    afterUL = false;
                } else if (startsWith(L"S>")) {
                    AddStrikeOut(true);
                } else if (upper == L"<STYLE>" || startsWith(L"Z")) {
                    hidden = true;
                } else if (startsWith(L"U>")) {
                    AddUnderLine(true);
                } else if (startsWith(L"UL")) {
                    StartBullet(L"Symbol", 7);
                    afterUL = true;
                    passEnds = true;
                }
            } else {
                if (startsWith(L"A") && !IsAsciiLetter(name.size() > 1 ? name[1] : L' ')) {
                    if (inLink) {
                        AddHyperLink(linkAddress, linkText, linkFont);
                        restoreBase();
                        inLink = false;
                    }
                } else if (startsWith(L"B>")) {
                    AddBold(false);
                } else if (startsWith(L"B")) {
                    if (FForeColor != 0) AddForeColor(baseFont.Color());
                    else AddBold(false);
                } else if (startsWith(L"FONT")) {
                    restoreBase();
                } else if (startsWith(L"I")) {
                    AddItalic(false);
                } else if (startsWith(L"L")) {
                    AddNewLine();
                    passEnds = true;
                } else if (startsWith(L"P")) {
                    passEnds = true;
                } else if (startsWith(L"ST") && hidden) {
                    hidden = false;
                } else if (startsWith(L"Z")) {
                    hidden = false;
                } else if (startsWith(L"S") && !startsWith(L"SU") && !startsWith(L"SH")) {
                    AddStrikeOut(false);
                } else if (startsWith(L"U>")) {
                    AddUnderLine(false);
                } else if (startsWith(L"UL")) {
                    if (FInBullet) EndBullet();
                }
            }
        }
    }
}

// --- merging RTF -----------------------------------------------------------------

void TRTFEngine::AddRTF(const std::wstring& rtf) {
    TFontTable fonts;
    TColorTable colors;
    fonts.LoadFonts(rtf);
    colors.LoadColors(rtf);

    std::wstring body = rtf;
    const size_t viewKind = rtf.find(L"\\viewkind");
    if (rtf.find(L"{\\rtf1") != std::wstring::npos && viewKind != std::wstring::npos) {
        size_t start = viewKind + 9;
        if (start < rtf.size() && IsDigit(rtf[start])) ++start;
        if (rtf.compare(start, 4, L"\\uc1") == 0) start += 4;
        const size_t last = rtf.rfind(L'}');
        body = last == std::wstring::npos || last < start ? rtf.substr(start) : rtf.substr(start, last - start);
    }

    static const wchar_t* const kept[] = {
        L"pard", L"ql", L"qc", L"qr", L"par", L"tab", L"b", L"b0", L"i", L"i0", L"ul", L"ulnone",
        L"highlight0", L"strike", L"strike0", L"ltrpar", L"pntext", L"pnlvlblt", L"pnindent0",
        L"pntxtb", L"*", L"pn", L"up0", L"dn4", L"up4", L"page", L"li720", L"fi-720",
    };
    std::wstring out;
    for (size_t i = 0; i < body.size();) {
        const wchar_t c = body[i];
        if (c != L'\\') {
            if (c < 0x80) out += c;
            else out += EscapeText(std::wstring(1, c));   // keeps the document 7-bit
            ++i;
            continue;
        }
        const wchar_t next = i + 1 < body.size() ? body[i + 1] : L'\0';
        // Control symbols: escaped specials and "\*" stay; "\'hh" keeps its two digits.
        if (next == L'\\' || next == L'{' || next == L'}' || next == L'*' || next == L'~') {
            out.append(body, i, 2);
            i += 2;
            continue;
        }
        if (next == L'\'') {
            size_t end = i + 2;
            while (end < body.size() && end < i + 4 && IsHexDigit(body[end])) ++end;
            out.append(body, i, end - i);
            i = end;
            continue;
        }
        size_t end = i + 1;
        while (end < body.size() && IsAsciiLetter(body[end])) ++end;
        const std::wstring letters = body.substr(i + 1, end - i - 1);
        size_t numberEnd = end;
        if (numberEnd < body.size() && body[numberEnd] == L'-') ++numberEnd;
        while (numberEnd < body.size() && IsDigit(body[numberEnd])) ++numberEnd;
        const std::wstring word = body.substr(i + 1, numberEnd - i - 1);
        i = numberEnd;
        if (letters.empty()) continue;
        const bool hasNumber = numberEnd > end && IsDigit(body[numberEnd - 1]);
        const int number = hasNumber ? StrToIntDef(body.substr(end, numberEnd - end), 0) : -1;
        if (word == L"pard") {
            if (!FInTable) out += L"\\pard";
            continue;
        }
        if (letters == L"u" && hasNumber) {
            out += L"\\" + word;
            continue;
        }
        if (std::find_if(std::begin(kept), std::end(kept), [&](const wchar_t* k) { return word == k; }) !=
            std::end(kept)) {
            out += L"\\" + word;
            continue;
        }
        if (!hasNumber) continue;
        if ((letters == L"cf" || letters == L"highlight") && number >= 0 && number < colors.Count()) {
            out += L"\\" + letters + std::to_wstring(FHeader.ColorTable.AddColor(colors.Color(number)));
        } else if (letters == L"f" && number >= 0 && number < fonts.Count()) {
            out += FHeader.FontTable.AddFont(fonts.FaceName(number));
        } else if (letters == L"pnf" && number >= 0 && number < fonts.Count()) {
            out += FHeader.FontTable.AddFont(fonts.FaceName(number));
        } else if (letters == L"fs" || letters == L"li" || letters == L"fi") {
            out += L"\\" + word;
        }
    }
    FBody += out;
    FPrevControl = EndsInControlWord(FBody);
    FNewLine = false;
}

// --- output ----------------------------------------------------------------------

std::wstring TRTFEngine::GetText() const {
    return L"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033" + FHeader.FontTable.GetText() +
           FHeader.ColorTable.GetText() + L"\\viewkind" + std::to_wstring(FHeader.ViewKind) + L"\\uc1" + FBody +
           L"\\par}";
}

void TRTFEngine::GetBuffer(std::wstring& buffer, std::wstring& fontTable, std::wstring& colorTable) const {
    buffer = FBody;
    fontTable = FHeader.FontTable.GetText();
    colorTable = FHeader.ColorTable.GetText();
}

namespace {

void WriteLowBytes(TStream* stream, const std::wstring& text) {
    std::string bytes(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) bytes[i] = char(text[i] & 0xFF);
    stream->WriteBuffer(bytes.data(), int(bytes.size()));
}

}  // namespace

void TRTFEngine::SaveToStream(TStream* stream) const {
    if (!stream) return;
    WriteLowBytes(stream, GetText());
}

void TRTFEngine::SaveToFile(const std::wstring& fileName) const {
    try {
        SaveFileSafely(fileName, [&](TStream* stream) {
            SaveToStream(stream);
            WriteLowBytes(stream, L"\r\n");
        });
    } catch (const EFileStreamError& e) {
        throw EFCreateError(L"Cannot Create " + fileName, e.ErrorCode());
    }
}

}  // namespace RTFEngine
