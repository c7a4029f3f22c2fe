#pragma once
// The updater's file checksum: table-driven like CRC-32 over the reflected polynomial
// $EDB88320, but each step adds to the running value instead of replacing it, so it
// differs from the standard CRC-32 ("abc" gives $6C8D9D41). Server control files carry
// values made this way, so it must stay exactly as it is.
#include <cstddef>
#include <cstdint>
#include <string>

namespace wucrc32 {

// The running value over a block; start with $FFFFFFFF, finish with ~value.
uint32_t UpdateCRC32(uint32_t value, const uint8_t* data, size_t size);
// The checksum of a file, read in 4096-byte blocks; 0 for an empty file or one that
// cannot be opened.
int FileCRC32(const std::wstring& fileName);

}  // namespace wucrc32
