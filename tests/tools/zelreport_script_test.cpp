#include "support/testsupport.h"

#include "model/page/zelreportpage.h"
#include "model/report/zelreport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// zelreport script: runs a program, or with --tree prints its program tree;
// ShowMessage on standard output, one error line with its position, and the
// exit status.

TEST(ZelreportScript, PrintsTheTreeOrTheFirstError)
{
    QTemporaryDir dir;
    struct Case
    {
        const char *What;
        QByteArray Source;
        const char *Language;
        int Status;
        const char *Out; // a part of standard output
        const char *Err; // standard error, whole
    };
    const Case cases[] = {
        {"a program", "begin\r\n  x := 1\r\nend.", "PascalScript", 0, "<assignstmt pos=\"2:3\">", ""},
        {"a syntax error", "begin\r\n  x := \r\nend.", "PascalScript", 1, "", "ERROR at 3:1: Expression expected\n"},
        {"another language", "x = 1\r\n", "BasicScript", 0, "<number text=\"1\" pos=\"1:6\"/>", ""},
        {"not UTF-8", "x = 1\r\ny = \"\xff\"\r\n", "BasicScript", 1, "",
         "ERROR at 2:6: The script is not valid UTF-8\n"},
        {"an unknown language", "x", "Cobol", 2, "", "zelreport: Language 'Cobol' not found\n"},
    };
    for (const Case &c : cases) {
        const QString file = dir.filePath(QStringLiteral("script.txt"));
        zelWriteFile(file, c.Source);
        const ZelToolRun r = zelreport({QStringLiteral("script"), file, QStringLiteral("--language"),
                                        QString::fromLatin1(c.Language), QStringLiteral("--tree")});
        EXPECT_EQ(r.status, c.Status) << c.What << ": " << qPrintable(r.err);
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(c.Out))) << c.What << ": " << qPrintable(r.out);
        EXPECT_EQ(r.err.toStdString(), c.Err) << c.What;
    }
}

TEST(ZelreportScript, RunsTheProgram)
{
    QTemporaryDir dir;
    struct Case
    {
        const char *What;
        QByteArray Source;
        const char *Language;
        int Status;
        const char *Out; // standard output, whole
        const char *Err; // standard error, whole
    };
    const Case cases[] = {
        {"messages", "begin\n  ShowMessage('one');\n  ShowMessage(2 + 3)\nend.", "PascalScript", 0, "one\n5\n", ""},
        {"a compile error", "begin\n  x := 1\nend.", "PascalScript", 1, "",
         "ERROR at 2:3: Undeclared identifier: 'x'\n"},
        {"a run-time error in a procedure", "Sub Fail(d)\n  ShowMessage(1 \\ d)\nEnd Sub\nShowMessage(\"a\")\nFail(0)\n",
         "BasicScript", 1, "a\n", "ERROR at 2:3: Division by zero\n"},
        {"an unknown language", "x", "Cobol", 2, "", "zelreport: Language 'Cobol' not found\n"},
    };
    for (const Case &c : cases) {
        const QString file = dir.filePath(QStringLiteral("program.txt"));
        zelWriteFile(file, c.Source);
        const ZelToolRun r =
            zelreport({QStringLiteral("script"), file, QStringLiteral("--language"), QString::fromLatin1(c.Language)});
        EXPECT_EQ(r.status, c.Status) << c.What << ": " << qPrintable(r.err);
        EXPECT_EQ(r.out.toStdString(), c.Out) << c.What;
        EXPECT_EQ(r.err.toStdString(), c.Err) << c.What;
    }
}

TEST(ZelreportScript, RestrictedRunsRefuseWhatTouchesTheSystem)
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program.txt"));
    zelWriteFile(program, "begin\n  ShowMessage('hello')\nend.");
    ZelToolRun r = zelreport({QStringLiteral("script"), program, QStringLiteral("--language"),
                              QStringLiteral("PascalScript"), QStringLiteral("--restricted")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.toStdString(), "");
    EXPECT_EQ(r.err.toStdString(), "ERROR at 2:3: ShowMessage is not allowed in restricted mode\n");

    // A template whose script saves a copy of itself: trusted, it does.
    const QString copy = dir.filePath(QStringLiteral("copy.zt3"));
    const QString report = dir.filePath(QStringLiteral("report.zt3"));
    {
        TzelReport source;
        (new TzelReportPage(&source))->SetName(QStringLiteral("Page1"));
        source.ScriptText = QStringList{QStringLiteral("begin Report.SaveToFile('%1') end.").arg(copy)};
        source.SaveToFile(report);
    }
    r = zelreport({QStringLiteral("text"), report, QStringLiteral("--restricted")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("TzelReport.SaveToFile is not allowed in restricted mode")))
        << qPrintable(r.err);
    EXPECT_FALSE(QFile::exists(copy));
    r = zelreport({QStringLiteral("text"), report});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_TRUE(QFile::exists(copy));
}
