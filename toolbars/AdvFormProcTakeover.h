#pragma once
// One shared replacement of a form's window procedure for the controls that must see the
// form's own messages (a menu-bar toolbar and a ribbon pager painting MDI buttons repaint
// when the form moves). Several clients share one takeover per form window: the first to
// join replaces the procedure, the last to leave puts it back together with the window's
// user data and region as they were. The saved procedure lives here, never in the window's
// user data, so whoever else uses that slot keeps it.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace AdvToolBar {

// A client of one form's takeover. It receives the messages it asked for, before the form's
// own procedure, until it leaves; destroying it leaves, so no message reaches a client that
// no longer exists. When the form's window goes, the client is left without a form.
class TFormProcClient {
public:
    using THandler = std::function<void(UINT msg, WPARAM wParam, LPARAM lParam)>;
    // An empty message list asks for every message.
    TFormProcClient(std::initializer_list<UINT> messages, THandler handler);
    ~TFormProcClient();
    TFormProcClient(const TFormProcClient&) = delete;
    TFormProcClient& operator=(const TFormProcClient&) = delete;

    // Joins the takeover of `form` (leaving any other form first); false for a window that
    // does not exist. Joining the form already joined does nothing and returns true.
    bool Join(HWND form);
    void Leave();
    HWND Form() const { return FForm; }
    bool Joined() const { return FForm != nullptr; }

private:
    friend struct TFormProcTakeovers;
    bool Wants(UINT msg) const;

    std::vector<UINT> FMessages;
    THandler FHandler;
    HWND FForm = nullptr;
    std::uint64_t FSerial;  // tells a client apart from a later one at the same address
};

// The takeover's procedure is the form's window procedure now.
bool FormProcTakenOver(HWND form);
// Clients joined to the form's takeover.
int FormProcClientCount(HWND form);

}  // namespace AdvToolBar
