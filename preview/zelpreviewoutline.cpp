#include "preview/zelpreviewoutline.h"

#include "base/resources/zelresources.h"
#include "model/report/zelcustompreviewpages.h"

#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int pageRole = Qt::UserRole;
constexpr int topRole = Qt::UserRole + 1;

} // namespace

TzelPreviewOutline::TzelPreviewOutline(QWidget *parent)
    : QWidget(parent), FTree(new QTreeWidget(this)), FSortButton(new QToolButton(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FSortButton->setText(zelRes("4117"));
    FSortButton->setToolTip(zelRes("4117"));
    FSortButton->setPopupMode(QToolButton::InstantPopup);
    auto *sortMenu = new QMenu(FSortButton);
    const std::pair<const char *, TzelOutlineSortType> sorts[] = {
        {"4330", dtsUnsorted}, {"4328", dtsAscending}, {"4329", dtsDescending}};
    for (const auto &[key, type] : sorts)
        sortMenu->addAction(zelRes(key), this, [this, type = type] { SetSortType(type); });
    FSortButton->setMenu(sortMenu);
    layout->addWidget(FSortButton, 0, Qt::AlignLeft);
    FTree->setHeaderHidden(true);
    FTree->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *collapse = new QAction(zelRes("601"), FTree);
    connect(collapse, &QAction::triggered, FTree, &QTreeWidget::collapseAll);
    auto *expand = new QAction(zelRes("600"), FTree);
    connect(expand, &QAction::triggered, FTree, &QTreeWidget::expandAll);
    FTree->addActions({collapse, expand});
    layout->addWidget(FTree);
    connect(FTree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        emit ItemChosen(item->data(0, pageRole).toInt(), item->data(0, topRole).toInt());
    });
    connect(FTree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        emit ItemChosen(item->data(0, pageRole).toInt(), item->data(0, topRole).toInt());
    });
}

void TzelPreviewOutline::Fill(TzelCustomPreviewPages *pages, bool expand)
{
    FPages = pages;
    FExpand = expand;
    FTree->clear();
    if (!pages)
        return;
    TzelCustomOutline &outline = pages->Outline();
    outline.LevelRoot();
    AddChildren(nullptr);
    outline.LevelRoot();
    if (FSortType != dtsUnsorted)
        Sort();
    if (expand)
        FTree->expandAll();
    if (FTree->topLevelItemCount())
        FTree->scrollToItem(FTree->topLevelItem(0));
}

void TzelPreviewOutline::AddChildren(QTreeWidgetItem *parent)
{
    TzelCustomOutline &outline = FPages->Outline();
    const int count = outline.Count();
    for (int i = 0; i < count; ++i) {
        QString text;
        int page = 0, top = 0;
        outline.GetItem(i, text, page, top);
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(FTree);
        item->setText(0, text);
        item->setData(0, pageRole, page + 1);
        item->setData(0, topRole, top);
        outline.LevelDown(i);
        AddChildren(item);
        outline.LevelUp();
    }
}

void TzelPreviewOutline::SetSortType(TzelOutlineSortType value)
{
    FSortType = value;
    if (value == dtsUnsorted)
        Fill(FPages, FExpand);
    else
        Sort();
}

void TzelPreviewOutline::Sort()
{
    FTree->setSortingEnabled(true);
    FTree->sortItems(0, FSortType == dtsAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    FTree->setSortingEnabled(false);
}
