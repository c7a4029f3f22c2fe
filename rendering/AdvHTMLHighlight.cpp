// Wrapping search matches of an HTML text in highlight or mark tags, and taking them out again.
#include "rendering/AdvHTML.h"

#include <vector>

#include "classlib/Strings.h"

namespace AdvHTML {

namespace {

// The text outside tags. The same walk places the tags in HighlightHTML, so an unbalanced
// ">" or "<" counts the same way for searching and for placing.
std::wstring VisibleText(const std::wstring& s) {
    std::wstring visible;
    bool inTag = false;
    for (const wchar_t ch : s) {
        if (inTag) {
            if (ch == L'>') inTag = false;
        } else if (ch == L'<') {
            inTag = true;
        } else {
            visible += ch;
        }
    }
    return visible;
}

}  // namespace

std::wstring HighlightHTML(const std::wstring& s, const std::wstring& hiText, const std::wstring& tag, bool doCase) {
    if (hiText.empty()) return s;
    const std::wstring visible = doCase ? VisibleText(s) : ClassLib::AnsiUpperCase(VisibleText(s));
    const std::wstring needle = doCase ? hiText : ClassLib::AnsiUpperCase(hiText);
    const std::wstring opening = L"<" + tag + L">";
    const std::wstring closing = L"</" + tag + L">";
    // Where the tags go, counted in visible characters: each match opens at its first and
    // closes after its last. Matches do not overlap, so the marks come in order.
    std::vector<std::size_t> marks;
    for (std::size_t match = visible.find(needle); match != std::wstring::npos;
         match = visible.find(needle, match + needle.size())) {
        marks.push_back(match);
        marks.push_back(match + needle.size());
    }
    if (marks.empty()) return s;
    // One walk: a mark goes in at the first place outside a tag where that many visible
    // characters lie behind, so before any tag that follows them. A closing mark and the
    // next opening one may share a place ("<hi>a</hi><hi>a</hi>"); the opening one never
    // goes before the closing one, or "<hi>" keeping one saved state would run the
    // highlight on past its match.
    std::wstring result;
    result.reserve(s.size() + marks.size() / 2 * (opening.size() + closing.size()));
    std::size_t next = 0, counted = 0;
    bool inTag = false;
    for (std::size_t i = 0;; ++i) {
        while (next < marks.size() && !inTag && counted == marks[next]) {
            result += next % 2 == 0 ? opening : closing;
            ++next;
        }
        if (i == s.size()) break;
        const wchar_t ch = s[i];
        result += ch;
        if (inTag) {
            if (ch == L'>') inTag = false;
        } else if (ch == L'<') {
            inTag = true;
        } else {
            ++counted;
        }
    }
    // Marks past the last place (a text that ends inside a tag) go at the end.
    for (; next < marks.size(); ++next) result += next % 2 == 0 ? opening : closing;
    return result;
}

std::wstring UnhighlightHTML(const std::wstring& s, const std::wstring& tag) {
    std::wstring result = s;
    const std::wstring upperTag = ClassLib::AnsiUpperCase(tag);
    for (const std::wstring& marker : {L"<" + upperTag + L">", L"</" + upperTag + L">"}) {
        const std::wstring upper = ClassLib::AnsiUpperCase(result);   // one UTF-16 unit for one: indexes agree
        if (upper.find(marker) == std::wstring::npos) continue;
        // Taking a marker out can join the pieces of another one around it ("<<hi>hi>"):
        // a marker is taken out as soon as the kept text ends with one, so pieces joined
        // that way go too, in one pass.
        std::wstring kept, keptUpper;
        kept.reserve(result.size());
        keptUpper.reserve(result.size());
        for (std::size_t i = 0; i < result.size(); ++i) {
            kept += result[i];
            keptUpper += upper[i];
            if (keptUpper.size() >= marker.size() &&
                keptUpper.compare(keptUpper.size() - marker.size(), marker.size(), marker) == 0) {
                kept.resize(kept.size() - marker.size());
                keptUpper.resize(keptUpper.size() - marker.size());
            }
        }
        result = std::move(kept);
    }
    return result;
}

}  // namespace AdvHTML
