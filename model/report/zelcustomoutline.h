#pragma once
/// \file

#include <QString>

class TzelCustomPreviewPages;
class TzelXMLItem;

/// The outline (table of contents) of a prepared report: a tree of entries,
/// each naming a page and a position on it, walked through a current entry.
class TzelCustomOutline
{
public:
    /// An outline kept by Pages.
    explicit TzelCustomOutline(TzelCustomPreviewPages *pages) : FPreviewPages(pages) {}
    virtual ~TzelCustomOutline() = default;
    TzelCustomOutline(const TzelCustomOutline &) = delete;
    TzelCustomOutline &operator=(const TzelCustomOutline &) = delete;

    /// Appends an entry under the current one, on the current page at Top,
    /// and makes it current.
    virtual void AddItem(const QString &text, int top) = 0;
    /// Deletes the siblings that follow entry From.
    virtual void DeleteItems(TzelXMLItem *from) = 0;
    /// Makes child Index of the current entry current.
    virtual void LevelDown(int index) = 0;
    /// Makes the root current.
    virtual void LevelRoot() = 0;
    /// Makes the parent of the current entry current (not above the root).
    virtual void LevelUp() = 0;
    /// Text, page index and top of child Index of the current entry.
    virtual void GetItem(int index, QString &text, int &page, int &top) const = 0;
    /// Moves the entries after From, with their descendants, to the next
    /// page, the first of them to NewTop and the rest by the same distance.
    virtual void ShiftItems(TzelXMLItem *from, int newTop) = 0;
    /// The last child of the current entry, or nullptr.
    virtual TzelXMLItem *GetCurPosition() const = 0;
    /// Number of children of the current entry.
    virtual int Count() const = 0;
    /// The root entry (the "outline" element).
    virtual TzelXMLItem *Root() const = 0;

    /// The prepared pages the outline belongs to.
    TzelCustomPreviewPages *PreviewPages() const { return FPreviewPages; }

private:
    TzelCustomPreviewPages *FPreviewPages;
};
