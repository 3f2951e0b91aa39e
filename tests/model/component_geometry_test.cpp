#include "model/component/zelreportcomponent.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

// Bounds, restrictions, anchors, absolute positions, hit testing, alignment
// and mirroring.

namespace {

class TzelProbeView : public TzelReportComponent
{
    ZEL_CLASS(TzelProbeView, TzelReportComponent)

    explicit TzelProbeView(TzelComponent *owner = nullptr, TzelAlign align = baNone)
        : TzelReportComponent(owner), Align(align)
    {
    }

    TzelAlign Align;
    bool AcceptsParent = true;
    int ContentMirrors = 0;

    TzelAlign AlignMode() const override { return Align; }
    bool IsAcceptAsChild(const TzelComponent *) const override { return AcceptsParent; }
    void MirrorContent(TzelMirrorControlModes) override { ++ContentMirrors; }
};

class TzelProbeBand : public TzelReportComponent
{
    ZEL_CLASS(TzelProbeBand, TzelReportComponent)

    explicit TzelProbeBand(TzelComponent *owner = nullptr) : TzelReportComponent(owner)
    {
        qzComponentStyle.Include(csAcceptsZelComponents);
    }

    bool Null = false;

    bool IsNullBand() const override { return Null; }
    bool MirrorsAsBand() const override { return true; }
    bool IsAcceptAsChild(const TzelComponent *) const override { return true; }
};

class TzelProbeDialogPage : public TzelComponent
{
    ZEL_CLASS(TzelProbeDialogPage, TzelComponent)

    bool KeepsChildCoordinates() const override { return true; }
};

template <class T>
T *make(TzelComponent *parent, double left, double top, double width, double height)
{
    T *c = new T(parent);
    c->SetBounds(left, top, width, height);
    return c;
}

TzelProbeView *view(TzelComponent *parent, TzelAlign align, double left, double top, double width, double height)
{
    auto *v = new TzelProbeView(parent, align);
    v->SetBounds(left, top, width, height);
    return v;
}

QRectF bounds(const TzelComponent *c)
{
    return QRectF(c->Left(), c->Top(), c->Width(), c->Height());
}

} // namespace

TEST(ComponentGeometry, RestrictionsHoldOnlyWhileDesigning)
{
    struct Case
    {
        bool designing;
        TzelRestrictions restrictions;
        QRectF expected;
    };
    const QRectF before(1, 2, 3, 4), after(5, 6, 7, 8);
    const Case cases[] = {
        {false, {rfDontMove, rfDontSize}, after},
        {true, {rfDontMove}, QRectF(1, 2, 7, 8)},
        {true, {rfDontSize}, QRectF(5, 6, 3, 4)},
        {true, {rfDontDelete, rfDontEdit}, after},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.restrictions.Bits());
        TzelProbeView v;
        v.SetBounds(before.left(), before.top(), before.width(), before.height());
        v.SetIsDesigning(c.designing);
        v.SetRestrictions(c.restrictions);
        v.SetBounds(after.left(), after.top(), after.width(), after.height());
        EXPECT_EQ(bounds(&v), c.expected);
    }
}

TEST(ComponentGeometry, AnchorsMoveAndSizeChildrenWhenTheParentResizes)
{
    struct Case
    {
        TzelAnchors anchors;
        QRectF expected; // after the band grows by 118 each way
    };
    const Case cases[] = {
        {{}, QRectF(150, 120, 40, 10)},
        {{fraLeft, fraTop}, QRectF(50, 20, 40, 10)},
        {{fraLeft, fraRight, fraTop, fraBottom}, QRectF(50, 20, 158, 128)},
        {{fraRight, fraBottom}, QRectF(168, 138, 40, 10)},
        {{fraRight, fraTop}, QRectF(168, 20, 40, 10)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.anchors.Bits());
        TzelProbeBand band;
        band.SetBounds(0, 0, 200, 100);
        TzelProbeView *child = view(&band, baNone, 50, 20, 40, 10);
        child->SetAnchors(c.anchors);
        band.SetWidth(318);
        band.SetHeight(218);
        EXPECT_EQ(bounds(child), c.expected);
        EXPECT_EQ(band.Width(), 318);
    }

    // Unanchored children move by d / 1.18 rounded half to even.
    for (const auto &[grow, moved] : {std::pair{5.31, 4.0}, {4.13, 4.0}, {0.59, 0.0}}) {
        SCOPED_TRACE(grow);
        TzelProbeBand band;
        TzelProbeView *child = view(&band, baNone, 50, 0, 10, 10);
        child->SetAnchors({});
        band.SetWidth(grow);
        EXPECT_EQ(child->Left(), 50 + moved);
    }

    // Changes of 0.01 or less leave the children alone.
    TzelProbeBand band;
    band.SetBounds(0, 0, 200, 100);
    TzelProbeView *child = view(&band, baNone, 50, 20, 40, 10);
    child->SetAnchors({fraRight, fraBottom});
    band.SetBounds(0, 0, 200.01, 99.995);
    EXPECT_EQ(bounds(child), QRectF(50, 20, 40, 10));
}

