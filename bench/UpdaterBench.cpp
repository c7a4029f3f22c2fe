// Times the updater's HTTP download against a plain WinInet read loop in the same program:
// 64 MB from the loopback server, the updater in 4096-byte blocks with messages pumped and
// the file written, the plain loop in 64 KB blocks read and dropped.
// Run inside the servers: python3 tests/updater/loopback_servers.py <wine> UpdaterBench.exe
#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "classlib/FileNames.h"
#include "updater/WUpdate.h"

namespace {

constexpr long long Size = 64ll * 1024 * 1024;

double SecondsOf(const auto& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The plain server's port from the file the server script names, or 0.
int HttpPort() {
    wchar_t path[1024] = {};
    if (!::GetEnvironmentVariableW(L"ATGEN_UPDATER_SERVERS", path, 1024)) return 0;
    std::ifstream in(path);
    std::stringstream json;
    json << in.rdbuf();
    const std::string text = json.str();
    const size_t at = text.find("\"http\":");
    return at == std::string::npos ? 0 : std::atoi(text.c_str() + at + 7);
}

long long PlainRead(const std::wstring& url, size_t blockSize) {
    long long received = 0;
    HINTERNET session = ::InternetOpenW(L"UpdaterBench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    HINTERNET request = ::InternetOpenUrlW(session, url.c_str(), nullptr, 0,
                                           INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    std::vector<char> block(blockSize);
    DWORD got = 0;
    while (request && ::InternetReadFile(request, block.data(), DWORD(block.size()), &got) && got > 0) received += got;
    if (request) ::InternetCloseHandle(request);
    if (session) ::InternetCloseHandle(session);
    return received;
}

}  // namespace

int main() {
    const int port = HttpPort();
    if (port == 0) {
        std::printf("UpdaterBench: start it through tests/updater/loopback_servers.py\n");
        return 0;
    }
    const std::wstring url = L"http://127.0.0.1:" + std::to_wstring(port) + L"/bytes/" + std::to_wstring(Size);
    const std::wstring folder = ClassLib::GetTempDir() + L"UpdaterBench\\";
    ClassLib::ForceDirectories(folder);

    long long plain = 0, small = 0;
    const double plainSeconds = SecondsOf([&] { plain = PlainRead(url, 65536); });
    // For reading the figures: how much of the gap is the block size alone.
    const double smallSeconds = SecondsOf([&] { small = PlainRead(url, 4096); });

    WUpdate::TWebUpdate update(nullptr);
    update.SetURL(L"http://127.0.0.1/");
    update.SetUseWinTempDir(false);
    update.SetTempDirectory(folder);
    bool arrived = false;
    const double updaterSeconds = SecondsOf([&] {
        if (update.StartConnection() == 0) arrived = update.URLGetFile(update.HintConnect(), url, folder, false);
        update.StopConnection();
    });
    const std::wstring file = folder + std::to_wstring(Size);
    ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(folder.c_str());

    const double mb = double(Size) / (1024 * 1024);
    const double plainRate = plain == Size ? mb / plainSeconds : 0;
    const double updaterRate = arrived ? mb / updaterSeconds : 0;
    std::printf("plain WinInet loop, 64 KB reads:       %7.1f MB/s (%.0f MB in %.2f s)\n", plainRate, mb, plainSeconds);
    std::printf("plain WinInet loop, 4 KB reads:        %7.1f MB/s (%.0f MB in %.2f s)\n",
                small == Size ? mb / smallSeconds : 0.0, mb, smallSeconds);
    std::printf("updater URLGetFile, 4 KB, file, pump:  %7.1f MB/s (%.0f MB in %.2f s)%s\n", updaterRate, mb,
                updaterSeconds, arrived ? "" : "  FAILED");
    std::printf("ratio %.2f, goal at least 0.50: %s\n", plainRate > 0 ? updaterRate / plainRate : 0.0,
                plainRate > 0 && updaterRate / plainRate >= 0.5 ? "met" : "not met");
    return 0;
}
