#include "updater/cabfdi.h"

#include <windows.h>

#include <fcntl.h>
#include <fdi.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "classlib/Strings.h"
#include "updater/WUpdateExtract.h"

namespace cabfdi {

namespace {

using WUpdate::SafeEntryPath;
using WUpdate::TArchiveOutput;

// What one FDICopy pass knows; FDI hands it back to every notification.
struct TCopyState {
    bool CheckOnly = false;     // the first pass only looks at the names and sizes
    bool Unsafe = false;        // a name would leave the folder
    uint64_t Declared = 0;      // the sizes of all files together, as the cabinet states them
    TArchiveOutput* Output = nullptr;
};

// FDI's write and close callbacks get no context: the pass running on this thread.
thread_local TCopyState* ActiveCopy = nullptr;

bool IsOutput(INT_PTR hf) {
    return ActiveCopy && ActiveCopy->Output && ActiveCopy->Output->Current() &&
           HANDLE(hf) == ActiveCopy->Output->Current();
}

// The callbacks run inside cabinet.dll: nothing in them may throw.
FNALLOC(CabAlloc) { return std::malloc(cb); }
FNFREE(CabFree) { std::free(pv); }

// FDI opens only cabinets through this, for reading; we hand it UTF-8 names, so any path works.
FNOPEN(CabOpen) {
    (void)pmode;
    if (oflag & (_O_WRONLY | _O_RDWR | _O_CREAT)) return -1;
    HANDLE file = ::CreateFileW(ClassLib::UTF8Decode(pszFile).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? -1 : INT_PTR(file);
}

FNREAD(CabRead) {
    DWORD got = 0;
    return ::ReadFile(HANDLE(hf), pv, cb, &got, nullptr) ? got : UINT(-1);
}

// Only the files being unpacked are written: through the output, which stops a file at
// the size the cabinet declared for it.
FNWRITE(CabWrite) {
    if (!IsOutput(hf)) return UINT(-1);
    return ActiveCopy->Output->Write(pv, cb) ? cb : UINT(-1);
}

FNCLOSE(CabClose) {
    if (IsOutput(hf)) {
        ActiveCopy->Output->Abandon();   // FDI gave up on the file it was writing
        return 0;
    }
    return ::CloseHandle(HANDLE(hf)) ? 0 : -1;
}

FNSEEK(CabSeek) {
    const DWORD method = seektype == SEEK_CUR ? FILE_CURRENT : seektype == SEEK_END ? FILE_END : FILE_BEGIN;
    return __LONG32(::SetFilePointer(HANDLE(hf), dist, nullptr, method));
}

INT_PTR CopyFileNotice(TCopyState& state, const FDINOTIFICATION& notice) {
    // The library hands a stored name such as "..\..\evil.txt" over as it is: check it here.
    const UINT codePage = (notice.attribs & _A_NAME_IS_UTF) ? CP_UTF8 : CP_ACP;
    const std::wstring stored = ClassLib::AnsiToString(notice.psz1, codePage);
    std::wstring relative;
    if (!SafeEntryPath(stored, relative) || relative.empty()) {
        state.Unsafe = true;
        return -1;
    }
    if (state.CheckOnly) {
        state.Declared += uint32_t(notice.cb);
        return 0;
    }
    if (!state.Output->Begin(relative, uint32_t(notice.cb))) return -1;
    return INT_PTR(state.Output->Current());
}

FNFDINOTIFY(CabNotify) {
    TCopyState& state = *static_cast<TCopyState*>(pfdin->pv);
    switch (fdint) {
        case fdintCOPY_FILE: return CopyFileNotice(state, *pfdin);
        case fdintCLOSE_FILE_INFO: return state.Output->End(pfdin->date, pfdin->time) ? TRUE : FALSE;
        // An update is one cabinet: a name of a "next cabinet" in it is not followed.
        case fdintNEXT_CABINET: return -1;
        default: return 0;
    }
}

// ---- the cabinet checked before the library reads it

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Get32(const uint8_t* p) { return uint32_t(Get16(p)) | uint32_t(Get16(p + 2)) << 16; }

using WUpdate::ReadAt;

// One folder's data blocks, MSZIP ones inflated as the library would: each a deflate
// stream of its own after "CK", with the block before as its history, and exactly the size
// it states. `total` receives the folder's unpacked size.
bool CheckFolderData(HANDLE file, uint64_t fileSize, uint64_t offset, unsigned blocks, unsigned type,
                     unsigned dataReserve, uint64_t& total) {
    constexpr unsigned MaxUnpacked = 32768, MaxPacked = 32768 + 6144;
    std::vector<uint8_t> packed(MaxPacked), history, unpacked(MaxUnpacked + 1);
    z_stream stream{};
    if (type == 1 && inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    struct TEnd {
        z_stream& Stream;
        bool Used;
        ~TEnd() {
            if (Used) inflateEnd(&Stream);
        }
    } end{stream, type == 1};
    total = 0;
    for (unsigned block = 0; block < blocks; ++block) {
        uint8_t header[8];
        if (offset + 8 + dataReserve > fileSize || !ReadAt(file, offset, header, 8)) return false;
        const unsigned size = Get16(header + 4), unpackedSize = Get16(header + 6);
        offset += 8 + dataReserve;
        if (size > MaxPacked || unpackedSize > MaxUnpacked || offset + size > fileSize) return false;
        if (size && !ReadAt(file, offset, packed.data(), size)) return false;
        offset += size;
        total += unpackedSize;
        if (type == 0) {
            if (size != unpackedSize) return false;
            continue;
        }
        if (size < 2 || packed[0] != 'C' || packed[1] != 'K') return false;
        if (inflateReset(&stream) != Z_OK) return false;
        if (!history.empty() && inflateSetDictionary(&stream, history.data(), uInt(history.size())) != Z_OK) return false;
        stream.next_in = packed.data() + 2;
        stream.avail_in = size - 2;
        stream.next_out = unpacked.data();
        stream.avail_out = uInt(unpacked.size());
        if (inflate(&stream, Z_FINISH) != Z_STREAM_END || stream.total_out != unpackedSize) return false;
        history.assign(unpacked.begin(), unpacked.begin() + unpackedSize);
    }
    return true;
}

// The cabinet's whole structure, read before the library sees it. Wine: its cabinet
// library writes past its buffers on a damaged MSZIP block (a page fault that ends the
// program), and trusts the offsets and sizes it reads. A cabinet of a set (continued from
// or in another file) and the LZX and Quantum methods, whose data cannot be checked here,
// are refused.
bool CheckCabinet(HANDLE file) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart < 36) return false;
    const uint64_t fileSize = uint64_t(size.QuadPart);
    uint8_t header[36];
    if (!ReadAt(file, 0, header, sizeof header) || Get32(header) != 0x4643534D) return false;   // "MSCF"
    const uint32_t cabinetSize = Get32(header + 8), filesOffset = Get32(header + 16);
    const unsigned folders = Get16(header + 26), files = Get16(header + 28), flags = Get16(header + 30);
    if (cabinetSize > fileSize || header[25] != 1 || (flags & ~4u) != 0) return false;
    uint64_t at = 36;
    unsigned folderReserve = 0, dataReserve = 0;
    if (flags & 4) {
        uint8_t reserve[4];
        if (!ReadAt(file, at, reserve, 4)) return false;
        at += 4 + Get16(reserve);
        folderReserve = reserve[2];
        dataReserve = reserve[3];
    }
    std::vector<uint64_t> folderSizes;
    for (unsigned i = 0; i < folders; ++i) {
        uint8_t entry[8];
        if (!ReadAt(file, at, entry, 8)) return false;
        at += 8 + folderReserve;
        const unsigned type = Get16(entry + 6) & 0x000F;
        uint64_t unpacked = 0;
        if (type > 1 || !CheckFolderData(file, fileSize, Get32(entry), Get16(entry + 4), type, dataReserve, unpacked))
            return false;
        folderSizes.push_back(unpacked);
    }
    at = filesOffset;
    for (unsigned i = 0; i < files; ++i) {
        uint8_t entry[16 + 257];
        const DWORD wanted = DWORD(std::min<uint64_t>(sizeof entry, fileSize > at ? fileSize - at : 0));
        if (wanted < 17 || !ReadAt(file, at, entry, wanted)) return false;
        const uint32_t fileLength = Get32(entry), start = Get32(entry + 4);
        const unsigned folder = Get16(entry + 8);
        const uint8_t* nameEnd = std::find(entry + 16, entry + wanted, uint8_t(0));
        if (folder >= folderSizes.size() || uint64_t(start) + fileLength > folderSizes[folder] || nameEnd == entry + wanted)
            return false;
        at += 16 + (nameEnd - (entry + 16)) + 1;
    }
    return true;
}

using TFDICreate = HFDI(DIAMONDAPI*)(PFNALLOC, PFNFREE, PFNOPEN, PFNREAD, PFNWRITE, PFNCLOSE, PFNSEEK, int, PERF);
using TFDIIsCabinet = BOOL(DIAMONDAPI*)(HFDI, INT_PTR, PFDICABINETINFO);
using TFDICopy = BOOL(DIAMONDAPI*)(HFDI, char*, char*, int, PFNFDINOTIFY, PFNFDIDECRYPT, void*);
using TFDIDestroy = BOOL(DIAMONDAPI*)(HFDI);

struct TLibraryFreer {
    void operator()(HMODULE module) const noexcept { ::FreeLibrary(module); }
};

template <typename T> T Lookup(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Sets the pass FDI's callbacks see for one scope.
class TActiveCopy {
public:
    explicit TActiveCopy(TCopyState& state) { ActiveCopy = &state; }
    ~TActiveCopy() { ActiveCopy = nullptr; }
    TActiveCopy(const TActiveCopy&) = delete;
    TActiveCopy& operator=(const TActiveCopy&) = delete;
};

}  // namespace

int ExtractCabinet(const std::wstring& cabinet, const std::wstring& folder) {
    uint64_t cabinetSize = 0;
    {
        const WUpdate::TFileHandle probe = WUpdate::OpenFile(cabinet, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
        LARGE_INTEGER size{};
        if (!probe || !::GetFileSizeEx(probe.get(), &size) || !CheckCabinet(probe.get())) return -1;
        cabinetSize = uint64_t(size.QuadPart);
    }
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, TLibraryFreer> library(::LoadLibraryW(L"cabinet.dll"));
    if (!library) return -1;
    const auto create = Lookup<TFDICreate>(library.get(), "FDICreate");
    const auto isCabinet = Lookup<TFDIIsCabinet>(library.get(), "FDIIsCabinet");
    const auto copy = Lookup<TFDICopy>(library.get(), "FDICopy");
    const auto destroy = Lookup<TFDIDestroy>(library.get(), "FDIDestroy");
    if (!create || !isCabinet || !copy || !destroy) return -1;

    ERF error{};
    HFDI context = create(CabAlloc, CabFree, CabOpen, CabRead, CabWrite, CabClose, CabSeek, cpu80386, &error);
    if (!context) return -1;
    std::string path = ClassLib::UTF8Encode(cabinet);
    bool ok = false;
    INT_PTR file = CabOpen(path.data(), _O_BINARY | _O_RDONLY, 0);
    if (file != -1) {
        FDICABINETINFO info{};
        ok = isCabinet(context, file, &info) != FALSE;
        CabClose(file);
    }
    if (ok) {
        const size_t slash = path.find_last_of('\\');
        std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        std::string cabinetFolder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        TArchiveOutput output(folder);
        TCopyState state;
        state.Output = &output;
        const TActiveCopy active(state);
        // Two passes: every stored name and the sizes they declare are checked before the
        // first file is written.
        state.CheckOnly = true;
        ok = copy(context, name.data(), cabinetFolder.data(), 0, CabNotify, nullptr, &state) && !state.Unsafe &&
             state.Declared <= WUpdate::ExpansionLimit(cabinetSize);
        if (ok) {
            state.CheckOnly = false;
            ok = copy(context, name.data(), cabinetFolder.data(), 0, CabNotify, nullptr, &state) && !state.Unsafe;
        }
        // The files go into place together, or the folder stays as it was.
        ok = ok && output.Commit();
    }
    if (!destroy(context)) ok = false;
    return ok ? 0 : -1;
}

}  // namespace cabfdi
