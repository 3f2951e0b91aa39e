#include "band_testsupport.h"

#include "base/xml/zelinvalidxmlexception.h"
#include "base/xml/zelxmldocument.h"
#include "model/style/zelstylesheet.h"
#include "model/view/zelbrushfill.h"

#include <QTemporaryDir>

// Style files ("*.zs3"), style sheets and the report wizard's looks.

namespace {

using StyleFiles = BandTest;

QByteArray toBytes(const std::function<void(QIODevice *)> &write)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    write(&out);
    return out.data();
}

void fromBytes(QByteArray data, const std::function<void(QIODevice *)> &read)
{
    QBuffer in(&data);
    in.open(QIODevice::ReadOnly);
    read(&in);
}

} // namespace

TEST_F(StyleFiles, AStyleFileHoldsOneItemPerStyle)
{
    TzelStyles styles;
    styles.Name = QStringLiteral("Blue & grey");
    TzelStyleItem *title = styles.Add();
    title->SetName(QStringLiteral("Title \"big\""));
    title->SetColor(16711680);
    title->Font().SetStyle({fsBold});
    title->ApplyFrame = false;
    TzelStyleItem *plain = styles.Add();
    plain->SetName(QStringLiteral("Data"));

    const QByteArray text = toBytes([&](QIODevice *d) { styles.SaveToStream(d); });
    const QByteArray font = "Font.Charset=\"1\" Font.Color=\"0\" Font.Height=\"-13\" Font.Name=\"Arial\" ";
    EXPECT_EQ(text, "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n"
                    "<style Name=\"Blue &#38; grey\">\r\n"
                    "  <item Name=\"Title &#34;big&#34;\" " + font + "Font.Style=\"1\" Frame.Typ=\"0\" "
                    "ApplyFrame=\"False\" Fill.BackColor=\"16711680\"/>\r\n"
                    "  <item Name=\"Data\" " + font + "Font.Style=\"0\" Frame.Typ=\"0\"/>\r\n"
                    "</style>\r\n");

    TzelStyles copy;
    fromBytes(text, [&](QIODevice *d) { copy.LoadFromStream(d); });
    EXPECT_EQ(copy.Name, styles.Name);
    ASSERT_EQ(copy.Count(), 2);
    zelExpectSameProperties(*title, *copy.Items(0));
    zelExpectSameProperties(*plain, *copy.Items(1));
}

TEST_F(StyleFiles, EveryPublishedPropertyOfAStyleSurvivesAFile)
{
    const TzelRefTarget none = [](const TzelPropInfo &) -> TzelPersistent * { return nullptr; };
    for (TzelFillType kind : {ftBrush, ftGradient, ftGlass}) {
        TzelStyles styles;
        TzelStyleItem *s = styles.Add();
        s->SetName(QStringLiteral("Probe"));
        zelProbeProperties(*s, none);
        s->SetFillType(kind);
        zelProbeProperties(s->Fill(), none, false);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("look.zs3"));
        styles.SaveToFile(file);
        TzelStyles copy;
        copy.LoadFromFile(file);
        ASSERT_EQ(copy.Count(), 1) << kind;
        zelExpectSameProperties(*s, *copy.Items(0));
    }
}

TEST_F(StyleFiles, ReadingTakesColourAttributesAndSkipsStrangers)
{
    TzelStyles styles;
    styles.Add()->SetName(QStringLiteral("Left over"));
    fromBytes("<?xml version=\"1.0\"?><STYLE Name=\"Set\"><Item Name=\"A\" Color=\"255\"/><other Name=\"B\"/>"
              "<item Name=\"C\" Font.Style=\"bold\" ApplyFill=\"False\"/></STYLE>",
              [&](QIODevice *d) { styles.LoadFromStream(d); });
    EXPECT_EQ(styles.Name, QStringLiteral("Set"));
    EXPECT_EQ(styles.GetList(), (QStringList{QStringLiteral("A"), QStringLiteral("C")}));
    EXPECT_EQ(styles.Items(0)->Color(), 255);
    EXPECT_FALSE(styles.Items(1)->ApplyFill);

    // Another root leaves the set empty; damaged XML raises and leaves it empty too.
    fromBytes("<?xml version=\"1.0\"?><stylesheet><style Name=\"X\"/></stylesheet>",
              [&](QIODevice *d) { styles.LoadFromStream(d); });
    EXPECT_EQ(styles.Count(), 0);
    styles.Add();
    EXPECT_THROW(fromBytes("<?xml version=\"1.0\"?><style Name=\"X\"><item",
                           [&](QIODevice *d) { styles.LoadFromStream(d); }),
                 TzelInvalidXMLException);
    EXPECT_EQ(styles.Count(), 0);
    EXPECT_THROW(styles.LoadFromFile(QStringLiteral("/nonexistent/look.zs3")), TzelFileError);
}

