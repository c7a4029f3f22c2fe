#include "graphics/AdvPersistence.h"

#include <algorithm>
#include <map>
#include <utility>

#include "classlib/Collections.h"
#include "classlib/Colors.h"
#include "classlib/Lists.h"
#include "classlib/Pictures.h"
#include "classlib/StringList.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "graphics/AdvJSONReader.h"
#include "graphics/AdvJSONWriter.h"
#include "graphics/AdvUtils.h"

namespace AdvPersistence {

using AdvJSONReader::TAdvJSONReader;
using AdvJSONWriter::TAdvJSONWriter;
using AdvUtils::TAdvUtils;
using ClassLib::TPropKind;

String TypeMemberName = L"$type";
TObject* GlobalRootObject = nullptr;
TObject* GlobalIOReference = nullptr;
TAdvExcludePropertyListArray GlobalExcludeProperties;
TAdvWriterCustomWritePropertyEvent TAdvPersistence::OnCustomWriteProperty;
TAdvReaderCustomReadPropertyEvent TAdvPersistence::OnCustomReadProperty;

const std::array<const wchar_t*, 53> DefaultExcludedProperties = {
    L"Align", L"AllowFocus", L"Anchors", L"BevelEdges", L"BevelInner", L"BevelKind", L"BevelOuter", L"BevelWidth",
    L"BiDiMode", L"PictureContainer", L"BorderSpacing", L"CanParentFocus", L"ClipChildren", L"ClipParent",
    L"Constraints", L"Ctl3D", L"DisableFocusEffect", L"DoubleBuffered", L"DragCursor", L"DragKind", L"DragMode",
    L"Enabled", L"EnableDragHighLight", L"Height", L"Hint", L"HitTest", L"Locked", L"Margins", L"Name", L"Opacity",
    L"Padding", L"ParentBiDiMode", L"ParentColor", L"ParentCtl3D", L"ParentDoubleBuffered", L"ParentFont",
    L"ParentShowHint", L"PopupMenu", L"Position", L"RotationAngle", L"RotationCenter", L"Scale", L"ShowHint", L"Size",
    L"StyleElements", L"StyleName", L"TabOrder", L"TabStop", L"Tag", L"Touch", L"TouchTargetExpansion", L"Visible",
    L"Width",
};

namespace {

constexpr ClassLib::TColor NullColour = -1;   // saved as "gcNull"

template <class I>
I* Query(TObject* object) {
    I* found = nullptr;
    return object && ClassLib::Supports(object, found) ? found : nullptr;
}

// True when the class or one of its ancestors satisfies `test` with its name.
template <class Test>
bool AnyClassName(const TClass* cls, Test test) {
    for (; cls; cls = cls->ClassParent())
        if (test(cls->ClassName())) return true;
    return false;
}

bool StartsWith(const String& text, const wchar_t* prefix) { return text.rfind(prefix, 0) == 0; }

bool IsExcluded(TObject* object, const TPropInfo& info, const TAdvExcludePropertyListArray& excluded, bool saving) {
    if (auto* filter = Query<IAdvPersistenceFilter>(object))
        return saving ? !filter->CanSaveProperty(object, info.Name, info.Kind)
                      : !filter->CanLoadProperty(object, info.Name, info.Kind);
    return TAdvUtils::IndexOfTextInArray(info.Name, excluded) >= 0;
}

bool HasGetter(const TPropInfo& info) {
    switch (info.Kind) {
    case TPropKind::Float: return bool(info.GetFloat);
    case TPropKind::String: return bool(info.GetString);
    case TPropKind::Class: return bool(info.GetObjectValue);
    case TPropKind::Event: return bool(info.GetEvent);
    default: return bool(info.GetOrd);
    }
}

bool IsColourProperty(const TPropInfo& info) {
    return info.Kind == TPropKind::Colour || (info.IsOrdinal() && TAdvPersistence::IsColor(info.TypeName));
}

bool IsFont(const TObject* object) {
    static const String names[] = {L"TFont"};
    return TAdvPersistence::IsDescendingClass(&object->ClassType(), names);
}

// Published properties in the order they are written: alphabetical, ASCII case ignored.
const std::vector<const TPropInfo*>& SortedProperties(const TClass& cls) {
    static std::map<const TClass*, std::vector<const TPropInfo*>> cache;
    auto found = cache.find(&cls);
    if (found != cache.end()) return found->second;
    std::vector<const TPropInfo*> sorted;
    for (const TPropInfo& info : cls.Published()) sorted.push_back(&info);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TPropInfo* a, const TPropInfo* b) { return ClassLib::CompareText(a->Name, b->Name) < 0; });
    return cache.emplace(&cls, std::move(sorted)).first->second;
}

String HexColour(ClassLib::TColor rgb) {
    return L"#" + ClassLib::IntToHex(ClassLib::ColorRed(rgb), 2) + ClassLib::IntToHex(ClassLib::ColorGreen(rgb), 2) +
           ClassLib::IntToHex(ClassLib::ColorBlue(rgb), 2);
}

