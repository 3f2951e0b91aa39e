#include "base/resources/zelresources.h"
#include "base/xml/zelinvalidxmlexception.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Block(const QByteArray &children, const QByteArray &root = "Resources")
{
    return QByteArray("<?xml version=\"1.1\" encoding=\"utf-8\"?>\n<") + root +
           " CodePage=\"1250\">\n" + children + "</" + root + ">\n";
}

QString ExeDir()
{
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

} // namespace

TEST(ResourcesBuiltin, MessageRowsGiveTheirTexts)
{
    // Other parts of the system quote these rows verbatim.
    const char *const rows[][2] = {
        {"mbConfirm", "Confirm"},
        {"mbError", "Error"},
        {"mbInfo", "Information"},
        {"xrCantFindClass", "Cannot find class"},
        {"clDSNotIncl", "(dataset is not included in Report.DataSets)"},
        {"clUnknownVar", "Unknown variable or datafield:"},
        {"clScrError", "Script error at %s: %s"},
        {"clDSNotExist", "Dataset \"%s\" does not exist"},
        {"clErrors", "The following error(s) have occured:"},
        {"clExprError", "Error in expression"},
        {"clErrorInExp", "Error in Calc expression:"},
        {"clDecompressError", "Stream decompress error"},
        {"clStrNotFound", "Text not found"},
        {"clCantRen", "Could not rename %s, it was introduced in the ancestor report"},
        {"clCirRefNotAllow", "Circular child reference is not allowed"},
        {"clDupName", "Duplicate name"},
        {"clNoPrinters", "No printers installed on your system"},
        {"clPageOf", "Page %d of %d"},
        {"clFirstPass", "First pass: page "},
        {"clSaving", "Saving file..."},
        {"clLoading", "Loading file..."},
        {"clPrinting", "Printing page"},
        {"enUnconnHeader", "Unconnected header/footer"},
        {"enUnconnGroup", "No data band for the group"},
        {"enUnconnGFooter", "No group header for"},
        {"enBandPos", "Incorrect band position:"},
        {"dbNotConn", "DataSet %s is not connected to data"},
        {"dbFldNotFound", "Field not found"},
        {"erInvalidImg", "Invalid image format"},
        {"prRunningFirst", "First pass"},
        {"prRunning", "Preparing page %d"},
        {"prPrinting", "Printing page %d"},
        {"prExporting", "Exporting page %d"},
        {"prDefault", "Default"},
        {"prInvProp", "Invalid property value"},
        {"prDupl", "Duplicate name"},
        {"prNotAssigned", "(Not assigned)"},
        {"dsCantLoad", "Couldn't load file"},
        {"dsSavePreviewChanges", "Save changes to preview page?"},
        {"dsCantFindProc", "Could not locate the main proc"},
        {"dsClearScript", "This will clear all code. Do you want to continue?"},
        {"dsTextNotFound", "Text '%s' not found"},
        {"vaDupName", "Duplicate name"},
    };
    const TzelResources &res = zelResources();
    for (const auto &row : rows)
        EXPECT_EQ(res.Get(QString::fromUtf8(row[0])), QString::fromUtf8(row[1])) << row[0];
}

TEST(ResourcesBuiltin, LookupIgnoresCaseAndDropsTheMark)
{
    const TzelResources &res = zelResources();
    EXPECT_EQ(res.Get(QStringLiteral("mbError")), QStringLiteral("Error"));
    EXPECT_EQ(res.Get(QStringLiteral("MBERROR")), QStringLiteral("Error"));
    EXPECT_EQ(res.Get(QStringLiteral("poDirect")), QStringLiteral("Direct (1-9)"));
    EXPECT_EQ(res.Get(QStringLiteral("noSuchKey")), QStringLiteral("noSuchKey"));
    // A few messages are keyed by their own text and live in no table.
    EXPECT_EQ(res.Get(QStringLiteral("Invalid password")), QStringLiteral("Invalid password"));
    EXPECT_EQ(res.Get(QStringLiteral("clDecryptError")), QStringLiteral("clDecryptError"));
    EXPECT_EQ(res.Get(1), QStringLiteral("OK"));
    EXPECT_EQ(res.CodePage(), 1252);
}

TEST(ResourcesBuiltin, AllThreeBlocksAreLoaded)
{
    const TzelResources &res = zelResources();
    EXPECT_EQ(res.Get(163), QStringLiteral("File"));
    EXPECT_EQ(res.Get(QStringLiteral("ReportTitle")), QStringLiteral("Report Title"));
    EXPECT_NE(res.Get(QStringLiteral("propAlign")), QStringLiteral("propAlign"));
    EXPECT_NE(res.Get(QStringLiteral("propActive.TzelHighlight")), QStringLiteral("propActive.TzelHighlight"));
    EXPECT_EQ(res.Get(2000), QStringLiteral("Object Inspector"));
    EXPECT_EQ(res.Get(QStringLiteral("wzStd")), QStringLiteral("Standard Report Wizard"));
    for (const char *key : {"SLangNotFound", "SInvalidLanguage", "SIdRedeclared", "SUnknownType",
                            "SIncompatibleTypes", "SIdUndeclared", "SClassRequired", "SIndexRequired",
                            "SStringError", "SClassError", "SArrayRequired", "SVarRequired",
                            "SNotEnoughParams", "STooManyParams", "SLeftCantAssigned", "SForError",
                            "SEventError"})
        EXPECT_NE(res.Get(QString::fromLatin1(key)), QString::fromLatin1(key));
}

