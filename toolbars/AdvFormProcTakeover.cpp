#include "toolbars/AdvFormProcTakeover.h"

#include <algorithm>
#include <map>

#include "classlib/Control.h"

namespace AdvToolBar {

namespace {

LRESULT CALLBACK TakeoverWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace

// Everything the takeovers keep, main thread only.
struct TFormProcTakeovers {
    struct TEntry {
        WNDPROC SavedProc = nullptr;
        LONG_PTR SavedUserData = 0;
        HRGN SavedRegion = nullptr;  // a copy of the window's region; null when it had none
        std::vector<TFormProcClient*> Clients;
    };
    static std::map<HWND, TEntry>& Entries() {
        static std::map<HWND, TEntry> entries;
        return entries;
    }
    static std::uint64_t NextSerial() {
        static std::uint64_t serial = 0;
        return ++serial;
    }

    static bool Add(HWND form, TFormProcClient* client) {
        auto& entries = Entries();
        auto found = entries.find(form);
        if (found == entries.end()) {
            TEntry entry;
            entry.SavedUserData = ::GetWindowLongPtrW(form, GWLP_USERDATA);
            HRGN region = ::CreateRectRgn(0, 0, 0, 0);
            if (region && ::GetWindowRgn(form, region) == ERROR) {
                ::DeleteObject(region);
                region = nullptr;
            }
            entry.SavedRegion = region;
            entry.SavedProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(form, GWLP_WNDPROC));
            if (!entry.SavedProc) {
                if (region) ::DeleteObject(region);
                return false;
            }
            found = entries.emplace(form, entry).first;
            ::SetWindowLongPtrW(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TakeoverWndProc));
        }
        found->second.Clients.push_back(client);
        return true;
    }

    static void Remove(HWND form, TFormProcClient* client) {
        auto& entries = Entries();
        auto found = entries.find(form);
        if (found == entries.end()) return;
        auto& clients = found->second.Clients;
        clients.erase(std::remove(clients.begin(), clients.end(), client), clients.end());
        if (!clients.empty()) return;
        // Someone subclassed the form after us: taking our procedure out would cut them off
        // too, so it stays and passes everything on until the window goes.
        if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(form, GWLP_WNDPROC)) != &TakeoverWndProc) return;
        const TEntry entry = found->second;
        entries.erase(found);
        ::SetWindowLongPtrW(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.SavedProc));
        ::SetWindowLongPtrW(form, GWLP_USERDATA, entry.SavedUserData);
        // The window owns the region handed to it.
        ::SetWindowRgn(form, entry.SavedRegion, TRUE);
    }

    static LRESULT Dispatch(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto& entries = Entries();
        auto found = entries.find(window);
        if (found == entries.end()) return ::DefWindowProcW(window, msg, wParam, lParam);
        const WNDPROC saved = found->second.SavedProc;
        if (msg == WM_NCDESTROY) {
            // The window goes: its clients are left without a form and its entry goes.
            for (TFormProcClient* client : found->second.Clients) client->FForm = nullptr;
            if (found->second.SavedRegion) ::DeleteObject(found->second.SavedRegion);
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
            entries.erase(found);
            return ::CallWindowProcW(saved, window, msg, wParam, lParam);
        }
        // A handler may make clients join or leave (or free them): each one is looked up
        // again before it is called.
        struct TCall {
            TFormProcClient* Client;
            std::uint64_t Serial;
        };
        std::vector<TCall> calls;
        for (TFormProcClient* client : found->second.Clients)
            if (client->Wants(msg)) calls.push_back({client, client->FSerial});
        for (const TCall& call : calls) {
            auto again = entries.find(window);
            if (again == entries.end()) break;
            const auto& clients = again->second.Clients;
            if (std::find(clients.begin(), clients.end(), call.Client) == clients.end() ||
                call.Client->FSerial != call.Serial)
                continue;
            TFormProcClient* client = call.Client;
            ClassLib::CallGuarded(nullptr, [&] {
                if (client->FHandler) client->FHandler(msg, wParam, lParam);
            });
        }
        return ::CallWindowProcW(saved, window, msg, wParam, lParam);
    }
};

namespace {

LRESULT CALLBACK TakeoverWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        return TFormProcTakeovers::Dispatch(window, msg, wParam, lParam);
    } catch (...) {
        // Only the lists' allocations can throw here; the message still gets an answer.
        return ::DefWindowProcW(window, msg, wParam, lParam);
    }
}

}  // namespace

TFormProcClient::TFormProcClient(std::initializer_list<UINT> messages, THandler handler)
    : FMessages(messages), FHandler(std::move(handler)), FSerial(TFormProcTakeovers::NextSerial()) {}

TFormProcClient::~TFormProcClient() { Leave(); }

bool TFormProcClient::Join(HWND form) {
    if (form && form == FForm) return true;
    Leave();
    if (!form || !::IsWindow(form)) return false;
    if (!TFormProcTakeovers::Add(form, this)) return false;
    FForm = form;
    return true;
}

void TFormProcClient::Leave() {
    if (!FForm) return;
    const HWND form = FForm;
    FForm = nullptr;
    TFormProcTakeovers::Remove(form, this);
}

bool TFormProcClient::Wants(UINT msg) const {
    return FMessages.empty() || std::find(FMessages.begin(), FMessages.end(), msg) != FMessages.end();
}

bool FormProcTakenOver(HWND form) {
    return form && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(form, GWLP_WNDPROC)) == &TakeoverWndProc;
}

int FormProcClientCount(HWND form) {
    const auto& entries = TFormProcTakeovers::Entries();
    const auto found = entries.find(form);
    return found == entries.end() ? 0 : int(found->second.Clients.size());
}

}  // namespace AdvToolBar