// Pictures of every kind as the hexadecimal text of their saved bytes.
String PictureText(TObject* object) {
    if (auto* picture = dynamic_cast<ClassLib::TPicture*>(object)) return TAdvUtils::SaveBitmapToHexStr(picture);
    auto* graphic = dynamic_cast<ClassLib::TGraphic*>(object);
    if (!graphic || graphic->Empty()) return String();
    ClassLib::TMemoryStream bytes;
    graphic->SaveToStream(&bytes);
    return TAdvUtils::SaveStreamToHexStr(&bytes);
}

// Reads a picture's text into a picture of its own and gives what loads it into `object`;
// nothing when there is nothing to load. Bytes that no picture reads raise here.
std::function<void()> PictureLoad(TObject* object, const String& text) {
    if (text.empty()) return nullptr;
    if (auto* picture = dynamic_cast<ClassLib::TPicture*>(object)) {
        auto loaded = std::make_shared<ClassLib::TPicture>();
        TAdvUtils::LoadBitmapFromHexStr(text, loaded.get());
        if (!loaded->Graphic()) return nullptr;   // no picture format of ours: left as it is
        return [picture, loaded] { picture->Assign(loaded.get()); };
    }
    auto* graphic = dynamic_cast<ClassLib::TGraphic*>(object);
    if (!graphic) return nullptr;
    auto bytes = std::make_shared<ClassLib::TMemoryStream>();
    TAdvUtils::LoadStreamFromHexStr(text, bytes.get());
    bytes->SetPosition(0);
    graphic->GraphicClass()->Create()->LoadFromStream(bytes.get());
    return [graphic, bytes] {
        bytes->SetPosition(0);
        graphic->LoadFromStream(bytes.get());
    };
}

[[noreturn]] void InvalidValue(const TPropInfo& info, const String& value) {
    throw EAdvReaderException(L"Invalid value \"" + value + L"\" for property " + info.Name);
}

// Copies the text into `stream` at its position.
void CopyText(ClassLib::TMemoryStream& text, ClassLib::TStream* stream) {
    if (text.Size() > 0) stream->WriteBuffer(text.Memory(), int(text.Size()));
}

// Sets the process-wide settings for one helper call and puts them back.
class TSettingsScope {
public:
    TSettingsScope() : FTypeMember(TypeMemberName), FIOReference(GlobalIOReference), FExclude(GlobalExcludeProperties) {}
    ~TSettingsScope() {
        TypeMemberName = FTypeMember;
        GlobalIOReference = FIOReference;
        GlobalExcludeProperties = FExclude;
    }
    TSettingsScope(const TSettingsScope&) = delete;
    TSettingsScope& operator=(const TSettingsScope&) = delete;
private:
    String FTypeMember;
    TObject* FIOReference;
    TAdvExcludePropertyListArray FExclude;
};

}  // namespace

// ---------------------------------------------------------------- TAdvPersistence

bool TAdvPersistence::IsWriteOnly(const TPropInfo& propInfo) { return !HasGetter(propInfo); }

bool TAdvPersistence::IsAssignableProperty(const TObject* object, const TPropInfo& propInfo) {
    if (propInfo.Kind != TPropKind::Class || !propInfo.GetObjectValue) return false;
    const TObject* value = propInfo.GetObjectValue(object);
    return !value || dynamic_cast<const ClassLib::TComponent*>(value) != nullptr;
}

bool TAdvPersistence::IsColor(const String& typeName) {
    return typeName == L"TAlphaColor" || typeName == L"TColor" || typeName == L"TGraphicsColor";
}
bool TAdvPersistence::IsStrokeKind(const String& typeName) { return typeName == L"TAdvGraphicsStrokeKind"; }
bool TAdvPersistence::IsFillKind(const String& typeName) { return typeName == L"TAdvGraphicsFillKind"; }
bool TAdvPersistence::IsDate(const String& typeName) { return typeName == L"TDate"; }
bool TAdvPersistence::IsDateTime(const String& typeName) { return typeName == L"TDateTime"; }
bool TAdvPersistence::IsTime(const String& typeName) { return typeName == L"TTime"; }

bool TAdvPersistence::IsGenericList(const TClass* cls, const String& type) {
    return AnyClassName(cls, [&](const String& name) {
        return (StartsWith(name, L"TList<") || StartsWith(name, L"TObjectList<")) &&
               (type.empty() || ClassLib::UpperCase(name).find(ClassLib::UpperCase(type)) != String::npos);
    });
}

bool TAdvPersistence::IsGenericDictionary(const TClass* cls) {
    return AnyClassName(cls, [](const String& name) {
        return StartsWith(name, L"TDictionary<") || StartsWith(name, L"TObjectDictionary<");
    });
}

bool TAdvPersistence::IsCollection(const TClass* cls) {
    return AnyClassName(cls, [](const String& name) { return name == L"TCollection"; });
}
bool TAdvPersistence::IsComponent(const TClass* cls) {
    return AnyClassName(cls, [](const String& name) { return name == L"TComponent" || name == L"TAdvCustomComponent"; });
}
bool TAdvPersistence::IsControl(const TClass* cls) {
    return AnyClassName(cls, [](const String& name) { return name == L"TControl"; });
}
bool TAdvPersistence::IsList(const TClass* cls) {
    return AnyClassName(cls, [](const String& name) { return name == L"TList"; });
}
bool TAdvPersistence::IsDescendingClass(const TClass* cls, std::span<const String> classParentList) {
    return AnyClassName(cls, [&](const String& name) {
        return std::find(classParentList.begin(), classParentList.end(), name) != classParentList.end();
    });
}
bool TAdvPersistence::IsBitmap(const TClass* cls) {
    return AnyClassName(cls, [](const String& name) {
        return name == L"TBitmap" || name == L"TPicture" || name == L"TAdvBitmap";
    });
}
bool TAdvPersistence::IsStrings(const TClass* cls) {
    return AnyClassName(cls, [](const String& name) { return name == L"TStrings"; });
}

