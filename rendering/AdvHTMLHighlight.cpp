// Wrapping search matches of an HTML text in highlight or mark tags, and taking them out again.
#include "rendering/AdvHTML.h"

#include "classlib/Strings.h"

namespace AdvHTML {

namespace {

// The text outside tags. One walk serves both this and VisibleToIndex, so an unbalanced
// ">" or "<" counts the same way for searching and for placing the tags.
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

// The index in s before which text goes to follow the first `visibleCount` visible
// characters; it lies before any tag that follows them. Never past the end of s.
std::size_t VisibleToIndex(const std::wstring& s, std::size_t from, std::size_t visibleCount) {
    std::size_t counted = 0;
    bool inTag = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const wchar_t ch = s[i];
        if (i >= from && counted == visibleCount && !inTag) return i;
        if (inTag) {
            if (ch == L'>') inTag = false;
        } else if (ch == L'<') {
            inTag = true;
        } else {
            ++counted;
        }
    }
    return s.size();
}

}  // namespace

std::wstring HighlightHTML(const std::wstring& s, const std::wstring& hiText, const std::wstring& tag, bool doCase) {
    if (hiText.empty()) return s;
    const std::wstring visible = doCase ? VisibleText(s) : ClassLib::AnsiUpperCase(VisibleText(s));
    const std::wstring needle = doCase ? hiText : ClassLib::AnsiUpperCase(hiText);
    const std::wstring opening = L"<" + tag + L">";
    const std::wstring closing = L"</" + tag + L">";
    std::wstring result = s;
    // An opening tag never goes before the closing tag just inserted: with "<tag>" keeping
    // one saved state, "<hi>a<hi></hi>a</hi>" would run the highlight on past its match.
    std::size_t afterClosing = 0;
    for (std::size_t match = visible.find(needle); match != std::wstring::npos;
         match = visible.find(needle, match + needle.size())) {
        const std::size_t open = VisibleToIndex(result, afterClosing, match);
        result.insert(open, opening);
        const std::size_t close = VisibleToIndex(result, open + opening.size(), match + needle.size());
        result.insert(close, closing);
        afterClosing = close + closing.size();
    }
    return result;
}

std::wstring UnhighlightHTML(const std::wstring& s, const std::wstring& tag) {
    std::wstring result = s;
    const std::wstring upperTag = ClassLib::AnsiUpperCase(tag);
    for (const std::wstring& marker : {L"<" + upperTag + L">", L"</" + upperTag + L">"}) {
        std::wstring upper = ClassLib::AnsiUpperCase(result);   // one UTF-16 unit for one: indexes agree
        std::size_t at = upper.find(marker);
        while (at != std::wstring::npos) {
            result.erase(at, marker.size());
            upper.erase(at, marker.size());
            // Taking a marker out can join the pieces of another one around it.
            at = upper.find(marker, at >= marker.size() ? at - marker.size() + 1 : 0);
        }
    }
    return result;
}

}  // namespace AdvHTML
