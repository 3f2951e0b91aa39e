#include "base/core/zelcodepage.h"
#include "base/core/zelexception.h"
#include "base/xml/zelinvalidxmlexception.h"
#include "base/xml/zelxmldocument.h"
#include "base/xml/zelxmlitem.h"
#include "base/xml/zelxmlreader.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray kHeader = R"(<?xml version="1.0" encoding="utf-8" standalone="no"?>)";

std::string str(const QString &s)
{
    return s.toStdString();
}

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

QByteArray saved(TzelXMLDocument &doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    doc.SaveToStream(&buffer);
    return buffer.data();
}

void load(TzelXMLDocument &doc, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    doc.LoadFromStream(&buffer);
}

// A tree of every shape the writer knows: attributes, values, empty
// elements, non-ASCII text and unloadable elements.
void buildSample(TzelXMLItem *root, int pages, int objects)
{
    root->SetName(u8("preparedreport"));
    root->SetProp(u8("Version"), u8("6.9"));
    for (int p = 0; p < pages; ++p) {
        TzelXMLItem *page = root->Add(u8("page%1").arg(p));
        page->SetUnloadable(p >= 1);
        page->SetProp(u8("Width"), QString::number(794 + p));
        for (int o = 0; o < objects; ++o) {
            TzelXMLItem *obj = page->Add(u8("m%1").arg(o));
            obj->SetProp(u8("l"), QString::number(o * 1.5));
            obj->SetProp(u8("t"), QString::number(p * 100 + o));
            obj->SetProp(u8("Text"), u8("Zeile \"%1\" <b>&</b> ü€\r\nnext").arg(o));
            if (o % 3 == 0)
                obj->Add(u8("font"))->SetProp(u8("Name"), u8("Arial"));
        }
    }
}

} // namespace

TEST(XmlDocument, WritesSingleLineOrIndented)
{
    TzelXMLDocument doc;
    TzelXMLItem *root = doc.Root();
    root->SetName(u8("a"));
    root->SetProp(u8("x"), u8("1"));
    root->Add(u8("b"));
    root->Add(u8("c"))->SetValue(u8("v<ü>"));
    TzelXMLItem *d = root->Add(u8("d"));
    d->SetText(u8(R"( y="2")"));
    d->Add(u8("e"))->SetUnloadable(true);

    EXPECT_EQ(saved(doc), kHeader + R"(<a x="1"><b/><c>v<ü></c><d y="2"><e  ld="0"/></d></a>)");

    doc.SetAutoIndent(true);
    EXPECT_EQ(saved(doc), kHeader + "\r\n"
                              "<a x=\"1\">\r\n"
                              "  <b/>\r\n"
                              "  <c>v<ü></c>\r\n"
                              "  <d y=\"2\">\r\n"
                              "    <e  ld=\"0\"/>\r\n"
                              "  </d>\r\n"
                              "</a>\r\n");
}

TEST(XmlDocument, RoundTripKeepsAttributesButNotValues)
{
    TzelXMLDocument doc;
    doc.Root()->SetName(u8("root"));
    const QString tricky = u8("\"q\" <lt> >gt & amp\r\nCR LF é 漢 😀");
    TzelXMLItem *child = doc.Root()->Add(u8("child"));
    child->SetProp(u8("Text"), tricky);
    child->SetProp(u8("Quot"), u8("a&quot;b"));
    child->SetValue(u8("content"));
    const QByteArray bytes = saved(doc);
    EXPECT_TRUE(bytes.contains("Text=\"&#34;q&#34; &#60;lt&#62; &#62;gt &#38; amp&#13;&#10;CR LF"));

    TzelXMLDocument back;
    load(back, bytes);
    EXPECT_FALSE(back.OldVersion());
    ASSERT_EQ(back.Root()->Count(), 1);
    TzelXMLItem *read = back.Root()->Items(0);
    EXPECT_EQ(read->Prop(u8("text")), tricky);
    EXPECT_EQ(str(read->Prop(u8("quot"))), "a\"b");
    EXPECT_TRUE(read->Value().isEmpty());
    EXPECT_EQ(saved(back), QByteArray(bytes).replace(">content</child>", "/>"));
}

