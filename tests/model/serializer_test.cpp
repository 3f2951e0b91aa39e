#include "base/variant/zelformatsettings.h"
#include "base/xml/zelxmlitem.h"
#include "model/component/zelreportcomponent.h"
#include "model/reflect/zelclassregistry.h"
#include "model/reflect/zelfiler.h"
#include "model/report/zelreport.h"
#include "model/serial/zelserialhooks.h"
#include "model/serial/zelxmlserializer.h"
#include "model/modeltestclasses.h"
#include "modeltest.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

class Serializer : public ModelTest
{
protected:
    static void SetUpTestSuite()
    {
        ModelTest::SetUpTestSuite();
        zelRegisterTestClasses();
    }
};

} // namespace

TEST_F(Serializer, WritesTheTemplateFormatAndReadsItBack)
{
    TzelReport report;
    auto *page = new TzelTestPage;
    page->SetParent(&report);
    page->SetName(QStringLiteral("Page1"));
    page->SetWidth(793.7);
    auto *memo = new TzelTestMemo;
    memo->SetParent(page);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetBounds(0, 18.9, 94.5, 18.9);
    memo->Kind = tkFancy;
    memo->Font().SetName(QStringLiteral("Times New Roman"));
    memo->Font().SetStyle({fsBold, fsItalic});
    memo->Frame.Blob = QByteArray("\x01\xFF", 2);
    memo->Lines = {QStringLiteral("a"), QString(), QStringLiteral("c\"<&>")};
    memo->Text = QStringLiteral("Hello\r\nWorld");
    memo->Link = memo;
    memo->Tag = 0;
    report.ReportOptions().CreateDate = report.ReportOptions().LastChange = 46000.5;

    const QByteArray text = save(report);
    const QByteArray expectedMemo =
        "    <TzelTestMemo Name=\"Memo1\" Left=\"0\" Top=\"18.9\" Width=\"94.5\" Height=\"18.9\" Kind=\"tkFancy\" "
        "Font.Charset=\"1\" Font.Color=\"0\" Font.Height=\"-13\" Font.Name=\"Times New Roman\" Font.Style=\"3\" "
        "ParentFont=\"False\" Frame.Width=\"1\" Frame.PropData=\"04446174610A0200000001FF\" "
        "Lines.Text=\"a&#13;&#10;&#13;&#10;c&#34;&#60;&#38;&#62;\" Link=\"Memo1\" Text=\"Hello&#13;&#10;World\"/>\r\n";
    EXPECT_TRUE(text.contains("  <TzelTestPage Name=\"Page1\" Width=\"793.7\">\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains(expectedMemo)) << text.toStdString();

    TzelReport copy;
    EXPECT_TRUE(load(copy, text).isEmpty());
    auto *memo2 = dynamic_cast<TzelTestMemo *>(copy.FindObject(QStringLiteral("memo1")));
    ASSERT_NE(memo2, nullptr);
    EXPECT_EQ(memo2->Parent()->Name(), QStringLiteral("Page1"));
    EXPECT_EQ(memo2->Kind, tkFancy);
    EXPECT_EQ(memo2->Font(), memo->Font());
    EXPECT_FALSE(memo2->ParentFont());
    EXPECT_EQ(memo2->Frame.Blob, memo->Frame.Blob);
    EXPECT_EQ(memo2->Lines, memo->Lines);
    EXPECT_EQ(memo2->Text, memo->Text);
    EXPECT_EQ(memo2->Link, memo2);
    EXPECT_EQ(save(copy), text);
}

TEST_F(Serializer, CollectsBadValuesAndUnknownClassesAndGoesOn)
{
    const QByteArray text =
        "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>"
        "<TzelReport ScriptLanguage=\"JScript\">"
        "<TzelTestPage Name=\"Page1\">"
        "<TzelNoSuchView Name=\"X1\"><TzelTestMemo Name=\"Inner\"/></TzelNoSuchView>"
        "<TzelTestMemo Name=\"Memo1\" Left=\"abc\" Kind=\"tkNope\" Font.Style=\"99\" Top=\"1,5\" Link=\"Memo2\""
        " Unknown=\"1\" Kind.Deeper=\"2\"/>"
        "<TzelTestMemo Name=\"Memo2\" Kind=\"2\" Link=\"Nobody\"/>"
        "<TzelTestMemo Name=\"Memo2\" Width=\"7\"/>"
        "<TzelTestMemo Name=\"9bad\"/>"
        "</TzelTestPage></TzelReport>";
    TzelReport report;
    const QStringList errors = load(report, text);
    EXPECT_EQ(errors, (QStringList{"'99' is not a valid value of Style", "'9bad' is not a valid component name",
                                           "'abc' is not a valid value of Left", "'tkNope' is not a valid value of Kind",
                                           "Cannot find class TzelNoSuchView"}));
    EXPECT_EQ(report.ScriptLanguage, QStringLiteral("JScript"));
    auto *memo1 = dynamic_cast<TzelTestMemo *>(report.FindObject(QStringLiteral("Memo1")));
    auto *memo2 = dynamic_cast<TzelTestMemo *>(report.FindObject(QStringLiteral("Memo2")));
    ASSERT_TRUE(memo1 && memo2);
    EXPECT_EQ(report.FindObject(QStringLiteral("Inner")), nullptr);
    EXPECT_EQ(memo1->Top(), 1.5);               // either decimal separator reads
    EXPECT_EQ(memo1->Link, memo2);              // a reference to an object defined later
    EXPECT_EQ(memo2->Link, nullptr);            // an unresolved reference stays empty
    EXPECT_EQ(memo2->Kind, tkOdd);              // ordinals read as well as names
    EXPECT_EQ(memo2->Width(), 7);               // a second element of the same name updates the first
    EXPECT_EQ(report.Objects().at(0)->Objects().size(), 3);
}

TEST_F(Serializer, LoadingTwiceGivesTheSameTree)
{
    TzelReport report;
    auto *page = new TzelTestPage;
    page->SetParent(&report);
    page->SetName(QStringLiteral("Page1"));
    const QByteArray text = save(report);
    load(report, text);
    load(report, text);
    EXPECT_EQ(report.Objects().size(), 1);
    EXPECT_EQ(save(report), text);
}

TEST_F(Serializer, ShortAttributesAndComponentStrings)
{
    TzelReport report;
    auto *page = new TzelTestPage;
    page->SetParent(&report);
    TzelXMLSerializer serializer;
    serializer.Owner = &report;
    TzelComponent *c = serializer.ReadComponentStr(page, QStringLiteral("TzelTestMemo l=\"5\" t=\"6\" w=\"7\" h=\"8\" x=\"a&#10;b\""));
    auto *memo = dynamic_cast<TzelTestMemo *>(c);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Parent(), page);
    EXPECT_EQ(QRectF(memo->Left(), memo->Top(), memo->Width(), memo->Height()), QRectF(5, 6, 7, 8));
    EXPECT_EQ(memo->Text, QStringLiteral("a\nb"));
    EXPECT_EQ(serializer.WriteComponentStr(memo),
              QStringLiteral("TzelTestMemo Left=\"5\" Top=\"6\" Width=\"7\" Height=\"8\" Frame.Width=\"1\" "
                             "Lines.Text=\"\" Text=\"a&#10;b\""));
}

TEST_F(Serializer, WritesOnlyDifferencesFromAnAncestor)
{
    TzelTestMemo base, changed;
    changed.SetLeft(10);
    changed.Kind = tkFancy;
    changed.Frame.Width = 1.0000001; // within the float tolerance
    TzelXMLSerializer serializer;
    EXPECT_EQ(serializer.ObjToXML(&changed, QString(), &base), QStringLiteral(" Left=\"10\" Kind=\"tkFancy\""));
    EXPECT_EQ(serializer.ObjToXML(&base, QString(), &base), QString());
}
