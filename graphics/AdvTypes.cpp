#include "graphics/AdvTypes.h"

#include <algorithm>
#include <cstring>

#include "classlib/Properties.h"
#include "classlib/Strings.h"
#include "classlib/WindowDescription.h"
#include "classlib/WindowDescriptionWriter.h"
#include "graphics/AdvGlobalStream.h"
#include "graphics/AdvGraphicsSVGEngine.h"
#include "graphics/AdvUtils.h"

namespace AdvTypes {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TAdvSVGImport, TPersistent)
CLASSLIB_IMPLEMENT(TAdvSVGBitmap, TGraphic)
CLASSLIB_IMPLEMENT(TRasterSVGPicture, TAdvSVGBitmap)
CLASSLIB_IMPLEMENT(TAdvBitmap, TPicture)
CLASSLIB_IMPLEMENT(TAdvScaledBitmap, TCollectionItem)
CLASSLIB_IMPLEMENT(TAdvScaledBitmaps, TOwnedCollection)

namespace {

TSVGImportFactory& Factory() {
    static TSVGImportFactory factory;
    return factory;
}

// A description holds a picture's image as "Picture.Data = {...}"; both raster-or-SVG
// pictures read theirs through their own ReadData.
[[maybe_unused]] const bool SVGDataRegistered =
    (RegisterBinaryProperty(TAdvSVGBitmap::StaticClass(), L"Data",
                            [](TObject* object, TStream* data) { static_cast<TAdvSVGBitmap*>(object)->ReadData(data); }),
     RegisterBinaryPropertyWriter(TAdvSVGBitmap::StaticClass(), L"Data",
                                  [](TObject* object, TStream* data) {
                                      auto* bitmap = static_cast<TAdvSVGBitmap*>(object);
                                      if (bitmap->Empty()) return false;
                                      bitmap->WriteData(data);
                                      return true;
                                  }),
     true);

}  // namespace

TBytes TAdvSVGBitmap::ReadWholeStream(TStream* stream) {
    stream->SetPosition(0);
    const int64_t size = stream->Size();
    if (size > 0x7FFFFFFF) throw EInvalidGraphic(L"Cannot load the picture: the data is larger than 2 GB");
    TBytes bytes(static_cast<std::size_t>(size));
    if (size) stream->ReadBuffer(bytes.data(), int(size));
    return bytes;
}

void TAdvSVGBitmap::WriteAll(TStream* stream, const TBytes& bytes) {
    if (!bytes.empty()) stream->WriteBuffer(bytes.data(), int(bytes.size()));
}

void SetSVGImportFactory(TSVGImportFactory factory) { Factory() = std::move(factory); }
const TSVGImportFactory& SVGImportFactory() { return Factory(); }

void RegisterSVGFormat() {
    UnregisterSVGFormat();   // a second session must not list the format twice
    AdvGraphicsSVGEngine::InstallSVGImporter();
    TPicture::RegisterFileFormat(L"svg", L"Scalable Vector Graphics", &TAdvSVGBitmap::ClassData());
}

void UnregisterSVGFormat() {
    TPicture::UnregisterGraphicClass(&TAdvSVGBitmap::ClassData());
    SetSVGImportFactory(nullptr);
}

bool LooksLikeSVG(const std::uint8_t* data, std::size_t size) {
    std::size_t i = 0;
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) i = 3;
    while (i < size && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) ++i;
    return i < size && data[i] == '<';
}

bool IsRasterData(const std::uint8_t* data, std::size_t size) {
    const TGraphicClassData* graphicClass = nullptr;
    return AdvUtils::TAdvUtils::FindGraphicClass(data, std::int64_t(size), graphicClass);
}

TPictureData ClassifyPictureData(const TBytes& bytes) {
    if (IsRasterData(bytes.data(), bytes.size())) return TPictureData::Raster;
    if (LooksLikeSVG(bytes.data(), bytes.size())) return TPictureData::SVG;
    throw EInvalidGraphic(L"Cannot load the picture: unknown picture format");
}

