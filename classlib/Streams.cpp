#include "classlib/Streams.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "classlib/Exceptions.h"

namespace ClassLib {

// ---------------------------------------------------------------- TStream

CLASSLIB_IMPLEMENT(TStream, TObject)

int64_t TStream::Size() {
    const int64_t position = Seek(0, soCurrent);
    const int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(int64_t) { throw EStreamError(L"The stream cannot change its size"); }

void TStream::ReadBuffer(void* buffer, int count) {
    if (count > 0 && Read(buffer, count) != count) throw EReadError(L"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int count) {
    if (count > 0 && Write(buffer, count) != count) throw EWriteError(L"Stream write error");
}

int64_t TStream::CopyFrom(TStream* source, int64_t count) {
    if (count == 0) {
        source->SetPosition(0);
        count = source->Size();
    }
    const int64_t total = count;
    std::vector<uint8_t> buffer(size_t(std::min<int64_t>(std::max<int64_t>(count, 1), 0xF000)));
    while (count > 0) {
        const int chunk = int(std::min<int64_t>(count, int64_t(buffer.size())));
        source->ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        count -= chunk;
    }
    return total;
}

// ---------------------------------------------------------------- THandleStream

CLASSLIB_IMPLEMENT(THandleStream, TStream)

int THandleStream::Read(void* buffer, int count) {
    DWORD done = 0;
    if (count <= 0 || !::ReadFile(FHandle, buffer, DWORD(count), &done, nullptr)) return 0;
    return int(done);
}

int THandleStream::Write(const void* buffer, int count) {
    DWORD done = 0;
    if (count <= 0 || !::WriteFile(FHandle, buffer, DWORD(count), &done, nullptr)) return 0;
    return int(done);
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    const DWORD method = origin == soBeginning ? FILE_BEGIN : origin == soCurrent ? FILE_CURRENT : FILE_END;
    if (!::SetFilePointerEx(FHandle, distance, &result, method)) return -1;
    return result.QuadPart;
}

void THandleStream::SetSize(int64_t size) {
    const int64_t position = Position();
    Seek(size, soBeginning);
    if (!::SetEndOfFile(FHandle)) RaiseLastOSError(L"Cannot change the size of the stream");
    if (position < size) Seek(position, soBeginning);
}

// ---------------------------------------------------------------- TFileStream

CLASSLIB_IMPLEMENT(TFileStream, THandleStream)

TFileStream::TFileStream(const std::wstring& fileName, uint16_t mode)
    : THandleStream(INVALID_HANDLE_VALUE), FFileName(fileName) {
    DWORD share = 0;
    switch (mode & 0x00F0) {
    case fmShareExclusive: share = 0; break;
    case fmShareDenyWrite: share = FILE_SHARE_READ; break;
    case fmShareDenyRead: share = FILE_SHARE_WRITE; break;
    case fmShareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: share = FILE_SHARE_READ; break;  // compatibility mode: let others read
    }
    if ((mode & 0xFF00) == fmCreate) {
        FHandle = ::CreateFileW(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        if (FHandle == INVALID_HANDLE_VALUE) {
            const DWORD code = ::GetLastError();
            throw EFCreateError(L"Cannot create file \"" + fileName + L"\". " + SysErrorMessage(code), code);
        }
        return;
    }
    const DWORD access = (mode & 3) == fmOpenWrite ? GENERIC_WRITE
                         : (mode & 3) == fmOpenReadWrite ? GENERIC_READ | GENERIC_WRITE
                                                         : GENERIC_READ;
    FHandle = ::CreateFileW(fileName.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        throw EFOpenError(L"Cannot open file \"" + fileName + L"\". " + SysErrorMessage(code), code);
    }
}

TFileStream::~TFileStream() {
    if (FHandle != INVALID_HANDLE_VALUE) ::CloseHandle(FHandle);
}

void SaveFileSafely(const std::wstring& fileName, const std::function<void(TStream*)>& write) {
    const std::wstring temporary = fileName + L".~" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    try {
        TFileStream stream(temporary, fmCreate | fmShareExclusive);
        write(&stream);
    } catch (const EFCreateError& error) {
        ::DeleteFileW(temporary.c_str());
        throw EFCreateError(L"Cannot create file \"" + fileName + L"\". " + SysErrorMessage(error.ErrorCode()),
                            error.ErrorCode());
    } catch (...) {
        ::DeleteFileW(temporary.c_str());
        throw;
    }
    if (!::MoveFileExW(temporary.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        throw EFCreateError(L"Cannot create file \"" + fileName + L"\". " + SysErrorMessage(code), code);
    }
}

// ---------------------------------------------------------------- TMemoryStream

CLASSLIB_IMPLEMENT(TMemoryStream, TStream)

int TMemoryStream::Read(void* buffer, int count) {
    if (count <= 0 || FPosition >= int64_t(FData.size())) return 0;
    const int done = int(std::min<int64_t>(count, int64_t(FData.size()) - FPosition));
    std::memcpy(buffer, FData.data() + FPosition, size_t(done));
    FPosition += done;
    return done;
}

int TMemoryStream::Write(const void* buffer, int count) {
    if (count <= 0) return 0;
    const int64_t end = FPosition + count;
    if (end > int64_t(FData.size())) FData.resize(size_t(end));
    std::memcpy(FData.data() + FPosition, buffer, size_t(count));
    FPosition = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t target = offset;
    if (origin == soCurrent) target += FPosition;
    else if (origin == soEnd) target += int64_t(FData.size());
    if (target < 0) target = 0;
    FPosition = target;
    return FPosition;
}

void TMemoryStream::SetSize(int64_t size) {
    FData.resize(size_t(std::max<int64_t>(size, 0)));
    if (FPosition > size) FPosition = size;
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream) {
    stream->SetPosition(0);
    const int64_t size = stream->Size();
    std::vector<uint8_t> data(static_cast<size_t>(size));
    if (size > 0) stream->ReadBuffer(data.data(), int(size));
    FData = std::move(data);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::wstring& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TMemoryStream::SaveToStream(TStream* stream) {
    if (!FData.empty()) stream->WriteBuffer(FData.data(), int(FData.size()));
}

void TMemoryStream::SaveToFile(const std::wstring& fileName) {
    SaveFileSafely(fileName, [this](TStream* file) { SaveToStream(file); });
}

// ---------------------------------------------------------------- TStringStream

CLASSLIB_IMPLEMENT(TStringStream, TMemoryStream)

TStringStream::TStringStream(const std::string& data) { FData.assign(data.begin(), data.end()); }

std::string TStringStream::ReadString(int count) {
    std::string text(size_t(std::max(count, 0)), '\0');
    text.resize(size_t(Read(text.data(), int(text.size()))));
    return text;
}

void TStringStream::WriteString(const std::string& text) { Write(text.data(), int(text.size())); }

// ---------------------------------------------------------------- TResourceStream

const wchar_t* const RT_RCDATA_TYPE = RT_RCDATA;

CLASSLIB_IMPLEMENT(TResourceStream, TStream)

TResourceStream::TResourceStream(THandle instance, const std::wstring& name, const wchar_t* type) {
    Initialize(instance, name.c_str(), type, name);
}

TResourceStream::TResourceStream(THandle instance, int id, const wchar_t* type) {
    Initialize(instance, MAKEINTRESOURCEW(id), type, std::to_wstring(id));
}

void TResourceStream::Initialize(THandle instance, const wchar_t* name, const wchar_t* type,
                                 const std::wstring& shownName) {
    HMODULE module = instance ? static_cast<HMODULE>(instance) : ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceW(module, name, type);
    HGLOBAL handle = info ? ::LoadResource(module, info) : nullptr;
    if (!handle) throw EResNotFound(L"Resource " + shownName + L" not found");
    FData = static_cast<const uint8_t*>(::LockResource(handle));
    FSize = ::SizeofResource(module, info);
}

int TResourceStream::Read(void* buffer, int count) {
    if (count <= 0 || FPosition >= FSize) return 0;
    const int done = int(std::min<int64_t>(count, FSize - FPosition));
    std::memcpy(buffer, FData + FPosition, size_t(done));
    FPosition += done;
    return done;
}

int TResourceStream::Write(const void*, int) { throw EStreamError(L"Can't write to a read-only resource stream"); }

int64_t TResourceStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t target = offset;
    if (origin == soCurrent) target += FPosition;
    else if (origin == soEnd) target += FSize;
    FPosition = std::max<int64_t>(target, 0);
    return FPosition;
}

}  // namespace ClassLib