TEST(ResourcesBuiltin, ScriptTemplatesHoldOneLinePerLanguage)
{
    const TzelResources &res = zelResources();
    EXPECT_EQ(res.Get(QStringLiteral("PascalScript")),
              QStringLiteral("proc=\"procedure\" begin=\"begin\" endproc=\"end;\" end=\"end\" "
                             "lastend=\"end.\" openquote=\"{\" closequote=\"}\""));
    EXPECT_EQ(res.Get(QStringLiteral("TzelKeyPressEvent")),
              QStringLiteral("PascalScript=(Sender: TzelComponent; var Key: Char);\r\n"
                             "C++Script=(TzelComponent Sender, char &Key)\r\n"
                             "BasicScript=(Sender, byref Key)\r\n"
                             "JScript=(Sender, &Key)"));
    const QStringList languages = {QStringLiteral("PascalScript="), QStringLiteral("C++Script="),
                                   QStringLiteral("BasicScript="), QStringLiteral("JScript=")};
    for (const char *event : {"TzelNotifyEvent", "TzelCloseQueryEvent", "TzelKeyEvent", "TzelKeyPressEvent",
                              "TzelMouseEvent", "TzelMouseMoveEvent", "TzelPreviewClickEvent",
                              "TzelMouseEnterViewEvent", "TzelMouseLeaveViewEvent", "TzelRunDialogsEvent",
                              "TzelContentChangedEvent"}) {
        const QStringList lines = res.Get(QString::fromLatin1(event)).split(QStringLiteral("\r\n"));
        ASSERT_EQ(lines.size(), 4) << event;
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(lines[i].startsWith(languages[i] + u'('))
                << event << " " << qPrintable(lines[i]);
    }
}

TEST(Resources, AddReplacesWhateverTheCase)
{
    TzelResources res;
    res.Add(QStringLiteral("Caption"), QStringLiteral("First"));
    res.Add(QStringLiteral("CAPTION"), QStringLiteral("Second"));
    EXPECT_EQ(res.Get(QStringLiteral("caption")), QStringLiteral("Second"));
    res.Add(QStringLiteral("7"), QStringLiteral("!Seven"));
    EXPECT_EQ(res.Get(7), QStringLiteral("Seven"));
    // Only one mark is removed, also from a key that is its own text.
    EXPECT_EQ(res.Get(QStringLiteral("!!raw")), QStringLiteral("!raw"));
    res.Clear();
    EXPECT_EQ(res.Get(QStringLiteral("Caption")), QStringLiteral("Caption"));
}

TEST(Resources, AddStringsTakesOnlyCompleteLines)
{
    TzelResources res;
    res.AddStrings(QStringLiteral("a=1\r\n=2\nb=\rc=x=y\nplain"));
    EXPECT_EQ(res.Get(QStringLiteral("a")), QStringLiteral("1"));
    EXPECT_EQ(res.Get(QStringLiteral("b")), QStringLiteral("b"));
    EXPECT_EQ(res.Get(QString()), QString());
    EXPECT_EQ(res.Get(QStringLiteral("c")), QStringLiteral("x=y"));
    EXPECT_EQ(res.Get(QStringLiteral("plain")), QStringLiteral("plain"));
}

TEST(Resources, LaterBlocksRedefineKeys)
{
    TzelResources res;
    res.AddXML(Block("<StrRes Name=\"1\" Text=\"OK\"/>\n"));
    ASSERT_EQ(res.Get(1), QStringLiteral("OK"));
    res.AddXML(Block("<StrRes Name=\"1\" Text=\"Accept\"/>\n<StrRes Name=\"x\" Text=\"a\"/>\n"
                     "<StrRes Name=\"X\" Text=\"b\"/>\n"));
    EXPECT_EQ(res.Get(1), QStringLiteral("Accept"));
    EXPECT_EQ(res.Get(QStringLiteral("x")), QStringLiteral("b"));
    EXPECT_EQ(res.CodePage(), 1250);
}

TEST(Resources, BlockElementsMatchWithExactCase)
{
    TzelResources res;
    res.AddXML(Block("<StrRes Name=\"q\" Text=\"&#34;a&#38;b&#60;c&#62;&#13;&#10;\"/>\n"
                     "<strres Name=\"lower\" Text=\"x\"/>\n"
                     "<Other Name=\"other\" Text=\"x\"/>\n"));
    EXPECT_EQ(res.Get(QStringLiteral("q")), QStringLiteral("\"a&b<c>\r\n"));
    EXPECT_EQ(res.Get(QStringLiteral("lower")), QStringLiteral("lower"));
    EXPECT_EQ(res.Get(QStringLiteral("other")), QStringLiteral("other"));

    res.AddXML(Block("<StrRes Name=\"q\" Text=\"changed\"/>\n", "resources"));
    EXPECT_EQ(res.Get(QStringLiteral("q")), QStringLiteral("\"a&b<c>\r\n"));
    EXPECT_EQ(res.CodePage(), 1250);
}

