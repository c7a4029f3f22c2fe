#pragma once
// Which links a control may hand to the shell's "open": the editor, the status bar and
// the HTML label ask the same question.
#include <string>

namespace ClassLib {

// Links the shell may open on a click: http, https, ftp, mailto and "www." ones, in any
// letter case. Others, such as file links, go only to the control's own handler.
bool UrlOpensInShell(const std::wstring& url);

}  // namespace ClassLib
