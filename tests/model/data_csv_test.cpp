#include "base/core/zelexception.h"
#include "model/data/zelcsvdataset.h"
#include "model/report/zelreport.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <QDir>
#include <gtest/gtest.h>

namespace {

class CSVDataSet : public ::testing::Test
{
protected:
    // Writes Bytes to a file of the test folder and points the data set at it.
    void use(const QByteArray &bytes)
    {
        path = dir.filePath(QStringLiteral("data.csv"));
        zelWriteFile(path, bytes);
        ds.FileName = path;
        ds.Close();
    }

    // Every record as its values joined by "|".
    QStringList records()
    {
        QStringList fields, rows;
        ds.First();
        ds.GetFieldList(fields);
        rows << fields.join(u'|');
        for (; !ds.Eof(); ds.Next()) {
            QStringList values;
            for (const QString &f : std::as_const(fields))
                values << ds.GetValue(f).ToString();
            rows << values.join(u'|');
        }
        return rows;
    }

    QString openError()
    {
        try {
            ds.Open();
        } catch (const TzelException &e) {
            return e.message();
        }
        return QStringLiteral("no error");
    }

    QTemporaryDir dir;
    QString path;
    TzelCSVDataSet ds;
};

} // namespace

TEST_F(CSVDataSet, ReadsQuotedValuesAcrossLinesAndEveryLineEnd)
{
    struct Case
    {
        QByteArray bytes;
        QStringList expected;
    };
    const Case cases[] = {
        {"Name,City\r\nMüller,Zürich\r\nŁódź Sp.,Kraków\r\n", {"Name|City", "Müller|Zürich", "Łódź Sp.|Kraków"}},
        {"\xEF\xBB\xBFName,Note\n\"Smith, J.\",\"said \"\"hi\"\"\"\n", {"Name|Note", "Smith, J.|said \"hi\""}},
        {"Name,Note\r\"A\",\"two\r\nlines\"\r\rB,\r", {"Name|Note", "A|two\r\nlines", "B|"}},
        {"Name,Note\nA,x\"y\n", {"Name|Note", "A|x\"y"}},
        {"Name\n", {"Name"}},
        {"", {""}},
    };
    for (const Case &c : cases) {
        use(c.bytes);
        EXPECT_EQ(records(), c.expected) << c.bytes.toStdString();
    }
}

TEST_F(CSVDataSet, DelimiterQuoteHeaderAndEncodingAreSettings)
{
    ds.Delimiter = u';';
    ds.Quote = u'\'';
    ds.HeaderRow = false;
    ds.Encoding = QStringLiteral("ISO-8859-1");
    use("'a;b';\xE9t\xE9\n1;2\n");
    EXPECT_EQ(records(), (QStringList{"Field1|Field2", "a;b|été", "1|2"}));
    EXPECT_EQ(ds.RecordCount(), 2);
    EXPECT_EQ(ds.GetFieldType(QStringLiteral("Field1")), fftString);

    ds.Quote = QChar();
    use("\"a\";b\n");
    EXPECT_EQ(records(), (QStringList{"Field1|Field2", "\"a\"|b"}));
}

TEST_F(CSVDataSet, RangesAndTheEndWorkLikeEveryDataSet)
{
    use("N\n1\n2\n3\n4\n");
    ds.RangeEnd = reCount;
    ds.RangeEndCount = 2;
    EXPECT_EQ(records(), (QStringList{"N", "1", "2"}));
    EXPECT_EQ(ds.RecordCount(), 2);
    ds.RangeEndCount = 10; // more than there are
    EXPECT_EQ(records(), (QStringList{"N", "1", "2", "3", "4"}));
    EXPECT_TRUE(ds.GetValue(QStringLiteral("N")).IsNull()); // past the end
}

TEST_F(CSVDataSet, BadFilesGiveAnErrorNamingTheFileAndLine)
{
    use("A,B\n1,2\n\n3\n");
    EXPECT_EQ(openError(), QStringLiteral("Line 4 of \"%1\" has 1 fields where 2 are expected").arg(path));
    use("A,B\n1,2,3\n");
    EXPECT_EQ(openError(), QStringLiteral("Line 2 of \"%1\" has 3 fields where 2 are expected").arg(path));
    use("A,B\n\"multi\nline\",2\n5,\"open\n");
    EXPECT_EQ(openError(), QStringLiteral("A quote opened in line 4 of \"%1\" is never closed").arg(path));
    use("A\n\xFF\xFE\n");
    EXPECT_EQ(openError(), QStringLiteral("\"%1\" is not valid UTF-8 text").arg(path));
    ds.Encoding = QStringLiteral("no-such-encoding");
    EXPECT_EQ(openError(), QStringLiteral("Unknown text encoding \"no-such-encoding\" for \"%1\"").arg(path));
    ds.Encoding.clear();

    ds.FileName = dir.filePath(QStringLiteral("missing.csv"));
    EXPECT_TRUE(openError().startsWith(QStringLiteral("Cannot open file \"%1\": ").arg(ds.FileName)));
    EXPECT_FALSE(ds.Active());

    use("A\n1\n");
    ds.SetName(QStringLiteral("Prices"));
    ds.First();
    try {
        ds.GetValue(QStringLiteral("B"));
        ADD_FAILURE() << "no error";
    } catch (const TzelException &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Field \"B\" not found in data set \"Prices\""));
    }
}

TEST_F(CSVDataSet, ARelativeFileLiesBesideTheTemplateAndTheSettingsAreStored)
{
    FakeDialogService dialogs;
    QDir(dir.path()).mkdir(QStringLiteral("reports"));
    zelWriteFile(dir.filePath(QStringLiteral("reports/prices.csv")), "Item,Price\nTea,4.50\n");

    TzelReport report;
    auto *csv = new TzelCSVDataSet(&report);
    csv->SetName(QStringLiteral("Prices"));
    csv->FileName = QStringLiteral("prices.csv");
    csv->Delimiter = u'\t';
    csv->HeaderRow = false;
    csv->Encoding = QStringLiteral("windows-1252");
    const QString templatePath = dir.filePath(QStringLiteral("reports/prices.zt3"));
    report.SaveToFile(templatePath);
    EXPECT_TRUE(zelReadFile(templatePath)
                    .contains("<TzelCSVDataSet Name=\"Prices\" UserName=\"Prices\" FileName=\"prices.csv\" "
                              "Delimiter=\"9\" HeaderRow=\"False\" Encoding=\"windows-1252\" PropData="));

    // The template loads wherever the current folder is, and the file opens only when used.
    TzelReport copy;
    ASSERT_TRUE(copy.LoadFromFile(templatePath));
    auto *loaded = dynamic_cast<TzelCSVDataSet *>(copy.FindObject(QStringLiteral("Prices")));
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(loaded->Active());
    EXPECT_EQ(loaded->Delimiter, QChar(u'\t'));
    loaded->Delimiter = u',';
    loaded->HeaderRow = true;
    loaded->First();
    EXPECT_EQ(loaded->GetValue(QStringLiteral("price")).ToString(), QStringLiteral("4.50"));
}
