#include "updater/cabfdi.h"

#include <windows.h>

#include <fcntl.h>
#include <fdi.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "updater/WUpdateExtract.h"

namespace cabfdi {

namespace {

using WUpdate::ForceDirs;
using WUpdate::SafeEntryPath;

// What one FDICopy pass knows; FDI hands it back to every notification.
struct TCopyState {
    std::wstring Folder;       // ends with "\" (or is empty: the current folder)
    bool CheckOnly = false;    // the first pass only looks at the names
    bool Unsafe = false;       // a name would leave the folder
    HANDLE Open = nullptr;     // the file being written, if any
    std::wstring OpenTemp, OpenTarget;
    // Files written in full, each still under its temporary name: they go into place
    // together once the whole cabinet has been read.
    std::vector<std::pair<std::wstring, std::wstring>> Written;
};

std::wstring Widen(const char* text, UINT codePage) {
    const int length = ::MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring result(size_t(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text, -1, result.data(), length);
    result.resize(size_t(length - 1));
    return result;
}

std::string Utf8(const std::wstring& text) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string result(size_t(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), length, nullptr, nullptr);
    result.resize(size_t(length - 1));
    return result;
}

// The callbacks run inside cabinet.dll: nothing in them may throw.
FNALLOC(CabAlloc) { return std::malloc(cb); }
FNFREE(CabFree) { std::free(pv); }

// FDI opens only the cabinet through this; we hand it UTF-8 names, so any path works.
FNOPEN(CabOpen) {
    (void)pmode;
    const bool writing = (oflag & (_O_WRONLY | _O_RDWR)) != 0;
    const DWORD disposition = (oflag & _O_CREAT) ? ((oflag & _O_EXCL) ? CREATE_NEW : OPEN_ALWAYS) : OPEN_EXISTING;
    HANDLE file = ::CreateFileW(Widen(pszFile, CP_UTF8).c_str(), writing ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                                FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? -1 : INT_PTR(file);
}

FNREAD(CabRead) {
    DWORD got = 0;
    return ::ReadFile(HANDLE(hf), pv, cb, &got, nullptr) ? got : UINT(-1);
}

FNWRITE(CabWrite) {
    DWORD written = 0;
    return ::WriteFile(HANDLE(hf), pv, cb, &written, nullptr) ? written : UINT(-1);
}

FNCLOSE(CabClose) { return ::CloseHandle(HANDLE(hf)) ? 0 : -1; }

FNSEEK(CabSeek) {
    const DWORD method = seektype == SEEK_CUR ? FILE_CURRENT : seektype == SEEK_END ? FILE_END : FILE_BEGIN;
    return __LONG32(::SetFilePointer(HANDLE(hf), dist, nullptr, method));
}

INT_PTR CopyFileNotice(TCopyState& state, const FDINOTIFICATION& notice) {
    // The library hands a stored name such as "..\..\evil.txt" over as it is: check it here.
    const std::wstring stored = Widen(notice.psz1, (notice.attribs & _A_NAME_IS_UTF) ? CP_UTF8 : CP_ACP);
    std::wstring relative;
    if (!SafeEntryPath(stored, relative) || relative.empty()) {
        state.Unsafe = true;
        return -1;
    }
    if (state.CheckOnly) return 0;
    const std::wstring target = state.Folder + relative;
    const size_t slash = target.find_last_of(L'\\');
    if (slash != std::wstring::npos && !ForceDirs(target.substr(0, slash + 1))) return -1;
    wchar_t temp[MAX_PATH + 1] = {};
    const std::wstring tempFolder = slash == std::wstring::npos ? L"." : target.substr(0, slash + 1);
    if (!::GetTempFileNameW(tempFolder.c_str(), L"WUPD", 0, temp)) return -1;
    HANDLE file = ::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ::DeleteFileW(temp);
        return -1;
    }
    state.Open = file;
    state.OpenTemp = temp;
    state.OpenTarget = target;
    return INT_PTR(file);
}

INT_PTR CloseFileNotice(TCopyState& state, const FDINOTIFICATION& notice) {
    HANDLE file = HANDLE(notice.hf);
    WUpdate::SetDosWriteTime(file, notice.date, notice.time);
    ::CloseHandle(file);
    state.Open = nullptr;
    state.Written.emplace_back(state.OpenTemp, state.OpenTarget);
    state.OpenTemp.clear();
    return TRUE;
}

FNFDINOTIFY(CabNotify) {
    TCopyState& state = *static_cast<TCopyState*>(pfdin->pv);
    switch (fdint) {
    case fdintCOPY_FILE: return CopyFileNotice(state, *pfdin);
    case fdintCLOSE_FILE_INFO: return CloseFileNotice(state, *pfdin);
    default: return 0;
    }
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

}  // namespace

int ExtractCabinet(const std::wstring& cabinet, const std::wstring& folder) {
    {
        const WUpdate::TFileHandle probe = WUpdate::OpenFile(cabinet, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
        if (!probe) return -1;
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
    std::string path = Utf8(cabinet);
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
        TCopyState state;
        state.Folder = folder.empty() || folder.back() == L'\\' ? folder : folder + L"\\";
        // Two passes: every stored name is checked before the first file is written.
        state.CheckOnly = true;
        ok = copy(context, name.data(), cabinetFolder.data(), 0, CabNotify, nullptr, &state) && !state.Unsafe;
        if (ok) {
            state.CheckOnly = false;
            ok = copy(context, name.data(), cabinetFolder.data(), 0, CabNotify, nullptr, &state) && !state.Unsafe;
        }
        if (state.Open) {
            // A damaged cabinet stops in the middle of a file: drop what was written of it.
            ::CloseHandle(state.Open);
            ::DeleteFileW(state.OpenTemp.c_str());
        }
        for (const auto& [temp, target] : state.Written) {
            if (ok && !::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) ok = false;
            if (!ok) ::DeleteFileW(temp.c_str());
        }
    }
    if (!destroy(context)) ok = false;
    return ok ? 0 : -1;
}

}  // namespace cabfdi
