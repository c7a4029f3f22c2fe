#pragma once
// Base64 of the low 8 bits of each character, for HTTP Basic authorization.
#include <string>

namespace WuBase64 {

// The standard alphabet with "=" padding; four characters for every started group of three.
std::wstring Base64Encode(const std::wstring& s);

}  // namespace WuBase64
