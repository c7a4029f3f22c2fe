#include "graphics/PictureContainer.h"

#include <algorithm>
#include <cstring>

#include "classlib/Control.h"
#include "classlib/Properties.h"
#include "classlib/Strings.h"
#include "graphics/AdvGlobalStream.h"

namespace PictureContainer {

using namespace ClassLib;
using AdvTypes::TPictureData;

CLASSLIB_IMPLEMENT(THTMLPicture, AdvTypes::TRasterSVGPicture)
CLASSLIB_IMPLEMENT(TDownLoadThread, TThread)
CLASSLIB_IMPLEMENT(TPictureItem, TCollectionItem)
CLASSLIB_IMPLEMENT(TPictureCollection, TOwnedCollection)
CLASSLIB_IMPLEMENT(TPictureContainer, TComponent)

namespace {

int Le16(const TBytes& bytes, std::size_t at) {
    return at + 1 < bytes.size() ? bytes[at] | (bytes[at + 1] << 8) : 0;
}

}  // namespace

// ---- TDownLoadThread

TDownLoadThread::TDownLoadThread(const TCreation& creation, THTMLPicture* picture)
    : TThread(creation), FPicture(picture) {
    SetFreeOnTerminate(true);
}

// ---- THTMLPicture

THTMLPicture::THTMLPicture() { FTransparent = true; }
THTMLPicture::~THTMLPicture() = default;

const TGraphicClassData& THTMLPicture::ClassData() {
    static const TGraphicClassData data{
        L"THTMLPicture", []() -> std::unique_ptr<TGraphic> { return std::make_unique<THTMLPicture>(); }, nullptr,
        false};
    return data;
}

int THTMLPicture::MaxWidth() const { return HoldsSVG() || !IsGIF() ? Width() : FAnimMaxX; }
int THTMLPicture::MaxHeight() const { return HoldsSVG() || !IsGIF() ? Height() : FAnimMaxY; }

void THTMLPicture::Measure() {
    if (HoldsSVG()) return;
    FWidth = 0;
    FHeight = 0;
    const TBytes& data = FDatastream.Bytes();
    if (FrameCount() >= 1) {
        FAnimMaxX = Le16(data, 6);
        FAnimMaxY = Le16(data, 8);
        const std::vector<std::size_t> frames = FrameOffsets(8);
        if (FFrame >= 1 && std::size_t(FFrame) <= frames.size()) {
            const std::size_t descriptor = frames[std::size_t(FFrame) - 1] + 8;
            FFrameXPos = Le16(data, descriptor + 1);
            FFrameYPos = Le16(data, descriptor + 3);
            FFrameXSize = Le16(data, descriptor + 5);
            FFrameYSize = Le16(data, descriptor + 7);
        }
    }
    MeasureRaster();
}

void THTMLPicture::Draw(TCanvas* canvas, const TRect& rect) {
    if (HoldsSVG()) {
        TAdvSVGBitmap::Draw(canvas, rect);
        return;
    }
    if (FIsEmpty) return;
    int width = 0, height = 0;
    Decoded().Draw(canvas, rect, FDatastream.Bytes(),
                   Transparent() ? AdvGlobalStream::TBmpDrawing::Transparent : AdvGlobalStream::TBmpDrawing::Opaque, 0,
                   width, height);
}

void THTMLPicture::DrawSVG(TCanvas* canvas, float x, float y, float w, float h) {
    if (HasSVG()) Importer()->Draw(canvas, AdvTypes::RectF(x, y, x + w, y + h), true);
}

void THTMLPicture::LoadFromURL(const std::wstring& url) {
    if (HasAddressPrefix(url, L"RES://")) {
        FID = url;
        if (url.size() > 6) LoadFromResourceName(::GetModuleHandleW(nullptr), url.substr(6));
    } else if (HasAddressPrefix(url, L"FILE://")) {
        FID = url;
        if (url.size() > 7) LoadFromFile(url.substr(7));
    } else if (!FAsynch) {
        FURL = url;
        FID = url;
    } else if (!FThreadBusy) {
        FURL = url;
        FThreadBusy = true;
    }
}

void THTMLPicture::Assign(const TPersistent* source) {
    if (source == this) return;
    FIsEmpty = true;
    FFrameCount = -1;
    FNextCount = -1;
    FTimerCount = -1;
    SetFrame(1);
    if (const auto* picture = dynamic_cast<const TPicture*>(source)) source = picture->Graphic();
    const auto* graphic = dynamic_cast<const TGraphic*>(source);
    if (!graphic) {
        if (source) return;   // nothing this picture can copy
        ClearAll();
        Changed();
        return;
    }
    const auto* other = dynamic_cast<const THTMLPicture*>(source);
    if (other) {
        FStretched = other->FStretched;
        FID = other->FID;
    }
    TMemoryStream saved;
    const_cast<TGraphic*>(graphic)->SaveToStream(&saved);   // saving changes nothing the source shows
    if (saved.Size() == 0) {
        ClearAll();
        Changed();
        return;
    }
    TakeBytes(saved.Bytes(), false);
    FIsEmpty = false;
    if (other) FFrame = other->FFrame;
    Measure();
    Changed();
}

bool THTMLPicture::IsGIF() const {
    const TBytes& data = FDatastream.Bytes();
    return data.size() >= 5 && std::memcmp(data.data(), "GIF8", 4) == 0;
}

std::vector<std::size_t> THTMLPicture::FrameOffsets(std::size_t following) const {
    std::vector<std::size_t> offsets;
    const TBytes& data = FDatastream.Bytes();
    for (std::size_t i = 0; i + following < data.size(); ++i)
        if (data[i] == 0x21 && data[i + 1] == 0xF9 && data[i + 2] == 0x04 && data[i + 8] == 0x2C) offsets.push_back(i);
    return offsets;
}

int THTMLPicture::FrameCount() {
    if (!IsGIF()) return -1;
    if (FFrameCount == -1) FFrameCount = int(FrameOffsets(9).size());
    return FFrameCount;
}

int THTMLPicture::FrameTime(int frame) {
    if (!IsGIF()) return -1;
    const std::vector<std::size_t> frames = FrameOffsets(8);
    if (frame < 1 || std::size_t(frame) > frames.size()) return -1;
    const TBytes& data = FDatastream.Bytes();
    const std::size_t at = frames[std::size_t(frame) - 1];
    FFrameTransp = (data[at + 3] & 1) != 0;
    FFrameDisposal = (data[at + 3] >> 2) & 7;
    return Le16(data, at + 4);
}

void THTMLPicture::SetFrame(int value) {
    FFrame = value;
    if (FDatastream.Size() == 0) return;
    Measure();
    FireEvent(FOnFrameChange, this);
}

void THTMLPicture::FrameNext() {
    const int count = FrameCount();
    SetFrame(FFrame >= count ? 1 : FFrame + 1);
}

void THTMLPicture::FramePrev() {
    const int count = FrameCount();
    SetFrame(FFrame <= 1 ? std::max(count, 1) : FFrame - 1);
}

bool THTMLPicture::Step() {
    if (FrameCount() < 2 || Empty()) return false;
    if (FNextCount == -1) FNextCount = FrameTime(FFrame);
    if (FTimerCount * 10 < FNextCount) {
        ++FTimerCount;
        return false;
    }
    FrameNext();
    FNextCount += FrameTime(FFrame);
    ++FTimerCount;
    return true;
}

// ---- THTMLPictureCache

THTMLPictureCache::~THTMLPictureCache() { ClearPictures(); }

THTMLPicture* THTMLPictureCache::AddPicture() {
    FPictures.push_back(std::make_unique<THTMLPicture>());
    return FPictures.back().get();
}

TGraphic* THTMLPictureCache::FindPicture(const std::wstring& id) const {
    for (const auto& picture : FPictures)
        if (picture->ID() == id) return picture.get();
    return nullptr;
}

void THTMLPictureCache::ClearPictures() { FPictures.clear(); }

bool THTMLPictureCache::Animate() {
    bool changed = false;
    for (const auto& picture : FPictures) changed = picture->Step() || changed;
    return changed;
}

THTMLPicture* THTMLPictureCache::Items(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    return FPictures[std::size_t(index)].get();
}

void THTMLPictureCache::SetItems(int index, std::unique_ptr<THTMLPicture> picture) {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    FPictures[std::size_t(index)] = std::move(picture);
}

// ---- TPictureItem

TPictureItem::TPictureItem(TCollection* collection) : TCollectionItem(collection) {}
TPictureItem::~TPictureItem() = default;

const TPropertyList& TPictureItem::Published() {
    using I = TPictureItem;
    static const TPropertyList list = TPropertyList::Extend(TCollectionItem::Published())
        .Add(L"Name", &I::Name, &I::SetName, std::wstring())
        .Add(L"Tag", &I::Tag, &I::SetTag, 0)
        .SubObject(L"Picture", &I::Picture);
    return list;
}

std::unique_ptr<THTMLPicture> TPictureItem::CreatePicture() const { return std::make_unique<THTMLPicture>(); }

THTMLPicture* TPictureItem::Picture() const {
    if (!FPicture) FPicture = CreatePicture();
    return FPicture.get();
}

void TPictureItem::SetPicture(const THTMLPicture* value) { Picture()->Assign(value); }

void TPictureItem::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TPictureItem*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    if (other == this) return;
    FName = other->FName;
    FTag = other->FTag;
    Picture()->Assign(other->Picture());
}

