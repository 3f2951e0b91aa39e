#include "engine/core/zelshiftedobjectlist.h"

#include "model/component/zelcomponent.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr double kEps = 1e-4;

// Whether the spans [a1, a2] and [b1, b2] share more than a touching edge.
bool overlaps(double a1, double a2, double b1, double b2)
{
    return a1 < b2 - kEps && b1 < a2 - kEps;
}

// The list orders by Top rounded to hundredths; items that round alike are ties.
bool sameHundredth(double a, double b)
{
    return std::nearbyint(a * 100) == std::nearbyint(b * 100);
}

// The rectangle an item occupies when the tree is linked. The root lies
// above every object and across every object, whatever their coordinates.
struct TBox
{
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;

    explicit TBox(const TzelShiftItem &item)
    {
        const TzelComponent *o = item.ReportObject();
        if (!o) {
            Left = Top = Bottom = std::numeric_limits<double>::lowest();
            Right = std::numeric_limits<double>::max();
            return;
        }
        Left = o->Left();
        Top = o->Top();
        Right = o->Left() + o->Width();
        Bottom = o->Top() + o->Height();
    }
    bool Flat() const { return std::fabs(Bottom - Top) < kEps; }
    bool OverlapsVertically(const TBox &b) const { return overlaps(Top, Bottom, b.Top, b.Bottom); }
};

// Whether Child follows Parent: it lies wholly below Parent's top edge and
// under it, and no item between them in the order, apart from both, covers
// part of the width they share.
bool isChild(const std::vector<TBox> &boxes, int parent, int child)
{
    const TBox &p = boxes[size_t(parent)];
    const TBox &c = boxes[size_t(child)];
    if (p.OverlapsVertically(c) || c.Top <= p.Top || !overlaps(p.Left, p.Right, c.Left, c.Right))
        return false;
    const double from = std::max(p.Left, c.Left);
    const double to = std::min(p.Right, c.Right);
    for (int k = parent + 1; k < child; ++k) {
        const TBox &b = boxes[size_t(k)];
        if (b.OverlapsVertically(p) || b.OverlapsVertically(c) || !overlaps(b.Left, b.Right, from, to))
            continue;
        // A flat line on the child's top edge is drawn on the child, not between.
        if (b.Flat() && sameHundredth(b.Top, c.Top))
            continue;
        return false;
    }
    return true;
}

// Links every item that has a place in the tree to the items that follow
// it. Items in order, so a parent's own parents are known before it is
// offered children; items that find no parent are never reached.
void linkTree(TzelShiftedObjectList &list)
{
    std::vector<TBox> boxes;
    boxes.reserve(size_t(list.Count()));
    for (int i = 0; i < list.Count(); ++i)
        boxes.emplace_back(list.Item(i));
    for (int i = 0; i < list.Count(); ++i) {
        TzelShiftItem &parent = list.Item(i);
        if (!parent.IsRoot() && parent.RefCount == 0)
            continue;
        for (int j = i + 1; j < list.Count(); ++j)
            if (isChild(boxes, i, j)) {
                parent.ShiftChildren.push_back(j);
                ++list.Item(j).RefCount;
            }
    }
}

// Each object moves with the nearest object above it whose bottom it lay
// below before stretching; Tops change only at the end.
void shiftLinear(TzelShiftedObjectList &list)
{
    for (int i = 0; i < list.Count(); ++i) {
        const TzelShiftItem &above = list.Item(i);
        const TzelComponent *a = above.ReportObject();
        if (!a)
            continue;
        const double b = above.ShiftAmount;
        const double c = above.ShiftedTo;
        const double bottom = a->Top() + a->Height();
        for (int j = i + 1; j < list.Count(); ++j) {
            TzelShiftItem &item = list.Item(j);
            const TzelComponent *s = item.ReportObject();
            if (!s)
                continue;
            const TzelShiftMode mode = item.ShiftMode();
            if (mode == smDontShift || s->Top() < bottom - b - kEps)
                continue;
            if (mode == smWhenOverlapped
                && !overlaps(a->Left(), a->Left() + a->Width(), s->Left(), s->Left() + s->Width()))
                continue;
            const bool down = b > 0 || (item.Shifted && item.ShiftedTo + s->Top() < c + bottom);
            const double t = down ? std::max(item.ShiftedTo, b + c) : std::min(item.ShiftedTo, b + c);
            // Placed lower already by an object above this one: so is the rest.
            if (item.Shifted && item.MinDist > t + s->Top())
                break;
            item.MinDist = std::max(c + bottom, item.MinDist);
            item.ShiftedTo = t;
            item.Shifted = true;
        }
    }
    for (int i = 0; i < list.Count(); ++i)
        if (TzelComponent *o = list.Item(i).ReportObject())
            o->SetTop(o->Top() + list.Item(i).ShiftedTo);
}