TEST_F(StyleFiles, BadValuesAndDuplicateNamesOfAnEntryAreReturned)
{
    TzelStyles styles;
    const QByteArray text = "<?xml version=\"1.0\"?><style><item Name=\"A\" FillType=\"ftPlaid\" "
                            "Font.Height=\"tall\"/><item Name=\"a\"/></style>";
    TzelXMLDocument document;
    fromBytes(text, [&](QIODevice *d) { document.LoadFromStream(d); });
    EXPECT_EQ(styles.LoadFromXMLItem(document.Root()),
              (QStringList{QStringLiteral("'ftPlaid' is not a valid value of FillType"),
                           QStringLiteral("'tall' is not a valid value of Height"), QStringLiteral("Duplicate name")}));
    EXPECT_EQ(styles.GetList(), (QStringList{QStringLiteral("A"), QString()}));
}

TEST_F(StyleFiles, AStyleSheetHoldsNamedSets)
{
    TzelStyleSheet sheet;
    TzelStyles *a = sheet.Add();
    a->Name = QStringLiteral("Plain");
    a->Add()->SetName(QStringLiteral("Title"));
    TzelStyles *b = sheet.Add();
    b->Name = QStringLiteral("Bold");
    b->Add()->SetName(QStringLiteral("Data"));
    EXPECT_EQ(a->Report(), nullptr);
    EXPECT_EQ(sheet.IndexOf(QStringLiteral("BOLD")), 1);
    EXPECT_EQ(sheet.Find(QStringLiteral("plain")), a);
    EXPECT_EQ(sheet.IndexOf(QStringLiteral("Other")), -1);

    const QByteArray text = toBytes([&](QIODevice *d) { sheet.SaveToStream(d); });
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n<stylesheet>\r\n"
                                "  <style Name=\"Plain\">\r\n    <item Name=\"Title\" "))
        << text.toStdString();
    TzelStyleSheet copy;
    fromBytes(text, [&](QIODevice *d) { copy.LoadFromStream(d); });
    EXPECT_EQ(copy.GetList(), (QStringList{QStringLiteral("Plain"), QStringLiteral("Bold")}));
    EXPECT_EQ(copy.Items(1)->GetList(), QStringList{QStringLiteral("Data")});

    copy.Delete(0);
    EXPECT_EQ(copy.GetList(), QStringList{QStringLiteral("Bold")});
    fromBytes("<?xml version=\"1.0\"?><style Name=\"X\"/>", [&](QIODevice *d) { copy.LoadFromStream(d); });
    EXPECT_EQ(copy.Count(), 0);
}

TEST_F(StyleFiles, TheWizardOffersFourBuiltInLooksUnlessAFileReplacesThem)
{
    TzelStyleSheet sheet;
    QTemporaryDir dir;
    sheet.LoadWizardStyles(dir.path());
    EXPECT_EQ(sheet.GetList(), (QStringList{QStringLiteral("Zelmark"), QStringLiteral("Standard"),
                                            QStringLiteral("Soft gray"), QStringLiteral("Corporate")}));
    const QStringList six{QStringLiteral("Title"),        QStringLiteral("Header"), QStringLiteral("Group header"),
                          QStringLiteral("Data"),         QStringLiteral("Group footer"),
                          QStringLiteral("Header line")};
    for (int i = 0; i < sheet.Count(); ++i)
        EXPECT_EQ(sheet.Items(i)->GetList(), six) << i;

    const TzelStyleItem *title = sheet.Find(QStringLiteral("Zelmark"))->Find(QStringLiteral("Title"));
    EXPECT_EQ(title->Color(), 8421504);
    EXPECT_EQ(title->Font().Color(), 16777215);
    EXPECT_EQ(title->Font().Height(), -16);
    EXPECT_EQ(title->Font().Style(), TzelFontStyles{fsBold});
    const TzelStyleItem *line = sheet.Find(QStringLiteral("Standard"))->Find(QStringLiteral("Header line"));
    EXPECT_EQ(line->Frame().Typ, TzelFrameTypes{ftBottom});
    EXPECT_EQ(line->Frame().Width(), 2);
    EXPECT_EQ(line->Color(), clNone);
    EXPECT_EQ(sheet.Find(QStringLiteral("Corporate"))->Find(QStringLiteral("Group header"))->Color(), 52479);
    EXPECT_EQ(sheet.Find(QStringLiteral("Soft gray"))->Find(QStringLiteral("Group footer"))->Frame().Typ,
              TzelFrameTypes{ftTop});

    zelWriteFile(dir.filePath(QStringLiteral("wizstyle.xml")),
                 "<?xml version=\"1.0\"?><stylesheet><style Name=\"House\"><item Name=\"Title\"/></style>"
                 "</stylesheet>");
    sheet.LoadWizardStyles(dir.path());
    EXPECT_EQ(sheet.GetList(), QStringList{QStringLiteral("House")});
}
