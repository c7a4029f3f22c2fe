// The page control's closed pages: the list, the button and menu that reopen them, and
// their names kept between runs in the registry or an INI file.
#include "controls/AdvPageControl.h"

#include <commctrl.h>

#include <memory>
#include <vector>

#include "classlib/IniFiles.h"
#include "classlib/Menus.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/RegistryIniFile.h"
#include "controls/AdvPageControlLayout.h"
#include "controls/AdvPageControlShared.h"
#include "graphics/AdvUtils.h"

namespace AdvPageControl {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TPersistence, TPersistent)

namespace {
// ASCII letters only, as names and captions are compared.
std::wstring UpperAscii(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'a' && c <= L'z') c = wchar_t(c - L'a' + L'A');
    return text;
}

// The number n of a key "Name<n>" (any letter case, no leading zero) up to `largest`;
// 0 for any other key.
std::size_t EntryNumber(const std::wstring& key, std::size_t largest) {
    if (key.size() < 5 || key.size() > 14 || UpperAscii(key.substr(0, 4)) != L"NAME" || key[4] == L'0') return 0;
    unsigned long long n = 0;
    for (std::size_t i = 4; i < key.size(); ++i) {
        if (key[i] < L'0' || key[i] > L'9') return 0;
        n = n * 10 + unsigned(key[i] - L'0');
    }
    return n <= largest ? std::size_t(n) : 0;
}

// How many of "Name1", "Name2", ... a section's keys hold, counted from the first until
// one is missing, and at most `limit`.
int StoredEntryCount(const std::vector<std::wstring>& keys, int limit) {
    std::vector<bool> present(keys.size() + 1, false);
    for (const std::wstring& key : keys) present[EntryNumber(key, keys.size())] = true;
    int count = 0;
    while (std::size_t(count) + 1 < present.size() && present[std::size_t(count) + 1] && count < limit)
        ++count;
    return count;
}

}  // namespace

// ---- TPersistence ----

const TPropertyList& TPersistence::Published() {
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Enum(L"Location", L"TPersistenceLocation", &TPersistence::Location, &TPersistence::SetLocation,
              {L"plRegistry", L"plIniFile"}, plRegistry)
        .Stored(L"Location", true)
        .Add(L"Key", &TPersistence::Key, &TPersistence::SetKey, L"")
        .Add(L"Section", &TPersistence::Section, &TPersistence::SetSection, L"")
        .Add(L"Enabled", &TPersistence::Enabled, &TPersistence::SetEnabled, false)
        .Stored(L"Enabled", true)
        .Event(L"OnChange", &TPersistence::OnChange);
    return list;
}

void TPersistence::Changed() { FireEvent(OnChange, this); }

void TPersistence::SetLocation(TPersistenceLocation value) {
    if (value == FLocation) return;
    FLocation = value;
    Changed();
}

void TPersistence::SetKey(const std::wstring& value) {
    if (value == FKey) return;
    FKey = value;
    Changed();
}

void TPersistence::SetSection(const std::wstring& value) {
    if (value == FSection) return;
    FSection = value;
    Changed();
}

void TPersistence::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    Changed();
}

void TPersistence::Assign(const TPersistent* source) {
    if (auto other = dynamic_cast<const TPersistence*>(source)) {
        FLocation = other->FLocation;
        FKey = other->FKey;
        FSection = other->FSection;
        FEnabled = other->FEnabled;
    }
}

// ---- closed pages ----

void TAdvPageControl::AddClosed(TAdvTabSheet* page) {
    FClosedList.emplace_back(page->Name(), page);
    page->FClosedBy = this;
    page->SetAdvPageControl(nullptr);
    UpdateClosedListButton();
}

void TAdvPageControl::ForgetClosed(TAdvTabSheet* page) {
    page->FClosedBy = nullptr;
    for (auto it = FClosedList.begin(); it != FClosedList.end(); ++it) {
        if (it->second == page) {
            FClosedList.erase(it);
            return;
        }
    }
}

void TAdvPageControl::ClosedPageDestroying(TAdvTabSheet* page, bool teardown) {
    // The owner frees its components one by one, the closed pages often before this
    // control: the state is saved while they all still exist.
    if (teardown && !FStateSaved && FPersistPagesState->Enabled() && !Designing()) {
        FStateSaved = true;
        CallGuarded(this, [this] { SavePagesState(); });
    }
    ForgetClosed(page);
    UpdateClosedListButton();
}

TAdvTabSheet* TAdvPageControl::FindPageByName(const std::wstring& name) const {
    const std::wstring wanted = UpperAscii(name);
    for (TAdvTabSheet* page : FPages)
        if (UpperAscii(page->Name()) == wanted) return page;
    return nullptr;
}

