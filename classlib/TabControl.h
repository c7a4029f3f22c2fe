#pragma once
// TCustomTabControl: the system tab control as a class-library control. It keeps the tab
// texts (each with an object), the selection, the layout settings and the image list
// while it has no window, and hands them to the window whenever one is made.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Control.h"

namespace ClassLib {

class TCustomImageList;
class TChangeLink;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
template <> struct TEnumNames<TTabPosition> {
    static constexpr const wchar_t* TypeName = L"TTabPosition";
    static constexpr const wchar_t* Names[] = {L"tpTop", L"tpBottom", L"tpLeft", L"tpRight"};
};

class TCustomTabControl;
using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;
using TTabGetImageEvent = std::function<void(TObject* sender, int tabIndex, int& imageIndex)>;
using TDrawTabEvent = std::function<void(TCustomTabControl* control, int tabIndex, const TRect& rect, bool active)>;

class TCustomTabControl : public TWinControl {
    CLASSLIB_CLASS(TCustomTabControl, TWinControl)
public:
    static const TPropertyList& Published();
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;

    // The tabs: a text and an object each, in strip order.
    int TabCount() const { return int(FTabs.size()); }
    const std::wstring& TabText(int index) const { return FTabs.at(size_t(index)).Text; }
    TObject* TabObject(int index) const { return FTabs.at(size_t(index)).Object; }
    void SetTabText(int index, const std::wstring& text);
    void InsertTab(int index, const std::wstring& text, TObject* object);
    void AddTab(const std::wstring& text, TObject* object = nullptr) { InsertTab(TabCount(), text, object); }
    void DeleteTab(int index);
    void MoveTab(int from, int to);
    void ClearTabs();
    int IndexOfTabObject(const TObject* object) const;
    // The text the window holds for a tab (what it sizes the tab from); empty without a window.
    std::wstring WindowTabText(int index);

    // -1: no tab selected.
    int TabIndex() const;
    void SetTabIndex(int value);
    // Client rectangle of a tab as the window lays it out (empty without a window or
    // for a tab scrolled out of a single row).
    TRect TabRect(int index);
    // The tab under a client point, -1 for none.
    int IndexOfTabAt(int x, int y);
    // Number of rows of tabs.
    int RowCount();
    // The area inside the strip where pages go.
    TRect DisplayRect();

    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);
    // 0: the width follows the text; otherwise every tab has this width.
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int value);
    // 0: the height follows the font.
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int value);
    TTabPosition TabPosition() const { return FTabPosition; }
    virtual void SetTabPosition(TTabPosition value);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool value);
    bool RaggedRight() const { return FRaggedRight; }
    void SetRaggedRight(bool value);
    bool ScrollOpposite() const { return FScrollOpposite; }
    void SetScrollOpposite(bool value);
    // The tabs are drawn by DrawTab (OnDrawTab) instead of the window.
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    // The images the window draws on tabs (and makes room for). Not owned.
    TCustomImageList* TabImages() const { return FTabImages; }
    void SetTabImages(TCustomImageList* value);
    // Asks every tab's image index again.
    void UpdateTabImages();

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TTabGetImageEvent OnGetImageIndex;
    TDrawTabEvent OnDrawTab;

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandleDone() override;
    void DestroyWnd() override;
    void AdjustClientRect(TRect& rect) const override;
    void Notification(TComponent* component, TOperation operation) override;
    // The change protocol: asked before a selection by the user, told after it.
    virtual bool CanChange();
    virtual void Change();
    // The image of a tab: OnGetImageIndex's answer, or the tab index without a handler.
    virtual int GetImageIndex(int tabIndex);
    // Whether the user may select a tab (the base: always).
    virtual bool CanShowTab(int tabIndex) { (void)tabIndex; return true; }
    virtual void DrawTab(int tabIndex, const TRect& rect, bool active);
    // The window's own handling of a notification or owner-draw request.
    void CNNotify(TMessage& message);
    void CNDrawItem(TMessage& message);
    HDC FDrawItemDC = nullptr;  // the DC of the owner-draw request being answered

private:
    struct TTabEntry {
        std::wstring Text;
        TObject* Object;
    };
    void SendTab(int index, bool insert);
    void SendItemSize();
    void SendImageList();
    void ImageListChange(TObject* sender);

    std::vector<TTabEntry> FTabs;
    int FTabIndex = -1;  // kept while there is no window
    bool FMultiLine = false;
    int FTabWidth = 0;
    int FTabHeight = 0;
    TTabPosition FTabPosition = tpTop;
    bool FHotTrack = false;
    bool FRaggedRight = false;
    bool FScrollOpposite = false;
    bool FOwnerDraw = false;
    bool FRefusedSelection = false;  // a selection was refused during the current input message
    TCustomImageList* FTabImages = nullptr;
    std::unique_ptr<TChangeLink> FImageLink;
};

}  // namespace ClassLib
