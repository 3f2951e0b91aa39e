#include "band_testsupport.h"

#include "model/band/zelchild.h"
#include "model/band/zelmasterdata.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreporttitle.h"
#include "model/data/zeluserdataset.h"
#include "model/page/zeldatapage.h"
#include "model/page/zelreportpage.h"
#include "model/reflect/zelclassregistry.h"

// Bands in templates: every kind keeps every published property through a
// save and a load, and a new band writes exactly its always-stored values.

namespace {

const char *const bandKinds[] = {
    "TzelReportTitle", "TzelReportSummary", "TzelPageHeader", "TzelPageFooter", "TzelHeader",
    "TzelFooter", "TzelMasterData", "TzelDetailData", "TzelSubdetailData", "TzelDataBand4",
    "TzelDataBand5", "TzelDataBand6", "TzelGroupHeader", "TzelGroupFooter", "TzelChild",
    "TzelColumnHeader", "TzelColumnFooter", "TzelOverlay", "TzelNullBand"};

using BandRoundTrip = BandTest;

} // namespace

TEST_F(BandRoundTrip, EveryBandKindKeepsEveryPublishedProperty)
{
    TzelReport report;
    auto *data = new TzelDataPage(&report);
    data->SetName(QStringLiteral("Data"));
    auto *dataSet = new TzelUserDataSet(data);
    dataSet->SetName(QStringLiteral("ProbeData"));
    auto *page = new TzelReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *childTarget = new TzelChild(page);
    childTarget->SetName(QStringLiteral("ProbeChild"));
    const TzelRefTarget target = [&](const TzelPropInfo &p) -> TzelPersistent * {
        if (p.Name == QLatin1StringView("Child"))
            return childTarget;
        return dataSet;
    };

    for (const char *kind : bandKinds) {
        const TzelClassInfo *cls = TzelClassRegistry::Find(QString::fromLatin1(kind));
        ASSERT_NE(cls, nullptr) << kind;
        auto *band = dynamic_cast<TzelBand *>(cls->Create());
        ASSERT_NE(band, nullptr) << kind;
        band->SetParent(page);
        band->SetName(QLatin1StringView(kind).mid(4));
        zelProbeProperties(*band, target);
        EXPECT_EQ(zelPropertiesAtDefault(*band), QStringList()) << kind;
    }

    const QByteArray text = save(report);
    TzelReport copy;
    EXPECT_EQ(load(copy, text), QStringList());
    for (const char *kind : bandKinds) {
        const QString name = QLatin1StringView(kind).mid(4);
        const TzelComponent *loaded = copy.FindObject(name);
        ASSERT_NE(loaded, nullptr) << kind;
        zelExpectSameProperties(*report.FindObject(name), *loaded, name + u'.');
    }
    EXPECT_EQ(save(copy), text);
}

TEST_F(BandRoundTrip, ANewBandWritesOnlyItsAlwaysStoredValues)
{
    TzelReport report;
    auto *page = new TzelReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *title = new TzelReportTitle(page);
    title->SetName(QStringLiteral("ReportTitle1"));
    title->SetBounds(0, 18.9, 718.1, 45.35);
    auto *header = new TzelPageHeader(page);
    header->SetName(QStringLiteral("PageHeader1"));
    auto *master = new TzelMasterData(page);
    master->SetName(QStringLiteral("MasterData1"));
    auto *child = new TzelChild(page);
    child->SetName(QStringLiteral("Child1"));
    master->SetChild(child);

    const QByteArray text = save(report);
    const QByteArray common = "FillType=\"ftBrush\" FillGap.Top=\"0\" FillGap.Left=\"0\" FillGap.Bottom=\"0\" "
                              "FillGap.Right=\"0\" Frame.Typ=\"0\" ";
    EXPECT_TRUE(text.contains("<TzelReportTitle Name=\"ReportTitle1\" " + common
                              + "Height=\"45.35\" Left=\"0\" Top=\"18.9\" Width=\"718.1\"/>"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("<TzelPageHeader Name=\"PageHeader1\" " + common
                              + "Height=\"0\" Left=\"0\" Top=\"0\" Width=\"0\"/>"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("<TzelMasterData Name=\"MasterData1\" " + common
                              + "Height=\"0\" Left=\"0\" Top=\"0\" Width=\"0\" Child=\"Child1\" ColumnWidth=\"0\" "
                                "ColumnGap=\"0\" RowCount=\"0\"/>"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("<TzelChild Name=\"Child1\" " + common
                              + "Height=\"0\" Left=\"0\" Top=\"0\" Width=\"0\" ToNRows=\"0\" "
                                "ToNRowsMode=\"rmCount\"/>"))
        << text.toStdString();
}

TEST_F(BandRoundTrip, BadValuesAreCollectedAndTheRestOfTheBandLoads)
{
    TzelReport report;
    const QStringList errors = load(report, templateWith(
        "<TzelReportPage Name=\"Page1\"><TzelMasterData Name=\"MasterData1\" ShiftEngine=\"seSideways\" "
        "FillType=\"ftPlaid\" Columns=\"two\" Height=\"20\" Stretched=\"True\"/></TzelReportPage>"));
    EXPECT_EQ(errors, (QStringList{QStringLiteral("'ftPlaid' is not a valid value of FillType"),
                                   QStringLiteral("'seSideways' is not a valid value of ShiftEngine"),
                                   QStringLiteral("'two' is not a valid value of Columns")}));
    auto *master = dynamic_cast<TzelMasterData *>(report.FindObject(QStringLiteral("MasterData1")));
    ASSERT_NE(master, nullptr);
    EXPECT_EQ(master->ShiftEngine, seTree);
    EXPECT_EQ(master->FillType(), ftBrush);
    EXPECT_EQ(master->Columns, 0);
    EXPECT_EQ(master->Height(), 20);
    EXPECT_TRUE(master->Stretched);
}
