#include "updater/WUpdateExtract.h"

#include <lzexpand.h>
#include <zlib.h>

#include <algorithm>
#include <vector>

namespace WUpdate {

namespace {

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

bool ReadAt(HANDLE file, uint64_t offset, void* buffer, DWORD size) {
    LARGE_INTEGER position;
    position.QuadPart = LONGLONG(offset);
    DWORD got = 0;
    return ::SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && ::ReadFile(file, buffer, size, &got, nullptr) &&
           got == size;
}

bool WriteAll(HANDLE file, const void* data, size_t size) {
    DWORD written = 0;
    return ::WriteFile(file, data, DWORD(size), &written, nullptr) && written == size;
}

std::wstring ParentFolder(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring TempFileBeside(const std::wstring& target) {
    std::wstring folder = ParentFolder(target);
    if (folder.empty()) folder = L".";
    wchar_t name[MAX_PATH + 1] = {};
    if (!::GetTempFileNameW(folder.c_str(), L"WUPD", 0, name)) return {};
    return name;
}

// One entry of a ZIP archive's central directory.
struct TZipEntry {
    std::wstring Relative;   // below the target folder, already checked
    bool IsFolder = false;
    uint16_t Method = 0;
    uint16_t DosTime = 0, DosDate = 0;
    uint32_t Crc = 0;
    uint32_t PackedSize = 0, Size = 0;
    uint32_t LocalOffset = 0;
};

constexpr uint32_t ZipEndSignature = 0x06054b50, ZipCentralSignature = 0x02014b50, ZipLocalSignature = 0x04034b50;
constexpr uint32_t Zip64Mark = 0xFFFFFFFF;

// The whole central directory, read and checked before anything is written; false when
// the archive is damaged or holds an entry we must not or cannot unpack.
bool ReadZipDirectory(HANDLE file, std::vector<TZipEntry>& entries) {
    LARGE_INTEGER fileSize;
    if (!::GetFileSizeEx(file, &fileSize) || fileSize.QuadPart < 22) return false;
    // The end record sits in the last 22 bytes plus a comment of at most 65535.
    const uint64_t tailSize = std::min<uint64_t>(uint64_t(fileSize.QuadPart), 22 + 65535);
    std::vector<uint8_t> tail(static_cast<size_t>(tailSize));
    if (!ReadAt(file, uint64_t(fileSize.QuadPart) - tailSize, tail.data(), DWORD(tailSize))) return false;
    const uint8_t* end = nullptr;
    for (size_t i = tail.size() - 22 + 1; i-- > 0;)
        if (Get32(&tail[i]) == ZipEndSignature) {
            end = &tail[i];
            break;
        }
    if (!end) return false;
    const uint16_t count = Get16(end + 10);
    const uint32_t directorySize = Get32(end + 12), directoryOffset = Get32(end + 16);
    if (directoryOffset == Zip64Mark || uint64_t(directoryOffset) + directorySize > uint64_t(fileSize.QuadPart))
        return false;
    std::vector<uint8_t> directory(directorySize);
    if (directorySize && !ReadAt(file, directoryOffset, directory.data(), directorySize)) return false;
    size_t at = 0;
    for (uint16_t i = 0; i < count; ++i) {
        if (at + 46 > directory.size() || Get32(&directory[at]) != ZipCentralSignature) return false;
        const uint8_t* h = &directory[at];
        const uint16_t flags = Get16(h + 8), nameLength = Get16(h + 28);
        const size_t recordSize = 46 + size_t(nameLength) + Get16(h + 30) + Get16(h + 32);
        if (at + recordSize > directory.size()) return false;
        TZipEntry entry;
        entry.Method = Get16(h + 10);
        entry.DosTime = Get16(h + 12);
        entry.DosDate = Get16(h + 14);
        entry.Crc = Get32(h + 16);
        entry.PackedSize = Get32(h + 20);
        entry.Size = Get32(h + 24);
        entry.LocalOffset = Get32(h + 42);
        // Encrypted entries, methods other than stored and deflated, and 64-bit sizes are refused.
        if ((flags & 1) || (entry.Method != 0 && entry.Method != 8)) return false;
        if (entry.PackedSize == Zip64Mark || entry.Size == Zip64Mark || entry.LocalOffset == Zip64Mark) return false;
        const std::string raw(reinterpret_cast<const char*>(h + 46), nameLength);
        // Bit 11 marks UTF-8 names; the others are in the archive's old code page 437.
        const UINT codePage = (flags & 0x800) ? CP_UTF8 : 437;
        std::wstring name(raw.size(), L'\0');
        if (!raw.empty()) {
            const int length = ::MultiByteToWideChar(codePage, 0, raw.data(), int(raw.size()), name.data(), int(name.size()));
            if (length <= 0) return false;
            name.resize(size_t(length));
        }
        entry.IsFolder = !name.empty() && (name.back() == L'/' || name.back() == L'\\');
        if (!SafeEntryPath(name, entry.Relative) || (entry.Relative.empty() && !entry.IsFolder)) return false;
        entries.push_back(std::move(entry));
        at += recordSize;
    }
    return true;
}

// Writes one entry into a new file beside its target and puts it in place only when its
// size and check sum come out right.
bool UnpackZipEntry(HANDLE archive, const TZipEntry& entry, const std::wstring& target) {
    uint8_t local[30];
    if (!ReadAt(archive, entry.LocalOffset, local, sizeof local) || Get32(local) != ZipLocalSignature) return false;
    const uint64_t dataOffset = uint64_t(entry.LocalOffset) + 30 + Get16(local + 26) + Get16(local + 28);
    const std::wstring tempName = TempFileBeside(target);
    if (tempName.empty()) return false;
    bool ok = true;
    {
        TFileHandle output = OpenFile(tempName, GENERIC_WRITE, 0, CREATE_ALWAYS);
        ok = bool(output);
        z_stream stream{};
        const bool deflated = entry.Method == 8;
        if (ok && deflated) ok = inflateInit2(&stream, -MAX_WBITS) == Z_OK;
        std::vector<uint8_t> input(65536), produced(65536);
        uint64_t position = dataOffset, left = entry.PackedSize, written = 0;
        uLong crc = crc32(0, nullptr, 0);
        int zresult = Z_OK;
        while (ok && left > 0) {
            const DWORD chunk = DWORD(std::min<uint64_t>(left, input.size()));
            if (!ReadAt(archive, position, input.data(), chunk)) { ok = false; break; }
            position += chunk;
            left -= chunk;
            if (!deflated) {
                crc = crc32(crc, input.data(), chunk);
                written += chunk;
                ok = WriteAll(output.get(), input.data(), chunk);
                continue;
            }
            stream.next_in = input.data();
            stream.avail_in = chunk;
            do {
                stream.next_out = produced.data();
                stream.avail_out = uInt(produced.size());
                zresult = inflate(&stream, Z_NO_FLUSH);
                if (zresult != Z_OK && zresult != Z_STREAM_END) { ok = false; break; }
                const size_t got = produced.size() - stream.avail_out;
                crc = crc32(crc, produced.data(), uInt(got));
                written += got;
                if (!WriteAll(output.get(), produced.data(), got)) { ok = false; break; }
            } while (zresult != Z_STREAM_END && (stream.avail_in > 0 || stream.avail_out == 0));
            if (zresult == Z_STREAM_END) break;
        }
        if (deflated) {
            if (zresult != Z_STREAM_END) ok = false;
            inflateEnd(&stream);
        }
        if (ok) ok = written == entry.Size && crc == entry.Crc;
        if (ok) SetDosWriteTime(output.get(), entry.DosDate, entry.DosTime);
    }
    if (ok) ok = ::MoveFileExW(tempName.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok) ::DeleteFileW(tempName.c_str());
    return ok;
}

}  // namespace

TFileHandle OpenFile(const std::wstring& name, DWORD access, DWORD share, DWORD disposition) {
    HANDLE file = ::CreateFileW(name.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return TFileHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

bool SafeEntryPath(const std::wstring& storedName, std::wstring& relative) {
    relative.clear();
    std::wstring name = storedName;
    for (wchar_t& c : name)
        if (c == L'/') c = L'\\';
    if (name.empty() || name.front() == L'\\' || name.find(L':') != std::wstring::npos) return false;
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= name.size()) {
        size_t stop = name.find(L'\\', start);
        if (stop == std::wstring::npos) stop = name.size();
        const std::wstring part = name.substr(start, stop - start);
        if (part == L"..") {
            if (parts.empty()) return false;
            parts.pop_back();
        } else if (!part.empty() && part != L".") {
            parts.push_back(part);
        }
        start = stop + 1;
    }
    for (size_t i = 0; i < parts.size(); ++i) relative += (i ? L"\\" : L"") + parts[i];
    return true;
}

bool ForceDirs(const std::wstring& folder) {
    std::wstring name = folder;
    if (!name.empty() && (name.back() == L'\\' || name.back() == L'/')) name.pop_back();
    if (name.size() < 3) return true;
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::wstring parent = ParentFolder(name);
    if (!parent.empty() && parent.size() < name.size() && !ForceDirs(parent)) return false;
    return ::CreateDirectoryW(name.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

void SetDosWriteTime(HANDLE file, uint16_t dosDate, uint16_t dosTime) {
    FILETIME utc{};
    if (dosDate == 0 && dosTime == 0) {
        ::GetSystemTimeAsFileTime(&utc);
    } else {
        FILETIME local{};
        if (!::DosDateTimeToFileTime(dosDate, dosTime, &local) || !::LocalFileTimeToFileTime(&local, &utc)) return;
    }
    ::SetFileTime(file, nullptr, nullptr, &utc);
}

int ExtractZipFile(const std::wstring& archive, const std::wstring& folder) {
    const TFileHandle file = OpenFile(archive, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (!file) return -1;
    std::vector<TZipEntry> entries;
    if (!ReadZipDirectory(file.get(), entries)) return -1;
    const std::wstring base = folder.empty() || folder.back() == L'\\' || folder.back() == L'/' ? folder : folder + L"\\";
    for (const TZipEntry& entry : entries) {
        const std::wstring target = base + entry.Relative;
        if (entry.IsFolder) {
            if (!ForceDirs(target)) return -1;
            continue;
        }
        if (!ForceDirs(ParentFolder(target)) || !UnpackZipEntry(file.get(), entry, target)) return -1;
    }
    return 0;
}

std::wstring LZExpandFile(const std::wstring& fileName) {
    std::wstring source = fileName;
    wchar_t expanded[MAX_PATH + 1] = {};
    if (::GetExpandedNameW(source.data(), expanded) != 1) return {};
    // GetExpandedName may drop the folder: the expanded file belongs beside the compressed one.
    std::wstring target = ParentFolder(fileName) + std::wstring(expanded).substr(ParentFolder(expanded).size());
    std::wstring tempName = TempFileBeside(target);
    if (tempName.empty()) return {};
    OFSTRUCT sourceInfo{}, targetInfo{};
    const INT input = ::LZOpenFileW(source.data(), &sourceInfo, OF_READ | OF_SHARE_DENY_WRITE);
    INT output = input < 0 ? -1 : ::LZOpenFileW(tempName.data(), &targetInfo, OF_CREATE);
    const bool copied = input >= 0 && output >= 0 && ::LZCopy(input, output) >= 0;
    if (output >= 0) ::LZClose(output);
    if (input >= 0) ::LZClose(input);
    if (!copied || !::MoveFileExW(tempName.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileW(tempName.c_str());
        return {};
    }
    if (CompareStringOrdinal(target.c_str(), -1, fileName.c_str(), -1, TRUE) != CSTR_EQUAL)
        ::DeleteFileW(fileName.c_str());
    return target;
}

}  // namespace WUpdate
