#include "model/data/zelcsvdataset.h"
#include "model/report/zeldatasetitem.h"
#include "model/data/zeluserdataset.h"
#include "model/page/zeldatapage.h"
#include "model/report/zelreport.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

QByteArray save(TzelReport &report)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    report.SaveToStream(&out);
    return out.data();
}

bool load(TzelReport &report, QByteArray text)
{
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    return report.LoadFromStream(&in);
}

QByteArray templateWith(const QByteArray &rootAttributes, const QByteArray &content)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n<TzelReport" + rootAttributes + ">"
           + content + "</TzelReport>";
}

TzelUserDataSet *addDataSet(TzelComponent *parent, const QString &name, const QString &userName = QString())
{
    auto *ds = new TzelUserDataSet(parent);
    ds->SetName(name);
    if (!userName.isEmpty())
        ds->SetUserName(userName);
    return ds;
}

class ReportDataSets : public ::testing::Test
{
protected:
    FakeDialogService dialogs;
};

} // namespace

TEST_F(ReportDataSets, AreWrittenFirstAndReadBackToTheTemplatesOwnDataSets)
{
    TzelUserDataSet host;
    host.SetName(QStringLiteral("HostOrders"));
    host.SetUserName(QStringLiteral("Orders"));

    TzelReport report;
    report.ReportOptions().CreateDate = report.ReportOptions().LastChange = 46000.5;
    auto *page = new TzelDataPage(&report);
    page->SetName(QStringLiteral("Data"));
    TzelUserDataSet *customers = addDataSet(page, QStringLiteral("Table1"), QStringLiteral("Customers"));
    report.DataSets().Add(customers);
    report.DataSets().Add(&host);
    report.SetDataSet(customers);

    const QByteArray text = save(report);
    EXPECT_TRUE(text.contains("<TzelReport Version=\"6.9.6\" DataSet=\"Table1\" DataSetName=\"Customers\" "))
        << text.toStdString();
    const qsizetype list = text.indexOf("  <Datasets>\r\n"
                                        "    <item DataSet=\"Table1\" DataSetName=\"Customers\"/>\r\n"
                                        "    <item DataSet=\"HostOrders\" DataSetName=\"Orders\"/>\r\n"
                                        "  </Datasets>\r\n");
    ASSERT_GE(list, 0) << text.toStdString();
    EXPECT_LT(list, text.indexOf("<TzelDataPage")); // collections precede the children

    TzelReport copy;
    ASSERT_TRUE(load(copy, text));
    EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(u'\n').toStdString();
    ASSERT_EQ(copy.DataSets().Count(), 2);
    TzelDataSet *loaded = copy.DataSets().Items(0)->DataSet();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->ReportRoot(), &copy);
    EXPECT_EQ(loaded->UserName(), QStringLiteral("Customers"));
    EXPECT_EQ(copy.DataSets().Items(1)->DataSet(), &host); // found through the global list by user name
    EXPECT_EQ(copy.DataSet(), loaded);
    EXPECT_TRUE(copy.CheckDataSets());
    EXPECT_EQ(save(copy), text);
}

TEST_F(ReportDataSets, AMissingDataSetIsReportedByNameAndKeptOnResave)
{
    const QByteArray text = templateWith("", "<Datasets><item DataSet=\"Gone\" DataSetName=\"Vanished\"/></Datasets>");
    TzelReport report;
    ASSERT_TRUE(load(report, text));
    ASSERT_EQ(report.DataSets().Count(), 1);
    EXPECT_EQ(report.DataSets().Items(0)->DataSet(), nullptr);
    EXPECT_FALSE(report.CheckDataSets());
    EXPECT_EQ(report.Errors().Items(), QStringList{QStringLiteral("Dataset \"Vanished\" does not exist")});
    EXPECT_TRUE(save(report).contains("<item DataSet=\"Gone\" DataSetName=\"Vanished\"/>"));
}

TEST_F(ReportDataSets, WithoutTheGlobalListOnlyOwnAndEnabledDataSetsRemain)
{
    TzelUserDataSet allowed;
    allowed.SetName(QStringLiteral("HostOrders"));
    allowed.SetUserName(QStringLiteral("Orders"));
    TzelUserDataSet forbidden;
    forbidden.SetName(QStringLiteral("HostSecrets"));

    TzelReport report;
    report.EngineOptions().UseGlobalDataSetList = false;
    report.EnabledDataSets().Add(&allowed);
    // The report's own reference names the host's data set by component name
    // only: the enabled list answers for names the template does not hold.
    const QByteArray text = templateWith(" DataSet=\"HostOrders\"",
                                         "<Datasets>"
                                         "<item DataSet=\"HostSecrets\" DataSetName=\"HostSecrets\"/>"
                                         "<item DataSet=\"Table1\" DataSetName=\"Table1\"/>"
                                         "<item DataSetName=\"Orders\"/>"
                                         "</Datasets>"
                                         "<TzelUserDataSet Name=\"Table1\"/>");
    ASSERT_TRUE(load(report, text));
    EXPECT_EQ(report.DataSet(), &allowed);
    ASSERT_EQ(report.DataSets().Count(), 2);
    EXPECT_EQ(report.DataSets().Items(0)->DataSet(), report.FindObject(QStringLiteral("Table1")));
    EXPECT_EQ(report.DataSets().Items(1)->DataSet(), &allowed);
    EXPECT_EQ(report.GetActiveDataSetList(), QList<TzelDataSet *>{&allowed});

    // Outside a load the fallback stays off, and names the host did not allow give nothing.
    EXPECT_EQ(report.FindObject(QStringLiteral("HostOrders")), nullptr);
    report.SetDataSetName(QStringLiteral("HostSecrets"));
    EXPECT_EQ(report.DataSet(), nullptr);
}

