#include "base/core/zelexception.h"
#include "model/data/zeldatasetlist.h"
#include "model/data/zeldatasetref.h"
#include "model/data/zeluserdataset.h"
#include "model/report/zelreport.h"
#include "model/serial/zelxmlserializer.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

// The records a data set yields from First to Eof, as record numbers; stops
// after Limit records so that a wrong end test cannot hang the test.
QList<int> visit(TzelDataSet &ds, int limit = 20)
{
    QList<int> seen;
    for (ds.First(); !ds.Eof() && seen.size() < limit; ds.Next())
        seen << ds.RecNo();
    return seen;
}

} // namespace

TEST(DataSetNavigation, CountedRangesYieldExactlyTheirRecords)
{
    struct Case
    {
        TzelRangeBegin begin;
        TzelRangeEnd end;
        int count;
        QList<int> records;
        int recordCount;
    };
    const Case cases[] = {
        {rbFirst, reCount, 3, {0, 1, 2}, 3},
        {rbFirst, reCount, 1, {0}, 1},
        {rbFirst, reCount, 0, {}, 0},
        {rbCurrent, reCount, 2, {0, 1}, 0}, // the count is known only from the first record
        {rbFirst, reLast, 5, {}, 0},         // the base class has no records of its own
    };
    for (const Case &c : cases) {
        TzelUserDataSet ds;
        ds.RangeBegin = c.begin;
        ds.RangeEnd = c.end;
        ds.RangeEndCount = c.count;
        if (c.end == reLast) {
            // Without a count only the host can end the records.
            ds.OnCheckEOF = [](TzelDataSet *, bool &eof) { eof = true; };
        }
        EXPECT_EQ(visit(ds), c.records) << "count " << c.count;
        EXPECT_EQ(ds.RecordCount(), c.recordCount) << "count " << c.count;
    }
}

TEST(DataSetNavigation, TheLastNextOfACountedRangeStaysOnTheLastRecordWithoutCallbacks)
{
    TzelUserDataSet ds;
    ds.RangeEnd = reCount;
    ds.RangeEndCount = 3;
    QStringList calls;
    ds.OnFirst = [&](TzelDataSet *) { calls << QStringLiteral("first"); };
    ds.OnNext = [&](TzelDataSet *s) { calls << QStringLiteral("next%1").arg(s->RecNo()); };
    ds.OnPrior = [&](TzelDataSet *s) { calls << QStringLiteral("prior%1").arg(s->RecNo()); };
    ds.First();
    ds.Next();
    ds.Next();
    EXPECT_FALSE(ds.Eof());
    ds.Next();
    EXPECT_EQ(ds.RecNo(), 2);
    EXPECT_TRUE(ds.Eof());
    ds.Prior();
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_EQ(calls, (QStringList{"first", "next1", "next2", "prior1"}));
}

TEST(DataSetNavigation, TheHostHasTheLastWordOnTheEnd)
{
    TzelUserDataSet ds;
    ds.RangeEnd = reCount;
    ds.RangeEndCount = 0;
    bool asked = false;
    ds.OnCheckEOF = [&](TzelDataSet *, bool &eof) {
        asked = eof;
        eof = false;
    };
    ds.First();
    EXPECT_FALSE(ds.Eof());
    EXPECT_TRUE(asked);
}

TEST(UserDataSet, ValuesComeFromBothCallbacksTheSecondWinning)
{
    TzelUserDataSet ds;
    ds.Fields = QStringList{QStringLiteral("Name"), QStringLiteral("Amount")};
    EXPECT_TRUE(ds.GetValue(QStringLiteral("Name")).IsNull());
    EXPECT_EQ(ds.GetDisplayText(QStringLiteral("Name")), QString());

    ds.OnGetValue = [](const QString &name, Variant &value) { value = Variant(name + QStringLiteral("?")); };
    EXPECT_EQ(ds.GetValue(QStringLiteral("Name")).ToString(), QStringLiteral("Name?"));
    ds.OnNewGetValue = [](TzelDataSet *, const QString &name, Variant &value) {
        if (name == QLatin1StringView("Amount"))
            value = Variant(12.5);
    };
    EXPECT_EQ(ds.GetValue(QStringLiteral("Name")).ToString(), QStringLiteral("Name?"));
    EXPECT_EQ(ds.GetValue(QStringLiteral("Amount")).ToDouble(), 12.5);

    EXPECT_EQ(ds.FieldsCount(), 2);
    EXPECT_TRUE(ds.HasField(QStringLiteral("amount")));
    EXPECT_FALSE(ds.HasField(QStringLiteral("Amount ")));

    ds.OnIsBlobField = [](TzelDataSet *, const QString &name) { return name == QLatin1StringView("Photo"); };
    ds.OnGetBlobValue = [](TzelDataSet *, const QString &, QByteArray &blob) { blob = "\x89PNG"; };
    EXPECT_TRUE(ds.IsBlobField(QStringLiteral("Photo")));
    QByteArray blob;
    ds.AssignBlobTo(QStringLiteral("Photo"), blob);
    EXPECT_EQ(blob, QByteArray("\x89PNG"));
}