TPictureContainer* TPictureItem::Container() const {
    return Collection() ? dynamic_cast<TPictureContainer*>(Collection()->Owner()) : nullptr;
}

TPicture* TPictureItem::Bitmap() const {
    TPictureContainer* container = Container();
    return container ? container->HandOut(Picture()) : nullptr;
}

// ---- TPictureCollection

TPictureCollection::TPictureCollection(TComponent* owner, TCollectionItemFactory factory)
    : TOwnedCollection(owner, factory) {}

TPictureItem* TPictureCollection::Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
TPictureItem* TPictureCollection::Insert(int index) { return static_cast<TPictureItem*>(TCollection::Insert(index)); }
TPictureItem* TPictureCollection::Items(int index) const { return static_cast<TPictureItem*>(TCollection::Items(index)); }
void TPictureCollection::SetItems(int index, const TPictureItem* value) { TCollection::SetItems(index, value); }

bool TPictureCollection::Animate() {
    bool changed = false;
    for (int i = 0; i < Count(); ++i) changed = Items(i)->Picture()->Step() || changed;
    return changed;
}

// ---- TPictureContainer

TPictureContainer::TPictureContainer(TComponent* owner)
    : TComponent(owner), FItems(std::make_unique<TPictureCollection>(this)) {}

TPictureContainer::~TPictureContainer() = default;

