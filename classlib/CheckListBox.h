#pragma once
// TCheckListBox: a list box with a check box before every item. Each item also has its
// own enabled state: a disabled item shows grey and its check cannot be changed by the user.
#include <windows.h>

#include <vector>

#include "classlib/StandardControls.h"

namespace ClassLib {

class TCheckListBox : public TListBox {
    CLASSLIB_CLASS(TCheckListBox, TListBox)
public:
    static const TPropertyList& Published();
    explicit TCheckListBox(TComponent* owner);

    // The states belong to positions: they are cleared with the items.
    bool Checked(int index) const;
    void SetChecked(int index, bool value);
    bool ItemEnabled(int index) const;
    void SetItemEnabled(int index, bool value);
    // Raised after the user changed an item's check.
    TNotifyEvent OnClickCheck;

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void ItemsChanged() override;
    // Turns an item's check over as the user asked, when the item is enabled.
    void ToggleByUser(int index);

private:
    struct TItemState {
        bool Checked = false;
        bool Enabled = true;
    };
    const TItemState& StateOf(int index) const;
    TItemState& StateFor(int index);
    void InvalidateItem(int index);
    int CheckWidth() const;

    std::vector<TItemState> FStates;  // invariant: FStates.size() <= Items()->Count()
};

}  // namespace ClassLib
