#include "classlib/ImageList.h"

#include <algorithm>

#include "classlib/Exceptions.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TChangeLink, TObject)
CLASSLIB_IMPLEMENT(TCustomImageList, TComponent)
CLASSLIB_IMPLEMENT(TImageList, TCustomImageList)

TChangeLink::~TChangeLink() {
    if (FSender) FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() { FireEvent(FOnChange, FSender); }

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
    for (TChangeLink* link : FLinks) link->FSender = nullptr;
}

void TCustomImageList::Assign(const TPersistent* source) {
    if (auto list = dynamic_cast<const TCustomImageList*>(source)) {
        if (list == this) return;
        FWidth = list->FWidth;
        FHeight = list->FHeight;
        FImages.clear();
        FDisabled.clear();
        for (const auto& image : list->FImages) {
            auto copy = std::make_unique<TBitmap>();
            copy->Assign(image.get());
            FImages.push_back(std::move(copy));
        }
        FDisabled.resize(FImages.size());
        Change();
        return;
    }
    TComponent::Assign(source);
}

void TCustomImageList::SetSize(int width, int height) {
    if (width < 1 || height < 1)
        throw EInvalidOperation(L"Invalid image list size: " + std::to_wstring(width) + L" x " + std::to_wstring(height));
    if (width == FWidth && height == FHeight) return;
    FWidth = width;
    FHeight = height;
    FImages.clear();
    FDisabled.clear();
    Change();
}

void TCustomImageList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) throw EInvalidOperation(L"Invalid image list index: " + std::to_wstring(index));
}

