#pragma once
// Reading mini-HTML markup without drawing it: where a tag ends, the letters its name
// begins with, and the quoted value of an attribute. The canvas and the vector HTML
// engines both read their tags through these; their tables and layout stay their own.
#include <cstddef>
#include <string>

namespace HTMLTagScanner {

using String = std::wstring;

// 1-based position of `sub` in `s` with letter case ignored, 0 when absent.
int IPos(const String& sub, const String& s);
// ASCII letters upper-cased; markup names and attribute words are ASCII.
String UpperCase(const String& s);

// Index of the first '>' at or after `from`; String::npos when the tag never ends.
std::size_t FindTagEnd(const String& text, std::size_t from = 0);
// True for "</...": the second character is '/' and the text is longer than three.
bool IsClosingTag(const String& tag);
// The name's letter at `index` (0 = first), upper-cased; 0 past the name's end.
// The name starts after "<" or "</" and ends at a blank, '>' or '/'.
wchar_t TagLetter(const String& tag, std::size_t index);
// The whole name, upper-cased.
String TagName(const String& tag);
// True when the name is exactly `name` (upper-case ASCII).
bool TagNameIs(const String& tag, const wchar_t* name);

// The text between the first two double quotes after `attribute`, which is searched in
// `upperTag` (the upper-cased tag); the value is cut from `tag`, so it keeps its letter
// case. False when the attribute or either quote is missing: values without quotes are
// not read.
bool AttributeValue(const String& tag, const String& upperTag, const String& attribute, String& value);
// The value after the attribute's "=", quoted or not: up to the closing quote, or to the
// next blank or '>' when unquoted. False without the attribute or its "=".
bool LooseAttributeValue(const String& tag, const String& upperTag, const String& attribute, String& value);

}  // namespace HTMLTagScanner
