#pragma once
/// \file

#include <functional>
#include <memory>
#include <vector>

class TzelCustomPreviewPages;

/// The prepared-page containers of a report: the main one, made with the
/// list and never deleted, and extra ones for detail reports opened from the
/// preview. One of them is current. The containers come from a maker because
/// their class lives in a layer above the report.
class TzelPreviewPagesList
{
public:
    /// Makes one empty container.
    using Maker = std::function<std::unique_ptr<TzelCustomPreviewPages>()>;

    /// A list holding a main container made by Make, which is current.
    explicit TzelPreviewPagesList(Maker make);
    ~TzelPreviewPagesList();
    TzelPreviewPagesList(const TzelPreviewPagesList &) = delete;
    TzelPreviewPagesList &operator=(const TzelPreviewPagesList &) = delete;

    /// Appends a new container.
    TzelCustomPreviewPages *Add();
    /// Appends a new container and makes it current.
    TzelCustomPreviewPages *AddAsCurrent();
    /// Number of containers.
    int Count() const { return int(FItems.size()); }
    /// Container Index (0: the main one).
    TzelCustomPreviewPages *Items(int index) const;
    /// The current container.
    TzelCustomPreviewPages *Current() const { return FItems[size_t(FCurrent)].get(); }
    /// Makes Pages current; a container not in the list is ignored.
    void SetCurrent(TzelCustomPreviewPages *pages);
    /// The main container.
    TzelCustomPreviewPages *Main() const { return FItems.front().get(); }
    /// Makes Pages the main container (moving it to the front).
    void SetMain(TzelCustomPreviewPages *pages);
    /// Deletes Pages unless it is the last one left; the main one takes over when it was current.
    void Delete(TzelCustomPreviewPages *pages);
    /// Deletes container Index unless it is the last one left.
    void Delete(int index);
    /// Frees every container but the main one and makes that current.
    void Clear();

    /// Called whenever another container becomes current (the engine and
    /// the script follow it).
    std::function<void(TzelCustomPreviewPages *)> OnCurrentChanged;

private:
    int IndexOf(const TzelCustomPreviewPages *pages) const;
    void Select(int index);

    Maker FMake;
    std::vector<std::unique_ptr<TzelCustomPreviewPages>> FItems;
    int FCurrent = 0;
};
