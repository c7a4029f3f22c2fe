#include "updater/WUpdateExtract.h"

#include <lzexpand.h>
#include <zlib.h>

#include <algorithm>

#include "classlib/FileNames.h"
#include "updater/WUpdateRestart.h"

namespace WUpdate {

namespace {

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }


std::wstring ParentFolder(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

uint64_t FileSize(HANDLE file) {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(file, &size) && size.QuadPart > 0 ? uint64_t(size.QuadPart) : 0;
}

void DeleteWhatever(const std::wstring& name) {
    if (!::DeleteFileW(name.c_str())) {
        ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(name.c_str());
    }
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
// 65,535 entries with names of a few hundred characters stay far below this.
constexpr uint32_t MaxDirectorySize = 64u << 20;

// The whole central directory, read and checked before anything is written; false when
// the archive is damaged or holds an entry we must not or cannot unpack.
bool ReadZipDirectory(HANDLE file, uint64_t fileSize, std::vector<TZipEntry>& entries) {
    if (fileSize < 22) return false;
    // The end record sits in the last 22 bytes plus a comment of at most 65535.
    const uint64_t tailSize = std::min<uint64_t>(fileSize, 22 + 65535);
    std::vector<uint8_t> tail(static_cast<size_t>(tailSize));
    if (!ReadAt(file, fileSize - tailSize, tail.data(), DWORD(tailSize))) return false;
    const uint8_t* end = nullptr;
    for (size_t i = tail.size() - 22 + 1; i-- > 0;)
        if (Get32(&tail[i]) == ZipEndSignature) {
            end = &tail[i];
            break;
        }
    if (!end) return false;
    const uint16_t count = Get16(end + 10);
    const uint32_t directorySize = Get32(end + 12), directoryOffset = Get32(end + 16);
    if (directoryOffset == Zip64Mark || directorySize > MaxDirectorySize ||
        uint64_t(directoryOffset) + directorySize > fileSize)
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
        if (uint64_t(entry.LocalOffset) + 30 + entry.PackedSize > fileSize) return false;
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

// Unpacks the entries of one archive, with the buffers and the inflater shared between
// them: a fresh window and buffer per entry cost more than inflating a small file.
class TZipUnpacker {
public:
    explicit TZipUnpacker(HANDLE archive) : FArchive(archive) {}
    ~TZipUnpacker() {
        if (FInflating) inflateEnd(&FStream);
    }
    TZipUnpacker(const TZipUnpacker&) = delete;
    TZipUnpacker& operator=(const TZipUnpacker&) = delete;

    bool Unpack(const TZipEntry& entry, TArchiveOutput& output) {
        uint8_t local[30];
        if (!ReadAt(FArchive, entry.LocalOffset, local, sizeof local) || Get32(local) != ZipLocalSignature) return false;
        const uint64_t dataOffset = uint64_t(entry.LocalOffset) + 30 + Get16(local + 26) + Get16(local + 28);
        if (!output.Begin(entry.Relative, entry.Size)) return false;
        // Large reads and writes: under Wine each call is a trip through the system.
        const size_t chunk = 1u << 20;
        FInput.resize(std::min<size_t>(chunk, std::max<size_t>(entry.PackedSize, 1)));
        uint64_t position = dataOffset, left = entry.PackedSize;
        uLong crc = crc32(0, nullptr, 0);
        const auto readMore = [&] {
            const DWORD size = DWORD(std::min<uint64_t>(left, FInput.size()));
            if (!ReadAt(FArchive, position, FInput.data(), size)) return DWORD(0);
            position += size;
            left -= size;
            return size;
        };
        if (entry.Method == 0) {
            while (left > 0) {
                const DWORD got = readMore();
                if (got == 0 || !output.Write(FInput.data(), got)) return false;
                crc = crc32(crc, FInput.data(), got);
            }
        } else {
            if (!StartInflating()) return false;
            FOutput.resize(std::min<size_t>(chunk, std::max<size_t>(entry.Size, 1) + 1));
            int result = Z_OK;
            while (result != Z_STREAM_END) {
                if (FStream.avail_in == 0) {
                    if (left == 0) return false;   // the data ends before the stream does
                    const DWORD got = readMore();
                    if (got == 0) return false;
                    FStream.next_in = FInput.data();
                    FStream.avail_in = got;
                }
                FStream.next_out = FOutput.data();
                FStream.avail_out = uInt(FOutput.size());
                result = inflate(&FStream, Z_NO_FLUSH);
                if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) return false;
                const size_t produced = FOutput.size() - FStream.avail_out;
                // Past the declared size the entry stops here, before a byte more is written.
                if (produced > 0 && !output.Write(FOutput.data(), produced)) return false;
                crc = crc32(crc, FOutput.data(), uInt(produced));
                if (result == Z_BUF_ERROR && FStream.avail_in > 0) return false;
            }
        }
        return crc == entry.Crc && output.End(entry.DosDate, entry.DosTime);
    }

private:
    bool StartInflating() {
        if (FInflating) return inflateReset(&FStream) == Z_OK;
        FStream = z_stream{};
        FInflating = inflateInit2(&FStream, -MAX_WBITS) == Z_OK;
        return FInflating;
    }

    HANDLE FArchive;
    z_stream FStream{};
    bool FInflating = false;
    std::vector<uint8_t> FInput, FOutput;
};

}  // namespace

bool ReadAt(HANDLE file, uint64_t offset, void* buffer, DWORD size) {
    OVERLAPPED at{};
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(offset >> 32);
    DWORD got = 0;
    return ::ReadFile(file, buffer, size, &got, &at) && got == size;
}

TFileHandle OpenFile(const std::wstring& name, DWORD access, DWORD share, DWORD disposition) {
    HANDLE file = ::CreateFileW(name.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return TFileHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

bool SafeEntryPath(const std::wstring& storedName, std::wstring& relative) {
    relative.clear();
    std::wstring name = storedName;
    for (wchar_t& c : name)
        if (c == L'/') c = L'\\';
    if (name.empty() || name.front() == L'\\') return false;
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
            if (!IsPlainFileName(part)) return false;
            parts.push_back(part);
        }
        start = stop + 1;
    }
    for (size_t i = 0; i < parts.size(); ++i) relative += (i ? L"\\" : L"") + parts[i];
    return true;
}

bool ForceDirs(const std::wstring& folder, std::vector<std::wstring>* created) {
    std::wstring name = folder;
    if (!name.empty() && (name.back() == L'\\' || name.back() == L'/')) name.pop_back();
    if (name.size() < 3) return true;
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::wstring parent = ParentFolder(name);
    if (!parent.empty() && parent.size() < name.size() && !ForceDirs(parent, created)) return false;
    if (::CreateDirectoryW(name.c_str(), nullptr)) {
        if (created) created->push_back(name);
        return true;
    }
    return ::GetLastError() == ERROR_ALREADY_EXISTS;
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

uint64_t ExpansionLimit(uint64_t archiveSize) {
    constexpr uint64_t Ratio = 100, Floor = 1ull << 20, Cap = 4ull << 30;
    if (archiveSize > Cap / Ratio) return Cap;
    return std::max(Floor, archiveSize * Ratio);
}

bool ReplaceFile(const std::wstring& newFile, const std::wstring& target, DWORD& error) {
    // A rename is one step: the target is either the old file or the new one, never neither.
    if (::MoveFileExW(newFile.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    error = ::GetLastError();
    if (error == ERROR_NOT_SAME_DEVICE) {
        // A copy onto the target could fail half-way: copy beside it, then rename.
        const std::wstring beside = ClassLib::CreateTempFileBeside(target, L"WUPD");
        if (beside.empty()) return false;
        if (!::CopyFileW(newFile.c_str(), beside.c_str(), FALSE)) {
            error = ::GetLastError();
            ::DeleteFileW(beside.c_str());
            return false;
        }
        if (!ReplaceFile(beside, target, error)) {
            ::DeleteFileW(beside.c_str());
            return false;
        }
        ::DeleteFileW(newFile.c_str());
        return true;
    }
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const DWORD guarded = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) || !(attributes & guarded))
        return false;
    ::SetFileAttributesW(target.c_str(), attributes & ~guarded);
    if (::MoveFileExW(newFile.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    error = ::GetLastError();
    ::SetFileAttributesW(target.c_str(), attributes);
    return false;
}

bool ReplaceFiles(const std::vector<TReplacement>& replacements) {
    if (replacements.size() == 1) {
        DWORD error = 0;
        if (ReplaceFile(replacements[0].NewFile, replacements[0].Target, error)) return true;
        ::DeleteFileW(replacements[0].NewFile.c_str());
        return false;
    }
    // Each old file steps aside under a name of its own and is deleted only once every new
    // file is in place; until then it can go back.
    std::vector<std::wstring> backups(replacements.size());
    size_t done = 0;
    for (; done < replacements.size(); ++done) {
        const TReplacement& r = replacements[done];
        const DWORD attributes = ::GetFileAttributesW(r.Target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (attributes & FILE_ATTRIBUTE_DIRECTORY) break;
            const std::wstring backup = ClassLib::CreateTempFileBeside(r.Target, L"WUPD");
            if (backup.empty()) break;
            if (!::MoveFileExW(r.Target.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING)) {
                ::DeleteFileW(backup.c_str());
                break;
            }
            backups[done] = backup;
        }
        if (!::MoveFileExW(r.NewFile.c_str(), r.Target.c_str(), 0)) {
            if (!backups[done].empty()) ::MoveFileExW(backups[done].c_str(), r.Target.c_str(), MOVEFILE_REPLACE_EXISTING);
            break;
        }
    }
    if (done < replacements.size()) {
        // From the last one back: a target named twice gets its files back in order.
        for (size_t i = done; i-- > 0;) {
            if (backups[i].empty())
                ::DeleteFileW(replacements[i].Target.c_str());
            else
                ::MoveFileExW(backups[i].c_str(), replacements[i].Target.c_str(), MOVEFILE_REPLACE_EXISTING);
        }
        for (size_t i = done; i < replacements.size(); ++i) ::DeleteFileW(replacements[i].NewFile.c_str());
        return false;
    }
    for (const std::wstring& backup : backups)
        if (!backup.empty()) DeleteWhatever(backup);
    return true;
}

// ---- TArchiveOutput

TArchiveOutput::TArchiveOutput(const std::wstring& folder)
    : FFolder(folder.empty() || folder.back() == L'\\' || folder.back() == L'/' ? folder : folder + L"\\") {}

TArchiveOutput::~TArchiveOutput() {
    if (!FCommitted) RollBack();
}

bool TArchiveOutput::AddFolder(const std::wstring& relative) { return ForceDirs(FFolder + relative, &FCreatedFolders); }

bool TArchiveOutput::Begin(const std::wstring& relative, uint64_t size) {
    FCurrent.reset();
    const std::wstring target = FFolder + relative;
    const std::wstring parent = ParentFolder(target);
    if (!parent.empty() && parent != FKnownFolder) {
        if (!ForceDirs(parent, &FCreatedFolders)) return false;
        FKnownFolder = parent;
    }
    // A new name is written as it is: nothing to lose, and one file made instead of two.
    HANDLE file = ::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    TFile entry{target, {}};
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
        entry.Temp = ClassLib::CreateTempFileBeside(target, L"WUPD");
        if (entry.Temp.empty()) return false;
        file = ::CreateFileW(entry.Temp.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            ::DeleteFileW(entry.Temp.c_str());
            return false;
        }
    }
    FFiles.push_back(std::move(entry));
    FCurrent.reset(file);
    FDeclared = size;
    FWritten = 0;
    FFailed = false;
    return true;
}

bool TArchiveOutput::Write(const void* data, size_t size) {
    if (!FCurrent || FFailed || size > FDeclared - FWritten) {
        FFailed = true;
        return false;
    }
    DWORD written = 0;
    if (!::WriteFile(FCurrent.get(), data, DWORD(size), &written, nullptr) || written != size) {
        FFailed = true;
        return false;
    }
    FWritten += size;
    return true;
}

bool TArchiveOutput::End(uint16_t dosDate, uint16_t dosTime) {
    if (!FCurrent) return false;
    const bool complete = !FFailed && FWritten == FDeclared;
    if (complete) SetDosWriteTime(FCurrent.get(), dosDate, dosTime);
    FCurrent.reset();
    return complete;
}

void TArchiveOutput::Abandon() {
    FCurrent.reset();
    FFailed = true;
}

bool TArchiveOutput::Commit() {
    if (FCommitted) return true;
    if (FCurrent || FFailed) return false;
    std::vector<TReplacement> replacements;
    for (const TFile& file : FFiles)
        if (!file.Temp.empty()) replacements.push_back({file.Temp, file.Target});
    if (!replacements.empty() && !ReplaceFiles(replacements)) return false;
    FCommitted = true;
    return true;
}

void TArchiveOutput::RollBack() {
    FCurrent.reset();
    for (auto file = FFiles.rbegin(); file != FFiles.rend(); ++file)
        ::DeleteFileW((file->Temp.empty() ? file->Target : file->Temp).c_str());
    for (auto folder = FCreatedFolders.rbegin(); folder != FCreatedFolders.rend(); ++folder)
        ::RemoveDirectoryW(folder->c_str());
    FFiles.clear();
    FCreatedFolders.clear();
}

// ---- archives

int ExtractZipFile(const std::wstring& archive, const std::wstring& folder) {
    const TFileHandle file = OpenFile(archive, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (!file) return -1;
    const uint64_t archiveSize = FileSize(file.get());
    std::vector<TZipEntry> entries;
    if (!ReadZipDirectory(file.get(), archiveSize, entries)) return -1;
    uint64_t declared = 0;
    for (const TZipEntry& entry : entries) declared += entry.Size;
    if (declared > ExpansionLimit(archiveSize)) return -1;
    TArchiveOutput output(folder);
    TZipUnpacker unpacker(file.get());
    for (const TZipEntry& entry : entries) {
        const bool unpacked = entry.IsFolder ? output.AddFolder(entry.Relative) : unpacker.Unpack(entry, output);
        if (!unpacked) return -1;
    }
    return output.Commit() ? 0 : -1;
}

std::wstring LZExpandFile(const std::wstring& fileName) {
    std::wstring source = fileName;
    wchar_t expanded[MAX_PATH + 1] = {};
    if (::GetExpandedNameW(source.data(), expanded) != 1) return {};
    // GetExpandedName may drop the folder: the expanded file belongs beside the compressed one.
    // Its last character comes from the file's header: one such as ":" or "\" would name a
    // stream or another folder.
    const std::wstring expandedName = std::wstring(expanded).substr(ParentFolder(expanded).size());
    if (!IsPlainFileName(expandedName)) return {};
    const std::wstring target = ParentFolder(fileName) + expandedName;
    // An SZDD header declares the expanded size. LZ packs at most about nine to one, so what
    // LZCopy writes stays below ExpansionLimit whatever the header says; a declared size
    // beyond it is a damaged or hostile file.
    bool compressed = false;
    uint32_t declared = 0;
    {
        const TFileHandle probe = OpenFile(fileName, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
        if (!probe) return {};
        uint8_t header[14];
        compressed = ReadAt(probe.get(), 0, header, sizeof header) &&
                     std::equal(header, header + 8, reinterpret_cast<const uint8_t*>("SZDD\x88\xF0\x27\x33"));
        if (compressed) declared = Get32(header + 10);
        if (compressed && declared > ExpansionLimit(FileSize(probe.get()))) return {};
    }
    const std::wstring tempName = ClassLib::CreateTempFileBeside(target, L"WUPD");
    if (tempName.empty()) return {};
    OFSTRUCT sourceInfo{}, targetInfo{};
    std::wstring tempText = tempName;
    const INT input = ::LZOpenFileW(source.data(), &sourceInfo, OF_READ | OF_SHARE_DENY_WRITE);
    INT output = input < 0 ? -1 : ::LZOpenFileW(tempText.data(), &targetInfo, OF_CREATE);
    const LONG copied = input >= 0 && output >= 0 ? ::LZCopy(input, output) : -1;
    if (output >= 0) ::LZClose(output);
    if (input >= 0) ::LZClose(input);
    DWORD error = 0;
    if (copied < 0 || (compressed && uint32_t(copied) != declared) || !ReplaceFile(tempName, target, error)) {
        ::DeleteFileW(tempName.c_str());
        return {};
    }
    if (CompareStringOrdinal(target.c_str(), -1, fileName.c_str(), -1, TRUE) != CSTR_EQUAL)
        ::DeleteFileW(fileName.c_str());
    return target;
}

}  // namespace WUpdate
