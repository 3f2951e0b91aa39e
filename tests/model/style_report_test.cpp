#include "band_testsupport.h"
#include "support/testsupport.h"

#include "model/band/zelmasterdata.h"
#include "model/page/zelreportpage.h"
#include "model/style/zelstyles.h"
#include "model/view/zelbrushfill.h"
#include "model/view/zelmemoview.h"

#include <QBuffer>
#include <QTemporaryDir>

// The report's styles: stored in templates, applied to text objects, and
// inherited from a parent template.

namespace {

class ReportStyles : public BandTest
{
protected:
    void SetUp() override
    {
        BandTest::SetUp();
        auto *page = new TzelReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
        auto *band = new TzelMasterData(page);
        band->SetName(QStringLiteral("MasterData1"));
        memo = new TzelMemoView(band);
        memo->SetName(QStringLiteral("Memo1"));

        title = report.Styles().Add();
        title->SetName(QStringLiteral("Title"));
        title->SetColor(255);
        title->Font().SetHeight(-16);
        title->Frame().Typ = {ftBottom};
    }

    TzelReport report;
    TzelMemoView *memo = nullptr;
    TzelStyleItem *title = nullptr;
};

int backColor(const TzelMemoView &memo)
{
    return dynamic_cast<const TzelBrushFill &>(memo.Fill()).BackColor;
}

} // namespace

TEST_F(ReportStyles, NamingAStyleGivesTheObjectTheAppliedParts)
{
    memo->SetStyle(QStringLiteral("title"));
    EXPECT_EQ(backColor(*memo), 255);
    EXPECT_EQ(memo->Font().Height(), -16);
    EXPECT_FALSE(memo->ParentFont());
    EXPECT_EQ(memo->Frame().Typ, TzelFrameTypes{ftBottom});

    // Without ApplyFont only fill and frame change.
    auto *quiet = new TzelMemoView(memo->Parent());
    title->ApplyFont = false;
    quiet->SetStyle(QStringLiteral("Title"));
    EXPECT_EQ(backColor(*quiet), 255);
    EXPECT_EQ(quiet->Frame().Typ, TzelFrameTypes{ftBottom});
    EXPECT_EQ(quiet->Font().Height(), -13);
    EXPECT_TRUE(quiet->ParentFont());

    // A name the report does not know changes nothing but the name.
    auto *unknown = new TzelMemoView(memo->Parent());
    unknown->SetStyle(QStringLiteral("Nowhere"));
    EXPECT_EQ(unknown->Style(), QStringLiteral("Nowhere"));
    EXPECT_EQ(backColor(*unknown), clNone);
}

TEST_F(ReportStyles, LoadingAStyleFileReappliesAndDropsStylesThatAreGone)
{
    memo->SetStyle(QStringLiteral("Title"));
    auto *other = new TzelMemoView(memo->Parent());
    TzelStyleItem *data = report.Styles().Add();
    data->SetName(QStringLiteral("Data"));
    other->SetStyle(QStringLiteral("Data"));

    TzelStyles file;
    TzelStyleItem *newData = file.Add();
    newData->SetName(QStringLiteral("DATA"));
    newData->SetColor(65280);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    file.SaveToStream(&buffer);
    buffer.seek(0);
    report.Styles().LoadFromStream(&buffer);

    EXPECT_EQ(memo->Style(), QString());
    EXPECT_EQ(backColor(*memo), 255);
    EXPECT_EQ(memo->Font().Height(), -16);
    EXPECT_EQ(other->Style(), QStringLiteral("Data"));
    EXPECT_EQ(backColor(*other), 65280);
}

TEST_F(ReportStyles, SettingTheReportsStylesCopiesAndAppliesThem)
{
    memo->SetStyle(QStringLiteral("Title"));
    TzelStyles replacement;
    TzelStyleItem *t = replacement.Add();
    t->SetName(QStringLiteral("Title"));
    t->SetColor(16711680);
    report.SetStyles(&replacement);
    EXPECT_EQ(backColor(*memo), 16711680);
    EXPECT_NE(report.Styles().Items(0), t);
    EXPECT_EQ(report.Styles().Report(), &report);

    report.SetStyles(nullptr);
    EXPECT_EQ(report.Styles().Count(), 0);
    report.Styles().Add();
    report.Clear();
    EXPECT_EQ(report.Styles().Count(), 0);
}

