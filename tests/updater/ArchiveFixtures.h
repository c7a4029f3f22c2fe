#pragma once
// Archives made at test time, byte by byte, so each test can shape the fault it needs:
// ZIP (stored or deflated, any flags and names), cabinets (stored or MSZIP) and SZDD. Also
// the seeds of the updater's robustness run (bench/RobustnessUpdater.h), and the listing
// of what an extraction left on disk.
#include <windows.h>
#include <zlib.h>

#include <cstdint>
#include <stdexcept>
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
    std::string Packed = {};     // the deflated data when made elsewhere; empty: made here
};

struct TCabItem {
    std::string Name;   // as stored, e.g. "sub\\b.txt"
    std::string Data;
    uint16_t DosDate = 0x5A21, DosTime = 0x6000;
};

// Appends every file and folder below `folder` to `out`, relative and behind `prefix`;
// folders end with "\".
inline void ListTree(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>& out) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back(prefix + name + L"\\");
            ListTree(folder + name + L"\\", prefix + name + L"\\", out);
        } else {
            out.push_back(prefix + name);
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}


namespace ArchiveDetail {

inline void Put16(std::string& out, uint32_t v) { out += char(v & 0xFF); out += char((v >> 8) & 0xFF); }
inline void Put32(std::string& out, uint32_t v) { Put16(out, v & 0xFFFF); Put16(out, v >> 16); }

inline std::string RawDeflate(const std::string& data, int level = 9) {
    z_stream stream{};
    if (deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&stream, uLong(data.size())) + 16, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

inline uint32_t Crc(const std::string& data) {
    return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
}

}  // namespace ArchiveDetail

inline std::string MakeZip(const std::vector<TZipItem>& items) {
    using namespace ArchiveDetail;
    std::string out, directory;
    for (const TZipItem& item : items) {
        const std::string packed = !item.Packed.empty() ? item.Packed : item.Deflate ? RawDeflate(item.Data) : item.Data;
        const uint16_t method = item.Method != 0xFFFF ? item.Method : (item.Deflate ? 8 : 0);
        const uint32_t crc = Crc(item.Data) ^ (item.BadCrc ? 1u : 0u);
        const uint32_t offset = uint32_t(out.size());
        const auto common = [&](std::string& to) {
            Put16(to, 20);
            Put16(to, item.Flags);
            Put16(to, method);
            Put16(to, item.DosTime);
            Put16(to, item.DosDate);
            Put32(to, crc);
            Put32(to, uint32_t(packed.size()));
            Put32(to, uint32_t(item.DeclaredSize >= 0 ? uint64_t(item.DeclaredSize) : item.Data.size()));
            Put16(to, uint16_t(item.Name.size()));
            Put16(to, 0);
        };
        Put32(out, 0x04034b50);
        common(out);
        out += item.Name + packed;
        Put32(directory, 0x02014b50);
        Put16(directory, 20);
        common(directory);
        Put16(directory, 0);   // comment
        Put16(directory, 0);   // disk
        Put16(directory, 0);   // internal attributes
        Put32(directory, 0);   // external attributes
        Put32(directory, offset);
        directory += item.Name;
    }
    const uint32_t directoryOffset = uint32_t(out.size());
    out += directory;
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, uint16_t(items.size()));
    Put16(out, uint16_t(items.size()));
    Put32(out, uint32_t(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0);
    return out;
}

// The data goes in blocks of 32 KB, as a cabinet holds it.
inline std::string MakeCab(const std::vector<TCabItem>& items, bool mszip) {
    using namespace ArchiveDetail;
    // One folder; its data in blocks of 32 KB, each MSZIP block a deflate stream of its own.
    std::string files, all;
    for (const TCabItem& item : items) {
        Put32(files, uint32_t(item.Data.size()));
        Put32(files, uint32_t(all.size()));
        Put16(files, 0);
        Put16(files, item.DosDate);
        Put16(files, item.DosTime);
        Put16(files, 0x20);
        files += item.Name + '\0';
        all += item.Data;
    }
    std::string blocks;
    uint16_t blockCount = 0;
    for (size_t at = 0; at < all.size() || blockCount == 0; at += 32768) {
        const std::string plain = all.substr(at, 32768);
        const std::string block = mszip ? "CK" + RawDeflate(plain) : plain;
        Put32(blocks, 0);                   // no check sum
        Put16(blocks, uint16_t(block.size()));
        Put16(blocks, uint16_t(plain.size()));
        blocks += block;
        ++blockCount;
    }
    const uint32_t headerSize = 36, folderSize = 8;
    const uint32_t filesOffset = headerSize + folderSize;
    const uint32_t dataOffset = filesOffset + uint32_t(files.size());
    const uint32_t total = dataOffset + uint32_t(blocks.size());
    std::string out = "MSCF";
    Put32(out, 0);
    Put32(out, total);
    Put32(out, 0);
    Put32(out, filesOffset);
    Put32(out, 0);
    out += char(3);
    out += char(1);
    Put16(out, 1);                         // folders
    Put16(out, uint16_t(items.size()));    // files
    Put16(out, 0);                         // flags
    Put16(out, 0x1234);                    // set
    Put16(out, 0);                         // index in set
    Put32(out, dataOffset);
    Put16(out, blockCount);
    Put16(out, mszip ? 1 : 0);
    out += files;
    out += blocks;
    return out;
}

// An SZDD file of literal bytes only; `lastChar` is the expanded name's last character.
inline std::string MakeSzdd(const std::string& data, char lastChar) {
    using namespace ArchiveDetail;
    std::string out = "SZDD\x88\xF0\x27\x33";
    out += 'A';
    out += lastChar;
    Put32(out, uint32_t(data.size()));
    for (size_t i = 0; i < data.size(); i += 8) {
        out += char(0xFF);   // eight literals follow
        out += data.substr(i, 8);
    }
    return out;
}

}  // namespace UpdaterTests
