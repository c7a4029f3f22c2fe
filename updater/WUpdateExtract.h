#pragma once
// Unpacking what the updater downloads: ZIP archives, LZ-compressed files, and the
// checks every archive entry passes before anything is written; also the handle owners
// the updater's units share.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace WUpdate {

struct THandleCloser {
    void operator()(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};
using TFileHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, THandleCloser>;

// Owns a WinInet handle (HINTERNET).
struct TInternetCloser {
    void operator()(void* handle) const noexcept;
};
using TInternetHandle = std::unique_ptr<void, TInternetCloser>;

// A file handle, or null when the file cannot be opened (never INVALID_HANDLE_VALUE).
TFileHandle OpenFile(const std::wstring& name, DWORD access, DWORD share, DWORD disposition);

// The folder path of an archive entry below its target folder: "/" becomes "\", "." parts
// drop out. False for a name that would land outside the folder: absolute, with a drive or
// a stream (":"), UNC, or one whose ".." parts climb above the folder; also for an empty name.
bool SafeEntryPath(const std::wstring& storedName, std::wstring& relative);

// Creates a folder with its missing parents; a trailing "\" or "/" is ignored. True when
// the folder exists afterwards (a name shorter than three characters counts as done).
bool ForceDirs(const std::wstring& folder);

// Sets a file's last-write time from a stored DOS date and time (local time; both 0: now).
void SetDosWriteTime(HANDLE file, uint16_t dosDate, uint16_t dosTime);

// Unpacks every entry of a ZIP archive below `folder` with its stored path: stored and
// deflated entries, names in UTF-8 or code page 437. An unsafe name, an encrypted entry,
// another method or a damaged archive fails before or without leaving a broken file.
// 0 on success, -1 on failure.
int ExtractZipFile(const std::wstring& archive, const std::wstring& folder);

// Expands an LZ-compressed file into the name its header gives (in the same folder) and
// deletes the compressed file. The expansion goes to a new file first: on failure the
// compressed file stays and nothing else changes. The expanded name, or empty on failure.
std::wstring LZExpandFile(const std::wstring& fileName);

}  // namespace WUpdate
