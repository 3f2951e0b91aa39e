#pragma once
/// \file

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;
class QToolButton;
class TzelCustomPreviewPages;

/// How the outline pane orders its entries.
enum TzelOutlineSortType { dtsUnsorted, dtsAscending, dtsDescending };

/// The preview's outline pane: the prepared report's table of contents as a
/// tree, with a sort button above it and "Collapse all"/"Expand all" on its
/// context menu. Choosing an entry asks the preview to show its place.
class TzelPreviewOutline : public QWidget
{
    Q_OBJECT

public:
    /// Creates an empty outline tree.
    explicit TzelPreviewOutline(QWidget *parent = nullptr);

    /// Fills the tree from the outline of Pages (nullptr empties it);
    /// Expand opens every entry.
    void Fill(TzelCustomPreviewPages *pages, bool expand);
    /// The order of the entries; Unsorted fills the tree again.
    TzelOutlineSortType SortType() const { return FSortType; }
    /// Sets SortType.
    void SetSortType(TzelOutlineSortType value);
    /// The tree (for its colour and for tests).
    QTreeWidget *Tree() const { return FTree; }

signals:
    /// An entry was chosen: its 1-based page and its top on the page.
    void ItemChosen(int pageNo, int top);

private:
    void AddChildren(QTreeWidgetItem *parent);
    void Sort();

    QTreeWidget *FTree;
    QToolButton *FSortButton;
    TzelCustomPreviewPages *FPages = nullptr;
    bool FExpand = false;
    TzelOutlineSortType FSortType = dtsUnsorted;
};