TAdvTabSheet* TAdvPageControl::FindPageByCaption(const std::wstring& caption) const {
    const std::wstring wanted = UpperAscii(caption);
    for (TAdvTabSheet* page : FPages)
        if (UpperAscii(page->Caption()) == wanted) return page;
    return nullptr;
}

bool TAdvPageControl::CloseOpenedTab(TAdvTabSheet* tab) {
    if (!tab || IndexOfPage(tab) < 0) return false;
    const std::wstring name = UpperAscii(tab->Name());
    for (const auto& entry : FClosedList) {
        // Pages without a name are told apart by themselves, not by the empty name.
        if (entry.second == tab || (!name.empty() && UpperAscii(entry.first) == name)) return false;
    }
    AddClosed(tab);
    return true;
}

bool TAdvPageControl::CloseOpenedTab(const std::wstring& tabName) { return CloseOpenedTab(FindPageByName(tabName)); }

bool TAdvPageControl::OpenClosedTab(const std::wstring& tabName) {
    const std::wstring wanted = UpperAscii(tabName);
    for (auto it = FClosedList.begin(); it != FClosedList.end(); ++it) {
        if (UpperAscii(it->first) != wanted) continue;
        TAdvTabSheet* page = it->second;
        FClosedList.erase(it);
        page->FClosedBy = nullptr;
        page->SetAdvPageControl(this);
        UpdateClosedListButton();
        return true;
    }
    return false;
}

void TAdvPageControl::OpenAllClosedTabs() {
    const auto closed = std::move(FClosedList);
    FClosedList.clear();
    for (const auto& entry : closed) {
        entry.second->FClosedBy = nullptr;
        entry.second->SetAdvPageControl(this);
    }
    UpdateClosedListButton();
}

TAdvTabSheet* TAdvPageControl::GetClosedTab(int index) const {
    if (index < 0 || index >= ClosedTabCount()) return nullptr;
    return FClosedList[size_t(index)].second;
}

bool TAdvPageControl::TabsOverflow() {
    if (MultiLine() || PageCount() == 0) return false;
    // The host's tabs, the room kept for the closed-list button included: they decide
    // whether the host shows its scroll arrows.
    std::vector<TRect> tabs;
    for (int i = 0; i < PageCount(); ++i)
        if (FPages[size_t(i)]->TabVisible()) tabs.push_back(HostTabRect(i));
    return AdvPageControl::TabsOverflow(tabs, ClientWidth());
}

void TAdvPageControl::UpdateClosedListButton() {
    if (!FClosedListButton) return;
    FClosedListButton->SetBounds(FClosedListButton->Left(), FClosedListButton->Top(), 18, 16);
    // Shown while there is something to reopen, and only while the list is wanted.
    const bool visible = !FClosedList.empty() && FShowClosedList;
    FClosedListButton->SetVisible(visible);
    UpdateTabPad();
    if (!visible) return;
    if (!Designing()) FClosedListButton->SetFocusControl(this);
    FClosedListButton->SetHint(FClosedListButtonHint);
    TBitmap arrow;
    if (HBITMAP system = ::LoadBitmapW(nullptr, MAKEINTRESOURCEW(32738))) arrow.SetHandle(system);
    FClosedListButton->SetGlyph(&arrow);
    const int w = FClosedListButton->Width(), h = FClosedListButton->Height();
    // The host's arrows are 34 pixels long at 96 pixels per inch and grow with the screen:
    // moved by the 34 alone, the button lay under them on a larger screen.
    int arrows = RoundScaled(FDPIScale, 34);
    if (HWND updown = HandleAllocated() ? ::FindWindowExW(Handle(), nullptr, UPDOWN_CLASSW, nullptr) : nullptr) {
        RECT r{};
        if (::IsWindowVisible(updown) && ::GetWindowRect(updown, &r)) arrows = r.right - r.left;
    }
    const TPoint at = ClosedListButtonPlace(TStrip(TabPosition()), ClientWidth(), ClientHeight(), w, h, TabsOverflow(),
                                            MultiLine(), arrows);
    FClosedListButton->SetBounds(at.X, at.Y, w, h);
    FClosedListButton->BringToFront();
}

