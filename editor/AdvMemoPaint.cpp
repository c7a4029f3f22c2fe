// Painting the memo: border, gutter, and every visible line through one line renderer that
// takes the tokenizer's runs and places each character on the cell grid.
#include "editor/AdvMemo.h"

#include "classlib/GdiScopes.h"
#include "classlib/Pictures.h"
#include "editor/AdvMemoSearchUtils.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

namespace AdvMemo {

using ClassLib::TColor;
using ClassLib::ColorToRGB;
using ClassLib::TOwnedBrush;
using ClassLib::TOwnedPen;
using ClassLib::TSelection;

// What the tokenizer asks of the memo.
class TMemoTokenizerLink final : public ITokenizerHost, public ILineSource {
public:
    explicit TMemoTokenizerLink(TAdvCustomMemo& memo) : FMemo(memo) {}
    bool IsWordDelimiter(wchar_t ch) override { return static_cast<const TAdvCustomMemo&>(FMemo).IsWordDelimiter(ch); }
    bool WordIsURL(const String& text) override { return FMemo.WordIsURL(text); }
    int LineCount() const override { return FMemo.Lines()->Count(); }
    String LineText(int index) const override { return FMemo.Lines()->Get(index); }
private:
    TAdvCustomMemo& FMemo;
};

namespace {

void FillBox(HDC dc, int left, int top, int right, int bottom, TColor colour) {
    if (right <= left || bottom <= top) return;
    // A solid fill through the background colour: no brush to make and free.
    const COLORREF old = ::SetBkColor(dc, ColorToRGB(colour));
    const RECT box{left, top, right, bottom};
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

void Line(HDC dc, int x1, int y1, int x2, int y2, TColor colour, int width = 1) {
    TOwnedPen pen(::CreatePen(PS_SOLID, width, ColorToRGB(colour)));
    if (!pen) return;
    TSelection selected(dc, pen.get());
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

void Shape(HDC dc, TColor fill, TColor outline, auto draw) {
    TOwnedBrush brush(::CreateSolidBrush(ColorToRGB(fill)));
    TOwnedPen pen(::CreatePen(PS_SOLID, 1, ColorToRGB(outline)));
    if (!brush || !pen) return;
    TSelection brushSelected(dc, brush.get());
    TSelection penSelected(dc, pen.get());
    draw();
}

// The memo font in each combination of styles a run may ask for, made once per paint.
class TFontSet {
public:
    TFontSet(const std::wstring& name, int height) : FName(name), FHeight(height) {}
    HFONT Get(ClassLib::TFontStyles style) {
        const int key = (style.Contains(ClassLib::fsBold) ? 1 : 0) | (style.Contains(ClassLib::fsItalic) ? 2 : 0) |
                        (style.Contains(ClassLib::fsUnderline) ? 4 : 0) | (style.Contains(ClassLib::fsStrikeOut) ? 8 : 0);
        if (!FFonts[key]) {
            FFonts[key].reset(::CreateFontW(FHeight, 0, 0, 0, (key & 1) ? FW_BOLD : FW_NORMAL, (key & 2) != 0, (key & 4) != 0,
                                            (key & 8) != 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                            DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, FName.c_str()));
        }
        return FFonts[key].get();
    }
private:
    std::wstring FName;
    int FHeight;
    std::array<ClassLib::TOwnedFont, 16> FFonts;
};

using TColours = TRunLook;

}  // namespace

// Draws the runs of one line on the grid: column c sits at TextLeft + (c - LeftCol) * cell width.
class TLineRenderer final : public ITokenSink {
public:
    TLineRenderer(TAdvCustomMemo& memo, HDC dc, TFontSet& fonts) : FMemo(memo), FDC(dc), FFonts(fonts) {}

    void BeginLine(int line, int top, TColor lineBack, int selFrom, int selTo, bool breakpoint, bool active) {
        FLine = line;
        FTop = top;
        FColumn = 0;
        FLineBack = lineBack;
        FSelFrom = selFrom;
        FSelTo = selTo;
        FBreakpoint = breakpoint;
        FActive = active;
    }
    int Column() const { return FColumn; }

    void DrawRun(const String& text, const TStyle& style) override {
        if (text.empty()) return;
        const TColours base = RunColours(style);
        const int start = FColumn;
        const int end = start + int(text.size());
        FColumn = end;
        // Pieces with one look each: the selection and the matched block words cut the run.
        std::vector<int> cuts{start, end};
        auto cut = [&](int c) { if (c > start && c < end) cuts.push_back(c); };
        cut(FSelFrom);
        cut(FSelTo);
        if (FMemo.FBlockShow) {
            if (FLine == FMemo.BSSelLine && FMemo.BSSelStart >= 0) { cut(FMemo.BSSelStart); cut(FMemo.BSSelStart + FMemo.BSSelLen); }
            if (FLine == FMemo.BESelLine && FMemo.BESelStart >= 0) { cut(FMemo.BESelStart); cut(FMemo.BESelStart + FMemo.BESelLen); }
        }
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
        for (size_t i = 0; i + 1 < cuts.size(); ++i) {
            const int from = cuts[i], to = cuts[i + 1];
            TColours look = base;
            if (from >= FSelFrom && from < FSelTo) {
                look.Text = FMemo.FSelColor;
                look.Back = FMemo.FSelBkColor;
                if (FBreakpoint && !FPrint) look.Text = FMemo.FBreakpointTextColor;
            } else if (FMemo.FBlockShow && InBlockMatch(from)) {
                look.Back = FMemo.FBlockColor;
            }
            DrawPiece(text.substr(size_t(from - start), size_t(to - from)), from, look);
        }
    }

    // The selected columns [selFrom, selTo) of a line; the text grows to show them (an empty
    // selected line shows one cell, a block pads short lines).
    void SelectedColumns(int line, std::wstring& text, int& selFrom, int& selTo) const {
        TAdvCustomMemo& m = FMemo;
        const bool showSelection = !m.FHideSelection || m.Focused();
        if (!showSelection || !m.HasSelection()) return;
        if (m.FSelectionMode == smBlock) {
            if (line >= m.FBlockSelection.Top && line <= m.FBlockSelection.Bottom) {
                selFrom = m.FBlockSelection.Left;
                selTo = m.FBlockSelection.Right;
                if (int(text.size()) < selTo) text.append(size_t(selTo) - text.size(), L' ');
            }
        } else {
            int sx, sy, ex, ey;
            m.OrderedSelection(sx, sy, ex, ey);
            if (line >= sy && line <= ey) {
                selFrom = line == sy ? sx : 0;
                selTo = line == ey ? ex : INT_MAX;
                if (text.find_first_not_of(L' ') == std::wstring::npos && selTo > selFrom) text = L" ";
            }
        }
    }

    // One line through the tokenizer into DrawRun, the search highlight cut out as its own runs.
    void Tokenize(const std::wstring& text, TStyle& state) {
        TAdvCustomMemo& m = FMemo;
        TMemoTokenizer& tokenizer = *m.FTokenizer;
        tokenizer.BeginLine(state, *this);
        if (m.FHighlightText.empty()) {
            tokenizer.TokenizeText(text, state);
        } else {
            std::wstring rest = text;
            wchar_t before = L' ';   // what stands in front of `rest` in the line
            for (;;) {
                int rawPos = 0, pos = 0;
                FindHighlightWord(m.FHighlightText, rest, m.FHighlightCaseSensitive, m.FHighlightWholeWord, rawPos, pos,
                                  before);
                if (rawPos == 0) {
                    tokenizer.TokenizeText(rest, state);
                    break;
                }
                const size_t matchEnd = size_t(rawPos - 1) + m.FHighlightText.size();
                if (pos == 0) {
                    // Not a whole word: ordinary text up to the end of that occurrence.
                    tokenizer.TokenizeText(rest.substr(0, matchEnd), state);
                } else {
                    tokenizer.TokenizeText(rest.substr(0, size_t(rawPos - 1)), state);
                    state.isHighlight = true;
                    tokenizer.EmitToken(rest.substr(size_t(rawPos - 1), m.FHighlightText.size()), state);
                    state.isHighlight = false;
                }
                before = rest[matchEnd - 1];
                rest.erase(0, matchEnd);
                if (rest.empty()) break;
            }
        }
        tokenizer.EndLine(state);
    }

    // Printer mode: runs go straight onto the page, column c at left + c * charWidth, in the
    // canvas's font; the active line and breakpoint colours stay off paper.
    void SetPrinterGrid(int left, int charWidth, int textHeight) {
        FPrint = true;
        FPrintLeft = left;
        FPrintCharWidth = charWidth;
        FPrintTextHeight = textHeight;
    }
    int PrintedRight() const { return FPrintLeft + FColumn * FPrintCharWidth; }

private:
    bool InBlockMatch(int column) const {
        auto inside = [&](int line, int startCol, int length) {
            return line == FLine && startCol >= 0 && column >= startCol && column < startCol + length;
        };
        return inside(FMemo.BSSelLine, FMemo.BSSelStart, FMemo.BSSelLen) || inside(FMemo.BESelLine, FMemo.BESelStart, FMemo.BESelLen);
    }

    TColours RunColours(const TStyle& style) const {
        TAdvCustomMemo& m = FMemo;
        TColours c = m.StyleLook(style);
        if (style.isHighlight) {
            TAdvCustomMemoStyler* styler = m.FUseStyler ? m.EffectiveStyler() : nullptr;
            if (styler) {
                const TCharStyle* s = styler->HighlightStyle();
                c = TColours{s->TextColor(), s->BkColor() == ClassLib::clNone ? m.FBkColor : s->BkColor(), s->Style()};
            } else {
                c = TColours{ClassLib::clBlack, ClassLib::clYellow, {}};
            }
        }
        if (FLineBack != ClassLib::clNone) c.Back = FLineBack;
        const TAdvActiveLineSettings& active = *m.FActiveLineSettings;
        if (FPrint) return c;
        if (FActive && active.ShowActiveLine()) {
            if (active.ActiveLineTextColor() != ClassLib::clNone) c.Text = active.ActiveLineTextColor();
            if (active.ActiveLineColor() != ClassLib::clNone) c.Back = active.ActiveLineColor();
        }
        if (FBreakpoint) {
            c.Text = m.FBreakpointTextColor;
            c.Back = m.FBreakpointColor;
        }
        return c;
    }

    void DrawPiece(const std::wstring& piece, int column, const TColours& look) {
        if (FPrint) {
            PrintPiece(piece, column, look);
            return;
        }
        const int cellW = FMemo.FCellSize.W;
        const int cellH = FMemo.FCellSize.H;
        if (cellW <= 0) return;
        const TMemoRect area = FMemo.TextArea();
        // Only the columns that can show are drawn: a long run costs what the window is wide.
        const int firstVisible = FMemo.FLeftCol;
        const int lastVisible = FMemo.FLeftCol + (area.Right - area.Left) / cellW + 1;
        const int from = std::max(column, firstVisible);
        const int to = std::min(column + int(piece.size()), lastVisible);
        if (from >= to) return;
        const int x = area.Left + (from - FMemo.FLeftCol) * cellW;
        const int right = x + (to - from) * cellW;
        FillBox(FDC, x, FTop, right, FTop + cellH, look.Back);
        FMemo.DrawRightMarginPiece(FDC, x, right, FTop);
        // A font whose bold glyphs are wider than the cell would smear into the next cell.
        const ClassLib::TFontStyles style = FMemo.FNoRealFixedWidth ? look.Style - ClassLib::fsBold : look.Style;
        TSelection font(FDC, FFonts.Get(style));
        ::SetTextColor(FDC, ColorToRGB(look.Text));
        FAdvances.assign(size_t(to - from), cellW);
        ::ExtTextOutW(FDC, x, FTop, 0, nullptr, piece.c_str() + (from - column), UINT(to - from), FAdvances.data());
    }


    void PrintPiece(const std::wstring& piece, int column, const TColours& look) {
        const int w = FPrintCharWidth;
        const int x = FPrintLeft + column * w;
        const int right = x + int(piece.size()) * w;
        FillBox(FDC, x, FTop, right, FTop + FPrintTextHeight, look.Back);
        FillBox(FDC, x, FTop + FPrintTextHeight, right, FTop + FPrintTextHeight + 2, FMemo.FBkColor);
        const ClassLib::TFontStyles style = FMemo.FNoRealFixedWidth ? look.Style - ClassLib::fsBold : look.Style;
        TSelection font(FDC, FFonts.Get(style));
        ::SetTextColor(FDC, ColorToRGB(look.Text));
        // In pieces: one call with a very long run may exceed what a device takes at once.
        constexpr size_t kPiece = 1000;
        for (size_t from = 0; from < piece.size(); from += kPiece) {
            const size_t count = std::min(kPiece, piece.size() - from);
            FAdvances.assign(count, w);
            ::ExtTextOutW(FDC, x + int(from) * w, FTop, 0, nullptr, piece.c_str() + from, UINT(count), FAdvances.data());
        }
    }

    TAdvCustomMemo& FMemo;
    HDC FDC;
    TFontSet& FFonts;
    int FLine = 0;
    int FTop = 0;
    int FColumn = 0;
    TColor FLineBack = ClassLib::clNone;
    int FSelFrom = 0, FSelTo = 0;
    bool FBreakpoint = false;
    bool FActive = false;
    std::vector<INT> FAdvances;
    bool FPrint = false;
    int FPrintLeft = 0, FPrintCharWidth = 0, FPrintTextHeight = 0;
};

// ---------------------------------------------------------------- tokenizer link

TMemoTokenizer& TAdvCustomMemo::Tokenizer() {
    if (!FTokenizer) {
        FTokenizer = std::make_unique<TMemoTokenizer>();
        FTokenizerLink = std::make_shared<TMemoTokenizerLink>(*this);
        FTokenizer->SetHost(FTokenizerLink.get());
    }
    TMemoTokenizer& t = *FTokenizer;
    // Each setter drops the cached line states: set only what changed.
    TAdvCustomMemoStyler* styler = EffectiveStyler();
    if (t.Styler() != styler) t.SetStyler(styler);
    if (t.UseStyler() != FUseStyler) t.SetUseStyler(FUseStyler);
    if (t.CaseSensitive() != FCaseSensitive) t.SetCaseSensitive(FCaseSensitive);
    if (t.UrlAware() != FUrlAware) t.SetUrlAware(FUrlAware);
    TAdvMemoStrings* lines = Lines();
    if (lines != FTokenizerLines) {
        t.SetLines(FTokenizerLink.get());
        FTokenizerLines = lines;
        lines->TakeFirstChanged();
    } else {
        const int first = lines->TakeFirstChanged();
        if (first != INT_MAX) t.LinesChanged(first);
    }
    return t;
}

// ---------------------------------------------------------------- paint

TRunLook TAdvCustomMemo::StyleLook(const TStyle& style) const {
    auto orBack = [&](TColor colour) { return colour == ClassLib::clNone ? FBkColor : colour; };
    TRunLook c{Font()->Color(), FBkColor, Font()->Style()};
    TAdvCustomMemoStyler* styler = FUseStyler ? EffectiveStyler() : nullptr;
    auto group = [&](int index) {
        if (!styler || index < 0 || index >= styler->AllStyles()->Count()) return;
        const TElementStyle* element = styler->AllStyles()->Items(index);
        c.Text = element->Font()->Color();
        c.Style = element->Font()->Style();
        c.Back = orBack(element->BGColor());
    };
    auto charStyle = [&](const TCharStyle* s) {
        c.Text = s->TextColor();
        c.Back = orBack(s->BkColor());
        c.Style = s->Style();
    };
    if (style.isComment <= 0 || style.isURL) {
        if (style.isURL) charStyle(FUrlStyle.get());
        else if (style.isBracket) group(style.index);
        else if (style.isnumber && styler) charStyle(styler->NumberStyle());
        else if (style.isdelimiter || style.iskeyWord) group(style.index);
    } else if (style.index == -1) {
        if (styler) charStyle(styler->CommentStyle());
    } else {
        group(style.index);
    }
    return c;
}


void TAdvCustomMemo::SetHighlight(const std::wstring& text, bool caseSensitive, bool wholeWord) {
    FHighlightText = text;
    FHighlightCaseSensitive = caseSensitive;
    FHighlightWholeWord = wholeWord;
    Invalidate();
}

TMemoRect TAdvCustomMemo::GetFoldGutterRect() const {
    if (!FCodeFoldingEnabled) return TMemoRect{};
    const TMemoRect area = TextArea();
    return TMemoRect{area.Left - NodeWidth(), area.Top, area.Left, area.Bottom};
}

// A collapsed node without a summary shows a box with three dots after its text.
void TAdvCustomMemo::DrawFoldEllipsis(HDC dc, int line, int x, int top) {
    if (!IsNode(line) || GetExpandNode(line)) return;
    int defIndex = -1;
    std::wstring summary;
    if (GetFoldSummary(line, defIndex, summary)) return;
    const TColor colour = FCodeFolding->LineColor();
    const int bottom = top + FCellSize.H;
    Shape(dc, FBkColor, colour, [&] { ::Rectangle(dc, x + 5, top, x + 30, bottom); });
    for (int dot : {9, 17, 25}) FillBox(dc, x + dot, bottom - 6, x + dot + 2, bottom - 4, colour);
}

// Tree lines, boxes and glyphs of the fold column for every shown row.
void TAdvCustomMemo::PaintFoldColumn(HDC dc) {
    if (!FCodeFoldingEnabled || FCodeFoldingNodeCount <= 0 || FCellSize.H <= 0) return;
    const TMemoRect column = GetFoldGutterRect();
    FillBox(dc, column.Left, column.Top, column.Right, column.Bottom, FBkColor);
    const int count = Lines()->Count();
    const TColor colour = FCodeFolding->LineColor();
    const int x = column.Left, mid = (FCellSize.H - 9) / 2;
    auto drawGlyph = [&](ClassLib::TBitmap* glyph, int top) {
        if (!glyph || glyph->Empty()) return false;
        HDC memDC = ::CreateCompatibleDC(dc);
        if (!memDC) return false;
        HGDIOBJ old = ::SelectObject(memDC, glyph->Handle());
        const int width = std::min(glyph->Width(), column.Right - x - 2);
        ::StretchBlt(dc, x + 2, top + mid, width, glyph->Height(), memDC, 0, 0, glyph->Width(), glyph->Height(), SRCCOPY);
        ::SelectObject(memDC, old);
        ::DeleteDC(memDC);
        return true;
    };
    int visIndex = LineIndexToVisIndex(FTopLine);
    for (int line = FTopLine, top = column.Top; line < count && top < column.Bottom; top += FCellSize.H) {
        const int bottom = top + FCellSize.H;
        if (const TLineProp* p = Lines()->GetLineProp(line)) {
            const bool node = p->HasChildren(), expanded = p->Expanded();
            if (p->HasParent()) {
                const bool lastCollapsed = node && !expanded && GetNodeEndLine(line) == count - 1;
                Line(dc, x + 6, top, x + 6, lastCollapsed ? top + FCellSize.H / 2 : bottom, colour);
                if (p->LastChild()) Line(dc, x + 6, bottom - 1, x + 11, bottom - 1, colour);
            }
            if (node) {
                if (expanded && !p->HasParent()) Line(dc, x + 6, top + mid + 9, x + 6, bottom, colour);
                if (!drawGlyph(expanded ? FCodeFolding->CollapsedGlyph() : FCodeFolding->ExpandGlyph(), top)) {
                    Shape(dc, FBkColor, colour, [&] { ::Rectangle(dc, x + 2, top + mid, x + 11, top + mid + 9); });
                    Line(dc, x + 4, top + mid + 4, x + 9, top + mid + 4, colour);
                    if (!expanded) Line(dc, x + 6, top + mid + 2, x + 6, top + mid + 7, colour);
                }
            }
        }
        line = VisIndexToLineIndex(++visIndex);
    }
}

void TAdvCustomMemo::DrawRightMarginPiece(HDC dc, int left, int right, int top) {
    if (FRightMargin <= 0 || !FShowRightMargin || FCellSize.W <= 0) return;
    const TMemoRect area = TextArea();
    const int x = area.Left + (FRightMargin - FLeftCol) * FCellSize.W;
    if (x < left || x >= right) return;
    FillBox(dc, x, top, x + 2, top + FCellSize.H, FRightMarginColor);
}

void TAdvCustomMemo::DrawLine(HDC dc, int line, TStyle& state) {
    // Reached through PaintTo only, which set up the renderer; kept for descendants that
    // draw one line on their own canvas.
    Tokenizer().Prepare();
    TFontSet fonts(FFontName, FFontHeight);
    TLineRenderer renderer(*this, dc, fonts);
    PaintLine(dc, renderer, line, LineRect(line).Top, state);
}

void TAdvCustomMemo::PaintLine(HDC dc, TLineRenderer& renderer, int line, int top, TStyle& state) {
    const TMemoRect area = TextArea();
    const int bottom = top + FCellSize.H;
    TColor lineBack = FBandColor != ClassLib::clNone && (line % 2) == 1 ? FBandColor : ClassLib::clNone;
    if (OnLineBkColor) OnLineBkColor(this, line, lineBack);
    if (line >= Lines()->Count()) {
        FillBox(dc, area.Left, top, area.Right, bottom, FBkColor);
        return;
    }
    std::wstring text = Lines()->Get(line);
    int selFrom = INT_MAX, selTo = INT_MAX;
    renderer.SelectedColumns(line, text, selFrom, selTo);
    const bool breakpoint = BreakPoint(line);
    const bool active = line == FActiveLine;
    renderer.BeginLine(line, top, lineBack, selFrom, selTo, breakpoint, active);
    renderer.Tokenize(text, state);

    // The rest of the row right of the text.
    const int textEnd = std::max(area.Left, area.Left + (renderer.Column() - FLeftCol) * FCellSize.W);
    TColor rest = FBkColor;
    if (breakpoint) rest = FBreakpointColor;
    else if (active && FActiveLineSettings->ShowActiveLine()) rest = FActiveLineSettings->ActiveLineColor();
    else if (lineBack != ClassLib::clNone) rest = lineBack;
    FillBox(dc, textEnd, top, area.Right, bottom, rest);
    DrawRightMarginPiece(dc, textEnd, area.Right, top);
    if (FCodeFoldingEnabled && FCodeFoldingNodeCount > 0) DrawFoldEllipsis(dc, line, textEnd, top);

    // Error marks: a red wave around two pixels above the row's bottom.
    if (const TLineProp* prop = Lines()->GetLineProp(line); prop && prop->FErrStart && prop->FErrLen) {
        for (int i = 0; i < prop->FErrStart->Count() && i < prop->FErrLen->Count(); ++i) {
            const int from = std::max(0, (*prop->FErrStart)[i] - FLeftCol);
            const int to = std::max(0, (*prop->FErrStart)[i] + (*prop->FErrLen)[i] - FLeftCol);
            if (to <= from) continue;
            DrawErrorWave(dc, RECT{area.Left + from * FCellSize.W, top, area.Left + to * FCellSize.W, bottom - 2});
        }
    }
    if (FBlockShow && FBlockLineColor != ClassLib::clNone) {
        auto underline = [&](int matchLine, int start, int length) {
            if (matchLine != line || start < 0) return;
            const int x = area.Left + (start - FLeftCol) * FCellSize.W;
            Line(dc, x, bottom - 2, x + length * FCellSize.W, bottom - 2, FBlockLineColor);
        };
        underline(BSSelLine, BSSelStart, BSSelLen);
        underline(BESelLine, BESelStart, BESelLen);
    }
}

void TAdvCustomMemo::PrintRows(HDC dc, const TPrintedRows& rows) {
    if (rows.CharWidth <= 0 || rows.Pitch <= 0 || rows.Last < rows.First) return;
    const int count = Lines()->Count();
    TMemoTokenizer& tokenizer = Tokenizer();
    // Built here, not by a paint: a memo never shown still prints its numbers coloured.
    tokenizer.Prepare();
    TStyle state = rows.First < count ? tokenizer.GetLineStyle(rows.First) : TStyle{};
    TFontSet fonts(FFontName, rows.FontHeight);
    TLineRenderer renderer(*this, dc, fonts);
    const int savedDC = ::SaveDC(dc);
    ::SetBkMode(dc, TRANSPARENT);
    // Long lines end at the right margin instead of running off the paper.
    ::IntersectClipRect(dc, rows.Left, rows.Top, rows.Right, rows.Top + (rows.Last - rows.First + 1) * rows.Pitch);

    // The number column is as wide as the text's highest number; a blank parts it from the text.
    const bool numbers = FPrintOptions->PrintLineNumbers();
    auto numberText = [&](int line) {
        int x = 0;
        return FGutter->FormatLineNumber(line + FGutter->LineNumberStart(), rows.CharWidth, x) + FGutter->NumberSuffix();
    };
    const int numberChars = numbers ? int(numberText(std::max(count, 1) - 1).size()) : 0;
    const int textLeft = rows.Left + (numbers ? (numberChars + 1) * rows.CharWidth : 0);
    renderer.SetPrinterGrid(textLeft, rows.CharWidth, rows.TextHeight);
    std::vector<INT> advances;

    int top = rows.Top;
    for (int line = rows.First; line <= rows.Last; ++line, top += rows.Pitch) {
        if (line >= count) {
            FillBox(dc, rows.Left, top, rows.Right, top + rows.Pitch, FBkColor);
            continue;
        }
        if (numbers) {
            const std::wstring number = numberText(line);
            TSelection font(dc, fonts.Get({}));
            ::SetTextColor(dc, 0);
            advances.assign(number.size(), rows.CharWidth);
            const int x = rows.Left + (numberChars - int(number.size())) * rows.CharWidth;
            ::ExtTextOutW(dc, x, top, 0, nullptr, number.c_str(), UINT(number.size()), advances.data());
        }
        TColor lineBack = FBandColor != ClassLib::clNone && (line % 2) == 1 ? FBandColor : ClassLib::clNone;
        if (OnLineBkColor) OnLineBkColor(this, line, lineBack);
        std::wstring text = Lines()->Get(line);
        int selFrom = INT_MAX, selTo = INT_MAX;
        renderer.SelectedColumns(line, text, selFrom, selTo);
        renderer.BeginLine(line, top, lineBack, selFrom, selTo, BreakPoint(line), line == FActiveLine);
        renderer.Tokenize(text, state);
        const int textEnd = std::max(textLeft, renderer.PrintedRight());
        FillBox(dc, textEnd, top, rows.Right, top + rows.TextHeight, lineBack != ClassLib::clNone ? lineBack : FBkColor);
        if (const TLineProp* prop = Lines()->GetLineProp(line); prop && prop->FErrStart && prop->FErrLen) {
            for (int i = 0; i < prop->FErrStart->Count() && i < prop->FErrLen->Count(); ++i) {
                const int from = std::max(0, (*prop->FErrStart)[i]);
                const int to = std::max(0, (*prop->FErrStart)[i] + (*prop->FErrLen)[i]);
                if (to > from)
                    DrawErrorWave(dc, RECT{textLeft + from * rows.CharWidth, top, textLeft + to * rows.CharWidth,
                                           top + rows.TextHeight - 2});
            }
        }
    }
    ::RestoreDC(dc, savedDC);
}

void TAdvCustomMemo::PaintTo(HDC dc) {
    EnsureMeasure();
    if (FCellSize.H <= 0) ApplyFont();
    if (FCellSize.H <= 0 || FCellSize.W <= 0) return;
    const TMemoRect area = TextArea();
    const int savedDC = ::SaveDC(dc);
    ::SetBkMode(dc, TRANSPARENT);

    // Left strip, fold column and the margin above the text.
    FillBox(dc, 0, 0, area.Left, FHeight, FBkColor);
    FillBox(dc, area.Left, 0, FWidth, area.Top, FBkColor);
    FillBox(dc, area.Right, 0, FWidth, FHeight, FBkColor);
    if (FGutterVisible && FGutterWidth > 1) PaintGutter(dc);
    PaintFoldColumn(dc);

    TMemoTokenizer& tokenizer = Tokenizer();
    tokenizer.Prepare();
    TStyle state = tokenizer.TopLineStyle(FTopLine);

    // Runs never spill over the text rectangle.
    ::IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
    TFontSet fonts(FFontName, FFontHeight);
    TLineRenderer renderer(*this, dc, fonts);
    const int count = Lines()->Count();
    const int rows = VisibleLineCount() + 1;
    int top = area.Top;
    int visIndex = LineIndexToVisIndex(FTopLine);
    for (int row = 0, line = FTopLine; row < rows && line < count && top < area.Bottom; ++row) {
        PaintLine(dc, renderer, line, top, state);
        top += FCellSize.H;
        if (FCodeFoldingEnabled) {
            const int next = VisIndexToLineIndex(++visIndex);
            // The states of hidden lines still flow into the next shown one.
            for (int hidden = line + 1; hidden < next && hidden < count; ++hidden) state = tokenizer.GetLineStyle(hidden + 1);
            line = next;
        } else {
            ++line;
        }
    }
    FillBox(dc, FGutterVisible ? area.Left : 0, top, area.Right, area.Bottom, FBkColor);
    ::RestoreDC(dc, savedDC);

    const int savedAgain = ::SaveDC(dc);
    if (FRightMargin > 0 && FShowRightMargin && count < VisibleLineCount()) {
        const int x = area.Left + (FRightMargin - FLeftCol) * FCellSize.W + (FBorderStyle == bsSingle ? 3 : 0);
        if (x > area.Left && x < area.Right) FillBox(dc, x, top, x + 2, area.Bottom, FRightMarginColor);
    }
    if (FBorderStyle == bsSingle) {
        if (FCtl3D) {
            Line(dc, 0, FHeight - 1, 0, 0, 0x808080);
            Line(dc, 0, 0, FWidth, 0, 0x808080);
            Line(dc, 1, FHeight - 2, 1, 1, ClassLib::clBlack);
            Line(dc, 1, 1, FWidth - 1, 1, ClassLib::clBlack);
            Line(dc, 1, FHeight - 2, FWidth - 2, FHeight - 2, 0xD0D0D0);
            Line(dc, FWidth - 2, FHeight - 2, FWidth - 2, 0, 0xD0D0D0);
            Line(dc, 0, FHeight - 1, FWidth - 1, FHeight - 1, ClassLib::clWhite);
            Line(dc, FWidth - 1, FHeight - 1, FWidth - 1, -1, ClassLib::clWhite);
        } else {
            TOwnedPen pen(::CreatePen(PS_SOLID, 1, ColorToRGB(FBorderColor)));
            TSelection penSelected(dc, pen.get());
            TSelection brushSelected(dc, ::GetStockObject(NULL_BRUSH));
            ::Rectangle(dc, 0, 0, FWidth, FHeight);
        }
    }
    DrawBlockLines(dc);
    ::RestoreDC(dc, savedAgain);
    if (OnAfterPaint) OnAfterPaint(this, dc);
}

// ---------------------------------------------------------------- gutter

void TAdvCustomMemo::PaintGutter(HDC dc) {
    const TMemoRect area = TextArea();
    const int left = FBorderStyle == bsSingle ? 1 : 0;
    const int top = left;
    const int width = FGutterWidth;
    const int height = area.Bottom - area.Top + 1;
    const int savedDC = ::SaveDC(dc);
    ::IntersectClipRect(dc, left, top, left + width + 2, top + height + area.Top);
    ::SetViewportOrgEx(dc, left, top, nullptr);

    if (FGutter->GutterColorTo() == ClassLib::clNone) {
        FillBox(dc, 0, 0, width + 2, height + area.Top, FGutter->GutterColor());
    } else {
        // 48 bands from the gutter colour on the left to the gradient end on the right.
        const TColor from = ColorToRGB(FGutter->GutterColor()), to = ColorToRGB(FGutter->GutterColorTo());
        const int steps = 48;
        for (int i = 0; i < steps; ++i) {
            auto mix = [&](int shift) {
                const int a = int((from >> shift) & 0xFF), b = int((to >> shift) & 0xFF);
                return TColor(a + (b - a) * i / (steps - 1)) << shift;
            };
            const int x0 = (width + 2) * i / steps, x1 = (width + 2) * (i + 1) / steps;
            FillBox(dc, x0, 0, x1, height + area.Top, mix(0) | mix(8) | mix(16));
        }
    }
    Line(dc, width, 0, width, height + area.Top, FGutter->BorderColor());
    if (FCtl3D) Line(dc, width - 2, 0, width - 2, height + area.Top, ClassLib::clWhite);

    const int count = Lines()->Count();
    const bool wrapped = FWordWrap != wwNone;
    // With word wrap the gutter numbers whole lines: continuation rows are neither drawn nor counted.
    int logical = 0;
    if (wrapped)
        for (int i = 1; i <= FTopLine && i < count; ++i) if (!IsWrappedLine(i)) ++logical;
    int rowTop = area.Top - top;
    int visIndex = LineIndexToVisIndex(FTopLine);
    for (int line = FTopLine; rowTop < height && line <= std::max(count - 1, 0);) {
        const bool continuation = wrapped && line > 0 && IsWrappedLine(line);
        if (wrapped && line > FTopLine && !continuation) ++logical;
        if (!continuation) {
            const RECT row{0, rowTop, width, rowTop + FCellSize.H};
            const int number = wrapped ? logical : line;
            if (OnGutterDraw) OnGutterDraw(this, dc, number, row);
            else DefaultGutterDraw(this, dc, number, row);
        }
        rowTop += FCellSize.H;
        line = FCodeFoldingEnabled ? VisIndexToLineIndex(++visIndex) : line + 1;
    }
    ::RestoreDC(dc, savedDC);
}

void DrawErrorWave(HDC dc, const RECT& rect) {
    TOwnedPen pen(::CreatePen(PS_SOLID, 1, ColorToRGB(ClassLib::clRed)));
    if (!pen) return;
    TSelection selected(dc, pen.get());
    int x = rect.left - rect.left % 2;
    int y = x % 4 == 0 ? rect.bottom + 1 : rect.bottom - 1;
    ::MoveToEx(dc, x, y, nullptr);
    while (x < rect.right) {
        x += 2;
        y = y == rect.bottom + 1 ? rect.bottom - 1 : rect.bottom + 1;
        ::LineTo(dc, x, y);
    }
}

void TAdvCustomMemo::DefaultGutterDraw(ClassLib::TObject*, HDC dc, int lineNo, const RECT& rct) {
    int x = rct.left;
    const int y = rct.top;
    const int count = Lines()->Count();
    if (const TAdvMarker* marker = FMarkerList.Markers().GetMarkerAtLine(lineNo)) {
        ClassLib::TCustomImageList* images = FMarkerList.MarkerImageList();
        const int index = FMarkerList.ImageIndexFor(*marker);
        if (images && index >= 0 && index < images->Count()) {
            ClassLib::TCanvas canvas;
            canvas.SetHandle(dc);
            images->Draw(&canvas, x + 1, y + 2, index);
            canvas.SetHandle(nullptr);
        }
        x += 16;
    }
    if (lineNo < count && Bookmark(lineNo)) {
        if (!FBookmarkGlyph->Empty()) {
            ClassLib::TCanvas canvas;
            canvas.SetHandle(dc);
            canvas.Draw(x, y, FBookmarkGlyph.get());
            canvas.SetHandle(nullptr);
        }
        const int index = BookmarkIndex(lineNo);
        if (index >= 0) {
            // The small raster face at 6 points, grown with the screen's scale.
            const int points = int(std::lround(6 * FDPIScale));
            ClassLib::TOwnedFont font(::CreateFontW(-::MulDiv(points, 96, 72), 0, 0, 0, FW_NORMAL, 0,
                                          0, 0, OEM_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                          FIXED_PITCH | FF_MODERN, L"Terminal"));
            TSelection selected(dc, font.get());
            const std::wstring digit = std::to_wstring(index);
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, 0);
            ::TextOutW(dc, x + 3, y + 3, digit.c_str(), int(digit.size()));
        }
    }
    if (FGutter->ShowLineNumbers()) {
        TSelection font(dc, FGutter->Font()->Handle());
        SIZE w{0, 0};
        ::GetTextExtentPoint32W(dc, L"W", 1, &w);
        const int shown = lineNo + FGutter->LineNumberStart();
        if (shown % FGutter->LineNumberAt() == 0 || lineNo == FCurY) {
            int nx = 0;
            const std::wstring text = FGutter->FormatLineNumber(shown, w.cx, nx) + FGutter->NumberSuffix();
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, ColorToRGB(FGutter->LineNumberTextColor()));
            ::TextOutW(dc, nx, y, text.c_str(), int(text.size()));
        } else {
            Line(dc, rct.right - 18, y + 4, rct.right - 16, y + 4, FGutter->LineNumberTextColor());
        }
    }
    if (lineNo >= count && !(lineNo == 0 && count == 0)) return;
    if (FGutter->ShowModified() && lineNo < count) {
        const TLineModifiedState state = LineModifiedInt(lineNo);
        if (state != lmUnmodified)
            FillBox(dc, rct.right - 5, rct.top, rct.right - 1, rct.bottom,
                    state == lmModified ? FGutter->ModifiedColor() : FGutter->ModifiedColorBkg());
    }
    if (lineNo < count && Executable(lineNo)) {
        Shape(dc, ClassLib::clBlue, ClassLib::clNavy, [&] { ::Ellipse(dc, x + 5, y + 8, x + 9, y + 12); });
        Line(dc, x + 6, y + 8, x + 4, y + 10, ClassLib::clAqua);
    }
    if (lineNo < count && BreakPoint(lineNo))
        Shape(dc, FBreakpointColor, ClassLib::clBlack, [&] { ::Ellipse(dc, x + 2, y + 4, x + 12, y + 14); });
    if (lineNo == FActiveLine && FActiveLineSettings->ShowActiveLineIndicator()) {
        const POINT arrow[] = {{x + 13, y + 7}, {x + 13, y + 11}, {x + 16, y + 11}, {x + 16, y + 14},
                               {x + 21, y + 9}, {x + 16, y + 4}, {x + 16, y + 7}};
        Shape(dc, FActiveLineSettings->ActiveLineColor(), 0x808080, [&] { ::Polygon(dc, arrow, 7); });
    }
}

}  // namespace AdvMemo
