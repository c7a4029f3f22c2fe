#pragma once
// The code editor's parsers of outside data for bench/Robustness.h: hostile text (any UTF-16
// code unit, NUL and lone surrogates included) through the RTF and HTML exports and the
// clipboard's renderings, whose output must stay well formed, and the editor settings file.
// The parser type is the runner's (bench/Robustness.h includes this header before it declares it).
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/GdiScopes.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "editor/AdvMemo.h"
#include "editor/AdvmCSHS.h"

namespace Robustness {

namespace EditorDetail {

using TBytes = std::vector<std::uint8_t>;

// What an export wrote that a reader could not read: a fault, counted apart from the
// library's errors by the runner.
[[noreturn]] inline void Malformed(const std::string& what) { throw std::runtime_error("malformed output: " + what); }

inline TBytes Utf16Bytes(const std::wstring& text) {
    TBytes bytes;
    for (const wchar_t c : text) {
        bytes.push_back(std::uint8_t(c & 0xFF));
        bytes.push_back(std::uint8_t(c >> 8));
    }
    return bytes;
}

// The input as UTF-16 code units, little-endian; an odd last byte is dropped.
inline std::wstring TextOfBytes(const TBytes& input) {
    std::wstring text(input.size() / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = wchar_t(input[2 * i] | (input[2 * i + 1] << 8));
    return text;
}

inline std::string StreamText(ClassLib::TMemoryStream& stream) {
    return std::string(reinterpret_cast<const char*>(stream.Memory()), std::size_t(stream.Size()));
}

// A memo showing the text with the program's C colouring: comments, strings, numbers,
// keywords and links each become runs of their own.
inline std::unique_ptr<AdvMemo::TAdvMemo> ExportMemo(const std::wstring& text) {
    auto memo = std::make_unique<AdvMemo::TAdvMemo>(nullptr);
    memo->SetSyntaxStyles(AdvmCSHS::CreateCMemoStyler(memo.get()));
    memo->Lines()->SetText(text);
    // The clipboard's renderings cut the first and last lines at the selection.
    const int last = std::max(memo->Lines()->Count() - 1, 0);
    memo->SetSelStartX(memo->Lines()->Count() > 0 ? std::min<int>(2, int(memo->Lines()->Get(0).size())) : 0);
    memo->SetSelStartY(0);
    memo->SetSelEndX(memo->Lines()->Count() > 0 ? int(memo->Lines()->Get(last).size()) / 2 : 0);
    memo->SetSelEndY(last);
    return memo;
}

// An RTF document as a reader takes it: 7-bit text, groups that close as they open with
// nothing after the outermost, and every backslash starting a control word, an escaped
// special, a hex escape or a destination mark.
inline void CheckRtf(const std::string& rtf) {
    if (rtf.compare(0, 6, "{\\rtf1") != 0) Malformed("RTF does not start with {\\rtf1");
    int depth = 0;
    auto isHex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); };
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const unsigned char c = std::uint8_t(rtf[i]);
        if ((c < 0x20 && c != '\r' && c != '\n' && c != '\t') || c >= 0x7F)
            Malformed("RTF holds the raw byte " + std::to_string(c) + " at " + std::to_string(i));
        if (depth == 0 && i > 0 && c != '\r' && c != '\n') Malformed("RTF goes on after its last group");
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth < 0) Malformed("RTF closes a group it never opened");
        } else if (c == '\\') {
            const char next = i + 1 < rtf.size() ? rtf[i + 1] : '\0';
            if (isLetter(next)) {
                while (i + 1 < rtf.size() && isLetter(rtf[i + 1])) ++i;
                if (i + 1 < rtf.size() && rtf[i + 1] == '-') ++i;
                while (i + 1 < rtf.size() && rtf[i + 1] >= '0' && rtf[i + 1] <= '9') ++i;
            } else if (next == '\\' || next == '{' || next == '}' || next == '*') {
                ++i;
            } else if (next == '\'') {
                if (i + 3 >= rtf.size() || !isHex(rtf[i + 2]) || !isHex(rtf[i + 3])) Malformed("RTF hex escape without two digits");
                i += 3;
            } else {
                Malformed("RTF backslash before byte " + std::to_string(std::uint8_t(next)));
            }
        }
    }
    if (depth != 0) Malformed("RTF leaves " + std::to_string(depth) + " groups open");
}

