#include "base/core/zelexception.h"
#include "model/data/zelcsvdataset.h"
#include "model/report/zelreport.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

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
    // A NUL would cut the name short and name another file.
    ds.FileName = path + QChar(0) + QStringLiteral(".other");
    EXPECT_EQ(openError(), QStringLiteral("Cannot open file \"%1\": the name holds a NUL character").arg(ds.FileName));

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

TEST_F(CSVDataSet, RecordsAreReadAgainFromWhereTheyStartInAnyOrder)
{
    // Multi-byte characters, a byte order mark, quoted line breaks and a file
    // in another encoding (read through a UTF-8 copy) all keep the offsets right.
    const QString expected[] = {QStringLiteral("Łódź"), QStringLiteral("two\nlines"), QStringLiteral("€ 5"),
                                QStringLiteral("𝄞 clef")};
    const QByteArray utf8 = "\xEF\xBB\xBFName,N\nŁódź,1\n\"two\nlines\",2\n\n€ 5,3\n𝄞 clef,4";
    QStringDecoder fromUtf8(QStringConverter::Utf8);
    const QString text = fromUtf8.decode(utf8);
    QStringEncoder toUtf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    for (const auto &[encoding, bytes] : {std::pair{QString(), utf8}, {QStringLiteral("UTF-16LE"), QByteArray(toUtf16.encode(text))}}) {
        SCOPED_TRACE(encoding.toStdString());
        ds.Encoding = encoding;
        use(bytes);
        ds.First();
        ASSERT_EQ(ds.RecordCount(), 4);
        for (int row : {3, 0, 2, 1, 3}) {
            ds.First();
            for (int i = 0; i < row; ++i)
                ds.Next();
            EXPECT_EQ(ds.GetValue(QStringLiteral("Name")).ToString(), expected[row]);
            EXPECT_EQ(ds.GetValue(QStringLiteral("N")).ToString(), QString::number(row + 1));
        }
    }
}

TEST_F(CSVDataSet, LimitsStopHugeLinesValuesAndRecordsWithTheLine)
{
    ds.Limits.Line = 20;
    ds.Limits.Value = 10;
    ds.Limits.Record = 30;
    ds.Limits.Values = 3;
    struct Case
    {
        QByteArray bytes;
        QString error;
    };
    const Case cases[] = {
        {"A,B,C\n1,2,3\n1234567890,1234567890,1\n", QStringLiteral("Line 3 of \"%1\" is longer than 20 characters")},
        {"A,B\n1,\"" + QByteArray(11, 'y') + "\"\n",
         QStringLiteral("A value of the record in line 2 of \"%1\" is longer than 10 characters")},
        {"A,B,C\n\"12345678\n\",\"12345678\n\",\"12345678\n\"\n",
         QStringLiteral("The record in line 2 of \"%1\" is longer than 30 characters")},
        {"A,B\n1,2,3,4\n", QStringLiteral("The record in line 2 of \"%1\" has more than 3 fields")},
    };
    for (const Case &c : cases) {
        use(c.bytes);
        EXPECT_EQ(openError(), c.error.arg(path));
    }
}

TEST_F(CSVDataSet, OnlyRegularFilesAreReadUnlessTheProgramAllowsAPipe)
{
    ds.FileName = QStringLiteral("/dev/zero");
    EXPECT_EQ(openError(), QStringLiteral("\"/dev/zero\" is not a regular file"));
    ds.FileName = dir.path();
    EXPECT_EQ(openError(), QStringLiteral("\"%1\" is not a regular file").arg(dir.path()));

    const QString fifo = dir.filePath(QStringLiteral("pipe.csv"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ds.FileName = fifo;
    EXPECT_EQ(openError(),
              QStringLiteral("\"%1\" is a named pipe, which only the program running the report can allow").arg(fifo));

    ds.AllowPipe = true;
    std::thread writer([&] { zelWriteFile(fifo, "A,B\n1,2\n3,4\n"); });
    const QStringList rows = records();
    writer.join();
    EXPECT_EQ(rows, (QStringList{"A|B", "1|2", "3|4"}));
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