// Cuts the bitmap into list-sized pieces, each with alpha from the mask, the mask
// colour or (for bitmaps that carry it) the bitmap's own alpha.
std::vector<std::unique_ptr<TBitmap>> TCustomImageList::Split(TBitmap* image, TBitmap* mask, TColor maskColor,
                                                              bool byColor) const {
    std::vector<std::unique_ptr<TBitmap>> pieces;
    if (!image || image->Empty()) return pieces;
    TBitmap source;
    source.Assign(image);
    const bool ownAlpha = source.AlphaPremultiplied();
    source.SetPixelFormat(pf32bit);
    TBitmap maskPixels;
    if (mask && !mask->Empty()) {
        maskPixels.Assign(mask);
        maskPixels.SetPixelFormat(pf32bit);
    }
    const COLORREF key = COLORREF(ColorToRGB(maskColor)) & 0xFFFFFF;
    const int count = std::max(1, source.Width() / FWidth);
    for (int n = 0; n < count; ++n) {
        auto piece = std::make_unique<TBitmap>(FWidth, FHeight, pf32bit);
        for (int y = 0; y < FHeight; ++y) {
            auto* out = static_cast<std::uint8_t*>(piece->ScanLine(y));
            const bool rowInside = y < source.Height();
            for (int x = 0; x < FWidth; ++x, out += 4) {
                const int sx = n * FWidth + x;
                if (!rowInside || sx >= source.Width()) {
                    out[0] = out[1] = out[2] = out[3] = 0;
                    continue;
                }
                const auto* in = static_cast<const std::uint8_t*>(source.ScanLine(y)) + sx * 4;
                bool transparent = false;
                if (byColor) {
                    transparent = RGB(in[2], in[1], in[0]) == key;
                } else if (!maskPixels.Empty() && sx < maskPixels.Width() && y < maskPixels.Height()) {
                    const auto* m = static_cast<const std::uint8_t*>(maskPixels.ScanLine(y)) + sx * 4;
                    transparent = m[0] | m[1] | m[2];
                }
                if (transparent) {
                    out[0] = out[1] = out[2] = out[3] = 0;
                } else {
                    out[0] = in[0];
                    out[1] = in[1];
                    out[2] = in[2];
                    out[3] = ownAlpha ? in[3] : 255;
                }
            }
        }
        piece->SetAlphaPremultiplied(true);
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    auto pieces = Split(image, mask, clNone, false);
    if (pieces.empty()) return -1;
    const int first = Count();
    for (auto& piece : pieces) FImages.push_back(std::move(piece));
    FDisabled.resize(FImages.size());
    Change();
    return first;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
    auto pieces = Split(image, nullptr, maskColor, true);
    if (pieces.empty()) return -1;
    const int first = Count();
    for (auto& piece : pieces) FImages.push_back(std::move(piece));
    FDisabled.resize(FImages.size());
    Change();
    return first;
}

int TCustomImageList::AddIcon(TIcon* icon) {
    if (!icon || icon->Empty()) return -1;
    // Drawn onto transparent black, so the icon's own alpha and mask are kept.
    auto piece = std::make_unique<TBitmap>(FWidth, FHeight, pf32bit);
    ::DrawIconEx(piece->Canvas()->Handle(), 0, 0, icon->Handle(), FWidth, FHeight, 0, nullptr, DI_NORMAL);
    ::GdiFlush();
    bool anyAlpha = false;
    for (int y = 0; y < FHeight && !anyAlpha; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(piece->ScanLine(y));
        for (int x = 0; x < FWidth; ++x) anyAlpha = anyAlpha || row[x * 4 + 3] != 0;
    }
    if (!anyAlpha) {
        // An icon without alpha: its mask tells which pixels it covered.
        TBitmap mask(FWidth, FHeight, pf32bit);
        ::DrawIconEx(mask.Canvas()->Handle(), 0, 0, icon->Handle(), FWidth, FHeight, 0, nullptr, DI_MASK);
        ::GdiFlush();
        for (int y = 0; y < FHeight; ++y) {
            auto* row = static_cast<std::uint8_t*>(piece->ScanLine(y));
            const auto* m = static_cast<const std::uint8_t*>(mask.ScanLine(y));
            for (int x = 0; x < FWidth; ++x)
                if (m[x * 4] | m[x * 4 + 1] | m[x * 4 + 2]) row[x * 4] = row[x * 4 + 1] = row[x * 4 + 2] = row[x * 4 + 3] = 0;
                else row[x * 4 + 3] = 255;
        }
    }
    piece->SetAlphaPremultiplied(true);
    FImages.push_back(std::move(piece));
    FDisabled.resize(FImages.size());
    Change();
    return Count() - 1;
}

void TCustomImageList::Insert(int index, TBitmap* image, TBitmap* mask) {
    if (index < 0 || index > Count()) throw EInvalidOperation(L"Invalid image list index: " + std::to_wstring(index));
    auto pieces = Split(image, mask, clNone, false);
    if (pieces.empty()) return;
    FImages.insert(FImages.begin() + index, std::make_move_iterator(pieces.begin()), std::make_move_iterator(pieces.end()));
    FDisabled.clear();
    FDisabled.resize(FImages.size());
    Change();
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
    CheckIndex(index);
    auto pieces = Split(image, mask, clNone, false);
    if (pieces.empty()) return;
    FImages[index] = std::move(pieces.front());
    FDisabled[index].reset();
    Change();
}

void TCustomImageList::Delete(int index) {
    CheckIndex(index);
    FImages.erase(FImages.begin() + index);
    FDisabled.erase(FDisabled.begin() + index);
    Change();
}

void TCustomImageList::Clear() {
    if (FImages.empty()) return;
    FImages.clear();
    FDisabled.clear();
    Change();
}

// The greyed look: luminance, lifted half-way to white, with the image's own alpha.
TBitmap* TCustomImageList::Disabled(int index) {
    if (!FDisabled[index]) {
        auto grey = std::make_unique<TBitmap>();
        grey->Assign(FImages[index].get());
        for (int y = 0; y < FHeight; ++y) {
            auto* p = static_cast<std::uint8_t*>(grey->ScanLine(y));
            for (int x = 0; x < FWidth; ++x, p += 4) {
                const int a = p[3];
                const int luminance = (p[2] * 30 + p[1] * 59 + p[0] * 11) / 100;  // premultiplied already
                const int lifted = (luminance + a) / 2;
                p[0] = p[1] = p[2] = std::uint8_t(std::min(lifted, a));
            }
        }
        FDisabled[index] = std::move(grey);
    }
    return FDisabled[index].get();
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
    if (!canvas || index < 0 || index >= Count()) return;
    TBitmap* image = enabled ? FImages[index].get() : Disabled(index);
    canvas->Draw(x, y, image);
}

bool TCustomImageList::GetBitmap(int index, TBitmap* bitmap) const {
    if (!bitmap || index < 0 || index >= Count()) return false;
    bitmap->Assign(FImages[index].get());
    return true;
}

void TCustomImageList::RegisterChanges(TChangeLink* link) {
    if (!link || std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end()) return;
    if (link->FSender && link->FSender != this) link->FSender->UnRegisterChanges(link);
    link->FSender = this;
    FLinks.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link) {
    auto it = std::find(FLinks.begin(), FLinks.end(), link);
    if (it == FLinks.end()) return;
    (*it)->FSender = nullptr;
    FLinks.erase(it);
}

void TCustomImageList::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChanged) Change();
}

void TCustomImageList::Change() {
    if (FUpdateCount > 0) {
        FChanged = true;
        return;
    }
    FChanged = false;
    // A link may unregister itself while it is told: walk a copy.
    const std::vector<TChangeLink*> links = FLinks;
    for (TChangeLink* link : links) link->Change();
    FireEvent(FOnChange, this);
}

}  // namespace ClassLib
