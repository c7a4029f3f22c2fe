#include "menus/AdvToolBarBase.h"

#include <windows.h>

#include <utility>

#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/GdiObjects.h"
#include "classlib/MemIniFile.h"
#include "classlib/Properties.h"
#include "classlib/RegistryIniFile.h"

namespace AdvToolBar {

using namespace ClassLib;

// ---------------------------------------------------------------- TDbgList

CLASSLIB_IMPLEMENT(TDbgList, ClassLib::TList)

void* TDbgList::GetItemsEx(int index) const {
    if (index >= Count()) throw Exception(L"Index out of bounds in list read access");
    return TList::Items(index);
}

void TDbgList::SetItemsEx(int index, void* value) {
    if (index >= Count()) throw Exception(L"Index out of bounds in list write access");
    TList::SetItems(index, value);
}

void TDbgList::AssignList(const TList& list) {
    Clear();
    const int count = list.Count();
    for (int i = 0; i < count; ++i) Add(list.Items(i));
}

CLASSLIB_IMPLEMENT(TNotifyingPersistent, ClassLib::TPersistent)

// ---------------------------------------------------------------- unit state

namespace {
constexpr AdvStyleIF::TColorTone NoTone{clNone, clNone, clNone};
constexpr AdvStyleIF::TColorTones NoTones{NoTone, NoTone, NoTone, NoTone, NoTone};

struct TRegisteredMessage {
    std::uint16_t* Variable;
    const wchar_t* Name;
};
const TRegisteredMessage RegisteredMessages[] = {
    {&WM_TBCOMPACTWINHIDE, L"TBCompactWinHide"},     {&WM_TBSETAEROVISTA, L"TBSetAeroVista"},
    {&WM_TBPSETIGNOREALT, L"TBPSetIgnoreALT"},       {&WM_TBFUPDATECONTEXTMENU, L"TBFUpdateContextMenu"},
    {&WM_TBSETMETRO, L"TBSetMetro"},                 {&WM_TBREVERTMETRO, L"TBRevertMetro"},
    {&WM_TBSETOFFICE2013, L"TBSetOffice2013"},       {&WM_TBSHOWSHORTCUTHINT, L"TBShowShortCutHint"},
};

int ToolBarUnitSessions = 0;
}  // namespace

std::uint16_t WM_TBCOMPACTWINHIDE = 0;
std::uint16_t WM_TBSETAEROVISTA = 0;
std::uint16_t WM_TBPSETIGNOREALT = 0;
std::uint16_t WM_TBFUPDATECONTEXTMENU = 0;
std::uint16_t WM_TBSETMETRO = 0;
std::uint16_t WM_TBREVERTMETRO = 0;
std::uint16_t WM_TBSETOFFICE2013 = 0;
std::uint16_t WM_TBSHOWSHORTCUTHINT = 0;

AdvStyleIF::TColorTones RibbonColorTones = NoTones;
AdvStyleIF::TColorTones AppButtonColorTones = NoTones;

TToolBarUnitSession::TToolBarUnitSession() {
    if (ToolBarUnitSessions++ > 0) return;
    AdvStyleIF::EmptyColorTones(RibbonColorTones);
    AdvStyleIF::EmptyColorTones(AppButtonColorTones);
    // Registered message numbers lie in 0xC000..0xFFFF and so fit the unit's 16-bit variables.
    for (const TRegisteredMessage& message : RegisteredMessages)
        *message.Variable = std::uint16_t(::RegisterWindowMessageW(message.Name));
}

TToolBarUnitSession::~TToolBarUnitSession() { --ToolBarUnitSessions; }

// ---------------------------------------------------------------- TPersistence

CLASSLIB_IMPLEMENT(TPersistence, ClassLib::TPersistent)

const TPropertyList& TPersistence::Published() {
    using P = TPersistence;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Enum(L"Location", &P::Location, &P::SetLocation, plRegistry)
        .Add(L"Key", &P::Key, &P::SetKey)
        .Add(L"Section", &P::Section, &P::SetSection)
        .Add(L"Enabled", &P::Enabled, &P::SetEnabled)
        .Event(L"OnChange", &P::OnChange);
    return list;
}

void TPersistence::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TPersistence*>(source);
    if (!from) return;
    FLocation = from->FLocation;
    FKey = from->FKey;
    FSection = from->FSection;
    FEnabled = from->FEnabled;
}

void TPersistence::Changed() {
    if (OnChange) OnChange(this);
}

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

// ---------------------------------------------------------------- layout stores

namespace {

// One section of an INI-like store: the in-memory INI file or the registry's.
template <class TIni>
class TSectionStore : public TLayoutStore {
public:
    template <class... TArgs>
    explicit TSectionStore(const std::wstring& section, TArgs&&... args)
        : TLayoutStore(section), FIni(std::forward<TArgs>(args)...) {}
    std::wstring ReadString(const std::wstring& name, const std::wstring& defaultValue) override {
        return FIni.ReadString(Section(), name, defaultValue);
    }
    int ReadInteger(const std::wstring& name, int defaultValue) override {
        return FIni.ReadInteger(Section(), name, defaultValue);
    }
    bool ReadBool(const std::wstring& name, bool defaultValue) override {
        return FIni.ReadBool(Section(), name, defaultValue);
    }
    bool ValueExists(const std::wstring& name) override { return FIni.ValueExists(Section(), name); }
    void WriteString(const std::wstring& name, const std::wstring& value) override {
        FIni.WriteString(Section(), name, value);
    }
    void WriteInteger(const std::wstring& name, int value) override { FIni.WriteInteger(Section(), name, value); }
    void WriteBool(const std::wstring& name, bool value) override { FIni.WriteBool(Section(), name, value); }
    void EraseSection() override { FIni.EraseSection(Section()); }

protected:
    TIni FIni;
};

// An INI file, read when it exists and written back when the store goes after changes.
class TIniLayoutStore : public TSectionStore<TMemIniFile> {
public:
    TIniLayoutStore(const std::wstring& fileName, const std::wstring& section) : TSectionStore(section) {
        if (FileExists(fileName)) FIni.LoadFromFile(fileName);
        FIni.SetFileName(fileName);
        FIni.SetAutoSave(true);
    }
    void UpdateFile() override {
        if (FIni.Modified()) FIni.UpdateFile();
    }
};

using TRegistryLayoutStore = TSectionStore<TRegistryIniFile>;

}  // namespace

std::unique_ptr<TLayoutStore> OpenLayoutStore(const TPersistence& persistence) {
    if (persistence.Key().empty() || persistence.Section().empty()) return nullptr;
    if (persistence.Owner() && persistence.Owner()->HasState(csDesigning)) return nullptr;
    if (persistence.Location() == plIniFile)
        return std::make_unique<TIniLayoutStore>(persistence.Key(), persistence.Section());
    return std::make_unique<TRegistryLayoutStore>(persistence.Section(), persistence.Key());
}

// ---------------------------------------------------------------- fonts

void ApplySystemFont(TFont* font, bool segoe) {
    font->SetName(segoe ? L"Segoe UI" : L"Tahoma");
    font->SetHeight(segoe ? -12 : -11);
}

}  // namespace AdvToolBar