String TAdvPersistence::GetEnumName(const TPropInfo& propInfo, int64_t value) {
    if (value >= 0 && value < int64_t(propInfo.ValueNames.size())) return propInfo.ValueNames[size_t(value)];
    return ClassLib::IntToStr(value);
}

void TAdvPersistence::GetEnumValues(ClassLib::TStrings* values, const TPropInfo& propInfo) {
    for (const String& name : propInfo.ValueNames) values->Add(name);
}

std::unique_ptr<TObject> TAdvPersistence::CreateObject(const String& className, const TClass* baseClass) {
    const TClass* cls = ClassLib::GetClass(className);
    if (!cls) throw EAdvReaderException(L"Type \"" + className + L"\" not found");
    if (baseClass && !cls->InheritsFrom(baseClass))
        throw EAdvReaderException(L"Type \"" + className + L"\" does not inherit from " + baseClass->ClassName());
    // Components and controls without owner, collection items without collection, other
    // persistent classes from nothing: what the class library's object factory makes.
    if (!cls->InheritsFrom(&ClassLib::TPersistent::StaticClass()) || !cls->CanCreateObject())
        throw EAdvReaderException(L"Type \"" + className + L"\" not supported");
    return std::unique_ptr<TObject>(cls->CreateObject());
}

void TAdvPersistence::SaveSettingsToStream(TObject* object, ClassLib::TStream* stream) {
    ClassLib::TMemoryStream text;   // the caller's stream sees nothing of a save that fails
    {
        ClassLib::TFormatSettingsScope dot;
        TAdvWriter writer(&text);
        writer.SetIOReference(GlobalIOReference);
        writer.SetRootObject(GlobalRootObject);
        writer.SetExcludeProperties(GlobalExcludeProperties);
        writer.OnCustomWriteProperty = [](TObject* o, const String& name, TTypeKind kind, TAdvJSONWriter& w,
                                          bool& canWrite) {
            if (OnCustomWriteProperty) OnCustomWriteProperty(o, name, kind, w, canWrite);
        };
        writer.Write(object);
    }
    CopyText(text, stream);
}

void TAdvPersistence::SaveSettingsToFile(TObject* object, const String& fileName) {
    ClassLib::TMemoryStream text;
    SaveSettingsToStream(object, &text);
    ClassLib::SaveFileSafely(fileName, [&](ClassLib::TStream* file) { CopyText(text, file); });
}

void TAdvPersistence::LoadSettingsFromStream(TObject* object, ClassLib::TStream* stream) {
    stream->SetPosition(0);
    TAdvReader reader(stream);
    reader.SetIOReference(GlobalIOReference);
    reader.SetRootObject(GlobalRootObject);
    reader.SetExcludeProperties(GlobalExcludeProperties);
    reader.OnCustomReadProperty = [](TObject* o, const String& name, TTypeKind kind, TAdvJSONReader& r, bool& canRead) {
        if (OnCustomReadProperty) OnCustomReadProperty(o, name, kind, r, canRead);
    };
    ClassLib::TFormatSettingsScope dot;
    reader.Read(object);
}

void TAdvPersistence::LoadSettingsFromFile(TObject* object, const String& fileName) {
    ClassLib::TMemoryStream text;
    text.LoadFromFile(fileName);
    LoadSettingsFromStream(object, &text);
}

// ---------------------------------------------------------------- TAdvPersistenceContext

void TAdvPersistenceContext::SetIOReference(TObject* value) { FIOReference = GlobalIOReference = value; }
void TAdvPersistenceContext::SetRootObject(TObject* value) { FRootObject = GlobalRootObject = value; }
void TAdvPersistenceContext::SetExcludeProperties(const TAdvExcludePropertyListArray& value) {
    FExcludeProperties = value;
    GlobalExcludeProperties = value;
}

bool TAdvPersistenceContext::IsAssignable(TObject* object, const TPropInfo& info) const {
    bool assignable = TAdvPersistence::IsAssignableProperty(object, info);
    if (OnCustomIsAssignableProperty) OnCustomIsAssignableProperty(object, info.Name, assignable);
    return assignable;
}

// ---------------------------------------------------------------- TAdvWriter

TAdvWriter::TAdvWriter(ClassLib::TStream* stream) : FWriter(std::make_unique<TAdvJSONWriter>(stream)) {}
TAdvWriter::~TAdvWriter() = default;

