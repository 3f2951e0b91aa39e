#include "base/core/zelexception.h"
#include "model/component/zelreportcomponent.h"
#include "model/report/zelreport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Names, the name index, the shape of the tree and who owns what.

namespace {

class TzelProbeView : public TzelReportComponent
{
    ZEL_CLASS(TzelProbeView, TzelReportComponent)

    explicit TzelProbeView(TzelComponent *owner = nullptr) : TzelReportComponent(owner) {}
};

class TzelProbePage : public TzelComponent
{
    ZEL_CLASS(TzelProbePage, TzelComponent)

    explicit TzelProbePage(TzelComponent *owner = nullptr) : TzelComponent(owner) {}
};

class TzelProbeData : public TzelComponent
{
    ZEL_CLASS(TzelProbeData, TzelComponent)
};

class TzelViewerView : public TzelComponent
{
    ZEL_CLASS(TzelViewerView, TzelComponent)
};

// The message of the exception of type E that F raises, or "<none>".
template <class E>
QString raised(const std::function<void()> &f)
{
    try {
        f();
    } catch (const E &e) {
        return e.message();
    }
    return QStringLiteral("<none>");
}

TzelProbeView *memo(TzelComponent *parent, const QString &name)
{
    auto *m = new TzelProbeView(parent);
    if (!name.isEmpty())
        m->SetName(name);
    return m;
}

QStringList namesOf(const QList<TzelComponent *> &list)
{
    QStringList names;
    for (const TzelComponent *c : list)
        names << c->Name();
    return names;
}

} // namespace

TEST(ComponentNaming, CaseOnlyRenameIsIgnored)
{
    TzelReport report;
    TzelProbeView *m = memo(new TzelProbePage(&report), QStringLiteral("Memo1"));
    m->SetName(QStringLiteral("MEMO1"));
    EXPECT_EQ(m->Name(), QStringLiteral("Memo1"));
}

TEST(ComponentNaming, DuplicateInTheReportRaisesAndKeepsTheName)
{
    TzelReport report;
    memo(new TzelProbePage(&report), QStringLiteral("Memo1"));
    TzelProbeView *other = memo(new TzelProbePage(&report), QStringLiteral("Memo2"));

    EXPECT_EQ(raised<TzelDuplicateNameError>([&] { other->SetName(QStringLiteral("memo1")); }),
              QStringLiteral("Duplicate name"));
    EXPECT_EQ(other->Name(), QStringLiteral("Memo2"));
    // The failed rename left Memo2 taken and Memo1 with its holder.
    EXPECT_EQ(report.FindObject(QStringLiteral("Memo2")), other);
    EXPECT_NE(raised<TzelDuplicateNameError>([&] { memo(&report, QStringLiteral("Memo2")); }),
              QStringLiteral("<none>"));
}

TEST(ComponentNaming, InvalidIdentifiersAreRejected)
{
    TzelReport report;
    TzelProbeView *m = memo(&report, QStringLiteral("Memo1"));
    for (const QString &bad : {QStringLiteral("1abc"), QStringLiteral("a b"), QStringLiteral("a-b"),
                              QStringLiteral("a.b")}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_EQ(raised<TzelException>([&] { m->SetName(bad); }),
                  QStringLiteral("'%1' is not a valid component name").arg(bad));
        EXPECT_EQ(m->Name(), QStringLiteral("Memo1"));
    }
    for (const QString &good : {QStringLiteral("_x"), QStringLiteral("a1_b"), QString()}) {
        m->SetName(good);
        EXPECT_EQ(m->Name(), good);
    }
}

TEST(ComponentNaming, InheritedObjectCannotBeRenamed)
{
    TzelReport report;
    TzelProbeView *m = memo(&report, QStringLiteral("Memo1"));
    m->SetIsAncestor(true);
    EXPECT_EQ(raised<TzelException>([&] { m->SetName(QStringLiteral("Memo9")); }),
              QStringLiteral("Could not rename Memo1, it was introduced in the ancestor report"));
    EXPECT_EQ(m->Name(), QStringLiteral("Memo1"));
    EXPECT_EQ(report.FindObject(QStringLiteral("Memo9")), nullptr);
}

