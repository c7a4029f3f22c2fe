#pragma once
// Byte streams: the stream base, file and handle streams, memory and string
// streams, and read-only streams over a module's resources.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Object.h"

namespace ClassLib {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
    CLASSLIB_CLASS(TStream, TObject)
public:
    // Read and Write move up to `count` bytes and return how many they moved.
    virtual int Read(void* buffer, int count) = 0;
    virtual int Write(const void* buffer, int count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t position) { Seek(position, soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t size);

    // All or an error: EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* buffer, int count);
    void WriteBuffer(const void* buffer, int count);
    // Copies `count` bytes from the source's position; 0 copies the whole source from its start.
    int64_t CopyFrom(TStream* source, int64_t count);
};

class THandleStream : public TStream {
    CLASSLIB_CLASS(THandleStream, TStream)
public:
    explicit THandleStream(THandle handle) : FHandle(handle) {}
    THandle Handle() const noexcept { return FHandle; }
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;
protected:
    THandle FHandle;
};

// Open modes (one of) combined with share modes (one of).
enum : uint16_t {
    fmCreate = 0xFF00,   // create or truncate, read and write
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
};

class TFileStream : public THandleStream {
    CLASSLIB_CLASS(TFileStream, THandleStream)
public:
    // EFOpenError "Cannot open file "<name>". <system text>" or
    // EFCreateError "Cannot create file "<name>". <system text>".
    TFileStream(const std::wstring& fileName, uint16_t mode);
    ~TFileStream() override;
    const std::wstring& FileName() const noexcept { return FFileName; }
private:
    std::wstring FFileName;
};

// Writes a file through a temporary file beside it and then puts that in place, so a
// write that fails half-way leaves the old file whole. EFCreateError
// "Cannot create file "<name>". <system text>" when either step fails.
void SaveFileSafely(const std::wstring& fileName, const std::function<void(TStream*)>& write);

class TMemoryStream : public TStream {
    CLASSLIB_CLASS(TMemoryStream, TStream)
public:
    TMemoryStream() = default;
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return int64_t(FData.size()); }
    void SetSize(int64_t size) override;
    void Clear();
    uint8_t* Memory() noexcept { return FData.data(); }
    const std::vector<uint8_t>& Bytes() const noexcept { return FData; }
    void LoadFromStream(TStream* stream);
    void LoadFromFile(const std::wstring& fileName);
    void SaveToStream(TStream* stream);
    void SaveToFile(const std::wstring& fileName);
protected:
    std::vector<uint8_t> FData;
    int64_t FPosition = 0;   // may lie beyond the end; a write there fills the gap with zeros
};

// A memory stream over the bytes of an 8-bit string.
class TStringStream : public TMemoryStream {
    CLASSLIB_CLASS(TStringStream, TMemoryStream)
public:
    explicit TStringStream(const std::string& data = std::string());
    std::string DataString() const { return std::string(FData.begin(), FData.end()); }
    std::string ReadString(int count);
    void WriteString(const std::string& text);
};

// Read-only bytes of a resource of a module (null = the program). Names or numeric ids;
// the type defaults to RCDATA. EResNotFound "Resource <name> not found" when missing.
extern const wchar_t* const RT_RCDATA_TYPE;
class TResourceStream : public TStream {
    CLASSLIB_CLASS(TResourceStream, TStream)
public:
    TResourceStream(THandle instance, const std::wstring& name, const wchar_t* type = RT_RCDATA_TYPE);
    TResourceStream(THandle instance, int id, const wchar_t* type = RT_RCDATA_TYPE);
    int Read(void* buffer, int count) override;
    int Write(const void* buffer, int count) override;   // EStreamError: read-only
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return FSize; }
    const void* Memory() const noexcept { return FData; }
private:
    void Initialize(THandle instance, const wchar_t* name, const wchar_t* type, const std::wstring& shownName);
    const uint8_t* FData = nullptr;
    int64_t FSize = 0;
    int64_t FPosition = 0;
};

}  // namespace ClassLib