TPictureData ReadPictureData(TStream* stream, TBytes& payload) {
    payload.assign(static_cast<std::size_t>(std::max<std::int64_t>(0, stream->Size() - stream->Position())), 0);
    if (payload.empty()) return TPictureData::Raster;   // an empty picture writes nothing
    stream->ReadBuffer(payload.data(), int(payload.size()));
    if (IsRasterData(payload.data(), payload.size())) return TPictureData::Raster;
    TMemoryStream data;
    TAdvSVGBitmap::WriteAll(&data, payload);
    data.SetPosition(0);
    payload = ReadCountedData(&data);
    if (!LooksLikeSVG(payload.data(), payload.size()))
        throw EInvalidGraphic(L"Cannot load the picture: unknown picture format");
    return TPictureData::SVG;
}

// ---- TAdvSVGBitmap

TAdvSVGBitmap::TAdvSVGBitmap() = default;
TAdvSVGBitmap::~TAdvSVGBitmap() = default;

const TGraphicClassData& TAdvSVGBitmap::ClassData() {
    static const TGraphicClassData data{
        L"TAdvSVGBitmap", []() -> std::unique_ptr<TGraphic> { return std::make_unique<TAdvSVGBitmap>(); },
        &TAdvSVGBitmap::CanLoadFromStream, false};
    return data;
}

bool TAdvSVGBitmap::HasSVG() const { return FImporter && FImporter->HasElements(); }

bool TAdvSVGBitmap::Empty() const { return !FImporter || !FImporter->HasElements(); }

int TAdvSVGBitmap::Width() const {
    if (!FImporter) return 0;
    return int(Round(AdvUtils::TAdvUtils::GetDPIScale(nullptr, -1) * FImporter->ViewRect().Width()));
}

int TAdvSVGBitmap::Height() const {
    if (!FImporter) return 0;
    return int(Round(AdvUtils::TAdvUtils::GetDPIScale(nullptr, -1) * FImporter->ViewRect().Height()));
}

void TAdvSVGBitmap::Draw(TCanvas* canvas, const TRect& rect) {
    if (!Empty()) FImporter->Draw(canvas, RectToRectF(rect), true);
}

void TAdvSVGBitmap::SetSVGBytes(const TBytes& bytes, bool passErrors) {
    // Kept to go back to: a load that fails leaves the picture as it was.
    const TBytes previous = passErrors ? FStream.Bytes() : TBytes();
    FStream.Clear();
    WriteAll(&FStream, bytes);
    if (!FImporter && SVGImportFactory()) FImporter = SVGImportFactory()();
    if (!FImporter) return;
    try {
        FImporter->Clear();
        FStream.SetPosition(0);
        FImporter->LoadFromStream(&FStream);
    } catch (...) {
        if (!passErrors) return;
        FStream.Clear();
        WriteAll(&FStream, previous);
        FImporter->Clear();
        if (!previous.empty()) {
            try {
                FStream.SetPosition(0);
                FImporter->LoadFromStream(&FStream);
            } catch (...) {
                // Those bytes failed before and were kept; the new error is the one to report.
            }
        }
        // As a picture error, which the picture loaders complete with the file's name.
        try {
            throw;
        } catch (const EInvalidGraphic&) {
            throw;
        } catch (const Exception& e) {
            throw EInvalidGraphic(e.Message());
        }
    }
}

void TAdvSVGBitmap::ClearSVG() {
    if (FImporter) FImporter->Clear();
    FStream.Clear();
}

void TAdvSVGBitmap::LoadFromStream(TStream* stream) {
    if (!stream) return;
    TBytes bytes = ReadWholeStream(stream);
    // A file named ".svg" reaches here by its extension whatever it holds; bytes that are
    // no XML text at all are refused as no picture, and the picture stays as it was.
    if (!bytes.empty() && !LooksLikeSVG(bytes.data(), bytes.size()))
        throw EInvalidGraphic(L"Cannot load the picture: unknown picture format");
    SetSVGBytes(bytes, true);
    FFileName.clear();
    Changed();
}

