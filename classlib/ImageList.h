#pragma once
// Image lists: equally sized images kept with their transparency, drawn enabled or
// in a greyed disabled look, with change notification for every control that shows them.
#include <memory>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/Colors.h"
#include "classlib/Events.h"
#include "classlib/Object.h"
#include "classlib/Pictures.h"

namespace ClassLib {

class TCustomImageList;

// One listener of an image list's changes; a control holds one per list it shows.
class TChangeLink : public TObject {
    CLASSLIB_CLASS(TChangeLink, TObject)
public:
    TChangeLink() = default;
    ~TChangeLink() override;
    // The list this link is registered with; null once the list is gone.
    TCustomImageList* Sender() const { return FSender; }
    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
    void Change();
private:
    friend class TCustomImageList;
    TCustomImageList* FSender = nullptr;
    TNotifyEvent FOnChange;
};

class TCustomImageList : public TComponent {
    CLASSLIB_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;
    void Assign(const TPersistent* source) override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A new size empties the list.
    void SetWidth(int width) { SetSize(width, FHeight); }
    void SetHeight(int height) { SetSize(FWidth, height); }
    void SetSize(int width, int height);
    int Count() const { return int(FImages.size()); }

    // Each add takes as many images as the bitmap's width holds (at least one) and
    // returns the index of the first. `mask`: white where the image is transparent.
    int Add(TBitmap* image, TBitmap* mask);
    // Pixels of `maskColor` become transparent.
    int AddMasked(TBitmap* image, TColor maskColor);
    int AddIcon(TIcon* icon);
    void Insert(int index, TBitmap* image, TBitmap* mask);
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void Delete(int index);
    void Clear();

    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    // The image as a 32-bit bitmap with premultiplied alpha; false for a bad index.
    bool GetBitmap(int index, TBitmap* bitmap) const;

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);
    // Counted: only the last EndUpdate reports the change.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
protected:
    virtual void Change();
private:
    std::vector<std::unique_ptr<TBitmap>> Split(TBitmap* image, TBitmap* mask, TColor maskColor, bool byColor) const;
    void CheckIndex(int index) const;
    TBitmap* Disabled(int index);

    int FWidth = 16;
    int FHeight = 16;
    std::vector<std::unique_ptr<TBitmap>> FImages;  // each FWidth x FHeight, 32-bit premultiplied
    std::vector<std::unique_ptr<TBitmap>> FDisabled;  // made on first disabled draw; parallel to FImages
    std::vector<TChangeLink*> FLinks;  // not owned
    int FUpdateCount = 0;
    bool FChanged = false;
    TNotifyEvent FOnChange;
};

class TImageList : public TCustomImageList {
    CLASSLIB_CLASS(TImageList, TCustomImageList)
public:
    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};

}  // namespace ClassLib
