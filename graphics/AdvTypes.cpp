#include "graphics/AdvTypes.h"

#include "classlib/Strings.h"
#include "classlib/WindowDescription.h"
#include "graphics/AdvUtils.h"

namespace AdvTypes {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TAdvSVGImport, TPersistent)
CLASSLIB_IMPLEMENT(TAdvSVGBitmap, TGraphic)

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

void RegisterSVGFormat() {}
void UnregisterSVGFormat() {}

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
    FStream.Clear();
    WriteAll(&FStream, bytes);
    if (!FImporter && SVGImportFactory()) FImporter = SVGImportFactory()();
    if (!FImporter) return;
    try {
        FImporter->Clear();
        FStream.SetPosition(0);
        FImporter->LoadFromStream(&FStream);
    } catch (...) {
        if (passErrors) throw;
    }
}

void TAdvSVGBitmap::ClearSVG() {
    if (FImporter) FImporter->Clear();
    FStream.Clear();
}

void TAdvSVGBitmap::LoadFromStream(TStream* stream) {
    if (!stream) return;
    FFileName.clear();
    SetSVGBytes(ReadWholeStream(stream), false);
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

TBytes TAdvSVGBitmap::ReadSVGData(TStream* stream) {
    std::uint32_t size = 0;
    stream->ReadBuffer(&size, 4);
    if (std::int64_t(size) > stream->Size() - stream->Position())
        throw EInvalidGraphic(L"Picture data is damaged: its length is beyond the end of the data");
    TBytes bytes(size);
    if (size) stream->ReadBuffer(bytes.data(), int(size));
    return bytes;
}

void TAdvSVGBitmap::ReadData(TStream* stream) {
    SetSVGBytes(ReadSVGData(stream), false);
    Changed();
}

void TAdvSVGBitmap::WriteData(TStream* stream) {
    const std::uint32_t size = std::uint32_t(FStream.Size());
    stream->WriteBuffer(&size, 4);
    WriteAll(stream, FStream.Bytes());
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

}  // namespace AdvTypes
