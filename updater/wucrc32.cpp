#include "updater/wucrc32.h"

#include <windows.h>

#include <array>

namespace wucrc32 {

namespace {

constexpr std::array<uint32_t, 256> MakeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> Table = MakeTable();

}  // namespace

uint32_t UpdateCRC32(uint32_t value, const uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) value += Table[(data[i] ^ value) & 0xFF] ^ (value >> 8);
    return value;
}

int FileCRC32(const std::wstring& fileName) {
    HANDLE file = ::CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    uint32_t value = 0xFFFFFFFFu;
    uint8_t block[4096];
    DWORD got = 0;
    bool any = false;
    while (::ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) {
        value = UpdateCRC32(value, block, got);
        any = true;
    }
    ::CloseHandle(file);
    return any ? int(~value) : 0;
}

}  // namespace wucrc32
