#include "classlib/ShellUrls.h"

namespace ClassLib {

bool UrlOpensInShell(const std::wstring& url) {
    std::wstring s = url.substr(0, 8);
    for (wchar_t& c : s)
        if (c >= L'A' && c <= L'Z') c = wchar_t(c + 32);
    for (const wchar_t* prefix : {L"http://", L"https://", L"ftp://", L"mailto:", L"www."})
        if (s.rfind(prefix, 0) == 0) return true;
    return false;
}

}  // namespace ClassLib