const TPropertyList& TPictureContainer::Published() {
    using C = TPictureContainer;
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Collection(L"Items", &C::Items)
        .Add(L"Version", &C::Version, &C::SetVersion)
        .Event(L"OnChange", &C::FOnChange);
    return list;
}

TGraphic* TPictureContainer::FindPicture(const std::wstring& name) const {
    for (int i = 0; i < FItems->Count(); ++i)
        if (SameText(FItems->Items(i)->Name(), name)) return FItems->Items(i)->Picture();
    return nullptr;
}

TPicture* TPictureContainer::HandOut(const THTMLPicture* picture) {
    FPicture = std::make_unique<TPicture>();
    FPicture->Assign(picture);
    return FPicture.get();
}

TPicture* TPictureContainer::FindBitmap(const std::wstring& name) {
    FPicture.reset();
    const auto* picture = static_cast<const THTMLPicture*>(FindPicture(name));
    return picture ? HandOut(picture) : nullptr;
}

void TPictureContainer::RegisterControl(TControl* control) {
    if (!control) return;
    FControls.push_back(control);
    control->FreeNotification(this);
}

void TPictureContainer::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove)
        FControls.erase(std::remove(FControls.begin(), FControls.end(), component), FControls.end());
}

void TPictureContainer::Changed() {
    for (TControl* control : FControls) control->Invalidate();
    FireEvent(FOnChange, this);
}

int TPictureContainer::GetVersionNr() const { return (2 << 24) | (1 << 16) | (1 << 8) | 0; }

std::wstring TPictureContainer::Version() const {
    const int nr = GetVersionNr();
    return std::to_wstring((nr >> 24) & 0xFF) + L"." + std::to_wstring((nr >> 16) & 0xFF) + L"." +
           std::to_wstring((nr >> 8) & 0xFF) + L"." + std::to_wstring(nr & 0xFF);
}

void TPictureContainer::SetItems(const TPictureCollection* value) {
    if (value && value != FItems.get()) FItems->Assign(value);
}

}  // namespace PictureContainer
