#pragma once
// Window descriptions: a window and its components written as readable text, kept as an
// RCDATA resource named after the window's class, and read back into a live window.
//
//   # a comment
//   object Form1: TForm1
//     Caption = "AT commands"          strings in double quotes: \" \\ \n \r \t \uXXXX
//     ClientWidth = 860                numbers: -12, 0x1F, 2.5
//     Font.Name = "Tahoma"             dotted paths reach sub-objects
//     Anchors = [akLeft, akTop]        sets
//     Visible = false                  Booleans, enumeration values, colour names,
//     PopupMenu = PopupMenu1           component names and handler names are identifiers
//     OnShow = FormShow
//     Lines = ["first", "second"]      string lists
//     Picture.Data = {0A1B 2C3D}       binary data in hex, through a registered reader
//     Panels = <                       collections: cleared, then one item per block
//       item
//         Width = 200
//       end
//     >
//     object Panel1: TPanel            owned components, nested as they are parented
//     object : TTimer                  (an unnamed one)
//       Align = alTop
//     end
//   end
//
// Reading creates every component by class name, applies the written properties through
// the published-property registry (unwritten ones keep the constructor's values), binds
// handlers by name on the root, resolves component references once everything exists,
// and then calls every component's Loaded.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/Object.h"

namespace ClassLib {

class TStream;

// A description that cannot be read: the message names the line and what is wrong.
class EDescriptionError : public Exception {
public:
    using Exception::Exception;
};

// Called for every component the reader creates, once its name is set.
using TComponentCreatedEvent = std::function<void(TComponent* component)>;

// Reads the description text into `root`, whose class name must be the outer object's.
void ReadComponentFromText(TComponent* root, const std::wstring& text,
                           const TComponentCreatedEvent& created = {});
// The text as UTF-8 (a byte-order mark is allowed, as is UTF-16 with its mark).
void ReadComponentFromStream(TComponent* root, TStream* stream,
                             const TComponentCreatedEvent& created = {});
// The RCDATA resource of the program named `resourceName`; raises EResNotFound without one.
void ReadComponentResource(TComponent* root, const std::wstring& resourceName,
                           const TComponentCreatedEvent& created = {});
// The same from another module (a library, or a file loaded as data).
void ReadComponentResource(TComponent* root, void* module, const std::wstring& resourceName,
                           const TComponentCreatedEvent& created = {});
// True when the program has a description resource of that name.
bool HasDescriptionResource(const std::wstring& resourceName);

// The define-properties hook: data a class stores as bytes (a picture's image) is read
// by the reader registered for the class (or an ancestor) under the property's name.
using TBinaryPropertyReader = std::function<void(TObject* object, TStream* data)>;
void RegisterBinaryProperty(const TClass& cls, const std::wstring& name, TBinaryPropertyReader reader);

// A component that takes nested components of a description as its children (a windowed
// control takes controls through Parent, a menu takes items). A nested component under a
// component without this interface is only owned.
class IDescriptionParent {
public:
    virtual ~IDescriptionParent() = default;
    // False when `child` cannot be placed here (a control inside a control without a
    // window); the reader then rejects the description. A child that needs no place
    // here (a timer inside a panel) is accepted and left as it is.
    virtual bool InsertDescribedChild(TComponent* child) = 0;
};

}  // namespace ClassLib
