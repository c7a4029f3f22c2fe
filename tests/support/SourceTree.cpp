#include "support/SourceTree.h"

#include "classlib/Strings.h"

namespace TestSupport {

std::wstring SourceTreePath(const std::wstring& relative) {
    // The build names the tree's absolute path: __FILE__ may be relative (ccache's base
    // directory rewrites it, so that clones elsewhere share the cache).
    std::wstring path = ClassLib::UTF8Decode(ATGEN_SOURCE_DIR);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    if (!path.empty() && path[0] == L'\\') path = L"Z:" + path;
    return path + L"\\" + relative;
}

}  // namespace TestSupport