void TAdvWriter::Write(TObject* object) {
    TAdvJSONWriter& w = *FWriter;
    if (!object) {
        w.WriteNull();
        return;
    }
    const TClass* cls = &object->ClassType();
    const auto writeObjects = [&](int count, const std::function<TObject*(int)>& item) {
        w.WriteBeginArray();
        for (int i = 0; i < count; ++i) Write(item(i));
        w.WriteEndArray();
    };
    if (TAdvPersistence::IsGenericList(cls)) {
        auto* list = dynamic_cast<IAdvGenericList*>(object);
        w.WriteBeginArray();
        for (int i = 0; list && i < list->Count(); ++i) {
            const TAdvListValue value = list->Item(i);
            if (TAdvPersistence::IsGenericList(cls, L"String"))
                w.WriteString(std::get<String>(value));
            else if (TAdvPersistence::IsGenericList(cls, L"Integer"))
                w.WriteInteger(std::get<int64_t>(value));
            else if (TAdvPersistence::IsGenericList(cls, L"Double"))
                w.WriteDouble(std::get<double>(value));
            else
                Write(std::get<TObject*>(value));
        }
        w.WriteEndArray();
    } else if (TAdvPersistence::IsGenericDictionary(cls)) {
        auto* dictionary = dynamic_cast<IAdvGenericDictionary*>(object);
        w.WriteBeginArray();
        for (const String& key : dictionary ? dictionary->Keys() : std::vector<String>()) {
            w.WriteBeginObject().WriteName(key);
            Write(dictionary->Value(key));
            w.WriteEndObject();
        }
        w.WriteEndArray();
    } else if (auto* list = dynamic_cast<ClassLib::TList*>(object); list && TAdvPersistence::IsList(cls)) {
        writeObjects(list->Count(), [&](int i) { return static_cast<TObject*>(list->Items(i)); });
    } else if (auto* collection = dynamic_cast<ClassLib::TCollection*>(object);
               collection && TAdvPersistence::IsCollection(cls)) {
        writeObjects(collection->Count(), [&](int i) { return collection->Items(i); });
    } else if (TAdvPersistence::IsBitmap(cls)) {
        w.WriteString(PictureText(object));
    } else if (auto* strings = dynamic_cast<ClassLib::TStrings*>(object); strings && TAdvPersistence::IsStrings(cls)) {
        w.WriteBeginArray();
        for (int i = 0; i < strings->Count(); ++i) w.WriteString(strings->Strings(i));
        w.WriteEndArray();
    } else if (auto* io = Query<IAdvPersistenceIO>(FIOReference); io && io->IsReferenceClass(*cls)) {
        w.WriteString(io->GetReference(object));
    } else {
        WriteObject(object);
    }
}

void TAdvWriter::WriteObject(TObject* object) {
    TAdvJSONWriter& w = *FWriter;
    w.WriteBeginObject();
    if (!TypeMemberName.empty()) w.WriteName(TypeMemberName).WriteString(object->ClassName());
    const bool font = IsFont(object);
    for (const TPropInfo* info : SortedProperties(object->ClassType())) {
        if (IsExcluded(object, *info, FExcludeProperties, true)) continue;
        bool canWrite = true;
        if (OnCustomWriteProperty) OnCustomWriteProperty(object, info->Name, info->Kind, w, canWrite);
        if (!canWrite) continue;
        w.WriteName(info->Name);
        WriteProperty(object, *info);
        if (font && info->Name == L"Size") w.WriteName(L"IsFMX").WriteBoolean(false);
    }
    w.WriteEndObject();
}

void TAdvWriter::WriteColour(int64_t colour) {
    TAdvJSONWriter& w = *FWriter;
    String name;
    if (colour == NullColour)
        w.WriteString(L"gcNull");
    else if ((colour == ClassLib::clNone || colour == ClassLib::clDefault ||
              (colour & ClassLib::clSystemColor) == ClassLib::clSystemColor) &&
             ClassLib::ColorToIdent(ClassLib::TColor(colour), name))
        w.WriteString(name);   // by name: today's RGB of a system colour would freeze the theme
    else
        w.WriteString(HexColour(ClassLib::ColorToRGB(ClassLib::TColor(colour))));
}

void TAdvWriter::WriteProperty(TObject* object, const TPropInfo& info) {
    TAdvJSONWriter& w = *FWriter;
    if (!HasGetter(info)) {
        w.WriteNull();
        return;
    }
    if (IsColourProperty(info)) {
        WriteColour(info.GetOrd(object));
        return;
    }
    switch (info.Kind) {
    case TPropKind::Integer:
    case TPropKind::Set:
    case TPropKind::Enumeration: w.WriteInteger(info.GetOrd(object)); break;
    case TPropKind::Boolean: w.WriteBoolean(info.GetOrd(object) != 0); break;
    case TPropKind::Float: w.WriteDouble(info.GetFloat(object)); break;
    case TPropKind::String: w.WriteString(info.GetString(object)); break;
    case TPropKind::Event: {
        const std::any handler = info.GetEvent(object);
        if (handler.has_value() && FRootObject)
            w.WriteString(ClassLib::MethodName(FRootObject->ClassType(), handler));
        else
            w.WriteNull();
        break;
    }
    case TPropKind::Class: {
        TObject* value = info.GetObjectValue(object);
        if (!IsAssignable(object, info))
            Write(value);
        else
            w.WriteString(value ? static_cast<ClassLib::TComponent*>(value)->Name() : String());
        break;
    }
    default: w.WriteNull(); break;
    }
}

