#include "band_testsupport.h"

#include "model/band/zelmasterdata.h"
#include "model/band/zelreporttitle.h"
#include "model/data/zeluserdataset.h"
#include "model/page/zeldatapage.h"
#include "model/page/zeldialogpage.h"
#include "model/page/zelreportpage.h"
#include "model/view/zelpicture.h"
#include "model/view/zelpictureview.h"
#include "view_testsupport.h"

// Pages in templates: every page class keeps every published property, a
// new page writes its paper as the format stores it, and the background
// picture travels as PropData.

namespace {

using PageRoundTrip = BandTest;

} // namespace

TEST_F(PageRoundTrip, EveryPageClassKeepsEveryPublishedProperty)
{
    TzelReport report;
    auto *data = new TzelDataPage(&report);
    data->SetName(QStringLiteral("Data"));
    auto *dataSet = new TzelUserDataSet(data);
    dataSet->SetName(QStringLiteral("ProbeData"));
    auto *reportPage = new TzelReportPage(&report);
    reportPage->SetName(QStringLiteral("Page1"));
    auto *dialog = new TzelDialogPage(&report);
    dialog->SetName(QStringLiteral("DialogPage1"));
    const TzelRefTarget target = [&](const TzelPropInfo &) -> TzelPersistent * { return dataSet; };

    for (TzelPage *page : std::initializer_list<TzelPage *>{data, reportPage, dialog}) {
        zelProbeProperties(*page, target);
        EXPECT_EQ(zelPropertiesAtDefault(*page), QStringList()) << qPrintable(page->ClassName());
    }

    const QByteArray text = save(report);
    TzelReport copy;
    EXPECT_EQ(load(copy, text), QStringList());
    for (const QString &name : {QStringLiteral("Data"), QStringLiteral("Page1"), QStringLiteral("DialogPage1")}) {
        const TzelComponent *loaded = copy.FindObject(name);
        ASSERT_NE(loaded, nullptr) << qPrintable(name);
        zelExpectSameProperties(*report.FindObject(name), *loaded, name + u'.');
    }
    EXPECT_EQ(save(copy), text);
}

TEST_F(PageRoundTrip, NewPagesWriteTheirPaperAndGuides)
{
    TzelReport report;
    auto *data = new TzelDataPage(&report);
    data->SetName(QStringLiteral("Data"));
    auto *page = new TzelReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    page->SetDefaults();
    page->HGuides = {QStringLiteral("10"), QStringLiteral("20.5")};
    auto *dialog = new TzelDialogPage(&report);
    dialog->SetName(QStringLiteral("DialogPage1"));

    const QByteArray text = save(report);
    EXPECT_TRUE(text.contains("  <TzelDataPage Name=\"Data\" HGuides.Text=\"\" VGuides.Text=\"\" Height=\"1000\" "
                              "Left=\"0\" Top=\"0\" Width=\"1000\"/>\r\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("  <TzelReportPage Name=\"Page1\" HGuides.Text=\"10&#13;&#10;20.5\" VGuides.Text=\"\" "
                              "PaperWidth=\"210\" PaperHeight=\"297\" PaperSize=\"9\" LeftMargin=\"10\" "
                              "RightMargin=\"10\" TopMargin=\"10\" BottomMargin=\"10\" ColumnWidth=\"0\" "
                              "ColumnPositions.Text=\"\" Frame.Typ=\"0\" MirrorMode=\"0\"/>\r\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("  <TzelDialogPage Name=\"DialogPage1\" Font.Charset=\"1\" Font.Color=\"0\" "
                              "Font.Height=\"-11\" Font.Name=\"Tahoma\" Font.Style=\"0\" HGuides.Text=\"\" "
                              "VGuides.Text=\"\" Height=\"0\" ClientHeight=\"0\" Left=\"0\" Top=\"0\" Width=\"0\" "
                              "ClientWidth=\"0\"/>\r\n"))
        << text.toStdString();
}