TEST(DataSetNames, TheFirstNameBecomesTheUserNameAndAUserNameSurvivesRenaming)
{
    TzelReport report;
    auto *ds = new TzelUserDataSet(&report);
    EXPECT_EQ(ds->UserName(), QString());
    ds->SetName(QStringLiteral("Table1"));
    EXPECT_EQ(ds->UserName(), QStringLiteral("Table1"));
    ds->SetUserName(QStringLiteral("Customers"));
    ds->SetName(QStringLiteral("Table2"));
    EXPECT_EQ(ds->Name(), QStringLiteral("Table2"));
    EXPECT_EQ(ds->UserName(), QStringLiteral("Customers"));

    // A generated name counts as the first name too.
    auto *other = new TzelUserDataSet(&report);
    other->CreateUniqueName();
    EXPECT_EQ(other->UserName(), other->Name());
    other->SetName(QStringLiteral("Orders"));
    EXPECT_EQ(other->UserName(), QStringLiteral("Orders"));

    // The rule holds whichever pointer the rename goes through.
    auto *third = new TzelUserDataSet(&report);
    static_cast<TzelComponent *>(third)->SetName(QStringLiteral("Products"));
    EXPECT_EQ(third->UserName(), QStringLiteral("Products"));
}

TEST(DataSetNames, ABlankUserNameIsRefusedAndALoadCollectsTheError)
{
    TzelUserDataSet ds;
    ds.SetUserName(QStringLiteral("Kept"));
    for (const QString &blank : {QString(), QStringLiteral("   ")}) {
        try {
            ds.SetUserName(blank);
            ADD_FAILURE() << "no error for a blank user name";
        } catch (const TzelException &e) {
            EXPECT_EQ(e.message(), QStringLiteral("Invalid property value"));
        }
    }
    EXPECT_EQ(ds.UserName(), QStringLiteral("Kept"));

    TzelReport report;
    QByteArray text = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>"
                      "<TzelReport><TzelUserDataSet Name=\"Table1\" UserName=\" \"/></TzelReport>";
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    const QList<TzelLocatedError> errors = TzelXMLSerializer::LoadComponent(&report, &in);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0].Text(), QStringLiteral("1:%1: Table1.UserName: Invalid property value").arg(text.indexOf("UserName") + 1));
    auto *loaded = dynamic_cast<TzelDataSet *>(report.FindObject(QStringLiteral("Table1")));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->UserName(), QStringLiteral("Table1"));
    // The name read from the template was the first name: renaming keeps it as the user name.
    loaded->SetName(QStringLiteral("Renamed"));
    EXPECT_EQ(loaded->UserName(), QStringLiteral("Table1"));
}

TEST(GlobalDataSetList, HoldsEveryLivingDataSetAndSkipsThoseOfOtherReports)
{
    TzelReport mine, theirs;
    auto *own = new TzelUserDataSet(&mine);
    own->SetName(QStringLiteral("Shared"));
    auto *foreign = new TzelUserDataSet(&theirs);
    foreign->SetName(QStringLiteral("Foreign"));
    foreign->SetUserName(QStringLiteral("shared"));
    TzelUserDataSet host;
    host.SetUserName(QStringLiteral("HostData"));
    host.Enabled = false;

    TzelDataSetList &list = TzelDataSetList::Global();
    EXPECT_TRUE(list.Contains(own) && list.Contains(foreign) && list.Contains(&host));
    EXPECT_EQ(list.FindByUserName(QStringLiteral("SHARED"), &mine), own);
    EXPECT_EQ(list.FindByUserName(QStringLiteral("shared"), &theirs), foreign);
    EXPECT_EQ(list.FindByUserName(QStringLiteral("hostdata"), &mine), &host);
    const QList<TzelDataSet *> active = list.ActiveFor(&mine);
    EXPECT_TRUE(active.contains(own));
    EXPECT_FALSE(active.contains(foreign)); // another report's
    EXPECT_FALSE(active.contains(&host));   // not enabled

    TzelDataSetRef ref(foreign);
    EXPECT_EQ(ref.Get(), foreign);
    delete foreign;
    EXPECT_FALSE(list.Contains(foreign));
    EXPECT_EQ(ref.Get(), nullptr);
}

TEST(DialogComponent, StoresItsPositionAsRoundedIntegersInPropData)
{
    TzelReport report;
    auto *ds = new TzelUserDataSet(&report);
    ds->SetName(QStringLiteral("Users"));
    ds->SetBounds(60.4, 1000.5, 50, 50);
    EXPECT_FALSE(ds->qzComponentStyle.Contains(csPreviewVisible));

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    TzelXMLSerializer::SaveComponent(&report, &out);
    // pLeft 60 as a byte, pTop 1000 (halves go to even) as 16 bits.
    const QByteArray propData = "05704C656674023C0470546F7003E803";
    EXPECT_TRUE(out.data().contains("<TzelUserDataSet Name=\"Users\" UserName=\"Users\" Fields.Text=\"\" PropData=\"" + propData
                                    + "\"/>"))
        << out.data().toStdString();

    TzelReport copy;
    QByteArray text = out.data();
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    EXPECT_TRUE(TzelXMLSerializer::LoadComponent(&copy, &in).isEmpty());
    const TzelComponent *loaded = copy.FindObject(QStringLiteral("Users"));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Left(), 60);
    EXPECT_EQ(loaded->Top(), 1000);
    EXPECT_EQ(loaded->Width(), 28);
    EXPECT_EQ(loaded->Height(), 28);
}
