#pragma once

#include <functional>
#include <memory>
#include <vector>

class TzelPreviewPages;
class TzelReport;

// The prepared-page containers of a report: the main one, made with the
// list and never deleted, and extra ones for detail reports opened from the
// preview. One of them is current.
class TzelPreviewPagesList
{
public:
    /// A list holding the main container of Report, which is current.
    explicit TzelPreviewPagesList(TzelReport *report);
    ~TzelPreviewPagesList();
    TzelPreviewPagesList(const TzelPreviewPagesList &) = delete;
    TzelPreviewPagesList &operator=(const TzelPreviewPagesList &) = delete;

    /// Appends a new container.
    TzelPreviewPages *Add();
    /// Appends a new container and makes it current.
    TzelPreviewPages *AddAsCurrent();
    /// Number of containers.
    int Count() const { return int(FItems.size()); }
    /// Container Index (0: the main one).
    TzelPreviewPages *Items(int index) const;
    /// The current container.
    TzelPreviewPages *Current() const { return FItems[size_t(FCurrent)].get(); }
    /// Makes Pages current; a container not in the list is ignored.
    void SetCurrent(TzelPreviewPages *pages);
    /// The main container.
    TzelPreviewPages *Main() const { return FItems.front().get(); }
    /// Makes Pages the main container (moving it to the front).
    void SetMain(TzelPreviewPages *pages);
    /// Deletes Pages unless it is the last one left; the main one takes over when it was current.
    void Delete(TzelPreviewPages *pages);
    /// Deletes container Index unless it is the last one left.
    void Delete(int index);
    /// Frees every container but the main one and makes that current.
    void Clear();

    /// Called whenever another container becomes current (the engine and
    /// the script follow it).
    std::function<void(TzelPreviewPages *)> OnCurrentChanged;

private:
    int IndexOf(const TzelPreviewPages *pages) const;
    void Select(int index);

    TzelReport *FReport;
    std::vector<std::unique_ptr<TzelPreviewPages>> FItems;
    int FCurrent = 0;
};
