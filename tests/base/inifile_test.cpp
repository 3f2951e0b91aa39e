#include "base/core/zelexception.h"
#include "base/core/zelinifile.h"
#include "support/testsupport.h"

#include <QFile>
#include <gtest/gtest.h>

// INI files as reports and their scripts keep settings in: what a user wrote
// by hand (comments, spacing, odd lines) survives a program's changes.

namespace {

const char *const kHandWritten = "; settings of the sales report\n"
                                 "\n"
                                 "[Database]\n"
                                 "Server = db.local\n"
                                 "# the port is the default one\n"
                                 "Port=5432\n"
                                 "\n"
                                 "[Paths]\n"
                                 "Output=/srv/out;/srv/archive\n"
                                 "Fonts=\"C:\\Fonts\" %HOME%\n";

TzelIniFile handWritten()
{
    TzelIniFile ini;
    ini.SetText(QString::fromUtf8(kHandWritten));
    return ini;
}

} // namespace

TEST(IniFile, TextComesBackAsWrittenWithOnlyTheChangesMade)
{
    TzelIniFile ini = handWritten();
    EXPECT_EQ(ini.Text(), QString::fromUtf8(kHandWritten));

    ini.WriteString(QStringLiteral("database"), QStringLiteral("PORT"), QStringLiteral("6543"));
    ini.WriteString(QStringLiteral("Database"), QStringLiteral("User"), QStringLiteral("report"));
    ini.WriteString(QStringLiteral("Paths"), QStringLiteral("Output"), QStringLiteral("/srv/out;/srv/archive"));
    ini.WriteString(QStringLiteral("Printing"), QStringLiteral("Copies"), QStringLiteral("2"));
    EXPECT_EQ(ini.Text(), QStringLiteral("; settings of the sales report\n"
                                         "\n"
                                         "[Database]\n"
                                         "Server = db.local\n"
                                         "# the port is the default one\n"
                                         "Port=6543\n"
                                         "User=report\n"
                                         "\n"
                                         "[Paths]\n"
                                         "Output=/srv/out;/srv/archive\n"
                                         "Fonts=\"C:\\Fonts\" %HOME%\n"
                                         "[Printing]\n"
                                         "Copies=2\n"));
}

TEST(IniFile, ReadsIgnoreCaseAndKeepValuesRaw)
{
    const TzelIniFile ini = handWritten();
    struct Case
    {
        const char *Section;
        const char *Key;
        const char *Value;
    };
    const Case cases[] = {
        {"Database", "Server", "db.local"},
        {"DATABASE", "server", "db.local"},
        {"database", "PORT", "5432"},
        {"Paths", "Output", "/srv/out;/srv/archive"},
        {"paths", "fonts", "\"C:\\Fonts\" %HOME%"},
        {"Paths", "Server", "<none>"},
        {"Missing", "Server", "<none>"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ini.ReadString(QString::fromUtf8(c.Section), QString::fromUtf8(c.Key), QStringLiteral("<none>")),
                  QString::fromUtf8(c.Value))
            << c.Section << "/" << c.Key;

    EXPECT_EQ(ini.ReadSections(), (QStringList{QStringLiteral("Database"), QStringLiteral("Paths")}));
    EXPECT_EQ(ini.ReadSection(QStringLiteral("database")), (QStringList{QStringLiteral("Server"), QStringLiteral("Port")}));
    EXPECT_EQ(ini.ReadSectionValues(QStringLiteral("Database")),
              (QStringList{QStringLiteral("Server=db.local"), QStringLiteral("Port=5432")}));
    EXPECT_TRUE(ini.SectionExists(QStringLiteral("PATHS")));
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("paths"), QStringLiteral("OUTPUT")));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Paths"), QStringLiteral("Port")));
}

