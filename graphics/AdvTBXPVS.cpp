#include "graphics/AdvTBXPVS.h"

namespace AdvTBXPVS {

namespace {

using TDrawThemeTextEx = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, RECT*,
                                           const DTTOPTS*);

struct TUnitState {
    CRITICAL_SECTION Lock;
    AdvThemeBinding::TThemeLibrary Library{false, true};
    int LoadCount = 0;
    TDrawThemeTextEx DrawTextEx = nullptr;

    // Bound when the unit is first used, as the other units bind theirs at start.
    TUnitState() {
        ::InitializeCriticalSection(&Lock);
        if (Library.Loaded()) LoadCount = 1;
    }
    ~TUnitState() {
        LoadCount = 0;
        Library.Unbind();
        ::DeleteCriticalSection(&Lock);
    }
};

TUnitState& State() {
    static TUnitState state;
    return state;
}

class TLocked {
public:
    explicit TLocked(CRITICAL_SECTION& lock) : FLock(lock) { ::EnterCriticalSection(&FLock); }
    ~TLocked() { ::LeaveCriticalSection(&FLock); }
    TLocked(const TLocked&) = delete;
    TLocked& operator=(const TLocked&) = delete;
private:
    CRITICAL_SECTION& FLock;
};

}  // namespace

bool BindThemeLibrary(const wchar_t* libraryName) {
    TUnitState& state = State();
    TLocked locked(state.Lock);
    if (state.Library.Loaded()) return true;
    if (!state.Library.Bind(libraryName)) return false;
    ++state.LoadCount;
    return true;
}

void UnbindThemeLibrary() {
    TUnitState& state = State();
    TLocked locked(state.Lock);
    if (state.LoadCount > 0) --state.LoadCount;
    state.Library.Unbind();
    state.DrawTextEx = nullptr;
}

int ThemeLibraryLoadCount() { return State().LoadCount; }

const AdvThemeBinding::TThemeLibrary& ThemeLibrary() { return State().Library; }

HRESULT DrawThemeTextEx(HTHEME theme, HDC dc, int partId, int stateId, LPCWSTR text, int charCount,
                        DWORD flags, RECT* rect, const DTTOPTS* options) {
    TUnitState& state = State();
    if (!state.DrawTextEx) {
        // Not cached on failure: a later call looks again.
        state.DrawTextEx = reinterpret_cast<TDrawThemeTextEx>(
            reinterpret_cast<void*>(state.Library.Lookup("DrawThemeTextEx")));
        if (!state.DrawTextEx) return E_NOTIMPL;
    }
    return state.DrawTextEx(theme, dc, partId, stateId, text, charCount, flags, rect, options);
}

}  // namespace AdvTBXPVS
