#include "graphics/AdvThemeNotifier.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Application.h"
#include "classlib/Control.h"
#include "classlib/Form.h"
#include "support/WindowTestSupport.h"

using namespace AdvStyleIF;
using namespace ClassLib;

namespace {

const wchar_t* const Office16 = L"Software\\Microsoft\\Office\\16.0";
const wchar_t* const Office16Common = L"Software\\Microsoft\\Office\\16.0\\Common";

// One message as a receiver saw it (lParam is only valid during the call: copied).
struct TReceived {
    std::wstring Receiver;
    WPARAM WParam;
    std::wstring Path;
};

using TestSupport::PumpUntil;

// A little longer, so a second, unwanted round would show.
void PumpFor(DWORD ms) {
    const ULONGLONG start = ::GetTickCount64();
    PumpUntil([&] { return ::GetTickCount64() - start >= ms; }, ms + 1000);
}

void SetUITheme(const wchar_t* value) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Office16Common, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    const DWORD size = DWORD((std::wcslen(value) + 1) * sizeof(wchar_t));
    EXPECT_EQ(::RegSetValueExW(key, L"UI Theme", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), size), ERROR_SUCCESS);
    ::RegCloseKey(key);
}

// Wine's own reg.exe changes the value from a second process, as Office would.
DWORD SetUIThemeFromAnotherProcess(const wchar_t* value) {
    std::wstring command = std::wstring(L"reg.exe add \"HKCU\\") + Office16Common +
                           L"\" /v \"UI Theme\" /t REG_SZ /d " + value + L" /f";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
        return ::GetLastError();
    PumpUntil([&] { return ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 60000);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return code;
}

// Every test starts with a known Office installation (or none) and leaves none behind,
// whatever happened: other tests must not see an Office.
class ThemeNotifier : public testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Office16);
    }
    void TearDown() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Office16);
        HKEY key = nullptr;
        EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, Office16, 0, KEY_READ, &key), ERROR_SUCCESS);
    }
    static void InstallOffice16() {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\16.0\\Common\\General", 0,
                                    nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
};

// A window of our own that records what it receives.
class TRecorder {
public:
    TRecorder(std::wstring name, std::vector<TReceived>& log) : FName(std::move(name)), FLog(log) {
        FWindow = AllocateHWnd([this](TMessage& message) {
            if (message.Msg == WM_OFFICETHEMECHANGED)
                FLog.push_back({FName, message.WParam, reinterpret_cast<const wchar_t*>(message.LParam)});
            else
                message.Result = ::DefWindowProcW(FWindow, message.Msg, message.WParam, message.LParam);
        });
    }
    ~TRecorder() { DeallocateHWnd(FWindow); }
    HWND Window() const { return FWindow; }
private:
    std::wstring FName;
    std::vector<TReceived>& FLog;
    HWND FWindow = nullptr;
};

}  // namespace

TEST_F(ThemeNotifier, AChangeUnderCommonReachesTheNotifierAndEveryRegisteredWindowOnce) {
    REQUIRE_DISPLAY();
    InstallOffice16();
    std::vector<TReceived> log;
    TForm form(nullptr);
    auto* notifier = new TThemeNotifier(&form);
    ASSERT_TRUE(notifier->Watching());
    ASSERT_NE(notifier->NotifierWindow(), nullptr);
    EXPECT_EQ(notifier->NotifierWindow()->Parent(), &form);
    EXPECT_FALSE(::IsWindowVisible(notifier->NotifierWindow()->Handle()));
    TRecorder first(L"first", log), second(L"second", log);
    notifier->OnOfficeThemeChange = [&](TObject* sender) {
        EXPECT_EQ(sender, notifier);
        log.push_back({L"notifier", 0, L""});
        // The worker waits in its send meanwhile: registering must not wait for it.
        notifier->RegisterWindow(first.Window());
    };
    notifier->RegisterWindow(second.Window());
    notifier->RegisterWindow(first.Window());
    notifier->RegisterWindow(second.Window());            // kept once
    notifier->UnRegisterWindow(reinterpret_cast<HWND>(0x1234));  // not registered: nothing

    struct TRound { const char* Name; std::function<void()> Change; };
    const TRound rounds[] = {
        {"this process", [] { SetUITheme(L"4"); }},
        {"reg.exe", [] { EXPECT_EQ(SetUIThemeFromAnotherProcess(L"3"), 0u); }},
    };
    ASSERT_TRUE(notifier->WaitWatching(10000));
    for (const TRound& round : rounds) {
        SCOPED_TRACE(round.Name);
        log.clear();
        round.Change();
        EXPECT_TRUE(PumpUntil([&] { return log.size() >= 3; }));
        PumpFor(700);
        ASSERT_EQ(log.size(), 3u);
        EXPECT_EQ(log[0].Receiver, L"notifier");
        EXPECT_EQ(log[1].Receiver, L"second");
        EXPECT_EQ(log[2].Receiver, L"first");
        for (size_t i = 1; i < log.size(); ++i) {
            EXPECT_EQ(reinterpret_cast<HKEY>(log[i].WParam), HKEY_CURRENT_USER);
            EXPECT_EQ(DWORD(log[i].WParam), 0x80000001u);
            EXPECT_EQ(log[i].Path, Office16Common);
        }
    }

    // An unregistered window hears nothing more.
    notifier->UnRegisterWindow(second.Window());
    log.clear();
    SetUITheme(L"0");
    EXPECT_TRUE(PumpUntil([&] { return log.size() >= 2; }));
    PumpFor(300);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].Receiver, L"first");
    delete notifier;
}