inline void CheckUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = std::uint8_t(text[i]);
        if (c == 0) Malformed("HTML holds a zero byte at " + std::to_string(i));
        const int length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + std::size_t(length) > text.size()) Malformed("HTML is not UTF-8 at " + std::to_string(i));
        std::uint32_t code = length == 1 ? c : c & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const unsigned char next = std::uint8_t(text[i + std::size_t(k)]);
            if ((next >> 6) != 2) Malformed("HTML is not UTF-8 at " + std::to_string(i));
            code = (code << 6) | (next & 0x3F);
        }
        if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF || (length > 1 && code < (length == 2 ? 0x80u : length == 3 ? 0x800u : 0x10000u)))
            Malformed("HTML encodes code point " + std::to_string(code));
        i += std::size_t(length);
    }
}

// HTML as the exports write it: UTF-8, only the tags they write, FONT and link tags that
// close as they open, quoted attribute values, and "&" only in the four entities.
inline void CheckHtml(const std::string& html) {
    CheckUtf8(html);
    static const char* const tags[] = {"HTML", "/HTML", "HEAD", "/HEAD", "META", "BODY", "/BODY", "PRE", "/PRE", "FONT",
                                       "/FONT", "a", "/a", "!DOCTYPE", "html", "/html", "head", "/head", "body", "/body",
                                       "!--StartFragment--", "!--EndFragment--"};
    int fonts = 0, links = 0;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '>') Malformed("HTML has a \">\" outside a tag at " + std::to_string(i));
        if (html[i] == '&') {
            bool entity = false;
            for (const char* name : {"&lt;", "&gt;", "&amp;", "&quot;"})
                entity = entity || html.compare(i, std::strlen(name), name) == 0;
            if (!entity) Malformed("HTML has a bare \"&\" at " + std::to_string(i));
            continue;
        }
        if (html[i] != '<') continue;
        const std::size_t end = html.find('>', i);
        if (end == std::string::npos) Malformed("HTML tag never closes");
        const std::string tag = html.substr(i + 1, end - i - 1);
        if (tag.find('<') != std::string::npos) Malformed("HTML tag holds a \"<\"");
        std::size_t quotes = 0;
        for (const char c : tag) quotes += c == '"';
        if (quotes % 2) Malformed("HTML tag with an unclosed quote: " + tag.substr(0, 40));
        const std::string name = tag.substr(0, tag.find(' '));
        bool known = false;
        for (const char* t : tags) known = known || name == t;
        if (!known) Malformed("HTML tag of an unknown kind: " + name.substr(0, 40));
        if (name == "FONT") ++fonts;
        if (name == "/FONT" && --fonts < 0) Malformed("HTML closes a FONT tag it never opened");
        if (name == "a") ++links;
        if (name == "/a" && --links < 0) Malformed("HTML closes a link it never opened");
        i = end;
    }
    if (fonts != 0 || links != 0) Malformed("HTML leaves FONT or link tags open");
}

inline int HeaderNumber(const std::string& block, const char* label) {
    const std::size_t at = block.find(label);
    if (at == std::string::npos || at > 97) Malformed(std::string("clipboard HTML without ") + label);
    const std::string digits = block.substr(at + std::strlen(label), 8);
    for (const char c : digits)
        if (c < '0' || c > '9') Malformed(std::string("clipboard HTML with a bad ") + label);
    return std::stoi(digits);
}

// The clipboard's "HTML Format" block: offsets that point where they say, the fragment
// between its markers, and HTML as above.
inline void CheckClipboardHtml(const std::string& block) {
    const int startHtml = HeaderNumber(block, "StartHTML:"), endHtml = HeaderNumber(block, "EndHTML:");
    const int startFragment = HeaderNumber(block, "StartFragment:"), endFragment = HeaderNumber(block, "EndFragment:");
    if (endHtml != int(block.size())) Malformed("clipboard HTML ends at " + std::to_string(block.size()) + ", not at EndHTML");
    if (block.compare(std::size_t(startHtml), 9, "<!DOCTYPE") != 0) Malformed("StartHTML misses the document");
    if (startFragment < 20 || block.compare(std::size_t(startFragment) - 20, 20, "<!--StartFragment-->") != 0)
        Malformed("StartFragment misses the fragment");
    if (endFragment < startFragment || block.compare(std::size_t(endFragment), 18, "<!--EndFragment-->") != 0)
        Malformed("EndFragment misses the fragment's end");
    CheckHtml(block.substr(std::size_t(startHtml)));
}