void TAdvPageControl::ShowClosedListMenu() {
    if (FClosedList.empty() || Designing()) return;
    TPopupMenu* menu = FClosedListMenu;
    if (!menu) {
        if (!FInternalMenu) {
            FInternalMenu = new TPopupMenu(this);
            FInternalMenu->FreeNotification(this);
        }
        menu = FInternalMenu;
    }
    menu->Items()->Clear();
    for (size_t i = 0; i < FClosedList.size(); ++i) {
        auto* item = new TMenuItem(this);
        item->SetCaption(FClosedList[i].second->Caption());
        item->SetTag(intptr_t(i));
        item->OnClick = [this](TObject* sender) { ClosedListItemClick(sender); };
        menu->Items()->Add(item);
    }
    TPoint point{FClosedListButton->Left() + Left(), FClosedListButton->Top() + FClosedListButton->Height() + Top()};
    if (Parent()) point = Parent()->ClientToScreen(point);
    if (OnClosedListClick) {
        OnClosedListClick(this, point.X, point.Y);
        return;
    }
    menu->Popup(point.X, point.Y);
}

void TAdvPageControl::ClosedListItemClick(TObject* sender) {
    auto item = dynamic_cast<TMenuItem*>(sender);
    if (!item || item->Tag() < 0 || item->Tag() >= ClosedTabCount()) return;
    OpenClosedTab(FClosedList[size_t(item->Tag())].first);
}

// ---- page state between runs ----

namespace {
// The two stores of the page state behind one set of calls.
class TStateStore {
public:
    TStateStore(TPersistenceLocation location, const std::wstring& key) {
        if (location == plRegistry) FRegistry = std::make_unique<TRegistryIniFile>(key);
        else FIni = std::make_unique<TIniFile>(key);
    }
    int ReadInteger(const std::wstring& section, const std::wstring& name, int fallback) {
        return FRegistry ? FRegistry->ReadInteger(section, name, fallback) : FIni->ReadInteger(section, name, fallback);
    }
    std::wstring ReadString(const std::wstring& section, const std::wstring& name, const std::wstring& fallback) {
        return FRegistry ? FRegistry->ReadString(section, name, fallback) : FIni->ReadString(section, name, fallback);
    }
    std::vector<std::wstring> ReadSection(const std::wstring& section) {
        return FRegistry ? FRegistry->ReadSection(section) : FIni->ReadSection(section);
    }
    void WriteInteger(const std::wstring& section, const std::wstring& name, int value) {
        if (FRegistry) FRegistry->WriteInteger(section, name, value);
        else FIni->WriteInteger(section, name, value);
    }
    void WriteString(const std::wstring& section, const std::wstring& name, const std::wstring& value) {
        if (FRegistry) FRegistry->WriteString(section, name, value);
        else FIni->WriteString(section, name, value);
    }
private:
    std::unique_ptr<TRegistryIniFile> FRegistry;
    std::unique_ptr<TIniFile> FIni;
};
}  // namespace

void TAdvPageControl::SavePagesState() {
    const TPersistence& settings = *FPersistPagesState;
    if (settings.Key().empty() || settings.Section().empty() || Designing()) return;
    TStateStore store(settings.Location(), settings.Key());
    store.WriteInteger(settings.Section(), L"ClosedTabCount", ClosedTabCount());
    int n = 1;
    for (const auto& entry : FClosedList) {
        if (!entry.second) continue;
        const std::wstring name = entry.second->Name();
        store.WriteString(settings.Section(), L"Name" + std::to_wstring(n), name);
        store.WriteString(settings.Section(), name + L".Caption", entry.second->Caption());
        ++n;
    }
}

void TAdvPageControl::LoadPagesState() {
    const TPersistence& settings = *FPersistPagesState;
    if (settings.Key().empty() || settings.Section().empty() || Designing()) return;
    TStateStore store(settings.Location(), settings.Key());
    const int stored = store.ReadInteger(settings.Section(), L"ClosedTabCount", 0);
    int count = stored;
    // A count this control cannot have (a damaged file or registry value) would read
    // entries that are not there for minutes or, at 2147483647, for ever: the names
    // actually stored bound a count too large, and a negative one is ignored.
    const int pages = PageCount() + ClosedTabCount();
    if (stored < 0 || stored > pages) {
        count = stored < 0 ? 0 : StoredEntryCount(store.ReadSection(settings.Section()), stored);
        AdvUtils::TAdvUtils::Log(L"Page control \"" + Name() + L"\": ClosedTabCount " + std::to_wstring(stored) +
                                 L" in \"" + settings.Key() + L"\" does not fit its " + std::to_wstring(pages) +
                                 L" pages; the " + std::to_wstring(count) + L" names stored are read.");
    }
    for (int i = 1; i <= count; ++i) {
        const std::wstring name = store.ReadString(settings.Section(), L"Name" + std::to_wstring(i), Name());
        const std::wstring caption = store.ReadString(settings.Section(), name + L".Caption", Name());
        TAdvTabSheet* page = FindPageByName(name);
        if (!page) page = FindPageByCaption(caption);
        if (page) CloseOpenedTab(page);
    }
}

}  // namespace AdvPageControl
