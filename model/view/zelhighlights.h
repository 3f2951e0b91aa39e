#pragma once
/// \file

#include "base/core/zelownedlist.h"
#include "model/view/zelhighlight.h"

/// The highlights of a text object. Every highlight added gets a unique index
/// that identifies it across template inheritance.
class TzelHighlights : public TzelOwnedList<TzelHighlight>
{
public:
    /// Appends a highlight with the next unique index.
    TzelHighlight *Add();
    /// The highlight whose unique index is Index, or nullptr.
    TzelHighlight *FindByUniqueIndex(int index) const;
    /// The unique index the next highlight gets: 1 when the collection is
    /// empty or its smallest index is 2 or more, otherwise the largest + 1.
    int NextUniqueIndex() const;
};