TEST_F(ReportDataSets, NamesFollowTheFindDataSetRule)
{
    TzelReport report;
    TzelUserDataSet *a = addDataSet(&report, QStringLiteral("TableA"), QStringLiteral("Alpha"));
    TzelDataSetItem *item = report.DataSets().Add(a);
    EXPECT_EQ(item->DataSetName(), QStringLiteral("Alpha"));

    // With the global list, an unknown name keeps the reference; an empty one clears it.
    item->SetDataSetName(QStringLiteral("NoSuchData"));
    EXPECT_EQ(item->DataSet(), a);
    item->SetDataSetName(QString());
    EXPECT_EQ(item->DataSet(), nullptr);
    item->SetDataSetName(QStringLiteral("alpha"));
    EXPECT_EQ(item->DataSet(), a);

    report.SetDataSetName(QStringLiteral("ALPHA"));
    EXPECT_EQ(report.DataSet(), a);
    EXPECT_EQ(report.DataSetName(), QStringLiteral("Alpha"));
}

TEST_F(ReportDataSets, AliasesFieldReferencesAndLists)
{
    TzelReport report;
    TzelUserDataSet *customers = addDataSet(&report, QStringLiteral("Table1"), QStringLiteral("Customers"));
    auto *csv = new TzelCSVDataSet(&report);
    csv->SetName(QStringLiteral("Prices"));
    TzelUserDataSet *unlisted = addDataSet(&report, QStringLiteral("Table3"));
    report.DataSets().Add(customers);
    report.DataSets().Add(csv);

    EXPECT_EQ(report.GetAlias(customers), QStringLiteral("Customers"));
    EXPECT_EQ(report.GetAlias(unlisted), QStringLiteral("(dataset is not included in Report.DataSets)"));
    EXPECT_EQ(report.GetAlias(nullptr), QString());
    EXPECT_EQ(report.GetDataset(QStringLiteral("table1")), customers); // the component name serves too
    EXPECT_EQ(report.GetDataset(QStringLiteral("Table3")), nullptr);

    struct Case
    {
        QString reference;
        TzelDataSet *dataSet;
        QString field;
    };
    const Case cases[] = {
        {QStringLiteral("Customers.\"Company Name\""), customers, QStringLiteral("Company Name")},
        {QStringLiteral("Prices.\"a.\"b\""), csv, QStringLiteral("a.\"b")},
        {QStringLiteral("Customers.Company"), nullptr, QString()},
        {QStringLiteral("Nobody.\"Field\""), nullptr, QStringLiteral("Field")},
        {QString(), nullptr, QString()},
    };
    for (const Case &c : cases) {
        TzelDataSet *ds = customers;
        QString field = QStringLiteral("stale");
        report.GetDatasetAndField(c.reference, ds, field);
        EXPECT_EQ(ds, c.dataSet) << c.reference.toStdString();
        EXPECT_EQ(field, c.field) << c.reference.toStdString();
    }

    EXPECT_EQ(report.GetDataSetList(), (QList<TzelDataSet *>{customers, csv}));
    EXPECT_EQ(report.GetDataSetList(true), QList<TzelDataSet *>{csv});
}

TEST_F(ReportDataSets, AFreedDataSetLeavesAnEntryThatNamesIt)
{
    TzelReport report;
    auto *host = new TzelUserDataSet;
    host->SetUserName(QStringLiteral("Transient"));
    report.DataSets().Add(host);
    report.SetDataSet(host);
    delete host;
    EXPECT_EQ(report.DataSets().Items(0)->DataSet(), nullptr);
    EXPECT_EQ(report.DataSet(), nullptr);
    EXPECT_EQ(report.DataSets().MissingNames(), QStringList{QStringLiteral("Transient")});
    EXPECT_EQ(report.GetDataset(QStringLiteral("Transient")), nullptr);
}

TEST_F(ReportDataSets, ClearEmptiesTheListsOfTheTemplateOnly)
{
    TzelUserDataSet host;
    TzelReport report;
    report.DataSets().Add(&host);
    report.EnabledDataSets().Add(&host);
    report.Variables().SetValue(QStringLiteral("V"), Variant(1));
    report.SetDataSet(&host);
    report.Clear();
    EXPECT_EQ(report.DataSets().Count(), 0);
    EXPECT_EQ(report.Variables().Count(), 0);
    EXPECT_EQ(report.DataSet(), nullptr);
    EXPECT_EQ(report.DataSetName(), QString());
    EXPECT_EQ(report.EnabledDataSets().Count(), 1); // the host's
}
