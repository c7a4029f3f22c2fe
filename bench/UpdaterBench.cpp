// The updater's speed, each figure beside what the same work costs without the updater:
//   - HTTP download: 64 MB from the loopback server through URLGetFile against a plain
//     WinInet read loop in the same program;
//   - the wizard's download: the same file through the update wizard's download page (its
//     progress bars and label live) against the plain loop;
//   - ZIP extraction: archives made here, unpacked by ExtractZipFile, against inflating
//     the same entries in memory.
// The network figures need the servers and a screen:
//   python3 tests/updater/loopback_servers.py <wine> UpdaterBench.exe   (under Xvfb)
// Without the servers only the ZIP figures are printed.
#include <windows.h>
#include <wininet.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "classlib/Application.h"
#include "classlib/ProgressBar.h"
#include "classlib/StandardControls.h"
#include "graphics/AdvGDIPStartup.h"
#include "tests/updater/ArchiveFixtures.h"
#include "classlib/FileNames.h"
#include "classlib/Strings.h"
#include "updater/WUpdate.h"
#include "updater/WUpdateExtract.h"
#include "updater/WUpdateWiz.h"
#include "updater/WuWizForm.h"

namespace {

constexpr long long Size = 120ll * 1024 * 1024;

double SecondsOf(const auto& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A value of the servers' flat JSON file, or empty.
std::string ServerValue(const std::string& key) {
    wchar_t path[1024] = {};
    if (!::GetEnvironmentVariableW(L"ATGEN_UPDATER_SERVERS", path, 1024)) return {};
    std::ifstream in(path);
    std::stringstream json;
    json << in.rdbuf();
    const std::string text = json.str();
    size_t at = text.find("\"" + key + "\":");
    if (at == std::string::npos) return {};
    at = text.find(':', at) + 1;
    while (at < text.size() && text[at] == ' ') ++at;
    std::string value;
    if (text[at] == '"') {
        for (++at; at < text.size() && text[at] != '"'; ++at) {
            if (text[at] == '\\') ++at;
            value += text[at];
        }
    } else {
        while (at < text.size() && text[at] != ',' && text[at] != '}') value += text[at++];
    }
    return value;
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

double Rate(long long bytes, double seconds) { return seconds > 0 ? double(bytes) / (1024 * 1024) / seconds : 0; }

void PrintRatio(const char* what, double rate, double plainRate, double goal) {
    const double ratio = plainRate > 0 ? rate / plainRate : 0;
    std::printf("%s: ratio %.2f, goal at least %.2f: %s\n", what, ratio, goal, ratio >= goal ? "met" : "not met");
}

// ---- ZIP

struct TZipEntryData {
    std::string Name, Packed, Data;
};

// Text-like bytes: words of a small vocabulary, so deflate packs them about four to one.
std::string SampleText(size_t size, uint32_t seed) {
    static const char* const words[] = {"update ", "file ", "version ", "the ", "of ", "command ", "AT+CMD=",
                                        "1.0.0.5\r\n", "download ", "server ", "window ", "status ", "0x3F ", "{\r\n"};
    std::string text;
    text.reserve(size + 16);
    uint32_t state = seed * 2654435761u + 1;
    while (text.size() < size) {
        state = state * 1664525u + 1013904223u;
        text += words[(state >> 16) % std::size(words)];
    }
    text.resize(size);
    return text;
}

// A ZIP archive of `count` deflated entries of `entrySize` bytes each.
std::string MakeArchive(int count, size_t entrySize, std::vector<TZipEntryData>& entries) {
    std::vector<UpdaterTests::TZipItem> items;
    for (int i = 0; i < count; ++i) {
        const std::string data = SampleText(entrySize, uint32_t(i));
        TZipEntryData entry{"folder" + std::to_string(i % 8) + "/file" + std::to_string(i) + ".txt", UpdaterTests::ArchiveDetail::RawDeflate(data, 6), data};
        UpdaterTests::TZipItem item{entry.Name, entry.Data};
        item.Packed = entry.Packed;
        items.push_back(std::move(item));
        entries.push_back(std::move(entry));
    }
    return UpdaterTests::MakeZip(items);
}

// Inflates every entry in memory into one reused buffer: what the data costs by itself.
void InflateAll(const std::vector<TZipEntryData>& entries, std::vector<uint8_t>& buffer) {
    for (const TZipEntryData& entry : entries) {
        z_stream stream{};
        inflateInit2(&stream, -MAX_WBITS);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(entry.Packed.data()));
        stream.avail_in = uInt(entry.Packed.size());
        stream.next_out = buffer.data();
        stream.avail_out = uInt(buffer.size());
        inflate(&stream, Z_FINISH);
        inflateEnd(&stream);
    }
}

// Writes the entries' data as plain files, with the platform's calls and nothing else:
// what creating and filling the same files costs by itself.
void WriteFilesOnly(const std::vector<TZipEntryData>& entries, const std::wstring& folder) {
    for (const TZipEntryData& entry : entries) {
        std::wstring name = folder + ClassLib::UTF8Decode(entry.Name);
        for (wchar_t& c : name)
            if (c == L'/') c = L'\\';
        ::CreateDirectoryW(ClassLib::ExtractFileDir(name).c_str(), nullptr);
        HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(file, entry.Data.data(), DWORD(entry.Data.size()), &written, nullptr);
        ::CloseHandle(file);
    }
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + L"\\");
            else
                ::DeleteFileW((folder + name).c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

void BenchZip(const char* title, int count, size_t entrySize) {
    std::vector<TZipEntryData> entries;
    const std::string archive = MakeArchive(count, entrySize, entries);
    const std::wstring folder = ClassLib::GetTempDir() + L"UpdaterBenchZip\\";
    RemoveTree(folder);
    ClassLib::ForceDirectories(folder);
    const std::wstring file = folder + L"archive.zip";
    {
        std::ofstream out(file.c_str(), std::ios::binary);
        out << archive;
    }
    const long long total = (long long)count * (long long)entrySize;
    std::vector<uint8_t> buffer(entrySize + 1);
    InflateAll(entries, buffer);   // once untimed: caches and the allocator warm
    double inflateSeconds = 1e9, extractSeconds = 1e9, writeSeconds = 1e9;
    int result = 0;
    // The best of three runs each: the figures are about the code, not the machine's hiccups.
    for (int run = 0; run < 3; ++run) {
        inflateSeconds = std::min(inflateSeconds, SecondsOf([&] { InflateAll(entries, buffer); }));
        const std::wstring target = folder + L"out" + std::to_wstring(run) + L"\\";
        extractSeconds = std::min(extractSeconds, SecondsOf([&] { result |= WUpdate::ExtractZipFile(file, target); }));
        RemoveTree(target);
        ClassLib::ForceDirectories(target);
        writeSeconds = std::min(writeSeconds, SecondsOf([&] { WriteFilesOnly(entries, target); }));
        RemoveTree(target);
    }
    RemoveTree(folder);
    const double inflateRate = Rate(total, inflateSeconds), extractRate = Rate(total, extractSeconds);
    std::printf("%s (%d entries, %.0f MB, packed %.1f MB):\n", title, count, double(total) / (1024 * 1024),
                double(archive.size()) / (1024 * 1024));
    std::printf("  raw inflate in memory:      %7.1f MB/s (%.3f s)\n", inflateRate, inflateSeconds);
    std::printf("  ExtractZipFile to files:    %7.1f MB/s (%.3f s)%s\n", extractRate, extractSeconds,
                result == 0 ? "" : "  FAILED");
    std::printf("  the files written plainly:  %7.1f MB/s (%.3f s), no inflating\n", Rate(total, writeSeconds),
                writeSeconds);
    PrintRatio("  ZIP extraction against raw inflate", extractRate, inflateRate, 0.5);
}

// Downloads `url` through the wizard's download page: a real form on the screen, its bars
// and label fed by the updater. With `everyBlock` the page is drawn and messages pumped
// for every 4 KB block, as the wizard did before.
bool WizardDownload(const std::wstring& url, const std::wstring& folder, bool everyBlock, double& seconds) {
    WUpdate::TWebUpdate update(nullptr);
    update.SetURL(L"http://127.0.0.1/");
    update.SetUseWinTempDir(false);
    update.SetTempDirectory(folder);
    update.SetUpdateUpdate(WUpdate::wuuSilent);
    WUpdate::TFileDescription* file = update.FileList()->Add();
    file->URL = url;
    file->TargetDir = folder;
    file->FileSize = Size;
    auto* form = new WuWizForm::TWUWIZ(nullptr);
    form->WebUpdate = &update;
    form->Show();
    update.OnFileProgress = [form, everyBlock](ClassLib::TObject* sender, const std::wstring& name, long long pos,
                                               long long size) {
        if (!everyBlock) {
            form->WebUpdateFileProgress(sender, name, pos, size);
            return;
        }
        form->FileLabel->SetCaption(ClassLib::ExtractFileName(name));
        form->FileProgress->SetRange(0, int(size));
        form->FileProgress->SetPosition(int(pos));
        form->TotalProgress->SetRange(0, int(size));
        form->TotalProgress->SetPosition(int(pos));
        ClassLib::Application->ProcessMessages();
    };
    update.OnProgressCancel = [form](ClassLib::TObject* sender, bool& cancel) { form->WebUpdateCancel(sender, cancel); };
    bool arrived = false;
    update.OnFileDownloaded = [&arrived](ClassLib::TObject*, const std::wstring&) { arrived = true; };
    seconds = SecondsOf([&] {
        if (update.StartConnection() == 0) form->RunDownload();
    });
    update.StopConnection();
    form->BeforeDestruction();
    delete form;
    ::DeleteFileW((folder + ClassLib::ExtractFileName(url)).c_str());
    return arrived;
}

}  // namespace

int main(int argc, char** argv) {
    // Figures as they come, also through a pipe: a slow part shows where it is.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const bool networkOnly = argc > 1 && std::string(argv[1]) == "--network";
    if (!networkOnly) {
        BenchZip("ZIP, one large entry", 1, 64u * 1024 * 1024);
        BenchZip("ZIP, 64 entries of 1 MB", 64, 1024u * 1024);
        BenchZip("ZIP, many small entries", 2000, 32u * 1024);
    }

    const int port = std::atoi(ServerValue("http").c_str());
    if (port == 0) {
        std::printf("network figures: start it through tests/updater/loopback_servers.py\n");
        return 0;
    }
    const AdvGDIPStartup::TGdiplusSession gdiplus;
    const std::wstring url = L"http://127.0.0.1:" + std::to_wstring(port) + L"/bytes/" + std::to_wstring(Size);
    const std::wstring folder = ClassLib::GetTempDir() + L"UpdaterBench\\";
    ClassLib::ForceDirectories(folder);
    const double mb = double(Size) / (1024 * 1024);

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
    ::DeleteFileW((folder + std::to_wstring(Size)).c_str());

    double wizardSeconds = 0, everyBlockSeconds = 0;
    const bool wizardArrived = WizardDownload(url, folder, false, wizardSeconds);
    // The old way takes minutes over the whole file: a smaller one shows its rate.
    const long long everyBlockSize = 16ll << 20;
    const bool everyBlockArrived = WizardDownload(
        L"http://127.0.0.1:" + std::to_wstring(port) + L"/bytes/" + std::to_wstring(everyBlockSize), folder, true,
        everyBlockSeconds);
    ::RemoveDirectoryW(folder.c_str());

    const double plainRate = plain == Size ? mb / plainSeconds : 0;
    const double updaterRate = arrived ? mb / updaterSeconds : 0;
    const double wizardRate = wizardArrived ? mb / wizardSeconds : 0;
    std::printf("HTTP download of %.0f MB from the loopback server:\n", mb);
    std::printf("  plain WinInet loop, 64 KB reads:        %7.1f MB/s (%.2f s)\n", plainRate, plainSeconds);
    std::printf("  plain WinInet loop, 4 KB reads:         %7.1f MB/s (%.2f s)\n",
                small == Size ? mb / smallSeconds : 0.0, smallSeconds);
    std::printf("  updater URLGetFile, 4 KB, file, pump:   %7.1f MB/s (%.2f s)%s\n", updaterRate, updaterSeconds,
                arrived ? "" : "  FAILED");
    std::printf("  wizard's download page:                 %7.1f MB/s (%.2f s)%s\n", wizardRate, wizardSeconds,
                wizardArrived ? "" : "  FAILED");
    std::printf("  the page drawn for every block (before): %6.1f MB/s (16 MB in %.2f s)%s\n",
                everyBlockArrived ? Rate(everyBlockSize, everyBlockSeconds) : 0.0, everyBlockSeconds,
                everyBlockArrived ? "" : "  FAILED");
    PrintRatio("  updater download against the plain loop", updaterRate, plainRate, 0.5);
    PrintRatio("  wizard's download against URLGetFile", wizardRate, updaterRate, 0.8);
    return 0;
}
