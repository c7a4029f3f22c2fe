#pragma once
// Saving any object's published properties as JSON and loading them back: settings,
// styles, collections, pictures and string lists, walked through the class library's
// published-property lists (classlib/Properties.h).
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Properties.h"

namespace ClassLib {
class TCollectionItem;
class TStream;
class TStrings;
}  // namespace ClassLib

namespace AdvJSONReader {
class TAdvJSONReader;
}
namespace AdvJSONWriter {
class TAdvJSONWriter;
}

namespace AdvPersistence {

using String = std::wstring;
using ClassLib::TClass;
using ClassLib::TObject;
using ClassLib::TPropInfo;
// The kind of a published property, as the filter and the hooks are told it.
using TTypeKind = ClassLib::TPropKind;
using TAdvExcludePropertyListArray = std::vector<String>;
using TAdvObjectExcludePropertyListArray = TAdvExcludePropertyListArray;
using TAdvObjectArray = std::vector<TObject*>;   // not owned
using TAdvOwnedObjectArray = std::vector<std::unique_ptr<TObject>>;

// Properties of visual controls that callers may pass as exclusions; nothing applies it by itself.
extern const std::array<const wchar_t*, 53> DefaultExcludedProperties;

class EAdvReaderException : public ClassLib::Exception {
public:
    using Exception::Exception;
};

// ---- optional interfaces, found by Supports (their IIDs are fixed)

// Asked of the IO reference: creating objects, and objects saved as reference texts.
class IAdvPersistenceIO {
public:
    static constexpr const wchar_t* IID = L"{11B625F8-447A-4AE5-BB88-5ECDEA979AF7}";
    virtual ~IAdvPersistenceIO() = default;
    virtual TObject* CreateObject(const String& className, const TClass* baseClass) = 0;
    virtual bool IsReferenceClass(const TClass& cls) = 0;
    virtual String GetReference(TObject* object) = 0;
    virtual TObject* FindReference(const String& id) = 0;
    virtual void ItemAdded(TObject* item, TObject* list) = 0;
};

class IAdvPersistenceObjectFactory {
public:
    static constexpr const wchar_t* IID = L"{91DEAFC3-8932-45F4-A3ED-5AAA0C0E9250}";
    virtual ~IAdvPersistenceObjectFactory() = default;
    virtual TObject* CreateObject(const String& className, const TClass* baseClass) = 0;
};

// Asked of a persisted object: which of its properties are saved and loaded.
class IAdvPersistenceFilter {
public:
    static constexpr const wchar_t* IID = L"{363F04AF-B8A7-4C47-A2D6-8ED9C44CEFF6}";
    virtual ~IAdvPersistenceFilter() = default;
    virtual bool CanSaveProperty(TObject* object, const String& propertyName, TTypeKind kind) = 0;
    virtual bool CanLoadProperty(TObject* object, const String& propertyName, TTypeKind kind) = 0;
};

// Asked of a list, dictionary or collection: the class of its items.
class IAdvPersistenceItemClass {
public:
    static constexpr const wchar_t* IID = L"{FAB1D21E-D798-4CE0-B17B-9D75E4456AB4}";
    virtual ~IAdvPersistenceItemClass() = default;
    virtual const TClass* GetItemClass() = 0;
};

// Asked of a collection: a new item made from a loaded object.
class IAdvPersistenceCollectionItemFactory {
public:
    static constexpr const wchar_t* IID = L"{90FDF257-7362-411D-B7F6-E2BEE2265016}";
    virtual ~IAdvPersistenceCollectionItemFactory() = default;
    virtual ClassLib::TCollectionItem* AddItem(TObject* object) = 0;
};

// What the generic-list and dictionary rules need of a class whose name says it is one
// ("TList<string>", "TObjectDictionary<string,TItem>" ...). Object items are owned by the list.
using TAdvListValue = std::variant<String, int64_t, double, TObject*>;
class IAdvGenericList {
public:
    virtual ~IAdvGenericList() = default;
    virtual int Count() const = 0;
    virtual TAdvListValue Item(int index) const = 0;
    virtual void Clear() = 0;
    virtual void Add(const TAdvListValue& value) = 0;
};
class IAdvGenericDictionary {
public:
    virtual ~IAdvGenericDictionary() = default;
    virtual std::vector<String> Keys() const = 0;   // in the dictionary's own order
    virtual TObject* Value(const String& key) const = 0;
    virtual void Clear() = 0;
    virtual void Add(const String& key, TObject* value) = 0;
};

// A handler that sets ACanWrite/ACanRead false takes the property over.
using TAdvWriterCustomWritePropertyEvent = std::function<void(
    TObject* object, const String& propertyName, TTypeKind kind, AdvJSONWriter::TAdvJSONWriter& writer, bool& canWrite)>;
using TAdvReaderCustomReadPropertyEvent = std::function<void(
    TObject* object, const String& propertyName, TTypeKind kind, AdvJSONReader::TAdvJSONReader& reader, bool& canRead)>;
using TAdvWriterCustomIsAssignablePropertyEvent =
    std::function<void(TObject* object, const String& propertyName, bool& isAssignable)>;

// ---- process-wide settings (one thread saves or loads at a time)
extern String TypeMemberName;   // "$type"; empty: no class names written or expected
extern TObject* GlobalRootObject;    // resolves method names and owned components
extern TObject* GlobalIOReference;
extern TAdvExcludePropertyListArray GlobalExcludeProperties;

class TAdvPersistence {
public:
    TAdvPersistence() = delete;
    static TAdvWriterCustomWritePropertyEvent OnCustomWriteProperty;
    static TAdvReaderCustomReadPropertyEvent OnCustomReadProperty;

