#pragma once
/// \file

#include <QtGlobal>
#include <initializer_list>

/// A set of values of a small enumeration, bit n standing for the n-th value,
/// so that the stored bit sum follows the order of the enumeration.
template <typename E>
class TzelSet
{
public:
    /// The enumeration the set holds values of.
    using Element = E;

    /// The empty set.
    constexpr TzelSet() = default;
    /// The set of the given values.
    constexpr TzelSet(std::initializer_list<E> values)
    {
        for (E v : values)
            Include(v);
    }

    /// Whether Value belongs to the set.
    constexpr bool Contains(E value) const { return (FBits & Bit(value)) != 0; }
    /// Adds Value.
    constexpr void Include(E value) { FBits |= Bit(value); }
    /// Removes Value.
    constexpr void Exclude(E value) { FBits &= ~Bit(value); }
    /// Whether no value belongs to the set.
    constexpr bool IsEmpty() const { return FBits == 0; }
    /// The set as bits.
    constexpr quint32 Bits() const { return FBits; }
    /// The set of the given bits.
    static constexpr TzelSet FromBits(quint32 bits)
    {
        TzelSet s;
        s.FBits = bits;
        return s;
    }

    /// Two sets are equal when they hold the same members.
    friend constexpr bool operator==(TzelSet, TzelSet) = default;

private:
    static constexpr quint32 Bit(E value) { return quint32(1) << unsigned(value); }

    quint32 FBits = 0;
};