TEST(ComponentNaming, NamesAreUniqueOnlyInsideOneReport)
{
    TzelReport first, second;
    memo(&first, QStringLiteral("Memo1"));
    TzelProbeView *m = memo(&second, QStringLiteral("Memo1"));
    EXPECT_EQ(second.FindObject(QStringLiteral("Memo1")), m);

    // Outside a report nothing is checked.
    TzelProbePage loose;
    memo(&loose, QStringLiteral("Memo1"));
    EXPECT_NO_THROW(memo(&loose, QStringLiteral("Memo1")));
}

TEST(ComponentNaming, IndexFollowsSubtreesMovedAndFreed)
{
    TzelReport a, b;
    auto *page = new TzelProbePage(&a);
    page->SetName(QStringLiteral("Page1"));
    memo(page, QStringLiteral("Memo1"));
    TzelProbeView *inB = memo(&b, QStringLiteral("Memo2"));

    page->SetParent(&b);
    EXPECT_NO_THROW(memo(&a, QStringLiteral("Memo1")));
    EXPECT_NO_THROW(memo(&a, QStringLiteral("Page1")));
    EXPECT_THROW(inB->SetName(QStringLiteral("Memo1")), TzelDuplicateNameError);
    EXPECT_THROW(inB->SetName(QStringLiteral("page1")), TzelDuplicateNameError);

    delete page;
    inB->SetName(QStringLiteral("Memo1"));
    EXPECT_EQ(b.FindObject(QStringLiteral("Memo1")), inB);
    EXPECT_EQ(b.FindObject(QStringLiteral("Page1")), nullptr);
}

TEST(ComponentNaming, DetachedSubtreeDropsItsOwnIndexWhenAttached)
{
    TzelReport report;
    auto *page = new TzelProbePage;
    TzelProbeView *kept = memo(page, QStringLiteral("Probe1"));
    TzelProbeView *gone = memo(page, QString());
    gone->CreateUniqueName(); // the loose page builds an index
    ASSERT_EQ(gone->Name(), QStringLiteral("Probe2"));

    page->SetParent(&report);
    kept->SetName(QStringLiteral("Kept"));
    delete gone;
    page->SetParent(nullptr);

    // Rebuilt from the names the page holds now, not the ones it held before.
    TzelProbeView *fresh = memo(page, QString());
    fresh->CreateUniqueName();
    EXPECT_EQ(fresh->Name(), QStringLiteral("Probe1"));
    delete page;
}

TEST(ComponentUniqueName, NumbersFollowTheNamesTaken)
{
    struct Case
    {
        QStringList taken;
        QString expected;
    };
    const Case cases[] = {
        {{"Probe1", "Probe2", "Probe3", "Probe4", "Probe5"}, "Probe6"},
        {{"Probe1", "Probe3", "Page1", "Band1"}, "Probe2"},
        {{"Probe1", "Probe3"}, "Probe2"},
        {{"Probe2"}, "Probe1"},
        {{}, "Probe1"},
        // With four names or more the search starts from the count of ProbeN names.
        {{"Probe2", "Probe3", "Probe4", "Probe5"}, "Probe6"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.taken.join(u',').toStdString());
        TzelReport report;
        for (const QString &name : c.taken)
            memo(&report, name);
        TzelProbeView *fresh = memo(&report, QString());
        fresh->CreateUniqueName();
        EXPECT_EQ(fresh->Name(), c.expected);
    }
}

TEST(ComponentUniqueName, SuccessiveNamesAreDistinctAndTaken)
{
    TzelReport report;
    QStringList names;
    for (int i = 0; i < 7; ++i) {
        TzelProbeView *m = memo(&report, QString());
        m->CreateUniqueName();
        names << m->Name();
    }
    EXPECT_EQ(names, (QStringList{"Probe1", "Probe2", "Probe3", "Probe4", "Probe5", "Probe6", "Probe7"}));
    EXPECT_THROW(memo(&report, QStringLiteral("probe7")), TzelDuplicateNameError);
    EXPECT_NO_THROW(memo(&report, QStringLiteral("Probe0")));
    EXPECT_NO_THROW(memo(&report, QStringLiteral("ProbeA")));
}