TEST_F(ThemeNotifier, AnotherProcessesStopOrChangeSignalDoesNotReachThisWorker) {
    REQUIRE_DISPLAY();
    InstallOffice16();
    std::vector<TReceived> log;
    TThemeNotifier notifier(nullptr);
    TRecorder receiver(L"receiver", log);
    notifier.RegisterWindow(receiver.Window());
    ASSERT_TRUE(notifier.WaitWatching(10000));
    // What another notifier would signal if the change event had a name all processes share.
    HANDLE shared = ::CreateEventW(nullptr, TRUE, FALSE, L"RegMonitorChange");
    ASSERT_NE(shared, nullptr);
    ::SetEvent(shared);
    PumpFor(400);
    EXPECT_TRUE(log.empty());
    ::ResetEvent(shared);
    ::CloseHandle(shared);
    SetUITheme(L"2");  // still watching
    EXPECT_TRUE(PumpUntil([&] { return log.size() == 1; }));
}

TEST_F(ThemeNotifier, WithoutOfficeThereIsNoWindowAndNoThread) {
    TThemeNotifier notifier(nullptr);
    EXPECT_FALSE(notifier.Watching());
    EXPECT_EQ(notifier.NotifierWindow(), nullptr);
    EXPECT_EQ(notifier.WorkerHandle(), nullptr);
    notifier.RegisterWindow(reinterpret_cast<HWND>(0x1234));
    notifier.UnRegisterWindow(reinterpret_cast<HWND>(0x1234));
}

TEST_F(ThemeNotifier, FreeingTheNotifierEndsItsWaitingWorkerAndTheNextRequestMakesANewOne) {
    REQUIRE_DISPLAY();
    InstallOffice16();
    ASSERT_EQ(Application->MainForm(), nullptr);
    TThemeNotifier* notifier = GetThemeNotifier(nullptr);
    ASSERT_TRUE(notifier->Watching());
    EXPECT_EQ(GetThemeNotifier(nullptr), notifier);
    // No owner and no main form: the hidden window is message-only.
    const HWND window = notifier->NotifierWindow()->Handle();
    EXPECT_EQ(::FindWindowExW(HWND_MESSAGE, nullptr, L"TThemeNotifierWindow", nullptr), window);

    HANDLE worker = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), notifier->WorkerHandle(), ::GetCurrentProcess(), &worker,
                                  SYNCHRONIZE, FALSE, 0));
    ASSERT_TRUE(notifier->WaitWatching(10000));
    EXPECT_EQ(::WaitForSingleObject(worker, 0), DWORD(WAIT_TIMEOUT));
    delete notifier;
    EXPECT_EQ(::WaitForSingleObject(worker, 10000), DWORD(WAIT_OBJECT_0));  // a hang catcher
    ::CloseHandle(worker);

    TForm form(nullptr);
    TThemeNotifier* next = GetThemeNotifier(&form);
    EXPECT_TRUE(next->Watching());
    EXPECT_EQ(next->Owner(), &form);
    EXPECT_EQ(next->NotifierWindow()->Parent(), &form);
    EXPECT_TRUE(::IsWindow(next->NotifierWindow()->Handle()));
    delete next;

    // An owner that cannot have a window (it has no parent) gets a message-only one.
    TWinControl loose(nullptr);
    TThemeNotifier* third = GetThemeNotifier(&loose);
    EXPECT_EQ(third->NotifierWindow()->Parent(), nullptr);
    EXPECT_EQ(::FindWindowExW(HWND_MESSAGE, nullptr, L"TThemeNotifierWindow", nullptr),
              third->NotifierWindow()->Handle());
    delete third;
}

TEST(RegMonitorThread, AKeyThatCannotBeOpenedEndsTheWorkerWithItsName) {
    std::unique_ptr<TRegMonitorThread> worker = TThread::Create<TRegMonitorThread>(true, nullptr);
    worker->SetKey(L"Software\\AtGenTests\\NoSuchKey");
    EXPECT_EQ(worker->Filter(), 15u);  // 0 reads as every change kind
    worker->Start();
    worker->WaitFor();
    EXPECT_EQ(worker->FatalMessage(), L"Unable to open registry key Software\\AtGenTests\\NoSuchKey");
}

TEST(HandleList, KeepsHandlesInOrderAndDeletesByValue) {
    THandleList list;
    const HWND a = reinterpret_cast<HWND>(0x10), b = reinterpret_cast<HWND>(0x20), c = reinterpret_cast<HWND>(0x30);
    list.Add(a);
    list.Add(b);
    list.Insert(0, c);
    list.Add(a);
    EXPECT_TRUE(list.HasValue(b));
    list.DeleteValue(a);  // the first occurrence only
    list.DeleteValue(reinterpret_cast<HWND>(0x40));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0), c);
    EXPECT_EQ(list.Items(1), b);
    EXPECT_EQ(list.Items(2), a);
    list.SetItems(1, c);
    list.Delete(0);
    EXPECT_FALSE(list.HasValue(b));
    EXPECT_EQ(list.Items(0), c);
}
