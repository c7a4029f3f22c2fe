#include "updater/WUpdateSftp.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <libssh2.h>
#include <libssh2_sftp.h>

#include "classlib/Exceptions.h"
#include "classlib/Strings.h"

namespace WUpdate {

namespace {

constexpr int SocketBufferSize = 65536;
constexpr int LoginTries = 17;

// libssh2 is linked in; it needs its global set-up once, when SFTP is first used.
bool LibraryReady() {
    static const int result = libssh2_init(0);
    return result == 0;
}

std::wstring Text(const std::string& bytes) { return ClassLib::AnsiToString(bytes); }

}  // namespace

std::wstring SftpRemotePath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return L"/" + name;
    return folder.back() == L'/' ? folder + name : folder + L"/" + name;
}

// ---- file

TSftpFile::~TSftpFile() {
    if (FHandle) libssh2_sftp_close_handle(FHandle);
}

TSftpFile& TSftpFile::operator=(TSftpFile&& other) noexcept {
    if (this != &other) {
        if (FHandle) libssh2_sftp_close_handle(FHandle);
        FHandle = other.FHandle;
        other.FHandle = nullptr;
    }
    return *this;
}

long long TSftpFile::Read(uint8_t* buffer, size_t size) {
    return FHandle ? libssh2_sftp_read(FHandle, reinterpret_cast<char*>(buffer), size) : -1;
}

// ---- link

TSftpLink::~TSftpLink() { Close(); }

bool TSftpLink::HasSocket() const { return FSocket != INVALID_SOCKET; }

bool TSftpLink::Connect(const std::wstring& host, int port) {
    Close();
    WSADATA data{};
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        FReport(980, L"Invalid winsock version", 3, 5);
        return false;
    }
    FWinsockStarted = true;
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOW* found = nullptr;
    if (const int code = ::GetAddrInfoW(host.c_str(), std::to_wstring(port).c_str(), &hints, &found); code != 0) {
        FReport(980, ClassLib::SysErrorMessage(DWORD(code)), 3, 5);
        Close();
        return false;
    }
    int lastError = 0;
    for (const ADDRINFOW* address = found; address; address = address->ai_next) {
        const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET) {
            lastError = ::WSAGetLastError();
            break;
        }
        const int buffer = SocketBufferSize, keepAlive = 1;
        ::setsockopt(s, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&buffer), sizeof buffer);
        ::setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&buffer), sizeof buffer);
        ::setsockopt(s, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&keepAlive), sizeof keepAlive);
        if (::connect(s, address->ai_addr, int(address->ai_addrlen)) == 0) {
            FSocket = s;
            break;
        }
        lastError = ::WSAGetLastError();
        ::closesocket(s);
    }
    ::FreeAddrInfoW(found);
    if (FSocket == INVALID_SOCKET) {
        // Unanswered, the run would only see a missing channel: say why here.
        FReport(980, ClassLib::SysErrorMessage(DWORD(lastError)), 3, 5);
        Close();
        return false;
    }
    return true;
}

bool TSftpLink::StartSession(void* owner) {
    if (!LibraryReady()) {
        FReport(980, L"Unable to initialize libssh2.dll", 3, 5);
        return false;
    }
    FSession = libssh2_session_init_ex(nullptr, nullptr, nullptr, owner);
    return FSession != nullptr;
}

std::string TSftpLink::LastSessionError() const {
    char* message = nullptr;
    int length = 0;
    if (FSession) libssh2_session_last_error(FSession, &message, &length, 0);
    return message && length > 0 ? std::string(message, size_t(length)) : std::string("No error.");
}

bool TSftpLink::Login(const std::string& user, const std::string& password) {
    if (!HasSocket() || !FSession) return false;
    if (libssh2_session_startup(FSession, libssh2_socket_t(FSocket)) != 0) {
        FReport(980, Text(LastSessionError()), 3, 5);
        return false;
    }
    libssh2_session_set_blocking(FSession, 1);
    const char* methods = libssh2_userauth_list(FSession, user.c_str(), unsigned(user.size()));
    if (libssh2_userauth_authenticated(FSession) > 0) return true;
    if (!methods) {
        FReport(980, L"Could not get auth list", 3, 5);
        return false;
    }
    std::string lastError;
    for (int attempt = 0; attempt < LoginTries; ++attempt) {
        if (libssh2_userauth_password_ex(FSession, user.c_str(), unsigned(user.size()), password.c_str(),
                                         unsigned(password.size()), nullptr) == 0 &&
            libssh2_userauth_authenticated(FSession) > 0)
            return true;
        lastError = LastSessionError();
    }
    FReport(980, lastError.empty() ? L"Auth repeat limitation." : Text(lastError), 3, 5);
    return false;
}

bool TSftpLink::OpenChannel() {
    if (FSession && !FChannel) FChannel = libssh2_sftp_init(FSession);
    return FChannel != nullptr;
}

bool TSftpLink::FolderOpens(const std::string& path) {
    if (!FChannel) return false;
    LIBSSH2_SFTP_HANDLE* folder =
        libssh2_sftp_open_ex(FChannel, path.c_str(), unsigned(path.size()), 0, 0, LIBSSH2_SFTP_OPENDIR);
    if (!folder) return false;
    libssh2_sftp_close_handle(folder);
    return true;
}

bool TSftpLink::FileSize(const std::string& path, long long& size) {
    LIBSSH2_SFTP_ATTRIBUTES attributes{};
    if (!FChannel ||
        libssh2_sftp_stat_ex(FChannel, path.c_str(), unsigned(path.size()), LIBSSH2_SFTP_STAT, &attributes) != 0)
        return false;
    size = (attributes.flags & LIBSSH2_SFTP_ATTR_SIZE) ? (long long)attributes.filesize : 0;
    return true;
}

TSftpFile TSftpLink::OpenForReading(const std::string& path) {
    if (!FChannel) return TSftpFile();
    return TSftpFile(
        libssh2_sftp_open_ex(FChannel, path.c_str(), unsigned(path.size()), LIBSSH2_FXF_READ, 0, LIBSSH2_SFTP_OPENFILE));
}

unsigned long TSftpLink::LastSftpError() const { return FChannel ? libssh2_sftp_last_error(FChannel) : 0; }

void TSftpLink::Close() {
    if (FChannel) {
        libssh2_sftp_shutdown(FChannel);
        FChannel = nullptr;
    }
    if (FSession) {
        libssh2_session_disconnect_ex(FSession, SSH_DISCONNECT_BY_APPLICATION, "Going to shutdown. Bye.", "");
        libssh2_session_free(FSession);
        FSession = nullptr;
    }
    if (FSocket != INVALID_SOCKET) {
        ::closesocket(SOCKET(FSocket));
        FSocket = INVALID_SOCKET;
    }
    if (FWinsockStarted) {
        ::WSACleanup();
        FWinsockStarted = false;
    }
}

}  // namespace WUpdate