void TAdvSVGBitmap::SaveToStream(TStream* stream) {
    if (stream) WriteAll(stream, FStream.Bytes());
}

void TAdvSVGBitmap::LoadFromFile(const std::wstring& fileName) {
    TMemoryStream file;
    file.LoadFromFile(fileName);
    SetSVGBytes(file.Bytes(), true);
    FFileName = fileName;
    Changed();
}

void TAdvSVGBitmap::SaveToFile(const std::wstring& fileName) {
    SaveFileSafely(fileName, [this](TStream* stream) { SaveToStream(stream); });
}

bool TAdvSVGBitmap::CanLoadFromStream(TStream* stream) {
    std::uint8_t head[64] = {};
    const std::int64_t position = stream->Position();
    const int got = stream->Read(head, int(sizeof head));
    stream->SetPosition(position);
    return got > 0 && LooksLikeSVG(head, std::size_t(got));
}

void TAdvSVGBitmap::Clear() {
    ClearSVG();
    FFileName.clear();
    Changed();
}

void TAdvSVGBitmap::SetFileName(const std::wstring& value) {
    if (value != FFileName) LoadFromFile(value);
}

void TAdvSVGBitmap::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TAdvSVGBitmap*>(source);
    if (!other) return;
    if (other != this) SetSVGBytes(other->FStream.Bytes(), false);
    Changed();
}

void TAdvSVGBitmap::AssignTo(TPersistent* dest) const {
    if (auto* svg = dynamic_cast<TAdvSVGBitmap*>(dest)) svg->Assign(this);
}

// ---- TRasterSVGPicture

TRasterSVGPicture::TRasterSVGPicture() : FDecoded(std::make_unique<AdvGlobalStream::TDecodedImage>()) {}
TRasterSVGPicture::~TRasterSVGPicture() = default;

bool TRasterSVGPicture::Empty() const { return HoldsSVG() ? TAdvSVGBitmap::Empty() : FIsEmpty; }
int TRasterSVGPicture::Width() const { return HoldsSVG() ? TAdvSVGBitmap::Width() : FWidth; }
int TRasterSVGPicture::Height() const { return HoldsSVG() ? TAdvSVGBitmap::Height() : FHeight; }

void TRasterSVGPicture::SetRaster(const TBytes& bytes) {
    FDatastream.Clear();
    WriteAll(&FDatastream, bytes);
    FDecoded->Reset();
    RasterChanged();
}

void TRasterSVGPicture::TakeBytes(const TBytes& bytes, bool passErrors) {
    if (ClassifyPictureData(bytes) == TPictureData::Raster) {
        ClearSVG();
        SetRaster(bytes);
    } else {
        SetSVGBytes(bytes, passErrors);
    }
}

void TRasterSVGPicture::ClearAll() {
    ClearSVG();
    SetRaster({});
}

bool TRasterSVGPicture::MeasureRaster() {
    if (FDatastream.Size() == 0) return false;
    return AdvGlobalStream::MeasureImage(FDatastream.Bytes(), FWidth, FHeight);
}

void TRasterSVGPicture::Measure() {
    if (!HoldsSVG() && !FIsEmpty) MeasureRaster();
}

bool TRasterSVGPicture::HasAddressPrefix(const std::wstring& url, const wchar_t* prefix) {
    const std::size_t length = std::wcslen(prefix);
    return url.size() >= length && UpperCase(url.substr(0, length)) == prefix;
}

void TRasterSVGPicture::LoadFromFile(const std::wstring& fileName) {
    try {
        TMemoryStream file;
        file.LoadFromFile(fileName);
        if (ClassifyPictureData(file.Bytes()) == TPictureData::Raster) {
            ClearSVG();
            SetRaster(file.Bytes());
        } else {
            SetRaster({});   // from a file the SVG replaces the raster bytes
            SetSVGBytes(file.Bytes(), true);
        }
        FIsEmpty = false;
        FileLoaded(fileName);
        Measure();
        Changed();
    } catch (...) {
        FIsEmpty = true;
    }
}