// Places the children of Parent, which moves the objects below it by
// Shift, and their subtrees. Tops change as the walk goes, so a child that
// a lower parent reaches later is placed again from its own position.
void shiftTree(TzelShiftedObjectList &list, int parent, double shift)
{
    const TzelShiftItem &p = list.Item(parent);
    const TzelComponent *po = p.ReportObject();
    if (!p.IsRoot() && !po)
        return;
    const double bottom = po ? po->Top() + po->Height() : std::numeric_limits<double>::lowest();
    for (const int index : p.ShiftChildren) {
        TzelShiftItem &item = list.Item(index);
        TzelComponent *o = item.ReportObject();
        if (!o || item.MinDist > bottom)
            continue;
        const double before = item.ShiftedTo;
        const bool placed = item.Shifted;
        double top = o->Top() - (placed ? before - item.ShiftAmount : 0);
        double move = 0;
        const TzelShiftMode mode = item.ShiftMode();
        if (mode == smAlways || shift < 0)
            move = shift;
        else if (mode == smWhenOverlapped && bottom > top + kEps)
            move = bottom - top;
        top += move;
        o->SetTop(top);
        item.ShiftedTo = move + item.ShiftAmount;
        item.Shifted = true;
        if (po)
            item.MinDist = std::max(item.MinDist, bottom);
        if (!placed || std::fabs(item.ShiftedTo - before) >= kEps)
            shiftTree(list, index, item.ShiftedTo);
    }
}

} // namespace

TzelShiftedObjectList::TzelShiftedObjectList(TzelComponent &container, bool tree)
    : FContainer(&container)
    , FObjectCount(container.Objects().size())
    , FTree(tree)
{
    const double width = container.Width();
    if (width > 0)
        for (TzelComponent *o : container.Objects()) {
            const double left = o->Left();
            const double right = left + o->Width();
            if ((left >= 0 && left <= width) || (right >= 0 && right <= width)) {
                AppendObject(o, o->Top());
                Item(Count() - 1) = TzelShiftItem(o);
            }
        }
    SortList();
    // Among equal tops flat lines go first, so that a line on a memo's top
    // edge never stands between the memo and the objects below it.
    const auto flat = [this](int i) { return std::fabs(Objects(i)->Height()) < kEps; };
    for (int i = 1; i < Count(); ++i)
        for (int j = i; j > 0 && sameHundredth(Items(j - 1), Items(j)) && flat(j) && !flat(j - 1); --j)
            Exchange(j - 1, j);
    for (int i = 0; i < Count(); ++i)
        FIndex.insert(Objects(i), i + (tree ? 1 : 0));
    if (tree) {
        InsertObject(0, nullptr, 0); // a fresh slot holds a root item
        linkTree(*this);
    }
}

bool TzelShiftedObjectList::IsStale() const
{
    const TzelComponent *container = Container();
    if (!container || container->Objects().size() != FObjectCount)
        return true;
    for (const TzelShiftItem &item : FItems) {
        if (item.IsRoot())
            continue;
        const TzelComponent *o = item.ReportObject();
        if (!o || o->Parent() != container)
            return true;
    }
    return false;
}

void TzelShiftedObjectList::InitShiftAmount(const TzelComponent *object, double amount)
{
    const int index = FIndex.value(object, -1);
    if (index >= 0 && Item(index).ReportObject() == object)
        Item(index).Init(amount);
}

void TzelShiftedObjectList::ShiftObjects()
{
    if (FTree)
        shiftTree(*this, 0, 0);
    else
        shiftLinear(*this);
}

void TzelShiftedObjectList::Exchange(int index1, int index2)
{
    TzelExtendedObjectList::Exchange(index1, index2);
    std::swap(FItems[size_t(index1)], FItems[size_t(index2)]);
}

void TzelShiftedObjectList::SetCapacity(int value)
{
    ResizeStorage(FItems, value);
    TzelExtendedObjectList::SetCapacity(value);
}

void TzelShiftedObjectList::OpenSlot(int index)
{
    TzelExtendedObjectList::OpenSlot(index);
    std::move_backward(FItems.begin() + index, FItems.begin() + Count() - 1, FItems.begin() + Count());
    FItems[size_t(index)] = TzelShiftItem();
}
