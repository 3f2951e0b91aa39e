#pragma once
/// \file

#include "base/core/zelexception.h"

#include <QString>
#include <memory>
#include <type_traits>
#include <vector>

/// Raises "List index out of bounds (Index)".
[[noreturn]] void zelRaiseListIndex(int index);

/// An ordered list of owned items of one class: the collections of templates
/// (formats, highlights, styles, style sets, variables, data-set entries).
/// Every index outside the list raises "List index out of bounds", whatever
/// the call, so no list reads or frees past its end. A list of copyable items
/// copies them.
template <class T>
class TzelOwnedList
{
public:
    TzelOwnedList() = default;
    ~TzelOwnedList() = default;
    /// Copies every item of Other.
    TzelOwnedList(const TzelOwnedList &other)
        requires std::is_copy_constructible_v<T>
    {
        *this = other;
    }
    /// Replaces the items by copies of Other's.
    TzelOwnedList &operator=(const TzelOwnedList &other)
        requires std::is_copy_constructible_v<T>
    {
        if (this != &other) {
            FItems.clear();
            for (const auto &item : other.FItems)
                FItems.push_back(std::make_unique<T>(*item));
        }
        return *this;
    }

    /// Number of items.
    int Count() const { return int(FItems.size()); }
    /// Item Index, from 0.
    T *Items(int index) const
    {
        Check(index, Count());
        return FItems[size_t(index)].get();
    }
    /// Appends a new item and returns it.
    T *Add()
        requires std::is_default_constructible_v<T>
    {
        return Insert(Count(), std::make_unique<T>());
    }
    /// Puts Item at Index (0 to Count) and returns it.
    T *Insert(int index, std::unique_ptr<T> item)
    {
        Check(index, Count() + 1);
        return FItems.insert(FItems.begin() + index, std::move(item))->get();
    }
    /// Removes and frees item Index.
    void Delete(int index)
    {
        Check(index, Count());
        FItems.erase(FItems.begin() + index);
    }
    /// Removes and frees every item.
    void Clear() { FItems.clear(); }
    /// Position of Item, or -1.
    int IndexOf(const T *item) const
    {
        for (size_t i = 0; i < FItems.size(); ++i)
            if (FItems[i].get() == item)
                return int(i);
        return -1;
    }

protected:
    std::vector<std::unique_ptr<T>> FItems; ///< the owned items, in order

private:
    static void Check(int index, int limit)
    {
        if (index < 0 || index >= limit)
            zelRaiseListIndex(index);
    }
};
