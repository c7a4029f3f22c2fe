#pragma once
// The window-free half of the canvas HTML engine: turning markup text into what the line
// layout reads (entities, numeric references, "<#" literals, line breaks) and reading the
// values inside tags (colours, numbers). Pure functions, safe on any thread.
#include <string>

#include "classlib/Colors.h"

namespace AdvHTML {

using String = std::wstring;
using ClassLib::TColor;

// The two engines differ in these; one engine reads them from its option set.
constexpr int CanvasEntityCount = 77;
constexpr int StatusBarEntityCount = 72;
// Numeric references at or above this code point become emoji tags in the canvas engine.
constexpr unsigned FirstEmojiCodePoint = 0x1F004;

// Every named entity of the first `entityCount` table rows becomes its character, then
// every "&amp;" (any case) becomes "&&", which the system's text output shows as one "&".
String ReplaceNamedEntities(const String& text, int entityCount);
String DoubleAmpersands(const String& text);
// "<#FIELD>" shows as "#FIELD": the "<" and the first ">" after it go.
String RemoveLiterals(const String& text);
// "&#65;" and "&#x42;" become their characters. With `emojiTags`, code points from
// FirstEmojiCodePoint on become "<J " + the surrogate pair + " >". A reference to 0, a
// surrogate or past U+10FFFF, or one without digits or ";", stays as written.
String ReplaceNumericReferences(const String& text, bool emojiTags);
// Line feeds go; carriage returns become "<BR>" with `breaks`, else go too.
String ConvertLineBreaks(const String& text, bool breaks);
// The whole preparation of the engine, in its order.
String PrepareHTML(const String& text, int entityCount, bool emojiTags);

// "#rrggbb" (missing pairs read 0) or a colour name such as "clRed"; unknown names give black.
TColor HTMLColor(const String& value);
TColor HexColor(const String& value);
int HexByte(wchar_t high, wchar_t low);
// Leading blanks, a sign, "$", "x" or "0x" for hexadecimal, then digits up to the first
// other character; no digits give 0. Saturates at the int range instead of overflowing.
int IntValue(const String& value);
// Halves to even, as all the engine's (and the status bar's) rounding; saturates at the
// int range.
int RoundHalfEven(double value);
// The three entities a text run reads itself: "&nbsp;", "&lt;", "&gt;" (lower case only).
String ReplaceRunEntities(const String& run);
// "," counts as ".": "1,5" is 1.5. Text that is no number gives 0; the result is finite.
double DecimalValue(const String& value);

// The text without its tags, as a label shows it: "<BR>"/"<HR>" become line breaks and
// hidden "<Z>" text is dropped.
String HTMLPlainText(const String& text);

}  // namespace AdvHTML
