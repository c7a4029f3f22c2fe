#pragma once
// The check that a class's published defaults are what its constructor sets: a list and
// a constructor that disagree would silently drop values from saved windows.
namespace ClassLib {
class TObject;
}

namespace TestSupport {
// Expects every property of `object` that declares a default to hold it, one failure per
// property named Class.Property; returns how many properties it checked.
int ExpectPublishedDefaults(const ClassLib::TObject* object);
}