inline std::vector<TBytes> ExportSeeds() {
    using namespace std::string_literals;
    const std::wstring texts[] = {
        L"/* note: caf\u00E9 \u20AC */\r\nint main(void) {\r\n\tchar s[] = \"a{b}\\\\c\";\r\n    return 0x1F; // done\r\n}"s,
        L"#include <avr/io.h>\r\nvoid f(int a) { if (a < 2 && a > 0) g(\"<&>\"); }\r\n// see http://example.org/a?b=1&c=\"2\""s,
        L"x\0y\x01z\r\n\xD800 lone \xDC00 \U0001F600\r\n{}\\{\\}\\\\par \\'41"s,
        L""s,
    };
    std::vector<TBytes> seeds;
    for (const std::wstring& text : texts) seeds.push_back(Utf16Bytes(text));
    return seeds;
}

inline std::vector<std::string> ExportTokens() {
    using namespace std::string_literals;
    std::vector<std::string> tokens;
    for (const std::wstring& token : {L"/*"s, L"*/"s, L"//"s, L"\""s, L"'"s, L"{"s, L"}"s, L"\\"s, L"\r\n"s, L"\t"s,
                                      L"<"s, L">"s, L"&"s, L"http://"s, L"www."s, L"mailto:"s, L"int "s, L"0x"s,
                                      L"\\par"s, L"\\'"s, L"\0"s, L"\xD800"s, L"\u00FF"s, L"\uFFFF"s}) {
        const TBytes bytes = Utf16Bytes(token);
        tokens.emplace_back(bytes.begin(), bytes.end());
    }
    return tokens;
}

// A file of the run's own, removed when the last parser holding it goes.
inline std::shared_ptr<const std::wstring> ScratchFile(std::wstring name) {
    return std::shared_ptr<const std::wstring>(new std::wstring(std::move(name)), [](const std::wstring* file) {
        ::DeleteFileW(file->c_str());
        delete file;
    });
}

inline void WriteBytes(const std::wstring& fileName, const TBytes& bytes) {
    ClassLib::TFileStream file(fileName, ClassLib::fmCreate);
    if (!bytes.empty()) file.WriteBuffer(bytes.data(), int(bytes.size()));
}

inline TBytes SettingsFileBytes(const std::wstring& fileName, const std::function<void(AdvMemo::TAdvMemo&)>& set) {
    ::DeleteFileW(fileName.c_str());
    AdvMemo::TAdvMemo memo(nullptr);
    set(memo);
    memo.SaveMemoSettingsToFile(fileName);
    ClassLib::TFileStream file(fileName, ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
    TBytes bytes(std::size_t(file.Size()));
    if (!bytes.empty()) file.ReadBuffer(bytes.data(), int(bytes.size()));
    return bytes;
}


// One memo and one drawing surface serve every input: making a memo and its window for
// each input cost more than reading and drawing it. Before each input the memo is put
// back as it started (a fresh memo's saved file, and no font styles, which a load only
// adds), so an input reads the same whatever came before it.
class TSettingsReader {
public:
    // `changed` is a saved file with every kind of value changed, used to check the reset once.
    TSettingsReader(std::wstring inputFile, std::wstring defaultsFile, TBytes changed)
        : FInputFile(std::move(inputFile)), FDefaultsFile(std::move(defaultsFile)), FChanged(std::move(changed)) {}

    void Read(const TBytes& input) {
        if (!FMemo) Start();
        WriteBytes(FInputFile, input);
        Reset();
        FMemo->LoadMemoSettingsFromFile(FInputFile);
        FMemo->Lines()->SetText(L"int\ta; // http://x.org\r\n\tb();");
        if (*FBuffer) FMemo->PaintTo(FBuffer->Handle());
    }

private:
    void Start() {
        FMemo = std::make_unique<AdvMemo::TAdvMemo>(nullptr);
        FMemo->SetBounds(0, 0, 240, 120);
        const ClassLib::TWindowDC screen;
        FBuffer = std::make_unique<ClassLib::TOffscreenBuffer>(screen.Handle(), 240, 120);
        // A memo that is not put back whole would make each input depend on the ones before.
        WriteBytes(FInputFile, FChanged);
        FMemo->LoadMemoSettingsFromFile(FInputFile);
        Reset();
        ::DeleteFileW(FInputFile.c_str());
        FMemo->SaveMemoSettingsToFile(FInputFile);
        if (SavedBytes(FInputFile) != SavedBytes(FDefaultsFile))
            throw std::logic_error("the settings reader does not put its memo back as a fresh memo");
    }
    void Reset() {
        FMemo->Font()->SetStyle({});
        FMemo->Gutter()->Font()->SetStyle({});
        FMemo->AutoCompletion()->Font()->SetStyle({});
        FMemo->UrlStyle()->SetStyle({});
        FMemo->LoadMemoSettingsFromFile(FDefaultsFile);
    }
    static TBytes SavedBytes(const std::wstring& fileName) {
        ClassLib::TFileStream file(fileName, ClassLib::fmOpenRead | ClassLib::fmShareDenyWrite);
        TBytes bytes(std::size_t(file.Size()));
        if (!bytes.empty()) file.ReadBuffer(bytes.data(), int(bytes.size()));
        return bytes;
    }

    const std::wstring FInputFile, FDefaultsFile;
    const TBytes FChanged;
    std::unique_ptr<AdvMemo::TAdvMemo> FMemo;
    std::unique_ptr<ClassLib::TOffscreenBuffer> FBuffer;
};

}  // namespace EditorDetail

