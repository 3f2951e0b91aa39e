#include "prepared/zeloutline.h"

#include "base/xml/zelxmlitem.h"
#include "model/report/zelcustompreviewpages.h"
#include "prepared/zelitemattributes.h"

namespace {


// Moves Item and its descendants to the next page, shifting tops by Delta.
void shiftTree(TzelXMLItem *item, int delta)
{
    item->SetProp(QStringLiteral("page"), QString::number(zelAttrInt(item, QStringLiteral("page")) + 1));
    item->SetProp(QStringLiteral("top"), QString::number(zelAttrInt(item, QStringLiteral("top")) + delta));
    for (int i = 0; i < item->Count(); ++i)
        shiftTree(item->Items(i), delta);
}

} // namespace

TzelXMLItem *TzelOutline::Root() const
{
    return FDocumentRoot->FindItem(QStringLiteral("outline"));
}

TzelXMLItem *TzelOutline::Current() const
{
    return FCurItem ? FCurItem : Root();
}

void TzelOutline::AddItem(const QString &text, int top)
{
    TzelXMLItem *item = Current()->Add(QStringLiteral("item"));
    item->SetProp(QStringLiteral("text"), text);
    item->SetProp(QStringLiteral("page"), QString::number(PreviewPages()->CurPage()));
    item->SetProp(QStringLiteral("top"), QString::number(top));
    FCurItem = item;
}

// From is a position taken with GetCurPosition: nullptr stands for "before
// the first child of the current entry".
TzelXMLItem *TzelOutline::Siblings(TzelXMLItem *from, int &first) const
{
    TzelXMLItem *parent = from ? from->Parent() : Current();
    first = from && parent ? parent->IndexOf(from) + 1 : 0;
    return parent;
}

void TzelOutline::DeleteItems(TzelXMLItem *from)
{
    int first;
    TzelXMLItem *parent = Siblings(from, first);
    if (!parent)
        return;
    // The current entry must not be left inside a deleted subtree.
    for (TzelXMLItem *item = FCurItem; item && item != parent; item = item->Parent()) {
        if (item->Parent() == parent && parent->IndexOf(item) >= first) {
            FCurItem = parent == Root() ? nullptr : parent;
            break;
        }
    }
    for (int i = parent->Count() - 1; i >= first; --i)
        delete parent->Items(i);
}

void TzelOutline::LevelDown(int index)
{
    TzelXMLItem *current = Current();
    if (index >= 0 && index < current->Count())
        FCurItem = current->Items(index);
}

void TzelOutline::LevelRoot()
{
    FCurItem = nullptr;
}

void TzelOutline::LevelUp()
{
    if (FCurItem && FCurItem != Root())
        FCurItem = FCurItem->Parent() == Root() ? nullptr : FCurItem->Parent();
}

void TzelOutline::GetItem(int index, QString &text, int &page, int &top) const
{
    const TzelXMLItem *current = Current();
    if (index < 0 || index >= current->Count())
        return;
    const TzelXMLItem *item = current->Items(index);
    text = zelAttr(item, QStringLiteral("text"));
    page = zelAttrInt(item, QStringLiteral("page"));
    top = zelAttrInt(item, QStringLiteral("top"));
}

void TzelOutline::ShiftItems(TzelXMLItem *from, int newTop)
{
    int first;
    TzelXMLItem *parent = Siblings(from, first);
    if (!parent || first >= parent->Count())
        return;
    const int delta = newTop - zelAttrInt(parent->Items(first), QStringLiteral("top"));
    for (int i = first; i < parent->Count(); ++i)
        shiftTree(parent->Items(i), delta);
}

TzelXMLItem *TzelOutline::GetCurPosition() const
{
    const TzelXMLItem *current = Current();
    return current->Count() ? current->Items(current->Count() - 1) : nullptr;
}

int TzelOutline::Count() const
{
    return Current()->Count();
}
