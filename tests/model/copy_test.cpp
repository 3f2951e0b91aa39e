// Copying objects goes through the reflection tables: a copied tree is what
// the source would be after saving and loading it, references point into the
// copy, and what a copy refuses is an error of the report.
#include "model/band/zelchild.h"
#include "model/band/zelmasterdata.h"
#include "model/data/zelcsvdataset.h"
#include "model/page/zelreportpage.h"
#include "model/report/zelmodelclasses.h"
#include "model/report/zelreport.h"
#include "model/style/zelstyles.h"
#include "model/view/zelmemoview.h"
#include "model/view/zelpictureview.h"
#include "modeltest.h"
#include "view_testsupport.h"

#include <gtest/gtest.h>

namespace {

class Copying : public ModelTest
{
protected:
    // A report using most of what a template holds.
    void build(TzelReport &report)
    {
        report.CheckDataPage();
        auto *csv = new TzelCSVDataSet(report.FindObject(QStringLiteral("Data")));
        csv->SetName(QStringLiteral("Prices"));
        csv->FileName = QStringLiteral("prices.csv");
        report.DataSets().Add(csv);
        report.Variables().SetValue(QStringLiteral("Rate"), Variant(QStringLiteral("1.5")));
        report.Styles().Add()->SetName(QStringLiteral("Title"));
        auto *page = new TzelReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
        auto *band = new TzelMasterData(page);
        band->SetName(QStringLiteral("MasterData1"));
        band->SetDataSet(csv);
        auto *child = new TzelChild(page);
        child->SetName(QStringLiteral("Child1"));
        band->SetChild(child);
        auto *first = new TzelMemoView(band);
        first->SetName(QStringLiteral("Memo1"));
        first->SetText(QStringLiteral("[Prices.\"Item\"]"));
        first->Formats().Add()->FormatStr = QStringLiteral("%2.2f");
        first->Formats().Add()->FormatStr = QStringLiteral("dd.mm.yyyy");
        first->Highlights().Add()->Condition = QStringLiteral("Value > 0");
        first->Highlights().Add()->Condition = QStringLiteral("Value < 0");
        auto *second = new TzelMemoView(child);
        second->SetName(QStringLiteral("Memo2"));
        first->SetFlowTo(second);
        auto *picture = new TzelPictureView(child);
        picture->SetName(QStringLiteral("Picture1"));
        picture->Picture().LoadFromData(zelTestPng(3, 2));
    }
};

} // namespace

TEST_F(Copying, ACopiedTreeSavesAsItsSourceAndRefersToItsOwnObjects)
{
    TzelReport source;
    build(source);
    TzelReport copy;
    copy.AssignAll(&source);
    EXPECT_TRUE(copy.Errors().IsEmpty()) << copy.Errors().Text().toStdString();
    EXPECT_EQ(save(copy), save(source));

    auto *memo = dynamic_cast<TzelMemoView *>(copy.FindObject(QStringLiteral("Memo1")));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->FlowTo(), copy.FindObject(QStringLiteral("Memo2")));
    EXPECT_EQ(memo->Highlights().Count(), 2);
    auto *band = dynamic_cast<TzelMasterData *>(copy.FindObject(QStringLiteral("MasterData1")));
    EXPECT_EQ(band->Child(), copy.FindObject(QStringLiteral("Child1")));
    EXPECT_EQ(band->DataSet(), copy.FindObject(QStringLiteral("Prices")));
    EXPECT_EQ(copy.DataSets().Items(0)->DataSet(), copy.FindObject(QStringLiteral("Prices")));
}

TEST_F(Copying, WhatACopyRefusesIsAnErrorOfTheReport)
{
    TzelReport report;
    build(report);
    auto *band = dynamic_cast<TzelMasterData *>(report.FindObject(QStringLiteral("MasterData1")));
    auto *child = dynamic_cast<TzelChild *>(report.FindObject(QStringLiteral("Child1")));
    // The child would become its own child.
    child->Assign(band);
    ASSERT_EQ(report.Errors().InOrder().size(), 1);
    EXPECT_EQ(report.Errors().InOrder()[0].Text(), QStringLiteral("Page1.Child1.Child: Circular child reference is not allowed"));
    EXPECT_EQ(child->Child(), nullptr);
    EXPECT_EQ(child->Name(), QStringLiteral("Child1")) << "Assign leaves the name";
}
