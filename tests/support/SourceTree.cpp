#include "support/SourceTree.h"

#include "classlib/Strings.h"

namespace TestSupport {

std::wstring SourceTreePath(const std::wstring& relative) {
    std::wstring path = ClassLib::UTF8Decode(__FILE__);  // absolute: CMake compiles full paths
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    if (!path.empty() && path[0] == L'\\') path = L"Z:" + path;
    return path.substr(0, path.rfind(L"\\tests\\support\\")) + L"\\" + relative;
}

}  // namespace TestSupport
