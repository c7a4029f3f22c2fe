#pragma once
// The names a published enumeration's values go by in window descriptions, said once
// beside the enumeration; every property of that type finds them through the type:
//
//   enum TAlign { alNone, alTop, ... };
//   template <> struct TEnumNames<TAlign> {
//       static constexpr const wchar_t* TypeName = L"TAlign";
//       static constexpr const wchar_t* Names[] = {L"alNone", L"alTop", ...};
//   };
//
// An enumeration whose values also make a set names that set's type as well:
//       static constexpr const wchar_t* SetTypeName = L"TFontStyles";
#include <iterator>

namespace ClassLib {

template <class E>
struct TEnumNames;

template <class E>
concept NamedEnum = requires {
    { TEnumNames<E>::TypeName } -> std::convertible_to<const wchar_t*>;
    std::size(TEnumNames<E>::Names);
};

template <class E>
concept NamedSetElement = NamedEnum<E> && requires {
    { TEnumNames<E>::SetTypeName } -> std::convertible_to<const wchar_t*>;
};

}  // namespace ClassLib
