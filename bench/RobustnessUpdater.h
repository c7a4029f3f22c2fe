#pragma once
// The updater's parsers of outside data for bench/Robustness.h: the update-control file as
// a check reads it, and ZIP, CAB and LZ files unpacked into a scratch folder that must hold
// nothing outside the extraction folder afterwards. (The login dialog parses nothing; a
// what's-new text is only looked at for an RTF mark before the controls show it.)
// A template over bench/Robustness.h's parser list, so that this header needs nothing of it.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/Strings.h"
#include "tests/updater/ArchiveFixtures.h"
#include "updater/WUpdate.h"
#include "updater/WUpdateExtract.h"
#include "updater/cabfdi.h"

namespace Robustness {

using TUpdaterBytes = std::vector<std::uint8_t>;

inline void WriteUpdaterInput(const std::wstring& fileName, const TUpdaterBytes& bytes) {
    HANDLE file = ::CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write the input file");
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    ::CloseHandle(file);
    if (!ok) throw std::runtime_error("cannot write the input file");
}

// A folder of one parser: `Inner` (two levels below the folder) is where archives unpack,
// so a name that climbed out would show up beside it.
class TUnpackFolder {
public:
    explicit TUnpackFolder(const std::wstring& path) : Path(path), Inner(path + L"out\\one\\two\\") {
        RemoveTree(Path);
        ClassLib::ForceDirectories(Inner);
    }
    ~TUnpackFolder() { RemoveTree(Path); }
    TUnpackFolder(const TUnpackFolder&) = delete;
    TUnpackFolder& operator=(const TUnpackFolder&) = delete;

    // Raises something that is not a library error (a fault the run counts apart) when
    // anything lies outside Inner but the archive itself and the folders above Inner;
    // then empties Inner for the next input.
    void CheckAndClear(const std::wstring& archiveName) const {
        std::vector<std::wstring> names;
        UpdaterTests::ListTree(Path, L"", names);
        bool unpacked = false;
        for (const std::wstring& name : names) {
            if (name == archiveName || name == L"out\\" || name == L"out\\one\\" || name == L"out\\one\\two\\") continue;
            if (name.rfind(L"out\\one\\two\\", 0) == 0) {
                unpacked = true;
                continue;
            }
            throw std::runtime_error("written outside the folder: " + ClassLib::UTF8Encode(name));
        }
        if (!unpacked) return;
        RemoveTree(Inner);
        ::CreateDirectoryW(Inner.c_str(), nullptr);
    }

