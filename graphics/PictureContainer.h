#pragma once
// Pictures for HTML text: THTMLPicture loads what an IMG tag names (resource, file or
// address) and steps through GIF frames; THTMLPictureCache keeps one per address for a
// drawing control; TPictureContainer holds named pictures that markup refers to by name.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Collections.h"
#include "classlib/Events.h"
#include "classlib/Threads.h"
#include "graphics/AdvTypes.h"

namespace ClassLib {
class TControl;
}

namespace PictureContainer {

class THTMLPicture : public AdvTypes::TRasterSVGPicture {
    CLASSLIB_CLASS(THTMLPicture, AdvTypes::TRasterSVGPicture)
public:
    THTMLPicture();
    ~THTMLPicture() override;
    static const ClassLib::TGraphicClassData& ClassData();
    ClassLib::TGraphicClass GraphicClass() const override { return &ClassData(); }

    // Null empties; a TPicture or any graphic (another THTMLPicture included) is saved and
    // loaded again, so the data is the source's data; a TPicture without a graphic empties.
    void Assign(const ClassLib::TPersistent* source) override;

    // The logical screen of an animated GIF; the picture's own size otherwise.
    int MaxWidth() const;
    int MaxHeight() const;

    // Painting never raises: bytes that cannot be put in memory or decoded draw nothing.
    void Draw(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect) override;
    virtual void DrawSVG(ClassLib::TCanvas* canvas, float x, float y, float w, float h);

    // "RES://name" and "FILE://path" in any case load at once and set ID. Pictures are not
    // fetched from the web: a web address is only noted (with Asynch the first one marks
    // the picture busy, and later addresses are ignored).
    void LoadFromURL(const std::wstring& url);

    // ---- GIF frames (1-based)
    bool IsGIF() const;
    // -1 for data that is no GIF.
    int FrameCount();
    // Hundredths of a second; -1 for no GIF or no such frame. Notes the frame's
    // transparency and disposal.
    int FrameTime(int frame);
    int Frame() const { return FFrame; }
    void SetFrame(int value);
    void FrameNext();
    void FramePrev();
    // One animation tick of 10 hundredths of a second; true when the frame changed.
    bool Step();
    int FrameXPos() const { return FFrameXPos; }
    int FrameYPos() const { return FFrameYPos; }
    int FrameXSize() const { return FFrameXSize; }
    int FrameYSize() const { return FFrameYSize; }
    bool FrameTransp() const { return FFrameTransp; }
    int FrameDisposal() const { return FFrameDisposal; }

    const std::wstring& ID() const { return FID; }
    void SetID(const std::wstring& value) { FID = value; }
    const std::wstring& URL() const { return FURL; }
    // Kept for the drawing control; the picture does not read it.
    bool Stretch() const { return FStretched; }
    void SetStretch(bool value) { FStretched = value; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool value) { FAsynch = value; }
    bool IsDB() const { return FIsDB; }
    void SetIsDB(bool value) { FIsDB = value; }
    bool ThreadBusy() const { return FThreadBusy; }
    const ClassLib::TNotifyEvent& OnFrameChange() const { return FOnFrameChange; }
    void SetOnFrameChange(ClassLib::TNotifyEvent handler) { FOnFrameChange = std::move(handler); }
protected:
    // Width, height and the current frame's place; EImageMemoryError without memory.
    void Measure() override;
    void RasterChanged() override { FFrameCount = -1; }
private:
    // Offsets of the graphic-control extensions that precede an image, needing
    // `following` bytes after each.
    std::vector<std::size_t> FrameOffsets(std::size_t following) const;

    bool FStretched = false;
    int FLogPixX = 96;
    int FLogPixY = 96;
    std::wstring FURL;
    std::wstring FID;
    bool FIsDB = false;
    bool FAsynch = true;
    bool FThreadBusy = false;   // set by the first web address; nothing ever clears it
    int FFrame = 1;
    int FFrameCount = -1;       // -1: not counted yet
    ClassLib::TNotifyEvent FOnFrameChange;
    int FFrameXPos = 0;
    int FFrameYPos = 0;
    int FFrameXSize = 0;
    int FFrameYSize = 0;
    bool FFrameTransp = false;
    int FFrameDisposal = 0;
    int FAnimMaxX = 0;
    int FAnimMaxY = 0;
    int FNextCount = -1;
    int FTimerCount = -1;
};

// The pictures a drawing control loaded, one per address; owns them.
// The thread that would fetch a picture from a web address. Pictures are not fetched: its
// work is empty, it touches nothing and frees itself once it has run, so it is started
// as TThread says for such threads: Create<TDownLoadThread>(true, picture), then
// release()->Start().
class TDownLoadThread : public ClassLib::TThread {
    CLASSLIB_CLASS(TDownLoadThread, ClassLib::TThread)
public:
    TDownLoadThread(const TCreation& creation, THTMLPicture* picture);
    THTMLPicture* Picture() const { return FPicture; }
protected:
    void Execute() override {}
private:
    THTMLPicture* FPicture;   // not owned
};

class THTMLPictureCache {
public:
    THTMLPictureCache() = default;
    ~THTMLPictureCache();
    THTMLPictureCache(const THTMLPictureCache&) = delete;
    THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;