TEST(XmlDocument, LargeDocumentRoundTripsByteForByte)
{
    // Tags of every length fall across the reader's block boundaries.
    TzelXMLDocument doc;
    buildSample(doc.Root(), 6, 400);
    for (int i = 1; i <= 50; ++i)
        doc.Root()->Items(0)->Add(u8("pad"))->SetProp(u8("v"), QString(i * 1373 % 70000, u8("ä")[0]));
    doc.Root()->Add(u8("huge"))->SetProp(u8("Data"), QString(3 << 20, u'x'));
    for (bool indent : {false, true}) {
        doc.SetAutoIndent(indent);
        const QByteArray bytes = saved(doc);
        TzelXMLDocument back;
        back.SetAutoIndent(indent);
        load(back, bytes);
        ASSERT_EQ(back.Root()->Count(), 7);
        EXPECT_EQ(back.Root()->Items(6)->Prop(u8("data")).size(), 3 << 20);
        // Unloadable elements come back as ordinary ones without partial loading.
        EXPECT_FALSE(back.Root()->Items(2)->Unloadable());
        for (int p = 0; p < 6; ++p)
            back.Root()->Items(p)->SetUnloadable(p >= 1);
        EXPECT_TRUE(saved(back) == bytes) << "indent " << indent;
    }
}

TEST(XmlDocument, OldFormatUsesTheSystemCodePage)
{
    const QByteArray oldFile = "<?xml version=\"1.0\"?><a v=\"caf\xE9\"/>";
    TzelXMLDocument doc;
    load(doc, oldFile);
    EXPECT_TRUE(doc.OldVersion());
    EXPECT_EQ(str(doc.Root()->Prop(u8("v"))), "café");

    const QByteArray saved1252 = zelSystemCodePage();
    ASSERT_TRUE(zelSetSystemCodePage("windows-1251"));
    load(doc, oldFile);
    EXPECT_EQ(str(doc.Root()->Prop(u8("v"))), "cafй");
    ASSERT_TRUE(zelSetSystemCodePage(saved1252));
    EXPECT_FALSE(zelSetSystemCodePage("no-such-code-page"));
    EXPECT_EQ(zelEncodeSystemCodePage(u"café"), "caf\xE9");

    load(doc, "<?xml version=\"1.0\" standalone=\"no\"?><a v=\"caf\xC3\xA9\"/>");
    EXPECT_FALSE(doc.OldVersion());
    EXPECT_EQ(str(doc.Root()->Prop(u8("v"))), "café");

    // Names are 8-bit in both formats.
    load(doc, kHeader + "<caf\xE9/>");
    EXPECT_EQ(str(doc.Root()->Name()), "café");
    EXPECT_EQ(saved(doc), kHeader + "<caf\xE9/>");
}

TEST(XmlDocument, SkipsCommentsAndTextAndMatchesClosingTagsIgnoringCase)
{
    TzelXMLDocument doc;
    // Comments (even holding '<' and "--") and text between tags are skipped;
    // closing tags match ignoring case; one trailing blank is dropped.
    load(doc, kHeader + "<!-- lead -->\n<A  x=\"1\" ><!-- a < b -- c ---->text<B />"
                        "<C/><!---->  <D y=\"2\"/></a>trailing");
    TzelXMLItem *a = doc.Root();
    EXPECT_EQ(str(a->Name()), "A");
    EXPECT_EQ(str(a->Text()), " x=\"1\"");
    EXPECT_EQ(str(a->Prop(u8("x"))), "1");
    ASSERT_EQ(a->Count(), 3);
    EXPECT_EQ(str(a->Items(0)->Name()), "B");
    EXPECT_EQ(str(a->Items(0)->Text()), "");
    EXPECT_EQ(str(a->Items(1)->Name()), "C");
    EXPECT_EQ(str(a->Items(2)->Text()), "y=\"2\"");

    load(doc, kHeader);
    EXPECT_TRUE(doc.Root()->Name().isEmpty());
    EXPECT_FALSE(doc.Truncated());
}

