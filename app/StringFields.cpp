#include "app/StringFields.h"

namespace StringFields {

std::wstring TrimSpacesLeft(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

std::wstring TrimSpacesRight(const std::wstring& text) {
    const size_t last = text.find_last_not_of(L' ');
    return last == std::wstring::npos ? std::wstring() : text.substr(0, last + 1);
}

std::wstring TrimSpaces(const std::wstring& text) {
    return TrimSpacesRight(TrimSpacesLeft(text));
}

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
    std::wstring head = TrimSpaces(SplitAtDelimiter(text, delimiter));
    text = TrimSpaces(text);
    return head;
}

}  // namespace StringFields
