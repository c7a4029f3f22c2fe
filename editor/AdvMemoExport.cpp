#include "editor/AdvMemoExport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <windows.h>

#include "classlib/Clipboard.h"
#include "classlib/GdiObjects.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "editor/AdvMemo.h"
#include "editor/RTFEngine.h"
#include "graphics/AdvUtils.h"

namespace AdvMemo {

using ClassLib::TColor;

std::wstring HtmlColor(TColor color) {
    wchar_t text[8];
    std::swprintf(text, 8, L"#%02X%02X%02X", unsigned(color & 0xFF), unsigned((color >> 8) & 0xFF),
                  unsigned((color >> 16) & 0xFF));
    return text;
}

std::wstring HtmlEscape(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'&': out += L"&amp;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        case L'"': out += L"&quot;"; break;
        case L'\0': break;
        default: out += c;
        }
    }
    return out;
}

std::string ClipboardHtml(const std::wstring& fragment) {
    static const char kPrefix[] =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"
        "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head><body>"
        "<!--StartFragment-->";
    static const char kSuffix[] = "<!--EndFragment--></body></html>";
    // A zero byte would end the block for every reader before the offsets below say it ends.
    std::string body = ClassLib::UTF8Encode(fragment);
    std::erase(body, '\0');
    constexpr int kHeaderSize = 97;   // the five labelled lines below, with eight digits each
    const int startFragment = kHeaderSize + int(std::strlen(kPrefix));
    const int endFragment = startFragment + int(body.size());
    const int endHtml = endFragment + int(std::strlen(kSuffix));
    char header[kHeaderSize + 1];
    std::snprintf(header, sizeof header, "Version:1.0\r\nStartHTML:%08d\r\nEndHTML:%08d\r\nStartFragment:%08d\r\n"
                  "EndFragment:%08d\r\n", kHeaderSize, endHtml, startFragment, endFragment);
    return std::string(header) + kPrefix + body + kSuffix;
}

