#include "app/StringFields.h"

namespace StringFields {

namespace {

std::wstring_view TrimBlanks(std::wstring_view text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace

std::wstring TrimSpacesLeft(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

std::wstring TrimSpacesRight(const std::wstring& text) {
    const size_t last = text.find_last_not_of(L' ');
    return last == std::wstring::npos ? std::wstring() : text.substr(0, last + 1);
}

std::wstring TrimSpaces(const std::wstring& text) { return std::wstring(TrimBlanks(text)); }

std::wstring TextBeforeDelimiter(const std::wstring& text, const std::wstring& delimiter) {
    const size_t at = delimiter.empty() ? std::wstring::npos : text.find(delimiter);
    return at == std::wstring::npos ? text : text.substr(0, at);
}

std::wstring TextAfterDelimiter(const std::wstring& text, const std::wstring& delimiter) {
    const size_t at = delimiter.empty() ? std::wstring::npos : text.find(delimiter);
    return at == std::wstring::npos ? text : text.substr(at + delimiter.size());
}

std::wstring SplitAtDelimiter(std::wstring& text, const std::wstring& delimiter) {
    std::wstring before = TextBeforeDelimiter(text, delimiter);
    std::wstring after = TextAfterDelimiter(text, delimiter);
    // After equals the whole text only when the delimiter is missing.
    text = after == text ? std::wstring() : std::move(after);
    return before;
}

std::wstring FetchField(std::wstring& text, const std::wstring& delimiter) {
    std::wstring_view rest = text;
    std::wstring head(FetchField(rest, std::wstring_view(delimiter)));
    text = std::wstring(rest);
    return head;
}

std::wstring_view FetchField(std::wstring_view& text, std::wstring_view delimiter) {
    const size_t at = delimiter.empty() ? std::wstring_view::npos : text.find(delimiter);
    if (at == std::wstring_view::npos) {
        const std::wstring_view head = TrimBlanks(text);
        text = {};
        return head;
    }
    const std::wstring_view head = TrimBlanks(text.substr(0, at));
    text = TrimBlanks(text.substr(at + delimiter.size()));
    return head;
}

}  // namespace StringFields
