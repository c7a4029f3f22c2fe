#pragma once
// The memo's HTML and RTF export: the window-free text rules shared by the exports and
// the clipboard ("HTML Format" wrapping, colour and HTML escapes).
#include <string>

#include "classlib/Colors.h"

namespace AdvMemo {

// "#RRGGBB" from the three low bytes of the value.
std::wstring HtmlColor(ClassLib::TColor color);
// "&", "<", ">" and the double quote as entities; NUL, which HTML has no way to write and which
// would end the clipboard's zero-ended block early, is dropped; everything else as it is.
std::wstring HtmlEscape(const std::wstring& text);
// The clipboard's "HTML Format" block (version 0.9 header) around an HTML fragment: UTF-8,
// offsets in bytes, without the closing zero the clipboard block adds.
std::string ClipboardHtml(const std::wstring& fragment);

}  // namespace AdvMemo