TEST(ComponentGeometry, AbsolutePositionAddsTheParents)
{
    auto *page = make<TzelProbeBand>(nullptr, 10, 5, 500, 500);
    auto *band = make<TzelProbeBand>(page, 20, 30, 400, 100);
    auto *memo = make<TzelProbeView>(band, 3, 4, 10, 10);
    EXPECT_EQ(memo->AbsLeft(), 33);
    EXPECT_EQ(memo->AbsTop(), 39);
    EXPECT_EQ(page->AbsLeft(), 10);
    EXPECT_EQ(page->AbsTop(), 5);
    delete page;

    // Controls of a dialog page are placed in the page's own coordinates.
    TzelProbeDialogPage dialog;
    dialog.SetBounds(100, 100, 300, 300);
    auto *control = make<TzelProbeBand>(&dialog, 7, 8, 50, 50);
    auto *inner = make<TzelProbeView>(control, 1, 1, 5, 5);
    EXPECT_EQ(control->AbsLeft(), 7);
    EXPECT_EQ(control->AbsTop(), 8);
    EXPECT_EQ(inner->AbsLeft(), 8);
    EXPECT_EQ(inner->AbsTop(), 9);
}

TEST(ComponentHitTest, IsContainIncludesEdgesAndWidensLines)
{
    struct Case
    {
        QRectF box; // relative to a band at 10, 20
        QPointF point;
        bool contains;
    };
    const Case cases[] = {
        {{90, 0, 0, 10}, {103, 25}, true},   // vertical line at x = 100
        {{90, 0, 0, 10}, {96, 20}, true},
        {{90, 0, 0, 10}, {105, 25}, false},
        {{90, 0, 0, 10}, {103, 31}, false},
        {{0, 30, 50, 0}, {30, 54}, true},    // horizontal line at y = 50
        {{0, 30, 50, 0}, {30, 55}, false},
        {{0, 30, 50, 0}, {61, 50}, false},
        {{0, 0, 100, 20}, {10, 20}, true},   // corners count
        {{0, 0, 100, 20}, {110, 40}, true},
        {{0, 0, 100, 20}, {110.01, 40}, false},
        {{100, 0, -50, 20}, {70, 30}, true}, // put in order first
        {{100, 0, -50, 20}, {120, 30}, false},
    };
    TzelProbeBand band;
    band.SetBounds(10, 20, 400, 100);
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.box.left() << "," << c.box.width() << " @" << c.point.x());
        TzelProbeView *v = view(&band, baNone, c.box.left(), c.box.top(), c.box.width(), c.box.height());
        EXPECT_EQ(v->IsContain(c.point.x(), c.point.y()), c.contains);
        delete v;
    }
}

TEST(ComponentHitTest, IsInRectCountsTouching)
{
    TzelProbeBand band;
    band.SetBounds(5, 5, 400, 100);
    TzelProbeView *v = view(&band, baNone, 5, 5, 20, 20); // absolute 10..30
    EXPECT_TRUE(v->IsInRect(QRectF(30, 30, 10, 10)));
    EXPECT_TRUE(v->IsInRect(QRectF(0, 0, 100, 100)));
    EXPECT_FALSE(v->IsInRect(QRectF(31, 10, 5, 5)));
    EXPECT_FALSE(v->IsInRect(QRectF(10, 0, 5, 9)));
    v->SetBounds(25, 5, -20, 20); // absolute 10..30 again, out of order
    EXPECT_TRUE(v->IsInRect(QRectF(0, 0, 10, 10)));
    EXPECT_FALSE(v->IsInRect(QRectF(31, 10, 5, 5)));
}

