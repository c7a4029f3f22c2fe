#pragma once
// Checks shared by the record tests: how each published setter reports a change, and
// which published values an Assign carries over.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "classlib/Object.h"
#include "classlib/Properties.h"

namespace RecordTests {

enum TSetterKind { Told, Always, Silent, Odd };

inline const char* KindName(TSetterKind kind) {
    switch (kind) {
        case Told: return "told when changed";
        case Always: return "told always";
        case Silent: return "silent";
        default: return "odd";
    }
}

// A value other than the property's own, of its kind.
inline void SetOther(ClassLib::TObject* object, const ClassLib::TPropInfo& info) {
    using ClassLib::TPropKind;
    switch (info.Kind) {
        case TPropKind::Colour: info.SetOrd(object, info.GetOrd(object) ^ 0x102030); break;
        case TPropKind::Boolean: info.SetOrd(object, info.GetOrd(object) ? 0 : 1); break;
        case TPropKind::Enumeration:
            info.SetOrd(object, (info.GetOrd(object) + 1) % int64_t(info.ValueNames.size()));
            break;
        case TPropKind::Integer: info.SetOrd(object, info.GetOrd(object) + 7); break;
        case TPropKind::String: info.SetString(object, info.GetString(object) + L"x"); break;
        default: break;
    }
}

inline bool IsSimple(const ClassLib::TPropInfo& info) {
    using ClassLib::TPropKind;
    return info.IsWritable() && (info.IsOrdinal() || info.Kind == TPropKind::String) &&
           info.Kind != TPropKind::Set;
}

// Each simple published property set to its own value, then to another: the kind of
// setter the change count (read from `changes`) shows.
inline std::map<std::wstring, TSetterKind> SetterKinds(ClassLib::TObject* object, const int& changes) {
    std::map<std::wstring, TSetterKind> kinds;
    for (const ClassLib::TPropInfo& info : object->ClassType().Published()) {
        if (!IsSimple(info)) continue;
        const int before = changes;
        if (info.Kind == ClassLib::TPropKind::String)
            info.SetString(object, info.GetString(object));
        else
            info.SetOrd(object, info.GetOrd(object));
        const int same = changes - before;
        SetOther(object, info);
        const int other = changes - before - same;
        kinds[info.Name] = same == 0 && other == 1 ? Told : same == 1 && other == 1 ? Always
                         : same == 0 && other == 0 ? Silent : Odd;
    }
    return kinds;
}

// Every property of the class is `usual` but those listed.
inline void ExpectSetterKinds(const std::map<std::wstring, TSetterKind>& seen, TSetterKind usual,
                              const std::map<std::wstring, TSetterKind>& exceptions) {
    for (const auto& [name, kind] : seen) {
        const auto listed = exceptions.find(name);
        const TSetterKind expected = listed == exceptions.end() ? usual : listed->second;
        EXPECT_EQ(KindName(kind), std::string(KindName(expected))) << testing::PrintToString(name);
    }
}

// Every simple published value of `object` changed.
inline void ChangeAll(ClassLib::TObject* object) {
    for (const ClassLib::TPropInfo& info : object->ClassType().Published())
        if (IsSimple(info)) SetOther(object, info);
}

// The simple published values that differ between the two objects.
inline std::map<std::wstring, bool> Differences(const ClassLib::TObject* a, const ClassLib::TObject* b) {
    std::map<std::wstring, bool> names;
    for (const ClassLib::TPropInfo& info : a->ClassType().Published()) {
        if (!IsSimple(info)) continue;
        const bool same = info.Kind == ClassLib::TPropKind::String ? info.GetString(a) == info.GetString(b)
                                                                     : info.GetOrd(a) == info.GetOrd(b);
        if (!same) names[info.Name] = true;
    }
    return names;
}

}  // namespace RecordTests