void TAdvWriter::WriteArray(const String& name, const TAdvObjectArray& objects) {
    FWriter->WriteBeginObject().WriteName(name).WriteBeginArray();
    for (TObject* object : objects) Write(object);
    FWriter->WriteEndArray().WriteEndObject();
}

// ---------------------------------------------------------------- TAdvReader

TAdvReader::TAdvReader(ClassLib::TStream* stream) : FReader(std::make_unique<TAdvJSONReader>(stream)) {}
TAdvReader::~TAdvReader() = default;

// While an object the read made is read, its values are stored at once.
class TAdvReader::TNewObjectScope {
public:
    explicit TNewObjectScope(TAdvReader& reader) : FReader(reader), FSaved(std::exchange(reader.FTransaction, nullptr)) {}
    ~TNewObjectScope() { FReader.FTransaction = FSaved; }
    TNewObjectScope(const TNewObjectScope&) = delete;
    TNewObjectScope& operator=(const TNewObjectScope&) = delete;
private:
    TAdvReader& FReader;
    TTransaction* FSaved;
};

void TAdvReader::Change(TChange change) {
    if (FTransaction) FTransaction->Values.push_back(std::move(change));
    else change();
}

void TAdvReader::Replace(std::function<void()> replacement) {
    if (!replacement) return;
    if (FTransaction) FTransaction->Replacements.push_back(std::move(replacement));
    else replacement();
}

void TAdvReader::StoreOrd(TObject* object, const TPropInfo& info, int64_t value) {
    if (!info.SetOrd) return;
    Change([object, &info, value]() -> std::function<void()> {
        const int64_t old = info.GetOrd(object);
        info.SetOrd(object, value);
        return [object, &info, old] { info.SetOrd(object, old); };
    });
}

void TAdvReader::EndOfDocument() {
    // The root is read when only the document's scope is open; Eof raises on anything after it.
    if (FReader->Depth() == 1) FReader->Eof();
}

String TAdvReader::ReadTypeName(const TClass& base) {
    if (TypeMemberName.empty()) return base.ClassName();
    if (FReader->Peek() != AdvJSONReader::jstoName || FReader->ReadName() != TypeMemberName)
        throw EAdvReaderException(L"\"" + TypeMemberName + L"\" property not found in Object descriptor.");
    return FReader->ReadString();
}

std::unique_ptr<TObject> TAdvReader::CreateNamed(const String& className, const TClass& base) {
    std::unique_ptr<TObject> object;
    if (auto* factory = Query<IAdvPersistenceObjectFactory>(FIOReference))
        object.reset(factory->CreateObject(className, &base));
    else if (auto* io = Query<IAdvPersistenceIO>(FIOReference))
        object.reset(io->CreateObject(className, &base));
    else
        object = TAdvPersistence::CreateObject(className, &base);
    if (!object) throw EAdvReaderException(L"Type \"" + className + L"\" not supported");
    return object;
}

std::unique_ptr<TObject> TAdvReader::Read(const TClass& cls) {
    const TNewObjectScope newObject(*this);
    FReader->ReadBeginObject();
    std::unique_ptr<TObject> object = CreateNamed(ReadTypeName(cls), cls);
    ReadMembers(object.get());   // a failure frees the new object on the way out
    EndOfDocument();
    return object;
}

void TAdvReader::Read(TObject* object) {
    TTransaction transaction;
    TTransaction* const outer = std::exchange(FTransaction, &transaction);
    std::vector<std::function<void()>> undo;
    try {
        ReadInto(object);
        EndOfDocument();
        FTransaction = outer;
        for (TChange& change : transaction.Values)
            if (std::function<void()> back = change()) undo.push_back(std::move(back));
    } catch (...) {
        FTransaction = outer;
        // Back to the state before the read; an error here would hide the one on its way.
        for (auto back = undo.rbegin(); back != undo.rend(); ++back) try { (*back)(); } catch (...) {}
        for (auto back = transaction.Rollback.rbegin(); back != transaction.Rollback.rend(); ++back)
            try { (*back)(); } catch (...) {}
        throw;
    }
    for (std::function<void()>& replacement : transaction.Replacements) replacement();
}

void TAdvReader::ReadMembers(TObject* object) {
    const TClass& cls = object->ClassType();
    const bool font = IsFont(object);
    while (FReader->HasNext()) {
        const String name = FReader->ReadName();
        const TPropInfo* info = cls.Published().Find(name);
        if (!info) {
            FReader->SkipValue();
            continue;
        }
        ReadProperty(object, *info);
        // A size saved in 96-per-inch units says so in the member after it.
        if (font && info->Name == L"Size" && FReader->Peek() == AdvJSONReader::jstoName &&
            FReader->PeekName() == L"IsFMX") {
            FReader->ReadName();
            if (FReader->ReadBoolean() && info->SetOrd)
                Change([object, info]() -> std::function<void()> {   // after the size itself is stored
                    const int64_t old = info->GetOrd(object);
                    info->SetOrd(object, ClassLib::Round(double(old) / 96 * 72));
                    return [object, info, old] { info->SetOrd(object, old); };
                });
        }
    }
    FReader->ReadEndObject();
}

void TAdvReader::ReadElements(const std::function<void()>& element) {
    FReader->ReadBeginArray();
    while (FReader->HasNext()) {
        if (FReader->IsNull()) FReader->ReadNull();   // null elements are skipped
        else element();
    }
    FReader->ReadEndArray();
}

