#pragma once
// A set of the values of a small enumeration (at most 32), kept as bits:
// font styles, dialog buttons, dialog options.
#include <cstdint>
#include <initializer_list>

namespace ClassLib {

template <class E>
class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> values) {
        for (E v : values) FBits |= Bit(v);
    }
    constexpr bool Contains(E value) const { return (FBits & Bit(value)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TEnumSet operator+(E value) const { TEnumSet r = *this; r.FBits |= Bit(value); return r; }
    constexpr TEnumSet operator-(E value) const { TEnumSet r = *this; r.FBits &= ~Bit(value); return r; }
    constexpr TEnumSet operator+(TEnumSet other) const { TEnumSet r = *this; r.FBits |= other.FBits; return r; }
    constexpr TEnumSet& operator+=(E value) { FBits |= Bit(value); return *this; }
    constexpr TEnumSet& operator-=(E value) { FBits &= ~Bit(value); return *this; }
    constexpr std::uint32_t Bits() const { return FBits; }
    friend constexpr bool operator==(TEnumSet, TEnumSet) = default;
private:
    static constexpr std::uint32_t Bit(E v) { return std::uint32_t(1) << unsigned(v); }
    std::uint32_t FBits = 0;
};

}  // namespace ClassLib
