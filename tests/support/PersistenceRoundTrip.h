#pragma once
// The check that every registered class survives a JSON save and load: each writable
// published property set away from its default, saved, loaded into a new instance and
// saved again must give the same text and the same values.
#include <span>

namespace ClassLib {
class TClass;
class TObject;
}  // namespace ClassLib

namespace TestSupport {

// A class the check leaves out, with the reason (a process singleton, ...).
struct TRoundTripLeftOut {
    const wchar_t* ClassName;
    const wchar_t* Reason;
};

// Sets every writable property, those of owned sub-objects and of two new collection
// items included, to a value other than its current one. `variant` rotates the colours
// through -1, clNone, a system colour and an RGB value.
void ScrambleProperties(ClassLib::TObject* object, int variant);
// One class, every colour variant; failures name the class and the property.
void ExpectRoundTrip(const ClassLib::TClass& cls);
// Every registered persistent class that can be created by class alone, but those left out.
// Returns how many classes it checked.
int ExpectEveryRegisteredClassRoundTrips(std::span<const TRoundTripLeftOut> leftOut);

}  // namespace TestSupport