TEST(XmlDocument, AStreamEndingInsideTheRootIsKeptOnlyWhenAsked)
{
    // Cut after an element, inside a tag, inside a comment: whatever was
    // read completely stays, and Truncated says that more was meant to come.
    const QByteArray cuts[] = {kHeader + "<A><B/>", kHeader + "<A><B/><C x=\"1", kHeader + "<A><B/><!-- cut"};
    for (const QByteArray &bytes : cuts) {
        SCOPED_TRACE(bytes.constData());
        TzelXMLDocument strict;
        EXPECT_THROW(load(strict, bytes), TzelInvalidXMLException);

        TzelXMLDocument kept;
        kept.SetKeepTruncated(true);
        load(kept, bytes);
        EXPECT_TRUE(kept.Truncated());
        ASSERT_EQ(kept.Root()->Count(), 1);
        EXPECT_EQ(str(kept.Root()->Items(0)->Name()), "B");

        load(kept, kHeader + "<A><B/></A>");
        EXPECT_FALSE(kept.Truncated());
    }
    // Without even the root's start tag there is nothing to keep.
    TzelXMLDocument kept;
    kept.SetKeepTruncated(true);
    EXPECT_THROW(load(kept, kHeader + "<A x=\"1"), TzelInvalidXMLException);
}

TEST(XmlDocument, MalformedInputRaisesInvalidFormat)
{
    const QByteArray cases[] = {
        "",
        "<root/>",
        "<!-- no header --><root/>",
        kHeader + "<A><B/></C>",
        kHeader + "<A><B></A>",
        kHeader + "<A><></A>",
        kHeader + "<A x=\"<\"/>",
        kHeader + "<A x=\"1\"",
        kHeader + "<A><!-- never closed",
        kHeader + "</A>",
        "<?xml version=\"1.0\"",
    };
    for (const QByteArray &bytes : cases) {
        TzelXMLDocument doc;
        try {
            load(doc, bytes);
            ADD_FAILURE() << "no exception for " << bytes.constData();
        } catch (const TzelInvalidXMLException &e) {
            EXPECT_EQ(str(e.message()), "Invalid file format");
        }
    }
}

TEST(XmlDocument, NestingIsBoundedWithoutCrashing)
{
    auto nested = [](int depth) {
        return kHeader + QByteArray("<a>").repeated(depth) + QByteArray("</a>").repeated(depth);
    };
    TzelXMLDocument doc;
    load(doc, nested(1000));
    EXPECT_EQ(saved(doc), kHeader + QByteArray("<a>").repeated(999) + "<a/>" + QByteArray("</a>").repeated(999));
    EXPECT_THROW(load(doc, nested(200000)), TzelInvalidXMLException);
    EXPECT_THROW(load(doc, kHeader + QByteArray("<a>").repeated(200000)), TzelInvalidXMLException);
}

TEST(XmlDocument, ReaderStopsRightAfterTheRootElement)
{
    QBuffer buffer;
    buffer.setData(kHeader + "<a><b/></a>TAIL");
    buffer.open(QIODevice::ReadOnly);
    TzelXMLDocument doc;
    doc.LoadFromStream(&buffer);
    EXPECT_EQ(buffer.pos(), buffer.data().indexOf("TAIL"));

    // Reading starts where the stream stands and can be moved.
    buffer.seek(kHeader.size());
    TzelXMLItem item;
    {
        TzelXMLReader reader(&buffer);
        reader.ReadRootItem(&item);
        EXPECT_EQ(str(item.Name()), "a");
        reader.SetPosition(kHeader.size() + 3);
        TzelXMLItem b;
        reader.ReadRootItem(&b);
        EXPECT_EQ(str(b.Name()), "b");
    }
    EXPECT_EQ(buffer.pos(), kHeader.size() + 7);
}

TEST(XmlDocument, PartialLoadingLeavesMarkedElementsOnTheStream)
{
    TzelXMLDocument doc;
    buildSample(doc.Root(), 3, 5);
    QBuffer source;
    source.setData(saved(doc));
    source.open(QIODevice::ReadOnly);

    TzelXMLDocument partial;
    partial.LoadFromStream(&source, true);
    TzelXMLItem *first = partial.Root()->Items(0);
    TzelXMLItem *second = partial.Root()->Items(1);
    EXPECT_FALSE(first->Unloadable());
    EXPECT_EQ(first->Count(), 5);
    EXPECT_TRUE(second->Unloadable());
    EXPECT_FALSE(second->Loaded());
    EXPECT_EQ(second->Count(), 0);
    EXPECT_EQ(second->Offset(), source.data().indexOf("<page1"));
    EXPECT_EQ(str(second->Text()), "Width=\"795\"");

    partial.LoadItem(second);
    EXPECT_TRUE(second->Loaded());
    ASSERT_EQ(second->Count(), 5);
    EXPECT_EQ(str(second->Items(4)->Prop(u8("t"))), "104");
    EXPECT_EQ(str(second->Text()), "Width=\"795\"");

    // Writing reads the still unloaded page back and drops it again.
    TzelXMLItem *third = partial.Root()->Items(2);
    EXPECT_EQ(saved(partial), source.data());
    EXPECT_FALSE(third->Loaded());
    EXPECT_EQ(third->Count(), 0);
}

