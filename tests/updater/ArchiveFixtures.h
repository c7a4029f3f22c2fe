#pragma once
// Archives made at test time, byte by byte, so each test can shape the fault it needs:
// ZIP (stored or deflated, any flags and names), cabinets (stored or MSZIP) and SZDD.
#include <cstdint>
#include <string>
#include <vector>

namespace UpdaterTests {

struct TZipItem {
    std::string Name;            // as stored (bytes)
    std::string Data;
    bool Deflate = true;
    uint16_t Flags = 0;          // 0x800: UTF-8 name; 1: encrypted
    uint16_t Method = 0xFFFF;    // forced method; 0xFFFF: 8 when deflated, else 0
    bool BadCrc = false;
    uint16_t DosDate = 0x5A21, DosTime = 0x6000;   // 1 January 2025, 12:00:00
    int64_t DeclaredSize = -1;   // the size the headers state; -1: the data's own
};
std::string MakeZip(const std::vector<TZipItem>& items);

struct TCabItem {
    std::string Name;   // as stored, e.g. "sub\\b.txt"
    std::string Data;
    uint16_t DosDate = 0x5A21, DosTime = 0x6000;
};
// The data goes in blocks of 32 KB, as a cabinet holds it.
std::string MakeCab(const std::vector<TCabItem>& items, bool mszip);

// An SZDD file of literal bytes only; `lastChar` is the expanded name's last character.
std::string MakeSzdd(const std::string& data, char lastChar);

}  // namespace UpdaterTests