// Appends the editor's parsers; `scratch` is a folder for the settings file, `tag` makes its
// name this run's own.
template <class TParser>
void AddEditorParsers(std::vector<TParser>& parsers, const std::wstring& scratch, const std::wstring& tag) {
    using namespace EditorDetail;

    // Each export parser renders the input text and checks what a reader would be given.
    auto exportParser = [](const char* name, std::function<void(AdvMemo::TAdvMemo&)> check) {
        return TParser{name, ExportSeeds(), ExportTokens(),
                       [check](const TBytes& input) { check(*ExportMemo(TextOfBytes(input))); }, {}};
    };
    parsers.push_back(exportParser("editor RTF export", [](AdvMemo::TAdvMemo& memo) {
        ClassLib::TMemoryStream stream;
        if (!memo.SaveToRTFStream(&stream, true)) Malformed("RTF export failed");
        CheckRtf(StreamText(stream));
        std::string rtf, html;
        memo.SelectionAsRichText(rtf, html);
        CheckRtf(rtf);
    }));
    parsers.push_back(exportParser("editor HTML export", [](AdvMemo::TAdvMemo& memo) {
        ClassLib::TMemoryStream stream;
        if (!memo.SaveToHTMLStream(&stream, true)) Malformed("HTML export failed");
        CheckHtml(StreamText(stream));
        std::string rtf, html;
        memo.SelectionAsRichText(rtf, html);
        CheckClipboardHtml(html);
    }));

    // Saved files of a memo as it starts and of one with every kind of value changed; read
    // into a memo that then takes a tab and paints, so a value that breaks drawing shows.
    const auto settingsFile = ScratchFile(scratch + L"robustness_" + tag + L"_memo.ini");
    const auto defaultsFile = ScratchFile(scratch + L"robustness_" + tag + L"_memo_defaults.ini");
    std::vector<TBytes> settings;
    settings.push_back(SettingsFileBytes(*settingsFile, [](AdvMemo::TAdvMemo&) {}));
    settings.push_back(SettingsFileBytes(*settingsFile, [](AdvMemo::TAdvMemo& memo) {
        memo.SetTabSize(2);
        memo.SetWordWrap(AdvMemo::wwRightMargin);
        memo.SetRightMargin(20);
        memo.Font()->SetStyle({ClassLib::fsBold, ClassLib::fsItalic});
        memo.Font()->SetSize(14);
        memo.SetBkColor(ClassLib::TColor(0x123456));
        memo.Gutter()->SetDigitCount(6);
        memo.Gutter()->SetNumberSuffix(L":");
        memo.SetAutoHintParameters(AdvMemo::hpNone);
        memo.PrintOptions()->SetTitle(L"T\u00E9tle");
    }));
    WriteBytes(*defaultsFile, settings.front());
    const auto reader = std::make_shared<TSettingsReader>(*settingsFile, *defaultsFile, settings.back());
    parsers.push_back(TParser{"editor settings file", settings,
                              {"[Memo Settings]", "\r\n", "=", "TabSize=", "FontSize=", "GutterFontSize=",
                               "GutterWidth=", "GutterDigitCount=", "RightMargin=", "WordWrap=wwClientWidth",
                               "WordWrap=wwRightMargin", "LineNumberStart=", "UndoLimit=", "$", "cl", "fsBold",
                               "fsStrikeOut", "-", "2147483647", "-2147483648", "0x", ";", "\xEF\xBB\xBF", "\xFF\xFE"},
                              [reader, settingsFile, defaultsFile](const TBytes& input) { reader->Read(input); },
                              {}, 150});
}

}  // namespace Robustness
