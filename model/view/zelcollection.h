#pragma once

#include <memory>
#include <vector>

// An ordered list of owned items of one class (a text object's formats and
// highlights). Copies copy the items.
template <class Item>
class TzelCollection
{
public:
    TzelCollection() = default;
    /// Copies every item of Other.
    TzelCollection(const TzelCollection &other) { *this = other; }
    /// Replaces the items by copies of Other's.
    TzelCollection &operator=(const TzelCollection &other)
    {
        if (this == &other)
            return *this;
        FItems.clear();
        for (const auto &item : other.FItems)
            FItems.push_back(std::make_unique<Item>(*item));
        return *this;
    }
    virtual ~TzelCollection() = default;

    /// Number of items.
    int Count() const { return int(FItems.size()); }
    /// Item Index, 0-based.
    Item &Items(int index) { return *FItems.at(size_t(index)); }
    const Item &Items(int index) const { return *FItems.at(size_t(index)); }
    /// Appends a new item and returns it.
    virtual Item &Add()
    {
        FItems.push_back(std::make_unique<Item>());
        return *FItems.back();
    }
    /// Removes and frees item Index.
    void Delete(int index) { FItems.erase(FItems.begin() + index); }
    /// Removes and frees every item.
    void Clear() { FItems.clear(); }

protected:
    std::vector<std::unique_ptr<Item>> FItems;
};