TEST(ComponentUniqueName, DefaultReportNamesCountWithoutStayingThere)
{
    TzelReport report;
    memo(&report, QStringLiteral("Probe1"));
    memo(&report, QStringLiteral("Probe2"));

    auto *fresh = new TzelProbeView;
    memo(fresh, QStringLiteral("Probe3"));
    fresh->CreateUniqueName(&report);
    EXPECT_EQ(fresh->Name(), QStringLiteral("Probe4"));

    // The loose tree's names were entered in the report only for the call.
    EXPECT_NO_THROW(memo(&report, QStringLiteral("Probe3")));
    EXPECT_NO_THROW(memo(&report, QStringLiteral("Probe4")));
    delete fresh;
}

TEST(ComponentUniqueName, DefaultReportCountsTheWholeLooseTree)
{
    TzelReport report;
    auto *page = new TzelProbePage;
    memo(page, QStringLiteral("Probe1"));
    auto *band = new TzelProbePage(page);
    TzelProbeView *fresh = memo(band, QString());
    fresh->CreateUniqueName(&report);
    EXPECT_EQ(fresh->Name(), QStringLiteral("Probe2"));

    // The new name was entered in the loose tree's own index.
    TzelProbeView *next = memo(band, QString());
    next->CreateUniqueName();
    EXPECT_EQ(next->Name(), QStringLiteral("Probe3"));
    delete page;
}

TEST(ComponentUniqueName, OwnReportAsDefaultKeepsTheNewName)
{
    TzelReport report;
    TzelProbeView *fresh = memo(&report, QString());
    fresh->CreateUniqueName(&report);
    EXPECT_EQ(fresh->Name(), QStringLiteral("Probe1"));
    EXPECT_THROW(memo(&report, QStringLiteral("Probe1")), TzelDuplicateNameError);
}

TEST(ComponentTree, BaseNameDropsThePrefixAndView)
{
    EXPECT_EQ(TzelProbeView().BaseName(), QStringLiteral("Probe"));
    EXPECT_EQ(TzelProbeData().BaseName(), QStringLiteral("ProbeData"));
    EXPECT_EQ(TzelViewerView().BaseName(), QStringLiteral("erView")); // only the first "View" goes
    EXPECT_EQ(TzelComponent().BaseName(), QStringLiteral("Component"));
}

TEST(ComponentTree, AllObjectsIsDepthFirstWithoutTheComponent)
{
    TzelReport report;
    auto *p1 = new TzelProbePage(&report);
    p1->SetName(QStringLiteral("P1"));
    auto *b1 = new TzelProbePage(p1);
    b1->SetName(QStringLiteral("B1"));
    memo(b1, QStringLiteral("M1"));
    memo(b1, QStringLiteral("M2"));
    memo(p1, QStringLiteral("M3"));
    auto *p2 = new TzelProbePage(&report);
    p2->SetName(QStringLiteral("P2"));
    memo(p2, QStringLiteral("M4"));

    EXPECT_EQ(namesOf(report.AllObjects()), (QStringList{"P1", "B1", "M1", "M2", "M3", "P2", "M4"}));
    EXPECT_EQ(namesOf(p1->AllObjects()), (QStringList{"B1", "M1", "M2", "M3"}));
}

TEST(ComponentTree, FindObjectIgnoresCaseAndSearchesBelowOnly)
{
    TzelReport report;
    report.SetName(QStringLiteral("Report1"));
    auto *page = new TzelProbePage(&report);
    page->SetName(QStringLiteral("Page1"));
    TzelProbeView *m = memo(page, QStringLiteral("Memo1"));
    memo(&report, QStringLiteral("Other"));

    EXPECT_EQ(report.FindObject(QStringLiteral("memo1")), m);
    EXPECT_EQ(page->FindObject(QStringLiteral("MEMO1")), m);
    EXPECT_EQ(page->FindObject(QStringLiteral("Other")), nullptr);
    EXPECT_EQ(report.FindObject(QStringLiteral("report1")), nullptr);
    EXPECT_EQ(report.FindObject(QStringLiteral("Missing")), nullptr);
}

