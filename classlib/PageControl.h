#pragma once
// TPageControl: the system tab control holding one TTabSheet per page. Only the pages
// whose tab is visible have a tab; with button styles and no visible tab the pages fill
// the whole control, so a wizard can step through pages the user never picks.
#include <windows.h>

#include <vector>

#include "classlib/EnumNames.h"
#include "classlib/TabControl.h"

namespace ClassLib {

enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
template <> struct TEnumNames<TTabStyle> {
    static constexpr const wchar_t* TypeName = L"TTabStyle";
    static constexpr const wchar_t* Names[] = {L"tsTabs", L"tsButtons", L"tsFlatButtons"};
};

class TPageControl;

class TTabSheet : public TWinControl {
    CLASSLIB_CLASS(TTabSheet, TWinControl)
public:
    static const TPropertyList& Published();
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* value);
    // -1 while the sheet is on no page control.
    int PageIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    void SetText(const std::wstring& value) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

class TPageControl : public TCustomTabControl {
    CLASSLIB_CLASS(TPageControl, TCustomTabControl)
public:
    static const TPropertyList& Published();
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return int(FPages.size()); }
    TTabSheet* Pages(int index) const { return FPages.at(size_t(index)); }
    int IndexOfPage(const TTabSheet* page) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    // Shows `page` and hides the one shown before; null hides every page.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const { return FActivePage ? IndexOfPage(FActivePage) : -1; }
    // An index outside the pages shows none.
    void SetActivePageIndex(int value);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle value);

    bool InsertDescribedChild(TComponent* child) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void AdjustClientRect(TRect& rect) const override;
    void Change() override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    // The tabs again from the pages: one per page whose tab is visible, in page order.
    void RebuildTabs();

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;  // invariant: null or one of FPages
    TTabStyle FStyle = tsTabs;
};

}  // namespace ClassLib