TEST_F(PageRoundTrip, LandscapeAndCustomPaperReadBackAsWritten)
{
    const struct
    {
        const char *what;
        std::function<void(TzelReportPage &)> set;
    } cases[] = {
        {"A4 landscape", [](TzelReportPage &p) { p.SetOrientation(poLandscape); }},
        {"A5 landscape with margins",
         [](TzelReportPage &p) {
             p.LeftMargin = 5;
             p.TopMargin = 7;
             p.SetOrientation(poLandscape);
             p.SetPaperSize(11);
         }},
        {"custom landscape",
         [](TzelReportPage &p) {
             p.SetOrientation(poLandscape);
             p.SetPaperWidth(123.4);
             p.SetPaperHeight(56.7);
         }},
    };
    for (const auto &c : cases) {
        TzelReport report;
        auto *page = new TzelReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
        c.set(*page);
        TzelReport copy;
        EXPECT_EQ(load(copy, save(report)), QStringList()) << c.what;
        auto *loaded = dynamic_cast<TzelReportPage *>(copy.FindObject(QStringLiteral("Page1")));
        ASSERT_NE(loaded, nullptr) << c.what;
        zelExpectSameProperties(*page, *loaded);
        EXPECT_EQ(loaded->Width(), page->Width()) << c.what;
        EXPECT_EQ(loaded->Height(), page->Height()) << c.what;
    }
}

TEST_F(PageRoundTrip, TheBackgroundPictureTravelsAsPropData)
{
    TzelReport report;
    auto *page = new TzelReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    page->BackPicture().LoadFromData(zelTestPng(3, 2));
    page->SetColor(clWhite);
    page->Frame().Typ = {ftLeft};

    const QByteArray text = save(report);
    EXPECT_TRUE(text.contains(" BackPicture.PropData=\"")) << text.toStdString();
    EXPECT_TRUE(text.contains(" Color=\"16777215\" ")) << text.toStdString();

    TzelReport copy;
    EXPECT_EQ(load(copy, text), QStringList());
    auto *loaded = dynamic_cast<TzelReportPage *>(copy.FindObject(QStringLiteral("Page1")));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->BackPicture().Data(), page->BackPicture().Data());
    EXPECT_EQ(loaded->BackPicture().Width(), 3);
    // Colour and frame are those of the page's background view.
    EXPECT_EQ(loaded->BackPictureView().Color(), clWhite);
    EXPECT_TRUE(loaded->BackPictureView().Frame().Typ.Contains(ftLeft));
    EXPECT_EQ(loaded->BackPictureView().Parent(), nullptr);
}

TEST_F(PageRoundTrip, BadPageValuesAreCollected)
{
    TzelReport report;
    const QStringList errors = load(report, templateWith(
        "<TzelReportPage Name=\"Page1\" Orientation=\"poSideways\" PaperSize=\"A4\" PaperWidth=\"wide\" "
        "LeftMargin=\"12\" MirrorMode=\"999999\"/>"));
    EXPECT_EQ(errors, (QStringList{QStringLiteral("'999999' is not a valid value of MirrorMode"),
                                   QStringLiteral("'A4' is not a valid value of PaperSize"),
                                   QStringLiteral("'poSideways' is not a valid value of Orientation"),
                                   QStringLiteral("'wide' is not a valid value of PaperWidth")}));
    auto *page = dynamic_cast<TzelReportPage *>(report.FindObject(QStringLiteral("Page1")));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Orientation(), poPortrait);
    EXPECT_EQ(page->PaperSize(), 9);
    EXPECT_EQ(page->PaperWidth(), 210);
    EXPECT_EQ(page->LeftMargin, 12);
}

TEST_F(PageRoundTrip, TheSampleTemplateLoadsCleanAndSavesByteForByte)
{
    const QByteArray sample = zelReadFile(zelSourcePath(QStringLiteral("examples/test.zt3")));
    ASSERT_FALSE(sample.isEmpty());
    FakeDialogService dialogs;
    TzelReport report;
    ASSERT_TRUE(report.LoadFromFile(zelSourcePath(QStringLiteral("examples/test.zt3"))));
    EXPECT_EQ(dialogs.Messages, QStringList());
    EXPECT_TRUE(report.Errors().IsEmpty()) << qPrintable(report.ErrorsText());
    EXPECT_NE(dynamic_cast<TzelMasterData *>(report.FindObject(QStringLiteral("MasterData1"))), nullptr);
    EXPECT_FALSE(dynamic_cast<TzelPictureView &>(*report.FindObject(QStringLiteral("Logo"))).Picture().IsEmpty());
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    report.SaveToStream(&out);
    EXPECT_EQ(out.data(), sample);
}
