#pragma once
// The updater's SFTP link: a Winsock socket, an SSH session on it with a password login,
// and an SFTP channel, through libssh2. Closing it says goodbye to the server.
#include <cstdint>
#include <functional>
#include <string>

struct _LIBSSH2_SESSION;
struct _LIBSSH2_SFTP;
struct _LIBSSH2_SFTP_HANDLE;

namespace WUpdate {

// How the link reports a failure: a status number, its text and the two codes.
using TSftpReport = std::function<void(int ident, const std::wstring& text, int statusCode, int errCode)>;

// One open file of the channel, closed with the object.
class TSftpFile {
public:
    explicit TSftpFile(_LIBSSH2_SFTP_HANDLE* handle = nullptr) : FHandle(handle) {}
    ~TSftpFile();
    TSftpFile(TSftpFile&& other) noexcept : FHandle(other.FHandle) { other.FHandle = nullptr; }
    TSftpFile& operator=(TSftpFile&& other) noexcept;
    TSftpFile(const TSftpFile&) = delete;
    TSftpFile& operator=(const TSftpFile&) = delete;
    explicit operator bool() const { return FHandle != nullptr; }
    // Up to `size` bytes; 0 at the end, below 0 on an error.
    long long Read(uint8_t* buffer, size_t size);

private:
    _LIBSSH2_SFTP_HANDLE* FHandle;
};

class TSftpLink {
public:
    explicit TSftpLink(TSftpReport report) : FReport(std::move(report)) {}
    ~TSftpLink();
    TSftpLink(const TSftpLink&) = delete;
    TSftpLink& operator=(const TSftpLink&) = delete;

    // Starts Winsock and connects a socket to the host's first IPv4 address that answers.
    bool Connect(const std::wstring& host, int port);
    bool HasSocket() const;
    // Initialises libssh2 (once for the process) and makes the SSH session.
    bool StartSession(void* owner);
    // The handshake, then up to 17 password tries. The host key is not checked.
    bool Login(const std::string& user, const std::string& password);
    bool OpenChannel();
    bool HasChannel() const { return FChannel != nullptr; }
    // Whether a folder opens for listing (the handle is closed again).
    bool FolderOpens(const std::string& path);
    // The size of a file; false when the server cannot tell it.
    bool FileSize(const std::string& path, long long& size);
    TSftpFile OpenForReading(const std::string& path);
    // The server's status of the last failed SFTP request.
    unsigned long LastSftpError() const;
    // Shuts the channel down, disconnects the session ("Going to shutdown. Bye."), frees it,
    // closes the socket and stops Winsock. Safe to call again.
    void Close();

private:
    std::string LastSessionError() const;
    TSftpReport FReport;
    uintptr_t FSocket = ~uintptr_t(0);   // INVALID_SOCKET while closed
    bool FWinsockStarted = false;
    _LIBSSH2_SESSION* FSession = nullptr;
    _LIBSSH2_SFTP* FChannel = nullptr;
};

// Joins an SFTP folder and a file name with exactly one "/" between them ("/name" for
// no folder).
std::wstring SftpRemotePath(const std::wstring& folder, const std::wstring& name);

}  // namespace WUpdate