    THTMLPicture* AddPicture();
    // The first picture whose ID is exactly `id` (case counts), or null.
    ClassLib::TGraphic* FindPicture(const std::wstring& id) const;
    void ClearPictures();
    // One tick for every picture; true when any changed its frame.
    bool Animate();
    int Count() const { return int(FPictures.size()); }
    THTMLPicture* Items(int index) const;
    // The cache takes the picture; the one it replaces is freed.
    void SetItems(int index, std::unique_ptr<THTMLPicture> picture);
private:
    std::vector<std::unique_ptr<THTMLPicture>> FPictures;
};

class TPictureContainer;

class TPictureItem : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TPictureItem, ClassLib::TCollectionItem)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TPictureItem(ClassLib::TCollection* collection);
    ~TPictureItem() override;
    void Assign(const ClassLib::TPersistent* source) override;

    const std::wstring& Name() const { return FName; }
    void SetName(const std::wstring& value) { FName = value; }
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t value) { FTag = value; }
    THTMLPicture* Picture() const;
    void SetPicture(const THTMLPicture* value);
    TPictureContainer* Container() const;
    // A copy of the picture as a TPicture, owned by the container and valid until its
    // next Bitmap or FindBitmap; null outside a container.
    ClassLib::TPicture* Bitmap() const;
protected:
    // Descendants that keep another picture class make it here; called on first use.
    virtual std::unique_ptr<THTMLPicture> CreatePicture() const;
private:
    std::wstring FName;
    std::intptr_t FTag = 0;
    mutable std::unique_ptr<THTMLPicture> FPicture;   // made on first use
};

class TPictureCollection : public ClassLib::TOwnedCollection {
    CLASSLIB_CLASS(TPictureCollection, ClassLib::TOwnedCollection)
public:
    explicit TPictureCollection(ClassLib::TComponent* owner,
                                ClassLib::TCollectionItemFactory factory = &ClassLib::CreateCollectionItem<TPictureItem>);
    TPictureItem* Add();
    TPictureItem* Insert(int index);
    TPictureItem* Items(int index) const;
    void SetItems(int index, const TPictureItem* value);
    // One tick for every item's picture; true when any changed its frame.
    bool Animate();
};

class TPictureContainer : public ClassLib::TComponent {
    CLASSLIB_CLASS(TPictureContainer, ClassLib::TComponent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TPictureContainer(ClassLib::TComponent* owner);
    ~TPictureContainer() override;

    // The picture of the first item named `name`, case ignored; null when none.
    ClassLib::TGraphic* FindPicture(const std::wstring& name) const;
    // A copy of that picture, valid until the next FindBitmap or Bitmap call; null when none.
    ClassLib::TPicture* FindBitmap(const std::wstring& name);
    // The control is invalidated whenever the pictures change.
    void RegisterControl(ClassLib::TControl* control);
    virtual void Changed();
    virtual int GetVersionNr() const;
    // "2.1.1.0"; setting it does nothing.
    std::wstring Version() const;
    void SetVersion(const std::wstring&) {}

    TPictureCollection* Items() const { return FItems.get(); }
    // Copies the items: the container keeps its own collection.
    void SetItems(const TPictureCollection* value);
    const ClassLib::TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(ClassLib::TNotifyEvent handler) { FOnChange = std::move(handler); }
protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
private:
    friend class TPictureItem;
    // Replaces the picture handed out last.
    ClassLib::TPicture* HandOut(const THTMLPicture* picture);

    std::unique_ptr<TPictureCollection> FItems;
    std::vector<ClassLib::TControl*> FControls;   // not owned; removed when they go
    std::unique_ptr<ClassLib::TPicture> FPicture;  // the copy handed out last
    ClassLib::TNotifyEvent FOnChange;
};

}  // namespace PictureContainer