void TRasterSVGPicture::LoadFromStream(TStream* stream) {
    if (!stream) return;
    TakeBytes(ReadWholeStream(stream), true);
    FIsEmpty = false;
    Measure();
    Changed();
}

void TRasterSVGPicture::SaveToStream(TStream* stream) {
    if (!stream) return;
    if (HoldsSVG())
        TAdvSVGBitmap::SaveToStream(stream);
    else
        WriteAll(stream, FDatastream.Bytes());
}

void TRasterSVGPicture::ReadData(TStream* stream) {
    TBytes payload;
    const TPictureData kind = ReadPictureData(stream, payload);
    if (payload.empty()) return;
    if (kind == TPictureData::Raster) {
        ClearSVG();
        SetRaster(payload);
    } else {
        SetSVGBytes(payload, true);
    }
    FIsEmpty = false;
    Measure();
    Changed();
}

void TRasterSVGPicture::WriteData(TStream* stream) {
    if (HoldsSVG())
        TAdvSVGBitmap::WriteData(stream);
    else
        WriteAll(stream, FDatastream.Bytes());
}

void TRasterSVGPicture::LoadFromResourceName(HINSTANCE instance, const std::wstring& resName) {
    if (!::FindResourceW(instance, resName.c_str(), RT_RCDATA)) return;
    TResourceStream stream(instance, resName);
    LoadFromStream(&stream);
}

void TRasterSVGPicture::LoadFromResourceID(HINSTANCE instance, int resID) {
    TResourceStream stream(instance, resID);
    LoadFromStream(&stream);
}

// ---- TAdvBitmap

std::unique_ptr<TAdvBitmap> TAdvBitmap::CreateFromResource(const std::wstring& name, std::uintptr_t instance) {
    auto bitmap = std::make_unique<TAdvBitmap>();
    bitmap->LoadFromResource(name, instance);
    return bitmap;
}

void TAdvBitmap::LoadFromResource(const std::wstring& name, std::uintptr_t instance) {
    const std::unique_ptr<TResourceStream> stream = AdvUtils::TAdvUtils::GetResourceStream(name, instance);
    if (stream) LoadFromStream(stream.get());
}

bool TAdvBitmap::HasSVG() const {
    const auto* svg = dynamic_cast<const TAdvSVGBitmap*>(Graphic());
    return svg && svg->HasSVG();
}

TAdvSVGImport* TAdvBitmap::GetSVG() const {
    const auto* svg = dynamic_cast<const TAdvSVGBitmap*>(Graphic());
    return svg ? svg->Importer() : nullptr;
}

bool IsPictureEmpty(const TPicture* picture) {
    return !picture || !picture->Graphic() || picture->Graphic()->Empty();
}

// ---- TAdvScaledBitmap

TAdvScaledBitmap::TAdvScaledBitmap(TCollection* collection)
    : TCollectionItem(collection), FBitmap(std::make_unique<TAdvBitmap>()) {
    FBitmap->SetOnChange([this](TObject*) { Changed(false); });
}

TAdvScaledBitmap::~TAdvScaledBitmap() = default;

const TPropertyList& TAdvScaledBitmap::Published() {
    using I = TAdvScaledBitmap;
    static const TPropertyList list = TPropertyList::Extend(TCollectionItem::Published())
        .SubObject(L"Bitmap", &I::Bitmap)
        .Add(L"BitmapName", &I::BitmapName, &I::SetBitmapName, std::wstring())
        .Add(L"Scale", &I::Scale, &I::SetScale, 1.0);
    return list;
}

void TAdvScaledBitmap::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TAdvScaledBitmap*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    if (other == this) return;
    FBitmap->Assign(other->FBitmap.get());
    FBitmapName = other->FBitmapName;
    FScale = other->FScale;
    Changed(false);
}