    // The stream gets the text only once the whole object is written.
    static void SaveSettingsToStream(TObject* object, ClassLib::TStream* stream);
    // The file is replaced only after a whole successful save.
    static void SaveSettingsToFile(TObject* object, const String& fileName);
    // Every value is read and converted before any property changes: text that is broken
    // anywhere, or holds a value that does not convert, changes nothing.
    static void LoadSettingsFromStream(TObject* object, ClassLib::TStream* stream);
    static void LoadSettingsFromFile(TObject* object, const String& fileName);
    // A new object of the registered class (EAdvReaderException when it cannot be made).
    static std::unique_ptr<TObject> CreateObject(const String& className, const TClass* baseClass);
    static void GetEnumValues(ClassLib::TStrings* values, const TPropInfo& propInfo);

    static TTypeKind GetPropInfoType(const TPropInfo& propInfo) { return propInfo.Kind; }
    static const String& GetPropInfoName(const TPropInfo& propInfo) { return propInfo.Name; }
    static const String& GetPropInfoTypeName(const TPropInfo& propInfo) { return propInfo.TypeName; }
    static const TClass* GetPropInfoDataTypeInfoClassType(const TPropInfo& propInfo) { return propInfo.PropClass; }
    static String GetEnumName(const TPropInfo& propInfo, int64_t value);
    static bool IsWriteOnly(const TPropInfo& propInfo);
    static bool IsReadOnly(const TPropInfo& propInfo) { return !propInfo.IsWritable(); }
    // Class-typed, and its value is empty or a component: saved as the component's name.
    static bool IsAssignableProperty(const TObject* object, const TPropInfo& propInfo);
    static bool IsColor(const String& typeName);
    static bool IsStrokeKind(const String& typeName);
    static bool IsFillKind(const String& typeName);
    static bool IsDate(const String& typeName);
    static bool IsDateTime(const String& typeName);
    static bool IsTime(const String& typeName);
    // The class tests walk the class and its ancestors and compare names exactly.
    static bool IsGenericList(const TClass* cls, const String& type = String());
    static bool IsGenericDictionary(const TClass* cls);
    static bool IsCollection(const TClass* cls);
    static bool IsComponent(const TClass* cls);
    static bool IsControl(const TClass* cls);
    static bool IsList(const TClass* cls);
    static bool IsDescendingClass(const TClass* cls, std::span<const String> classParentList);
    static bool IsBitmap(const TClass* cls);
    static bool IsStrings(const TClass* cls);
};

// What the writer and the reader share: the objects that resolve references and
// handlers, the exclusions, and the say on which class properties are component names.
class TAdvPersistenceContext {
public:
    // The setters of these three also set the process-wide setting.
    TObject* IOReference() const noexcept { return FIOReference; }
    void SetIOReference(TObject* value);
    TObject* RootObject() const noexcept { return FRootObject; }
    void SetRootObject(TObject* value);
    const TAdvExcludePropertyListArray& ExcludeProperties() const noexcept { return FExcludeProperties; }
    void SetExcludeProperties(const TAdvExcludePropertyListArray& value);
    TAdvWriterCustomIsAssignablePropertyEvent OnCustomIsAssignableProperty;

protected:
    bool IsAssignable(TObject* object, const TPropInfo& info) const;

    TObject* FIOReference = nullptr;
    TObject* FRootObject = nullptr;
    TAdvExcludePropertyListArray FExcludeProperties;
};

class TAdvWriter : public TAdvPersistenceContext {
public:
    explicit TAdvWriter(ClassLib::TStream* stream);
    ~TAdvWriter();
    TAdvWriter(const TAdvWriter&) = delete;
    TAdvWriter& operator=(const TAdvWriter&) = delete;