void TAdvReader::ReadObjectItems(const TClass& base, const std::function<void(std::unique_ptr<TObject>)>& add) {
    ReadElements([&] { add(Read(base)); });
}

void TAdvReader::ReadCollection(ClassLib::TCollection* collection) {
    TAdvJSONReader& r = *FReader;
    // A collection knows its item class, so text without type members still loads.
    auto* itemClass = Query<IAdvPersistenceItemClass>(collection);
    const TClass* declared = itemClass ? itemClass->GetItemClass() : collection->ItemClass();
    const TClass& base = declared ? *declared : TObject::StaticClass();
    auto* factory = Query<IAdvPersistenceCollectionItemFactory>(collection);
    // In an object that existed before the read, the items read are added behind the old
    // ones, which go once the whole read has succeeded; when it fails the new ones go.
    auto oldItems = std::make_shared<std::vector<int>>();
    auto newItems = std::make_shared<std::vector<int>>();
    const auto removeItems = [collection](const std::vector<int>& ids) {
        for (int id : ids)
            if (ClassLib::TCollectionItem* item = collection->FindItemID(id)) collection->Delete(item->Index());
    };
    if (FTransaction) {
        for (int i = 0; i < collection->Count(); ++i) oldItems->push_back(collection->Items(i)->ID());
        FTransaction->Rollback.push_back([removeItems, newItems] { removeItems(*newItems); });
    } else {
        collection->Clear();
    }
    {
    const TNewObjectScope newObject(*this);
    ReadElements([&] {
        r.ReadBeginObject();
        const String className = ReadTypeName(base);
        // An item of the collection's own class is read straight into a new item: no
        // copy, so item classes need no Assign of their own.
        if (!factory && declared && ClassLib::SameText(declared->ClassName(), className)) {
            std::unique_ptr<ClassLib::TCollectionItem> item(collection->Add());
            ReadMembers(item.get());
            newItems->push_back(item.release()->ID());
            return;
        }
        std::unique_ptr<TObject> object = CreateNamed(className, base);
        ReadMembers(object.get());
        auto* persistent = dynamic_cast<ClassLib::TPersistent*>(object.get());
        if (!persistent) return;   // objects that are not persistent are ignored
        ClassLib::TCollectionItem* item = factory ? factory->AddItem(object.get()) : collection->Add();
        if (!item) return;
        newItems->push_back(item->ID());
        item->Assign(persistent);
    });
    }
    if (FTransaction) Replace([removeItems, oldItems] { removeItems(*oldItems); });
}

