#include "updater/WuBase64.h"

#include "classlib/Base64Digits.h"

namespace WuBase64 {

std::wstring Base64Encode(const std::wstring& s) {
    std::wstring out;
    out.reserve((s.size() + 2) / 3 * 4);
    for (size_t i = 0; i < s.size(); i += 3) {
        const size_t count = s.size() - i < 3 ? s.size() - i : 3;
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k) group = (group << 8) | (k < count ? (uint32_t(s[i + k]) & 0xFFu) : 0u);
        for (size_t k = 0; k < 4; ++k)
            out += k <= count ? wchar_t(ClassLib::Base64Alphabet[(group >> (18 - 6 * k)) & 0x3F]) : L'=';
    }
    return out;
}

}  // namespace WuBase64