    AdvJSONWriter::TAdvJSONWriter& JSONWriter() noexcept { return *FWriter; }
    TAdvWriterCustomWritePropertyEvent OnCustomWriteProperty;

    void Write(TObject* object);
    // {name: [objects]}
    void WriteArray(const String& name, const TAdvObjectArray& objects);

private:
    void WriteObject(TObject* object);
    void WriteProperty(TObject* object, const TPropInfo& info);
    void WriteColour(int64_t colour);

    std::unique_ptr<AdvJSONWriter::TAdvJSONWriter> FWriter;
};

class TAdvReader : public TAdvPersistenceContext {
public:
    // A property whose object is known only by its reference text until SolveReferences.
    class TAdvObjectReference {
    public:
        TAdvObjectReference(TObject* instance, const TPropInfo* prop, String id)
            : Instance(instance), Prop(prop), Id(std::move(id)) {}
        TObject* Instance;
        const TPropInfo* Prop;
        String Id;
    };

    explicit TAdvReader(ClassLib::TStream* stream);
    ~TAdvReader();
    TAdvReader(const TAdvReader&) = delete;
    TAdvReader& operator=(const TAdvReader&) = delete;

    AdvJSONReader::TAdvJSONReader& JSONReader() noexcept { return *FReader; }
    TAdvReaderCustomReadPropertyEvent OnCustomReadProperty;

    // Reads a new object of `cls` or a class derived from it, named by the type member.
    std::unique_ptr<TObject> Read(const TClass& cls);
    // Reads into an existing object. Its properties (and those of its sub-objects, lists
    // and collections) change only once the whole value is read and every value converted:
    // an error anywhere leaves them as they were. A property that a custom read handler
    // takes over is read and stored by the handler at once.
    void Read(TObject* object);
    // The objects of the array member `name` of the next object.
    TAdvOwnedObjectArray ReadArray(const String& name);
    void SolveReferences();

private:
    // One held-back change of a plain value: it stores the value and gives back what puts
    // the old one back (a setter may still refuse a value that converted).
    using TChange = std::function<std::function<void()>()>;
    // What one Read into an existing object holds back, and how to undo what it did at once.
    struct TTransaction {
        std::vector<TChange> Values;
        std::vector<std::function<void()>> Replacements;   // lists and pictures, after the values
        std::vector<std::function<void()>> Rollback;       // items added to collections while reading
    };

    // Held back in the open transaction; at once while a new object is read (it is freed
    // when the read fails).
    void Change(TChange change);
    void Replace(std::function<void()> replacement);
    // Reading into an object this read made: its values are stored at once.
    class TNewObjectScope;
    void StoreOrd(TObject* object, const TPropInfo& info, int64_t value);
    // After a whole document: nothing but white space may follow.
    void EndOfDocument();

    void ReadInto(TObject* object);
    String ReadTypeName(const TClass& base);
    std::unique_ptr<TObject> CreateNamed(const String& className, const TClass& base);
    void ReadMembers(TObject* object);
    void ReadProperty(TObject* object, const TPropInfo& info);
    void ReadClassProperty(TObject* object, const TPropInfo& info);
    int64_t ReadColour(const TPropInfo& info);
    // An array, calling `element` for each element that is not null.
    void ReadElements(const std::function<void()>& element);
    void ReadObjectItems(const TClass& base, const std::function<void(std::unique_ptr<TObject>)>& add);
    void ReadCollection(ClassLib::TCollection* collection);

    std::vector<TAdvObjectReference> FReferences;
    std::unique_ptr<AdvJSONReader::TAdvJSONReader> FReader;
    TTransaction* FTransaction = nullptr;   // null: values are stored as they are read
};

// ---- the object helper: free functions over any object (never a published "JSON"
// property: saving it would recurse)
String ToJSON(TObject* object);
String ToJSON(TObject* object, const TAdvObjectExcludePropertyListArray& excludedProperties);
// Text outside the JSON code page arrives as \u escapes; a type member is ignored.
void FromJSON(TObject* object, const String& value);
// Sends ToJSON to the debugger output.
void Log(TObject* object);
void SaveToJSONStream(TObject* object, ClassLib::TStream* stream);
void LoadFromJSONStream(TObject* object, ClassLib::TStream* stream);
void SaveToJSONFile(TObject* object, const String& fileName);
void LoadFromJSONFile(TObject* object, const String& fileName);

}  // namespace AdvPersistence