    const std::wstring Path, Inner;   // both end with "\"

private:
    static void RemoveTree(const std::wstring& folder) {
        std::vector<std::wstring> names;
        UpdaterTests::ListTree(folder, L"", names);
        // Deepest first: a folder goes once what it holds is gone.
        for (auto name = names.rbegin(); name != names.rend(); ++name) {
            const std::wstring path = folder + *name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (name->back() == L'\\')
                ::RemoveDirectoryW(path.c_str());
            else
                ::DeleteFileW(path.c_str());
        }
        ::RemoveDirectoryW(folder.c_str());
    }
};

inline TUpdaterBytes BytesOf(const std::string& text) { return TUpdaterBytes(text.begin(), text.end()); }

template <class TParserList>
void AppendUpdaterParsers(TParserList& parsers, const std::wstring& scratch) {
    using namespace UpdaterTests;
    const std::wstring tag = std::to_wstring(::GetCurrentProcessId());

    // The control file as a check reads it: fetched (a local copy), its numbers checked,
    // the version test made, the file list read and filtered. Dialogs, programs and the
    // downloads of the files it lists are not reached.
    const auto control = std::make_shared<TUnpackFolder>(scratch + L"robust_control_" + tag + L"\\");
    const std::string local = ClassLib::UTF8Encode(control->Path);
    parsers.push_back(
        {"update control file",
         {BytesOf("[update]\nsignature=WebUpdate\ndescr=New\\nversion\nnewversion=2.6.0.1\nlocalversion={TMP}\\x.exe\n"
                  "[application]\nappupdate=1\nappname={APP}\\app.exe\nappparam=-a\nappcomps=app.exe\n"
                  "[files]\ncount=2\n[file1]\nurl=http://h/a.zip?x=1\ntargetdir={TMP}\\sub\ncompressed=1\nfilesize=100\n"
                  "newversion=1.2.3.4\nlocalversion=" + local + "in.inf\ndescr=A\n"
                  "[file2]\nurl=b.cab\nnewchecksum=293\nnewsize=5000000000\nmandatory=1\nhidden=1\n"),
          BytesOf("[update]\ndate=24/12/2025\ntime=10:30\nunconditional=1\nlocalversion=" + local + "in.inf\n"
                  "[files]\ncount=1\n[file1]\nurl=x.bin\ndate=01/01/2001\ntime=12:00\nlocalversion=" + local +
                  "in.inf\n[custom]\nvalidatemsg=m\n"),
          BytesOf("\xEF\xBB\xBF[update]\nnewsize=3\nlocalversion=" + local + "in.inf\n[whatsnew]\nfile=w.txt\n")},
         {"[update]\n", "[files]\n", "[file1]\n", "[file2]\n", "count=", "newversion=", "newsize=", "newchecksum=",
          "filesize=", "date=", "time=", "unconditional=1\n", "localversion=", "{APP}", "{TMP}", "{ADR}", "{", "}",
          "-1", "65535", "4294967296", "$FFFFFFFF", "..\\", "\n", "=", ".", ","},
         [control](const TUpdaterBytes& input) {
             const std::wstring file = control->Path + L"in.inf";
             WriteUpdaterInput(file, input);
             WUpdate::TWebUpdate update(nullptr);
             update.OnStatus = [](ClassLib::TObject*, const std::wstring&, int, int) {};
             update.SetUpdateType(WUpdate::fileUpdate);
             update.SetUseWinTempDir(false);
             update.SetTempDirectory(control->Inner);
             update.SetUpdateUpdate(WUpdate::wuuSilent);
             update.SetURL(file);
             update.StartConnection();
             // A path prefix may raise (no roaming folder): the folder is checked either way.
             int read = -1;
             std::exception_ptr failure;
             try {
                 read = update.GetControlFile();
                 if (read == 0) {
                     update.DoVersionCheck();
                     if (update.GetFileDetails() > 0) update.ProcessFileDetails();
                 }
             } catch (...) {
                 failure = std::current_exception();
             }
             update.StopConnection();
             control->CheckAndClear(L"in.inf");
             if (failure) std::rethrow_exception(failure);
             if (read != 0) throw ClassLib::Exception(L"control file refused");
         },
         {}, 300});

    // An archive is refused (-1) with a library error, so the figures tell refusals apart.
    const auto unpack = [](const char* what, int result) {
        if (result != 0) throw ClassLib::Exception(std::wstring(what, what + std::strlen(what)) + L" refused");
    };

    const auto zip = std::make_shared<TUnpackFolder>(scratch + L"robust_zip_" + tag + L"\\");
    TZipItem stored{"plain.txt", "stored text", false};
    TZipItem utf8{"d/\xC3\xBC.txt", std::string(300, 'u')};
    utf8.Flags = 0x800;
    parsers.push_back({"ZIP archive",
                       {BytesOf(MakeZip({{"a.txt", "alpha alpha alpha"}, {"sub/", ""}, {"sub/b.txt", std::string(5000, 'b')}})),
                        BytesOf(MakeZip({stored, utf8})), BytesOf(MakeZip({{"x/y/z.bin", std::string(70000, 'z')}}))},
                       {"PK\x03\x04", "PK\x01\x02", "PK\x05\x06", "../", "..\\", "/", "C:", ":", "CON", "\xFF\xFF\xFF\xFF"},
                       [zip, unpack](const TUpdaterBytes& input) {
                           WriteUpdaterInput(zip->Path + L"in.zip", input);
                           const int result = WUpdate::ExtractZipFile(zip->Path + L"in.zip", zip->Inner);
                           zip->CheckAndClear(L"in.zip");
                           unpack("ZIP", result);
                       },
                       {}, 300});

    const auto cab = std::make_shared<TUnpackFolder>(scratch + L"robust_cab_" + tag + L"\\");
    parsers.push_back({"CAB archive",
                       {BytesOf(MakeCab({{"a.txt", "alpha"}, {"sub\\b.txt", std::string(2000, 'b')}}, false)),
                        BytesOf(MakeCab({{"a.txt", "alpha"}, {"sub\\b.txt", std::string(40000, 'b')}}, true))},
                       {"MSCF", "CK", "..\\", "\\", "C:", ":", "CON", "\xFF\xFF\xFF\xFF"},
                       [cab, unpack](const TUpdaterBytes& input) {
                           WriteUpdaterInput(cab->Path + L"in.cab", input);
                           const int result = cabfdi::ExtractCabinet(cab->Path + L"in.cab", cab->Inner);
                           cab->CheckAndClear(L"in.cab");
                           unpack("CAB", result);
                       },
                       {}, 300});

    // An LZ file expands beside itself, into the name its header gives.
    const auto lz = std::make_shared<TUnpackFolder>(scratch + L"robust_lz_" + tag + L"\\");
    parsers.push_back({"LZ file",
                       {BytesOf(MakeSzdd("expanded text of some length", 't')), BytesOf(MakeSzdd(std::string(5000, 'q'), 'n')),
                        BytesOf("not compressed at all")},
                       {"SZDD\x88\xF0\x27\x33", "\xFF", "\\", ":", "\x7F\xFF\xFF\xFF"},
                       [lz, unpack](const TUpdaterBytes& input) {
                           const std::wstring file = lz->Inner + L"in.tx_";
                           WriteUpdaterInput(file, input);
                           const std::wstring expanded = WUpdate::LZExpandFile(file);
                           ::DeleteFileW(file.c_str());
                           lz->CheckAndClear(L"");
                           unpack("LZ", expanded.empty() ? -1 : 0);
                       },
                       {}, 300});
}

}  // namespace Robustness