TEST_F(ReportStyles, TemplatesKeepTheStylesAfterDataSetsAndVariables)
{
    report.Variables().SetValue(QStringLiteral("Limit"), Variant(QStringLiteral("10")));
    TzelStyleItem *probe = report.Styles().Add();
    probe->SetName(QStringLiteral("Probe"));
    zelProbeProperties(*probe, [](const TzelPropInfo &) -> TzelPersistent * { return nullptr; });
    memo->SetStyle(QStringLiteral("Title"));

    const QByteArray text = save(report);
    const qsizetype variables = text.indexOf("  <Variables>");
    const qsizetype styles = text.indexOf("  <Styles>\r\n    <item Name=\"Title\" ");
    const qsizetype page = text.indexOf("  <TzelReportPage ");
    EXPECT_TRUE(variables > 0 && styles > variables && page > styles) << text.toStdString();

    TzelReport copy;
    EXPECT_EQ(load(copy, text), QStringList());
    ASSERT_EQ(copy.Styles().Count(), 2);
    zelExpectSameProperties(*title, *copy.Styles().Items(0));
    zelExpectSameProperties(*probe, *copy.Styles().Items(1));
    EXPECT_EQ(save(copy), text);

    // Bad values of an entry reach the report's errors; the rest loads.
    QByteArray damaged = text;
    damaged.replace("<item Name=\"Title\" ", "<item Name=\"Title\" ApplyFont=\"Maybe\" ");
    QBuffer in(&damaged);
    in.open(QIODevice::ReadOnly);
    copy.EngineOptions().NewSilentMode = simSilent;
    copy.LoadFromStream(&in);
    EXPECT_EQ(copy.Errors().Items(), QStringList{QStringLiteral("'Maybe' is not a valid value of ApplyFont")});
    EXPECT_EQ(copy.Styles().Count(), 2);
}

TEST_F(ReportStyles, AnInheritingTemplateStoresOnlyWhatItChangedOfAStyle)
{
    QTemporaryDir dir;
    const QString parentFile = dir.filePath(QStringLiteral("parent.zt3"));
    report.SaveToFile(parentFile);

    const QString childFile = dir.filePath(QStringLiteral("child.zt3"));
    zelWriteFile(childFile, "<?xml version=\"1.0\" standalone=\"no\"?><TzelReport ParentReport=\"parent.zt3\"/>");
    TzelReport child;
    ASSERT_TRUE(child.LoadFromFile(childFile));
    ASSERT_EQ(child.Styles().Count(), 1);
    EXPECT_TRUE(child.Styles().Items(0)->IsInherited);
    child.Styles().Items(0)->Font().SetHeight(-20);
    TzelStyleItem *own = child.Styles().Add();
    own->SetName(QStringLiteral("Own"));

    child.SaveToFile(childFile);
    const QByteArray text = zelReadFile(childFile);
    EXPECT_TRUE(text.contains("    <item InheritedName=\"Title\" Font.Height=\"-20\"/>\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("    <item Name=\"Own\" ")) << text.toStdString();

    TzelReport reloaded;
    ASSERT_TRUE(reloaded.LoadFromFile(childFile));
    EXPECT_TRUE(reloaded.Errors().IsEmpty()) << qPrintable(reloaded.ErrorsText());
    ASSERT_EQ(reloaded.Styles().GetList(), (QStringList{QStringLiteral("Title"), QStringLiteral("Own")}));
    EXPECT_EQ(reloaded.Styles().Items(0)->Font().Height(), -20);
    EXPECT_EQ(reloaded.Styles().Items(0)->Color(), 255);
    EXPECT_TRUE(reloaded.Styles().Items(0)->IsInherited);
}

TEST(StyleOnLoad, AMemosOwnLookSurvivesAReload)
{
    FakeDialogService dialogs;
    TzelReport report;
    TzelStyleItem *style = report.Styles().Add();
    style->SetName(QStringLiteral("Heading"));
    style->Font().SetName(QStringLiteral("Courier New"));
    auto *page = new TzelReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *memo = new TzelMemoView(page);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetStyle(QStringLiteral("Heading"));
    memo->Font().SetName(QStringLiteral("Times New Roman")); // changed after the style was applied

    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    report.SaveToStream(&buffer);
    buffer.seek(0);
    TzelReport copy;
    copy.EngineOptions().NewSilentMode = simSilent;
    ASSERT_TRUE(copy.LoadFromStream(&buffer));
    EXPECT_EQ(copy.FindObject(QStringLiteral("Memo1"))->Font().Name(), QStringLiteral("Times New Roman"));
}
