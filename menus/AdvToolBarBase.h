#pragma once
// Foundations the toolbar family shares: the bounds-checked pointer list its lists are
// kept in, the window messages it registers and the colour tones it shares process-wide,
// where a layout is persisted and how that store is opened, and the system font rule.
#include <cstdint>
#include <memory>
#include <string>

#include "classlib/EnumNames.h"
#include "classlib/Events.h"
#include "classlib/Lists.h"
#include "classlib/Object.h"
#include "graphics/AdvStyleIF.h"

namespace ClassLib {
class TFont;
}

namespace AdvToolBar {

// A pointer list whose indexed access past the end raises its own messages; a negative
// index fails with the list's usual index error.
class TDbgList : public ClassLib::TList {
    CLASSLIB_CLASS(TDbgList, ClassLib::TList)
public:
    // "Index out of bounds in list read access" when index >= Count.
    void* GetItemsEx(int index) const;
    // "Index out of bounds in list write access" when index >= Count; nothing changes then.
    void SetItemsEx(int index, void* value);
    void* Items(int index) const { return GetItemsEx(index); }
    void SetItems(int index, void* value) { SetItemsEx(index, value); }
    void* operator[](int index) const { return GetItemsEx(index); }
    // Empties the list, then appends every item of `list` in its order.
    void AssignList(const ClassLib::TList& list);
};

// A settings object that reports its changes: each setter that stores a differing value
// raises OnChange once; an equal value changes nothing. The owner binds OnChange.
class TNotifyingPersistent : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TNotifyingPersistent, ClassLib::TPersistent)
public:
    ClassLib::TNotifyEvent OnChange;

protected:
    TNotifyingPersistent() = default;
    virtual void Changed() {
        if (OnChange) OnChange(this);
    }
    template <class T>
    void StoreTold(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }
    // For the values that are stored without a word.
    template <class T>
    static void StoreSilent(T& field, const T& value) {
        field = value;
    }
};

// What a record's Assign copies from: the source as a T, or null when there is nothing to
// copy (a null source); a source of another class raises the class library's assignment error.
template <class T>
const T* SameClassSource(ClassLib::TPersistent& target, const ClassLib::TPersistent* source) {
    if (!source) return nullptr;
    if (const auto* from = dynamic_cast<const T*>(source)) return from;
    target.ClassLib::TPersistent::Assign(source);
    return nullptr;
}

// A property over the field F<Name>, its setter storing through Store<Kind>: Told or Silent.
#define ADVTB_PROPERTY(Type, Name, Kind)                                                             \
    Type Name() const { return F##Name; }                                                            \
    void Set##Name(Type value) { Store##Kind(F##Name, value); }

// The unit's registered messages, 0 until the toolbar unit's start-up (TToolBarUnitSession).
extern std::uint16_t WM_TBCOMPACTWINHIDE;
extern std::uint16_t WM_TBSETAEROVISTA;
extern std::uint16_t WM_TBPSETIGNOREALT;
extern std::uint16_t WM_TBFUPDATECONTEXTMENU;
extern std::uint16_t WM_TBSETMETRO;
extern std::uint16_t WM_TBREVERTMETRO;
extern std::uint16_t WM_TBSETOFFICE2013;
extern std::uint16_t WM_TBSHOWSHORTCUTHINT;

// The tones a pager or ribbon form applied last, and the application button's tones of
// the last office tones; all clNone until something sets them.
extern AdvStyleIF::TColorTones RibbonColorTones;
extern AdvStyleIF::TColorTones AppButtonColorTones;

// The toolbar unit's start-up for as long as the session lives: the two tone sets
// emptied, then the eight messages registered in their order. Only the first session of
// a process does this; later ones (and their ends) do nothing.
class TToolBarUnitSession {
public:
    TToolBarUnitSession();
    ~TToolBarUnitSession();
    TToolBarUnitSession(const TToolBarUnitSession&) = delete;
    TToolBarUnitSession& operator=(const TToolBarUnitSession&) = delete;
};

enum TPersistenceLocation : std::uint8_t { plRegistry, plIniFile };

}  // namespace AdvToolBar

template <> struct ClassLib::TEnumNames<AdvToolBar::TPersistenceLocation> {
    static constexpr const wchar_t* TypeName = L"TPersistenceLocation";
    static constexpr const wchar_t* Names[] = {L"plRegistry", L"plIniFile"};
};

namespace AdvToolBar {

// Where and whether a dock panel, toolbar or pager keeps its layout.
class TPersistence : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TPersistence, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TPersistence(ClassLib::TComponent* owner = nullptr) : FOwner(owner) {}
    // From another persistence object: the four settings, without OnChange; any other
    // source is ignored.
    void Assign(const ClassLib::TPersistent* source) override;

    ClassLib::TComponent* Owner() const noexcept { return FOwner; }
    TPersistenceLocation Location() const noexcept { return FLocation; }
    void SetLocation(TPersistenceLocation value);
    // An INI file's name, or a registry key path below HKEY_CURRENT_USER.
    const std::wstring& Key() const noexcept { return FKey; }
    void SetKey(const std::wstring& value);
    const std::wstring& Section() const noexcept { return FSection; }
    void SetSection(const std::wstring& value);
    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool value);

    ClassLib::TNotifyEvent OnChange;

protected:
    ClassLib::TPersistent* GetOwner() const override { return FOwner; }

private:
    void Changed();

    ClassLib::TComponent* FOwner;
    std::wstring FKey;
    std::wstring FSection;
    TPersistenceLocation FLocation = plRegistry;
    bool FEnabled = false;
};

// One section of a layout store, open for one load or save and freed at its end.
class TLayoutStore {
public:
    explicit TLayoutStore(std::wstring section) : FSection(std::move(section)) {}
    virtual ~TLayoutStore() = default;
    TLayoutStore(const TLayoutStore&) = delete;
    TLayoutStore& operator=(const TLayoutStore&) = delete;

    const std::wstring& Section() const noexcept { return FSection; }
    virtual std::wstring ReadString(const std::wstring& name, const std::wstring& defaultValue) = 0;
    virtual int ReadInteger(const std::wstring& name, int defaultValue) = 0;
    virtual bool ReadBool(const std::wstring& name, bool defaultValue) = 0;
    virtual bool ValueExists(const std::wstring& name) = 0;
    virtual void WriteString(const std::wstring& name, const std::wstring& value) = 0;
    virtual void WriteInteger(const std::wstring& name, int value) = 0;
    virtual void WriteBool(const std::wstring& name, bool value) = 0;
    virtual void EraseSection() = 0;
    // Stores what was written, raising on failure; an INI file is written at the latest
    // when the store is freed, but errors then go unheard.
    virtual void UpdateFile() {}

private:
    std::wstring FSection;
};

// The store of a persistence object: an INI file named by Key (written back when the
// store is freed after changes) or the registry key Key below HKEY_CURRENT_USER with
// Section as its subkey. Null when Key or Section is empty or the owner is being
// designed; whether Enabled must be set is the owner's test.
std::unique_ptr<TLayoutStore> OpenLayoutStore(const TPersistence& persistence);

// The system font rule: "Segoe UI" at height -12 with `segoe`, else "Tahoma" at -11;
// nothing else of the font changes.
void ApplySystemFont(ClassLib::TFont* font, bool segoe);

}  // namespace AdvToolBar