TEST(XmlDocument, UnloadAndLoadThroughTheTemporaryFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TzelXMLDocument doc;
    doc.SetTempDir(dir.path());
    buildSample(doc.Root(), 4, 30);
    const QByteArray full = saved(doc);

    TzelXMLItem *page1 = doc.Root()->Items(1);
    TzelXMLItem *page2 = doc.Root()->Items(2);
    doc.UnloadItem(doc.Root()->Items(0)); // not unloadable: stays
    EXPECT_EQ(doc.Root()->Items(0)->Count(), 30);
    doc.UnloadItem(page2);
    doc.UnloadItem(page1);
    EXPECT_FALSE(page1->Loaded());
    EXPECT_EQ(page1->Count(), 0);
    EXPECT_GT(page1->Offset(), page2->Offset());
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("qz*")}, QDir::Files);
    ASSERT_EQ(files.size(), 1);

    EXPECT_EQ(saved(doc), full);
    EXPECT_FALSE(page2->Loaded());

    doc.LoadItem(page2);
    ASSERT_EQ(page2->Count(), 30);
    EXPECT_EQ(page2->Items(29)->Prop(u8("Text")), u8("Zeile \"29\" <b>&</b> ü€\r\nnext"));
    doc.UnloadItem(page2); // a second copy goes to the end of the file
    EXPECT_EQ(saved(doc), full);

    page1->SetOffset(1 << 30);
    EXPECT_THROW(doc.LoadItem(page1), TzelInvalidXMLException);

    doc.Clear();
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("qz*")}, QDir::Files).isEmpty());
}

TEST(XmlDocument, FilesAreSavedThroughATemporaryName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("report.zp3"));
    TzelXMLDocument doc;
    doc.SetTempDir(dir.path());
    buildSample(doc.Root(), 3, 10);
    const QByteArray full = saved(doc);
    doc.UnloadItem(doc.Root()->Items(2));

    doc.SaveToFile(path);
    EXPECT_EQ(zelReadFile(path), full);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".tmp")));
    // Reloaded with partial loading, the temporary file released.
    EXPECT_FALSE(doc.Root()->Items(1)->Loaded());
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("qz*")}, QDir::Files).isEmpty());

    // Saving over the file the document is reading from keeps its content.
    doc.Root()->SetProp(u8("Saved"), u8("2"));
    doc.SaveToFile(path);
    TzelXMLDocument back;
    back.LoadFromFile(path);
    EXPECT_EQ(str(back.Root()->Prop(u8("saved"))), "2");
    back.LoadItem(back.Root()->Items(2));
    EXPECT_EQ(back.Root()->Items(2)->Count(), 10);

    EXPECT_THROW(back.LoadFromFile(dir.filePath(QStringLiteral("missing.zp3"))), TzelFileError);
}

TEST(XmlDocument, FailedSaveKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("report.zt3"));
    zelWriteFile(path, "old contents");
    TzelXMLDocument doc;
    doc.Root()->SetName(u8("report"));
    doc.Root()->SetProp(u8("Data"), QString(200000, u'x'));

    // A write-protected file is refused, whoever runs the program.
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    try {
        doc.SaveToFile(path);
        ADD_FAILURE() << "no exception";
    } catch (const TzelFileError &e) {
        EXPECT_EQ(str(e.message()), "Cannot create file \"" + path.toStdString() + "\": the file is write-protected");
    }
    EXPECT_EQ(zelReadFile(path), "old contents");
    EXPECT_FALSE(QFileInfo(path).permissions()
                 & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("report.zt3")});

    // A device is written in place; it cannot take the bytes, and says so.
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    const QString full = dir.filePath(QStringLiteral("full.zt3"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), full));
    try {
        doc.SaveToFile(full);
        ADD_FAILURE() << "no exception";
    } catch (const TzelFileError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot write file \"") + full)) << str(e.message());
    }
    EXPECT_EQ(QFileInfo(full).symLinkTarget(), QStringLiteral("/dev/full"));
}