TEST(ComponentTree, FindObjectReturnsTheFirstOfEqualNames)
{
    // Outside a report (prepared pages) several objects may share a name; the
    // first in tree order wins whatever the order of naming.
    TzelProbePage page;
    auto *band1 = new TzelProbePage(&page);
    auto *band2 = new TzelProbePage(&page);
    ASSERT_EQ(page.FindObject(QStringLiteral("Memo1")), nullptr);
    memo(band2, QStringLiteral("Memo1"));
    TzelProbeView *first = memo(band1, QStringLiteral("Memo1"));
    EXPECT_EQ(page.FindObject(QStringLiteral("memo1")), first);
}

TEST(ComponentTree, ClearKeepsInheritedObjects)
{
    TzelProbePage root;
    auto *inherited = new TzelProbePage(&root);
    inherited->SetName(QStringLiteral("Page1"));
    inherited->SetIsAncestor(true);
    TzelProbeView *kept = memo(inherited, QStringLiteral("Memo1"));
    kept->SetIsAncestor(true);
    memo(inherited, QStringLiteral("Memo2"));
    auto *own = new TzelProbePage(&root);
    own->SetName(QStringLiteral("Page2"));
    memo(own, QStringLiteral("Memo3"));

    root.Clear();
    EXPECT_EQ(namesOf(root.AllObjects()), (QStringList{"Page1", "Memo1"}));
    EXPECT_EQ(root.FindObject(QStringLiteral("Memo2")), nullptr);

    // A report that is cleared inherits nothing any more: everything goes.
    TzelReport report;
    auto *page = new TzelProbePage(&report);
    page->SetIsAncestor(true);
    report.Clear();
    EXPECT_TRUE(report.Objects().isEmpty());
}

TEST(ComponentTree, ParentChangeMovesToTheEndOfTheNewParent)
{
    TzelReport report;
    auto *a = new TzelProbePage(&report);
    auto *b = new TzelProbePage(&report);
    TzelProbeView *m = memo(a, QStringLiteral("Memo1"));
    TzelProbeView *n = memo(b, QStringLiteral("Memo2"));

    m->SetParent(b);
    EXPECT_TRUE(a->Objects().isEmpty());
    EXPECT_EQ(b->Objects(), (QList<TzelComponent *>{n, m}));
    EXPECT_EQ(m->Parent(), b);
    EXPECT_EQ(m->TopParent(), &report);
    EXPECT_EQ(report.TopParent(), nullptr);

    m->SetParent(nullptr);
    EXPECT_EQ(b->Objects(), (QList<TzelComponent *>{n}));
    EXPECT_EQ(m->ReportRoot(), nullptr);
    delete m;
}

TEST(ComponentTree, CircularParentIsRejected)
{
    TzelReport report;
    auto *page = new TzelProbePage(&report);
    auto *band = new TzelProbePage(page);
    for (TzelComponent *target : {static_cast<TzelComponent *>(page), static_cast<TzelComponent *>(band)}) {
        EXPECT_EQ(raised<TzelException>([&] { page->SetParent(target); }),
                  QStringLiteral("Circular child reference is not allowed"));
        EXPECT_EQ(page->Parent(), &report);
        EXPECT_EQ(band->Parent(), page);
    }
}

TEST(ComponentTree, OwnerIsTheReportAndParentTheGivenComponent)
{
    TzelReport report;
    auto *page = new TzelProbePage(&report);
    TzelProbeView *m = memo(page, QString());
    auto *child = new TzelProbeView(m);

    EXPECT_EQ(child->Parent(), m);
    EXPECT_EQ(child->Owner(), &report);
    EXPECT_EQ(child->ReportRoot(), &report);
    EXPECT_EQ(zelReportOf(child), &report);
    EXPECT_EQ(report.Owner(), nullptr);
    EXPECT_EQ(report.ReportRoot(), &report);
}

TEST(ComponentTree, FreeingAChildLeavesItsParent)
{
    TzelReport report;
    auto *page = new TzelProbePage(&report);
    TzelProbeView *m = memo(page, QStringLiteral("Memo1"));
    TzelProbeView *n = memo(page, QStringLiteral("Memo2"));
    int destroyed = 0;
    n->OnDestroyed = [&](TzelReportComponent *) { ++destroyed; };
    delete m;
    EXPECT_EQ(page->Objects(), (QList<TzelComponent *>{n}));
    delete page;
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(report.Objects().isEmpty());
}