void TAdvReader::ReadInto(TObject* object) {
    TAdvJSONReader& r = *FReader;
    if (!object) {
        r.ReadNull();
        return;
    }
    const TClass* cls = &object->ClassType();
    auto* itemClass = Query<IAdvPersistenceItemClass>(object);
    const TClass& base = itemClass && itemClass->GetItemClass() ? *itemClass->GetItemClass() : TObject::StaticClass();
    auto* io = Query<IAdvPersistenceIO>(FIOReference);
    // New items are read first and replace the old ones once all are read.
    const auto readItems = [&] {
        auto items = std::make_shared<TAdvOwnedObjectArray>();
        ReadObjectItems(base, [&](std::unique_ptr<TObject> item) { items->push_back(std::move(item)); });
        return items;
    };
    // Reads the items, then puts them in place of the list's once all are read.
    const auto replaceItems = [&](auto* list) {
        Replace([list, io, object, items = readItems()] {
            list->Clear();
            for (std::unique_ptr<TObject>& item : *items) {
                TObject* added = item.release();
                list->Add(added);
                if (io) io->ItemAdded(added, object);
            }
        });
    };
    if (TAdvPersistence::IsGenericList(cls)) {
        auto* list = dynamic_cast<IAdvGenericList*>(object);
        if (!list) throw EAdvReaderException(L"Type \"" + cls->ClassName() + L"\" not supported");
        if (!TAdvPersistence::IsGenericList(cls, L"String") && !TAdvPersistence::IsGenericList(cls, L"Double") &&
            !TAdvPersistence::IsGenericList(cls, L"Integer")) {
            replaceItems(list);
            return;
        }
        auto values = std::make_shared<std::vector<TAdvListValue>>();
        ReadElements([&] {
            if (TAdvPersistence::IsGenericList(cls, L"String")) values->emplace_back(std::in_place_type<String>, r.ReadString());
            else if (TAdvPersistence::IsGenericList(cls, L"Double")) values->emplace_back(std::in_place_type<double>, r.ReadDouble());
            else values->emplace_back(std::in_place_type<int64_t>, r.ReadInt64());
        });
        Replace([list, values] {
            list->Clear();
            for (const TAdvListValue& value : *values) list->Add(value);
        });
    } else if (TAdvPersistence::IsGenericDictionary(cls)) {
        auto* dictionary = dynamic_cast<IAdvGenericDictionary*>(object);
        if (!dictionary) throw EAdvReaderException(L"Type \"" + cls->ClassName() + L"\" not supported");
        auto entries = std::make_shared<std::vector<std::pair<String, std::unique_ptr<TObject>>>>();
        ReadElements([&] {
            r.ReadBeginObject();
            while (r.HasNext()) {
                String key = r.ReadName();
                if (r.IsNull()) r.ReadNull();
                else entries->emplace_back(std::move(key), Read(base));
            }
            r.ReadEndObject();
        });
        Replace([dictionary, entries] {
            dictionary->Clear();
            for (auto& [key, value] : *entries) dictionary->Add(key, value.release());
        });
    } else if (auto* list = dynamic_cast<ClassLib::TList*>(object); list && TAdvPersistence::IsList(cls)) {
        replaceItems(list);
    } else if (auto* collection = dynamic_cast<ClassLib::TCollection*>(object);
               collection && TAdvPersistence::IsCollection(cls)) {
        ReadCollection(collection);
    } else if (TAdvPersistence::IsBitmap(cls)) {
        Replace(PictureLoad(object, r.ReadString()));
    } else if (auto* strings = dynamic_cast<ClassLib::TStrings*>(object); strings && TAdvPersistence::IsStrings(cls)) {
        auto lines = std::make_shared<std::vector<String>>();
        ReadElements([&] { lines->push_back(r.ReadString()); });
        Replace([strings, lines] {
            strings->BeginUpdate();
            struct TEndUpdate { ClassLib::TStrings* S; ~TEndUpdate() { S->EndUpdate(); } } endUpdate{strings};
            strings->Clear();
            for (const String& line : *lines) strings->Add(line);
        });
    } else {
        r.ReadBeginObject();
        if (!TypeMemberName.empty()) ReadTypeName(*cls);   // the class is the object's own
        // Values are read in name order, not in an order that suits the setters: a component
        // is marked as reading meanwhile, so an auto-sized label takes the stored bounds
        // instead of moving by what its text measures in a font set half-way.
        // Held back, its values are stored inside the same marks.
        auto* component = dynamic_cast<ClassLib::TComponent*>(object);
        if (component && FTransaction) {
            auto was = std::make_shared<bool>(false);
            Change([component, was]() -> std::function<void()> {
                *was = component->HasState(ClassLib::csReading);
                component->SetReading(true);
                return [component, was] { component->SetReading(*was); };
            });
            ReadMembers(object);
            Change([component, was]() -> std::function<void()> {
                component->SetReading(*was);
                return [component] { component->SetReading(true); };
            });
            return;
        }
        const bool wasReading = component && component->HasState(ClassLib::csReading);
        if (component) component->SetReading(true);
        struct TEndReading {
            ClassLib::TComponent* Component;
            bool Was;
            ~TEndReading() { if (Component) Component->SetReading(Was); }
        } endReading{component, wasReading};
        ReadMembers(object);
    }
}
int64_t TAdvReader::ReadColour(const TPropInfo& info) {
    const String text = FReader->ReadString();
    if (text == L"gcNull") return NullColour;
    if (text.size() == 7 && text[0] == L'#') {
        int rgb[3] = {};
        for (int i = 0; i < 3; ++i) {
            int value = 0;
            if (!ClassLib::TryStrToInt(L"$" + text.substr(size_t(1 + 2 * i), 2), value) ||
                text.substr(size_t(1 + 2 * i), 2).find_first_not_of(L"0123456789ABCDEFabcdef") != String::npos)
                InvalidValue(info, text);
            rgb[i] = value;
        }
        return ClassLib::RGBToColor(rgb[0], rgb[1], rgb[2]);
    }
    ClassLib::TColor named = 0;
    if (ClassLib::IdentToColor(text, named)) return named;
    InvalidValue(info, text);
}

void TAdvReader::ReadProperty(TObject* object, const TPropInfo& info) {
    TAdvJSONReader& r = *FReader;
    if (IsExcluded(object, info, FExcludeProperties, false)) {
        r.SkipValue();
        return;
    }
    bool canRead = true;
    if (OnCustomReadProperty) OnCustomReadProperty(object, info.Name, info.Kind, r, canRead);
    if (!canRead) return;
    if (!HasGetter(info)) {
        r.ReadNull();
        return;
    }
    if (IsColourProperty(info)) {
        StoreOrd(object, info, ReadColour(info));
        return;
    }
    switch (info.Kind) {
    case TPropKind::Integer: StoreOrd(object, info, info.TypeName == L"Int64" ? r.ReadInt64() : r.ReadInteger()); break;
    case TPropKind::Boolean: StoreOrd(object, info, r.ReadBoolean() ? 1 : 0); break;
    case TPropKind::Enumeration: {
        const int value = r.ReadInteger();
        // A stored ordinal outside the type would make a value no code expects.
        if (!info.ValueNames.empty() && (value < 0 || value >= int(info.ValueNames.size())))
            InvalidValue(info, ClassLib::IntToStr(value));
        StoreOrd(object, info, value);
        break;
    }
    case TPropKind::Set: {
        const int64_t bits = r.ReadInt64();
        const size_t count = info.ValueNames.size();
        if (count > 0 && count < 64 && (uint64_t(bits) >> count) != 0) InvalidValue(info, ClassLib::IntToStr(bits));
        StoreOrd(object, info, bits);
        break;
    }
    case TPropKind::Float: {
        const double value = r.ReadDouble();
        if (!info.SetFloat) break;
        Change([object, &info, value]() -> std::function<void()> {
            const double old = info.GetFloat(object);
            info.SetFloat(object, value);
            return [object, &info, old] { info.SetFloat(object, old); };
        });
        break;
    }
    case TPropKind::String: {
        String value = r.ReadString();
        if (!info.SetString) break;
        Change([object, &info, value = std::move(value)]() -> std::function<void()> {
            String old = info.GetString(object);
            info.SetString(object, value);
            return [object, &info, old = std::move(old)] { info.SetString(object, old); };
        });
        break;
    }
    case TPropKind::Event: {
        std::any handler;
        if (r.IsNull()) {
            r.ReadNull();
        } else if (FRootObject) {
            handler = ClassLib::MethodAddress(FRootObject, r.ReadString());
        } else {
            r.ReadNull();   // without a root only null fits: anything else raises here
            break;
        }
        if (!info.SetEvent) break;
        Change([object, &info, handler = std::move(handler)]() -> std::function<void()> {
            std::any old = info.GetEvent(object);
            info.SetEvent(object, handler);
            return [object, &info, old = std::move(old)] { info.SetEvent(object, old); };
        });
        break;
    }
    case TPropKind::Class: ReadClassProperty(object, info); break;
    case TPropKind::Colour: break;   // read above
    }
}