TEST(ComponentHitTest, ContainedComponentIsTheDeepestAcceptingOne)
{
    auto *page = make<TzelProbeBand>(nullptr, 0, 0, 500, 500);
    auto *band = make<TzelProbeBand>(page, 0, 0, 500, 100);
    TzelProbeView *a = view(band, baNone, 10, 10, 50, 20);
    TzelProbeView *b = view(band, baNone, 40, 10, 50, 20);
    auto *null = make<TzelProbeBand>(page, 0, 0, 500, 500);
    null->Null = true;

    TzelProbeView dropped;
    TzelProbeView refuses;
    refuses.AcceptsParent = false;
    TzelProbeView contained;
    contained.qzComponentStyle.Include(csContained);

    struct Case
    {
        double x, y;
        TzelComponent *canContain;
        TzelComponent *expected;
    };
    const Case cases[] = {
        {45, 15, nullptr, b},     // the later of two overlapping objects
        {20, 15, nullptr, a},
        {200, 50, nullptr, band},
        {200, 300, nullptr, page}, // the null band does not answer
        {45, 15, &dropped, band}, // memos take no children
        {45, 15, band, page},     // nothing returns itself as its own container
        {45, 15, &refuses, nullptr},
        {45, 15, &contained, nullptr},
        {600, 600, nullptr, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(page->GetContainedComponent(c.x, c.y, c.canContain), c.expected);
    }
    delete page;
}

TEST(ComponentHitTest, ContainedComponentsSelectByRectClassAndContainers)
{
    auto *page = make<TzelProbeBand>(nullptr, 0, 0, 500, 500);
    page->qzComponentStyle.Include(csObjectsContainer);
    auto *band1 = make<TzelProbeBand>(page, 0, 0, 500, 100);
    band1->qzComponentStyle.Include(csObjectsContainer);
    TzelProbeView *a = view(band1, baNone, 10, 10, 50, 20);
    view(band1, baNone, 200, 10, 50, 20);
    auto *band2 = make<TzelProbeBand>(page, 0, 200, 500, 100);
    TzelProbeView *c = view(band2, baNone, 10, 10, 50, 20);

    struct Case
    {
        QRectF rect;
        const TzelClassInfo *inheritFrom;
        bool selectContainers;
        QList<TzelComponent *> expected;
    };
    const Case cases[] = {
        {{0, 0, 30, 30}, &TzelComponent::StaticClassInfo(), false, {a}},
        {{0, 0, 30, 30}, &TzelComponent::StaticClassInfo(), true, {page, a}}, // only the top may be a container
        {{0, 205, 30, 30}, &TzelComponent::StaticClassInfo(), false, {band2, c}},
        {{0, 205, 30, 30}, &TzelProbeView::StaticClassInfo(), false, {c}},
        {{600, 600, 5, 5}, &TzelComponent::StaticClassInfo(), true, {}},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(testing::Message() << k.rect.top() << " " << k.selectContainers);
        QList<TzelComponent *> found;
        page->GetContainedComponents(k.rect, *k.inheritFrom, found, k.selectContainers);
        EXPECT_EQ(found, k.expected);
    }

    QList<TzelComponent *> found{c};
    page->GetContainedComponents(QRectF(0, 205, 30, 30), TzelComponent::StaticClassInfo(), found, false);
    EXPECT_EQ(found, (QList<TzelComponent *>{c, band2}));
    delete page;
}

TEST(ComponentHitTest, AcceptControl)
{
    TzelProbeBand band;
    TzelProbeView memo;
    TzelProbeView refuses;
    refuses.AcceptsParent = false;
    TzelProbeView contained;
    contained.qzComponentStyle.Include(csContained);

    EXPECT_TRUE(band.IsAcceptControl(nullptr));
    EXPECT_TRUE(band.IsAcceptControl(&memo));
    EXPECT_FALSE(band.IsAcceptControl(&band));
    EXPECT_FALSE(band.IsAcceptControl(&refuses));
    EXPECT_FALSE(band.IsAcceptControl(&contained));
    EXPECT_FALSE(memo.IsAcceptControl(&band)); // no csAcceptsZelComponents
    EXPECT_TRUE(memo.IsAcceptControl(nullptr));
}

TEST(ComponentAlign, LeftAlignedChildrenLineUpInTheOrderOfTheirLefts)
{
    TzelProbeBand band;
    band.SetBounds(0, 0, 200, 100);
    TzelProbeView *a = view(&band, baLeft, 50, 0, 20, 10);
    TzelProbeView *b = view(&band, baLeft, 10, 0, 20, 10);
    TzelProbeView *c = view(&band, baLeft, 30, 5, 20, 10);
    TzelProbeView *below = view(&band, baLeft, 90, 15, 20, 10); // touches c: not a neighbour
    band.AlignChildren();
    EXPECT_EQ(b->Left(), 0);
    EXPECT_EQ(c->Left(), 20);
    EXPECT_EQ(a->Left(), 40);
    EXPECT_EQ(below->Left(), 0);
}

TEST(ComponentAlign, RightWidthCenterBottomClient)
{
    TzelProbeBand band;
    band.SetBounds(0, 0, 200, 100);
    TzelProbeView *left = view(&band, baLeft, 30, 0, 20, 10);
    TzelProbeView *width = view(&band, baWidth, 80, 0, 10, 10);
    TzelProbeView *right1 = view(&band, baRight, 100, 0, 30, 10);
    TzelProbeView *right2 = view(&band, baRight, 150, 0, 30, 10);
    TzelProbeView *center = view(&band, baCenter, 0, 20, 40, 10);
    TzelProbeView *bottom = view(&band, baBottom, 5, 50, 40, 10);
    TzelProbeView *none = view(&band, baNone, 7, 35, 7, 7);
    TzelProbeView *hidden = view(&band, baHidden, 33, 0, 7, 7);
    band.AlignChildren();

    EXPECT_EQ(bounds(left), QRectF(0, 0, 20, 10));
    EXPECT_EQ(bounds(right2), QRectF(170, 0, 30, 10));
    EXPECT_EQ(bounds(right1), QRectF(140, 0, 30, 10));
    EXPECT_EQ(bounds(width), QRectF(20, 0, 120, 10));
    EXPECT_EQ(bounds(center), QRectF(80, 20, 40, 10));
    EXPECT_EQ(bounds(bottom), QRectF(5, 90, 40, 10));
    EXPECT_EQ(bounds(none), QRectF(7, 35, 7, 7));
    EXPECT_EQ(bounds(hidden), QRectF(33, 0, 7, 7)); // in the row, but not a neighbour
}

TEST(ComponentAlign, WidthNeighboursMustLieOnTheirOwnSide)
{
    {
        // b is pushed past w before w looks left, so w skips it for a.
        TzelProbeBand band;
        band.SetBounds(0, 0, 200, 100);
        view(&band, baNone, 0, 0, 50, 10);
        TzelProbeView *b = view(&band, baLeft, 30, 0, 10, 10);
        TzelProbeView *w = view(&band, baWidth, 40, 0, 5, 10);
        band.AlignChildren();
        EXPECT_EQ(b->Left(), 50);
        EXPECT_EQ(bounds(w), QRectF(50, 0, 150, 10));
    }
    {
        // n ends inside w, so w stretches to c.
        TzelProbeBand band;
        band.SetBounds(0, 0, 300, 100);
        view(&band, baNone, 0, 0, 100, 10);
        TzelProbeView *w = view(&band, baWidth, 100, 0, 100, 10);
        view(&band, baNone, 120, 0, 10, 10);
        view(&band, baNone, 250, 0, 20, 10);
        band.AlignChildren();
        EXPECT_EQ(bounds(w), QRectF(100, 0, 150, 10));
    }
}

TEST(ComponentAlign, ClientFillsAndAlignsItsOwnChildren)
{
    TzelProbeBand band;
    band.SetBounds(0, 0, 200, 100);
    TzelProbeView *client = view(&band, baClient, 10, 10, 20, 20);
    TzelProbeView *inner = view(client, baRight, 0, 0, 5, 5);
    band.AlignChildren();
    EXPECT_EQ(bounds(client), QRectF(0, 0, 200, 100));
    EXPECT_EQ(bounds(inner), QRectF(195, 0, 5, 5));
}

TEST(ComponentAlign, InvisibleChildrenAreSkippedOnlyWhenAsked)
{
    for (const bool ignoreInvisible : {false, true}) {
        TzelProbeBand band;
        band.SetBounds(0, 0, 200, 100);
        TzelProbeView *v = view(&band, baRight, 10, 0, 20, 10);
        v->SetVisible(false);
        band.AlignChildren(ignoreInvisible);
        EXPECT_EQ(v->Left(), ignoreInvisible ? 10 : 180);
    }
}

TEST(ComponentAlign, ChildrenAreMirroredBeforeAligning)
{
    TzelProbeBand band;
    band.SetBounds(0, 0, 200, 100);
    TzelProbeView *plain = view(&band, baNone, 10, 0, 30, 10);
    TzelProbeView *hidden = view(&band, baHidden, 10, 20, 30, 10);
    // Mirrored to 120..150 first, then pushed against plain's new place at 160.
    TzelProbeView *right = view(&band, baRight, 50, 0, 30, 10);
    band.AlignChildren(false, {mcmRTLObjects});
    EXPECT_EQ(plain->Left(), 160);
    EXPECT_EQ(hidden->Left(), 10);
    EXPECT_EQ(right->Left(), 130);
}

TEST(ComponentMirror, ObjectsAndBandsFlipInsideTheirParent)
{
    enum Kind { Leaf, Container, Band };
    struct Case
    {
        Kind kind;
        TzelMirrorControlModes modes;
        bool allowed;
        bool selected;
        QPointF expected; // left, top
        int contentMirrors;
    };
    const Case cases[] = {
        {Leaf, {mcmRTLObjects}, false, false, {160, 10}, 1},
        {Leaf, {mcmBTTObjects}, false, false, {10, 70}, 1},
        {Leaf, {mcmRTLObjects, mcmBTTObjects}, false, false, {160, 70}, 1},
        {Leaf, {mcmRTLBands, mcmBTTBands}, false, false, {10, 10}, 1},
        {Container, {mcmRTLObjects, mcmBTTObjects}, false, false, {10, 10}, 1},
        {Band, {mcmRTLBands, mcmBTTBands}, false, false, {160, 70}, 0},
        {Leaf, {mcmRTLObjects, mcmOnlyAllowed}, false, false, {10, 10}, 0},
        {Leaf, {mcmRTLObjects, mcmOnlyAllowed}, true, false, {160, 10}, 1},
        {Leaf, {mcmRTLObjects, mcmOnlyAllowed}, false, true, {160, 10}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.kind) << " " << c.modes.Bits());
        TzelProbeBand parent;
        parent.SetBounds(0, 0, 200, 100);
        TzelReportComponent *target = nullptr;
        TzelProbeView *probe = nullptr;
        if (c.kind == Band) {
            auto *band = make<TzelProbeBand>(&parent, 10, 10, 30, 20);
            view(band, baNone, 0, 0, 5, 5);
            target = band;
        } else {
            probe = view(&parent, baNone, 10, 10, 30, 20);
            if (c.kind == Container)
                view(probe, baNone, 0, 0, 5, 5);
            target = probe;
        }
        target->AllowMirrorMode = c.allowed;
        target->SetIsSelected(c.selected);
        target->DoMirror(c.modes);
        EXPECT_EQ(QPointF(target->Left(), target->Top()), c.expected);
        if (probe) {
            EXPECT_EQ(probe->ContentMirrors, c.contentMirrors);
        }
    }

    TzelProbeView root;
    root.SetBounds(10, 10, 30, 20);
    root.DoMirror({mcmRTLObjects});
    EXPECT_EQ(root.Left(), 10);
    EXPECT_EQ(root.ContentMirrors, 1);
}
