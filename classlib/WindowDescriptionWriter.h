#pragma once
// Window descriptions written: a live component and the components it owns as the text
// that ReadComponentFromText reads back (see WindowDescription.h for the grammar).
//
// Written are the class and name of each component, nested as the reader places them
// (controls in their parents, menu items in their menus and items), and every published
// property that is stored and differs from its declared default: sub-objects as dotted
// paths, collections as items, string lists, component references by name, handlers by
// the name the root's class publishes them under, and bytes through registered writers.
// What the reader could not resolve again is left out: a reference to a component the
// root does not own, a handler that is no published method of the root's class.
#include <functional>
#include <string>

namespace ClassLib {

class TClass;
class TComponent;
class TObject;
class TStream;

// The writing side of RegisterBinaryProperty: puts the object's data into `data` and
// answers true, or answers false when there is nothing to store (a picture without one).
using TBinaryPropertyWriter = std::function<bool(TObject* object, TStream* data)>;
void RegisterBinaryPropertyWriter(const TClass& cls, const std::wstring& name, TBinaryPropertyWriter writer);

std::wstring WriteComponentToText(TComponent* root);
// The same text as UTF-8 without a byte-order mark, at the stream's position.
void WriteComponentToStream(TComponent* root, TStream* stream);

}  // namespace ClassLib
