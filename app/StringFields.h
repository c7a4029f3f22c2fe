#pragma once
// Blank trimming and splitting a text at a delimiter, shared by the generator, the
// read-back and the main window. A blank here is U+0020 only; other white space is kept.
#include <string>
#include <string_view>

namespace StringFields {

std::wstring TrimSpacesLeft(const std::wstring& text);
std::wstring TrimSpacesRight(const std::wstring& text);
std::wstring TrimSpaces(const std::wstring& text);

// The whole text when the delimiter does not occur (an empty delimiter never occurs).
std::wstring TextBeforeDelimiter(const std::wstring& text, const std::wstring& delimiter);
std::wstring TextAfterDelimiter(const std::wstring& text, const std::wstring& delimiter);

// Returns the text before the first delimiter and leaves the text after it in `text`,
// or the empty text when the delimiter does not occur.
std::wstring SplitAtDelimiter(std::wstring& text, const std::wstring& delimiter);

// SplitAtDelimiter with both parts trimmed of blanks: FetchField(' a = b ', "=") gives
// 'a' and leaves 'b'; without the delimiter it gives the trimmed text and leaves "".
std::wstring FetchField(std::wstring& text, const std::wstring& delimiter);
// The same over views of a text that stays where it is: both parts are parts of it.
std::wstring_view FetchField(std::wstring_view& text, std::wstring_view delimiter);

}  // namespace StringFields