TEST(IniFile, DeletingKeysAndSectionsTakesTheirLinesOnly)
{
    TzelIniFile ini = handWritten();
    ini.DeleteKey(QStringLiteral("DATABASE"), QStringLiteral("server"));
    ini.DeleteKey(QStringLiteral("Database"), QStringLiteral("NoSuchKey"));
    ini.EraseSection(QStringLiteral("paths"));
    EXPECT_EQ(ini.Text(), QStringLiteral("; settings of the sales report\n"
                                         "\n"
                                         "[Database]\n"
                                         "# the port is the default one\n"
                                         "Port=5432\n"
                                         "\n"));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("Paths")));

    ini.Clear();
    EXPECT_EQ(ini.Text(), QString());
    EXPECT_TRUE(ini.ReadSections().isEmpty());
}

TEST(IniFile, OddLinesAreKeptAndNeverTakenForKeys)
{
    TzelIniFile ini;
    ini.SetText(QStringLiteral("Orphan=before any section\r\n"
                               "[A]\r\n"
                               "just some words\r\n"
                               "=no name\r\n"
                               "; Commented=1\r\n"
                               "[unclosed\r\n"
                               "Key=1=2\r\n"
                               "[a]\r\n"
                               "Second=2"));
    EXPECT_EQ(ini.ReadSections(), QStringList{QStringLiteral("A")}) << "a repeated header continues the section";
    EXPECT_EQ(ini.ReadSectionValues(QStringLiteral("A")),
              (QStringList{QStringLiteral("Key=1=2"), QStringLiteral("Second=2")}));
    EXPECT_FALSE(ini.ValueExists(QString(), QStringLiteral("Orphan")));
    EXPECT_EQ(ini.Text(), QStringLiteral("Orphan=before any section\n"
                                         "[A]\n"
                                         "just some words\n"
                                         "=no name\n"
                                         "; Commented=1\n"
                                         "[unclosed\n"
                                         "Key=1=2\n"
                                         "Second=2\n"));
}

TEST(IniFile, FilesAreReadAndUpdatedInPlace)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("report.ini"));
    zelWriteFile(path, QByteArray("\xEF\xBB\xBF; kept\n[Main]\nTitle=Sal\xC3\xA9s\n"));

    TzelIniFile ini(path);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Main"), QStringLiteral("Title")), QStringLiteral("Sal\u00e9s"));
    ini.WriteString(QStringLiteral("Main"), QStringLiteral("Pages"), QStringLiteral("3"));
    ini.UpdateFile();
    EXPECT_EQ(zelReadFile(path), QByteArray("; kept\n[Main]\nTitle=Sal\xC3\xA9s\nPages=3\n"));

    // A file that is not there yet is an empty one, written on the first update.
    const QString fresh = dir.filePath(QStringLiteral("new.ini"));
    TzelIniFile created(fresh);
    EXPECT_TRUE(created.ReadSections().isEmpty());
    created.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("V"));
    created.UpdateFile();
    EXPECT_EQ(zelReadFile(fresh), QByteArray("[S]\nK=V\n"));

    TzelIniFile other;
    try {
        other.LoadFromFile(dir.filePath(QStringLiteral("missing.ini")));
        ADD_FAILURE() << "a missing file was read";
    } catch (const TzelFileError &e) {
        EXPECT_TRUE(e.message().contains(dir.filePath(QStringLiteral("missing.ini")))) << e.message().toStdString();
    }
}

TEST(IniFile, AFailingUpdateLeavesTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("locked.ini"));
    zelWriteFile(path, "[Old]\nKey=1\n");
    TzelIniFile ini(path);
    ini.EraseSection(QStringLiteral("Old"));
    ini.WriteString(QStringLiteral("New"), QStringLiteral("Key"), QStringLiteral("2"));

    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther));
    EXPECT_THROW(ini.UpdateFile(), TzelFileError);
    EXPECT_EQ(zelReadFile(path), "[Old]\nKey=1\n");

    TzelIniFile nameless;
    nameless.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("V"));
    EXPECT_THROW(nameless.UpdateFile(), TzelFileError);
}