namespace {

// The memo held still for an export: no change notices, no repaint, lines unwrapped.
class TExportScope {
public:
    explicit TExportScope(TAdvCustomMemo& memo) : FMemo(memo), FOnChange(memo.OnChange) {
        FMemo.OnChange = nullptr;
        FMemo.BeginUpdate();
        FMemo.BeginLogicalEdit();
    }
    ~TExportScope() {
        FMemo.EndLogicalEdit();
        FMemo.EndUpdate();
        FMemo.OnChange = FOnChange;
    }
    TExportScope(const TExportScope&) = delete;
    TExportScope& operator=(const TExportScope&) = delete;
private:
    TAdvCustomMemo& FMemo;
    TMemoNotifyEvent FOnChange;
};

// Passes on only the characters of a line within [from, to) (to -1: the line's end). The
// whole line is tokenized so a part of a line keeps the colours it has in the memo.
class TColumnClip final : public ITokenSink {
public:
    TColumnClip(ITokenSink& sink, int from, int to) : FSink(sink), FFrom(from), FTo(to) {}
    void DrawRun(const String& text, const TStyle& style) override {
        Clip(text);
        if (!FPiece.empty()) FSink.DrawRun(FPiece, style);
    }
    void DrawKeyword(const String& keyword, const TStyle& style) override {
        // A keyword cut by the range is written as a plain run of its style.
        const bool cut = Clip(keyword);
        if (FPiece.empty()) return;
        if (cut) FSink.DrawRun(FPiece, style);
        else FSink.DrawKeyword(FPiece, style);
    }
private:
    // FPiece := the part of `text` inside the range; true when something was cut away.
    bool Clip(const String& text) {
        const int start = FColumn, end = FColumn + int(text.size());
        FColumn = end;
        const int from = std::max(start, FFrom), to = FTo < 0 ? end : std::min(end, FTo);
        FPiece = from < to ? text.substr(size_t(from - start), size_t(to - from)) : String();
        return from != start || to != end;
    }
    ITokenSink& FSink;
    int FFrom, FTo, FColumn = 0;
    String FPiece;
};

// Runs each line of [first, last] (either order; -1 for the last line) through the
// tokenizer, from the first line's real state so a range inside a comment stays a comment.
// With columns, the first line starts at firstCol and the last ends before lastCol.
template <class B, class A>
void ForEachLine(TAdvCustomMemo& memo, int first, int last, ITokenSink& sink, B&& beforeLine, A&& afterLine,
                 int firstCol = 0, int lastCol = -1) {
    const int count = memo.Lines()->Count();
    if (last < 0 || last >= count) last = count - 1;
    if (first > last) std::swap(first, last);
    first = std::clamp(first, 0, std::max(0, count - 1));
    TMemoTokenizer& tokenizer = memo.Tokenizer();
    tokenizer.Prepare();
    TStyle state = count > 0 ? tokenizer.GetLineStyle(first) : TMemoTokenizer::ClearedStyle();
    if (count == 0) {
        beforeLine();
        afterLine();
        return;
    }
    for (int line = first; line <= last; ++line) {
        beforeLine();
        const int from = line == first ? firstCol : 0, to = line == last ? lastCol : -1;
        if (from > 0 || to >= 0) {
            TColumnClip clip(sink, from, to);
            tokenizer.TokenizeLine(memo.Lines()->Strings(line), state, clip);
        } else {
            tokenizer.TokenizeLine(memo.Lines()->Strings(line), state, sink);
        }
        afterLine();
    }
}

class THtmlWriter final : public ITokenSink {
public:
    THtmlWriter(const TAdvCustomMemo& memo, std::vector<std::wstring>& html) : FMemo(memo), FHtml(html) {}
    void DrawRun(const String& text, const TStyle& style) override {
        if (FHtml.empty() || text.empty()) return;
        const TRunLook look = FMemo.StyleLook(style);
        std::wstring piece = HtmlEscape(text);
        if (style.isURL) piece = L"<a href=\"" + piece + L"\">" + piece + L"</a>";
        std::wstring tag = L"<FONT style=\"background-color: " + HtmlColor(ClassLib::ColorToRGB(look.Back)) +
                           L";color:" + HtmlColor(ClassLib::ColorToRGB(look.Text)) + L";";
        const bool bold = look.Style.Contains(ClassLib::fsBold), italic = look.Style.Contains(ClassLib::fsItalic);
        if (bold || italic)
            tag += std::wstring(L"font-style:") + (bold && italic ? L"bold,italic" : bold ? L"bold" : L"italic") + L";";
        if (look.Style.Contains(ClassLib::fsUnderline)) tag += L"text-decoration:'underline';";
        tag += L"\">";
        if (tag != FOpenTag) {
            if (!FOpenTag.empty()) FHtml.back() += L"</FONT>";
            FHtml.back() += tag;
            FOpenTag = tag;
        }
        FHtml.back() += piece;
    }
    bool TagOpen() const { return !FOpenTag.empty(); }
private:
    const TAdvCustomMemo& FMemo;
    std::vector<std::wstring>& FHtml;
    std::wstring FOpenTag;
};

class TRtfWriter final : public ITokenSink {
public:
    TRtfWriter(const TAdvCustomMemo& memo, RTFEngine::TRTFEngine& engine) : FMemo(memo), FEngine(engine) {}
    void DrawRun(const String& text, const TStyle& style) override {
        if (text.empty()) return;
        const TRunLook look = FMemo.StyleLook(style);
        if (style.isURL) {
            ClassLib::TFont font;
            font.Assign(FMemo.Font());
            font.SetStyle(FMemo.UrlStyle()->Style());
            font.SetColor(FMemo.UrlStyle()->TextColor());
            FEngine.AddHighLightColor(look.Back);
            FEngine.AddHyperLink(text, text, font);
            return;
        }
        FEngine.AddHighLightColor(look.Back);
        FEngine.AddForeColor(look.Text);
        const bool bold = look.Style.Contains(ClassLib::fsBold);
        const bool italic = look.Style.Contains(ClassLib::fsItalic);
        const bool underline = look.Style.Contains(ClassLib::fsUnderline);
        if (bold != FEngine.Bold()) FEngine.AddBold(bold);
        if (italic != FEngine.Italic()) FEngine.AddItalic(italic);
        if (underline != FEngine.UnderLine()) FEngine.AddUnderLine(underline);
        FEngine.AddText(text);
    }
private:
    const TAdvCustomMemo& FMemo;
    RTFEngine::TRTFEngine& FEngine;
};

template <class F>
bool Guarded(F&& write) {
    try {
        write();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\r\n";
    return text;
}

// The document as a file holds it: its encoding declared, so that a browser opening the file
// from disk reads the UTF-8 as UTF-8 and not in some default code page.
std::wstring HtmlFileText(std::vector<std::wstring> html) {
    html.insert(html.begin() + 1, L"<HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></HEAD>");
    return JoinLines(html);
}

void WriteUtf8(ClassLib::TStream* stream, const std::wstring& text) {
    const std::string bytes = ClassLib::UTF8Encode(text);
    stream->WriteBuffer(bytes.data(), int(bytes.size()));
}

}  // namespace

std::vector<std::wstring> TAdvCustomMemo::BuildHTML(bool fixedFonts, int firstLine, int lastLine, bool fragmentOnly,
                                                    int firstCol, int lastCol) {
    std::vector<std::wstring> html;
    TExportScope scope(*this);
    if (!fragmentOnly) {
        const std::wstring link = HtmlColor(ClassLib::ColorToRGB(FUrlStyle->TextColor()));
        html.push_back(L"<HTML>");
        html.push_back(L"<BODY bgColor=" + HtmlColor(ClassLib::ColorToRGB(FBkColor)) + L" LINK=" + link +
                       L" VLINK=" + link + L" ALINK=" + link + L">");
    }
    html.push_back(L"<PRE>");
    const std::wstring face = HtmlEscape(FFontName);
    html.push_back(fixedFonts ? L"<FONT style=\"font-family:" + face + L"; font-size:" +
                                    std::to_wstring(Font()->Size()) + L"pt\">"
                              : L"<FONT style=\"font-family:" + face + L";\">");
    THtmlWriter writer(*this, html);
    ForEachLine(*this, firstLine, lastLine, writer, [&] { html.emplace_back(); }, [] {}, firstCol, lastCol);
    if (writer.TagOpen()) html.push_back(L"</FONT>");
    html.push_back(L"</FONT>");
    html.push_back(L"</PRE>");
    if (!fragmentOnly) {
        html.push_back(L"</BODY>");
        html.push_back(L"</HTML>");
    }
    return html;
}

void TAdvCustomMemo::BuildRTF(RTFEngine::TRTFEngine& engine, bool fixedFonts, int firstLine, int lastLine, int firstCol,
                              int lastCol) {
    (void)fixedFonts;   // RTF always carries the size
    TExportScope scope(*this);
    engine.AddFontName(FFontName);
    engine.AddFontSize(Font()->Size() * 2);
    engine.AddForeColor(Font()->Color());
    TRtfWriter writer(*this, engine);
    ForEachLine(*this, firstLine, lastLine, writer, [] {}, [&] { engine.AddNewLine(); }, firstCol, lastCol);
}

bool TAdvCustomMemo::SaveToHTMLStream(ClassLib::TStream* stream, bool fixedFonts) {
    return Guarded([&] { WriteUtf8(stream, HtmlFileText(BuildHTML(fixedFonts, 0, -1, false))); });
}

bool TAdvCustomMemo::SaveToHTML(const std::wstring& fileName, bool fixedFonts) {
    return Guarded([&] {
        const std::wstring text = HtmlFileText(BuildHTML(fixedFonts, 0, -1, false));
        ClassLib::SaveFileSafely(fileName, [&](ClassLib::TStream* stream) { WriteUtf8(stream, text); });
    });
}

bool TAdvCustomMemo::SaveToRTFStream(ClassLib::TStream* stream, bool fixedFonts) {
    return Guarded([&] {
        RTFEngine::TRTFEngine engine;
        BuildRTF(engine, fixedFonts, 0, -1);
        stream->SetPosition(0);
        engine.SaveToStream(stream);
        stream->SetPosition(0);
    });
}

bool TAdvCustomMemo::SaveToRTF(const std::wstring& fileName, bool fixedFonts) {
    return Guarded([&] {
        RTFEngine::TRTFEngine engine;
        BuildRTF(engine, fixedFonts, 0, -1);
        engine.SaveToFile(fileName);
    });
}

void TAdvCustomMemo::SelectionAsRichText(std::string& rtf, std::string& html) {
    // Selection coordinates of unwrapped lines; the memo's lines are only read.
    BeginLogicalEdit();
    try {
        int sx = 0, sy = 0, ex = 0, ey = 0;
        OrderedSelection(sx, sy, ex, ey);
        if (LineCount() == 0) sx = sy = ex = ey = 0;
        html = ClipboardHtml(JoinLines(BuildHTML(false, sy, ey, true, sx, ex)));
        RTFEngine::TRTFEngine engine;
        BuildRTF(engine, false, sy, ey, sx, ex);
        ClassLib::TMemoryStream stream;
        engine.SaveToStream(&stream);
        rtf.assign(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size()));
    } catch (...) {
        EndLogicalEdit();
        throw;
    }
    EndLogicalEdit();
}

void TAdvCustomMemo::CopyHTMLToClipboard() {
    const std::wstring document = JoinLines(BuildHTML(false, 0, -1, false));
    const std::string block = ClipboardHtml(document);
    ClassLib::TClipboard* clipboard = ClassLib::Clipboard();
    clipboard->Open();
    try {
        clipboard->SetBuffer(AdvUtils::AdvClipboardFormat(AdvUtils::TAdvClipboardFormat::HTMLFormat), block.c_str(),
                             block.size() + 1);
        clipboard->SetAsText(document);
    } catch (...) {
        clipboard->Close();
        throw;
    }
    clipboard->Close();
}

}  // namespace AdvMemo