TEST(Resources, LanguageFileWithAnotherRootChangesNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("other.zlc"));
    zelWriteFile(file, Block("<StrRes Name=\"mbError\" Text=\"Fehler\"/>\n", "Strings"));

    TzelResources res;
    res.Add(QStringLiteral("mbError"), QStringLiteral("Error"));
    res.LoadFromFile(file);
    res.LoadFromFile(dir.filePath(QStringLiteral("missing.zlc")));
    EXPECT_EQ(res.Get(QStringLiteral("mbError")), QStringLiteral("Error"));
    EXPECT_EQ(res.CodePage(), 1252);
}

TEST(Resources, MalformedBlockRaises)
{
    TzelResources res;
    EXPECT_THROW(res.AddXML(Block("<StrRes Name=\"a\" Text=\"b\">\n")), TzelInvalidXMLException);
    EXPECT_THROW(res.AddXML(QByteArray("<Resources><StrRes Name=\"a\" Text=\"b\"/></Resources>")),
                 TzelInvalidXMLException);
}

TEST(Resources, OldFormatTextsAreUtf8)
{
    // "é" and "€" in UTF-8; the old 8-bit reading turns each byte into a character.
    const QByteArray utf8 = QStringLiteral("caf\u00e9 \u20ac").toUtf8();
    TzelResources res;
    res.AddXML("<?xml version=\"1.0\"?>\n<Resources CodePage=\"1251\">"
               "<StrRes Name=\"t\" Text=\"" + utf8 + "&#34;\"/>"
               "<StrRes Name=\"plain\" Text=\"na\xefve\"/></Resources>");
    EXPECT_EQ(res.Get(QStringLiteral("t")), QStringLiteral("caf\u00e9 \u20ac\""));
    // Bytes that are no UTF-8 keep the 8-bit reading.
    EXPECT_EQ(res.Get(QStringLiteral("plain")), QStringLiteral("na\u00efve"));
    EXPECT_EQ(res.CodePage(), 1251);

    res.AddXML(Block("<StrRes Name=\"t\" Text=\"" + utf8 + "\"/>"));
    EXPECT_EQ(res.Get(QStringLiteral("t")), QStringLiteral("caf\u00e9 \u20ac"));
}

TEST(Resources, HooksRunAfterEveryLoad)
{
    TzelResources res;
    QStringList seen;
    res.AddKVResourcesHook([&seen](const TzelResources &r) { seen << r.Get(QStringLiteral("SForError")); });
    res.AddXML(Block("<StrRes Name=\"SForError\" Text=\"loop\"/>\n"));
    res.LoadFromFile(QStringLiteral("/nonexistent/lang.zlc"));
    res.UpdateKVResources();
    EXPECT_EQ(seen, QStringList({QStringLiteral("SForError"), QStringLiteral("loop"), QStringLiteral("loop")}));
}

TEST(Resources, ImagesPPIStepsOf24)
{
    TzelResources res;
    EXPECT_EQ(res.ImagesPPI(), 96);
    const int generation = res.ImagesGeneration();
    res.SetImagesPPI(130);
    EXPECT_EQ(res.ImagesPPI(), 120);
    EXPECT_EQ(res.ImagesGeneration(), generation + 1);
    res.SetImagesPPI(143);
    EXPECT_EQ(res.ImagesGeneration(), generation + 1);
    res.SetImagesPPI(144);
    EXPECT_EQ(res.ImagesPPI(), 144);
    EXPECT_EQ(res.ImagesGeneration(), generation + 2);
}

TEST(Resources, LanguagesAreListedFromTheExecutableFolder)
{
    const QDir exe(ExeDir());
    const QStringList names = {QStringLiteral("qzRESTEST.zlc"), QStringLiteral("aqzrestest.ZLC"),
                               QStringLiteral("qzrestest.txt")};
    struct Cleanup
    {
        QDir dir;
        QStringList files;
        ~Cleanup()
        {
            for (const QString &f : files)
                QFile::remove(dir.filePath(f));
        }
    } cleanup{exe, names};
    for (const QString &name : names)
        zelWriteFile(exe.filePath(name), Block(""));

    TzelResources res;
    const QStringList &langs = res.Languages();
    const qsizetype a = langs.indexOf(QStringLiteral("Aqzrestest"));
    const qsizetype q = langs.indexOf(QStringLiteral("Qzrestest"));
    ASSERT_GE(a, 0);
    ASSERT_GE(q, 0);
    EXPECT_LT(a, q);
    EXPECT_FALSE(langs.contains(QStringLiteral("Qzrestest.txt"), Qt::CaseInsensitive));
    EXPECT_EQ(QFileInfo(res.LanguageFile(QStringLiteral("QZRESTEST"))).fileName(), names[0]);
    EXPECT_TRUE(res.LanguageFile(QStringLiteral("Klingon")).isEmpty());
}