void TAdvScaledBitmap::SetBitmap(const TAdvBitmap* value) {
    if (value == FBitmap.get()) return;
    FBitmap->Assign(value);
    Changed(false);
}

void TAdvScaledBitmap::SetBitmapName(const std::wstring& value) {
    if (value == FBitmapName) return;
    FBitmapName = value;
    Changed(false);
}

void TAdvScaledBitmap::SetScale(float value) {
    if (value == FScale) return;
    FScale = value;
    Changed(false);
}

// ---- TAdvScaledBitmaps

TAdvScaledBitmaps::TAdvScaledBitmaps(TPersistent* owner)
    : TOwnedCollection(owner, &CreateCollectionItem<TAdvScaledBitmap>) {}

const TPropertyList& TAdvScaledBitmaps::Published() {
    static const TPropertyList list =
        TPropertyList::Extend(TOwnedCollection::Published()).Event(L"OnChange", &TAdvScaledBitmaps::FOnChange);
    return list;
}

TAdvScaledBitmap* TAdvScaledBitmaps::Add(float scale) {
    auto* item = static_cast<TAdvScaledBitmap*>(TCollection::Add());
    item->SetScale(scale);
    return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::AddBitmap(const TAdvBitmap* bitmap, float scale) {
    TAdvScaledBitmap* item = Add(scale);
    item->Bitmap()->Assign(bitmap);
    return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::AddDrawBitmap(const TGraphic* bitmap, float scale) {
    TAdvScaledBitmap* item = Add(scale);
    item->Bitmap()->Assign(bitmap);
    return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::AddBitmapFromFile(const std::wstring& fileName, float scale) {
    TAdvScaledBitmap* item = Add(scale);
    item->Bitmap()->LoadFromFile(fileName);
    return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::AddBitmapFromResource(const std::wstring& resourceName, std::uintptr_t instance,
                                                          float scale) {
    TAdvScaledBitmap* item = Add(scale);
    item->Bitmap()->LoadFromResource(resourceName, instance);
    return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::AddBitmapName(const std::wstring& bitmapName, float scale) {
    TAdvScaledBitmap* item = Add(scale);
    item->SetBitmapName(bitmapName);
    return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::Insert(int index) { return static_cast<TAdvScaledBitmap*>(TCollection::Insert(index)); }

TAdvScaledBitmap* TAdvScaledBitmaps::Insert(int index, float scale) {
    TAdvScaledBitmap* item = Insert(index);
    item->SetScale(scale);
    return item;
}

TAdvScaledBitmap* TAdvScaledBitmaps::Items(int index) const {
    return static_cast<TAdvScaledBitmap*>(TCollection::Items(index));
}

void TAdvScaledBitmaps::SetItems(int index, const TAdvScaledBitmap* value) { TCollection::SetItems(index, value); }

TAdvScaledBitmap* TAdvScaledBitmaps::GetItemByScale(float scale) const {
    TAdvScaledBitmap* largest = nullptr;
    for (int i = 0; i < Count(); ++i) {
        TAdvScaledBitmap* item = Items(i);
        if (item->Scale() == scale) return item;
        if (!largest || item->Scale() > largest->Scale()) largest = item;
    }
    return largest;
}

TAdvBitmap* TAdvScaledBitmaps::GetBitmapByScale(float scale) const {
    TAdvScaledBitmap* item = GetItemByScale(scale);
    return item ? item->Bitmap() : nullptr;
}

void TAdvScaledBitmaps::SetBitmap(float scale, const TAdvBitmap* value) {
    TAdvScaledBitmap* item = GetItemByScale(scale);
    if (!item) item = Add(scale);
    item->SetBitmap(value);
}

void TAdvScaledBitmaps::Update(TCollectionItem* item) {
    TOwnedCollection::Update(item);
    FireEvent(FOnChange, this);
}

}  // namespace AdvTypes
