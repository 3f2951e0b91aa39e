#include "model/modeltestclasses.h"
#include "modeltest.h"
#include "model/report/zelreport.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

class Inheritance : public ModelTest
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        zelRegisterTestClasses();
        ASSERT_TRUE(dir.isValid());
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    // A report with a page and two memos, saved as Name.
    void writeParent(const char *name, const QString &parentOfParent = QString())
    {
        TzelReport parent;
        parent.SetParentReport(parentOfParent);
        auto *page = new TzelTestPage;
        page->SetParent(&parent);
        page->SetName(QStringLiteral("Page1"));
        for (const char *memoName : {"Memo1", "Memo2"}) {
            auto *memo = new TzelTestMemo;
            memo->SetParent(page);
            memo->SetName(QString::fromLatin1(memoName));
            memo->SetBounds(10, 20, 30, 40);
            memo->Text = QStringLiteral("parent text");
        }
        parent.ScriptLanguage = QStringLiteral("JScript");
        parent.SaveToFile(path(name));
    }

    QTemporaryDir dir;
    FakeDialogService dialogs;
};

} // namespace

TEST_F(Inheritance, AChildTemplateStoresOnlyItsDifferences)
{
    writeParent("parent.zt3");
    const QByteArray child =
        "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
        "<TzelReport ParentReport=\"parent.zt3\">\r\n"
        "  <inherited Name=\"Page1\">\r\n"
        "    <inherited Name=\"Memo1\" Left=\"99\"/>\r\n"
        "    <TzelTestMemo Name=\"Memo3\" Left=\"1\" Top=\"2\" Width=\"3\" Height=\"4\" Text=\"own\"/>\r\n"
        "  </inherited>\r\n"
        "</TzelReport>\r\n";
    zelWriteFile(path("child.zt3"), child);

    TzelReport report;
    ASSERT_TRUE(report.LoadFromFile(path("child.zt3")));
    EXPECT_TRUE(report.Errors().IsEmpty()) << qPrintable(report.ErrorsText());
    EXPECT_EQ(report.ScriptLanguage, QStringLiteral("JScript"));
    auto *memo1 = dynamic_cast<TzelTestMemo *>(report.FindObject(QStringLiteral("Memo1")));
    auto *memo2 = dynamic_cast<TzelTestMemo *>(report.FindObject(QStringLiteral("Memo2")));
    auto *memo3 = dynamic_cast<TzelTestMemo *>(report.FindObject(QStringLiteral("Memo3")));
    ASSERT_TRUE(memo1 && memo2 && memo3);
    EXPECT_EQ(memo1->Left(), 99);
    EXPECT_EQ(memo1->Top(), 20);            // only Left was changed
    EXPECT_EQ(memo1->Text, QStringLiteral("parent text"));
    EXPECT_TRUE(memo1->IsAncestor() && memo2->IsAncestor());
    EXPECT_FALSE(memo3->IsAncestor());
    EXPECT_THROW(memo1->SetName(QStringLiteral("Renamed")), TzelException);

    report.SaveToFile(path("again.zt3"));
    const QByteArray again = zelReadFile(path("again.zt3"));
    EXPECT_TRUE(again.contains("<TzelReport ParentReport=\"parent.zt3\">")) << again.toStdString();
    EXPECT_TRUE(again.contains("<inherited Name=\"Memo1\" Left=\"99\"/>")) << again.toStdString();
    EXPECT_TRUE(again.contains("<inherited Name=\"Memo2\"/>")) << again.toStdString();
    EXPECT_TRUE(again.contains("<TzelTestMemo Name=\"Memo3\"")) << again.toStdString();

    TzelReport reloaded;
    ASSERT_TRUE(reloaded.LoadFromFile(path("again.zt3")));
    reloaded.SaveToFile(path("third.zt3"));
    EXPECT_EQ(zelReadFile(path("third.zt3")), again);
}

TEST_F(Inheritance, ChainsOfParentsResolveAndCyclesAreRefused)
{
    writeParent("grand.zt3");
    zelWriteFile(path("middle.zt3"),
                 "<?xml version=\"1.0\" standalone=\"no\"?><TzelReport ParentReport=\"grand.zt3\">"
                 "<inherited Name=\"Page1\"><inherited Name=\"Memo2\" Top=\"5\"/></inherited></TzelReport>");
    zelWriteFile(path("leaf.zt3"),
                 "<?xml version=\"1.0\" standalone=\"no\"?><TzelReport ParentReport=\"middle.zt3\">"
                 "<inherited Name=\"Page1\"><inherited Name=\"Memo1\" Left=\"7\"/></inherited></TzelReport>");
    TzelReport report;
    report.EngineOptions().NewSilentMode = simSilent;
    ASSERT_TRUE(report.LoadFromFile(path("leaf.zt3")));
    EXPECT_TRUE(report.Errors().IsEmpty()) << qPrintable(report.ErrorsText());
    EXPECT_EQ(report.FindObject(QStringLiteral("Memo1"))->Left(), 7);
    EXPECT_EQ(report.FindObject(QStringLiteral("Memo2"))->Top(), 5);

    const struct { const char *file; QByteArray data; const char *error; } cases[] = {
        {"self.zt3", "<?xml version=\"1.0\" standalone=\"no\"?><TzelReport ParentReport=\"self.zt3\"/>",
         "Parent report \"self.zt3\" refers back to this report"},
        {"a.zt3", "<?xml version=\"1.0\" standalone=\"no\"?><TzelReport ParentReport=\"b.zt3\"/>",
         "Parent report \"a.zt3\" refers back to this report"},
        {"missing.zt3", "<?xml version=\"1.0\" standalone=\"no\"?><TzelReport ParentReport=\"nowhere.zt3\"/>",
         "Parent report \"nowhere.zt3\" not found"},
    };
    zelWriteFile(path("b.zt3"), "<?xml version=\"1.0\" standalone=\"no\"?><TzelReport ParentReport=\"a.zt3\"/>");
    for (const auto &c : cases) {
        zelWriteFile(path(c.file), c.data);
        TzelReport r;
        r.EngineOptions().NewSilentMode = simSilent;
        EXPECT_TRUE(r.LoadFromFile(path(c.file))) << c.file;
        EXPECT_TRUE(r.Errors().Contains(QString::fromUtf8(c.error))) << c.file << ": " << qPrintable(r.ErrorsText());
    }
}

TEST_F(Inheritance, AssignAllCopiesTheTreeAndAllDiffNamesTheDifferences)
{
    writeParent("parent.zt3");
    TzelReport report;
    ASSERT_TRUE(report.LoadFromFile(path("parent.zt3")));
    TzelReport copy;
    copy.AssignAll(&report);
    ASSERT_NE(copy.FindObject(QStringLiteral("Memo2")), nullptr);
    EXPECT_EQ(copy.ScriptLanguage, QStringLiteral("JScript"));

    auto *a = dynamic_cast<TzelTestMemo *>(report.FindObject(QStringLiteral("Memo1")));
    auto *b = dynamic_cast<TzelTestMemo *>(copy.FindObject(QStringLiteral("Memo1")));
    b->Assign(a);
    EXPECT_EQ(b->AllDiff(a), QString());
    b->SetLeft(12.5);
    b->Kind = tkOdd;
    EXPECT_EQ(b->AllDiff(a), QStringLiteral(" Left=\"12.5\" Kind=\"tkOdd\" l=\"12.5\""));
}