void TAdvReader::ReadClassProperty(TObject* object, const TPropInfo& info) {
    TAdvJSONReader& r = *FReader;
    TObject* value = info.GetObjectValue(object);
    const TClass* declared = info.PropClass ? info.PropClass : value ? &value->ClassType() : nullptr;
    const bool container = declared && (TAdvPersistence::IsGenericList(declared) ||
                                        TAdvPersistence::IsGenericDictionary(declared) ||
                                        TAdvPersistence::IsList(declared) || TAdvPersistence::IsCollection(declared) ||
                                        TAdvPersistence::IsBitmap(declared) || TAdvPersistence::IsStrings(declared));
    if (container) {
        ReadInto(value);
        return;
    }
    const auto storeObject = [&](TObject* stored) {
        if (!info.SetObjectValue) return;
        Change([object, &info, stored]() -> std::function<void()> {
            TObject* old = info.GetObjectValue(object);
            info.SetObjectValue(object, stored);
            return [object, &info, old] { info.SetObjectValue(object, old); };
        });
    };
    if (auto* io = Query<IAdvPersistenceIO>(FIOReference); io && declared && io->IsReferenceClass(*declared)) {
        if (r.IsNull()) {
            r.ReadNull();
            storeObject(nullptr);
        } else {
            FReferences.emplace_back(object, &info, r.ReadString());
        }
        return;
    }
    if (IsAssignable(object, info)) {
        const String name = r.ReadString();
        if (auto* root = dynamic_cast<ClassLib::TComponent*>(FRootObject))
            storeObject(name.empty() ? nullptr : root->FindComponent(name));
        return;
    }
    ReadInto(value);
}

TAdvOwnedObjectArray TAdvReader::ReadArray(const String& name) {
    TAdvOwnedObjectArray result;
    FReader->ReadBeginObject();
    while (FReader->HasNext()) {
        if (FReader->ReadName() != name) {
            FReader->SkipValue();
            continue;
        }
        ReadObjectItems(TObject::StaticClass(), [&](std::unique_ptr<TObject> item) { result.push_back(std::move(item)); });
    }
    return result;
}

void TAdvReader::SolveReferences() {
    auto* io = Query<IAdvPersistenceIO>(FIOReference);
    if (!io) return;
    for (const TAdvObjectReference& reference : FReferences)
        if (reference.Prop->SetObjectValue) reference.Prop->SetObjectValue(reference.Instance, io->FindReference(reference.Id));
}

// ---------------------------------------------------------------- the object helper

String ToJSON(TObject* object) {
    ClassLib::TStringStream text;
    TAdvPersistence::SaveSettingsToStream(object, &text);
    return ClassLib::AnsiToString(text.DataString(), AdvJSONReader::JSONCodePage());
}

String ToJSON(TObject* object, const TAdvObjectExcludePropertyListArray& excludedProperties) {
    TSettingsScope restore;
    GlobalExcludeProperties = excludedProperties;
    return ToJSON(object);
}

void FromJSON(TObject* object, const String& value) {
    TSettingsScope restore;
    TypeMemberName.clear();
    GlobalIOReference = object;
    ClassLib::TStringStream text(ClassLib::StringToAnsi(value, AdvJSONReader::JSONCodePage()));
    TAdvPersistence::LoadSettingsFromStream(object, &text);
}

void Log(TObject* object) { TAdvUtils::Log(ToJSON(object)); }

void SaveToJSONStream(TObject* object, ClassLib::TStream* stream) { TAdvPersistence::SaveSettingsToStream(object, stream); }
void LoadFromJSONStream(TObject* object, ClassLib::TStream* stream) {
    TAdvPersistence::LoadSettingsFromStream(object, stream);
}
void SaveToJSONFile(TObject* object, const String& fileName) { TAdvPersistence::SaveSettingsToFile(object, fileName); }
void LoadFromJSONFile(TObject* object, const String& fileName) { TAdvPersistence::LoadSettingsFromFile(object, fileName); }

}  // namespace AdvPersistence
