#include "model/data/zeluserdataset.h"
#include "model/page/zelreportpage.h"
#include "model/view/zellineview.h"
#include "model/view/zelmemoview.h"
#include "model/view/zelpictureview.h"
#include "model/view/zelshapeview.h"
#include "model/view/zelsubreport.h"
#include "support/testsupport.h"
#include "view_testsupport.h"

namespace {

class ViewRefs : public ViewTest
{
};

template <class T>
T *find(const TzelReport &report, const char *name)
{
    return dynamic_cast<T *>(report.FindObject(QString::fromLatin1(name)));
}

} // namespace

TEST_F(ViewRefs, DataSetsAreFoundByNameAfterTheTreeAndForgottenWhenFreed)
{
    TzelReport report;
    EXPECT_EQ(load(report, templateWith("<TzelMemoView Name=\"Memo1\" DataField=\"City\" DataSet=\"Customers\"/>"
                                        "<TzelPictureView Name=\"Picture1\" DataSet=\"Customers\"/>"
                                        "<TzelUserDataSet Name=\"Customers\" UserName=\"Clients\"/>")),
              QStringList());
    auto *memo = find<TzelMemoView>(report, "Memo1");
    auto *ds = find<TzelUserDataSet>(report, "Customers");
    ASSERT_TRUE(memo && ds);
    EXPECT_EQ(memo->DataSet(), ds);
    EXPECT_EQ(find<TzelPictureView>(report, "Picture1")->DataSet(), ds);
    EXPECT_TRUE(memo->IsDataField());
    EXPECT_EQ(memo->DataSetName(), QStringLiteral("Clients")); // the user name, not the component name

    const QByteArray text = save(report);
    EXPECT_TRUE(text.contains("DataField=\"City\" DataSet=\"Customers\" DataSetName=\"Clients\"")) << text.toStdString();

    delete ds;
    EXPECT_EQ(memo->DataSet(), nullptr);
    EXPECT_FALSE(memo->IsDataField());
    EXPECT_EQ(memo->DataSetName(), QStringLiteral("Clients"));

    // A name alone finds the data set by its user name.
    TzelUserDataSet other(&report);
    other.SetName(QStringLiteral("Orders"));
    other.SetUserName(QStringLiteral("Sales"));
    memo->SetDataSetName(QStringLiteral("sales"));
    EXPECT_EQ(memo->DataSet(), &other);
}

TEST_F(ViewRefs, FlowToRefersToAnotherTextObjectUntilItIsFreed)
{
    TzelReport report;
    EXPECT_EQ(load(report, templateWith("<TzelMemoView Name=\"Memo1\" FlowTo=\"Memo2\"/>"
                                        "<TzelMemoView Name=\"Memo2\"/>")),
              QStringList());
    auto *first = find<TzelMemoView>(report, "Memo1");
    auto *second = find<TzelMemoView>(report, "Memo2");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->FlowTo(), second);
    delete second;
    EXPECT_EQ(first->FlowTo(), nullptr);
    EXPECT_FALSE(save(report).contains("FlowTo"));
}

TEST_F(ViewRefs, ASubreportTellsItsPageWhoPrintsIt)
{
    TzelReport report;
    EXPECT_EQ(load(report, templateWith("<TzelReportPage Name=\"Page1\"><TzelSubreport Name=\"Subreport1\" "
                                        "Page=\"Page2\" PrintOnParent=\"True\"/></TzelReportPage>"
                                        "<TzelReportPage Name=\"Page2\"/>")),
              QStringList());
    auto *sub = find<TzelSubreport>(report, "Subreport1");
    auto *page = find<TzelReportPage>(report, "Page2");
    ASSERT_TRUE(sub && page);
    EXPECT_EQ(sub->Page(), page);
    EXPECT_TRUE(sub->PrintOnParent);
    EXPECT_EQ(page->SubReport, sub);
    EXPECT_TRUE(save(report).contains("<TzelSubreport Name=\"Subreport1\""));

    // A new subreport: four frame lines, Tahoma 8 pt, silver, not shown in the preview.
    EXPECT_EQ(sub->Frame().Typ, (TzelFrameTypes{ftLeft, ftRight, ftTop, ftBottom}));
    EXPECT_EQ(sub->Font().Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(sub->Font().Size(), 8);
    EXPECT_FALSE(sub->ParentFont());
    EXPECT_EQ(sub->Color(), 0xC0C0C0);
    EXPECT_FALSE(sub->qzComponentStyle.Contains(csPreviewVisible));

    delete sub;
    EXPECT_EQ(page->SubReport, nullptr);
}

TEST_F(ViewRefs, DesignerFlagsChooseTheLineAndTheShape)
{
    const struct
    {
        int flags;
        bool diagonal, arrowStart, arrowEnd;
    } lines[] = {{0, false, false, false}, {1, true, false, false}, {2, true, false, true},
                 {3, true, true, false},   {4, true, true, true}};
    TzelReport report;
    for (const auto &c : lines) {
        auto *line = TzelView::DesignCreate<TzelLineView>(&report, c.flags);
        EXPECT_TRUE(line->IsDesigning());
        EXPECT_EQ(line->Parent(), &report);
        EXPECT_EQ(line->Diagonal, c.diagonal) << c.flags;
        EXPECT_EQ(line->ArrowStart, c.arrowStart) << c.flags;
        EXPECT_EQ(line->ArrowEnd, c.arrowEnd) << c.flags;
    }
    EXPECT_EQ(TzelView::DesignCreate<TzelShapeView>(&report, 2)->Shape, skEllipse);
    EXPECT_EQ(TzelView::DesignCreate<TzelShapeView>(&report, 6)->Shape, skDiagonal2);
    EXPECT_EQ(TzelView::DesignCreate<TzelShapeView>(&report, 42)->Shape, skRectangle);
}

TEST(ViewHyperlink, EmptinessDependsOnTheKind)
{
    const struct
    {
        TzelHyperlinkKind kind;
        const char *value, *detailReport, *detailPage;
        bool empty, detailEmpty;
    } cases[] = {
        {hkURL, "", "r", "p", true, false},          {hkURL, "x", "", "", false, false},
        {hkAnchor, "", "", "", true, false},         {hkPageNumber, "3", "", "", false, false},
        {hkDetailReport, "v", "", "p", true, true},   {hkDetailReport, "", "r.zt3", "", false, false},
        {hkDetailPage, "v", "r", "", true, true},     {hkDetailPage, "", "", "Page2", false, false},
        {hkCustom, "", "", "", false, false},        {hkNone, "x", "r", "p", true, false},
    };
    for (const auto &c : cases) {
        TzelHyperlink link;
        link.Kind = c.kind;
        link.Value = QString::fromLatin1(c.value);
        link.DetailReport = QString::fromLatin1(c.detailReport);
        link.DetailPage = QString::fromLatin1(c.detailPage);
        EXPECT_EQ(link.IsEmpty(), c.empty) << zelEnumInfo<TzelHyperlinkKind>().NameOf(c.kind).toStdString();
        EXPECT_EQ(link.DetailIsEmpty(), c.detailEmpty) << zelEnumInfo<TzelHyperlinkKind>().NameOf(c.kind).toStdString();
    }
}
