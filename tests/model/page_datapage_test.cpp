#include "band_testsupport.h"

#include "model/band/zelmasterdata.h"
#include "model/band/zelpageheader.h"
#include "model/band/zelreporttitle.h"
#include "model/data/zeluserdataset.h"
#include "model/page/zeldatapage.h"
#include "model/page/zeldialogpage.h"
#include "model/page/zelreportpage.h"
#include "model/reflect/zelclassinfo.h"
#include "model/view/zelmemoview.h"

// The data page every loaded report gets, dialog pages, and what the page
// classes tell about themselves.

namespace {

using DataPages = BandTest;

QStringList childNames(const TzelComponent &c)
{
    QStringList names;
    for (const TzelComponent *child : c.Objects())
        names << child->Name();
    return names;
}

// Loads Text through the report facade, which checks the data page.
void loadReport(TzelReport &report, QByteArray text)
{
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    report.EngineOptions().NewSilentMode = simSilent;
    report.LoadFromStream(&in);
}

} // namespace

TEST_F(DataPages, ALoadedReportGetsADataPageFirst)
{
    TzelReport report;
    loadReport(report, templateWith("<TzelReportPage Name=\"Page1\"/><TzelReportPage Name=\"Page2\"/>"));
    EXPECT_EQ(childNames(report),
              (QStringList{QStringLiteral("Data"), QStringLiteral("Page1"), QStringLiteral("Page2")}));
    auto *data = dynamic_cast<TzelDataPage *>(report.Objects().first());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(QRectF(data->Left(), data->Top(), data->Width(), data->Height()), QRectF(0, 0, 1000, 1000));

    // A report that has one keeps it where it is.
    loadReport(report, templateWith("<TzelReportPage Name=\"Page1\"/><TzelDataPage Name=\"Mine\"/>"));
    EXPECT_EQ(childNames(report), (QStringList{QStringLiteral("Page1"), QStringLiteral("Mine")}));
}

TEST_F(DataPages, WhenDataIsTakenTheDataPageGetsAFreeName)
{
    TzelReport report;
    loadReport(report, templateWith("<TzelReportPage Name=\"Data\"/>"));
    EXPECT_EQ(childNames(report), (QStringList{QStringLiteral("DataPage1"), QStringLiteral("Data")}));
}

TEST_F(DataPages, DialogComponentsMoveOntoTheNewDataPageInARow)
{
    TzelReport report;
    loadReport(report, templateWith(
        "<TzelDialogPage Name=\"DialogPage1\"><TzelUserDataSet Name=\"Customers\"/>"
        "<TzelUserDataSet Name=\"Orders\"/></TzelDialogPage>"
        "<TzelReportPage Name=\"Page1\"><TzelUserDataSet Name=\"Items\"/></TzelReportPage>"));
    const TzelComponent *data = report.Objects().first();
    EXPECT_EQ(childNames(*data),
              (QStringList{QStringLiteral("Customers"), QStringLiteral("Orders"), QStringLiteral("Items")}));
    QList<QPointF> places;
    for (const TzelComponent *c : data->Objects())
        places << QPointF(c->Left(), c->Top());
    EXPECT_EQ(places, (QList<QPointF>{QPointF(60, 20), QPointF(124, 20), QPointF(188, 20)}));
    EXPECT_EQ(childNames(*report.FindObject(QStringLiteral("DialogPage1"))), QStringList());
}

TEST_F(DataPages, PagesDescribeThemselves)
{
    TzelReport report;
    auto *page = new TzelReportPage(&report);
    page->CreateUniqueName();
    EXPECT_EQ(page->Name(), QStringLiteral("Page1"));
    EXPECT_TRUE(page->IsSupportsGuidlines());
    EXPECT_FALSE(TzelDataPage().IsSupportsGuidlines());
    EXPECT_TRUE(TzelDialogPage().IsSupportsGuidlines());

    page->HGuides = {QStringLiteral("1")};
    page->VGuides = {QStringLiteral("2")};
    page->ClearGuides();
    EXPECT_TRUE(page->HGuides.isEmpty() && page->VGuides.isEmpty());

    auto *title = new TzelReportTitle(page);
    auto *header = new TzelPageHeader(page);
    auto *master = new TzelMasterData(page);
    auto *memo = new TzelMemoView(master);
    EXPECT_EQ(page->FindBand(TzelPageHeader::StaticClassInfo()), header);
    EXPECT_EQ(page->FindBand(TzelBand::StaticClassInfo()), title);
    EXPECT_EQ(page->FindBand(TzelDataBand::StaticClassInfo()), master);
    EXPECT_EQ(TzelPage::PageOf(memo), page);
    EXPECT_EQ(TzelPage::PageOf(&report), nullptr);

    EXPECT_EQ(page->GetDescription(), QStringLiteral("Report page"));
    EXPECT_EQ(TzelDataPage().GetDescription(), QStringLiteral("Data page"));
    EXPECT_EQ(TzelDialogPage().GetDescription(), QStringLiteral("Dialog form"));
    EXPECT_FALSE(page->IsSubReport());
    TzelReportPage *preview = TzelReportPage::CreateInPreview(&report, &report);
    EXPECT_EQ(preview->ParentReport, &report);
    EXPECT_EQ(preview->Parent(), &report);
}

TEST_F(DataPages, ADialogPageKeepsItsChildrensCoordinatesAndATahomaFont)
{
    TzelReport report;
    auto *dialog = new TzelDialogPage(&report);
    dialog->SetBounds(200, 150, 400, 300);
    auto *ds = new TzelUserDataSet(dialog);
    ds->SetLeft(30);
    ds->SetTop(40);
    EXPECT_EQ(ds->AbsLeft(), 30);
    EXPECT_EQ(ds->AbsTop(), 40);
    EXPECT_EQ(dialog->Font().Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(dialog->Font().Size(), 8);
    EXPECT_FALSE(dialog->ParentFont());
    EXPECT_EQ(dialog->Color, clBtnFace);
    EXPECT_EQ(dialog->Position, poScreenCenter);
    EXPECT_EQ(dialog->BorderStyle, bsSizeable);
}
