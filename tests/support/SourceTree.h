#pragma once
// Files of the source tree (descriptions, pictures) for tests that read them from disk.
#include <string>

namespace TestSupport {
// `relative` uses backslashes ("app\\images\\header.png"); under Wine the Unix path is
// reached through drive Z:.
std::wstring SourceTreePath(const std::wstring& relative);
}
