// The program of the two-process restart test, carrying the restart program as any
// program that restarts does.
//   RestartApp run CONTROL-URL DOWNLOAD-FOLDER REPORT FLAGS
//       updates itself from CONTROL-URL, downloading into DOWNLOAD-FOLDER, and ends; REPORT
//       gets one line per status ("<ident> <text>"), then "closed" when the updater
//       handed over to the restart program, else "went on". FLAGS: "N" no automatic
//       restart, "L" logging into "update.log" beside the program, "-" neither.
//   RestartApp --after MARKER
//       how the restart program starts it again: writes MARKER (in the current folder).
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <fstream>
#include <string>
#include <vector>

#include "classlib/FileNames.h"
#include "classlib/Seams.h"
#include "classlib/Strings.h"
#include "classlib/VersionInfo.h"
#include "updater/WUpdate.h"

namespace {

class TReportingUpdate : public WUpdate::TWebUpdate {
public:
    TReportingUpdate() : TWebUpdate(nullptr) {}
    std::vector<std::wstring> Lines;
    void DoStatus(int ident, const std::wstring& text, int statusCode, int errCode) override {
        Lines.push_back(std::to_wstring(ident) + L" " + text);
        TWebUpdate::DoStatus(ident, text, statusCode, errCode);
    }
};

void WriteUtf8(const std::wstring& name, const std::wstring& text) {
    std::ofstream out(name.c_str(), std::ios::binary);
    out << ClassLib::UTF8Encode(text);
}

int Run(const std::vector<std::wstring>& args) {
    const std::wstring& flags = args[5];
    std::wstring report;
    bool closed = false;
    try {
        TReportingUpdate update;
        update.SetURL(args[2]);
        update.SetUseWinTempDir(false);
        update.SetTempDirectory(args[3]);
        update.SetUpdateUpdate(WUpdate::wuuSilent);
        update.SetAutoRestart(flags.find(L'N') == std::wstring::npos);
        if (flags.find(L'L') != std::wstring::npos) {
            update.SetLogging(true);
            update.SetLogFileName(ClassLib::ExtractFilePath(ClassLib::ExecutablePath()) + L"update.log");
        }
        update.OnAppRestart = [](ClassLib::TObject*, bool& allow) { allow = true; };
        update.OnAppDoClose = [&](ClassLib::TObject*) { closed = true; };
        update.DoUpdate(true);
        for (const std::wstring& line : update.Lines) report += line + L"\n";
    } catch (const std::exception& error) {
        report += L"exception " + ClassLib::UTF8Decode(error.what()) + L"\n";
    }
    report += closed ? L"closed\n" : L"went on\n";
    WriteUtf8(args[4], report);
    return closed ? 0 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int count = 0;
    LPWSTR* raw = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const std::vector<std::wstring> args(raw, raw + (raw ? count : 0));
    ::LocalFree(raw);
    // Nobody is there to answer a box: refuse it.
    ClassLib::Seams().ShowMessageBox = [](void*, const std::wstring&, const std::wstring&, unsigned) { return IDNO; };
    if (args.size() == 3 && args[1] == L"--after") {
        WriteUtf8(args[2], L"started again\n");
        return 0;
    }
    if (args.size() != 6 || args[1] != L"run") return 2;
    ::OleInitialize(nullptr);
    const int result = Run(args);
    ::OleUninitialize();
    return result;
}
