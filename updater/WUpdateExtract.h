#pragma once
// Unpacking what the updater downloads: ZIP archives, LZ-compressed files, the checks every
// archive entry passes before anything is written, the bounds on what an archive may
// expand to, and putting new files in place without losing the ones they replace; also the
// handle owners the updater's units share.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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

// Reads exactly `size` bytes at `offset` in one positioned read (no seek before it); false
// on a short read or an error.
bool ReadAt(HANDLE file, uint64_t offset, void* buffer, DWORD size);

// The folder path of an archive entry below its target folder: "/" becomes "\", "." parts
// drop out. False for a name that would land outside the folder or nowhere: absolute, with
// a drive or a stream (":"), UNC, ".." parts that climb above the folder, a part that is
// no plain file name (IsPlainFileName: a device, a trailing dot); also for an empty name.
bool SafeEntryPath(const std::wstring& storedName, std::wstring& relative);

// Creates a folder with its missing parents; a trailing "\" or "/" is ignored. True when
// the folder exists afterwards (a name shorter than three characters counts as done).
// `created`, when given, receives the folders made, parents first.
bool ForceDirs(const std::wstring& folder, std::vector<std::wstring>* created = nullptr);

// Sets a file's last-write time from a stored DOS date and time (local time; both 0: now).
void SetDosWriteTime(HANDLE file, uint16_t dosDate, uint16_t dosTime);

// The most an archive of `archiveSize` bytes may expand to, all its entries together: a
// hundred times its size, at least 1 MB, never more than 4 GB. Programs and texts pack far
// less than a hundred to one; more is a bomb, or a declared size to distrust.
uint64_t ExpansionLimit(uint64_t archiveSize);

// Moves a finished file onto its target in one step, so a failure leaves the target as it
// was; a read-only or hidden target is replaced too, and a file on another volume is copied
// beside the target first. On failure `error` holds the system's error code.
bool ReplaceFile(const std::wstring& newFile, const std::wstring& target, DWORD& error);

// Files that must change together: each new file replaces its target (or becomes it), and
// when one of them cannot, the targets already replaced get their old files back. The new
// files are gone either way; false when the folder holds what it held before.
struct TReplacement {
    std::wstring NewFile, Target;
};
bool ReplaceFiles(const std::vector<TReplacement>& replacements);

// The files of one archive on their way into a folder. Each entry is written under a name
// of its own (a new file directly under its name, one that exists beside it) and never
// past the size it declared; Commit puts them all in place together. Until then, and when
// Commit fails, the folder keeps what it held: the new files and folders go again.
class TArchiveOutput {
public:
    explicit TArchiveOutput(const std::wstring& folder);
    ~TArchiveOutput();
    TArchiveOutput(const TArchiveOutput&) = delete;
    TArchiveOutput& operator=(const TArchiveOutput&) = delete;

    // The folder of an entry, relative and checked (SafeEntryPath).
    bool AddFolder(const std::wstring& relative);
    // Starts the file of an entry that declared `size` bytes.
    bool Begin(const std::wstring& relative, uint64_t size);
    // The handle of the file being written (null when none), for a library that writes itself.
    HANDLE Current() const { return FCurrent.get(); }
    // Appends to the current file; false, with nothing written, past its declared size.
    bool Write(const void* data, size_t size);
    // Ends the current file; true when it holds its whole declared size. Both DOS words 0: now.
    bool End(uint16_t dosDate, uint16_t dosTime);
    // Drops the current file (a damaged entry).
    void Abandon();
    // Puts every file in place; false when the folder stayed as it was.
    bool Commit();

private:
    struct TFile {
        std::wstring Target;
        std::wstring Temp;   // empty: written directly as a new file
    };
    void RollBack();

    std::wstring FFolder;   // ends with "\" (or is empty: the current folder)
    std::vector<TFile> FFiles;
    std::vector<std::wstring> FCreatedFolders;
    std::wstring FKnownFolder;   // the last folder known to exist
    TFileHandle FCurrent;
    uint64_t FDeclared = 0, FWritten = 0;
    bool FFailed = false;
    bool FCommitted = false;
};

// Unpacks every entry of a ZIP archive below `folder` with its stored path: stored and
// deflated entries, names in UTF-8 or code page 437. The archive is refused whole, before
// anything is written, for an unsafe name, an encrypted entry, another method, or declared
// sizes beyond ExpansionLimit; an entry that inflates past its declared size stops there.
// A damaged archive leaves the folder as it was. 0 on success, -1 on failure.
int ExtractZipFile(const std::wstring& archive, const std::wstring& folder);

// Expands an LZ-compressed file into the name its header gives (in the same folder) and
// deletes the compressed file. The expansion goes to a new file first: on failure the
// compressed file stays and nothing else changes. A header that declares more than the
// file's ExpansionLimit is refused. The expanded name, or empty on failure.
std::wstring LZExpandFile(const std::wstring& fileName);

}  // namespace WUpdate
